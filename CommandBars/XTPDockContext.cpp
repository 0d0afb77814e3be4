#include "XTPDockContext.h"

#include <climits>

#include "FrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPControls.h"
#include "XTPDialogBar.h"
#include "XTPDockBar.h"
#include "XTPMouseManager.h"
#include "XTPToolBar.h"

void CXTPDockContext::AdjustRectangle(CRect &rect, CPoint point) {
  int dx = 0, dy = 0;
  if (point.x < rect.left)
    dx = point.x - rect.left;
  else if (point.x > rect.right)
    dx = point.x - rect.right;
  if (point.y < rect.top)
    dy = point.y - rect.top;
  else if (point.y > rect.bottom)
    dy = point.y - rect.bottom;
  rect.OffsetRect(dx, dy);
}

namespace {

// Strictly inside the rectangle grown by the distance: a point exactly
// kDockDistance away (even on the grown left or top edge) is not near.
BOOL IsNear(const CRect &rc, CPoint point) {
  CRect rcNear(rc);
  rcNear.InflateRect(CXTPDockContext::kDockDistance, CXTPDockContext::kDockDistance);
  return point.x > rcNear.left && point.x < rcNear.right && point.y > rcNear.top && point.y < rcNear.bottom;
}

} // namespace

int CXTPDockContext::FindDockBar(CPoint point, const CRect rcDockBars[4], int nCurrent) {
  if (nCurrent >= 0 && nCurrent < 4 && IsNear(rcDockBars[nCurrent], point)) return nCurrent;
  for (int i = 0; i < 4; i++)
    if (IsNear(rcDockBars[i], point)) return i;
  return -1;
}

int CXTPDockContext::ChooseMove(CPoint point, const CRect rcDockBars[4], int nCurrent, DWORD dwAllowed) {
  int nDockBar = FindDockBar(point, rcDockBars, nCurrent);
  if (nDockBar >= 0 && (dwAllowed & (1u << nDockBar))) return nDockBar;
  return (dwAllowed & 0x10) ? kMoveFloat : kMoveStay;
}

CRect CXTPDockContext::FloatRectangle(CPoint ptTopLeft, CSize size, CPoint point) {
  CRect rc(ptTopLeft, size);
  AdjustRectangle(rc, point);
  return rc;
}

CPoint CXTPDockContext::ToggleFloatPoint(CPoint ptFloat, const CRect &rcWindow) {
  return (ptFloat.x < 1 || ptFloat.y < 1) ? rcWindow.TopLeft() : ptFloat;
}

void CXTPDockContext::MoveDialogBarEdges(int nCode, CRect &rcFloat, CSize delta) {
  if (nCode == HTLEFT || nCode == HTTOPLEFT || nCode == HTBOTTOMLEFT) rcFloat.left += delta.cx;
  if (nCode == HTRIGHT || nCode == HTTOPRIGHT || nCode == HTBOTTOMRIGHT) rcFloat.right += delta.cx;
  if (nCode == HTTOP || nCode == HTTOPLEFT || nCode == HTTOPRIGHT) rcFloat.top += delta.cy;
  if (nCode == HTBOTTOM || nCode == HTBOTTOMLEFT || nCode == HTBOTTOMRIGHT) rcFloat.bottom += delta.cy;
}

void CXTPDockContext::MoveFloatingEdge(int nCode, CRect &rcFloat, CSize delta, int &nLength, DWORD &dwMode) {
  if (nCode == HTLEFT || nCode == HTRIGHT) {
    (nCode == HTLEFT ? rcFloat.left : rcFloat.right) += delta.cx;
    nLength = rcFloat.Width();
    dwMode = kLayoutHorz | kLayoutCommit;
  } else {
    (nCode == HTTOP ? rcFloat.top : rcFloat.bottom) += delta.cy;
    nLength = rcFloat.Height();
    dwMode = kLayoutHorz | kLayoutCommit | kLayoutLengthY;
  }
  if (nLength < 0) nLength = 0;
}

CRect CXTPDockContext::ResizedWindowRect(int nCode, const CRect &rcWindow, CSize size) {
  switch (nCode) {
  case HTLEFT:
    return CRect(rcWindow.right - size.cx, rcWindow.top, rcWindow.right, rcWindow.top + size.cy);
  case HTTOP:
    return CRect(rcWindow.left, rcWindow.bottom - size.cy, rcWindow.left + size.cx, rcWindow.bottom);
  default:
    return CRect(rcWindow.TopLeft(), size);
  }
}

// ---- the live drag

CXTPCaptureLoop::MessageSource CXTPDockContext::s_pfnMessageSource = nullptr;

namespace {

// A side the frame has no dock bar on: a rectangle no cursor comes near.
const CRect kNoDockBar(INT_MIN / 2, INT_MIN / 2, INT_MIN / 2, INT_MIN / 2);

BOOL IntersectsWorkArea(HWND hWnd, const CRect &rc) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  HMONITOR hMonitor = ::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST);
  CRect rcWork;
  if (hMonitor && ::GetMonitorInfoW(hMonitor, &info))
    rcWork = info.rcWork;
  else
    rcWork.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  CRect rcCommon;
  return rcCommon.IntersectRect(&rc, &rcWork);
}

} // namespace

CXTPDockContext::CXTPDockContext(CXTPToolBar *pBar) : m_pBar(pBar) {
  ASSERT(pBar != nullptr);
}

CXTPDockContext::~CXTPDockContext() = default;

CXTPDockBar *CXTPDockContext::GetDockBar(int nPosition) const {
  CXTPToolBarSite *pSite = m_pBar->GetSite();
  CXTPDockBar *pDockBar = pSite ? pSite->GetDockBar(nPosition) : nullptr;
  return pDockBar && pDockBar->GetSafeHwnd() ? pDockBar : nullptr;
}

CXTPDockBar *CXTPDockContext::GetCurrentDockBar() const {
  return m_pBar->IsFloating() ? nullptr : CXTPDockBar::FromBar(m_pBar);
}

CFrameWnd *CXTPDockContext::GetFrame() const {
  for (int i = 0; i < 4; i++)
    if (CXTPDockBar *pDockBar = GetDockBar(i)) return dynamic_cast<CFrameWnd *>(pDockBar->GetParent());
  return nullptr;
}

void CXTPDockContext::RememberDockPlace() {
  CXTPDockBar *pDockBar = GetCurrentDockBar();
  if (!pDockBar) return;
  m_uMRUDockID = pDockBar->GetPosition();
  m_pBar->GetWindowRect(&m_rectMRUDockPos);
  pDockBar->ScreenToClient(&m_rectMRUDockPos);
}

void CXTPDockContext::RememberFloatPlace() {
  if (!m_pBar->IsFloating() || !m_pBar->GetSafeHwnd()) return;
  CRect rc;
  m_pBar->GetWindowRect(&rc);
  m_ptMRUFloatPos = rc.TopLeft();
  m_sizeLastFloating = rc.Size();
}

void CXTPDockContext::MarkOptionsChanged() {
  if (CXTPCommandBars *pCommandBars = m_pBar->GetCommandBars())
    pCommandBars->GetCommandBarsOptions()->bDirtyState = TRUE;
}

void CXTPDockContext::StartDrag(CPoint point) {
  if (!m_pBar->GetSafeHwnd()) return;
  m_nMode = 1;
  RememberDockPlace();
  const int nDockID = m_uMRUDockID;
  const CRect rcDock = m_rectMRUDockPos;
  const BOOL bWasFloating = m_pBar->IsFloating();
  m_pBar->GetWindowRect(&m_rectDragFrame);
  AdjustRectangle(m_rectDragFrame, point);
  m_rectFloat = m_rectDragFrame;
  m_ptLast = point;
  ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
  {
    // No popup tracking may react to the mouse while the bar follows it.
    CXTPMouseLock lock;
    Track();
  }
  m_nMode = 0;
  if (!m_pBar->GetSafeHwnd()) return;
  if (m_pBar->IsFloating()) {
    RememberFloatPlace();
    // A double click takes it back to where it was docked before.
    if (!bWasFloating) {
      m_uMRUDockID = nDockID;
      m_rectMRUDockPos = rcDock;
    }
  } else {
    RememberDockPlace();
  }
}

void CXTPDockContext::StartResize(int nHitTest, CPoint point) {
  if (!m_pBar->GetSafeHwnd() || nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT) return;
  m_nMode = nHitTest;
  m_ptLast = point;
  m_pBar->GetWindowRect(&m_rectDragFrame);
  // The edges move from where the window is now: a bar that floated by a
  // double click or by its site was never dragged, and an earlier drag's
  // rectangle is stale.
  m_rectFloat = m_rectDragFrame;
  Track();
  m_nMode = 0;
  if (!m_pBar->GetSafeHwnd()) return;
  m_pBar->GetWindowRect(&m_rectDragFrame);
  RememberFloatPlace();
  m_pBar->SetMRUWidth(m_rectDragFrame.Width());
}

void CXTPDockContext::Track() {
  HWND hWnd = m_pBar->GetSafeHwnd();
  if (!hWnd || ::GetCapture() != nullptr) return;
  CXTPCaptureLoop loop(hWnd, CXTPCaptureLoop::kEscapeCancels | CXTPCaptureLoop::kDispatchPaints);
  loop.SetMessageSource(s_pfnMessageSource);
  // Esc ends the loop like the release does: what was moved stays moved.
  loop.Run([&](const MSG &msg) {
    if (msg.message == WM_LBUTTONUP) return CXTPCaptureLoop::kEnd;
    if (msg.message == WM_MOUSEMOVE) {
      const CPoint point(msg.pt);
      if (point != m_ptLast) {
        if (m_nMode == 1)
          OnMove(point);
        else if (m_pBar->IsDialogBar())
          OnResizeDialogBar(point);
        else
          OnResizeToolBar(point);
      }
    } else {
      MSG copy = msg;
      ::TranslateMessage(&copy);
      ::DispatchMessageW(&copy);
    }
    // There is no idle time inside the loop: a layout left for it runs now.
    if (CFrameWnd *pFrame = GetFrame()) pFrame->RecalcPendingLayout();
    return ::IsWindow(hWnd) ? CXTPCaptureLoop::kHandled : CXTPCaptureLoop::kCancel;
  });
  loop.Release();
  MarkOptionsChanged();
}

void CXTPDockContext::OnMove(CPoint point) {
  const CSize delta = point - m_ptLast;
  m_rectDragFrame.OffsetRect(delta);
  m_rectFloat.OffsetRect(delta);
  m_ptLast = point;

  CXTPToolBarSite *pSite = m_pBar->GetSite();
  if (!pSite) return;
  CXTPDockBar *pCurrent = GetCurrentDockBar();
  CRect rcDockBars[4];
  int nCurrent = -1;
  for (int i = 0; i < 4; i++) {
    CXTPDockBar *pDockBar = GetDockBar(i);
    rcDockBars[i] = kNoDockBar;
    if (!pDockBar) continue;
    pDockBar->GetWindowRect(&rcDockBars[i]);
    if (pDockBar == pCurrent) nCurrent = i;
  }
  const int nMove = ChooseMove(point, rcDockBars, nCurrent, m_pBar->GetFlags());
  if (nMove >= 0) {
    const BOOL bWasFloating = m_pBar->IsFloating();
    CXTPDockBar *pTarget = GetDockBar(nMove);
    if (!pSite->DockCommandBar(m_pBar, &m_rectDragFrame, pTarget)) return;
    if (bWasFloating || pTarget != pCurrent) {
      pSite->RecalcFrameLayout(m_pBar);
      m_pBar->GetWindowRect(&m_rectDragFrame);
    }
    RememberDockPlace();
    return;
  }
  if (nMove != kMoveFloat) return;
  if (!m_pBar->IsFloating()) {
    if (!pSite->FloatCommandBar(m_pBar)) return;
    const CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    m_rectFloat = FloatRectangle(m_rectDragFrame.TopLeft(), size, point);
  }
  m_pBar->SetWindowPos(nullptr, m_rectFloat.left, m_rectFloat.top, m_rectFloat.Width(), m_rectFloat.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
  m_pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CXTPDockContext::OnResizeToolBar(CPoint point) {
  const CSize delta = point - m_ptLast;
  m_ptLast = point;
  int nLength = 0;
  DWORD dwMode = 0;
  MoveFloatingEdge(m_nMode, m_rectFloat, delta, nLength, dwMode);
  const CSize size = m_pBar->CalcDynamicLayout(nLength, dwMode);
  CRect rcWindow;
  m_pBar->GetWindowRect(&rcWindow);
  if (size == rcWindow.Size()) return;
  const CRect rcNew = ResizedWindowRect(m_nMode, rcWindow, size);
  if (!IntersectsWorkArea(m_pBar->GetSafeHwnd(), rcNew)) return;
  m_pBar->SetWindowPos(nullptr, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
  m_pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CXTPDockContext::OnResizeDialogBar(CPoint point) {
  const CSize delta = point - m_ptLast;
  m_ptLast = point;
  MoveDialogBarEdges(m_nMode, m_rectFloat, delta);
  CRect rcWindow;
  m_pBar->GetWindowRect(&rcWindow);
  if (m_rectFloat.Size() == rcWindow.Size() || !IntersectsWorkArea(m_pBar->GetSafeHwnd(), rcWindow)) return;
  // The bar takes the rectangle itself: it keeps its child area's size and
  // refuses one below its minimum.
  if (auto *pDialogBar = dynamic_cast<CXTPDialogBar *>(m_pBar)) {
    pDialogBar->Resize(m_rectFloat, m_nMode);
    return;
  }
  m_pBar->SetWindowPos(nullptr, m_rectFloat.left, m_rectFloat.top, m_rectFloat.Width(), m_rectFloat.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
  m_pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CXTPDockContext::ToggleDocking() {
  CXTPToolBarSite *pSite = m_pBar->GetSite();
  if (!pSite || !m_pBar->GetSafeHwnd()) return;
  const DWORD dwFlags = m_pBar->GetFlags();
  if (m_pBar->IsFloating()) {
    CXTPDockBar *pDockBar = GetDockBar(m_uMRUDockID);
    if (!(dwFlags & 0x0F) || !pDockBar) return;
    RememberFloatPlace();
    CRect rcDock = m_rectMRUDockPos;
    pDockBar->ClientToScreen(&rcDock);
    if (!pSite->DockCommandBar(m_pBar, m_rectMRUDockPos.IsRectNull() ? nullptr : &rcDock, pDockBar)) return;
    if (CFrameWnd *pFrame = GetFrame()) pFrame->DelayRecalcLayout();
  } else {
    CXTPCommandBars *pCommandBars = m_pBar->GetCommandBars();
    if (!(dwFlags & 0x10) || !pCommandBars || !pCommandBars->GetCommandBarsOptions()->bDblClickFloat) return;
    RememberDockPlace();
    CRect rcWindow;
    m_pBar->GetWindowRect(&rcWindow);
    const CPoint ptFloat = ToggleFloatPoint(m_ptMRUFloatPos, rcWindow);
    if (!pSite->FloatCommandBar(m_pBar)) return;
    const CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    m_pBar->SetWindowPos(nullptr, ptFloat.x, ptFloat.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  MarkOptionsChanged();
}

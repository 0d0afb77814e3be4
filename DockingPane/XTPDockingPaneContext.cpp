#include "XTPDockingPaneContext.h"

#include <cstdlib>

#include "XTPCaptureLoop.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDrawHelpers.h"

namespace {

const int kOutline = 4;
const int kSideLimit = 20;

// The 4-pixel frame of rc, and with bAttach the frame of a tab hanging below it.
HRGN OutlineRegion(CRect rc, BOOL bAttach) {
  HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
  if (rc.IsRectEmpty()) return hRgn;
  auto frame = [](const CRect &r) {
    HRGN hOuter = ::CreateRectRgnIndirect(&r);
    CRect rcInner = r;
    rcInner.DeflateRect(kOutline, kOutline);
    HRGN hInner = ::CreateRectRgnIndirect(&rcInner);
    ::CombineRgn(hOuter, hOuter, hInner, RGN_DIFF);
    ::DeleteObject(hInner);
    return hOuter;
  };
  if (!bAttach) {
    HRGN hFrame = frame(rc);
    ::CombineRgn(hRgn, hFrame, nullptr, RGN_COPY);
    ::DeleteObject(hFrame);
    return hRgn;
  }
  const int nTabHeight = std::min(rc.Height() / 2, 20);
  const int nTabWidth = std::min(rc.Width() - 5, 50);
  CRect rcBody = rc;
  rcBody.bottom -= nTabHeight;
  CRect rcTab(rc.left + 5, rcBody.bottom - kOutline, rc.left + 5 + nTabWidth, rc.bottom);
  HRGN hBody = frame(rcBody);
  HRGN hTab = frame(rcTab);
  ::CombineRgn(hRgn, hBody, hTab, RGN_OR);
  // The stretch where the two outlines meet stays open, so the tab reads as part of the body.
  CRect rcJoin(rcTab.left + kOutline, rcTab.top, rcTab.right - kOutline, rcBody.bottom);
  HRGN hJoin = ::CreateRectRgnIndirect(&rcJoin);
  ::CombineRgn(hRgn, hRgn, hJoin, RGN_DIFF);
  ::DeleteObject(hJoin);
  ::DeleteObject(hBody);
  ::DeleteObject(hTab);
  return hRgn;
}

HBRUSH CreateHalftoneBrush() {
  WORD pattern[8];
  for (int i = 0; i < 8; i++) pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
  HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
  HBRUSH hBrush = ::CreatePatternBrush(hBitmap);
  ::DeleteObject(hBitmap);
  return hBrush;
}

void CollectPanes(CXTPDockingPaneBase *pObject, CXTPDockingPaneBaseList *pList) {
  if (pObject->GetType() == xtpPaneTypeDockingPane)
    pList->push_back(pObject);
  else
    pObject->FindPane(xtpPaneTypeDockingPane, pList);
}

} // namespace

CXTPDesktopDrawLock::CXTPDesktopDrawLock() {
  HWND hDesktop = ::GetDesktopWindow();
  m_bLocked = ::LockWindowUpdate(hDesktop);
  m_hDC = ::GetDCEx(hDesktop, nullptr,
                    m_bLocked ? DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE : DCX_WINDOW | DCX_CACHE);
}

CXTPDesktopDrawLock::~CXTPDesktopDrawLock() {
  if (m_bLocked) ::LockWindowUpdate(nullptr);
  if (m_hDC != nullptr) ::ReleaseDC(::GetDesktopWindow(), m_hDC);
}

CXTPCaptureLoop::MessageSource CXTPDockingPaneContext::s_pfnMessageSource = nullptr;

CXTPDockingPaneContext::~CXTPDockingPaneContext() {
  delete m_pLock;
}

void CXTPDockingPaneContext::Drag(CXTPDockingPaneBase *pPane, CPoint pt) {
  if (pPane == nullptr || m_bTracking) return;
  CRect rc;
  pPane->GetWindowRect(&rc);
  // The least move that puts the point inside the rectangle.
  if (pt.x < rc.left) rc.OffsetRect(pt.x - rc.left, 0);
  if (pt.x > rc.right) rc.OffsetRect(pt.x - rc.right, 0);
  if (pt.y < rc.top) rc.OffsetRect(0, pt.y - rc.top);
  if (pt.y > rc.bottom) rc.OffsetRect(0, pt.y - rc.bottom);
  m_rcDragRect = rc;
  m_ptLast = m_ptStart = pt;
  m_bPastThreshold = FALSE;
  m_pPane = pPane;
  m_pTarget = nullptr;
  m_bAttach = m_bAttachLast = FALSE;
  m_bFloatable = TRUE;
  CXTPDockingPaneBaseList lst;
  CollectPanes(pPane, &lst);
  for (CXTPDockingPaneBase *p : lst) {
    auto *pDockingPane = static_cast<CXTPDockingPane *>(p);
    if ((pDockingPane->GetOptions() & xtpPaneNoFloatable) != 0 ||
        m_pManager->NotifyOwner(xtpPaneActionFloating, pDockingPane) != 0)
      m_bFloatable = FALSE;
  }
  Track();
}

void CXTPDockingPaneContext::Track() {
  if (::GetCapture() != nullptr) return;
  CWnd *pSite = m_pPane->GetDockingSite();
  ASSERT(pSite != nullptr);
  if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr) return;
  m_bTracking = TRUE;
  InitLoop();
  BOOL bDrop = FALSE;
  {
    CXTPCaptureLoop loop(pSite->GetSafeHwnd(), CXTPCaptureLoop::kEscapeCancels);
    loop.SetMessageSource(s_pfnMessageSource);
    loop.Run([&](const MSG &msg) {
      switch (msg.message) {
      case WM_LBUTTONUP:
        bDrop = TRUE;
        return CXTPCaptureLoop::kEnd;
      case WM_MOUSEMOVE:
        if (m_bPastThreshold || std::abs(msg.pt.x - m_ptStart.x) > kThreshold ||
            std::abs(msg.pt.y - m_ptStart.y) > kThreshold) {
          Move(msg.pt);
          m_bPastThreshold = TRUE;
        }
        return CXTPCaptureLoop::kHandled;
      case WM_KEYDOWN:
      case WM_KEYUP:
        if (msg.wParam == VK_CONTROL) {
          Move(msg.pt);
          m_bPastThreshold = TRUE;
        }
        return CXTPCaptureLoop::kHandled;
      default:
        return CXTPCaptureLoop::kDispatch;
      }
    });
  }
  EndLoop();
  m_bTracking = FALSE;
  if (bDrop && m_bPastThreshold) Drop();
}

void CXTPDockingPaneContext::Drop() {
  CXTPDockingPaneBaseList lst;
  CollectPanes(m_pPane, &lst);
  XTPDockingPaneAction action;
  if (m_bAttach) {
    ASSERT(m_pTarget != nullptr && m_pTarget->GetType() == xtpPaneTypeTabbedContainer);
    m_pManager->AttachPane(m_pPane, m_pTarget);
    action = xtpPaneActionAttached;
  } else if (m_pTarget != nullptr) {
    m_pManager->DockPane(m_pPane, m_pManager->MirrorDirection(m_direction), m_pTarget);
    action = xtpPaneActionDocked;
  } else if (m_bFloatable) {
    CRect rc = m_rcDragRect;
    if (rc.top < 0) rc.OffsetRect(0, -rc.top);
    CWnd *pSite = m_pPane->GetDockingSite();
    if (m_pPane->GetType() == xtpPaneTypeSplitterContainer && pSite != nullptr &&
        pSite->GetSafeHwnd() != nullptr && CXTPDockingPaneMiniWnd::IsMiniWnd(pSite)) {
      pSite->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      m_pManager->FloatPane(m_pPane, rc);
    }
    action = xtpPaneActionFloated;
  } else {
    return;
  }
  for (CXTPDockingPaneBase *p : lst) m_pManager->NotifyOwner(action, static_cast<CXTPDockingPane *>(p));
}

void CXTPDockingPaneContext::Move(CPoint pt) {
  CRect rc = m_rcDragRect;
  rc.OffsetRect(pt - m_ptLast);
  CRect rcWork = XTPMultiMonitor::GetWorkArea(rc);
  CRect rcTest;
  if (rcTest.IntersectRect(&rc, &rcWork)) m_rcDragRect = rc;
  m_pTarget = nullptr;
  m_bAttach = FALSE;
  if (::GetKeyState(VK_CONTROL) >= 0) FindTarget(pt);
  m_ptLast = pt;
  DrawFocusRect();
}

void CXTPDockingPaneContext::FindTarget(CPoint pt) {
  for (CXTPDockingPaneInfo &info : *m_pManager->GetPaneList()) {
    CXTPDockingPaneBase *pContainer = info.pPane->GetContainer();
    if (pContainer == nullptr || pContainer->GetType() != xtpPaneTypeTabbedContainer) continue;
    CXTPDockingPaneBase *pParent = pContainer->GetContainer();
    if (pParent == nullptr || pParent->GetType() != xtpPaneTypeSplitterContainer) continue;
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(pContainer);
    if (pTabbed->GetSafeHwnd() == nullptr || (pTabbed->GetStyle() & WS_VISIBLE) == 0) continue;
    if (m_pPane->ContainsPane(pContainer)) continue;
    CRect rc;
    pTabbed->CWnd::GetWindowRect(&rc);
    if (pTabbed->IsTabDropArea(rc, pt) && CanAttach(pContainer)) {
      m_pTarget = pContainer;
      m_rcTarget = rc;
      m_bAttach = TRUE;
      return;
    }
    if (HitTestSides(rc, pt, pContainer, TRUE)) return;
  }
  CRect rc;
  if (CXTPDockingPaneBase *pClient = m_pManager->GetClientPane()) {
    pClient->GetWindowRect(&rc);
    if (HitTestSides(rc, pt, pClient, TRUE)) return;
  }
  if (CXTPDockingPaneBase *pTop = m_pManager->GetTopPane()) {
    pTop->GetWindowRect(&rc);
    HitTestSides(rc, pt, pTop, FALSE);
  }
}

BOOL CXTPDockingPaneContext::HitTestSides(CRect rc, CPoint pt, CXTPDockingPaneBase *pTarget, BOOL bInside) {
  double dLimit = kSideLimit;
  double dRatio = 1;
  if (bInside && !m_bFloatable) {
    dLimit = 32000;
    if (rc.Height() > 1 && rc.Width() > 1) dRatio = static_cast<double>(rc.Height()) / rc.Width();
  }
  if (rc.Width() == 0 || rc.Height() == 0) return FALSE;
  if (bInside) {
    if (!rc.PtInRect(pt)) return FALSE;
  } else {
    CRect rcOuter = rc;
    rcOuter.InflateRect(kSideLimit, kSideLimit);
    if (!rcOuter.PtInRect(pt)) return FALSE;
  }
  const int nSign = bInside ? 1 : -1;
  double dBest = dLimit;
  BOOL bFound = FALSE;
  XTPDockingPaneDirection direction = xtpPaneDockLeft;
  const struct {
    double dSigned;
    XTPDockingPaneDirection direction;
  } sides[] = {
      {static_cast<double>(pt.y - rc.top), xtpPaneDockTop},
      {static_cast<double>(rc.bottom - pt.y), xtpPaneDockBottom},
      {(pt.x - rc.left) * dRatio, xtpPaneDockLeft},
      {(rc.right - pt.x) * dRatio, xtpPaneDockRight},
  };
  for (const auto &side : sides) {
    const double dDistance = side.dSigned < 0 ? -side.dSigned : side.dSigned;
    if (dDistance < dBest && nSign * side.dSigned >= 0) {
      dBest = dDistance;
      direction = side.direction;
      bFound = TRUE;
    }
  }
  if (!bFound) return FALSE;
  if (!CanDock(pTarget, direction)) return FALSE;
  m_direction = direction;
  m_pManager->GetDockingRect(m_rcTarget, m_pPane, direction, pTarget);
  m_pTarget = pTarget;
  return TRUE;
}

BOOL CXTPDockingPaneContext::CanDock(CXTPDockingPaneBase *pContainer, XTPDockingPaneDirection direction) {
  CXTPDockingPaneBaseList lst;
  CollectPanes(m_pPane, &lst);
  for (CXTPDockingPaneBase *p : lst)
    if (m_pManager->NotifyOwner(xtpPaneActionDocking, static_cast<CXTPDockingPane *>(p), pContainer,
                                direction) != 0)
      return FALSE;
  return TRUE;
}

BOOL CXTPDockingPaneContext::CanAttach(CXTPDockingPaneBase *pContainer) {
  CXTPDockingPaneBaseList lst;
  CollectPanes(m_pPane, &lst);
  for (CXTPDockingPaneBase *p : lst)
    if (m_pManager->NotifyOwner(xtpPaneActionAttaching, static_cast<CXTPDockingPane *>(p), pContainer,
                                xtpPaneDockLeft) != 0)
      return FALSE;
  return TRUE;
}

void CXTPDockingPaneContext::InitLoop() {
  m_rcLast.SetRectEmpty();
  m_bAttachLast = FALSE;
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
  ASSERT(m_pLock == nullptr);
  delete m_pLock;
  m_pLock = new CXTPDesktopDrawLock;
}

void CXTPDockingPaneContext::EndLoop() {
  if (m_pLock == nullptr) return;
  DrawFocusRect(TRUE);
  delete m_pLock;
  m_pLock = nullptr;
}

CRect CXTPDockingPaneContext::CurrentRect() const {
  if (m_pTarget != nullptr) return m_rcTarget;
  if (!m_bFloatable) return CRect(0, 0, 0, 0);
  return m_rcDragRect;
}

void CXTPDockingPaneContext::DrawFocusRect(BOOL bRemoveRect) {
  if (m_pLock == nullptr || m_pLock->GetDC() == nullptr) return;
  const CRect rc = bRemoveRect ? CRect(0, 0, 0, 0) : CurrentRect();
  const BOOL bAttach = bRemoveRect ? FALSE : m_bAttach;
  HRGN hNew = OutlineRegion(rc, bAttach);
  HRGN hOld = OutlineRegion(m_rcLast, m_bAttachLast);
  ::CombineRgn(hNew, hNew, hOld, RGN_XOR);
  HDC hDC = m_pLock->GetDC();
  ::SelectClipRgn(hDC, hNew);
  CRect rcClip;
  ::GetClipBox(hDC, &rcClip);
  HBRUSH hBrush = CreateHalftoneBrush();
  HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
  ::PatBlt(hDC, rcClip.left, rcClip.top, rcClip.Width(), rcClip.Height(), PATINVERT);
  ::SelectObject(hDC, hOldBrush);
  ::SelectClipRgn(hDC, nullptr);
  ::DeleteObject(hBrush);
  ::DeleteObject(hNew);
  ::DeleteObject(hOld);
  m_rcLast = rc;
  m_bAttachLast = bAttach;
}

// The framework's tooltip filter: windows that enable tooltips get a tip for
// the tool their OnToolHitTest finds under the cursor, from one tooltip
// window per thread.
#include <cstdlib>
#include <memory>

#include "ThreadState.h"
#include "ToolTipCtrl.h"
#include "Wnd.h"

namespace {

BOOL IsButtonDown() {
  return ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0;
}

bool SameTool(const TTTOOLINFOW &a, const TTTOOLINFOW &b) {
  return a.hwnd == b.hwnd && a.uId == b.uId && ::EqualRect(&a.rect, &b.rect);
}

BOOL CALLBACK DeactivateToolTip(HWND hWnd, LPARAM) {
  CWnd *pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CToolTipCtrl))) pWnd->SendMessage(TTM_ACTIVATE, FALSE);
  return TRUE;
}

// The framework filter's tooltip window, made again when the owner changes.
CToolTipCtrl *ThreadToolTip(CWnd *pOwner) {
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  CToolTipCtrl *pToolTip = pState->pToolTip.get();
  if (pToolTip != nullptr &&
      (pToolTip->m_hWnd == nullptr || ::GetWindow(pToolTip->m_hWnd, GW_OWNER) != pOwner->GetSafeHwnd())) {
    if (pToolTip->m_hWnd != nullptr) pToolTip->DestroyWindow();
    pState->pToolTip.reset();
    pState->lastToolInfo = {};
    pToolTip = nullptr;
  }
  if (pToolTip == nullptr) {
    auto pNew = std::make_unique<CToolTipCtrl>();
    if (!pNew->Create(pOwner, TTS_ALWAYSTIP)) return nullptr;
    pNew->Activate(FALSE);
    pToolTip = pNew.get();
    pState->pToolTip = std::move(pNew);
  }
  return pToolTip;
}

} // namespace

BOOL AfxIsToolTipMouseMessage(const MSG *pMsg) {
  switch (pMsg->message) {
  case WM_MOUSEMOVE:
  case WM_NCMOUSEMOVE:
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    return !IsButtonDown();
  default:
    return FALSE;
  }
}

BOOL AfxIsToolTipCancelMessage(UINT message, BOOL *pbKeys) {
  *pbKeys = message >= WM_KEYFIRST && message <= WM_KEYLAST;
  if (*pbKeys) return TRUE;
  switch (message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONDBLCLK:
  case WM_NCRBUTTONDOWN:
  case WM_NCRBUTTONDBLCLK:
  case WM_NCMBUTTONDOWN:
  case WM_NCMBUTTONDBLCLK:
    return TRUE;
  default:
    return FALSE;
  }
}

CWnd *AfxFindToolTipWindow(HWND hWnd, HWND hWndStop) {
  for (; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd *pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && (pWnd->m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)) != 0) return pWnd;
    if (hWnd == hWndStop) break;
  }
  return nullptr;
}

void AfxRelayToolTipEvent(CToolTipCtrl *pToolTip, const MSG *pMsg) {
  MSG msg = *pMsg;
  msg.hwnd = reinterpret_cast<HWND>(
      pToolTip->SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&msg.pt)));
  // Client messages carry client coordinates of the window the control
  // matches tools against; non-client ones keep their screen point.
  if (msg.message >= WM_MOUSEFIRST && msg.message < WM_MOUSEWHEEL) {
    POINT pt = msg.pt;
    ::ScreenToClient(msg.hwnd, &pt);
    msg.lParam = MAKELPARAM(pt.x, pt.y);
  }
  pToolTip->RelayEvent(&msg);
}

void AfxFreeToolTipText(TTTOOLINFOW &ti) {
  if (ti.lpszText != LPSTR_TEXTCALLBACKW && ti.hinst == nullptr) free(ti.lpszText);
  ti.lpszText = nullptr;
}

AFX_TOOLTIP_FILTER AfxSetToolTipFilter(AFX_TOOLTIP_FILTER pfnFilter) {
  AFX_TOOLTIP_FILTER pfnOld = AfxGetThreadState()->pfnFilterToolTipMessage;
  AfxGetThreadState()->pfnFilterToolTipMessage = pfnFilter;
  return pfnOld;
}

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (bEnable)
    m_nFlags |= WF_TOOLTIPS;
  else
    m_nFlags &= ~WF_TOOLTIPS;
  return TRUE;
}

BOOL CWnd::EnableTrackingToolTips(BOOL bEnable) {
  if (bEnable)
    m_nFlags |= WF_TRACKINGTOOLTIPS;
  else
    m_nFlags &= ~WF_TRACKINGTOOLTIPS;
  return TRUE;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const {
  HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  if (hWndChild == nullptr || hWndChild == m_hWnd) return -1;
  const int nID = ::GetDlgCtrlID(hWndChild);
  // Static texts and other id-less children explain nothing.
  if (nID == 0 || nID == -1 || nID == 0xFFFF) return -1;
  if (pTI != nullptr && pTI->cbSize >= TTTOOLINFOW_V1_SIZE) {
    pTI->hwnd = m_hWnd;
    pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
    pTI->uFlags |= TTF_IDISHWND;
    pTI->lpszText = LPSTR_TEXTCALLBACKW;
  }
  return nID;
}

void CWnd::FilterToolTipMessage(MSG *pMsg) {
  if (!AfxIsToolTipMouseMessage(pMsg)) {
    BOOL bKeys = FALSE;
    if (AfxIsToolTipCancelMessage(pMsg->message, &bKeys) && AfxFindToolTipWindow(pMsg->hwnd, m_hWnd) == this)
      CancelToolTips(bKeys);
    return;
  }
  if (AfxFindToolTipWindow(pMsg->hwnd) != this) return;
  CToolTipCtrl *pToolTip = ThreadToolTip(GetTopLevelParent());
  if (pToolTip == nullptr) return;

  CPoint point = pMsg->pt;
  ScreenToClient(&point);
  TTTOOLINFOW ti = {};
  ti.cbSize = CToolTipCtrl::ToolInfoSize();
  const INT_PTR nHit = OnToolHitTest(point, &ti);
  TTTOOLINFOW &last = AfxGetThreadState()->lastToolInfo;
  if (nHit == -1 || last.cbSize == 0 || !SameTool(ti, last)) {
    if (last.cbSize != 0) pToolTip->DelTool(&last);
    last = {};
    if (nHit == -1) {
      pToolTip->Activate(FALSE);
    } else {
      ti.uFlags &= ~(TTF_NOTBUTTON | TTF_ALWAYSTIP);
      pToolTip->AddTool(&ti);
      last = ti;
      last.lpszText = nullptr; // freed below; the control keeps its own copy
      pToolTip->Activate(TRUE);
    }
  }
  AfxRelayToolTipEvent(pToolTip, pMsg);
  if (nHit != -1) AfxFreeToolTipText(ti);
}

void CWnd::CancelToolTips(BOOL /*bKeys*/) {
  // Every framework tooltip of the thread: the framework's own and those of
  // the toolkit's tooltip contexts. They come back when the tool changes.
  ::EnumThreadWindows(::GetCurrentThreadId(), DeactivateToolTip, 0);
}

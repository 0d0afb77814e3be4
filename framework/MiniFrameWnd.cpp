#include "MiniFrameWnd.h"

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                             const RECT &rect, CWnd *pParentWnd, UINT nID) {
  return CWnd::CreateEx(dwExStyle | WS_EX_TOOLWINDOW, lpszClassName, lpszWindowName, dwStyle, rect,
                        pParentWnd, nID);
}

BOOL CMiniFrameWnd::IsSyncedWith(HWND hWndOther) const {
  const HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
  if (hWndOther == nullptr || hWndOwner == nullptr) return FALSE;
  if (hWndOther == hWndOwner) return TRUE;
  return ::GetWindow(hWndOther, GW_OWNER) == hWndOwner &&
         ::SendMessage(hWndOther, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
}

LRESULT CMiniFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_FLOATSTATUS:
    if (!IsSyncActive()) break;
    if (wParam & FS_SYNCACTIVE) return TRUE;
    if (wParam & (FS_ACTIVATE | FS_DEACTIVATE)) {
      // The owner's activation changed: the caption follows unless this
      // frame is the active window itself.
      const BOOL bOwnerActive = (wParam & FS_ACTIVATE) != 0;
      if (!bOwnerActive) m_bStayActive = FALSE;
      // Sent, not defaulted: a frame that draws its own caption repaints it
      // in its WM_NCACTIVATE, where the system would draw its own over it.
      if (::GetActiveWindow() != m_hWnd) SendMessage(WM_NCACTIVATE, bOwnerActive, 0);
      return 0;
    }
    break;
  case WM_ACTIVATE: {
    const LRESULT lResult = CFrameWnd::WindowProc(message, wParam, lParam);
    // The activation went to the owner or to a popup in step with it: the
    // caption stays active until the owner itself is deactivated.
    if (IsSyncActive() && LOWORD(wParam) == WA_INACTIVE && IsSyncedWith(reinterpret_cast<HWND>(lParam))) {
      m_bStayActive = TRUE;
      SendMessage(WM_NCACTIVATE, TRUE, 0);
    }
    return lResult;
  }
  case WM_NCHITTEST:
    if (GetStyle() & MFS_BLOCKSYSMENU) {
      const LRESULT lHit = CFrameWnd::WindowProc(message, wParam, lParam);
      return lHit == HTSYSMENU ? HTCAPTION : lHit;
    }
    break;
  default:
    break;
  }
  return CFrameWnd::WindowProc(message, wParam, lParam);
}

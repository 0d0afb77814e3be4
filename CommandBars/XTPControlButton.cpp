#include "XTPControlButton.h"

#include "XTPCommandBar.h"
#include "XTPPropExchange.h"

IMPLEMENT_SERIAL(CXTPControlButton, CXTPControl, VERSIONABLE_SCHEMA | 8)

CXTPControlButton::CXTPControlButton() {
  m_controlType = xtpControlButton;
}

void CXTPControlButton::DoPropExchange(CXTPPropExchange *pPX) {
  CXTPControl::DoPropExchange(pPX);
  PX_Int(pPX, L"Style", m_buttonStyle, xtpButtonAutomatic);
}

void CXTPControlButton::Copy(CXTPControl *pControl, BOOL bRecursive) {
  CXTPControl::Copy(pControl, bRecursive);
}

CXTPControl *CXTPControlButton::Clone(BOOL bRecursive) {
  return CXTPControl::Clone(bRecursive);
}

void CXTPControlButton::OnClick(BOOL bKeyboard, CPoint pt) {
  if (!m_bEnabled) return;
  CXTPReferenceHold holdControl(this);
  CXTPReferenceHold holdParent(m_pParent);
  if (IsCustomizeMode()) {
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
    OnCustomizeStartDrag(pt);
    return;
  }
  if (bKeyboard) {
    OnExecute();
    return;
  }
  if (m_pParent && m_pParent->GetType() != xtpBarTypePopup && TrackPress(pt)) OnExecute();
}

void CXTPControlButton::OnLButtonUp(CPoint /*point*/) {
  if (m_bEnabled && m_pParent && m_pParent->GetType() == xtpBarTypePopup) OnExecute();
}

BOOL CXTPControlButton::TrackPress(CPoint /*pt*/) {
  CXTPCommandBar *pParent = m_pParent;
  HWND hWnd = pParent->GetSafeHwnd();
  const CRect rcPress = GetPressRect();
  pParent->SetSelected(m_nIndex, FALSE);
  m_bPressed = 1;
  RedrawParent();
  if (hWnd) ::SetCapture(hWnd);

  BOOL bReleaseKnown = FALSE;
  CPoint ptRelease;
  BOOL bQuit = FALSE;
  MSG msg;
  for (;;) {
    if (!GetLoopMessage(&msg)) {
      // The quit belongs to the thread's own loop: give it back and stop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      bQuit = TRUE;
      break;
    }
    if (hWnd && ::GetCapture() != hWnd) break;
    if (msg.message == WM_MOUSEMOVE) {
      CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      BOOL bOver = rcPress.PtInRect(pt);
      if (bOver != (m_bSelected != 0)) {
        pParent->SetSelected(bOver ? m_nIndex : -1, FALSE);
        RedrawParent();
      }
      continue;
    }
    if (msg.message == WM_LBUTTONUP) {
      ptRelease = CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      bReleaseKnown = msg.hwnd == hWnd;
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  if (hWnd && ::GetCapture() == hWnd) ::ReleaseCapture();
  BOOL bExecute = !bQuit && m_bSelected && (!bReleaseKnown || rcPress.PtInRect(ptRelease));
  if (m_bSelected) pParent->SetSelected(-1, FALSE);
  m_bPressed = 0;
  RedrawParent();
  return bExecute;
}

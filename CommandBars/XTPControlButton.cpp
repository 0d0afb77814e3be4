#include "XTPControlButton.h"

#include "XTPCaptureLoop.h"
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

  BOOL bReleaseKnown = FALSE;
  CPoint ptRelease;
  CXTPCaptureLoop loop(hWnd);
  loop.SetMessageSource(s_pfnGetMessage);
  const CXTPCaptureLoop::EndReason reason = loop.Run([&](const MSG &msg) {
    if (msg.message == WM_MOUSEMOVE) {
      CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      BOOL bOver = rcPress.PtInRect(pt);
      if (bOver != (m_bSelected != 0)) {
        pParent->SetSelected(bOver ? m_nIndex : -1, FALSE);
        RedrawParent();
      }
      return CXTPCaptureLoop::kHandled;
    }
    if (msg.message == WM_LBUTTONUP) {
      ptRelease = CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
      bReleaseKnown = msg.hwnd == hWnd;
      return CXTPCaptureLoop::kEnd;
    }
    return CXTPCaptureLoop::kDispatch;
  });
  loop.Release();
  // Only a release of the button runs the command: a quit request or the
  // capture taken by another window (a dialog, a switch of application)
  // leaves the press unanswered.
  BOOL bExecute =
      reason == CXTPCaptureLoop::kEnded && m_bSelected && (!bReleaseKnown || rcPress.PtInRect(ptRelease));
  if (m_bSelected) pParent->SetSelected(-1, FALSE);
  m_bPressed = 0;
  RedrawParent();
  return bExecute;
}

#include "XTPNativeXPTheme.h"

#include <algorithm>

#include "XTPCommandBar.h"
#include "XTPControl.h"
#include "XTPControlComboBox.h"
#include "XTPControlPopup.h"
#include "XTPOffice2003Theme.h"

namespace {

const int kPropBorderColor = 3801;     // TMT_BORDERCOLOR
const int kPropTextColor = 3803;       // TMT_TEXTCOLOR
const int kPropEdgeShadowColor = 3806; // TMT_EDGESHADOWCOLOR
const int kPropFillColorHint = 3821;   // TMT_FILLCOLORHINT
const UINT kGetFlatMenu = 0x1022;      // SPI_GETFLATMENU

} // namespace

CXTPNativeXPTheme::CXTPNativeXPTheme() {
  m_nTheme = xtpThemeNativeWinXP;
  m_iconsInfo.bUseFadedIcons = TRUE;
  m_iconsInfo.bIconsWithShadow = FALSE;
  m_nPopupBarText = COLOR_MENUTEXT;
  RefreshMetrics();
}

void CXTPNativeXPTheme::RefreshMetrics() {
  CXTPDefaultTheme::RefreshMetrics();
  const HWND hOwner = XTPThemeOwnerWindow();
  m_themeToolbar.OpenThemeData(hOwner, L"TOOLBAR");
  m_themeRebar.OpenThemeData(hOwner, L"REBAR");
  m_themeComboBox.OpenThemeData(hOwner, L"COMBOBOX");
  m_themeStatusBar.OpenThemeData(hOwner, L"STATUS");

  BOOL bFlat = FALSE;
  m_bFlatMenus = ::SystemParametersInfoW(kGetFlatMenu, 0, &bFlat, 0) ? bFlat : FALSE;

  m_clrEdgeShadowColor = GetPaintColor(COLOR_BTNSHADOW);
  if (IsRebarThemed())
    m_themeRebar.GetThemeColor(XTP_RP_BAND, 0, kPropEdgeShadowColor, &m_clrEdgeShadowColor);
  COLORREF clr = 0;
  if (IsToolbarThemed() && SUCCEEDED(m_themeToolbar.GetThemeColor(0, 0, kPropTextColor, &clr)))
    m_arrColor[COLOR_BTNTEXT].SetStandardValue(clr);
  if (IsRebarThemed() && SUCCEEDED(m_themeRebar.GetThemeColor(0, 0, kPropFillColorHint, &clr)))
    m_arrColor[COLOR_BTNFACE].SetStandardValue(clr);
  if (m_themeStatusBar.GetThemeHandle() &&
      SUCCEEDED(m_themeStatusBar.GetThemeColor(XTP_SP_PANE, 0, kPropTextColor, &clr)))
    m_clrStatusTextColor = clr;
}

// ---------------------------------------------------------------------------
// States

int CXTPNativeXPTheme::ButtonState(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked, BOOL bPopuped,
                                   BOOL bToolBar) {
  if (!bEnabled) return bChecked && !bToolBar ? XTP_TS_PRESSED : XTP_TS_DISABLED;
  if (bPopuped) return XTP_TS_PRESSED;
  if (bChecked && !nPressed) return nSelected ? XTP_TS_HOTCHECKED : XTP_TS_CHECKED;
  if ((nSelected && nPressed) || nPressed == 2) return XTP_TS_PRESSED;
  return nSelected ? XTP_TS_HOT : XTP_TS_NORMAL;
}

int CXTPNativeXPTheme::SplitButtonState(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                        BOOL bPopupOpen) {
  if (!bEnabled) return XTP_TS_DISABLED;
  if (nPressed && nSelected) return XTP_TS_PRESSED;
  if (bChecked) return XTP_TS_CHECKED;
  if (nSelected || bPopupOpen) return XTP_TS_HOT;
  return XTP_TS_NORMAL;
}

int CXTPNativeXPTheme::ComboButtonState(BOOL bEnabled, int nSelected, BOOL bDropped) {
  if (!bEnabled) return 4;
  if (bDropped) return 3;
  return nSelected ? 2 : 1;
}

// ---------------------------------------------------------------------------
// Controls

void CXTPNativeXPTheme::DrawRectangle(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed,
                                      BOOL bChecked, BOOL bPopuped, int nBarPosition) {
  if (!IsToolbarThemed()) {
    CXTPDefaultTheme::DrawRectangle(pDC, rc, bEnabled, nSelected, nPressed, bChecked, bPopuped, nBarPosition);
    return;
  }
  const int nState =
      ButtonState(bEnabled, nSelected, nPressed, bChecked, bPopuped, nBarPosition != xtpBarPopup);
  m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_TP_BUTTON, nState, &rc, nullptr);
  pDC->SetTextColor(GetPaintColor(!bEnabled                     ? COLOR_GRAYTEXT
                                  : nBarPosition == xtpBarPopup ? m_nPopupBarText
                                                                : COLOR_BTNTEXT));
  pDC->SetBkMode(TRANSPARENT);
}

void CXTPNativeXPTheme::DrawSplitButtonFrame(CDC *pDC, CXTPControl *pControl, CRect rc) {
  if (!IsToolbarThemed()) {
    CXTPDefaultTheme::DrawSplitButtonFrame(pDC, pControl, rc);
    return;
  }
  const BOOL bOpen = IsControlPopuped(pControl);
  const int nState = SplitButtonState(pControl->GetEnabled(), pControl->GetSelected(), pControl->GetPressed(),
                                      pControl->GetChecked(), bOpen);
  CRect rcButton(rc.left, rc.top, rc.right - 12, rc.bottom),
      rcArrow(rc.right - 12, rc.top, rc.right, rc.bottom);
  m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_TP_SPLITBUTTON, nState, &rcButton, nullptr);
  m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_TP_SPLITBUTTONDROPDOWN,
                                     bOpen ? XTP_TS_PRESSED : nState, &rcArrow, nullptr);
  pDC->SetTextColor(GetPaintColor(pControl->GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  pDC->SetBkMode(TRANSPARENT);
}

void CXTPNativeXPTheme::AdjustExcludeRect(CRect &rc, CXTPControl *pControl, BOOL bVertical) {
  if (!IsToolbarThemed()) {
    CXTPDefaultTheme::AdjustExcludeRect(rc, pControl, bVertical);
    return;
  }
  if (pControl->GetType() == xtpControlComboBox) return;
  CXTPCommandBar *pParent = pControl->GetParent();
  if (pParent && pParent->GetType() == xtpBarTypePopup) {
    rc.DeflateRect(3, 0);
    rc.InflateRect(0, 3);
  }
}

void CXTPNativeXPTheme::DrawEditFrame(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected) {
  if (!m_themeComboBox.GetThemeHandle()) {
    CXTPDefaultTheme::DrawEditFrame(pDC, rc, bEnabled, nSelected);
    return;
  }
  COLORREF clr = GetPaintColor(COLOR_BTNSHADOW);
  m_themeComboBox.GetThemeColor(XTP_CP_DROPDOWNBUTTON, bEnabled ? 1 : 4, kPropBorderColor, &clr);
  pDC->Draw3dRect(rc, clr, clr);
}

void CXTPNativeXPTheme::DrawComboBoxDropButton(CDC *pDC, CRect rc, BOOL bEnabled, int nSelected,
                                               BOOL bDropped) {
  if (!m_themeComboBox.GetThemeHandle()) {
    CXTPDefaultTheme::DrawComboBoxDropButton(pDC, rc, bEnabled, nSelected, bDropped);
    return;
  }
  CRect rcButton(rc.left - 2, rc.top + 1, rc.right - 1, rc.bottom - 1);
  m_themeComboBox.DrawThemeBackground(pDC->GetSafeHdc(), XTP_CP_DROPDOWNBUTTON,
                                      ComboButtonState(bEnabled, nSelected, bDropped), &rcButton, nullptr);
}

// ---------------------------------------------------------------------------
// Bars

void CXTPNativeXPTheme::FillRebarBackground(CDC *pDC, CWnd *pBar, CWnd *pReference) {
  CRect rcClient;
  if (pBar->GetSafeHwnd())
    ::GetClientRect(pBar->GetSafeHwnd(), &rcClient);
  else if (auto *pCommandBar = dynamic_cast<CXTPCommandBar *>(pBar))
    rcClient = pCommandBar->GetBarClientRect();
  if (!IsRebarThemed()) {
    pDC->FillSolidRect(rcClient, GetPaintColor(COLOR_BTNFACE));
    return;
  }
  CRect rcReference = rcClient;
  if (pReference && pReference->GetSafeHwnd() && pBar->GetSafeHwnd()) {
    ::GetClientRect(pReference->GetSafeHwnd(), &rcReference);
    ::MapWindowPoints(pReference->GetSafeHwnd(), pBar->GetSafeHwnd(), reinterpret_cast<POINT *>(&rcReference),
                      2);
  }
  m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_RP_BACKGROUND, 0, &rcReference, &rcClient);
}

void CXTPNativeXPTheme::DrawBarFrames(CDC *pDC, CRect rc, COLORREF clrFill) {
  pDC->FillSolidRect(rc, clrFill);
  Draw3dRect(pDC, rc, COLOR_BTNFACE, COLOR_3DDKSHADOW);
  rc.DeflateRect(1, 1);
  Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

void CXTPNativeXPTheme::FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) {
  if (!IsRebarThemed()) {
    CXTPDefaultTheme::FillCommandBarEntry(pDC, pBar);
    return;
  }
  const CRect rc = pBar->GetBarClientRect();
  switch (pBar->GetPosition()) {
  case xtpBarPopup:
    if (m_bFlatMenus)
      Rectangle(pDC, rc, COLOR_BTNSHADOW, COLOR_MENU);
    else
      DrawBarFrames(pDC, rc, GetPaintColor(COLOR_MENU));
    return;
  case xtpBarFloating:
    DrawBarFrames(pDC, rc, GetPaintColor(COLOR_BTNFACE));
    return;
  case xtpBarTop: {
    HWND hParent = pBar->GetSafeHwnd() ? ::GetParent(pBar->GetSafeHwnd()) : nullptr;
    FillRebarBackground(pDC, pBar, hParent ? CWnd::FromHandle(hParent) : nullptr);
    break;
  }
  default:
    pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
    break;
  }
  pDC->Draw3dRect(rc, GetPaintColor(COLOR_BTNHIGHLIGHT), m_clrEdgeShadowColor);
}

void CXTPNativeXPTheme::FillDockBar(CDC *pDC, CWnd *pDockBar) {
  if (IsRebarThemed() && (pDockBar->GetStyle() & 0x2800) == 0x2800)
    FillRebarBackground(pDC, pDockBar, pDockBar);
  else
    CXTPDefaultTheme::FillDockBar(pDC, pDockBar);
}

CSize CXTPNativeXPTheme::DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) {
  if (!IsRebarThemed() || pBar->GetPosition() == xtpBarFloating)
    return CXTPDefaultTheme::DrawCommandBarGripper(pDC, pBar, bDraw);
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect rc = pBar->GetBarClientRect();
  switch (pBar->GetPosition()) {
  case xtpBarLeft:
  case xtpBarRight:
    if (bDraw) {
      CRect rcGripper(rc.left, rc.top + 2, rc.right, rc.top + 2 + 6);
      m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_RP_GRIPPERVERT, 1, &rcGripper, nullptr);
    }
    return CSize(0, 8);
  case xtpBarTop:
  case xtpBarBottom:
    if (bDraw) {
      CRect rcGripper(rc.left + 2, rc.top, rc.left + 2 + 6, rc.bottom);
      m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_RP_GRIPPER, 1, &rcGripper, nullptr);
    }
    return CSize(8, 0);
  default:
    return CSize(0, 0);
  }
}

CSize CXTPNativeXPTheme::DrawDialogBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) {
  if (!IsRebarThemed()) return CXTPDefaultTheme::DrawDialogBarGripper(pDC, pBar, bDraw);
  const CSize sz(8, std::max(22, m_nTextHeight + 4));
  if (bDraw) {
    CRect rcGripper(2, 3, 8, sz.cy);
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_RP_GRIPPER, 1, &rcGripper, nullptr);
  }
  return sz;
}

// ---------------------------------------------------------------------------
// Status bar

void CXTPNativeXPTheme::FillStatusBar(CDC *pDC, CWnd *pStatusBar) {
  if (!m_themeStatusBar.GetThemeHandle()) {
    CXTPDefaultTheme::FillStatusBar(pDC, pStatusBar);
    return;
  }
  CRect rc;
  ::GetClientRect(pStatusBar->GetSafeHwnd(), &rc);
  m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, &rc, nullptr);
}

void CXTPNativeXPTheme::DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL bGripperPane) {
  if (!m_themeStatusBar.GetThemeHandle()) {
    CXTPDefaultTheme::DrawStatusBarPaneBorder(pDC, rc, bGripperPane);
    return;
  }
  m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), bGripperPane ? XTP_SP_GRIPPERPANE : XTP_SP_PANE, 0,
                                       &rc, nullptr);
}

void CXTPNativeXPTheme::DrawStatusBarGripper(CDC *pDC, CRect rcClient) {
  if (!m_themeStatusBar.GetThemeHandle()) {
    CXTPDefaultTheme::DrawStatusBarGripper(pDC, rcClient);
    return;
  }
  CRect rcGripper(rcClient.right - 18, rcClient.top, rcClient.right, rcClient.bottom);
  m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), XTP_SP_GRIPPER, 0, &rcGripper, nullptr);
}

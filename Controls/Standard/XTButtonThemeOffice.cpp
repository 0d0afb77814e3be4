#include "XTButtonThemeOffice.h"

#include "XTButton.h"
#include "WindowDc.h"
#include "XTGlobal.h"
#include "XTPDrawHelpers.h"

#include <algorithm>

CXTButtonThemeOffice::CXTButtonThemeOffice(BOOL bFramedLook) : m_bFramedLook(bFramedLook) {
  m_bOffsetHiliteText = FALSE;
}

void CXTButtonThemeOffice::SetFramedLook(BOOL bFramed) {
  m_bFramedLook = bFramed;
  RefreshMetrics();
}

void CXTButtonThemeOffice::RefreshMetrics() {
  CXTButtonTheme::RefreshMetrics();
  m_crBack.SetStandardValue(XTPGetColor(m_bFramedLook ? XPCOLOR_TOOLBAR_FACE : COLOR_3DFACE));
  m_crBackPushed.SetStandardValue(XTPGetColor(XPCOLOR_HIGHLIGHT_PUSHED));
  m_crBackHilite.SetStandardValue(XTPGetColor(XPCOLOR_HIGHLIGHT));
  m_crBorderShadow.SetStandardValue(XTPGetColor(COLOR_3DSHADOW));
  m_crBorderHilite.SetStandardValue(XTPGetColor(XPCOLOR_HIGHLIGHT_BORDER));
  m_crText.SetStandardValue(XTPGetColor(XPCOLOR_TOOLBAR_TEXT));
  m_crTextHilite.SetStandardValue(XTPGetColor(XPCOLOR_HIGHLIGHT_TEXT));
  m_crTextPushed.SetStandardValue(XTPGetColor(XPCOLOR_PUSHED_TEXT));
  m_crBackChecked.SetStandardValue(XTPGetColor(XPCOLOR_HIGHLIGHT_CHECKED));
}

COLORREF CXTButtonThemeOffice::ChooseTextColor(UINT nState, CXTButton *pButton) {
  if (nState & ODS_DISABLED) return XTPGetColor(COLOR_GRAYTEXT);
  if (pButton->IsHot()) return m_crTextHilite;
  if (IsPressed(nState, pButton)) return m_crTextPushed;
  return m_crText;
}

void CXTButtonThemeOffice::DrawButtonIcon(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) {
  CXTPImageManagerIcon *pIcon = pButton->GetIconObject();
  if (!m_bShowIcon || !pIcon) return;
  const CPoint pt = ResolveImagePoint(nState, rcItem, pButton);
  const CSize szImage = pButton->GetImageSize();
  if (nState & ODS_DISABLED) {
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), szImage);
  } else if (pButton->IsHot()) {
    if (m_bShadowIcon) {
      pIcon->Draw(pDC, CPoint(pt.x + 1, pt.y + 1), pIcon->GetShadowIcon(), szImage);
      pIcon->Draw(pDC, CPoint(pt.x - 1, pt.y - 1), pIcon->GetHotIcon(), szImage);
    } else {
      pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), szImage);
    }
  } else if (nState & ODS_SELECTED) {
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), szImage);
  } else {
    pIcon->Draw(pDC, pt, m_bFadedIcon ? pIcon->GetFadedIcon() : pIcon->GetIcon(), szImage);
  }
}

void CXTButtonThemeOffice::DrawButtonBackground(CDC *pDC, UINT nState, const CRect &rcItem,
                                                CXTButton *pButton) {
  const BOOL bHot = pButton->IsHot();
  const BOOL bPressed = IsPressed(nState, pButton);
  const BOOL bChecked = pButton->GetChecked();
  if (!bHot && !bPressed && !bChecked) {
    pDC->FillSolidRect(&rcItem, m_crBack);
    if (m_bFramedLook) pDC->Draw3dRect(&rcItem, m_crBorderShadow, m_crBorderShadow);
    return;
  }
  COLORREF clrFace = m_crBackHilite;
  if (bPressed)
    clrFace = m_crBackPushed;
  else if (bChecked)
    clrFace = bHot ? m_crBackPushed : m_crBackChecked;
  pDC->FillSolidRect(&rcItem, clrFace);
  pDC->Draw3dRect(&rcItem, m_crBorderHilite, m_crBorderHilite);
}

void CXTButtonThemeOffice::DrawFocusRect(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) {
  if (m_bFramedLook && !pButton->IsHot() && !IsPressed(nState, pButton) &&
      !(pButton->GetButtonStyleBits() & xtButtonVisualStyle)) {
    const COLORREF clr = XTPGetColor(COLOR_HIGHLIGHT);
    pDC->Draw3dRect(&rcItem, clr, clr);
    CRect rcInner = rcItem;
    rcInner.DeflateRect(1, 1);
    pDC->Draw3dRect(&rcInner, clr, clr);
    return;
  }
  CXTButtonTheme::DrawFocusRect(pDC, nState, rcItem, pButton);
}

// ---- Office highlight

CXTButtonThemeOfficeHighlight::CXTButtonThemeOfficeHighlight(BOOL bFramedLook)
    : CXTButtonThemeOffice(bFramedLook) {
  m_bFadedIcon = FALSE;
  m_bShadowIcon = FALSE;
}

void CXTButtonThemeOfficeHighlight::RefreshMetrics() {
  CXTButtonThemeOffice::RefreshMetrics();
  m_crBack.SetStandardValue(XTPGetColor(COLOR_3DFACE));
  const int nScheme = CXTPDrawHelpers::GetCurrentSystemTheme();
  if (nScheme != xtpSystemThemeUnknown) {
    m_crBackHilite.SetStandardValue(RGB(255, 238, 194));
    m_crBackPushed.SetStandardValue(RGB(254, 128, 62));
    m_crBackChecked.SetStandardValue(RGB(255, 192, 111));
    m_crText.SetStandardValue(RGB(0, 0, 0));
    m_crTextHilite.SetStandardValue(RGB(0, 0, 0));
    m_crTextPushed.SetStandardValue(RGB(0, 0, 0));
  }
  switch (nScheme) {
  case xtpSystemThemeBlue:
    m_crBack.SetStandardValue(RGB(169, 199, 240));
    m_crBorderShadow.SetStandardValue(RGB(127, 157, 185));
    m_crBorderHilite.SetStandardValue(RGB(0, 0, 128));
    break;
  case xtpSystemThemeOlive:
    m_crBack.SetStandardValue(RGB(197, 212, 159));
    m_crBorderShadow.SetStandardValue(RGB(164, 185, 127));
    m_crBorderHilite.SetStandardValue(RGB(63, 93, 56));
    break;
  case xtpSystemThemeSilver:
    m_crBack.SetStandardValue(RGB(192, 192, 211));
    m_crBorderShadow.SetStandardValue(RGB(165, 172, 178));
    m_crBorderHilite.SetStandardValue(RGB(75, 75, 11));
    break;
  default:
    break;
  }
  if (!m_bFramedLook) m_crBack.SetStandardValue(XTPGetColor(COLOR_3DFACE));
}

void CXTButtonThemeOfficeHighlight::DrawButtonIcon(CDC *pDC, UINT nState, const CRect &rcItem,
                                                   CXTButton *pButton) {
  CXTPImageManagerIcon *pIcon = pButton->GetIconObject();
  if (!m_bShowIcon || !pIcon) return;
  const CPoint pt = ResolveImagePoint(nState, rcItem, pButton);
  const CSize szImage = pButton->GetImageSize();
  if (nState & ODS_DISABLED)
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), szImage);
  else if (nState & ODS_SELECTED)
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), szImage);
  else
    pIcon->Draw(pDC, pt, pIcon->GetIcon(), szImage);
}

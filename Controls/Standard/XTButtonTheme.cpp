#include "XTButtonTheme.h"

#include "XTButton.h"
#include "XTButtonThemeOffice.h"
#include "WindowDc.h"
#include "XTGlobal.h"
#include "XTPDrawHelpers.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTButtonThemeFactory, CXTThemeManagerStyleFactory)

namespace {

const int kPushButtonPart = 1; // BP_PUSHBUTTON

UINT HorizontalAlignment(CXTButton *pButton) {
  return pButton->GetStyle() & BS_CENTER;
}

} // namespace

CXTButtonTheme::CXTButtonTheme() {
  m_crBack.SetStandardValue(::GetSysColor(COLOR_3DFACE));
  m_crText.SetStandardValue(::GetSysColor(COLOR_BTNTEXT));
  m_crTextDisabled.SetStandardValue(::GetSysColor(COLOR_GRAYTEXT));
  m_crBorderHilite.SetStandardValue(::GetSysColor(COLOR_3DFACE));
  m_crBorderShadow.SetStandardValue(::GetSysColor(COLOR_3DSHADOW));
  m_crBorderLight.SetStandardValue(::GetSysColor(COLOR_3DHILIGHT));
  m_crBorder3DShadow.SetStandardValue(::GetSysColor(COLOR_3DDKSHADOW));
}

void CXTButtonTheme::RefreshMetrics() {
  XTPGetColorManager()->RefreshColors();
  m_crBack.SetStandardValue(XTPGetColor(COLOR_3DFACE));
  m_crText.SetStandardValue(XTPGetColor(COLOR_BTNTEXT));
  m_crTextDisabled.SetStandardValue(XTPGetColor(COLOR_GRAYTEXT));
  m_crBorderHilite.SetStandardValue(XTPGetColor(COLOR_3DFACE));
  m_crBorderShadow.SetStandardValue(XTPGetColor(COLOR_3DSHADOW));
  m_crBorderLight.SetStandardValue(XTPGetColor(COLOR_3DHILIGHT));
  m_crBorder3DShadow.SetStandardValue(XTPGetColor(COLOR_3DDKSHADOW));
}

BOOL CXTButtonTheme::AllowsHotState(CXTButton *pButton) {
  return DrawsWithVisualStyles(pButton) ||
         (pButton->GetButtonStyleBits() & (xtButtonFlat | xtButtonSemiFlat));
}

BOOL CXTButtonTheme::DrawsWithVisualStyles(CXTButton *pButton) {
  if (!pButton || !(pButton->GetButtonStyleBits() & xtButtonVisualStyle)) return FALSE;
  if (!m_themeWrapper.GetThemeHandle()) m_themeWrapper.OpenThemeData(pButton->GetSafeHwnd(), L"BUTTON");
  return m_themeWrapper.GetThemeHandle() && m_themeWrapper.IsAppThemed();
}

HFONT CXTButtonTheme::GetTextFont(CXTButton *pButton) {
  if (m_hFont && ::GetObjectType(m_hFont) == OBJ_FONT) return m_hFont;
  return pButton->GetFontHandle();
}

void CXTButtonTheme::ApplyButtonColors(COLORREF clrFace, COLORREF clrHighlight, COLORREF clrShadow,
                                       COLORREF clrText) {
  SetFaceColor(clrFace);
  SetHighlightColor(clrHighlight);
  SetShadowColor(clrShadow);
  SetLabelColor(clrText);
}

BOOL CXTButtonTheme::IsPressed(UINT nState, CXTButton *pButton) {
  return (nState & ODS_SELECTED) || pButton->IsPushed();
}

CSize CXTButtonTheme::MeasureText(CDC *pDC, CXTButton *pButton) {
  CString strText;
  pButton->GetWindowText(strText, TRUE);
  if (strText.IsEmpty()) return CSize(0, 0);
  HGDIOBJ hOldFont = ::SelectObject(pDC->GetSafeHdc(), GetTextFont(pButton));
  CSize size = pDC->GetTextExtent(strText);
  ::SelectObject(pDC->GetSafeHdc(), hOldFont);
  return size;
}

CPoint CXTButtonTheme::ComputeImageStart(CXTButton *pButton, const CRect &rcItem, CSize szImage) {
  if (pButton->GetButtonStyleBits() & xtButtonImageAbove)
    return CPoint(rcItem.left + std::max(0L, (rcItem.Width() - szImage.cx) / 2),
                  rcItem.top + std::max(0L, (rcItem.Height() - szImage.cy) / 2));
  return CPoint(rcItem.left + pButton->GetBorderGap(), rcItem.top + (rcItem.Height() - szImage.cy) / 2);
}

CPoint CXTButtonTheme::ResolveTextPoint(CXTButton *pButton, const CRect &rcItem, CSize szText) {
  if (pButton->IsUserPosition()) return pButton->GetTextPoint();
  CRect rc = rcItem;
  rc.DeflateRect(2, 0);
  const CSize szImage = m_bShowIcon && pButton->GetIconObject() ? pButton->GetImageSize() : CSize(0, 0);
  const int nGap = pButton->GetBorderGap();
  CPoint pt(rc.left + (rc.Width() - szText.cx) / 2, rc.top + (rc.Height() - szText.cy) / 2);
  const UINT nAlign = HorizontalAlignment(pButton);
  if (pButton->GetButtonStyleBits() & xtButtonImageAbove) {
    if (szImage.cy > 0) pt.y += szImage.cy / 2 + pButton->GetImageGap() / 2;
    if (nAlign == BS_LEFT)
      pt.x = rc.left + nGap;
    else if (nAlign == BS_RIGHT)
      pt.x = rc.right - szText.cx - nGap;
    return pt;
  }
  // Text beside the image starts after it and the gap.
  const int nAfterImage = szImage.cx > 0 ? rcItem.left + nGap + szImage.cx + pButton->GetImageGap() : rc.left;
  if (nAlign == BS_LEFT)
    pt.x = szImage.cx > 0 ? nAfterImage : rc.left + nGap;
  else if (nAlign == BS_RIGHT)
    pt.x = rc.right - szText.cx - nGap;
  else
    pt.x = nAfterImage + std::max(0L, (rc.right - nAfterImage - szText.cx) / 2);
  return pt;
}

COLORREF CXTButtonTheme::ChooseTextColor(UINT nState, CXTButton *) {
  return (nState & ODS_DISABLED) ? m_crTextDisabled : m_crText;
}

void CXTButtonTheme::DrawButtonText(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) {
  CString strText;
  pButton->GetWindowText(strText, FALSE);
  if (strText.IsEmpty()) return;
  const CSize szText = MeasureText(pDC, pButton);
  CPoint pt = ResolveTextPoint(pButton, rcItem, szText);
  if ((pButton->GetChecked() || (nState & ODS_SELECTED)) && m_bOffsetHiliteText) pt.Offset(1, 1);
  HDC hDC = pDC->GetSafeHdc();
  HGDIOBJ hOldFont = ::SelectObject(hDC, GetTextFont(pButton));
  const COLORREF clrOld = ::SetTextColor(hDC, ChooseTextColor(nState, pButton));
  // The prefix form underlines the mnemonic.
  ::DrawStateW(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(strText.GetString()), strText.GetLength(),
               pt.x, pt.y, szText.cx, szText.cy, DST_PREFIXTEXT | DSS_NORMAL);
  ::SetTextColor(hDC, clrOld);
  ::SelectObject(hDC, hOldFont);
}

CPoint CXTButtonTheme::ResolveImagePoint(UINT, const CRect &rcItem, CXTButton *pButton) {
  if (pButton->IsUserPosition()) return pButton->GetImagePoint();
  const CSize szImage = pButton->GetImageSize();
  CPoint pt = ComputeImageStart(pButton, rcItem, szImage);
  const int nGap = pButton->GetBorderGap();
  CString strText;
  pButton->GetWindowText(strText, TRUE);
  if (!(pButton->GetButtonStyleBits() & xtButtonImageAbove)) {
    pt.x = rcItem.left + nGap;
    if (strText.IsEmpty()) {
      const DWORD dwStyle = pButton->GetStyle();
      if ((dwStyle & BS_CENTER) == BS_CENTER && szImage.cx <= rcItem.Width())
        pt.x = rcItem.left + (rcItem.Width() - szImage.cx) / 2;
      if ((dwStyle & BS_VCENTER) == BS_VCENTER && szImage.cy <= rcItem.Height())
        pt.y = rcItem.top + (rcItem.Height() - szImage.cy) / 2;
    }
    return pt;
  }
  if (strText.IsEmpty()) return pt;
  CClientDC dc(pButton);
  pt.y -= MeasureText(&dc, pButton).cy / 2 + pButton->GetImageGap() / 2;
  const UINT nAlign = HorizontalAlignment(pButton);
  if (nAlign == BS_LEFT)
    pt.x = rcItem.left + nGap;
  else if (nAlign == BS_RIGHT)
    pt.x = rcItem.right - szImage.cx - nGap;
  else
    pt.x = rcItem.left + std::max(0L, (rcItem.Width() - szImage.cx) / 2);
  return pt;
}

void CXTButtonTheme::DrawButtonIcon(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) {
  CXTPImageManagerIcon *pIcon = pButton->GetIconObject();
  if (!m_bShowIcon || !pIcon) return;
  CPoint pt = ResolveImagePoint(nState, rcItem, pButton);
  if (pButton->GetChecked() || (nState & ODS_SELECTED)) pt.Offset(1, 1);
  const CSize szImage = pButton->GetImageSize();
  if (nState & ODS_DISABLED)
    pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), szImage);
  else if (pButton->IsHot() || IsPressed(nState, pButton))
    pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), szImage);
  else
    pIcon->Draw(pDC, pt, pIcon->GetIcon(), szImage);
}

void CXTButtonTheme::DrawItem(LPDRAWITEMSTRUCT lpDIS, CXTButton *pButton) {
  ASSERT(lpDIS);
  if (!lpDIS || !pButton) return;
  CDC *pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rcItem(lpDIS->rcItem);
  const UINT nState = lpDIS->itemState;
  if (!DrawVisualStyleBackground(pDC, nState, rcItem, pButton))
    DrawButtonBackground(pDC, nState, rcItem, pButton);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  DrawButtonText(pDC, nState, rcItem, pButton);
  DrawButtonIcon(pDC, nState, rcItem, pButton);
  if ((pButton->GetButtonStyleBits() & xtButtonShowFocus) && (nState & ODS_FOCUS))
    DrawFocusRect(pDC, nState, rcItem, pButton);
  pDC->SetBkMode(nOldMode);
}

int CXTButtonTheme::VisualStyleState(UINT nState, BOOL bHot, BOOL bPushed) {
  int nStateId = 1; // normal
  if (nState & ODS_FOCUS) nStateId = 5;
  if (bHot) nStateId = 2;
  if ((nState & ODS_SELECTED) || bPushed) nStateId = 3;
  if (nState & ODS_DISABLED) nStateId = 4;
  return nStateId;
}

BOOL CXTButtonTheme::DrawVisualStyleBackground(CDC *pDC, UINT nState, const CRect &rcItem,
                                               CXTButton *pButton) {
  if (!DrawsWithVisualStyles(pButton)) return FALSE;
  const int nStateId = VisualStyleState(nState, pButton->IsHot(), pButton->IsPushed());
  if (FAILED(m_themeWrapper.DrawThemeBackground(pDC->GetSafeHdc(), kPushButtonPart, nStateId, &rcItem,
                                                nullptr))) {
    TRACE0("Error drawing background using WinTheme API.\n");
    return FALSE;
  }
  return TRUE;
}

void CXTButtonTheme::DrawButtonBackground(CDC *pDC, UINT nState, const CRect &rcItem, CXTButton *pButton) {
  const BOOL bPressed = IsPressed(nState, pButton);
  const BOOL bHot = pButton->IsHot();
  const DWORD dwxStyle = pButton->GetButtonStyleBits();
  pDC->FillSolidRect(&rcItem, m_crBack);
  if ((dwxStyle & xtButtonHatchPushed) && (bPressed || bHot)) DrawCheckedPattern(pDC, rcItem);
  if (dwxStyle & xtButtonFlat) {
    if (bHot || bPressed)
      pDC->Draw3dRect(&rcItem, bPressed ? m_crBorderShadow : m_crBorderLight,
                      bPressed ? m_crBorderLight : m_crBorderShadow);
    return;
  }
  if (dwxStyle & xtButtonSemiFlat) {
    pDC->Draw3dRect(&rcItem, bPressed ? m_crBorderShadow : m_crBorderLight,
                    bPressed ? m_crBorderLight : m_crBorderShadow);
    return;
  }
  pDC->Draw3dRect(&rcItem, bPressed ? m_crBorder3DShadow : m_crBorderLight,
                  bPressed ? m_crBorderLight : m_crBorder3DShadow);
  CRect rcInner = rcItem;
  rcInner.DeflateRect(1, 1);
  pDC->Draw3dRect(&rcInner, bPressed ? m_crBorderShadow : m_crBorderHilite,
                  bPressed ? m_crBorderHilite : m_crBorderShadow);
}

void CXTButtonTheme::DrawFocusRect(CDC *pDC, UINT, const CRect &rcItem, CXTButton *pButton) {
  CRect rc = rcItem;
  const int nInset = DrawsWithVisualStyles(pButton) ? 4 : 2;
  rc.DeflateRect(nInset, nInset);
  const COLORREF clrOld = pDC->SetTextColor(m_crText);
  pDC->DrawFocusRect(&rc);
  pDC->SetTextColor(clrOld);
}

// ---- factory

CXTThemeManagerStyle *CXTButtonThemeFactory::CreateTheme(int nThemeId) {
  CXTButtonTheme *pTheme = nullptr;
  if (nThemeId == 1)
    pTheme = new CXTButtonThemeOffice(FALSE);
  else if (nThemeId == 2)
    pTheme = new CXTButtonThemeOfficeHighlight(FALSE);
  else
    pTheme = new CXTButtonTheme;
  pTheme->SetThemeId(nThemeId);
  return pTheme;
}

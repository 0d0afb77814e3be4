#include "XTPTabColorSets.h"

#include "XTPDrawHelpers.h"
#include "XTPTabAppearance.h"
#include "XTPTabPaintManager.h"

#include <utility>

namespace {

const COLORREF kUnset = 0xFFFFFFFF;

COLORREF C(int nIndex) {
  return XTPGetColor(nIndex);
}

void SetSlope(CXTPPaintManagerColor (&slope)[6], COLORREF g0, COLORREF g1, COLORREF g2, COLORREF g3,
              COLORREF g4, COLORREF g5) {
  const COLORREF values[6] = {g0, g1, g2, g3, g4, g5};
  for (int i = 0; i < 6; i++) slope[i].SetStandardValue(values[i]);
}

void CopySlope(CXTPPaintManagerColor (&to)[6], const CXTPPaintManagerColor (&from)[6]) {
  for (int i = 0; i < 6; i++) to[i].SetStandardValue(from[i].GetStandardColor());
}

void CopyGradient(CXTPPaintManagerColorGradient &to, const CXTPPaintManagerColorGradient &from) {
  to.SetStandardValue(from.clrLight_.GetStandardColor(), from.clrDark_.GetStandardColor());
}

} // namespace

CXTPTabColorSet *XTPCreateTabColorSet(int nColorSet) {
  switch (nColorSet) {
  case 2:
    return new CXTPTabColorSet2;
  case 4:
    return new CXTPTabColorSet4;
  case 8:
    return new CXTPTabColorSet8;
  case 16:
    return new CXTPTabColorSet16;
  default:
    return new CXTPTabColorSetDefault;
  }
}

// --- base ---

CXTPTabColorSet::CXTPTabColorSet() {
  // The halftone pattern: rows alternate 0x55 and 0xAA (word-aligned rows).
  const WORD wPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  m_bmpHalftone.CreateBitmap(8, 8, 1, 1, wPattern);
  m_brushHalftone.CreatePatternBrush(&m_bmpHalftone);
}

CXTPTabColorSet::~CXTPTabColorSet() = default;

int CXTPTabColorSet::OwnerAppearance() const {
  return m_pOwner ? m_pOwner->GetAppearance() : 0;
}

BOOL CXTPTabColorSet::OwnerItemColors() const {
  return m_pOwner && m_pOwner->m_bOneNoteColors;
}

BOOL CXTPTabColorSet::OwnerSchemeColorsDisabled() const {
  return m_pOwner ? m_pOwner->AreSchemeColorsDisabled() : XTPGetColorManager()->IsSystemThemeColorsDisabled();
}

void CXTPTabColorSet::RefreshMetrics() {
  XTPGetColorManager()->RefreshColors();
  edgeDark.SetStandardValue(C(COLOR_BTNSHADOW));
  stripFace.SetStandardValue(C(COLOR_BTNFACE));
  edgeFace.SetStandardValue(C(COLOR_BTNFACE));
  edgeLight.SetStandardValue(C(COLOR_BTNHIGHLIGHT));
  labelInactive.SetStandardValue(C(COLOR_BTNTEXT));
  labelColor.SetStandardValue(C(COLOR_BTNTEXT));
  labelSelected.SetStandardValue(C(COLOR_BTNTEXT));
  labelHot.SetStandardValue(RGB(0, 0, 128));
  labelDisabled.SetStandardValue(C(COLOR_GRAYTEXT));
  flatButtonFace.SetStandardValue(C(COLOR_WINDOW));
  flatButtonBorder.SetStandardValue(C(COLOR_HIGHLIGHT));

  slantOutline.SetStandardValue(C(COLOR_BTNSHADOW));
  slantBorder.SetStandardValue(C(COLOR_BTNSHADOW));
  slantFace.SetStandardValue(C(COLOR_BTNFACE));
  slantHighlight.SetStandardValue(C(COLOR_BTNFACE));
  bevelLight.SetStandardValue(C(COLOR_BTNHIGHLIGHT));
  bevelShadow.SetStandardValue(C(COLOR_BTNSHADOW));
  bevelDarkShadow.SetStandardValue(C(COLOR_3DDKSHADOW));

  SetSlope(slopeSelected, C(COLOR_BTNTEXT), C(COLOR_BTNSHADOW), C(COLOR_BTNTEXT), kUnset, kUnset, kUnset);
  CopySlope(slopeNormal, slopeSelected);
  slopeNormal[3].SetStandardValue(C(COLOR_WINDOW));
  slopeNormal[4].SetStandardValue(C(COLOR_BTNSHADOW));

  tabFaceSelected.SetStandardValue(C(COLOR_BTNFACE));
  tabFace.SetStandardValue(C(COLOR_BTNFACE));
  if (OwnerAppearance() == 7) tabFaceSelected.SetStandardValue(C(COLOR_WINDOW));
  CopyGradient(stripFaceAlternate, stripFace);
}

COLORREF CXTPTabColorSet::ApplyTextColor(CDC *pDC, CXTPTabManagerItem *pItem) {
  CXTPTabManager *pManager = pItem->GetTabManager();
  COLORREF clr;
  if (!pItem->IsEnabled())
    clr = labelDisabled;
  else if (pManager && !pManager->IsActive())
    clr = labelInactive;
  else if (pItem->IsSelected())
    clr = labelSelected;
  else if (pItem->IsHighlighted())
    clr = labelHot;
  else
    clr = labelColor;
  return pDC->SetTextColor(clr);
}

void CXTPTabColorSet::GradientFillRect(CDC *pDC, CRect rc, COLORREF clrFirst, COLORREF clrSecond,
                                       int nPosition) {
  if (clrFirst == kHalftone) {
    CBrush *pOld = pDC->SelectObject(&m_brushHalftone);
    COLORREF clrBk = pDC->SetBkColor(C(COLOR_BTNFACE));
    COLORREF clrText = pDC->SetTextColor(C(COLOR_BTNHIGHLIGHT));
    pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
    pDC->SetBkColor(clrBk);
    pDC->SetTextColor(clrText);
    pDC->SelectObject(pOld);
    return;
  }
  if (nPosition == xtpTabPositionBottom || nPosition == xtpTabPositionRight) std::swap(clrFirst, clrSecond);
  if (m_pOwner && m_pOwner->m_bInvertGradient) std::swap(clrFirst, clrSecond);
  XTPDrawHelpers()->GradientFill(pDC, rc, clrFirst, clrSecond, !IsHorizontalPosition(nPosition));
}

void CXTPTabColorSet::PaintStrip(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) {
  GradientFillRect(pDC, rc, stripFace, pTabManager->GetPosition());
}

COLORREF CXTPTabColorSet::PaintClient(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) {
  CXTPTabManagerItem *pSelected = pTabManager->GetSelectedItem();
  COLORREF clr = pSelected ? GetTabFaceColor(pSelected) : tabFaceSelected.GetColor();
  pDC->FillSolidRect(rc, clr);
  return clr;
}

void CXTPTabColorSet::FillFlatButton(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) {
  CXTPTabManager *pManager = pItem->GetTabManager();
  if (!pItem->IsSelected()) {
    if (pManager->IsHorizontalPosition())
      pDC->Draw3dRect(rc.right, rc.top + 2, 2, rc.Height() - 4, C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT));
    else
      pDC->Draw3dRect(rc.left + 2, rc.bottom, rc.Width() - 4, 2, C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT));
    return;
  }
  if (OwnerItemColors())
    pDC->FillSolidRect(rc, GetTabFaceColor(pItem));
  else
    GradientFillRect(pDC, rc, flatButtonFace, pManager->GetPosition());
  pDC->Draw3dRect(rc, flatButtonBorder.clrLight_, flatButtonBorder.clrDark_);
}

COLORREF CXTPTabColorSet::PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) {
  COLORREF clr = GetTabFaceColor(pItem);
  pDC->FillSolidRect(rc, clr);
  return clr;
}

COLORREF CXTPTabColorSet::GetTabFaceColor(CXTPTabManagerItem *pItem) {
  if (OwnerItemColors()) return pItem->GetColor();
  return pItem->IsSelected() ? tabFaceSelected.GetColor() : tabFace.GetColor();
}

// --- default ---

void CXTPTabColorSetDefault::RefreshMetrics() {
  CXTPTabColorSet::RefreshMetrics();
  flatButtonFace.SetStandardValue(kHalftone, kHalftone);
  flatButtonBorder.SetStandardValue(C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT));
  SetSlope(slopeSelected, C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), C(COLOR_WINDOW),
           C(COLOR_BTNSHADOW), C(COLOR_BTNSHADOW));
  SetSlope(slopeNormal, C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), kUnset, kUnset, kUnset);
  if (OwnerAppearance() == 7) {
    tabFaceSelected.SetStandardValue(C(COLOR_BTNFACE));
    tabFace.SetStandardValue(C(COLOR_WINDOW));
    edgeDark.SetStandardValue(C(COLOR_BTNTEXT));
  }
}

namespace {

void PaintEdges(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc, int nShadow, int nLight) {
  if (!pButton->IsEnabled()) return;
  if (pButton->IsPressed()) {
    pDC->Draw3dRect(rc, C(nShadow), C(nLight));
    rc.OffsetRect(1, 1);
  } else if (pButton->IsHighlighted()) {
    pDC->Draw3dRect(rc, C(nLight), C(nShadow));
  }
}

} // namespace

void CXTPTabColorSetDefault::PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) {
  PaintEdges(pDC, pButton, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  pDC->SetTextColor(C(COLOR_BTNTEXT));
}

// --- set 2 ---

void CXTPTabColorSet2::RefreshMetrics() {
  CXTPTabColorSet::RefreshMetrics();
  int nAppearance = OwnerAppearance();
  if (nAppearance != 7 && nAppearance != 4) stripFace.SetStandardValue(C(XPCOLOR_TAB_INACTIVE_BACK));
  if (nAppearance == 5) {
    labelInactive.SetStandardValue(C(XPCOLOR_TAB_INACTIVE_TEXT));
    labelColor.SetStandardValue(C(XPCOLOR_TAB_INACTIVE_TEXT));
  }
  CopyGradient(stripFaceAlternate, stripFace);
}

void CXTPTabColorSet2::PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) {
  int nAppearance = OwnerAppearance();
  if (nAppearance == 7 || nAppearance == 4) {
    CXTPTabColorSetDefault::PaintNavigateButton(pDC, pButton, rc);
    return;
  }
  PaintEdges(pDC, pButton, rc, COLOR_BTNTEXT, COLOR_BTNFACE);
  pDC->SetTextColor(C(XPCOLOR_TAB_INACTIVE_TEXT));
}

// --- set 4 ---

namespace {

struct SchemeColors {
  COLORREF edgeDark, bevelDarkShadow, bevelShadow, flatBorder, stripFirst, stripSecond, tabFace, tabFaceHot,
      altFirst, altSecond;
};

const SchemeColors kSchemes[3] = {
    {0x9C613B, 0x9A3500, 0xF1A675, 0x800000, 0xFADAC4, 0xFEFDFC, 0xF6C0A2, 0xC9F0FF, 0xF5BE9E, 0xFADAC4},
    {0x588060, 0x6B7760, 0x8CC2B0, 0x385D3F, 0xE4F1F2, 0xFEFEFC, 0xAADED0, 0xC7F0FF, 0xA7D9D9, 0xE4F1F2},
    {0x947C7C, 0x927476, 0xCEB9BA, 0x6F4B4B, 0xF7F3F3, 0xFEFEFC, 0xE6D9D9, 0xC2EEFF, 0xE5D7D7, 0xF7F3F3},
};

} // namespace

void CXTPTabColorSet4::RefreshMetrics() {
  CXTPTabColorSet::RefreshMetrics();
  stripFace.SetStandardValue(C(COLOR_BTNFACE),
                             CXTPColorManager::BlendColors(C(COLOR_BTNFACE), C(COLOR_WINDOW), 205));
  flatButtonFace.SetStandardValue(C(XPCOLOR_HIGHLIGHT_CHECKED));
  flatButtonBorder.SetStandardValue(C(XPCOLOR_HIGHLIGHT_CHECKED_BORDER));
  tabFaceHot.SetStandardValue(C(XPCOLOR_HIGHLIGHT_CHECKED));
  labelHot.SetStandardValue(C(COLOR_BTNTEXT));
  CopyGradient(stripFaceAlternate, stripFace);
  themeColorsInUse = FALSE;

  if (!OwnerSchemeColorsDisabled()) {
    int nTheme = XTPDrawHelpers()->GetCurrentSystemTheme();
    if (nTheme >= 1 && nTheme <= 3) {
      const SchemeColors &s = kSchemes[nTheme - 1];
      edgeDark.SetStandardValue(s.edgeDark);
      slantBorder.SetStandardValue(s.edgeDark);
      bevelDarkShadow.SetStandardValue(s.bevelDarkShadow);
      slantOutline.SetStandardValue(s.bevelDarkShadow);
      bevelShadow.SetStandardValue(s.bevelShadow);
      slantFace.SetStandardValue(s.bevelShadow);
      slantHighlight.SetStandardValue(0xFFFFFF);
      flatButtonFace.SetStandardValue(0x6FC0FF);
      flatButtonBorder.SetStandardValue(s.flatBorder);
      stripFace.SetStandardValue(s.stripFirst, s.stripSecond);
      tabFace.SetStandardValue(s.tabFace);
      tabFaceSelected.SetStandardValue(0x73C2FF);
      tabFaceHot.SetStandardValue(s.tabFaceHot);
      stripFaceAlternate.SetStandardValue(s.altFirst, s.altSecond);
      navigateButtonBorder.SetStandardValue(s.flatBorder);
      themeColorsInUse = TRUE;
    } else {
      tabFaceSelected.SetStandardValue(C(XPCOLOR_HIGHLIGHT_CHECKED));
    }
  }
  SetSlope(slopeSelected, edgeDark, edgeDark, edgeDark, kUnset, kUnset, kUnset);
  CopySlope(slopeNormal, slopeSelected);
  if (OwnerAppearance() == 4) {
    stripFace.SetStandardValue(C(COLOR_BTNFACE));
    stripFaceAlternate.SetStandardValue(C(COLOR_BTNFACE));
  }
}

COLORREF CXTPTabColorSet4::PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) {
  COLORREF clr = GetTabFaceColor(pItem);
  if (pItem->IsHighlighted()) clr = tabFaceHot;
  GradientFillRect(pDC, rc, CXTPColorManager::BlendColors(clr, 0xFFFFFF, 300), clr,
                   pItem->GetTabManager()->GetPosition());
  return clr;
}

void CXTPTabColorSet4::PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) {
  int nText = COLOR_BTNTEXT;
  if (pButton->IsEnabled()) {
    if (pButton->IsHighlighted() && pButton->IsPressed()) {
      if (!themeColorsInUse) {
        pDC->FillSolidRect(rc, C(XPCOLOR_HIGHLIGHT_PUSHED));
        pDC->Draw3dRect(rc, C(XPCOLOR_HIGHLIGHT_PUSHED_BORDER), C(XPCOLOR_HIGHLIGHT_PUSHED_BORDER));
        nText = XPCOLOR_PUSHED_TEXT;
      } else {
        XTPDrawHelpers()->GradientFill(pDC, rc, 0x4B8EFE, 0x8BCFFF, FALSE);
        pDC->Draw3dRect(rc, navigateButtonBorder, navigateButtonBorder);
      }
    } else if (pButton->IsHighlighted() || pButton->IsPressed()) {
      if (!themeColorsInUse) {
        pDC->FillSolidRect(rc, C(XPCOLOR_HIGHLIGHT));
        pDC->Draw3dRect(rc, C(XPCOLOR_HIGHLIGHT_BORDER), C(XPCOLOR_HIGHLIGHT_BORDER));
        nText = XPCOLOR_HIGHLIGHT_TEXT;
      } else {
        XTPDrawHelpers()->GradientFill(pDC, rc, 0xC8F2FF, 0x97D4FF, FALSE);
        pDC->Draw3dRect(rc, navigateButtonBorder, navigateButtonBorder);
      }
    }
  }
  pDC->SetTextColor(C(nText));
}

// --- set 16 ---

void CXTPTabColorSet16::RefreshMetrics() {
  CXTPTabColorSet::RefreshMetrics();
  tabFaceSelected.SetStandardValue(0xFFFFFF);
  themeColorsInUse = FALSE;
  gradientItems = FALSE;
  if (!OwnerSchemeColorsDisabled()) {
    CXTPTabColorSet4::RefreshMetrics();
    return;
  }
  int nTheme = XTPDrawHelpers()->GetCurrentSystemTheme();
  if (nTheme == 1 || nTheme == 2) {
    stripFace.SetStandardValue(0xD5E2E4);
    gradientItems = TRUE;
  } else if (nTheme == 3) {
    tabFace.SetStandardValue(0xF8F5F5);
    stripFace.SetStandardValue(0xEEEEEE);
    gradientItems = TRUE;
  }
  slantBorder.SetStandardValue(C(XPCOLOR_LABEL));
  edgeDark.SetStandardValue(C(XPCOLOR_LABEL));
}

COLORREF CXTPTabColorSet16::PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) {
  if (gradientItems) return CXTPTabColorSet4::PaintTabFace(pDC, rc, pItem);
  return CXTPTabColorSet::PaintTabFace(pDC, rc, pItem);
}

// --- set 8 ---

void CXTPTabColorSet8::RefreshMetrics() {
  CXTPTabColorSetDefault::RefreshMetrics();
  themeTab.OpenThemeData(nullptr, L"TAB");
  if (themeTab.IsAppThemed()) {
    bevelLight.SetStandardValue(kUnset);
    bevelShadow.SetStandardValue(kUnset);
    bevelDarkShadow.SetStandardValue(kUnset);
    labelHot.SetStandardValue(labelColor.GetStandardColor());
  }
  themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
}

BOOL CXTPTabColorSet8::UsesVisualStyle() {
  return themeTab.IsAppThemed();
}

namespace {

// A 32-bit top-down DIB section of its own, freed when it goes.
class Dib32 {
public:
  Dib32(int cx, int cy) : m_cx(cx), m_cy(cy) {
    const BITMAPINFO bi = TopDownBitmapInfo(cx, cy);
    m_hBitmap =
        ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void **>(&m_pBits), nullptr, 0);
  }
  ~Dib32() {
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
  }
  Dib32(const Dib32 &) = delete;
  Dib32 &operator=(const Dib32 &) = delete;
  HBITMAP Handle() const { return m_hBitmap; }
  DWORD &At(int x, int y) { return m_pBits[y * m_cx + x]; }
  int m_cx, m_cy;

private:
  HBITMAP m_hBitmap = nullptr;
  DWORD *m_pBits = nullptr;
};

} // namespace

void CXTPTabColorSet8::DrawTurnedTab(CDC *pDC, const CRect &rc, int nPosition, int nState) {
  const BOOL bSwap = nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight;
  const int cx = rc.Width(), cy = rc.Height();
  if (cx <= 0 || cy <= 0) return;
  const int ux = bSwap ? cy : cx, uy = bSwap ? cx : cy;
  Dib32 upright(ux, uy), turned(cx, cy);
  if (!upright.Handle() || !turned.Handle()) return;
  {
    HDC hMem = ::CreateCompatibleDC(pDC->GetSafeHdc());
    HGDIOBJ hOld = ::SelectObject(hMem, upright.Handle());
    RECT rcUp = {0, 0, ux, uy};
    themeTab.DrawThemeBackground(hMem, 1, nState, &rcUp, nullptr);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
  }
  ::GdiFlush();
  for (int y = 0; y < cy; y++) {
    for (int x = 0; x < cx; x++) {
      DWORD dw;
      if (nPosition == xtpTabPositionLeft)
        dw = upright.At(ux - 1 - y, x); // transposed and read backwards: turned
      else if (nPosition == xtpTabPositionRight)
        dw = upright.At(y, x); // transposed
      else
        dw = upright.At(x, uy - 1 - y); // rows in reverse order
      turned.At(x, y) = dw;
    }
  }
  pDC->DrawState(rc.TopLeft(), rc.Size(), turned.Handle(), DST_BITMAP | DSS_NORMAL);
}

COLORREF CXTPTabColorSet8::PaintTabFace(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) {
  if (!themeTab.IsAppThemed()) return CXTPTabColorSetDefault::PaintTabFace(pDC, rc, pItem);
  const int nPosition = pItem->GetTabManager()->GetPosition();
  if (pItem->IsSelected()) {
    if (nPosition == xtpTabPositionTop) rc.bottom += 1;
    if (nPosition == xtpTabPositionLeft) rc.right += 1;
  }
  const int nState = pItem->IsSelected() ? 3 : pItem->IsHighlighted() ? 5 : 1;
  switch (nPosition) {
  case xtpTabPositionTop:
    rc.InflateRect(1, 1, 1, 0);
    themeTab.DrawThemeBackground(pDC->GetSafeHdc(), 1, nState, rc, nullptr);
    return kUnset;
  case xtpTabPositionLeft:
    rc.InflateRect(1, 1, 0, 1);
    break;
  case xtpTabPositionBottom:
    rc.InflateRect(1, 0, 1, 2);
    break;
  default:
    rc.InflateRect(0, 1, 2, 1);
    break;
  }
  DrawTurnedTab(pDC, rc, nPosition, nState);
  return kUnset;
}

COLORREF CXTPTabColorSet8::PaintClient(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) {
  if (!themeTab.IsAppThemed()) return CXTPTabColorSetDefault::PaintClient(pDC, rc, pTabManager);
  if (pTabManager->GetPosition() == xtpTabPositionBottom) rc.bottom += 1;
  if (pTabManager->GetPosition() == xtpTabPositionRight) rc.right += 1;
  themeTab.DrawThemeBackground(pDC->GetSafeHdc(), 9, 0, rc, nullptr);
  return 0;
}

void CXTPTabColorSet8::FillFlatButton(CDC *pDC, CRect rc, CXTPTabManagerItem *pItem) {
  if (!themeToolbar.IsAppThemed() || !pItem->IsSelected()) {
    CXTPTabColorSetDefault::FillFlatButton(pDC, rc, pItem);
    return;
  }
  themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 1, pItem->IsHighlighted() ? 6 : 5, rc, nullptr);
}

void CXTPTabColorSet8::ExcludeClientCorner(CDC *pDC, CRect rc, CXTPTabManager *pTabManager) {
  if (!themeTab.IsAppThemed() || !m_pOwner || !m_pOwner->GetAppearanceSet()) return;
  CRect rcClient = m_pOwner->GetAppearanceSet()->ComputeClientRect(rc, pTabManager);
  switch (pTabManager->GetPosition()) {
  case xtpTabPositionTop:
  case xtpTabPositionLeft:
    pDC->ExcludeClipRect(rcClient.left, rcClient.top, rcClient.left + 1, rcClient.top + 1);
    break;
  case xtpTabPositionBottom:
    pDC->ExcludeClipRect(rcClient.left, rcClient.bottom - 2, rcClient.left + 1, rcClient.bottom - 1);
    break;
  default:
    pDC->ExcludeClipRect(rcClient.right - 2, rcClient.top, rcClient.right - 1, rcClient.top + 1);
    break;
  }
}

void CXTPTabColorSet8::PaintNavigateButton(CDC *pDC, CXTPTabManagerNavigateButton *pButton, CRect &rc) {
  if (!themeToolbar.IsAppThemed()) {
    CXTPTabColorSetDefault::PaintNavigateButton(pDC, pButton, rc);
    return;
  }
  if (pButton->IsEnabled()) {
    int nState = pButton->IsPressed() ? 3 : pButton->IsHighlighted() ? 2 : 1;
    themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), 1, nState, rc, nullptr);
  }
  pDC->SetTextColor(C(COLOR_BTNTEXT));
}

#include "XTPOffice2003Theme.h"

#include <algorithm>

#include "WinThread.h"
#include "XTPCommandBar.h"
#include "XTPControl.h"
#include "XTPControlPopup.h"
#include "XTPControls.h"
#include "XTPDrawHelpers.h"

HWND XTPThemeOwnerWindow() {
  CWnd *pMainWnd = AfxGetMainWnd();
  return pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
}

namespace {

COLORREF Blend(COLORREF clr1, COLORREF clr2, int nPercent) {
  return CXTPColorManager::BlendColors(clr1, clr2, nPercent);
}

// Half the screen: the dock gradient spans at least this much, so that bars
// side by side read as one band.
int DockGradientWidth(int nWidth) {
  return std::max(nWidth, ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
}

// The bottom (or right) edge of the first row of visible controls.
int FirstRowEnd(CXTPCommandBar *pBar, BOOL bVertical, int nDefault) {
  CXTPControls *pControls = pBar->GetControls();
  for (int i = 0; pControls && i < pControls->GetCount(); i++) {
    CXTPControl *pControl = pControls->GetAt(i);
    if (!pControl->IsVisible()) continue;
    CRect rcRow = pControl->GetRowRect();
    if (rcRow.IsRectEmpty()) rcRow = pControl->GetRect();
    return (bVertical ? rcRow.right : rcRow.bottom) + 1;
  }
  return nDefault;
}

} // namespace

// clang-format off
const BYTE CXTPOffice2003Theme::s_arrExpandGlyph[16][16] = {
    {255, 255, 255, 255, 234, 234, 234, 198, 198, 198, 198, 252, 255, 255, 255, 255},
    {255, 255, 255, 234, 252, 252, 234, 234, 198, 180, 144, 144, 198, 255, 255, 255},
    {255, 255, 234, 252, 252, 252, 234, 234, 198, 180, 144, 126, 108, 180, 255, 255},
    {255, 234, 252, 252, 252, 252, 234, 234, 198, 180, 144, 126, 108, 108, 198, 255},
    {252, 234, 252, 252, 252, 252, 234, 198, 198, 180, 144, 126, 108,  90,  90, 252},
    {234, 234, 234, 234, 234, 234, 234, 198, 180, 180, 144, 126, 108,  90,  72, 180},
    {198, 234, 234, 234, 234, 234, 198, 198, 180, 144, 126, 108,  90,  90,  72, 108},
    {180, 198, 198, 198, 198, 198, 180, 180, 144, 126, 126, 108,  90,  72,  72,  72},
    {180, 180, 180, 180, 180, 180, 144, 144, 126, 126, 108,  90,  90,  72,  54,  54},
    {180, 144, 144, 144, 144, 144, 144, 126, 126, 108, 108,  90,  72,  54,  36,  90},
    {198, 126, 126, 126, 126, 126, 126, 126, 108,  90,  72,  54,  54,  36,  36, 126},
    {252, 126, 108, 108, 108, 108, 108,  72,  72,  54,  54,  36,  36,  18,  18, 234},
    {255, 198,  90,  90,  90,  72,  72,  54,  54,  36,  36,  18,  18,   0, 108, 255},
    {255, 255, 144,  54,  54,  54,  36,  36,  18,  18,  18,   0,   0,  54, 255, 255},
    {255, 255, 255, 126,  36,  36,  18,  18,  18,   0,   0,   0,  72, 255, 255, 255},
    {255, 255, 255, 255, 234,  90,  36,  18,   0,   0,  54, 180, 255, 255, 255, 255},
};
// clang-format on

COLORREF CXTPOffice2003Theme::GlyphColor(BYTE nIntensity, COLORREF clrFirst, COLORREF clrSecond) {
  auto channel = [nIntensity](int a, int b) { return static_cast<BYTE>(a - nIntensity * (a - b) / 255); };
  return RGB(channel(GetRValue(clrFirst), GetRValue(clrSecond)),
             channel(GetGValue(clrFirst), GetGValue(clrSecond)),
             channel(GetBValue(clrFirst), GetBValue(clrSecond)));
}

BOOL CXTPOffice2003Theme::SchemeStateGradient(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                              COLORREF &clrLight, COLORREF &clrDark, int &nFrame) {
  auto set = [&](COLORREF a, COLORREF b, int n) {
    clrLight = a;
    clrDark = b;
    nFrame = n;
    return TRUE;
  };
  if (!bEnabled)
    return nSelected == 2 ? set(XTP_OFFICE2003_HOT_LIGHT, XTP_OFFICE2003_HOT_DARK, XPCOLOR_HIGHLIGHT_BORDER)
                          : FALSE;
  if (bChecked && !nSelected && !nPressed)
    return set(XTP_OFFICE2003_CHECKED_LIGHT, XTP_OFFICE2003_CHECKED_DARK, XPCOLOR_HIGHLIGHT_PUSHED_BORDER);
  if ((bChecked && nSelected && !nPressed) || nPressed == 2 || (nSelected && nPressed))
    return set(XTP_OFFICE2003_PUSHED_LIGHT, XTP_OFFICE2003_PUSHED_DARK, XPCOLOR_HIGHLIGHT_PUSHED_BORDER);
  if (nSelected || nPressed)
    return set(XTP_OFFICE2003_HOT_LIGHT, XTP_OFFICE2003_HOT_DARK, XPCOLOR_HIGHLIGHT_BORDER);
  return FALSE;
}

CXTPOffice2003Theme::CXTPOffice2003Theme() {
  m_nTheme = xtpThemeOffice2003;
  m_iconsInfo.bUseFadedIcons = FALSE;
  m_iconsInfo.bIconsWithShadow = FALSE;
  RefreshMetrics();
}

// ---------------------------------------------------------------------------
// Colours

void CXTPOffice2003Theme::SetDefaultColors() {
  const COLORREF clrWindow = GetPaintColor(COLOR_WINDOW), clrFace = GetPaintColor(COLOR_BTNFACE),
                 clrShadow = GetPaintColor(COLOR_BTNSHADOW);
  m_clrExpandedColumnDark = GetPaintColor(XPCOLOR_MENUBAR_EXPANDED);
  m_clrExpandedColumnLight = Blend(clrWindow, m_clrExpandedColumnDark, 550);
  m_clrDockBarLight = m_clrToolbarLight = Blend(clrFace, clrWindow, 205);
  m_clrDockBarDark = m_clrToolbarDark = clrFace;
  m_clrToolbarShadow = GetPaintColor(XPCOLOR_TOOLBAR_FACE);
  m_clrCaption = clrShadow;
  m_clrOpenLight = GetPaintColor(XPCOLOR_MENUBAR_FACE);
  m_clrOpenDark = Blend(clrWindow, clrFace, 550);
  m_clrExpandDark = clrShadow;
  m_clrExpandLight = Blend(GetPaintColor(XPCOLOR_CHECKED_TEXT), m_clrExpandDark, 51);
  m_clrGlyphFirst = Blend(clrWindow, clrFace, 550);
  m_clrGlyphSecond = GetPaintColor(XPCOLOR_MENUBAR_FACE);
  m_clrPaneFrame = Blend(clrFace, clrWindow, 70);
  // The frame colour is the dark end of the colour manager's first gradient
  // pair, which it keeps beside its table: the button shadow in the classic
  // colours, the scheme's dark frame colour under blue, olive and silver.
  m_arrColor[XPCOLOR_FRAME].SetStandardValue(XTPGetColorManager()->GetGradient(0).clrDark_.GetColor());
  m_bSchemeColors = FALSE;
}

void CXTPOffice2003Theme::ApplyScheme(const XTPOffice2003SchemeColors &scheme) {
  m_clrDockBarDark = scheme.clrDockGradientDark;
  m_clrDockBarLight = scheme.clrDockGradientLight;
  m_clrToolbarDark = scheme.clrToolbarGradientDark;
  m_clrToolbarLight = scheme.clrToolbarGradientLight;
  m_clrOpenLight = scheme.clrOpenLight;
  m_clrOpenDark = scheme.clrOpenDark;
  m_clrToolbarShadow = scheme.clrToolbarShadow;
  m_clrCaption = scheme.clrCaption;
  m_clrExpandDark = scheme.clrExpandDark;
  m_clrExpandLight = scheme.clrExpandLight;
  m_clrExpandedColumnDark = scheme.clrExpandedColumnDark;
  m_clrExpandedColumnLight = scheme.clrExpandedColumnLight;
  m_clrGlyphFirst = scheme.clrGlyphFirst;
  m_clrGlyphSecond = scheme.clrGlyphSecond;
  m_clrPaneFrame = scheme.clrPaneFrame;
  m_nStatusBarValue = scheme.clrShadow;
  for (const XTPIndexedColor &c : scheme.arrColors) m_arrColor[c.nIndex].SetStandardValue(c.clr);
  m_bSchemeColors = TRUE;
}

void CXTPOffice2003Theme::RefreshMetrics() {
  CXTPOfficeTheme::RefreshMetrics();
  m_themeStatusBar.OpenThemeData(XTPThemeOwnerWindow(), L"STATUS");
  SetDefaultColors();
  if (const XTPOffice2003SchemeColors *pScheme = XTPGetOffice2003SchemeColors(GetCurrentSystemTheme()))
    ApplyScheme(*pScheme);
}

CXTPOffice2003ThemeVariant::CXTPOffice2003ThemeVariant() {
  m_nTheme = xtpThemeOffice2003Variant;
  m_nSystemTheme = xtpSystemThemeUnknown;
  RefreshMetrics();
}

void CXTPOffice2003ThemeVariant::RefreshMetrics() {
  CXTPOffice2003Theme::RefreshMetrics();
  // The base took the blends (its selector is fixed at none); the muted
  // toolbar colours follow the system's scheme through the same resolver
  // every theme uses, so "system theme colours disabled" holds here too.
  CXTPColorManager *pColorManager = XTPGetColorManager();
  const int nScheme = pColorManager->IsSystemThemeColorsDisabled() ? xtpSystemThemeUnknown
                                                                   : pColorManager->GetCurrentSystemTheme();
  switch (nScheme) {
  case xtpSystemThemeBlue:
    m_clrToolbarDark = 0xA8C0C0;
    m_clrToolbarShadow = 0x7CA3A3;
    m_clrExpandLight = 0xEAEDEE;
    m_clrExpandDark = 0x7E9898;
    break;
  case xtpSystemThemeOlive:
    m_clrToolbarDark = 0xA8C0C0;
    m_clrToolbarShadow = 0x7CA3A3;
    m_arrColor[XPCOLOR_HIGHLIGHT].SetStandardValue(0x8DC6B6);
    m_arrColor[XPCOLOR_HIGHLIGHT_CHECKED].SetStandardValue(0x8DC6B6);
    m_arrColor[XPCOLOR_HIGHLIGHT_PUSHED].SetStandardValue(0x70A093);
    break;
  case xtpSystemThemeSilver:
    m_clrToolbarDark = 0xB59799;
    m_clrToolbarLight = 0xFAF4F3;
    m_clrToolbarShadow = 0x947C7C;
    m_clrExpandLight = 0xC8B2B3;
    m_clrExpandDark = 0x927476;
    m_arrColor[XPCOLOR_HIGHLIGHT].SetStandardValue(0xC2EEFF);
    for (int n :
         {XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT_CHECKED_BORDER, XPCOLOR_HIGHLIGHT_PUSHED_BORDER})
      m_arrColor[n].SetStandardValue(0x6F4B4B);
    m_arrColor[XPCOLOR_HIGHLIGHT_PUSHED].SetStandardValue(0x3E80FE);
    m_arrColor[XPCOLOR_HIGHLIGHT_CHECKED].SetStandardValue(0x6FC0FF);
    m_arrColor[XPCOLOR_PUSHED_TEXT].SetStandardValue(0x000000);
    break;
  default:
    break;
  }
}

// ---------------------------------------------------------------------------
// Frames

void CXTPOffice2003Theme::DrawControlFrame(CDC *pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled,
                                           BOOL bChecked, BOOL bPopuped, BOOL bToolBar, int nBarPosition) {
  if (bPopuped) {
    GradientFill(pDC, rc, m_clrOpenLight, m_clrOpenDark, FALSE);
    Draw3dRect(pDC, rc, XPCOLOR_MENUBAR_BORDER, XPCOLOR_MENUBAR_BORDER);
    return;
  }
  const BOOL bDocked = nBarPosition >= xtpBarTop && nBarPosition <= xtpBarRight;
  if (!m_bSchemeColors || !bToolBar || !bDocked) {
    CXTPOfficeTheme::DrawControlFrame(pDC, rc, nSelected, nPressed, bEnabled, bChecked, bPopuped, bToolBar,
                                      nBarPosition);
    return;
  }
  COLORREF clrLight = 0, clrDark = 0;
  int nFrame = 0;
  if (!SchemeStateGradient(bEnabled, nSelected, nPressed, bChecked, clrLight, clrDark, nFrame)) return;
  GradientFill(pDC, rc, clrLight, clrDark, IsVerticalPosition(nBarPosition));
  Draw3dRect(pDC, rc, nFrame, nFrame);
}

// ---------------------------------------------------------------------------
// Bars

void CXTPOffice2003Theme::FillPopupIconColumn(CDC *pDC, CRect rc, BOOL bExpanded) {
  if (bExpanded)
    GradientFill(pDC, rc, m_clrExpandedColumnDark, m_clrExpandedColumnLight, TRUE);
  else
    GradientFill(pDC, rc, m_clrToolbarDark, m_clrToolbarLight, TRUE);
}

void CXTPOffice2003Theme::FillDockBar(CDC *pDC, CWnd *pDockBar) {
  CRect rc;
  ::GetClientRect(pDockBar->GetSafeHwnd(), &rc);
  if ((pDockBar->GetStyle() & 0x4100) == 0x4100) {
    pDC->FillSolidRect(rc, m_clrDockBarLight);
    return;
  }
  GradientFill(pDC, CRect(rc.left, rc.top, rc.left + DockGradientWidth(rc.Width()), rc.bottom),
               m_clrDockBarDark, m_clrDockBarLight, TRUE);
}

void CXTPOffice2003Theme::FillParentGradient(CDC *pDC, CXTPCommandBar *pBar, CRect rc) {
  HWND hBar = pBar->GetSafeHwnd();
  HWND hParent = hBar ? ::GetParent(hBar) : nullptr;
  if (!hParent) return;
  if ((::GetWindowLongW(hParent, GWL_STYLE) & 0x4100) == 0x4100) {
    pDC->FillSolidRect(rc, m_clrDockBarLight);
    return;
  }
  CRect rcParent;
  ::GetClientRect(hParent, &rcParent);
  ::MapWindowPoints(hParent, hBar, reinterpret_cast<POINT *>(&rcParent), 2);
  rcParent.right = rcParent.left + DockGradientWidth(rcParent.Width());
  GradientFill(pDC, rcParent, m_clrDockBarDark, m_clrDockBarLight, TRUE);
}

void CXTPOffice2003Theme::FillToolBar(CDC *pDC, CXTPCommandBar *pBar) {
  const CRect rc = pBar->GetBarClientRect();
  const BOOL bVertical = pBar->IsVerticalPosition();
  pDC->FillSolidRect(rc, GetPaintColor(COLOR_BTNFACE));
  FillParentGradient(pDC, pBar, rc);

  CRect rcBody = bVertical ? CRect(rc.left + 1, rc.top + 3, rc.right - 1, rc.bottom)
                           : CRect(rc.left + 3, rc.top + 1, rc.right, rc.bottom - 1);
  const int nSaved = pDC->SaveDC();
  ExcludeCorners(pDC, rcBody);
  CRect rcGradient = rcBody;
  if (bVertical)
    rcGradient.right = std::min<int>(rcBody.right, FirstRowEnd(pBar, TRUE, rcBody.right));
  else
    rcGradient.bottom = std::min<int>(rcBody.bottom, FirstRowEnd(pBar, FALSE, rcBody.bottom));
  pDC->FillSolidRect(rcBody, m_clrToolbarDark);
  GradientFill(pDC, rcGradient, m_clrToolbarLight, m_clrToolbarDark, bVertical);
  pDC->RestoreDC(nSaved);

  CXTPPenDC pen(pDC, m_clrToolbarShadow);
  if (bVertical)
    Line(pDC, rcBody.right - 1, rc.top + 5, rcBody.right - 1, rc.top + 5 + rc.Height() - 7);
  else
    Line(pDC, rc.left + 5, rcBody.bottom - 1, rc.left + 5 + rc.Width() - 7, rcBody.bottom - 1);
}

void CXTPOffice2003Theme::FillCommandBarEntry(CDC *pDC, CXTPCommandBar *pBar) {
  const CRect rc = pBar->GetBarClientRect();
  const int nPosition = pBar->GetPosition();
  if (pBar->GetType() == xtpBarTypeMenuBar) {
    GradientFill(pDC, CRect(rc.left, rc.top, rc.left + DockGradientWidth(rc.Width()), rc.bottom),
                 m_clrDockBarDark, m_clrDockBarLight, TRUE);
    if (nPosition == xtpBarFloating) {
      const COLORREF clrFrame = GetPaintColor(XPCOLOR_MENUBAR_BORDER);
      pDC->Draw3dRect(rc, clrFrame, clrFrame);
      CRect rcInner = rc;
      rcInner.DeflateRect(1, 1);
      pDC->Draw3dRect(rcInner, clrFrame, clrFrame);
      for (CPoint pt : {CPoint(rc.left + 2, rc.top + 2), CPoint(rc.right - 2, rc.top + 2),
                        CPoint(rc.left + 2, rc.bottom - 2), CPoint(rc.right - 2, rc.bottom - 2)})
        pDC->SetPixel(pt.x, pt.y, clrFrame);
    }
    return;
  }
  if (nPosition >= xtpBarTop && nPosition <= xtpBarRight) {
    FillToolBar(pDC, pBar);
    return;
  }
  if (nPosition == xtpBarPopup) {
    Rectangle(pDC, rc, XPCOLOR_MENUBAR_BORDER, XPCOLOR_MENUBAR_FACE);
    if (pBar->GetType() == xtpBarTypePopup)
      FillPopupIconColumn(
          pDC, CRect(CPoint(1, 2), CSize(GetPopupIconCellWidth(pBar->GetIconSize()), rc.Height() - 4)),
          FALSE);
    FillPopupGap(pDC, pBar, XPCOLOR_MENUBAR_FACE);
    return;
  }
  CXTPOfficeTheme::FillCommandBarEntry(pDC, pBar);
}

CRect CXTPOffice2003Theme::GetCommandBarBorders(CXTPCommandBar *pBar) {
  if (pBar && (pBar->GetPosition() == xtpBarTop || pBar->GetPosition() == xtpBarBottom))
    return CRect(4, 2, 2, 2);
  return CXTPOfficeTheme::GetCommandBarBorders(pBar);
}

// ---------------------------------------------------------------------------
// Grippers, separators, tear-off strip

CSize CXTPOffice2003Theme::DrawCommandBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) {
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  const int nPosition = pBar->GetPosition();
  if (nPosition == xtpBarFloating) return CXTPOfficeTheme::DrawCommandBarGripper(pDC, pBar, bDraw);
  const CRect rc = pBar->GetBarClientRect();
  const COLORREF clrHighlight = GetPaintColor(COLOR_BTNHIGHLIGHT),
                 clrDot = GetPaintColor(XPCOLOR_TOOLBAR_GRIPPER);
  if (nPosition == xtpBarLeft || nPosition == xtpBarRight) {
    if (!bDraw) return CSize(0, 9);
    for (int x = 5; x < rc.Width() - 8; x += 4) {
      DrawDot(pDC, x + 1, 7, clrHighlight);
      DrawDot(pDC, x, 6, clrDot);
    }
    return CSize(0, 0);
  }
  if (nPosition == xtpBarTop || nPosition == xtpBarBottom) {
    if (!bDraw) return CSize(6, 0);
    for (int y = 5; y < rc.Height() - 8; y += 4) {
      DrawDot(pDC, 6, y + 1, clrHighlight);
      DrawDot(pDC, 5, y, clrDot);
    }
    return CSize(0, 0);
  }
  return CSize(0, 0);
}

CSize CXTPOffice2003Theme::DrawDialogBarGripper(CDC *pDC, CXTPCommandBar *pBar, BOOL bDraw) {
  const CSize sz(8, std::max(25, m_nTextHeight + 6));
  if (!bDraw) return sz;
  CRect rc = pBar->GetBarClientRect();
  rc.DeflateRect(3, 3);
  rc.bottom = std::min<int>(rc.bottom, rc.top + sz.cy);
  GradientFill(pDC, rc, m_clrToolbarLight, m_clrToolbarDark, FALSE);
  for (int y = rc.top + 4; y < rc.bottom - 5; y += 4) {
    DrawDot(pDC, 6, y + 1, GetPaintColor(COLOR_BTNHIGHLIGHT));
    DrawDot(pDC, 5, y, GetPaintColor(XPCOLOR_TOOLBAR_GRIPPER));
  }
  return sz;
}

CSize CXTPOffice2003Theme::DrawCommandBarSeparator(CDC *pDC, CXTPCommandBar *pBar, CXTPControl *pControl,
                                                   BOOL bDraw) {
  const int nPosition = pBar->GetPosition();
  if (!bDraw || nPosition == xtpBarFloating || nPosition == xtpBarPopup || pBar->GetType() == xtpBarTypePopup)
    return CXTPOfficeTheme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
  const CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
  // Each separator is a shadow line with a highlight one pixel further on;
  // the highlight starts one pixel later and, across a row, ends one later.
  auto pair = [&](int x0, int y0, int x1, int y1, BOOL bEndShifted) {
    const BOOL bVerticalLine = x0 == x1;
    Line(pDC, x0, y0, x1, y1, XPCOLOR_SEPARATOR);
    const int nEndShift = bEndShifted ? 1 : 0;
    if (bVerticalLine)
      Line(pDC, x0 + 1, y0 + 1, x1 + 1, y1 + nEndShift, COLOR_BTNHIGHLIGHT);
    else
      Line(pDC, x0 + 1, y0 + 1, x1 + nEndShift, y1 + 1, COLOR_BTNHIGHLIGHT);
  };
  if (!pBar->IsVerticalPosition()) {
    if (pControl->GetWrap())
      pair(rcRow.left + 4, rcRow.top - 4, rcRow.right, rcRow.top - 4, FALSE);
    else
      pair(rc.left - 4, rcRow.top + 4, rc.left - 4, rcRow.bottom - 4, TRUE);
  } else {
    if (pControl->GetWrap())
      pair(rcRow.right + 2, rcRow.top + 4, rcRow.right + 2, rcRow.bottom, FALSE);
    else
      pair(rcRow.left + 4, rc.top - 4, rcRow.right - 4, rc.top - 4, TRUE);
  }
  return CSize(0, 0);
}

CSize CXTPOffice2003Theme::DrawCaptionBand(CDC *pDC, CRect rc, BOOL bActive, BOOL bDraw) {
  if (!bDraw) return CSize(0, 9);
  pDC->FillSolidRect(rc, GetPaintColor(XPCOLOR_MENUBAR_FACE));
  CRect rcStrip = rc;
  rcStrip.DeflateRect(1, 1);
  if (bActive)
    Rectangle(pDC, rcStrip, XPCOLOR_HIGHLIGHT_BORDER, XPCOLOR_HIGHLIGHT);
  else
    pDC->FillSolidRect(rcStrip, GetPaintColor(XPCOLOR_TOOLBAR_FACE));
  const int k = TearOffGripHalfWidth(rcStrip.Width(), 32);
  const int nCenter = rcStrip.CenterPoint().x;
  for (int x = nCenter - k; x < nCenter + k; x += 4) {
    DrawDot(pDC, x + 1, rc.top + 5, GetPaintColor(COLOR_BTNHIGHLIGHT));
    DrawDot(pDC, x, rc.top + 4, GetPaintColor(XPCOLOR_TOOLBAR_GRIPPER));
  }
  return CSize(0, 9);
}

// ---------------------------------------------------------------------------
// Status bar

void CXTPOffice2003Theme::DrawStatusBarGripper(CDC *pDC, CRect rcClient) {
  if (m_themeStatusBar.GetThemeHandle()) {
    CRect rcGripper(rcClient.right - 18, rcClient.top, rcClient.right, rcClient.bottom);
    if (SUCCEEDED(m_themeStatusBar.DrawThemeBackground(pDC->GetSafeHdc(), 3, 0, &rcGripper, nullptr))) return;
  }
  const int w = rcClient.right, h = rcClient.bottom;
  for (int i = 0; i < 3; i++) {
    for (int j = 0; j < 3; j++) Line(pDC, w - j - 5 * i, h - 1, w, h - 1 - j - 5 * i, COLOR_BTNSHADOW);
    Line(pDC, w - 3 - 5 * i, h - 1, w, h - 4 - 5 * i, COLOR_BTNHIGHLIGHT);
  }
}

void CXTPOffice2003Theme::DrawStatusBarPaneBorder(CDC *pDC, CRect rc, BOOL /*bGripperPane*/) {
  pDC->Draw3dRect(rc, m_clrPaneFrame, m_clrPaneFrame);
}

// ---------------------------------------------------------------------------
// Special controls

void CXTPOffice2003Theme::DrawExpandGlyph(CDC *pDC, CPoint pt) {
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) {
      BYTE t = s_arrExpandGlyph[y][x];
      if (t != 255) pDC->SetPixel(pt.x + x, pt.y + y, GlyphColor(t, m_clrGlyphFirst, m_clrGlyphSecond));
    }
}

void CXTPOffice2003Theme::DrawExpandButton(CDC *pDC, CXTPControl *pControl, CXTPCommandBar *pBar,
                                           BOOL bHidden) {
  const CRect rc = pControl->GetRect();
  const BOOL bVertical = pBar->IsVerticalPosition();
  const BOOL bOpen = IsControlPopuped(pControl);
  const BOOL bHot = pControl->GetSelected() || pControl->GetPressed();

  const int nSaved = pDC->SaveDC();
  if (!bVertical) {
    pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
    pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
    pDC->ExcludeClipRect(rc.left, rc.top + 1, rc.left + 1, rc.bottom - 1);
  } else {
    pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
    pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
    pDC->ExcludeClipRect(rc.left + 1, rc.top, rc.right - 1, rc.top + 1);
  }
  if (bOpen) {
    if (m_bSchemeColors)
      GradientFill(pDC, rc, XTP_OFFICE2003_PUSHED_LIGHT, XTP_OFFICE2003_PUSHED_DARK, bVertical);
    else
      pDC->FillSolidRect(rc, GetPaintColor(XPCOLOR_HIGHLIGHT_CHECKED));
  } else if (bHot) {
    if (m_bSchemeColors)
      GradientFill(pDC, rc, XTP_OFFICE2003_HOT_LIGHT, XTP_OFFICE2003_HOT_DARK, bVertical);
    else
      pDC->FillSolidRect(rc, GetPaintColor(XPCOLOR_HIGHLIGHT));
  } else {
    GradientFill(pDC, rc, m_clrExpandLight, m_clrExpandDark, bVertical);
  }
  pDC->RestoreDC(nSaved);

  auto glyph = [&](int dx, COLORREF clr) {
    CXTPPenDC pen(pDC, clr);
    if (!bVertical) {
      CPoint p(rc.left + rc.Width() / 2 + dx, rc.bottom - 6 + dx);
      Line(pDC, p.x - 2, p.y - 4, p.x + 3, p.y - 4);
      Triangle(pDC, CPoint(p.x - 2, p.y - 1), CPoint(p.x + 2, p.y - 1), CPoint(p.x, p.y + 1), clr);
      if (bHidden) {
        const int l = rc.left + dx, t = rc.top + dx;
        Triangle(pDC, CPoint(l + 3, t + 5), CPoint(l + 4, t + 6), CPoint(l + 3, t + 7), clr);
        Triangle(pDC, CPoint(l + 7, t + 5), CPoint(l + 8, t + 6), CPoint(l + 7, t + 7), clr);
      }
    } else {
      CPoint p(rc.right - 5 + dx, rc.CenterPoint().y + dx);
      Line(pDC, p.x - 5, p.y - 2, p.x - 5, p.y + 3);
      Triangle(pDC, CPoint(p.x, p.y), CPoint(p.x - 2, p.y - 2), CPoint(p.x - 2, p.y + 2), clr);
      if (bHidden) {
        const int l = rc.left + dx, t = rc.top + dx;
        Triangle(pDC, CPoint(l + 7, t + 3), CPoint(l + 6, t + 4), CPoint(l + 5, t + 3), clr);
        Triangle(pDC, CPoint(l + 7, t + 7), CPoint(l + 6, t + 8), CPoint(l + 5, t + 7), clr);
      }
    }
  };
  glyph(1, GetPaintColor(COLOR_BTNHIGHLIGHT));
  glyph(0, GetPaintColor(bHot && !bOpen ? XPCOLOR_HIGHLIGHT_TEXT : XPCOLOR_TOOLBAR_TEXT));
}

void CXTPOffice2003Theme::DrawExpandMenuRow(CDC *pDC, CXTPControl *pControl) {
  const CRect rc = pControl->GetRect();
  DrawControlFrame(pDC, rc, pControl->GetSelected(), FALSE, pControl->GetEnabled(), FALSE, FALSE, FALSE,
                   xtpBarPopup);
  const int cx = rc.CenterPoint().x;
  DrawExpandGlyph(pDC, CPoint(cx - 7, rc.top + 1));
  CXTPPenDC pen(pDC, GetPaintColor(XPCOLOR_MENUBAR_TEXT));
  for (int y : {rc.top + 5, rc.top + 6, rc.top + 9, rc.top + 10}) {
    POINT pts[3] = {{cx - 2, y}, {cx, y + 2}, {cx + 3, y - 1}};
    ::Polyline(pDC->GetSafeHdc(), pts, 3);
  }
}

CSize CXTPOffice2003Theme::DrawSpecialControl(int nType, CDC *pDC, CXTPControl *pControl,
                                              CXTPCommandBar *pBar, BOOL bDraw, LPARAM lParam) {
  if (nType == xtpButtonExpandToolbar && pBar) {
    if (!bDraw) {
      CRect rcBar = pBar->GetBarClientRect();
      CRect rc = pBar->IsVerticalPosition() ? CRect(1, rcBar.Height() - 12, rcBar.Width() - 1, rcBar.Height())
                                            : CRect(rcBar.Width() - 12, 1, rcBar.Width(), rcBar.Height() - 1);
      pControl->SetRect(rc);
      return rc.Size();
    }
    DrawExpandButton(pDC, pControl, pBar, lParam != 0);
    return pControl->GetRect().Size();
  }
  if (nType == xtpButtonExpandMenu) {
    if (!bDraw) return CSize(0, 18);
    DrawExpandMenuRow(pDC, pControl);
    return pControl->GetRect().Size();
  }
  return CXTPOfficeTheme::DrawSpecialControl(nType, pDC, pControl, pBar, bDraw, lParam);
}

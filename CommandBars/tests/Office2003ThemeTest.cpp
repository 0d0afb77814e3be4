// Office 2003 theme and its variant: every colour scheme forced through the
// colour manager (Wine shows none of them), the blends without one, the
// gradients of docked toolbars probed by pixel, and the expand glyph.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../../Common/tests/FakeVisualStyles.h"
#include "../../Common/tests/MemoryCanvas.h"
#include "../../Common/tests/SchemeScope.h"
#include "CommandBarsTestSupport.h"
#include "XTPControlButton.h"
#include "XTPControls.h"
#include "XTPOffice2003Theme.h"

using namespace cbtest;

namespace {

// Gradients are drawn by the system or in bands; a channel may be off by a
// few steps from the exact end colour.
bool Near(COLORREF a, COLORREF b, int nTolerance = 6) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

// Owns a theme made under the scheme that is in force when it is built.
template <class Theme> struct Made {
  Made() : p(new Theme) {}
  ~Made() { p->InternalRelease(); }
  Theme *operator->() { return p; }
  Theme *p;
};

COLORREF Standard(CXTPPaintManager *pTheme, int nIndex) {
  return pTheme->GetColorPair(nIndex).GetStandardColor();
}

TEST(Office2003Theme, EverySchemeFillsItsFieldsAndColours) {
  for (int nScheme : {xtpSystemThemeBlue, xtpSystemThemeOlive, xtpSystemThemeSilver}) {
    SchemeScope scope(nScheme);
    Made<CXTPOffice2003Theme> theme;
    const XTPOffice2003SchemeColors *pScheme = XTPGetOffice2003SchemeColors(nScheme);
    ASSERT_NE(pScheme, nullptr);
    SCOPED_TRACE(nScheme);
    EXPECT_TRUE(theme->m_bSchemeColors);
    EXPECT_EQ(theme->m_clrDockBarDark, pScheme->clrDockGradientDark);
    EXPECT_EQ(theme->m_clrToolbarLight, pScheme->clrToolbarGradientLight);
    EXPECT_EQ(theme->m_clrCaption, pScheme->clrCaption);
    EXPECT_EQ(theme->m_clrPaneFrame, pScheme->clrPaneFrame);
    EXPECT_EQ(theme->GetShadowColor(), pScheme->clrShadow);
    for (const XTPIndexedColor &c : pScheme->arrColors)
      EXPECT_EQ(Standard(theme.p, c.nIndex), c.clr) << c.nIndex;
  }
  // Spot checks against the published values, one per scheme.
  EXPECT_EQ(XTPGetOffice2003SchemeColors(1)->clrToolbarShadow, 0x9C613BU);
  EXPECT_EQ(XTPGetOffice2003SchemeColors(2)->clrExpandDark, 0x6B7760U);
  EXPECT_EQ(XTPGetOffice2003SchemeColors(3)->clrPaneFrame, 0xDAEAECU);
  EXPECT_EQ(XTPGetOffice2003SchemeColors(0), nullptr);
  EXPECT_EQ(XTPGetOffice2003SchemeColors(4), nullptr);
}

TEST(Office2003Theme, WithoutASchemeTheColoursAreBlendsOfTheSystemOnes) {
  SchemeScope scope(xtpSystemThemeUnknown);
  Made<CXTPOffice2003Theme> theme;
  const COLORREF clrFace = theme->GetColor(COLOR_BTNFACE), clrWindow = theme->GetColor(COLOR_WINDOW);
  EXPECT_FALSE(theme->m_bSchemeColors);
  EXPECT_EQ(theme->m_clrDockBarDark, clrFace);
  EXPECT_EQ(theme->m_clrDockBarLight, CXTPColorManager::BlendColors(clrFace, clrWindow, 205));
  EXPECT_EQ(theme->m_clrToolbarShadow, theme->GetColor(XPCOLOR_TOOLBAR_FACE));
  EXPECT_EQ(theme->m_clrCaption, theme->GetColor(COLOR_BTNSHADOW));
  EXPECT_EQ(theme->m_clrExpandedColumnDark, theme->GetColor(XPCOLOR_MENUBAR_EXPANDED));
  EXPECT_EQ(theme->GetShadowColor(), 0U);
  EXPECT_EQ(theme->GetCurrentTheme(), xtpThemeOffice2003);
  EXPECT_FALSE(theme->GetIconsInfo()->bUseFadedIcons);
  EXPECT_FALSE(theme->GetIconsInfo()->bIconsWithShadow);
}

TEST(Office2003Theme, DisabledSystemThemeColoursKeepTheBlends) {
  SchemeScope scope(xtpSystemThemeBlue);
  XTPGetColorManager()->DisableSystemThemeColors(TRUE);
  Made<CXTPOffice2003Theme> theme;
  Made<CXTPOffice2003ThemeVariant> variant;
  XTPGetColorManager()->DisableSystemThemeColors(FALSE);
  EXPECT_FALSE(theme->m_bSchemeColors);
  EXPECT_EQ(theme->m_clrToolbarDark, theme->GetColor(COLOR_BTNFACE));
  // The variant honours the same switch: its muted toolbar stays unmuted.
  EXPECT_EQ(variant->m_clrToolbarDark, variant->GetColor(COLOR_BTNFACE));
  EXPECT_EQ(variant->m_clrToolbarShadow, variant->GetColor(XPCOLOR_TOOLBAR_FACE));
}

// The frame colour (55) is the dark end of the colour manager's first
// gradient pair under every scheme, in both the theme and its variant.
TEST(Office2003Theme, TheFrameColourIsTheDarkEndOfTheColourManagersFirstPair) {
  const struct {
    int nScheme;
    COLORREF clrFrame; // CLR_INVALID: the system's button shadow
  } kCases[] = {{xtpSystemThemeUnknown, CLR_INVALID},
                {xtpSystemThemeBlue, 0x962D00},
                {xtpSystemThemeOlive, 0x447A63},
                {xtpSystemThemeSilver, 0x916F70}};
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.nScheme);
    SchemeScope scope(c.nScheme);
    Made<CXTPOffice2003Theme> theme;
    Made<CXTPOffice2003ThemeVariant> variant;
    const COLORREF clrFrame = c.clrFrame == CLR_INVALID ? theme->GetColor(COLOR_BTNSHADOW) : c.clrFrame;
    ASSERT_NE(clrFrame, theme->GetColor(COLOR_BTNFACE)) << "the colour manager's own 55";
    EXPECT_EQ(Standard(theme.p, XPCOLOR_FRAME), clrFrame);
    EXPECT_EQ(theme->GetColor(XPCOLOR_FRAME), clrFrame);
    EXPECT_EQ(Standard(variant.p, XPCOLOR_FRAME), clrFrame);
  }
}

TEST(Office2003ThemeVariant, MutedToolbarColoursByScheme) {
  const struct {
    int nScheme;
    COLORREF clrToolbarDark, clrToolbarShadow;
    COLORREF clrHot; // colour 31
  } kCases[] = {
      {xtpSystemThemeBlue, 0xA8C0C0, 0x7CA3A3, 0},
      {xtpSystemThemeOlive, 0xA8C0C0, 0x7CA3A3, 0x8DC6B6},
      {xtpSystemThemeSilver, 0xB59799, 0x947C7C, 0xC2EEFF},
  };
  for (const auto &c : kCases) {
    SchemeScope scope(c.nScheme);
    Made<CXTPOffice2003ThemeVariant> variant;
    SCOPED_TRACE(c.nScheme);
    EXPECT_EQ(variant->GetCurrentTheme(), xtpThemeOffice2003Variant);
    EXPECT_FALSE(variant->m_bSchemeColors);
    EXPECT_EQ(variant->m_clrToolbarDark, c.clrToolbarDark);
    EXPECT_EQ(variant->m_clrToolbarShadow, c.clrToolbarShadow);
    if (c.clrHot) {
      EXPECT_EQ(Standard(variant.p, XPCOLOR_HIGHLIGHT), c.clrHot);
    }
  }
}

TEST(Office2003Theme, GlyphTableIsStoredByRowAndColumn) {
  // An asymmetric pair: read column by column the two would swap.
  EXPECT_EQ(CXTPOffice2003Theme::s_arrExpandGlyph[4][15], 252);
  EXPECT_EQ(CXTPOffice2003Theme::s_arrExpandGlyph[15][4], 234);
  EXPECT_EQ(CXTPOffice2003Theme::s_arrExpandGlyph[12][13], 0);
  EXPECT_EQ(CXTPOffice2003Theme::GlyphColor(0, 0xFF8040, 0x000000), 0xFF8040U);
  EXPECT_EQ(CXTPOffice2003Theme::GlyphColor(255, 0xFF8040, 0x102030), 0x102030U);
  EXPECT_EQ(CXTPOffice2003Theme::GlyphColor(51, 0xFFFFFF, 0x000000), RGB(204, 204, 204));
}

TEST(Office2003Theme, SchemeGradientsOfEveryState) {
  const struct {
    BOOL bEnabled;
    int nSelected, nPressed;
    BOOL bChecked, bDraws;
    COLORREF clrLight;
    int nFrame;
  } kCases[] = {
      {TRUE, 0, 0, FALSE, FALSE, 0, 0},
      {TRUE, 1, 0, FALSE, TRUE, XTP_OFFICE2003_HOT_LIGHT, 32},
      {TRUE, 1, 1, FALSE, TRUE, XTP_OFFICE2003_PUSHED_LIGHT, 50},
      {TRUE, 0, 2, FALSE, TRUE, XTP_OFFICE2003_PUSHED_LIGHT, 50},
      {TRUE, 0, 0, TRUE, TRUE, XTP_OFFICE2003_CHECKED_LIGHT, 50},
      {TRUE, 1, 0, TRUE, TRUE, XTP_OFFICE2003_PUSHED_LIGHT, 50},
      {FALSE, 1, 0, FALSE, FALSE, 0, 0},
      {FALSE, 2, 0, FALSE, TRUE, XTP_OFFICE2003_HOT_LIGHT, 32},
  };
  for (const auto &c : kCases) {
    COLORREF clrLight = 0, clrDark = 0;
    int nFrame = 0;
    BOOL bDraws = CXTPOffice2003Theme::SchemeStateGradient(c.bEnabled, c.nSelected, c.nPressed, c.bChecked,
                                                           clrLight, clrDark, nFrame);
    SCOPED_TRACE(::testing::Message() << c.bEnabled << c.nSelected << c.nPressed << c.bChecked);
    EXPECT_EQ(bDraws, c.bDraws);
    if (!c.bDraws) continue;
    EXPECT_EQ(clrLight, c.clrLight);
    EXPECT_EQ(nFrame, c.nFrame);
  }
}

TEST(Office2003Theme, HotToolbarButtonIsAWarmGradientUnderASchemeAndFlatWithout) {
  for (int nScheme : {xtpSystemThemeBlue, xtpSystemThemeUnknown}) {
    SchemeScope scope(nScheme);
    Made<CXTPOffice2003Theme> theme;
    MemoryCanvas canvas(40, 40, kCanvas);
    const CRect rc(5, 5, 30, 35);
    theme->DrawRectangle(&canvas.dc, rc, TRUE, TRUE, FALSE, FALSE, FALSE, xtpBarTop);
    EXPECT_EQ(canvas.Pixel(rc.left, rc.top), theme->GetColor(XPCOLOR_HIGHLIGHT_BORDER)) << nScheme;
    if (nScheme == xtpSystemThemeBlue) {
      EXPECT_TRUE(Near(canvas.Pixel(15, 6), XTP_OFFICE2003_HOT_LIGHT)) << std::hex << canvas.Pixel(15, 6);
      EXPECT_TRUE(Near(canvas.Pixel(15, 33), XTP_OFFICE2003_HOT_DARK)) << std::hex << canvas.Pixel(15, 33);
    } else {
      EXPECT_EQ(canvas.Pixel(15, 6), theme->GetColor(XPCOLOR_HIGHLIGHT));
      EXPECT_EQ(canvas.Pixel(15, 33), theme->GetColor(XPCOLOR_HIGHLIGHT));
    }
    // In a popup the flat Office rule holds under any scheme.
    theme->DrawRectangle(&canvas.dc, rc, TRUE, TRUE, FALSE, FALSE, FALSE, xtpBarFloating);
    EXPECT_EQ(canvas.Pixel(15, 6), theme->GetColor(XPCOLOR_HIGHLIGHT));
  }
}

TEST(Office2003Theme, OpenPopupControlIsTheOpenGradientWithTheMenuFrame) {
  SchemeScope scope(xtpSystemThemeSilver);
  Made<CXTPOffice2003Theme> theme;
  MemoryCanvas canvas(40, 40, kCanvas);
  theme->DrawRectangle(&canvas.dc, CRect(5, 5, 30, 35), TRUE, FALSE, FALSE, FALSE, TRUE, xtpBarTop);
  EXPECT_EQ(canvas.Pixel(5, 5), theme->GetColor(XPCOLOR_MENUBAR_BORDER));
  EXPECT_TRUE(Near(canvas.Pixel(15, 6), 0xF1E7E9)) << std::hex << canvas.Pixel(15, 6);
  EXPECT_TRUE(Near(canvas.Pixel(15, 33), 0xCDB9BA)) << std::hex << canvas.Pixel(15, 33);
}

TEST(Office2003Theme, DockedToolbarBodyShadowAndKeptOutEdge) {
  SchemeScope scope(xtpSystemThemeBlue);
  Made<CXTPOffice2003Theme> theme;
  TestBar bar(xtpBarTypeNormal, xtpBarTop, CSize(120, 26));
  MemoryCanvas canvas(120, 26, kCanvas);
  theme->FillCommandBarEntry(&canvas.dc, &bar);
  const COLORREF clrFace = theme->GetColor(COLOR_BTNFACE);
  EXPECT_EQ(canvas.Pixel(1, 12), clrFace);                         // the kept-out left edge
  EXPECT_EQ(canvas.Pixel(3, 1), clrFace);                          // a rounded corner
  EXPECT_TRUE(Near(canvas.Pixel(60, 1), 0xFEECDD));                // light at the top
  EXPECT_TRUE(Near(canvas.Pixel(60, 23), 0xE2A981, 12));           // dark at the bottom
  EXPECT_EQ(canvas.Pixel(60, 24), 0x9C613BU);                      // the shadow line
  EXPECT_EQ(canvas.Pixel(3, 24), clrFace);                         // a rounded corner below
  EXPECT_EQ(theme->GetCommandBarBorders(&bar), CRect(4, 2, 2, 2)); // room for the kept-out edge
}

TEST(Office2003Theme, AFloatingMenuBarHasTwoFramesAndItsCornerPoints) {
  SchemeScope scope(xtpSystemThemeBlue);
  Made<CXTPOffice2003Theme> theme;
  TestBar bar(xtpBarTypeMenuBar, xtpBarFloating, CSize(60, 30));
  MemoryCanvas canvas(60, 30, kCanvas);
  theme->FillCommandBarEntry(&canvas.dc, &bar);
  const COLORREF clrFrame = theme->GetColor(XPCOLOR_MENUBAR_BORDER);
  // The points two in from each corner, right and bottom being the
  // rectangle's exclusive edges.
  for (CPoint pt : {CPoint(0, 0), CPoint(1, 1), CPoint(2, 2), CPoint(58, 2), CPoint(2, 28), CPoint(58, 28)})
    EXPECT_EQ(canvas.Pixel(pt.x, pt.y), clrFrame) << pt.x << "," << pt.y;
  for (CPoint pt : {CPoint(3, 2), CPoint(57, 2), CPoint(2, 27), CPoint(57, 27)})
    EXPECT_NE(canvas.Pixel(pt.x, pt.y), clrFrame) << pt.x << "," << pt.y;
}

TEST(Office2003Theme, PopupIconColumnAndExpandedColumnAreGradients) {
  SchemeScope scope(xtpSystemThemeOlive);
  Made<CXTPOffice2003Theme> theme;
  MemoryCanvas canvas(40, 20, kCanvas);
  theme->FillPopupIconColumn(&canvas.dc, CRect(0, 0, 40, 10), FALSE);
  theme->FillPopupIconColumn(&canvas.dc, CRect(0, 10, 40, 20), TRUE);
  EXPECT_TRUE(Near(canvas.Pixel(0, 5), 0x91C6B7));
  EXPECT_TRUE(Near(canvas.Pixel(39, 5), 0xDEF7F4));
  EXPECT_TRUE(Near(canvas.Pixel(0, 15), 0x78B4A4));
  EXPECT_TRUE(Near(canvas.Pixel(39, 15), 0xD1E6E6));
}

TEST(Office2003Theme, GrippersAreEmbossedDots) {
  SchemeScope scope(xtpSystemThemeBlue);
  Made<CXTPOffice2003Theme> theme;
  TestBar top(xtpBarTypeNormal, xtpBarTop, CSize(80, 26));
  MemoryCanvas canvas(80, 26, kCanvas);
  EXPECT_EQ(theme->DrawCommandBarGripper(&canvas.dc, &top, FALSE), CSize(6, 0));
  theme->DrawCommandBarGripper(&canvas.dc, &top, TRUE);
  EXPECT_EQ(canvas.Pixel(5, 5), 0x764127U);
  EXPECT_EQ(canvas.Pixel(6, 5), 0x764127U);
  EXPECT_EQ(canvas.Pixel(7, 7), theme->GetColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.Pixel(5, 8), kCanvas);
  EXPECT_EQ(canvas.Pixel(5, 9), 0x764127U);
  TestBar left(xtpBarTypeNormal, xtpBarLeft, CSize(26, 80));
  EXPECT_EQ(theme->DrawCommandBarGripper(&canvas.dc, &left, FALSE), CSize(0, 9));
}

TEST(Office2003Theme, ExpandButtonAndMenuExpandRow) {
  SchemeScope scope(xtpSystemThemeBlue);
  Made<CXTPOffice2003Theme> theme;
  TestBar bar(xtpBarTypeNormal, xtpBarTop, CSize(100, 26));
  CXTPControl *pExpand = bar.GetControls()->Add(new CXTPControlButton, 1);
  MemoryCanvas canvas(100, 26, kCanvas);
  EXPECT_EQ(theme->DrawSpecialControl(xtpButtonExpandToolbar, &canvas.dc, pExpand, &bar, FALSE, 0),
            CSize(12, 24));
  EXPECT_EQ(pExpand->GetRect(), CRect(88, 1, 100, 25));
  theme->DrawSpecialControl(xtpButtonExpandToolbar, &canvas.dc, pExpand, &bar, TRUE, TRUE);
  EXPECT_EQ(canvas.Pixel(99, 1), kCanvas);              // a rounded corner
  EXPECT_EQ(canvas.Pixel(88, 10), kCanvas);             // the left column is kept out
  EXPECT_TRUE(Near(canvas.Pixel(94, 2), 0xF1A675, 12)); // expand light at the top
  EXPECT_EQ(canvas.Pixel(92, 15), theme->GetColor(46)); // the glyph's bar, P.x - 2 at P.y - 4
  EXPECT_EQ(canvas.Pixel(91, 6), theme->GetColor(46));  // a hidden-controls chevron

  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(100, 40));
  CXTPControl *pRow = popup.GetControls()->Add(new CXTPControlButton, 2);
  EXPECT_EQ(theme->DrawSpecialControl(xtpButtonExpandMenu, &canvas.dc, pRow, &popup, FALSE, 0).cy, 18);
  pRow->SetRect(CRect(2, 2, 98, 20));
  MemoryCanvas menu(100, 40, kCanvas);
  theme->DrawSpecialControl(xtpButtonExpandMenu, &menu.dc, pRow, &popup, TRUE, 0);
  const int cx = CRect(2, 2, 98, 20).CenterPoint().x;
  // Glyph pixel (x 13, y 12) has intensity 0: the glyph's first colour.
  EXPECT_EQ(menu.Pixel(cx - 7 + 13, 3 + 12), theme->m_clrGlyphFirst);
  EXPECT_EQ(menu.Pixel(cx - 7, 3), kCanvas); // transparent corner
}

TEST(Office2003Theme, StatusGripperThroughTheVisualStyleOrClassicLines) {
  {
    FakeVisualStyles styles;
    Made<CXTPOffice2003Theme> theme;
    MemoryCanvas canvas(60, 20, kCanvas);
    styles.calls.clear();
    theme->DrawStatusBarGripper(&canvas.dc, CRect(0, 0, 60, 20));
    ASSERT_EQ(styles.calls.size(), 1U);
    EXPECT_EQ(styles.calls[0].klass, L"STATUS");
    EXPECT_EQ(styles.calls[0].part, 3);
  }
  FakeVisualStyles styles;
  styles.themed = FALSE;
  Made<CXTPOffice2003Theme> theme;
  MemoryCanvas canvas(60, 20, kCanvas);
  theme->DrawStatusBarGripper(&canvas.dc, CRect(0, 0, 60, 20));
  EXPECT_EQ(canvas.Pixel(59, 19), theme->GetColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(57, 19), theme->GetColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.Pixel(40, 10), kCanvas);
}

TEST(Office2003Theme, PaneFrameIsOneColour) {
  SchemeScope scope(xtpSystemThemeSilver);
  Made<CXTPOffice2003Theme> theme;
  MemoryCanvas canvas(40, 20, kCanvas);
  theme->DrawStatusBarPaneBorder(&canvas.dc, CRect(2, 2, 30, 18), TRUE);
  EXPECT_EQ(canvas.Pixel(2, 2), 0xDAEAECU);
  EXPECT_EQ(canvas.Pixel(29, 17), 0xDAEAECU);
}

TEST(Office2003Theme, DockBarsGetTheDockGradientAndTheRightOneItsLightEnd) {
  SchemeScope scope(xtpSystemThemeBlue);
  Made<CXTPOffice2003Theme> theme;
  const struct {
    DWORD dwStyle;
    BOOL bGradient;
  } kCases[] = {{0x2800, TRUE}, {0x8200, TRUE}, {0x1400, TRUE}, {0x4100, FALSE}};
  for (const auto &c : kCases) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"STATIC", L"", WS_POPUP | c.dwStyle, CRect(0, 0, 60, 20), nullptr, 0));
    MemoryCanvas canvas(60, 20, kCanvas);
    theme->FillDockBar(&canvas.dc, &wnd);
    if (c.bGradient) {
      EXPECT_TRUE(Near(canvas.Pixel(0, 10), 0xF5BE9E)) << std::hex << c.dwStyle;
      // The gradient spans half the screen, so a narrow bar shows only its start.
      EXPECT_FALSE(Near(canvas.Pixel(59, 10), 0xFADAC4, 2)) << std::hex << c.dwStyle;
    } else {
      EXPECT_EQ(canvas.Pixel(0, 10), 0xFADAC4U);
      EXPECT_EQ(canvas.Pixel(59, 10), 0xFADAC4U);
    }
    wnd.DestroyWindow();
  }
}

TEST(Office2003Theme, DockedSeparatorsAreShadowAndHighlightPairs) {
  SchemeScope scope(xtpSystemThemeBlue);
  Made<CXTPOffice2003Theme> theme;
  TestBar bar(xtpBarTypeNormal, xtpBarTop, CSize(120, 26));
  CXTPControl *pControl = bar.GetControls()->Add(new CXTPControlButton, 1);
  pControl->SetRect(CRect(40, 2, 63, 24));
  pControl->SetRowRect(CRect(4, 2, 116, 24));
  MemoryCanvas canvas(120, 26, kCanvas);
  theme->DrawCommandBarSeparator(&canvas.dc, &bar, pControl, TRUE);
  const COLORREF clrHighlight = theme->GetColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(canvas.Pixel(36, 6), 0xCB8C6AU); // colour 39 of the blue scheme
  EXPECT_EQ(canvas.Pixel(36, 5), kCanvas);   // from the row's top + 4
  EXPECT_EQ(canvas.Pixel(37, 7), clrHighlight);
  EXPECT_EQ(canvas.Pixel(37, 6), kCanvas); // the highlight starts a pixel lower
  EXPECT_EQ(canvas.Pixel(36, 19), 0xCB8C6AU);
  EXPECT_EQ(canvas.Pixel(36, 20), kCanvas); // to the row's bottom - 4
  EXPECT_EQ(canvas.Pixel(37, 20), clrHighlight);
}

} // namespace

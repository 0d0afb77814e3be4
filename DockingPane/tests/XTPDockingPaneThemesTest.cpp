// The docking themes 3, 6, 7, 9 and 10 and the tab colour set of themes 7
// and 10: their settings, colours by colour scheme, captions and floating
// frames drawn on a memory DC and probed. The frame that holds the panes is
// never shown; the one floating frame is shown without being activated.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "FrameWnd.h"
#include "XTPColorManager.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPDockingPaneThemes.h"
#include "XTPDrawHelpers.h"
#include "XTPTabPaintManager.h"

namespace {

// A 32-bit memory bitmap to draw on and read back.
class Canvas {
public:
  Canvas(int cx, int cy) {
    m_dc.CreateCompatibleDC(nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_hOld = ::SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
  }
  ~Canvas() {
    ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
    ::DeleteObject(m_hBitmap);
  }
  CDC *DC() { return &m_dc; }
  COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

private:
  CDC m_dc;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOld = nullptr;
};

// Classic colours for the probes: no colour scheme, whatever the system's.
class ClassicColours {
public:
  ClassicColours() { XTPGetColorManager()->DisableSystemThemeColors(TRUE); }
  ~ClassicColours() { XTPGetColorManager()->DisableSystemThemeColors(FALSE); }
};

// The colour manager reports the given colour scheme while it lives.
class SchemeScope {
public:
  explicit SchemeScope(int nScheme) {
    XTPGetColorManager()->SetSystemTheme(nScheme);
    XTPGetColorManager()->RefreshColors();
  }
  ~SchemeScope() {
    XTPGetColorManager()->SetSystemTheme(xtpSystemThemeAuto);
    XTPGetColorManager()->RefreshColors();
  }
};

int SpaceHeight(CFont *pFont) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CXTPFontDC font(&dc, pFont);
  return dc.GetTextExtent(L" ", 1).cy;
}

TEST(DockingThemes, Theme3KeepsTheCaptionHeightItWasMeasuredWithUntilTheNextRefresh) {
  CXTPDockingPaneTheme3 theme;
  const int nText = std::max(SpaceHeight(theme.GetCaptionFont()), 13);
  EXPECT_EQ(2, theme.m_nCaptionPadding);
  EXPECT_EQ(nText + 5, theme.GetCaptionHeight()) << "the padding of 5 measured at construction";
  theme.RefreshMetrics();
  EXPECT_EQ(nText + 2, theme.GetCaptionHeight()) << "a settings change measures with its own padding";
}

TEST(DockingThemes, EachIdMakesItsThemeWithItsSettings) {
  const struct {
    int nTheme;
    std::function<bool(CXTPDockingPanePaintManager *)> isClass;
    int nPadding, nMarginTop, nMarginBottom;
    BOOL bKeepWeight;
    int nTabAppearance, nPanelAppearance; // -1: follows the visual style (theme 9)
    XTPTabPosition tabPosition;
    int nTabClientFrame;
    BOOL bTabHot;
    BOOL bDockingColorSet;
  } kCases[] = {
      {3, [](auto *p) { return dynamic_cast<CXTPDockingPaneTheme3 *>(p) != nullptr; }, 2, 2, 1, FALSE, 8, 6,
       xtpTabPositionTop, 1, FALSE, FALSE},
      {6, [](auto *p) { return dynamic_cast<CXTPDockingPaneTheme6 *>(p) != nullptr; }, 7, 2, 1, FALSE, 0, 0,
       xtpTabPositionBottom, 1, TRUE, FALSE},
      {7,
       [](auto *p) {
         return dynamic_cast<CXTPDockingPaneTheme7 *>(p) != nullptr &&
                dynamic_cast<CXTPDockingPaneTheme10 *>(p) == nullptr;
       },
       5, 0, 0, FALSE, 2, 2, xtpTabPositionBottom, 2, FALSE, TRUE},
      {9, [](auto *p) { return dynamic_cast<CXTPDockingPaneTheme9 *>(p) != nullptr; }, 9, 0, 0, FALSE, -1, -1,
       xtpTabPositionBottom, 1, -1, FALSE},
      {10, [](auto *p) { return dynamic_cast<CXTPDockingPaneTheme10 *>(p) != nullptr; }, 5, 0, 0, FALSE, 9, 9,
       xtpTabPositionBottom, 2, FALSE, TRUE},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE("theme " + std::to_string(c.nTheme));
    CXTPDockingPanePaintManager *pTheme = CXTPDockingPanePaintManager::CreateTheme(c.nTheme);
    EXPECT_TRUE(c.isClass(pTheme));
    EXPECT_EQ(c.nTheme, pTheme->GetTheme());
    EXPECT_EQ(c.nPadding, pTheme->m_nCaptionPadding);
    EXPECT_EQ(c.nMarginTop, pTheme->m_rcCaptionMargin.top);
    EXPECT_EQ(c.nMarginBottom, pTheme->m_rcCaptionMargin.bottom);
    EXPECT_EQ(c.bKeepWeight, pTheme->m_bKeepCaptionWeight);
    CXTPTabPaintManager *pTabs = pTheme->GetTabPaintManager();
    CXTPTabPaintManager *pPanel = pTheme->GetPanelPaintManager();
    if (c.nTabAppearance >= 0) {
      EXPECT_EQ(c.nTabAppearance, pTabs->GetAppearance());
      EXPECT_EQ(c.nPanelAppearance, pPanel->GetAppearance());
      EXPECT_EQ(c.bTabHot, pTabs->m_bHotTracking);
    }
    EXPECT_EQ(c.tabPosition, pTabs->GetPosition());
    EXPECT_EQ(c.nTabClientFrame, pTabs->m_clientFrame);
    EXPECT_EQ(c.bDockingColorSet,
              dynamic_cast<CXTPDockingPaneTabColorSet *>(pTabs->GetColorSet()) != nullptr);
    EXPECT_EQ(c.bDockingColorSet,
              dynamic_cast<CXTPDockingPaneTabColorSet *>(pPanel->GetColorSet()) != nullptr);
    pTheme->InternalRelease();
  }
}

TEST(DockingThemes, Theme9TakesOtherTabsWithoutVisualStyles) {
  CXTPDockingPaneTheme9 theme;
  CXTPTabPaintManager *pTabs = theme.GetTabPaintManager();
  CXTPTabPaintManager *pPanel = theme.GetPanelPaintManager();
  if (theme.m_themeRebar.IsAppThemed()) {
    EXPECT_EQ(xtpTabAppearancePropertyPage, pTabs->GetAppearance());
    EXPECT_EQ(xtpTabColorWinXP, pTabs->GetColor());
    EXPECT_EQ(xtpTabColorWinXP, pPanel->GetColor());
    EXPECT_TRUE(pTabs->m_bHotTracking);
  } else {
    EXPECT_EQ(xtpTabAppearanceVisio, pTabs->GetAppearance());
    EXPECT_EQ(xtpTabAppearanceExcel, pPanel->GetAppearance());
    EXPECT_FALSE(pTabs->m_bHotTracking);
    EXPECT_FALSE(pPanel->m_bHotTracking);
  }
}

TEST(DockingThemes, Themes7And10FollowTheColourScheme) {
  struct Expected {
    COLORREF inactive1, inactive2, active1, active2, inactiveText; // 0xFFFFFFFF: the classic colour
  };
  const COLORREF kClassic = 0xFFFFFFFF;
  const struct {
    int nScheme;
    Expected theme7, theme10;
    COLORREF border10;
  } kCases[] = {
      {0,
       {kClassic, kClassic, kClassic, kClassic, kClassic},
       {kClassic, kClassic, kClassic, kClassic, kClassic},
       kClassic},
      {1, {0xC6D7D8, 0xE5EFEE, kClassic, kClassic, 0}, {0xBAC7CC, 0xBAC7CC, 0xED803B, 0xC56A31, 0}, kClassic},
      {2, {0xC6D7D8, 0xE5EFEE, kClassic, kClassic, 0}, {0xBAC7CC, 0xBAC7CC, 0x92C3B6, 0x75A091, 0}, kClassic},
      {3, {0xEBE0E0, 0xF6F2F2, 0xBA9EA0, 0xEBE1E0, 0}, {0xF5F0F0, 0xF5F0F0, 0xDDD4D3, 0xBFA5A6, 0}, 0x9C9B91},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE("scheme " + std::to_string(c.nScheme));
    // The scheme reaches the themes only through the colour manager, as a
    // themed desktop gives it.
    SchemeScope scheme(c.nScheme);
    CXTPDockingPaneTheme7 theme7;
    CXTPDockingPaneTheme10 theme10;
    // Theme 7 without a scheme keeps theme 1's gradients; theme 10 the system caption colours.
    const COLORREF clrSystemInactive2 = ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION);
    const Expected classic7 = {
        theme7.GetColor(COLOR_INACTIVECAPTION), clrSystemInactive2, theme7.GetColor(COLOR_ACTIVECAPTION),
        theme7.GetColor(COLOR_GRADIENTACTIVECAPTION), theme7.GetColor(COLOR_INACTIVECAPTIONTEXT)};
    const Expected classic10 = {theme10.GetColor(COLOR_INACTIVECAPTION),
                                theme10.GetColor(COLOR_INACTIVECAPTION),
                                theme10.GetColor(COLOR_ACTIVECAPTION), theme10.GetColor(COLOR_ACTIVECAPTION),
                                theme10.GetColor(COLOR_INACTIVECAPTIONTEXT)};
    auto check = [](const char *pszName, CXTPDockingPaneTheme1 &theme, const Expected &e,
                    const Expected &classic) {
      SCOPED_TRACE(pszName);
      auto pick = [](COLORREF clr, COLORREF clrClassic) { return clr == 0xFFFFFFFF ? clrClassic : clr; };
      EXPECT_EQ(pick(e.inactive1, classic.inactive1), theme.m_clrNormalCaption.clrLight_.GetColor());
      EXPECT_EQ(pick(e.inactive2, classic.inactive2), theme.m_clrNormalCaption.clrDark_.GetColor());
      EXPECT_EQ(pick(e.active1, classic.active1), theme.m_clrActiveCaption.clrLight_.GetColor());
      EXPECT_EQ(pick(e.active2, classic.active2), theme.m_clrActiveCaption.clrDark_.GetColor());
      EXPECT_EQ(pick(e.inactiveText, classic.inactiveText), theme.m_clrNormalCaptionText);
    };
    check("theme 7", theme7, c.theme7, classic7);
    check("theme 10", theme10, c.theme10, classic10);
    EXPECT_EQ(c.border10 == kClassic ? theme10.GetColor(COLOR_3DSHADOW) : c.border10,
              theme10.m_clrCaptionBorder);
  }
}

TEST(DockingTabColorSet, TheFrameGradientRunsFromTheSecondEndAtTheFramesLeftEdge) {
  const struct {
    int x;
    double w; // the first end's share
  } kCases[] = {{0, 0.0}, {100, 0.25}, {200, 0.5}, {400, 1.0}, {-50, 0.0}, {900, 1.0}};
  for (const auto &c : kCases) {
    EXPECT_EQ(CXTPDrawHelpers::BlendColors(0xFF0000, 0x0000FF, c.w),
              XTPFrameGradientColor(0xFF0000, 0x0000FF, c.x, 0, 400))
        << "x " << c.x;
  }
  EXPECT_EQ(0x0000FFu, XTPFrameGradientColor(0xFF0000, 0x0000FF, 10, 10, 0)) << "an empty span";
}

TEST(DockingTabColorSet, RefreshGivesAWhiteSelectedTabAndTheSchemesColours) {
  CXTPColorManager *pColors = XTPGetColorManager();
  const struct {
    int nScheme;
    BOOL bWhite;
    BOOL bSchemeTabs;
    COLORREF tabFace; // 0xFFFFFFFF: the base set's
    COLORREF slantFace;
  } kCases[] = {
      {0, TRUE, FALSE, 0xFFFFFFFF, 0xFFFFFFFF},
      {0, FALSE, FALSE, 0xFFFFFFFF, 0xFFFFFFFF},
      {1, TRUE, TRUE, 0xFFFFFFFF, 0xFFFFFFFF},
      {3, TRUE, TRUE, 0xF7F2F2, 0xD8BEBE},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE("scheme " + std::to_string(c.nScheme) + (c.bWhite ? " white" : ""));
    pColors->SetSystemTheme(c.nScheme);
    CXTPDockingPaneTabColorSet set(c.bWhite);
    set.RefreshMetrics();
    const COLORREF clrFace = XTPGetColor(COLOR_3DFACE);
    if (c.bWhite)
      EXPECT_EQ(0xFFFFFFu, set.tabFaceSelected.GetColor());
    else
      EXPECT_EQ(clrFace, set.tabFaceSelected.GetColor());
    EXPECT_EQ(clrFace, set.stripFace.clrLight_.GetColor());
    EXPECT_EQ(CXTPColorManager::BlendColors(clrFace, XTPGetColor(COLOR_WINDOW), 205),
              set.stripFace.clrDark_.GetColor());
    EXPECT_EQ(set.stripFace.clrDark_.GetColor(), set.stripFaceAlternate.clrLight_.GetColor());
    EXPECT_EQ(set.stripFace.clrLight_.GetColor(), set.stripFaceAlternate.clrDark_.GetColor());
    EXPECT_EQ(c.bSchemeTabs, set.m_bSchemeTabs);
    EXPECT_FALSE(set.themeColorsInUse);
    EXPECT_EQ(c.bSchemeTabs ? 0xFFFFFFu : XTPGetColor(COLOR_BTNFACE), set.slantHighlight.GetColor());
    EXPECT_EQ(c.tabFace == 0xFFFFFFFF ? XTPGetColor(COLOR_BTNFACE) : c.tabFace, set.tabFace.GetColor());
    EXPECT_EQ(c.slantFace == 0xFFFFFFFF ? XTPGetColor(COLOR_BTNFACE) : c.slantFace, set.slantFace.GetColor());
  }
  pColors->SetSystemTheme(xtpSystemThemeAuto);
  pColors->RefreshColors();
}

// A frame with panes, never shown.
class ThemedPanes : public ::testing::Test {
protected:
  void SetUp() override {
    m_pFrame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(m_pFrame->CreateEx(0, AfxRegisterWndClass(0), L"themes test",
                                   WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 600, 400,
                                   nullptr, nullptr));
    m_hFrame = m_pFrame->GetSafeHwnd();
    m_manager.InstallInFrame(m_pFrame);
    m_pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
    m_pPane->SetTitle(L"");
    m_pFrame->RecalcLayout();
  }
  void TearDown() override {
    if (::IsWindow(m_hFrame)) m_pFrame->DestroyWindow();
  }
  CXTPDockingPaneTabbedContainer *Tabbed() const {
    return static_cast<CXTPDockingPaneTabbedContainer *>(m_pPane->GetContainer());
  }

  CFrameWnd *m_pFrame = nullptr;
  HWND m_hFrame = nullptr;
  CXTPDockingPaneManager m_manager;
  CXTPDockingPane *m_pPane = nullptr;
};

// Where a probe looks and what it expects, worked out from the theme.
struct Probe {
  const char *pszWhat;
  std::function<CPoint(CXTPDockingPanePaintManager *)> at;
  std::function<COLORREF(CXTPDockingPanePaintManager *)> colour;
};

CPoint Pt(int x, int y) {
  return CPoint(x, y);
}
std::function<CPoint(CXTPDockingPanePaintManager *)> At(int x, int y) {
  return [x, y](CXTPDockingPanePaintManager *) { return CPoint(x, y); };
}
std::function<COLORREF(CXTPDockingPanePaintManager *)> Index(int nIndex) {
  return [nIndex](CXTPDockingPanePaintManager *p) { return p->GetColor(nIndex); };
}
template <class Theme> std::function<COLORREF(CXTPDockingPanePaintManager *)> Of(COLORREF (*get)(Theme *)) {
  return [get](CXTPDockingPanePaintManager *p) { return get(static_cast<Theme *>(p)); };
}

TEST_F(ThemedPanes, EachOtherThemeDrawsItsCaption) {
  ClassicColours classic;
  const CRect rc(0, 0, 200, 100);
  // Theme 3's band: rows 2 to the caption height + 3; the lines lie about its centre.
  auto lineRow = [](int dy) {
    return [dy](CXTPDockingPanePaintManager *p) { return Pt(60, (2 + p->GetCaptionHeight() + 3) / 2 + dy); };
  };
  const struct {
    int nTheme;
    std::vector<Probe> probes;
  } kCases[] = {
      {3,
       {{"the top line", At(100, 0), Index(51)},
        {"a corner", At(0, 0), Index(51)},
        {"the inactive face", At(100, 60), Index(30)},
        {"the first line", lineRow(-3), Index(38)},
        {"between the lines", lineRow(-2), Index(30)},
        {"the last line", lineRow(3), Index(38)}}},
      {7,
       {{"the inactive gradient's left end", At(0, 5),
         Of<CXTPDockingPaneTheme7>(
             [](CXTPDockingPaneTheme7 *p) { return p->m_clrNormalCaption.clrLight_.GetColor(); })}}},
      {10,
       {{"the border's left side", At(0, 5),
         Of<CXTPDockingPaneTheme10>([](auto *p) { return p->m_clrCaptionBorder; })},
        {"the border's top", At(100, 0),
         Of<CXTPDockingPaneTheme10>([](auto *p) { return p->m_clrCaptionBorder; })},
        {"the flat inactive band", At(100, 5), Index(COLOR_INACTIVECAPTION)}}},
  };
  for (const auto &c : kCases) {
    m_manager.SetTheme(c.nTheme);
    CXTPDockingPanePaintManager *pPaint = m_manager.GetPaintManager();
    Canvas canvas(rc.Width(), rc.Height());
    pPaint->DrawPane(canvas.DC(), Tabbed(), rc);
    for (const Probe &probe : c.probes) {
      const CPoint pt = probe.at(pPaint);
      EXPECT_EQ(probe.colour(pPaint), canvas.At(pt.x, pt.y))
          << "theme " << c.nTheme << ": " << probe.pszWhat << " at " << pt.x << "," << pt.y;
    }
  }
}

// A colour of the table below: a literal one, or the theme's colour of a
// system index where no scheme applies.
struct SchemeColour {
  COLORREF clr;
  int nIndex = -1;
  COLORREF Of(CXTPDockingPanePaintManager *p) const { return nIndex < 0 ? clr : p->GetColor(nIndex); }
};
SchemeColour Sys(int nIndex) {
  return {0, nIndex};
}
SchemeColour Rgb(COLORREF clr) {
  return {clr};
}

bool Near(COLORREF a, COLORREF b, int nTolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

std::string Hex(COLORREF clr) {
  char sz[16];
  std::snprintf(sz, sizeof(sz), "0x%06lX", static_cast<unsigned long>(clr));
  return sz;
}

TEST_F(ThemedPanes, Themes7And10DrawTheCaptionColoursOfTheSchemeTheColourManagerReports) {
  m_pPane->SetTitle(L"MMMM");
  const COLORREF kBlack = 0;
  const struct {
    int nTheme, nScheme;
    SchemeColour inactiveFirst, inactiveSecond, activeFirst, activeSecond, inactiveText, border;
  } kCases[] = {
      // Theme 7: horizontal gradients; the silver scheme also changes the active one.
      {7, 0, Sys(COLOR_INACTIVECAPTION), Rgb(::GetSysColor(COLOR_GRADIENTINACTIVECAPTION)),
       Sys(COLOR_ACTIVECAPTION), Sys(COLOR_GRADIENTACTIVECAPTION), Sys(COLOR_INACTIVECAPTIONTEXT), {}},
      {7, 1, Rgb(0xC6D7D8), Rgb(0xE5EFEE), Sys(COLOR_ACTIVECAPTION), Sys(COLOR_GRADIENTACTIVECAPTION),
       Rgb(kBlack), {}},
      {7, 2, Rgb(0xC6D7D8), Rgb(0xE5EFEE), Sys(COLOR_ACTIVECAPTION), Sys(COLOR_GRADIENTACTIVECAPTION),
       Rgb(kBlack), {}},
      {7, 3, Rgb(0xEBE0E0), Rgb(0xF6F2F2), Rgb(0xBA9EA0), Rgb(0xEBE1E0), Rgb(kBlack), {}},
      // Theme 10: vertical gradients framed in the border colour.
      {10, 0, Sys(COLOR_INACTIVECAPTION), Sys(COLOR_INACTIVECAPTION), Sys(COLOR_ACTIVECAPTION),
       Sys(COLOR_ACTIVECAPTION), Sys(COLOR_INACTIVECAPTIONTEXT), Sys(COLOR_3DSHADOW)},
      {10, 1, Rgb(0xBAC7CC), Rgb(0xBAC7CC), Rgb(0xED803B), Rgb(0xC56A31), Rgb(kBlack), Sys(COLOR_3DSHADOW)},
      {10, 2, Rgb(0xBAC7CC), Rgb(0xBAC7CC), Rgb(0x92C3B6), Rgb(0x75A091), Rgb(kBlack), Sys(COLOR_3DSHADOW)},
      {10, 3, Rgb(0xF5F0F0), Rgb(0xF5F0F0), Rgb(0xDDD4D3), Rgb(0xBFA5A6), Rgb(kBlack), Rgb(0x9C9B91)},
  };
  const CRect rc(0, 0, 200, 100);
  for (const auto &c : kCases) {
    SCOPED_TRACE("theme " + std::to_string(c.nTheme) + ", scheme " + std::to_string(c.nScheme));
    SchemeScope scheme(c.nScheme);
    m_manager.SetTheme(c.nTheme);
    CXTPDockingPanePaintManager *pPaint = m_manager.GetPaintManager();
    const int nBand = pPaint->GetCaptionHeight();
    // The pane's caption as the container draws it, inactive.
    Canvas pane(rc.Width(), rc.Height());
    pPaint->DrawPane(pane.DC(), Tabbed(), rc);
    // Bands of the same size, inactive and active, without buttons over their ends.
    Canvas inactive(rc.Width(), nBand), active(rc.Width(), nBand);
    pPaint->DrawCaptionBackground(inactive.DC(), Tabbed(), CRect(0, 0, rc.Width(), nBand), FALSE);
    pPaint->DrawCaptionBackground(active.DC(), Tabbed(), CRect(0, 0, rc.Width(), nBand), TRUE);
    struct Check {
      const char *pszWhat;
      Canvas *pCanvas;
      CPoint pt;
      COLORREF clr;
      int nTolerance;
    };
    std::vector<Check> checks;
    if (c.nTheme == 7) {
      checks = {{"the inactive gradient's left end", &pane, {0, 5}, c.inactiveFirst.Of(pPaint), 0},
                {"the active gradient's left end", &active, {0, nBand / 2}, c.activeFirst.Of(pPaint), 0},
                {"the active gradient's right end", &active, {rc.Width() - 1, nBand / 2},
                 c.activeSecond.Of(pPaint), 4},
                {"the inactive gradient's right end", &inactive, {rc.Width() - 1, nBand / 2},
                 c.inactiveSecond.Of(pPaint), 4}};
    } else {
      checks = {{"the border's left side", &pane, {0, 5}, c.border.Of(pPaint), 0},
                {"the border's top", &pane, {100, 0}, c.border.Of(pPaint), 0},
                {"the inactive band", &pane, {100, 2}, c.inactiveFirst.Of(pPaint), 4},
                {"the inactive band's foot", &pane, {100, nBand - 1}, c.inactiveSecond.Of(pPaint), 4},
                {"the active band's head", &active, {100, 1}, c.activeFirst.Of(pPaint), 4},
                {"the active band's foot", &active, {100, nBand - 1}, c.activeSecond.Of(pPaint), 4}};
    }
    for (const Check &check : checks) {
      const COLORREF clr = check.pCanvas->At(check.pt.x, check.pt.y);
      EXPECT_TRUE(Near(check.clr, clr, check.nTolerance))
          << check.pszWhat << " at " << check.pt.x << "," << check.pt.y << ": " << Hex(clr) << ", wanted "
          << Hex(check.clr);
    }
    // The title is written in the inactive title colour: some pixel of it has that colour exactly.
    const COLORREF clrText = c.inactiveText.Of(pPaint);
    bool bFound = false;
    for (int y = 1; y < nBand && !bFound; y++)
      for (int x = 4; x < 80 && !bFound; x++) bFound = pane.At(x, y) == clrText;
    EXPECT_TRUE(bFound) << "no pixel of the title colour " << Hex(clrText);
  }
}

TEST_F(ThemedPanes, VisualStyleThemesFallBackToTheirBasesWithoutAStyle) {
  ClassicColours classic;
  const CRect rc(0, 0, 200, 100);
  for (int nTheme : {6, 9}) {
    m_manager.SetTheme(nTheme);
    CXTPDockingPanePaintManager *pPaint = m_manager.GetPaintManager();
    const BOOL bStyled = nTheme == 6
                             ? static_cast<CXTPDockingPaneTheme6 *>(pPaint)->m_themeWindow.IsAppThemed()
                             : static_cast<CXTPDockingPaneTheme9 *>(pPaint)->m_themeRebar.IsAppThemed();
    if (bStyled) continue; // the system draws these parts; nothing of ours to probe
    Canvas canvas(rc.Width(), rc.Height());
    pPaint->DrawPane(canvas.DC(), Tabbed(), rc);
    EXPECT_EQ(pPaint->GetColor(51), canvas.At(100, 0)) << "theme " << nTheme << ": the band's background";
    if (nTheme == 6) {
      // Theme 1's gradient caption.
      EXPECT_EQ(static_cast<CXTPDockingPaneTheme6 *>(pPaint)->m_clrNormalCaption.clrLight_.GetColor(),
                canvas.At(0, 5));
    }
  }
}

TEST_F(ThemedPanes, ASplitterBarOfTheme7ContinuesTheFramesGradient) {
  m_manager.SetTheme(xtpPaneThemeWhidbey);
  auto *pColors = dynamic_cast<CXTPDockingPaneTabColorSet *>(
      m_manager.GetPaintManager()->GetTabPaintManager()->GetColorSet());
  ASSERT_NE(nullptr, pColors);
  CXTPDockingPaneTabbedContainer *pTabbed = Tabbed();
  CRect rcTabbed;
  pTabbed->CWnd::GetClientRect(&rcTabbed);
  CRect rcFrame;
  m_pFrame->GetClientRect(&rcFrame);
  pTabbed->MapWindowPoints(m_pFrame, &rcTabbed);
  // The container sits somewhere in the frame; a strip across its client
  // area starts with the frame gradient's colour at its left edge.
  Canvas canvas(rcTabbed.Width(), 4);
  pColors->FillFrameGradient(canvas.DC(), CRect(0, 0, rcTabbed.Width(), 4), pTabbed);
  const int nSpan = std::max(rcFrame.Width(), ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
  const COLORREF clrFirst = pColors->stripFace.clrLight_.GetColor();
  const COLORREF clrSecond = pColors->stripFace.clrDark_.GetColor();
  EXPECT_EQ(XTPFrameGradientColor(clrFirst, clrSecond, rcTabbed.left, 0, nSpan), canvas.At(0, 1));
}

TEST_F(ThemedPanes, FloatingFramesOfEachThemeDrawTheirFrameAndBand) {
  ClassicColours classic;
  CXTPDockingPaneMiniWnd *pMini = m_manager.FloatPane(m_pPane, CRect(700, 100, 900, 300));
  ASSERT_NE(nullptr, pMini);
  pMini->SetWindowText(L"");
  const CRect rc(0, 0, 200, 120);
  auto band = [](int dy) { return [dy](CXTPDockingPanePaintManager *) { return Pt(60, 3 + dy); }; };
  auto theme3Line = [](int dy) {
    return
        [dy](CXTPDockingPanePaintManager *p) { return Pt(60, (3 + 3 + p->GetCaptionHeight() + 3) / 2 + dy); };
  };
  const struct {
    int nTheme;
    std::vector<Probe> probes;
  } kCases[] = {
      {0,
       {{"the outer frame", At(0, 50), Index(COLOR_3DFACE)},
        {"the raised frame's light side", At(1, 50), Index(COLOR_3DHIGHLIGHT)},
        {"the raised frame's dark side", At(198, 50), Index(COLOR_3DSHADOW)},
        {"the inactive system band", band(2), Index(COLOR_INACTIVECAPTION)}}},
      {2,
       {{"the band's face", band(2), Index(COLOR_3DFACE)},
        {"the inner frame", At(2, 50), Index(COLOR_3DFACE)}}},
      {3,
       {{"the inactive frame", At(0, 50), Index(30)},
        {"the raised frame", At(1, 50), Index(COLOR_3DHIGHLIGHT)},
        {"the first line", theme3Line(-3), Index(38)},
        {"between the lines", theme3Line(-2), Index(30)}}},
      {5,
       {{"the outer ring", At(0, 50), Index(43)},
        {"the inner ring's corner", At(2, 2), Index(43)},
        {"the inner ring", At(2, 50),
         Of<CXTPDockingPaneTheme5>([](auto *p) { return p->m_clrNormalCaptionDark; })},
        {"the band's first row", band(0),
         Of<CXTPDockingPaneTheme5>([](auto *p) { return p->m_clrNormalCaptionLight; })}}},
      {7, {{"the system frame", At(0, 50), Index(COLOR_3DFACE)}}},
  };
  for (const auto &c : kCases) {
    m_manager.SetTheme(c.nTheme);
    CXTPDockingPanePaintManager *pPaint = m_manager.GetPaintManager();
    Canvas canvas(rc.Width(), rc.Height());
    pPaint->DrawFloatingFrame(canvas.DC(), pMini, rc);
    for (const Probe &probe : c.probes) {
      const CPoint pt = probe.at(pPaint);
      EXPECT_EQ(probe.colour(pPaint), canvas.At(pt.x, pt.y))
          << "theme " << c.nTheme << ": " << probe.pszWhat << " at " << pt.x << "," << pt.y;
    }
  }
}

} // namespace

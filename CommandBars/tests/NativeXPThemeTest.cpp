// Native XP theme: visual styles are never active under Wine, so its themed
// paths run against the recording visual-style source (which classes, parts
// and states it asks for), and its fallback is compared pixel for pixel with
// the classic theme it hands over to.
#include <gtest/gtest.h>

#include <algorithm>

#include "../../Common/tests/FakeVisualStyles.h"
#include "../../Common/tests/MemoryCanvas.h"
#include "CommandBarsTestSupport.h"
#include "XTPControlButton.h"
#include "XTPControlPopup.h"
#include "XTPControls.h"
#include "XTPNativeXPTheme.h"

using namespace cbtest;

namespace {

template <class Theme> struct Made {
  Made() : p(new Theme) {}
  ~Made() { p->InternalRelease(); }
  Theme *operator->() { return p; }
  Theme *p;
};

std::vector<FakeVisualStyles::Call> Draws(const FakeVisualStyles &styles) {
  std::vector<FakeVisualStyles::Call> draws;
  std::copy_if(styles.calls.begin(), styles.calls.end(), std::back_inserter(draws),
               [](const FakeVisualStyles::Call &c) { return c.what == L"DrawThemeBackground"; });
  return draws;
}

TEST(NativeXPThemeRules, ToolbarButtonStates) {
  const struct {
    BOOL bEnabled;
    int nSelected, nPressed;
    BOOL bChecked, bPopuped, bToolBar;
    int nState;
  } kCases[] = {
      {TRUE, 0, 0, FALSE, FALSE, TRUE, 1}, {TRUE, 1, 0, FALSE, FALSE, TRUE, 2},
      {TRUE, 1, 1, FALSE, FALSE, TRUE, 3}, {TRUE, 0, 2, FALSE, FALSE, TRUE, 3},
      {TRUE, 0, 1, FALSE, FALSE, TRUE, 1}, {TRUE, 0, 0, TRUE, FALSE, TRUE, 5},
      {TRUE, 1, 0, TRUE, FALSE, TRUE, 6},  {TRUE, 1, 1, TRUE, FALSE, TRUE, 3},
      {TRUE, 0, 0, FALSE, TRUE, TRUE, 3},  {FALSE, 1, 0, FALSE, FALSE, TRUE, 4},
      {FALSE, 0, 0, TRUE, FALSE, TRUE, 4}, {FALSE, 0, 0, TRUE, FALSE, FALSE, 3},
  };
  for (const auto &c : kCases)
    EXPECT_EQ(CXTPNativeXPTheme::ButtonState(c.bEnabled, c.nSelected, c.nPressed, c.bChecked, c.bPopuped,
                                             c.bToolBar),
              c.nState)
        << c.bEnabled << c.nSelected << c.nPressed << c.bChecked << c.bPopuped << c.bToolBar;

  EXPECT_EQ(CXTPNativeXPTheme::SplitButtonState(FALSE, 1, 1, FALSE, FALSE), 4);
  EXPECT_EQ(CXTPNativeXPTheme::SplitButtonState(TRUE, 1, 1, TRUE, FALSE), 3);
  EXPECT_EQ(CXTPNativeXPTheme::SplitButtonState(TRUE, 0, 0, TRUE, FALSE), 5);
  EXPECT_EQ(CXTPNativeXPTheme::SplitButtonState(TRUE, 0, 0, FALSE, TRUE), 2);
  EXPECT_EQ(CXTPNativeXPTheme::SplitButtonState(TRUE, 0, 0, FALSE, FALSE), 1);
  EXPECT_EQ(CXTPNativeXPTheme::ComboButtonState(FALSE, 1, TRUE), 4);
  EXPECT_EQ(CXTPNativeXPTheme::ComboButtonState(TRUE, 1, TRUE), 3);
  EXPECT_EQ(CXTPNativeXPTheme::ComboButtonState(TRUE, 1, FALSE), 2);
  EXPECT_EQ(CXTPNativeXPTheme::ComboButtonState(TRUE, 0, FALSE), 1);
}

// The theme is made before any main window exists (as while the frame is
// being created): its classes must open all the same, for no window.
TEST(NativeXPTheme, OpensItsClassesBeforeTheMainWindowExists) {
  ASSERT_EQ(AfxGetMainWnd(), nullptr);
  FakeVisualStyles styles;
  Made<CXTPNativeXPTheme> theme;
  EXPECT_TRUE(theme->IsToolbarThemed());
  EXPECT_TRUE(theme->IsRebarThemed());
  // (The colour manager's refresh opens a class of its own.)
  std::vector<std::wstring> opened;
  std::copy_if(styles.openClasses.begin(), styles.openClasses.end(), std::back_inserter(opened),
               [](const std::wstring &s) { return s != L"TREEVIEW"; });
  std::sort(opened.begin(), opened.end());
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"COMBOBOX", L"REBAR", L"STATUS", L"TOOLBAR"}));
  EXPECT_EQ(theme->GetCurrentTheme(), xtpThemeNativeWinXP);
}

TEST(NativeXPTheme, MetricsTakeTheVisualStyleColours) {
  FakeVisualStyles styles;
  styles.themeColor = 0x224466;
  Made<CXTPNativeXPTheme> theme;
  EXPECT_EQ(theme->m_clrEdgeShadowColor, 0x224466U);
  EXPECT_EQ(theme->GetColorPair(COLOR_BTNTEXT).GetStandardColor(), 0x224466U);
  EXPECT_EQ(theme->GetColorPair(COLOR_BTNFACE).GetStandardColor(), 0x224466U);
  EXPECT_EQ(theme->m_clrStatusTextColor, 0x224466U);
  EXPECT_EQ(theme->m_nPopupBarText, COLOR_MENUTEXT);
  EXPECT_TRUE(theme->GetIconsInfo()->bUseFadedIcons);
  EXPECT_FALSE(theme->GetIconsInfo()->bIconsWithShadow);
}

TEST(NativeXPTheme, ControlsDrawAsToolbarParts) {
  FakeVisualStyles styles;
  Made<CXTPNativeXPTheme> theme;
  MemoryCanvas canvas(60, 30, kCanvas);
  styles.calls.clear();
  theme->DrawRectangle(&canvas.dc, CRect(2, 2, 25, 24), TRUE, TRUE, FALSE, FALSE, FALSE, xtpBarTop);
  theme->DrawRectangle(&canvas.dc, CRect(2, 2, 25, 24), TRUE, TRUE, FALSE, TRUE, FALSE, xtpBarTop);
  theme->DrawRectangle(&canvas.dc, CRect(2, 2, 25, 24), FALSE, FALSE, FALSE, FALSE, FALSE, xtpBarTop);
  auto draws = Draws(styles);
  ASSERT_EQ(draws.size(), 3U);
  for (const auto &d : draws) {
    EXPECT_EQ(d.klass, L"TOOLBAR");
    EXPECT_EQ(d.part, XTP_TP_BUTTON);
  }
  EXPECT_EQ(draws[0].state, XTP_TS_HOT);
  EXPECT_EQ(draws[1].state, XTP_TS_HOTCHECKED);
  EXPECT_EQ(draws[2].state, XTP_TS_DISABLED);
  EXPECT_EQ(canvas.dc.GetTextColor(), theme->GetColor(COLOR_GRAYTEXT));

  TestBar bar(xtpBarTypeNormal, xtpBarTop, CSize(100, 26));
  CXTPControl *pSplit = bar.GetControls()->Add(xtpControlSplitButtonPopup, 1);
  pSplit->OnSetSelected(TRUE);
  styles.calls.clear();
  theme->DrawSplitButtonControl(&canvas.dc, pSplit, CRect(10, 2, 45, 24));
  draws = Draws(styles);
  ASSERT_EQ(draws.size(), 2U);
  EXPECT_EQ(draws[0].part, XTP_TP_SPLITBUTTON);
  EXPECT_EQ(draws[0].state, XTP_TS_HOT);
  EXPECT_EQ(draws[1].part, XTP_TP_SPLITBUTTONDROPDOWN);
  EXPECT_EQ(draws[1].state, XTP_TS_HOT);

  styles.calls.clear();
  theme->DrawComboBoxDropButton(&canvas.dc, CRect(40, 2, 56, 20), TRUE, 0, TRUE);
  draws = Draws(styles);
  ASSERT_EQ(draws.size(), 1U);
  EXPECT_EQ(draws[0].klass, L"COMBOBOX");
  EXPECT_EQ(draws[0].state, 3);
}

TEST(NativeXPTheme, BarsGrippersAndStatusBarThroughTheirClasses) {
  FakeVisualStyles styles;
  Made<CXTPNativeXPTheme> theme;
  MemoryCanvas canvas(100, 30, kCanvas);
  TestBar top(xtpBarTypeNormal, xtpBarTop, CSize(100, 26)),
      left(xtpBarTypeNormal, xtpBarLeft, CSize(26, 100));
  EXPECT_EQ(theme->DrawCommandBarGripper(&canvas.dc, &top, FALSE), CSize(8, 0));
  EXPECT_EQ(theme->DrawCommandBarGripper(&canvas.dc, &left, FALSE), CSize(0, 8));
  styles.calls.clear();
  theme->FillCommandBarEntry(&canvas.dc, &top);
  theme->DrawCommandBarGripper(&canvas.dc, &top, TRUE);
  theme->DrawCommandBarGripper(&canvas.dc, &left, TRUE);
  theme->DrawStatusBarPaneBorder(&canvas.dc, CRect(0, 0, 40, 20), FALSE);
  theme->DrawStatusBarPaneBorder(&canvas.dc, CRect(40, 0, 80, 20), TRUE);
  theme->DrawStatusBarGripper(&canvas.dc, CRect(0, 0, 100, 20));
  const std::vector<std::pair<std::wstring, int>> kExpected = {
      {L"REBAR", XTP_RP_BACKGROUND}, {L"REBAR", XTP_RP_GRIPPER},      {L"REBAR", XTP_RP_GRIPPERVERT},
      {L"STATUS", XTP_SP_PANE},      {L"STATUS", XTP_SP_GRIPPERPANE}, {L"STATUS", XTP_SP_GRIPPER}};
  auto draws = Draws(styles);
  ASSERT_EQ(draws.size(), kExpected.size());
  for (size_t i = 0; i < draws.size(); i++) {
    EXPECT_EQ(draws[i].klass, kExpected[i].first) << i;
    EXPECT_EQ(draws[i].part, kExpected[i].second) << i;
  }
  // The docked bar's edge: highlight at the top left, the rebar edge colour
  // at the bottom right.
  EXPECT_EQ(canvas.Pixel(99, 25), theme->m_clrEdgeShadowColor);
}

TEST(NativeXPTheme, PopupFrameFollowsTheFlatMenuSetting) {
  FakeVisualStyles styles;
  Made<CXTPNativeXPTheme> theme;
  TestBar popup(xtpBarTypePopup, xtpBarPopup, CSize(60, 40));
  MemoryCanvas canvas(60, 40, kCanvas);
  theme->m_bFlatMenus = TRUE;
  theme->FillCommandBarEntry(&canvas.dc, &popup);
  EXPECT_EQ(canvas.Pixel(0, 0), theme->GetColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(59, 39), theme->GetColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(1, 1), theme->GetColor(COLOR_MENU));
  theme->m_bFlatMenus = FALSE;
  theme->FillCommandBarEntry(&canvas.dc, &popup);
  EXPECT_EQ(canvas.Pixel(0, 0), theme->GetColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.Pixel(59, 39), theme->GetColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.Pixel(1, 1), theme->GetColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.Pixel(30, 20), theme->GetColor(COLOR_MENU));
}

TEST(NativeXPTheme, ExcludeRectOfPopupRows) {
  FakeVisualStyles styles;
  Made<CXTPNativeXPTheme> theme;
  TestBar popup(xtpBarTypePopup, xtpBarPopup), toolbar(xtpBarTypeNormal, xtpBarTop);
  CXTPControl *pRow = popup.GetControls()->Add(xtpControlPopup, 1);
  CXTPControl *pButton = toolbar.GetControls()->Add(xtpControlButton, 2);
  CRect rc(10, 10, 30, 30);
  theme->AdjustExcludeRect(rc, pRow, FALSE);
  EXPECT_EQ(rc, CRect(13, 7, 27, 33));
  rc = CRect(10, 10, 30, 30);
  theme->AdjustExcludeRect(rc, pButton, FALSE);
  EXPECT_EQ(rc, CRect(10, 10, 30, 30));
}

// Without visual styles every operation draws exactly what the classic
// theme draws.
TEST(NativeXPTheme, WithoutVisualStylesItDrawsTheClassicLook) {
  FakeVisualStyles styles;
  styles.themed = FALSE;
  Made<CXTPNativeXPTheme> native;
  Made<CXTPDefaultTheme> classic;
  native->m_nPopupBarText = classic->m_nPopupBarText;
  EXPECT_FALSE(native->IsToolbarThemed());
  TestBar top(xtpBarTypeNormal, xtpBarTop, CSize(80, 26)), popup(xtpBarTypePopup, xtpBarPopup, CSize(80, 26));
  const std::vector<std::function<void(CXTPPaintManager *, CDC *)>> kDrawings = {
      [](CXTPPaintManager *p, CDC *pDC) {
        p->DrawRectangle(pDC, CRect(2, 2, 25, 24), TRUE, TRUE, TRUE, FALSE, FALSE, xtpBarTop);
      },
      [](CXTPPaintManager *p, CDC *pDC) {
        p->DrawRectangle(pDC, CRect(2, 2, 25, 24), TRUE, FALSE, FALSE, TRUE, FALSE, xtpBarTop);
      },
      [&](CXTPPaintManager *p, CDC *pDC) { p->FillCommandBarEntry(pDC, &top); },
      [&](CXTPPaintManager *p, CDC *pDC) { p->FillCommandBarEntry(pDC, &popup); },
      [&](CXTPPaintManager *p, CDC *pDC) { p->DrawCommandBarGripper(pDC, &top, TRUE); },
      [](CXTPPaintManager *p, CDC *pDC) { p->DrawStatusBarGripper(pDC, CRect(0, 0, 80, 26)); },
      [](CXTPPaintManager *p, CDC *pDC) { p->DrawStatusBarPaneBorder(pDC, CRect(4, 4, 60, 20), FALSE); },
      [](CXTPPaintManager *p, CDC *pDC) {
        static_cast<CXTPDefaultTheme *>(p)->DrawComboBoxDropButton(pDC, CRect(50, 2, 66, 20), TRUE, 1, FALSE);
      },
  };
  for (size_t i = 0; i < kDrawings.size(); i++) {
    MemoryCanvas a(80, 26, kCanvas), b(80, 26, kCanvas);
    kDrawings[i](native.p, &a.dc);
    kDrawings[i](classic.p, &b.dc);
    for (int y = 0; y < 26; y++)
      for (int x = 0; x < 80; x++)
        ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << "drawing " << i << " at " << x << "," << y;
  }
}

} // namespace

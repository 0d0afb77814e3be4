// The colour manager's derived colours for each colour scheme, its contrast
// rules and its choice of scheme. System colours come from a table and the
// scheme is forced or detected through a fake visual style, since Wine can
// show neither the schemes nor visual styles.
#include <gtest/gtest.h>

#include "XTPColorManager.h"
#include "XTColorRef.h"
#include "FakeVisualStyles.h"

namespace {

struct Scheme {
  const char *name;
  int theme;
  // System colours 5, 7, 8, 13, 14, 15, 16, 17, 18; the others are 0.
  COLORREF system[9];
  COLORREF derived[28]; // colours 30 to 57
  COLORREF gradients[8];
};

const int kSystemIndexes[9] = {5, 7, 8, 13, 14, 15, 16, 17, 18};

// Golden values worked out by a separate reference calculation of the rules,
// for the classic scheme, the three visual-style schemes and a black-face
// high-contrast scheme.
const Scheme kSchemes[] = {
    {"Classic",
     0,
     {0xFFFFFF, 0x000000, 0x000000, 0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080, 0x000000},
     {0xD1D8DB, 0xD2BDB6, 0x6A240A, 0xB59285, 0x9D8D88, 0xA6A6A6, 0xD8D5D4, 0x6A240A, 0xA0A0A0, 0xA6A6A6,
      0x8D8D8D, 0xF7F8F9, 0xC1C8CC, 0x666666, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xE9F2F7, 0x555555,
      0x6A240A, 0xC8D0D4, 0x808080, 0xD1D8DB, 0x808080, 0xC8D0D4, 0xC8D0D4, 0x808080},
     {0x808080, 0x808080, 0xC8D0D4, 0xF4F5F6, 0xC8D0D4, 0x808080, 0xF4F5F6, 0xC8D0D4}},
    {"Blue",
     1,
     {0xFFFFFF, 0x000000, 0x000000, 0xC56A31, 0xFFFFFF, 0xD8E9EC, 0x99A8AC, 0x99A8AC, 0x000000},
     {0xDEEDEF, 0xEED2C1, 0xC56A31, 0xE2B598, 0xB29D90, 0xB8C2C5, 0xE8E6E1, 0xC56A31, 0xB1BCBF, 0xB8C2C5,
      0xA3B1B4, 0xF9FCFC, 0xD2E3E6, 0x7A868A, 0x000000, 0x000000, 0x000000, 0x494949, 0xE9FBFF, 0x727E81,
      0xC56A31, 0xD8E9EC, 0x99A8AC, 0xDEEDEF, 0x962D00, 0xD8E9EC, 0xD8E9EC, 0x99A8AC},
     {0xD68759, 0x962D00, 0xF5BE9E, 0xFADAC4, 0xD68759, 0x962D00, 0xFEECDD, 0xE2A981}},
    {"Olive",
     2,
     {0xFFFFFF, 0x000000, 0x000000, 0x70A093, 0xFFFFFF, 0xD8E9EC, 0x99A8AC, 0x99A8AC, 0x000000},
     {0xDEEDEF, 0xC3D1CE, 0x70A093, 0xB8D0C9, 0x929C9A, 0xB8C2C5, 0xE0ECEB, 0x6A988B, 0xB1BCBF, 0xB8C2C5,
      0xA3B1B4, 0xF9FCFC, 0xD2E3E6, 0x7A868A, 0x000000, 0x000000, 0x000000, 0x666666, 0xE9FBFF, 0x727E81,
      0x70A093, 0xD8E9EC, 0x99A8AC, 0xDEEDEF, 0x588060, 0xD8E9EC, 0xD8E9EC, 0x99A8AC},
     {0x82C0AF, 0x447A63, 0xA7D9D9, 0xE4F1F2, 0x6F8E78, 0x435B49, 0xDEF7F4, 0x91C6B7}},
    {"Silver",
     3,
     {0xFFFFFF, 0x000000, 0x000000, 0xBFB4B2, 0xFFFFFF, 0xE3DFE0, 0xA19D9D, 0x99A8AC, 0x000000},
     {0xE8E4E5, 0xCAC7C7, 0xB5ABA9, 0xD8D3D2, 0x979595, 0xB8C2C5, 0xEDEAE9, 0xA39998, 0xB6B3B3, 0xBDBABA,
      0xAAA7A7, 0xFBFAFB, 0xDCD8D9, 0x817E7E, 0x000000, 0x000000, 0x000000, 0x6B6B6B, 0xFFFAFB, 0x767373,
      0xBFB4B2, 0xE3DFE0, 0xA19D9D, 0xE8E4E5, 0x947C7C, 0xE3DFE0, 0xE3DFE0, 0xA19D9D},
     {0xBFA7A8, 0x916F70, 0xE5D7D7, 0xF7F3F3, 0xBFA7A8, 0x977677, 0xFAF4F3, 0xB59799}},
    {"Dark",
     0,
     {0x000000, 0xFFFFFF, 0xFFFFFF, 0x800000, 0x000000, 0x000000, 0x000000, 0x404040, 0xFFFFFF},
     {0x000000, 0x573939, 0xB97272, 0x582121, 0x412A2A, 0x5D5D5D, 0x0C0000, 0xC28585, 0x626262, 0x3A3A3A,
      0x5D5D5D, 0x000000, 0x000000, 0x747474, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xD6D6D6, 0x232323, 0x7F7F7F,
      0x800000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000},
     {0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000}},
};

// The system colour source the manager reads while a test runs.
const Scheme *g_pScheme = nullptr;

COLORREF SchemeSysColor(int nIndex) {
  for (int i = 0; i < 9; i++)
    if (kSystemIndexes[i] == nIndex) return g_pScheme->system[i];
  return 0;
}

class ColorManagerTest : public ::testing::Test {
protected:
  void Use(const Scheme &scheme) {
    g_pScheme = &scheme;
    manager.SetSystemColorFunction(SchemeSysColor);
    manager.SetSystemTheme(scheme.theme);
    manager.SetDisplayBitsPerPixel(32);
    manager.RefreshColors();
  }

  FakeVisualStyles styles; // unthemed unless a test says otherwise
  CXTPColorManager manager;

  void SetUp() override { styles.themed = FALSE; }
};

TEST_F(ColorManagerTest, DerivedColoursAndGradientsOfEachScheme) {
  for (const Scheme &scheme : kSchemes) {
    SCOPED_TRACE(scheme.name);
    Use(scheme);
    for (int i = 0; i < 9; i++) EXPECT_EQ(manager.GetColor(kSystemIndexes[i]), scheme.system[i]);
    for (int i = 30; i < 58; i++) EXPECT_EQ(manager.GetColor(i), scheme.derived[i - 30]) << "colour " << i;
    for (int i = 0; i < 4; i++) {
      EXPECT_EQ(manager.GetGradient(i).clrLight_.GetColor(), scheme.gradients[2 * i]) << "pair " << i;
      EXPECT_EQ(manager.GetGradient(i).clrDark_.GetColor(), scheme.gradients[2 * i + 1]) << "pair " << i;
    }
  }
}

TEST_F(ColorManagerTest, BlackFaceGivesFixedTabColours) {
  Use(kSchemes[4]);
  EXPECT_EQ(manager.GetColor(XPCOLOR_TAB_INACTIVE_BACK), 0x232323u);
  EXPECT_EQ(manager.GetColor(XPCOLOR_TAB_INACTIVE_TEXT), 0x7F7F7Fu);
}

TEST_F(ColorManagerTest, FaceDerivedSystemColourAndReservedSlots) {
  Use(kSchemes[0]);
  EXPECT_EQ(manager.GetColor(0), 0u);
  EXPECT_EQ(manager.GetColor(22), 0xD7DFE3u); // face plus 15 per channel
  EXPECT_EQ(manager.GetColor(28), 0u);
  EXPECT_EQ(manager.GetColor(29), 0u);
}

TEST_F(ColorManagerTest, PaletteDisplayOnlyCopiesDefaults) {
  const Scheme &classic = kSchemes[0];
  g_pScheme = &classic;
  manager.SetSystemColorFunction(SchemeSysColor);
  manager.SetSystemTheme(0);
  manager.SetDisplayBitsPerPixel(8);
  manager.RefreshColors();
  const COLORREF expected[28] = {0xC8D0D4, 0xFFFFFF, 0x6A240A, 0x6A240A, 0x808080, 0x808080, 0xFFFFFF,
                                 0x6A240A, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080,
                                 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xC8D0D4, 0x000000, 0x6A240A,
                                 0xC8D0D4, 0x808080, 0xC8D0D4, 0x808080, 0xC8D0D4, 0xC8D0D4, 0x808080};
  for (int i = 30; i < 58; i++) EXPECT_EQ(manager.GetColor(i), expected[i - 30]) << "colour " << i;
  EXPECT_EQ(manager.GetColor(22), 0u); // no face brightening either
  // The gradients still follow the forced scheme.
  manager.SetSystemTheme(2);
  manager.RefreshColors();
  EXPECT_EQ(manager.GetGradient(1).clrDark_.GetColor(), 0xE4F1F2u);
  EXPECT_EQ(manager.GetColor(XPCOLOR_EDITCTRLBORDER), 0x588060u);
}

TEST_F(ColorManagerTest, DisabledSchemeColoursKeepComputedPairs) {
  manager.DisableSystemThemeColors(TRUE);
  Use(kSchemes[1]);
  EXPECT_EQ(manager.GetGradient(0).clrLight_.GetColor(), 0x99A8ACu);
  EXPECT_EQ(manager.GetColor(XPCOLOR_EDITCTRLBORDER), 0x99A8ACu);
}

TEST_F(ColorManagerTest, CustomColourWinsAndLiteralColoursPassThrough) {
  Use(kSchemes[0]);
  manager.SetColor(31, 0x010203);
  EXPECT_EQ(manager.GetColor(31), 0x010203u);
  manager.RefreshColors();
  EXPECT_EQ(manager.GetColor(31), 0x010203u);
  manager.SetColor(31, 0xFFFFFFFF); // none
  EXPECT_EQ(manager.GetColor(31), 0xD2BDB6u);
  EXPECT_EQ(manager.GetColor(58), 58u);
  EXPECT_EQ(manager.GetColor(0x123456), 0x123456u);
}

TEST_F(ColorManagerTest, OnceOnlyRefreshKeepsColours) {
  Use(kSchemes[0]);
  Use(kSchemes[1]);
  g_pScheme = &kSchemes[0];
  manager.RefreshColors(TRUE);
  EXPECT_EQ(manager.GetColor(COLOR_BTNFACE), 0xD8E9ECu);
  manager.RefreshColors(FALSE);
  EXPECT_EQ(manager.GetColor(COLOR_BTNFACE), 0xC8D0D4u);
}

TEST(ColorManagerBlend, DivisorFollowsTheWeight) {
  EXPECT_EQ(CXTPColorManager::BlendColors(0x102030, 0x405060, 99), 0x102030u);
  EXPECT_EQ(CXTPColorManager::BlendColors(0x102030, 0x405060, 100), 0x3B4B5Bu);
  EXPECT_EQ(CXTPColorManager::BlendColors(0x102030, 0x405060, 165), 0x384858u);
}

TEST(ColorManagerBlend, WeightsBeyondTheDivisorStayInRange) {
  // 2000 is twice c1 less c2: without clamping white overflows to black and
  // black underflows to white.
  EXPECT_EQ(CXTPColorManager::BlendColors(0xFFFFFF, 0x000000, 2000), 0xFFFFFFu);
  EXPECT_EQ(CXTPColorManager::BlendColors(0x000000, 0xFFFFFF, 2000), 0x000000u);
  EXPECT_EQ(CXTPColorManager::BlendColors(0x808080, 0x000000, 1500), 0xC0C0C0u);
}

TEST(ColorManagerContrast, DistanceAndThreshold) {
  EXPECT_NEAR(CXTPColorManager::ColorBrightness(0xFFFFFF), 440.8, 0.1);
  EXPECT_DOUBLE_EQ(CXTPColorManager::AdjustContrastDistance(0.0, 50.9), 100.0);
  EXPECT_DOUBLE_EQ(CXTPColorManager::AdjustContrastDistance(300.0, 50.0), 50.0);
  EXPECT_DOUBLE_EQ(CXTPColorManager::AdjustContrastDistance(110.7, 50.0), 75.0);
  EXPECT_TRUE(CXTPColorManager::ColorsFarApart(0x000000, 0xFFFFFF, TRUE, 180));
  // Black to dark grey: 83 apart, enough plainly but not after the dark
  // colour's threshold doubles.
  EXPECT_TRUE(CXTPColorManager::ColorsFarApart(0x000000, 0x303030, FALSE, 50));
  EXPECT_FALSE(CXTPColorManager::ColorsFarApart(0x000000, 0x303030, TRUE, 50));
}

TEST(ColorManagerContrast, PushAwayWhenTheRayMissesTheWantedDistance) {
  // Grey against pure blue or green: the ray through the second colour never
  // comes within the wanted distance of grey, which once took the square root
  // of a negative number and gave black.
  const struct {
    COLORREF c1, c2;
    int distance;
    COLORREF expected;
  } kCases[] = {
      {0x808080, 0xFF0000, 30, 0x800000},
      {0x808080, 0x00FF00, 50, 0x80FF80},
      {0x808080, 0x00FF00, 100, 0x80FF80},
  };
  for (const auto &c : kCases)
    EXPECT_EQ(CXTPColorManager::PushColorAway(c.c1, c.c2, c.distance), c.expected)
        << std::hex << c.c1 << " " << c.c2 << " " << std::dec << c.distance;
}

TEST_F(ColorManagerTest, SchemeDetectedFromTheVisualStyle) {
  styles.themed = TRUE;
  const struct {
    const wchar_t *file;
    const wchar_t *scheme;
    int expected;
  } kCases[] = {
      {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", 1},
      {L"c:\\windows\\resources\\themes\\luna\\LUNA.MSSTYLES", L"HomeStead", 2},
      {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"Metallic", 3},
      {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"Royale", 0},
      {L"C:\\WINDOWS\\Resources\\Themes\\Aero\\Aero.msstyles", L"NormalColor", 0},
  };
  for (int stored : {4, 5}) {
    manager.SetSystemTheme(stored);
    for (const auto &c : kCases) {
      styles.themeFile = c.file;
      styles.colorScheme = c.scheme;
      EXPECT_EQ(manager.DetectVisualStyleTheme(), c.expected);
      EXPECT_EQ(manager.GetCurrentSystemTheme(), c.expected);
    }
  }
  manager.SetSystemTheme(3);
  EXPECT_EQ(manager.GetCurrentSystemTheme(), 3); // a forced choice is not detected
  styles.themed = FALSE;
  manager.SetSystemTheme(4);
  EXPECT_EQ(manager.GetCurrentSystemTheme(), 0);
}

TEST_F(ColorManagerTest, LabelColourFromTheTreeViewThemeBorder) {
  styles.themed = TRUE;
  styles.colorScheme = L"Royale";
  Use(kSchemes[0]);
  EXPECT_EQ(manager.GetColor(XPCOLOR_LABEL), 0x123456u);
  EXPECT_EQ(styles.lastProperty, 3801);
  ASSERT_FALSE(styles.openClasses.empty());
  EXPECT_EQ(styles.openClasses.back(), L"TREEVIEW");
  EXPECT_EQ(styles.calls.back().what, L"CloseThemeData");

  styles.themed = FALSE;
  manager.RefreshColors();
  EXPECT_EQ(manager.GetColor(XPCOLOR_LABEL), 0x808080u); // button shadow
}

TEST(ColorManagerInstance, OneManagerForTheProcess) {
  EXPECT_EQ(XTPGetColorManager(), &CXTPColorManager::Instance());
  EXPECT_EQ(XTPGetColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
}

TEST(ColorRef, ChannelArithmeticStaysInRange) {
  CXTColorRef c(RGB(10, 200, 250));
  EXPECT_EQ(c.GetRed(), 10);
  EXPECT_EQ(c.GetGreen(), 200);
  EXPECT_EQ(c.GetBlue(), 250);
  EXPECT_EQ(static_cast<COLORREF>(CXTColorRef(c).Blend(CXTColorRef::WHITE, 50)), RGB(132, 227, 252));
  EXPECT_EQ(static_cast<COLORREF>(CXTColorRef(c).Blend(CXTColorRef::BLACK, 150)), RGB(0, 0, 0));
  EXPECT_EQ(static_cast<COLORREF>(CXTColorRef(c).Blend(CXTColorRef::WHITE, 150)), RGB(255, 255, 255));
  EXPECT_EQ(static_cast<COLORREF>(CXTColorRef(c).Subtract(CXTColorRef::GRAY_50)), RGB(0, 72, 122));
  EXPECT_EQ(CXTColorRef::AddClamped(200, 100), 255);
  EXPECT_EQ(CXTColorRef::AddClamped(-5, 3), 0);
  EXPECT_EQ(static_cast<COLORREF>(CXTColorRef::GRAY_25), RGB(64, 64, 64));
  EXPECT_EQ(static_cast<COLORREF>(CXTColorRef::GRAY_75), RGB(192, 192, 192));
}

} // namespace

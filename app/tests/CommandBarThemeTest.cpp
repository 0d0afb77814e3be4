// The View > Themes choices: which paint-manager theme each stands for, and
// that applying one installs it with disabled icons from the real icons.
#include <gtest/gtest.h>

#include "CommandBarTheme.h"
#include "XTPPaintManager.h"

namespace {

TEST(CommandBarTheme, EachChoiceInstallsItsTheme) {
  const struct {
    ThemeSetting theme;
    int nTheme;
  } kCases[] = {{ThemeSetting::Office2000, xtpThemeDefault},
                {ThemeSetting::OfficeXP, xtpThemeOffice},
                {ThemeSetting::Office2003, xtpThemeOffice2003},
                {ThemeSetting::NativeXP, xtpThemeNativeWinXP}};
  for (const auto &c : kCases) {
    EXPECT_EQ(PaintThemeOf(c.theme), c.nTheme);
    ASSERT_TRUE(ApplyCommandBarTheme(c.theme));
    ASSERT_NE(XTPGetPaintManager(), nullptr);
    EXPECT_EQ(XTPGetPaintManager()->GetCurrentTheme(), c.nTheme);
    EXPECT_TRUE(XTPGetPaintManager()->GetIconsInfo()->bUseDisabledIcons);
  }
}

TEST(CommandBarTheme, NoChoiceLeavesTheThemeAlone) {
  ASSERT_TRUE(ApplyCommandBarTheme(ThemeSetting::OfficeXP));
  CXTPPaintManager *pBefore = XTPGetPaintManager();
  EXPECT_EQ(PaintThemeOf(ThemeSetting::None), -1);
  EXPECT_EQ(PaintThemeOf(static_cast<ThemeSetting>(7)), -1);
  EXPECT_FALSE(ApplyCommandBarTheme(ThemeSetting::None));
  EXPECT_EQ(XTPGetPaintManager(), pBefore);
}

} // namespace

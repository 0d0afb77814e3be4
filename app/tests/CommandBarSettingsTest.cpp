// The main frame's command-bar settings: the icon sizes of the toolbar-size
// setting and the check mark they give back, and the tooltip styles.
#include <windows.h>

#include <gtest/gtest.h>

#include "CommandBarSettings.h"
#include "XTPCommandBars.h"
#include "XTPToolTipContext.h"

namespace {

TEST(ToolbarSizeSetting, EachSizeSetsItsIconsAndReadsBackAsItself) {
  const struct {
    ToolbarSize size;
    BOOL largeIcons;
    CSize icons; // the size the bars draw
  } cases[] = {
      {ToolbarSize::Large, TRUE, CSize(48, 48)},
      {ToolbarSize::Medium, TRUE, CSize(32, 32)},
      {ToolbarSize::Small, FALSE, CSize(16, 16)},
  };
  // Every size after every other: a size must not keep what the last one set.
  for (const auto &before : cases) {
    for (const auto &c : cases) {
      CXTPCommandBarsOptions options;
      ApplyToolbarSize(options, before.size);
      ApplyToolbarSize(options, c.size);
      EXPECT_EQ(options.bLargeIcons, c.largeIcons) << static_cast<int>(c.size);
      EXPECT_EQ(c.largeIcons ? options.szLargeIcons : options.szIcons, c.icons) << static_cast<int>(c.size);
      EXPECT_EQ(ShownToolbarSize(options), c.size)
          << static_cast<int>(before.size) << " then " << static_cast<int>(c.size);
    }
  }
}

TEST(ToolbarSizeSetting, NoStoredSizeKeepsTheSavedOptions) {
  CXTPCommandBarsOptions options;
  options.bLargeIcons = TRUE;
  options.szLargeIcons = CSize(48, 48);
  ApplyToolbarSize(options, ToolbarSize::Unchanged);
  EXPECT_TRUE(options.bLargeIcons);
  EXPECT_EQ(ShownToolbarSize(options), ToolbarSize::Large);
}

TEST(ToolbarSizeSetting, CheckMarkFollowsWhatTheBarsDraw) {
  CXTPCommandBarsOptions options;
  EXPECT_EQ(ShownToolbarSize(options), ToolbarSize::Small);
  // Large icons without a size are drawn at 32 x 32.
  options.bLargeIcons = TRUE;
  options.szLargeIcons = CSize(0, 0);
  EXPECT_EQ(ShownToolbarSize(options), ToolbarSize::Medium);
  // A size no menu item stands for checks none of them.
  options.szLargeIcons = CSize(24, 24);
  EXPECT_EQ(ShownToolbarSize(options), ToolbarSize::Unchanged);
}

TEST(TooltipStyleSetting, BalloonAndOfficeTipsBothShowATitleWithTheInformationIcon) {
  const struct {
    TooltipStyle style;
    int expected;
  } cases[] = {{TooltipStyle::Office, xtpToolTipOffice}, {TooltipStyle::Balloon, xtpToolTipBalloon}};
  for (const auto &c : cases) {
    CXTPToolTipContext context;
    if (c.style == TooltipStyle::Balloon && !context.IsBalloonSupported()) continue;
    ApplyTooltipStyle(context, c.style);
    EXPECT_EQ(context.GetStyle(), c.expected);
    EXPECT_TRUE(context.IsShowTitle());
    EXPECT_EQ(context.GetTitleIcon(), 1);
  }
}

TEST(TooltipStyleSetting, NoStoredStyleLeavesTheContext) {
  CXTPToolTipContext context;
  context.SetStyle(xtpToolTipOffice);
  ApplyTooltipStyle(context, TooltipStyle::Unchanged);
  EXPECT_EQ(context.GetStyle(), xtpToolTipOffice);
  EXPECT_FALSE(context.IsShowTitle());
}

} // namespace

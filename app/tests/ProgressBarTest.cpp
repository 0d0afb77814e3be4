// Where the status-bar progress bar goes within its pane.
#include <gtest/gtest.h>

#include <vector>

#include "ProgressBar.h"

namespace {

TEST(ProgressBarLayoutTest, PlacesTheBarRightOfTheCaption) {
  struct Case {
    const char *name;
    CRect pane;
    int captionWidth, blankWidth, percent;
    CRect expected;
  };
  const std::vector<Case> cases = {
      {"no caption, whole pane", CRect(0, 0, 300, 20), 0, 4, 100, CRect(0, 2, 300, 18)},
      {"no caption, half", CRect(0, 0, 300, 20), 0, 4, 50, CRect(0, 2, 150, 18)},
      {"caption and four blanks", CRect(10, 0, 310, 20), 60, 4, 100, CRect(86, 2, 310, 18)},
      {"caption, percent of the rest", CRect(0, 0, 300, 25), 80, 5, 50, CRect(100, 2, 200, 23)},
      {"caption wider than the pane", CRect(0, 0, 100, 20), 200, 4, 100, CRect(100, 2, 100, 18)},
  };
  for (const Case &c : cases) {
    CRect rect = ProgressBarLayout(c.pane, c.captionWidth, c.blankWidth, c.percent);
    EXPECT_EQ(rect, c.expected) << c.name;
  }
}

} // namespace

// The rule that tells a click on a check box from one elsewhere on its row.
#include "CheckBoxHit.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckBoxHit, OnlyTheExactFlagsOrThePointInTheBoxCount) {
  const RECT box = {2, 20, 16, 36};
  const struct {
    const char *m_what;
    UINT m_flags;
    POINT m_point;
    bool m_hit;
  } kCases[] = {
      {"the state icon alone", LVHT_ONITEMSTATEICON, {60, 28}, true},
      {"a full-row hit on another cell", LVHT_ONITEM, {300, 28}, false},
      {"the label", LVHT_ONITEMLABEL, {60, 28}, false},
      {"the icon", LVHT_ONITEMICON, {20, 28}, false},
      {"a full-row hit inside the box", LVHT_ONITEM, {9, 28}, true},
      {"just right of the box", LVHT_ONITEM, {16, 28}, false},
      {"below the box", LVHT_ONITEM, {9, 36}, false},
  };
  for (const auto &c : kCases)
    EXPECT_EQ(IsCheckBoxHit(c.m_flags, LVHT_ONITEMSTATEICON, c.m_point, box), c.m_hit) << c.m_what;
  // A tree's hit test is exact: its state-icon flag alone is the box.
  EXPECT_TRUE(IsTreeCheckBoxHit(TVHT_ONITEMSTATEICON));
  EXPECT_FALSE(IsTreeCheckBoxHit(TVHT_ONITEM));
  EXPECT_FALSE(IsTreeCheckBoxHit(TVHT_ONITEMLABEL));
}

} // namespace

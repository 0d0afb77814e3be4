// The tab layouts' arithmetic by tables: compression, greedy and balanced
// rows, justification, scrolling into view and the middle ellipsis.
#include <gtest/gtest.h>

#include "XTPTabPaintManager.h"

#include <chrono>
#include <numeric>

namespace {

using Lengths = std::vector<int>;

TEST(TabCompress, LongestTabsGiveWayFirst) {
  const struct {
    Lengths in;
    int room;
    Lengths out;
  } kCases[] = {
      {{100, 80, 40}, 180, {70, 70, 40}},  // 100 drops to 80, then both 80s lose 10
      {{100, 80, 40}, 220, {100, 80, 40}}, // fits: unchanged
      {{300}, 120, {120}},                 // a single tab gets exactly the room
      {{50, 50, 50}, 120, {40, 40, 40}},   // one group from the start
      {{90, 60, 30}, 60, {20, 20, 20}},    // every tab in the group: equal shares
      {{80, 20, 80}, 150, {65, 20, 65}},   // order kept, ties lowered together
      {{100, 81, 40}, 181, {71, 71, 40}},  // 100 to 81, then both lose 21 / 2: integer shares
  };
  for (const auto &c : kCases) {
    Lengths lengths = c.in;
    XTPTabLayout::Compress(lengths, c.room);
    EXPECT_EQ(lengths, c.out) << "room " << c.room;
  }
}

TEST(TabRows, GreedyStartsARowWhenTheNextTabWouldOverflow) {
  const struct {
    Lengths in;
    int room;
    Lengths firsts;
  } kCases[] = {
      {{100, 100, 100, 100, 100}, 291, {0, 2, 4}},
      {{50, 50}, 100, {0}},
      {{150, 10}, 100, {0, 1}}, // an over-long tab still gets a row of its own
      {{10, 150, 10}, 100, {0, 1, 2}},
      {{}, 100, {0}},
  };
  for (const auto &c : kCases) EXPECT_EQ(XTPTabLayout::GreedyRows(c.in, c.room), c.firsts);
}

TEST(TabRows, BalancedRowsTakeEvenShares) {
  const struct {
    Lengths in;
    int rows, room;
    BOOL even;
    Lengths firsts;
  } kCases[] = {
      {{100, 100, 100, 100, 100}, 3, 291, TRUE, {0, 1, 3}},
      {{100, 100, 100, 100, 100}, 3, 291, FALSE, {0, 2, 4}}, // without even rows: greedy
      {{30, 30, 30, 30, 30, 30}, 2, 150, TRUE, {0, 3}},
      {{60, 60, 10, 10, 10, 10}, 2, 130, TRUE, {0, 1}},
      {{10, 100, 10}, 3, 50, TRUE, {0, 1, 2}},
  };
  for (const auto &c : kCases) EXPECT_EQ(XTPTabLayout::BalanceRows(c.in, c.rows, c.room, c.even), c.firsts);
}

TEST(TabRows, ImpossibleRowCountGivesTheGreedySplitInsteadOfFailing) {
  // Three 30s never fit two rows of 50: the greedy split (three rows) stands.
  EXPECT_EQ(XTPTabLayout::BalanceRows({30, 30, 30}, 2, 50, TRUE), (Lengths{0, 1, 2}));
  EXPECT_EQ(XTPTabLayout::BalanceRows({30, 30, 30}, 2, 50, FALSE), (Lengths{0, 1, 2}));
}

TEST(TabRows, BalancingRemembersFailedRowsAndStaysLinear) {
  // A strip whose even shares keep failing deep down: searched without
  // memory this takes more than a million row attempts.
  const Lengths base = {10, 40, 5,  20, 30, 5,  10, 40, 5,  1,  1,  40, 10, 20,
                        5,  10, 20, 30, 30, 30, 30, 10, 20, 40, 20, 10, 30};
  Lengths lengths;
  for (int i = 0; i < 3; i++) lengths.insert(lengths.end(), base.begin(), base.end());
  const int room = 54;
  const int rows = static_cast<int>(XTPTabLayout::GreedyRows(lengths, room).size());
  ASSERT_EQ(rows, 42);
  int steps = 0;
  auto start = std::chrono::steady_clock::now();
  Lengths firsts = XTPTabLayout::BalanceRows(lengths, rows, room, TRUE, &steps);
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LE(steps, static_cast<int>(lengths.size()) * rows);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000);
  ASSERT_EQ(static_cast<int>(firsts.size()), rows);
  // Every row fits and the rows cover the items in order.
  for (int r = 0; r < rows; r++) {
    int last = r + 1 < rows ? firsts[r + 1] : static_cast<int>(lengths.size());
    ASSERT_LE(firsts[r], last);
    int sum = std::accumulate(lengths.begin() + firsts[r], lengths.begin() + last, 0);
    EXPECT_TRUE(sum <= room || last - firsts[r] == 1) << "row " << r;
  }
}

TEST(TabRows, JustifiedRowEndsExactlyAtTheRoom) {
  const struct {
    Lengths in;
    int first, last, room;
    Lengths out;
  } kCases[] = {
      {{100, 100}, 0, 1, 291, {145, 146}},
      {{100}, 0, 0, 291, {291}},
      {{10, 20, 30}, 0, 2, 63, {11, 21, 31}},
      {{5, 10, 20, 30}, 1, 3, 63, {5, 11, 21, 31}}, // only the row's items change
  };
  for (const auto &c : kCases) {
    Lengths lengths = c.in;
    XTPTabLayout::JustifyRow(lengths, c.first, c.last, c.room);
    EXPECT_EQ(lengths, c.out);
  }
}

TEST(TabScroll, ItemsAreBroughtIntoTheHeader) {
  const struct {
    int offset, itemStart, itemEnd, headerStart, headerEnd, margin, expected;
  } kCases[] = {
      {0, 10, 50, 0, 200, 2, 0},      // inside: unchanged
      {-60, -30, 10, 0, 200, 2, -28}, // starts before: one margin inside
      {0, 180, 240, 0, 200, 2, -40},  // ends beyond: ends at the far edge
      {-10, -5, 30, 0, 200, 20, 0},   // never above 0
  };
  for (const auto &c : kCases)
    EXPECT_EQ(
        XTPTabLayout::ScrollIntoView(c.offset, c.itemStart, c.itemEnd, c.headerStart, c.headerEnd, c.margin),
        c.expected);
}

TEST(TabScroll, OffsetFollowsTheLastTabBack) {
  EXPECT_EQ(XTPTabLayout::FitOffset(-100, 250, 271), -79);
  EXPECT_EQ(XTPTabLayout::FitOffset(-10, 200, 271), 0); // everything fits
  EXPECT_EQ(XTPTabLayout::FitOffset(-100, 300, 271), -100);
  EXPECT_EQ(XTPTabLayout::FitOffset(0, 100, 271), 0);
}

TEST(TabText, MiddleEllipsisKeepsTheLargerHalfAtTheStart) {
  auto width = [](const CString &s) { return s.GetLength() * 10; };
  const struct {
    const wchar_t *text;
    int width;
    const wchar_t *shown;
  } kCases[] = {
      {L"Document", 80, L"Document"},  {L"Document", 70, L"Do...nt"}, // 7 characters: 2 + "..." + 2
      {L"Documents", 80, L"Doc...ts"}, {L"Document", 20, L"..."},     {L"abcdefghij", 60, L"ab...j"},
  };
  for (const auto &c : kCases)
    EXPECT_STREQ(static_cast<LPCWSTR>(XTPTabLayout::MiddleEllipsis(c.text, c.width, width)), c.shown)
        << static_cast<const void *>(c.text);
}

} // namespace

// A splitter's length arithmetic as tables: children (docking length,
// limits, holding the client area) x rectangle -> where each child lies;
// the limits of a dragged bar and the lengths a move gives.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "XTPDockingPaneSplitterContainer.h"

namespace {

using XTPSplitterLayout::Child;

Child Make(int nLength, int nMin = 0, int nMax = 32000, BOOL bClient = FALSE) {
  Child child;
  child.nDockingLength = nLength;
  child.nMin = nMin;
  child.nMax = nMax;
  child.bHoldsClient = bClient;
  child.bZeroDockingSize = nLength == 0;
  return child;
}

struct PlaceCase {
  const char *pszName;
  std::vector<Child> children;
  int nRectLength;
  BOOL bHideClient;
  std::vector<std::pair<int, int>> expected;
};

const PlaceCase kPlaceCases[] = {
    {"one child fills the rectangle", {Make(50)}, 300, FALSE, {{0, 300}}},
    {"the client takes what the others leave",
     {Make(0, 0, 32000, TRUE), Make(150)},
     600,
     FALSE,
     {{0, 446}, {450, 600}}},
    {"too long children share in proportion, the last ends at the edge",
     {Make(300), Make(100)},
     204,
     FALSE,
     {{0, 150}, {154, 204}}},
    {"a share below its minimum gets the minimum, the rest is shared again",
     {Make(300), Make(20, 80), Make(100)},
     408,
     FALSE,
     {{0, 240}, {244, 324}, {328, 408}}},
    {"a share above its maximum stops at the maximum",
     {Make(100, 0, 60), Make(100, 0, 32000, TRUE)},
     404,
     FALSE,
     {{0, 60}, {64, 404}}},
    {"a hidden client area takes the rest only with no size of its own",
     {Make(0, 0, 32000, TRUE), Make(100)},
     404,
     TRUE,
     {{0, 300}, {304, 404}}},
    {"a rectangle shorter than the bars never gives inverted children",
     {Make(100), Make(100), Make(100)},
     5,
     FALSE,
     {{0, 0}, {4, 4}, {5, 5}}},
    {"a minimum larger than the room gets only the room",
     {Make(100, 500), Make(100)},
     104,
     FALSE,
     {{0, 100}, {104, 104}}},
    {"lengths whose products pass 32 bits are shared exactly",
     {Make(30000, 0, 100000), Make(30000, 0, 100000)},
     100004,
     FALSE,
     {{0, 50000}, {50004, 100004}}},
};

TEST(SplitterLayout, PlacesChildrenAlongTheAxis) {
  for (const PlaceCase &c : kPlaceCases) {
    std::vector<Child> children = c.children;
    const XTPSplitterLayout::Totals totals =
        XTPSplitterLayout::Distribute(children, c.nRectLength, 4, c.bHideClient);
    EXPECT_EQ(c.expected, XTPSplitterLayout::Place(children, totals, 0, c.nRectLength, 4)) << c.pszName;
  }
}

TEST(SplitterLayout, NoChildIsEverLongerThanItsRoomOrNegative) {
  for (int nRect : {0, 1, 3, 7, 50, 333}) {
    std::vector<Child> children = {Make(120, 30), Make(0, 0, 32000, TRUE), Make(80, 50, 90)};
    const auto totals = XTPSplitterLayout::Distribute(children, nRect, 4, FALSE);
    for (const auto &place : XTPSplitterLayout::Place(children, totals, 10, 10 + nRect, 4)) {
      EXPECT_LE(place.first, place.second) << nRect;
      EXPECT_GE(place.first, 10) << nRect;
      EXPECT_LE(place.second, 10 + nRect) << nRect;
    }
  }
}

struct LimitCase {
  const char *pszName;
  int nMinBefore, nMaxBefore, nMinAfter, nMaxAfter;
  int nNear, nFar;
};

// The two children span 100..404 with a 4-pixel bar; the least pane length is 22.
const LimitCase kLimitCases[] = {
    {"no limits: the least pane length on both sides", 0, 32000, 0, 32000, 122, 382},
    {"the child before needs 50", 50, 32000, 0, 32000, 150, 382},
    {"the child after needs 60 besides the bar", 0, 32000, 60, 32000, 122, 340},
    {"the child before may not grow past 120", 0, 120, 0, 32000, 122, 220},
    {"the child after may not grow past 100", 0, 32000, 0, 100, 300, 382},
};

TEST(SplitterLayout, DragLimits) {
  for (const LimitCase &c : kLimitCases) {
    const auto limits =
        XTPSplitterLayout::DragLimits(100, 404, c.nMinBefore, c.nMaxBefore, c.nMinAfter, c.nMaxAfter, 22, 4);
    EXPECT_EQ(c.nNear, limits.nNear) << c.pszName;
    EXPECT_EQ(c.nFar, limits.nFar) << c.pszName;
  }
}

TEST(SplitterLayout, AMoveSharesTheTwoLengths) {
  // 150 + 150 + the bar over a union of 304 from 0.
  EXPECT_EQ(std::make_pair(100, 200), XTPSplitterLayout::ApplyMove(100, 0, 304, 150, 150, 4, FALSE));
  EXPECT_EQ(std::make_pair(200, 100), XTPSplitterLayout::ApplyMove(100, 0, 304, 150, 150, 4, TRUE));
  EXPECT_EQ(std::make_pair(150, 150), XTPSplitterLayout::ApplyMove(150, 0, 304, 150, 150, 4, FALSE));
  // An empty union changes nothing.
  EXPECT_EQ(std::make_pair(10, 20), XTPSplitterLayout::ApplyMove(5, 0, 0, 10, 20, 4, FALSE));
}

} // namespace

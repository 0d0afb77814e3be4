// Dock-bar row layout as tables: bars (full length, least length when they
// may wrap, thickness, wanted start, flags) x row length x side -> placed
// rectangles; and the entry list: docking into rows by a centre point,
// removing, full-row bars.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "XTPDockBarLayout.h"

namespace {

// A bar that is nFull long and nThick thick; with the wrap flag it accepts
// any length down to nMin (and then grows thicker by a row per halving, as
// a wrapped toolbar does); stretched it takes the length asked.
struct ModelBar {
  int nFull = 100;
  int nMin = 100;
  int nThick = 20;
  int nWanted = 0;
  DWORD dwBarFlags = 0;
};

XTPDockMeasure MeasureOf(const std::vector<ModelBar> &model) {
  return [&model](int nId, int nLength, DWORD dwMode) {
    const ModelBar &bar = model[nId];
    int nAlong = bar.nFull, nThick = bar.nThick;
    if (dwMode & xtpDockModeStretch) {
      nAlong = nLength;
    } else if ((dwMode & xtpDockModeWrap) && nLength < bar.nFull) {
      nAlong = std::max(nLength, bar.nMin);
      nThick = bar.nThick * ((bar.nFull + nAlong - 1) / nAlong);
    }
    const BOOL bHorizontal = (dwMode & xtpDockModeHorizontal) != 0;
    return bHorizontal ? CSize(nAlong, nThick) : CSize(nThick, nAlong);
  };
}

std::vector<XTPDockRowBar> RowOf(const std::vector<ModelBar> &model, BOOL bHorizontal) {
  std::vector<XTPDockRowBar> row;
  for (size_t i = 0; i < model.size(); i++) {
    XTPDockRowBar bar;
    bar.nId = static_cast<int>(i);
    bar.dwBarFlags = model[i].dwBarFlags;
    bar.dwDockFlags = XTPDockGetDockFlags(bHorizontal, model[i].dwBarFlags, TRUE);
    bar.nWantedStart = model[i].nWanted;
    row.push_back(bar);
  }
  return row;
}

// Rectangles along a horizontal row: left, top, right, bottom; a vertical
// row gives the same with x and y swapped.
struct Expected {
  int nId, l, t, r, b;
};

struct RowCase {
  const char *pszName;
  std::vector<ModelBar> bars;
  int nLength;
  int nThickness;
  std::vector<Expected> expected;
};

const RowCase kRowCases[] = {
    {"one bar at its wanted place", {{100, 100, 20, 30, 0}}, 300, 20, {{0, 30, 0, 130, 20}}},
    {"a bar beyond the end is pulled back", {{100, 100, 20, 250, 0}}, 300, 20, {{0, 200, 0, 300, 20}}},
    {"the later bar of two overlapping moves right",
     {{100, 100, 20, 0, 0}, {100, 100, 20, 50, 0}},
     300,
     20,
     {{0, 0, 0, 100, 20}, {1, 100, 0, 200, 20}}},
    {"equal wanted starts keep the row's order",
     {{80, 80, 20, 10, 0}, {80, 80, 20, 10, 0}, {80, 80, 20, 10, 0}},
     300,
     20,
     {{0, 10, 0, 90, 20}, {1, 90, 0, 170, 20}, {2, 170, 0, 250, 20}}},
    {"three 150-long bars that shrink to 120 in 300: the last goes below",
     {{150, 120, 20, 0, kDockBarFlagWrap},
      {150, 120, 20, 150, kDockBarFlagWrap},
      {150, 120, 20, 300, kDockBarFlagWrap}},
     300,
     20,
     {{0, 0, 0, 150, 20}, {1, 150, 0, 300, 20}, {2, 150, 20, 300, 40}}},
    {"two wrapping bars squeezed into a short row",
     {{150, 60, 20, 0, kDockBarFlagWrap}, {150, 60, 20, 150, kDockBarFlagWrap}},
     200,
     60,
     {{0, 0, 0, 140, 40}, {1, 140, 0, 200, 60}}},
    {"a lone bar is squeezed, never pushed out", {{400, 400, 20, 0, 0}}, 300, 20, {{0, 0, 0, 400, 20}}},
    // Nothing to push out of the row: the layout must stop, not loop.
    {"a bar without thickness ends its row",
     {{100, 100, 0, 0, 0}, {100, 100, 0, 250, 0}},
     300,
     0,
     {{0, 0, 0, 100, 0}, {1, 200, 0, 300, 0}}},
    {"a stretched bar alone spans the row",
     {{100, 100, 20, 40, kDockBarFlagStretch}},
     300,
     20,
     {{0, 0, 0, 300, 20}}},
    {"a stretched bar fills up to its neighbour",
     {{100, 100, 20, 0, kDockBarFlagStretch}, {50, 50, 20, 200, 0}},
     300,
     20,
     {{0, 0, 0, 200, 20}, {1, 200, 0, 250, 20}}},
};

TEST(DockBarLayout, RowsOnEverySide) {
  for (const RowCase &c : kRowCases) {
    for (BOOL bHorizontal : {TRUE, FALSE}) {
      SCOPED_TRACE(std::string(c.pszName) + (bHorizontal ? " (horizontal)" : " (vertical)"));
      std::vector<XTPDockPlacement> placed;
      const int nThickness =
          XTPDockLayoutRows(RowOf(c.bars, bHorizontal), 0, c.nLength, bHorizontal, MeasureOf(c.bars), placed);
      int nTotal = 0;
      for (const Expected &e : c.expected) nTotal = std::max(nTotal, e.b);
      EXPECT_EQ(nThickness, nTotal);
      ASSERT_EQ(placed.size(), c.expected.size());
      std::map<int, CRect> byId;
      for (const XTPDockPlacement &p : placed) byId[p.nId] = p.rc;
      for (const Expected &e : c.expected) {
        const CRect want = bHorizontal ? CRect(e.l, e.t, e.r, e.b) : CRect(e.t, e.l, e.b, e.r);
        const CRect got = byId[e.nId];
        EXPECT_TRUE(got == want) << "bar " << e.nId << ": " << got.left << "," << got.top << "," << got.right
                                 << "," << got.bottom;
      }
    }
  }
}

TEST(DockBarLayout, RowsStackAwayFromTheEdge) {
  const std::vector<ModelBar> bars = {{100, 100, 20, 0, 0}, {100, 100, 26, 0, 0}};
  std::vector<std::vector<XTPDockRowBar>> rows = {RowOf({bars[0]}, TRUE), RowOf({bars[1]}, TRUE)};
  rows[1][0].nId = 1;
  std::vector<XTPDockPlacement> placed;
  const CSize size =
      XTPDockLayoutAll(rows, 300, xtpDockModeHorizontal | xtpDockModeStretch, MeasureOf(bars), placed);
  EXPECT_TRUE(size == CSize(32767, 46));
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_TRUE(placed[1].rc == CRect(0, 20, 100, 46));
}

TEST(DockBarLayout, DockFlags) {
  EXPECT_EQ(XTPDockGetDockFlags(TRUE, 0, TRUE), 10u);
  EXPECT_EQ(XTPDockGetDockFlags(FALSE, 0, TRUE), 16u);
  EXPECT_EQ(XTPDockGetDockFlags(TRUE, kDockBarFlagFullRow | kDockBarFlagWrap, TRUE), 10u + 1 + 128);
  EXPECT_EQ(XTPDockGetDockFlags(FALSE, kDockBarFlagWrap, FALSE), 16u);
}

// --- The entry list over plain pointers -----------------------------------

struct EntryBar {
  BOOL bVisible = TRUE;
  int nFar = 0; // far edge across the rows
  BOOL bFullRow = FALSE;
};

std::function<BOOL(const EntryBar *, int &)> FarEdge() {
  return [](const EntryBar *p, int &nFar) {
    nFar = p->nFar;
    return p->bVisible;
  };
}

TEST(DockBarLayout, InsertByCentre) {
  EntryBar a{TRUE, 20}, b{TRUE, 46}, hidden{FALSE, 99}, n;
  struct Case {
    const char *pszName;
    int nCentre;
    std::vector<EntryBar *> expected;
  };
  const Case kCases[] = {
      {"into the first row", 5, {nullptr, &n, &a, nullptr, &b, &hidden, nullptr}},
      {"into the second row", 30, {nullptr, &a, nullptr, &n, &b, &hidden, nullptr}},
      {"exactly on the first row's far edge opens a row",
       20,
       {nullptr, &a, nullptr, &n, nullptr, &b, &hidden, nullptr}},
      {"beyond every row opens the last", 60, {nullptr, &a, nullptr, &b, &hidden, nullptr, &n, nullptr}},
      {"a hidden bar's edge does not count", 50, {nullptr, &a, nullptr, &b, &hidden, nullptr, &n, nullptr}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.pszName);
    std::vector<EntryBar *> entries = {nullptr, &a, nullptr, &b, &hidden, nullptr};
    XTPDockInsertBar<EntryBar>(entries, &n, c.nCentre, FarEdge());
    EXPECT_EQ(entries, c.expected);
  }
  std::vector<EntryBar *> empty = {nullptr};
  EXPECT_EQ(XTPDockInsertBar<EntryBar>(empty, &n, 10, FarEdge()), 1);
  EXPECT_EQ(empty, (std::vector<EntryBar *>{nullptr, &n, nullptr}));
}

TEST(DockBarLayout, RemoveLeavesOneNullBetweenRows) {
  EntryBar a, b, c;
  std::vector<EntryBar *> entries = {nullptr, &a, nullptr, &b, nullptr, &c, nullptr};
  EXPECT_TRUE(XTPDockRemoveEntry(entries, &b));
  EXPECT_EQ(entries, (std::vector<EntryBar *>{nullptr, &a, nullptr, &c, nullptr}));
  EXPECT_FALSE(XTPDockRemoveEntry(entries, &b));
  // The kept entry survives: the bar was just docked again at index 3.
  entries = {nullptr, &a, nullptr, &a, nullptr};
  EXPECT_TRUE(XTPDockRemoveEntry(entries, &a, 3));
  EXPECT_EQ(entries, (std::vector<EntryBar *>{nullptr, &a, nullptr}));
}

TEST(DockBarLayout, FullRowBarsGetARowOfTheirOwn) {
  EntryBar a, full{TRUE, 0, TRUE}, b;
  std::vector<EntryBar *> entries = {nullptr, &a, &full, &b, nullptr};
  XTPDockFixFullRowBars<EntryBar>(entries, [](const EntryBar *p) { return p->bFullRow; });
  EXPECT_EQ(entries, (std::vector<EntryBar *>{nullptr, &a, nullptr, &full, nullptr, &b, nullptr}));
  const auto rows = XTPDockSplitRows<EntryBar>(entries, [](const EntryBar *) { return TRUE; });
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], std::vector<EntryBar *>{&full});
}

} // namespace

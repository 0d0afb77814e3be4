// Toolbar drag geometry as tables: the grabbed point kept in the moved
// rectangle, the dock bar chosen near the cursor (strictly closer than 20
// pixels, the current one first), and floating edges dragged.
#include <gtest/gtest.h>

#include <string>

#include "XTPDockContext.h"

namespace {

std::string Str(const CRect &rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
         std::to_string(rc.bottom);
}

TEST(DockContext, AdjustRectangleBringsThePointIn) {
  const struct {
    CPoint pt;
    CRect expected;
  } kCases[] = {
      {{50, 30}, {10, 10, 110, 40}},  // inside: unchanged
      {{5, 20}, {5, 10, 105, 40}},    // 5 left of it
      {{130, 60}, {30, 30, 130, 60}}, // right and below
      {{110, 10}, {10, 10, 110, 40}}, // on the corner
      {{60, 0}, {10, 0, 110, 30}},    // above
  };
  for (const auto &c : kCases) {
    CRect rc(10, 10, 110, 40);
    CXTPDockContext::AdjustRectangle(rc, c.pt);
    EXPECT_EQ(Str(rc), Str(c.expected)) << c.pt.x << "," << c.pt.y;
  }
}

TEST(DockContext, DockBarNearTheCursor) {
  // A 400 x 300 frame client at (100, 100) with empty top, bottom, left and
  // right dock bars (zero-thick strips along the edges) and a 24-high top one.
  const CRect kEmpty[4] = {
      {100, 100, 500, 100}, {100, 400, 500, 400}, {100, 100, 100, 400}, {500, 100, 500, 400}};
  const CRect kTopFilled[4] = {
      {100, 100, 500, 124}, {100, 400, 500, 400}, {100, 124, 100, 400}, {500, 124, 500, 400}};
  const struct {
    const char *pszName;
    const CRect *pRects;
    CPoint pt;
    int nCurrent;
    int nExpected;
  } kCases[] = {
      {"19 above the empty top bar docks", kEmpty, {300, 81}, -1, 0},
      {"20 above it does not", kEmpty, {300, 80}, -1, -1},
      {"20 left of the left bar does not (the grown edge is outside)", kEmpty, {80, 250}, -1, -1},
      {"19 left of it docks", kEmpty, {81, 250}, -1, 2},
      {"near the bottom", kEmpty, {300, 410}, -1, 1},
      {"right", kEmpty, {515, 250}, -1, 3},
      {"the middle of the frame: none, the bar floats", kEmpty, {300, 250}, -1, -1},
      {"a corner near top and left: top comes first", kEmpty, {105, 105}, -1, 0},
      {"the same corner while docked left: left stays", kEmpty, {105, 105}, 2, 2},
      {"inside a filled top bar", kTopFilled, {300, 120}, -1, 0},
      {"a current bar the cursor left gives way", kTopFilled, {300, 390}, 0, 1},
  };
  for (const auto &c : kCases) {
    EXPECT_EQ(CXTPDockContext::FindDockBar(c.pt, c.pRects, c.nCurrent), c.nExpected) << c.pszName;
  }
}

TEST(DockContext, FloatingEdgeDrag) {
  const CRect kWindow(100, 100, 300, 150);
  const struct {
    int nCode;
    CSize delta;
    CRect rcFloat;
    int nLength;
    DWORD dwMode;
    CSize measured;
    CRect rcWindow;
  } kCases[] = {
      // The left edge: the right edge stays.
      {HTLEFT,
       {40, 0},
       {140, 100, 300, 150},
       160,
       kLayoutHorz | kLayoutCommit,
       {150, 75},
       {150, 100, 300, 175}},
      {HTRIGHT,
       {-50, 0},
       {100, 100, 250, 150},
       150,
       kLayoutHorz | kLayoutCommit,
       {140, 75},
       {100, 100, 240, 175}},
      // The top edge: the bottom stays.
      {HTTOP,
       {0, -30},
       {100, 70, 300, 150},
       80,
       kLayoutHorz | kLayoutCommit | kLayoutLengthY,
       {120, 80},
       {100, 70, 220, 150}},
      {HTBOTTOM,
       {0, 20},
       {100, 100, 300, 170},
       70,
       kLayoutHorz | kLayoutCommit | kLayoutLengthY,
       {150, 75},
       {100, 100, 250, 175}},
      // Dragged past the opposite edge: the length is 0, not negative.
      {HTRIGHT,
       {-300, 0},
       {100, 100, 0, 150},
       0,
       kLayoutHorz | kLayoutCommit,
       {30, 200},
       {100, 100, 130, 300}},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.nCode);
    CRect rcFloat = kWindow;
    int nLength = -1;
    DWORD dwMode = 0;
    CXTPDockContext::MoveFloatingEdge(c.nCode, rcFloat, c.delta, nLength, dwMode);
    EXPECT_EQ(Str(rcFloat), Str(c.rcFloat));
    EXPECT_EQ(nLength, c.nLength);
    EXPECT_EQ(dwMode, c.dwMode);
    EXPECT_EQ(Str(CXTPDockContext::ResizedWindowRect(c.nCode, kWindow, c.measured)), Str(c.rcWindow));
  }
}

TEST(DockContext, DragOutcomes) {
  // Frame client (100, 100)-(500, 400); a 24-high top dock bar holding the
  // dragged bar at (100, 100)-(200, 124), the other three dock bars empty.
  const CRect kDockBars[4] = {
      {100, 100, 500, 124}, {100, 400, 500, 400}, {100, 100, 100, 400}, {500, 100, 500, 400}};
  const CRect kBar(100, 100, 200, 124);
  constexpr int kFloat = CXTPDockContext::kMoveFloat, kStay = CXTPDockContext::kMoveStay;
  const struct {
    const char *name;
    CPoint start, end;
    int nCurrent;
    DWORD dwAllowed;
    CSize floatSize;
    int expected;
    CRect expectedFloat;
  } kCases[] = {
      {"along the top row stays on top", {110, 110}, {300, 112}, 0, 0x1F, {120, 50}, 0, {}},
      {"into the client floats", {110, 110}, {300, 250}, 0, 0x1F, {120, 50}, kFloat, {290, 240, 410, 290}},
      {"near the bottom docks there", {110, 110}, {300, 395}, 0, 0x1F, {120, 50}, 1, {}},
      {"near the left docks there", {110, 110}, {105, 250}, 0, 0x1F, {120, 50}, 2, {}},
      {"left not allowed floats", {110, 110}, {105, 250}, 0, 0x1B, {120, 50}, kFloat, {95, 240, 215, 290}},
      {"neither left nor floating stays", {110, 110}, {105, 250}, 0, 0x0B, {120, 50}, kStay, {}},
      {"top-left corner: the current top wins", {110, 110}, {110, 115}, 0, 0x1F, {120, 50}, 0, {}},
      {"top-left corner: the current left wins", {110, 110}, {110, 115}, 2, 0x1F, {120, 50}, 2, {}},
      {"floating near both: top before left", {110, 110}, {110, 115}, -1, 0x1F, {120, 50}, 0, {}},
      {"narrower float keeps the cursor on it",
       {195, 110},
       {450, 300},
       0,
       0x1F,
       {40, 30},
       kFloat,
       {410, 290, 450, 320}},
  };
  for (const auto &c : kCases) {
    CRect rcDrag(kBar);
    CXTPDockContext::AdjustRectangle(rcDrag, c.start);
    rcDrag.OffsetRect(c.end - c.start);
    int nMove = CXTPDockContext::ChooseMove(c.end, kDockBars, c.nCurrent, c.dwAllowed);
    EXPECT_EQ(nMove, c.expected) << c.name;
    if (nMove == kFloat && c.expected == kFloat) {
      EXPECT_EQ(Str(CXTPDockContext::FloatRectangle(rcDrag.TopLeft(), c.floatSize, c.end)),
                Str(c.expectedFloat))
          << c.name;
    }
  }
}

TEST(DockContext, DoubleClickFloatPoint) {
  const CRect kWindow(120, 80, 220, 104);
  const struct {
    CPoint ptFloat, expected;
  } kCases[] = {
      {{0, 0}, {120, 80}},     // never floated: where it is
      {{300, 0}, {120, 80}},   // one coordinate below 1
      {{-5, 200}, {120, 80}},  // negative
      {{1, 1}, {1, 1}},        // the smallest kept
      {{300, 250}, {300, 250}} // its last floating place
  };
  for (const auto &c : kCases) {
    CPoint pt = CXTPDockContext::ToggleFloatPoint(c.ptFloat, kWindow);
    EXPECT_EQ(pt.x, c.expected.x) << c.ptFloat.x << "," << c.ptFloat.y;
    EXPECT_EQ(pt.y, c.expected.y) << c.ptFloat.x << "," << c.ptFloat.y;
  }
}

TEST(DockContext, DialogBarEdgesAndCorners) {
  const struct {
    int nCode;
    CRect expected;
  } kCases[] = {
      {HTLEFT, {15, 10, 110, 60}},       {HTRIGHT, {10, 10, 115, 60}},       {HTTOP, {10, 17, 110, 60}},
      {HTBOTTOM, {10, 10, 110, 67}},     {HTTOPLEFT, {15, 17, 110, 60}},     {HTTOPRIGHT, {10, 17, 115, 60}},
      {HTBOTTOMLEFT, {15, 10, 110, 67}}, {HTBOTTOMRIGHT, {10, 10, 115, 67}},
  };
  for (const auto &c : kCases) {
    CRect rc(10, 10, 110, 60);
    CXTPDockContext::MoveDialogBarEdges(c.nCode, rc, CSize(5, 7));
    EXPECT_EQ(Str(rc), Str(c.expected)) << c.nCode;
  }
}

} // namespace

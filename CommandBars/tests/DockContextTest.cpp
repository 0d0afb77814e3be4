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

} // namespace

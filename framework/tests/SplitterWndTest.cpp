// The splitter's pure layout: how the space is shared between panes.
#include <gtest/gtest.h>

#include <vector>

#include "Framework.h"

namespace {

struct LayoutCase {
  const char *name;
  std::vector<int> ideal;
  std::vector<int> minimum;
  int total;
  std::vector<int> expected;
};

TEST(SplitterLayout, SharesTheSpaceAsTheIdealSizesAsk) {
  const int bar = 6;
  const LayoutCase cases[] = {
      {"one pane takes everything", {100}, {0}, 500, {500}},
      {"first gets its ideal, last the rest", {240, 100}, {0, 0}, 800, {240, 554}},
      {"ideal larger than the room", {900, 100}, {0, 0}, 500, {500, 0}},
      {"ideal below the minimum hides the pane", {20, 100}, {30, 0}, 500, {0, 494}},
      {"three columns", {100, 100, 5}, {0, 0, 0}, 400, {100, 100, 188}},
      {"no room at all", {100, 100}, {0, 0}, 0, {0, 0}},
      {"negative total is no room", {100, 100}, {0, 0}, -20, {0, 0}},
      {"bar eats the last pixels", {97, 100}, {0, 0}, 100, {97, 0}},
  };
  for (const LayoutCase &c : cases) {
    std::vector<CSplitterRowColInfo> info(c.ideal.size());
    for (size_t i = 0; i < info.size(); i++) {
      info[i].nIdealSize = c.ideal[i];
      info[i].nMinSize = c.minimum[i];
    }
    AfxLayoutSplitterPanes(info, c.total, bar);
    std::vector<int> sizes;
    for (const CSplitterRowColInfo &pane : info) sizes.push_back(pane.nCurSize);
    EXPECT_EQ(sizes, c.expected) << c.name;
  }
}

TEST(SplitterWnd, PanesAreNumberedByRowAndColumn) {
  CSplitterWnd splitter;
  EXPECT_EQ(splitter.IdFromRowCol(0, 0), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(splitter.IdFromRowCol(0, 1), AFX_IDW_PANE_FIRST + 1);
  EXPECT_EQ(splitter.IdFromRowCol(1, 0), AFX_IDW_PANE_FIRST + 16);
  CWnd parent;
  ASSERT_TRUE(
      parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr));
  EXPECT_FALSE(splitter.CreateStatic(&parent, 0, 2)) << "a splitter needs a pane";
  ASSERT_TRUE(splitter.CreateStatic(&parent, 1, 2));
  EXPECT_EQ(splitter.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(splitter.GetPane(0, 1), nullptr);
  EXPECT_FALSE(splitter.CreateView(0, 2, RUNTIME_CLASS(CView), CSize(10, 10), nullptr)) << "no such column";
  parent.DestroyWindow();
}

} // namespace

// The tab manager: items, selection, colours, keyboard, hit tests, the laid-out
// rectangles of each position and layout, scrolling and the navigate buttons
// (their held repeat driven by a timer), reordering by drag and tooltips.
#include <gtest/gtest.h>

#include "TabTestStrip.h"

#include <cstdlib>

namespace {

using Lengths = std::vector<int>;

CRect R(int l, int t, int r, int b) {
  return CRect(l, t, r, b);
}

::testing::AssertionResult SameRect(const CRect &a, const CRect &b) {
  if (a == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << a.left << ", " << a.top << ", " << a.right << ", " << a.bottom << ") != (" << b.left
         << ", " << b.top << ", " << b.right << ", " << b.bottom << ")";
}

TEST(TabManagerItems, ColourIndexesCycleThroughEight) {
  TestStrip strip;
  for (int i = 0; i < 9; i++) strip.AddItem(-1);
  EXPECT_EQ(strip.GetItem(0)->GetRawColor(), 0x1000000u);
  EXPECT_EQ(strip.GetItem(7)->GetRawColor(), 0x1000007u);
  EXPECT_EQ(strip.GetItem(8)->GetRawColor(), 0x1000000u);
  EXPECT_EQ(strip.GetItem(8)->GetColor(), 0xE4A88Au);
  EXPECT_EQ(strip.GetItem(1)->GetColor(), 0x75DBFFu);
  strip.GetItem(2)->SetColor(RGB(1, 2, 3));
  EXPECT_EQ(strip.GetItem(2)->GetColor(), RGB(1, 2, 3)); // a plain colour stays
  // Deleting does not reuse indexes: the counter counts every tab ever added.
  strip.DeleteItem(0);
  EXPECT_EQ(strip.AddItem(-1)->GetRawColor(), 0x1000001u);
}

TEST(TabManagerItems, AddOutOfRangeAppendsAndIndexesFollowTheArray) {
  TestStrip strip;
  CXTPTabManagerItem *a = strip.AddItem(-1);
  CXTPTabManagerItem *b = strip.AddItem(5);
  CXTPTabManagerItem *c = strip.AddItem(0);
  EXPECT_EQ(strip.GetItem(0), c);
  EXPECT_EQ(strip.GetItem(1), a);
  EXPECT_EQ(strip.GetItem(2), b);
  for (int i = 0; i < 3; i++) EXPECT_EQ(strip.GetItem(i)->GetIndex(), i);
  EXPECT_EQ(strip.GetItem(3), nullptr);
  EXPECT_EQ(strip.GetItem(-1), nullptr);
  EXPECT_FALSE(strip.DeleteItem(3));
  EXPECT_FALSE(strip.DeleteItem(-1));
}

TEST(TabManagerItems, DeletingTheSelectedTabSelectsItsSuccessor) {
  const struct {
    int count, selected, deleted, expected; // expected index after, -1 none
  } kCases[] = {
      {3, 1, 1, 1}, // successor moves into the index
      {3, 2, 2, 1}, // was last: the new last
      {1, 0, 0, -1},
      {3, 0, 2, 0}, // another tab: selection kept
  };
  for (const auto &c : kCases) {
    TestStrip strip;
    for (int i = 0; i < c.count; i++) strip.AddItem(-1);
    strip.SetCurSel(c.selected);
    ASSERT_TRUE(strip.DeleteItem(c.deleted));
    EXPECT_EQ(strip.GetCurSel(), c.expected) << c.count << " " << c.selected << " " << c.deleted;
  }
}

TEST(TabManagerItems, SetCurSelClampsAndEmptyStripsSelectNothing) {
  TestStrip strip;
  strip.SetCurSel(3);
  EXPECT_EQ(strip.GetSelectedItem(), nullptr);
  strip.AddItem(-1);
  strip.AddItem(-1);
  strip.SetCurSel(-4);
  EXPECT_EQ(strip.GetCurSel(), 0);
  strip.SetCurSel(9);
  EXPECT_EQ(strip.GetCurSel(), 1);
  strip.DeleteAllItems();
  EXPECT_EQ(strip.GetSelectedItem(), nullptr);
  EXPECT_EQ(strip.GetHighlightedItem(), nullptr);
}

TEST(TabManagerItems, CaptionChangesLayOutOnlyWhenTheTextDiffers) {
  TestStrip strip;
  CXTPTabManagerItem *pItem = strip.AddItem(-1);
  pItem->SetCaption(L"One");
  int before = strip.repositions;
  pItem->SetCaption(L"One");
  EXPECT_EQ(strip.repositions, before);
  pItem->SetCaption(L"Two");
  EXPECT_EQ(strip.repositions, before + 1);
}

TEST(TabManagerKeys, HomeEndAndArrowsAlongTheStrip) {
  const struct {
    XTPTabPosition position;
    int selected;
    UINT key;
    int expected;
  } kCases[] = {
      {xtpTabPositionTop, 1, VK_END, 3},      {xtpTabPositionTop, 2, VK_HOME, 0},
      {xtpTabPositionTop, 1, VK_LEFT, 0},     {xtpTabPositionTop, 1, VK_RIGHT, 2},
      {xtpTabPositionTop, 0, VK_LEFT, 0},     {xtpTabPositionTop, 3, VK_RIGHT, 3},
      {xtpTabPositionTop, 1, VK_DOWN, 1},     {xtpTabPositionLeft, 1, VK_LEFT, 1},
      {xtpTabPositionLeft, 1, VK_UP, 0},      {xtpTabPositionRight, 1, VK_DOWN, 2},
      {xtpTabPositionBottom, 2, VK_RIGHT, 3}, {xtpTabPositionTop, -1, VK_RIGHT, -1},
      {xtpTabPositionTop, -1, VK_HOME, 0},
  };
  for (const auto &c : kCases) {
    TestStrip strip;
    strip.paint.SetPosition(c.position);
    for (int i = 0; i < 4; i++) strip.AddItem(-1);
    if (c.selected >= 0) strip.SetCurSel(c.selected);
    strip.PerformKeyDown(nullptr, c.key);
    EXPECT_EQ(strip.GetCurSel(), c.expected) << c.position << " " << c.key;
  }
  TestStrip empty;
  empty.PerformKeyDown(nullptr, VK_END); // nothing to select, nothing happens
  EXPECT_EQ(empty.GetSelectedItem(), nullptr);
}

// --- layouts ---

struct LayoutCase {
  const char *name;
  XTPTabPosition position;
  XTPTabLayoutStyle layout;
  CRect control;
  Lengths lengths;
  int selected;
  std::vector<CRect> items;
  CRect header;
};

class TabLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TabLayout, RectanglesOfEveryTab) {
  const LayoutCase &c = GetParam();
  TestStrip strip;
  strip.UseFixedLengths();
  strip.rcControl = c.control;
  strip.paint.SetPosition(c.position);
  strip.paint.SetLayout(c.layout);
  strip.AddTabs(c.lengths);
  if (c.selected >= 0) strip.SetCurSel(c.selected);
  ASSERT_EQ(static_cast<size_t>(strip.GetItemCount()), c.items.size());
  for (int i = 0; i < strip.GetItemCount(); i++)
    EXPECT_TRUE(SameRect(strip.GetItem(i)->GetRect(), c.items[i])) << i;
  EXPECT_TRUE(SameRect(strip.GetHeaderRect(), c.header));
}

// Style 0: strip margins 2, 3, 6, 0, rows 20 high overlapping by 2.
INSTANTIATE_TEST_SUITE_P(
    Table, TabLayout,
    ::testing::Values(LayoutCase{"top",
                                 xtpTabPositionTop,
                                 xtpTabLayoutAutoSize,
                                 R(0, 0, 300, 100),
                                 {50, 60, 70},
                                 -1,
                                 {R(2, 3, 52, 23), R(52, 3, 112, 23), R(112, 3, 182, 23)},
                                 R(0, 0, 299, 23)},
                      LayoutCase{"bottom",
                                 xtpTabPositionBottom,
                                 xtpTabLayoutAutoSize,
                                 R(0, 0, 300, 100),
                                 {50, 60, 70},
                                 -1,
                                 {R(2, 77, 52, 97), R(52, 77, 112, 97), R(112, 77, 182, 97)},
                                 R(0, 77, 299, 100)},
                      LayoutCase{"left",
                                 xtpTabPositionLeft,
                                 xtpTabLayoutAutoSize,
                                 R(0, 0, 300, 100),
                                 {30, 40},
                                 -1,
                                 {R(3, 2, 23, 32), R(3, 32, 23, 72)},
                                 R(0, 0, 23, 99)},
                      LayoutCase{"right",
                                 xtpTabPositionRight,
                                 xtpTabLayoutAutoSize,
                                 R(0, 0, 300, 100),
                                 {30, 40},
                                 -1,
                                 {R(277, 2, 297, 32), R(277, 32, 297, 72)},
                                 R(277, 0, 300, 99)},
                      LayoutCase{"compressed",
                                 xtpTabPositionTop,
                                 xtpTabLayoutCompressed,
                                 R(0, 0, 188, 100),
                                 {100, 80, 40},
                                 -1,
                                 {R(2, 3, 72, 23), R(72, 3, 142, 23), R(142, 3, 182, 23)},
                                 R(0, 0, 187, 23)},
                      // Overflowing: the scroll buttons take the far end (Left 271-285, Right 285-299).
                      LayoutCase{
                          "scroll",
                          xtpTabPositionTop,
                          xtpTabLayoutAutoSize,
                          R(0, 0, 300, 100),
                          {100, 100, 100, 100},
                          -1,
                          {R(2, 3, 102, 23), R(102, 3, 202, 23), R(202, 3, 302, 23), R(302, 3, 402, 23)},
                          R(0, 0, 271, 23)},
                      // Several rows: balanced 1-2-2, the selected tab's row moved next to
                      // the client area, every row justified to the room of 291.
                      LayoutCase{"multirow",
                                 xtpTabPositionTop,
                                 xtpTabLayoutMultiRow,
                                 R(0, 0, 300, 100),
                                 {100, 100, 100, 100, 100},
                                 4,
                                 {R(2, 3, 293, 23), R(2, 21, 147, 41), R(147, 21, 293, 41), R(2, 39, 147, 59),
                                  R(147, 39, 293, 59)},
                                 R(0, 0, 299, 59)},
                      LayoutCase{"multirow bottom",
                                 xtpTabPositionBottom,
                                 xtpTabLayoutMultiRow,
                                 R(0, 0, 300, 100),
                                 {100, 100, 100, 100, 100},
                                 0,
                                 {R(2, 41, 293, 61), R(2, 59, 147, 79), R(147, 59, 293, 79),
                                  R(2, 77, 147, 97), R(147, 77, 293, 97)},
                                 R(0, 41, 299, 100)}),
    [](const ::testing::TestParamInfo<LayoutCase> &info) {
      std::string name = info.param.name;
      for (char &ch : name)
        if (ch == ' ') ch = '_';
      return name;
    });

TEST(TabManagerLayout, RowsAndClientArea) {
  TestStrip strip;
  strip.UseFixedLengths();
  strip.paint.SetLayout(xtpTabLayoutMultiRow);
  strip.AddTabs({100, 100, 100, 100, 100});
  strip.SetCurSel(4);
  CXTPTabManagerRowIndexer *pRows = strip.GetRowIndexer();
  ASSERT_EQ(pRows->GetRowCount(), 3);
  EXPECT_EQ(pRows->GetRow(0).nFirstItem, 3);
  EXPECT_EQ(pRows->GetRow(0).nLastItem, 4);
  EXPECT_EQ(pRows->GetRow(2).nFirstItem, 0);
  EXPECT_EQ(strip.GetItem(4)->GetItemRow(), 0);
  EXPECT_EQ(strip.GetItem(0)->GetItemRow(), 2);
  // Client: below the strip (its top one pixel inside it), less the full frame's 2.
  EXPECT_TRUE(SameRect(strip.GetClientRect(), R(2, 60, 298, 98)));
  // Keeping the row order leaves the selected tab's row where it fell.
  strip.paint.m_bMultiRowFixedSelection = TRUE;
  strip.Reposition();
  EXPECT_EQ(pRows->GetRow(0).nFirstItem, 0);
  EXPECT_EQ(strip.GetItem(4)->GetItemRow(), 2);
}

TEST(TabManagerLayout, HitTestSkipsDisabledHiddenAndOutsideTheHeader) {
  TestStrip strip;
  strip.UseFixedLengths();
  strip.AddTabs({50, 50, 50});
  EXPECT_EQ(strip.HitTest(CPoint(10, 10)), strip.GetItem(0));
  EXPECT_EQ(strip.HitTest(CPoint(60, 10)), strip.GetItem(1));
  EXPECT_EQ(strip.HitTest(CPoint(60, 50)), nullptr);  // below the header
  EXPECT_EQ(strip.HitTest(CPoint(400, 10)), nullptr); // outside the control
  EXPECT_EQ(strip.HitTest(CPoint(1, 10)), nullptr);   // the leading margin
  strip.GetItem(1)->SetEnabled(FALSE);
  EXPECT_EQ(strip.HitTest(CPoint(60, 10)), nullptr);
  strip.GetItem(1)->SetEnabled(TRUE);
  strip.GetItem(0)->SetVisible(FALSE); // hidden: no length, the next tab moves in
  EXPECT_EQ(strip.HitTest(CPoint(10, 10)), strip.GetItem(1));
}

// --- scrolling and navigate buttons ---

TEST(TabManagerScroll, OffsetNeverPositiveAndStopsAtTheLastTab) {
  TestStrip strip;
  strip.UseFixedLengths();
  strip.AddTabs({100, 100, 100, 100, 100});
  strip.OnScroll(FALSE);
  EXPECT_EQ(strip.GetHeaderOffset(), 0);
  strip.SetHeaderOffset(15);
  EXPECT_EQ(strip.GetHeaderOffset(), 0);
  strip.OnScroll(TRUE);
  EXPECT_EQ(strip.GetHeaderOffset(), -20);
  EXPECT_EQ(strip.GetItem(0)->GetRect().left, 2 - 20);
  EXPECT_TRUE(strip.FindNavigateButton(xtpTabNavigateButtonLeft)->IsEnabled());
  for (int i = 0; i < 30; i++) strip.OnScroll(TRUE);
  // The usable end is 271 (the buttons take 28): the last tab ends there.
  EXPECT_EQ(strip.GetItem(4)->GetRect().right, 271);
  EXPECT_EQ(strip.GetHeaderOffset(), 271 - 502);
  EXPECT_FALSE(strip.FindNavigateButton(xtpTabNavigateButtonRight)->IsEnabled());
}

TEST(TabManagerScroll, RightButtonEnabledOnlyWhileTabsReachPastTheRowLessTwentyEight) {
  const struct {
    int total;
    BOOL enabled;
  } kCases[] = {{400, TRUE}, {270, TRUE}, {269, FALSE}};
  for (const auto &c : kCases) {
    TestStrip strip;
    strip.UseFixedLengths();
    strip.FindNavigateButton(xtpTabNavigateButtonRight)->SetFlags(xtpTabNavigateButtonAlways);
    strip.FindNavigateButton(xtpTabNavigateButtonLeft)->SetFlags(xtpTabNavigateButtonAlways);
    strip.AddTabs({c.total});
    // The buttons are placed from the last: Right sees the row 2..299, 297 long.
    EXPECT_EQ(strip.FindNavigateButton(xtpTabNavigateButtonRight)->IsEnabled(), c.enabled) << c.total;
    EXPECT_FALSE(strip.FindNavigateButton(xtpTabNavigateButtonLeft)->IsEnabled());
  }
}

TEST(TabManagerScroll, SelectingAHiddenTabScrollsItIntoView) {
  TestStrip strip;
  strip.UseFixedLengths();
  strip.AddTabs({100, 100, 100, 100, 100});
  strip.SetCurSel(3);
  CRect rc = strip.GetItem(3)->GetRect();
  EXPECT_EQ(rc.right, strip.GetHeaderRect().right);
  strip.SetCurSel(0);
  EXPECT_EQ(strip.GetItem(0)->GetRect().left, 2);
  EXPECT_EQ(strip.GetHeaderOffset(), 0);
}

TEST(TabManagerScroll, ButtonsHiddenInCompressedAndMultiRowLayouts) {
  for (XTPTabLayoutStyle layout : {xtpTabLayoutCompressed, xtpTabLayoutMultiRow}) {
    TestStrip strip;
    strip.UseFixedLengths();
    strip.paint.SetLayout(layout);
    strip.AddTabs({100, 100, 100, 100, 100});
    EXPECT_TRUE(strip.FindNavigateButton(xtpTabNavigateButtonLeft)->GetRect().IsRectEmpty());
    EXPECT_TRUE(strip.FindNavigateButton(xtpTabNavigateButtonRight)->GetRect().IsRectEmpty());
  }
}

TEST(TabManagerScroll, CloseButtonShownForAClosableSelection) {
  TestStrip strip;
  strip.UseFixedLengths();
  CXTPTabManagerNavigateButton *pClose = strip.FindNavigateButton(xtpTabNavigateButtonClose);
  pClose->SetFlags(xtpTabNavigateButtonAutomatic);
  strip.AddTabs({50, 50});
  EXPECT_TRUE(pClose->GetRect().IsRectEmpty()); // nothing selected
  strip.SetCurSel(0);
  EXPECT_TRUE(SameRect(pClose->GetRect(), R(285, 6, 299, 21)));
  EXPECT_EQ(strip.GetHeaderRect().right, 285);
  strip.GetItem(0)->SetClosable(FALSE);
  strip.Reposition();
  EXPECT_TRUE(pClose->GetRect().IsRectEmpty());
}

// A window to capture the mouse on, for the nested loops.
class CaptureWindow {
public:
  CaptureWindow() {
    hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 320, 120, nullptr, nullptr, nullptr, nullptr);
  }
  ~CaptureWindow() { ::DestroyWindow(hWnd); }
  HWND hWnd;
};

LPARAM PointParam(CPoint pt) {
  return MAKELPARAM(pt.x, pt.y);
}

HWND g_hReleaseWnd = nullptr;
CPoint g_ptRelease;

void CALLBACK ReleaseButton(HWND, UINT, UINT_PTR nId, DWORD) {
  ::KillTimer(nullptr, nId);
  ::PostMessage(g_hReleaseWnd, WM_LBUTTONUP, 0, PointParam(g_ptRelease));
}

TEST(TabManagerNavigate, HeldScrollButtonRepeatsWithTheMouseStill) {
  CaptureWindow window;
  TestStrip strip;
  strip.UseFixedLengths();
  strip.hWnd = window.hWnd;
  strip.AddTabs({100, 100, 100, 100, 100, 100, 100, 100});
  CXTPTabManagerNavigateButton *pRight = strip.FindNavigateButton(xtpTabNavigateButtonRight);
  ASSERT_FALSE(pRight->GetRect().IsRectEmpty());
  CPoint pt = pRight->GetRect().CenterPoint();
  // Nothing reaches the queue for 300 ms but the timer that lets go.
  g_hReleaseWnd = window.hWnd;
  g_ptRelease = pt;
  ::SetTimer(nullptr, 0, 300, ReleaseButton);
  DWORD dwStart = ::GetTickCount();
  EXPECT_TRUE(strip.PerformClick(window.hWnd, pt));
  DWORD dwElapsed = ::GetTickCount() - dwStart;
  EXPECT_GE(dwElapsed, 250u);
  EXPECT_GE(pRight->GetRepeatCount(), 5) << "held for " << dwElapsed << " ms";
  EXPECT_LE(pRight->GetRepeatCount(), static_cast<int>(dwElapsed / 20) + 1);
  EXPECT_EQ(strip.GetHeaderOffset(), -20 * pRight->GetRepeatCount());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_FALSE(pRight->IsPressed());
}

TEST(TabManagerNavigate, QuickClickDoesNotScrollAndCloseExecutesOnRelease) {
  CaptureWindow window;
  TestStrip strip;
  strip.UseFixedLengths();
  strip.AddTabs({100, 100, 100, 100, 100});
  CPoint pt = strip.FindNavigateButton(xtpTabNavigateButtonRight)->GetRect().CenterPoint();
  ::PostMessage(window.hWnd, WM_LBUTTONUP, 0, PointParam(pt));
  strip.PerformClick(window.hWnd, pt);
  EXPECT_EQ(strip.GetHeaderOffset(), 0);

  CXTPTabManagerNavigateButton *pClose = strip.FindNavigateButton(xtpTabNavigateButtonClose);
  pClose->SetFlags(xtpTabNavigateButtonAlways);
  strip.Reposition();
  CPoint ptClose = pClose->GetRect().CenterPoint();
  ::PostMessage(window.hWnd, WM_KEYDOWN, 'A', 0); // swallowed
  ::PostMessage(window.hWnd, WM_LBUTTONUP, 0, PointParam(ptClose));
  strip.PerformClick(window.hWnd, ptClose);
  ASSERT_EQ(strip.clicks.size(), 1u);
  EXPECT_EQ(strip.clicks[0], xtpTabNavigateButtonClose);
  // Released elsewhere: no click; Escape cancels.
  ::PostMessage(window.hWnd, WM_LBUTTONUP, 0, PointParam(CPoint(5, 5)));
  strip.PerformClick(window.hWnd, ptClose);
  ::PostMessage(window.hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
  strip.PerformClick(window.hWnd, ptClose);
  EXPECT_EQ(strip.clicks.size(), 1u);
}

TEST(TabManagerDrag, DraggedTabTakesThePlaceItEnters) {
  CaptureWindow window;
  TestStrip strip;
  strip.UseFixedLengths();
  strip.AddTabs({50, 50, 50});
  CXTPTabManagerItem *a = strip.GetItem(0), *b = strip.GetItem(1), *c = strip.GetItem(2);
  strip.SetCurSel(1);
  ::PostMessage(window.hWnd, WM_MOUSEMOVE, 0, PointParam(CPoint(120, 10)));
  ::PostMessage(window.hWnd, WM_LBUTTONUP, 0, PointParam(CPoint(120, 10)));
  EXPECT_TRUE(strip.PerformClick(window.hWnd, CPoint(10, 10)));
  EXPECT_EQ(strip.GetItem(0), c);
  EXPECT_EQ(strip.GetItem(1), b);
  EXPECT_EQ(strip.GetItem(2), a);
  EXPECT_EQ(strip.GetSelectedItem(), a);
  EXPECT_EQ(a->GetIndex(), 2);
  // Without reordering a press only selects.
  strip.SetAllowReorder(FALSE);
  EXPECT_TRUE(strip.PerformClick(window.hWnd, CPoint(10, 10)));
  EXPECT_EQ(strip.GetSelectedItem(), c);
  EXPECT_EQ(strip.GetItem(0), c);
  EXPECT_FALSE(strip.PerformClick(window.hWnd, CPoint(10, 80))); // nothing there
  EXPECT_FALSE(strip.PerformClick(window.hWnd, CPoint(10, 10), TRUE));
}

// --- tooltips ---

class RecordingFiller : public IXTPTabToolTipFiller {
public:
  INT_PTR FillInToolInfo(TOOLINFO *, HWND, const CRect &rc, INT_PTR nId, const CString &strTip,
                         const CString &strCaption) override {
    rect = rc;
    tip = strTip;
    caption = strCaption;
    return nId;
  }
  CRect rect;
  CString tip, caption;
};

TEST(TabManagerToolTips, CutCaptionsOnlyByDefault) {
  TestStrip strip;
  strip.UseFixedLengths();
  strip.rcControl = R(0, 0, 188, 100);
  strip.paint.SetLayout(xtpTabLayoutCompressed);
  strip.AddTabs({100, 80, 40});
  strip.GetItem(0)->SetCaption(L"First");
  strip.GetItem(0)->SetTooltip(L"The first tab");
  strip.GetItem(2)->SetTooltip(L"Whole");
  TOOLINFO ti = {};
  ti.cbSize = sizeof(ti);
  // Tab 0 is cut from 100 to 70: its tip shows, through the tooltip context.
  EXPECT_EQ(strip.GetItemToolTip(nullptr, CPoint(10, 10), &ti), 0);
  ASSERT_NE(ti.lpszText, nullptr);
  EXPECT_STREQ(ti.lpszText, L"The first tab");
  EXPECT_EQ(ti.uId, 0u);
  std::free(ti.lpszText);
  // Tab 2 keeps its length: no tip while only cut captions get one.
  EXPECT_EQ(strip.GetItemToolTip(nullptr, CPoint(150, 10), &ti), -1);
  strip.paint.SetToolTipMode(xtpTabToolTipAlways);
  RecordingFiller filler;
  strip.SetToolTipFiller(&filler);
  EXPECT_EQ(strip.GetItemToolTip(nullptr, CPoint(150, 10), &ti), 2);
  EXPECT_STREQ(static_cast<LPCWSTR>(filler.tip), L"Whole");
  EXPECT_TRUE(SameRect(filler.rect, strip.GetItem(2)->GetRect()));
  // No tooltip text, or tips off: none.
  EXPECT_EQ(strip.GetItemToolTip(nullptr, CPoint(100, 10), &ti), -1);
  strip.paint.SetToolTipMode(xtpTabToolTipNever);
  EXPECT_EQ(strip.GetItemToolTip(nullptr, CPoint(150, 10), &ti), -1);
}

TEST(TabManagerHot, MouseMoveTracksTheHotTabWhenAsked) {
  TestStrip strip;
  strip.UseFixedLengths();
  strip.AddTabs({50, 50});
  strip.PerformMouseMove(nullptr, CPoint(60, 10));
  EXPECT_EQ(strip.GetHighlightedItem(), nullptr); // tracking off
  strip.paint.m_bHotTracking = TRUE;
  int redraws = strip.redraws;
  strip.PerformMouseMove(nullptr, CPoint(60, 10));
  EXPECT_EQ(strip.GetHighlightedItem(), strip.GetItem(1));
  EXPECT_EQ(strip.redraws, redraws + 1);
  strip.PerformMouseMove(nullptr, CPoint(61, 10));
  EXPECT_EQ(strip.redraws, redraws + 1);
  strip.PerformMouseMove(nullptr, CPoint(61, 60));
  EXPECT_EQ(strip.GetHighlightedItem(), nullptr);
}

} // namespace

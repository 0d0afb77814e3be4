// The scroll-bar hold, read off the screen: a bar that changed while held is
// drawn when the hold ends, a bar set again unchanged is not drawn at all,
// a child's pending paint outlives the hold, and a child moved meanwhile is
// drawn again.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "MemoryCanvas.h"
#include "WindowTestKit.h"
#include "XTPScrollBarsHold.h"

namespace {

constexpr COLORREF kMarker = RGB(255, 0, 0);

// A pane with a vertical scroll bar, and a child in it, in a popup window
// that all cases share (under Wine a shown top-level window takes a moment
// to go).
class ScrollBarsHoldTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    m_top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, 200, 220, nullptr, nullptr,
                              nullptr, nullptr);
  }
  static void TearDownTestSuite() { ::DestroyWindow(m_top); }

  void SetUp() override {
    ASSERT_NE(m_top, nullptr);
    m_pane = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 160, 200, m_top,
                               nullptr, nullptr, nullptr);
    m_child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, m_pane, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(m_child, nullptr);
    SetBar(0);
    DrawAll();
  }
  void TearDown() override { ::DestroyWindow(m_pane); }

  void SetBar(int pos) {
    SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, pos, 0};
    ::SetScrollInfo(m_pane, SB_VERT, &info, TRUE);
  }
  void DrawAll() {
    ::RedrawWindow(m_top, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPendingMessages();
  }
  // The bar's rectangle in the pane's window coordinates.
  RECT BarRect() const {
    SCROLLBARINFO info = {};
    info.cbSize = sizeof(info);
    ::GetScrollBarInfo(m_pane, OBJID_VSCROLL, &info);
    RECT window;
    ::GetWindowRect(m_pane, &window);
    RECT bar = info.rcScrollBar;
    ::OffsetRect(&bar, -window.left, -window.top);
    return bar;
  }
  // The bar's pixels as the screen shows them.
  std::vector<COLORREF> BarOnScreen() const {
    const RECT bar = BarRect();
    const int width = bar.right - bar.left, height = bar.bottom - bar.top;
    MemoryCanvas canvas(width, height);
    HDC hDC = ::GetWindowDC(m_pane);
    ::BitBlt(canvas.dc.GetSafeHdc(), 0, 0, width, height, hDC, bar.left, bar.top, SRCCOPY);
    ::ReleaseDC(m_pane, hDC);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(canvas.Pixel(x, y));
    return pixels;
  }
  void CoverBar() const {
    const RECT bar = BarRect();
    HDC hDC = ::GetWindowDC(m_pane);
    HBRUSH hMarker = ::CreateSolidBrush(kMarker);
    ::FillRect(hDC, &bar, hMarker);
    ::DeleteObject(hMarker);
    ::ReleaseDC(m_pane, hDC);
  }
  static size_t Markers(const std::vector<COLORREF> &pixels) {
    size_t count = 0;
    for (COLORREF pixel : pixels) count += pixel == kMarker ? 1 : 0;
    return count;
  }

  static HWND m_top;
  HWND m_pane = nullptr;
  HWND m_child = nullptr;
};

HWND ScrollBarsHoldTest::m_top = nullptr;

TEST_F(ScrollBarsHoldTest, ABarMovedWhileHeldIsDrawnWhenTheHoldEnds) {
  const std::vector<COLORREF> atTop = BarOnScreen();
  {
    CXTPScrollBarsHold hold(m_pane);
    EXPECT_FALSE(::IsWindowVisible(m_pane));
    SetBar(80);
    EXPECT_EQ(BarOnScreen(), atTop) << "drawn while held";
  }
  EXPECT_TRUE(::IsWindowVisible(m_pane));
  const std::vector<COLORREF> afterHold = BarOnScreen();
  EXPECT_NE(afterHold, atTop);
  DrawAll();
  EXPECT_EQ(afterHold, BarOnScreen()) << "the bar is not drawn as a full redraw draws it";
}

TEST_F(ScrollBarsHoldTest, ABarSetAgainUnchangedIsNotDrawn) {
  CoverBar();
  const size_t covered = Markers(BarOnScreen());
  ASSERT_GT(covered, 0u);
  {
    CXTPScrollBarsHold hold(m_pane);
    SetBar(0);
  }
  EXPECT_EQ(Markers(BarOnScreen()), covered);
  // Without the hold the same call draws the whole bar.
  SetBar(0);
  EXPECT_EQ(Markers(BarOnScreen()), 0u);
}

TEST_F(ScrollBarsHoldTest, AChildsPendingPaintOutlivesTheHold) {
  ::InvalidateRect(m_child, nullptr, FALSE);
  { CXTPScrollBarsHold hold(m_pane); }
  RECT pending;
  EXPECT_TRUE(::GetUpdateRect(m_child, &pending, FALSE));
}

// Held around a list, a pane stops drawing the list's header too.
TEST_F(ScrollBarsHoldTest, AGrandchildsPendingPaintOutlivesTheHold) {
  const HWND grandchild = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 10, m_child,
                                            nullptr, nullptr, nullptr);
  ASSERT_NE(grandchild, nullptr);
  DrawAll();
  const RECT part = {2, 2, 12, 8};
  ::InvalidateRect(grandchild, &part, FALSE);
  { CXTPScrollBarsHold hold(m_pane); }
  RECT pending;
  ASSERT_TRUE(::GetUpdateRect(grandchild, &pending, FALSE));
  EXPECT_TRUE(::EqualRect(&pending, &part));
}

// A list moves its header as it lays itself out while it paints; the move's
// own invalidation is lost while the list is not drawable.
TEST_F(ScrollBarsHoldTest, AChildMovedWhileHeldIsDrawnAgainWhole) {
  RECT pending;
  ASSERT_FALSE(::GetUpdateRect(m_child, &pending, FALSE));
  {
    CXTPScrollBarsHold hold(m_pane);
    ::SetWindowPos(m_child, nullptr, 0, 30, 60, 20, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ASSERT_TRUE(::GetUpdateRect(m_child, &pending, FALSE));
  EXPECT_EQ(pending.right - pending.left, 60);
  EXPECT_EQ(pending.bottom - pending.top, 20);
  // A child left where it was keeps what it showed.
  DrawAll();
  { CXTPScrollBarsHold hold(m_pane); }
  EXPECT_FALSE(::GetUpdateRect(m_child, &pending, FALSE));
}

TEST_F(ScrollBarsHoldTest, AHiddenWindowIsLeftAsItIs) {
  ::ShowWindow(m_pane, SW_HIDE);
  { CXTPScrollBarsHold hold(m_pane); }
  EXPECT_FALSE(::IsWindowVisible(m_pane));
  EXPECT_FALSE(::GetWindowLongW(m_pane, GWL_STYLE) & WS_VISIBLE);
}

} // namespace

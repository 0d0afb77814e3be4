// Dock bars in a frame: bars docked into rows by their rectangles, the
// strips the dock bars take from the frame's client area, and the rows laid
// out again when the frame is resized (squeezed bars, a bar pushed to a row
// of its own). The frame is never shown or activated; no cursor moves.
#include <gtest/gtest.h>

#include <algorithm>

#include "FrameWnd.h"
#include "XTPCommandBar.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"

namespace {

// A toolbar stand-in: nFull long, nThick thick; with the wrap flag it takes
// any length down to nMin and grows a row thicker per wrap.
class ModelToolBar : public CXTPCommandBar {
public:
  ModelToolBar(int nFull, int nMin, int nThick, DWORD dwFlags)
      : m_nFull(nFull), m_nMin(nMin), m_nThick(nThick) {
    m_barType = xtpBarTypeNormal;
    m_dwFlags = dwFlags;
  }
  BOOL CreateIn(CWnd *pParent) {
    return CreateEx(0, AfxRegisterWndClass(0), L"bar", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                    pParent->GetSafeHwnd(), nullptr);
  }
  BOOL IsVisible() const override { return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0; }
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override {
    int nAlong = m_nFull, nThick = m_nThick;
    if (dwMode & xtpDockModeStretch) {
      nAlong = nLength;
    } else if ((dwMode & xtpDockModeWrap) && nLength < m_nFull) {
      nAlong = std::max(nLength, m_nMin);
      nThick = m_nThick * ((m_nFull + nAlong - 1) / nAlong);
    }
    return (dwMode & xtpDockModeHorizontal) ? CSize(nAlong, nThick) : CSize(nThick, nAlong);
  }
  CRect RectInParent() const {
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
  }

private:
  int m_nFull, m_nMin, m_nThick;
};

std::string Str(const CRect &rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
         std::to_string(rc.bottom);
}

class DockBarFrame : public ::testing::Test {
protected:
  void SetUp() override {
    m_pCommandBars = new CXTPCommandBars;
    m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    m_pFrame = new CFrameWnd; // frames delete themselves when destroyed
    ASSERT_TRUE(m_pFrame->CreateEx(0, AfxRegisterWndClass(0), L"dock test", WS_OVERLAPPEDWINDOW, 0, 0, 500,
                                   400, nullptr, nullptr));
    const struct {
      CXTPDockBar *pBar;
      DWORD dwStyle;
      UINT nId;
    } kSides[] = {{&m_top, kDockStyleTop, kDockBarIdTop},
                  {&m_bottom, kDockStyleBottom, kDockBarIdBottom},
                  {&m_left, kDockStyleLeft, kDockBarIdLeft},
                  {&m_right, kDockStyleRight, kDockBarIdRight}};
    for (const auto &side : kSides)
      ASSERT_TRUE(side.pBar->Create(m_pFrame, WS_CHILD | WS_VISIBLE | side.dwStyle, side.nId));
  }
  void TearDown() override {
    if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr) m_pFrame->DestroyWindow();
    for (ModelToolBar *pBar : m_bars) pBar->InternalRelease();
    m_pCommandBars->InternalRelease();
  }
  ModelToolBar *AddBar(CXTPDockBar &dock, int nFull, int nMin, int nThick, DWORD dwFlags = 0) {
    ModelToolBar *pBar = new ModelToolBar(nFull, nMin, nThick, dwFlags);
    EXPECT_TRUE(pBar->CreateIn(&dock));
    m_bars.push_back(pBar);
    return pBar;
  }
  // Resizes the frame's client area (the frame lays itself out on WM_SIZE).
  void SetClientSize(int cx, int cy) {
    CRect rcWindow, rcClient;
    m_pFrame->GetWindowRect(&rcWindow);
    m_pFrame->GetClientRect(&rcClient);
    ::SetWindowPos(m_pFrame->GetSafeHwnd(), nullptr, 0, 0, cx + rcWindow.Width() - rcClient.Width(),
                   cy + rcWindow.Height() - rcClient.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CRect StripOf(const CXTPDockBar &dock) const {
    CRect rc;
    dock.GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, m_pFrame->GetSafeHwnd(), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
  }
  // Docks at a rectangle given in the dock bar's client coordinates.
  void DockAt(CXTPDockBar &dock, CXTPCommandBar *pBar, CRect rc) {
    ::MapWindowPoints(dock.GetSafeHwnd(), nullptr, reinterpret_cast<POINT *>(&rc), 2);
    dock.DockCommandBar(pBar, &rc);
  }

  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr;
  CXTPDockBar m_top{nullptr}, m_bottom{nullptr}, m_left{nullptr}, m_right{nullptr};
  std::vector<ModelToolBar *> m_bars;
};

TEST_F(DockBarFrame, SidesAndIds) {
  EXPECT_EQ(m_top.GetPosition(), xtpBarTop);
  EXPECT_EQ(m_bottom.GetPosition(), xtpBarBottom);
  EXPECT_EQ(m_left.GetPosition(), xtpBarLeft);
  EXPECT_EQ(m_right.GetPosition(), xtpBarRight);
  EXPECT_EQ(m_top.GetDlgCtrlID(), 59419);
  EXPECT_TRUE(m_top.GetStyle() & WS_CLIPSIBLINGS);
  // Empty dock bars take no room.
  SetClientSize(400, 300);
  EXPECT_EQ(StripOf(m_top).Height(), 0);
  EXPECT_EQ(StripOf(m_left).Width(), 0);
}

TEST_F(DockBarFrame, RowsFollowTheFrameWidth) {
  ModelToolBar *a = AddBar(m_top, 150, 120, 20, kDockBarFlagWrap);
  ModelToolBar *b = AddBar(m_top, 150, 120, 20, kDockBarFlagWrap);
  m_top.DockCommandBar(a);
  EXPECT_EQ(m_top.GetEntries(), (std::vector<CXTPCommandBar *>{nullptr, a, nullptr}));
  SetClientSize(400, 300);
  DockAt(m_top, b, CRect(200, 0, 350, 20)); // its centre lies in a's row
  EXPECT_EQ(m_top.GetEntries(), (std::vector<CXTPCommandBar *>{nullptr, b, a, nullptr}));
  EXPECT_EQ(b->GetPosition(), xtpBarTop);
  m_pFrame->RecalcLayout();

  const struct {
    int cx;
    CRect rcA, rcB, rcStrip;
  } kSteps[] = {
      {400, {0, 0, 150, 20}, {200, 0, 350, 20}, {0, 0, 400, 20}},
      {300, {0, 0, 150, 20}, {150, 0, 300, 20}, {0, 0, 300, 20}}, // b pulled back
      {250, {0, 0, 130, 40}, {130, 0, 250, 40}, {0, 0, 250, 40}}, // both squeezed and wrapped
      {200, {0, 0, 150, 20}, {50, 20, 200, 40}, {0, 0, 200, 40}}, // b goes to a row below
      {400, {0, 0, 150, 20}, {200, 0, 350, 20}, {0, 0, 400, 20}}, // and comes back
  };
  for (const auto &step : kSteps) {
    SCOPED_TRACE("client width " + std::to_string(step.cx));
    SetClientSize(step.cx, 300);
    EXPECT_EQ(Str(a->RectInParent()), Str(step.rcA));
    EXPECT_EQ(Str(b->RectInParent()), Str(step.rcB));
    EXPECT_EQ(Str(StripOf(m_top)), Str(step.rcStrip));
  }
}

TEST_F(DockBarFrame, EachSideTakesItsStrip) {
  ModelToolBar *top = AddBar(m_top, 100, 100, 24);
  ModelToolBar *bottom = AddBar(m_bottom, 100, 100, 22);
  ModelToolBar *left = AddBar(m_left, 90, 90, 26);
  ModelToolBar *right = AddBar(m_right, 80, 80, 28);
  m_top.DockCommandBar(top);
  m_bottom.DockCommandBar(bottom);
  m_left.DockCommandBar(left);
  m_right.DockCommandBar(right);
  SetClientSize(400, 300);
  // Top and bottom come first (lower ids lay out first: top 59419, left,
  // right, bottom 59422), so the side strips span what is left between.
  EXPECT_EQ(Str(StripOf(m_top)), Str(CRect(0, 0, 400, 24)));
  EXPECT_EQ(Str(StripOf(m_left)).substr(0, 5), "0,24,");
  EXPECT_EQ(StripOf(m_left).Width(), 26);
  EXPECT_EQ(StripOf(m_right).Width(), 28);
  EXPECT_EQ(StripOf(m_right).right, 400);
  EXPECT_EQ(Str(StripOf(m_bottom)), Str(CRect(0, 278, 400, 300)));
  EXPECT_EQ(Str(left->RectInParent()), Str(CRect(0, 0, 26, 90)));
  EXPECT_EQ(Str(right->RectInParent()), Str(CRect(0, 0, 28, 80)));
  EXPECT_EQ(left->GetPosition(), xtpBarLeft);
}

TEST_F(DockBarFrame, MovingABarBetweenDockBarsAndRows) {
  ModelToolBar *a = AddBar(m_top, 100, 100, 20);
  ModelToolBar *b = AddBar(m_top, 100, 100, 20);
  m_top.DockCommandBar(a);
  m_top.DockCommandBar(b);
  SetClientSize(400, 300);
  m_pFrame->RecalcLayout();
  EXPECT_EQ(Str(b->RectInParent()), Str(CRect(0, 20, 100, 40)));
  // Dragged up into a's row: b's old row goes, one null between rows stays.
  DockAt(m_top, b, CRect(150, 0, 250, 20));
  EXPECT_EQ(m_top.GetEntries(), (std::vector<CXTPCommandBar *>{nullptr, b, a, nullptr}));
  m_pFrame->RecalcLayout();
  EXPECT_EQ(Str(b->RectInParent()), Str(CRect(150, 0, 250, 20)));
  EXPECT_EQ(StripOf(m_top).Height(), 20);
  // Docked on the left: re-parented, gone from the top.
  m_left.DockCommandBar(b);
  EXPECT_EQ(::GetParent(b->GetSafeHwnd()), m_left.GetSafeHwnd());
  EXPECT_EQ(m_top.FindBar(b), -1);
  EXPECT_EQ(m_left.GetEntries(), (std::vector<CXTPCommandBar *>{nullptr, b, nullptr}));
  EXPECT_EQ(b->GetPosition(), xtpBarLeft);
  m_pFrame->RecalcLayout();
  EXPECT_EQ(Str(b->RectInParent()), Str(CRect(0, 0, 20, 100)));
  m_left.RemoveCommandBar(b);
  EXPECT_EQ(m_left.GetEntries(), (std::vector<CXTPCommandBar *>{nullptr}));
}

TEST_F(DockBarFrame, VisibleToolbarsOfARowInOrder) {
  ModelToolBar *a = AddBar(m_top, 100, 100, 20);
  ModelToolBar *b = AddBar(m_top, 100, 100, 20);
  ModelToolBar *hidden = AddBar(m_top, 100, 100, 20);
  SetClientSize(400, 300);
  m_top.DockCommandBar(a);
  m_pFrame->RecalcLayout(); // the row's far edge places the next bars
  DockAt(m_top, b, CRect(0, 0, 100, 20));
  DockAt(m_top, hidden, CRect(200, 0, 300, 20));
  DockAt(m_top, a, CRect(120, 0, 220, 20));
  EXPECT_EQ(m_top.GetEntries().size(), 5u);
  m_pFrame->RecalcLayout();
  ::ShowWindow(hidden->GetSafeHwnd(), SW_HIDE);
  std::vector<CXTPCommandBar *> row;
  m_top.GetVisibleToolbars(m_top.FindBar(a), row);
  EXPECT_EQ(row, (std::vector<CXTPCommandBar *>{b, a}));
}

} // namespace

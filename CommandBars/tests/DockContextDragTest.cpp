// The live toolbar drag in a frame with four dock bars: a press on the
// gripper drags the bar to each side and into the open, where it floats; a
// double click docks it back and floats it again; the edges of a floating
// bar resize it; Esc keeps what was moved; a quit request ends the drag and
// is posted again; the mouse manager is locked and a layout left pending is
// run while the loop holds the thread.
//
// The drag loop is fed its mouse messages (with their screen points), so no
// real cursor moves; the frame is never shown or activated.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "BarMouseDrag.h"
#include "CommandBarsTestSupport.h"
#include "FrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"
#include "XTPFrameWnd.h"
#include "XTPMouseManager.h"
#include "XTPToolBar.h"

namespace {

// The messages the drag loop is fed, in order; once they run out the
// button is released where the last one left the cursor.
std::vector<MSG> g_fed;
CPoint g_ptLastFed;
std::function<void(const MSG &)> g_onFeed;

BOOL Feed(MSG *pMsg) {
  *pMsg = MSG();
  if (g_fed.empty()) {
    pMsg->message = WM_LBUTTONUP;
    pMsg->pt = g_ptLastFed;
  } else {
    *pMsg = g_fed.front();
    g_fed.erase(g_fed.begin());
  }
  if (pMsg->message == WM_MOUSEMOVE) g_ptLastFed = pMsg->pt;
  if (g_onFeed) g_onFeed(*pMsg);
  return pMsg->message != WM_QUIT;
}

// A press that lands on a button by mistake ends at once instead of
// waiting for a release no one will make.
BOOL ReleaseAtOnce(MSG *pMsg) {
  *pMsg = MSG();
  pMsg->message = WM_LBUTTONUP;
  return TRUE;
}

MSG MoveTo(CPoint pt) {
  MSG msg = {};
  msg.message = WM_MOUSEMOVE;
  msg.pt = pt;
  return msg;
}

MSG Message(UINT message, WPARAM wParam = 0) {
  MSG msg = {};
  msg.message = message;
  msg.wParam = wParam;
  return msg;
}

using bartest::FrameSite;

class ToolBarDrag : public ::testing::Test {
protected:
  void SetUp() override {
    CXTPDockContext::SetMessageSource(&Feed);
    CXTPControl::SetGetMessageFunction(&ReleaseAtOnce);
    g_fed.clear();
    g_onFeed = nullptr;
    m_pCommandBars = new CXTPCommandBars;
    m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
    m_pFrame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(m_pFrame->CreateEx(0, AfxRegisterWndClass(0), L"drag test", WS_OVERLAPPEDWINDOW, 100, 100,
                                   640, 480, nullptr, nullptr));
    m_site.pFrame = m_pFrame;
    const struct {
      DWORD dwStyle;
      UINT nId;
    } kSides[] = {{kDockStyleTop, kDockBarIdTop},
                  {kDockStyleBottom, kDockBarIdBottom},
                  {kDockStyleLeft, kDockBarIdLeft},
                  {kDockStyleRight, kDockBarIdRight}};
    for (int i = 0; i < 4; i++) {
      m_docks[i] = new CXTPDockBar(m_pCommandBars);
      ASSERT_TRUE(m_docks[i]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | kSides[i].dwStyle, kSides[i].nId));
      m_site.pDockBars[i] = m_docks[i];
    }
    m_pBar = new CXTPToolBar;
    m_pBar->SetCommandBars(m_pCommandBars);
    m_pBar->SetSite(&m_site);
    const UINT ids[] = {101, 102, 0, 103, 104, 105, 106};
    m_pBar->SetButtons(ids, 7);
    m_pBar->EnableDocking(0x1F);
    ASSERT_TRUE(m_pBar->CreateFloatingWindow(m_pFrame, FALSE));
    ASSERT_TRUE(m_site.DockBarAt(m_pBar, xtpBarTop));
    m_pBar->SetVisible(TRUE);
    m_pFrame->RecalcLayout();
  }
  void TearDown() override {
    CXTPDockContext::SetMessageSource(nullptr);
    CXTPControl::SetGetMessageFunction(nullptr);
    g_onFeed = nullptr;
    if (::GetCapture()) ::ReleaseCapture();
    if (m_pBar->GetSafeHwnd()) m_pBar->DestroyWindow();
    m_pBar->InternalRelease();
    if (m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();
    for (CXTPDockBar *pDock : m_docks) delete pDock;
    m_pCommandBars->InternalRelease();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  CRect BarRect() const {
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    return rc;
  }
  CRect DockRect(int nSide) const {
    CRect rc;
    m_docks[nSide]->GetWindowRect(&rc);
    return rc;
  }
  CRect ClientRect() const {
    CRect rc;
    m_pFrame->GetClientRect(&rc);
    m_pFrame->ClientToScreen(&rc);
    return rc;
  }
  // Where a press starts a drag: the gripper of a docked bar, the caption
  // of a floating one; in the bar's client area.
  CPoint GripPoint() const {
    CRect rc;
    m_pBar->GetClientRect(&rc);
    return m_pBar->IsFloating()
               ? CPoint(6, 6)
               : (m_pBar->GetPosition() < 2 ? CPoint(3, rc.Height() / 2) : CPoint(rc.Width() / 2, 3));
  }
  CPoint GripScreenPoint() const {
    CPoint pt = GripPoint();
    m_pBar->ClientToScreen(&pt);
    return pt;
  }
  // Presses on the grip (the bar's own handler) with the drag fed the moves.
  void DragFromGrip(std::vector<MSG> messages) {
    const CPoint pt = GripPoint();
    g_ptLastFed = GripScreenPoint();
    g_fed = std::move(messages);
    m_pBar->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  }
  BOOL DockedOn(int nSide) const {
    return !m_pBar->IsFloating() && m_pBar->GetPosition() == nSide &&
           ::GetParent(m_pBar->GetSafeHwnd()) == m_docks[nSide]->GetSafeHwnd() &&
           (m_pBar->GetStyle() & WS_CHILD) && m_docks[nSide]->FindBar(m_pBar) >= 0;
  }

  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr;
  CXTPDockBar *m_docks[4] = {};
  FrameSite m_site;
  CXTPToolBar *m_pBar = nullptr;
};

TEST_F(ToolBarDrag, DraggedToEachSideDocksThere) {
  const CRect rcClient = ClientRect();
  const CPoint ptMiddle = rcClient.CenterPoint();
  const struct {
    const char *name;
    CPoint pt; // where the cursor ends, near the side's dock bar
    int nSide;
  } kCases[] = {
      {"bottom", CPoint(ptMiddle.x, rcClient.bottom - 5), xtpBarBottom},
      {"left", CPoint(rcClient.left + 5, ptMiddle.y), xtpBarLeft},
      {"right", CPoint(rcClient.right - 5, ptMiddle.y), xtpBarRight},
      {"top again", CPoint(ptMiddle.x, rcClient.top + 5), xtpBarTop},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    // Through the open middle of the frame, where it floats, to the side.
    DragFromGrip({MoveTo(ptMiddle), MoveTo(c.pt)});
    EXPECT_TRUE(DockedOn(c.nSide));
    const CRect rcBar = BarRect();
    const CRect rcDock = DockRect(c.nSide);
    EXPECT_TRUE(rcDock.PtInRect(rcBar.CenterPoint())) << "the dock bar made room for it";
    if (c.nSide >= xtpBarLeft)
      EXPECT_GT(rcBar.Height(), rcBar.Width()) << "laid out along the side";
    else
      EXPECT_GT(rcBar.Width(), rcBar.Height());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(m_pBar->GetDockingContext()->GetMode(), 0);
  }
  EXPECT_TRUE(m_pCommandBars->GetCommandBarsOptions()->bDirtyState) << "the options are marked changed";
}

TEST_F(ToolBarDrag, DraggedIntoTheOpenFloatsUnderTheCursor) {
  const CPoint ptMiddle = ClientRect().CenterPoint();
  DragFromGrip({MoveTo(ptMiddle - CSize(20, 20)), MoveTo(ptMiddle)});
  ASSERT_TRUE(m_pBar->IsFloating());
  EXPECT_TRUE(m_pBar->IsWindowVisible());
  EXPECT_TRUE(m_pBar->GetStyle() & WS_POPUP);
  EXPECT_FALSE(m_pBar->GetStyle() & WS_CHILD);
  EXPECT_LT(m_docks[xtpBarTop]->FindBar(m_pBar), 0) << "it left its dock bar";
  CRect rcBar = BarRect();
  EXPECT_TRUE(CRect(rcBar.left, rcBar.top, rcBar.right + 1, rcBar.bottom + 1).PtInRect(ptMiddle))
      << "the cursor stays on the bar";
  CXTPDockContext *pContext = m_pBar->GetDockingContext();
  EXPECT_EQ(pContext->m_ptMRUFloatPos, rcBar.TopLeft());
  EXPECT_EQ(pContext->m_sizeLastFloating, rcBar.Size());
  EXPECT_EQ(pContext->m_uMRUDockID, xtpBarTop) << "where a double click docks it";

  // Dragged by its caption it moves with the cursor and stays afloat.
  const CRect rcBefore = BarRect();
  const CPoint ptGrip = GripScreenPoint();
  DragFromGrip({MoveTo(ptGrip + CSize(30, 10)), MoveTo(ptGrip + CSize(50, 25))});
  EXPECT_TRUE(m_pBar->IsFloating());
  EXPECT_EQ(BarRect(), rcBefore + CPoint(50, 25)) << "moved by the cursor's way";
}

TEST_F(ToolBarDrag, DoubleClickDocksWhereItWasAndFloatsWhereItFloated) {
  // Docked on the left first, so that the way back is not the default side.
  const CRect rcClient = ClientRect();
  DragFromGrip({MoveTo(rcClient.CenterPoint()), MoveTo(CPoint(rcClient.left + 5, rcClient.CenterPoint().y))});
  ASSERT_TRUE(DockedOn(xtpBarLeft));
  DragFromGrip({MoveTo(rcClient.CenterPoint())});
  ASSERT_TRUE(m_pBar->IsFloating());
  const CRect rcFloating = BarRect();

  auto doubleClick = [&] {
    const CPoint pt = GripPoint();
    m_pBar->SendMessageW(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  };
  m_pCommandBars->GetCommandBarsOptions()->bDirtyState = FALSE;
  doubleClick();
  EXPECT_TRUE(DockedOn(xtpBarLeft)) << "docked back where the drag took it from";
  EXPECT_TRUE(m_pCommandBars->GetCommandBarsOptions()->bDirtyState);

  doubleClick();
  ASSERT_TRUE(m_pBar->IsFloating());
  EXPECT_EQ(BarRect().TopLeft(), rcFloating.TopLeft()) << "floated at its last floating place";

  // Without the option a docked bar stays docked.
  doubleClick();
  ASSERT_TRUE(DockedOn(xtpBarLeft));
  m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = FALSE;
  doubleClick();
  EXPECT_TRUE(DockedOn(xtpBarLeft));
}

TEST_F(ToolBarDrag, DoubleClickOnABarThatNeverFloatedFloatsItWhereItStands) {
  const CRect rcDocked = BarRect();
  m_pBar->GetDockingContext()->ToggleDocking();
  ASSERT_TRUE(m_pBar->IsFloating());
  EXPECT_TRUE(m_pBar->IsWindowVisible());
  EXPECT_EQ(BarRect().TopLeft(), rcDocked.TopLeft());
}

TEST_F(ToolBarDrag, FloatingBarEdgesResizeIt) {
  m_pBar->GetDockingContext()->ToggleDocking();
  ASSERT_TRUE(m_pBar->IsFloating());
  const CRect rcStart = BarRect();
  const struct {
    const char *name;
    UINT nHit;
    CSize drag;
    BOOL bNarrower;
  } kCases[] = {
      {"right edge in", HTRIGHT, CSize(-rcStart.Width() / 2, 0), TRUE},
      {"right edge out again", HTRIGHT, CSize(rcStart.Width(), 0), FALSE},
      {"left edge in", HTLEFT, CSize(rcStart.Width() / 2, 0), TRUE},
      {"left edge out again", HTLEFT, CSize(-rcStart.Width(), 0), FALSE},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    const CRect rcBefore = BarRect();
    const CPoint ptEdge(c.nHit == HTRIGHT ? rcBefore.right - 1 : rcBefore.left, rcBefore.CenterPoint().y);
    g_fed = {MoveTo(ptEdge + c.drag)};
    g_ptLastFed = ptEdge + c.drag;
    m_pBar->SendMessageW(WM_NCLBUTTONDOWN, c.nHit, MAKELPARAM(ptEdge.x, ptEdge.y));
    const CRect rcAfter = BarRect();
    if (c.bNarrower) {
      EXPECT_LT(rcAfter.Width(), rcBefore.Width());
      EXPECT_GT(rcAfter.Height(), rcBefore.Height()) << "the buttons wrap into more rows";
    } else {
      EXPECT_EQ(rcAfter.Size(), rcStart.Size()) << "back to one row";
    }
    if (c.nHit == HTRIGHT)
      EXPECT_EQ(rcAfter.left, rcBefore.left) << "the left edge stays";
    else
      EXPECT_EQ(rcAfter.right, rcBefore.right) << "the right edge stays";
    EXPECT_EQ(rcAfter.top, rcBefore.top);
    EXPECT_EQ(m_pBar->GetMRUWidth(), rcAfter.Width());
    EXPECT_EQ(m_pBar->GetDockingContext()->m_sizeLastFloating, rcAfter.Size());
  }
}

TEST_F(ToolBarDrag, EdgeNudgeOfABarNeverDraggedKeepsItsSize) {
  // Floated by the site, not by a drag: the resize must start from the
  // window, not from a rectangle no drag ever set.
  ASSERT_TRUE(m_site.DockBarAt(m_pBar, xtpBarFloating));
  ASSERT_TRUE(m_pBar->IsFloating());
  const CRect rcBefore = BarRect();
  const CPoint ptEdge(rcBefore.right - 1, rcBefore.CenterPoint().y);
  g_fed = {MoveTo(ptEdge + CSize(2, 0))};
  g_ptLastFed = ptEdge + CSize(2, 0);
  m_pBar->GetDockingContext()->StartResize(HTRIGHT, ptEdge);
  EXPECT_EQ(BarRect(), rcBefore);
}

TEST_F(ToolBarDrag, EscKeepsWhatWasMovedAndEndsTheDrag) {
  const CPoint ptMiddle = ClientRect().CenterPoint();
  DragFromGrip({MoveTo(ptMiddle), Message(WM_KEYDOWN, VK_ESCAPE), MoveTo(ptMiddle + CSize(40, 40))});
  EXPECT_TRUE(m_pBar->IsFloating()) << "no undo";
  EXPECT_EQ(g_fed.size(), 1u) << "the loop stopped at Esc";
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ToolBarDrag, QuitEndsTheDragAndIsPostedAgain) {
  const CPoint ptMiddle = ClientRect().CenterPoint();
  MSG quit = Message(WM_QUIT, 9);
  DragFromGrip({MoveTo(ptMiddle), quit, MoveTo(ptMiddle + CSize(40, 40))});
  EXPECT_TRUE(m_pBar->IsFloating());
  EXPECT_EQ(g_fed.size(), 1u) << "the loop stopped at the quit";
  EXPECT_EQ(::GetCapture(), nullptr);
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(ToolBarDrag, LoopLocksTheMouseAndRunsPendingLayouts) {
  const CPoint ptMiddle = ClientRect().CenterPoint();
  std::vector<BOOL> locked, captured;
  int nFed = 0;
  BOOL bPendingAfterLoop = TRUE;
  g_onFeed = [&](const MSG &) {
    CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager();
    locked.push_back(pMouse && pMouse->IsMouseLocked());
    captured.push_back(::GetCapture() == m_pBar->GetSafeHwnd());
    // A layout asked for while the drag holds the thread runs before the
    // next message.
    if (++nFed == 1) m_pFrame->DelayRecalcLayout();
    if (nFed == 2) bPendingAfterLoop = m_pFrame->RecalcPendingLayout();
  };
  DragFromGrip({Message(WM_NULL), MoveTo(ptMiddle)});
  EXPECT_EQ(locked, (std::vector<BOOL>{TRUE, TRUE, TRUE}));
  EXPECT_EQ(captured, (std::vector<BOOL>{TRUE, TRUE, TRUE}));
  EXPECT_FALSE(bPendingAfterLoop) << "the loop ran the pending layout";
  CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager();
  EXPECT_FALSE(pMouse && pMouse->IsMouseLocked()) << "unlocked after the drag";
}

TEST_F(ToolBarDrag, BarDestroyedDuringItsDragEndsIt) {
  const CPoint ptMiddle = ClientRect().CenterPoint();
  int nFed = 0;
  g_onFeed = [&](const MSG &) {
    if (++nFed == 2) m_pBar->DestroyWindow();
  };
  DragFromGrip({MoveTo(ptMiddle), MoveTo(ptMiddle + CSize(10, 10)), MoveTo(ptMiddle + CSize(20, 20))});
  EXPECT_EQ(m_pBar->GetSafeHwnd(), nullptr);
  EXPECT_EQ(g_fed.size(), 1u) << "the loop stopped with the window";
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(m_pBar->GetDockingContext()->GetMode(), 0);
}

TEST_F(ToolBarDrag, PressOnAButtonRunsNoDrag) {
  CXTPControl *pControl = m_pBar->GetControl(0);
  const CPoint pt = pControl->GetRect().CenterPoint();
  g_fed = {MoveTo(ClientRect().CenterPoint())};
  int nFed = 0;
  g_onFeed = [&](const MSG &) { nFed++; };
  m_pBar->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(nFed, 0);
  EXPECT_TRUE(DockedOn(xtpBarTop));
}

TEST_F(ToolBarDrag, SidesTheFlagsForbidAreNotDockedOn) {
  m_pBar->EnableDocking(0x01 | 0x10); // the top and floating only
  const CRect rcClient = ClientRect();
  DragFromGrip({MoveTo(rcClient.CenterPoint()), MoveTo(CPoint(rcClient.left + 5, rcClient.CenterPoint().y))});
  EXPECT_TRUE(m_pBar->IsFloating()) << "the left is not allowed: it floats there";
  m_pBar->EnableDocking(0x01);
  DragFromGrip({MoveTo(rcClient.CenterPoint() + CSize(10, 10))});
  EXPECT_TRUE(m_pBar->IsFloating()) << "neither floating nor a side near: it stays";
}

// A frame that is itself a child window (a page of a larger window) cannot
// own a popup: the floated bar is owned by the top-level window, so it stays
// above the application instead of sinking below it.
TEST(ToolBarFloatInChildFrame, FloatedBarIsOwnedByTheTopLevelWindow) {
  CWnd topLevel;
  ASSERT_TRUE(topLevel.CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"top", WS_POPUP,
                                100, 100, 500, 400, nullptr, nullptr));
  auto *pFrame = new CFrameWnd; // deletes itself with its window
  ASSERT_TRUE(pFrame->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 10, 10, 400, 300,
                               topLevel.GetSafeHwnd(), nullptr));
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  CXTPDockBar dockTop(pCommandBars);
  ASSERT_TRUE(dockTop.Create(pFrame, WS_CHILD | WS_VISIBLE | kDockStyleTop, kDockBarIdTop));
  FrameSite site;
  site.pFrame = pFrame;
  site.pDockBars[0] = &dockTop;
  auto *pBar = new CXTPToolBar;
  pBar->SetCommandBars(pCommandBars);
  pBar->SetSite(&site);
  const UINT ids[] = {101, 102};
  pBar->SetButtons(ids, 2);
  pBar->EnableDocking(0x1F);
  ASSERT_TRUE(pBar->CreateFloatingWindow(pFrame, FALSE));
  ASSERT_TRUE(site.DockBarAt(pBar, xtpBarTop));
  pBar->SetVisible(TRUE);
  ASSERT_TRUE(site.DockBarAt(pBar, xtpBarFloating));
  EXPECT_TRUE(pBar->IsFloating());
  EXPECT_EQ(::GetWindow(pBar->GetSafeHwnd(), GW_OWNER), topLevel.GetSafeHwnd());
  pBar->DestroyWindow();
  pBar->InternalRelease();
  topLevel.DestroyWindow();
  pCommandBars->InternalRelease();
}

TEST(ToolBarFloatingWindow, MadeAtTheLastFloatingSize) {
  const struct {
    CSize sizeLast;
    CSize sizeWindow;
  } kCases[] = {
      {CSize(0, 0), CSize(100, 100)}, // never floated
      {CSize(150, 60), CSize(150, 60)},
  };
  for (const auto &c : kCases) {
    auto *pBar = new CXTPToolBar;
    pBar->EnableDocking(0x1F);
    pBar->GetDockingContext()->m_sizeLastFloating = c.sizeLast;
    ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
    CRect rc;
    pBar->GetWindowRect(&rc);
    EXPECT_EQ(rc.Size(), c.sizeWindow);
    pBar->DestroyWindow();
    pBar->InternalRelease();
  }
}

// The same drag in a frame whose command bars place the bar: the manager
// docks and floats it.
TEST(ToolBarDragInCommandBarsFrame, DraggedRightFloatedAndDockedBack) {
  CXTPDockContext::SetMessageSource(&Feed);
  CXTPControl::SetGetMessageFunction(&ReleaseAtOnce);
  auto *pFrame = new CXTPFrameWnd; // deletes itself with its window
  ASSERT_TRUE(pFrame->CreateEx(0, AfxRegisterWndClass(0), L"manager drag", WS_POPUP | WS_BORDER, 120, 120,
                               600, 420, nullptr, nullptr));
  ASSERT_TRUE(pFrame->InitCommandBars());
  CXTPCommandBars *pBars = pFrame->GetCommandBars();
  pBars->SetPaintManager(new CXTPDefaultTheme);
  pBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
  CXTPToolBar *pBar = pBars->AddToolBar(L"Standard", xtpBarTop);
  ASSERT_NE(pBar, nullptr);
  const UINT ids[] = {101, 102, 103};
  pBar->SetButtons(ids, 3);
  pFrame->RecalcLayout();
  ASSERT_NE(pBar->GetDockingContext(), nullptr) << "the manager enabled the drag";

  CRect rcClient;
  pFrame->GetClientRect(&rcClient);
  pFrame->ClientToScreen(&rcClient);
  auto dragTo = [&](std::vector<MSG> messages) {
    CRect rc;
    pBar->GetClientRect(&rc);
    const CPoint pt = pBar->IsFloating()                 ? CPoint(6, 6)
                      : pBar->GetPosition() < xtpBarLeft ? CPoint(3, rc.Height() / 2)
                                                         : CPoint(rc.Width() / 2, 3);
    g_ptLastFed = pt;
    pBar->ClientToScreen(&g_ptLastFed);
    g_fed = std::move(messages);
    pBar->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  };
  dragTo({MoveTo(rcClient.CenterPoint()), MoveTo(CPoint(rcClient.right - 5, rcClient.CenterPoint().y))});
  EXPECT_EQ(pBar->GetPosition(), xtpBarRight);
  EXPECT_EQ(CXTPDockBar::FromBar(pBar), pBars->GetDockBar(xtpBarRight));
  EXPECT_TRUE(pBars->GetCommandBarsOptions()->bDirtyState);

  dragTo({MoveTo(rcClient.CenterPoint())});
  EXPECT_TRUE(pBar->IsFloating());
  EXPECT_EQ(CXTPDockBar::FromBar(pBar), nullptr);

  pBar->GetDockingContext()->ToggleDocking();
  EXPECT_EQ(pBar->GetPosition(), xtpBarRight) << "back where the drag took it from";
  EXPECT_EQ(CXTPDockBar::FromBar(pBar), pBars->GetDockBar(xtpBarRight));

  pFrame->DestroyWindow();
  CXTPDockContext::SetMessageSource(nullptr);
  CXTPControl::SetGetMessageFunction(nullptr);
}

} // namespace

// The docking manager in a frame that is never shown or activated: panes
// created and docked by direction, the frame's layout pass, notices to the
// site (the action record, a refused close), themes, colour changes, OLE's
// set-up, views attached to panes, caption button presses and a splitter
// bar moved with posted mouse messages (the cursor never moves).
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <objbase.h>
#include <thread>

#include "../../Common/tests/MemoryCanvas.h"
#include "DockingPaneTestSite.h"
#include "FrameWnd.h"
#include "View.h"
#include "XTPColorManager.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"

namespace {

// A site that records the docking notices and answers as it is told.
class SiteFrame : public CFrameWnd {
public:
  LRESULT m_lCloseAnswer = 0;
  INT_PTR m_nCancelAction = -1; // an action code to refuse
  std::vector<INT_PTR> m_arrActions;
  std::vector<WPARAM> m_arrNotices;
  XTP_DOCKINGPANE_ACTION m_lastAction = {};
  // When set, answers every notice (after it is recorded).
  std::function<LRESULT(WPARAM, LPARAM)> m_answer;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_DOCKINGPANE_NOTIFY) return CFrameWnd::WindowProc(message, wParam, lParam);
    m_arrNotices.push_back(wParam);
    if (m_answer) return m_answer(wParam, lParam);
    if (wParam == XTP_DPN_CLOSEPANE) return m_lCloseAnswer;
    if (wParam == XTP_DPN_ACTION) {
      auto *pAction = reinterpret_cast<XTP_DOCKINGPANE_ACTION *>(lParam);
      m_arrActions.push_back(pAction->action);
      m_lastAction = *pAction;
      if (pAction->action == m_nCancelAction) pAction->bCancel = TRUE;
    }
    return TRUE;
  }
};

class DockingManager : public ::testing::Test {
protected:
  void SetUp() override {
    m_pFrame = new SiteFrame; // deletes itself with its window
    ASSERT_TRUE(m_pFrame->CreateEx(0, AfxRegisterWndClass(0), L"docking test",
                                   WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 600, 400,
                                   nullptr, nullptr));
    m_hFrame = m_pFrame->GetSafeHwnd();
    m_manager.InstallInFrame(m_pFrame);
  }
  void TearDown() override {
    if (::IsWindow(m_hFrame)) m_pFrame->DestroyWindow();
  }
  CRect ClientRect() const {
    CRect rc;
    ::GetClientRect(m_pFrame->GetSafeHwnd(), &rc);
    return rc;
  }

  SiteFrame *m_pFrame = nullptr;
  HWND m_hFrame = nullptr;
  CXTPDockingPaneManager m_manager;
};

// Empty containers too: what the manager leaves behind is part of what is
// tested here.
std::string Shape(const CXTPDockingPaneBase *pObject) {
  return dptest::Shape(pObject, true);
}

TEST_F(DockingManager, PanesDockByDirection) {
  CXTPDockingPane *pFirst = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  EXPECT_EQ("V(H(C ) T1 )", Shape(m_manager.GetTopPane()));
  m_manager.CreatePane(2, CRect(0, 0, 150, 100), xtpPaneDockBottom);
  EXPECT_EQ("V(H(C ) T1 T2 )", Shape(m_manager.GetTopPane()));
  m_manager.CreatePane(3, CRect(0, 0, 120, 100), xtpPaneDockLeft, pFirst);
  EXPECT_EQ("V(H(C ) H(T3 T1 ) T2 )", Shape(m_manager.GetTopPane()));
  m_manager.CreatePane(4, CRect(0, 0, 120, 100), xtpPaneDockRight);
  EXPECT_EQ("H(V(H(C ) H(T3 T1 ) T2 ) T4 )", Shape(m_manager.GetTopPane()));
  EXPECT_EQ(pFirst, m_manager.FindPane(1));
  EXPECT_EQ(pFirst->GetContainer(), m_manager.GetPaneHolder(pFirst, FALSE));
  // A second installation changes nothing.
  CXTPDockingPaneLayout *pLayout = m_manager.GetLayout();
  m_manager.InstallInFrame(m_pFrame);
  EXPECT_EQ(pLayout, m_manager.GetLayout());
}

TEST_F(DockingManager, ThePaneAtTheBottomTakesItsHeightFromTheClientArea) {
  CXTPDockingPane *pPane = m_manager.CreatePane(61236, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_pFrame->RecalcLayout();
  const CRect rcClient = ClientRect();
  const CRect rcContainer = pPane->GetContainer()->GetPaneWindowRect();
  EXPECT_EQ(150, rcContainer.Height());
  EXPECT_EQ(rcClient.bottom, rcContainer.bottom);
  EXPECT_EQ(rcClient.Width(), rcContainer.Width());
  EXPECT_EQ(rcContainer.top - 4, m_manager.GetClientPane()->GetPaneWindowRect().bottom);
  // The bar between them is a window of the frame, 4 pixels high.
  auto *pTop = m_manager.GetTopPane();
  ASSERT_EQ(1, pTop->GetSplitterCount());
  CRect rcBar;
  pTop->GetSplitter(0)->GetWindowRect(&rcBar);
  m_pFrame->ScreenToClient(&rcBar);
  EXPECT_EQ(CRect(0, rcContainer.top - 4, rcClient.right, rcContainer.top), rcBar);
  // The container's window covers its rectangle.
  CRect rcWindow;
  ::GetWindowRect(pPane->GetContainer()->GetPaneHwnd(), &rcWindow);
  m_pFrame->ScreenToClient(&rcWindow);
  EXPECT_EQ(rcContainer, rcWindow);
}

TEST_F(DockingManager, ASplitterBarMovedWithAGhostBarResizesThePane) {
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_pFrame->RecalcLayout();
  CXTPDockingPaneSplitterWnd *pBar = m_manager.GetTopPane()->GetSplitter(0);
  CRect rcBar;
  pBar->GetClientRect(&rcBar);
  // Press on the bar, move 50 pixels up, release: the messages wait in the queue.
  ::PostMessage(pBar->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, -48));
  ::PostMessage(pBar->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, -48));
  pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
  EXPECT_EQ(200, pPane->GetContainer()->GetPaneWindowRect().Height());

  // Escape ends a live drag where the bar stands.
  m_manager.m_bSplitterTracker = FALSE;
  pBar = m_manager.GetTopPane()->GetSplitter(0);
  ::PostMessage(pBar->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 22));
  ::PostMessage(pBar->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
  // The share before the bar is cut to whole pixels; the rest goes after it.
  EXPECT_NEAR(180, pPane->GetContainer()->GetPaneWindowRect().Height(), 1);

  // It cannot leave the client area less than the least pane length.
  pBar = m_manager.GetTopPane()->GetSplitter(0);
  ::PostMessage(pBar->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, -1000));
  ::PostMessage(pBar->GetSafeHwnd(), WM_LBUTTONUP, 0, 0);
  pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
  EXPECT_EQ(22, m_manager.GetClientPane()->GetPaneWindowRect().Height());
}

CXTPDockingPaneTabbedContainer *TabbedOf(CXTPDockingPane *pPane) {
  return static_cast<CXTPDockingPaneTabbedContainer *>(pPane->GetContainer());
}

TEST_F(DockingManager, ATabPressedSelectsItsPaneAndClosingTheSelectedOneSelectsTheFirst) {
  CXTPDockingPane *pFirst = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CXTPDockingPane *pSecond = m_manager.CreatePane(2, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CXTPDockingPane *pThird = m_manager.CreatePane(3, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_manager.AttachPane(pSecond, pFirst);
  m_manager.AttachPane(pThird, pFirst);
  m_pFrame->RecalcLayout();
  CXTPDockingPaneTabbedContainer *pTabbed = TabbedOf(pFirst);
  ASSERT_TRUE(pTabbed->IsTabsVisible());
  EXPECT_EQ(pThird, pTabbed->GetSelected());
  const CRect rcFirstTab = pTabbed->GetItem(0)->GetRect();
  pTabbed->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM(rcFirstTab.CenterPoint().x, rcFirstTab.CenterPoint().y));
  pTabbed->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcFirstTab.CenterPoint().x, rcFirstTab.CenterPoint().y));
  EXPECT_EQ(pFirst, pTabbed->GetSelected());
  EXPECT_EQ(0, pTabbed->HitTest(rcFirstTab.CenterPoint()));
  EXPECT_EQ(-2, pTabbed->HitTest(CPoint(20, 5)));
  // The caption band and the tab band take a dropped pane into the tabs; the middle does not.
  CRect rcClient;
  pTabbed->CWnd::GetClientRect(&rcClient);
  EXPECT_TRUE(pTabbed->IsTabDropArea(rcClient, CPoint(20, 5)));
  EXPECT_TRUE(pTabbed->IsTabDropArea(rcClient, CPoint(20, rcClient.bottom - 3)));
  EXPECT_FALSE(pTabbed->IsTabDropArea(rcClient, CPoint(20, rcClient.CenterPoint().y)));

  // A right click on a tab selects it before the site hears of it.
  const CRect rcSecondTab = pTabbed->GetItem(1)->GetRect();
  m_pFrame->m_arrNotices.clear();
  pTabbed->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON,
                       MAKELPARAM(rcSecondTab.CenterPoint().x, rcSecondTab.CenterPoint().y));
  EXPECT_EQ(pSecond, pTabbed->GetSelected());
  ASSERT_FALSE(m_pFrame->m_arrNotices.empty());
  EXPECT_EQ(static_cast<WPARAM>(XTP_DPN_RCLICK), m_pFrame->m_arrNotices.back());

  m_manager.ClosePane(pSecond);
  EXPECT_EQ(pFirst, pTabbed->GetSelected());
  m_manager.ClosePane(pFirst);
  m_manager.ClosePane(pThird);
  EXPECT_EQ(nullptr, pTabbed->GetSelected());
  EXPECT_EQ(nullptr, pTabbed->GetSafeHwnd());
}

TEST_F(DockingManager, ATabDraggedOverAnotherSwapsThemAndOffTheStripAsksTheSite) {
  CXTPDockingPane *pFirst = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CXTPDockingPane *pSecond = m_manager.CreatePane(2, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CXTPDockingPaneTabbedContainer *pTabbed = TabbedOf(pFirst);
  EXPECT_FALSE(pTabbed->IsTabsVisible()); // one pane: no strip
  m_manager.AttachPane(pSecond, pFirst);
  m_pFrame->RecalcLayout();
  ASSERT_TRUE(pTabbed->IsTabsVisible());
  const CPoint ptFirst = pTabbed->GetItem(0)->GetRect().CenterPoint();
  const CPoint ptSecond = pTabbed->GetItem(1)->GetRect().CenterPoint();
  pTabbed->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFirst.x, ptFirst.y));
  pTabbed->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptSecond.x, ptSecond.y));
  ASSERT_EQ(2u, pTabbed->GetPanes().size());
  EXPECT_EQ(pSecond, pTabbed->GetPanes()[0]);
  EXPECT_EQ(pFirst, pTabbed->GetPanes()[1]);

  // Off the strip: the site is asked first; a refusal keeps the drag.
  m_pFrame->m_nCancelAction = xtpPaneActionDetaching;
  pTabbed->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptSecond.x, 5));
  EXPECT_EQ(xtpPaneActionDetaching, m_pFrame->m_arrActions.back());
  EXPECT_EQ(pTabbed->GetSafeHwnd(), ::GetCapture());
  m_pFrame->m_nCancelAction = -1;
  // With its consent the pane's own drag starts; let go at once, it moves nothing.
  ::PostMessage(m_hFrame, WM_LBUTTONUP, 0, 0);
  pTabbed->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptSecond.x, 5));
  EXPECT_EQ(nullptr, ::GetCapture());
  EXPECT_EQ(xtpPaneActionFloating, m_pFrame->m_arrActions.back());
  EXPECT_EQ(pTabbed, pSecond->GetContainer());
  pTabbed->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptSecond.x, 5));
}

// The caption of a container with one pane, drawn by each theme on a memory
// context in the classic colours: a pixel of the caption band.
TEST_F(DockingManager, EachThemeDrawsItsCaptionBand) {
  XTPGetColorManager()->DisableSystemThemeColors(TRUE);
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  pPane->SetTitle(L"");
  m_pFrame->RecalcLayout();
  auto *pTabbed = TabbedOf(pPane);
  const CRect rc(0, 0, 200, 100);
  const struct {
    int nTheme;
    CPoint pt;
    int nColor; // colour index, or -1 for the theme's inactive band top, -2 for its bottom
  } kCases[] = {
      {0, CPoint(100, 6), COLOR_INACTIVECAPTION}, // the system's inactive caption
      {0, CPoint(100, 0), COLOR_3DFACE},          // above the band
      {2, CPoint(100, 0), 51},                    // the band's background
      {1, CPoint(100, 2), 52},                    // the inactive outline's top line
      {5, CPoint(0, 1), 51},                      // a rounded corner left out of the gradient
      {5, CPoint(100, 1), -1},                    // the gradient's first row
      {8, CPoint(0, 10), 54},                     // the square band's left edge
  };
  for (const auto &c : kCases) {
    m_manager.SetTheme(c.nTheme);
    CXTPDockingPanePaintManager *pPaint = m_manager.GetPaintManager();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.Width(), -rc.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hBitmap);
    pPaint->DrawPane(&dc, pTabbed, rc);
    const COLORREF clr = dc.GetPixel(c.pt);
    ::SelectObject(dc.GetSafeHdc(), hOld);
    ::DeleteObject(hBitmap);
    COLORREF clrExpected = pPaint->GetColor(c.nColor);
    if (c.nColor == -1) clrExpected = static_cast<CXTPDockingPaneTheme5 *>(pPaint)->m_clrNormalCaptionLight;
    EXPECT_EQ(clrExpected, clr) << "theme " << c.nTheme << " at " << c.pt.x << "," << c.pt.y;
  }
  XTPGetColorManager()->DisableSystemThemeColors(FALSE);
}

TEST_F(DockingManager, TooltipsNameTheCaptionButtons) {
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_pFrame->RecalcLayout();
  CXTPDockingPaneTabbedContainer *pTabbed = TabbedOf(pPane);
  // Drawing the caption places its buttons (the frame is never shown, so it is drawn here).
  CRect rcClient;
  pTabbed->CWnd::GetClientRect(&rcClient);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateBitmap(rcClient.Width(), rcClient.Height(), 1, 32, nullptr);
  CBitmap *pOld = dc.SelectObject(&bitmap);
  m_manager.GetPaintManager()->DrawPane(&dc, pTabbed, rcClient);
  dc.SelectObject(pOld);
  const CRect rcClose = pTabbed->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_CLOSE)->GetRect();
  ASSERT_FALSE(rcClose.IsRectEmpty());
  TTTOOLINFOW ti = {};
  ti.cbSize = sizeof(ti);
  EXPECT_EQ(XTP_IDS_DOCKINGPANE_CLOSE, pTabbed->OnToolHitTest(rcClose.CenterPoint(), &ti));
  ASSERT_NE(nullptr, ti.lpszText);
  EXPECT_STREQ(L"Close", ti.lpszText);
  free(ti.lpszText);
}

TEST_F(DockingManager, MaximizingOneOfThreeStackedLeavesTheOthersTheirCaptions) {
  m_manager.m_bShowMaximizeButton = TRUE;
  CXTPDockingPane *pFirst = m_manager.CreatePane(1, CRect(0, 0, 100, 80), xtpPaneDockBottom);
  CXTPDockingPane *pSecond = m_manager.CreatePane(2, CRect(0, 0, 100, 80), xtpPaneDockBottom, pFirst);
  CXTPDockingPane *pThird = m_manager.CreatePane(3, CRect(0, 0, 100, 80), xtpPaneDockBottom, pFirst);
  m_pFrame->RecalcLayout();
  EXPECT_TRUE(TabbedOf(pFirst)->CanMaximize());
  TabbedOf(pSecond)->Maximize();
  const int nCaption = m_manager.GetPaintManager()->GetCaptionHeight() + 3;
  EXPECT_LE(TabbedOf(pFirst)->GetPaneWindowRect().Height(), nCaption);
  EXPECT_LE(TabbedOf(pThird)->GetPaneWindowRect().Height(), nCaption);
  // The client area, not the maximized container, takes what the others gave up.
  EXPECT_EQ(80, TabbedOf(pSecond)->GetPaneWindowRect().Height());
  CXTPDockingPaneCaptionButtons *pButtons = TabbedOf(pSecond)->GetCaptionButtons();
  EXPECT_FALSE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_MAXIMIZE)->IsVisible());
  EXPECT_TRUE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_RESTORE)->IsVisible());
  TabbedOf(pSecond)->Restore();
  EXPECT_EQ(80, TabbedOf(pFirst)->GetPaneWindowRect().Height());
}

TEST_F(DockingManager, AHiddenClientAreaTakesNoRoom) {
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_manager.m_bHideClient = TRUE;
  m_pFrame->RecalcLayout();
  EXPECT_TRUE(m_manager.GetClientPane()->IsEmpty());
  EXPECT_EQ(ClientRect(), TabbedOf(pPane)->GetPaneWindowRect());
  // The splitter that holds only the client area is empty too, and a search
  // does not look inside it.
  CXTPDockingPaneBaseList lst;
  m_manager.GetTopPane()->FindPane(xtpPaneTypeClient, &lst);
  EXPECT_TRUE(lst.empty());
  m_manager.m_bHideClient = FALSE;
  m_manager.GetTopPane()->FindPane(xtpPaneTypeClient, &lst);
  EXPECT_EQ(1u, lst.size());
}

TEST_F(DockingManager, PreviewsAndHidingSidesFollowTheTree) {
  CXTPDockingPane *pBottom = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CXTPDockingPane *pLeft = m_manager.CreatePane(2, CRect(0, 0, 120, 100), xtpPaneDockLeft);
  CXTPDockingPane *pTop = m_manager.CreatePane(3, CRect(0, 0, 100, 60), xtpPaneDockTop, pBottom);
  m_pFrame->RecalcLayout();
  const struct {
    CXTPDockingPane *pPane;
    XTPDockingPaneDirection side;
  } kSides[] = {{pBottom, xtpPaneDockBottom}, {pLeft, xtpPaneDockLeft}, {pTop, xtpPaneDockBottom}};
  for (const auto &c : kSides)
    EXPECT_EQ(c.side, m_manager.GetLayout()->GetAutoHideDirection(c.pPane)) << c.pPane->GetID();

  // A 100 by 100 pane docked on the right of everything takes 100 pixels of the frame.
  CXTPDockingPane *pNew = static_cast<CXTPDockingPane *>(m_manager.OnCreatePane(0, m_manager.GetLayout()));
  pNew->SetInitialRect(CRect(0, 0, 100, 100));
  CRect rcFrame = ClientRect();
  m_pFrame->ClientToScreen(&rcFrame);
  CRect rc;
  m_manager.GetDockingRect(rc, pNew, xtpPaneDockRight);
  EXPECT_EQ(CRect(rcFrame.right - 100, rcFrame.top, rcFrame.right, rcFrame.bottom), rc);
  // Below the bottom pane, in the same stack: the stack is shared anew, the
  // pane itself left in place.
  m_manager.GetDockingRect(rc, pNew, xtpPaneDockBottom, pBottom);
  EXPECT_EQ(rcFrame.bottom, rc.bottom);
  EXPECT_EQ(100, rc.Height());
  EXPECT_EQ(150, TabbedOf(pBottom)->GetPaneWindowRect().Height());
  // Beside it on the left, where the stack is vertical: the two share its place.
  CRect rcBottom;
  TabbedOf(pBottom)->CWnd::GetWindowRect(&rcBottom);
  m_manager.GetDockingRect(rc, pNew, xtpPaneDockLeft, pBottom);
  EXPECT_EQ(rcBottom.left, rc.left);
  EXPECT_EQ(rcBottom.top, rc.top);
  EXPECT_EQ(rcBottom.bottom, rc.bottom);
  // The pane is in the layout's list, which releases it.
}

TEST(DockingPaneBase, TheBaseLimitsNothing) {
  CXTPDockingPaneBase base(xtpPaneTypeClient, nullptr);
  MINMAXINFO mmi;
  memset(&mmi, 0xCC, sizeof(mmi));
  base.GetMinMaxInfo(&mmi);
  EXPECT_EQ(CPoint(0, 0), CPoint(mmi.ptMinTrackSize));
  EXPECT_EQ(CPoint(32000, 32000), CPoint(mmi.ptMaxTrackSize));
  EXPECT_EQ(CPoint(0, 0), CPoint(mmi.ptMaxSize));
}

TEST_F(DockingManager, TheActionRecordCarriesPointerSizedFields) {
  static_assert(sizeof(XTP_DOCKINGPANE_ACTION) == 5 * sizeof(void *), "five pointer-sized fields");
  EXPECT_EQ(1 * sizeof(void *), offsetof(XTP_DOCKINGPANE_ACTION, bCancel));
  EXPECT_EQ(2 * sizeof(void *), offsetof(XTP_DOCKINGPANE_ACTION, pPane));
  EXPECT_EQ(3 * sizeof(void *), offsetof(XTP_DOCKINGPANE_ACTION, pDockContainer));
  EXPECT_EQ(4 * sizeof(void *), offsetof(XTP_DOCKINGPANE_ACTION, dockDirection));

  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_pFrame->m_nCancelAction = xtpPaneActionDetaching;
  EXPECT_NE(0,
            m_manager.NotifyOwner(xtpPaneActionDetaching, pPane, pPane->GetContainer(), xtpPaneDockBottom));
  EXPECT_EQ(pPane, m_pFrame->m_lastAction.pPane);
  EXPECT_EQ(pPane->GetContainer(), m_pFrame->m_lastAction.pDockContainer);
  EXPECT_EQ(xtpPaneDockBottom, m_pFrame->m_lastAction.dockDirection);
  EXPECT_EQ(0, m_manager.NotifyOwner(xtpPaneActionDocked, pPane));
}

TEST_F(DockingManager, ASiteThatAnswersMinusOneKeepsThePane) {
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_pFrame->m_lCloseAnswer = -1;
  m_manager.ClosePane(pPane);
  EXPECT_FALSE(pPane->IsClosed());
  m_pFrame->m_lCloseAnswer = 0;
  m_manager.ClosePane(pPane);
  EXPECT_TRUE(pPane->IsClosed());
  // Shown again, it goes back into the container it was last in.
  m_manager.ShowPane(1);
  EXPECT_FALSE(pPane->IsClosed());
}

TEST_F(DockingManager, CaptionButtonsFollowTheOptions) {
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_pFrame->RecalcLayout();
  CXTPDockingPaneCaptionButtons *pButtons = pPane->GetContainer()->GetCaptionButtons();
  EXPECT_TRUE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_CLOSE)->IsVisible());
  EXPECT_TRUE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE)->IsVisible());
  EXPECT_FALSE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_MAXIMIZE)->IsVisible());
  EXPECT_FALSE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_MENU)->IsVisible());
  EXPECT_EQ(nullptr, pButtons->FindButton(12345));
  m_manager.SetDefaultPaneOptions(xtpPaneNoCloseable | xtpPaneNoHideable);
  EXPECT_FALSE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_CLOSE)->IsVisible());
  EXPECT_FALSE(pButtons->FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE)->IsVisible());
  // Titles, short titles and the tab colour index.
  pPane->SetTitle(L"Caption\nTab");
  EXPECT_EQ(CString(L"Caption"), pPane->GetTitle());
  EXPECT_EQ(CString(L"Tab"), pPane->GetShortTitle());
  CXTPDockingPane *pOther = m_manager.CreatePane(13, CRect(0, 0, 100, 100), xtpPaneDockTop);
  EXPECT_EQ(0x1000005u, pOther->GetItemColor());
  EXPECT_EQ(13, pOther->GetIconID());
}

// A container drawn by the paint manager on a memory context: the colour at
// a point (the drawing also places the caption buttons and the tabs).
COLORREF DrawnPixel(CXTPDockingPaneManager &manager, CXTPDockingPaneTabbedContainer *pTabbed, CPoint pt) {
  CRect rc;
  pTabbed->CWnd::GetClientRect(&rc);
  MemoryCanvas canvas(rc.Width(), rc.Height());
  manager.GetPaintManager()->DrawPane(&canvas.dc, pTabbed, rc);
  return canvas.Pixel(pt.x, pt.y);
}

// A press on the Menu button asks the site for the pane's menu under it,
// the button drawn pressed meanwhile and released after. Whatever the site
// answers, the press is the menu's: no click of the button is tracked after.
TEST_F(DockingManager, TheMenuButtonAsksTheSiteDrawnPressedAndTracksNoClick) {
  XTPGetColorManager()->DisableSystemThemeColors(TRUE);
  m_manager.SetTheme(xtpPaneThemeOffice2003);
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  pPane->SetOptions(xtpPaneHasMenuButton);
  m_pFrame->RecalcLayout();
  CXTPDockingPaneTabbedContainer *pTabbed = TabbedOf(pPane);
  CXTPDockingPaneCaptionButton *pMenu = pTabbed->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_MENU);
  ASSERT_TRUE(pMenu->IsVisible());
  DrawnPixel(m_manager, pTabbed, CPoint(0, 0));
  const CRect rcMenu = pMenu->GetRect();
  ASSERT_FALSE(rcMenu.IsRectEmpty());
  // Inside the button, clear of its glyph: the pressed fill of theme 5.
  const CPoint ptFill(rcMenu.left + 2, rcMenu.top + 2);
  const COLORREF clrPressed = m_manager.GetPaintManager()->GetColor(33);
  CRect rcScreen = rcMenu;
  pTabbed->ClientToScreen(&rcScreen);
  for (LRESULT lAnswer : {LRESULT(0), LRESULT(1)}) {
    SCOPED_TRACE(lAnswer);
    std::vector<XTP_DOCKINGPANE_CLICK> records;
    std::vector<COLORREF> drawn;
    m_pFrame->m_answer = [&](WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (wParam != XTP_DPN_CONTEXTMENU) return TRUE;
      records.push_back(*reinterpret_cast<XTP_DOCKINGPANE_CLICK *>(lParam));
      drawn.push_back(DrawnPixel(m_manager, pTabbed, ptFill));
      return lAnswer;
    };
    // A tracked click would take this release; the menu's press leaves it queued.
    ::PostMessage(pTabbed->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(ptFill.x, ptFill.y));
    pTabbed->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFill.x, ptFill.y));
    m_pFrame->m_answer = nullptr;
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(pPane, records[0].pPane);
    EXPECT_EQ(rcScreen, records[0].rcExclude);
    EXPECT_EQ(CPoint(rcScreen.left, rcScreen.bottom), records[0].pt);
    EXPECT_EQ(clrPressed, drawn[0]) << "drawn pressed while the site has it";
    EXPECT_FALSE(pMenu->IsPressed());
    EXPECT_NE(clrPressed, DrawnPixel(m_manager, pTabbed, ptFill)) << "drawn released after";
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, pTabbed->GetSafeHwnd(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
    EXPECT_EQ(nullptr, ::GetCapture());
  }
  XTPGetColorManager()->DisableSystemThemeColors(FALSE);
}

// A double click that a navigate button takes does nothing more, even where
// the button lies over a tab; elsewhere on a tab it floats the tab's pane.
TEST_F(DockingManager, ADoubleClickOnANavigateButtonOverATabLeavesThePane) {
  CXTPDockingPane *pFirst = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CXTPDockingPane *pSecond = m_manager.CreatePane(2, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  m_manager.AttachPane(pSecond, pFirst);
  m_pFrame->RecalcLayout();
  CXTPDockingPaneTabbedContainer *pTabbed = TabbedOf(pFirst);
  ASSERT_TRUE(pTabbed->IsTabsVisible());
  CXTPTabManagerNavigateButton *pRight = pTabbed->FindNavigateButton(xtpTabNavigateButtonRight);
  ASSERT_NE(nullptr, pRight);
  pRight->SetFlags(xtpTabNavigateButtonAlways);
  m_pFrame->RecalcLayout();
  const CRect rcButton = pRight->GetRect();
  ASSERT_FALSE(rcButton.IsRectEmpty());
  // The second tab laid under the button, inside the strip.
  CRect rcHeader = pTabbed->GetHeaderRect();
  rcHeader.UnionRect(rcHeader, rcButton);
  pTabbed->SetHeaderRect(rcHeader);
  pTabbed->GetItem(1)->SetRect(rcButton);
  const CPoint ptButton = rcButton.CenterPoint();
  ASSERT_EQ(1, pTabbed->HitTest(ptButton));
  const CPoint ptFirstTab = pTabbed->GetItem(0)->GetRect().CenterPoint();
  ASSERT_EQ(0, pTabbed->HitTest(ptFirstTab));

  ::PostMessage(pTabbed->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(ptButton.x, ptButton.y));
  pTabbed->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ptButton.x, ptButton.y));
  EXPECT_EQ(pTabbed, pSecond->GetContainer()) << "the button's pane stays docked";
  EXPECT_EQ(pTabbed, pFirst->GetContainer());
  MSG msg;
  while (::PeekMessage(&msg, pTabbed->GetSafeHwnd(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
  }

  pTabbed->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ptFirstTab.x, ptFirstTab.y));
  EXPECT_NE(pTabbed, pFirst->GetContainer()) << "a tab's own double click floats its pane";
  EXPECT_TRUE(CXTPDockingPaneMiniWnd::IsMiniWnd(pFirst->GetDockingSite()));
}

TEST_F(DockingManager, ThemesByIdReleaseTheOldPaintManager) {
  const struct {
    int nTheme;
    int nCaptionButtonSize; // what tells the families apart here: the class
    bool bTheme5;
  } kThemes[] = {{4, 0, false}, {11, 0, false}, {-1, 0, false}, {5, 0, true}, {8, 0, true}};
  for (const auto &theme : kThemes) {
    m_manager.SetTheme(theme.nTheme);
    CXTPDockingPanePaintManager *pPaint = m_manager.GetPaintManager();
    EXPECT_EQ(theme.nTheme, pPaint->GetTheme());
    EXPECT_EQ(theme.bTheme5, dynamic_cast<CXTPDockingPaneTheme5 *>(pPaint) != nullptr) << theme.nTheme;
    if (!theme.bTheme5) {
      EXPECT_NE(nullptr, dynamic_cast<CXTPDockingPaneDefaultTheme *>(pPaint));
    }
  }
}

COLORREF RedFace(int nIndex) {
  return nIndex == COLOR_3DFACE ? RGB(200, 0, 0) : ::GetSysColor(nIndex);
}

TEST_F(DockingManager, AColourChangeReachesTheDockingColours) {
  m_manager.SetTheme(5);
  CXTPColorManager *pColors = XTPGetColorManager();
  pColors->SetSystemColorFunction(RedFace);
  m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
  const COLORREF clrFace = m_manager.GetPaintManager()->GetColor(COLOR_3DFACE);
  pColors->SetSystemColorFunction(nullptr);
  pColors->RefreshColors();
  EXPECT_EQ(RGB(200, 0, 0), clrFace);
}

TEST(DockingManagerOle, OleIsTakenDownOnlyWhenItWasSetUpHere) {
  // A thread in the multithreaded apartment refuses OLE: the manager must
  // then leave the thread's COM alone when it ends.
  bool bRefused = false, bStillUp = false;
  std::thread worker([&] {
    ASSERT_EQ(S_OK, ::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    {
      CXTPDockingPaneManager manager;
      bRefused = !manager.IsOleInitialized();
    }
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bStillUp = hr == S_FALSE;
    if (SUCCEEDED(hr)) ::CoUninitialize();
    ::CoUninitialize();
  });
  worker.join();
  EXPECT_TRUE(bRefused);
  EXPECT_TRUE(bStillUp);
  CXTPDockingPaneManager manager;
  EXPECT_TRUE(manager.IsOleInitialized());
}

// A view that counts its initial updates.
class CountingView : public CView {
  DECLARE_DYNCREATE(CountingView)
public:
  static int s_nInitialUpdates;
  void OnDraw(CDC *) override {}
  void OnInitialUpdate() override { s_nInitialUpdates++; }
};
IMPLEMENT_DYNCREATE(CountingView, CView)
int CountingView::s_nInitialUpdates = 0;

int g_nFramesDeleted = 0;
class CountedFrame : public CFrameWnd {
public:
  ~CountedFrame() override { g_nFramesDeleted++; }
};
class CountedFramePane : public CXTPDockingPane {
public:
  using CXTPDockingPane::CXTPDockingPane;

protected:
  CFrameWnd *NewViewFrame() override { return new CountedFrame; }
};

TEST_F(DockingManager, AttachViewGivesTheViewItsInitialUpdate) {
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  CountingView::s_nInitialUpdates = 0;
  CWnd *pView = pPane->AttachView(m_pFrame, RUNTIME_CLASS(CountingView));
  ASSERT_NE(nullptr, pView);
  EXPECT_TRUE(pPane->IsValid());
  EXPECT_EQ(1, CountingView::s_nInitialUpdates);
  // The frame around it lives in the pane's container.
  EXPECT_EQ(pPane->GetContainer()->GetPaneHwnd(), ::GetParent(pPane->GetChildHwnd()));
}

TEST_F(DockingManager, AFrameThatCannotBeMadeLeavesThePaneUnattached) {
  CountedFramePane pane(m_manager.GetLayout());
  pane.SetID(7);
  // A parent handle that names no window: the frame's creation fails.
  CWnd stale;
  stale.m_hWnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0));
  g_nFramesDeleted = 0;
  EXPECT_EQ(nullptr, pane.AttachView(&stale, RUNTIME_CLASS(CountingView)));
  stale.m_hWnd = nullptr;
  EXPECT_FALSE(pane.IsValid());
  EXPECT_EQ(1, g_nFramesDeleted);
  // The layout lists the pane it was made in: take it back out before it goes.
  auto &objects = const_cast<std::vector<CXTPDockingPaneBase *> &>(m_manager.GetLayout()->GetObjects());
  objects.erase(std::find(objects.begin(), objects.end(), static_cast<CXTPDockingPaneBase *>(&pane)));
}

TEST_F(DockingManager, ATabbedContainerRevokesItsDropTargetWithItsWindow) {
  CXTPDockingPane *pPane = m_manager.CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockBottom);
  auto *pContainer = static_cast<CXTPDockingPaneTabbedContainer *>(pPane->GetContainer());
  const ULONG nRegistered = pContainer->GetDropTargetRefCount();
  EXPECT_GT(nRegistered, 1u);
  // Closing its only pane destroys the window; the object lives on in the layout.
  m_manager.ClosePane(pPane);
  EXPECT_EQ(nullptr, pContainer->GetSafeHwnd());
  EXPECT_EQ(1u, pContainer->GetDropTargetRefCount());
  // Window operations on it do nothing now.
  pContainer->InvalidatePane(TRUE);
  EXPECT_FALSE(pContainer->IsTabsVisible());
  EXPECT_EQ(-1, pContainer->HitTest(CPoint(5, 5)));
}

// A window to press caption buttons in.
class ButtonWindow : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(
        m_wnd.CreateEx(0, AfxRegisterWndClass(0), L"buttons", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    m_button.SetRect(CRect(10, 10, 26, 26));
  }
  void TearDown() override { m_wnd.DestroyWindow(); }
  CWnd m_wnd;
  CXTPDockingPaneBase m_owner{xtpPaneTypeClient, nullptr};
  CXTPDockingPaneCaptionButton m_button{XTP_IDS_DOCKINGPANE_CLOSE, &m_owner};
};

TEST_F(ButtonWindow, APressEndsByItsMessages) {
  const struct {
    const char *pszName;
    UINT message;
    WPARAM wParam;
    LPARAM lParamMove;
    BOOL bExpected;
  } kCases[] = {
      {"released on the button", WM_LBUTTONUP, 0, MAKELPARAM(15, 15), TRUE},
      {"dragged off and released", WM_LBUTTONUP, 0, MAKELPARAM(50, 50), FALSE},
      {"Escape", WM_KEYDOWN, VK_ESCAPE, MAKELPARAM(15, 15), FALSE},
      {"the right button", WM_RBUTTONDOWN, 0, MAKELPARAM(15, 15), FALSE},
      {"a cancel", WM_CANCELMODE, 0, MAKELPARAM(15, 15), FALSE},
  };
  for (const auto &c : kCases) {
    ::PostMessage(m_wnd.GetSafeHwnd(), WM_MOUSEMOVE, 0, c.lParamMove);
    ::PostMessage(m_wnd.GetSafeHwnd(), c.message, c.wParam, 0);
    EXPECT_EQ(c.bExpected, m_button.Click(&m_wnd, CPoint(15, 15))) << c.pszName;
    EXPECT_FALSE(m_button.IsPressed()) << c.pszName;
    EXPECT_EQ(nullptr, ::GetCapture()) << c.pszName;
  }
}

TEST_F(ButtonWindow, AQuitRequestEndsThePressAndStaysQueued) {
  ::PostQuitMessage(3);
  EXPECT_FALSE(m_button.Click(&m_wnd, CPoint(15, 15)));
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(3u, msg.wParam);
}

TEST(CaptionButtonLayout, VisibleButtonsPackFromTheRight) {
  CRect rcCaption(0, 0, 100, 20);
  const auto rects = XTPLayoutCaptionButtons(rcCaption, {TRUE, FALSE, TRUE}, 16, 0);
  EXPECT_EQ(CRect(84, 2, 100, 18), rects[0]);
  EXPECT_EQ(CRect(0, 0, 0, 0), rects[1]);
  EXPECT_EQ(CRect(68, 2, 84, 18), rects[2]);
  EXPECT_EQ(68, rcCaption.right);
  CRect rcGapped(0, 0, 100, 20);
  const auto gapped = XTPLayoutCaptionButtons(rcGapped, {TRUE, TRUE}, 12, 2);
  EXPECT_EQ(CRect(74, 4, 86, 16), gapped[1]);
}

TEST(DockingPaintManager, Theme5FollowsTheColourScheme) {
  CXTPColorManager *pColors = XTPGetColorManager();
  pColors->DisableSystemThemeColors(TRUE);
  CXTPDockingPaneTheme5 classic;
  EXPECT_FALSE(classic.m_bLunaTheme);
  EXPECT_EQ(classic.GetColor(COLOR_3DFACE), classic.m_clrNormalCaptionDark);
  EXPECT_EQ(
      CXTPColorManager::BlendColors(classic.GetColor(COLOR_3DFACE), classic.GetColor(COLOR_WINDOW), 205),
      classic.m_clrNormalCaptionLight);
  EXPECT_EQ(classic.GetColor(36), classic.m_clrActiveCaptionLight);
  classic.m_nColorSchemeChoice = 1; // blue
  classic.RefreshMetrics();
  pColors->DisableSystemThemeColors(FALSE);
  EXPECT_TRUE(classic.m_bLunaTheme);
  EXPECT_EQ(0x8CD5FFu, classic.m_clrActiveCaptionLight);
  EXPECT_EQ(0x4CA6FFu, classic.m_clrActiveCaptionDark);
  EXPECT_EQ(0xE2A981u, classic.m_clrNormalCaptionDark);
  EXPECT_EQ(0xFCE7D8u, classic.GetColor(51));
  EXPECT_EQ(0x800000u, classic.GetColor(50));
  // The caption is the small caption font's space plus 7.
  EXPECT_GE(classic.GetCaptionHeight(), 13 + 7);
}

// Systems that know only the older, shorter metrics, and one that answers nothing.
BOOL WINAPI OlderSystem(UINT uiAction, UINT uiParam, PVOID pvParam, UINT) {
  if (uiAction != SPI_GETNONCLIENTMETRICS || uiParam != sizeof(NONCLIENTMETRICS) - sizeof(int)) return FALSE;
  auto *pMetrics = static_cast<NONCLIENTMETRICS *>(pvParam);
  if (pMetrics->cbSize != uiParam) return FALSE;
  wcscpy_s(pMetrics->lfSmCaptionFont.lfFaceName, L"Older Caption");
  return TRUE;
}
BOOL WINAPI SilentSystem(UINT, UINT, PVOID, UINT) {
  return FALSE;
}

TEST(DockingPaintManager, TheCaptionFontIsAskedForInTheSystemsOwnSize) {
  EXPECT_STREQ(L"Older Caption", XTPSmallCaptionFont(OlderSystem).lfFaceName);
  LOGFONT lfDefault = {};
  ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lfDefault), &lfDefault);
  const LOGFONT lf = XTPSmallCaptionFont(SilentSystem);
  EXPECT_STREQ(lfDefault.lfFaceName, lf.lfFaceName);
  EXPECT_EQ(lfDefault.lfHeight, lf.lfHeight);
}

TEST(DockingPaintManager, Theme8KeepsItsCaptionFontAfterARefresh) {
  CXTPDockingPaneTheme8 theme;
  theme.RefreshMetrics();
  LOGFONT lf = {};
  theme.GetCaptionFont()->GetLogFont(&lf);
  EXPECT_STREQ(L"Arial", lf.lfFaceName);
  EXPECT_EQ(FW_BOLD, lf.lfWeight);
  EXPECT_EQ(20, lf.lfHeight);
  EXPECT_FALSE(theme.m_bUseSystemCaptionFont);
}

} // namespace

namespace {

// Whether hUpper lies anywhere above hLower among the top-level windows.
bool IsAbove(HWND hUpper, HWND hLower) {
  for (HWND h = ::GetWindow(hLower, GW_HWNDPREV); h != nullptr; h = ::GetWindow(h, GW_HWNDPREV))
    if (h == hUpper) return true;
  return false;
}

} // namespace

// A site that is itself a child window (a frame inside a page of a larger
// window): its floating frames belong to the top-level window, so they stay
// above it when it comes to the top.
TEST(DockingManagerChildSite, AFloatingFrameBelongsToTheTopLevelWindowAndStaysAboveIt) {
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), L"top-level", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400,
                           nullptr, nullptr));
  auto *pSite = new SiteFrame; // deletes itself with its window
  ASSERT_TRUE(pSite->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
                              300, 200, top.GetSafeHwnd(), nullptr));
  {
    CXTPDockingPaneManager manager;
    manager.InstallInFrame(pSite);
    CXTPDockingPane *pPane = manager.CreatePane(1, CRect(0, 0, 100, 100), xtpPaneDockLeft);
    top.ShowWindow(SW_SHOWNOACTIVATE);
    CXTPDockingPaneMiniWnd *pMini = manager.FloatPane(pPane, CRect(340, 40, 500, 200));
    ASSERT_NE(nullptr, pMini);
    EXPECT_EQ(top.GetSafeHwnd(), ::GetWindow(pMini->GetSafeHwnd(), GW_OWNER));
    ASSERT_TRUE(pMini->IsWindowVisible());
    // The top-level window is brought to the top, as a click on it would.
    top.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(IsAbove(pMini->GetSafeHwnd(), top.GetSafeHwnd()));
    EXPECT_NE(pMini->GetSafeHwnd(), ::GetActiveWindow());
    pSite->DestroyWindow();
  }
  top.DestroyWindow();
}

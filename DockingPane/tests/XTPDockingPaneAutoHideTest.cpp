// Auto-hidden panes: the Auto Hide button moves a pane into the panel of its
// side and back; a pointed-at or clicked tab slides the pane out, and the
// window slides back once the cursor has left it and the panel. The cursor
// is moved with SetCursorPos; the frame is shown without ever being
// activated, so the panel is told its frame counts as active.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Archive.h"
#include "DockingPaneTestSite.h"
#include "FrameWnd.h"
#include "CommonControls.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneAutoHidePanel.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPStatusBar.h"

namespace {

std::string Str(const CRect &rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
         std::to_string(rc.bottom);
}

class SiteFrame : public CFrameWnd {
public:
  INT_PTR m_nCancelAction = -1; // an action code to refuse
  std::vector<INT_PTR> m_arrActions;
  CXTPDockingPaneBase *m_pRightClicked = nullptr;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_DOCKINGPANE_NOTIFY) return CFrameWnd::WindowProc(message, wParam, lParam);
    if (wParam == XTP_DPN_ACTION) {
      auto *pAction = reinterpret_cast<XTP_DOCKINGPANE_ACTION *>(lParam);
      m_arrActions.push_back(pAction->action);
      if (pAction->action == m_nCancelAction) pAction->bCancel = TRUE;
    }
    if (wParam == XTP_DPN_RCLICK) m_pRightClicked = reinterpret_cast<CXTPDockingPaneBase *>(lParam);
    return TRUE;
  }
};

// The test never activates its frame; a pointed-at tab slides out only in
// an active frame.
class ActivePanel : public CXTPDockingPaneAutoHidePanel {
public:
  using CXTPDockingPaneAutoHidePanel::CXTPDockingPaneAutoHidePanel;

protected:
  BOOL IsSiteActive() const override { return TRUE; }
};

class TestManager : public CXTPDockingPaneManager {
public:
  CXTPDockingPaneBase *OnCreatePane(int type, CXTPDockingPaneLayout *pLayout) override {
    if (type == xtpPaneTypeAutoHidePanel) return new ActivePanel(pLayout);
    return CXTPDockingPaneManager::OnCreatePane(type, pLayout);
  }
};

using dptest::Shape;

// The panels of a layout that hold something, by side.
std::string Panels(const CXTPDockingPaneLayout *pLayout) {
  std::string str;
  for (int i = 0; i < 4; i++)
    if (CXTPDockingPaneAutoHidePanel *pPanel =
            pLayout->GetAutoHidePanel(static_cast<XTPDockingPaneDirection>(i)))
      if (!pPanel->IsEmpty()) str += Shape(pPanel);
  return str;
}

class DockingAutoHide : public dptest::DockingSiteTest<SiteFrame> {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreateSite(L"auto-hide test"));
    ShowLeftAndBottomPanes();
  }
  void TearDown() override {
    ::SetCursorPos(1000, 700);
    DockingSiteTest::TearDown();
  }
  CXTPDockingPaneManager *MakeManager() override { return new TestManager; }
  // Runs the messages until the condition holds or the time is up.
  static BOOL PumpUntil(const std::function<bool()> &condition, DWORD dwTimeout) {
    const DWORD dwStart = ::GetTickCount();
    while (!condition()) {
      if (::GetTickCount() - dwStart > dwTimeout) return FALSE;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      Pump();
    }
    return TRUE;
  }
  static void PumpFor(DWORD dwTime) {
    PumpUntil([] { return false; }, dwTime);
  }
  CXTPDockingPaneTabbedContainer *ContainerOf(CXTPDockingPane *pPane) const {
    return static_cast<CXTPDockingPaneTabbedContainer *>(pPane->GetContainer());
  }
  CXTPDockingPaneAutoHidePanel *Panel(XTPDockingPaneDirection direction) const {
    return m_pManager->GetLayout()->GetAutoHidePanel(direction);
  }
  // Hides the left pane with its caption's Auto Hide button.
  void HideLeftByItsButton() {
    CXTPDockingPaneTabbedContainer *pContainer = ContainerOf(m_pLeft);
    CXTPDockingPaneCaptionButton *pPin =
        pContainer->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE);
    ASSERT_TRUE(pPin != nullptr && pPin->IsVisible());
    pContainer->OnCaptionButtonClick(pPin);
    m_pFrame->RecalcLayout();
    Pump();
  }
  // The screen centre of a pane's tab in its panel.
  CPoint TabPoint(CXTPDockingPane *pPane) const {
    CXTPDockingPaneAutoHidePanel *pPanel =
        static_cast<CXTPDockingPaneAutoHidePanel *>(pPane->GetContainer()->GetContainer());
    for (const auto &pRow : pPanel->GetTabRows())
      for (int i = 0; i < pRow->GetItemCount(); i++)
        if (pRow->GetItem(i)->GetData() == reinterpret_cast<DWORD_PTR>(pPane)) {
          CPoint pt = pRow->GetItem(i)->GetRect().CenterPoint();
          pPanel->ClientToScreen(&pt);
          return pt;
        }
    ADD_FAILURE() << "no tab for pane " << pPane->GetID();
    return CPoint(0, 0);
  }
  // Moves the cursor over the point and tells the window under it.
  static void MoveTo(CWnd *pWnd, CPoint ptScreen) {
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    CPoint pt = ptScreen;
    pWnd->ScreenToClient(&pt);
    pWnd->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  }
  static void ClickAt(CWnd *pWnd, CPoint ptScreen) {
    MoveTo(pWnd, ptScreen);
    CPoint pt = ptScreen;
    pWnd->ScreenToClient(&pt);
    pWnd->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    pWnd->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
  // Far from the frame.
  static void MoveAway() { ::SetCursorPos(1000, 700); }
  // Out, and the site was told so.
  bool IsFullyOut(CXTPDockingPaneAutoHidePanel *pPanel) const {
    CXTPDockingPaneAutoHideWnd *pWnd = pPanel->GetActiveWnd();
    const std::vector<INT_PTR> &arr = m_pFrame->m_arrActions;
    return pWnd != nullptr && pWnd->GetStep() == pWnd->GetStepsCount() - 1 && !pWnd->IsCollapsing() &&
           std::find(arr.begin(), arr.end(), xtpPaneActionExpanded) != arr.end();
  }
  // What the program's idle time runs.
  void RunIdle() {
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    Pump();
  }
  std::vector<INT_PTR> TakeActions() {
    std::vector<INT_PTR> arr;
    arr.swap(m_pFrame->m_arrActions);
    return arr;
  }
};

TEST_F(DockingAutoHide, TheAutoHideButtonHidesThePaneAndDocksItBack) {
  CXTPDockingPaneTabbedContainer *pHolder = ContainerOf(m_pLeft);
  HideLeftByItsButton();
  EXPECT_EQ((std::vector<INT_PTR>{xtpPaneActionPinning, xtpPaneActionPinned}), TakeActions());
  EXPECT_TRUE(m_pLeft->IsAutoHidden());
  EXPECT_EQ("V(H(C ) T2 )", Shape(m_pManager->GetTopPane()));
  EXPECT_EQ("A0[T1 ]", Panels(m_pManager->GetLayout()));

  // The panel takes a strip along the left edge and the docked tree the rest.
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  ASSERT_TRUE(pPanel->GetSafeHwnd() != nullptr);
  EXPECT_TRUE(pPanel->IsWindowVisible());
  const int nSize = pPanel->GetPanelSize();
  EXPECT_GT(nSize, 10);
  CRect rcClient;
  m_pFrame->GetClientRect(&rcClient);
  EXPECT_EQ(Str(CRect(0, 0, nSize, rcClient.bottom)), Str(pPanel->GetPanelRect()));
  CRect rcTop;
  m_pManager->GetTopPane()->GetWindowRect(&rcTop);
  m_pFrame->ScreenToClient(&rcTop);
  EXPECT_EQ(nSize, rcTop.left);
  // The hidden container's window is out of sight.
  EXPECT_FALSE(::IsWindowVisible(ContainerOf(m_pLeft)->GetPaneHwnd()));

  // Out again, its pin lies and docks it back where it was.
  m_pManager->ShowPane(m_pLeft);
  ASSERT_TRUE(pPanel->GetActiveWnd() != nullptr);
  CXTPDockingPaneTabbedContainer *pHidden = ContainerOf(m_pLeft);
  EXPECT_FALSE(pHidden->IsTabsVisible());
  CXTPDockingPaneCaptionButton *pPin = pHidden->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE);
  ASSERT_TRUE(pPin->IsVisible());
  TakeActions();
  pHidden->OnCaptionButtonClick(pPin);
  EXPECT_EQ(pHolder, m_pLeft->GetContainer());
  EXPECT_FALSE(m_pLeft->IsAutoHidden());
  const std::vector<INT_PTR> arrActions = TakeActions();
  EXPECT_NE(arrActions.end(), std::find(arrActions.begin(), arrActions.end(), xtpPaneActionDocked));
  // The slide-out window goes once the click is over; the empty panel goes with the next layout.
  EXPECT_TRUE(PumpUntil([&] { return pPanel->GetActiveWnd() == nullptr; }, 2000));
  m_pFrame->RecalcLayout();
  Pump();
  EXPECT_EQ("V(H(T1 C ) T2 )", Shape(m_pManager->GetTopPane()));
  EXPECT_EQ("", Panels(m_pManager->GetLayout()));
  EXPECT_EQ(nullptr, pPanel->GetSafeHwnd());
  EXPECT_TRUE(::IsWindowVisible(pHolder->GetPaneHwnd()));
}

TEST_F(DockingAutoHide, APaneHidesToTheSideItIsDockedOn) {
  m_pManager->HidePane(m_pBottom);
  m_pFrame->RecalcLayout();
  Pump();
  EXPECT_EQ("A3[T2 ]", Panels(m_pManager->GetLayout()));
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockBottom);
  const int nSize = pPanel->GetPanelSize();
  CRect rcClient;
  m_pFrame->GetClientRect(&rcClient);
  EXPECT_EQ(Str(CRect(0, rcClient.bottom - nSize, rcClient.right, rcClient.bottom)),
            Str(pPanel->GetPanelRect()));
  // Hiding what is hidden only sends its window back.
  m_pManager->HidePane(m_pBottom);
  EXPECT_EQ("A3[T2 ]", Panels(m_pManager->GetLayout()));
}

TEST_F(DockingAutoHide, APointedTabSlidesOutAndGoesBackWhenTheCursorLeaves) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  TakeActions();
  MoveTo(pPanel, TabPoint(m_pLeft));
  ASSERT_TRUE(PumpUntil([&] { return IsFullyOut(pPanel); }, 3000)) << "no slide-out on hover";
  CXTPDockingPaneAutoHideWnd *pWnd = pPanel->GetActiveWnd();
  // With the program's settings a slide takes 8 steps.
  EXPECT_EQ(8, pWnd->GetStepsCount());
  EXPECT_EQ((std::vector<INT_PTR>{xtpPaneActionExpanding, xtpPaneActionExpanded}), TakeActions());
  // Over the left edge of the docked tree, as wide as the pane's docking size.
  CRect rcWnd;
  pWnd->GetWindowRect(&rcWnd);
  m_pFrame->ScreenToClient(&rcWnd);
  EXPECT_EQ(pPanel->GetPanelRect().right, rcWnd.left);
  EXPECT_EQ(Str(pWnd->GetFinalRect()), Str(rcWnd));
  EXPECT_EQ(ContainerOf(m_pLeft)->GetPaneHwnd() != nullptr ? pWnd->GetSafeHwnd() : nullptr,
            ::GetParent(ContainerOf(m_pLeft)->GetPaneHwnd()));
  EXPECT_TRUE(::IsWindowVisible(ContainerOf(m_pLeft)->GetPaneHwnd()));

  // Pointing at the tab of the pane that is out does nothing more.
  CPoint ptTab = TabPoint(m_pLeft);
  pPanel->ScreenToClient(&ptTab);
  pPanel->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(ptTab.x, ptTab.y));
  EXPECT_EQ(pWnd, pPanel->GetActiveWnd());
  EXPECT_TRUE(TakeActions().empty());

  // While the cursor stays over the window it stays out.
  CPoint ptCentre = rcWnd.CenterPoint();
  m_pFrame->ClientToScreen(&ptCentre);
  MoveTo(pWnd, ptCentre);
  PumpFor(900);
  EXPECT_EQ(pWnd, pPanel->GetActiveWnd());
  EXPECT_FALSE(pWnd->IsCollapsing());

  // Away from it and from the panel: back after about 600 ms.
  MoveAway();
  const DWORD dwLeft = ::GetTickCount();
  ASSERT_TRUE(PumpUntil([&] { return pPanel->GetActiveWnd() == nullptr; }, 3000)) << "never slid back";
  EXPECT_GE(::GetTickCount() - dwLeft, 500u);
  EXPECT_EQ((std::vector<INT_PTR>{xtpPaneActionCollapsing, xtpPaneActionCollapsed}), TakeActions());
  // The container is back in its panel, hidden.
  EXPECT_EQ(m_hFrame, ::GetParent(ContainerOf(m_pLeft)->GetPaneHwnd()));
  EXPECT_FALSE(::IsWindowVisible(ContainerOf(m_pLeft)->GetPaneHwnd()));
  EXPECT_TRUE(m_pLeft->IsAutoHidden());
}

TEST_F(DockingAutoHide, ASlidOutPaneIsNotDraggedByItsCaption) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  ClickAt(pPanel, TabPoint(m_pLeft));
  ASSERT_TRUE(PumpUntil([&] { return IsFullyOut(pPanel); }, 2000)) << "no slide-out on click";
  CXTPDockingPaneTabbedContainer *pContainer = ContainerOf(m_pLeft);
  const CPoint ptFrom = CaptionPoint(pContainer);
  // A press on the caption, then the mouse far into the client area and let go:
  // a drag would float the pane there.
  const CPoint ptDrop = ScreenRect(m_pManager->GetClientPane()).CenterPoint();
  ::SetCursorPos(ptFrom.x, ptFrom.y);
  PostMove(CPoint(ptFrom.x + 20, ptFrom.y + 20));
  PostMove(ptDrop);
  ::PostMessage(m_hFrame, WM_LBUTTONUP, 0, 0);
  CPoint pt = ptFrom;
  pContainer->ScreenToClient(&pt);
  pContainer->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  Pump();
  EXPECT_TRUE(m_pLeft->IsAutoHidden());
  EXPECT_EQ("", dptest::Floating(m_pManager->GetLayout()));
}

TEST_F(DockingAutoHide, AClickedTabSlidesOutAndAWindowOpenedElsewhereGoesBackAtOnce) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  TakeActions();
  ClickAt(pPanel, TabPoint(m_pLeft));
  ASSERT_TRUE(PumpUntil([&] { return IsFullyOut(pPanel); }, 2000)) << "no slide-out on click";
  EXPECT_EQ((std::vector<INT_PTR>{xtpPaneActionExpanding, xtpPaneActionExpanded}), TakeActions());

  // Opened by the program while the cursor is elsewhere: it starts back at
  // the first check.
  m_pManager->ShowPane(m_pBottom); // docked: no effect on the panel
  pPanel->CloseActiveWindow();
  TakeActions();
  MoveAway();
  ASSERT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  CXTPDockingPaneAutoHideWnd *pWnd = pPanel->GetActiveWnd();
  ASSERT_TRUE(pWnd != nullptr);
  EXPECT_TRUE(PumpUntil([&] { return pPanel->GetActiveWnd() == nullptr; }, 1500));
}

TEST_F(DockingAutoHide, ARefusedSlideOutLeavesThePaneIn) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  m_pFrame->m_nCancelAction = xtpPaneActionExpanding;
  TakeActions();
  EXPECT_FALSE(pPanel->ShowPane(m_pLeft, FALSE));
  EXPECT_EQ(nullptr, pPanel->GetActiveWnd());
  EXPECT_EQ((std::vector<INT_PTR>{xtpPaneActionExpanding}), TakeActions());
  // A refused slide back keeps the window out.
  m_pFrame->m_nCancelAction = xtpPaneActionCollapsing;
  ASSERT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  pPanel->CloseActiveWindow();
  EXPECT_TRUE(pPanel->GetActiveWnd() != nullptr);
  m_pFrame->m_nCancelAction = -1;
  pPanel->CloseActiveWindow();
  EXPECT_EQ(nullptr, pPanel->GetActiveWnd());
}

// A CBT hook that refuses every new child of one window.
HWND g_hRefusedParent = nullptr;
HHOOK g_hHook = nullptr;
LRESULT CALLBACK RefuseChildren(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HCBT_CREATEWND &&
      reinterpret_cast<CBT_CREATEWND *>(lParam)->lpcs->hwndParent == g_hRefusedParent)
    return 1;
  return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
}

TEST_F(DockingAutoHide, ASlideOutWindowThatCannotBeMadeLeavesTheFrameDrawing) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  g_hRefusedParent = m_hFrame;
  g_hHook = ::SetWindowsHookEx(WH_CBT, RefuseChildren, nullptr, ::GetCurrentThreadId());
  ASSERT_TRUE(g_hHook != nullptr);
  const BOOL bShown = pPanel->ShowPane(m_pLeft, FALSE);
  ::UnhookWindowsHookEx(g_hHook);
  g_hHook = nullptr;
  EXPECT_FALSE(bShown);
  EXPECT_EQ(nullptr, pPanel->GetActiveWnd());
  // Redrawing switched off around the creation is on again: the frame is
  // still visible and paints.
  EXPECT_TRUE((m_pFrame->GetStyle() & WS_VISIBLE) != 0);
  // And the next try works.
  EXPECT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  EXPECT_TRUE((m_pFrame->GetStyle() & WS_VISIBLE) != 0);
}

TEST_F(DockingAutoHide, AFrameLayoutSendsTheWindowBack) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  ASSERT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  m_pFrame->RecalcLayout();
  EXPECT_EQ(nullptr, pPanel->GetActiveWnd());
}

TEST_F(DockingAutoHide, DraggingTheEdgeResizesThePaneForTheNextSlideOut) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  m_pManager->m_bSplitterTracker = FALSE;
  ASSERT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  CXTPDockingPaneAutoHideWnd *pWnd = pPanel->GetActiveWnd();
  CRect rcAvail;
  ASSERT_TRUE(pWnd->GetAvailableRect(rcAvail));
  CRect rcWnd;
  pWnd->GetWindowRect(&rcWnd);
  // The band at the inner edge moves 60 pixels right.
  CPoint ptFrom(rcWnd.right - 2, rcWnd.top + 50), ptTo = ptFrom + CSize(60, 0);
  CPoint ptClient = ptTo;
  pWnd->ScreenToClient(&ptClient);
  ::SetCursorPos(ptFrom.x, ptFrom.y);
  pWnd->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptClient.x, ptClient.y));
  pWnd->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptClient.x, ptClient.y));
  CPoint ptDown = ptFrom;
  pWnd->ScreenToClient(&ptDown);
  pWnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptDown.x, ptDown.y));
  EXPECT_EQ(rcWnd.Width() + 60, pWnd->GetFinalRect().Width());
  EXPECT_EQ(rcWnd.Width() + 60, m_pLeft->GetDockingSize().cx);
  pPanel->CloseActiveWindow();
  ASSERT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  EXPECT_EQ(rcWnd.Width() + 60, pPanel->GetActiveWnd()->GetFinalRect().Width());
}

TEST_F(DockingAutoHide, ALayoutWithAnAutoHidePanelComesBack) {
  HideLeftByItsButton();
  m_pManager->HidePane(m_pBottom);
  m_pFrame->RecalcLayout();
  ASSERT_EQ("A0[T1 ]A3[T2 ]", Panels(m_pManager->GetLayout()));
  CMemFile file;
  Save(file);
  CXTPDockingPaneLayout *pLoaded = m_pManager->CreateLayout();
  EXPECT_TRUE(LoadInto(pLoaded, file));
  EXPECT_EQ("A0[T1 ]A3[T2 ]", Panels(pLoaded));
  EXPECT_EQ("V(H(C ) )", Shape(pLoaded->GetTopContainer()));
  // The panes' recorded docking holders came along: inside the docked tree.
  for (CXTPDockingPaneInfo &info : pLoaded->GetPaneList()) {
    ASSERT_TRUE(info.pDockingHolder != nullptr) << info.pPane->GetID();
    EXPECT_FALSE(info.pDockingHolder->IsAutoHidden()) << info.pPane->GetID();
  }
  pLoaded->InternalRelease();
}

TEST_F(DockingAutoHide, StatusTextAndProgressLeaveAnOpenWindowOut) {
  // A status bar with a progress bar in its first pane, as the program
  // shows while it searches.
  CXTPStatusBar bar;
  const UINT kIndicators[] = {ID_SEPARATOR, ID_SEPARATOR};
  ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
  ASSERT_TRUE(bar.SetIndicators(kIndicators, 2));
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &bar, 1));
  progress.SetRange32(0, 100);
  // Hiding the pane left a layout of the frame for the idle time.
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  ASSERT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  CXTPDockingPaneAutoHideWnd *pWnd = pPanel->GetActiveWnd();
  // The cursor over the window keeps it out for as long as the test needs.
  CRect rcWnd;
  pWnd->GetWindowRect(&rcWnd);
  ::SetCursorPos(rcWnd.CenterPoint().x, rcWnd.CenterPoint().y);
  TakeActions();
  for (int i = 0; i < 20; i++) {
    CString strText;
    strText.Format(L"%d entries found", i * 37);
    m_pFrame->SetMessageText(strText);
    bar.SetPaneText(1, strText);
    CRect rcPane;
    bar.GetItemRect(0, &rcPane);
    progress.MoveWindow(rcPane.left + 80, rcPane.top, rcPane.Width() / 2 + i, rcPane.Height());
    progress.StepIt();
    RunIdle();
  }
  EXPECT_EQ(pWnd, pPanel->GetActiveWnd());
  const std::vector<INT_PTR> arrActions = TakeActions();
  EXPECT_EQ(arrActions.end(), std::find(arrActions.begin(), arrActions.end(), xtpPaneActionCollapsing));
  MoveAway();
}

TEST_F(DockingAutoHide, ARightClickOnATabTellsTheSiteWhichPane) {
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  CPoint pt = TabPoint(m_pLeft);
  pPanel->ScreenToClient(&pt);
  pPanel->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(static_cast<CXTPDockingPaneBase *>(m_pLeft), m_pFrame->m_pRightClicked);
  EXPECT_EQ(nullptr, pPanel->GetActiveWnd());
  // Off the tabs, nothing.
  m_pFrame->m_pRightClicked = nullptr;
  pPanel->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, pPanel->GetPanelRect().Height() - 2));
  EXPECT_EQ(nullptr, m_pFrame->m_pRightClicked);
}

TEST_F(DockingAutoHide, ClosingThePaneThatIsOutClosesItsWindowAndEmptiesThePanel) {
  CXTPDockingPaneTabbedContainer *pHolder = ContainerOf(m_pLeft);
  HideLeftByItsButton();
  CXTPDockingPaneAutoHidePanel *pPanel = Panel(xtpPaneDockLeft);
  ASSERT_TRUE(pPanel->ShowPane(m_pLeft, FALSE));
  CXTPDockingPaneTabbedContainer *pHidden = ContainerOf(m_pLeft);
  CXTPDockingPaneCaptionButton *pClose = pHidden->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_CLOSE);
  ASSERT_TRUE(pClose->IsVisible());
  pHidden->OnCaptionButtonClick(pClose);
  EXPECT_EQ(nullptr, m_pLeft->GetContainer());
  EXPECT_EQ(nullptr, pPanel->GetActiveWnd());
  Pump();
  m_pFrame->RecalcLayout();
  EXPECT_EQ("", Panels(m_pManager->GetLayout()));
  EXPECT_EQ(nullptr, pPanel->GetSafeHwnd());
  // Shown again, it goes back to the last place it was docked in: hidden
  // containers are never recorded as a pane's holder.
  m_pManager->ShowPane(m_pLeft);
  EXPECT_EQ(pHolder, m_pLeft->GetContainer());
  EXPECT_FALSE(m_pLeft->IsAutoHidden());
}

} // namespace

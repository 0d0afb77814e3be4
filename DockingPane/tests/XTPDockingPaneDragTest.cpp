// Panes dragged with the mouse: the cursor is moved with SetCursorPos and the
// mouse messages are posted before the drag's own loop starts, so the loop
// reads them as a user's drag. The frame is shown without ever being
// activated. Also floating frames: made, docked back by a caption double
// click, closed through their system menu's Hide, and saved with the layout.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../../Common/tests/MemoryCanvas.h"
#include "DockingPaneTestSite.h"
#include "FrameWnd.h"
#include "MiniFrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneContext.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPPropExchange.h"

namespace {

class SiteFrame : public CFrameWnd {
public:
  INT_PTR m_nCancelAction = -1; // an action code to refuse
  std::vector<INT_PTR> m_arrActions;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_DOCKINGPANE_NOTIFY) return CFrameWnd::WindowProc(message, wParam, lParam);
    if (wParam == XTP_DPN_ACTION) {
      auto *pAction = reinterpret_cast<XTP_DOCKINGPANE_ACTION *>(lParam);
      m_arrActions.push_back(pAction->action);
      if (pAction->action == m_nCancelAction) pAction->bCancel = TRUE;
    }
    return TRUE;
  }
};

using dptest::Floating;
using dptest::Shape;

class DockingDrag : public dptest::DockingSiteTest<SiteFrame> {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreateSite(L"drag test"));
    ShowLeftAndBottomPanes();
  }
  void PostRelease() { ::PostMessage(m_hFrame, WM_LBUTTONUP, 0, 0); }
  // Drags pObject from ptFrom through the points given and lets go.
  void DragAlong(CXTPDockingPaneBase *pObject, CPoint ptFrom, std::initializer_list<CPoint> path,
                 BOOL bRelease = TRUE) {
    Pump();
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    for (CPoint pt : path) PostMove(pt);
    if (bRelease) PostRelease();
    m_pManager->GetDragContext()->Drag(pObject, ptFrom);
    m_pFrame->RecalcLayout();
    Pump();
  }
};

TEST_F(DockingDrag, ADraggedContainerDocksWhereItIsDropped) {
  struct Case {
    const char *pszName;
    // The drop point from the client area's rectangle (screen).
    CPoint (*drop)(const CRect &rcClient, const CRect &rcTop);
    const char *pszShape;
    INT_PTR nLastAction;
  } cases[] = {
      {"near the client area's right edge: beside it",
       [](const CRect &rc, const CRect &) { return CPoint(rc.right - 5, rc.CenterPoint().y); },
       "V(H(C T1 ) T2 )", xtpPaneActionDocked},
      {"just outside the frame's top edge: across the whole frame",
       [](const CRect &, const CRect &rcTop) { return CPoint(rcTop.CenterPoint().x, rcTop.top - 10); },
       "V(T1 H(C ) T2 )", xtpPaneActionDocked},
      {"the middle of the client area: floats",
       [](const CRect &rc, const CRect &) { return rc.CenterPoint(); }, "V(H(C ) T2 )", xtpPaneActionFloated},
  };
  BOOL bFirst = TRUE;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszName);
    if (!bFirst) {
      TearDown();
      SetUp();
      if (HasFatalFailure()) return;
    }
    bFirst = FALSE;
    m_pFrame->m_arrActions.clear();
    CXTPDockingPaneBase *pContainer = m_pLeft->GetContainer();
    const CPoint ptFrom = CaptionPoint(pContainer);
    const CPoint ptDrop =
        c.drop(ScreenRect(m_pManager->GetClientPane()), ScreenRect(m_pManager->GetTopPane()));
    DragAlong(pContainer, ptFrom, {CPoint(ptFrom.x + 10, ptFrom.y + 10), ptDrop});
    EXPECT_EQ(c.pszShape, Shape(m_pManager->GetTopPane()));
    ASSERT_FALSE(m_pFrame->m_arrActions.empty());
    EXPECT_EQ(c.nLastAction, m_pFrame->m_arrActions.back());
    EXPECT_FALSE(m_pManager->GetDragContext()->IsDesktopHeld());
    EXPECT_EQ(nullptr, ::GetCapture());
  }
}

TEST_F(DockingDrag, APaneDroppedOnAnotherCaptionJoinsItsTabs) {
  const CPoint ptFrom = CaptionPoint(m_pLeft->GetContainer());
  DragAlong(m_pLeft, ptFrom, {CPoint(ptFrom.x + 20, ptFrom.y + 20), CaptionPoint(m_pBottom->GetContainer())});
  EXPECT_EQ("V(H(C ) T21 )", Shape(m_pManager->GetTopPane()));
  EXPECT_EQ(xtpPaneActionAttached, m_pFrame->m_arrActions.back());
}

TEST_F(DockingDrag, AFloatedPaneDocksBackOnACaptionDoubleClick) {
  const CRect rcClient = ScreenRect(m_pManager->GetClientPane());
  const CPoint ptFrom = CaptionPoint(m_pLeft->GetContainer());
  DragAlong(m_pLeft, ptFrom, {CPoint(ptFrom.x + 20, ptFrom.y + 20), rcClient.CenterPoint()});
  EXPECT_EQ("V(H(C ) T2 )", Shape(m_pManager->GetTopPane()));
  EXPECT_EQ("F[H(T1 )]", Floating(m_pManager->GetLayout()));
  CWnd *pMiniWnd = m_pLeft->GetDockingSite();
  ASSERT_TRUE(CXTPDockingPaneMiniWnd::IsMiniWnd(pMiniWnd));
  EXPECT_TRUE(pMiniWnd->IsWindowVisible());
  EXPECT_EQ(m_hFrame, ::GetWindow(pMiniWnd->GetSafeHwnd(), GW_OWNER));
  EXPECT_EQ(pMiniWnd->GetSafeHwnd(), ::GetParent(m_pLeft->GetContainer()->GetPaneHwnd()));
  EXPECT_NE(nullptr, m_pManager->GetPaneHolder(m_pLeft, TRUE));

  m_pFrame->m_arrActions.clear();
  pMiniWnd->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rcClient.left, rcClient.top));
  m_pFrame->RecalcLayout();
  Pump();
  EXPECT_EQ("V(H(T1 C ) T2 )", Shape(m_pManager->GetTopPane()));
  EXPECT_EQ("", Floating(m_pManager->GetLayout()));
  EXPECT_FALSE(pMiniWnd->IsWindowVisible());
  EXPECT_EQ(m_hFrame, ::GetParent(m_pLeft->GetContainer()->GetPaneHwnd()));
  EXPECT_EQ((std::vector<INT_PTR>{xtpPaneActionDocking, xtpPaneActionDocked}), m_pFrame->m_arrActions);

  // And floated again by a double click on the docked caption.
  m_pManager->ToggleDocking(m_pLeft->GetContainer());
  EXPECT_EQ("F[H(T1 )]", Floating(m_pManager->GetLayout()));
}

TEST_F(DockingDrag, AFloatingFrameHidesFromItsSystemMenuAndSaysSo) {
  CXTPDockingPaneMiniWnd *pMiniWnd = m_pManager->FloatPane(m_pLeft, CRect(100, 100, 300, 300));
  ASSERT_NE(nullptr, pMiniWnd);
  HMENU hMenu = ::GetSystemMenu(pMiniWnd->GetSafeHwnd(), FALSE);
  ASSERT_NE(nullptr, hMenu);
  wchar_t szText[64] = {};
  ::GetMenuString(hMenu, SC_CLOSE, szText, 64, MF_BYCOMMAND);
  EXPECT_STREQ(L"&Hide", szText);
  EXPECT_EQ(static_cast<UINT>(-1), ::GetMenuState(hMenu, SC_MAXIMIZE, MF_BYCOMMAND));
  // A pane that may not close greys the item out.
  m_pLeft->SetOptions(xtpPaneNoCloseable);
  pMiniWnd->InvalidatePane(FALSE);
  EXPECT_NE(0u, ::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(pMiniWnd->IsCloseEnabled());
  m_pLeft->SetOptions(0);
  pMiniWnd->InvalidatePane(FALSE);
  EXPECT_TRUE(pMiniWnd->IsCloseEnabled());
  pMiniWnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_EQ(nullptr, m_pLeft->GetContainer());
  EXPECT_TRUE(::IsWindow(pMiniWnd->GetSafeHwnd()));
  EXPECT_FALSE(pMiniWnd->IsWindowVisible());
}

TEST_F(DockingDrag, GroupsInAFloatingFrameHaveNoAutoHidePin) {
  m_pManager->SetFloatingFrameCaption(L"Floating panes");
  auto *pBottom = static_cast<CXTPDockingPaneTabbedContainer *>(m_pBottom->GetContainer());
  // Docked, the group's pin sits left of its Close button.
  CXTPDockingPaneCaptionButton *pDockedPin =
      pBottom->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE);
  ASSERT_TRUE(pDockedPin->IsVisible());
  CRect rcClient;
  pBottom->CWnd::GetClientRect(&rcClient);
  // Where the pin lies, measured from the container's top right corner.
  const CPoint ptPinFromRight(rcClient.right - pDockedPin->GetRect().CenterPoint().x,
                              pDockedPin->GetRect().CenterPoint().y);
  const CSize szPin = pDockedPin->GetRect().Size();
  EXPECT_EQ(XTP_IDS_DOCKINGPANE_AUTOHIDE, pBottom->OnToolHitTest(pDockedPin->GetRect().CenterPoint(), nullptr));

  // Two groups side by side in one floating frame.
  CXTPDockingPaneMiniWnd *pMini = m_pManager->FloatPane(m_pLeft, CRect(100, 100, 500, 300));
  ASSERT_NE(nullptr, pMini);
  m_pManager->DockPane(m_pBottom, xtpPaneDockRight, m_pLeft);
  m_pFrame->RecalcLayout();
  pMini->RecalcLayout();
  Pump();
  ASSERT_EQ("F[H(T1 T2 )]", Floating(m_pManager->GetLayout()));
  CString strTitle;
  pMini->GetWindowText(strTitle);
  EXPECT_STREQ(L"Floating panes", strTitle) << "two groups: the manager's title";

  for (CXTPDockingPane *pPane : {m_pLeft, m_pBottom}) {
    SCOPED_TRACE("pane " + std::to_string(pPane->GetID()));
    auto *pTabbed = static_cast<CXTPDockingPaneTabbedContainer *>(pPane->GetContainer());
    ASSERT_EQ(pMini, pTabbed->GetDockingSite());
    CXTPDockingPaneCaptionButton *pPin = pTabbed->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_AUTOHIDE);
    EXPECT_EQ(0u, pPin->GetState()) << "floating";
    EXPECT_FALSE(pPin->IsVisible());
    EXPECT_TRUE(pTabbed->GetCaptionButtons()->FindButton(XTP_IDS_DOCKINGPANE_CLOSE)->IsVisible());
    CRect rc;
    pTabbed->CWnd::GetClientRect(&rc);
    const CPoint ptPin(rc.right - ptPinFromRight.x, ptPinFromRight.y);
    EXPECT_NE(XTP_IDS_DOCKINGPANE_AUTOHIDE, pTabbed->OnToolHitTest(ptPin, nullptr)) << "no pin to hit";
    // Drawn, the place of the pin is plain caption: every pixel the colour of the caption beside it.
    MemoryCanvas canvas(rc.Width(), rc.Height(), 0);
    m_pManager->GetPaintManager()->DrawPane(&canvas.dc, pTabbed, rc);
    const COLORREF clrCaption = canvas.Pixel(ptPin.x - szPin.cx, ptPin.y);
    int nOther = 0;
    for (int y = ptPin.y - szPin.cy / 2; y < ptPin.y + szPin.cy / 2; y++)
      for (int x = ptPin.x - szPin.cx / 2; x < ptPin.x + szPin.cx / 2; x++)
        if (canvas.Pixel(x, y) != clrCaption) nOther++;
    EXPECT_EQ(0, nOther) << "pixels of a pin drawn";
  }

  // The splitter bar between the two groups stands in the gap between them.
  auto *pFirst = static_cast<CXTPDockingPaneTabbedContainer *>(m_pLeft->GetContainer());
  auto *pSecond = static_cast<CXTPDockingPaneTabbedContainer *>(m_pBottom->GetContainer());
  CRect rcFirst, rcSecond;
  pFirst->CWnd::GetWindowRect(&rcFirst);
  pSecond->CWnd::GetWindowRect(&rcSecond);
  ASSERT_LT(rcFirst.right, rcSecond.left) << "a gap for the bar";
  int nBars = 0;
  for (HWND hChild = ::GetWindow(pMini->GetSafeHwnd(), GW_CHILD); hChild;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    if (dynamic_cast<CXTPDockingPaneSplitterWnd *>(CWnd::FromHandlePermanent(hChild)) == nullptr) continue;
    nBars++;
    CRect rcBar;
    ::GetWindowRect(hChild, &rcBar);
    EXPECT_EQ(CRect(rcFirst.right, rcFirst.top, rcSecond.left, rcFirst.bottom), rcBar);
  }
  EXPECT_EQ(1, nBars);
}

TEST_F(DockingDrag, AFloatingFrameKeepsInStepWithTheSiteAndAPressOnItsCaptionActivatesIt) {
  CXTPDockingPaneMiniWnd *pMini = m_pManager->FloatPane(m_pLeft, CRect(100, 100, 300, 300));
  ASSERT_NE(nullptr, pMini);
  EXPECT_NE(0u, pMini->GetStyle() & MFS_SYNCACTIVE);
  EXPECT_NE(0u, pMini->GetExStyle() & WS_EX_TOOLWINDOW) << "a mini frame's small caption";
  EXPECT_TRUE(pMini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE, 0)) << "the site's caption stays active";
  // Without the manager's flag a new frame goes its own way.
  m_pManager->m_bSyncActiveFloatingFrames = FALSE;
  CXTPDockingPaneMiniWnd *pOther = m_pManager->FloatPane(m_pBottom, CRect(350, 100, 550, 300));
  ASSERT_NE(nullptr, pOther);
  EXPECT_EQ(0u, pOther->GetStyle() & MFS_SYNCACTIVE);
  EXPECT_FALSE(pOther->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE, 0));

  // A press on the caption brings the frame up, active (the release ends the drag at once).
  ASSERT_NE(pMini->GetSafeHwnd(), ::GetActiveWindow());
  CRect rcWindow;
  pMini->CWnd::GetWindowRect(&rcWindow);
  const CPoint pt(rcWindow.left + 20, rcWindow.top + 5);
  ::SetCursorPos(pt.x, pt.y);
  ::PostMessage(m_hFrame, WM_LBUTTONUP, 0, 0);
  pMini->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
  Pump();
  EXPECT_EQ(pMini->GetSafeHwnd(), ::GetActiveWindow());
}

TEST_F(DockingDrag, ADropThatNeverPassedTheThresholdDoesNothing) {
  struct Case {
    const char *pszName;
    CPoint ptFrom;
  } cases[] = {
      {"from a caption", CPoint(-1, -1)},
      // The screen's own corner is a start point like any other.
      {"from the screen's top-left corner", CPoint(0, 0)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszName);
    m_pFrame->m_arrActions.clear();
    const CPoint ptFrom = c.ptFrom.x < 0 ? CaptionPoint(m_pLeft->GetContainer()) : c.ptFrom;
    DragAlong(m_pLeft->GetContainer(), ptFrom, {CPoint(ptFrom.x + 3, ptFrom.y + 4)});
    EXPECT_FALSE(m_pManager->GetDragContext()->IsPastThreshold());
    EXPECT_EQ("V(H(T1 C ) T2 )", Shape(m_pManager->GetTopPane()));
    EXPECT_EQ("", Floating(m_pManager->GetLayout()));
    // Only the question asked as the drag began, no drop.
    EXPECT_EQ(std::vector<INT_PTR>{xtpPaneActionFloating}, m_pFrame->m_arrActions);
  }
}

// Messages fed to the drag's loop in place of the queue: posted key messages
// and quit requests do not come out of Wine's queue in the order they went in.
std::vector<MSG> g_fed;
size_t g_nFed = 0;

BOOL Feed(MSG *pMsg) {
  if (g_nFed >= g_fed.size()) {
    // Nothing left: the drag is let go where the last message left it.
    *pMsg = MSG{};
    pMsg->message = WM_LBUTTONUP;
    return TRUE;
  }
  *pMsg = g_fed[g_nFed++];
  return pMsg->message != WM_QUIT;
}

MSG Fed(UINT message, WPARAM wParam, CPoint pt) {
  MSG msg = {};
  msg.message = message;
  msg.wParam = wParam;
  msg.pt = pt;
  return msg;
}

TEST_F(DockingDrag, EscapeAndAQuitRequestEndTheDragWithoutADropAndLetTheDesktopGo) {
  const CPoint ptFrom = CaptionPoint(m_pLeft->GetContainer());
  const CPoint ptMiddle = ScreenRect(m_pManager->GetClientPane()).CenterPoint();
  struct Case {
    const char *pszName;
    MSG end;
  } cases[] = {
      {"Escape", Fed(WM_KEYDOWN, VK_ESCAPE, ptMiddle)},
      {"a quit request", Fed(WM_QUIT, 23, ptMiddle)},
  };
  CXTPDockingPaneContext::SetMessageSource(&Feed);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.pszName);
    g_fed = {Fed(WM_MOUSEMOVE, MK_LBUTTON, CPoint(ptFrom.x + 20, ptFrom.y + 20)),
             Fed(WM_MOUSEMOVE, MK_LBUTTON, ptMiddle), c.end};
    g_nFed = 0;
    m_pManager->GetDragContext()->Drag(m_pLeft->GetContainer(), ptFrom);
    EXPECT_EQ(3u, g_nFed);
    EXPECT_TRUE(m_pManager->GetDragContext()->IsPastThreshold());
    EXPECT_EQ("V(H(T1 C ) T2 )", Shape(m_pManager->GetTopPane()));
    EXPECT_EQ("", Floating(m_pManager->GetLayout()));
    EXPECT_FALSE(m_pManager->GetDragContext()->IsDesktopHeld());
    EXPECT_EQ(nullptr, ::GetCapture());
    // The desktop is not locked any more: another lock is granted.
    EXPECT_TRUE(::LockWindowUpdate(m_hFrame));
    ::LockWindowUpdate(nullptr);
  }
  CXTPDockingPaneContext::SetMessageSource(nullptr);
  // The quit request waits for the application's own loop, with its code.
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(23u, msg.wParam);
}

TEST_F(DockingDrag, APaneThatMayNotFloatDocksAtTheNearestSideFromAnywhereInside) {
  m_pLeft->SetOptions(xtpPaneNoFloatable);
  const CRect rcBottom = ScreenRect(m_pBottom->GetContainer());
  const CPoint ptFrom = CaptionPoint(m_pLeft->GetContainer());
  // Deep inside the bottom container, nearer its left edge along the diagonal split.
  DragAlong(m_pLeft, ptFrom,
            {CPoint(ptFrom.x + 20, ptFrom.y + 20),
             CPoint(rcBottom.left + rcBottom.Width() / 8, rcBottom.CenterPoint().y)});
  EXPECT_EQ("V(H(C ) H(T1 T2 ) )", Shape(m_pManager->GetTopPane()));
}

TEST_F(DockingDrag, ATieBetweenTheTopAndTheLeftEdgeGoesToTheTop) {
  const CRect rc(100, 100, 300, 300);
  m_pFrame->m_arrActions.clear();
  // HitTestSides needs a dragged object for the preview: a drag that ends at once.
  DragAlong(m_pLeft->GetContainer(), CaptionPoint(m_pLeft->GetContainer()), {});
  CXTPDockingPaneContext *pContext = m_pManager->GetDragContext();
  EXPECT_TRUE(pContext->HitTestSides(rc, CPoint(110, 110), m_pBottom->GetContainer(), TRUE));
  EXPECT_EQ(xtpPaneDockTop, pContext->GetDirection());
  EXPECT_TRUE(pContext->HitTestSides(rc, CPoint(105, 200), m_pBottom->GetContainer(), TRUE));
  EXPECT_EQ(xtpPaneDockLeft, pContext->GetDirection());
  // Outside: within 20 pixels of the edge only.
  EXPECT_TRUE(pContext->HitTestSides(rc, CPoint(90, 200), m_pManager->GetTopPane(), FALSE));
  EXPECT_EQ(xtpPaneDockLeft, pContext->GetDirection());
  EXPECT_FALSE(pContext->HitTestSides(rc, CPoint(75, 200), m_pManager->GetTopPane(), FALSE));
  EXPECT_FALSE(pContext->HitTestSides(rc, CPoint(200, 200), m_pManager->GetTopPane(), TRUE));
  EXPECT_FALSE(
      pContext->HitTestSides(CRect(100, 100, 100, 300), CPoint(100, 200), m_pManager->GetTopPane(), TRUE));
}

TEST_F(DockingDrag, ALayoutWithAFloatingFrameComesBack) {
  m_pManager->FloatPane(m_pLeft, CRect(100, 120, 300, 330));
  CMemFile file;
  Save(file);
  CXTPDockingPaneLayout *pLoaded = m_pManager->CreateLayout();
  ASSERT_TRUE(LoadInto(pLoaded, file));
  EXPECT_EQ("V(H(C ) T2 )", Shape(pLoaded->GetTopContainer()));
  EXPECT_EQ("F[H(T1 )]", Floating(pLoaded));
  for (CXTPDockingPaneBase *pObject : pLoaded->GetObjects())
    if (pObject->GetType() == xtpPaneTypeMiniWnd) {
      EXPECT_EQ(CRect(100, 120, 300, 330), pObject->GetPaneWindowRect());
    }
  pLoaded->InternalRelease();
}

} // namespace

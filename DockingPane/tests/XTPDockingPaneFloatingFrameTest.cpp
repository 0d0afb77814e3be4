// Floating frames with a themed caption: the frame drawn by the paint
// manager, its caption buttons pressed with the mouse (the cursor is moved
// with SetCursorPos and the release is queued before the press's own loop
// starts), rolling up while the mouse is away and unrolling under it, the
// caption's context request and the limits of its size. No window is ever
// activated.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "Archive.h"
#include "File.h"
#include "DockingPaneTestSite.h"
#include "FrameWnd.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPanePaintManager.h"
#include "XTPDockingPaneSplitterContainer.h"
#include "XTPDockingPaneTabbedContainer.h"
#include "XTPPropExchange.h"
#include "XTPToolTipContext.h"
#include "../../Common/tests/MemoryCanvas.h"

namespace {

class SiteFrame : public CFrameWnd {
public:
  LRESULT m_lContextAnswer = TRUE;
  std::vector<INT_PTR> m_arrActions;
  std::vector<XTP_DOCKINGPANE_CLICK> m_arrContext;
  // Runs while a context request is being answered.
  std::function<void()> m_onContext;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_DOCKINGPANE_NOTIFY) return CFrameWnd::WindowProc(message, wParam, lParam);
    if (wParam == XTP_DPN_ACTION)
      m_arrActions.push_back(reinterpret_cast<XTP_DOCKINGPANE_ACTION *>(lParam)->action);
    if (wParam == XTP_DPN_CONTEXTMENU) {
      m_arrContext.push_back(*reinterpret_cast<XTP_DOCKINGPANE_CLICK *>(lParam));
      if (m_onContext) m_onContext();
      return m_lContextAnswer;
    }
    return TRUE;
  }
};

class ThemedFloatingFrame : public dptest::DockingSiteTest<SiteFrame> {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreateSite(L"floating frame test", 0, CSize(400, 300)));
    m_pManager->m_bThemedFloatingFrames = TRUE;
    m_pManager->SetTheme(xtpPaneThemeOffice2003);
    m_pPane = m_pManager->CreatePane(1, CRect(0, 0, 150, 150), xtpPaneDockLeft);
    m_pPane->SetTitle(L"Signatures");
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    m_pFrame->RecalcLayout();
    m_pMini = m_pManager->FloatPane(m_pPane, CRect(500, 100, 720, 340));
    ASSERT_NE(nullptr, m_pMini);
    m_pMini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Pump();
  }
  // Pumps until the condition holds or the time is up; the milliseconds it took.
  template <class F> static DWORD PumpUntil(F done, DWORD dwLimit) {
    const DWORD dwStart = ::GetTickCount();
    while (!done() && ::GetTickCount() - dwStart < dwLimit) {
      Pump();
      ::Sleep(5);
    }
    return ::GetTickCount() - dwStart;
  }
  CRect WindowRect() const {
    CRect rc;
    m_pMini->CWnd::GetWindowRect(&rc);
    return rc;
  }
  CXTPDockingPaneCaptionButton *Button(int nID) const {
    return m_pMini->GetCaptionButtons()->FindButton(nID);
  }
  // The centre of a caption button, on the screen.
  CPoint ButtonPoint(int nID) const {
    CPoint pt = Button(nID)->GetRect().CenterPoint();
    pt.Offset(WindowRect().TopLeft());
    return pt;
  }
  // A press and release of the left button at pt (screen), as the mouse gives them.
  void ClickAt(CPoint pt) {
    ::SetCursorPos(pt.x, pt.y);
    ::PostMessage(m_pMini->GetSafeHwnd(), WM_LBUTTONUP, 0, 0);
    m_pMini->SendMessage(WM_NCLBUTTONDOWN, m_pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)),
                         MAKELPARAM(pt.x, pt.y));
    Pump();
  }
  int CaptionHeight() const { return m_pManager->GetPaintManager()->GetCaptionHeight(); }

  CXTPDockingPane *m_pPane = nullptr;
  CXTPDockingPaneMiniWnd *m_pMini = nullptr;
};

TEST_F(ThemedFloatingFrame, TheThemeDrawsTheCaptionWithItsButtons) {
  EXPECT_TRUE(m_pMini->IsThemed());
  EXPECT_EQ(0u, m_pMini->GetStyle() & WS_BORDER) << "no system caption";
  // The client area starts below the caption band.
  CRect rcClient;
  m_pMini->GetClientRect(&rcClient);
  m_pMini->ClientToScreen(&rcClient);
  const CRect rcWindow = WindowRect();
  EXPECT_GE(rcClient.top - rcWindow.top, CaptionHeight() + 2);
  // Close and Auto Hide sit at the band's right end; Menu is hidden without the pane's option.
  const CRect rcClose = Button(XTP_IDS_DOCKINGPANE_CLOSE)->GetRect();
  const CRect rcPin = Button(XTP_IDS_DOCKINGPANE_AUTOHIDE)->GetRect();
  EXPECT_EQ(CSize(16, 16), rcClose.Size());
  EXPECT_EQ(rcClose.left, rcPin.right) << "theme 5 packs them without a gap";
  EXPECT_GT(rcClose.right, rcWindow.Width() - 12);
  EXPECT_LT(rcClose.bottom, rcClient.top - rcWindow.top);
  EXPECT_TRUE(Button(XTP_IDS_DOCKINGPANE_MENU)->GetRect().IsRectEmpty());
  // The band is the caption for the system: it drags the frame and its buttons are hit there.
  const CPoint ptBand(rcWindow.left + 30, rcWindow.top + 6);
  EXPECT_EQ(HTCAPTION, m_pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptBand.x, ptBand.y)));
  const CPoint ptClose = ButtonPoint(XTP_IDS_DOCKINGPANE_CLOSE);
  EXPECT_EQ(HTCAPTION, m_pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptClose.x, ptClose.y)));
  // Turning the themed caption off gives the system's back.
  m_pManager->m_bThemedFloatingFrames = FALSE;
  m_pManager->RecalcFramesLayout();
  EXPECT_NE(0u, m_pMini->GetStyle() & WS_BORDER);
}

// A pane floated into a new frame is placed in it at once; the frame's own
// layout pass waits for the next idle time.
TEST_F(ThemedFloatingFrame, ANewFrameShowsItsPaneAtOnceAndLaysItselfOutWhenIdle) {
  CXTPDockingPane *pOther = m_pManager->CreatePane(2, CRect(0, 0, 120, 120), xtpPaneDockRight);
  m_pFrame->RecalcLayout();
  CXTPDockingPaneMiniWnd *pMini = m_pManager->FloatPane(pOther, CRect(480, 360, 660, 520));
  ASSERT_NE(nullptr, pMini);
  CRect rcClient, rcContainer;
  pMini->GetClientRect(&rcClient);
  pMini->ClientToScreen(&rcClient);
  ::GetWindowRect(pOther->GetContainer()->GetPaneHwnd(), &rcContainer);
  EXPECT_EQ(rcClient, rcContainer);
  EXPECT_TRUE(pMini->RecalcPendingLayout()) << "a pass left for the idle time";
}

TEST_F(ThemedFloatingFrame, AutoHideRollsTheFrameUpWhileTheMouseIsAwayAndItUnrollsUnderIt) {
  const int nHeight = WindowRect().Height();
  ClickAt(ButtonPoint(XTP_IDS_DOCKINGPANE_AUTOHIDE));
  ASSERT_TRUE(m_pMini->IsCollapsed());
  EXPECT_EQ(3u, Button(XTP_IDS_DOCKINGPANE_AUTOHIDE)->GetState()) << "the pin lies while rolling up is on";
  EXPECT_EQ(nHeight, WindowRect().Height()) << "nothing rolls up while the mouse is over the frame";

  // The mouse leaves: about 600 ms of countdown and 8 steps later only the caption is left.
  ::SetCursorPos(50, 50);
  const DWORD dwTook = PumpUntil([this] { return m_pMini->IsRolledUp() && !m_pMini->IsAnimating(); }, 5000);
  EXPECT_TRUE(m_pMini->IsRolledUp());
  EXPECT_GE(dwTook, 500u);
  EXPECT_EQ(CaptionHeight() + 8, WindowRect().Height()) << "never below the caption height plus 8";
  EXPECT_EQ(nHeight, m_pMini->GetExpandedHeight());

  // The mouse comes back over the caption: the frame unrolls at once.
  const CPoint ptCaption(WindowRect().left + 30, WindowRect().top + 6);
  ::SetCursorPos(ptCaption.x, ptCaption.y);
  m_pMini->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
  EXPECT_FALSE(m_pMini->IsRolledUp());
  EXPECT_EQ(nHeight, WindowRect().Height());

  // A caption double click ends rolling up; the panes stay floating.
  m_pMini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
  EXPECT_FALSE(m_pMini->IsCollapsed());
  EXPECT_EQ(m_pMini, m_pPane->GetContainer()->GetContainer()->GetContainer());
  ::SetCursorPos(50, 50);
  PumpUntil([] { return false; }, 900);
  EXPECT_EQ(nHeight, WindowRect().Height()) << "no roll-up once it is off";
}

TEST_F(ThemedFloatingFrame, ShowingAPaneUnrollsTheFrameAndACopyKeepsTheFullHeight) {
  const int nHeight = WindowRect().Height();
  auto rollUp = [this] {
    ::SetCursorPos(50, 50);
    PumpUntil([this] { return m_pMini->IsRolledUp() && !m_pMini->IsAnimating(); }, 5000);
  };
  ClickAt(ButtonPoint(XTP_IDS_DOCKINGPANE_AUTOHIDE));
  ASSERT_TRUE(m_pMini->IsCollapsed());
  rollUp();
  ASSERT_TRUE(m_pMini->IsRolledUp());
  // Showing one of its panes unrolls the frame; Auto Hide again turns rolling up off and the height stays.
  m_pManager->ShowPane(m_pPane);
  EXPECT_FALSE(m_pMini->IsRolledUp());
  EXPECT_EQ(nHeight, WindowRect().Height());
  ClickAt(ButtonPoint(XTP_IDS_DOCKINGPANE_AUTOHIDE));
  EXPECT_FALSE(m_pMini->IsCollapsed());
  EXPECT_EQ(nHeight, WindowRect().Height());

  // Rolled up again.
  ClickAt(ButtonPoint(XTP_IDS_DOCKINGPANE_AUTOHIDE));
  rollUp();
  ASSERT_TRUE(m_pMini->IsRolledUp());
  // The saved form keeps the roll-up and the full height.
  CMemFile file;
  Save(file);
  CXTPDockingPaneLayout *pLoaded = m_pManager->CreateLayout();
  ASSERT_TRUE(LoadInto(pLoaded, file));
  int nFrames = 0;
  for (CXTPDockingPaneBase *pObject : pLoaded->GetObjects()) {
    if (pObject->GetType() != xtpPaneTypeMiniWnd || pObject->IsEmpty()) continue;
    auto *pLoadedFrame = static_cast<CXTPDockingPaneMiniWnd *>(pObject);
    EXPECT_TRUE(pLoadedFrame->IsCollapsed());
    EXPECT_EQ(nHeight, pLoadedFrame->GetExpandedHeight());
    nFrames++;
  }
  EXPECT_EQ(1, nFrames);
  pLoaded->InternalRelease();

  // So does a copy of the frame, whose rectangle is the caption's.
  std::unique_ptr<CXTPDockingPaneLayout> pCopy(m_pManager->CreateLayout());
  ASSERT_TRUE(pCopy->IsUserLayout());
  auto *pCopied = static_cast<CXTPDockingPaneMiniWnd *>(m_pMini->Clone(pCopy.get(), nullptr, 0));
  EXPECT_TRUE(pCopied->IsCollapsed());
  EXPECT_EQ(nHeight, pCopied->GetExpandedHeight());
  EXPECT_EQ(CaptionHeight() + 8, pCopied->GetPaneWindowRect().Height());
}

TEST_F(ThemedFloatingFrame, AFrameThatEmptiesStopsRollingUpAndComesBackWholeWhenReused) {
  const int nHeight = WindowRect().Height();
  ClickAt(ButtonPoint(XTP_IDS_DOCKINGPANE_AUTOHIDE));
  ASSERT_TRUE(m_pMini->IsCollapsed());
  ::SetCursorPos(50, 50);
  PumpUntil([this] { return m_pMini->IsRolledUp() && !m_pMini->IsAnimating(); }, 5000);
  ASSERT_TRUE(m_pMini->IsRolledUp());

  // Its only pane docks back: the empty frame hides, no longer rolling up, at its whole height.
  m_pManager->ToggleDocking(m_pPane);
  m_pFrame->RecalcLayout();
  Pump();
  ASSERT_NE(m_pMini, m_pPane->GetDockingSite());
  EXPECT_FALSE(m_pMini->IsWindowVisible());
  EXPECT_FALSE(m_pMini->IsCollapsed());
  EXPECT_FALSE(m_pMini->IsRolledUp());
  EXPECT_EQ(nHeight, WindowRect().Height());

  // Floated again, the pane goes back into the same frame, which opens whole and stays so.
  m_pManager->ToggleDocking(m_pPane);
  Pump();
  ASSERT_EQ(m_pMini, m_pPane->GetDockingSite());
  EXPECT_TRUE(m_pMini->IsWindowVisible());
  EXPECT_FALSE(m_pMini->IsCollapsed());
  PumpUntil([] { return false; }, 900);
  EXPECT_EQ(nHeight, WindowRect().Height());

  // Removing the top container ends rolling up the same way.
  ClickAt(ButtonPoint(XTP_IDS_DOCKINGPANE_AUTOHIDE));
  ASSERT_TRUE(m_pMini->IsCollapsed());
  CXTPDockingPaneSplitterContainer *pTop = m_pMini->GetTopPane();
  m_pMini->RemovePane(pTop);
  EXPECT_FALSE(m_pMini->IsCollapsed());
  EXPECT_FALSE(m_pMini->IsWindowVisible());
  m_pMini->SetTopContainer(pTop);
}

// The owner's activation, passed on to the frame, leaves the theme's caption
// and edges: the frame looks as the theme draws it anew, not with the
// system's caption and raised edges drawn over it.
TEST_F(ThemedFloatingFrame, TheOwnersActivationLeavesTheFrameAsTheThemeDrawsIt) {
  const HWND hMini = m_pMini->GetSafeHwnd();
  ASSERT_NE(0u, m_pMini->GetStyle() & MFS_SYNCACTIVE);
  for (XTPDockingPanePaintTheme theme :
       {xtpPaneThemeOffice2003, xtpPaneThemeVisio, xtpPaneThemeNativeWinXP, xtpPaneThemeWhidbey,
        xtpPaneThemeExplorer, xtpPaneThemeVisualStudio2005}) {
    m_pManager->SetTheme(theme);
    for (WPARAM state : {FS_DEACTIVATE, FS_ACTIVATE, FS_DEACTIVATE}) {
      m_pMini->SendMessage(WM_FLOATSTATUS, state);
      Pump();
      const std::vector<DWORD> after = WindowOnScreen(hMini);
      m_pMini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
      Pump();
      const std::vector<DWORD> drawn = WindowOnScreen(hMini);
      ASSERT_EQ(after.size(), drawn.size());
      size_t nDiffering = 0;
      for (size_t i = 0; i < after.size(); i++) nDiffering += after[i] != drawn[i];
      EXPECT_EQ(0u, nDiffering) << "theme " << theme
                                << (state == FS_ACTIVATE ? ", activated" : ", deactivated");
    }
  }
}

TEST_F(ThemedFloatingFrame, TheCloseButtonClosesThePanesAndARightClickAsksTheSite) {
  // The right button on the caption: the site gets the pane and the point.
  const CPoint ptCaption(WindowRect().left + 30, WindowRect().top + 6);
  m_pMini->SendMessage(WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
  ASSERT_EQ(1u, m_pFrame->m_arrContext.size());
  EXPECT_EQ(m_pPane, m_pFrame->m_arrContext[0].pPane);
  EXPECT_EQ(ptCaption, m_pFrame->m_arrContext[0].pt);
  EXPECT_TRUE(m_pFrame->m_arrContext[0].rcExclude.IsRectEmpty());

  // The Menu button appears with the pane's option and asks the site with its rectangle.
  m_pPane->SetOptions(xtpPaneHasMenuButton);
  m_pMini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  ASSERT_FALSE(Button(XTP_IDS_DOCKINGPANE_MENU)->GetRect().IsRectEmpty());
  const CPoint ptMenu = ButtonPoint(XTP_IDS_DOCKINGPANE_MENU);
  BOOL bPressedMeanwhile = FALSE;
  m_pFrame->m_onContext = [&] { bPressedMeanwhile = Button(XTP_IDS_DOCKINGPANE_MENU)->IsPressed(); };
  m_pMini->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptMenu.x, ptMenu.y));
  m_pFrame->m_onContext = nullptr;
  ASSERT_EQ(2u, m_pFrame->m_arrContext.size());
  EXPECT_TRUE(bPressedMeanwhile) << "drawn pressed while the site has it";
  EXPECT_FALSE(Button(XTP_IDS_DOCKINGPANE_MENU)->IsPressed());
  CRect rcMenu = Button(XTP_IDS_DOCKINGPANE_MENU)->GetRect();
  rcMenu.OffsetRect(WindowRect().TopLeft());
  EXPECT_EQ(rcMenu, m_pFrame->m_arrContext[1].rcExclude);
  EXPECT_EQ(CPoint(rcMenu.left, rcMenu.bottom), m_pFrame->m_arrContext[1].pt);

  // A press released off the Close button does nothing; released on it, the pane closes.
  const CPoint ptClose = ButtonPoint(XTP_IDS_DOCKINGPANE_CLOSE);
  ::SetCursorPos(ptClose.x, ptClose.y);
  ::PostMessage(m_pMini->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(0, 60));
  ::PostMessage(m_pMini->GetSafeHwnd(), WM_LBUTTONUP, 0, 0);
  m_pMini->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptClose.x, ptClose.y));
  Pump();
  EXPECT_TRUE(m_pMini->IsWindowVisible());
  EXPECT_TRUE(m_pFrame->m_arrActions.empty() ||
              std::find(m_pFrame->m_arrActions.begin(), m_pFrame->m_arrActions.end(), xtpPaneActionClosing) ==
                  m_pFrame->m_arrActions.end());
  ClickAt(ptClose);
  EXPECT_NE(m_pFrame->m_arrActions.end(),
            std::find(m_pFrame->m_arrActions.begin(), m_pFrame->m_arrActions.end(), xtpPaneActionClosed));
  EXPECT_FALSE(m_pMini->IsWindowVisible()) << "an empty frame hides";
}

TEST_F(ThemedFloatingFrame, TheFrameCannotBeMadeSmallerThanItsPanesAllow) {
  m_pPane->SetMinTrackSize(CSize(180, 150));
  MINMAXINFO mmi = {};
  mmi.ptMaxTrackSize = CPoint(5000, 5000);
  m_pMini->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  CRect rcClient;
  m_pMini->GetClientRect(&rcClient);
  const CRect rcWindow = WindowRect();
  EXPECT_GE(mmi.ptMinTrackSize.x, 180 + rcWindow.Width() - rcClient.Width());
  EXPECT_GE(mmi.ptMinTrackSize.y, 150 + rcWindow.Height() - rcClient.Height());
  // Rolled up, the frame may be as short as its caption.
  m_pMini->SetCollapsed(TRUE);
  MINMAXINFO mmiRolled = {};
  mmiRolled.ptMaxTrackSize = CPoint(5000, 5000);
  m_pMini->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmiRolled));
  EXPECT_LT(mmiRolled.ptMinTrackSize.y, 150);
  m_pMini->SetCollapsed(FALSE);
}

} // namespace

// The caption buttons lie above the client area: their tools have negative
// client coordinates.
TEST_F(ThemedFloatingFrame, TheCaptionButtonsAnswerTheToolHitTestWithTheirTexts) {
  m_pPane->SetOptions(xtpPaneHasMenuButton);
  m_pMini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  CPoint ptOrigin(0, 0);
  m_pMini->ClientToScreen(&ptOrigin);
  const struct {
    int nID;
    const wchar_t *pszText;
  } cases[] = {
      {XTP_IDS_DOCKINGPANE_CLOSE, L"Close"},
      {XTP_IDS_DOCKINGPANE_AUTOHIDE, L"Auto Hide"},
      {XTP_IDS_DOCKINGPANE_MENU, L"Menu"},
  };
  for (const auto &c : cases) {
    ASSERT_FALSE(Button(c.nID)->GetRect().IsRectEmpty()) << c.pszText;
    const CPoint ptClient = ButtonPoint(c.nID) - ptOrigin;
    EXPECT_LT(ptClient.y, 0) << c.pszText;
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    EXPECT_EQ(c.nID, m_pMini->OnToolHitTest(ptClient, &ti)) << c.pszText;
    ASSERT_NE(nullptr, ti.lpszText) << c.pszText;
    EXPECT_STREQ(c.pszText, ti.lpszText);
    free(ti.lpszText);
    EXPECT_EQ(m_pMini->GetSafeHwnd(), ti.hwnd) << c.pszText;
    EXPECT_TRUE(::PtInRect(&ti.rect, ptClient)) << c.pszText;
    EXPECT_EQ(Button(c.nID)->GetRect().Size(), CRect(ti.rect).Size()) << c.pszText;
    EXPECT_NE(0u, ti.uFlags & TTF_ALWAYSTIP) << c.pszText << ": a floating frame is seldom active";
  }
  // The caption's blank part and the client area have no tool.
  const CPoint ptBlank =
      CPoint(WindowRect().left + 10, WindowRect().top + CaptionHeight() / 2 + 2) - ptOrigin;
  EXPECT_EQ(-1, m_pMini->OnToolHitTest(ptBlank, nullptr));
  EXPECT_EQ(-1, m_pMini->OnToolHitTest(CPoint(20, 20), nullptr));
  // Without the theme the system draws the caption and its buttons.
  const CPoint ptClose = ButtonPoint(XTP_IDS_DOCKINGPANE_CLOSE) - ptOrigin;
  m_pManager->m_bThemedFloatingFrames = FALSE;
  EXPECT_EQ(-1, m_pMini->OnToolHitTest(ptClose, nullptr));
  m_pManager->m_bThemedFloatingFrames = TRUE;
}

TEST_F(ThemedFloatingFrame, ATipShowsOverACaptionButtonOfTheInactiveFrameAndGoesWhenTheMouseLeaves) {
  ASSERT_NE(m_pMini->GetSafeHwnd(), ::GetActiveWindow());
  CXTPToolTipContext *pContext = m_pManager->GetToolTipContext();
  const auto MoveTo = [this](CPoint pt) {
    ::SetCursorPos(pt.x, pt.y);
    m_pMini->SendMessage(WM_NCMOUSEMOVE, m_pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)),
                         MAKELPARAM(pt.x, pt.y));
  };
  const CPoint ptBlank(WindowRect().left + 10, WindowRect().top + CaptionHeight() / 2 + 2);
  MoveTo(ptBlank); // makes the tooltip window, so its delay can be shortened
  ASSERT_NE(nullptr, pContext->GetToolTip());
  pContext->GetToolTip()->SetDelayTime(TTDT_INITIAL, 20);
  const auto TipShown = [pContext] {
    return pContext->GetToolTip() != nullptr && pContext->GetToolTip()->IsWindowVisible();
  };

  MoveTo(ButtonPoint(XTP_IDS_DOCKINGPANE_AUTOHIDE));
  PumpUntil(TipShown, 3000);
  ASSERT_TRUE(TipShown());
  wchar_t szText[64] = {};
  TTTOOLINFOW ti = {};
  ti.cbSize = sizeof(ti);
  ti.lpszText = szText;
  ASSERT_TRUE(pContext->GetToolTip()->SendMessage(TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_STREQ(L"Auto Hide", szText);
  EXPECT_EQ(static_cast<UINT_PTR>(XTP_IDS_DOCKINGPANE_AUTOHIDE), ti.uId);

  // Off the frame: the watch for the mouse leaving the buttons takes the tip away.
  ::SetCursorPos(50, 50);
  PumpUntil([&] { return !TipShown(); }, 3000);
  EXPECT_FALSE(TipShown());
}

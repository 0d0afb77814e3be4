// The command bars in a real frame: the dock bars the frame lays out around
// its view, the menu bar that takes the frame's menu, toolbars loaded from
// toolbar resources, docked on each side, floated, hidden and shown; the keys
// that start tracking on the menu bar; the messages the frame hands the bars.
//
// The frame is shown without being activated; keys are handed to the
// thread's hooks or the frame's pre-translation, never typed.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "XTPCommandBars.h"
#include "StatusBar.h"
#include "XTPControlEdit.h"
#include "XTPControlToolbars.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"
#include "XTPFrameWnd.h"
#include "XTPImageManager.h"
#include "XTPMenuBar.h"
#include "XTPPopupBar.h"

namespace {

constexpr UINT kMenuId = 128;
constexpr UINT kStandardId = 300, kSecondId = 310;
constexpr UINT kDisabledCommand = 301;
constexpr int kFrameWidth = 640, kFrameHeight = 480;

class CTestFrame : public CXTPFrameWnd {
public:
  XTP_COMMANDBARS_CREATEBAR m_seenBlock = {};
  CString m_strSeenCaption;
  int m_nCreateBarCalls = 0;
  int m_nLayouts = 0;

  void RecalcLayout(BOOL bNotify = TRUE) override {
    m_nLayouts++;
    CXTPFrameWnd::RecalcLayout(bNotify);
  }

  afx_msg void OnUpdateDisabled(CCmdUI *pCmdUI) { pCmdUI->Enable(FALSE); }
  UINT m_nLastCommand = 0;
  afx_msg void OnCommandRange(UINT nID) { m_nLastCommand = nID; }
  afx_msg LRESULT OnCreateCommandBar(WPARAM, LPARAM lParam) {
    const auto *pBlock = reinterpret_cast<XTP_COMMANDBARS_CREATEBAR *>(lParam);
    if (pBlock->bPopup) return 0; // a popup bar asked for by a control
    m_nCreateBarCalls++;
    m_seenBlock = *pBlock;
    m_strSeenCaption = m_seenBlock.lpcstrCaption;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CXTPFrameWnd)
ON_UPDATE_COMMAND_UI(kDisabledCommand, OnUpdateDisabled)
ON_COMMAND_RANGE(57601, 57670, OnCommandRange)
ON_COMMAND_RANGE(302, 313, OnCommandRange)
ON_MESSAGE(WM_XTP_CREATECOMMANDBAR, OnCreateCommandBar)
END_MESSAGE_MAP()

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!AfxPreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

CRect ClientRectOf(CWnd *pFrame, HWND hWnd) {
  CRect rc;
  ::GetWindowRect(hWnd, &rc);
  pFrame->ScreenToClient(&rc);
  return rc;
}

class CommandBarsFrame : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new CTestFrame; // frames delete themselves when destroyed
    // Without a caption or sizing border the window manager does not manage
    // the frame, and hiding it does not wait for one.
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
    hFrameMenu = ::GetMenu(pFrame->GetSafeHwnd());
    ASSERT_TRUE(pFrame->InitCommandBars());
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pMenuBar = pBars->SetMenu(L"Menu Bar", kMenuId);
    ASSERT_NE(nullptr, pMenuBar);
    pStandard = pBars->Add(L"Standard", xtpBarTop);
    ASSERT_NE(nullptr, pStandard);
    ASSERT_TRUE(pStandard->LoadToolBar(kStandardId));
    pSecond = pBars->Add(L"Second", xtpBarTop);
    ASSERT_NE(nullptr, pSecond);
    ASSERT_TRUE(pSecond->LoadToolBar(kSecondId));
    hView = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pFrame->GetSafeHwnd(),
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr,
                              nullptr);
    pFrame->SetWindowPos(nullptr, 20, 20, kFrameWidth, kFrameHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
  }
  void TearDown() override {
    Pump();
    if (pFrame) pFrame->DestroyWindow();
  }
  CRect View() const { return ClientRectOf(pFrame, hView); }
  CRect Client() const {
    CRect rc;
    pFrame->GetClientRect(&rc);
    return rc;
  }
  // A key as the thread's keyboard hook hands it to the tracking bars.
  void Key(UINT nKey) {
    CXTPThreadHooks::GetThreadHooks()->ProcessHooks(WM_KEYDOWN, nKey, 1);
    Pump();
  }

  CTestFrame *pFrame = nullptr;
  CXTPCommandBars *pBars = nullptr;
  CXTPMenuBar *pMenuBar = nullptr;
  CXTPToolBar *pStandard = nullptr;
  CXTPToolBar *pSecond = nullptr;
  HMENU hFrameMenu = nullptr;
  HWND hView = nullptr;
};

TEST_F(CommandBarsFrame, TheFrameHasItsDockBarsMenuBarAndToolbars) {
  const struct {
    int nPosition;
    UINT nID;
  } docks[] = {{xtpBarTop, kDockBarIdTop},
               {xtpBarBottom, kDockBarIdBottom},
               {xtpBarLeft, kDockBarIdLeft},
               {xtpBarRight, kDockBarIdRight}};
  for (const auto &d : docks) {
    SCOPED_TRACE(d.nPosition);
    CXTPDockBar *pDockBar = pBars->GetDockBar(d.nPosition);
    ASSERT_NE(nullptr, pDockBar);
    EXPECT_EQ(d.nPosition, pDockBar->GetPosition());
    EXPECT_EQ(pFrame->GetSafeHwnd(), ::GetParent(pDockBar->GetSafeHwnd()));
    EXPECT_EQ(static_cast<int>(d.nID), ::GetDlgCtrlID(pDockBar->GetSafeHwnd()));
  }
  EXPECT_EQ(nullptr, pBars->GetDockBar(4));
  EXPECT_FALSE(pBars->EnableDocking()) << "one set of dock bars";

  ASSERT_EQ(3, pBars->GetCount());
  EXPECT_EQ(pMenuBar, pBars->GetMenuBar());
  EXPECT_EQ(CString(L"Menu Bar"), pMenuBar->GetTitle());
  EXPECT_EQ(1, pMenuBar->GetBarID());
  EXPECT_EQ(pStandard, pBars->GetToolBar(kStandardId));
  EXPECT_EQ(nullptr, pBars->GetToolBar(0));
  EXPECT_EQ(2, pBars->FindIndex(pSecond));
  for (int nID : {301, 302, 303}) EXPECT_NE(nullptr, pStandard->GetControls()->FindControl(nID)) << nID;
  EXPECT_TRUE(pStandard->GetControls()->FindControl(302)->GetBeginGroup()) << "the separator";
  for (CXTPToolBar *pBar : {static_cast<CXTPToolBar *>(pMenuBar), pStandard, pSecond}) {
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ(xtpBarTop, pBar->GetPosition());
    EXPECT_EQ(pBars->GetDockBar(xtpBarTop)->GetSafeHwnd(), ::GetParent(pBar->GetSafeHwnd()));
  }

  // The menu bar has the frame's menu, and the frame never puts it back.
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  EXPECT_EQ(hFrameMenu, pMenuBar->GetFrameMenu());
  EXPECT_EQ(nullptr, pFrame->m_hMenuDefault);
  pFrame->OnUpdateFrameMenu(hFrameMenu);
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
}

TEST_F(CommandBarsFrame, AMenuThatCannotLoadMakesNoBar) {
  EXPECT_EQ(nullptr, pBars->SetMenu(L"Menu Bar", 4321));
  EXPECT_EQ(3, pBars->GetCount());
  EXPECT_EQ(pMenuBar, pBars->GetMenuBar());
  std::vector<CXTPCommandBar *> row;
  const auto &entries = pBars->GetDockBar(xtpBarTop)->GetEntries();
  for (CXTPCommandBar *pEntry : entries)
    if (pEntry != nullptr) row.push_back(pEntry);
  EXPECT_EQ(3u, row.size()) << "the failed bar left nothing in the dock bar";
}

TEST_F(CommandBarsFrame, RecalcLayoutPlacesTheDockBarsAndTheView) {
  const CRect rcClient = Client();
  const CRect rcTop = ClientRectOf(pFrame, pBars->GetDockBar(xtpBarTop)->GetSafeHwnd());
  const CRect rcMenu = ClientRectOf(pFrame, pMenuBar->GetSafeHwnd());
  const CRect rcStandard = ClientRectOf(pFrame, pStandard->GetSafeHwnd());
  EXPECT_EQ(rcClient.left, rcTop.left);
  EXPECT_EQ(rcClient.right, rcTop.right);
  EXPECT_EQ(0, rcTop.top);
  EXPECT_EQ(0, rcMenu.top);
  EXPECT_EQ(rcClient.Width(), rcMenu.Width()) << "the menu bar has its row to itself";
  EXPECT_GE(rcStandard.top, rcMenu.bottom);
  EXPECT_GT(rcStandard.Height(), 16);
  EXPECT_LE(rcStandard.bottom, rcTop.bottom);
  // The view takes what the dock bars leave.
  EXPECT_EQ(CRect(rcClient.left, rcTop.bottom, rcClient.right, rcClient.bottom), View());
}

TEST_F(CommandBarsFrame, ToolbarsDockOnEachSideAndFloat) {
  const struct {
    XTPBarPosition position;
    const char *name;
  } sides[] = {{xtpBarLeft, "left"}, {xtpBarRight, "right"}, {xtpBarBottom, "bottom"}, {xtpBarTop, "top"}};
  for (const auto &side : sides) {
    SCOPED_TRACE(side.name);
    ASSERT_TRUE(pBars->DockCommandBarAtPosition(pSecond, side.position));
    CXTPDockBar *pDockBar = pBars->GetDockBar(side.position);
    EXPECT_EQ(side.position, pSecond->GetPosition());
    EXPECT_EQ(pDockBar->GetSafeHwnd(), ::GetParent(pSecond->GetSafeHwnd()));
    EXPECT_GE(pDockBar->FindBar(pSecond), 0);
    for (int i = 0; i < 4; i++)
      if (i != side.position) {
        EXPECT_LT(pBars->GetDockBar(i)->FindBar(pSecond), 0) << i;
      }
    // The view gives way on that side.
    const CRect rcDock = ClientRectOf(pFrame, pDockBar->GetSafeHwnd());
    const CRect rcView = View();
    switch (side.position) {
    case xtpBarLeft:
      EXPECT_GT(rcDock.Width(), 16);
      EXPECT_EQ(rcDock.right, rcView.left);
      break;
    case xtpBarRight:
      EXPECT_GT(rcDock.Width(), 16);
      EXPECT_EQ(rcDock.left, rcView.right);
      break;
    case xtpBarBottom:
      EXPECT_GT(rcDock.Height(), 16);
      EXPECT_EQ(rcDock.top, rcView.bottom);
      break;
    default:
      EXPECT_EQ(rcDock.bottom, rcView.top);
    }
  }

  // Floating: a popup of its own, owned by the frame, out of every dock bar.
  const CRect rcViewDocked = View();
  ASSERT_TRUE(pSecond->SetPosition(xtpBarFloating));
  const HWND hBar = pSecond->GetSafeHwnd();
  EXPECT_EQ(xtpBarFloating, pSecond->GetPosition());
  EXPECT_TRUE(::GetWindowLongW(hBar, GWL_STYLE) & WS_POPUP);
  EXPECT_FALSE(::GetWindowLongW(hBar, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(pFrame->GetSafeHwnd(), ::GetWindow(hBar, GW_OWNER));
  EXPECT_TRUE(::IsWindowVisible(hBar));
  for (int i = 0; i < 4; i++) EXPECT_LT(pBars->GetDockBar(i)->FindBar(pSecond), 0) << i;
  EXPECT_LT(View().top, rcViewDocked.top) << "the top row it left is gone";
  CRect rcFloat;
  ::GetWindowRect(hBar, &rcFloat);
  EXPECT_GT(rcFloat.Width(), 3 * 16);

  // And docked again.
  ASSERT_TRUE(pSecond->SetPosition(xtpBarLeft));
  EXPECT_EQ(pBars->GetDockBar(xtpBarLeft)->GetSafeHwnd(), ::GetParent(hBar));
  EXPECT_TRUE(::GetWindowLongW(hBar, GWL_STYLE) & WS_CHILD);
  EXPECT_GT(View().left, 0);
}

std::vector<int> Ids(const CXTPCommandBar *pBar) {
  std::vector<int> ids;
  for (int i = 0; i < pBar->GetControlCount(); i++)
    if (pBar->GetControl(i)->GetID() != XTP_ID_TOOLBAR_EXPAND) ids.push_back(pBar->GetControl(i)->GetID());
  return ids;
}

// Code that holds only the command bar docks and loads a toolbar through
// it; a popup bar has no side to go to.
TEST_F(CommandBarsFrame, ABarIsPlacedAndLoadedThroughTheCommandBarItIs) {
  CXTPCommandBar *pBar = pSecond;
  EXPECT_TRUE(pBar->SetPosition(xtpBarLeft));
  EXPECT_EQ(xtpBarLeft, pBar->GetPosition());
  EXPECT_EQ(pBars->GetDockBar(xtpBarLeft), CXTPDockBar::FromBar(pSecond));
  EXPECT_FALSE(pBar->SetPosition(xtpBarPopup)) << "no side of that number";
  EXPECT_EQ(xtpBarLeft, pBar->GetPosition());
  ASSERT_TRUE(pBar->LoadToolBar(kStandardId));
  EXPECT_EQ((std::vector<int>{301, 302, 303}), Ids(pSecond));
  EXPECT_EQ(static_cast<int>(kStandardId), pBar->GetBarID());
  EXPECT_NE(nullptr, pBar->GetControls()->GetOriginalControls());

  CXTPCommandBar *pPopup = CXTPPopupBar::CreatePopupBar(pBars);
  EXPECT_FALSE(pPopup->SetPosition(xtpBarLeft));
  EXPECT_FALSE(pPopup->SetPosition(xtpBarFloating));
  EXPECT_EQ(xtpBarPopup, pPopup->GetPosition());
  pPopup->InternalRelease();
}

// A palette filled from a toolbar resource: the resource's buttons with
// their pictures, in their groups; the popup keeps neither the resource's id
// nor an original set, so nothing offers to reset it.
TEST_F(CommandBarsFrame, APaletteTakesItsButtonsAndPicturesFromAToolbarResource) {
  CXTPPopupToolBar *pPalette = CXTPPopupToolBar::CreatePopupToolBar(pBars);
  pPalette->SetImageManager(new CXTPImageManager);
  CXTPCommandBar *pBar = pPalette;
  ASSERT_TRUE(pBar->LoadToolBar(kStandardId));
  EXPECT_EQ((std::vector<int>{301, 302, 303}), Ids(pPalette));
  EXPECT_TRUE(pPalette->GetControl(1)->GetBeginGroup()) << "the separator before 302";
  EXPECT_FALSE(pPalette->GetControl(2)->GetBeginGroup());
  for (UINT nID : {301u, 302u, 303u})
    EXPECT_NE(nullptr, pPalette->GetImageManager()->GetImage(nID, 16)) << nID;
  EXPECT_EQ(0, pPalette->GetBarID());
  EXPECT_EQ(nullptr, pPalette->GetControls()->GetOriginalControls());
  EXPECT_EQ(xtpBarTypeNormal, pPalette->GetType()) << "still laid out as a toolbar";

  // Loading again replaces the buttons; a missing resource leaves them.
  ASSERT_TRUE(pPalette->LoadToolBar(kSecondId, FALSE));
  EXPECT_EQ((std::vector<int>{311, 312, 313}), Ids(pPalette));
  EXPECT_FALSE(pPalette->LoadToolBar(999));
  EXPECT_EQ((std::vector<int>{311, 312, 313}), Ids(pPalette));
  pPalette->InternalRelease();
}

// A status bar made after the command bars still takes the frame's last
// strip, below the bottom dock bar.
TEST_F(CommandBarsFrame, AStatusBarStaysBelowTheBottomDockBar) {
  CStatusBar status;
  ASSERT_TRUE(status.Create(pFrame));
  ASSERT_TRUE(pBars->DockCommandBarAtPosition(pSecond, xtpBarBottom));
  pFrame->RecalcLayout();
  const CRect rcStatus = ClientRectOf(pFrame, status.GetSafeHwnd());
  const CRect rcBottom = ClientRectOf(pFrame, pBars->GetDockBar(xtpBarBottom)->GetSafeHwnd());
  EXPECT_EQ(Client().bottom, rcStatus.bottom);
  EXPECT_EQ(rcStatus.top, rcBottom.bottom);
  EXPECT_EQ(rcBottom.top, View().bottom);
  status.DestroyWindow();
}

TEST_F(CommandBarsFrame, LargeIconsReLayTheToolbars) {
  const CRect rcSmall = ClientRectOf(pFrame, pStandard->GetSafeHwnd());
  pBars->GetCommandBarsOptions()->bLargeIcons = TRUE;
  pBars->RedrawCommandBars();
  const CRect rcLarge = ClientRectOf(pFrame, pStandard->GetSafeHwnd());
  EXPECT_EQ(rcSmall.Height() + 16, rcLarge.Height()) << "32-pixel icons instead of 16";
  EXPECT_GT(rcLarge.Width(), rcSmall.Width());
  EXPECT_EQ(CRect(Client().left, ClientRectOf(pFrame, pBars->GetDockBar(xtpBarTop)->GetSafeHwnd()).bottom,
                  Client().right, Client().bottom),
            View());
  pBars->GetCommandBarsOptions()->szLargeIcons = CSize(24, 24);
  pBars->RedrawCommandBars();
  EXPECT_EQ(rcSmall.Height() + 8, ClientRectOf(pFrame, pStandard->GetSafeHwnd()).Height());
}

// While a bar tracks, the wheel is its; otherwise the frame's.
TEST_F(CommandBarsFrame, TheWheelGoesToTrackingBars) {
  MSG msg{};
  msg.hwnd = pFrame->GetSafeHwnd();
  msg.message = WM_MOUSEWHEEL;
  msg.wParam = MAKEWPARAM(0, WHEEL_DELTA);
  msg.lParam = 0;
  EXPECT_FALSE(pFrame->PreTranslateMessage(&msg));
  pFrame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
  ASSERT_TRUE(pMenuBar->IsTrackingMode());
  EXPECT_TRUE(pFrame->PreTranslateMessage(&msg));
  Key(VK_ESCAPE);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());
}

// Two toolbars share a row of a narrow frame: the expand list of either
// gathers what neither had room for.
TEST_F(CommandBarsFrame, HiddenControlsOfARowComeFromEveryBarInIt) {
  CRect rcStandard;
  pStandard->GetWindowRect(&rcStandard);
  const CRect rcBeside(rcStandard.right + 4, rcStandard.top, rcStandard.right + 40, rcStandard.bottom);
  ASSERT_TRUE(pBars->DockCommandBar(pSecond, &rcBeside, pBars->GetDockBar(xtpBarTop)));
  pFrame->SetWindowPos(nullptr, 0, 0, 150, kFrameHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  pFrame->RecalcLayout();
  CRect rcSecond;
  pSecond->GetWindowRect(&rcSecond);
  pStandard->GetWindowRect(&rcStandard);
  ASSERT_EQ(rcStandard.top, rcSecond.top) << "one row";
  std::vector<UINT> wrapped;
  for (CXTPToolBar *pBar : {pStandard, pSecond})
    for (int i = 0; i < pBar->GetControlCount(); i++)
      if (pBar->GetControl(i)->GetHideFlags() == xtpHideWrap)
        wrapped.push_back(static_cast<UINT>(pBar->GetControl(i)->GetID()));
  ASSERT_FALSE(wrapped.empty());
  std::sort(wrapped.begin(), wrapped.end());
  for (CXTPToolBar *pBar : {pStandard, pSecond}) {
    CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(pBars);
    pBars->GetHiddenControls(pBar, pPopup);
    std::vector<UINT> listed;
    for (int i = 0; i < pPopup->GetControlCount(); i++) {
      listed.push_back(static_cast<UINT>(pPopup->GetControl(i)->GetID()));
      EXPECT_EQ(0u, pPopup->GetControl(i)->GetHideFlags());
      EXPECT_FALSE(pPopup->GetControl(i)->GetBeginGroup());
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(wrapped, listed);
    pPopup->InternalRelease();
    // The chevron of either bar lists the same buttons.
    pPopup = CXTPPopupBar::CreatePopupBar(pBars);
    pBar->FillExpandPopup(pPopup);
    listed.clear();
    for (int i = 0; i < pPopup->GetControlCount(); i++)
      if (pPopup->GetControl(i)->GetID() != 0)
        listed.push_back(static_cast<UINT>(pPopup->GetControl(i)->GetID()));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(wrapped, listed);
    pPopup->InternalRelease();
  }
  // A floating bar lists nothing here.
  ASSERT_TRUE(pBars->FloatCommandBar(pSecond));
  CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(pBars);
  pBars->GetHiddenControls(pSecond, pPopup);
  EXPECT_EQ(0, pPopup->GetControlCount());
  pPopup->InternalRelease();
}

TEST_F(CommandBarsFrame, HidingAndShowingAToolbarReLaysTheFrame) {
  const CRect rcViewShown = View();
  ASSERT_TRUE(pBars->ToggleVisible(pBars->FindIndex(pStandard)));
  EXPECT_FALSE(pStandard->IsVisible());
  EXPECT_FALSE(::IsWindowVisible(pStandard->GetSafeHwnd()));
  EXPECT_LT(View().top, rcViewShown.top);
  ASSERT_TRUE(pBars->ToggleVisible(pBars->FindIndex(pStandard)));
  EXPECT_TRUE(pStandard->IsVisible());
  EXPECT_EQ(rcViewShown, View());
  EXPECT_FALSE(pBars->ToggleVisible(7)) << "no such bar";
}

TEST_F(CommandBarsFrame, TheToolbarsPopupListsTheToolbarsAndItsItemsToggleThem) {
  CXTPPopupBar *pPopup = pBars->GetToolbarsPopup();
  ASSERT_EQ(2, pPopup->GetControlCount()) << "the menu bar is not listed";
  EXPECT_EQ(CString(L"Standard"), pPopup->GetControl(0)->GetCaption());
  EXPECT_EQ(CString(L"Second"), pPopup->GetControl(1)->GetCaption());
  EXPECT_TRUE(pPopup->GetControl(1)->GetChecked());
  pPopup->GetControl(1)->OnExecute();
  EXPECT_FALSE(pSecond->IsVisible());
  pPopup->InternalRelease();

  pPopup = pBars->GetToolbarsPopup();
  EXPECT_FALSE(pPopup->GetControl(1)->GetChecked());
  pPopup->GetControl(1)->OnExecute();
  EXPECT_TRUE(pSecond->IsVisible());
  pPopup->InternalRelease();
  // The View menu's toolbars entry goes the same way.
  EXPECT_TRUE(CXTPControlToolbars::ToggleVisible(pBars, pBars->FindIndex(pStandard)));
  EXPECT_FALSE(pStandard->IsVisible());
}

TEST_F(CommandBarsFrame, AltAndF10StartTrackingOnTheMenuBarAndEscapeEndsIt) {
  for (const char *how : {"Alt", "F10"}) {
    SCOPED_TRACE(how);
    // Both reach the frame as the system's keyboard-menu command without a character.
    pFrame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, pMenuBar->GetSelectedIndex());
    EXPECT_EQ(-1, pMenuBar->GetPopupedIndex());
    Key(VK_ESCAPE);
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
  }
}

TEST_F(CommandBarsFrame, AltLetterOpensItsMenuAndEscapeClosesIt) {
  ASSERT_TRUE(pBars->ProcessMnemonic(L'v'));
  EXPECT_TRUE(pMenuBar->IsTrackingMode());
  EXPECT_EQ(1, pMenuBar->GetPopupedIndex()) << "View is open";
  Key(VK_ESCAPE);
  EXPECT_EQ(-1, pMenuBar->GetPopupedIndex()) << "the first Escape closes the menu";
  EXPECT_TRUE(pMenuBar->IsTrackingMode());
  EXPECT_EQ(1, pMenuBar->GetSelectedIndex());
  Key(VK_ESCAPE);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());

  // A frame that does not hold the focus leaves Alt+letter to the one that does.
  MSG msg{};
  msg.hwnd = pFrame->GetSafeHwnd();
  msg.message = WM_SYSKEYDOWN;
  msg.wParam = 'V';
  msg.lParam = 0x20000001;
  if (::GetFocus() == nullptr) {
    EXPECT_FALSE(pFrame->PreTranslateMessage(&msg));
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
  }
}

TEST_F(CommandBarsFrame, FloatingBarsAreUpdatedByTheFramesIdlePass) {
  CXTPControl *pControl = pStandard->GetControls()->FindControl(kDisabledCommand);
  ASSERT_NE(nullptr, pControl);
  ASSERT_TRUE(pControl->GetEnabled());
  ASSERT_TRUE(pBars->FloatCommandBar(pStandard));
  pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_FALSE(pControl->GetEnabled());
}

// Each layout of the frame places and redraws every bar: the idle pass lays
// it out only for what changed since the last one.
TEST_F(CommandBarsFrame, TheIdlePassLaysTheFrameOutOnlyForChangesSinceItsLastLayout) {
  const auto idlePass = [this] {
    pFrame->m_nLayouts = 0;
    pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    return pFrame->m_nLayouts;
  };
  EXPECT_EQ(0, idlePass()) << "bars made and docked before the frame's last layout";

  CXTPControl *pControl = pStandard->GetControls()->FindControl(303);
  ASSERT_NE(nullptr, pControl);
  const int nLeft = pControl->GetRect().left;
  pControl->SetBeginGroup(TRUE);
  EXPECT_EQ(1, idlePass()) << "a control change lays its bar out";
  EXPECT_GT(pControl->GetRect().left, nLeft);
  EXPECT_EQ(0, idlePass());

  pControl->SetBeginGroup(FALSE);
  pFrame->RecalcLayout();
  EXPECT_EQ(nLeft, pControl->GetRect().left) << "the frame's layout measured the change";
  EXPECT_EQ(0, idlePass()) << "and left the idle pass nothing to do";

  pFrame->DelayRecalcLayout();
  EXPECT_EQ(1, idlePass());
  pFrame->DelayRecalcLayout();
  pFrame->RecalcLayout();
  EXPECT_EQ(0, idlePass());
}

TEST_F(CommandBarsFrame, PrintPreviewHidesTheToolbarsAndShowsOnlyThoseThatWereShown) {
  pSecond->SetVisible(FALSE);
  pFrame->OnSetPreviewMode(TRUE);
  for (CXTPToolBar *pBar : {static_cast<CXTPToolBar *>(pMenuBar), pStandard, pSecond})
    EXPECT_FALSE(pBar->IsVisible());
  pFrame->OnSetPreviewMode(FALSE);
  EXPECT_TRUE(pMenuBar->IsVisible());
  EXPECT_TRUE(pStandard->IsVisible());
  EXPECT_FALSE(pSecond->IsVisible());
}

TEST_F(CommandBarsFrame, ACustomBarIsAnnouncedWithACreationBlockOfPointers) {
  CXTPToolBar *pBar = pBars->AddCustomBar(L"Mine", 5001, TRUE);
  ASSERT_NE(nullptr, pBar);
  EXPECT_EQ(1, pFrame->m_nCreateBarCalls);
  EXPECT_EQ(pBar, pFrame->m_seenBlock.pCommandBar);
  EXPECT_EQ(CString(L"Mine"), pFrame->m_strSeenCaption);
  EXPECT_EQ(5001u, pFrame->m_seenBlock.nID);
  EXPECT_TRUE(pFrame->m_seenBlock.bFloatingBar);
  EXPECT_FALSE(pFrame->m_seenBlock.bPopup);
  EXPECT_EQ(xtpBarFloating, pBar->GetPosition());
  EXPECT_FALSE(pBar->IsBuiltIn());
  EXPECT_EQ(pBar, pBars->GetToolBar(5001));
}

TEST_F(CommandBarsFrame, RemovingBarsLetsThemGo) {
  pBars->Remove(pSecond);
  EXPECT_EQ(2, pBars->GetCount());
  EXPECT_LT(pBars->GetDockBar(xtpBarTop)->FindBar(pSecond), 0);
  pBars->Remove(pSecond); // not listed any more: ignored
  pBars->Remove(pMenuBar);
  EXPECT_EQ(nullptr, pBars->GetMenuBar());
  EXPECT_EQ(1, pBars->GetCount());
}

// The frame's messages that end the menus the bars are tracking.
TEST_F(CommandBarsFrame, LeavingTheApplicationOrASystemCommandEndsTracking) {
  const struct {
    const char *name;
    UINT message;
    WPARAM wParam;
    bool bEnds;
  } cases[] = {
      {"the application is left", WM_ACTIVATEAPP, FALSE, true},
      {"the application is entered", WM_ACTIVATEAPP, TRUE, false},
      {"a system command", WM_SYSCOMMAND, SC_MOVE, true},
      {"a system command without a code", WM_SYSCOMMAND, 0, true},
      {"the keyboard menu itself", WM_SYSCOMMAND, SC_KEYMENU, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    pBars->ActivateBar(pMenuBar, 0);
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    LRESULT lResult = 0;
    EXPECT_FALSE(pBars->OnFrameWndMsg(c.message, c.wParam, 0, &lResult)) << "the frame still sees it";
    EXPECT_EQ(!c.bEnds, pMenuBar->IsTrackingMode() != FALSE);
    pMenuBar->CancelTracking();
  }
  // In customise mode a system command leaves the bars alone.
  pBars->ActivateBar(pMenuBar, 0);
  pBars->SetCustomizeMode(TRUE);
  LRESULT lResult = 0;
  pBars->OnFrameWndMsg(WM_SYSCOMMAND, SC_MOVE, 0, &lResult);
  EXPECT_TRUE(pMenuBar->IsTrackingMode());
  pBars->SetCustomizeMode(FALSE);
  pMenuBar->CancelTracking();
}

TEST_F(CommandBarsFrame, TheCustomiseSheetKeepsTheFrameOpen) {
  pBars->SetCustomizeSheetHwnd(hView);
  pFrame->SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(pFrame->GetSafeHwnd()));
  pBars->SetCustomizeSheetHwnd(nullptr);
}

// Keys typed into a command-bar edit box reach the box, not the frame's
// accelerators; Enter, Tab and Escape still go through the frame.
TEST_F(CommandBarsFrame, KeysTypedIntoACommandBarEditSkipTheFramesAccelerators) {
  ACCEL accels[] = {{FVIRTKEY, 'A', 302}, {FVIRTKEY, VK_RETURN, 303}, {FVIRTKEY, VK_ESCAPE, 304}};
  HACCEL hAccel = ::CreateAcceleratorTableW(accels, 3);
  const HACCEL hOld = pFrame->m_hAccelTable;
  pFrame->m_hAccelTable = hAccel;
  auto *pEdit = static_cast<CXTPControlEdit *>(pStandard->GetControls()->Add(xtpControlEdit, 350));
  pBars->RecalcFrameLayout(FALSE);
  pFrame->RecalcLayout();
  ASSERT_TRUE(pEdit->GetEditCtrl() != nullptr && pEdit->GetEditCtrl()->GetSafeHwnd() != nullptr);
  const HWND hBox = pEdit->GetEditCtrl()->GetSafeHwnd();
  const struct {
    const char *name;
    bool inBox;
    UINT key;
    BOOL translated;
    UINT command;
  } kCases[] = {
      {"a letter in the box", true, 'A', FALSE, 0},
      {"Enter in the box", true, VK_RETURN, TRUE, 303},
      {"Escape in the box", true, VK_ESCAPE, TRUE, 304},
      {"a letter elsewhere", false, 'A', TRUE, 302},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    ::SetFocus(c.inBox ? hBox : hView);
    ASSERT_EQ(XTPIsCommandBarEditFocused(), c.inBox ? TRUE : FALSE);
    pFrame->m_nLastCommand = 0;
    MSG msg = {::GetFocus(), WM_KEYDOWN, c.key, 1, 0, {0, 0}};
    EXPECT_EQ(pFrame->PreTranslateMessage(&msg), c.translated);
    EXPECT_EQ(pFrame->m_nLastCommand, c.command);
  }
  ::SetFocus(hView);
  pFrame->m_hAccelTable = hOld;
  ::DestroyAcceleratorTable(hAccel);
}

// A dragged bar docks only strictly inside a dock bar grown by 20 pixels: on
// the grown edge itself (the left and top edges included) it does not.
TEST_F(CommandBarsFrame, DockingDistanceIsStrict) {
  CXTPDockBar *pLeft = pBars->GetDockBar(xtpBarLeft);
  pBars->DockCommandBarAtPosition(pSecond, xtpBarLeft);
  CRect rcLeft;
  pLeft->GetWindowRect(&rcLeft);
  const int yMid = rcLeft.CenterPoint().y;
  const struct {
    CPoint point;
    bool bDocks;
    const char *name;
  } cases[] = {
      {CPoint(rcLeft.left - 19, yMid), true, "19 left of it"},
      {CPoint(rcLeft.left - 20, yMid), false, "20 left of it: the grown left edge"},
      {CPoint(rcLeft.right + 19, yMid), true, "19 right of its right edge"},
      {CPoint(rcLeft.right + 20, yMid), false, "20 right of its right edge"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.bDocks, pBars->CanDock(c.point, pLeft) == pLeft);
  }
  CXTPDockBar *pTop = pBars->GetDockBar(xtpBarTop);
  CRect rcTop;
  pTop->GetWindowRect(&rcTop);
  const int xMid = rcTop.CenterPoint().x;
  EXPECT_EQ(pTop, pBars->CanDock(CPoint(xMid, rcTop.top - 19)));
  EXPECT_NE(pTop, pBars->CanDock(CPoint(xMid, rcTop.top - 20))) << "the grown top edge";
}

// A frame that never made command bars is a plain frame: its menu stays,
// keys and messages pass, print preview and layout do nothing more.
TEST(CommandBarsPlainFrame, AFrameWithoutCommandBarsIsAPlainFrame) {
  auto *pFrame = new CTestFrame;
  ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
  const HMENU hMenu = ::GetMenu(pFrame->GetSafeHwnd());
  ASSERT_NE(nullptr, hMenu);
  MSG msg{};
  msg.hwnd = pFrame->GetSafeHwnd();
  msg.message = WM_SYSKEYDOWN;
  msg.wParam = 'F';
  msg.lParam = 0x20000001;
  EXPECT_FALSE(pFrame->PreTranslateMessage(&msg));
  pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  pFrame->OnSetPreviewMode(TRUE);
  pFrame->OnSetPreviewMode(FALSE);
  pFrame->OnUpdateFrameMenu(nullptr);
  pFrame->RecalcLayout();
  EXPECT_EQ(hMenu, ::GetMenu(pFrame->GetSafeHwnd()));
  EXPECT_EQ(nullptr, pFrame->GetCommandBars());
  pFrame->DestroyWindow();
}

// A program's own command bars put their own menu in place of the toolbars
// list: a right click on a docked bar reaches it.
class CContextMenuCommandBars : public CXTPCommandBars {
  DECLARE_DYNCREATE(CContextMenuCommandBars)
public:
  void ContextMenu(int x, int y) override { m_points.emplace_back(x, y); }
  std::vector<CPoint> m_points;
};
IMPLEMENT_DYNCREATE(CContextMenuCommandBars, CXTPCommandBars)

TEST(CommandBarsDerived, ARightClickOnADockedBarReachesTheProgramsContextMenu) {
  auto *pFrame = new CTestFrame;
  ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
  ASSERT_TRUE(pFrame->InitCommandBars(RUNTIME_CLASS(CContextMenuCommandBars)));
  auto *pBars = static_cast<CContextMenuCommandBars *>(pFrame->GetCommandBars());
  pBars->SetPaintManager(new CXTPDefaultTheme);
  CXTPToolBar *pStandard = pBars->Add(L"Standard", xtpBarTop);
  ASSERT_NE(nullptr, pStandard);
  ASSERT_TRUE(pStandard->LoadToolBar(kStandardId));
  pFrame->SetWindowPos(nullptr, 20, 20, kFrameWidth, kFrameHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  pFrame->RecalcLayout();
  ASSERT_EQ(pBars->GetDockBar(xtpBarTop), CXTPDockBar::FromBar(pStandard));
  const CPoint ptOnBar(4, 4);
  CPoint ptScreen = ptOnBar;
  pStandard->ClientToScreen(&ptScreen);
  // The toolbars list, were it shown instead, would end at once.
  CXTPCommandBars::SetGetMessageFunction([](MSG *) -> BOOL { return FALSE; });
  pStandard->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(ptOnBar.x, ptOnBar.y));
  CXTPCommandBars::SetGetMessageFunction(nullptr);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  EXPECT_EQ(pBars->m_points, (std::vector<CPoint>{ptScreen}));
  pFrame->DestroyWindow();
}

// ---- without a frame

TEST(CommandBarsLists, NextVisibleBar) {
  CXTPCommandBars *pBars = new CXTPCommandBars;
  EXPECT_EQ(-1, pBars->GetNextVisibleBar(-1, 1)) << "no bars";
  // Bars 0 and 2 shown, 1 and 3 hidden (visibility is the bar's flag).
  CXTPToolBar *bars[4];
  for (int i = 0; i < 4; i++) {
    bars[i] = new CXTPToolBar;
    ASSERT_TRUE(bars[i]->CreateFloatingWindow(nullptr, TRUE));
    bars[i]->SetVisible(i % 2 == 0);
    pBars->AddBar(bars[i]);
    bars[i]->InternalRelease();
  }
  const struct {
    int nIndex, nDirection, nResult;
  } cases[] = {
      {-1, 1, 0}, {0, 1, 2}, {2, 1, 0}, {1, 1, 2}, {-1, -1, 2}, {0, -1, 2}, {3, -1, 2}, {2, -1, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.nIndex << " by " << c.nDirection);
    EXPECT_EQ(c.nResult, pBars->GetNextVisibleBar(c.nIndex, c.nDirection));
  }
  bars[0]->SetVisible(FALSE);
  EXPECT_EQ(2, pBars->GetNextVisibleBar(2, 1)) << "back where it began";
  bars[2]->SetVisible(FALSE);
  EXPECT_EQ(-1, pBars->GetNextVisibleBar(-1, 1)) << "none shown: no wrap from -1";
  pBars->InternalRelease();
}

TEST(CommandBarsLists, HiddenAndUsedCommands) {
  CXTPCommandBars *pBars = new CXTPCommandBars;
  pBars->HideCommand(10);
  pBars->HideCommand(11);
  pBars->SetCommandUsed(11);
  pBars->SetCommandUsed(12); // not hidden: not recorded
  EXPECT_TRUE(pBars->IsControlHidden(10));
  EXPECT_FALSE(pBars->IsControlHidden(11));
  EXPECT_FALSE(pBars->IsControlHidden(12));
  EXPECT_EQ(0u, pBars->GetCommandBarsOptions()->m_mapUsedCommands.count(12));

  CXTPPopupBar *pMenu = CXTPPopupBar::CreatePopupBar(pBars);
  CXTPControl *pPopup = pMenu->GetControls()->Add(xtpControlPopup, 20);
  EXPECT_FALSE(pBars->IsHiddenInMenu(pPopup)) << "a popup without a bar";
  CXTPPopupBar *pSub = CXTPPopupBar::CreatePopupBar(pBars);
  static_cast<CXTPControlPopup *>(pPopup)->SetCommandBar(pSub);
  EXPECT_FALSE(pBars->IsHiddenInMenu(pPopup)) << "a popup whose bar is empty";
  pSub->GetControls()->Add(xtpControlButton, 10);
  EXPECT_TRUE(pBars->IsHiddenInMenu(pPopup)) << "every item hidden";
  pSub->GetControls()->Add(xtpControlButton, 11);
  EXPECT_FALSE(pBars->IsHiddenInMenu(pPopup)) << "one item used";
  pBars->GetCommandBarsOptions()->bAutoHideUnusedPopups = FALSE;
  pSub->GetControls()->RemoveAll();
  pSub->GetControls()->Add(xtpControlButton, 10);
  EXPECT_FALSE(pBars->IsHiddenInMenu(pPopup)) << "option off";
  pSub->InternalRelease();
  pMenu->InternalRelease();
  pBars->InternalRelease();
}

// A popup whose bar lists the popup itself (a damaged profile can link them
// so): the walk ends instead of recursing for ever.
TEST(CommandBarsLists, HiddenInMenuEndsOnPopupsThatLoop) {
  CXTPCommandBars *pBars = new CXTPCommandBars;
  pBars->HideCommand(30);
  CXTPPopupBar *pSub = CXTPPopupBar::CreatePopupBar(pBars);
  auto *pPopup = static_cast<CXTPControlPopup *>(pSub->GetControls()->Add(xtpControlPopup, 31));
  pPopup->SetCommandBar(pSub);
  EXPECT_FALSE(pBars->IsHiddenInMenu(pPopup));
  pSub->GetControls()->Add(xtpControlButton, 30, nullptr, 0); // before the loop
  EXPECT_FALSE(pBars->IsHiddenInMenu(pPopup)) << "the looping child counts by its own command";
  pPopup->SetCommandBar(nullptr);
  pSub->InternalRelease();
  pBars->InternalRelease();
}

} // namespace

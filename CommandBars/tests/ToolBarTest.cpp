// Toolbar: toolbar resources read with damaged counts and versions, buttons
// built from ids with their groups and site messages, the docked layout's
// expand button by widths and buttons, the floating caption buttons, the
// visible flag, commands reaching the owner and a torn-off bar closed from
// inside its own message.
//
// No real cursor moves and no window is activated.
#include <gtest/gtest.h>

#include <vector>

#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPToolBar.h"

using namespace cbtest;

namespace {

// Sizes come from the default theme.
template <class T = CXTPToolBar> T *NewToolBar() {
  T *pBar = new T;
  pBar->SetPaintManager(new CXTPDefaultTheme);
  return pBar;
}

std::vector<BYTE> Resource(WORD version, WORD width, WORD height, WORD count, std::vector<WORD> ids) {
  std::vector<BYTE> data;
  for (WORD w : {version, width, height, count}) {
    data.push_back(static_cast<BYTE>(w));
    data.push_back(static_cast<BYTE>(w >> 8));
  }
  for (WORD w : ids) {
    data.push_back(static_cast<BYTE>(w));
    data.push_back(static_cast<BYTE>(w >> 8));
  }
  return data;
}

TEST(ToolBarResource, DamagedCountsAndVersions) {
  const struct {
    const char *name;
    std::vector<BYTE> data;
    BOOL bOk;
    size_t nIds;
  } kCases[] = {
      {"good", Resource(1, 16, 15, 3, {100, 0, 101}), TRUE, 3},
      {"empty list", Resource(1, 16, 15, 0, {}), TRUE, 0},
      {"count one past the block", Resource(1, 16, 15, 4, {100, 0, 101}), FALSE, 0},
      {"count far past the block", Resource(1, 16, 15, 0xFFFF, {100}), FALSE, 0},
      {"count shorter than the block", Resource(1, 16, 15, 1, {100, 101}), TRUE, 1},
      {"version 0", Resource(0, 16, 15, 1, {100}), FALSE, 0},
      {"version 2", Resource(2, 16, 15, 1, {100}), FALSE, 0},
      {"header cut", std::vector<BYTE>{1, 0, 16, 0, 15, 0}, FALSE, 0},
  };
  for (const auto &c : kCases) {
    std::vector<UINT> ids;
    CSize szBitmap;
    EXPECT_EQ(c.bOk, CXTPToolBar::ParseToolBarResource(c.data.data(), c.data.size(), ids, szBitmap))
        << c.name;
    EXPECT_EQ(c.nIds, ids.size()) << c.name;
  }
}

TEST(ToolBarResource, DamagedBlockLeavesTheBarEmpty) {
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetButtons(std::vector<UINT>{1, 2}.data(), 2);
  const std::vector<BYTE> data = Resource(1, 16, 15, 200, {100, 101});
  EXPECT_FALSE(pBar->LoadToolBarData(7, data.data(), data.size(), FALSE));
  EXPECT_EQ(0, pBar->GetControlCount());
  const std::vector<BYTE> good = Resource(1, 16, 15, 2, {100, 101});
  EXPECT_TRUE(pBar->LoadToolBarData(7, good.data(), good.size(), FALSE));
  EXPECT_EQ(2, pBar->GetControlCount());
  EXPECT_EQ(7, pBar->GetBarID());
  pBar->InternalRelease();
}

TEST(ToolBarButtons, SeparatorsStartGroupsAndTheSiteIsAsked) {
  MessageSite site;
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetOwnerWindow(site.GetHwnd());
  const UINT ids[] = {0, 10, 0, 0, 11, 12, 0};
  EXPECT_TRUE(pBar->SetButtons(ids, 7));
  ASSERT_EQ(3, pBar->GetControlCount());
  EXPECT_TRUE(pBar->GetControl(0)->GetBeginGroup());
  EXPECT_TRUE(pBar->GetControl(1)->GetBeginGroup());
  EXPECT_FALSE(pBar->GetControl(2)->GetBeginGroup());
  int nBefore = 0, nAfter = 0;
  for (const auto &e : site.log) {
    nBefore += e.message == WM_XTP_BEFORECREATECONTROL;
    nAfter += e.message == WM_XTP_AFTERCREATECONTROL;
  }
  EXPECT_EQ(3, nBefore);
  EXPECT_EQ(3, nAfter);
  pBar->InternalRelease();
}

TEST(ToolBarButtons, CommandsReachTheOwner) {
  MessageSite site;
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetOwnerWindow(site.GetHwnd());
  const UINT ids[] = {40001, 40002};
  pBar->SetButtons(ids, 2);
  pBar->GetControl(1)->OnExecute();
  std::vector<UINT> commands;
  for (const auto &e : site.log)
    if (e.message == WM_COMMAND) commands.push_back(LOWORD(e.wParam));
  EXPECT_EQ(std::vector<UINT>{40002}, commands);
  pBar->InternalRelease();
}

// Hidden for lack of room: the hide flags are exactly that.
int CountWrapped(CXTPToolBar *pBar) {
  int n = 0;
  for (int i = 0; i < pBar->GetControlCount(); i++)
    n += pBar->GetControl(i)->GetID() != XTP_ID_TOOLBAR_EXPAND &&
         pBar->GetControl(i)->GetHideFlags() == xtpHideWrap;
  return n;
}

TEST(ToolBarLayout, WidthsAndButtonsDecideTheChevron) {
  const struct {
    int nButtons;
    int nWidth;
    BOOL bAlways;
    BOOL bExpandShown;
    BOOL bHidden; // some button behind the chevron
  } kCases[] = {
      {3, 1000, FALSE, FALSE, FALSE}, {3, 60, FALSE, TRUE, TRUE},   {8, 120, FALSE, TRUE, TRUE},
      {1, 1000, FALSE, FALSE, FALSE}, {3, 1000, TRUE, TRUE, FALSE}, {8, 120, TRUE, TRUE, TRUE},
  };
  for (const auto &c : kCases) {
    CXTPToolBar *pBar = NewToolBar();
    pBar->SetFlags(0x3F);
    pBar->SetShowExpandButtonAlways(c.bAlways);
    std::vector<UINT> ids;
    for (int i = 0; i < c.nButtons; i++) ids.push_back(100 + i);
    pBar->SetButtons(ids.data(), c.nButtons);
    const CSize sz = pBar->CalcDockedLayout(c.nWidth, LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
    auto *pExpand =
        static_cast<CXTPToolBarExpandButton *>(pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND));
    ASSERT_NE(nullptr, pExpand);
    const BOOL bShown = pExpand->GetHideFlags() == 0;
    EXPECT_EQ(c.bExpandShown, bShown) << c.nButtons << " x " << c.nWidth;
    EXPECT_EQ(c.bHidden, CountWrapped(pBar) > 0) << c.nButtons << " x " << c.nWidth;
    EXPECT_LE(sz.cx, std::max(c.nWidth, 0)) << c.nButtons << " x " << c.nWidth;
    if (bShown) {
      EXPECT_EQ(11, pExpand->GetRect().Width());
      EXPECT_EQ(sz.cx - 2, pExpand->GetRect().right);
      EXPECT_EQ(c.bHidden, pExpand->HasHiddenControls());
    }
    pBar->InternalRelease();
  }
}

TEST(ToolBarLayout, TheChevronListsTheHiddenButtons) {
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetFlags(0x3F);
  pBar->SetShowExpandButtonAlways(FALSE);
  const UINT ids[] = {100, 101, 102, 103, 104, 105};
  pBar->SetButtons(ids, 6);
  pBar->CalcDockedLayout(90, LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
  std::vector<int> hidden;
  for (int i = 0; i < pBar->GetControlCount(); i++)
    if (pBar->GetControl(i)->GetHideFlags() == xtpHideWrap) hidden.push_back(pBar->GetControl(i)->GetID());
  ASSERT_FALSE(hidden.empty());
  CXTPControl *pExpand = pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
  pExpand->OnSetPopup(TRUE);
  CXTPCommandBar *pPopup = pExpand->GetCommandBar();
  ASSERT_NE(nullptr, pPopup);
  std::vector<int> listed;
  for (int i = 0; i < pPopup->GetControlCount(); i++) {
    listed.push_back(pPopup->GetControl(i)->GetID());
    EXPECT_EQ(0u, pPopup->GetControl(i)->GetHideFlags()) << "shown in the list";
  }
  EXPECT_EQ(hidden, listed);
  pExpand->OnSetPopup(FALSE);
  pBar->InternalRelease();
}

TEST(ToolBarLayout, MeasuringKeepsRoomForTheChevron) {
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetFlags(0x3F);
  pBar->SetShowExpandButtonAlways(FALSE);
  const UINT ids[] = {100, 101, 102};
  pBar->SetButtons(ids, 3);
  const CSize szMin = pBar->CalcDockedLayout(1, LM_HORZ | LM_HORZDOCK | LM_HIDEWRAP);
  const CSize szFull = pBar->CalcDockedLayout(1000, LM_HORZ | LM_HORZDOCK | LM_HIDEWRAP);
  EXPECT_GT(szFull.cx, szMin.cx);
  EXPECT_EQ(static_cast<DWORD>(xtpHideGeneric),
            pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND)->GetHideFlags());
  pBar->InternalRelease();
}

TEST(ToolBarLayout, FloatingCaptionButtons) {
  for (BOOL bCloseable : {TRUE, FALSE}) {
    CXTPToolBar *pBar = NewToolBar();
    pBar->SetPosition(xtpBarFloating); // no site: refused, stays docked
    pBar->SetCloseable(bCloseable);
    pBar->SetShowExpandButtonAlways(TRUE);
    const UINT ids[] = {100, 101, 102};
    pBar->SetButtons(ids, 3);
    const CSize sz = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    CXTPControl *pClose = pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_HIDE);
    CXTPControl *pExpand = pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
    ASSERT_NE(nullptr, pExpand);
    EXPECT_EQ(0u, pExpand->GetHideFlags());
    if (bCloseable) {
      ASSERT_NE(nullptr, pClose);
      EXPECT_EQ(sz.cx - 3, pClose->GetRect().right);
      EXPECT_EQ(pClose->GetRect().left, pExpand->GetRect().right);
    } else {
      EXPECT_EQ(nullptr, pClose);
      EXPECT_EQ(sz.cx - 3, pExpand->GetRect().right) << "the expand button takes the caption's right edge";
    }
    pBar->InternalRelease();
  }
}

// A toolbar that counts deletes made while one of its messages runs.
class CountingToolBar : public CXTPToolBar {
public:
  static constexpr UINT kMsgRunClose = WM_APP + 5;
  static int s_nInWindowProc;
  static int s_nDeletedInHandler;
  static int s_nLive;
  CountingToolBar() { s_nLive++; }
  ~CountingToolBar() override {
    s_nLive--;
    if (s_nInWindowProc > 0) s_nDeletedInHandler++;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    s_nInWindowProc++;
    LRESULT lResult = 0;
    if (message == kMsgRunClose)
      GetControls()->FindControl(XTP_ID_TOOLBAR_HIDE)->OnExecute();
    else
      lResult = CXTPToolBar::WindowProc(message, wParam, lParam);
    s_nInWindowProc--;
    return lResult;
  }
};
int CountingToolBar::s_nInWindowProc = 0;
int CountingToolBar::s_nDeletedInHandler = 0;
int CountingToolBar::s_nLive = 0;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

TEST(ToolBarClose, TornOffBarClosedInsideItsOwnClick) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CountingToolBar *pBar = NewToolBar<CountingToolBar>();
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease(); // the command bars hold it now
  pBar->SetTearOff(TRUE);
  pBar->SetShowExpandButtonAlways(TRUE);
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  pBar->SetVisible(TRUE);
  pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  const HWND hWnd = pBar->GetSafeHwnd();

  ::SendMessageW(hWnd, CountingToolBar::kMsgRunClose, 0, 0);
  EXPECT_EQ(0, CountingToolBar::s_nDeletedInHandler);
  EXPECT_EQ(1, CountingToolBar::s_nLive) << "the bar outlives its own click";
  EXPECT_EQ(1, pCommandBars->GetCount());

  Pump();
  EXPECT_EQ(0, pCommandBars->GetCount()) << "a hidden torn-off bar leaves the command bars";
  EXPECT_EQ(0, CountingToolBar::s_nLive);
  EXPECT_EQ(0, CountingToolBar::s_nDeletedInHandler);
  EXPECT_FALSE(::IsWindow(hWnd));
  pCommandBars->InternalRelease();
}

TEST(ToolBarClose, BuiltInBarHiddenStaysListed) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPToolBar *pBar = NewToolBar();
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease();
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  pBar->SetVisible(TRUE);
  pBar->SetVisible(FALSE);
  Pump();
  EXPECT_EQ(1, pCommandBars->GetCount());
  pCommandBars->InternalRelease();
}

TEST(ToolBarFloating, BorderHitTestsAndNoActivation) {
  CXTPToolBar *pBar = NewToolBar();
  static_cast<CXTPCommandBar *>(pBar)->SetPosition(xtpBarFloating);
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  pBar->SetWindowPos(nullptr, 100, 100, 120, 60, SWP_NOZORDER | SWP_NOACTIVATE);
  const struct {
    int x, y;
    LRESULT nHit;
  } kCases[] = {
      {150, 101, HTTOP},   {150, 158, HTBOTTOM}, {101, 130, HTLEFT},
      {218, 130, HTRIGHT}, {103, 103, HTCLIENT}, {216, 156, HTCLIENT},
  };
  for (const auto &c : kCases)
    EXPECT_EQ(c.nHit, ::SendMessageW(pBar->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)))
        << c.x << "," << c.y;
  EXPECT_EQ(MA_NOACTIVATE,
            ::SendMessageW(pBar->GetSafeHwnd(), WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
  pBar->InternalRelease();
}

TEST(ToolBarFloating, FloatStatusFromTheFrame) {
  CXTPToolBar *pBar = NewToolBar();
  static_cast<CXTPCommandBar *>(pBar)->SetPosition(xtpBarFloating);
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  pBar->SetVisible(TRUE);
  const HWND hWnd = pBar->GetSafeHwnd();
  EXPECT_TRUE(::SendMessageW(hWnd, WM_FLOATSTATUS, FS_SYNCACTIVE, 0)) << "a floating bar follows the frame";
  EXPECT_FALSE(::SendMessageW(hWnd, WM_FLOATSTATUS, FS_ENABLE, 0));
  // The frame went inactive: the bar hides but stays visible for the state.
  ::SendMessageW(hWnd, WM_FLOATSTATUS, FS_DEACTIVATE, 0);
  EXPECT_FALSE(::IsWindowVisible(hWnd));
  EXPECT_TRUE(pBar->IsVisible());
  ::SendMessageW(hWnd, WM_FLOATSTATUS, FS_SHOW, 0);
  EXPECT_TRUE(::IsWindowVisible(hWnd));
  ::SendMessageW(hWnd, WM_FLOATSTATUS, FS_DISABLE, 0);
  EXPECT_FALSE(::IsWindowEnabled(hWnd));
  ::SendMessageW(hWnd, WM_FLOATSTATUS, FS_ENABLE, 0);
  EXPECT_TRUE(::IsWindowEnabled(hWnd));
  pBar->InternalRelease();
}

TEST(ToolBarVisible, TheFlagWithAWindowNotTheWindowState) {
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetVisible(TRUE);
  EXPECT_FALSE(pBar->IsVisible()) << "no window yet";
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  EXPECT_TRUE(pBar->IsVisible());
  // A floating bar hidden while the application is inactive stays visible.
  pBar->ShowWindow(SW_HIDE);
  EXPECT_TRUE(pBar->IsVisible());
  pBar->SetVisible(FALSE);
  EXPECT_FALSE(pBar->IsVisible());
  // Print preview hides a shown bar once and shows it again once.
  pBar->SetVisible(TRUE);
  pBar->OnSetPreviewMode(TRUE);
  pBar->OnSetPreviewMode(TRUE);
  EXPECT_FALSE(pBar->IsVisible());
  pBar->OnSetPreviewMode(FALSE);
  EXPECT_TRUE(pBar->IsVisible());
  pBar->InternalRelease();
}

} // namespace

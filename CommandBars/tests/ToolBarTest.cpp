// Toolbar: toolbar resources read with damaged counts and versions, buttons
// built from ids with their groups and site messages, the docked layout's
// expand button by widths and buttons, the floating caption buttons, the
// visible flag, commands reaching the owner, a torn-off bar closed from
// inside its own message, clones of a derived bar class and a click that
// leaves the focus in a tool window.
//
// No real cursor moves; only the tool-window test activates its own windows.
#include <gtest/gtest.h>

#include <vector>

#include "CommandBarsTestSupport.h"
#include "MiniFrameWnd.h"
#include "WinApp.h"
#include "XTPCommandBars.h"
#include "XTPPopupBar.h"
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
  EXPECT_TRUE(pPopup->IsKindOf(RUNTIME_CLASS(CXTPPopupToolBar))) << "the buttons stay a toolbar";
  EXPECT_EQ(xtpBarTypeNormal, pPopup->GetType());
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
  pBar->StorePosition(xtpBarFloating);
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
  pBar->StorePosition(xtpBarFloating);
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

// ---------------------------------------------------------------------------
// "Add or Remove Buttons", Reset, the site's expand popup and the tips.

using cbtest::AnsweringApp;

struct Line {
  int nId;
  BOOL bEnabled;
  BOOL bChecked;
  bool operator==(const Line &o) const {
    return nId == o.nId && bEnabled == o.bEnabled && bChecked == o.bChecked;
  }
};

void PrintTo(const Line &l, std::ostream *os) {
  *os << "{" << l.nId << (l.bEnabled ? " enabled" : " disabled")
      << (l.bChecked ? " checked}" : " unchecked}");
}

// The lines of the list with the "Reset" line apart.
std::vector<Line> ListLines(CXTPPopupBar *pList, BOOL &bReset) {
  std::vector<Line> lines;
  bReset = FALSE;
  for (int i = 0; i < pList->GetControlCount(); i++) {
    auto *pLine = dynamic_cast<CXTPToolBarAddRemoveButton *>(pList->GetControl(i));
    if (pLine == nullptr) continue;
    if (pLine->GetResetBar() != nullptr) {
      bReset = TRUE;
      EXPECT_EQ(CString(L"Reset"), pLine->GetCaption());
      EXPECT_TRUE(pLine->GetBeginGroup());
      continue;
    }
    lines.push_back({pLine->GetID(), pLine->GetEnabled(), pLine->GetChecked()});
  }
  return lines;
}

std::vector<int> BarIds(CXTPCommandBar *pBar) {
  std::vector<int> ids;
  for (int i = 0; i < pBar->GetControlCount(); i++) ids.push_back(pBar->GetControl(i)->GetID());
  return ids;
}

TEST(ToolBarAddOrRemove, LinesFollowTheOriginalButtons) {
  const UINT kOriginal[] = {100, 101, 102};
  struct Case {
    const char *what;
    std::function<void(CXTPToolBar *)> change;
    std::vector<int> barAfter;
    std::vector<Line> lines;
  };
  const Case cases[] = {
      {"unchanged", [](CXTPToolBar *) {}, {100, 101, 102}, {{100, 1, 1}, {101, 1, 1}, {102, 1, 1}}},
      {"hidden by the user",
       [](CXTPToolBar *p) { p->GetControl(1)->SetHideFlag(xtpHideCustomize, TRUE); },
       {100, 101, 102},
       {{100, 1, 1}, {101, 1, 0}, {102, 1, 1}}},
      {"deleted by the user: back in its place, hidden",
       [](CXTPToolBar *p) { p->GetControls()->RemoveAt(1); },
       {100, 101, 102},
       {{100, 1, 1}, {101, 1, 0}, {102, 1, 1}}},
      {"added by the user: not in the original set",
       [](CXTPToolBar *p) { p->GetControls()->Add(xtpControlButton, 200); },
       {100, 101, 102, 200},
       {{100, 1, 1}, {101, 1, 1}, {102, 1, 1}, {200, 0, 1}}},
      {"the program's own hidden button has no line",
       [](CXTPToolBar *p) { p->GetControl(2)->SetHideFlag(xtpHideGeneric, TRUE); },
       {100, 101, 102},
       {{100, 1, 1}, {101, 1, 1}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    CXTPToolBar *pBar = NewToolBar();
    pBar->SetButtons(kOriginal, 3);
    pBar->GetControls()->CreateOriginalControls();
    c.change(pBar);
    CXTPPopupBar *pList = CXTPPopupBar::CreatePopupBar(nullptr);
    pBar->FillAddOrRemoveList(pList);
    BOOL bReset = FALSE;
    EXPECT_EQ(c.lines, ListLines(pList, bReset));
    EXPECT_TRUE(bReset);
    EXPECT_EQ(c.barAfter, BarIds(pBar));
    pList->InternalRelease();
    pBar->InternalRelease();
  }
}

TEST(ToolBarAddOrRemove, TheResetLineOnlyForTheProgramsOwnBars) {
  const struct {
    BOOL bOriginal, bBuiltIn, bTearOff, bReset;
  } cases[] = {
      {TRUE, TRUE, FALSE, TRUE},
      {FALSE, TRUE, FALSE, FALSE},
      {TRUE, FALSE, FALSE, FALSE},
      {TRUE, TRUE, TRUE, FALSE},
  };
  for (const auto &c : cases) {
    CXTPToolBar *pBar = NewToolBar();
    const UINT ids[] = {100, 101};
    pBar->SetButtons(ids, 2);
    if (c.bOriginal) pBar->GetControls()->CreateOriginalControls();
    pBar->SetBuiltIn(c.bBuiltIn);
    pBar->SetTearOff(c.bTearOff);
    CXTPPopupBar *pList = CXTPPopupBar::CreatePopupBar(nullptr);
    pBar->FillAddOrRemoveList(pList);
    BOOL bReset = FALSE;
    const std::vector<Line> lines = ListLines(pList, bReset);
    EXPECT_EQ(c.bReset, bReset) << c.bOriginal << c.bBuiltIn << c.bTearOff;
    ASSERT_EQ(2u, lines.size());
    // Without an original set nothing counts as the program's: no line can be ticked back.
    EXPECT_EQ(c.bOriginal, lines[0].bEnabled);
    pList->InternalRelease();
    pBar->InternalRelease();
  }
}

TEST(ToolBarAddOrRemove, TickingALineHidesAndShowsItsButton) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPToolBar *pBar = NewToolBar();
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease();
  const UINT ids[] = {100, 101, 102};
  pBar->SetButtons(ids, 3);
  pBar->GetControls()->CreateOriginalControls();
  CXTPPopupBar *pList = CXTPPopupBar::CreatePopupBar(pCommandBars);
  pBar->FillAddOrRemoveList(pList);
  auto *pLine = dynamic_cast<CXTPToolBarAddRemoveButton *>(pList->GetControl(1));
  ASSERT_NE(nullptr, pLine);
  ASSERT_EQ(pBar->GetControl(1), pLine->GetTargetControl());
  EXPECT_FALSE(pLine->GetCloseSubMenuOnClick()) << "the list stays open for the next tick";
  pCommandBars->GetCommandBarsOptions()->bDirtyState = FALSE;
  pLine->OnExecute();
  EXPECT_EQ(static_cast<DWORD>(xtpHideCustomize), pBar->GetControl(1)->GetHideFlags());
  EXPECT_FALSE(pLine->GetChecked());
  EXPECT_TRUE(pCommandBars->GetCommandBarsOptions()->bDirtyState);
  pLine->OnExecute();
  EXPECT_EQ(0u, pBar->GetControl(1)->GetHideFlags());
  EXPECT_TRUE(pLine->GetChecked());
  // The line holds its button: removing it from the bar leaves the line sound.
  pBar->GetControls()->RemoveAt(1);
  pLine->OnExecute();
  pList->InternalRelease();
  pCommandBars->InternalRelease();
}

TEST(ToolBarReset, AsksThenPutsTheOriginalButtonsBack) {
  AnsweringApp app;
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetTitle(L"Standard");
  pBar->SetBarID(300);
  const UINT ids[] = {100, 0, 101, 102};
  pBar->SetButtons(ids, 4);
  pBar->GetControls()->CreateOriginalControls();
  pBar->GetControls()->RemoveAt(0);
  pBar->GetControls()->Add(xtpControlButton, 200);

  app.m_nAnswer = IDCANCEL;
  pBar->Reset();
  ASSERT_EQ(1u, app.m_prompts.size());
  EXPECT_EQ(CString(L"Are you sure you want to reset the changes made to the 'Standard' toolbar?"),
            app.m_prompts[0]);
  EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), app.m_nType);
  EXPECT_EQ((std::vector<int>{101, 102, 200}), BarIds(pBar));

  app.m_nAnswer = IDOK;
  pBar->Reset();
  EXPECT_EQ((std::vector<int>{100, 101, 102}), BarIds(pBar));
  EXPECT_TRUE(pBar->GetControl(1)->GetBeginGroup());
  EXPECT_FALSE(pBar->GetControls()->IsChanged());

  // Bars that are not the program's, have no id or may not be customised are left alone, unasked.
  app.m_prompts.clear();
  pBar->GetControls()->RemoveAt(0);
  for (int nCase = 0; nCase < 3; nCase++) {
    pBar->SetBuiltIn(nCase != 0);
    pBar->SetBarID(nCase == 1 ? 0 : 300);
    pBar->SetCustomizable(nCase != 2);
    pBar->Reset();
  }
  EXPECT_TRUE(app.m_prompts.empty());
  EXPECT_EQ(2, pBar->GetControlCount());
  pBar->InternalRelease();
}

TEST(ToolBarExpand, TheSiteMaySupplyThePopupAndTheListJoinsIt) {
  MessageSite site;
  CXTPPopupBar *pSitePopup = CXTPPopupBar::CreatePopupBar(nullptr);
  DWORD_PTR dwThird = 0;
  site.answer = [&](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
    if (message != XTP_TBN_CREATEEXPANDPOPUP) return 0;
    auto *pBlock = reinterpret_cast<XTP_TOOLBAR_EXPANDPOPUP *>(lParam);
    dwThird = pBlock->dwOne;
    pBlock->pPopupBar = pSitePopup;
    return 1;
  };
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetOwnerWindow(site.GetHwnd());
  pBar->SetTitle(L"Standard");
  pBar->SetFlags(0x3F);
  pBar->SetShowExpandButtonAlways(TRUE);
  const UINT ids[] = {100, 101, 102, 103, 104, 105};
  pBar->SetButtons(ids, 6);
  pBar->GetControls()->CreateOriginalControls();
  pBar->CalcDockedLayout(90, LM_HORZ | LM_HORZDOCK | LM_COMMIT | LM_HIDEWRAP);
  CXTPControl *pExpand = pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
  ASSERT_NE(nullptr, pExpand);
  pExpand->OnSetPopup(TRUE);
  EXPECT_EQ(1u, dwThird);
  ASSERT_EQ(pSitePopup, pExpand->GetCommandBar()) << "the site's popup is used";
  // The buttons without room, then "Add or Remove Buttons" starting a group.
  const int nCount = pSitePopup->GetControlCount();
  ASSERT_GE(nCount, 2);
  CXTPControl *pAddRemove = pSitePopup->GetControl(nCount - 1);
  EXPECT_EQ(CString(L"&Add or Remove Buttons"), pAddRemove->GetCaption());
  EXPECT_TRUE(pAddRemove->GetBeginGroup());
  EXPECT_FALSE(pSitePopup->GetControl(0)->GetBeginGroup());
  // One entry: this bar, by its title, with the bar's list.
  CXTPCommandBar *pEntries = pAddRemove->GetCommandBar();
  ASSERT_NE(nullptr, pEntries);
  ASSERT_EQ(1, pEntries->GetControlCount());
  EXPECT_EQ(CString(L"Standard"), pEntries->GetControl(0)->GetCaption());
  CXTPCommandBar *pList = pEntries->GetControl(0)->GetCommandBar();
  ASSERT_NE(nullptr, pList);
  EXPECT_EQ(7, pList->GetControlCount()) << "six buttons and Reset";
  pExpand->OnSetPopup(FALSE);
  pSitePopup->InternalRelease();
  pBar->InternalRelease();
}

TEST(ToolBarTips, TheShortcutJoinsTheTipWhenAsked) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPToolBar *pBar = NewToolBar();
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease();
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  CXTPControl *pFind = pBar->GetControl(0);
  pFind->SetRect(CRect(0, 0, 20, 20));
  pFind->SetTooltip(L"Find");
  pFind->SetShortcutText(L"Ctrl+R");
  pBar->GetControl(1)->SetRect(CRect(20, 0, 40, 20)); // no tip text
  CXTPCommandBarsOptions *pOptions = pCommandBars->GetCommandBarsOptions();
  const struct {
    BOOL bScreenTips, bAccelTips;
    CPoint point;
    INT_PTR nHit;
    const wchar_t *tip;
  } cases[] = {
      {TRUE, FALSE, CPoint(5, 5), 100, L"Find"}, {TRUE, TRUE, CPoint(5, 5), 100, L"Find (Ctrl+R)"},
      {FALSE, TRUE, CPoint(5, 5), -1, nullptr},  {TRUE, TRUE, CPoint(25, 5), -1, nullptr},
      {TRUE, TRUE, CPoint(100, 5), -1, nullptr},
  };
  for (const auto &c : cases) {
    pOptions->bToolBarScreenTips = c.bScreenTips;
    pOptions->bToolBarAccelTips = c.bAccelTips;
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    const INT_PTR nHit = static_cast<CWnd *>(pBar)->OnToolHitTest(c.point, &ti);
    EXPECT_EQ(c.nHit, nHit) << c.point.x << " " << c.bScreenTips << c.bAccelTips;
    if (c.tip != nullptr) {
      ASSERT_NE(nullptr, ti.lpszText);
      EXPECT_STREQ(c.tip, ti.lpszText);
      EXPECT_EQ(pBar->GetSafeHwnd(), ti.hwnd);
    }
    free(ti.lpszText);
  }
  pCommandBars->InternalRelease();
}

// The popup loop's messages, fed by the test.
std::function<BOOL(MSG *)> g_feed;
BOOL FeedMessage(MSG *pMsg) {
  return g_feed(pMsg);
}

TEST(ToolBarMouse, ARightClickLeavesTrackingAndOpensTheToolbarsList) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  CXTPToolBar *pBar = NewToolBar();
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease();
  pBar->SetTitle(L"Standard");
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  pBar->SetVisible(TRUE);
  pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  pBar->SetTrackingMode(TRUE, TRUE, TRUE);
  ASSERT_EQ(0, pBar->GetSelectedIndex());

  std::vector<CString> listed;
  g_feed = [&](MSG *) -> BOOL {
    // The list is open: what it offers, then the loop ends.
    CXTPMouseManager *pMouse = XTPGetMouseManager();
    for (int i = 0; pMouse && i < pMouse->GetTrackedCount(); i++) {
      auto *pPopup = dynamic_cast<CXTPCommandBar *>(pMouse->GetTrackedBar(i));
      for (int k = 0; pPopup && k < pPopup->GetControlCount(); k++)
        listed.push_back(pPopup->GetControl(k)->GetCaption());
    }
    return FALSE; // as WM_QUIT
  };
  CXTPCommandBars::SetGetMessageFunction(&FeedMessage);
  ::SendMessageW(pBar->GetSafeHwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
  CXTPCommandBars::SetGetMessageFunction(nullptr);
  g_feed = nullptr;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }

  EXPECT_FALSE(pBar->IsTrackingMode());
  EXPECT_EQ(-1, pBar->GetSelectedIndex());
  EXPECT_EQ((std::vector<CString>{L"Standard"}), listed);
  pCommandBars->InternalRelease();
}

// With a menu of the bar open, the mouse passing over another menu opens
// that one; passing over the chevron, a button popup, only closes the open
// menu: the chevron's list waits for a click.
TEST(ToolBarMouse, PassingOverTheChevronWhileAMenuIsOpenDoesNotOpenIt) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  pCommandBars->GetCommandBarsOptions()->animationType = xtpAnimateNone;
  CXTPToolBar *pBar = NewToolBar();
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease();
  pBar->SetShowExpandButtonAlways(TRUE);
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  for (int i = 0; i < 2; i++) {
    auto *pMenu = static_cast<CXTPControlPopup *>(pBar->GetControls()->Add(xtpControlPopup, 0));
    pMenu->SetCaption(i == 0 ? L"First" : L"Second");
    CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
    pPopup->GetControls()->Add(xtpControlButton, 200 + i);
    pMenu->SetCommandBar(pPopup);
    pPopup->InternalRelease();
  }
  ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
  pBar->StorePosition(xtpBarFloating); // the chevron in its caption
  pBar->SetVisible(TRUE);
  pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  auto *pExpand = static_cast<CXTPControlPopup *>(pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND));
  ASSERT_NE(nullptr, pExpand);
  ASSERT_EQ(0u, pExpand->GetHideFlags());
  ASSERT_FALSE(pExpand->GetRect().IsRectEmpty());
  EXPECT_EQ(xtpControlButtonPopup, pExpand->GetType());
  const struct {
    const char *name;
    int nOver;
    int nOpen; // the control whose popup is open afterwards, -1 none
  } kCases[] = {
      {"another menu", 3, 3},
      {"the chevron", pExpand->GetIndex(), -1},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(pBar->SetPopuped(2));
    ASSERT_EQ(2, pBar->GetTrackingMode());
    pBar->OnMouseMove(0, pBar->GetControl(c.nOver)->GetRect().CenterPoint());
    EXPECT_EQ(c.nOver, pBar->GetSelectedIndex());
    EXPECT_EQ(c.nOpen, pBar->GetPopupedIndex());
    EXPECT_FALSE(pExpand->GetPopup());
    pBar->CancelTracking();
  }
  pCommandBars->InternalRelease();
}

TEST(ToolBarFocus, ABarInADialogTakesTheKeysWhenFocused) {
  for (DWORD dwFlags : {0x00u, 0x3Fu}) {
    CXTPToolBar *pBar = NewToolBar();
    pBar->SetFlags(dwFlags);
    const UINT ids[] = {100, 101};
    pBar->SetButtons(ids, 2);
    ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
    pBar->SetVisible(TRUE);
    pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    // The focus message alone, as when tabbing onto the bar: nothing is activated.
    ::SendMessageW(pBar->GetSafeHwnd(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(dwFlags == 0, pBar->IsTrackingMode()) << "flags " << dwFlags;
    if (dwFlags == 0) {
      EXPECT_EQ(0, pBar->GetSelectedIndex()) << "its first button selected";
    }
    pBar->CancelTracking();
    pBar->InternalRelease();
  }
}

TEST(ToolBarExpand, WithoutACustomisingSiteTheEntryIsDisabled) {
  // The program's frame does not handle the customise command: the chevron
  // still offers "Add or Remove Buttons" (the options ask for it), but the
  // bar's entry cannot be opened.
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->GetCommandBarsOptions()->bShowExpandButtonAlways = TRUE;
  CXTPToolBar *pBar = NewToolBar();
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease();
  pBar->SetFlags(0x3F);
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  pBar->GetControls()->CreateOriginalControls();
  CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
  pBar->FillExpandPopup(pPopup);
  ASSERT_EQ(1, pPopup->GetControlCount());
  CXTPControl *pAddRemove = pPopup->GetControl(0);
  EXPECT_FALSE(pAddRemove->GetBeginGroup()) << "alone, it starts no group";
  ASSERT_NE(nullptr, pAddRemove->GetCommandBar());
  ASSERT_EQ(1, pAddRemove->GetCommandBar()->GetControlCount());
  CXTPControl *pEntry = pAddRemove->GetCommandBar()->GetControl(0);
  EXPECT_FALSE(pEntry->GetEnabled());
  EXPECT_EQ(0, pEntry->GetCommandBar() ? pEntry->GetCommandBar()->GetControlCount() : 0);
  pPopup->InternalRelease();
  pCommandBars->InternalRelease();
}

// Command bars that count the calls of their "Add or Remove Buttons" operation.
class RecordingCommandBars : public CXTPCommandBars {
public:
  int m_nAddOrRemoveCalls = 0;
  void GetAddOrRemovePopup(CXTPToolBar *pBar, CXTPPopupBar *pPopup) override {
    m_nAddOrRemoveCalls++;
    CXTPCommandBars::GetAddOrRemovePopup(pBar, pPopup);
  }
};

// A site that handles the customise command.
class CustomizingSite : public CWnd {
public:
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CustomizingSite, CWnd)
ON_COMMAND(35001, OnCustomize)
END_MESSAGE_MAP()

TEST(ToolBarExpand, TheCommandBarsFillAddOrRemoveAndOfferCustomizeWhereTheSiteDoes) {
  CustomizingSite site;
  ASSERT_TRUE(site.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"site", WS_POPUP, 0, 0, 10, 10,
                            nullptr, nullptr));
  auto *pCommandBars = new RecordingCommandBars;
  pCommandBars->SetSite(&site);
  ASSERT_TRUE(pCommandBars->IsCustomizeAvail());
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetTitle(L"Standard");
  pCommandBars->AddBar(pBar);
  pBar->InternalRelease();
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  pBar->GetControls()->CreateOriginalControls();
  CXTPPopupBar *pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
  pBar->FillExpandPopup(pPopup);
  EXPECT_EQ(1, pCommandBars->m_nAddOrRemoveCalls);
  ASSERT_EQ(1, pPopup->GetControlCount());
  CXTPCommandBar *pList = pPopup->GetControl(0)->GetCommandBar();
  ASSERT_NE(nullptr, pList);
  ASSERT_EQ(2, pList->GetControlCount());
  CXTPControl *pEntry = pList->GetControl(0);
  EXPECT_EQ(CString(L"Standard"), pEntry->GetCaption());
  EXPECT_TRUE(pEntry->GetEnabled());
  ASSERT_NE(nullptr, pEntry->GetCommandBar());
  EXPECT_GT(pEntry->GetCommandBar()->GetControlCount(), 0) << "the bar's buttons are listed";
  CXTPControl *pCustomize = pList->GetControl(1);
  EXPECT_EQ(35001, pCustomize->GetID());
  EXPECT_TRUE(pCustomize->GetBeginGroup());
  pPopup->InternalRelease();
  pCommandBars->InternalRelease();
  site.DestroyWindow();
}

TEST(ToolBarReset, TheResetLineAsksAndResets) {
  AnsweringApp app;
  CXTPToolBar *pBar = NewToolBar();
  pBar->SetTitle(L"Standard");
  pBar->SetBarID(300);
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  pBar->GetControls()->CreateOriginalControls();
  pBar->GetControls()->RemoveAt(0);
  CXTPPopupBar *pList = CXTPPopupBar::CreatePopupBar(nullptr);
  pBar->FillAddOrRemoveList(pList);
  // The list put the deleted button back, hidden; the Reset line shows it again.
  EXPECT_EQ((std::vector<int>{100, 101}), BarIds(pBar));
  auto *pReset = dynamic_cast<CXTPToolBarAddRemoveButton *>(pList->GetControl(pList->GetControlCount() - 1));
  ASSERT_NE(nullptr, pReset);
  ASSERT_EQ(pBar, pReset->GetResetBar());
  // It begins the list's one group: the tick column runs on past its separator.
  EXPECT_TRUE(pReset->GetBeginGroup());
  EXPECT_TRUE(pReset->GetJoinsTickColumn());
  for (int i = 0; i + 1 < pList->GetControlCount(); i++)
    EXPECT_FALSE(pList->GetControl(i)->GetJoinsTickColumn());
  pReset->OnExecute();
  EXPECT_EQ(1u, app.m_prompts.size());
  EXPECT_EQ((std::vector<int>{100, 101}), BarIds(pBar));
  EXPECT_EQ(0u, pBar->GetControl(0)->GetHideFlags());
  pList->InternalRelease();
  pBar->InternalRelease();
}

class FloatStatusRecorder : public CXTPToolBar {
public:
  std::vector<WPARAM> m_status;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_FLOATSTATUS) m_status.push_back(wParam);
    return CXTPToolBar::WindowProc(message, wParam, lParam);
  }
};

TEST(ToolBarFloating, MadeUnderAnInactiveFrameItHearsSo) {
  // A frame that is never activated: the new floating bar is told at once.
  HWND hWndFrame = ::CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, hWndFrame);
  FloatStatusRecorder *pBar = NewToolBar<FloatStatusRecorder>();
  ASSERT_TRUE(pBar->CreateFloatingWindow(CWnd::FromHandle(hWndFrame), TRUE));
  ASSERT_FALSE(pBar->m_status.empty());
  EXPECT_EQ(static_cast<WPARAM>(FS_DEACTIVATE), pBar->m_status.front());
  pBar->DestroyWindow();
  pBar->InternalRelease();
  ::DestroyWindow(hWndFrame);
}

// A toolbar class of a program's own.
class CPaletteToolBar : public CXTPToolBar {
  DECLARE_DYNCREATE(CPaletteToolBar)
};
IMPLEMENT_DYNCREATE(CPaletteToolBar, CXTPToolBar)

TEST(ToolBarClone, KeepsTheBarsOwnClass) {
  CPaletteToolBar *pBar = NewToolBar<CPaletteToolBar>();
  const UINT ids[] = {100, 101};
  pBar->SetButtons(ids, 2);
  pBar->SetTitle(L"Palette");
  CXTPCommandBar *pClone = pBar->Clone(TRUE);
  ASSERT_NE(nullptr, pClone);
  EXPECT_TRUE(pClone->IsKindOf(RUNTIME_CLASS(CPaletteToolBar)));
  EXPECT_EQ(2, pClone->GetControlCount());
  EXPECT_EQ(CString(L"Palette"), pClone->GetTitle());
  pClone->InternalRelease();
  pBar->InternalRelease();
}

TEST(ToolBarMouse, AClickLeavesTheFocusInAToolWindow) {
  // A tool window (mini frame) with a toolbar and an edit box that has the
  // focus: a click on the bar must not take the focus from the edit.
  CMiniFrameWnd *pMini = new CMiniFrameWnd;
  ASSERT_TRUE(pMini->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr),
                              L"Tools", WS_POPUP | WS_CAPTION, CRect(50, 50, 300, 200)));
  HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 40, 200, 20, pMini->GetSafeHwnd(),
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, hEdit);
  CXTPToolBar *pBar = NewToolBar();
  ASSERT_TRUE(pBar->CreateFloatingWindow(pMini, FALSE));
  ::SetParent(pBar->GetSafeHwnd(), pMini->GetSafeHwnd());
  ::SetActiveWindow(pMini->GetSafeHwnd());
  ::SetFocus(hEdit);
  ASSERT_EQ(hEdit, ::GetFocus());
  const LPARAM lParam = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
  EXPECT_EQ(MA_NOACTIVATE, ::SendMessageW(pBar->GetSafeHwnd(), WM_MOUSEACTIVATE,
                                          reinterpret_cast<WPARAM>(pMini->GetSafeHwnd()), lParam));
  // With the focus on the bar's own frame, not in a tool window: the default.
  ::SetFocus(pMini->GetSafeHwnd());
  ::DestroyWindow(hEdit);
  HWND hPlain = ::CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  CXTPToolBar *pPlainBar = NewToolBar();
  ASSERT_TRUE(pPlainBar->CreateFloatingWindow(CWnd::FromHandle(hPlain), FALSE));
  ::SetParent(pPlainBar->GetSafeHwnd(), hPlain);
  ::SetActiveWindow(hPlain);
  ::SetFocus(hPlain);
  EXPECT_NE(MA_NOACTIVATE, ::SendMessageW(pPlainBar->GetSafeHwnd(), WM_MOUSEACTIVATE,
                                          reinterpret_cast<WPARAM>(hPlain), lParam));
  pPlainBar->DestroyWindow();
  pPlainBar->InternalRelease();
  ::DestroyWindow(hPlain);
  pBar->DestroyWindow();
  pBar->InternalRelease();
  pMini->DestroyWindow();
}

} // namespace

// Controls: captions and prompts, copy, compare and clone, the mark of
// commands shown only in the expanded menu, execution through the site with
// the control and its bar held for the whole click, and the press loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPControlComboBox.h"
#include "XTPControlExt.h"
#include "XTPControlPopup.h"
#include "XTPImageManager.h"
#include "XTPPropExchange.h"
#include "Archive.h"
#include "File.h"
#include "XTPPopupBar.h"

using namespace cbtest;

namespace {

std::wstring W(const CString &str) {
  return std::wstring(static_cast<LPCWSTR>(str));
}

TEST(Control, CaptionWithTabKeepsTheKeyBinding) {
  CXTPControlButton control;
  control.SetCaption(L"&Open\tCtrl+O");
  EXPECT_EQ(W(control.GetCaption()), L"&Open");
  EXPECT_EQ(W(control.GetKeyBindingText()), L"Ctrl+O");
  control.SetCustomCaption(L"Op&en it");
  EXPECT_EQ(W(control.GetCaption()), L"Op&en it");
}

TEST(Control, PromptSplitsDescriptionAndTooltip) {
  const struct {
    const wchar_t *prompt, *description, *tooltip;
  } kCases[] = {{L"Opens a file\nOpen", L"Opens a file", L"Open"}, {L"Save", L"Save", L"Save"}};
  for (const auto &c : kCases) {
    CXTPControlButton control;
    control.SetPrompt(c.prompt);
    EXPECT_EQ(W(control.GetDescription()), c.description);
    EXPECT_EQ(W(control.GetTooltipText()), c.tooltip);
    EXPECT_EQ(W(control.GetCaption()), c.tooltip);
  }
  // An id given to a control with a caption leaves its texts alone.
  CXTPControlButton named;
  named.SetCaption(L"Mine");
  named.SetID(57600);
  EXPECT_EQ(W(named.GetCaption()), L"Mine");
  EXPECT_EQ(named.GetID(), 57600);
}

TEST(Control, EffectiveIconIdAndStyle) {
  CXTPControlButton control;
  control.SetID(100);
  EXPECT_EQ(control.GetIconId(), 100);
  control.SetIconId(7);
  EXPECT_EQ(control.GetIconId(), 7);
  control.SetCustomIconId(9);
  EXPECT_EQ(control.GetIconId(), 9);
  control.SetStyle(xtpButtonIcon);
  EXPECT_EQ(control.GetStyle(), xtpButtonIcon);
  control.SetCustomStyle(xtpButtonCaption);
  EXPECT_EQ(control.GetStyle(), xtpButtonCaption);
}

// Clearing the "shown only when expanded" mark shows the command again.
TEST(Control, ExpandedOnlyMarkClearsTheRarelyUsedHideFlag) {
  CXTPControlButton control;
  control.SetExpandedOnly(TRUE);
  control.SetHideFlag(xtpHideExpand, TRUE);
  EXPECT_TRUE(control.GetExpandedOnly());
  EXPECT_EQ(control.GetHideFlags(), static_cast<DWORD>(xtpHideExpand));
  control.SetExpandedOnly(FALSE);
  EXPECT_FALSE(control.GetExpandedOnly());
  EXPECT_EQ(control.GetHideFlags(), 0u);
  EXPECT_FALSE(control.SetHideFlag(xtpHideExpand, FALSE)) << "no change to report";
  EXPECT_TRUE(control.SetHideFlag(xtpHideCustomize, TRUE));
}

TEST(Control, CompareCopyAndClone) {
  CXTPControlButton a;
  a.SetID(10);
  a.SetCaption(L"Cut");
  a.SetBeginGroup(TRUE);
  a.SetParameter(L"p");
  a.GetDocTemplatesAssigned().insert(128);
  CXTPControl *pClone = a.Clone();
  EXPECT_TRUE(pClone->IsKindOf(RUNTIME_CLASS(CXTPControlButton)));
  EXPECT_TRUE(pClone->Compare(&a));
  EXPECT_EQ(pClone->GetDocTemplatesAssigned().count(128u), 1u);

  const struct {
    const char *what;
    void (*change)(CXTPControl *);
    bool bEqual;
  } kCases[] = {
      {"checked", [](CXTPControl *p) { p->SetChecked(TRUE); }, true},
      {"enabled", [](CXTPControl *p) { p->SetEnabled(FALSE); }, true},
      {"hidden by the user", [](CXTPControl *p) { p->SetHideFlag(xtpHideCustomize, TRUE); }, false},
      {"no room", [](CXTPControl *p) { p->SetHideFlag(xtpHideWrap, TRUE); }, true},
      {"caption", [](CXTPControl *p) { p->SetCaption(L"Copy"); }, false},
      {"group", [](CXTPControl *p) { p->SetBeginGroup(FALSE); }, false},
      {"parameter", [](CXTPControl *p) { p->SetParameter(L"q"); }, false},
      {"custom style", [](CXTPControl *p) { p->SetCustomStyle(xtpButtonCaption); }, false},
  };
  for (const auto &c : kCases) {
    CXTPControl *pOther = a.Clone();
    c.change(pOther);
    EXPECT_EQ(pOther->Compare(&a) != FALSE, c.bEqual) << c.what;
    pOther->InternalRelease();
  }
  pClone->InternalRelease();
}

TEST(Control, ClassRecordsCreateByName) {
  for (const char *name : {"CXTPControl", "CXTPControlButton", "CXTPControlPopup", "CXTPControlEdit",
                           "CXTPControlComboBox", "CXTPControlCustom", "CXTPControlLabel"}) {
    CRuntimeClass *pClass = CRuntimeClass::FromName(name);
    ASSERT_NE(pClass, nullptr) << name;
    EXPECT_EQ(pClass->m_wSchema, 0x80000008u) << name;
    CObject *pObject = pClass->CreateObject();
    ASSERT_NE(pObject, nullptr) << name;
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CXTPControl)));
    static_cast<CXTPControl *>(pObject)->InternalRelease();
  }
  CXTPControlCustom custom;
  EXPECT_EQ(custom.GetType(), xtpControlButton);
  CXTPControlEdit edit;
  EXPECT_EQ(edit.GetType(), xtpControlEdit);
}

TEST(Control, CaptionVisibility) {
  TestBar toolbar(xtpBarTypeNormal, xtpBarTop), popup(xtpBarTypePopup, xtpBarPopup);
  const struct {
    XTPControlType type;
    int nStyle;
    const wchar_t *caption;
    BOOL bPopupBar;
    BOOL bVisible;
  } kCases[] = {
      {xtpControlButton, xtpButtonAutomatic, L"Go", FALSE, TRUE}, // no image
      {xtpControlButton, xtpButtonIcon, L"Go", FALSE, FALSE},
      {xtpControlButton, xtpButtonCaption, L"Go", FALSE, TRUE},
      {xtpControlButton, xtpButtonAutomatic, L"", FALSE, FALSE},
      {xtpControlButton, xtpButtonIcon, L"", TRUE, TRUE}, // popup bars always
      {xtpControlPopup, xtpButtonAutomatic, L"File", FALSE, TRUE},
      {xtpControlLabel, xtpButtonAutomatic, L"Find:", FALSE, TRUE},
      {xtpControlEdit, xtpButtonAutomatic, L"Find:", FALSE, TRUE}, // its label is on
      {xtpControlEdit, xtpButtonAutomatic, L"", FALSE, FALSE},
      {xtpControlComboBox, xtpButtonIconAndCaption, L"Find:", FALSE, TRUE},
  };
  for (const auto &c : kCases) {
    CXTPCommandBar &bar = c.bPopupBar ? static_cast<CXTPCommandBar &>(popup) : toolbar;
    CXTPControl *pControl = bar.GetControls()->Add(c.type, 0);
    pControl->SetStyle(c.nStyle);
    pControl->SetCaption(c.caption);
    EXPECT_EQ(pControl->IsCaptionVisible() != FALSE, c.bVisible != FALSE)
        << "type " << c.type << " style " << c.nStyle;
    bar.GetControls()->Remove(pControl);
  }
}

// A bar with a site window that records what its controls send.
class ControlExecution : public ::testing::Test {
protected:
  void SetUp() override {
    siteWnd.Attach(site.GetHwnd());
    commandBars.SetSite(&siteWnd);
    bar = new TestBar(xtpBarTypeNormal, xtpBarTop);
    bar->SetCommandBars(&commandBars);
  }
  void TearDown() override {
    if (bar) bar->InternalRelease();
    siteWnd.Detach();
  }
  MessageSite site;
  CWnd siteWnd;
  CXTPCommandBars commandBars;
  TestBar *bar = nullptr;
};

TEST_F(ControlExecution, NotifiesTheSiteThenSendsTheCommand) {
  CXTPControl *pControl = bar->GetControls()->Add(xtpControlButton, 1234);
  std::vector<const CXTPControl *> notified;
  site.answer = [&](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
    if (message == XTP_TBN_COMMAND_NOTIFY) {
      auto *pNotify = reinterpret_cast<NMXTPCONTROL *>(lParam);
      EXPECT_EQ(pNotify->hdr.code, static_cast<UINT>(CBN_XTP_EXECUTE));
      EXPECT_EQ(pNotify->hdr.idFrom, 1234u);
      EXPECT_EQ(pNotify->hdr.hwndFrom, nullptr);
      notified.push_back(pNotify->pControl);
    }
    return 0;
  };
  pControl->OnExecute();
  ASSERT_EQ(site.log.size(), 2u);
  EXPECT_EQ(site.log[0].message, static_cast<UINT>(XTP_TBN_COMMAND_NOTIFY));
  EXPECT_EQ(site.log[0].wParam, 1234u);
  EXPECT_EQ(site.log[1].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(site.log[1].wParam, 1234u);
  EXPECT_EQ(site.log[1].lParam, 0);
  ASSERT_EQ(notified.size(), 1u);
  EXPECT_EQ(notified[0], pControl);
  EXPECT_EQ(pControl->GetPressed(), 0);

  // A handled notification is the end of it.
  site.log.clear();
  site.answer = [](UINT, WPARAM, LPARAM) -> LRESULT { return 1; };
  pControl->OnExecute();
  ASSERT_EQ(site.log.size(), 1u);

  // No id, no messages.
  site.log.clear();
  bar->GetControls()->Add(xtpControlButton, 0)->OnExecute();
  EXPECT_TRUE(site.log.empty());
}

TEST_F(ControlExecution, TrackedForItsCommandWritesTheIdOnly) {
  CXTPControl *pControl = bar->GetControls()->Add(xtpControlButton, 77);
  UINT nResult = 0;
  bar->m_pReturnCmd = &nResult;
  pControl->OnExecute();
  EXPECT_EQ(nResult, 77u);
  EXPECT_TRUE(site.log.empty());
  bar->m_pReturnCmd = nullptr;
}

TEST_F(ControlExecution, UsedCommandsAreMarked) {
  commandBars.HideCommand(55);
  EXPECT_TRUE(commandBars.IsControlHidden(55));
  bar->GetControls()->Add(xtpControlButton, 55)->OnExecute();
  EXPECT_FALSE(commandBars.IsControlHidden(55));
}

// Logs its own end, so a test sees when the last reference went.
std::vector<std::string> g_events;

class LoggedButton : public CXTPControlButton {
public:
  ~LoggedButton() override { g_events.push_back("control ended"); }
};

class LoggedBar : public TestBar {
public:
  LoggedBar() : TestBar(xtpBarTypeNormal, xtpBarTop) {}
  ~LoggedBar() override { g_events.push_back("bar ended"); }
};

// A handler that removes the control being executed, or drops its bar,
// must not leave the execution working on freed objects.
TEST_F(ControlExecution, HandlerRemovingTheControlDoesNotEndItMidClick) {
  g_events.clear();
  CXTPControl *pControl = bar->GetControls()->Add(new LoggedButton, 300);
  site.answer = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_COMMAND) {
      bar->GetControls()->Remove(pControl);
      g_events.push_back("handler done");
    }
    return 0;
  };
  pControl->OnExecute();
  EXPECT_EQ(g_events, (std::vector<std::string>{"handler done", "control ended"}));
}

TEST_F(ControlExecution, HandlerDroppingTheBarDoesNotEndItMidClick) {
  g_events.clear();
  LoggedBar *pBar = new LoggedBar;
  pBar->SetCommandBars(&commandBars);
  CXTPControl *pControl = pBar->GetControls()->Add(xtpControlButton, 301);
  site.answer = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_COMMAND && pBar) {
      pBar->InternalRelease();
      pBar = nullptr;
      g_events.push_back("handler done");
    }
    return 0;
  };
  pControl->OnClick(TRUE);
  EXPECT_EQ(g_events, (std::vector<std::string>{"handler done", "bar ended"}));
}

// The press loop's messages, fed one by one.
std::vector<MSG> g_messages;
BOOL FeedMessage(MSG *pMsg) {
  if (g_messages.empty()) {
    *pMsg = MSG();
    pMsg->message = WM_LBUTTONUP;
  } else {
    *pMsg = g_messages.front();
    g_messages.erase(g_messages.begin());
  }
  return pMsg->message != WM_QUIT;
}

MSG Mouse(UINT message, int x, int y) {
  MSG msg = {};
  msg.message = message;
  msg.lParam = MAKELPARAM(x, y);
  return msg;
}

class PressLoop : public ControlExecution {
protected:
  void SetUp() override {
    ControlExecution::SetUp();
    CXTPControlButton::SetGetMessageFunction(&FeedMessage);
    pControl = bar->GetControls()->Add(xtpControlButton, 500);
    pControl->SetRect(CRect(0, 0, 23, 22));
  }
  void TearDown() override {
    CXTPControlButton::SetGetMessageFunction(nullptr);
    ControlExecution::TearDown();
  }
  int Commands() const {
    int n = 0;
    for (const auto &e : site.log) n += e.message == WM_COMMAND;
    return n;
  }
  CXTPControl *pControl = nullptr;
};

TEST_F(PressLoop, ReleaseInsideExecutesOutsideDoesNot) {
  g_messages = {Mouse(WM_MOUSEMOVE, 5, 5), Mouse(WM_LBUTTONUP, 5, 5)};
  pControl->OnClick(FALSE, CPoint(5, 5));
  EXPECT_EQ(Commands(), 1);
  EXPECT_EQ(pControl->GetPressed(), 0);
  EXPECT_EQ(pControl->GetSelected(), 0);

  g_messages = {Mouse(WM_MOUSEMOVE, 50, 5), Mouse(WM_LBUTTONUP, 50, 5)};
  pControl->OnClick(FALSE, CPoint(5, 5));
  EXPECT_EQ(Commands(), 1) << "released outside";

  g_messages = {Mouse(WM_MOUSEMOVE, 50, 5), Mouse(WM_MOUSEMOVE, 6, 6), Mouse(WM_LBUTTONUP, 6, 6)};
  pControl->OnClick(FALSE, CPoint(5, 5));
  EXPECT_EQ(Commands(), 2) << "back over the button";

  pControl->SetEnabled(FALSE);
  g_messages = {Mouse(WM_LBUTTONUP, 5, 5)};
  pControl->OnClick(FALSE, CPoint(5, 5));
  EXPECT_EQ(Commands(), 2) << "a disabled button does nothing";
}

TEST_F(PressLoop, QuitEndsTheLoopAndIsPostedAgain) {
  MSG quit = {};
  quit.message = WM_QUIT;
  quit.wParam = 42;
  g_messages = {Mouse(WM_MOUSEMOVE, 5, 5), quit, Mouse(WM_LBUTTONUP, 5, 5)};
  pControl->OnClick(FALSE, CPoint(5, 5));
  EXPECT_EQ(Commands(), 0);
  EXPECT_EQ(g_messages.size(), 1u) << "the loop stopped at the quit";
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 42u);
  g_messages.clear();
}

// Feeds the press loop as FeedMessage does, but hands the capture to
// another window while the release is on its way.
HWND g_hWndThief = nullptr;
BOOL FeedAfterCaptureTaken(MSG *pMsg) {
  if (!g_messages.empty() && g_messages.front().message == WM_LBUTTONUP) ::SetCapture(g_hWndThief);
  return FeedMessage(pMsg);
}

TEST_F(PressLoop, CaptureTakenByAnotherWindowRunsNoCommand) {
  ASSERT_TRUE(bar->CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"bar", WS_POPUP, 20,
                            900, 100, 30, nullptr, nullptr));
  CWnd thief;
  ASSERT_TRUE(thief.CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"thief", WS_POPUP,
                             140, 900, 10, 10, nullptr, nullptr));
  g_hWndThief = thief.m_hWnd;
  CXTPControlButton::SetGetMessageFunction(&FeedAfterCaptureTaken);
  g_messages = {Mouse(WM_MOUSEMOVE, 5, 5), Mouse(WM_LBUTTONUP, 5, 5)};
  pControl->OnClick(FALSE, CPoint(5, 5));
  EXPECT_EQ(Commands(), 0) << "the press was never released over the button";
  EXPECT_EQ(pControl->GetPressed(), 0);
  EXPECT_EQ(::GetCapture(), thief.m_hWnd) << "the new holder keeps it";
  ::ReleaseCapture();
  thief.DestroyWindow();
  bar->DestroyWindow();
  g_messages.clear();
}

TEST_F(PressLoop, PopupBarsExecuteOnRelease) {
  TestBar popup(xtpBarTypePopup, xtpBarPopup);
  popup.SetCommandBars(&commandBars);
  CXTPControl *pItem = popup.GetControls()->Add(xtpControlButton, 600);
  g_messages = {Mouse(WM_LBUTTONUP, 5, 5)};
  pItem->OnClick(FALSE, CPoint(5, 5));
  EXPECT_EQ(Commands(), 0) << "nothing on the press";
  EXPECT_EQ(g_messages.size(), 1u);
  pItem->OnLButtonUp(CPoint(5, 5));
  EXPECT_EQ(Commands(), 1);
  g_messages.clear();
  popup.GetControls()->RemoveAll();
}

TEST(CommandBarsCommands, HiddenUsedAndHiddenInMenus) {
  CXTPCommandBars commandBars;
  const UINT ids[] = {1, 2, 3};
  commandBars.HideCommands(ids, 3);
  commandBars.SetCommandUsed(2);
  commandBars.SetCommandUsed(9); // not hidden: nothing to remember
  EXPECT_TRUE(commandBars.IsControlHidden(1));
  EXPECT_FALSE(commandBars.IsControlHidden(2));
  EXPECT_FALSE(commandBars.IsControlHidden(9));
  EXPECT_EQ(commandBars.GetCommandBarsOptions()->m_mapUsedCommands.count(9u), 0u);

  TestBar bar(xtpBarTypePopup, xtpBarPopup);
  bar.SetCommandBars(&commandBars);
  CXTPControl *pEmpty = bar.GetControls()->Add(xtpControlPopup, 0);
  EXPECT_FALSE(commandBars.IsHiddenInMenu(pEmpty)) << "a popup without controls";
  CXTPControl *pPopup = bar.GetControls()->Add(xtpControlPopup, 0);
  CXTPControls *pChildren = pPopup->GetCommandBar()->GetControls();
  pChildren->Add(xtpControlButton, 1);
  pChildren->Add(xtpControlButton, 3);
  EXPECT_TRUE(commandBars.IsHiddenInMenu(pPopup)) << "every child is hidden";
  pChildren->Add(xtpControlButton, 2);
  EXPECT_FALSE(commandBars.IsHiddenInMenu(pPopup));
  commandBars.GetCommandBarsOptions()->bAutoHideUnusedPopups = FALSE;
  pChildren->RemoveAt(2);
  EXPECT_FALSE(commandBars.IsHiddenInMenu(pPopup));
  bar.GetControls()->RemoveAll();
}

TEST(CommandBarsOptions, InitialValuesAndCustomiseMode) {
  CXTPCommandBars commandBars;
  CXTPCommandBarsOptions *pOptions = commandBars.GetCommandBarsOptions();
  EXPECT_TRUE(pOptions->bAlwaysShowFullMenus);
  EXPECT_TRUE(pOptions->bShowExpandButtonAlways);
  EXPECT_FALSE(pOptions->bLargeIcons);
  EXPECT_EQ(pOptions->szPopupIcons, CSize(16, 16));
  EXPECT_EQ(pOptions->szIcons, CSize(0, 0));
  EXPECT_EQ(pOptions->m_pCommandBars, &commandBars);
  EXPECT_FALSE(commandBars.IsCustomizeMode());
  commandBars.SetCustomizeMode(TRUE);
  EXPECT_TRUE(commandBars.IsCustomizeMode());
  EXPECT_TRUE(pOptions->bDirtyState);
  CXTPPaintManager::SetTheme(xtpThemeDefault);
  EXPECT_EQ(commandBars.GetPaintManager(), XTPGetPaintManager());
  EXPECT_EQ(commandBars.GetImageManager(), XTPGetImageManager());
  pOptions->ShowKeyboardCues(xtpKeyboardCuesShowNever);
  EXPECT_FALSE(XTPGetPaintManager()->IsKeyboardCuesShown());
  pOptions->ShowKeyboardCues(xtpKeyboardCuesShowAlways);
  EXPECT_TRUE(XTPGetPaintManager()->IsKeyboardCuesShown());
}

} // namespace

namespace {

// The saved properties of a button, through an archive and back.
TEST(ControlExchange, ButtonPropertiesRoundTrip) {
  CXTPControlButton saved;
  saved.SetID(321);
  saved.SetIconId(12);
  saved.SetCustomIconId(0);
  saved.SetBeginGroup(TRUE);
  saved.SetTag(7);
  saved.SetFlags(xtpFlagRightAlign | xtpFlagManualUpdate);
  saved.SetHideFlags(xtpHideCustomize);
  saved.SetCaption(L"&Print");
  saved.SetShortcutText(L"Ctrl+P");
  saved.SetTooltip(L"Print");
  saved.SetDescription(L"Prints the list");
  saved.SetParameter(L"p1");
  saved.SetCustomCaption(L"P&rint it");
  saved.SetCategory(L"File");
  saved.GetDocTemplatesExcluded().insert(130);
  saved.GetDocTemplatesAssigned().insert(128);
  saved.GetDocTemplatesAssigned().insert(129);
  saved.SetDefaultItem(TRUE);
  saved.SetCloseSubMenuOnClick(FALSE);
  saved.SetCustomStyle(xtpButtonCaption);
  saved.SetStyle(xtpButtonIconAndCaption);

  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    saved.DoPropExchange(&px);
    ar.Close();
  }
  file.SeekToBegin();
  CXTPControlButton loaded;
  {
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    loaded.DoPropExchange(&px);
  }
  EXPECT_TRUE(loaded.Compare(&saved));
  EXPECT_EQ(loaded.GetTag(), 7);
  EXPECT_EQ(loaded.GetFlags(), static_cast<DWORD>(xtpFlagRightAlign | xtpFlagManualUpdate));
  EXPECT_EQ(loaded.GetHideFlags(), static_cast<DWORD>(xtpHideCustomize));
  EXPECT_EQ(std::wstring(loaded.GetShortcutText()), L"Ctrl+P");
  EXPECT_EQ(std::wstring(loaded.GetCategory()), L"File");
  EXPECT_EQ(loaded.GetDocTemplatesAssigned(), (std::set<UINT>{128, 129}));
  EXPECT_EQ(loaded.GetDocTemplatesExcluded(), (std::set<UINT>{130}));
  EXPECT_TRUE(loaded.GetDefaultItem());
  EXPECT_FALSE(loaded.GetCloseSubMenuOnClick());
  EXPECT_EQ(loaded.GetCustomStyle(), xtpButtonCaption);
  EXPECT_EQ(loaded.GetStyle(), xtpButtonCaption);
  loaded.SetCustomStyle(0);
  EXPECT_EQ(loaded.GetStyle(), xtpButtonIconAndCaption) << "the button's own style";
}

} // namespace

namespace {

// A control that customisation may resize, recording the widths it is given.
class ResizableControl : public CXTPControlButton {
public:
  BOOL IsCustomizeResizeAllow() const override { return TRUE; }
  int GetCustomizeMinWidth() const override { return 50; }
  void SetWidth(int nWidth) override { widths.push_back(nWidth); }
  std::vector<int> widths;
};

class CustomizeResize : public ::testing::Test {
protected:
  void SetUp() override {
    CXTPControl::SetGetMessageFunction(&FeedMessage);
    bar.SetCommandBars(&commandBars);
    pControl = new ResizableControl;
    bar.GetControls()->Add(pControl, 900);
    pControl->SetRect(CRect(10, 0, 110, 22));
    commandBars.SetDragControl(pControl);
  }
  void TearDown() override {
    CXTPControl::SetGetMessageFunction(nullptr);
    commandBars.SetDragControl(nullptr);
    bar.GetControls()->RemoveAll();
    g_messages.clear();
  }
  CXTPCommandBars commandBars;
  TestBar bar{xtpBarTypeNormal, xtpBarTop};
  ResizableControl *pControl = nullptr;
};

TEST_F(CustomizeResize, DraggedEdgeGivesTheNewWidth) {
  const struct {
    int nGrab, nTo;
    UINT nEnd;
    std::vector<int> widths;
  } kCases[] = {
      {108, 150, WM_LBUTTONUP, {140}}, // the right edge, dragged out
      {12, 0, WM_LBUTTONUP, {110}},    // the left edge, dragged out
      {108, 20, WM_LBUTTONUP, {50}},   // never narrower than the minimum
      {108, 150, WM_KEYDOWN, {}},      // Esc cancels
      {108, -1, WM_LBUTTONUP, {}},     // released without a move: nothing set
  };
  for (const auto &c : kCases) {
    pControl->widths.clear();
    MSG end = Mouse(c.nEnd, c.nTo, 5);
    if (c.nEnd == WM_KEYDOWN) end.wParam = VK_ESCAPE;
    g_messages = {end};
    if (c.nTo >= 0) g_messages.insert(g_messages.begin(), Mouse(WM_MOUSEMOVE, c.nTo, 5));
    EXPECT_TRUE(pControl->OnCustomizeResize(CPoint(c.nGrab, 5))) << c.nGrab << " to " << c.nTo;
    EXPECT_EQ(pControl->widths, c.widths) << c.nGrab << " to " << c.nTo;
    EXPECT_EQ(commandBars.GetDragControl(), pControl) << "the control is selected again";
  }
  // Away from both edges, or when another control is selected, it is a drag.
  EXPECT_FALSE(pControl->OnCustomizeResize(CPoint(60, 5)));
  commandBars.SetDragControl(nullptr);
  EXPECT_FALSE(pControl->OnCustomizeResize(CPoint(108, 5)));
}

TEST_F(CustomizeResize, QuitCancelsAndIsPostedAgain) {
  MSG quit = {};
  quit.message = WM_QUIT;
  quit.wParam = 7;
  g_messages = {Mouse(WM_MOUSEMOVE, 150, 5), quit, Mouse(WM_LBUTTONUP, 150, 5)};
  EXPECT_TRUE(pControl->OnCustomizeResize(CPoint(108, 5)));
  EXPECT_TRUE(pControl->widths.empty());
  EXPECT_EQ(g_messages.size(), 1u) << "the loop stopped at the quit";
  MSG msg = {};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(CustomizeResize, ClickInCustomiseModeOnTheSelectedEdgeResizes) {
  commandBars.SetCustomizeMode(TRUE);
  commandBars.SetDragControl(pControl);
  g_messages = {Mouse(WM_MOUSEMOVE, 130, 5), Mouse(WM_LBUTTONUP, 130, 5)};
  pControl->OnClick(FALSE, CPoint(109, 5));
  EXPECT_EQ(pControl->widths, std::vector<int>{120});
  commandBars.SetCustomizeMode(FALSE);
}

} // namespace

namespace {

TEST(ControlSelection, KeyboardSelectionClosesThePopupAndHoverEndsTracking) {
  TestBar bar(xtpBarTypeNormal, xtpBarTop);
  CXTPControl *a = bar.GetControls()->Add(xtpControlButton, 1);
  bar.GetControls()->Add(xtpControlPopup, 0);
  EXPECT_FALSE(a->OnSetSelected(0)) << "unchanged";
  bar.SetPopuped(1);
  EXPECT_TRUE(a->OnSetSelected(1));
  EXPECT_EQ(bar.GetPopupedIndex(), 1) << "a mouse selection leaves the popup open";
  EXPECT_TRUE(a->OnSetSelected(2));
  EXPECT_EQ(bar.GetPopupedIndex(), -1) << "a keyboard selection closes it";
  EXPECT_EQ(a->GetSelected(), 2);

  // Hovering another control while a popup is open from a toolbar ends the tracking.
  bar.SetTrackingMode(2);
  bar.SetPopuped(1);
  a->OnMouseHover();
  EXPECT_EQ(bar.GetPopupedIndex(), -1);
  EXPECT_EQ(bar.GetTrackingMode(), 0);
  bar.GetControls()->RemoveAll();
}

} // namespace

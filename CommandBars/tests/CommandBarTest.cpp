// Command bar window: keyboard navigation by tables over horizontal, vertical
// and right-to-left bars, mnemonics (the "&" letter, the first letter,
// ambiguity), mouse routing by messages sent to the bar's window, commands
// reaching the owner, a bar released from inside its own command, Alt's
// keyboard cues, the help-mode hit test and the customise drop.
//
// Input is given as messages to the bar and keys through its hook client:
// no real cursor moves and no window is activated.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "XTPCommandBars.h"
#include "XTPControlButton.h"
#include "XTPControlPopup.h"
#include "XTPCustomizeTools.h"
#include "XTPPaintManager.h"
#include "XTPPopupBar.h"

using namespace cbtest;

namespace {

// A popup control whose mnemonic opens its popup, as a menu's does.
class OpeningPopup : public CXTPControlPopup {
public:
  void OnUnderlineActivate() override { m_pParent->SetPopuped(m_nIndex, TRUE); }
};

// A bar with a window that never takes the activation; its controls are
// placed in a row (or a column) of 30-pixel cells.
class WindowBar : public CXTPCommandBar {
public:
  static int s_nLive;
  // Message handlers of bars running now, and bars deleted while one ran
  // (a handler that would touch its bar after the delete).
  static int s_nInWindowProc;
  static int s_nDeletedInHandler;
  WindowBar(XTPBarType type, XTPBarPosition position) {
    m_barType = type;
    m_barPosition = position;
    s_nLive++;
  }
  ~WindowBar() override {
    s_nLive--;
    if (s_nInWindowProc > 0) s_nDeletedInHandler++;
  }
  // Calls of the default procedure after the window was gone.
  static int s_nDeadDefault;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (m_hWnd == nullptr) s_nDeadDefault++;
    return CXTPCommandBar::DefWindowProc(message, wParam, lParam);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    s_nInWindowProc++;
    const LRESULT lResult = CXTPCommandBar::WindowProc(message, wParam, lParam);
    s_nInWindowProc--;
    return lResult;
  }

  BOOL CreateBar(DWORD dwExStyle = 0) {
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | dwExStyle, AfxRegisterWndClass(0), L"bar", WS_POPUP,
                    20, 20, 200, 200, nullptr, nullptr);
  }
  CXTPControl *AddButton(int nId, LPCTSTR lpszCaption) {
    CXTPControl *pControl = m_pControls->Add(xtpControlButton, nId);
    pControl->SetCaption(lpszCaption);
    return pControl;
  }
  CXTPControl *AddPopup(LPCTSTR lpszCaption) {
    CXTPControl *pControl = m_pControls->Add(new OpeningPopup, 0);
    pControl->SetCaption(lpszCaption);
    return pControl;
  }
  // Cells of 30 pixels along the bar's direction.
  void Place() {
    const BOOL bColumn = m_barType == xtpBarTypePopup || IsVerticalPosition();
    for (int i = 0; i < GetControlCount(); i++) {
      CRect rc = bColumn ? CRect(0, i * 30, 100, i * 30 + 30) : CRect(i * 30, 0, i * 30 + 30, 30);
      GetControl(i)->SetRect(rc);
    }
  }
  LRESULT Send(UINT message, int x, int y, WPARAM wParam = 0) {
    return ::SendMessageW(m_hWnd, message, wParam, MAKELPARAM(x, y));
  }
  BOOL Key(UINT nVirtKey) {
    WPARAM w = nVirtKey;
    LPARAM l = 0;
    LRESULT r = 0;
    return OnHookMessage(nullptr, WM_KEYDOWN, w, l, r) == xtpHookHandled;
  }
};
int WindowBar::s_nLive = 0;
int WindowBar::s_nInWindowProc = 0;
int WindowBar::s_nDeletedInHandler = 0;
int WindowBar::s_nDeadDefault = 0;

// Releases the bar's last reference when the test ends, unless a test
// handler already did.
struct BarRef {
  WindowBar *p;
  explicit BarRef(WindowBar *pBar) : p(pBar) {}
  ~BarRef() {
    if (p) p->InternalRelease();
  }
  WindowBar *operator->() const { return p; }
};

std::vector<UINT> Commands(const MessageSite &site) {
  std::vector<UINT> ids;
  for (const auto &e : site.log)
    if (e.message == WM_COMMAND) ids.push_back(LOWORD(e.wParam));
  return ids;
}

TEST(CommandBarKeys, NavigationTable) {
  // Controls: 0 button, 1 popup, 2 button, 3 button; tracking starts on 1.
  const struct {
    XTPBarType type;
    XTPBarPosition position;
    BOOL bRTL;
    UINT nKey;
    int nSelected; // afterwards
    int nPopuped;  // afterwards
    BOOL bTracking;
  } kCases[] = {
      {xtpBarTypeNormal, xtpBarTop, FALSE, VK_RIGHT, 2, -1, TRUE},
      {xtpBarTypeNormal, xtpBarTop, FALSE, VK_LEFT, 0, -1, TRUE},
      {xtpBarTypeNormal, xtpBarTop, TRUE, VK_LEFT, 2, -1, TRUE}, // right to left: Left moves on
      {xtpBarTypeNormal, xtpBarTop, TRUE, VK_RIGHT, 0, -1, TRUE},
      {xtpBarTypeNormal, xtpBarTop, FALSE, VK_DOWN, 1, 1, TRUE}, // opens the popup
      {xtpBarTypeNormal, xtpBarTop, FALSE, VK_HOME, 0, -1, TRUE},
      {xtpBarTypeNormal, xtpBarTop, FALSE, VK_END, 3, -1, TRUE},
      {xtpBarTypeNormal, xtpBarTop, FALSE, VK_ESCAPE, -1, -1, FALSE},
      {xtpBarTypeNormal, xtpBarLeft, FALSE, VK_DOWN, 2, -1, TRUE},
      {xtpBarTypeNormal, xtpBarLeft, FALSE, VK_UP, 0, -1, TRUE},
      {xtpBarTypeNormal, xtpBarLeft, FALSE, VK_RIGHT, 1, 1, TRUE},
      {xtpBarTypePopup, xtpBarPopup, FALSE, VK_DOWN, 2, -1, TRUE}, // a popup is a column
      {xtpBarTypePopup, xtpBarPopup, FALSE, VK_RIGHT, 1, 1, TRUE},
      {xtpBarTypeNormal, xtpBarTop, FALSE, VK_TAB, 2, -1, TRUE},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << "position " << c.position << " key " << c.nKey << " rtl " << c.bRTL);
    BarRef bar(new WindowBar(c.type, c.position));
    ASSERT_TRUE(bar->CreateBar(c.bRTL ? WS_EX_LAYOUTRTL : 0));
    bar->AddButton(1, L"&One");
    bar->AddPopup(L"&Popup");
    bar->AddButton(3, L"&Three");
    bar->AddButton(4, L"&Four");
    bar->Place();
    bar->SetTrackingMode(1, FALSE, TRUE);
    bar->SetSelected(1, TRUE);
    EXPECT_TRUE(bar->Key(c.nKey));
    EXPECT_EQ(c.nSelected, bar->GetSelectedIndex());
    EXPECT_EQ(c.nPopuped, bar->GetPopupedIndex());
    EXPECT_EQ(c.bTracking, bar->IsTrackingMode());
    bar->CancelTracking();
  }
  EXPECT_EQ(0, WindowBar::s_nLive);
}

TEST(CommandBarKeys, KeysReachTheBarOnlyWhileItTracks) {
  BarRef bar(new WindowBar(xtpBarTypeNormal, xtpBarTop));
  ASSERT_TRUE(bar->CreateBar());
  bar->AddButton(1, L"&One");
  bar->AddButton(2, L"&Two");
  EXPECT_FALSE(bar->Key(VK_RIGHT));
  EXPECT_EQ(-1, bar->GetSelectedIndex());
  // Tracking by keyboard selects the first control and hooks the thread.
  EXPECT_TRUE(bar->SetTrackingMode(1, TRUE, TRUE));
  EXPECT_EQ(0, bar->GetSelectedIndex());
  EXPECT_TRUE(bar->IsSelectedByKeyboard());
  EXPECT_FALSE(bar->IsTrackingStartedByMouse());
  ASSERT_NE(nullptr, CXTPThreadHooks::FindThreadHooks());
  // A second entry only stores the mode.
  EXPECT_FALSE(bar->SetTrackingMode(2, TRUE, TRUE));
  EXPECT_TRUE(bar->SetTrackingMode(0, TRUE, FALSE));
  EXPECT_EQ(-1, bar->GetSelectedIndex());
  EXPECT_FALSE(XTPGetMouseManager()->IsTrackedBar(bar.p));
}

TEST(CommandBarKeys, MnemonicTable) {
  const struct {
    std::vector<const wchar_t *> captions;
    int nSelectedBefore;
    wchar_t ch;
    int nExpected;
    BOOL bAmbiguous;
  } kCases[] = {
      {{L"&File", L"&Edit", L"&View"}, -1, L'e', 1, FALSE},
      {{L"&File", L"&Edit", L"&View"}, -1, L'E', 1, FALSE},
      {{L"&File", L"&Edit", L"&View"}, -1, L'x', -1, FALSE},
      {{L"Save", L"Send", L"&Open"}, -1, L's', 0, TRUE},   // two first letters
      {{L"Save", L"Send", L"&Open"}, 0, L's', 1, TRUE},    // the walk starts after the selection
      {{L"Save", L"E&xit", L"&Send"}, -1, L's', 2, FALSE}, // "&" beats a first letter
      {{L"&Save", L"&Send", L"Other"}, -1, L's', 0, TRUE}, // two "&": the first, ambiguous
      {{L"Tom && Jerry", L"&Jump"}, -1, L'j', 1, FALSE},   // "&&" is no mnemonic
      {{L"Trail&", L"&Up"}, -1, L't', 0, FALSE},           // a last "&" marks nothing
      {{L"", L"&Up"}, -1, L'u', 1, FALSE},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << "key " << static_cast<char>(c.ch) << " start " << c.nSelectedBefore);
    TestBar bar(xtpBarTypePopup, xtpBarPopup);
    int nId = 1;
    for (const wchar_t *caption : c.captions)
      bar.GetControls()->Add(xtpControlButton, nId++)->SetCaption(caption);
    bar.SetSelected(c.nSelectedBefore);
    BOOL bAmbiguous = FALSE;
    EXPECT_EQ(c.nExpected, bar.FindAccel(c.ch, bAmbiguous));
    EXPECT_EQ(c.bAmbiguous, bAmbiguous);
  }
}

TEST(CommandBarKeys, MnemonicRunsTheCommandOnlyWhenUnique) {
  MessageSite site;
  BarRef bar(new WindowBar(xtpBarTypePopup, xtpBarPopup));
  ASSERT_TRUE(bar->CreateBar());
  bar->SetOwnerWindow(site.GetHwnd());
  bar->AddButton(101, L"&Open");
  bar->AddButton(102, L"Save");
  bar->AddButton(103, L"Send");
  bar->Place();
  bar->SetTrackingMode(1, FALSE, TRUE);
  EXPECT_TRUE(bar->Key('S')); // two first letters: selects, runs nothing
  EXPECT_EQ(1, bar->GetSelectedIndex());
  EXPECT_TRUE(Commands(site).empty());
  EXPECT_TRUE(bar->Key('S'));
  EXPECT_EQ(2, bar->GetSelectedIndex());
  EXPECT_TRUE(Commands(site).empty());
  EXPECT_TRUE(bar->Key('O'));
  EXPECT_EQ(std::vector<UINT>{101}, Commands(site));
  // The command closed the menu: it no longer takes keys.
  EXPECT_FALSE(bar->IsTrackingMode());
  EXPECT_FALSE(bar->Key('S'));
  // Enter runs the selected control.
  bar->SetTrackingMode(1, FALSE, TRUE);
  bar->SetSelected(2, TRUE);
  EXPECT_TRUE(bar->Key(VK_RETURN));
  EXPECT_EQ((std::vector<UINT>{101, 103}), Commands(site));
  // A key that matches nothing is used up (it beeps).
  bar->SetTrackingMode(1, FALSE, TRUE);
  EXPECT_TRUE(bar->Key('Q'));
  EXPECT_EQ(2u, Commands(site).size());
  bar->CancelTracking();
}

TEST(CommandBarMouse, MovesSelectAndLeavingClears) {
  BarRef bar(new WindowBar(xtpBarTypePopup, xtpBarPopup));
  ASSERT_TRUE(bar->CreateBar());
  bar->AddButton(1, L"One");
  bar->AddPopup(L"Sub");
  bar->AddButton(3, L"Three");
  bar->Place();
  bar->SetTrackingMode(1, FALSE, FALSE);
  EXPECT_TRUE(bar->IsTrackingStartedByMouse());
  bar->Send(WM_MOUSEMOVE, 10, 45);
  EXPECT_EQ(1, bar->GetSelectedIndex());
  EXPECT_FALSE(bar->IsSelectedByKeyboard());
  bar->Send(WM_MOUSEMOVE, 10, 75);
  EXPECT_EQ(2, bar->GetSelectedIndex());
  // A popup bar without an open popup forgets its selection on leaving...
  bar->Send(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, bar->GetSelectedIndex());
  // ...and keeps it while a popup is open.
  ASSERT_TRUE(bar->SetPopuped(1));
  EXPECT_EQ(1, bar->GetSelectedIndex());
  EXPECT_EQ(2, bar->GetTrackingMode());
  bar->Send(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(1, bar->GetSelectedIndex());
  // A disabled popup control does not open.
  bar->SetPopuped(-1);
  bar->GetControl(1)->SetEnabled(FALSE);
  EXPECT_FALSE(bar->SetPopuped(1));
  EXPECT_EQ(-1, bar->GetPopupedIndex());
  bar->CancelTracking();
}

TEST(CommandBarMouse, SelectingTheSameControlAgainDoesNothing) {
  BarRef bar(new WindowBar(xtpBarTypePopup, xtpBarPopup));
  ASSERT_TRUE(bar->CreateBar());
  bar->AddButton(1, L"One");
  bar->Place();
  EXPECT_TRUE(bar->SetSelected(0));
  const int nRedraws = bar->m_nRedrawCount;
  EXPECT_FALSE(bar->SetSelected(0));
  EXPECT_EQ(nRedraws, bar->m_nRedrawCount);
  bar->SetSelected(-1);
}

TEST(CommandBarMouse, ReleaseOverAMenuItemReachesTheOwner) {
  MessageSite site;
  BarRef bar(new WindowBar(xtpBarTypePopup, xtpBarPopup));
  ASSERT_TRUE(bar->CreateBar());
  bar->SetOwnerWindow(site.GetHwnd());
  bar->AddButton(201, L"One");
  bar->AddButton(202, L"Two");
  bar->Place();
  bar->Send(WM_LBUTTONUP, 10, 45);
  EXPECT_EQ(std::vector<UINT>{202}, Commands(site));
  // Nothing under the point: no command.
  bar->Send(WM_LBUTTONUP, 10, 150);
  EXPECT_EQ(1u, Commands(site).size());
  // Right-button tracking: a right release runs the item too.
  bar->SetTrackRightButton(TRUE);
  bar->Send(WM_RBUTTONUP, 10, 15);
  EXPECT_EQ((std::vector<UINT>{202, 201}), Commands(site));
}

TEST(CommandBarLifetime, BarReleasedInsideItsOwnCommand) {
  // The command handler destroys the bar and drops its last reference while
  // the bar is still inside its button handler; the dispatch reference keeps
  // it until the message is done, then it goes with no further access.
  const struct {
    const char *name;
    bool bDestroyWindow;
    bool bByKey;
  } kCases[] = {{"release", false, false}, {"destroy and release", true, false}, {"by Enter", true, true}};
  // Enter comes through the thread's hook, outside any message of the bar:
  // the bar's own hold keeps it to the end of the key.
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    MessageSite site;
    WindowBar *pBar = new WindowBar(xtpBarTypePopup, xtpBarPopup);
    ASSERT_TRUE(pBar->CreateBar());
    const HWND hWnd = pBar->GetSafeHwnd();
    pBar->SetOwnerWindow(site.GetHwnd());
    pBar->AddButton(301, L"&Close");
    pBar->Place();
    int nCommands = 0;
    site.answer = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
      if (message != WM_COMMAND) return 0;
      nCommands++;
      if (c.bDestroyWindow) pBar->DestroyWindow();
      pBar->InternalRelease();
      return 0;
    };
    WindowBar::s_nDeletedInHandler = 0;
    if (c.bByKey) {
      pBar->SetTrackingMode(1, TRUE, TRUE);
      pBar->Key(VK_RETURN);
    } else {
      ::SendMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 15));
    }
    EXPECT_EQ(1, nCommands);
    EXPECT_EQ(0, WindowBar::s_nDeletedInHandler);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, WindowBar::s_nLive);
    EXPECT_FALSE(XTPGetMouseManager()->IsTrackedBar(pBar));
  }
}

TEST(CommandBarHelp, HelpHitTestAnswersTheControlOrTheWindowId) {
  BarRef bar(new WindowBar(xtpBarTypeNormal, xtpBarTop));
  ASSERT_TRUE(bar->CreateBar());
  bar->AddButton(57600, L"New");
  bar->Place();
  EXPECT_EQ(0x1E100, bar->Send(0x0366, 10, 10));
  EXPECT_EQ(0, bar->Send(0x0366, 150, 10)); // no control, window id 0
  bar->SetDlgCtrlID(0xE81B);
  EXPECT_EQ(0x5E81B, bar->Send(0x0366, 150, 10));
}

TEST(CommandBarCues, MnemonicShowsCuesAndLeavingHidesThem) {
  MessageSite site;
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  CXTPPaintManager *pPaintManager = pCommandBars->GetPaintManager();
  pCommandBars->SetKeyboardCuesFollowAlt(TRUE);
  pPaintManager->SetKeyboardCuesShown(FALSE);
  WindowBar *pMenu = new WindowBar(xtpBarTypeMenuBar, xtpBarTop);
  ASSERT_TRUE(pMenu->CreateBar());
  pMenu->SetOwnerWindow(site.GetHwnd());
  pMenu->AddPopup(L"&File");
  pMenu->AddPopup(L"&Edit");
  pMenu->AddButton(401, L"&Help");
  pMenu->Place();
  ::ShowWindow(pMenu->GetSafeHwnd(), SW_SHOWNOACTIVATE);
  pCommandBars->AddBar(pMenu);
  pMenu->InternalRelease(); // the list holds it

  EXPECT_FALSE(pCommandBars->ProcessMnemonic(L'z'));
  EXPECT_FALSE(pPaintManager->IsKeyboardCuesShown());
  // Alt+E: the cues show, the bar tracks with Edit open.
  EXPECT_TRUE(pCommandBars->ProcessMnemonic(L'e'));
  EXPECT_TRUE(pPaintManager->IsKeyboardCuesShown());
  EXPECT_TRUE(pMenu->IsTrackingMode());
  EXPECT_EQ(1, pMenu->GetSelectedIndex());
  EXPECT_EQ(1, pMenu->GetPopupedIndex());
  // Leaving tracking hides the cues again.
  pMenu->CancelTracking();
  EXPECT_FALSE(pPaintManager->IsKeyboardCuesShown());
  // Alt+H runs the command; the menu bar told its site it started tracking.
  EXPECT_TRUE(pCommandBars->ProcessMnemonic(L'h'));
  EXPECT_EQ(std::vector<UINT>{401}, Commands(site));
  bool bTrackingNotice = false;
  for (const auto &e : site.log) bTrackingNotice |= e.message == CXTPCommandBar::kMsgMenuBarTracking;
  EXPECT_TRUE(bTrackingNotice);
  pMenu->CancelTracking();
  // A key released while cues follow Alt hides them.
  pCommandBars->UpdateKeyboardCues(TRUE);
  MSG msg = {nullptr, WM_KEYUP, VK_MENU, 0, 0, {0, 0}};
  EXPECT_FALSE(pCommandBars->PreTranslateFrameMessage(&msg));
  EXPECT_FALSE(pPaintManager->IsKeyboardCuesShown());
  // Mnemonics off: nothing answers.
  pCommandBars->GetCommandBarsOptions()->keyboardCuesUse = 2;
  EXPECT_FALSE(pCommandBars->ProcessMnemonic(L'h'));
  pCommandBars->InternalRelease();
  EXPECT_EQ(0, WindowBar::s_nLive);
}

TEST(CommandBarMnemonics, OnlyACaptionTheBarShowsAnswersItsLetter) {
  const struct {
    int nStyle;
    wchar_t ch;
    BOOL bAnswers;
  } kCases[] = {
      {xtpButtonIcon, L's', FALSE},   // drawn as its icon: no letter to see
      {xtpButtonCaption, L's', TRUE}, // its caption shows
      {xtpButtonIconAndCaption, L's', TRUE},
      {xtpButtonAutomatic, L's', TRUE}, // no picture: the caption shows
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.nStyle);
    MessageSite site;
    CXTPCommandBars *pCommandBars = new CXTPCommandBars;
    pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    WindowBar *pBar = new WindowBar(xtpBarTypeNormal, xtpBarTop);
    ASSERT_TRUE(pBar->CreateBar());
    pBar->SetOwnerWindow(site.GetHwnd());
    pBar->AddButton(402, L"&Save")->SetStyle(c.nStyle);
    pBar->AddButton(403, L"&Print")->SetStyle(xtpButtonCaption);
    pBar->Place();
    ::ShowWindow(pBar->GetSafeHwnd(), SW_SHOWNOACTIVATE);
    pCommandBars->AddBar(pBar);
    pBar->InternalRelease();
    EXPECT_EQ(c.bAnswers, pCommandBars->ProcessMnemonic(c.ch));
    EXPECT_EQ(c.bAnswers ? std::vector<UINT>{402} : std::vector<UINT>{}, Commands(site));
    pBar->CancelTracking();
    pCommandBars->InternalRelease();
  }
}

// Releases any bar when the test ends.
struct AnyBarRef {
  CXTPCommandBar *p;
  explicit AnyBarRef(CXTPCommandBar *pBar) : p(pBar) {}
  ~AnyBarRef() { p->InternalRelease(); }
  CXTPCommandBar *operator->() const { return p; }
};

TEST(CommandBarCustomize, DropPositionFollowsRowsOrColumnsAndJoinsTheNextControl) {
  // Controls by their rectangles; a group start is marked.
  struct Rect {
    CRect rc;
    BOOL bGroup;
  };
  const std::vector<Rect> kRow = {
      {CRect(0, 0, 20, 20), FALSE}, {CRect(24, 0, 44, 20), FALSE}, {CRect(50, 0, 70, 20), TRUE}};
  // Two columns of a bar docked on a side: A over B, then C.
  const std::vector<Rect> kColumns = {
      {CRect(0, 0, 20, 20), FALSE}, {CRect(0, 24, 20, 44), FALSE}, {CRect(22, 0, 42, 20), FALSE}};
  const struct {
    const char *name;
    XTPBarPosition position;
    const std::vector<Rect> *pControls;
    CPoint point;
    int nIndex;
    BOOL bBefore;
    CRect rcMarker;
  } kCases[] = {
      {"before the first of a row", xtpBarTop, &kRow, CPoint(4, 10), 0, TRUE, CRect(-3, 0, 3, 20)},
      {"after a control: in the gap to the next", xtpBarTop, &kRow, CPoint(18, 10), 0, FALSE,
       CRect(19, 0, 25, 20)},
      {"after a control the next starts a group", xtpBarTop, &kRow, CPoint(40, 10), 1, FALSE,
       CRect(41, 0, 47, 20)},
      {"after the last", xtpBarTop, &kRow, CPoint(69, 12), 2, FALSE, CRect(67, 0, 73, 20)},
      {"the nearest column decides on a side", xtpBarLeft, &kColumns, CPoint(30, 30), 2, FALSE,
       CRect(22, 17, 42, 23)},
      {"then the nearest in the column", xtpBarLeft, &kColumns, CPoint(10, 30), 1, TRUE,
       CRect(0, 21, 20, 27)},
      {"after the first of a column: in the gap", xtpBarLeft, &kColumns, CPoint(10, 15), 0, FALSE,
       CRect(0, 19, 20, 25)},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    AnyBarRef bar(new TestBar(xtpBarTypeNormal, c.position, CSize(100, 100)));
    for (const Rect &r : *c.pControls) {
      CXTPControl *pControl = bar->GetControls()->Add(xtpControlButton, 1);
      pControl->SetRect(r.rc);
      pControl->SetBeginGroup(r.bGroup);
    }
    BOOL bBefore = FALSE;
    CRect rcMarker;
    EXPECT_EQ(c.nIndex, bar->CalcDropPosition(c.point, bBefore, rcMarker));
    EXPECT_EQ(c.bBefore, bBefore);
    EXPECT_EQ(c.rcMarker, rcMarker);
  }
}

TEST(CommandBarOptions, TextBelowIconsFollowsTheBarsWordOrTheOptions) {
  const struct {
    int nWord;
    BOOL bOptions;
    bool bCommandBars;
    XTPBarType type;
    BOOL bExpected;
  } kCases[] = {
      {2, TRUE, true, xtpBarTypeNormal, TRUE},   {2, FALSE, true, xtpBarTypeNormal, FALSE},
      {0, TRUE, true, xtpBarTypeNormal, FALSE},  {1, FALSE, true, xtpBarTypeNormal, TRUE},
      {2, TRUE, false, xtpBarTypeNormal, FALSE}, {2, TRUE, true, xtpBarTypePopup, FALSE},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(testing::Message() << c.nWord << c.bOptions << c.bCommandBars << c.type);
    CXTPCommandBars *pCommandBars = new CXTPCommandBars;
    pCommandBars->GetCommandBarsOptions()->bShowTextBelowIcons = c.bOptions;
    AnyBarRef bar(new TestBar(c.type, xtpBarTop));
    EXPECT_EQ(CXTPCommandBar::kTextBelowFollowOptions, bar->GetTextBelowIconsWord()) << "a new bar follows";
    if (c.bCommandBars) bar->SetCommandBars(pCommandBars);
    bar->SetTextBelowIcons(c.nWord);
    EXPECT_EQ(c.bExpected, bar->IsTextBelowIcons());
    bar->SetCommandBars(nullptr);
    pCommandBars->InternalRelease();
  }
}

TEST(CommandBarOptions, ANewBarHasNoPlaceAndItsSiteFrameIsTheCommandBarsFrame) {
  AnyBarRef bar(new CXTPCommandBar);
  EXPECT_EQ(7, static_cast<int>(bar->GetPosition()));
  EXPECT_EQ(nullptr, bar->GetSiteFrame());
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  bar->SetCommandBars(pCommandBars);
  EXPECT_EQ(nullptr, bar->GetSiteFrame()) << "no site";
  CWnd plain;
  ASSERT_TRUE(plain.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"plain", WS_POPUP, 0, 0, 10, 10,
                             nullptr, nullptr));
  pCommandBars->SetSite(&plain);
  EXPECT_EQ(nullptr, bar->GetSiteFrame()) << "a site that is no frame";
  auto *pFrame = new CFrameWnd; // frames delete themselves when destroyed
  ASSERT_TRUE(
      pFrame->CreateEx(0, AfxRegisterWndClass(0), L"frame", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  pCommandBars->SetSite(pFrame);
  EXPECT_EQ(pFrame, bar->GetSiteFrame());
  bar->SetCommandBars(nullptr);
  pCommandBars->InternalRelease();
  pFrame->DestroyWindow();
  plain.DestroyWindow();
}

TEST(CommandBarWindow, ItsWindowRegistersWithTheDragToolAndTakesTheTips) {
  const struct {
    const char *name;
    XTPBarType type;
    XTPBarPosition position;
    BOOL bPopupTips;
    bool bRegistered;
    bool bTips;
  } kCases[] = {
      {"a toolbar", xtpBarTypeNormal, xtpBarTop, FALSE, true, true},
      {"a popup", xtpBarTypePopup, xtpBarPopup, FALSE, true, false},
      {"a popup when the options show tips in popups", xtpBarTypePopup, xtpBarPopup, TRUE, true, true},
      {"a combo's list", xtpBarTypePopup, xtpBarListBox, TRUE, false, true},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    CXTPCommandBars *pCommandBars = new CXTPCommandBars;
    pCommandBars->GetCommandBarsOptions()->bShowPopupBarToolTips = c.bPopupTips;
    CXTPCustomizeDragTool *pTool = pCommandBars->GetDragTool();
    BarRef bar(new WindowBar(c.type, c.position));
    bar->SetCommandBars(pCommandBars);
    EXPECT_FALSE(pTool->IsRegistered(bar.p)) << "no window yet";
    ASSERT_TRUE(bar->CreateBar());
    EXPECT_EQ(c.bRegistered, pTool->IsRegistered(bar.p));
    EXPECT_EQ(c.bTips ? pCommandBars->GetToolTipContext() : nullptr, bar->GetToolTipContext());
    bar->DestroyWindow();
    EXPECT_FALSE(pTool->IsRegistered(bar.p)) << "the window went";
    // Made again, then the command bars go first: the bar forgets their tool.
    ASSERT_TRUE(bar->CreateBar());
    pCommandBars->InternalRelease();
    bar->DestroyWindow();
  }
}

TEST(CommandBarCustomize, DropInsertsACopyAndTakesOverTheGroup) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  BarRef bar(new WindowBar(xtpBarTypeNormal, xtpBarTop));
  ASSERT_TRUE(bar->CreateBar());
  bar->SetCommandBars(pCommandBars);
  bar->GetControls()->SetCommandBars(pCommandBars);
  bar->AddButton(1, L"A");
  bar->AddButton(2, L"B")->SetBeginGroup(TRUE);
  bar->AddButton(3, L"C");
  bar->Place();
  pCommandBars->SetCustomizeMode(TRUE);

  const struct {
    int x;
    int nIndex;
    BOOL bBefore;
  } kPositions[] = {{5, 0, TRUE}, {25, 0, FALSE}, {35, 1, TRUE}, {89, 2, FALSE}, {200, 2, FALSE}};
  for (const auto &p : kPositions) {
    BOOL bBefore = FALSE;
    CRect rcMarker;
    EXPECT_EQ(p.nIndex, bar->CalcDropPosition(CPoint(p.x, 10), bBefore, rcMarker)) << p.x;
    EXPECT_EQ(p.bBefore, bBefore) << p.x;
    EXPECT_EQ(6, rcMarker.Width());
  }

  TestBar source(xtpBarTypeNormal, xtpBarTop);
  CXTPControl *pDragged = source.GetControls()->Add(xtpControlButton, 9);
  pDragged->SetCaption(L"Dragged");
  DWORD dwEffect = DROPEFFECT_COPY;
  // Dropped before B: the copy lands at index 1 and starts B's group.
  bar->OnCustomizeDrop(pDragged, dwEffect, CPoint(32, 10), CPoint(300, 300));
  ASSERT_EQ(4, bar->GetControlCount());
  EXPECT_EQ(9, bar->GetControl(1)->GetID());
  EXPECT_TRUE(bar->GetControl(1)->GetBeginGroup());
  EXPECT_FALSE(bar->GetControl(2)->GetBeginGroup());
  EXPECT_EQ(bar->GetControl(1), pCommandBars->GetDragControl());
  EXPECT_TRUE(bar->GetDropMarker().IsRectEmpty());

  // A drop on the dragged control itself never moves it (a jittery click
  // must not delete it); only a real move past its middle starts a group.
  bar->Place();
  CXTPControl *pSelf = bar->GetControl(3);
  dwEffect = DROPEFFECT_MOVE;
  bar->OnCustomizeDrop(pSelf, dwEffect, CPoint(92, 10), CPoint(90, 10));
  EXPECT_FALSE(pSelf->GetBeginGroup());
  EXPECT_EQ(5u, dwEffect) << "a jitter of two pixels";
  dwEffect = DROPEFFECT_MOVE;
  bar->OnCustomizeDrop(pSelf, dwEffect, CPoint(115, 10), CPoint(95, 10));
  EXPECT_TRUE(pSelf->GetBeginGroup());
  EXPECT_EQ(5u, dwEffect);
  EXPECT_EQ(4, bar->GetControlCount());

  pCommandBars->SetCustomizeMode(FALSE);
  bar->SetCommandBars(nullptr);
  bar->GetControls()->SetCommandBars(nullptr);
  pCommandBars->InternalRelease();
}

} // namespace

namespace {

// Command bars with a theme of their own, and a popup of three commands.
struct PopupMenuFixture {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  CXTPPopupBar *pPopup = nullptr;
  PopupMenuFixture() {
    pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
    const wchar_t *kCaptions[] = {L"&Open", L"&Save", L"E&xit"};
    for (int i = 0; i < 3; i++)
      pPopup->GetControls()->Add(xtpControlButton, 501 + i)->SetCaption(kCaptions[i]);
  }
  ~PopupMenuFixture() {
    pPopup->InternalRelease();
    pCommandBars->InternalRelease();
  }
};

// What the fed loop does on each call for a message.
std::function<BOOL(MSG *)> g_feed;
BOOL FeedMessage(MSG *pMsg) {
  return g_feed(pMsg);
}

struct FeedScope {
  explicit FeedScope(std::function<BOOL(MSG *)> feed) {
    g_feed = std::move(feed);
    CXTPCommandBars::SetGetMessageFunction(&FeedMessage);
  }
  ~FeedScope() {
    CXTPCommandBars::SetGetMessageFunction(nullptr);
    g_feed = nullptr;
  }
};

void DrainQuit(int *pCode) {
  MSG msg;
  *pCode = -1;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message == WM_QUIT) *pCode = static_cast<int>(msg.wParam);
}

TEST(TrackPopupMenu, QuitEndsTheMenuAndIsPostedAgain) {
  PopupMenuFixture f;
  ::PostQuitMessage(7);
  EXPECT_EQ(0u, CXTPCommandBars::TrackPopupMenu(f.pPopup, TPM_RETURNCMD, 100, 100, nullptr));
  EXPECT_FALSE(f.pPopup->IsTrackingMode());
  EXPECT_EQ(nullptr, f.pPopup->GetSafeHwnd());
  EXPECT_EQ(nullptr, f.pPopup->m_pReturnCmd);
  int nCode = -1;
  DrainQuit(&nCode);
  EXPECT_EQ(7, nCode);
}

TEST(TrackPopupMenu, AnErrorFromGetMessageEndsTheMenu) {
  PopupMenuFixture f;
  int nCalls = 0;
  // A loop that kept going on -1 would call again; the quit bounds it.
  FeedScope feed([&](MSG *pMsg) -> BOOL {
    if (++nCalls < 4) return -1;
    *pMsg = MSG{nullptr, WM_QUIT, 3, 0, 0, {0, 0}};
    return 0;
  });
  EXPECT_EQ(0u, CXTPCommandBars::TrackPopupMenu(f.pPopup, TPM_RETURNCMD, 100, 100, nullptr));
  EXPECT_EQ(1, nCalls);
  EXPECT_FALSE(f.pPopup->IsTrackingMode());
  int nCode = -1;
  DrainQuit(&nCode);
  EXPECT_EQ(-1, nCode); // no quit made up
}

TEST(TrackPopupMenu, ChosenCommandComesBackOrReachesTheNotifyWindow) {
  const struct {
    UINT nFlags;
    UINT nExpected;
    std::vector<UINT> commands;
  } kCases[] = {{TPM_RETURNCMD, 502u, {}}, {0, TRUE, {502}}, {TPM_RETURNCMD | TPM_RIGHTBUTTON, 502u, {}}};
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.nFlags);
    PopupMenuFixture f;
    MessageSite site;
    // The site has no update handlers (it is no framework window): the
    // commands stay enabled.
    f.pPopup->SetOwnerWindow(site.GetHwnd());
    // The loop's first message: a release over "Save", as the mouse would
    // give it; then the popup is gone and the loop must not ask again.
    int nCalls = 0;
    FeedScope feed([&](MSG *pMsg) -> BOOL {
      if (++nCalls > 1) return -1; // the popup failed to close: end the loop
      const CPoint pt = f.pPopup->GetControl(1)->GetRect().CenterPoint();
      const UINT message = (c.nFlags & TPM_RIGHTBUTTON) ? WM_RBUTTONUP : WM_LBUTTONUP;
      ::SendMessageW(f.pPopup->GetSafeHwnd(), message, 0, MAKELPARAM(pt.x, pt.y));
      *pMsg = MSG{site.GetHwnd(), WM_NULL, 0, 0, 0, {0, 0}};
      return TRUE;
    });
    EXPECT_EQ(c.nExpected, CXTPCommandBars::TrackPopupMenu(f.pPopup, c.nFlags, 100, 100, nullptr));
    EXPECT_EQ(1, nCalls);
    EXPECT_EQ(c.commands, Commands(site));
    EXPECT_FALSE(f.pPopup->IsTrackingMode());
    MSG msg;
    while (::PeekMessageW(&msg, site.GetHwnd(), 0, 0, PM_REMOVE)) {
    }
  }
}

TEST(TrackPopupMenu, TheOwnerKeepsTheStatusTextsAndTheNotifyWindowGetsTheCommand) {
  PopupMenuFixture f;
  MessageSite owner, notify;
  int nCalls = 0;
  FeedScope feed([&](MSG *pMsg) -> BOOL {
    if (++nCalls > 1) return -1;
    // The mouse comes over "Save" and releases there.
    const CPoint pt = f.pPopup->GetControl(1)->GetRect().CenterPoint();
    ::SendMessageW(f.pPopup->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(f.pPopup->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    *pMsg = MSG{owner.GetHwnd(), WM_NULL, 0, 0, 0, {0, 0}};
    return TRUE;
  });
  EXPECT_EQ(TRUE, CXTPCommandBars::TrackPopupMenu(f.pPopup, 0, 100, 100, CWnd::FromHandle(owner.GetHwnd()),
                                                   nullptr, CWnd::FromHandle(notify.GetHwnd())));
  EXPECT_EQ(owner.GetHwnd(), f.pPopup->GetOwnerWindow());
  EXPECT_EQ(notify.GetHwnd(), f.pPopup->GetNotifyWindow());
  EXPECT_EQ(std::vector<UINT>{502}, Commands(notify));
  EXPECT_TRUE(Commands(owner).empty());
  const bool bStatus = std::any_of(owner.log.begin(), owner.log.end(),
                                   [](const MessageSite::Entry &e) { return e.message == 0x531; });
  EXPECT_TRUE(bStatus) << "the hovered row's status text goes to the owner";
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(TrackPopupMenu, ToolbarsPopupListsCloseableBars) {
  PopupMenuFixture f;
  const struct {
    LPCTSTR lpszTitle;
    XTPBarType type;
    BOOL bCloseable;
    BOOL bContextMenu;
  } kBars[] = {{L"Menu", xtpBarTypeMenuBar, TRUE, TRUE},
               {L"Standard", xtpBarTypeNormal, TRUE, TRUE},
               {L"Fixed", xtpBarTypeNormal, FALSE, TRUE},
               {L"Unlisted", xtpBarTypeNormal, TRUE, FALSE},
               {L"Format", xtpBarTypeNormal, TRUE, TRUE}};
  for (const auto &b : kBars) {
    auto *pBar = new TestBar(b.type, xtpBarTop);
    pBar->SetTitle(b.lpszTitle);
    pBar->SetCloseable(b.bCloseable);
    pBar->SetContextMenuPresent(b.bContextMenu);
    f.pCommandBars->AddBar(pBar);
    pBar->InternalRelease();
  }
  CXTPPopupBar *pList = f.pCommandBars->GetToolbarsPopup();
  ASSERT_EQ(2, pList->GetControlCount()); // customise is not available here
  EXPECT_EQ(CString(L"Standard"), pList->GetControl(0)->GetCaption());
  EXPECT_EQ(1, pList->GetControl(0)->GetTag());
  EXPECT_EQ(CString(L"Format"), pList->GetControl(1)->GetCaption());
  EXPECT_EQ(4, pList->GetControl(1)->GetTag());
  pList->InternalRelease();
}

} // namespace

namespace {

// A window whose update handlers enable, check and rename the bar's commands.
class UpdateTarget : public CWnd {
public:
  BOOL m_bEnable = FALSE;
  int m_nCheck = 1;
  afx_msg void OnOpen() {}
  afx_msg void OnSave() {}
  afx_msg void OnUpdateOpen(CCmdUI *pCmdUI) { pCmdUI->Enable(m_bEnable); }
  afx_msg void OnUpdateSave(CCmdUI *pCmdUI) {
    pCmdUI->SetCheck(m_nCheck);
    pCmdUI->SetText(L"Save &All");
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(UpdateTarget, CWnd)
ON_COMMAND(601, OnOpen)
ON_COMMAND(602, OnSave)
ON_UPDATE_COMMAND_UI(601, OnUpdateOpen)
ON_UPDATE_COMMAND_UI(602, OnUpdateSave)
END_MESSAGE_MAP()

TEST(CommandBarUpdate, HandlersEnableCheckAndRename) {
  UpdateTarget target;
  ASSERT_TRUE(target.CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"target",
                              WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  BarRef bar(new WindowBar(xtpBarTypeNormal, xtpBarTop));
  ASSERT_TRUE(bar->CreateBar());
  bar->SetOwnerWindow(target.GetSafeHwnd());
  bar->AddButton(601, L"Open");
  bar->AddButton(602, L"Save");
  bar->AddButton(603, L"Unhandled");
  CXTPControl *pManual = bar->AddButton(604, L"Manual");
  pManual->SetFlags(8); // left alone by the update
  bar->Place();
  bar->GetControl(1)->SetPressed(1);
  // A hidden bar is not updated.
  bar->OnIdleUpdateCmdUI(TRUE);
  EXPECT_TRUE(bar->GetControl(0)->GetEnabled());
  ::ShowWindow(bar->GetSafeHwnd(), SW_SHOWNOACTIVATE);
  bar->DelayLayout();
  ::SendMessageW(bar->GetSafeHwnd(), WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_FALSE(bar->GetControl(0)->GetEnabled());
  EXPECT_TRUE(bar->GetControl(1)->GetChecked());
  EXPECT_EQ(CString(L"Save &All"), bar->GetControl(1)->GetCaption());
  EXPECT_EQ(0, bar->GetControl(1)->GetPressed()); // a press left over is cleared
  EXPECT_FALSE(bar->GetControl(2)->GetEnabled()); // no handler: disabled when asked
  EXPECT_TRUE(pManual->GetEnabled());
  EXPECT_FALSE(bar->m_bDelayLayout);
  target.m_bEnable = TRUE;
  target.m_nCheck = 0;
  bar->OnIdleUpdateCmdUI(FALSE);
  EXPECT_TRUE(bar->GetControl(0)->GetEnabled());
  EXPECT_FALSE(bar->GetControl(1)->GetChecked());
  // A no-notify root (TrackPopupMenu's TPM_NONOTIFY) asks no handler.
  target.m_bEnable = FALSE;
  bar->SetNoNotify(TRUE);
  bar->OnIdleUpdateCmdUI(TRUE);
  EXPECT_TRUE(bar->GetControl(0)->GetEnabled());
  target.DestroyWindow();
}

// Command bars whose active menu is set by the test.
class MenuIdCommandBars : public CXTPCommandBars {
public:
  UINT m_nMenuID = 0;
  UINT GetActiveMenuID() override { return m_nMenuID; }
};

TEST(CommandBarUpdate, ControlsFollowTheirDocumentTemplatesAndHostedWindowsTheirCommands) {
  auto *pFrame = new CFrameWnd; // frames delete themselves when destroyed
  ASSERT_TRUE(pFrame->CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), L"frame",
                               WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  auto *pCommandBars = new MenuIdCommandBars;
  pCommandBars->SetSite(pFrame);
  {
    BarRef bar(new WindowBar(xtpBarTypeNormal, xtpBarTop));
    bar->SetCommandBars(pCommandBars);
    ASSERT_TRUE(bar->CreateBar());
    CXTPControl *pOnlyIn200 = bar->AddButton(801, L"Only 200");
    pOnlyIn200->GetDocTemplatesAssigned() = {200};
    CXTPControl *pNotIn200 = bar->AddButton(802, L"Not 200");
    pNotIn200->GetDocTemplatesExcluded() = {200};
    CXTPControl *pOnlyIn300 = bar->AddButton(803, L"Only 300");
    pOnlyIn300->GetDocTemplatesAssigned() = {300};
    CXTPControl *pAlways = bar->AddButton(804, L"Always");
    for (int i = 0; i < bar->GetControlCount(); i++) bar->GetControl(i)->SetFlags(8);
    bar->Place();
    ::ShowWindow(bar->GetSafeHwnd(), SW_SHOWNOACTIVATE);
    const struct {
      UINT nMenuID;
      bool bOnlyIn200, bNotIn200, bOnlyIn300;
    } kCases[] = {
        {200, true, false, false},
        {300, false, true, true},
        {0, false, true, true}, // no menu known: left as they were
        {200, true, false, false},
    };
    for (const auto &c : kCases) {
      SCOPED_TRACE(c.nMenuID);
      pCommandBars->m_nMenuID = c.nMenuID;
      bar->OnIdleUpdateCmdUI(TRUE);
      EXPECT_EQ(c.bOnlyIn200, pOnlyIn200->IsVisible());
      EXPECT_EQ(c.bNotIn200, pNotIn200->IsVisible());
      EXPECT_EQ(c.bOnlyIn300, pOnlyIn300->IsVisible());
      EXPECT_TRUE(pAlways->IsVisible());
    }
    EXPECT_NE(0u, pNotIn200->GetHideFlags() & 0x40) << "hidden by its document, not by the user";

    // Windows on the bar: a push button without a handler is disabled when
    // asked; an edit has no command and stays as it is.
    const HWND hButton =
        ::CreateWindowExW(0, L"BUTTON", L"Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 20, 20,
                          bar->GetSafeHwnd(), reinterpret_cast<HMENU>(805), nullptr, nullptr);
    const HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 30, 0, 40, 20,
                                         bar->GetSafeHwnd(), reinterpret_cast<HMENU>(806), nullptr, nullptr);
    bar->OnIdleUpdateCmdUI(TRUE);
    EXPECT_FALSE(::IsWindowEnabled(hButton));
    EXPECT_TRUE(::IsWindowEnabled(hEdit));
    bar->OnIdleUpdateCmdUI(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(hButton)) << "not asked to disable: left as it is";
    bar->SetCommandBars(nullptr);
    bar->DestroyWindow();
  }
  pCommandBars->InternalRelease();
  pFrame->DestroyWindow();
}

// The real cursor over a bar that is shown but not active: the moves select
// the control under it, as the system delivers them.
TEST(CommandBarMouse, RealCursorSelectsUnderIt) {
  BarRef bar(new WindowBar(xtpBarTypePopup, xtpBarPopup));
  ASSERT_TRUE(bar->CreateBar());
  bar->AddButton(1, L"One");
  bar->AddButton(2, L"Two");
  bar->AddButton(3, L"Three");
  bar->Place();
  ::SetWindowPos(bar->GetSafeHwnd(), HWND_TOPMOST, 20, 20, 200, 200, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::UpdateWindow(bar->GetSafeHwnd());
  POINT ptOld;
  ::GetCursorPos(&ptOld);
  auto moveTo = [&](int x, int y) {
    POINT pt = {x, y};
    ::ClientToScreen(bar->GetSafeHwnd(), &pt);
    ::SetCursorPos(pt.x, pt.y);
    const DWORD dwEnd = ::GetTickCount() + 500;
    MSG msg;
    while (::GetTickCount() < dwEnd) {
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      if (bar->GetSelectedIndex() != -1 &&
          bar->GetControl(bar->GetSelectedIndex())->GetRect().PtInRect({x, y}))
        break;
      ::Sleep(10);
    }
  };
  moveTo(50, 45);
  EXPECT_EQ(1, bar->GetSelectedIndex());
  moveTo(50, 75);
  EXPECT_EQ(2, bar->GetSelectedIndex());
  ::SetCursorPos(ptOld.x, ptOld.y);
  ::ShowWindow(bar->GetSafeHwnd(), SW_HIDE);
}

} // namespace

namespace {

// A frame whose help mode (Shift+F1) the test switches.
class HelpFrame : public CFrameWnd {
public:
  void SetHelpMode(BOOL bHelp) { m_bHelpMode = bHelp; }
};

TEST(CommandBarHelp, HelpModeHitTestMarksPopupsAsMenus) {
  HelpFrame *pFrame = new HelpFrame;
  ASSERT_TRUE(
      pFrame->Create(nullptr, L"help", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, nullptr, 0));
  BarRef bar(new WindowBar(xtpBarTypeNormal, xtpBarTop));
  ASSERT_TRUE(bar->CreateBar());
  bar->SetOwnerWindow(pFrame->GetSafeHwnd());
  bar->AddPopup(L"&File");
  bar->AddButton(57600, L"New");
  bar->Place();
  auto hitTest = [&](int x) {
    POINT pt = {x, 10};
    ::ClientToScreen(bar->GetSafeHwnd(), &pt);
    return ::SendMessageW(bar->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
  };
  EXPECT_EQ(HTCLIENT, hitTest(10));
  pFrame->SetHelpMode(TRUE);
  EXPECT_EQ(HTMENU, hitTest(10)); // a popup without a command of its own
  EXPECT_EQ(HTCLIENT, hitTest(40));
  EXPECT_EQ(HTCLIENT, hitTest(150));
  pFrame->SetHelpMode(FALSE);
  pFrame->DestroyWindow();
}

// Ctrl+Tab (and Ctrl+Shift+Tab) hand the keyboard to the next shown toolbar.
TEST(CommandBarKeys, CtrlTabMovesToTheNextToolbar) {
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetPaintManager(new CXTPDefaultTheme);
  WindowBar *pBars[3] = {};
  for (int i = 0; i < 3; i++) {
    pBars[i] = new WindowBar(xtpBarTypeNormal, xtpBarTop);
    ASSERT_TRUE(pBars[i]->CreateBar());
    pBars[i]->AddButton(700 + i, L"Button");
    pBars[i]->Place();
    if (i != 1) ::ShowWindow(pBars[i]->GetSafeHwnd(), SW_SHOWNOACTIVATE); // the middle one is hidden
    pCommandBars->AddBar(pBars[i]);
    pBars[i]->InternalRelease();
  }
  BYTE keys[256] = {}, saved[256] = {};
  ::GetKeyboardState(saved);
  memcpy(keys, saved, sizeof(keys));
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  pBars[0]->SetTrackingMode(1, TRUE, TRUE);
  EXPECT_TRUE(pBars[0]->Key(VK_TAB));
  EXPECT_FALSE(pBars[0]->IsTrackingMode());
  EXPECT_TRUE(pBars[2]->IsTrackingMode()); // the hidden one is passed over
  EXPECT_EQ(0, pBars[2]->GetSelectedIndex());
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_TRUE(pBars[2]->Key(VK_TAB));
  EXPECT_TRUE(pBars[0]->IsTrackingMode());
  ::SetKeyboardState(saved);
  pBars[0]->CancelTracking();
  pCommandBars->InternalRelease();
  EXPECT_EQ(0, WindowBar::s_nLive);
}

} // namespace

namespace {

// The last reference of a bar that still tracks goes: its window and its
// tracking end inside the release without a second delete.
TEST(CommandBarLifetime, TrackingBarReleasedByItsLastReference) {
  for (bool bWithWindow : {true, false}) {
    SCOPED_TRACE(bWithWindow ? "window" : "no window");
    WindowBar *pBar = new WindowBar(xtpBarTypeNormal, xtpBarTop);
    if (bWithWindow) {
      ASSERT_TRUE(pBar->CreateBar());
    }
    pBar->AddButton(1, L"&One");
    pBar->AddButton(2, L"&Two");
    pBar->Place();
    pBar->SetTrackingMode(1, TRUE, TRUE);
    ASSERT_TRUE(XTPGetMouseManager()->IsTrackedBar(pBar));
    const HWND hWnd = pBar->GetSafeHwnd();
    pBar->InternalRelease();
    EXPECT_EQ(0, WindowBar::s_nLive);
    EXPECT_FALSE(XTPGetMouseManager()->IsTrackedBar(pBar));
    if (bWithWindow) {
      EXPECT_FALSE(::IsWindow(hWnd));
    }
  }
}

} // namespace

namespace {

// The status notice of a selection that ends makes the owner destroy and
// release the bar while it handles a non-client move: the bar must not pass
// the message on to the default procedure of a window that is gone.
TEST(CommandBarLifetime, NoDefaultProcedureOnADeadWindow) {
  MessageSite site;
  WindowBar *pBar = new WindowBar(xtpBarTypeNormal, xtpBarTop);
  ASSERT_TRUE(pBar->CreateBar());
  const HWND hWnd = pBar->GetSafeHwnd();
  pBar->SetOwnerWindow(site.GetHwnd());
  pBar->AddButton(801, L"One");
  pBar->Place();
  pBar->SetSelected(0);
  site.answer = [&](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message == CXTPCommandBar::kMsgStatusControl && wParam == 0) {
      pBar->DestroyWindow();
      pBar->InternalRelease();
    }
    return 0;
  };
  WindowBar::s_nDeadDefault = 0;
  ::SendMessageW(hWnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(500, 500));
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(0, WindowBar::s_nLive);
  EXPECT_EQ(0, WindowBar::s_nDeadDefault);
}

} // namespace

namespace {

// The icon size a bar without its own takes from the options.
TEST(CommandBarIconSize, FollowsTheOptions) {
  const struct {
    XTPBarType type;
    BOOL bLarge;
    CSize szIcons, szLarge, expected;
  } cases[] = {
      {xtpBarTypeNormal, FALSE, CSize(0, 0), CSize(0, 0), CSize(16, 16)},
      {xtpBarTypeNormal, FALSE, CSize(24, 24), CSize(0, 0), CSize(24, 24)},
      {xtpBarTypeNormal, TRUE, CSize(0, 0), CSize(0, 0), CSize(32, 32)},
      {xtpBarTypeNormal, TRUE, CSize(24, 20), CSize(0, 0), CSize(48, 40)},
      {xtpBarTypeNormal, TRUE, CSize(24, 24), CSize(40, 40), CSize(40, 40)},
      {xtpBarTypePopup, TRUE, CSize(24, 24), CSize(0, 0), CSize(16, 16)},
  };
  for (const auto &c : cases) {
    CXTPCommandBars *pCommandBars = new CXTPCommandBars;
    CXTPCommandBarsOptions *pOptions = pCommandBars->GetCommandBarsOptions();
    pOptions->bLargeIcons = c.bLarge;
    pOptions->szIcons = c.szIcons;
    pOptions->szLargeIcons = c.szLarge;
    TestBar bar(c.type, c.type == xtpBarTypePopup ? xtpBarPopup : xtpBarTop);
    bar.SetCommandBars(pCommandBars);
    EXPECT_EQ(bar.GetIconSize(), c.expected) << c.szIcons.cx << "x" << c.szIcons.cy << " large " << c.bLarge;
    bar.SetCommandBars(nullptr);
    pCommandBars->InternalRelease();
  }
}

} // namespace

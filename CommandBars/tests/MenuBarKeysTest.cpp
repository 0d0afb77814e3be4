// The menu bar of a real frame driven by keys as the system's menus are:
// Left and Right inside a menu move to the neighbouring menu of the bar or
// in and out of submenus; Home, End, Down, Enter and mnemonics; Escape
// closes one menu at a time, and the keyboard focus goes back to the window
// that had it when the menus took the keys.
//
// The frame is shown without being activated; keys are handed to the
// thread's hooks, never typed.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "MiniFrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPControlPopup.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"
#include "XTPHookManager.h"
#include "XTPMenuBar.h"
#include "XTPPopupBar.h"

#include "WindowTestKit.h"
#include "../../Common/tests/MemoryCanvas.h"

namespace {

constexpr UINT kMenuId = 128;
constexpr int kFile = 0, kEdit = 1, kGo = 2, kView = 3;
constexpr UINT kOpen = 57601, kRecentOne = 57611, kCopy = 57634, kExit = 57665, kStatusBar = 59393;

class CKeysFrame : public CXTPFrameWnd {
public:
  UINT m_nLastCommand = 0;
  afx_msg void OnCommandRange(UINT nId) { m_nLastCommand = nId; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeysFrame, CXTPFrameWnd)
ON_COMMAND_RANGE(57601, 59393, OnCommandRange)
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

// A pane that keeps the system keys to itself, as a tree view does: the
// system's default handling never sees a lone Alt or F10 in it.
LRESULT CALLBACK KeepSystemKeysProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) return 0;
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND CreateKeyKeepingPane(HWND hParent) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = KeepSystemKeysProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QvKeepSystemKeys";
  ::RegisterClassW(&wc);
  return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hParent, nullptr,
                           wc.hInstance, nullptr);
}

class MenuBarKeys : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new CKeysFrame; // frames delete themselves when destroyed
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
    ASSERT_TRUE(pFrame->InitCommandBars());
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pMenuBar = pBars->SetMenu(L"Menu Bar", kMenuId);
    ASSERT_NE(nullptr, pMenuBar);
    hView = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pFrame->GetSafeHwnd(),
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr,
                              nullptr);
    pFrame->SetWindowPos(nullptr, 20, 20, 480, 320, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
    Pump();
  }
  void TearDown() override {
    for (int i = 0; i < 4 && pMenuBar && pMenuBar->IsTrackingMode(); i++) Key(VK_ESCAPE);
    Pump();
    if (pFrame) pFrame->DestroyWindow();
  }
  // A key as the thread's keyboard hook hands it to the tracking bars.
  void Key(UINT nKey) {
    CXTPThreadHooks::GetThreadHooks()->ProcessHooks(WM_KEYDOWN, nKey, 1);
    Pump();
  }
  // Alt as the frame's default handling gives it: keyboard tracking on File.
  void Alt() {
    ::SendMessageW(pFrame->GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Pump();
  }
  // A key pressed and released in a window as the system gives it: through
  // the frame's pre-translation, then to the window.
  void SystemKey(HWND hWnd, UINT nKey, bool bAlt) {
    const LPARAM context = bAlt ? 0x20000000 : 0;
    for (UINT message : {WM_SYSKEYDOWN, WM_SYSKEYUP}) {
      MSG msg = {hWnd, message, nKey, 1 | context | (message == WM_SYSKEYUP ? 0xC0000000 : 0), 0, {0, 0}};
      if (!pFrame->PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
    Pump();
  }
  CXTPCommandBar *MenuOf(int nIndex) { return pMenuBar->GetControl(nIndex)->GetCommandBar(); }
  CXTPCommandBar *Recent() { return MenuOf(kFile)->GetControl(1)->GetCommandBar(); }
  // The menu bar's open menu, or -1; the selected row's id in a menu.
  int OpenIndex() { return pMenuBar->GetPopupedIndex(); }
  static int SelectedId(CXTPCommandBar *pBar) {
    CXTPControl *pControl = pBar->GetSelected();
    return pControl ? pControl->GetID() : -1;
  }
  // Each open menu, from the menu bar's down to the innermost.
  int OpenDepth() {
    int nDepth = 0;
    for (CXTPCommandBar *pBar = pMenuBar; pBar && pBar->GetPopupedIndex() != -1; nDepth++)
      pBar = pBar->GetControl(pBar->GetPopupedIndex())->GetCommandBar();
    return nDepth;
  }

  CKeysFrame *pFrame = nullptr;
  CXTPCommandBars *pBars = nullptr;
  CXTPMenuBar *pMenuBar = nullptr;
  HWND hView = nullptr;
};

// Left and Right in an open menu, as the system's menus have them.
TEST_F(MenuBarKeys, LeftAndRightInAMenuMoveAlongTheBarAndThroughSubmenus) {
  struct Case {
    const char *what;
    UINT keys[4];
    int open;       // the menu bar's open menu afterwards
    int selected;   // the menu bar's selected item afterwards
    int depth;      // menus open, the bar's one counted
    UINT innermost; // the selected row of the innermost open menu (0: none open)
  };
  const Case cases[] = {
      {"Right on a plain row opens the next menu", {VK_RIGHT}, kEdit, kEdit, 1, kCopy},
      {"Left goes back to the previous menu", {VK_RIGHT, VK_LEFT}, kFile, kFile, 1, kOpen},
      {"Right onto a plain item of the bar selects it", {VK_RIGHT, VK_RIGHT}, -1, kGo, 0, 0},
      {"Left from the first menu wraps to the last", {VK_LEFT}, kView, kView, 1, kStatusBar},
      {"Right from the last menu wraps to the first", {VK_LEFT, VK_RIGHT}, kFile, kFile, 1, kOpen},
      {"Right on a submenu's row opens it", {VK_DOWN, VK_RIGHT}, kFile, kFile, 2, kRecentOne},
      {"Left in a submenu closes only it", {VK_DOWN, VK_RIGHT, VK_LEFT}, kFile, kFile, 1, 0},
      {"Right on a submenu's plain row opens the next menu",
       {VK_DOWN, VK_RIGHT, VK_RIGHT},
       kEdit,
       kEdit,
       1,
       kCopy},
      {"Escape in a submenu closes only it", {VK_DOWN, VK_RIGHT, VK_ESCAPE}, kFile, kFile, 1, 0},
      {"Escape in a menu closes it, back to the bar's item", {VK_RIGHT, VK_ESCAPE}, -1, kEdit, 0, 0},
      {"After Escape Right moves along the bar without opening", {VK_ESCAPE, VK_RIGHT}, -1, kEdit, 0, 0},
      {"After Escape Down opens the lit menu again", {VK_ESCAPE, VK_DOWN}, kFile, kFile, 1, kOpen},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Alt();
    ASSERT_TRUE(pMenuBar->IsTrackingMode());
    Key(VK_DOWN);
    ASSERT_EQ(kFile, OpenIndex());
    EXPECT_EQ(static_cast<int>(kOpen), SelectedId(MenuOf(kFile))) << "Down opens the menu on its first row";
    for (UINT nKey : c.keys)
      if (nKey) Key(nKey);
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(c.open, OpenIndex());
    EXPECT_EQ(c.selected, pMenuBar->GetSelectedIndex());
    EXPECT_EQ(c.depth, OpenDepth());
    if (c.depth == 1) {
      CXTPCommandBar *pMenu = MenuOf(OpenIndex());
      EXPECT_TRUE(pMenu->IsTrackingMode());
      EXPECT_TRUE(pMenu->IsVisible());
      if (c.innermost) {
        EXPECT_EQ(static_cast<int>(c.innermost), SelectedId(pMenu));
      } else {
        EXPECT_EQ(Recent(), pMenu->GetSelected()->GetCommandBar()) << "the submenu's row stays selected";
      }
    }
    if (c.depth == 2) {
      EXPECT_EQ(static_cast<int>(c.innermost), SelectedId(Recent()));
    }
    for (int i = 0; i < 4 && pMenuBar->IsTrackingMode(); i++) Key(VK_ESCAPE);
    ASSERT_FALSE(pMenuBar->IsTrackingMode());
  }
}

// Keys on the bar itself and in a menu besides the arrows.
TEST_F(MenuBarKeys, HomeEndEnterAndMnemonicsOnTheBarAndInAMenu) {
  Alt();
  Key(VK_END);
  EXPECT_EQ(kView, pMenuBar->GetSelectedIndex());
  Key(VK_HOME);
  EXPECT_EQ(kFile, pMenuBar->GetSelectedIndex());
  Key(VK_RIGHT);
  Key(VK_RETURN);
  EXPECT_EQ(kEdit, OpenIndex()) << "Enter opens the selected menu";
  EXPECT_EQ(static_cast<int>(kCopy), SelectedId(MenuOf(kEdit)));
  Key(VK_END);
  EXPECT_EQ(57637, SelectedId(MenuOf(kEdit)));
  Key(VK_HOME);
  EXPECT_EQ(static_cast<int>(kCopy), SelectedId(MenuOf(kEdit)));
  Key(VK_ESCAPE);
  Key('V');
  EXPECT_EQ(kView, OpenIndex()) << "a mnemonic on the tracking bar opens its menu";
  Key(VK_ESCAPE);
  Key('G');
  EXPECT_FALSE(pMenuBar->IsTrackingMode()) << "a plain item's mnemonic runs it";
  EXPECT_EQ(57670u, pFrame->m_nLastCommand);
  Alt();
  Key('F');
  ASSERT_EQ(kFile, OpenIndex());
  Key('R');
  EXPECT_EQ(2, OpenDepth()) << "a mnemonic in a menu opens its submenu";
  Key('O');
  EXPECT_FALSE(pMenuBar->IsTrackingMode()) << "a command row's mnemonic runs it and ends the tracking";
  EXPECT_EQ(kRecentOne, pFrame->m_nLastCommand);

  Alt();
  Key(VK_DOWN);
  Key(VK_UP); // wraps to the last row
  EXPECT_EQ(static_cast<int>(kExit), SelectedId(MenuOf(kFile)));
  Key(VK_RETURN);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());
  EXPECT_EQ(kExit, pFrame->m_nLastCommand);
}

// Escape closes the open menu, then ends the tracking; the focus is where
// it was when the menus took the keys, even when something took it away
// meanwhile.
TEST_F(MenuBarKeys, EscapeGivesTheFocusBackToTheWindowThatHadIt) {
  struct Case {
    const char *what;
    HWND (*takeFocus)(HWND hFrame, HWND hMenu); // where the focus goes while the menus track
  } cases[] = {
      {"focus left alone", [](HWND, HWND) -> HWND { return nullptr; }},
      {"focus dropped", [](HWND, HWND) -> HWND { return ::SetFocus(nullptr), nullptr; }},
      {"focus on the frame", [](HWND hFrame, HWND) -> HWND { return ::SetFocus(hFrame), nullptr; }},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ::SetFocus(hView);
    ASSERT_EQ(hView, ::GetFocus());
    Alt();
    Key(VK_DOWN);
    ASSERT_EQ(kFile, OpenIndex());
    c.takeFocus(pFrame->GetSafeHwnd(), MenuOf(kFile)->GetSafeHwnd());
    Key(VK_ESCAPE);
    EXPECT_EQ(-1, OpenIndex());
    EXPECT_EQ(kFile, pMenuBar->GetSelectedIndex());
    EXPECT_TRUE(pMenuBar->IsTrackingMode()) << "the first Escape closes only the menu";
    Key(VK_ESCAPE);
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(hView, ::GetFocus());
  }

  // A window the user or a command chose keeps the focus.
  HWND hOther = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pFrame->GetSafeHwnd(),
                                  nullptr, nullptr, nullptr);
  ::SetFocus(hView);
  Alt();
  ::SetFocus(hOther);
  Key(VK_ESCAPE);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());
  EXPECT_EQ(hOther, ::GetFocus());
}

// Alt or F10 alone opens the menus also from a pane that keeps the system
// keys from the system's default handling; with another key between press
// and release, or Shift with F10, it does not.
TEST_F(MenuBarKeys, AloneAltAndF10OpenTheMenusFromAPaneThatKeepsSystemKeys) {
  const HWND hPane = CreateKeyKeepingPane(pFrame->GetSafeHwnd());
  ASSERT_NE(nullptr, hPane);
  for (HWND hFocus : {hView, hPane}) {
    ::SetFocus(hFocus);
    ASSERT_EQ(hFocus, ::GetFocus());
    for (UINT nKey : {static_cast<UINT>(VK_MENU), static_cast<UINT>(VK_F10)}) {
      SCOPED_TRACE(testing::Message() << (hFocus == hPane ? "keeping pane " : "edit ") << nKey);
      SystemKey(hFocus, nKey, nKey == VK_MENU);
      ASSERT_TRUE(pMenuBar->IsTrackingMode());
      EXPECT_EQ(kFile, pMenuBar->GetSelectedIndex());
      Key(VK_ESCAPE);
      ASSERT_FALSE(pMenuBar->IsTrackingMode());
      EXPECT_EQ(hFocus, ::GetFocus());
    }
  }

  // Alt held over another key is no lone Alt.
  MSG down = {hPane, WM_SYSKEYDOWN, VK_MENU, 0x20000001, 0, {0, 0}};
  MSG other = {hPane, WM_SYSKEYDOWN, 'Q', 0x20000001, 0, {0, 0}};
  MSG up = {hPane, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xE0000001), 0, {0, 0}};
  for (MSG *pMsg : {&down, &other, &up}) pFrame->PreTranslateMessage(pMsg);
  Pump();
  EXPECT_FALSE(pMenuBar->IsTrackingMode()) << "Alt+Q";

  BYTE keys[256];
  ASSERT_TRUE(::GetKeyboardState(keys));
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  SystemKey(hPane, VK_F10, false);
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(pMenuBar->IsTrackingMode()) << "Shift+F10 is the context menu's";
}

TEST_F(MenuBarKeys, AltAndALetterInAFloatingMiniFrameOpenTheOwnersMenu) {
  // A floating palette is a mini frame owned by the frame: its keys are the
  // frame's, not a frame of their own.
  auto *pMini = new CMiniFrameWnd; // frames delete themselves when destroyed
  ASSERT_TRUE(pMini->CreateEx(0, AfxRegisterWndClass(0), L"Palette", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                              CRect(520, 20, 640, 120), pFrame));
  const HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20,
                                       pMini->GetSafeHwnd(), nullptr, nullptr, nullptr);
  ::SetFocus(hEdit);
  ASSERT_EQ(hEdit, ::GetFocus());
  MSG msg = {hEdit, WM_SYSKEYDOWN, 'F', 0x20000001, 0, {0, 0}};
  EXPECT_TRUE(pBars->PreTranslateFrameMessage(&msg));
  Pump();
  EXPECT_EQ(kFile, OpenIndex());
  Key(VK_ESCAPE);
  Key(VK_ESCAPE);
  pMini->DestroyWindow();
}

// The mouse after the keys: Escape closes a menu that a click dropped and
// leaves its title lit; a click on another title then opens that menu at
// once, as the system's menu bar does, and a click on the lit title itself
// opens it again.
TEST_F(MenuBarKeys, AClickOnATitleAfterEscapeOpensItsMenu) {
  auto center = [this](int nIndex) {
    CPoint pt = pMenuBar->GetControl(nIndex)->GetRect().CenterPoint();
    pMenuBar->ClientToScreen(&pt);
    return pt;
  };
  auto click = [](CPoint pt) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt);
    PumpFor(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(200);
  };
  struct Case {
    const char *what;
    int second; // the title clicked after Escape
  } cases[] = {{"another title", kEdit}, {"the same title", kFile}, {"a title further on", kView}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    click(center(kFile));
    ASSERT_EQ(kFile, OpenIndex()) << "a click drops the menu";
    Key(VK_ESCAPE);
    ASSERT_EQ(-1, OpenIndex());
    click(center(c.second));

    EXPECT_EQ(c.second, OpenIndex()) << "one click opens the menu";
    for (int i = 0; i < 4 && pMenuBar->IsTrackingMode(); i++) Key(VK_ESCAPE);
    ASSERT_FALSE(pMenuBar->IsTrackingMode());
  }
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
            {::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5});
  PumpFor(50);
}

// A menu bar whose titles are long words with mid-word mnemonics, as the
// German and Spanish menus have: the first paint lays the titles out as they
// stay after a menu has been opened, and each title's text fills the cell it
// was measured for, so the gaps between the words are even.
class MenuBarLongTitles : public MenuBarKeys {
protected:
  static constexpr UINT kLongTitlesMenuId = 130;
  void SetUp() override {
    pFrame = new CKeysFrame;
    ASSERT_TRUE(pFrame->LoadFrame(kLongTitlesMenuId, WS_POPUP | WS_BORDER));
    ASSERT_TRUE(pFrame->InitCommandBars());
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pMenuBar = pBars->SetMenu(L"Menu Bar", kLongTitlesMenuId);
    ASSERT_NE(nullptr, pMenuBar);
    pFrame->SetWindowPos(nullptr, 20, 20, 640, 240, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
    Pump();
  }
  std::vector<CRect> TitleRects() {
    std::vector<CRect> rects;
    for (int i = 0; i < pMenuBar->GetControlCount(); i++) rects.push_back(pMenuBar->GetControl(i)->GetRect());
    return rects;
  }
  // Each title's ink as the bar paints it: its first and last column.
  std::vector<std::pair<int, int>> TitleInk() {
    CRect rcClient;
    pMenuBar->GetClientRect(&rcClient);
    MemoryCanvas canvas(rcClient.Width(), rcClient.Height());
    pMenuBar->DrawCommandBar(&canvas.dc, rcClient);
    std::vector<std::pair<int, int>> ink;
    for (const CRect &rc : TitleRects()) {
      const COLORREF clrFace = canvas.Pixel(rc.left + 1, rc.top + 1);
      int nFirst = -1, nLast = -1;
      for (int x = rc.left; x < rc.right; x++)
        for (int y = rc.top + 2; y < rc.bottom - 2; y++)
          if (canvas.Pixel(x, y) != clrFace) {
            if (nFirst < 0) nFirst = x;
            nLast = x;
            break;
          }
      ink.emplace_back(nFirst, nLast);
    }
    return ink;
  }
};

TEST_F(MenuBarLongTitles, TitlesAreLaidOutEvenlyFromTheFirstPaint) {
  const std::vector<CRect> first = TitleRects();
  const std::vector<std::pair<int, int>> ink = TitleInk();
  ASSERT_EQ(6u, first.size());

  // Opening a menu (and so measuring its titles again) moves nothing.
  Alt();
  Key(VK_DOWN);
  ASSERT_EQ(kFile, OpenIndex());
  Key(VK_ESCAPE);
  Key(VK_ESCAPE);
  ASSERT_FALSE(pMenuBar->IsTrackingMode());
  EXPECT_EQ(first, TitleRects());
  EXPECT_EQ(ink, TitleInk());

  // The text starts the same distance into every cell and ends the same
  // distance before its end: a glyph may stop a pixel or two short of its
  // advance, a long word no more than a short one.
  std::vector<int> left, right;
  for (size_t i = 0; i < first.size(); i++) {
    ASSERT_GE(ink[i].first, 0) << i;
    left.push_back(ink[i].first - first[i].left);
    right.push_back(first[i].right - 1 - ink[i].second);
  }
  EXPECT_LE(*std::max_element(left.begin(), left.end()) - *std::min_element(left.begin(), left.end()), 1);
  EXPECT_LE(*std::max_element(right.begin(), right.end()) - *std::min_element(right.begin(), right.end()), 2);
  for (size_t i = 0; i < first.size(); i++) EXPECT_LE(right[i], 3 + 2) << "title " << i;
}

} // namespace

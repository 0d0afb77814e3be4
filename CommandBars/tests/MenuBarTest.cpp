// Menu bar: built from a menu resource on a framework frame, which hands its
// menu over; Alt and F10 start keyboard tracking and mnemonics open the popups
// through the bar's key handling; the icon query reaches only child frames.
//
// No real typing and no window is activated: keys go to the bar's hook client.
#include <gtest/gtest.h>

#include "CommandBarsTestSupport.h"
#include "FrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPMenuBar.h"

using namespace cbtest;

namespace {

constexpr UINT kMenuId = 128;

class MenuBarFixture : public testing::Test {
protected:
  void SetUp() override {
    pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_OVERLAPPEDWINDOW));
    hMenu = ::GetMenu(pFrame->GetSafeHwnd());
    ASSERT_NE(nullptr, hMenu);
    ASSERT_EQ(hMenu, pFrame->m_hMenuDefault);
    pBar = new CXTPMenuBar;
    pBar->SetPaintManager(new CXTPDefaultTheme);
    pBar->SetOwnerWindow(pFrame->GetSafeHwnd());
  }
  void TearDown() override {
    if (pFrame) pFrame->DestroyWindow();
    if (pBar) pBar->InternalRelease();
  }
  void Show() {
    ASSERT_TRUE(pBar->CreateFloatingWindow(nullptr, TRUE));
    pBar->SetVisible(TRUE);
  }
  BOOL Key(UINT nVirtKey) {
    WPARAM w = nVirtKey;
    LPARAM l = 0;
    LRESULT r = 0;
    return pBar->OnHookMessage(nullptr, WM_KEYDOWN, w, l, r) == xtpHookHandled;
  }

  CFrameWnd *pFrame = nullptr;
  CXTPMenuBar *pBar = nullptr;
  HMENU hMenu = nullptr;
};

TEST_F(MenuBarFixture, BuiltFromTheMenuResource) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  EXPECT_EQ(xtpBarTypeMenuBar, pBar->GetType());
  EXPECT_EQ(kMenuId, pBar->GetResourceId());
  EXPECT_EQ(kMenuId, pBar->GetCurrentMenuId());
  ASSERT_EQ(3, pBar->GetControlCount());
  EXPECT_EQ(CString(L"&File"), pBar->GetControl(0)->GetCaption());
  EXPECT_EQ(CString(L"&Edit"), pBar->GetControl(1)->GetCaption());
  EXPECT_EQ(57670, pBar->GetControl(2)->GetID());
  EXPECT_NE(nullptr, pBar->GetControl(0)->GetCommandBar());
}

TEST_F(MenuBarFixture, MissingResourceLeavesTheBarEmptyAndTheMenuOnTheFrame) {
  EXPECT_FALSE(pBar->LoadMenu(4321));
  EXPECT_EQ(0, pBar->GetControlCount());
  EXPECT_EQ(hMenu, ::GetMenu(pFrame->GetSafeHwnd()));
}

TEST_F(MenuBarFixture, FrameHandsItsMenuOver) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  EXPECT_EQ(hMenu, pBar->GetFrameMenu());
  EXPECT_EQ(nullptr, pFrame->m_hMenuDefault);
  // The frame's own menu update must not put the native menu back.
  pFrame->OnUpdateFrameMenu(nullptr);
  EXPECT_EQ(nullptr, ::GetMenu(pFrame->GetSafeHwnd()));
  // The frame goes first: the menu is still the bar's, and goes with it.
  pFrame->DestroyWindow();
  pFrame = nullptr;
  EXPECT_TRUE(::IsMenu(hMenu));
  pBar->InternalRelease();
  pBar = nullptr;
  EXPECT_FALSE(::IsMenu(hMenu));
}

TEST_F(MenuBarFixture, AltAndF10StartTrackingAndMnemonicsOpenPopups) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  Show();
  // Through the frame's hook, as the system sends it for Alt or F10.
  EXPECT_EQ(0, ::SendMessageW(pFrame->GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0));
  EXPECT_TRUE(pBar->IsTrackingMode());
  EXPECT_EQ(0, pBar->GetSelectedIndex());
  EXPECT_EQ(-1, pBar->GetPopupedIndex());
  EXPECT_TRUE(Key('E'));
  EXPECT_EQ(1, pBar->GetPopupedIndex());
  pBar->CancelTracking();
  EXPECT_FALSE(pBar->IsTrackingMode());
  EXPECT_EQ(-1, pBar->GetPopupedIndex());
}

TEST_F(MenuBarFixture, KeyMenuCasesTheBarLeavesAlone) {
  ASSERT_TRUE(pBar->LoadMenu(kMenuId));
  auto sysKey = [&](WPARAM w, LPARAM l) {
    LRESULT r = 0;
    return pBar->OnHookMessage(pFrame->GetSafeHwnd(), WM_SYSCOMMAND, w, l, r) == xtpHookHandled;
  };
  EXPECT_FALSE(sysKey(SC_KEYMENU, 0)); // no window yet: not visible
  Show();
  EXPECT_FALSE(sysKey(SC_KEYMENU, 'f')); // Alt+letter is the mnemonic path's
  EXPECT_FALSE(sysKey(SC_CLOSE, 0));
  BYTE keys[256] = {};
  ASSERT_TRUE(::GetKeyboardState(keys));
  const BYTE keysBefore = keys[VK_SHIFT];
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(sysKey(SC_KEYMENU, 0)); // Shift+Alt
  keys[VK_SHIFT] = keysBefore;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(pBar->IsTrackingMode());
  EXPECT_TRUE(sysKey(SC_KEYMENU | 3, 0)); // the low bits are the system's
  EXPECT_TRUE(pBar->IsTrackingMode());
  pBar->CancelTracking();
  pBar->SetVisible(FALSE);
  EXPECT_FALSE(sysKey(SC_KEYMENU, 0));
}

// A window that gives the icon query a meaning of its own.
LRESULT CALLBACK OwnMeaningProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == XTP_WM_QUERYCHILDICON) return 0x1234;
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST(MenuBarChildIcon, OnlyChildFramesAreAskedTheQuery) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = OwnMeaningProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MenuBarOwnMeaning";
  ::RegisterClassW(&wc);
  HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(nullptr, hWnd);
  HICON hSmall = ::LoadIconW(nullptr, IDI_INFORMATION);
  EXPECT_EQ(::LoadIconW(nullptr, IDI_WINLOGO), CXTPMenuBar::GetChildIcon(hWnd));
  ::SendMessageW(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
  EXPECT_EQ(hSmall, CXTPMenuBar::GetChildIcon(hWnd));
  ::DestroyWindow(hWnd);
}

} // namespace

// The message pump that long loops call between units of work.
#include <windows.h>

#include <gtest/gtest.h>

#include "QuendalVarnoth.h"

namespace {

class PumpMessagesTest : public ::testing::Test {
protected:
  void SetUp() override {
    MSG stale;
    while (PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  CQuendalVarnothApp m_app;
};

// A window that counts the messages it is sent.
struct CountingWindow {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
      ++*reinterpret_cast<int *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  CountingWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QvPumpCounting";
    RegisterClassW(&wc);
    hwnd = CreateWindowW(L"QvPumpCounting", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));
  }
  ~CountingWindow() { DestroyWindow(hwnd); }
  HWND hwnd = nullptr;
  int count = 0;
};

TEST_F(PumpMessagesTest, EmptyQueueReturnsAtOnce) {
  DWORD start = GetTickCount();
  EXPECT_EQ(m_app.PumpMessages(), 1);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(PumpMessagesTest, DispatchesEverythingWaiting) {
  CountingWindow window;
  for (int i = 0; i < 3; i++) PostMessageW(window.hwnd, WM_APP, 0, 0);
  EXPECT_EQ(m_app.PumpMessages(), 1);
  EXPECT_EQ(window.count, 3);
  MSG left;
  EXPECT_FALSE(PeekMessageW(&left, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(PumpMessagesTest, QuitReturnsZeroAndLeavesQuitForTheMainLoop) {
  CountingWindow window;
  PostMessageW(window.hwnd, WM_APP, 0, 0);
  PostQuitMessage(7);
  EXPECT_EQ(m_app.PumpMessages(), 0);
  EXPECT_EQ(window.count, 1);
  MSG quit;
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT));
}

} // namespace

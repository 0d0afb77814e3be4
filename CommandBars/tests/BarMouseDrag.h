// What the tests that handle bars with the real mouse share (input
// synthesised under Xvfb): mouse input, a pump that waits, a frame that is
// never activated, and a fixture that gives the frame four dock bars and
// drags with a hand on another thread while a loop holds this one.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>
#include <vector>

#include "FrameWnd.h"
#include "WindowTestKit.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"
#include "XTPToolBar.h"

namespace bartest {

inline void MoveMouse(POINT pt) {
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt);
}

// Runs the messages for at least the given time: synthesised input takes a
// while to come back as messages.
inline void Pump(DWORD dwMilliseconds) {
  const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
  do {
    PumpPendingMessages();
    ::Sleep(5);
  } while (static_cast<LONG>(::GetTickCount() - dwEnd) < 0);
}

// No window of this thread may become the active one.
inline LRESULT CALLBACK RefuseActivation(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HCBT_ACTIVATE) return 1;
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Ends a drag or resize that never saw its release (input lost on the way):
// the loop ends when the capture goes.
inline void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ::ReleaseCapture();
}

// A frame that takes clicks without becoming active (Wine drops a click
// whose window refuses an activation it asked for).
class InactiveFrame : public CFrameWnd {
protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

// The frame's docking seen by its bars: four dock bars and the frame's
// layout.
class FrameSite : public CXTPToolBarSite {
public:
  CFrameWnd *pFrame = nullptr;
  CXTPDockBar *pDockBars[4] = {};
  void RecalcFrameLayout(CXTPToolBar *) override {
    if (pFrame) pFrame->RecalcLayout();
  }
  BOOL DockBarAt(CXTPToolBar *pBar, XTPBarPosition position) override {
    if (position == xtpBarFloating) return FloatCommandBar(pBar);
    return DockCommandBar(pBar, nullptr, GetDockBar(position));
  }
  CXTPDockBar *GetDockBar(int nPosition) const override {
    return nPosition >= 0 && nPosition < 4 ? pDockBars[nPosition] : nullptr;
  }
};

// An inactive frame with four dock bars, under a hook that keeps every
// window of the thread from becoming active. The fixture makes the bar it
// tests between CreateFrame() and ShowFrame(), and releases it before
// DestroyFrame().
class BarMouseTest : public ::testing::Test {
protected:
  void CreateFrame(const wchar_t *pszTitle, int cx, int cy) {
    m_hHook = ::SetWindowsHookExW(WH_CBT, RefuseActivation, nullptr, ::GetCurrentThreadId());
    m_pCommandBars = new CXTPCommandBars;
    m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    m_pFrame = new InactiveFrame;
    ASSERT_TRUE(m_pFrame->CreateEx(WS_EX_NOACTIVATE,
                                   AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), pszTitle,
                                   WS_OVERLAPPEDWINDOW, 60, 60, cx, cy, nullptr, nullptr));
    m_site.pFrame = m_pFrame;
    const DWORD kStyles[4] = {kDockStyleTop, kDockStyleBottom, kDockStyleLeft, kDockStyleRight};
    const UINT kIds[4] = {kDockBarIdTop, kDockBarIdBottom, kDockBarIdLeft, kDockBarIdRight};
    for (int i = 0; i < 4; i++) {
      m_docks[i] = new CXTPDockBar(m_pCommandBars);
      ASSERT_TRUE(m_docks[i]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | kStyles[i], kIds[i]));
      m_site.pDockBars[i] = m_docks[i];
    }
  }
  void ShowFrame() {
    m_pFrame->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_pFrame->RecalcLayout();
    Pump(100);
  }
  // Also parks the cursor in a corner, away from the next test's windows.
  void DestroyFrame() {
    if (m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();
    for (CXTPDockBar *pDock : m_docks) delete pDock;
    m_pCommandBars->InternalRelease();
    ::UnhookWindowsHookEx(m_hHook);
    MoveMouse({::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5});
    Pump(50);
  }

  // Presses at a point, then (from another thread, while the drag or resize
  // loop runs) walks the cursor through the points and releases it.
  void Drag(CPoint ptFrom, std::vector<CPoint> path) {
    MoveMouse(ptFrom);
    Pump(60);
    m_nWatchdog = ::SetTimer(nullptr, 0, 8000, Watchdog);
    std::thread hand([path] {
      ::Sleep(150);
      for (const CPoint &pt : path) {
        MoveMouse(pt);
        ::Sleep(60);
      }
      SendMouse(MOUSEEVENTF_LEFTUP);
    });
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(150 + 60 * static_cast<DWORD>(path.size()) + 200);
    hand.join();
    Pump(100);
    ::KillTimer(nullptr, m_nWatchdog);
    m_nWatchdog = 0;
  }
  void Click(CPoint pt) { ClickTimes(pt, 1); }
  void DoubleClick(CPoint pt) { ClickTimes(pt, 2); }

  HHOOK m_hHook = nullptr;
  UINT_PTR m_nWatchdog = 0;
  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr;
  CXTPDockBar *m_docks[4] = {};
  FrameSite m_site;

private:
  void ClickTimes(CPoint pt, int nClicks) {
    MoveMouse(pt);
    Pump(60);
    for (int i = 0; i < nClicks; i++) {
      SendMouse(MOUSEEVENTF_LEFTDOWN);
      SendMouse(MOUSEEVENTF_LEFTUP);
    }
    Pump(200);
  }
};

} // namespace bartest

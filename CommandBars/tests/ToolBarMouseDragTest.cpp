// A toolbar dragged with the real mouse (input synthesised under Xvfb): from
// its gripper to the bottom of the frame, out into the open, and docked back
// by a double click on its caption. The moves come from another thread while
// the drag loop holds this one, as a user's hand would.
//
// Moves the cursor: runs alone. The frame is shown but never activated.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "FrameWnd.h"
#include "WindowTestKit.h"
#include "XTPCommandBars.h"
#include "XTPDefaultTheme.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"
#include "XTPToolBar.h"

namespace {

void SendMouse(DWORD dwFlags, POINT pt = {0, 0}) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = dwFlags;
  if (dwFlags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = MulDiv(pt.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(pt.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  ::SendInput(1, &input, sizeof(input));
}

void MoveMouse(POINT pt) {
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt);
}

void Pump(DWORD dwMilliseconds) {
  const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
  do {
    PumpPendingMessages();
    ::Sleep(5);
  } while (static_cast<LONG>(::GetTickCount() - dwEnd) < 0);
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

// No window of this thread may become the active one.
LRESULT CALLBACK RefuseActivation(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HCBT_ACTIVATE) return 1;
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Ends a drag that never saw its release (input lost on the way): the loop
// ends when the capture goes.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ::ReleaseCapture();
}

class ToolBarMouseDrag : public ::testing::Test {
protected:
  void SetUp() override {
    m_hHook = ::SetWindowsHookExW(WH_CBT, RefuseActivation, nullptr, ::GetCurrentThreadId());
    m_pCommandBars = new CXTPCommandBars;
    m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
    m_pFrame = new InactiveFrame;
    ASSERT_TRUE(
        m_pFrame->CreateEx(WS_EX_NOACTIVATE, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)),
                           L"mouse drag test", WS_OVERLAPPEDWINDOW, 60, 60, 560, 420, nullptr, nullptr));
    m_site.pFrame = m_pFrame;
    const DWORD kStyles[4] = {kDockStyleTop, kDockStyleBottom, kDockStyleLeft, kDockStyleRight};
    const UINT kIds[4] = {kDockBarIdTop, kDockBarIdBottom, kDockBarIdLeft, kDockBarIdRight};
    for (int i = 0; i < 4; i++) {
      m_docks[i] = new CXTPDockBar(m_pCommandBars);
      ASSERT_TRUE(m_docks[i]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | kStyles[i], kIds[i]));
      m_site.pDockBars[i] = m_docks[i];
    }
    m_pBar = new CXTPToolBar;
    m_pBar->SetCommandBars(m_pCommandBars);
    m_pBar->SetSite(&m_site);
    const UINT ids[] = {101, 102, 103, 104};
    m_pBar->SetButtons(ids, 4);
    m_pBar->EnableDocking(0x1F);
    ASSERT_TRUE(m_pBar->CreateFloatingWindow(m_pFrame, FALSE));
    ASSERT_TRUE(m_site.DockBarAt(m_pBar, xtpBarTop));
    m_pBar->SetVisible(TRUE);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_pFrame->RecalcLayout();
    Pump(100);
  }
  void TearDown() override {
    ::KillTimer(nullptr, m_nWatchdog);
    if (m_pBar->GetSafeHwnd()) m_pBar->DestroyWindow();
    m_pBar->InternalRelease();
    if (m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();
    for (CXTPDockBar *pDock : m_docks) delete pDock;
    m_pCommandBars->InternalRelease();
    ::UnhookWindowsHookEx(m_hHook);
    MoveMouse({::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5});
    Pump(50);
  }

  CRect ClientRect() const {
    CRect rc;
    m_pFrame->GetClientRect(&rc);
    m_pFrame->ClientToScreen(&rc);
    return rc;
  }
  // The gripper of a docked bar, the caption of a floating one.
  CPoint GripPoint() const {
    CRect rc;
    m_pBar->GetClientRect(&rc);
    CPoint pt = m_pBar->IsFloating() ? CPoint(8, 6) : CPoint(3, rc.Height() / 2);
    m_pBar->ClientToScreen(&pt);
    return pt;
  }
  // Presses at the grip, then (from another thread, while the drag loop
  // runs) walks the cursor through the points and releases it.
  void Drag(std::vector<CPoint> path) {
    const CPoint ptGrip = GripPoint();
    MoveMouse(ptGrip);
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
  void DoubleClick(CPoint pt) {
    MoveMouse(pt);
    Pump(60);
    for (int i = 0; i < 2; i++) {
      SendMouse(MOUSEEVENTF_LEFTDOWN);
      SendMouse(MOUSEEVENTF_LEFTUP);
    }
    Pump(200);
  }
  BOOL DockedOn(int nSide) const {
    return !m_pBar->IsFloating() && m_pBar->GetPosition() == nSide &&
           ::GetParent(m_pBar->GetSafeHwnd()) == m_docks[nSide]->GetSafeHwnd();
  }

  HHOOK m_hHook = nullptr;
  UINT_PTR m_nWatchdog = 0;
  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr;
  CXTPDockBar *m_docks[4] = {};
  FrameSite m_site;
  CXTPToolBar *m_pBar = nullptr;
};

TEST_F(ToolBarMouseDrag, DraggedToTheBottomFloatedAndDockedBackByDoubleClick) {
  const CRect rcClient = ClientRect();
  const CPoint ptMiddle = rcClient.CenterPoint();
  Drag({ptMiddle, CPoint(ptMiddle.x, rcClient.bottom - 40), CPoint(ptMiddle.x, rcClient.bottom - 4)});
  EXPECT_TRUE(DockedOn(xtpBarBottom));
  EXPECT_EQ(::GetCapture(), nullptr);

  Drag({CPoint(ptMiddle.x, rcClient.bottom - 60), ptMiddle});
  ASSERT_TRUE(m_pBar->IsFloating());
  CRect rcBar;
  m_pBar->GetWindowRect(&rcBar);
  rcBar.InflateRect(1, 1);
  EXPECT_TRUE(rcBar.PtInRect(ptMiddle)) << "the bar followed the cursor";

  DoubleClick(GripPoint());
  EXPECT_TRUE(DockedOn(xtpBarBottom)) << "docked back where the drag took it from";
  EXPECT_NE(::GetActiveWindow(), m_pFrame->GetSafeHwnd());
}

} // namespace

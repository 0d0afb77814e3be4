// A dialog bar handled with the real mouse (input synthesised under Xvfb):
// docked at the left of a frame and widened by its right edge, floated and
// resized by its corner (not below its minimum), and its caption's popup
// opened by a click. The moves come from another thread while the resize
// loop holds this one, as a user's hand would.
//
// Moves the cursor: runs alone. The frame is shown but never activated.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "FrameWnd.h"
#include "WindowTestKit.h"
#include "XTPCommandBars.h"
#include "XTPControls.h"
#include "XTPDefaultTheme.h"
#include "XTPDialogBar.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"
#include "XTPMouseManager.h"

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

LRESULT CALLBACK RefuseActivation(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HCBT_ACTIVATE) return 1;
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Ends a resize that never saw its release: the loop ends with the capture.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ::ReleaseCapture();
}

class DialogBarMouse : public ::testing::Test {
protected:
  void SetUp() override {
    m_hHook = ::SetWindowsHookExW(WH_CBT, RefuseActivation, nullptr, ::GetCurrentThreadId());
    m_pCommandBars = new CXTPCommandBars;
    m_pCommandBars->SetPaintManager(new CXTPDefaultTheme);
    m_pFrame = new InactiveFrame;
    ASSERT_TRUE(
        m_pFrame->CreateEx(WS_EX_NOACTIVATE, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)),
                           L"dialog bar test", WS_OVERLAPPEDWINDOW, 60, 60, 620, 460, nullptr, nullptr));
    m_site.pFrame = m_pFrame;
    const DWORD kStyles[4] = {kDockStyleTop, kDockStyleBottom, kDockStyleLeft, kDockStyleRight};
    const UINT kIds[4] = {kDockBarIdTop, kDockBarIdBottom, kDockBarIdLeft, kDockBarIdRight};
    for (int i = 0; i < 4; i++) {
      m_docks[i] = new CXTPDockBar(m_pCommandBars);
      ASSERT_TRUE(m_docks[i]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | kStyles[i], kIds[i]));
      m_site.pDockBars[i] = m_docks[i];
    }
    m_pBar = new CXTPDialogBar;
    m_pBar->SetCommandBars(m_pCommandBars);
    m_pBar->SetSite(&m_site);
    m_pBar->SetOwnerWindow(m_pFrame->GetSafeHwnd());
    m_pBar->SetTitle(L"Folders");
    m_pBar->SetDockingClientSize(CSize(150, 200));
    m_pBar->EnableDocking(0x1F);
    ASSERT_TRUE(m_pBar->CreateFloatingWindow(m_pFrame, FALSE));
    m_hWndChild = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 10, 10,
                                    m_pFrame->GetSafeHwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    m_pBar->SetChild(m_hWndChild);
    ASSERT_TRUE(m_site.DockBarAt(m_pBar, xtpBarLeft));
    m_pBar->SetVisible(TRUE);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_pFrame->RecalcLayout();
    Pump(100);
  }
  void TearDown() override {
    ::KillTimer(nullptr, m_nWatchdog);
    m_pBar->CancelTracking();
    if (m_pBar->GetSafeHwnd()) m_pBar->DestroyWindow();
    m_pBar->InternalRelease();
    if (m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();
    for (CXTPDockBar *pDock : m_docks) delete pDock;
    m_pCommandBars->InternalRelease();
    ::UnhookWindowsHookEx(m_hHook);
    MoveMouse({::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5});
    Pump(50);
  }

  CRect WindowRect() const {
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    return rc;
  }
  // Presses at a point, walks the cursor (from another thread, while the
  // resize loop runs) through the points and releases it.
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
  void Click(CPoint pt) {
    MoveMouse(pt);
    Pump(60);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(200);
  }

  HHOOK m_hHook = nullptr;
  UINT_PTR m_nWatchdog = 0;
  CXTPCommandBars *m_pCommandBars = nullptr;
  CFrameWnd *m_pFrame = nullptr;
  CXTPDockBar *m_docks[4] = {};
  FrameSite m_site;
  CXTPDialogBar *m_pBar = nullptr;
  HWND m_hWndChild = nullptr;
};

TEST_F(DialogBarMouse, DockedAtTheLeftItWidensByItsRightEdge) {
  ASSERT_EQ(m_pBar->GetPosition(), xtpBarLeft);
  const CRect rcBefore = WindowRect();
  ASSERT_EQ(rcBefore.Width(), 156);
  const CPoint ptEdge(rcBefore.right - 1, rcBefore.CenterPoint().y);
  EXPECT_EQ(::SendMessageW(m_pBar->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(ptEdge.x, ptEdge.y)), HTRIGHT);
  Drag(ptEdge, {ptEdge + CSize(20, 0), ptEdge + CSize(40, 0)});
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(m_pBar->GetDockingClientSize(), CSize(190, 200));
  EXPECT_EQ(WindowRect().Width(), 196) << "the frame laid the wider bar out";
  CRect rcChild;
  ::GetClientRect(m_hWndChild, &rcChild);
  EXPECT_GT(rcChild.Width(), 180) << "the child follows";
  EXPECT_NE(::GetActiveWindow(), m_pFrame->GetSafeHwnd());
}

TEST_F(DialogBarMouse, FloatingItResizesByItsCornerButNotBelowItsMinimum) {
  ASSERT_TRUE(m_site.DockBarAt(m_pBar, xtpBarFloating));
  m_pBar->SetWindowPos(nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(60);
  ASSERT_TRUE(m_pBar->IsFloating());
  const CRect rcBefore = WindowRect();
  ASSERT_EQ(rcBefore.Size(), CSize(206, 206 + m_pBar->GetCaptionHeight()));
  const CPoint ptCorner(rcBefore.right - 1, rcBefore.bottom - 1);
  EXPECT_EQ(::SendMessageW(m_pBar->GetSafeHwnd(), WM_NCHITTEST, 0, MAKELPARAM(ptCorner.x, ptCorner.y)),
            HTBOTTOMRIGHT);
  Drag(ptCorner, {ptCorner + CSize(30, 10), ptCorner + CSize(60, 30)});
  EXPECT_EQ(WindowRect(), CRect(rcBefore.TopLeft(), rcBefore.Size() + CSize(60, 30)));
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(260, 230));

  // Pulled up past the minimum: the last size above it stays.
  const CRect rcMiddle = WindowRect();
  const CPoint ptCorner2(rcMiddle.right - 1, rcMiddle.bottom - 1);
  const int nToMinimum = rcMiddle.Height() - CXTPDialogBar::kMinSize;
  Drag(ptCorner2, {ptCorner2 - CSize(0, nToMinimum - 10), ptCorner2 - CSize(0, nToMinimum + 20)});
  EXPECT_EQ(WindowRect().Height(), CXTPDialogBar::kMinSize + 10);
  EXPECT_EQ(WindowRect().Width(), rcMiddle.Width());
}

TEST_F(DialogBarMouse, ACaptionClickOpensItsPopup) {
  CXTPPopupBar *pPopupBar = m_pBar->GetCaptionPopupBar();
  pPopupBar->GetControls()->Add(xtpControlButton, 301)->SetCaption(L"Refresh");
  pPopupBar->GetControls()->Add(xtpControlButton, 302)->SetCaption(L"Collapse all");
  m_pFrame->RecalcLayout();
  CXTPDialogBarCaptionPopup *pPopup = m_pBar->GetCaptionPopup();
  ASSERT_NE(pPopup, nullptr);
  ASSERT_TRUE(pPopup->GetEnabled());
  CPoint pt = pPopup->GetRect().CenterPoint();
  m_pBar->ClientToScreen(&pt);
  Click(pt);
  EXPECT_TRUE(pPopup->GetPopup());
  ASSERT_TRUE(pPopupBar->GetSafeHwnd() && ::IsWindowVisible(pPopupBar->GetSafeHwnd()));
  CRect rcPopup;
  pPopupBar->GetWindowRect(&rcPopup);
  CRect rcCaption = pPopup->GetRect();
  m_pBar->ClientToScreen(&rcCaption);
  EXPECT_GE(rcPopup.top, rcCaption.bottom - 1) << "drops down";
  EXPECT_NEAR(rcPopup.right, rcCaption.right, 2) << "right-aligned under the caption";
  m_pBar->CancelTracking();
  Pump(60);
  EXPECT_FALSE(pPopup->GetPopup());
}

} // namespace

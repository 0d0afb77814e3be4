// A dialog bar handled with the real mouse (input synthesised under Xvfb):
// docked at the left of a frame and widened by its right edge, floated and
// resized by its corner (not below its minimum), and its caption's popup
// opened by a click. The moves come from another thread while the resize
// loop holds this one, as a user's hand would.
//
// Moves the cursor: runs alone. The frame is shown but never activated.
#include <gtest/gtest.h>

#include <vector>

#include "BarMouseDrag.h"
#include "XTPCommandBars.h"
#include "XTPControls.h"
#include "XTPDialogBar.h"
#include "XTPDockContext.h"
#include "XTPMouseManager.h"

namespace {

using bartest::Pump;

class DialogBarMouse : public bartest::BarMouseTest {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreateFrame(L"dialog bar test", 620, 460));
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
    ShowFrame();
  }
  void TearDown() override {
    ::KillTimer(nullptr, m_nWatchdog);
    m_pBar->CancelTracking();
    if (m_pBar->GetSafeHwnd()) m_pBar->DestroyWindow();
    m_pBar->InternalRelease();
    DestroyFrame();
  }

  CRect WindowRect() const {
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    return rc;
  }

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

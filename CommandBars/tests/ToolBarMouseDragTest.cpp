// A toolbar dragged with the real mouse (input synthesised under Xvfb): from
// its gripper to the bottom of the frame, out into the open, and docked back
// by a double click on its caption. The moves come from another thread while
// the drag loop holds this one, as a user's hand would.
//
// Moves the cursor: runs alone. The frame is shown but never activated.
#include <gtest/gtest.h>

#include <vector>

#include "BarMouseDrag.h"
#include "XTPCommandBars.h"
#include "XTPDockBar.h"
#include "XTPDockContext.h"
#include "XTPToolBar.h"

namespace {

class ToolBarMouseDrag : public bartest::BarMouseTest {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CreateFrame(L"mouse drag test", 560, 420));
    m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
    m_pBar = new CXTPToolBar;
    m_pBar->SetCommandBars(m_pCommandBars);
    m_pBar->SetSite(&m_site);
    const UINT ids[] = {101, 102, 103, 104};
    m_pBar->SetButtons(ids, 4);
    m_pBar->EnableDocking(0x1F);
    ASSERT_TRUE(m_pBar->CreateFloatingWindow(m_pFrame, FALSE));
    ASSERT_TRUE(m_site.DockBarAt(m_pBar, xtpBarTop));
    m_pBar->SetVisible(TRUE);
    ShowFrame();
  }
  void TearDown() override {
    ::KillTimer(nullptr, m_nWatchdog);
    if (m_pBar->GetSafeHwnd()) m_pBar->DestroyWindow();
    m_pBar->InternalRelease();
    DestroyFrame();
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
  // Presses at the grip and drags through the points.
  void Drag(std::vector<CPoint> path) { BarMouseTest::Drag(GripPoint(), std::move(path)); }
  BOOL DockedOn(int nSide) const {
    return !m_pBar->IsFloating() && m_pBar->GetPosition() == nSide &&
           ::GetParent(m_pBar->GetSafeHwnd()) == m_docks[nSide]->GetSafeHwnd();
  }

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

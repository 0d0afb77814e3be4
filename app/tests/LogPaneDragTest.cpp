// The log pane of the real main frame dragged with the mouse: to another
// side of the tree and list, out to float in its own frame and back by a
// double click on that frame's caption, and a drag given up with Escape.
// The cursor is moved with SetCursorPos and the mouse messages are posted
// before the drag's own loop starts; no window is activated by the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "AppEngineServices.h"
#include "AppFrameTest.h"
#include "QuendalVarnothView.h"
#include "SimpleListView.h"
#include "XTPDockingPane.h"
#include "XTPDockingPaneContext.h"
#include "XTPDockingPaneManager.h"
#include "XTPDockingPaneMiniWnd.h"
#include "XTPDockingPaneTabbedContainer.h"

namespace {

constexpr int kLogPaneId = 61236;

class LogPaneDrag : public AppFrameTest {
protected:
  void SetUp() override {
    AppFrameTest::SetUp();
    if (HasFatalFailure()) return;
    m_manager = m_frame->GetDockingPaneManager();
    m_pane = m_manager->FindPane(kLogPaneId);
    ASSERT_NE(m_pane, nullptr);
    m_frame->RecalcLayout();
    Pump();
    ASSERT_NE(m_app.LogView, nullptr);
    m_view = m_app.LogView;
  }
  // A window's rectangle in the frame's client coordinates.
  CRect InFrame(HWND window) const {
    CRect rect;
    ::GetWindowRect(window, &rect);
    m_frame->ScreenToClient(&rect);
    return rect;
  }
  HWND ContainerWindow() const { return m_pane->GetContainer()->GetPaneHwnd(); }
  CRect PaneRect() const { return InFrame(ContainerWindow()); }
  CRect TreeRect() const { return InFrame(m_frame->GetLeftPane()->m_hWnd); }
  CRect ListRect() const { return InFrame(m_frame->GetRightPane()->m_hWnd); }
  CRect StatusRect() const { return InFrame(m_frame->GetStatusBar()->m_hWnd); }
  CRect ClientScreenRect() const {
    CRect rect;
    m_manager->GetClientPane()->GetWindowRect(&rect);
    return rect;
  }
  CPoint CaptionPoint() const {
    CRect rect;
    ::GetWindowRect(ContainerWindow(), &rect);
    return CPoint(rect.left + 40, rect.top + 6);
  }
  void PostMove(CPoint point) {
    ::SetCursorPos(point.x, point.y);
    CPoint client = point;
    m_frame->ScreenToClient(&client);
    m_frame->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  }
  // Drags the log pane's group by its caption to the point and lets go there.
  void DragTo(CPoint drop) {
    const CPoint from = CaptionPoint();
    ::SetCursorPos(from.x, from.y);
    PostMove(CPoint(from.x + 10, from.y - 10));
    PostMove(drop);
    m_frame->PostMessage(WM_LBUTTONUP, 0, 0);
    m_manager->GetDragContext()->Drag(m_pane->GetContainer(), from);
    m_frame->RecalcLayout();
    Pump();
  }
  // The log still has its one view, shown in the pane, and new lines reach it.
  void ExpectTheSameLogTakingLines() {
    EXPECT_EQ(m_view, m_app.LogView);
    ASSERT_NE(m_app.LogView, nullptr);
    EXPECT_TRUE(::IsChild(ContainerWindow(), m_view->m_hWnd));
    EXPECT_TRUE(m_view->IsWindowVisible());
    const int rows = m_view->GetLogRowCount();
    AppEngineServices services(m_app, *m_frame);
    services.AddLogEntry(u"Fast Search", u"Logical Drive C:", std::nullopt, LogStatus::Started);
    EXPECT_EQ(rows + 1, m_view->GetLogRowCount());
  }
  CXTPDockingPaneMiniWnd *FloatingFrame() const {
    CWnd *site = m_pane->GetDockingSite();
    return CXTPDockingPaneMiniWnd::IsMiniWnd(site) ? static_cast<CXTPDockingPaneMiniWnd *>(site) : nullptr;
  }

  CXTPDockingPaneManager *m_manager = nullptr;
  CXTPDockingPane *m_pane = nullptr;
  CSimpleListView *m_view = nullptr;
};

TEST_F(LogPaneDrag, GoesToTheSideOfTheTreeAndListItIsDroppedAt) {
  CRect client;
  m_frame->GetClientRect(&client);
  const struct {
    const char *label;
    // The drop point, from the tree and list's area (screen).
    CPoint (*drop)(const CRect &area);
    // Where the pane then stands against the tree and the list.
    bool (*placed)(const CRect &pane, const CRect &tree, const CRect &list, const CRect &client);
  } cases[] = {
      {"left", [](const CRect &area) { return CPoint(area.left + 5, area.CenterPoint().y); },
       [](const CRect &pane, const CRect &tree, const CRect &, const CRect &) {
         return pane.right <= tree.left && pane.top <= tree.top && pane.bottom >= tree.bottom;
       }},
      {"right", [](const CRect &area) { return CPoint(area.right - 5, area.CenterPoint().y); },
       [](const CRect &pane, const CRect &, const CRect &list, const CRect &client) {
         return pane.left >= list.right && pane.right == client.right && pane.bottom >= list.bottom;
       }},
      {"top", [](const CRect &area) { return CPoint(area.CenterPoint().x, area.top + 5); },
       [](const CRect &pane, const CRect &tree, const CRect &list, const CRect &) {
         return pane.bottom <= tree.top && pane.bottom <= list.top && pane.left <= tree.left &&
                pane.right >= list.right;
       }},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.label);
    DragTo(c.drop(ClientScreenRect()));
    EXPECT_EQ(nullptr, FloatingFrame());
    EXPECT_TRUE(c.placed(PaneRect(), TreeRect(), ListRect(), client))
        << "pane " << PaneRect().left << "," << PaneRect().top << "," << PaneRect().right << ","
        << PaneRect().bottom;
    // The tree and the list reach down to the status bar now.
    EXPECT_EQ(StatusRect().top, std::max(TreeRect().bottom, ListRect().bottom));
    ExpectTheSameLogTakingLines();
    EXPECT_EQ(nullptr, ::GetCapture());
  }
}

TEST_F(LogPaneDrag, FloatsInItsOwnFrameAndADoubleClickOnItsCaptionDocksItBack) {
  const CRect before = PaneRect();
  const HWND active = ::GetForegroundWindow();
  DragTo(ClientScreenRect().CenterPoint());
  CXTPDockingPaneMiniWnd *floating = FloatingFrame();
  ASSERT_NE(nullptr, floating);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_EQ(m_frame->m_hWnd, ::GetWindow(floating->m_hWnd, GW_OWNER));
  CString title;
  floating->GetWindowText(title);
  EXPECT_EQ(CString(L"Quendal Varnoth File Recovery Log"), title);
  EXPECT_EQ(active, ::GetForegroundWindow());
  // Nothing is docked any more: the tree and the list take the whole height.
  EXPECT_EQ(StatusRect().top, TreeRect().bottom);
  ExpectTheSameLogTakingLines();
  // The floating log cannot be closed: its frame's Hide is greyed.
  EXPECT_FALSE(floating->IsCloseEnabled());

  CRect caption;
  floating->CWnd::GetWindowRect(&caption);
  floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.left + 20, caption.top + 5));
  m_frame->RecalcLayout();
  Pump();
  EXPECT_EQ(nullptr, FloatingFrame());
  EXPECT_FALSE(floating->IsWindowVisible());
  EXPECT_EQ(before, PaneRect());
  EXPECT_EQ(StatusRect().top, PaneRect().bottom);
  ExpectTheSameLogTakingLines();
}

// Messages fed to the drag's loop in place of the queue: a posted key does
// not come out of Wine's queue inside the loop.
std::vector<MSG> g_fed;
size_t g_next = 0;

BOOL Feed(MSG *message) {
  *message = MSG{};
  if (g_next >= g_fed.size()) {
    message->message = WM_LBUTTONUP;
    return TRUE;
  }
  *message = g_fed[g_next++];
  return TRUE;
}

MSG Fed(UINT message, WPARAM wParam, CPoint point) {
  MSG msg = {};
  msg.message = message;
  msg.wParam = wParam;
  msg.pt = point;
  return msg;
}

TEST_F(LogPaneDrag, EscapeLeavesItWhereItWas) {
  const CRect before = PaneRect();
  const CPoint from = CaptionPoint();
  const CPoint middle = ClientScreenRect().CenterPoint();
  g_fed = {Fed(WM_MOUSEMOVE, MK_LBUTTON, CPoint(from.x + 20, from.y - 20)),
           Fed(WM_MOUSEMOVE, MK_LBUTTON, middle), Fed(WM_KEYDOWN, VK_ESCAPE, middle)};
  g_next = 0;
  CXTPDockingPaneContext::SetMessageSource(&Feed);
  m_manager->GetDragContext()->Drag(m_pane->GetContainer(), from);
  CXTPDockingPaneContext::SetMessageSource(nullptr);
  m_frame->RecalcLayout();
  Pump();
  EXPECT_EQ(3u, g_next);
  EXPECT_TRUE(m_manager->GetDragContext()->IsPastThreshold());
  EXPECT_EQ(nullptr, FloatingFrame());
  EXPECT_EQ(before, PaneRect());
  EXPECT_FALSE(m_manager->GetDragContext()->IsDesktopHeld());
  EXPECT_EQ(nullptr, ::GetCapture());
  ExpectTheSameLogTakingLines();
}

} // namespace

#include <vector>

#include "FrameWnd.h"
#include "StatusBar.h"
#include "WindowTestKit.h"

namespace {

constexpr UINT kLongPane = 500;
constexpr UINT kMissingString = 501;

// The pane layout alone: widths in, right edges out.
TEST(StatusPaneLayout, EdgesFollowTheTextWidths) {
  struct Case {
    const char *name;
    std::vector<StatusPaneSize> panes;
    int barWidth, gap, grip;
    std::vector<int> edges;
  } const cases[] = {
      {"no panes", {}, 300, 6, 0, {}},
      {"fixed panes only", {{0, 10}, {0, 20}}, 300, 6, 0, {16, 42}},
      {"stretch pane takes the rest", {{SBPS_STRETCH, 0}, {0, 30}, {0, 20}}, 300, 6, 0, {238, 274, 300}},
      {"grip space is kept free", {{SBPS_STRETCH, 0}, {0, 30}}, 300, 6, 16, {248, 284}},
      {"only the first stretch pane grows", {{SBPS_STRETCH, 0}, {SBPS_STRETCH, 10}}, 100, 0, 0, {90, 100}},
      {"too narrow: no pane shrinks below its text", {{SBPS_STRETCH, 40}, {0, 40}}, 50, 6, 0, {46, 92}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CalcStatusPaneEdges(c.panes, c.barWidth, c.gap, c.grip), c.edges);
  }
}

// A frame whose handlers disable the caps-lock pane and set the text of the
// long pane, as a program's update handlers do.
class TestFrame : public CFrameWnd {
public:
  void OnUpdateCaps(CCmdUI *state) { state->Enable(FALSE); }
  void OnUpdateLong(CCmdUI *state) { state->SetText(L"Done"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateCaps)
ON_UPDATE_COMMAND_UI(kLongPane, OnUpdateLong)
END_MESSAGE_MAP()

class StatusBarTest : public FrameWithBar<CStatusBar, TestFrame> {
protected:
  CString ControlText(int index) const {
    wchar_t text[128] = {};
    m_bar.SendMessage(SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text));
    return CString(text);
  }

  static constexpr UINT kIndicators[] = {ID_SEPARATOR, kLongPane, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
};

TEST_F(StatusBarTest, IndicatorsMakePanesWithTheirStrings) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  EXPECT_EQ(m_bar.GetCount(), 4);
  EXPECT_EQ(m_bar.SendMessage(SB_GETPARTS), 4);
  EXPECT_EQ(m_bar.GetPaneText(0), CString());
  EXPECT_EQ(m_bar.GetPaneText(1), CString(L"Searching drive C:"));
  EXPECT_EQ(m_bar.GetPaneText(2), CString(L"CAP"));
  EXPECT_EQ(ControlText(2), CString(L"CAP"));
  EXPECT_EQ(m_bar.CommandToIndex(ID_INDICATOR_NUM), 3);
  EXPECT_EQ(m_bar.CommandToIndex(0xE703), -1);
  EXPECT_EQ(m_bar.GetItemID(1), kLongPane);

  UINT id = 0, style = 0;
  int width = 0;
  m_bar.GetPaneInfo(0, id, style, width);
  EXPECT_EQ(style, static_cast<UINT>(SBPS_STRETCH | SBPS_NOBORDERS));
  int capsWidth = 0, longWidth = 0;
  m_bar.GetPaneInfo(2, id, style, capsWidth);
  m_bar.GetPaneInfo(1, id, style, longWidth);
  EXPECT_GT(capsWidth, 0);
  EXPECT_GT(longWidth, capsWidth);
}

TEST_F(StatusBarTest, MissingStringFailsButKeepsThePanes) {
  const UINT ids[] = {ID_SEPARATOR, kMissingString};
  EXPECT_FALSE(m_bar.SetIndicators(ids, 2));
  EXPECT_EQ(m_bar.GetCount(), 2);
  EXPECT_FALSE(m_bar.SetIndicators(nullptr, 2));
  EXPECT_TRUE(m_bar.SetIndicators(nullptr, 0));
  EXPECT_EQ(m_bar.GetCount(), 0);
}

TEST_F(StatusBarTest, PaneTextsReachTheStatusWindow) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  EXPECT_TRUE(m_bar.SetPaneText(1, L"Scanning"));
  EXPECT_EQ(m_bar.GetPaneText(1), CString(L"Scanning"));
  EXPECT_EQ(ControlText(1), CString(L"Scanning"));
  EXPECT_FALSE(m_bar.SetPaneText(9, L"nowhere"));
  EXPECT_EQ(m_bar.GetPaneText(-1), CString());

  // The bar's window text is its message pane.
  m_bar.SetWindowText(L"Ready");
  EXPECT_EQ(m_bar.GetPaneText(0), CString(L"Ready"));
  EXPECT_EQ(ControlText(0), CString(L"Ready"));
  wchar_t text[8] = {};
  EXPECT_EQ(m_bar.GetWindowText(text, 3), 2);
  EXPECT_STREQ(text, L"Re");
}

TEST_F(StatusBarTest, PaneGeometryFollowsTheBarWidth) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  m_bar.MoveWindow(0, 0, 500, 24);
  CRect message, caps, num;
  m_bar.GetItemRect(0, &message);
  m_bar.GetItemRect(2, &caps);
  m_bar.GetItemRect(3, &num);
  EXPECT_GT(message.Width(), 200); // the stretching message pane
  EXPECT_LT(caps.right, num.right);
  CRect none(1, 1, 2, 2);
  m_bar.GetItemRect(7, &none);
  EXPECT_TRUE(none.IsRectEmpty());

  m_bar.SetPaneInfo(2, ID_INDICATOR_CAPS, SBPS_NORMAL, 100);
  m_bar.GetItemRect(2, &caps);
  EXPECT_GE(caps.Width(), 100);
}

TEST_F(StatusBarTest, TakesItsStripFromTheBottomOfTheLayout) {
  m_bar.SendMessage(SB_SETMINHEIGHT, 40);
  CSize wanted = m_bar.CalcFixedLayout(TRUE, TRUE);
  EXPECT_EQ(wanted.cy, 40);

  const BarLayout layout = LayOut(CRect(0, 0, 600, 300));
  EXPECT_EQ(layout.left, CRect(0, 0, 600, 260));
  EXPECT_EQ(layout.placed, CRect(0, 260, 600, 300));

  // A hidden bar takes nothing.
  m_bar.ShowWindow(SW_HIDE);
  EXPECT_EQ(LayOut(CRect(0, 0, 600, 300)).left, CRect(0, 0, 600, 300));
}

TEST_F(StatusBarTest, IdleUpdateAsksTheFramesHandlers) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  m_bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_NE(m_bar.GetPaneStyle(2) & SBPS_DISABLED, 0u);
  EXPECT_EQ(ControlText(2), CString()); // a disabled pane shows nothing
  EXPECT_EQ(m_bar.GetPaneText(1), CString(L"Done"));
  // NUM has no handler; status panes are not disabled for that.
  EXPECT_EQ(m_bar.GetPaneStyle(3) & SBPS_DISABLED, 0u);
}

} // namespace

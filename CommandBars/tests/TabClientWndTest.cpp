// The tabbed MDI client: weights of the groups when a splitter moves or a
// group splits (a collapsed band and groups smaller than the splitter
// included), every child getting a tab, the group commands enabled as the
// groups allow and moving documents between groups, closed documents
// leaving their tabs, and the splitter dragged.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Framework.h"
#include "MDIFrameWnd.h"
#include "XTPCommandBars.h"
#include "XTPTabClientWnd.h"

namespace {

TEST(TabClientWeights, SplitterMoveReweightsTheTwoGroups) {
  const struct {
    const char *name;
    double dFirst, dSecond;
    int nPos, nBandStart, nBandLength;
    BOOL bMirrored;
    double dFirstOut, dSecondOut;
  } kCases[] = {
      {"moved left", 100, 96, 50, 0, 200, FALSE, 50, 146},
      {"band offset", 100, 96, 150, 100, 200, FALSE, 50, 146},
      {"right-to-left", 100, 96, 50, 0, 200, TRUE, 146, 50},
      // A collapsed client: the division by its length must not happen.
      {"collapsed band", 100, 96, 0, 0, 0, FALSE, 100, 96},
      // Past the band's end the second group would go below nothing.
      {"past the end", 100, 96, 210, 0, 200, FALSE, 210, 0},
      {"before the start", 100, 96, -20, 0, 200, FALSE, 0, 196},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    double dFirst = c.dFirst, dSecond = c.dSecond;
    CXTPTabClientWnd::ReweightSplitter(dFirst, dSecond, c.nPos, c.nBandStart, c.nBandLength, 4, c.bMirrored);
    EXPECT_DOUBLE_EQ(c.dFirstOut, dFirst);
    EXPECT_DOUBLE_EQ(c.dSecondOut, dSecond);
  }
}

TEST(TabClientWeights, SplittingHalvesLessTheSplitterNeverBelowNothing) {
  const struct {
    double dOld;
    double dNewOut, dOldOut;
  } kCases[] = {{400, 200, 196}, {10, 5, 1}, {2, 1, 0}, {0, 0, 0}};
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.dOld);
    double dOld = c.dOld;
    EXPECT_DOUBLE_EQ(c.dNewOut, CXTPTabClientWnd::SplitWeight(dOld, 4));
    EXPECT_DOUBLE_EQ(c.dOldOut, dOld);
  }
}

TEST(TabClientWeights, LengthIsSharedByWeightWithSplittersBetween) {
  const struct {
    std::vector<double> weights;
    int nLength;
    std::vector<int> lengths;
  } kCases[] = {
      {{200, 196}, 400, {200, 196}},
      {{1, 1, 2}, 408, {100, 100, 200}},
      {{0, 0}, 104, {50, 50}},   // no weights yet: equal shares
      {{-5, 10}, 104, {0, 100}}, // a negative weight counts as none
      {{1, 1}, 2, {0, 0}},       // less room than the splitter
      {{}, 100, {}},
  };
  for (const auto &c : kCases) {
    EXPECT_EQ(c.lengths, CXTPTabClientWnd::ShareLength(c.weights, c.nLength, 4));
  }
}

// A hidden MDI frame whose client is tabbed, and its children.
class TabClient : public ::testing::Test {
protected:
  void SetUp() override {
    m_frame = new CMDIFrameWnd;
    ASSERT_TRUE(m_frame->CreateEx(0, AfxRegisterWndClass(0), L"MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                  0, 608, 400, nullptr, nullptr));
    ASSERT_NE(m_frame->m_hWndMDIClient, nullptr);
  }
  void TearDown() override {
    m_client.Detach();
    if (m_frame->m_hWnd != nullptr) m_frame->DestroyWindow();
  }
  CMDIChildWnd *AddChild(LPCTSTR lpszTitle) {
    auto *pChild = new CMDIChildWnd;
    if (!pChild->Create(nullptr, lpszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        CRect(0, 0, 200, 150), m_frame))
      return nullptr;
    return pChild;
  }
  // The tabs of every group: captions, groups parted by "|".
  std::string Groups() const {
    std::string str;
    for (int i = 0; i < m_client.GetWorkspaceCount(); i++) {
      if (i) str += "|";
      CXTPTabClientWorkspace *pWorkspace = m_client.GetWorkspace(i);
      for (int j = 0; j < pWorkspace->GetItemCount(); j++) {
        if (j) str += ",";
        const CString strCaption = pWorkspace->GetItemCaption(pWorkspace->GetItem(j));
        for (int k = 0; k < strCaption.GetLength(); k++) str += static_cast<char>(strCaption[k]);
      }
    }
    return str;
  }
  std::string Enabled() const {
    std::string str;
    for (UINT nID = 9420; nID <= 9423; nID++) str += m_client.CanRunGroupCommand(nID) ? "1" : "0";
    return str;
  }
  // The child's place in client coordinates.
  CRect ChildRect(CWnd *pChild) const {
    CRect rc;
    ::GetWindowRect(pChild->m_hWnd, &rc);
    ::MapWindowPoints(nullptr, m_frame->m_hWndMDIClient, reinterpret_cast<POINT *>(&rc), 2);
    return rc;
  }

  CMDIFrameWnd *m_frame = nullptr;
  CXTPTabClientWnd m_client;
};

TEST_F(TabClient, ChildrenGetTabsWithoutTheirFramesAndFillTheirGroup) {
  CMDIChildWnd *pFirst = AddChild(L"First");
  ASSERT_TRUE(m_client.Attach(m_frame));
  CMDIChildWnd *pSecond = AddChild(L"Second");
  ASSERT_NE(pSecond, nullptr);
  EXPECT_EQ("First,Second", Groups());
  for (CWnd *pChild : {static_cast<CWnd *>(pFirst), static_cast<CWnd *>(pSecond)}) {
    EXPECT_EQ(0, ::GetWindowLongW(pChild->m_hWnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_EQ(m_client.GetWorkspace(0)->GetClientRect(), ChildRect(pChild));
  }
  // The tab row lies above the documents.
  EXPECT_GT(m_client.GetWorkspace(0)->GetClientRect().top, 0);
  EXPECT_EQ(pSecond->m_hWnd, m_client.GetActiveChild());
  EXPECT_EQ(m_client.FindItem(pSecond->m_hWnd), m_client.GetWorkspace(0)->GetSelectedItem());
  // A tab chosen activates its document.
  m_client.GetWorkspace(0)->OnItemClick(m_client.FindItem(pFirst->m_hWnd));
  EXPECT_EQ(pFirst->m_hWnd, m_client.GetActiveChild());
}

TEST_F(TabClient, GroupCommandsMoveTheActiveDocumentBetweenGroups) {
  ASSERT_TRUE(m_client.Attach(m_frame));
  EXPECT_EQ("0000", Enabled()) << "no document";
  AddChild(L"A");
  EXPECT_EQ("0000", Enabled()) << "one document cannot leave its group";
  CMDIChildWnd *pB = AddChild(L"B");
  EXPECT_EQ("0011", Enabled());

  CRect rcClient;
  ::GetClientRect(m_frame->m_hWndMDIClient, &rcClient);
  m_client.OnGroupCommand(XTP_ID_WORKSPACE_NEWVERTICAL);
  EXPECT_EQ("A|B", Groups());
  EXPECT_FALSE(m_client.IsHorizontalGroups());
  // Halved, less the splitter, from the group's width.
  EXPECT_DOUBLE_EQ(rcClient.Width() / 2.0, m_client.GetWorkspace(1)->m_dWeight);
  EXPECT_DOUBLE_EQ(rcClient.Width() - rcClient.Width() / 2.0 - 4, m_client.GetWorkspace(0)->m_dWeight);
  EXPECT_EQ(m_client.GetWorkspace(1)->GetClientRect(), ChildRect(pB));
  EXPECT_EQ("1000", Enabled()) << "B in the last group, alone";

  CMDIChildWnd *pC = AddChild(L"C");
  EXPECT_EQ("A|B,C", Groups()) << "a new document joins the active one's group";
  EXPECT_EQ("1001", Enabled()) << "side by side: no horizontal group beside them";
  m_client.OnGroupCommand(XTP_ID_WORKSPACE_MOVEPREVIOUS);
  EXPECT_EQ("A,C|B", Groups());
  EXPECT_EQ(pC->m_hWnd, m_client.GetActiveChild());
  EXPECT_EQ(m_client.FindItem(pC->m_hWnd), m_client.GetWorkspace(0)->GetSelectedItem());
  m_client.OnGroupCommand(XTP_ID_WORKSPACE_MOVENEXT);
  EXPECT_EQ("A|B,C", Groups());

  // The last document of a group moved away: the group goes.
  CXTPTabManagerItem *pA = m_client.GetWorkspace(0)->GetItem(0);
  m_client.GetWorkspace(0)->OnItemClick(pA);
  EXPECT_EQ("0100", Enabled());
  m_client.OnGroupCommand(XTP_ID_WORKSPACE_MOVENEXT);
  EXPECT_EQ("B,C,A", Groups());
  EXPECT_EQ(1, m_client.GetWorkspaceCount());
  EXPECT_EQ("0011", Enabled());
}

TEST_F(TabClient, ClosedDocumentsLeaveTheirTabsAndEmptyGroupsGo) {
  ASSERT_TRUE(m_client.Attach(m_frame));
  AddChild(L"A");
  CMDIChildWnd *pB = AddChild(L"B");
  m_client.OnGroupCommand(XTP_ID_WORKSPACE_NEWHORIZONTAL);
  EXPECT_TRUE(m_client.IsHorizontalGroups());
  EXPECT_EQ("A|B", Groups());
  EXPECT_EQ("1000", Enabled());
  pB->MDIDestroy();
  EXPECT_EQ("A", Groups());
  EXPECT_EQ(1, m_client.GetWorkspaceCount());
  CMDIChildWnd *pA = dynamic_cast<CMDIChildWnd *>(CWnd::FromHandlePermanent(m_client.GetActiveChild()));
  ASSERT_NE(pA, nullptr);
  // Closed by its own window (no message to the client): gone at the next paint.
  pA->DestroyWindow();
  ::UpdateWindow(m_frame->m_hWndMDIClient);
  ::SendMessageW(m_frame->m_hWndMDIClient, WM_PAINT, 0, 0);
  EXPECT_EQ("", Groups());
  EXPECT_EQ("0000", Enabled());
}

TEST_F(TabClient, TheSplitterShowsTheSizingCursorOfItsDirection) {
  ASSERT_TRUE(m_client.Attach(m_frame));
  AddChild(L"A");
  AddChild(L"B");
  m_client.OnGroupCommand(XTP_ID_WORKSPACE_NEWVERTICAL);
  HWND hClient = m_frame->m_hWndMDIClient;
  CPoint pt = m_client.GetWorkspace(0)->m_rcSplitter.CenterPoint();
  ::ClientToScreen(hClient, &pt);
  CPoint ptSaved;
  ::GetCursorPos(&ptSaved);
  ::SetCursorPos(pt.x, pt.y);
  ::SetCursor(nullptr);
  EXPECT_TRUE(
      ::SendMessageW(hClient, WM_SETCURSOR, reinterpret_cast<WPARAM>(hClient), MAKELPARAM(HTCLIENT, 0)));
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZEWE), ::GetCursor());
  // Off the splitter the client's own cursor.
  ::SetCursorPos(pt.x - 40, pt.y);
  ::SendMessageW(hClient, WM_SETCURSOR, reinterpret_cast<WPARAM>(hClient), MAKELPARAM(HTCLIENT, 0));
  EXPECT_NE(::LoadCursorW(nullptr, IDC_SIZEWE), ::GetCursor());
  ::SetCursorPos(ptSaved.x, ptSaved.y);
}

TEST_F(TabClient, APressOnATabActivatesItsDocument) {
  ASSERT_TRUE(m_client.Attach(m_frame));
  CMDIChildWnd *pA = AddChild(L"A");
  AddChild(L"B");
  HWND hClient = m_frame->m_hWndMDIClient;
  const CPoint pt = m_client.FindItem(pA->m_hWnd)->GetRect().CenterPoint();
  // The release comes while the tab is held (the drag loop takes it).
  ::PostMessageW(hClient, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  ::SendMessageW(hClient, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(pA->m_hWnd, m_client.GetActiveChild());
  EXPECT_EQ(m_client.FindItem(pA->m_hWnd), m_client.GetWorkspace(0)->GetSelectedItem());
  EXPECT_EQ("A,B", Groups());
  EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(TabClient, TheCommandBarsOfItsFrameRefreshIt) {
  ASSERT_TRUE(m_client.Attach(m_frame));
  AddChild(L"A");
  CMDIChildWnd *pB = AddChild(L"B");
  CXTPCommandBars *pCommandBars = new CXTPCommandBars;
  pCommandBars->SetSite(m_frame);
  // A document hidden behind the client's back keeps its tab until a layout.
  ::SetWindowLongW(pB->m_hWnd, GWL_STYLE, ::GetWindowLongW(pB->m_hWnd, GWL_STYLE) & ~WS_VISIBLE);
  EXPECT_EQ("A,B", Groups());
  pCommandBars->RedrawCommandBars();
  EXPECT_EQ("A", Groups());
  pCommandBars->InternalRelease();
}

std::function<BOOL(MSG *)> g_feed;
BOOL FeedMessage(MSG *pMsg) {
  return g_feed(pMsg);
}

TEST_F(TabClient, DraggingTheSplitterResizesBothGroups) {
  ASSERT_TRUE(m_client.Attach(m_frame));
  AddChild(L"A");
  CMDIChildWnd *pB = AddChild(L"B");
  m_client.OnGroupCommand(XTP_ID_WORKSPACE_NEWVERTICAL);
  CRect rcClient;
  ::GetClientRect(m_frame->m_hWndMDIClient, &rcClient);
  const CRect rcSplitter = m_client.GetWorkspace(0)->m_rcSplitter;
  ASSERT_EQ(4, rcSplitter.Width());
  const CPoint ptGrab = rcSplitter.CenterPoint();
  HWND hClient = m_frame->m_hWndMDIClient;
  // Moves to 150 and 900 (held at the client's edge), then back to 200, released.
  std::vector<MSG> feed = {
      {hClient, WM_MOUSEMOVE, 0, MAKELPARAM(150 + 2, ptGrab.y), 0, {0, 0}},
      {hClient, WM_MOUSEMOVE, 0, MAKELPARAM(900, ptGrab.y), 0, {0, 0}},
      {hClient, WM_MOUSEMOVE, 0, MAKELPARAM(200 + 2, ptGrab.y), 0, {0, 0}},
      {hClient, WM_LBUTTONUP, 0, MAKELPARAM(200 + 2, ptGrab.y), 0, {0, 0}},
  };
  std::vector<int> widths;
  size_t nNext = 0;
  g_feed = [&](MSG *pMsg) -> BOOL {
    if (nNext > 0) widths.push_back(m_client.GetWorkspace(0)->GetControlRect().Width());
    if (nNext >= feed.size()) return -1;
    *pMsg = feed[nNext++];
    return TRUE;
  };
  CXTPTabClientWnd::SetGetMessageFunction(&FeedMessage);
  ::SendMessageW(hClient, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptGrab.x, ptGrab.y));
  CXTPTabClientWnd::SetGetMessageFunction(nullptr);
  g_feed = nullptr;
  EXPECT_EQ((std::vector<int>{150, rcClient.Width() - 4, 200}), widths);
  EXPECT_EQ(200, m_client.GetWorkspace(0)->GetControlRect().Width());
  EXPECT_EQ(rcClient.Width() - 204, m_client.GetWorkspace(1)->GetControlRect().Width());
  EXPECT_EQ(m_client.GetWorkspace(1)->GetClientRect(), ChildRect(pB));
  EXPECT_EQ(nullptr, ::GetCapture());
}

} // namespace

// Controls dragged between command bars: moved, copied with Ctrl, dropped
// where no bar takes them, cancelled in every way a drag can be, started by
// Alt+drag outside customise mode; the cursor the drag shows; the New
// Toolbar dialog's suggested name, new id and refusals.
//
// The drag's message loop is fed from a list, so no cursor moves and no key
// is typed; the frame is never activated.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "XTPCommandBars.h"
#include "XTPControl.h"
#include "XTPCustomizeTools.h"
#include "XTPDefaultTheme.h"
#include "XTPFrameWnd.h"
#include "XTPResource.h"
#include "XTPToolBar.h"

namespace {

constexpr UINT kMenuId = 128;
constexpr UINT kStandardId = 300, kSecondId = 310;

std::deque<MSG> g_feed;

BOOL FeedMessage(MSG *pMsg) {
  if (g_feed.empty()) {
    // Nothing more planned: the drag is cancelled rather than left waiting.
    *pMsg = MSG{nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    return TRUE;
  }
  *pMsg = g_feed.front();
  g_feed.pop_front();
  return pMsg->message != WM_QUIT;
}

std::vector<UINT> Ids(CXTPToolBar *pBar) {
  std::vector<UINT> ids;
  for (int i = 0; i < pBar->GetControlCount(); i++) {
    const int nID = pBar->GetControl(i)->GetID();
    if (nID > 0 && nID < 1000) ids.push_back(static_cast<UINT>(nID));
  }
  return ids;
}

// A frame that keeps the commands of its toolbars' buttons.
class CommandFrame : public CXTPFrameWnd {
public:
  std::vector<UINT> m_commands;
  afx_msg void OnButton(UINT nID) { m_commands.push_back(nID); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandFrame, CXTPFrameWnd)
ON_COMMAND_RANGE(301, 313, OnButton)
END_MESSAGE_MAP()

// A frame that offers customising (it handles the Customize command).
class CustomizingFrame : public CommandFrame {
public:
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CustomizingFrame, CommandFrame)
ON_COMMAND(35001, OnCustomize)
END_MESSAGE_MAP()

class CustomizeDragTool : public testing::Test {
protected:
  void SetUp() override {
    pFrame = bCustomizing ? new CustomizingFrame : new CommandFrame;
    ASSERT_TRUE(pFrame->LoadFrame(kMenuId, WS_POPUP | WS_BORDER));
    ASSERT_TRUE(pFrame->InitCommandBars());
    pBars = pFrame->GetCommandBars();
    pBars->SetPaintManager(new CXTPDefaultTheme);
    pStandard = pBars->Add(L"Standard", xtpBarTop);
    ASSERT_TRUE(pStandard->LoadToolBar(kStandardId));
    pSecond = pBars->Add(L"Second", xtpBarTop);
    ASSERT_TRUE(pSecond->LoadToolBar(kSecondId));
    pFrame->SetWindowPos(nullptr, 20, 20, 640, 400, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
    CXTPCustomizeDragTool::SetGetMessageFunction(&FeedMessage);
    g_feed.clear();
  }
  void TearDown() override {
    CXTPCustomizeDragTool::SetGetMessageFunction(nullptr);
    BYTE keys[256] = {};
    ::SetKeyboardState(keys);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    pFrame->DestroyWindow();
  }
  // A screen point inside a control of a bar (its left or right half).
  static CPoint At(CXTPToolBar *pBar, UINT nID, BOOL bRightHalf = FALSE) {
    for (int i = 0; i < pBar->GetControlCount(); i++) {
      CXTPControl *pControl = pBar->GetControl(i);
      if (pControl->GetID() != static_cast<int>(nID)) continue;
      CRect rc = pControl->GetRect();
      CPoint point(bRightHalf ? rc.right - 2 : rc.left + 2, rc.CenterPoint().y);
      pBar->ClientToScreen(&point);
      return point;
    }
    ADD_FAILURE() << "no control " << nID;
    return CPoint(0, 0);
  }
  CXTPControl *Control(CXTPToolBar *pBar, UINT nID) {
    for (int i = 0; i < pBar->GetControlCount(); i++)
      if (pBar->GetControl(i)->GetID() == static_cast<int>(nID)) return pBar->GetControl(i);
    return nullptr;
  }
  // A message to the frame (which holds the capture) at a screen point.
  void Feed(UINT message, WPARAM wParam, CPoint ptScreen = CPoint(0, 0)) {
    CPoint point = ptScreen;
    pFrame->ScreenToClient(&point);
    g_feed.push_back(MSG{pFrame->GetSafeHwnd(), message, wParam, MAKELPARAM(point.x, point.y), 0, {0, 0}});
  }
  BOOL bCustomizing = TRUE;
  CommandFrame *pFrame = nullptr;
  CXTPCommandBars *pBars = nullptr;
  CXTPToolBar *pStandard = nullptr;
  CXTPToolBar *pSecond = nullptr;
};

TEST_F(CustomizeDragTool, ADragMovesCopiesOrCancels) {
  const UINT kFirst = 301;
  struct Case {
    const char *name;
    // What the feed does after the first move onto Second's 312.
    std::vector<std::pair<UINT, WPARAM>> tail;
    int nResult;
    std::vector<UINT> standard, second;
  };
  const std::vector<UINT> kStandard = {301, 302, 303}, kSecond = {311, 312, 313};
  const Case cases[] = {
      {"move", {{WM_LBUTTONUP, 0}}, xtpDropMove, {302, 303}, {311, 301, 312, 313}},
      {"copy with Ctrl", {{WM_LBUTTONUP, MK_CONTROL}}, xtpDropCopy, kStandard, {311, 301, 312, 313}},
      {"escape", {{WM_KEYDOWN, VK_ESCAPE}}, xtpDropCancelled, kStandard, kSecond},
      {"right button", {{WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON}}, xtpDropCancelled, kStandard, kSecond},
      {"button up seen in a move", {{WM_MOUSEMOVE, 0}}, xtpDropMove, {302, 303}, {311, 301, 312, 313}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    // Fresh bars for each case.
    pStandard->LoadToolBar(kStandardId);
    pSecond->LoadToolBar(kSecondId);
    pFrame->RecalcLayout();
    pStandard->OnRecalcLayout();
    pSecond->OnRecalcLayout();
    const CPoint ptOver = At(pSecond, 312);
    const WPARAM wCtrl = c.nResult == xtpDropCopy ? MK_CONTROL : 0;
    Feed(WM_MOUSEMOVE, MK_LBUTTON | wCtrl, ptOver);
    for (const auto &step : c.tail) {
      if (step.first == WM_KEYDOWN)
        g_feed.push_back(MSG{pFrame->GetSafeHwnd(), WM_KEYDOWN, step.second, 0, 0, {0, 0}});
      else
        Feed(step.first, step.second, ptOver);
    }
    CXTPControl *pControl = Control(pStandard, kFirst);
    ASSERT_NE(pControl, nullptr);
    EXPECT_EQ(pBars->GetDragTool()->PerformDrag(pControl), c.nResult);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(pBars->GetDragTool()->GetTarget(), nullptr);
    EXPECT_TRUE(pSecond->GetDropMarker().IsRectEmpty()) << "the marker goes with the drag";
  }
  // The same drags through the control's customise press, which removes the
  // control for a move or a drop on no bar, and never for a cancel.
  const struct {
    const char *name;
    BOOL bOverBar;
    UINT nEnd;
    std::vector<UINT> standard;
  } presses[] = {
      {"dropped on no bar", FALSE, WM_LBUTTONUP, {302, 303}},
      {"cancelled", TRUE, WM_RBUTTONDOWN, kStandard},
      {"cancelled off the bars", FALSE, WM_RBUTTONDOWN, kStandard},
      {"released without moving", TRUE, 0, kStandard},
  };
  for (const auto &p : presses) {
    SCOPED_TRACE(p.name);
    pStandard->LoadToolBar(kStandardId);
    pSecond->LoadToolBar(kSecondId);
    pFrame->RecalcLayout();
    pStandard->OnRecalcLayout();
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    const CPoint ptOff(rcFrame.left + 300, rcFrame.top + 300);
    if (p.nEnd != 0) {
      Feed(WM_MOUSEMOVE, MK_LBUTTON, p.bOverBar ? At(pSecond, 312) : ptOff);
      Feed(p.nEnd, 0, ptOff);
    } else {
      Feed(WM_LBUTTONUP, 0, At(pStandard, kFirst));
    }
    CXTPControl *pControl = Control(pStandard, kFirst);
    ASSERT_NE(pControl, nullptr);
    CRect rc = pControl->GetRect();
    pControl->OnCustomizeStartDrag(rc.CenterPoint());
    EXPECT_EQ(Ids(pStandard), p.standard);
    EXPECT_EQ(Ids(pSecond), kSecond);
  }
}

TEST_F(CustomizeDragTool, TheCursorFollowsTheTargetAndTheCtrlKey) {
  CXTPCustomizeDragTool *pTool = pBars->GetDragTool();
  const CPoint ptOver = At(pSecond, 312);
  CRect rcFrame;
  pFrame->GetWindowRect(&rcFrame);
  const CPoint ptOff(rcFrame.left + 300, rcFrame.top + 300);
  struct Seen {
    std::vector<UINT> cursors;
  } seen;
  // Each step's cursor, read when the next message is asked for.
  static Seen *s_pSeen;
  static CXTPCustomizeDragTool *s_pTool;
  s_pSeen = &seen;
  s_pTool = pTool;
  CXTPCustomizeDragTool::SetGetMessageFunction([](MSG *pMsg) -> BOOL {
    s_pSeen->cursors.push_back(s_pTool->GetCursorId());
    return FeedMessage(pMsg);
  });
  Feed(WM_MOUSEMOVE, MK_LBUTTON, ptOff);
  Feed(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, ptOver);
  g_feed.push_back(MSG{pFrame->GetSafeHwnd(), WM_KEYUP, VK_CONTROL, 0, 0, {0, 0}});
  Feed(WM_LBUTTONUP, 0, ptOver);
  EXPECT_EQ(pTool->PerformDrag(Control(pStandard, 302)), xtpDropMove) << "Ctrl let go before the drop moves";
  const std::vector<UINT> expected = {0, XTP_IDC_COMMANDBARS_DRAGDELETE, XTP_IDC_COMMANDBARS_DRAGCOPY,
                                      XTP_IDC_COMMANDBARS_DRAGMOVE};
  EXPECT_EQ(seen.cursors, expected);

  // From the customise sheet's list the cursor says copy whatever Ctrl does,
  // and the drop still moves.
  seen.cursors.clear();
  pSecond->LoadToolBar(kSecondId);
  pSecond->OnRecalcLayout();
  Feed(WM_MOUSEMOVE, MK_LBUTTON, At(pSecond, 312));
  Feed(WM_LBUTTONUP, 0, At(pSecond, 312));
  EXPECT_EQ(pTool->PerformDrag(Control(pStandard, 303), TRUE), xtpDropMove);
  ASSERT_EQ(seen.cursors.size(), 2u);
  EXPECT_EQ(seen.cursors[1], static_cast<UINT>(XTP_IDC_COMMANDBARS_DRAGCOPY));
}

TEST_F(CustomizeDragTool, AQuitEndsTheDragAndIsPostedAgain) {
  Feed(WM_MOUSEMOVE, MK_LBUTTON, At(pSecond, 312));
  g_feed.push_back(MSG{nullptr, WM_QUIT, 3, 0, 0, {0, 0}});
  EXPECT_EQ(pBars->GetDragTool()->PerformDrag(Control(pStandard, 301)), xtpDropCancelled);
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(CustomizeDragTool, TheBarOnTopTakesTheDrop) {
  // Second floats over Standard's first button: listed later, it is on top.
  ASSERT_TRUE(pBars->FloatCommandBar(pSecond));
  const CPoint ptUnder = At(pStandard, 302);
  pSecond->SetWindowPos(&CWnd::wndTop, ptUnder.x - 10, ptUnder.y - 10, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  Feed(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, ptUnder);
  Feed(WM_LBUTTONUP, MK_CONTROL, ptUnder);
  EXPECT_EQ(pBars->GetDragTool()->PerformDrag(Control(pStandard, 303)), xtpDropCopy);
  EXPECT_EQ(Ids(pStandard), (std::vector<UINT>{301, 302, 303}));
  EXPECT_EQ(Ids(pSecond).size(), 4u);
}

TEST_F(CustomizeDragTool, AltDragMovesAControlOutsideCustomiseMode) {
  ASSERT_FALSE(pBars->IsCustomizeMode());
  BYTE keys[256] = {};
  keys[VK_MENU] = 0x80;
  ASSERT_TRUE(::SetKeyboardState(keys));
  Feed(WM_MOUSEMOVE, MK_LBUTTON, At(pSecond, 313, TRUE));
  Feed(WM_LBUTTONUP, 0, At(pSecond, 313, TRUE));
  CPoint point = At(pStandard, 302);
  pStandard->ScreenToClient(&point);
  pStandard->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  EXPECT_EQ(Ids(pStandard), (std::vector<UINT>{301, 303}));
  EXPECT_EQ(Ids(pSecond), (std::vector<UINT>{311, 312, 313, 302}));
  EXPECT_EQ(pBars->GetDragControl(), nullptr);

  // With the option off, the press is an ordinary click.
  pBars->GetCommandBarsOptions()->bAltDragCustomization = FALSE;
  g_feed.clear();
  point = At(pStandard, 301);
  pStandard->ScreenToClient(&point);
  // The button's own press loop takes the release.
  g_feed.push_back(MSG{pStandard->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y), 0, {0, 0}});
  CXTPControl::SetGetMessageFunction(&FeedMessage);
  pStandard->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  CXTPControl::SetGetMessageFunction(nullptr);
  EXPECT_EQ(Ids(pStandard), (std::vector<UINT>{301, 303}));
  EXPECT_TRUE(g_feed.empty()) << "the release went to the button, not to a drag";
}

// A frame that offers no customising: Alt+press is an ordinary click, the
// drag never starts and every button stays.
class NoCustomizeDragTool : public CustomizeDragTool {
protected:
  void SetUp() override {
    bCustomizing = FALSE;
    CustomizeDragTool::SetUp();
  }
};

TEST_F(NoCustomizeDragTool, AltPressIsAnOrdinaryClick) {
  ASSERT_FALSE(pBars->IsCustomizeAvail());
  BYTE keys[256] = {};
  keys[VK_MENU] = 0x80;
  ASSERT_TRUE(::SetKeyboardState(keys));
  // Where a drag would drop the button: Second's last button (in Standard's
  // coordinates, where the messages go).
  CPoint ptFar = At(pSecond, 313, TRUE);
  pStandard->ScreenToClient(&ptFar);
  const struct {
    const char *name;
    bool bBack; // the mouse comes back to the button before the release
    std::vector<UINT> commands;
  } kCases[] = {
      {"released far away", false, {}},
      {"taken far away and back", true, {302}},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    // The drag measures from where the cursor is: it rests on the button.
    CPoint point = At(pStandard, 302);
    ::SetCursorPos(point.x, point.y);
    pStandard->ScreenToClient(&point);
    const CPoint ptRelease = c.bBack ? point : ptFar;
    g_feed.clear();
    g_feed.push_back(
        MSG{pStandard->GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptFar.x, ptFar.y), 0, {0, 0}});
    g_feed.push_back(MSG{
        pStandard->GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptRelease.x, ptRelease.y), 0, {0, 0}});
    g_feed.push_back(
        MSG{pStandard->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(ptRelease.x, ptRelease.y), 0, {0, 0}});
    pFrame->m_commands.clear();
    CXTPControl::SetGetMessageFunction(&FeedMessage);
    pStandard->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    CXTPControl::SetGetMessageFunction(nullptr);
    EXPECT_TRUE(g_feed.empty()) << "the button's press took the mouse";
    EXPECT_EQ(pFrame->m_commands, c.commands);
    EXPECT_FALSE(pBars->IsCustomizeMode());
    // A button moved would leave the next case nothing to press.
    ASSERT_EQ(Ids(pStandard), (std::vector<UINT>{301, 302, 303}));
    ASSERT_EQ(Ids(pSecond), (std::vector<UINT>{311, 312, 313}));
  }
}

// --- New Toolbar dialog ------------------------------------------------------

class NewToolbarCheck : public CXTPNewToolbarDlg {
public:
  using CXTPNewToolbarDlg::CXTPNewToolbarDlg;
  BOOL OnInitDialog() override {
    CXTPNewToolbarDlg::OnInitDialog();
    GetDlgItemText(XTP_IDC_TOOLBAR_NAME, m_strShown);
    GetWindowText(m_strCaption);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  CString m_strShown, m_strCaption;
};

TEST_F(CustomizeDragTool, NewToolbarNamesAndIds) {
  CXTPNewToolbarDlg first(pFrame, pBars);
  EXPECT_STREQ(first.SuggestName(), L"Custom 1");
  CXTPToolBar *pCustom2 = pBars->AddCustomBar(L"Custom 2", 0xE800);
  ASSERT_NE(pCustom2, nullptr);
  EXPECT_STREQ(first.SuggestName(), L"Custom 1") << "a gap is filled";
  CXTPToolBar *pCustom1 = pBars->AddCustomBar(L"Custom 1", 0xE802);
  ASSERT_NE(pCustom1, nullptr);
  EXPECT_STREQ(first.SuggestName(), L"Custom 3");

  const struct {
    const wchar_t *name;
    UINT nError;
  } names[] = {{L"", XTP_IDS_ERROR_BLANKNAME},
               {L"Standard", XTP_IDS_ERROR_EXISTS},
               {L"custom 1", 0}, // names are told apart by case
               {L"Mine", 0}};
  for (const auto &n : names) EXPECT_EQ(first.ValidateName(n.name), n.nError) << n.nError;
  EXPECT_EQ(first.m_nNewID, 0xE801u) << "the first id no bar has";

  // Renaming keeps its own name free and gives no new id.
  CXTPNewToolbarDlg rename(pFrame, pBars, pCustom1);
  EXPECT_EQ(rename.ValidateName(L"Custom 1"), 0u);
  EXPECT_EQ(rename.ValidateName(L"Custom 2"), static_cast<UINT>(XTP_IDS_ERROR_EXISTS));

  NewToolbarCheck shownNew(pFrame, pBars);
  EXPECT_EQ(shownNew.DoModal(), IDCANCEL);
  EXPECT_STREQ(shownNew.m_strShown, L"Custom 3");
  EXPECT_STREQ(shownNew.m_strCaption, L"New Toolbar");
  NewToolbarCheck shownRename(pFrame, pBars, pCustom2);
  EXPECT_EQ(shownRename.DoModal(), IDCANCEL);
  EXPECT_STREQ(shownRename.m_strShown, L"Custom 2");
  EXPECT_STREQ(shownRename.m_strCaption, L"Rename Toolbar");
}

TEST_F(CustomizeDragTool, NewToolbarIdsRunOut) {
  // Bars without windows hold every id a new toolbar may have.
  for (UINT nID = CXTPNewToolbarDlg::kFirstToolbarId; nID <= CXTPNewToolbarDlg::kLastToolbarId; nID++) {
    auto *pBar = new CXTPToolBar;
    pBar->SetBarID(static_cast<int>(nID));
    pBars->AddBar(pBar);
    pBar->InternalRelease();
  }
  CXTPNewToolbarDlg dlg(pFrame, pBars);
  EXPECT_EQ(dlg.ValidateName(L"One more"), static_cast<UINT>(XTP_IDS_ERROR_LIMIT));
}

} // namespace

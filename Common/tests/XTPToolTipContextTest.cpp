// The tooltip context in real windows: the tool records an owner's hit test
// gets and what reaches the tooltip control for each move (recorded on the
// control), each tip style shown for a hit-tested tool, the title pair, the
// rich-text tip's streaming, sizing and placement, and the cancel on clicks
// and keys through the framework's pre-translation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemoryCanvas.h"
#include "WindowTestKit.h"
#include "XTPDrawHelpers.h"
#include "XTPToolTipContext.h"

namespace {

struct Tool {
  CRect rect;
  UINT_PTR nID;
  LPCTSTR lpszTip;
  LPCTSTR lpszTitle;
  LPCTSTR lpszDescription;
};

// A popup that owns tools by rectangle, far from where other test programs
// put their windows (the screen is shared), and above them.
class CToolBoard : public CWnd {
public:
  static CRect ScreenRect() { return CRect(700, 560, 1100, 760); }

  BOOL Create() {
    LPCTSTR lpszClass =
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    const CRect rc = ScreenRect();
    // Shown without taking activation: the other test programs on the
    // screen would lose their focus (and their in-place editors) to it.
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, lpszClass, L"tool board", WS_POPUP, rc.left, rc.top,
                  rc.Width(), rc.Height(), nullptr, nullptr))
      return FALSE;
    return SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  INT_PTR OnToolHitTest(CPoint point, TTTOOLINFOW *pTI) const override {
    m_records.push_back(pTI->cbSize);
    for (const Tool &tool : m_tools) {
      if (!tool.rect.PtInRect(point)) continue;
      CXTPToolTipContext::FillToolDetails(pTI, m_hWnd, tool.rect, tool.nID, tool.lpszTip, tool.lpszTitle,
                                          tool.lpszDescription);
      if (m_bAlwaysTip) pTI->uFlags |= TTF_ALWAYSTIP;
      return static_cast<INT_PTR>(tool.nID);
    }
    return -1;
  }
  CPoint ScreenPoint(const CRect &rc) const {
    CPoint pt = rc.CenterPoint();
    ClientToScreen(&pt);
    return pt;
  }

  std::vector<Tool> m_tools;
  BOOL m_bAlwaysTip = TRUE;
  mutable std::vector<UINT> m_records; // cbSize of every record hit-tested
};

// What the context sends its tooltip control, one line per message.
class CToolTipRecorder {
public:
  void Attach(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetWindowSubclass(hWnd, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~CToolTipRecorder() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::RemoveWindowSubclass(m_hWnd, Proc, 1);
  }
  std::vector<std::string> Take() {
    std::vector<std::string> lines;
    lines.swap(m_lines);
    return lines;
  }

private:
  static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR ref) {
    auto *pThis = reinterpret_cast<CToolTipRecorder *>(ref);
    auto tool = [lParam] { return std::to_string(reinterpret_cast<TTTOOLINFOW *>(lParam)->uId); };
    switch (message) {
    case TTM_ADDTOOLW:
      pThis->m_lines.push_back("add " + tool());
      break;
    case TTM_DELTOOLW:
      pThis->m_lines.push_back("del " + tool());
      break;
    case TTM_ACTIVATE:
      pThis->m_lines.push_back(wParam ? "activate" : "deactivate");
      break;
    case TTM_RELAYEVENT:
      pThis->m_lines.push_back("relay");
      break;
    case TTM_SETTITLEW:
      pThis->m_lines.push_back("title " + std::to_string(wParam) + (lParam != 0 ? " text" : " null"));
      break;
    case TTM_UPDATETIPTEXTW:
      pThis->m_lines.push_back("text " + tool());
      break;
    default:
      break;
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
  }

  HWND m_hWnd = nullptr;
  std::vector<std::string> m_lines;
};

// A context whose common-controls version a test chooses.
class CTestContext : public CXTPToolTipContext {
public:
  void SetComCtlVersion(DWORD dwVersion) { m_dwComCtlVersion = dwVersion; }
};

const CRect kToolA(10, 10, 110, 40), kToolB(150, 10, 250, 40), kNowhere(300, 150, 310, 160);

class ToolTipContext : public ::testing::Test {
protected:
  // One board for the suite: making and ending a shown top-level window
  // costs Wine about a second each.
  static void SetUpTestSuite() { ASSERT_TRUE(m_board.Create()); }
  static void TearDownTestSuite() { m_board.DestroyWindow(); }
  void SetUp() override {
    if (m_board.m_hWnd == nullptr) {
      ASSERT_TRUE(m_board.Create());
    }
    const CRect rc = CToolBoard::ScreenRect();
    m_board.SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE);
    m_board.EnableToolTips(FALSE);
    m_board.m_bAlwaysTip = TRUE;
    m_board.m_tools = {{kToolA, 11, L"Fast File Search", L"Search", L"Looks for deleted entries"},
                       {kToolB, 12, L"Full Search", nullptr, nullptr}};
  }
  // The cursor over a point of the board, and the move fed by the owner.
  void MoveTo(CXTPToolTipContext &context, const CRect &rc) { Feed(context, WM_MOUSEMOVE, rc); }
  void Feed(CXTPToolTipContext &context, UINT message, const CRect &rc) {
    const CPoint pt = m_board.ScreenPoint(rc);
    ::SetCursorPos(pt.x, pt.y);
    CPoint ptClient = rc.CenterPoint();
    context.FeedOwnerMessage(&m_board, message, 0, MAKELPARAM(ptClient.x, ptClient.y));
  }
  // The control's record of a tool of the board, its text read back.
  bool ReadTool(CXTPToolTipWnd *pToolTip, UINT_PTR nID, TTTOOLINFOW &ti, std::wstring &text) {
    wchar_t buffer[256] = {};
    ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = m_board.m_hWnd;
    ti.uId = nID;
    ti.lpszText = buffer;
    const bool bFound = pToolTip->SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    text = buffer;
    return bFound;
  }
  // Shows the tip for a tool: waits for the control to show it.
  bool ShowTipFor(CXTPToolTipContext &context, const CRect &rc) {
    MoveTo(context, kNowhere); // makes the window, so the delay can be shortened
    context.GetToolTip()->SetDelayTime(TTDT_INITIAL, 20);
    MoveTo(context, rc);
    PumpFor(3000, context.GetToolTip()->m_hWnd);
    return context.GetToolTip()->IsWindowVisible() != FALSE;
  }

  static CToolBoard m_board;
};

CToolBoard ToolTipContext::m_board;

TEST_F(ToolTipContext, MovesRegisterRelayAndDropToolsClicksAndKeysCancel) {
  struct Step {
    const char *what;
    UINT message;
    CRect rc;
    int nHeldButton; // a virtual key, or 0
    std::vector<std::string> expected;
  };
  // Titles off: no title is sent, and the old tool goes after the new one is in.
  const Step steps[] = {
      {"first tool", WM_MOUSEMOVE, kToolA, 0, {"add 11", "activate", "relay"}},
      {"same tool, same place", WM_MOUSEMOVE, kToolA, 0, {"relay"}},
      {"button released on it", WM_LBUTTONUP, kToolA, 0, {"relay"}},
      {"click on it", WM_LBUTTONDOWN, kToolA, 0, {"deactivate"}},
      {"key over it", WM_KEYDOWN, kToolA, 0, {"deactivate"}},
      {"wheel over it", WM_MOUSEWHEEL, kToolA, 0, {}},
      {"drag over another tool", WM_MOUSEMOVE, kToolB, VK_LBUTTON, {}},
      {"right button held", WM_MOUSEMOVE, kToolB, VK_RBUTTON, {}},
      {"middle button held", WM_NCMOUSEMOVE, kToolB, VK_MBUTTON, {}},
      {"another tool", WM_MOUSEMOVE, kToolB, 0, {"add 12", "activate", "relay", "del 11"}},
      {"no tool", WM_MOUSEMOVE, kNowhere, 0, {"deactivate", "relay", "del 12"}},
      {"still no tool", WM_MOUSEMOVE, kNowhere, 0, {}},
      {"back on a tool", WM_MOUSEMOVE, kToolA, 0, {"add 11", "activate", "relay"}},
  };
  CTestContext context;
  context.SetComCtlVersion(0x00040047); // no titles: the simplest sequence
  MoveTo(context, kNowhere);
  ASSERT_NE(context.GetToolTip(), nullptr);
  CToolTipRecorder recorder;
  recorder.Attach(context.GetToolTip()->m_hWnd);
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  for (const Step &step : steps) {
    BYTE held[256];
    memcpy(held, keys, sizeof(held));
    if (step.nHeldButton != 0) held[step.nHeldButton] = 0x80;
    ::SetKeyboardState(held);
    m_board.m_records.clear();
    Feed(context, step.message, step.rc);
    ::SetKeyboardState(keys);
    EXPECT_EQ(recorder.Take(), step.expected) << step.what;
    if (step.nHeldButton != 0) {
      EXPECT_TRUE(m_board.m_records.empty()) << step.what << ": hit-tested";
    }
  }
  EXPECT_EQ(context.GetToolTip()->GetToolCount(), 1);
}

TEST_F(ToolTipContext, ToolMovedToAnotherPlaceIsRegisteredAgain) {
  CXTPToolTipContext context;
  MoveTo(context, kToolA);
  CToolTipRecorder recorder;
  recorder.Attach(context.GetToolTip()->m_hWnd);
  m_board.m_tools[0].rect = CRect(5, 5, 120, 45); // the bar laid out again
  MoveTo(context, kToolA);
  EXPECT_EQ(recorder.Take(),
            (std::vector<std::string>{"del 11", "add 11", "title 0 null", "activate", "relay"}));
  TTTOOLINFOW ti;
  std::wstring text;
  ASSERT_TRUE(ReadTool(context.GetToolTip(), 11, ti, text));
  EXPECT_TRUE(::EqualRect(&ti.rect, CRect(5, 5, 120, 45)));
  EXPECT_EQ(context.GetToolTip()->GetToolCount(), 1);
}

// The record sizes are those of this build's TOOLINFO (the 32-bit 40 and 44
// bytes are too small on 64-bit, and the control refuses or misreads them).
TEST_F(ToolTipContext, HitRecordsCarryTheBuildsSizesAndTheTitlePair) {
  struct Case {
    const char *what;
    BOOL bTitles;
    CRect rc;
    UINT nRecordSize;
    std::vector<std::string> expected;
    const wchar_t *text;
  };
  const Case cases[] = {
      {"titles off",
       FALSE,
       kToolA,
       TTTOOLINFOW_V1_SIZE,
       {"add 11", "title 0 null", "activate", "relay"},
       L"Fast File Search"},
      {"titles on",
       TRUE,
       kToolA,
       TTTOOLINFOW_V2_SIZE,
       {"add 11", "title 1 text", "text 11", "activate", "relay"},
       L"Looks for deleted entries"},
      {"titles on, tool without title",
       TRUE,
       kToolB,
       TTTOOLINFOW_V2_SIZE,
       {"add 12", "title 0 null", "activate", "relay"},
       L"Full Search"},
  };
  for (const Case &c : cases) {
    CXTPToolTipContext context;
    ASSERT_TRUE(context.IsBalloonSupported()) << "the loaded common controls are older than 5.80";
    context.ShowTitle(c.bTitles, 1);
    MoveTo(context, kNowhere);
    CToolTipRecorder recorder;
    recorder.Attach(context.GetToolTip()->m_hWnd);
    m_board.m_records.clear();
    MoveTo(context, c.rc);
    EXPECT_EQ(m_board.m_records, std::vector<UINT>{c.nRecordSize}) << c.what;
    EXPECT_EQ(recorder.Take(), c.expected) << c.what;
    TTTOOLINFOW ti;
    std::wstring text;
    ASSERT_TRUE(ReadTool(context.GetToolTip(), c.rc == kToolA ? 11 : 12, ti, text)) << c.what;
    EXPECT_EQ(text, c.text) << c.what;
    EXPECT_EQ(ti.hwnd, m_board.m_hWnd);
    EXPECT_TRUE(::EqualRect(&ti.rect, &c.rc)) << c.what;
    EXPECT_EQ(ti.uFlags & (TTF_NOTBUTTON | TTF_ALWAYSTIP), 0u)
        << "the framework's own bits reach the control";
    EXPECT_EQ(context.GetLastTool().uId, c.rc == kToolA ? 11u : 12u);
  }
}

TEST_F(ToolTipContext, EachStyleShowsItsTipForTheHitTool) {
  struct Case {
    int nStyle;
    DWORD dwBalloon;
  };
  for (const Case &c : {Case{xtpToolTipStandard, 0}, Case{xtpToolTipBalloon, TTS_BALLOON},
                        Case{xtpToolTipOffice, 0}, Case{xtpToolTipRTF, 0}}) {
    CXTPToolTipContext context;
    context.SetStyle(c.nStyle);
    ASSERT_EQ(context.GetStyle(), c.nStyle);
    ASSERT_TRUE(ShowTipFor(context, kToolB)) << "style " << c.nStyle;
    CXTPToolTipWnd *pToolTip = context.GetToolTip();
    EXPECT_EQ(pToolTip->GetStyle() & TTS_BALLOON, c.dwBalloon);
    EXPECT_EQ(::GetWindow(pToolTip->m_hWnd, GW_OWNER), m_board.m_hWnd);
    EXPECT_EQ(pToolTip->GetRichEdit().m_hWnd != nullptr, c.nStyle == xtpToolTipRTF);
    // Plain tips sit below the cursor (a balloon may point up at it).
    CRect rcTip;
    pToolTip->GetWindowRect(&rcTip);
    EXPECT_GT(rcTip.Width(), 10) << "style " << c.nStyle;
    if (c.nStyle != xtpToolTipBalloon) {
      EXPECT_GE(rcTip.top, m_board.ScreenPoint(kToolB).y) << "style " << c.nStyle;
    }
  }
}

TEST_F(ToolTipContext, TipGoesWithItsOwner) {
  CXTPToolTipContext context;
  MoveTo(context, kToolA);
  const HWND hWndTip = context.GetToolTip()->m_hWnd;
  m_board.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hWndTip));
  ASSERT_TRUE(m_board.Create());
  // The next move builds a new window for the new owner.
  MoveTo(context, kToolA);
  ASSERT_NE(context.GetToolTip()->m_hWnd, nullptr);
  EXPECT_EQ(::GetWindow(context.GetToolTip()->m_hWnd, GW_OWNER), m_board.m_hWnd);
  EXPECT_EQ(context.GetToolTip()->GetToolCount(), 1);
}

TEST_F(ToolTipContext, RichTextTipShowsTheRtfInTheRichEditSizedToIt) {
  m_board.m_tools[1].lpszTip = L"{\\rtf1 {\\b Gr\u00f6\u00dfe:} 12 KB\\par line two}";
  CXTPToolTipContext context;
  context.SetStyle(xtpToolTipRTF);
  ASSERT_TRUE(ShowTipFor(context, kToolB));
  CRichEditCtrl &edit = context.GetToolTip()->GetRichEdit();
  CString strText;
  edit.GetWindowText(strText);
  strText.Remove(L'\n'); // some rich edits end paragraphs with CR LF here
  EXPECT_STREQ(strText, L"Gr\u00f6\u00dfe: 12 KB\rline two") << "streamed text lost characters";
  CHARFORMATW cf = {};
  edit.GetDefaultCharFormat(cf);
  EXPECT_EQ(cf.crTextColor, context.GetTipTextColor());
  CRect rcTip;
  context.GetToolTip()->GetWindowRect(&rcTip);
  CRect rcEdit;
  edit.GetWindowRect(&rcEdit);
  EXPECT_EQ(rcTip.Width(), rcEdit.Width() + 5);
  EXPECT_EQ(rcTip.Height(), rcEdit.Height() + 5);
  EXPECT_FALSE(edit.IsWindowVisible()) << "the rich edit is only drawn through, never shown";
}

// What the rich-text tip paints, probed in a bitmap: the rich edit's text in
// its colour on the tip's back colour (the control's own text goes invisible).
TEST_F(ToolTipContext, RichTextTipPaintsTheRichEditsText) {
  m_board.m_tools[1].lpszTip = L"{\\rtf1 {\\b WWWW MMMM} ####}";
  CXTPToolTipContext context;
  context.SetStyle(xtpToolTipRTF);
  context.SetTipColors(RGB(255, 255, 255), RGB(200, 0, 0));
  ASSERT_TRUE(ShowTipFor(context, kToolB));
  CRect rcTip;
  context.GetToolTip()->GetClientRect(&rcTip);
  MemoryCanvas canvas(rcTip.Width(), rcTip.Height(), RGB(0, 0, 255));
  context.GetToolTip()->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()),
                                    PRF_CLIENT);
  int nText = 0, nBack = 0;
  for (int y = 0; y < rcTip.Height(); y++) {
    for (int x = 0; x < rcTip.Width(); x++) {
      const COLORREF clr = canvas.Pixel(x, y);
      nText += GetRValue(clr) > 120 && GetGValue(clr) < 100 && GetBValue(clr) < 100;
      nBack += clr == RGB(255, 255, 255);
    }
  }
  EXPECT_GT(nText, 30) << "no text in the tip's text colour";
  EXPECT_GT(nBack, rcTip.Width() * rcTip.Height() / 3) << "the tip's back colour is not painted";
}

TEST_F(ToolTipContext, RichTextTipNearTheWorkAreaEdgeGoesLeftAndAbove) {
  m_board.m_tools[1].lpszTip = L"{\\rtf1 A rich tip that is wide enough to pass the right edge}";
  CXTPToolTipContext context;
  context.SetStyle(xtpToolTipRTF);
  const CRect rcWork = XTPMultiMonitor::GetWorkAreaOfWindow(m_board.m_hWnd);
  // The board moved so that the tool lies in the work area's bottom-right corner.
  CRect rcBoard;
  m_board.GetWindowRect(&rcBoard);
  m_board.SetWindowPos(nullptr, rcWork.right - kToolB.right + 2, rcWork.bottom - kToolB.bottom + 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(ShowTipFor(context, kToolB));
  CPoint ptCursor;
  ::GetCursorPos(&ptCursor);
  CRect rcTip;
  context.GetToolTip()->GetWindowRect(&rcTip);
  EXPECT_LE(rcTip.right, rcWork.right);
  EXPECT_GE(rcTip.left, rcWork.left);
  EXPECT_LE(rcTip.bottom, ptCursor.y + 1) << "the tip goes above the cursor";
  EXPECT_GE(rcTip.top, rcWork.top);
}

TEST_F(ToolTipContext, RichEditWidthSearchKeepsTheHeightAtTheMaximumWidth) {
  m_board.m_tools[1].lpszTip =
      L"{\\rtf1 one two three four five six seven eight nine ten eleven twelve thirteen fourteen}";
  struct Case {
    int nMaxWidth;
    bool bOneLine;
  };
  for (const Case &c : {Case{150, false}, Case{-1, true}}) {
    CXTPToolTipContext context;
    context.SetStyle(xtpToolTipRTF);
    context.SetMaxTipWidth(c.nMaxWidth);
    ASSERT_TRUE(ShowTipFor(context, kToolB)) << c.nMaxWidth;
    const CSize size = context.GetToolTip()->GetRichEditSize();
    if (c.nMaxWidth > 0) {
      EXPECT_LE(size.cx, c.nMaxWidth + 2);
    }
    // Without a maximum the search may use twice the screen: one line.
    CRichEditCtrl &edit = context.GetToolTip()->GetRichEdit();
    const int nLines = (int)edit.SendMessage(EM_GETLINECOUNT);
    EXPECT_EQ(nLines == 1, c.bOneLine) << c.nMaxWidth << ": " << nLines << " lines, " << size.cx << " wide";
  }
}

TEST_F(ToolTipContext, StreamTextReadsRtfAndFallsBackToWidePlainText) {
  struct Case {
    const wchar_t *text;
    const wchar_t *shown;
  };
  const Case cases[] = {
      {L"{\\rtf1 plain {\\i italic}}", L"plain italic"},
      // Characters outside the ANSI code page survive both ways.
      {L"{\\rtf1 \u0416\u0443\u0440\u043d\u0430\u043b \u2713}",
       L"\u0416\u0443\u0440\u043d\u0430\u043b \u2713"},
      {L"Not RTF: \u65e5\u672c \u00e9t\u00e9", L"Not RTF: \u65e5\u672c \u00e9t\u00e9"},
  };
  CXTPToolTipContext context;
  CRichEditCtrl edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | ES_MULTILINE, CRect(0, 0, 200, 50), &m_board, 5));
  EXPECT_EQ(context.StreamText(edit, nullptr), 0);
  EXPECT_EQ(context.StreamText(edit, L""), 0);
  for (const Case &c : cases) {
    edit.SetWindowText(L"");
    EXPECT_GT(context.StreamText(edit, c.text), 0) << c.shown;
    CString strText;
    edit.GetWindowText(strText);
    EXPECT_STREQ(strText, c.shown);
  }
}

TEST_F(ToolTipContext, StyleAndTitleNeedCommonControls580) {
  struct Case {
    DWORD dwVersion;
    int nStyleAfterBalloon;
    BOOL bTitle;
  };
  for (const Case &c : {Case{0x00040048, xtpToolTipStandard, FALSE},
                        Case{0x00050050, xtpToolTipBalloon, TRUE}, Case{0, xtpToolTipStandard, FALSE}}) {
    CTestContext context;
    context.SetComCtlVersion(c.dwVersion);
    context.SetStyle(xtpToolTipBalloon);
    EXPECT_EQ(context.GetStyle(), c.nStyleAfterBalloon) << std::hex << c.dwVersion;
    context.ShowTitle(TRUE, 2);
    EXPECT_EQ(context.IsShowTitle(), c.bTitle);
    context.SetStyle(xtpToolTipOffice);
    EXPECT_EQ(context.GetStyle(), xtpToolTipOffice);
  }
  EXPECT_GE(CXTPToolTipContext::GetComCtlVersion(), 0x00050050u);
}

TEST_F(ToolTipContext, StyleOrWidthChangeBuildsTheWindowAgain) {
  CXTPToolTipContext context;
  MoveTo(context, kToolA);
  ASSERT_NE(context.GetToolTip(), nullptr);
  context.SetStyle(xtpToolTipOffice);
  EXPECT_EQ(context.GetToolTip(), nullptr);
  EXPECT_EQ(context.GetLastTool().cbSize, 0u);
  MoveTo(context, kToolA);
  ASSERT_NE(context.GetToolTip(), nullptr);
  EXPECT_EQ(context.GetToolTip()->GetToolCount(), 1);
  context.SetMaxTipWidth(300);
  EXPECT_EQ(context.GetToolTip(), nullptr);
  MoveTo(context, kToolA);
  EXPECT_EQ(context.GetToolTip()->GetMaxTipWidth(), 300);
}

TEST_F(ToolTipContext, InactiveOwnerGetsNoTipUnlessTheToolAlwaysTips) {
  // The board never takes activation (other programs share the screen).
  ASSERT_NE(::GetActiveWindow(), m_board.m_hWnd);
  CXTPToolTipContext context;
  MoveTo(context, kNowhere);
  CToolTipRecorder recorder;
  recorder.Attach(context.GetToolTip()->m_hWnd);
  m_board.m_bAlwaysTip = FALSE;
  MoveTo(context, kToolA);
  EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"add 11", "title 0 null", "relay"}));
  m_board.m_bAlwaysTip = TRUE;
  MoveTo(context, kToolB);
  EXPECT_EQ(recorder.Take(),
            (std::vector<std::string>{"add 12", "title 0 null", "activate", "relay", "del 11"}));
  EXPECT_EQ(context.GetToolTip()->GetToolCount(), 1) << "a tool left behind while inactive";
}

// The module filter: windows that enable tooltips are served through
// pre-translation; a click or a key over them hides the tip.
TEST_F(ToolTipContext, ModuleFilterServesWindowsThatEnableToolTipsAndCancels) {
  CXTPToolTipContext context;
  context.InstallModuleFilter();
  EXPECT_EQ(CXTPToolTipContext::GetModuleToolTipContext(), &context);
  m_board.EnableToolTips(TRUE);
  auto feed = [this](UINT message, const CRect &rc) {
    MSG msg = {m_board.m_hWnd, message, 0, 0, ::GetTickCount(), m_board.ScreenPoint(rc)};
    ::SetCursorPos(msg.pt.x, msg.pt.y);
    return AfxPreTranslateMessage(&msg);
  };
  EXPECT_FALSE(feed(WM_MOUSEMOVE, kNowhere));
  ASSERT_NE(context.GetToolTip(), nullptr);
  context.GetToolTip()->SetDelayTime(TTDT_INITIAL, 20);
  feed(WM_MOUSEMOVE, kToolA);
  EXPECT_EQ(context.GetLastTool().uId, 11u);
  PumpFor(3000, context.GetToolTip()->m_hWnd);
  ASSERT_TRUE(context.GetToolTip()->IsWindowVisible());

  struct Case {
    UINT message;
  };
  for (UINT message : {WM_LBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN, WM_NCRBUTTONDOWN}) {
    feed(WM_MOUSEMOVE, kNowhere);
    feed(WM_MOUSEMOVE, kToolA);
    PumpFor(3000, context.GetToolTip()->m_hWnd);
    ASSERT_TRUE(context.GetToolTip()->IsWindowVisible()) << std::hex << message;
    feed(message, kToolA);
    PumpFor(50);
    EXPECT_FALSE(context.GetToolTip()->IsWindowVisible()) << "message " << std::hex << message;
  }

  // A window that did not ask for tooltips gets none.
  m_board.EnableToolTips(FALSE);
  feed(WM_MOUSEMOVE, kToolB);
  EXPECT_EQ(context.GetLastTool().uId, 11u);
}

TEST_F(ToolTipContext, DestroyedModuleContextLeavesTheFrameworkFilter) {
  {
    CXTPToolTipContext context;
    context.InstallModuleFilter();
  }
  EXPECT_EQ(CXTPToolTipContext::GetModuleToolTipContext(), nullptr);
  // The hook stays, and falls back to the framework's own filter and tooltip.
  m_board.EnableToolTips(TRUE);
  MSG msg = {m_board.m_hWnd, WM_MOUSEMOVE, 0, 0, 0, m_board.ScreenPoint(kToolA)};
  ::SetCursorPos(msg.pt.x, msg.pt.y);
  AfxPreTranslateMessage(&msg);
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  ASSERT_NE(pState->pToolTip, nullptr);
  EXPECT_EQ(pState->lastToolInfo.uId, 11u);
  EXPECT_EQ(pState->lastToolInfo.cbSize, CToolTipCtrl::ToolInfoSize());
  EXPECT_EQ(pState->pToolTip->GetToolCount(), 1);
  AfxSetToolTipFilter(nullptr);
}

TEST(ToolTipDetails, FillToolDetailsFillsWhatTheRecordHasRoomFor) {
  struct Case {
    const char *what;
    UINT cbSize;
    LPCTSTR lpszTitle;
    bool bFilled;
    bool bPair;
  };
  const Case cases[] = {
      {"too small", TTTOOLINFOW_V1_SIZE - 1, L"Title", false, false},
      {"without lParam", TTTOOLINFOW_V1_SIZE, L"Title", true, false},
      {"with lParam", TTTOOLINFOW_V2_SIZE, L"Title", true, true},
      {"with lParam, no title", TTTOOLINFOW_V2_SIZE, L"", true, false},
      {"newest record", sizeof(TTTOOLINFOW), L"Title", true, true},
  };
  for (const Case &c : cases) {
    XTP_TOOLTIP_TITLE pair = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = c.cbSize;
    ti.lParam = reinterpret_cast<LPARAM>(&pair);
    const HWND hWnd = reinterpret_cast<HWND>(0x1234);
    CXTPToolTipContext::FillToolDetails(&ti, hWnd, CRect(1, 2, 3, 4), 9, L"Tip", c.lpszTitle, L"Description");
    EXPECT_EQ(ti.hwnd == hWnd, c.bFilled) << c.what;
    EXPECT_EQ(ti.lpszText != nullptr && wcscmp(ti.lpszText, L"Tip") == 0, c.bFilled) << c.what;
    EXPECT_EQ(pair.lpszTitle != nullptr, c.bPair) << c.what;
    if (c.bPair) {
      EXPECT_STREQ(pair.lpszTitle, L"Title");
      EXPECT_STREQ(pair.lpszDescription, L"Description");
    }
    AfxFreeToolTipText(ti);
    free(pair.lpszTitle);
    free(pair.lpszDescription);
  }
  CXTPToolTipContext::FillToolDetails(nullptr, nullptr, CRect(), 1, L"x"); // no record: nothing
}

TEST(ToolTipDetails, StrCpyStopsAtTheDestinationSize) {
  struct Case {
    size_t size;
    const wchar_t *expected;
  };
  for (const Case &c : {Case{1, L""}, Case{4, L"Que"}, Case{8, L"Quendal"}, Case{20, L"Quendal"}}) {
    wchar_t buffer[24];
    wmemset(buffer, L'#', 24);
    XTPStrCpy(buffer, c.size, L"Quendal");
    EXPECT_STREQ(buffer, c.expected) << c.size;
    EXPECT_EQ(buffer[c.size], L'#') << "written past the size " << c.size;
  }
  wchar_t untouched = L'#';
  XTPStrCpy(&untouched, 0, L"Q");
  EXPECT_EQ(untouched, L'#');
}

} // namespace

// The window-test kit itself: the sequence comparison's rules, the recorder on
// a real control and the pixel probe on painted windows.
#include "ControlTestWindow.h"
#include "WindowTestKit.h"

#include <string>
#include <vector>

namespace {

RecordedMessage Got(UINT message, UINT code = 0, LPARAM detail = 0) {
  return RecordedMessage{nullptr, message, 0, 0, code, nullptr, detail};
}

TEST(MessageSequence, ComparisonRules) {
  const std::vector<RecordedMessage> clickThenChange = {Got(WM_NOTIFY, NM_CLICK, 2),
                                                        Got(WM_COMMAND, EN_CHANGE)};
  struct Case {
    const char *name;
    std::vector<RecordedMessage> recorded;
    std::vector<ExpectedMessage> expected;
    bool underWine;
    bool matches;
  } const cases[] = {
      {"same sequence",
       clickThenChange,
       {{WM_NOTIFY, NM_CLICK, kCode}, {WM_COMMAND, EN_CHANGE, kCode}},
       false,
       true},
      {"code ignored without kCode", clickThenChange, {{WM_NOTIFY, 0}, {WM_COMMAND, 0}}, false, true},
      {"wrong code",
       clickThenChange,
       {{WM_NOTIFY, NM_DBLCLK, kCode}, {WM_COMMAND, EN_CHANGE, kCode}},
       false,
       false},
      {"detail compared",
       clickThenChange,
       {{WM_NOTIFY, NM_CLICK, kCode | kDetail, 0, 0, 3}, {WM_COMMAND}},
       false,
       false},
      {"missing message", {Got(WM_NOTIFY, NM_CLICK)}, {{WM_NOTIFY}, {WM_COMMAND}}, false, false},
      {"optional message missing",
       {Got(WM_NOTIFY, NM_CLICK)},
       {{WM_NOTIFY}, {WM_COMMAND, 0, kOptional}},
       false,
       true},
      {"optional message present", clickThenChange, {{WM_NOTIFY}, {WM_COMMAND, 0, kOptional}}, false, true},
      {"extra message after the table", clickThenChange, {{WM_NOTIFY}}, false, false},
      {"Wine gap missing under Wine",
       {Got(WM_COMMAND)},
       {{WM_NOTIFY, 0, kWineDiffers}, {WM_COMMAND}},
       true,
       true},
      {"Wine gap missing on Windows",
       {Got(WM_COMMAND)},
       {{WM_NOTIFY, 0, kWineDiffers}, {WM_COMMAND}},
       false,
       false},
      {"Wine gap present under Wine",
       clickThenChange,
       {{WM_NOTIFY, 0, kWineDiffers}, {WM_COMMAND}},
       true,
       true},
      {"nothing expected, nothing sent", {}, {}, false, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(static_cast<bool>(CompareMessageSequence(c.recorded, c.expected, c.underWine)), c.matches);
  }
}

class MessageRecorderTest : public ControlTestWindow {
protected:
  HWND MakeButton(int id, int y) {
    return ::CreateWindowExW(0, L"BUTTON", L"press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, y, 80, 20,
                             m_parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                             nullptr);
  }
};

TEST_F(MessageRecorderTest, RecordsWhatAControlTellsItsParent) {
  HWND first = MakeButton(101, 0);
  HWND second = MakeButton(102, 30);
  MessageRecorder recorder(m_parent.m_hWnd);
  ASSERT_TRUE(recorder.IsRecording());
  recorder.Detail([](UINT message, WPARAM wParam, LPARAM) -> LPARAM {
    return message == WM_COMMAND ? LOWORD(wParam) : 0;
  });
  ::SendMessageW(first, BM_CLICK, 0, 0);
  ::SendMessageW(second, BM_CLICK, 0, 0);
  EXPECT_TRUE(recorder.Matches({{WM_COMMAND, BN_CLICKED, kCode | kDetail, 0, 0, 101},
                                {WM_COMMAND, BN_CLICKED, kCode | kDetail, 0, 0, 102}}));
  EXPECT_EQ(recorder.Count(WM_COMMAND, BN_CLICKED), 2u);

  // Only one control's messages, and a stopped recorder records nothing.
  recorder.Clear();
  recorder.FromControl(second);
  ::SendMessageW(first, BM_CLICK, 0, 0);
  ::SendMessageW(second, BM_CLICK, 0, 0);
  EXPECT_TRUE(recorder.Matches({{WM_COMMAND, BN_CLICKED, kCode | kDetail, 0, 0, 102}}));
  recorder.Stop();
  ::SendMessageW(second, BM_CLICK, 0, 0);
  EXPECT_EQ(recorder.Messages().size(), 1u);
}

TEST_F(MessageRecorderTest, AnswersInsteadOfTheWindow) {
  MessageRecorder recorder(m_parent.m_hWnd);
  recorder.Watch(WM_APP + 5).Answer(WM_NOTIFY, NM_CUSTOMDRAW, CDRF_NOTIFYITEMDRAW).Answer(WM_APP + 5, 0, 42);
  NMHDR header = {nullptr, 7, static_cast<UINT>(NM_CUSTOMDRAW)};
  EXPECT_EQ(m_parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(m_parent.SendMessage(WM_APP + 5), 42);
  header.code = NM_CLICK; // not answered: the window's own handling (nothing) runs
  EXPECT_EQ(m_parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 0);
  EXPECT_TRUE(recorder.Matches({{WM_NOTIFY, static_cast<UINT>(NM_CUSTOMDRAW), kCode},
                                {WM_APP + 5},
                                {WM_NOTIFY, static_cast<UINT>(NM_CLICK), kCode}}));
}

WNDPROC g_laterOld = nullptr;
int g_laterCalls = 0;
LRESULT CALLBACK LaterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_laterCalls;
  return ::CallWindowProcW(g_laterOld, hWnd, message, wParam, lParam);
}

// A recorder on a window nothing binds, with a procedure chained after it:
// stopping it keeps that procedure.
TEST_F(MessageRecorderTest, StoppingKeepsAProcedureChainedLater) {
  HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 40, 10, 10, m_parent.m_hWnd, nullptr,
                                   nullptr, nullptr);
  MessageRecorder recorder(hStatic);
  recorder.Watch(WM_APP + 6);
  g_laterOld = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hStatic, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
  recorder.Stop();
  g_laterCalls = 0;
  ::SendMessageW(hStatic, WM_APP + 6, 0, 0);
  EXPECT_EQ(g_laterCalls, 1);
  EXPECT_EQ(recorder.Count(WM_APP + 6), 0u);
}

// Paints its left half red and its right half blue, for the printing message too.
class TwoColourWnd : public CWnd {
public:
  afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM) {
    Paint(reinterpret_cast<HDC>(wParam));
    return 0;
  }
  void Paint(HDC hDC) {
    CRect client;
    GetClientRect(&client);
    CRect left = client, right = client;
    left.right = right.left = client.Width() / 2;
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 255));
    ::FillRect(hDC, &left, red);
    ::FillRect(hDC, &right, blue);
    ::DeleteObject(red);
    ::DeleteObject(blue);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TwoColourWnd, CWnd)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

using PixelProbeTest = ControlTestWindow;

TEST_F(PixelProbeTest, ReadsWhatTheWindowPaints) {
  TwoColourWnd wnd;
  ASSERT_TRUE(wnd.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &m_parent, 1));
  PixelProbe probe(wnd.m_hWnd);
  EXPECT_EQ(probe.Width(), 40);
  EXPECT_EQ(probe.Height(), 20);
  EXPECT_EQ(probe.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(probe.At(19, 19), RGB(255, 0, 0));
  EXPECT_EQ(probe.At(20, 0), RGB(0, 0, 255));
  EXPECT_EQ(probe.At(40, 0), PixelProbe::kUnpainted); // outside
  EXPECT_EQ(probe.Count(CRect(0, 0, 40, 20), RGB(0, 0, 255)), 400);
  EXPECT_EQ(probe.Count(CRect(0, 0, 40, 20), RGB(250, 5, 5), 5), 400);
  EXPECT_EQ(probe.Dominant(CRect(15, 0, 40, 20)), RGB(0, 0, 255));
  EXPECT_FALSE(probe.Contains(CRect(0, 0, 40, 20), PixelProbe::kUnpainted));
}

TEST_F(PixelProbeTest, AWindowThatPrintsNothingStaysUnpainted) {
  CWnd plain; // no WM_PRINTCLIENT handling: nothing is drawn
  ASSERT_TRUE(plain.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_parent, 2));
  PixelProbe probe(plain.m_hWnd, PRF_CLIENT);
  EXPECT_EQ(probe.Count(CRect(0, 0, 10, 10), PixelProbe::kUnpainted), 100);
}

TEST_F(PixelProbeTest, ReadsAStandardControl) {
  HWND black = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 0, 0, 30, 10,
                                 m_parent.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(black, nullptr);
  // Windows fills a black rectangle with the window-frame colour, Wine with the
  // dark 3-D shadow colour.
  const COLORREF blackRect = ::GetSysColor(IsRunningUnderWine() ? COLOR_3DDKSHADOW : COLOR_WINDOWFRAME);
  PixelProbe probe(black);
  EXPECT_EQ(probe.Count(CRect(0, 0, 30, 10), blackRect), 300);

  // With the frame: a bordered control in window coordinates.
  HWND edge = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 0, 20,
                                30, 30, m_parent.m_hWnd, nullptr, nullptr, nullptr);
  PixelProbe framed(edge, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(framed.Width(), 30);
  EXPECT_EQ(framed.At(15, 15), blackRect);
  EXPECT_NE(framed.At(0, 0), PixelProbe::kUnpainted);
}

} // namespace

// The capture loop on a real window: how each way out ends it (the callback,
// Esc, a quit request, the capture taken or released elsewhere, an
// exception) and that the capture is given back on every one of them; the
// pending paints it dispatches and the ticks of a loop held still.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "WindowTestKit.h"
#include "XTPCaptureLoop.h"

namespace {

constexpr UINT kMsgTakeCapture = WM_APP + 1;    // wParam: the window that takes it
constexpr UINT kMsgReleaseCapture = WM_APP + 2; // the window gives it up itself
constexpr UINT kMsgMarker = WM_APP + 3;

// A small popup far from where the other test programs put their windows,
// shown without activation, that counts its paints and obeys the capture
// messages above.
class CaptureWindow : public CWnd {
public:
  BOOL Create(int x) {
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, lpszClass, L"capture", WS_POPUP, x, 860, 40, 30,
                  nullptr, nullptr))
      return FALSE;
    return SetWindowPos(nullptr, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  int paints = 0;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      ::BeginPaint(m_hWnd, &ps);
      ::EndPaint(m_hWnd, &ps);
      paints++;
      return 0;
    }
    if (message == kMsgTakeCapture) {
      ::SetCapture(reinterpret_cast<HWND>(wParam));
      return 0;
    }
    if (message == kMsgReleaseCapture) {
      ::ReleaseCapture();
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class CaptureLoop : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(900));
    ASSERT_TRUE(other.Create(960));
    PumpPendingMessages();
  }
  void TearDown() override {
    if (::GetCapture()) ::ReleaseCapture();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    window.DestroyWindow();
    other.DestroyWindow();
  }
  void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    ::PostMessageW(window.m_hWnd, message, wParam, lParam);
  }
  // Records what reaches the callback and dispatches everything but the
  // mouse, ending at the button's release.
  CXTPCaptureLoop::Callback Recorder() {
    return [this](const MSG &msg) {
      seen.push_back(msg.message);
      if (msg.message == WM_LBUTTONUP) return CXTPCaptureLoop::kEnd;
      if (msg.message == WM_MOUSEMOVE) return CXTPCaptureLoop::kHandled;
      return CXTPCaptureLoop::kDispatch;
    };
  }
  CaptureWindow window;
  CaptureWindow other;
  std::vector<UINT> seen;
};

TEST_F(CaptureLoop, EachWayOutEndsTheLoopAndGivesTheCaptureBack) {
  const struct {
    const char *name;
    DWORD dwFlags;
    std::vector<UINT> posted;
    CXTPCaptureLoop::EndReason reason;
    std::vector<UINT> seen;
  } kCases[] = {
      {"released button",
       0,
       {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP, WM_MOUSEMOVE},
       CXTPCaptureLoop::kEnded,
       {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP}},
      {"Esc cancels",
       CXTPCaptureLoop::kEscapeCancels,
       {WM_MOUSEMOVE, WM_KEYDOWN, WM_LBUTTONUP},
       CXTPCaptureLoop::kCancelled,
       {WM_MOUSEMOVE}},
      {"Esc is the callback's without the flag",
       0,
       {WM_KEYDOWN, WM_LBUTTONUP},
       CXTPCaptureLoop::kEnded,
       {WM_KEYDOWN, WM_LBUTTONUP}},
      {"released by its own window",
       0,
       {WM_MOUSEMOVE, kMsgReleaseCapture, WM_LBUTTONUP},
       CXTPCaptureLoop::kCaptureLost,
       {WM_MOUSEMOVE, kMsgReleaseCapture}},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    seen.clear();
    for (UINT message : c.posted) Post(message, message == WM_KEYDOWN ? VK_ESCAPE : 0);
    {
      CXTPCaptureLoop loop(window.m_hWnd, c.dwFlags);
      EXPECT_EQ(::GetCapture(), window.m_hWnd);
      EXPECT_EQ(loop.Run(Recorder()), c.reason);
    }
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(::GetCapture(), nullptr);
    PumpPendingMessages();
  }
}

TEST_F(CaptureLoop, QuitRequestEndsTheLoopAndIsPostedAgain) {
  // The quit comes once the posted messages are taken.
  ::PostQuitMessage(7);
  Post(WM_MOUSEMOVE);
  CXTPCaptureLoop::EndReason reason;
  {
    CXTPCaptureLoop loop(window.m_hWnd);
    reason = loop.Run(Recorder());
    EXPECT_EQ(loop.GetQuitCode(), 7);
  }
  EXPECT_EQ(reason, CXTPCaptureLoop::kQuit);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(seen, std::vector<UINT>{WM_MOUSEMOVE});
  // The outer loop still gets the quit, with its code.
  MSG msg;
  int nQuitCode = -1;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message == WM_QUIT) nQuitCode = static_cast<int>(msg.wParam);
  EXPECT_EQ(nQuitCode, 7);
}

TEST_F(CaptureLoop, CaptureTakenByAnotherWindowEndsTheLoopAndStaysThere) {
  Post(WM_MOUSEMOVE);
  Post(kMsgTakeCapture, reinterpret_cast<WPARAM>(other.m_hWnd));
  Post(WM_MOUSEMOVE);
  Post(WM_LBUTTONUP);
  {
    CXTPCaptureLoop loop(window.m_hWnd);
    EXPECT_EQ(loop.Run(Recorder()), CXTPCaptureLoop::kCaptureLost);
  }
  EXPECT_EQ(seen, (std::vector<UINT>{WM_MOUSEMOVE, kMsgTakeCapture}));
  EXPECT_EQ(::GetCapture(), other.m_hWnd) << "the new holder keeps it";
}

TEST_F(CaptureLoop, CaptureIsGivenBackWhenTheCallbackThrows) {
  Post(WM_MOUSEMOVE);
  try {
    CXTPCaptureLoop loop(window.m_hWnd);
    loop.Run([](const MSG &) -> CXTPCaptureLoop::Action { throw std::runtime_error("drop"); });
    ADD_FAILURE() << "the exception went missing";
  } catch (const std::runtime_error &) {
  }
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(CaptureLoop, PendingPaintsAreDispatchedOnlyWhenAsked) {
  for (DWORD dwFlags : {DWORD(0), DWORD(CXTPCaptureLoop::kDispatchPaints)}) {
    SCOPED_TRACE(dwFlags);
    PumpPendingMessages();
    window.paints = 0;
    window.Invalidate(FALSE);
    Post(kMsgMarker);
    int nPaintsAtMarker = -1;
    CXTPCaptureLoop loop(window.m_hWnd, dwFlags);
    loop.Run([&](const MSG &msg) {
      if (msg.message != kMsgMarker) return CXTPCaptureLoop::kDispatch;
      nPaintsAtMarker = window.paints;
      return CXTPCaptureLoop::kEnd;
    });
    // A posted message comes before WM_PAINT in a plain GetMessage.
    EXPECT_EQ(nPaintsAtMarker, dwFlags ? 1 : 0);
  }
}

TEST_F(CaptureLoop, LoopHeldStillGetsTicks) {
  CXTPCaptureLoop loop(window.m_hWnd);
  loop.SetTimeout(10);
  int nTicks = 0;
  EXPECT_EQ(loop.Run([&](const MSG &msg) {
    if (msg.message == WM_NULL && msg.hwnd == nullptr && ++nTicks == 3) return CXTPCaptureLoop::kEnd;
    return CXTPCaptureLoop::kDispatch;
  }),
            CXTPCaptureLoop::kEnded);
  EXPECT_EQ(nTicks, 3);
}

// Without a window nothing is captured and only the messages fed end it.
std::vector<MSG> g_fed;
BOOL Feed(MSG *pMsg) {
  *pMsg = MSG();
  if (g_fed.empty()) {
    pMsg->message = WM_QUIT;
    pMsg->wParam = 3;
  } else {
    *pMsg = g_fed.front();
    g_fed.erase(g_fed.begin());
  }
  return pMsg->message != WM_QUIT;
}

TEST_F(CaptureLoop, WindowlessLoopRunsOnTheMessagesFed) {
  const struct {
    std::vector<UINT> fed;
    CXTPCaptureLoop::EndReason reason;
  } kCases[] = {
      {{WM_MOUSEMOVE, WM_LBUTTONUP}, CXTPCaptureLoop::kEnded},
      {{WM_MOUSEMOVE}, CXTPCaptureLoop::kQuit},
  };
  for (const auto &c : kCases) {
    g_fed.clear();
    for (UINT message : c.fed) {
      MSG msg = {};
      msg.message = message;
      g_fed.push_back(msg);
    }
    CXTPCaptureLoop loop(nullptr);
    loop.SetMessageSource(&Feed);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(loop.Run(Recorder()), c.reason);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
}

} // namespace

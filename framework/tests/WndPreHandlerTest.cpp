// Pre-handlers on framework windows and on windows the framework does not own,
// changed while they are being asked; and what un-subclassing keeps when
// something else subclassed the window since.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Wnd.h"
#include "WndPreHandler.h"

namespace {

const UINT kProbe = WM_APP + 40;

std::vector<std::string> g_log;

// A pre-handler that logs its name and then does what the test gives it.
class LoggingHandler : public CWndPreHandler {
public:
  explicit LoggingHandler(std::string name) : m_name(std::move(name)) {}
  BOOL OnPreHandleMessage(HWND hWnd, UINT message, WPARAM &wParam, LPARAM &, LRESULT &lResult) override {
    if (message != kProbe) return FALSE;
    g_log.push_back(m_name);
    if (m_onProbe) m_onProbe(hWnd, wParam);
    if (m_take) lResult = 100 + static_cast<LRESULT>(m_name[0] - 'a');
    return m_take;
  }
  void OnPreHandledWindowGone(HWND) override { g_log.push_back(m_name + " gone"); }

  std::string m_name;
  BOOL m_take = FALSE;
  std::function<void(HWND, WPARAM &)> m_onProbe;
};

// A framework window whose message map logs the probe.
class MappedWnd : public CWnd {
public:
  afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM) {
    g_log.push_back("window " + std::to_string(wParam));
    return 1;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MappedWnd, CWnd)
ON_MESSAGE(kProbe, OnProbe)
END_MESSAGE_MAP()

// A window class of its own that the framework does not bind.
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    g_log.push_back("foreign " + std::to_string(wParam));
    return 1;
  }
  if (message == WM_NCDESTROY) g_log.push_back("foreign destroyed");
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND MakeForeignWindow() {
  static const ATOM atom = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ForeignProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QvForeignWindow";
    return ::RegisterClassW(&wc);
  }();
  (void)atom;
  return ::CreateWindowExW(0, L"QvForeignWindow", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr,
                           nullptr);
}

// Chained over whatever procedure a window has, as another library would.
WNDPROC g_laterOld = nullptr;
LRESULT CALLBACK LaterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) g_log.push_back("later");
  return ::CallWindowProcW(g_laterOld, hWnd, message, wParam, lParam);
}
void ChainLater(HWND hWnd) {
  g_laterOld = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
}
WNDPROC ProcOf(HWND hWnd) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

// Each case runs on a framework window and on a foreign one.
class PreHandlerTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    g_log.clear();
    if (GetParam()) {
      ASSERT_TRUE(
          m_wnd.CreateEx(0, AfxRegisterWndClass(0), L"bound", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
      m_hWnd = m_wnd.m_hWnd;
    } else {
      m_hWnd = MakeForeignWindow();
      ASSERT_NE(m_hWnd, nullptr);
    }
    m_ownProc = ProcOf(m_hWnd);
  }
  void TearDown() override {
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  }
  std::string Window(int value) const {
    return (GetParam() ? "window " : "foreign ") + std::to_string(value);
  }

  MappedWnd m_wnd;
  HWND m_hWnd = nullptr;
  WNDPROC m_ownProc = nullptr;
};

TEST_P(PreHandlerTest, LastAddedIsAskedFirstAndTakingHidesTheMessage) {
  LoggingHandler a("a"), b("b");
  ASSERT_TRUE(AfxAddPreHandler(m_hWnd, &a));
  ASSERT_TRUE(AfxAddPreHandler(m_hWnd, &b));
  EXPECT_FALSE(AfxAddPreHandler(m_hWnd, &a)); // once per window
  EXPECT_EQ(AfxGetPreHandlerCount(m_hWnd), 2);
  EXPECT_EQ(::SendMessageW(m_hWnd, kProbe, 1, 0), 1);
  EXPECT_EQ(g_log, (std::vector<std::string>{"b", "a", Window(1)}));
  // Only foreign windows get a procedure chained in front of theirs.
  EXPECT_EQ(AfxIsPreHandlerProcChained(m_hWnd), !GetParam());

  g_log.clear();
  a.m_take = TRUE;
  b.m_onProbe = [](HWND, WPARAM &wParam) { wParam = 7; };
  EXPECT_EQ(::SendMessageW(m_hWnd, kProbe, 1, 0), 100);
  EXPECT_EQ(g_log, (std::vector<std::string>{"b", "a"}));

  g_log.clear();
  a.m_take = FALSE; // a changed parameter reaches the window
  ::SendMessageW(m_hWnd, kProbe, 1, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"b", "a", Window(7)}));

  EXPECT_TRUE(AfxRemovePreHandler(m_hWnd, &a));
  EXPECT_FALSE(AfxRemovePreHandler(m_hWnd, &a));
  EXPECT_TRUE(AfxRemovePreHandler(m_hWnd, &b));
  EXPECT_EQ(AfxGetPreHandlerCount(m_hWnd), 0);
  EXPECT_FALSE(AfxIsPreHandlerProcChained(m_hWnd));
  EXPECT_EQ(ProcOf(m_hWnd), m_ownProc);
}

// Handlers a, b, c on the window (c asked first); what c does while it is asked.
TEST_P(PreHandlerTest, ChangesInsideTheCallback) {
  struct Case {
    const char *name;
    std::function<void(HWND, LoggingHandler &, LoggingHandler &, LoggingHandler &, LoggingHandler &)> act;
    std::vector<std::string> firstProbe;
    std::vector<std::string> secondProbe; // empty: the window is gone
  };
  const std::string w1 = Window(1), w2 = Window(2);
  const Case cases[] = {
      {"removes itself",
       [](HWND h, LoggingHandler &, LoggingHandler &, LoggingHandler &c, LoggingHandler &) {
         AfxRemovePreHandler(h, &c);
       },
       {"c", "b", "a", w1},
       {"b", "a", w2}},
      {"removes one not asked yet",
       [](HWND h, LoggingHandler &a, LoggingHandler &, LoggingHandler &, LoggingHandler &) {
         AfxRemovePreHandler(h, &a);
       },
       {"c", "b", w1},
       {"c", "b", w2}},
      {"removes every handler",
       [](HWND h, LoggingHandler &a, LoggingHandler &b, LoggingHandler &c, LoggingHandler &) {
         AfxRemovePreHandler(h, &c);
         AfxRemovePreHandler(h, &a);
         AfxRemovePreHandler(h, &b);
       },
       {"c", w1},
       {w2}},
      {"adds one: asked from the next message on",
       [](HWND h, LoggingHandler &, LoggingHandler &, LoggingHandler &, LoggingHandler &d) {
         AfxAddPreHandler(h, &d);
       },
       {"c", "b", "a", w1},
       {"d", "c", "b", "a", w2}},
      {"removes all and adds one back",
       [](HWND h, LoggingHandler &a, LoggingHandler &b, LoggingHandler &c, LoggingHandler &d) {
         AfxRemovePreHandler(h, &a);
         AfxRemovePreHandler(h, &b);
         AfxRemovePreHandler(h, &c);
         AfxAddPreHandler(h, &d);
       },
       {"c", w1},
       {"d", w2}},
      {"destroys the window",
       [](HWND h, LoggingHandler &, LoggingHandler &, LoggingHandler &, LoggingHandler &) {
         ::DestroyWindow(h);
       },
       {"c", "c gone", "b gone", "a gone"},
       {}},
  };
  for (const Case &test : cases) {
    SCOPED_TRACE(test.name);
    if (!::IsWindow(m_hWnd)) SetUp();
    g_log.clear();
    LoggingHandler a("a"), b("b"), c("c"), d("d");
    for (LoggingHandler *p : {&a, &b, &c}) ASSERT_TRUE(AfxAddPreHandler(m_hWnd, p));
    bool done = false;
    c.m_onProbe = [&](HWND h, WPARAM &) {
      if (done) return;
      done = true;
      test.act(h, a, b, c, d);
    };
    ::SendMessageW(m_hWnd, kProbe, 1, 0);
    if (GetParam() == false && test.secondProbe.empty()) {
      // The foreign window's own procedure saw its end.
      std::vector<std::string> expected = test.firstProbe;
      expected.push_back("foreign destroyed");
      EXPECT_EQ(g_log, expected);
    } else {
      EXPECT_EQ(g_log, test.firstProbe);
    }
    if (test.secondProbe.empty()) {
      EXPECT_FALSE(::IsWindow(m_hWnd));
      EXPECT_EQ(AfxGetPreHandlerCount(m_hWnd), 0);
      continue;
    }
    g_log.clear();
    ::SendMessageW(m_hWnd, kProbe, 2, 0);
    EXPECT_EQ(g_log, test.secondProbe);
    for (LoggingHandler *p : {&a, &b, &c, &d}) AfxRemovePreHandler(m_hWnd, p);
    EXPECT_EQ(ProcOf(m_hWnd), m_ownProc);
  }
}

TEST_P(PreHandlerTest, DestroyedWindowTellsItsHandlersAndLeavesNoRecord) {
  LoggingHandler a("a"), b("b");
  AfxAddPreHandler(m_hWnd, &a);
  AfxAddPreHandler(m_hWnd, &b);
  ::DestroyWindow(m_hWnd);
  std::vector<std::string> expected = {"b gone", "a gone"};
  if (!GetParam()) expected.push_back("foreign destroyed"); // its own procedure still had the message
  EXPECT_EQ(g_log, expected);
  EXPECT_EQ(AfxGetPreHandlerCount(m_hWnd), 0);
  EXPECT_FALSE(AfxIsPreHandlerProcChained(m_hWnd));
  EXPECT_FALSE(AfxRemovePreHandler(m_hWnd, &a));
}

TEST_P(PreHandlerTest, SubclassedSinceKeepsEveryProcedure) {
  LoggingHandler a("a");
  AfxAddPreHandler(m_hWnd, &a);
  ChainLater(m_hWnd);
  AfxRemovePreHandler(m_hWnd, &a);
  // The later procedure and the window's own still see the message.
  EXPECT_EQ(ProcOf(m_hWnd), &LaterProc);
  EXPECT_EQ(::SendMessageW(m_hWnd, kProbe, 3, 0), 1);
  EXPECT_EQ(g_log, (std::vector<std::string>{"later", Window(3)}));
  // A handler added again is asked (after the later procedure, which is on top).
  g_log.clear();
  AfxAddPreHandler(m_hWnd, &a);
  ::SendMessageW(m_hWnd, kProbe, 4, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"later", "a", Window(4)}));
  AfxRemovePreHandler(m_hWnd, &a);
  // Once the later procedure is gone, ours can go too.
  ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_laterOld));
  ::SendMessageW(m_hWnd, kProbe, 5, 0);
  AfxAddPreHandler(m_hWnd, &a);
  AfxRemovePreHandler(m_hWnd, &a);
  EXPECT_EQ(ProcOf(m_hWnd), m_ownProc);
}

INSTANTIATE_TEST_SUITE_P(BoundAndForeign, PreHandlerTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) {
                           return info.param ? std::string("Bound") : std::string("Foreign");
                         });

// A frame that deletes itself when its window ends, destroyed by a
// pre-handler while the message it would have handled was on its way.
class SelfDeletingWnd : public MappedWnd {
public:
  void PostNcDestroy() override {
    g_log.push_back("deleted");
    delete this;
  }
};

TEST(PreHandlerDispatch, WindowDestroyedByAHandlerIsNotAskedAfterwards) {
  g_log.clear();
  auto *pWnd = new SelfDeletingWnd;
  ASSERT_TRUE(pWnd->CreateEx(0, AfxRegisterWndClass(0), L"self", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
  HWND hWnd = pWnd->m_hWnd;
  LoggingHandler a("a");
  a.m_onProbe = [](HWND h, WPARAM &) { ::DestroyWindow(h); };
  AfxAddPreHandler(hWnd, &a);
  EXPECT_EQ(::SendMessageW(hWnd, kProbe, 1, 0), 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a", "a gone", "deleted"}));
}

TEST(PreHandlerDispatch, HandlersFollowAWindowItsObjectLetsGo) {
  g_log.clear();
  MappedWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"let go", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
  LoggingHandler a("a");
  AfxAddPreHandler(wnd.m_hWnd, &a);
  HWND hWnd = wnd.UnsubclassWindow();
  EXPECT_TRUE(AfxIsPreHandlerProcChained(hWnd));
  ::SendMessageW(hWnd, kProbe, 1, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a"}));
  ::DestroyWindow(hWnd);
}

// A window the framework did not own when its handler came, bound and
// subclassed since: a message the object takes still reaches the handler first.
TEST(PreHandlerDispatch, HandlersStayAheadOfAnObjectThatSubclassesLater) {
  g_log.clear();
  HWND hWnd = MakeForeignWindow();
  const WNDPROC ownProc = ProcOf(hWnd);
  LoggingHandler a("a");
  AfxAddPreHandler(hWnd, &a);
  EXPECT_TRUE(AfxIsPreHandlerProcChained(hWnd));
  MappedWnd wnd;
  ASSERT_TRUE(wnd.SubclassWindow(hWnd));
  EXPECT_FALSE(AfxIsPreHandlerProcChained(hWnd));
  EXPECT_EQ(::SendMessageW(hWnd, kProbe, 1, 0), 1);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a", "window 1"}));
  // Let go again, the handler moves back in front of the window's procedure.
  wnd.UnsubclassWindow();
  EXPECT_TRUE(AfxIsPreHandlerProcChained(hWnd));
  g_log.clear();
  ::SendMessageW(hWnd, kProbe, 2, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a", "foreign 2"}));
  AfxRemovePreHandler(hWnd, &a);
  EXPECT_EQ(ProcOf(hWnd), ownProc);
  ::DestroyWindow(hWnd);
}

// The control's own procedure survives letting it go when another procedure
// was chained on top of the framework's since.
TEST(Unsubclass, KeepsTheControlsOwnProcedureUnderALaterOne) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr));
  HWND hEdit =
      ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, nullptr, nullptr, nullptr);
  const LRESULT limit = ::SendMessageW(hEdit, EM_GETLIMITTEXT, 0, 0);
  ASSERT_GT(limit, 0);
  CWnd wrapper;
  ASSERT_TRUE(wrapper.SubclassWindow(hEdit));
  ChainLater(hEdit);
  g_log.clear();
  EXPECT_EQ(wrapper.UnsubclassWindow(), hEdit);
  EXPECT_EQ(ProcOf(hEdit), &LaterProc);
  EXPECT_EQ(::SendMessageW(hEdit, EM_GETLIMITTEXT, 0, 0), limit); // the edit control still answers
  ::SendMessageW(hEdit, kProbe, 0, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"later"}));

  // Bound again, the framework's procedure that stayed serves again.
  CWnd again;
  ASSERT_TRUE(again.SubclassWindow(hEdit));
  EXPECT_EQ(ProcOf(hEdit), &LaterProc);
  EXPECT_EQ(::SendMessageW(hEdit, EM_GETLIMITTEXT, 0, 0), limit);
  again.DestroyWindow();
}

// An exception in the code that binds a window while it is being made.
class ThrowingSubclassWnd : public CWnd {
public:
  void PreSubclassWindow() override { throw std::runtime_error("pre-subclass"); }
  void PostNcDestroy() override { ++m_nPostNcDestroy; }
  int m_nPostNcDestroy = 0;
};

TEST(CreationHook, ExceptionWhileBindingFailsTheCreation) {
  ThrowingSubclassWnd wnd;
  EXPECT_FALSE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"throws", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
  EXPECT_EQ(::FindWindowW(nullptr, L"throws"), nullptr);
  // The next window is made as usual.
  CWnd next;
  EXPECT_TRUE(next.CreateEx(0, AfxRegisterWndClass(0), L"next", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
  next.DestroyWindow();
}

} // namespace

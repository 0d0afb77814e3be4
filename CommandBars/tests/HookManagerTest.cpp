// The hook manager and the thread hooks: clients stacked and removed in every
// order, clients that unhook, delete themselves or destroy the window inside
// their callback, and what the thread hooks do with keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "Wnd.h"
#include "WndPreHandler.h"
#include "XTPHookManager.h"
#include "XTPMouseManager.h"

namespace {

const UINT kProbe = WM_APP + 50;

std::vector<std::string> g_log;

// A client that logs its name and answers what the test sets. Its memory is
// overwritten when it is deleted and never reused, so a call through a
// pointer to a deleted client fails loudly instead of passing unseen.
class Client : public CXTPHookClient {
public:
  explicit Client(std::string name) : m_name(std::move(name)) {}
  ~Client() override { g_log.push_back(m_name + " deleted"); }
  static void *operator new(size_t size) { return ::operator new(size); }
  static void operator delete(void *p, size_t size) { std::memset(p, 0xDD, size); }

  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &, LRESULT &lResult) override {
    if (nMessage != kProbe && nMessage != WM_KEYDOWN) return xtpHookContinue;
    g_log.push_back(m_name);
    m_lastWindow = hWnd;
    std::function<void()> act = m_act; // the client may be deleted by it
    int nAnswer = m_answer;
    if (act) {
      m_act = nullptr;
      act();
    }
    lResult = 100 + static_cast<LRESULT>(wParam);
    return nAnswer;
  }

  std::string m_name;
  int m_answer = xtpHookContinue;
  std::function<void()> m_act;
  HWND m_lastWindow = reinterpret_cast<HWND>(1);
};

// A framework window and a window of a class of its own that nothing binds.
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    g_log.push_back("window");
    return 1;
  }
  if (message == WM_NCDESTROY) g_log.push_back("window destroyed");
  return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

class BoundWnd : public CWnd {
public:
  afx_msg LRESULT OnProbe(WPARAM, LPARAM) {
    g_log.push_back("window");
    return 1;
  }
  afx_msg void OnNcDestroy() {
    g_log.push_back("window destroyed");
    CWnd::OnNcDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BoundWnd, CWnd)
ON_MESSAGE(kProbe, OnProbe)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

class HookedWindowTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    g_log.clear();
    MakeWindow();
  }
  void TearDown() override {
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    EXPECT_EQ(XTPHookManager()->GetHookedWindowCount(), 0);
  }
  void MakeWindow() {
    if (GetParam()) {
      ASSERT_TRUE(
          m_bound.CreateEx(0, AfxRegisterWndClass(0), L"bound", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
      m_hWnd = m_bound.m_hWnd;
    } else {
      static const ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ForeignProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QvHookForeign";
        return ::RegisterClassW(&wc);
      }();
      (void)atom;
      m_hWnd = ::CreateWindowExW(0, L"QvHookForeign", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr,
                                 nullptr);
      ASSERT_NE(m_hWnd, nullptr);
    }
    m_ownProc = ProcOf(m_hWnd);
  }
  static WNDPROC ProcOf(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
  }
  std::vector<std::string> Probe() {
    g_log.clear();
    ::SendMessageW(m_hWnd, kProbe, 1, 0);
    return g_log;
  }

  BoundWnd m_bound;
  HWND m_hWnd = nullptr;
  WNDPROC m_ownProc = nullptr;
};

TEST_P(HookedWindowTest, StackedAndRemovedInEveryOrder) {
  CXTPHookManager *pManager = XTPHookManager();
  std::vector<int> order = {0, 1, 2};
  do {
    SCOPED_TRACE(::testing::Message() << "removal order " << order[0] << order[1] << order[2]);
    Client a("a"), b("b"), c("c");
    Client *clients[] = {&a, &b, &c};
    for (Client *p : clients) pManager->HookWindow(m_hWnd, p);
    pManager->HookWindow(m_hWnd, &a); // once is enough
    EXPECT_EQ(pManager->GetClientCount(m_hWnd), 3);
    std::vector<std::string> expected = {"c", "b", "a", "window"};
    EXPECT_EQ(Probe(), expected);
    for (int index : order) {
      pManager->UnhookWindow(m_hWnd, clients[index]);
      expected.erase(std::find(expected.begin(), expected.end(), clients[index]->m_name));
      EXPECT_EQ(Probe(), expected);
    }
    EXPECT_FALSE(pManager->IsHooked(m_hWnd));
    EXPECT_EQ(ProcOf(m_hWnd), m_ownProc);
    EXPECT_EQ(AfxGetPreHandlerCount(m_hWnd), 0);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_P(HookedWindowTest, AnswersOfTheClients) {
  CXTPHookManager *pManager = XTPHookManager();
  Client a("a"), b("b");
  pManager->SetHook(m_hWnd, &a);
  pManager->SetHook(m_hWnd, &b);
  b.m_answer = xtpHookHandled; // the window returns b's result, and a is not asked
  EXPECT_EQ(::SendMessageW(m_hWnd, kProbe, 5, 0), 105);
  EXPECT_EQ(g_log, (std::vector<std::string>{"b"}));
  EXPECT_EQ(b.m_lastWindow, m_hWnd);
  b.m_answer = xtpHookStop; // nobody else asked, the window's own procedure runs
  EXPECT_EQ(Probe(), (std::vector<std::string>{"b", "window"}));
  pManager->RemoveAll(&a);
  pManager->RemoveHook(m_hWnd, &b);
  EXPECT_FALSE(pManager->IsHooked(m_hWnd));
}

// Three clients a, b, c (c asked first); what c does inside its callback.
TEST_P(HookedWindowTest, ChangesInsideTheCallback) {
  CXTPHookManager *pManager = XTPHookManager();
  struct Case {
    const char *name;
    std::function<void(HWND, Client *&, Client *&, Client *&)> act;
    std::vector<std::string> firstProbe;  // "window destroyed" marks a destroyed window
    std::vector<std::string> secondProbe; // for a window that still exists
  };
  const Case cases[] = {
      {"unhooks itself",
       [&](HWND h, Client *&, Client *&, Client *&c) { pManager->UnhookWindow(h, c); },
       {"c", "b", "a", "window"},
       {"b", "a", "window"}},
      {"unhooks a client not asked yet",
       [&](HWND h, Client *&a, Client *&, Client *&) { pManager->UnhookWindow(h, a); },
       {"c", "b", "window"},
       {"c", "b", "window"}},
      {"deletes itself",
       [&](HWND, Client *&, Client *&, Client *&c) {
         delete c; // its destructor takes it off the window
         c = nullptr;
       },
       {"c", "c deleted", "b", "a", "window"},
       {"b", "a", "window"}},
      {"deletes a client not asked yet",
       [&](HWND, Client *&a, Client *&, Client *&) {
         delete a;
         a = nullptr;
       },
       {"c", "a deleted", "b", "window"},
       {"c", "b", "window"}},
      {"removes every client",
       [&](HWND, Client *&a, Client *&b, Client *&c) {
         for (Client *p : {a, b, c}) pManager->RemoveAll(p);
       },
       {"c", "window"},
       {"window"}},
      {"removes every client and hooks one again",
       [&](HWND h, Client *&a, Client *&b, Client *&c) {
         for (Client *p : {a, b, c}) pManager->UnhookWindow(h, p);
         pManager->HookWindow(h, b);
       },
       {"c", "window"},
       {"b", "window"}},
      {"destroys the window",
       [&](HWND h, Client *&, Client *&, Client *&) { ::DestroyWindow(h); },
       {"c", "window destroyed"},
       {}},
      {"destroys the window and deletes itself",
       [&](HWND h, Client *&, Client *&, Client *&c) {
         ::DestroyWindow(h);
         delete c;
         c = nullptr;
       },
       {"c", "window destroyed", "c deleted"},
       {}},
  };
  for (const Case &test : cases) {
    SCOPED_TRACE(test.name);
    if (!::IsWindow(m_hWnd)) MakeWindow();
    Client *a = new Client("a");
    Client *b = new Client("b");
    Client *c = new Client("c");
    for (Client *p : {a, b, c}) pManager->HookWindow(m_hWnd, p);
    c->m_act = [&] { test.act(m_hWnd, a, b, c); };
    EXPECT_EQ(Probe(), test.firstProbe);
    if (test.secondProbe.empty()) {
      EXPECT_FALSE(::IsWindow(m_hWnd));
      EXPECT_FALSE(pManager->IsHooked(m_hWnd));
    } else {
      EXPECT_EQ(Probe(), test.secondProbe);
      for (Client *p : {a, b, c})
        if (p != nullptr) pManager->UnhookWindow(m_hWnd, p);
      EXPECT_EQ(ProcOf(m_hWnd), m_ownProc);
    }
    g_log.clear();
    for (Client *p : {a, b, c}) delete p;
    EXPECT_EQ(pManager->GetHookedWindowCount(), 0);
  }
}

TEST_P(HookedWindowTest, DestroyedWindowLeavesNoEntryAndGetsItsOwnLastMessage) {
  CXTPHookManager *pManager = XTPHookManager();
  Client a("a"), b("b");
  pManager->HookWindow(m_hWnd, &a);
  pManager->HookWindow(m_hWnd, &b);
  ::DestroyWindow(m_hWnd);
  // The window's own procedure was read before its hook record went.
  EXPECT_EQ(g_log, (std::vector<std::string>{"window destroyed"}));
  EXPECT_FALSE(pManager->IsHooked(m_hWnd));
  EXPECT_EQ(pManager->GetHookedWindowCount(), 0);
  pManager->UnhookWindow(m_hWnd, &a); // harmless now
}

// Another library chains its procedure on top after the hook: unhooking
// must keep it, and the window's own procedure under it.
WNDPROC g_laterOld = nullptr;
LRESULT CALLBACK LaterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) g_log.push_back("later");
  return ::CallWindowProcW(g_laterOld, hWnd, message, wParam, lParam);
}

TEST_P(HookedWindowTest, UnhookKeepsAProcedureChainedSince) {
  CXTPHookManager *pManager = XTPHookManager();
  Client a("a");
  pManager->HookWindow(m_hWnd, &a);
  g_laterOld = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
  pManager->UnhookWindow(m_hWnd, &a);
  EXPECT_EQ(ProcOf(m_hWnd), &LaterProc);
  EXPECT_EQ(Probe(), (std::vector<std::string>{"later", "window"}));
  ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_laterOld));
}

TEST_P(HookedWindowTest, DeletedClientLeavesEveryWindow) {
  CXTPHookManager *pManager = XTPHookManager();
  HWND hOther =
      ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  {
    Client a("a");
    pManager->HookWindow(m_hWnd, &a);
    pManager->HookWindow(hOther, &a);
    EXPECT_EQ(pManager->GetHookedWindowCount(), 2);
  }
  EXPECT_EQ(pManager->GetHookedWindowCount(), 0);
  EXPECT_EQ(Probe(), (std::vector<std::string>{"window"}));
  ::DestroyWindow(hOther);
}

INSTANTIATE_TEST_SUITE_P(BoundAndForeign, HookedWindowTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) {
                           return info.param ? std::string("Bound") : std::string("Foreign");
                         });

// ---------------------------------------------------------------------------
// Thread hooks

// Stands for an open popup: closing it takes it out of the mouse manager.
class PopupStandIn : public CXTPMouseTrackedBar {
public:
  HWND GetTrackedHwnd() const override { return nullptr; }
  int HitTestTrackedPoint(POINT) override { return kNotMine; }
  BOOL IsTrustedWindowsEnabled() override { return FALSE; }
  void OnTrackingElsewhere() override {}
  void OnTrackLost() override {
    ++m_nClosed;
    XTPGetMouseManager()->DropTrackedBar(this);
  }
  void OnTrackedMouseMove(UINT, POINT) override {}
  int m_nClosed = 0;
};

class ThreadHooksTest : public ::testing::Test {
protected:
  void SetUp() override { g_log.clear(); }
  void TearDown() override {
    EXPECT_FALSE(XTPGetThreadHooks()->HasClients());
    EXPECT_FALSE(XTPGetThreadHooks()->IsInstalled());
  }
};

TEST_F(ThreadHooksTest, HooksLiveWhileClientsDo) {
  CXTPThreadHooks *pHooks = XTPGetThreadHooks();
  EXPECT_FALSE(pHooks->IsInstalled());
  Client a("a"), b("b");
  pHooks->AddThreadClient(&a);
  pHooks->AddThreadClient(&b);
  pHooks->AddThreadClient(&a);
  EXPECT_TRUE(pHooks->IsInstalled());
  pHooks->RemoveThreadClient(&a);
  EXPECT_TRUE(pHooks->IsInstalled());
  {
    Client c("c");
    pHooks->AddThreadClient(&c);
  } // a deleted client leaves by itself
  pHooks->RemoveThreadClient(&b);
  EXPECT_FALSE(pHooks->IsInstalled());
}

TEST_F(ThreadHooksTest, FirstAnswerDecidesAndSilenceCountsAsHandled) {
  struct Case {
    const char *name;
    int first, second;
    BOOL handled;
    std::vector<std::string> asked;
  } const cases[] = {
      {"nobody answers: handled", xtpHookContinue, xtpHookContinue, TRUE, {"a", "b"}},
      {"first handles", xtpHookHandled, xtpHookContinue, TRUE, {"a"}},
      {"first stops: not handled", xtpHookStop, xtpHookHandled, FALSE, {"a"}},
      {"second stops", xtpHookContinue, xtpHookStop, FALSE, {"a", "b"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Client a("a"), b("b");
    a.m_answer = c.first;
    b.m_answer = c.second;
    CXTPThreadHooks *pHooks = XTPGetThreadHooks();
    pHooks->AddThreadClient(&a);
    pHooks->AddThreadClient(&b);
    g_log.clear();
    EXPECT_EQ(pHooks->ProcessHooks(WM_KEYDOWN, VK_DOWN, 0), c.handled);
    EXPECT_EQ(g_log, c.asked);
    EXPECT_EQ(a.m_lastWindow, nullptr); // thread clients see no window
    pHooks->RemoveThreadClient(&a);
    pHooks->RemoveThreadClient(&b);
  }
}

TEST_F(ThreadHooksTest, ClientsLeavingWhileAsked) {
  CXTPThreadHooks *pHooks = XTPGetThreadHooks();
  Client *a = new Client("a");
  Client b("b"), c("c");
  for (Client *p : {a, &b, &c}) pHooks->AddThreadClient(p);
  a->m_act = [&] {
    delete a; // a popup closed by its key: its bar goes
    a = nullptr;
    pHooks->RemoveThreadClient(&b);
  };
  EXPECT_TRUE(pHooks->ProcessHooks(WM_KEYDOWN, VK_ESCAPE, 0));
  EXPECT_EQ(g_log, (std::vector<std::string>{"a", "a deleted", "c"}));
  g_log.clear();
  c.m_act = [&] { pHooks->RemoveThreadClient(&c); };
  pHooks->ProcessHooks(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"c"}));
  EXPECT_FALSE(pHooks->IsInstalled()); // the last client left during the walk
}

// Key data of a key-down: bit 29 Alt, bit 30 repeat, bit 31 release.
constexpr LPARAM kAlt = 0x20000000;
constexpr LPARAM kRepeat = 0x40000000;
constexpr LPARAM kUp = static_cast<LPARAM>(0x80000000u);

TEST_F(ThreadHooksTest, KeyboardDecisions) {
  struct Case {
    const char *name;
    bool clients;
    int answer;
    bool locked;
    WPARAM key;
    LPARAM data;
    BOOL swallowed;
    bool asked;
    bool popupClosed;
  } const cases[] = {
      {"no clients: keys pass", false, xtpHookContinue, false, 'A', 0, FALSE, false, false},
      {"key nobody claims is swallowed", true, xtpHookContinue, false, 'A', 0, TRUE, true, false},
      {"claimed key is swallowed", true, xtpHookHandled, false, VK_DOWN, 0, TRUE, true, false},
      {"key a client lets go passes", true, xtpHookStop, false, VK_F1, 0, FALSE, true, false},
      {"releases pass", true, xtpHookHandled, false, 'A', kUp, FALSE, false, false},
      {"Alt with a key goes to the clients", true, xtpHookContinue, false, 'F', kAlt, TRUE, true, false},
      {"Alt alone closes the popups", true, xtpHookHandled, false, VK_MENU, kAlt, TRUE, false, true},
      {"Alt held down repeats pass", true, xtpHookHandled, false, VK_MENU, kAlt | kRepeat, FALSE, false,
       false},
      {"Alt keys pass while the mouse is locked", true, xtpHookHandled, true, 'F', kAlt, FALSE, false, false},
      {"plain keys still go to clients while locked", true, xtpHookStop, true, 'A', 0, FALSE, true, false},
  };
  CXTPThreadHooks *pHooks = XTPGetThreadHooks();
  CXTPMouseManager *pMouse = XTPGetMouseManager();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Client client("client");
    client.m_answer = c.answer;
    PopupStandIn popup;
    pMouse->PushTrackedBar(&popup);
    if (c.clients) pHooks->AddThreadClient(&client);
    if (c.locked) pMouse->LockMouseMove();
    g_log.clear();
    EXPECT_EQ(pHooks->OnKeyboardHook(c.key, c.data), c.swallowed);
    EXPECT_EQ(!g_log.empty(), c.asked);
    EXPECT_EQ(popup.m_nClosed, c.popupClosed ? 1 : 0);
    if (c.locked) pMouse->UnlockMouseMove();
    pHooks->RemoveThreadClient(&client);
    pMouse->DropTrackedBar(&popup);
  }
}

// The installed hooks themselves: the application losing activation closes
// the popups, and a typed key reaches the clients before the focus window.
TEST_F(ThreadHooksTest, InstalledHooksSeeActivationAndKeys) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                           100, nullptr, nullptr));
  Client client("client");
  client.m_answer = xtpHookHandled;
  PopupStandIn popup;
  XTPGetMouseManager()->PushTrackedBar(&popup);
  XTPGetThreadHooks()->AddThreadClient(&client);

  wnd.SendMessage(WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(popup.m_nClosed, 0);
  wnd.SendMessage(WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(popup.m_nClosed, 1);

  // Typed keys need the focus, which tests running beside this one may hold.
  ::SetForegroundWindow(wnd.m_hWnd);
  ::SetFocus(wnd.m_hWnd);
  if (::GetForegroundWindow() == wnd.m_hWnd && ::GetFocus() == wnd.m_hWnd) {
    g_log.clear();
    ::keybd_event('Q', 0, 0, 0);
    ::keybd_event('Q', 0, KEYEVENTF_KEYUP, 0);
    MSG msg;
    bool windowGotKey = false;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 300) {
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'Q') windowGotKey = true;
        ::DispatchMessageW(&msg);
      }
      if (!g_log.empty()) break;
      ::Sleep(10);
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"client"}));
    EXPECT_FALSE(windowGotKey);
  }
  XTPGetThreadHooks()->RemoveThreadClient(&client);
  wnd.DestroyWindow();
}

} // namespace

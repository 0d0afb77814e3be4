// What the window procedure guarantees a handler: an object counted by
// references outlives its own message, a window can be queued for destruction
// at idle time, and an exception never leaves the window procedure. Also what
// windows ask of their thread instead of an application object (none here).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Framework.h"

namespace {

const UINT kReleaseSelf = WM_APP + 31;
const UINT kThrowStd = WM_APP + 32;
const UINT kThrowFramework = WM_APP + 33;
const UINT kThrowOther = WM_APP + 34;

std::vector<std::string> g_events;

// A window that only its last release deletes, as toolkit bars are.
class CountedWnd : public CWnd {
public:
  CountedWnd() { EnableCountedLifetime(); }
  ~CountedWnd() override { g_events.push_back("deleted"); }
  void OnFinalRelease() override {
    DestroyWindow();
    delete this;
  }
  afx_msg LRESULT OnReleaseSelf(WPARAM, LPARAM) {
    InternalRelease();   // the owner's reference, the last but the dispatch's
    m_nAfterRelease = 7; // still this object's memory
    g_events.push_back("handler returns");
    return m_nAfterRelease;
  }
  int m_nAfterRelease = 0;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountedWnd, CWnd)
ON_MESSAGE(kReleaseSelf, OnReleaseSelf)
END_MESSAGE_MAP()

TEST(DispatchHold, ObjectReleasedInItsOwnHandlerIsFreedAfterTheHandler) {
  g_events.clear();
  auto *pWnd = new CountedWnd;
  ASSERT_TRUE(
      pWnd->CreateEx(0, AfxRegisterWndClass(0), L"counted", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  HWND hWnd = pWnd->m_hWnd;
  EXPECT_EQ(::SendMessage(hWnd, kReleaseSelf, 0, 0), 7);
  EXPECT_EQ(g_events, (std::vector<std::string>{"handler returns", "deleted"}));
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(DispatchHold, CountedObjectReleasedOutsideAMessageGoesAtOnce) {
  g_events.clear();
  auto *pWnd = new CountedWnd;
  ASSERT_TRUE(
      pWnd->CreateEx(0, AfxRegisterWndClass(0), L"counted", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  HWND hWnd = pWnd->m_hWnd;
  pWnd->InternalAddRef();
  ::SendMessage(hWnd, WM_NULL, 0, 0); // a message leaves the count as it was
  EXPECT_EQ(pWnd->InternalRelease(), 1u);
  EXPECT_TRUE(g_events.empty());
  pWnd->InternalRelease(); // its window ends during the release: no second one
  EXPECT_EQ(g_events, (std::vector<std::string>{"deleted"}));
  EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(DeferredDestroy, QueuedWindowsGoAtIdleAndOnlyTheirOwnBinding) {
  CWinThread thread; // idle processing drains the queue
  CWnd first, second, rebound;
  for (CWnd *p : {&first, &second})
    ASSERT_TRUE(
        p->CreateEx(0, AfxRegisterWndClass(0), L"later", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  ASSERT_TRUE(
      rebound.CreateEx(0, AfxRegisterWndClass(0), L"kept", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  CWnd gone;
  ASSERT_TRUE(
      gone.CreateEx(0, AfxRegisterWndClass(0), L"gone", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));

  AfxDestroyWindowAtIdle(&first);
  AfxDestroyWindowAtIdle(&second);
  AfxDestroyWindowAtIdle(&gone);
  AfxDestroyWindowAtIdle(&rebound);
  HWND hFirst = first.m_hWnd, hSecond = second.m_hWnd, hRebound = rebound.m_hWnd;
  EXPECT_TRUE(::IsWindow(hFirst)); // nothing happens before idle time
  gone.DestroyWindow();            // already gone by then: harmless
  // The handle now belongs to another object: that object is not destroyed.
  HWND h = rebound.Detach();
  CWnd other;
  other.Attach(h);

  thread.OnIdle(0);
  EXPECT_FALSE(::IsWindow(hFirst));
  EXPECT_FALSE(::IsWindow(hSecond));
  EXPECT_EQ(first.m_hWnd, nullptr);
  EXPECT_TRUE(::IsWindow(hRebound));
  other.DestroyWindow();
  AfxDrainDeferredDestroys(); // the queue was emptied
}

// Ends its modal loop on its first timer tick, which comes after idle time.
class ModalWnd : public CWnd {
public:
  afx_msg void OnTimer(UINT_PTR) {
    KillTimer(1);
    EndModalLoop(IDOK);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ModalWnd, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(DeferredDestroy, ModalLoopDrainsTheQueueAtItsIdleTime) {
  ModalWnd modal;
  CWnd queued;
  ASSERT_TRUE(modal.CreateEx(0, AfxRegisterWndClass(0), L"modal", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
  ASSERT_TRUE(
      queued.CreateEx(0, AfxRegisterWndClass(0), L"queued", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
  AfxDestroyWindowAtIdle(&queued);
  modal.SetTimer(1, 50, nullptr);
  EXPECT_EQ(modal.RunModalLoop(), IDOK);
  EXPECT_EQ(queued.m_hWnd, nullptr);
  modal.DestroyWindow();
}

class ThrowingWnd : public CWnd {
public:
  BOOL m_bThrowInCreate = FALSE;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (m_bThrowInCreate) throw std::runtime_error("create");
    return CWnd::OnCreate(lpcs);
  }
  afx_msg LRESULT OnThrowStd(WPARAM, LPARAM) { throw std::runtime_error("handler"); }
  afx_msg LRESULT OnThrowFramework(WPARAM, LPARAM) { AfxThrowNotSupportedException(); }
  afx_msg LRESULT OnThrowOther(WPARAM, LPARAM) { throw 5; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingWnd, CWnd)
ON_WM_CREATE()
ON_MESSAGE(kThrowStd, OnThrowStd)
ON_MESSAGE(kThrowFramework, OnThrowFramework)
ON_MESSAGE(kThrowOther, OnThrowOther)
END_MESSAGE_MAP()

TEST(ExceptionBarrier, HandlerExceptionsStopAtTheWindowProcedure) {
  ThrowingWnd wnd;
  ASSERT_TRUE(
      wnd.CreateEx(0, AfxRegisterWndClass(0), L"throws", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  for (UINT message : {kThrowStd, kThrowFramework, kThrowOther}) {
    SCOPED_TRACE(message);
    EXPECT_EQ(::SendMessage(wnd.m_hWnd, message, 1, 2), 0);
  }
  // The window goes on working, and Default() sees the right message again.
  EXPECT_EQ(wnd.SendMessage(WM_SETTEXT, 0, (LPARAM)L"still"), TRUE);
  wchar_t text[16] = {};
  wnd.GetWindowText(text, 16);
  EXPECT_STREQ(text, L"still");
  wnd.DestroyWindow();
}

TEST(ExceptionBarrier, ThrowInCreateFailsTheCreation) {
  ThrowingWnd wnd;
  wnd.m_bThrowInCreate = TRUE;
  EXPECT_FALSE(
      wnd.CreateEx(0, AfxRegisterWndClass(0), L"throws", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

class ThrowingDialog : public CDialog {
public:
  BOOL OnInitDialog() override { throw std::runtime_error("init"); }
};

// Called back by the dialog manager rather than through the window procedure.
TEST(ExceptionBarrier, ThrowInDialogInitialisationStopsInTheDialogProcedure) {
  struct {
    DLGTEMPLATE dt;
    WORD menu, windowClass, title;
  } empty = {{WS_POPUP | WS_CAPTION, 0, 0, 0, 0, 100, 50}, 0, 0, 0};
  ThrowingDialog dialog;
  EXPECT_TRUE(dialog.CreateIndirect(&empty.dt));
  EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
  dialog.DestroyWindow();
}

// A thread object that records what windows ask of it.
class RecordingThread : public CWinThread {
public:
  std::vector<int> m_waitCursor;
  void DoWaitCursor(int nCode) override { m_waitCursor.push_back(nCode); }
  LPCTSTR GetMessageBoxCaption() const override { return L"Recording"; }
};

bool QuitPosted() {
  MSG msg;
  return ::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(NoApplicationObject, WindowsAskTheirThread) {
  ASSERT_EQ(AfxGetApp(), nullptr);
  RecordingThread thread;
  ASSERT_EQ(AfxGetThread(), &thread);
  CWnd wnd;
  wnd.BeginWaitCursor();
  wnd.RestoreWaitCursor();
  wnd.EndWaitCursor();
  EXPECT_EQ(thread.m_waitCursor, (std::vector<int>{1, 0, -1}));

  // The end of a thread's main window ends its loop only where the thread says so.
  for (BOOL bQuit : {FALSE, TRUE}) {
    SCOPED_TRACE(bQuit);
    thread.m_bQuitOnMainWndDestroy = bQuit;
    ASSERT_TRUE(
        wnd.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
    thread.m_pMainWnd = &wnd;
    wnd.DestroyWindow();
    EXPECT_EQ(thread.m_pMainWnd, nullptr);
    EXPECT_EQ(QuitPosted(), bQuit != FALSE);
  }
}

// Reads the caption of the next message box and presses its OK button.
class MessageBoxWatch {
public:
  MessageBoxWatch() {
    s_caption.clear();
    m_hook = ::SetWindowsHookEx(WH_CBT, OnCbt, nullptr, ::GetCurrentThreadId());
  }
  ~MessageBoxWatch() { ::UnhookWindowsHookEx(m_hook); }
  static std::wstring s_caption;

private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
      HWND hBox = reinterpret_cast<HWND>(wParam);
      wchar_t className[16] = {};
      ::GetClassNameW(hBox, className, 16);
      if (wcscmp(className, L"#32770") != 0) return ::CallNextHookEx(nullptr, code, wParam, lParam);
      wchar_t caption[64] = {};
      ::GetWindowTextW(hBox, caption, 64);
      s_caption = caption;
      ::PostMessage(hBox, WM_COMMAND, IDOK, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK m_hook;
};
std::wstring MessageBoxWatch::s_caption;

TEST(NoApplicationObject, MessageBoxCaptionComesFromTheThread) {
  RecordingThread thread;
  CWnd wnd;
  ASSERT_TRUE(
      wnd.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  {
    MessageBoxWatch watch;
    EXPECT_EQ(wnd.MessageBox(L"text"), IDOK);
    EXPECT_EQ(MessageBoxWatch::s_caption, L"Recording");
  }
  {
    MessageBoxWatch watch;
    wnd.MessageBox(L"text", L"Own caption");
    EXPECT_EQ(MessageBoxWatch::s_caption, L"Own caption");
  }
  wnd.DestroyWindow();
}

TEST(NoApplicationObject, WindowsWorkWithoutAnyThreadObject) {
  ASSERT_EQ(AfxGetThread(), nullptr);
  CWnd wnd;
  wnd.BeginWaitCursor();
  wnd.EndWaitCursor();
  ASSERT_TRUE(
      wnd.CreateEx(0, AfxRegisterWndClass(0), L"alone", WS_OVERLAPPED, 0, 0, 40, 40, nullptr, nullptr));
  wnd.DestroyWindow();
  EXPECT_FALSE(QuitPosted());
}

} // namespace

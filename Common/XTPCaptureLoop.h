// CXTPCaptureLoop: the one way the toolkit holds the mouse and runs a nested
// message loop (pressing a button, dragging a bar, a splitter or a tab,
// resizing a control). Every such loop must end the same way when the
// application quits or another window takes the capture, and must give the
// capture back on every path out, so that is done here once:
//   CXTPCaptureLoop loop(m_hWnd, CXTPCaptureLoop::kEscapeCancels);
//   const CXTPCaptureLoop::EndReason reason = loop.Run([&](const MSG &msg) {
//     if (msg.message == WM_MOUSEMOVE) { ...; return CXTPCaptureLoop::kHandled; }
//     if (msg.message == WM_LBUTTONUP) return CXTPCaptureLoop::kEnd;
//     return CXTPCaptureLoop::kDispatch;
//   });
// The capture is taken by the constructor and released by the destructor
// (or Release()) if this window still holds it.
#pragma once

#include <windows.h>

#include <functional>

class CXTPCaptureLoop {
public:
  // What the callback did with a message.
  enum Action {
    kHandled,  // the loop goes on; the message is not dispatched
    kDispatch, // translated and dispatched as usual, then the loop goes on
    kEnd,      // the loop ends (kEnded); the message is not dispatched
    kCancel,   // the loop ends (kCancelled); the message is not dispatched
  };
  // Why Run returned.
  enum EndReason {
    kEnded,       // the callback said kEnd
    kCancelled,   // Esc (with kEscapeCancels) or the callback said kCancel
    kQuit,        // WM_QUIT came; it is posted again with its exit code
    kCaptureLost, // another window took the capture, or it was released
  };
  // Options of a loop.
  enum Flags : DWORD {
    kEscapeCancels = 0x01,  // a WM_KEYDOWN of VK_ESCAPE ends the loop as kCancelled
    kDispatchPaints = 0x02, // pending WM_PAINTs are dispatched before each wait,
                            // so feedback drawn over other windows stays clean
  };
  // The message source of a loop (GetMessage by default): TRUE for a message,
  // FALSE for WM_QUIT. Tests feed messages through it.
  typedef BOOL (*MessageSource)(MSG *pMsg);
  // The callback; msg.message is WM_NULL (hwnd null) when the timeout ran
  // out with no message.
  typedef std::function<Action(const MSG &msg)> Callback;

  // Takes the capture for hWnd; a null hWnd runs the loop with no capture
  // (and so is never ended by its loss).
  explicit CXTPCaptureLoop(HWND hWnd, DWORD dwFlags = 0);
  ~CXTPCaptureLoop();
  CXTPCaptureLoop(const CXTPCaptureLoop &) = delete;
  CXTPCaptureLoop &operator=(const CXTPCaptureLoop &) = delete;

  // Runs until the callback ends it, Esc (if asked), WM_QUIT or the loss of
  // the capture. When the capture is lost while a message was being fetched,
  // that message is dispatched first: it belongs to whoever took it.
  EndReason Run(const Callback &callback);

  // The callback is called with WM_NULL when no message came for this long
  // (INFINITE, the default: never), for loops that repeat while held still.
  void SetTimeout(DWORD dwMilliseconds) { m_dwTimeout = dwMilliseconds; }
  void SetMessageSource(MessageSource pfnSource) { m_pfnSource = pfnSource; }
  // The exit code of the WM_QUIT that ended the loop.
  int GetQuitCode() const { return m_nQuitCode; }
  HWND GetWindow() const { return m_hWnd; }
  // Gives the capture back now if this window still holds it.
  void Release();

private:
  BOOL HasLostCapture() const;
  void DispatchPendingPaints();
  // FALSE when the timeout ran out with no message.
  BOOL WaitForMessage();

  HWND m_hWnd;
  DWORD m_dwFlags;
  DWORD m_dwTimeout = INFINITE;
  MessageSource m_pfnSource = nullptr;
  int m_nQuitCode = 0;
  BOOL m_bReleased = FALSE;
};

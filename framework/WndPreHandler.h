// Pre-handlers: objects that see a window's messages before the window does.
//
// Several may sit on one window; the one added last is asked first. For a
// window bound to a CWnd they are asked in the framework's dispatch, before
// WindowProc and the message map, so no second window procedure is chained on
// top of the object's. For any other window (a control the program did not
// bind, a window another library made) the framework chains one procedure of
// its own in front of the window's and takes it out again only while nothing
// has been chained on top of it since; otherwise that procedure stays as an
// inert pass-through until the window is destroyed, so neither the later
// procedure nor the window's own one is ever dropped. (comctl32's
// RemoveWindowSubclass is no help there: Wine's puts the window's first
// procedure back even over one chained later.)
//
// A handler may add or remove handlers (itself too) and destroy the window
// while it is being asked: removed handlers are not asked again, and the
// per-window record lives until the walk is over.
#pragma once

#include <windows.h>

class CWndPreHandler {
public:
  virtual ~CWndPreHandler() = default;
  // TRUE when the handler takes the message: the window then answers lResult
  // and sees nothing of it. wParam and lParam may be changed for the handlers
  // and the window that come after.
  virtual BOOL OnPreHandleMessage(HWND hWnd, UINT message, WPARAM &wParam, LPARAM &lParam,
                                  LRESULT &lResult) = 0;
  // The window received WM_NCDESTROY: the handler is off it already (and may
  // delete itself). Called before the window's own handling of the message.
  virtual void OnPreHandledWindowGone(HWND hWnd) { (void)hWnd; }
};

// FALSE when the window does not exist or the handler sits on it already.
BOOL AfxAddPreHandler(HWND hWnd, CWndPreHandler *pHandler);
// FALSE when the handler does not sit on the window.
BOOL AfxRemovePreHandler(HWND hWnd, CWndPreHandler *pHandler);
int AfxGetPreHandlerCount(HWND hWnd);
// TRUE while the framework keeps a procedure of its own chained in front of
// the window's (for handlers, or as a pass-through that could not be taken out).
BOOL AfxIsPreHandlerProcChained(HWND hWnd);

// The framework's dispatch: asks the handlers of a window bound to a CWnd.
// TRUE when one took the message (lResult is set).
BOOL AfxCallPreHandlers(HWND hWnd, UINT message, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult);
// A bound window is let go by its object: its handlers move to the chained procedure.
void AfxPreHandlersOnDetach(HWND hWnd);
// A window is about to be subclassed by its new object: while our chained
// procedure is on top it leaves the chain, and the handlers are asked in the
// object's dispatch (else a message the object takes would never reach them).
void AfxPreHandlersOnSubclass(HWND hWnd);

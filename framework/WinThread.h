// CWinThread: the message loop of an interface thread, with idle processing
// (command states of bars refreshed, temporary wrappers freed) and the
// pre-translation walk that gives windows a look at keys before dispatch.
#pragma once

#include "CmdTarget.h"

class CWnd;

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
public:
  CWinThread();
  ~CWinThread() override;

  CWnd *m_pMainWnd = nullptr;
  CWnd *m_pActiveWnd = nullptr;
  BOOL m_bAutoDelete = FALSE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  MSG m_msgCur = {};

  virtual BOOL InitInstance() { return FALSE; }
  virtual int ExitInstance();
  // The message loop: runs until WM_QUIT, then returns ExitInstance().
  virtual int Run();
  // One get-translate-dispatch step; FALSE when it took WM_QUIT.
  virtual BOOL PumpMessage();
  virtual BOOL PreTranslateMessage(MSG *pMsg);
  // lCount counts the idle calls since the last message; TRUE asks for more.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG *pMsg);
  virtual CWnd *GetMainWnd() { return m_pMainWnd; }

  // What windows ask of the thread that runs them, rather than of the
  // application object, so that windows work on a thread without one.
  // +1 shows the hourglass, -1 takes one back, 0 shows it again if still due.
  virtual void DoWaitCursor(int nCode);
  // The caption of message boxes that name none; null lets Windows choose.
  virtual LPCTSTR GetMessageBoxCaption() const { return nullptr; }
  // Whether the end of the main window ends the message loop (the program's).
  BOOL m_bQuitOnMainWndDestroy = FALSE;

private:
  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitCursorRestore = nullptr;
  POINT m_ptCursorLast = {-1, -1};
  UINT m_nMsgLast = 0;
};

CWinThread *AfxGetThread();
CWnd *AfxGetMainWnd();
// The framework's pump step for the current thread.
BOOL AfxPumpMessage();
BOOL AfxPreTranslateMessage(MSG *pMsg);

// Destroys a window at the next idle time instead of now, for a window that
// must go while code of its own (a handler, a tracking loop) is still on the
// stack. Safe if the window is gone by then.
void AfxDestroyWindowAtIdle(CWnd *pWnd);
// Destroys the windows queued so far; the thread's idle processing calls it.
void AfxDrainDeferredDestroys();

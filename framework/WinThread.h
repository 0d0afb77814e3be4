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

private:
  POINT m_ptCursorLast = {-1, -1};
  UINT m_nMsgLast = 0;
};

CWinThread *AfxGetThread();
CWnd *AfxGetMainWnd();
// The framework's pump step for the current thread.
BOOL AfxPumpMessage();
BOOL AfxPreTranslateMessage(MSG *pMsg);

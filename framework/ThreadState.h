// What the framework keeps per interface thread: the maps from window handles
// to their C++ objects, the window being created, the message being handled
// and the thread object that runs the message loop.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <unordered_map>
#include <vector>

class CWnd;
class CWinThread;
class CToolTipCtrl;

// The thread's tooltip filter: gets a message pre-translation saw and the
// window that enabled tooltips (null in the state: the framework's own).
typedef void (*AFX_TOOLTIP_FILTER)(MSG *pMsg, CWnd *pWnd);

// A window waiting for the idle time to be destroyed: the object is compared,
// never touched, until its handle is known still bound to it.
struct AFX_DEFERRED_DESTROY {
  HWND hWnd;
  CWnd *pWnd;
};

struct AFX_THREAD_STATE {
  std::unordered_map<HWND, CWnd *> permanentMap;                // objects that own their binding
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporaryMap; // wrappers of foreign windows
  CWnd *pWndInit = nullptr; // bound to the next window the creation hook sees
  HHOOK hHookCbt = nullptr;
  MSG lastSentMsg = {}; // the message WindowProc is handling, for Default()
  MSG msgCur = {};      // the message the loop is pumping
  AFX_TOOLTIP_FILTER pfnFilterToolTipMessage = nullptr;
  // The framework filter's tooltip window and the tool it registered last.
  std::unique_ptr<CToolTipCtrl> pToolTip;
  TTTOOLINFOW lastToolInfo = {};
  CWinThread *pCurrentWinThread = nullptr;
  int nDisablePumpCount = 0;
  std::vector<AFX_DEFERRED_DESTROY> deferredDestroys;
  // Windows let go by their objects while something else was chained on top
  // of the framework's procedure: it stays and passes on to these.
  std::unordered_map<HWND, WNDPROC> passThroughProcs;

  AFX_THREAD_STATE() = default;
  ~AFX_THREAD_STATE();
};

AFX_THREAD_STATE *AfxGetThreadState();

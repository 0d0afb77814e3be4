#include "WinThread.h"

#include "Dc.h"
#include "FrameWnd.h"
#include "GdiObject.h"
#include "ImageList.h"
#include "Menu.h"
#include "ThreadState.h"
#include "Wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

// The per-thread object doubles as the "current thread" of the thread that
// made it, which for the application object is the interface thread.
CWinThread::CWinThread() {
  m_nThreadID = ::GetCurrentThreadId();
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  if (pState->pCurrentWinThread == nullptr) pState->pCurrentWinThread = this;
}

CWinThread::~CWinThread() {
  AFX_THREAD_STATE *pState = AfxGetThreadState();
  if (pState->pCurrentWinThread == this) pState->pCurrentWinThread = nullptr;
}

CWinThread *AfxGetThread() {
  return AfxGetThreadState()->pCurrentWinThread;
}

CWnd *AfxGetMainWnd() {
  CWinThread *pThread = AfxGetThread();
  return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}

void CWinThread::DoWaitCursor(int nCode) {
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR hcurPrev = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = hcurPrev;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore != nullptr ? m_hcurWaitCursorRestore
                                                   : ::LoadCursor(nullptr, IDC_ARROW));
  }
}

void AfxDestroyWindowAtIdle(CWnd *pWnd) {
  if (pWnd == nullptr || pWnd->m_hWnd == nullptr) return;
  AfxGetThreadState()->deferredDestroys.push_back({pWnd->m_hWnd, pWnd});
}

void AfxDrainDeferredDestroys() {
  // Taken out first: destroying one window may queue another.
  std::vector<AFX_DEFERRED_DESTROY> queue;
  queue.swap(AfxGetThreadState()->deferredDestroys);
  for (const AFX_DEFERRED_DESTROY &entry : queue) {
    // The handle may have gone and been reused since: only the same binding counts.
    if (!::IsWindow(entry.hWnd) || CWnd::FromHandlePermanent(entry.hWnd) != entry.pWnd) continue;
    entry.pWnd->DestroyWindow();
  }
}

int CWinThread::ExitInstance() {
  CWnd::DeleteTempMap();
  return (int)m_msgCur.wParam;
}

BOOL AfxPreTranslateMessage(MSG *pMsg) {
  if (CWinThread *pThread = AfxGetThread()) return pThread->PreTranslateMessage(pMsg);
  return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL AfxPumpMessage() {
  if (CWinThread *pThread = AfxGetThread()) return pThread->PumpMessage();
  MSG &msg = AfxGetThreadState()->msgCur;
  if (::GetMessage(&msg, nullptr, 0, 0) <= 0) return FALSE;
  if (!AfxPreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
  return TRUE;
}

BOOL CWinThread::PumpMessage() {
  if (::GetMessage(&m_msgCur, nullptr, 0, 0) <= 0) return FALSE;
  if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessage(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG *pMsg) {
  // Windows from the target up to the main window look at the message first:
  // a dialog's own key handling comes before its owner frame's accelerators.
  CWnd *pMainWnd = GetMainWnd();
  HWND hWndMain = pMainWnd->GetSafeHwnd();
  if (CWnd::WalkPreTranslateTree(hWndMain, pMsg)) return TRUE;
  // A modeless window outside the main window: the main window's accelerators
  // still apply, unless the walk already went through the main window.
  if (pMainWnd != nullptr && pMsg->hwnd != nullptr && hWndMain != nullptr) {
    for (HWND h = pMsg->hwnd; h != nullptr; h = ::GetParent(h))
      if (h == hWndMain) return FALSE;
    return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG *pMsg) {
  // Mouse moves that do not move, paint and the caret's timer do not count as
  // activity, or the idle update would run all the time.
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y && pMsg->message == m_nMsgLast)
      return FALSE;
    m_ptCursorLast = pMsg->pt;
    m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    AfxDrainDeferredDestroys();
    // First idle call after activity: bars refresh their commands' states.
    CWnd *pMainWnd = GetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible()) {
      AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
      // Floating bars are not the main window's children but popups it owns.
      for (HWND hWndPopup : AfxOwnedPopups(pMainWnd->m_hWnd)) {
        if (!::IsWindow(hWndPopup) || !::IsWindowVisible(hWndPopup)) continue;
        CWnd *pPopup = CWnd::FromHandle(hWndPopup);
        pPopup->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        pPopup->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
      }
    }
    return TRUE;
  }
  if (lCount == 1) {
    // Then the temporary wrappers made since the last idle time are freed.
    CWnd::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
  }
  return FALSE;
}

int CWinThread::Run() {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  for (;;) {
    while (bIdle && !::PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

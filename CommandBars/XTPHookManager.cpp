#include "XTPHookManager.h"

#include <algorithm>

#include "Wnd.h"
#include "XTPMouseManager.h"

namespace {

// Set while the process's hook manager exists, so that clients destroyed
// after it (at exit) do not reach for it.
CXTPHookManager *g_pLiveHookManager = nullptr;

thread_local CXTPThreadHooks *t_pThreadHooks = nullptr;
thread_local bool t_bThreadHooksGone = false;

struct ThreadHooksHolder {
  std::unique_ptr<CXTPThreadHooks> pHooks;
  ~ThreadHooksHolder() {
    pHooks.reset();
    t_bThreadHooksGone = true;
  }
};
thread_local ThreadHooksHolder t_threadHooksHolder;

bool HasLiveClient(const std::vector<CXTPHookClient *> &clients) {
  return std::any_of(clients.begin(), clients.end(), [](CXTPHookClient *p) { return p != nullptr; });
}

void DropRemoved(std::vector<CXTPHookClient *> &clients) {
  clients.erase(std::remove(clients.begin(), clients.end(), nullptr), clients.end());
}

// Takes a client out of a list that may be being walked: the walk indexes the
// places, so a walked list keeps a gap that the walk closes when it ends.
bool TakeOut(std::vector<CXTPHookClient *> &clients, const CXTPHookClient *pClient, bool bWalking) {
  auto it = std::find(clients.begin(), clients.end(), pClient);
  if (it == clients.end()) return false;
  if (bWalking)
    *it = nullptr;
  else
    clients.erase(it);
  return true;
}

} // namespace

CXTPHookClient::~CXTPHookClient() {
  if (g_pLiveHookManager != nullptr) g_pLiveHookManager->RemoveAll(this);
  if (CXTPThreadHooks *pHooks = CXTPThreadHooks::FindThreadHooks()) pHooks->RemoveThreadClient(this);
}

// ---------------------------------------------------------------------------
// Hooked windows

int CXTPHookedWindow::GetClientCount() const {
  return static_cast<int>(
      std::count_if(m_clients.begin(), m_clients.end(), [](CXTPHookClient *p) { return p != nullptr; }));
}

BOOL CXTPHookedWindow::HasClient(const CXTPHookClient *pClient) const {
  return pClient != nullptr && std::find(m_clients.begin(), m_clients.end(), pClient) != m_clients.end();
}

BOOL CXTPHookedWindow::OnPreHandleMessage(HWND hWnd, UINT message, WPARAM &wParam, LPARAM &lParam,
                                          LRESULT &lResult) {
  // A client may unhook itself or others, or destroy the window: the list
  // keeps its places while it is walked, and this object outlives the walk
  // even when the manager let it go meanwhile.
  struct WalkScope {
    CXTPHookedWindow *pThis;
    explicit WalkScope(CXTPHookedWindow *p) : pThis(p) { ++pThis->m_nWalks; }
    ~WalkScope() {
      if (--pThis->m_nWalks > 0) return;
      if (pThis->m_bRetired)
        delete pThis;
      else
        DropRemoved(pThis->m_clients);
    }
  };
  int nResult = xtpHookContinue;
  {
    WalkScope scope(this);
    for (size_t i = m_clients.size(); i-- > 0;) {
      CXTPHookClient *pClient = m_clients[i];
      if (pClient == nullptr) continue;
      nResult = pClient->OnHookMessage(hWnd, message, wParam, lParam, lResult);
      if (nResult != xtpHookContinue) break;
    }
  }
  return nResult == xtpHookHandled;
}

void CXTPHookedWindow::OnPreHandledWindowGone(HWND) {
  m_pManager->Release(m_hWnd, true);
}

// ---------------------------------------------------------------------------
// Hook manager

CXTPHookManager *XTPHookManager() {
  static CXTPHookManager manager;
  return &manager;
}

CXTPHookManager::CXTPHookManager() {
  if (g_pLiveHookManager == nullptr) g_pLiveHookManager = this;
}

CXTPHookManager::~CXTPHookManager() {
  while (!m_windows.empty()) Release(m_windows.begin()->first, false);
  if (g_pLiveHookManager == this) g_pLiveHookManager = nullptr;
}

void CXTPHookManager::HookWindow(HWND hWnd, CXTPHookClient *pClient) {
  if (pClient == nullptr || !::IsWindow(hWnd)) return;
  auto it = m_windows.find(hWnd);
  if (it == m_windows.end()) {
    auto pHooked = std::make_unique<CXTPHookedWindow>(this, hWnd);
    if (!AfxAddPreHandler(hWnd, pHooked.get())) return;
    it = m_windows.emplace(hWnd, std::move(pHooked)).first;
  }
  CXTPHookedWindow &hooked = *it->second;
  if (!hooked.HasClient(pClient)) hooked.m_clients.push_back(pClient);
}

void CXTPHookManager::UnhookWindow(HWND hWnd, CXTPHookClient *pClient) {
  auto it = m_windows.find(hWnd);
  if (it == m_windows.end()) return;
  CXTPHookedWindow &hooked = *it->second;
  if (!TakeOut(hooked.m_clients, pClient, hooked.m_nWalks > 0)) return;
  if (!HasLiveClient(hooked.m_clients)) Release(hWnd, false);
}

void CXTPHookManager::RemoveAll(CXTPHookClient *pClient) {
  std::vector<HWND> windows;
  for (const auto &entry : m_windows)
    if (entry.second->HasClient(pClient)) windows.push_back(entry.first);
  for (HWND hWnd : windows) UnhookWindow(hWnd, pClient);
}

void CXTPHookManager::HookWindow(CWnd *pWnd, CXTPHookClient *pClient) {
  HookWindow(pWnd->GetSafeHwnd(), pClient);
}

void CXTPHookManager::UnhookWindow(CWnd *pWnd, CXTPHookClient *pClient) {
  UnhookWindow(pWnd->GetSafeHwnd(), pClient);
}

BOOL CXTPHookManager::IsHooked(HWND hWnd, const CXTPHookClient *pClient) const {
  auto it = m_windows.find(hWnd);
  if (it == m_windows.end()) return FALSE;
  return pClient == nullptr || it->second->HasClient(pClient);
}

int CXTPHookManager::GetClientCount(HWND hWnd) const {
  auto it = m_windows.find(hWnd);
  return it == m_windows.end() ? 0 : it->second->GetClientCount();
}

void CXTPHookManager::Release(HWND hWnd, bool bWindowGone) {
  auto it = m_windows.find(hWnd);
  if (it == m_windows.end()) return;
  std::unique_ptr<CXTPHookedWindow> pHooked = std::move(it->second);
  m_windows.erase(it);
  // A destroyed window's handlers are off it already.
  if (!bWindowGone) AfxRemovePreHandler(hWnd, pHooked.get());
  // Nobody more is asked, even by a walk going on.
  std::fill(pHooked->m_clients.begin(), pHooked->m_clients.end(), nullptr);
  if (pHooked->m_nWalks > 0) {
    pHooked->m_bRetired = true; // the walk deletes it
    pHooked.release();
  }
}

// ---------------------------------------------------------------------------
// Thread hooks

CXTPThreadHooks *CXTPThreadHooks::GetThreadHooks() {
  if (t_pThreadHooks == nullptr && !t_bThreadHooksGone) {
    t_threadHooksHolder.pHooks = std::make_unique<CXTPThreadHooks>();
    t_pThreadHooks = t_threadHooksHolder.pHooks.get();
  }
  return t_pThreadHooks;
}

CXTPThreadHooks *CXTPThreadHooks::FindThreadHooks() {
  return t_pThreadHooks;
}

CXTPThreadHooks *XTPGetThreadHooks() {
  return CXTPThreadHooks::GetThreadHooks();
}

CXTPThreadHooks::~CXTPThreadHooks() {
  Uninstall();
  if (t_pThreadHooks == this) t_pThreadHooks = nullptr;
}

BOOL CXTPThreadHooks::HasClients() const {
  return HasLiveClient(m_clients);
}

void CXTPThreadHooks::AddThreadClient(CXTPHookClient *pClient) {
  if (pClient == nullptr) return;
  if (m_hKeyboardHook == nullptr) {
    const DWORD threadId = ::GetCurrentThreadId();
    m_hKeyboardHook = ::SetWindowsHookExW(WH_KEYBOARD, &KeyboardHookProc, nullptr, threadId);
    m_hCallWndProcHook = ::SetWindowsHookExW(WH_CALLWNDPROC, &CallWndProcHookProc, nullptr, threadId);
  }
  if (std::find(m_clients.begin(), m_clients.end(), pClient) == m_clients.end()) m_clients.push_back(pClient);
}

void CXTPThreadHooks::RemoveThreadClient(CXTPHookClient *pClient) {
  if (!TakeOut(m_clients, pClient, m_nWalks > 0)) return;
  if (m_nWalks == 0 && m_clients.empty()) Uninstall();
}

void CXTPThreadHooks::Uninstall() {
  if (m_hKeyboardHook != nullptr) ::UnhookWindowsHookEx(m_hKeyboardHook);
  if (m_hCallWndProcHook != nullptr) ::UnhookWindowsHookEx(m_hCallWndProcHook);
  m_hKeyboardHook = nullptr;
  m_hCallWndProcHook = nullptr;
}

BOOL CXTPThreadHooks::ProcessHooks(UINT message, WPARAM wParam, LPARAM lParam) {
  // Clients leave (a popup closing on a key) while they are asked.
  struct WalkScope {
    CXTPThreadHooks *pThis;
    explicit WalkScope(CXTPThreadHooks *p) : pThis(p) { ++pThis->m_nWalks; }
    ~WalkScope() {
      if (--pThis->m_nWalks > 0) return;
      DropRemoved(pThis->m_clients);
      if (pThis->m_clients.empty()) pThis->Uninstall();
    }
  } scope(this);
  const size_t count = m_clients.size(); // clients that come meanwhile wait for the next key
  for (size_t i = 0; i < count; ++i) {
    CXTPHookClient *pClient = m_clients[i];
    if (pClient == nullptr) continue;
    WPARAM w = wParam;
    LPARAM l = lParam;
    LRESULT lResult = 0;
    const int nResult = pClient->OnHookMessage(nullptr, message, w, l, lResult);
    if (nResult != xtpHookContinue) return nResult != xtpHookStop;
  }
  return TRUE;
}

BOOL CXTPThreadHooks::OnKeyboardHook(WPARAM nVirtKey, LPARAM lKeyData) {
  const bool bKeyUp = (lKeyData & 0x80000000) != 0;
  const bool bAlt = (lKeyData & 0x20000000) != 0;
  const bool bRepeat = (lKeyData & 0x40000000) != 0;
  if (bKeyUp || !HasClients()) return FALSE;
  if (!bAlt) return ProcessHooks(WM_KEYDOWN, nVirtKey, lKeyData);
  CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager();
  if (pMouse != nullptr && pMouse->IsMouseLocked()) return FALSE;
  if (nVirtKey != VK_MENU) return ProcessHooks(WM_KEYDOWN, nVirtKey, lKeyData);
  if (bRepeat) return FALSE;
  // Alt pressed alone closes the open popups, as it closes a system menu.
  if (pMouse != nullptr) pMouse->CloseTrackedBars();
  return TRUE;
}

void CXTPThreadHooks::OnCallWndProcHook(const CWPSTRUCT &msg) {
  if (msg.message != WM_ACTIVATEAPP || msg.wParam != 0) return;
  if (CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager()) pMouse->CloseTrackedBars();
}

LRESULT CALLBACK CXTPThreadHooks::KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CXTPThreadHooks *pHooks = FindThreadHooks();
  if (pHooks != nullptr && nCode == HC_ACTION) {
    // Clients' exceptions stop here: they must not unwind through user32.
    const BOOL bSwallow = AfxCallGuarded(
        WM_KEYDOWN, [&] { return pHooks->OnKeyboardHook(wParam, lParam); }, [] { return FALSE; });
    if (bSwallow) return 1;
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK CXTPThreadHooks::CallWndProcHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CXTPThreadHooks *pHooks = FindThreadHooks();
  if (pHooks != nullptr && nCode == HC_ACTION && lParam != 0) {
    const CWPSTRUCT &msg = *reinterpret_cast<const CWPSTRUCT *>(lParam);
    AfxCallGuarded(
        msg.message, [&] { pHooks->OnCallWndProcHook(msg); }, [] {});
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The hook manager and the thread hooks: how command bars see messages that
// belong to other windows.
//
// CXTPHookManager (one per process) routes any window's messages to any number
// of hook clients before the window sees them. It is a registry over the
// framework's pre-handlers (WndPreHandler.h): one CXTPHookedWindow per hooked
// window holds that window's clients, and the framework does the chaining.
//
// CXTPThreadHooks (one per thread) installs a keyboard hook and a
// call-window-procedure hook while it has clients. While clients exist every
// key-down is theirs: keys that no client claims are swallowed too, which is
// what makes an open popup menu modal.
//
// Clients may unhook (or destroy the hooked window) inside their callback; a
// client that is destroyed leaves both registries by itself.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "WndPreHandler.h"

class CWnd;

// What a client answers from OnHookMessage.
enum XTPHookResult {
  xtpHookContinue = 0, // not handled: the next client is asked
  xtpHookHandled = 1,  // handled: the window returns lResult
  xtpHookStop = 2,     // not handled, and nobody else is asked
};

// Anything that wants to see hooked messages.
class CXTPHookClient {
public:
  // hWnd is the hooked window, or null for the thread hooks' keys.
  virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) = 0;
  virtual ~CXTPHookClient();

protected:
  CXTPHookClient() = default;
  CXTPHookClient(const CXTPHookClient &) = delete;
  CXTPHookClient &operator=(const CXTPHookClient &) = delete;
};

class CXTPHookManager;

// One hooked window and its clients.
class CXTPHookedWindow : public CWndPreHandler {
public:
  CXTPHookedWindow(CXTPHookManager *pManager, HWND hWnd) : m_pManager(pManager), m_hWnd(hWnd) {}

  HWND GetHwnd() const { return m_hWnd; }
  int GetClientCount() const;
  BOOL HasClient(const CXTPHookClient *pClient) const;

  BOOL OnPreHandleMessage(HWND hWnd, UINT message, WPARAM &wParam, LPARAM &lParam, LRESULT &lResult) override;
  void OnPreHandledWindowGone(HWND hWnd) override;

private:
  friend class CXTPHookManager;

  CXTPHookManager *m_pManager;
  HWND m_hWnd;
  std::vector<CXTPHookClient *> m_clients; // null: removed while the clients were being asked
  int m_nWalks = 0;                        // client walks going on
  bool m_bRetired = false;                 // left the manager during a walk: the walk deletes it
};

class CXTPHookManager {
public:
  CXTPHookManager();
  ~CXTPHookManager(); // unhooks every window still hooked
  CXTPHookManager(const CXTPHookManager &) = delete;
  CXTPHookManager &operator=(const CXTPHookManager &) = delete;

  // The client sees the window's messages from now on (once, however often it
  // is hooked); the client hooked last is asked first.
  void HookWindow(HWND hWnd, CXTPHookClient *pClient);
  void UnhookWindow(HWND hWnd, CXTPHookClient *pClient);
  // Takes the client off every window.
  void RemoveAll(CXTPHookClient *pClient);
  void HookWindow(CWnd *pWnd, CXTPHookClient *pClient);
  void UnhookWindow(CWnd *pWnd, CXTPHookClient *pClient);

  // The names the command bars use.
  void SetHook(HWND hWnd, CXTPHookClient *pClient) { HookWindow(hWnd, pClient); }
  void RemoveHook(HWND hWnd, CXTPHookClient *pClient) { UnhookWindow(hWnd, pClient); }

  BOOL IsHooked(HWND hWnd, const CXTPHookClient *pClient = nullptr) const;
  int GetHookedWindowCount() const { return static_cast<int>(m_windows.size()); }
  int GetClientCount(HWND hWnd) const;

private:
  friend class CXTPHookedWindow;
  // The window leaves the map and the framework; a window whose clients are
  // being asked is deleted when that is over.
  void Release(HWND hWnd, bool bWindowGone);

  std::map<HWND, std::unique_ptr<CXTPHookedWindow>> m_windows;
};

// The process's hook manager.
CXTPHookManager *XTPHookManager();

class CXTPThreadHooks {
public:
  CXTPThreadHooks() = default;
  ~CXTPThreadHooks();
  CXTPThreadHooks(const CXTPThreadHooks &) = delete;
  CXTPThreadHooks &operator=(const CXTPThreadHooks &) = delete;

  // The calling thread's thread hooks, made on first use.
  static CXTPThreadHooks *GetThreadHooks();
  // The calling thread's, or null when it has none (or they are gone).
  static CXTPThreadHooks *FindThreadHooks();

  // Installs the hooks with the first client.
  void AddThreadClient(CXTPHookClient *pClient);
  // Removes the hooks with the last client.
  void RemoveThreadClient(CXTPHookClient *pClient);
  // Asks the clients in the order they came: the first non-zero answer
  // decides (xtpHookStop: not handled). Nobody answering counts as handled.
  BOOL ProcessHooks(UINT message, WPARAM wParam, LPARAM lParam);

  BOOL HasClients() const;
  BOOL IsInstalled() const { return m_hKeyboardHook != nullptr; }

  // What the hooks decide, given the hook's arguments: TRUE swallows the key.
  BOOL OnKeyboardHook(WPARAM nVirtKey, LPARAM lKeyData);
  void OnCallWndProcHook(const CWPSTRUCT &msg);

private:
  static LRESULT CALLBACK KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CallWndProcHookProc(int nCode, WPARAM wParam, LPARAM lParam);
  void Uninstall();

  HHOOK m_hKeyboardHook = nullptr;
  HHOOK m_hCallWndProcHook = nullptr;
  std::vector<CXTPHookClient *> m_clients; // null: removed while the clients were being asked
  int m_nWalks = 0;
};

CXTPThreadHooks *XTPGetThreadHooks();

// CXTPMouseManager (one per thread): the popup bars being tracked, with a
// mouse hook that closes them on a click elsewhere and feeds them mouse moves,
// a lock that keeps popups from reacting while a drag runs, and the emulated
// mouse-leave notice of bar windows.
//
// The manager reaches the bars only through CXTPMouseTrackedBar, which the
// command bar implements.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

// What the mouse manager asks of a tracked command bar.
class CXTPMouseTrackedBar {
public:
  // Answers of HitTestTrackedPoint.
  static constexpr int kNotMine = -2;
  static constexpr int kMine = 1;

  virtual ~CXTPMouseTrackedBar() = default;
  // The bar's window (null when it has none).
  virtual HWND GetTrackedHwnd() const = 0;
  // Whether a screen point belongs to the bar: kNotMine, kMine, or anything
  // else for "not claimed, but child windows of the bar count as its own".
  virtual int HitTestTrackedPoint(POINT ptScreen) = 0;
  // Asked of the first tracked bar: whether events inside the trusted windows
  // leave the tracked bars alone.
  virtual BOOL IsTrustedWindowsEnabled() = 0;
  // The bar is remembered as the one with the mouse selection and a popup of
  // another bar starts being tracked.
  virtual void OnTrackingElsewhere() = 0;
  // The bar is to close (a click elsewhere, Alt, the application left).
  virtual void OnTrackLost() = 0;
  // A mouse move anywhere while the bar is tracked, in its client coordinates.
  virtual void OnTrackedMouseMove(UINT nFlags, POINT ptClient) = 0;
};

class CXTPMouseManager {
public:
  // The timer that emulates the mouse-leave notice.
  static constexpr UINT_PTR kLeaveTimerId = 113341;
  static constexpr UINT kLeaveTimerMs = 50;

  CXTPMouseManager();  // installs the thread's mouse hook
  ~CXTPMouseManager(); // removes it
  CXTPMouseManager(const CXTPMouseManager &) = delete;
  CXTPMouseManager &operator=(const CXTPMouseManager &) = delete;

  // The calling thread's mouse manager, made on first use.
  static CXTPMouseManager *GetThreadMouseManager();
  // The calling thread's, or null when it has none (or it is gone).
  static CXTPMouseManager *FindThreadMouseManager();

  // --- tracked bars ---
  // Adds the bar once; returns its index. The first bar tracked tells the
  // remembered bar, when that is another one.
  int PushTrackedBar(CXTPMouseTrackedBar *pBar);
  // With the last bar gone the cursor is put where it is, so that the windows
  // under it see a fresh mouse move.
  void DropTrackedBar(CXTPMouseTrackedBar *pBar);
  // Closes every tracked bar: the first (which closes its child popups), then
  // any popup nested over it.
  void CloseTrackedBars();
  void SendTrackLost() { CloseTrackedBars(); }
  BOOL IsTrackedBar(const CXTPMouseTrackedBar *pBar) const;
  int GetTrackedCount() const { return static_cast<int>(m_bars.size()); }
  CXTPMouseTrackedBar *GetTrackedBar(int nIndex) const;
  // Popups are tracked and this bar is none of them.
  BOOL IsTrackedLock(const CXTPMouseTrackedBar *pBar) const;

  // --- the bar with the mouse selection ---
  void SetSelectedBar(CXTPMouseTrackedBar *pBar) { m_pSelected = pBar; }
  CXTPMouseTrackedBar *GetSelectedBar() const { return m_pSelected; }
  // A bar that goes forgets itself here.
  void RemoveSelectedBar(const CXTPMouseTrackedBar *pBar);

  // --- the lock: while positive, tracked bars ignore the mouse ---
  void LockMouseMove();
  void UnlockMouseMove();
  BOOL IsMouseLocked() const { return m_nLock > 0; }

  // --- menus shown whole until the tracking ends ---
  void SetForceExpanded(BOOL bExpanded) { m_bForceExpanded = bExpanded; }
  BOOL IsForceExpanded() const { return m_bForceExpanded; }

  // --- windows whose area does not close tracked popups ---
  void AddTrustedWindow(HWND hWnd);
  void RemoveTrustedWindow(HWND hWnd);
  const std::vector<HWND> &GetTrustedWindows() const { return m_trusted; }

  // The next left-button release not preceded by a press is swallowed (the
  // release of the click that opened a popup menu).
  void IgnoreLButtonUp() { m_bIgnoreLButtonUp = TRUE; }
  BOOL IsLButtonUpIgnored() const { return m_bIgnoreLButtonUp; }

  // TRUE when the foreground window is the last active popup of the window's
  // top-level parent.
  static BOOL TopParentIsForeground(HWND hWnd);
  // Sends WM_MOUSELEAVE to the window watched before and watches this one
  // (null: none) until the cursor leaves it or its frame goes inactive.
  void WatchMouseExit(HWND hWnd);
  HWND GetWatchedWindow() const { return m_hWndLeave; }

  // What the mouse hook does with one event (message, screen point): TRUE
  // swallows it.
  BOOL OnMouseHook(UINT message, POINT ptScreen);
  BOOL IsHookInstalled() const { return m_hHook != nullptr; }

private:
  static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
  static void CALLBACK LeaveTimerProc(HWND hWnd, UINT, UINT_PTR nIdEvent, DWORD);
  void PreviewTrackedBars(UINT message, POINT ptScreen);
  void CheckWatchedWindow(HWND hWnd);

  int m_nLock = 0;
  std::vector<CXTPMouseTrackedBar *> m_bars;
  HHOOK m_hHook = nullptr;
  CXTPMouseTrackedBar *m_pSelected = nullptr;
  BOOL m_bForceExpanded = FALSE;
  HWND m_hWndLeave = nullptr;
  std::vector<HWND> m_trusted;
  BOOL m_bIgnoreLButtonUp = FALSE;
  POINT m_ptLast = {-1, -1};
  bool m_bHaveLastPoint = false;
};

// The calling thread's mouse manager.
CXTPMouseManager *XTPGetMouseManager();

// Holds the calling thread's mouse lock for a scope (a drag loop).
class CXTPMouseLock {
public:
  CXTPMouseLock() : m_pManager(XTPGetMouseManager()) {
    if (m_pManager != nullptr) m_pManager->LockMouseMove();
  }
  ~CXTPMouseLock() {
    if (m_pManager != nullptr) m_pManager->UnlockMouseMove();
  }
  CXTPMouseLock(const CXTPMouseLock &) = delete;
  CXTPMouseLock &operator=(const CXTPMouseLock &) = delete;

private:
  CXTPMouseManager *m_pManager;
};

#include "XTPMouseManager.h"

#include <algorithm>

#include "Wnd.h"

namespace {

thread_local CXTPMouseManager *t_pMouseManager = nullptr;
thread_local bool t_bMouseManagerGone = false;

struct MouseManagerHolder {
  std::unique_ptr<CXTPMouseManager> pManager;
  ~MouseManagerHolder() {
    pManager.reset();
    t_bMouseManagerGone = true;
  }
};
thread_local MouseManagerHolder t_mouseManagerHolder;

bool IsButtonDown(UINT message) {
  switch (message) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_NCLBUTTONDOWN:
  case WM_NCRBUTTONDOWN:
  case WM_NCMBUTTONDOWN:
    return true;
  default:
    return false;
  }
}

bool IsMouseMove(UINT message) {
  return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE;
}

bool IsLButtonUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_NCLBUTTONUP;
}

// The MK_ flags of a mouse message, for a move the hook saw.
UINT KeyFlags() {
  UINT nFlags = 0;
  if (::GetKeyState(VK_LBUTTON) < 0) nFlags |= MK_LBUTTON;
  if (::GetKeyState(VK_RBUTTON) < 0) nFlags |= MK_RBUTTON;
  if (::GetKeyState(VK_MBUTTON) < 0) nFlags |= MK_MBUTTON;
  if (::GetKeyState(VK_SHIFT) < 0) nFlags |= MK_SHIFT;
  if (::GetKeyState(VK_CONTROL) < 0) nFlags |= MK_CONTROL;
  return nFlags;
}

HWND TopLevelParent(HWND hWnd) {
  while ((::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) && ::GetParent(hWnd) != nullptr)
    hWnd = ::GetParent(hWnd);
  return hWnd;
}

} // namespace

CXTPMouseManager *XTPGetMouseManager() {
  return CXTPMouseManager::GetThreadMouseManager();
}

CXTPMouseManager *CXTPMouseManager::GetThreadMouseManager() {
  if (t_pMouseManager == nullptr && !t_bMouseManagerGone)
    t_mouseManagerHolder.pManager = std::make_unique<CXTPMouseManager>();
  return t_pMouseManager;
}

CXTPMouseManager *CXTPMouseManager::FindThreadMouseManager() {
  return t_pMouseManager;
}

CXTPMouseManager::CXTPMouseManager() {
  m_hHook = ::SetWindowsHookExW(WH_MOUSE, &MouseHookProc, nullptr, ::GetCurrentThreadId());
  if (t_pMouseManager == nullptr) t_pMouseManager = this;
}

CXTPMouseManager::~CXTPMouseManager() {
  if (m_hHook != nullptr) ::UnhookWindowsHookEx(m_hHook);
  if (m_hWndLeave != nullptr && ::IsWindow(m_hWndLeave)) ::KillTimer(m_hWndLeave, kLeaveTimerId);
  if (t_pMouseManager == this) t_pMouseManager = nullptr;
}

// ---------------------------------------------------------------------------
// Tracked bars

int CXTPMouseManager::PushTrackedBar(CXTPMouseTrackedBar *pBar) {
  if (pBar == nullptr) return -1;
  if (m_bars.empty() && m_pSelected != nullptr && m_pSelected != pBar) m_pSelected->OnTrackingElsewhere();
  auto it = std::find(m_bars.begin(), m_bars.end(), pBar);
  if (it != m_bars.end()) return static_cast<int>(it - m_bars.begin());
  m_bars.push_back(pBar);
  return static_cast<int>(m_bars.size()) - 1;
}

void CXTPMouseManager::DropTrackedBar(CXTPMouseTrackedBar *pBar) {
  auto it = std::find(m_bars.begin(), m_bars.end(), pBar);
  if (it == m_bars.end()) return;
  m_bars.erase(it);
  if (!m_bars.empty()) return;
  POINT pt;
  if (::GetCursorPos(&pt)) ::SetCursorPos(pt.x, pt.y);
  m_bIgnoreLButtonUp = FALSE;
}

void CXTPMouseManager::CloseTrackedBars() {
  // The first bar takes its child popups with it; a popup nested over it is
  // nobody's child and is closed on its own.
  const std::vector<CXTPMouseTrackedBar *> bars = m_bars;
  for (CXTPMouseTrackedBar *pBar : bars)
    if (IsTrackedBar(pBar)) pBar->OnTrackLost();
}

BOOL CXTPMouseManager::IsTrackedBar(const CXTPMouseTrackedBar *pBar) const {
  return pBar != nullptr && std::find(m_bars.begin(), m_bars.end(), pBar) != m_bars.end();
}

CXTPMouseTrackedBar *CXTPMouseManager::GetTrackedBar(int nIndex) const {
  return nIndex >= 0 && nIndex < GetTrackedCount() ? m_bars[nIndex] : nullptr;
}

BOOL CXTPMouseManager::IsTrackedLock(const CXTPMouseTrackedBar *pBar) const {
  return !m_bars.empty() && !IsTrackedBar(pBar);
}

void CXTPMouseManager::RemoveSelectedBar(const CXTPMouseTrackedBar *pBar) {
  if (m_pSelected == pBar) m_pSelected = nullptr;
}

// ---------------------------------------------------------------------------
// Lock, trusted windows

void CXTPMouseManager::LockMouseMove() {
  ++m_nLock;
}

void CXTPMouseManager::UnlockMouseMove() {
  // An unlock without its lock must not leave a debt that swallows the next lock.
  if (m_nLock == 0) {
    TRACE(L"Mouse manager unlocked more often than locked\n");
    return;
  }
  --m_nLock;
}

void CXTPMouseManager::AddTrustedWindow(HWND hWnd) {
  if (hWnd != nullptr && std::find(m_trusted.begin(), m_trusted.end(), hWnd) == m_trusted.end())
    m_trusted.push_back(hWnd);
}

void CXTPMouseManager::RemoveTrustedWindow(HWND hWnd) {
  m_trusted.erase(std::remove(m_trusted.begin(), m_trusted.end(), hWnd), m_trusted.end());
}

// ---------------------------------------------------------------------------
// Mouse hook

LRESULT CALLBACK CXTPMouseManager::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CXTPMouseManager *pManager = t_pMouseManager;
  if (pManager != nullptr && nCode == HC_ACTION && lParam != 0) {
    const POINT pt = reinterpret_cast<const MOUSEHOOKSTRUCT *>(lParam)->pt;
    const UINT message = static_cast<UINT>(wParam);
    // The bars' exceptions stop here: they must not unwind through user32.
    const BOOL bSwallow = AfxCallGuarded(
        message, [&] { return pManager->OnMouseHook(message, pt); }, [] { return FALSE; });
    if (bSwallow) return 1;
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

BOOL CXTPMouseManager::OnMouseHook(UINT message, POINT ptScreen) {
  // Any left press (a double click's second one too) makes the next release
  // a click of its own.
  if (message == WM_LBUTTONDOWN || message == WM_NCLBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
      message == WM_NCLBUTTONDBLCLK)
    m_bIgnoreLButtonUp = FALSE;
  if (IsLButtonUp(message) && m_bIgnoreLButtonUp) {
    m_bIgnoreLButtonUp = FALSE;
    return TRUE;
  }
  // A move that moved nothing (a window appearing under a still cursor) would
  // change the selection in an open menu under the keyboard.
  if (!m_bars.empty() && IsMouseMove(message) && m_bHaveLastPoint && ptScreen.x == m_ptLast.x &&
      ptScreen.y == m_ptLast.y)
    return TRUE;
  m_ptLast = ptScreen;
  m_bHaveLastPoint = true;
  if (!m_bars.empty()) PreviewTrackedBars(message, ptScreen);
  return FALSE;
}

void CXTPMouseManager::PreviewTrackedBars(UINT message, POINT ptScreen) {
  // Bars close (and leave the list, with their child popups) while they are
  // told: each is told from a copy and only while it is still tracked.
  const HWND hWndUnder = ::WindowFromPoint(ptScreen);
  std::vector<CXTPMouseTrackedBar *> bars = m_bars;
  for (CXTPMouseTrackedBar *pBar : bars) {
    if (!IsTrackedBar(pBar)) continue;
    const HWND hWndBar = pBar->GetTrackedHwnd();
    if (!::IsWindow(hWndBar)) continue;
    const int nHit = pBar->HitTestTrackedPoint(ptScreen);
    if (nHit == CXTPMouseTrackedBar::kNotMine) continue;
    if (nHit == CXTPMouseTrackedBar::kMine) return;
    if (hWndUnder != nullptr && ::IsChild(hWndBar, hWndUnder)) return;
  }

  if (!m_bars.empty() && m_bars.front()->IsTrustedWindowsEnabled()) {
    const std::vector<HWND> trusted = m_trusted;
    for (HWND hWnd : trusted) {
      RECT rect;
      if (::IsWindow(hWnd) && ::GetWindowRect(hWnd, &rect) && ::PtInRect(&rect, ptScreen)) return;
    }
  }

  bars = m_bars;
  for (CXTPMouseTrackedBar *pBar : bars) {
    if (!IsTrackedBar(pBar)) continue;
    if (IsButtonDown(message)) {
      pBar->OnTrackLost();
    } else if (IsLButtonUp(message)) {
      if (!IsMouseLocked()) pBar->OnTrackLost();
    } else if (IsMouseMove(message)) {
      const HWND hWndBar = pBar->GetTrackedHwnd();
      if (!::IsWindow(hWndBar)) continue;
      POINT ptClient = ptScreen;
      ::ScreenToClient(hWndBar, &ptClient);
      pBar->OnTrackedMouseMove(KeyFlags(), ptClient);
    }
  }
}

// ---------------------------------------------------------------------------
// Foreground and mouse leave

BOOL CXTPMouseManager::TopParentIsForeground(HWND hWnd) {
  if (!::IsWindow(hWnd)) return FALSE;
  const HWND hWndForeground = ::GetForegroundWindow();
  return hWndForeground != nullptr && ::GetLastActivePopup(TopLevelParent(hWnd)) == hWndForeground;
}

void CXTPMouseManager::WatchMouseExit(HWND hWnd) {
  if (hWnd == m_hWndLeave) return;
  const HWND hWndOld = m_hWndLeave;
  m_hWndLeave = nullptr;
  // The old window's timer goes with it: left running, it would later end
  // the watch of the new window and tell the old one a second time.
  if (hWndOld != nullptr && ::IsWindow(hWndOld)) {
    ::KillTimer(hWndOld, kLeaveTimerId);
    ::SendMessageW(hWndOld, WM_MOUSELEAVE, 0, 0);
  }
  if (hWnd == nullptr || !::IsWindow(hWnd)) return;
  m_hWndLeave = hWnd;
  ::SetTimer(hWnd, kLeaveTimerId, kLeaveTimerMs, &LeaveTimerProc);
}

void CALLBACK CXTPMouseManager::LeaveTimerProc(HWND hWnd, UINT, UINT_PTR nIdEvent, DWORD) {
  CXTPMouseManager *pManager = t_pMouseManager;
  if (pManager == nullptr) {
    ::KillTimer(hWnd, nIdEvent);
    return;
  }
  pManager->CheckWatchedWindow(hWnd);
}

void CXTPMouseManager::CheckWatchedWindow(HWND hWnd) {
  if (hWnd != m_hWndLeave) {
    ::KillTimer(hWnd, kLeaveTimerId); // a window no longer watched
    return;
  }
  if (!::IsWindow(hWnd)) {
    m_hWndLeave = nullptr;
    return;
  }
  RECT rect;
  POINT pt;
  const bool bInside = ::GetWindowRect(hWnd, &rect) && ::GetCursorPos(&pt) && ::PtInRect(&rect, pt);
  const bool bFrameActive =
      !(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) || ::GetActiveWindow() == TopLevelParent(hWnd);
  if (bInside && bFrameActive) return;
  ::KillTimer(hWnd, kLeaveTimerId);
  m_hWndLeave = nullptr;
  ::PostMessageW(hWnd, WM_MOUSELEAVE, 0, 0);
}

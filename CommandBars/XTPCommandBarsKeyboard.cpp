// The command bars' list of bars and what the keyboard does with it: Alt
// shows the keyboard cues, Alt+key and keys in a tracking bar run mnemonics.
#include "XTPCommandBars.h"

#include "FrameWnd.h"
#include "MiniFrameWnd.h"
#include "XTPCommandBar.h"
#include "XTPControl.h"
#include "XTPHookManager.h"
#include "XTPMenuBar.h"
#include "XTPMouseManager.h"
#include "XTPPaintManager.h"
#include "XTPShortcutManager.h"

#include <algorithm>

namespace {

// Mnemonic scopes of the options.
constexpr int kScopeMenuBar = 0;
constexpr int kScopeVisibleBars = 1;
constexpr int kScopeOff = 2;

BOOL IsTrackingPopups() {
  CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager();
  return pMouse && pMouse->GetTrackedCount() > 0;
}

BOOL IsBarShown(const CXTPCommandBar *pBar) {
  HWND hWnd = pBar->GetSafeHwnd();
  return hWnd && ::IsWindowVisible(hWnd);
}

// The key of a caption: after "&" (bAmpersand set), else its first letter.
wchar_t CaptionKey(const CString &strCaption, BOOL &bAmpersand) {
  bAmpersand = FALSE;
  const int nLength = strCaption.GetLength();
  for (int i = 0; i + 1 < nLength; i++) {
    if (strCaption[i] != L'&') continue;
    if (strCaption[i + 1] == L'&') {
      i++;
      continue;
    }
    bAmpersand = TRUE;
    return CXTPShortcutManager::ToUpperChar(strCaption[i + 1]);
  }
  return nLength > 0 ? CXTPShortcutManager::ToUpperChar(strCaption[0]) : 0;
}

// The frame that holds the focus: up from the focus window to the first
// frame window that is not a mini frame. A floating palette or pane belongs
// to the frame that owns it, so Alt+letter there opens that frame's menus.
HWND FocusedTopFrame() {
  for (HWND hWnd = ::GetFocus(); hWnd != nullptr && ::IsWindow(hWnd); hWnd = ::GetParent(hWnd)) {
    CWnd *pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd && pWnd->IsFrameWnd() && dynamic_cast<CMiniFrameWnd *>(pWnd) == nullptr) return hWnd;
  }
  return nullptr;
}

} // namespace

void CXTPCommandBars::AddBar(CXTPCommandBar *pBar) {
  if (pBar == nullptr || std::find(m_arrBars.begin(), m_arrBars.end(), pBar) != m_arrBars.end()) return;
  pBar->InternalAddRef();
  pBar->SetCommandBars(this);
  m_arrBars.push_back(pBar);
}

void CXTPCommandBars::RemoveBar(CXTPCommandBar *pBar) {
  auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
  if (it == m_arrBars.end()) return;
  m_arrBars.erase(it);
  if (m_pMenuBar == pBar) m_pMenuBar = nullptr;
  if (pBar->IsTrackingMode()) pBar->CancelTracking();
  pBar->InternalRelease();
}

void CXTPCommandBars::ReleaseBars() {
  std::vector<CXTPCommandBar *> bars;
  bars.swap(m_arrBars);
  m_pMenuBar = nullptr;
  for (CXTPCommandBar *pBar : bars) {
    if (pBar->IsTrackingMode()) pBar->CancelTracking();
    pBar->SetCommandBars(nullptr);
    pBar->InternalRelease();
  }
}

CXTPCommandBar *CXTPCommandBars::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
  return m_arrBars[static_cast<size_t>(nIndex)];
}

CXTPCommandBar *CXTPCommandBars::GetMenuBar() const {
  if (m_pMenuBar != nullptr) return m_pMenuBar;
  for (CXTPCommandBar *pBar : m_arrBars)
    if (pBar->GetType() == xtpBarTypeMenuBar) return pBar;
  return nullptr;
}

void CXTPCommandBars::RedrawVisibleBars() {
  for (CXTPCommandBar *pBar : m_arrBars)
    if (IsBarShown(pBar)) pBar->Redraw();
}

void CXTPCommandBars::OnTrackingModeChanged(CXTPCommandBar * /*pBar*/, int nMode) {
  if (!nMode && m_bKeyboardCuesFollowAlt && !IsTrackingPopups()) UpdateKeyboardCues(FALSE);
  // A menu expanded by the user keeps the next menus whole only until the tracking ends.
  if (!nMode && !IsTrackingPopups()) {
    if (CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager())
      pMouse->SetForceExpanded(FALSE);
  }
}

CXTPControl *CXTPCommandBars::FindMnemonicControl(CXTPCommandBar *pBar, wchar_t chAccel,
                                                  BOOL &bAmbiguous) const {
  bAmbiguous = FALSE;
  const wchar_t chKey = CXTPShortcutManager::ToUpperChar(chAccel);
  const int nScope = m_pOptions->keyboardCuesUse;
  CXTPControl *pAmpersand = nullptr;
  CXTPControl *pFirstLetter = nullptr;
  CXTPCommandBar *pStartBar = pBar;
  CXTPControl *pFirstSeen = nullptr;
  int nIndex = pBar->GetControls()->GetNextIndex(pBar->GetSelectedIndex(), 1);
  // Each control of each bar is seen once at most: the walk is bounded even
  // when the lists change under it.
  int nBudget = 1;
  for (CXTPCommandBar *p : m_arrBars) nBudget += p->GetControlCount();
  nBudget += pBar->GetControlCount();
  while (nBudget-- > 0) {
    if (nIndex == -1) {
      if (nScope != kScopeVisibleBars) break;
      // The next visible bar, cyclic, until the walk is back where it began.
      auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
      CXTPCommandBar *pNext = nullptr;
      for (size_t n = 1; n <= m_arrBars.size(); n++) {
        const size_t i = it == m_arrBars.end()
                             ? n - 1
                             : (static_cast<size_t>(it - m_arrBars.begin()) + n) % m_arrBars.size();
        if (IsBarShown(m_arrBars[i]) || m_arrBars[i] == pStartBar) {
          pNext = m_arrBars[i];
          break;
        }
      }
      if (pNext == nullptr || pNext == pStartBar) break;
      pBar = pNext;
      nIndex = pBar->GetControls()->GetNextIndex(-1, 1);
      continue;
    }
    CXTPControl *pControl = pBar->GetControl(nIndex);
    if (pControl == pFirstSeen) break;
    if (pFirstSeen == nullptr) pFirstSeen = pControl;
    BOOL bAmpersand = FALSE;
    // A caption the bar does not show (a button drawn as its icon) has no
    // underlined letter the user could see.
    const wchar_t chControl = pControl->IsCaptionVisible() ? CaptionKey(pControl->GetCaption(), bAmpersand) : 0;
    const BOOL bFirstLetterCounts = pBar->GetType() == xtpBarTypeMenuBar || pBar->IsTrackingMode();
    if (chControl != 0 && chControl == chKey && (bAmpersand || bFirstLetterCounts)) {
      if (bAmpersand) {
        if (pAmpersand) {
          bAmbiguous = TRUE;
          return pAmpersand;
        }
        pAmpersand = pControl;
      } else if (pFirstLetter == nullptr) {
        pFirstLetter = pControl;
      } else {
        bAmbiguous = TRUE;
      }
    }
    const int nNext = pBar->GetControls()->GetNextIndex(nIndex, 1);
    // The end of the bar's order (wrapping back to its start) moves on.
    nIndex = (nNext <= nIndex && nScope == kScopeVisibleBars && GetCount() > 1) ? -1 : nNext;
  }
  if (pAmpersand) {
    bAmbiguous = FALSE;
    return pAmpersand;
  }
  return pFirstLetter;
}

BOOL CXTPCommandBars::ProcessMnemonic(wchar_t chAccel) {
  const int nScope = m_pOptions->keyboardCuesUse;
  if (nScope == kScopeOff || chAccel == 0) return FALSE;
  CXTPCommandBar *pCandidate = GetMenuBar();
  if (pCandidate && !IsBarShown(pCandidate)) pCandidate = nullptr;
  for (CXTPCommandBar *pBar : m_arrBars) {
    if (pBar->IsTrackingMode()) {
      pCandidate = pBar;
      break;
    }
    if (nScope == kScopeVisibleBars && pCandidate == nullptr && IsBarShown(pBar)) pCandidate = pBar;
  }
  if (pCandidate == nullptr || !IsBarShown(pCandidate)) return FALSE;
  BOOL bAmbiguous = FALSE;
  CXTPControl *pControl = FindMnemonicControl(pCandidate, chAccel, bAmbiguous);
  if (pControl == nullptr) return FALSE;
  CXTPCommandBar *pBar = pControl->GetParent();
  CXTPReferenceHold holdBar(pBar);
  CXTPReferenceHold holdControl(pControl);
  if (!pBar->IsTrackingMode()) {
    if (CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager()) pMouse->CloseTrackedBars();
  }
  UpdateKeyboardCues(TRUE);
  pBar->SetTrackingMode(1, FALSE, TRUE);
  pBar->SetSelected(pControl->GetIndex(), TRUE);
  if (!bAmbiguous) pControl->OnUnderlineActivate();
  return TRUE;
}

void CXTPCommandBars::ActivateBar(CXTPCommandBar *pBar, int nDirection) {
  if (pBar == nullptr) return;
  if (nDirection != 0) {
    if (GetCount() < 2) return;
    auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
    const int nStart = it == m_arrBars.end() ? 0 : static_cast<int>(it - m_arrBars.begin());
    const int nCount = GetCount();
    for (int n = 1; n < nCount; n++) {
      CXTPCommandBar *pNext = GetAt(((nStart + n * nDirection) % nCount + nCount) % nCount);
      if (IsBarShown(pNext)) {
        pBar = pNext;
        break;
      }
    }
  }
  CXTPReferenceHold hold(pBar);
  if (CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager()) pMouse->CloseTrackedBars();
  UpdateKeyboardCues(TRUE);
  pBar->SetTrackingMode(1, FALSE, TRUE);
  pBar->SetSelected(pBar->GetControls()->GetNextIndex(-1, 1), TRUE);
}

BOOL CXTPCommandBars::PreTranslateFrameMessage(MSG *pMsg) {
  const BOOL bTracking = IsTrackingPopups();
  CXTPMouseManager *pMouse = CXTPMouseManager::FindThreadMouseManager();
  // A window that keeps the system keys to itself (a tree view does) leaves
  // the system no lone Alt or F10 to turn into the keyboard-menu command, so
  // the frame takes such a key from every window and sends the command
  // itself when the key comes up with no other key between.
  const BOOL bAltContext = (pMsg->lParam & 0x20000000) != 0;
  if (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_KEYDOWN) {
    const BOOL bRepeat = (pMsg->lParam & 0x40000000) != 0;
    const BOOL bMenuKey =
        pMsg->message == WM_SYSKEYDOWN && ((pMsg->wParam == VK_MENU && bAltContext) ||
                                           (pMsg->wParam == VK_F10 && !bAltContext &&
                                            ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0));
    if (bMenuKey && !bTracking && !(pMouse && pMouse->IsMouseLocked()) &&
        FocusedTopFrame() == GetSiteHwnd() && (!bRepeat || m_nLoneMenuKey == pMsg->wParam)) {
      m_nLoneMenuKey = pMsg->wParam;
      if (pMsg->wParam == VK_MENU) UpdateKeyboardCues(TRUE);
      return TRUE;
    }
    m_nLoneMenuKey = 0;
  } else if (pMsg->message == WM_SYSKEYUP && pMsg->wParam != 0 && pMsg->wParam == m_nLoneMenuKey) {
    m_nLoneMenuKey = 0;
    if (!bTracking) {
      ::SendMessageW(GetSiteHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0);
      return TRUE;
    }
  }
  switch (pMsg->message) {
  case WM_SYSKEYDOWN: {
    if (!bAltContext || bTracking || (pMouse && pMouse->IsMouseLocked())) return FALSE;
    if (FocusedTopFrame() != GetSiteHwnd()) return FALSE;
    if (pMsg->wParam == VK_MENU) {
      UpdateKeyboardCues(TRUE);
      return FALSE;
    }
    if (m_bIgnoreShiftMenuKey && (::GetKeyState(VK_SHIFT) & 0x8000)) return FALSE;
    const wchar_t ch =
        static_cast<wchar_t>(::MapVirtualKeyW(static_cast<UINT>(pMsg->wParam), MAPVK_VK_TO_CHAR));
    return ch && ProcessMnemonic(ch);
  }
  case WM_SYSKEYUP:
  case WM_KEYUP:
    if (bTracking) return pMsg->message == WM_SYSKEYUP;
    if (m_bKeyboardCuesFollowAlt && GetPaintManager() && GetPaintManager()->IsKeyboardCuesShown())
      UpdateKeyboardCues(FALSE);
    return FALSE;
  case WM_CONTEXTMENU:
    return bTracking;
  case WM_MOUSEWHEEL: {
    // A tracking bar takes the wheel; the view under the menu must not scroll.
    CXTPThreadHooks *pHooks = CXTPThreadHooks::FindThreadHooks();
    if (pHooks == nullptr || !pHooks->HasClients()) return FALSE;
    pHooks->ProcessHooks(pMsg->message, pMsg->wParam, pMsg->lParam);
    return TRUE;
  }
  }
  return FALSE;
}

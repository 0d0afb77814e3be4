#include "CmdUI.h"

#include "Menu.h"
#include "Wnd.h"

namespace {

HMENU MenuOf(const CCmdUI &ui) {
  return ui.m_pMenu ? ui.m_pMenu->GetSafeHmenu() : nullptr;
}

} // namespace

void CCmdUI::Enable(BOOL bOn) {
  if (HMENU hMenu = MenuOf(*this)) {
    // Popup items are never disabled here: an empty-looking popup still opens.
    if (m_pSubMenu == nullptr)
      ::EnableMenuItem(hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
    // Focus must not stay on a control that becomes disabled.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND hParent = ::GetParent(m_pOther->m_hWnd);
      HWND hNext = hParent ? ::GetNextDlgTabItem(hParent, m_pOther->m_hWnd, FALSE) : nullptr;
      ::SetFocus(hNext != m_pOther->m_hWnd ? hNext : hParent);
    }
    ::EnableWindow(m_pOther->m_hWnd, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (HMENU hMenu = MenuOf(*this)) {
    if (m_pSubMenu == nullptr)
      ::CheckMenuItem(hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
    if (::SendMessage(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
      ::SendMessage(m_pOther->m_hWnd, BM_SETCHECK, nCheck, 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  HMENU hMenu = MenuOf(*this);
  if (hMenu == nullptr || m_pSubMenu != nullptr) {
    SetCheck(bOn ? 1 : 0);
    return;
  }
  MENUITEMINFO mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE | MIIM_STATE;
  if (!::GetMenuItemInfo(hMenu, m_nIndex, TRUE, &mii)) return;
  mii.fType = bOn ? (mii.fType | MFT_RADIOCHECK) : mii.fType;
  mii.fState = bOn ? (mii.fState | MFS_CHECKED) : (mii.fState & ~MFS_CHECKED);
  ::SetMenuItemInfo(hMenu, m_nIndex, TRUE, &mii);
}

void CCmdUI::SetText(LPCTSTR lpszText) {
  if (lpszText == nullptr) return;
  if (HMENU hMenu = MenuOf(*this)) {
    if (m_pSubMenu != nullptr) return;
    MENUITEMINFO mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<LPTSTR>(lpszText);
    ::SetMenuItemInfo(hMenu, m_nIndex, TRUE, &mii);
  } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
    ::SetWindowText(m_pOther->m_hWnd, lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget *pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE; // separators and popups without ids
  m_bEnableChanged = FALSE;
  BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
    Enable(bHandler);
  }
  return bResult;
}

BOOL AfxIsCommandEnabled(CCmdTarget *pTarget, UINT nID) {
  CTestCmdUI state;
  state.m_nID = nID;
  pTarget->OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
  return state.m_bEnabled;
}

void AfxUpdateMenuCmdUI(CCmdTarget *pTarget, HMENU hMenu, BOOL bDisableIfNoHndler) {
  CMenu *pMenu = CMenu::FromHandle(hMenu);
  CCmdUI state;
  state.m_pMenu = pMenu;
  state.m_nIndexMax = (UINT)::GetMenuItemCount(hMenu);
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = ::GetMenuItemID(hMenu, state.m_nIndex);
    if (state.m_nID == 0) continue; // separator
    if (state.m_nID == (UINT)-1) {
      // A popup takes the state of its first item's command; never disabled automatically.
      HMENU hSub = ::GetSubMenu(hMenu, state.m_nIndex);
      if (hSub == nullptr) continue;
      state.m_nID = ::GetMenuItemID(hSub, 0);
      if (state.m_nID == 0 || state.m_nID == (UINT)-1) continue;
      state.m_pSubMenu = CMenu::FromHandle(hSub);
      state.DoUpdate(pTarget, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      state.DoUpdate(pTarget, bDisableIfNoHndler && state.m_nID < 0xF000);
    }
    // A handler may have added or removed items; never walk past the end.
    UINT nCount = (UINT)::GetMenuItemCount(hMenu);
    state.m_nIndexMax = nCount;
  }
}

// CCmdUI: one command's enabled, checked and text state, asked of the command
// handlers before a menu opens, while the program is idle (toolbars, status
// bar) and before a command from an accelerator or a control runs.
#pragma once

#include <windows.h>

#include "CmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI {
public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;
  CCmdUI(const CCmdUI &) = delete;
  CCmdUI &operator=(const CCmdUI &) = delete;

  UINT m_nID = 0;
  UINT m_nIndex = 0;           // position in the menu or bar
  CMenu *m_pMenu = nullptr;    // the menu being updated, or null
  CMenu *m_pSubMenu = nullptr; // the popup at m_nIndex, when the item opens one
  CMenu *m_pParentMenu = nullptr;
  CWnd *m_pOther = nullptr; // the control being updated, or null
  UINT m_nIndexMax = 0;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1); // 0 clear, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCTSTR lpszText);
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks pTarget's handlers; without any update handler, a command without a
  // command handler is disabled when bDisableIfNoHndler is set.
  BOOL DoUpdate(CCmdTarget *pTarget, BOOL bDisableIfNoHndler);
};

// Records the state the handlers give without showing it anywhere; used to
// test whether a command may run.
class CTestCmdUI : public CCmdUI {
public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn = TRUE) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
};

// TRUE unless an update handler of pTarget's route disables nID.
BOOL AfxIsCommandEnabled(CCmdTarget *pTarget, UINT nID);

// Updates the items of a popup menu about to open (WM_INITMENUPOPUP).
void AfxUpdateMenuCmdUI(CCmdTarget *pTarget, HMENU hMenu, BOOL bDisableIfNoHndler);

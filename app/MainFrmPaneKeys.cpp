// The keys that act on the folder tree and the file list: Space toggles the
// check box of the selection, Enter opens a folder row, Tab moves between
// the two panes. They act only while one of the panes has the focus, so a
// Space typed into a dialog or a bar never changes what is checked.
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothView.h"

BOOL CMainFrame::FilterPaneKeys(MSG *pMsg) {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  CQuendalVarnothView *list = GetRightPane();
  if (app.ScanRunning != 0 || tree == nullptr || list == nullptr) return FALSE;
  const HWND focus = ::GetFocus();
  const bool treeFocused = focus != nullptr && focus == tree->m_hWnd;
  const bool listFocused = focus != nullptr && focus == list->m_hWnd;
  if (!treeFocused && !listFocused) return FALSE;
  switch (pMsg->wParam) {
  case VK_SPACE:
    if (treeFocused)
      tree->ToggleSelectedItemCheck();
    else
      list->ToggleSelectedRowCheck();
    return FALSE;
  case VK_RETURN:
    if (listFocused) list->OpenSelectedFolder();
    return FALSE;
  case VK_TAB:
    app.TreeHasFocus = treeFocused ? 1 : 0;
    SwitchPaneFocus();
    return TRUE;
  default:
    return FALSE;
  }
}

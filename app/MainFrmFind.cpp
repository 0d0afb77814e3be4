// Find and Find Next of the main frame.
#include "MainFrm.h"

#include "FindFileDlg.h"
#include "QuendalVarnoth.h"
#include "resource.h"

void CMainFrame::OnFindEntries() {
  CQuendalVarnothApp &app = TheQvApp();
  if (!IsCommandEnabled(ID_EDIT_FIND_ENTRIES, CurrentCommandContext())) return;
  // One dialog object for the program's life: it remembers its expanded
  // state and holds the walk that F3 goes on with.
  if (app.FindDialog == nullptr) app.FindDialog = new CFindFileDlg(this);
  app.FindDialog->DoModal();
}

void CMainFrame::OnFindNextEntry() {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.FindDialog == nullptr || !IsCommandEnabled(ID_EDIT_FIND_NEXT_ENTRY, CurrentCommandContext()))
    return;
  static_cast<CFindFileDlg *>(app.FindDialog)->FindNext(*this);
}

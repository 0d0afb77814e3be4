// Find, Find Next, File Mask and Unmask of the main frame.
#include "MainFrm.h"

#include "EngineCallScope.h"
#include "FileMask.h"
#include "FindFileDlg.h"
#include "LeftView.h"
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

namespace {

int64_t TodayDay() {
  SYSTEMTIME now = {};
  ::GetSystemTime(&now);
  return DayNumber(now.wYear, now.wMonth, now.wDay);
}

} // namespace

void CMainFrame::OnFileMask() {
  if (!IsCommandEnabled(ID_TOOLS_FILE_MASK, CurrentCommandContext())) return;
  CFileMaskDlg dialog(this);
  if (dialog.DoModal() != IDOK) return;
  ApplyFileMask(dialog.Criteria());
}

void CMainFrame::OnUnmask() {
  if (!IsCommandEnabled(ID_TOOLS_UNMASK, CurrentCommandContext())) return;
  RemoveFileMask();
}

void CMainFrame::ApplyFileMask(const FileMaskCriteria &criteria) {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  if (tree == nullptr || EngineCallDepth > 0) return;
  // Open and Run Wizard wait while the lists are rebuilt.
  EngineCallScope scope(*this);
  if (!app.MaskApplied) m_fileMask->Drop();
  if (m_fileMask->Holding()) m_fileMask->Remove(*tree);
  app.FindNextAvailable = 0;
  m_fileMask->Apply(*tree, criteria, app.NtfsEngine != nullptr, TodayDay());
  app.MaskApplied = TRUE;
  // The full results are still there, even when the mask kept nothing:
  // Unmask, Save's refusal and the close's offer go by them.
  app.ResultsPresent = 1;
}

void CMainFrame::RemoveFileMask() {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  if (tree == nullptr || EngineCallDepth > 0) return;
  EngineCallScope scope(*this);
  RebuildBusy = 1;
  if (app.MaskApplied) {
    m_fileMask->Remove(*tree);
    app.ResultsPresent = 1;
  }
  m_fileMask->Drop();
  app.MaskApplied = FALSE;
  app.FindNextAvailable = 0;
  RebuildBusy = 0;
}

void CMainFrame::DropFileMask() {
  m_fileMask->Drop();
  TheQvApp().MaskApplied = FALSE;
}

// Find, Find Next, File Mask and Unmask of the main frame.
#include "MainFrm.h"

#include "AppEngineServices.h"
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

// Counts what a rebuild places as a search counts what it finds (the root
// is the first folder) and shows it the way a search's adds are shown, with
// the pump at the engines' pace.
class FrameRebuildPace : public RebuildPace {
public:
  FrameRebuildPace(CMainFrame &frame, WorkPacer::Clock clock, bool stoppable)
      : m_frame(frame), m_pacer(frame.EngineServices(), std::move(clock)), m_stoppable(stoppable) {}

  void Placed(const EntryRecord &record) override {
    ++m_found;
    if (record.IsFolder()) {
      ++m_folders;
    } else {
      ++m_files;
      AddFoundBytes(m_bytes, record.m_size);
    }
    m_frame.NoteTotals(m_folders, m_files, m_bytes);
    m_frame.UpdateFoundProgress(0, m_found, 0);
  }
  bool ShouldStop() override {
    m_pacer.ShouldStop();
    // The flag by which Stop (and a quit held during the rebuild) ends a search.
    return m_stoppable && TheQvApp().ScanEnded != 0;
  }
  UINT Found() const { return m_found; }

private:
  CMainFrame &m_frame;
  WorkPacer m_pacer;
  bool m_stoppable;
  UINT m_found = 1;
  UINT m_folders = 1;
  UINT m_files = 0;
  ULONGLONG m_bytes = 0;
};

} // namespace

void CMainFrame::OnFileMask() {
  CQuendalVarnothApp &app = TheQvApp();
  if (!IsCommandEnabled(ID_TOOLS_FILE_MASK, CurrentCommandContext())) return;
  CFileMaskDlg dialog(app.MaskChoices, this);
  if (dialog.DoModal() != IDOK) return;
  ApplyFileMask(dialog.Criteria());
}

void CMainFrame::OnUnmask() {
  if (!IsCommandEnabled(ID_TOOLS_UNMASK, CurrentCommandContext())) return;
  RemoveFileMask();
}

void CMainFrame::StartRebuild(UINT progressRange) {
  CQuendalVarnothApp &app = TheQvApp();
  app.ScanEnded = app.StopRequested = 0;
  app.ScanRunning = 1;
  app.FindNextAvailable = 0;
  // The bars show the running state before the first entry is placed.
  app.OnIdle(0);
  RefreshCommandStates();
  CreateScanProgressBar(progressRange);
}

void CMainFrame::EndRebuild(UINT placed) {
  CQuendalVarnothApp &app = TheQvApp();
  OnScanFinished(placed);
  // The full results are still there, even when a mask kept nothing or a
  // Stop came first: Unmask, Save's refusal and the close's offer go by them.
  app.ResultsPresent = 1;
  RefreshCommandStates();
}

void CMainFrame::ApplyFileMask(const FileMaskCriteria &criteria) {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  if (tree == nullptr || EngineCallDepth > 0 || app.ScanRunning) return;
  if (!app.MaskApplied) m_fileMask->Drop();
  if (!m_fileMask->Holding() && tree->Entries().Empty()) return;
  // The rebuild pumps messages: Open, Run Wizard and Exit wait until the
  // lists are whole again.
  EngineCallScope scope(*this);
  app.ResultsPresent = 0;
  app.MaskApplied = TRUE;
  StartRebuild(kMaskProgressRange);
  FrameRebuildPace pace(*this, m_rebuildClock, true);
  m_fileMask->Apply(*tree, criteria, app.NtfsEngine != nullptr, TodayDay(), pace);
  EndRebuild(pace.Found());
}

void CMainFrame::RemoveFileMask() {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  if (tree == nullptr || EngineCallDepth > 0 || app.ScanRunning) return;
  if (!app.MaskApplied) {
    DropFileMask();
    return;
  }
  EngineCallScope scope(*this);
  // Stop stays off: the full list is back in the tree only whole.
  RebuildBusy = 1;
  StartRebuild(kUnmaskProgressRange);
  FrameRebuildPace pace(*this, m_rebuildClock, false);
  m_fileMask->Remove(*tree, pace);
  app.MaskApplied = FALSE;
  RebuildBusy = 0;
  EndRebuild(pace.Found());
}

void CMainFrame::DropFileMask() {
  m_fileMask->Drop();
  TheQvApp().MaskApplied = FALSE;
}

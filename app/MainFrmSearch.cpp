// The main frame's share of a running search: the start messages, the
// progress bar, the status panes, Stop and the end of the search.
#include "AppText.h"
#include "EngineCallScope.h"
#include "FatScanEngine.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsScanEngine.h"
#include "PhysicalDiskScan.h"
#include "ProgressBar.h"
#include "QuendalVarnoth.h"
#include "ScanSession.h"
#include "ScanTotals.h"
#include "resource.h"

namespace {

// The live engine's found-entry count; -1 when no engine is live.
long long LiveEngineFoundCount(const CQuendalVarnothApp &app) {
  if (app.FatEngine != nullptr) return app.FatEngine->Totals().m_foundEntries;
  if (app.NtfsEngine != nullptr) return app.NtfsEngine->FoundCount();
  if (app.Session != nullptr && app.Session->Disk() != nullptr) return app.Session->Disk()->FoundCount();
  return -1;
}

// True when the entries hold anything besides the tree's root.
bool TreeShowsEntries(EntryNodeList &entries) {
  const TreeEntryNode *root = entries.Root();
  if (root == nullptr) return false;
  return entries.Size() > 1 || root->m_record.m_parentId != kTreeRootParentId;
}

} // namespace

void CMainFrame::ShowReadingProgress(UINT range, LPCTSTR caption) {
  std::wstring reading = caption ? caption : LoadWideText(IDS_READING);
  m_scanProgressBar.reset();
  m_foundStepsPending = 0;
  m_foundPace.Expire();
  auto bar = std::make_unique<CProgressBar>(reading.c_str(), 100, (int)range, TRUE, 0);
  bar->SetBarColour(ProgressColour);
  m_scanProgressBar = std::move(bar);
}

void CMainFrame::CreateScanProgressBar(UINT range) {
  CQuendalVarnothApp &app = TheQvApp();
  CString reading;
  reading.LoadString(IDS_READING);
  lstrcpynW(app.ScanMessageBuffers[0], reading, 260);
  ShowReadingProgress(range, app.ScanMessageBuffers[0]);
}

int CMainFrame::StepScanProgress(UINT count) {
  if (TheQvApp().StopRequested) return 1;
  ShowFoundCount(count, 1);
  return TheQvApp().PumpMessages();
}

void CMainFrame::ShowFoundCount(UINT count, unsigned steps) {
  CQuendalVarnothApp &app = TheQvApp();
  app.ScanRunning = 1;
  CString found;
  found.LoadString(IDS_ENTRIES_FOUND);
  lstrcpynW(app.ScanMessageBuffers[0], found, 260);
  if (m_scanProgressBar) {
    CString caption;
    caption.Format(L"%u %s", count + 1, app.ScanMessageBuffers[0]);
    m_scanProgressBar->SetText(caption);
    m_scanProgressBar->StepBy(steps);
  }
}

void CMainFrame::UpdateFoundProgress(UINT progressMode, UINT foundCount, UINT secondaryCount) {
  if (progressMode > 1 || TheQvApp().StopRequested) return;
  ++m_foundStepsPending;
  if (!m_foundPace.Due()) return;
  ShowNotedTotals();
  // The engine's own paced pump draws them; a pump here as well would
  // double the time the search spends drawing.
  ShowFoundCount(progressMode == 0 ? foundCount : secondaryCount, m_foundStepsPending);
  m_foundStepsPending = 0;
}

void CMainFrame::NoteTotals(UINT folders, UINT files, ULONGLONG bytes) {
  m_notedTotals = NotedTotals{folders, files, bytes};
}

void CMainFrame::ShowNotedTotals() {
  if (!m_notedTotals) return;
  const NotedTotals totals = *m_notedTotals;
  UpdateTotalsPane(totals.folders, totals.files, totals.bytes);
}

void CMainFrame::SetPaceClock(PaceInterval::Clock clock) {
  m_foundPace = PaceInterval(std::move(clock), kFoundIntervalMs, true);
}

void CMainFrame::RefreshCommandStates() {
  if (m_hWnd == nullptr) return;
  SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}

void CMainFrame::UpdateTotalsPane(UINT folders, UINT files, ULONGLONG bytes) {
  // Whatever was noted before is older than this.
  m_notedTotals.reset();
  TotalsWords words = {LoadWideText(IDS_TOTAL), LoadWideText(IDS_BYTES), LoadWideText(IDS_IN),
                       LoadWideText(IDS_FILES), LoadWideText(IDS_FOLDERS),
                       LoadWideText(IDS_UNIT_GB), LoadWideText(IDS_UNIT_MB), LoadWideText(IDS_UNIT_KB)};
  if (CStatusBar *status = GetStatusBar())
    status->SetPaneText(1, FormatTotalsText(bytes, files, folders, words).c_str());
}

void CMainFrame::SetCurrentItemPane(LPCTSTR text, BOOL show) {
  if (CStatusBar *status = GetStatusBar()) status->SetPaneText(2, show && text ? text : L"");
}

void CMainFrame::DeleteScanProgressBar() {
  m_scanProgressBar.reset();
}

void CMainFrame::OnScanFinished(UINT foundCount) {
  CQuendalVarnothApp &app = TheQvApp();
  DeleteScanProgressBar();
  ShowNotedTotals();
  app.ScanRunning = 0;
  app.StopRequested = 1;
  app.ScanEnded = 1;
  // The results are what the tree shows: a search stopped before it found
  // anything shows the root alone, and that is nothing to offer to save.
  if (CLeftView *tree = GetLeftPane())
    app.ResultsPresent = foundCount != 0 && TreeShowsEntries(tree->Entries()) ? 1 : 0;
  else if (foundCount != 0)
    app.ResultsPresent = 1;
  RefreshCommandStates();
}

void CMainFrame::ResetBusyFlags() {
  ScanPhaseBusy = 0;
  RebuildBusy = 0;
}

void CMainFrame::OnStopProcess() {
  CQuendalVarnothApp &app = TheQvApp();
  CString question;
  question.LoadString(IDS_STOP_QUESTION);
  lstrcpynW(app.ScanMessageBuffers[1], question, 260);
  if (::MessageBoxW(m_hWnd, app.ScanMessageBuffers[1], kProductTitle,
                    MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) != IDYES)
    return;
  app.ScanEnded = 1;
  app.StopRequested = 1;
  app.ScanRunning = 0;
  long long found = LiveEngineFoundCount(app);
  if (found >= 0) app.ResultsPresent = found != 0;
  RefreshCommandStates();
}

void CMainFrame::OnRunWizard() {
  // The command table also guards the accelerator; a posted command could
  // still arrive while an engine call unwinds.
  if (!IsCommandEnabled(ID_FILE_RUN_WIZARD, CurrentCommandContext())) return;
  TheQvApp().RunWizard();
}

LRESULT CMainFrame::OnStartFastScan(WPARAM, LPARAM) {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.Session == nullptr || EngineCallDepth > 0) return 0;
  RunFastScan(*app.Session);
  return 0;
}

LRESULT CMainFrame::OnStartAdvancedScan(WPARAM, LPARAM) {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.Session == nullptr || EngineCallDepth > 0) return 0;
  RunAdvancedScan(*app.Session);
  return 0;
}

void CMainFrame::RunFastScan(ScanSession &session) {
  CQuendalVarnothApp &app = TheQvApp();
  EngineCallScope engineCall(*this);
  // Menus and tool bar show the running state before the first long step.
  // The idle pass refreshes them for the shown main window; a second pass
  // would ask every bar about every command again for nothing.
  app.OnIdle(0);
  if (app.GetMainWnd() != this || !IsWindowVisible()) RefreshCommandStates();
  if (FatScanEngine *fat = session.Fat()) {
    fat->RunFatFastScan();
  } else if (NtfsAdvancedEngine *ntfs = session.Ntfs()) {
    app.PumpMessages();
    ntfs->RunNtfsFastScan();
  } else {
    // No engine of this kind: end the search instead of leaving it running.
    OnScanFinished(0);
  }
}

void CMainFrame::RunAdvancedScan(ScanSession &session) {
  CQuendalVarnothApp &app = TheQvApp();
  EngineCallScope engineCall(*this);
  // The bars show the running state (Stop among it) before the first long step.
  RefreshCommandStates();
  if (PhysicalDiskScan *disk = session.Disk()) {
    app.PumpMessages();
    disk->RunPhysicalDiskScan();
  } else if (FatScanEngine *fat = session.Fat()) {
    fat->RunFatAdvancedScan();
    app.OnIdle(0);
  } else if (NtfsAdvancedEngine *ntfs = session.Ntfs()) {
    ntfs->RunNtfsAdvancedScan();
  } else {
    OnScanFinished(0);
  }
}

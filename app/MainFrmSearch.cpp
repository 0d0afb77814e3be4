// The main frame's share of a running search: the progress bar, the status
// panes, Stop and the end of the search.
#include "FatScanEngine.h"
#include "MainFrm.h"
#include "NtfsScanEngine.h"
#include "ProgressBar.h"
#include "QuendalVarnoth.h"
#include "ScanTotals.h"
#include "resource.h"

namespace {

std::wstring LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text.GetString();
}

// The live engine's found-entry count; -1 when no engine is live.
long long LiveEngineFoundCount(const CQuendalVarnothApp &app) {
  if (app.FatEngine != nullptr) return app.FatEngine->Totals().m_foundEntries;
  if (app.NtfsEngine != nullptr) return app.NtfsEngine->FoundCount();
  return -1;
}

} // namespace

void CMainFrame::ShowReadingProgress(UINT range, LPCTSTR caption) {
  std::wstring reading = caption ? caption : LoadText(IDS_READING);
  m_scanProgressBar.reset();
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
  CQuendalVarnothApp &app = TheQvApp();
  if (app.StopRequested) return 1;
  app.ScanRunning = 1;
  CString found;
  found.LoadString(IDS_ENTRIES_FOUND);
  lstrcpynW(app.ScanMessageBuffers[0], found, 260);
  if (m_scanProgressBar) {
    CString caption;
    caption.Format(L"%u %s", count + 1, app.ScanMessageBuffers[0]);
    m_scanProgressBar->SetText(caption);
    m_scanProgressBar->StepIt();
  }
  return app.PumpMessages();
}

void CMainFrame::UpdateFoundProgress(UINT progressMode, UINT foundCount, UINT secondaryCount) {
  if (progressMode == 0) StepScanProgress(foundCount);
  if (progressMode == 1) StepScanProgress(secondaryCount);
}

void CMainFrame::UpdateTotalsPane(UINT folders, UINT files, ULONGLONG bytes) {
  TotalsWords words = {LoadText(IDS_TOTAL), LoadText(IDS_BYTES), LoadText(IDS_IN), LoadText(IDS_FILES),
                       LoadText(IDS_FOLDERS)};
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
  app.ScanRunning = 0;
  app.StopRequested = 1;
  app.ScanEnded = 1;
  if (foundCount != 0) app.ResultsPresent = 1;
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
}

#include "AppEngineServices.h"

#include "AppText.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "ProgressBar.h"
#include "QuendalVarnoth.h"
#include "ShownText.h"
#include "SimpleListView.h"

bool AppEngineServices::PumpMessages() {
  return m_app.PumpMessages() != 0;
}

bool AppEngineServices::StopRequested() const {
  return m_app.StopRequested != 0;
}

void AppEngineServices::AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                                    const std::optional<std::u16string> &time, LogStatus status) {
  if (m_app.LogView == nullptr) return;
  m_app.LogView->AddLogEntry(activity ? Wide(*activity) : nullptr, Wide(text), time ? Wide(*time) : nullptr,
                             static_cast<int>(status));
}

std::u16string AppEngineServices::CurrentTimeText() {
  SYSTEMTIME local = {};
  ::GetLocalTime(&local);
  return LogTimeText(local, ActiveShownWords());
}

CLeftView *AppEngineServices::TreePane() {
  // Asking the splitter for its pane lists the frame's child windows, a
  // round trip to the window server under Wine that costs more than the add
  // itself. The pane's handle is kept and looked up in the process's own
  // window map, which forgets it when the pane goes.
  if (CWnd *known = CWnd::FromHandlePermanent(m_treeWindow);
      known && known->IsKindOf(RUNTIME_CLASS(CLeftView)))
    return static_cast<CLeftView *>(known);
  CLeftView *tree = m_frame.GetLeftPane();
  m_treeWindow = tree != nullptr ? tree->m_hWnd : nullptr;
  return tree;
}

void AppEngineServices::CreateTreeRoot() {
  if (CLeftView *tree = TreePane()) tree->CreateRootItem();
}

void AppEngineServices::AddTreeEntry(const EntryRecord &entry, const std::u16string &name) {
  if (CLeftView *tree = TreePane()) tree->AddEntryToTree(entry, name);
}

void AppEngineServices::AddTreeEntryOwned(const EntryRecord &entry, std::u16string &&name) {
  if (CLeftView *tree = TreePane()) tree->AddEntryToTree(entry, std::move(name));
}

void AppEngineServices::ResetTreeToRoot() {
  if (CLeftView *tree = TreePane()) tree->ResetTreeToRoot();
}

void AppEngineServices::SetEntryGrade(uint32_t ownId, RecoveryGrade grade) {
  if (CLeftView *tree = TreePane()) tree->SetEntryGrade(ownId, grade);
}

void AppEngineServices::CreateScanProgressBar(uint32_t range) {
  m_frame.CreateScanProgressBar(range);
}

void AppEngineServices::ShowReadingProgress(uint32_t range, const std::optional<std::u16string> &text) {
  m_frame.ShowReadingProgress(range, text ? Wide(*text) : nullptr);
}

void AppEngineServices::StepProgress() {
  if (CProgressBar *bar = m_frame.GetScanProgressBar()) bar->StepIt();
}

void AppEngineServices::StepProgressBy(uint32_t steps) {
  if (CProgressBar *bar = m_frame.GetScanProgressBar()) bar->StepBy(steps);
}

void AppEngineServices::DeleteProgressBar() {
  m_frame.DeleteScanProgressBar();
}

void AppEngineServices::UpdateTotalsPane(uint32_t folders, uint32_t files, uint64_t bytes) {
  // Shown with the found count that follows each add, at its pace.
  m_frame.NoteTotals(folders, files, bytes);
}

void AppEngineServices::UpdateFoundProgress(uint32_t progressMode, uint32_t foundCount,
                                            uint32_t secondaryCount) {
  m_frame.UpdateFoundProgress(progressMode, foundCount, secondaryCount);
}

void AppEngineServices::ShowCurrentItemText(uint32_t itemMode, const std::u16string &text) {
  if (itemMode == 0) m_frame.SetCurrentItemPane(Wide(text), TRUE);
  if (itemMode == 1) m_frame.SetCurrentItemPane(nullptr, FALSE);
}

void AppEngineServices::OnScanFinished(uint32_t foundCount) {
  m_frame.OnScanFinished(foundCount);
}

void AppEngineServices::ResetBusyFlags() {
  m_frame.ResetBusyFlags();
}

void AppEngineServices::SetScanPhaseBusy(bool busy) {
  m_frame.ScanPhaseBusy = busy ? 1 : 0;
  m_frame.RefreshCommandStates();
}

void AppEngineServices::DoWaitCursor(int code) {
  m_app.DoWaitCursor(code);
}

std::u16string AppEngineServices::LoadText(uint32_t id) {
  return LoadU16Text(id);
}

void AppEngineServices::ShowErrorBox(const std::u16string &text) {
  ++m_errorBoxes;
  // The box's own message loop updates the bars: let them show it first.
  m_app.OnIdle(0);
  ::MessageBoxW(m_frame.m_hWnd, Wide(text), kProductTitle, MB_OK | MB_ICONSTOP | MB_TOPMOST);
  --m_errorBoxes;
}

void AppEngineServices::SetScanInfoSaved(bool saved) {
  m_app.ScanInfoSaved = saved ? 1 : 0;
}

void AppEngineServices::SetSelectionPresent(bool present) {
  m_app.AnyChecked = present ? 1 : 0;
}

void AppEngineServices::SetResultsPresent(bool present) {
  m_app.ResultsPresent = present ? 1 : 0;
}

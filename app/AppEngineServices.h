// The engines' way into the application: the message pump and stop flag,
// the log, the status-bar progress and panes, texts and flags, carried out
// on the main frame and its views.
#pragma once

#include <windows.h>

#include "EngineServices.h"

class CLeftView;
class CMainFrame;
class CQuendalVarnothApp;

class AppEngineServices : public EngineServices {
public:
  AppEngineServices(CQuendalVarnothApp &app, CMainFrame &frame) : m_app(app), m_frame(frame) {}

  bool PumpMessages() override;
  bool StopRequested() const override;
  void AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                   const std::optional<std::u16string> &time, LogStatus status) override;
  std::u16string CurrentTimeText() override;

  void CreateScanProgressBar(uint32_t range) override;
  void ShowReadingProgress(uint32_t range, const std::optional<std::u16string> &text) override;
  void StepProgress() override;
  void StepProgressBy(uint32_t steps) override;
  void DeleteProgressBar() override;

  // The folder tree's side: the tree view of the frame's left pane.
  void CreateTreeRoot() override;
  void AddTreeEntry(const EntryRecord &entry, const std::u16string &name) override;
  void AddTreeEntryOwned(const EntryRecord &entry, std::u16string &&name) override;
  void ResetTreeToRoot() override;
  void SetEntryGrade(uint32_t ownId, RecoveryGrade grade) override;

  void UpdateTotalsPane(uint32_t folders, uint32_t files, uint64_t bytes) override;
  void UpdateFoundProgress(uint32_t progressMode, uint32_t foundCount, uint32_t secondaryCount) override;
  void ShowCurrentItemText(uint32_t itemMode, const std::u16string &text) override;

  void OnScanFinished(uint32_t foundCount) override;
  void ResetBusyFlags() override;
  void SetScanPhaseBusy(bool busy) override;
  void DoWaitCursor(int code) override;

  std::u16string LoadText(uint32_t id) override;
  void ShowErrorBox(const std::u16string &text) override;
  // An engine's error box is up: the work it reports on has failed and can
  // no longer be stopped, whatever the running flag still says.
  bool ErrorBoxOpen() const { return m_errorBoxes > 0; }

  void SetScanInfoSaved(bool saved) override;
  void SetSelectionPresent(bool present) override;
  void SetResultsPresent(bool present) override;

  const std::vector<HeaderRecord> &SelectedHeaders() const override { return m_selectedHeaders; }
  std::vector<HeaderRecord> &ChosenHeaders() { return m_selectedHeaders; }

private:
  CLeftView *TreePane();

  CQuendalVarnothApp &m_app;
  CMainFrame &m_frame;
  HWND m_treeWindow = nullptr;
  std::vector<HeaderRecord> m_selectedHeaders;
  int m_errorBoxes = 0;
};

// An EngineServices that records every call, for engine tests: log rows, tree
// entries with their names, progress, totals and flags. It can raise the stop
// flag after a chosen number of pumps and answers texts from a small table.
#pragma once

#include "EngineServices.h"

#include <map>
#include <string>
#include <vector>

class RecordingServices : public EngineServices {
public:
  struct LogRow {
    std::optional<std::u16string> m_activity;
    std::u16string m_text;
    std::optional<std::u16string> m_time;
    LogStatus m_status;
  };
  struct TreeEntry {
    EntryRecord m_entry;
    std::u16string m_name;
  };

  RecordingServices();

  bool PumpMessages() override;
  bool StopRequested() const override { return m_stopRequested; }
  void AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                   const std::optional<std::u16string> &time, LogStatus status) override;
  std::u16string CurrentTimeText() override { return u"12:34:56"; }
  void CreateScanProgressBar(uint32_t range) override;
  void ShowReadingProgress(uint32_t range, const std::optional<std::u16string> &text) override;
  void StepProgress() override { ++m_progressSteps; }
  void DeleteProgressBar() override { m_progressBarPresent = false; }
  void CreateTreeRoot() override { ++m_treeRootCount; }
  void AddTreeEntry(const EntryRecord &entry, const std::u16string &name) override;
  void ResetTreeToRoot() override { ++m_treeResetCount; }
  // Changes the grade of the recorded entry with that id.
  void SetEntryGrade(uint32_t ownId, RecoveryGrade grade) override;
  void UpdateTotalsPane(uint32_t folders, uint32_t files, uint64_t bytes) override;
  void UpdateFoundProgress(uint32_t progressMode, uint32_t foundCount, uint32_t secondaryCount) override;
  void ShowCurrentItemText(uint32_t itemMode, const std::u16string &text) override;
  void OnScanFinished(uint32_t foundCount) override;
  void ResetBusyFlags() override {
    ++m_busyResetCount;
    m_scanPhaseBusy = false;
  }
  void SetScanPhaseBusy(bool busy) override { m_scanPhaseBusy = busy; }
  void DoWaitCursor(int code) override { m_waitCursorCalls.push_back(code); }
  std::u16string LoadText(uint32_t id) override;
  void ShowErrorBox(const std::u16string &text) override { m_errorBoxes.push_back(text); }
  void SetScanInfoSaved(bool saved) override { m_scanInfoSaved = saved; }
  void SetSelectionPresent(bool present) override { m_selectionPresent = present; }
  void SetResultsPresent(bool present) override { m_resultsPresent = present; }
  const std::vector<HeaderRecord> &SelectedHeaders() const override { return m_selectedHeaders; }

  // The stop flag rises once PumpMessages has been called this many times
  // (0: never). A search starts with the flag down.
  void StopAfterPumps(size_t pumps) { m_stopAfterPumps = pumps; }
  // The same counted from the start of the phase whose start row has the
  // activity (or, for a row without one, the text): the stop a user gives
  // in that phase.
  void StopAfterPumpsInPhase(const std::u16string &activity, size_t pumps) {
    m_stopPhase = activity;
    m_phasePumpsLeft = pumps;
    m_phaseStarted = false;
  }
  // True once the stop of StopAfterPumpsInPhase was given, in its phase.
  bool PhaseStopGiven() const { return m_phaseStarted && !m_stopPhase.empty() && m_phasePumpsLeft == 0; }
  void SetStopRequested(bool stop) { m_stopRequested = stop; }
  void SetText(uint32_t id, const std::u16string &text) { m_texts[id] = text; }

  // True when some log row's text contains the given text.
  bool LogContains(const std::u16string &text) const;
  // The log as UTF-8 lines "status|activity|text", for golden comparisons and failure messages.
  std::string LogAsText() const;

  std::vector<LogRow> m_log;
  std::vector<size_t> m_logPumps; // the pumps so far when each log row was added
  std::vector<TreeEntry> m_treeEntries;
  std::vector<size_t> m_treeLogSizes; // the log's length when each tree entry was added
  std::vector<uint32_t> m_progressRanges;
  std::vector<std::u16string> m_progressCaptions;
  std::vector<std::u16string> m_currentItemTexts;
  std::vector<uint32_t> m_foundProgress;
  std::vector<std::u16string> m_errorBoxes;
  std::vector<int> m_waitCursorCalls;
  std::vector<HeaderRecord> m_selectedHeaders;
  size_t m_pumpCount = 0;
  size_t m_progressSteps = 0;
  size_t m_treeRootCount = 0;
  size_t m_treeResetCount = 0;
  size_t m_busyResetCount = 0;
  size_t m_finishedCount = 0;
  uint32_t m_totalsFolders = 0;
  uint32_t m_totalsFiles = 0;
  uint64_t m_totalsBytes = 0;
  uint32_t m_finishedFoundCount = 0;
  bool m_progressBarPresent = false;
  bool m_scanPhaseBusy = false;
  bool m_scanInfoSaved = false;
  bool m_selectionPresent = false;
  bool m_resultsPresent = false;

private:
  std::map<uint32_t, std::u16string> m_texts;
  size_t m_stopAfterPumps = 0;
  std::u16string m_stopPhase;
  size_t m_phasePumpsLeft = 0;
  bool m_phaseStarted = false;
  bool m_stopRequested = false;
};

// UTF-16 to UTF-8, for test messages.
std::string ToUtf8(const std::u16string &text);

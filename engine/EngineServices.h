// Everything the disk engines need of the application: the message pump and
// stop flag, the log, the status-bar progress, the folder tree and list, the
// status panes, texts by id and the flags the engines set. The application
// implements it over its windows; tests use RecordingServices.
#pragma once

#include "EntryRecord.h"
#include "HeaderRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class LogStatus : int { Completed = 0, Started = 1, Error = 2 };

class EngineServices {
public:
  virtual ~EngineServices() = default;

  // Dispatches pending messages of the interface thread; false when the
  // application is quitting. Engines call it before each unit of work and
  // then test StopRequested().
  virtual bool PumpMessages() = 0;
  // The application's stop flag: true asks the running loop to end.
  virtual bool StopRequested() const = 0;

  // One log row: activity text (or none), message, time text (or none), status.
  virtual void AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                           const std::optional<std::u16string> &time, LogStatus status) = 0;
  // The local clock as log rows show it after "Started on" and the like (the
  // application gives the C library's ctime form without its line end).
  virtual std::u16string CurrentTimeText() = 0;

  // Status-bar progress: a new bar with the range 0..range and the caption
  // "Reading.." (CreateScanProgressBar) or the given text (none: "Reading..").
  virtual void CreateScanProgressBar(uint32_t range) = 0;
  virtual void ShowReadingProgress(uint32_t range, const std::optional<std::u16string> &text) = 0;
  // Advances the current bar by one; nothing when there is none.
  virtual void StepProgress() = 0;
  // Advances the current bar by that many steps, as that many StepProgress()
  // calls would; a window can do it in one move.
  virtual void StepProgressBy(uint32_t steps) {
    for (uint32_t i = 0; i < steps; ++i) StepProgress();
  }
  // Removes the current bar.
  virtual void DeleteProgressBar() = 0;

  // Folder tree and file list.
  virtual void CreateTreeRoot() = 0;
  // Shows the entry under the folder whose own id equals its parent id
  // (folders in the tree, files in their folder's list); the name travels beside it.
  virtual void AddTreeEntry(const EntryRecord &entry, const std::u16string &name) = 0;
  // The same for a name the engine no longer needs: the application may keep
  // it without a copy (a search hands over hundreds of thousands).
  virtual void AddTreeEntryOwned(const EntryRecord &entry, std::u16string &&name) {
    AddTreeEntry(entry, static_cast<const std::u16string &>(name));
  }
  virtual void ResetTreeToRoot() = 0;
  // Gives a file already shown (by its own id) another recovery grade: the
  // FAT engine lowers it once the search has ended, when the reading of its
  // clusters turns out to be a guess.
  virtual void SetEntryGrade(uint32_t ownId, RecoveryGrade grade) {
    (void)ownId;
    (void)grade;
  }

  // Status pane 1: totals of what was found.
  virtual void UpdateTotalsPane(uint32_t folders, uint32_t files, uint64_t bytes) = 0;
  // By the engine's progress mode: 0 shows progress with foundCount, 1 with
  // secondaryCount, anything else nothing. The engine clears its mode itself.
  virtual void UpdateFoundProgress(uint32_t progressMode, uint32_t foundCount, uint32_t secondaryCount) = 0;
  // By the engine's current-item mode: 0 shows text in status pane 2, 1
  // empties that pane, anything else nothing. The engine clears its mode itself.
  virtual void ShowCurrentItemText(uint32_t itemMode, const std::u16string &text) = 0;

  // End of a search or load: removes the progress bar, clears the running
  // flag, raises the stop flag, and notes results when foundCount is not 0.
  virtual void OnScanFinished(uint32_t foundCount) = 0;
  // Clears the frame's busy flags (phase busy and rebuild busy).
  virtual void ResetBusyFlags() = 0;
  // While true, Stop and Run Wizard are unavailable (FAT load, MFT walk).
  virtual void SetScanPhaseBusy(bool busy) = 0;
  // The framework's wait-cursor operation (0 restores, 1 shows, -1 ends).
  virtual void DoWaitCursor(int code) = 0;

  // A string-table text of the active language by id.
  virtual std::u16string LoadText(uint32_t id) = 0;
  // A message box with the error text, captioned with the product name.
  virtual void ShowErrorBox(const std::u16string &text) = 0;

  // Application flags the scan-information writers and readers set.
  virtual void SetScanInfoSaved(bool saved) = 0;
  virtual void SetSelectionPresent(bool present) = 0;
  virtual void SetResultsPresent(bool present) = 0;

  // The signatures chosen for the next search (empty: none chosen).
  virtual const std::vector<HeaderRecord> &SelectedHeaders() const = 0;
};

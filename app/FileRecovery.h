// Recover All and Recover Selected: every chosen file of the tree's entry
// list is read through the live engine and written under its folder path in
// the destination, one log line per file, with the progress bar, the stop
// flag and the questions on name clashes and lack of room.
#pragma once

#include "EngineServices.h"
#include "RecoveryClashAnswers.h"
#include "TreeEntryNode.h"
#include "resource.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>

// The texts a recovery run shows, by the ids the string table declares.
namespace RecoveryText {
constexpr uint32_t kSkipped = IDS_SKIPPED;
constexpr uint32_t kProcessCompleted = IDS_PROCESS_COMPLETED;
constexpr uint32_t kProcessAborted = IDS_PROCESS_ABORTED;
constexpr uint32_t kSavingFiles = IDS_SAVING_FILES;
constexpr uint32_t kRecoveringFile = IDS_RECOVERING_FILE;
constexpr uint32_t kCannotCreateFile = IDS_CANNOT_CREATE_FILE;
constexpr uint32_t kReadIncomplete = IDS_FILE_READ_INCOMPLETE;
constexpr uint32_t kSizeBeyondClusters = IDS_FILE_SIZE_BEYOND_CLUSTERS;
} // namespace RecoveryText

// What a reader made of a found file: read whole or not (a plain true or
// false), or cut to the bytes its clusters hold because its recorded size
// was damaged past them; such a file is kept, with a note in the log.
struct RecoveryRead {
  RecoveryRead(bool whole) : m_whole(whole) {} // NOLINT: a reader's plain answer
  static RecoveryRead CutToClusters() {
    RecoveryRead read(false);
    read.m_cutToClusters = true;
    return read;
  }
  bool m_whole;
  bool m_cutToClusters = false;
};

// Streams a found file's bytes to the sink; false when it could not be read
// completely (or the sink refused more).
using RecoveryFileSink = std::function<bool(const uint8_t *data, size_t size)>;
using RecoveryFileReader =
    std::function<RecoveryRead(const EntryRecord &entry, const RecoveryFileSink &sink)>;

// The questions a run asks; the frame answers them with its dialogs.
class RecoveryPrompts {
public:
  virtual ~RecoveryPrompts() = default;
  // The target exists. newName comes in with a free name proposed for the
  // same folder and goes out with the name to use when the answer is Rename.
  virtual ClashButton AskClash(const std::u16string &existingPath, std::u16string &newName) = 0;
  // Not enough room for the file: true skips it, false cancels the run.
  virtual bool SkipWhenNoRoom(const std::u16string &path, uint64_t size) = 0;
};

enum class RecoveryScope { All, Selected };
// How an entry's date words are to be read: FAT packed stamps, NTFS file
// times, or not at all (signature hits carry none).
enum class RecoveryDates { None, FatStamps, NtfsTimes };

struct RecoveryOptions {
  RecoveryScope m_scope = RecoveryScope::Selected;
  RecoveryDates m_dates = RecoveryDates::None;
  std::u16string m_destination;
  // Free bytes where the files go; nothing when the system cannot say.
  // Unset: asked of the system.
  std::function<std::optional<uint64_t>(const std::u16string &folder)> m_freeBytes;
  // The bytes the reader writes for an entry, which the room is checked
  // against. Unset: the entry's size.
  std::function<uint64_t(const EntryRecord &entry)> m_bytesToWrite;
  // Whether a folder already there that the run enters may be written in:
  // one inside the destination can be a mount point of the searched
  // volume. Unset: every one may.
  std::function<bool(const std::u16string &folder)> m_folderAllowed;
};

struct RecoveryResult {
  uint32_t m_recovered = 0;
  uint32_t m_skipped = 0;
  uint32_t m_failed = 0;
  bool m_cancelled = false; // "Cancel saving" in the lack-of-room question
  bool m_stopped = false;   // Stop, or the program is quitting
  bool m_refused = false;   // a folder entered lies on the searched drive
};

// The three file times a recovered file gets; a zero time stays as the
// system set it.
struct RecoveredTimes {
  FILETIME m_creation = {};
  FILETIME m_access = {};
  FILETIME m_write = {};
};
// The entry's known times in UTC; stamps out of range count as unknown.
RecoveredTimes RecoveredTimesOf(const EntryRecord &record, RecoveryDates dates);

class FileRecovery {
public:
  FileRecovery(EngineServices &services, EntryNodeList &entries, RecoveryFileReader reader,
               RecoveryClashAnswers &answers, RecoveryPrompts &prompts);

  RecoveryResult Run(const RecoveryOptions &options);
  // The number of files a run of this scope writes.
  uint32_t CountFiles(RecoveryScope scope) const;

private:
  enum class Outcome { Recovered, Skipped, Failed, Cancelled, Stopped, Refused };
  enum class FolderState { Ready, Failed, Refused };
  enum class StreamResult { Complete, CutToClusters, ReadShort, WriteFailed, Stopped };

  static bool IsChosen(const TreeEntryNode &node, RecoveryScope scope);
  Outcome RecoverFile(const TreeEntryNode &node);
  // Makes the folder and those above it below the destination, or enters
  // them where they are.
  FolderState EnsureFolder(const std::u16string &relative);
  // Settles a clash on target: false to skip the file.
  bool SettleClash(std::u16string &target, bool &replace);
  Outcome WriteTarget(const TreeEntryNode &node, const std::u16string &target, bool replace);
  StreamResult StreamInto(HANDLE file, const EntryRecord &record);
  void Log(const std::u16string &target, const std::u16string &note, LogStatus status);
  std::u16string Text(uint32_t id) { return m_services.LoadText(id); }

  EngineServices &m_services;
  EntryNodeList &m_entries;
  RecoveryFileReader m_reader;
  RecoveryClashAnswers &m_answers;
  RecoveryPrompts &m_prompts;
  RecoveryOptions m_options;
  std::unordered_set<std::u16string> m_madeFolders;
  uint32_t m_temporaryCounter = 0;
};

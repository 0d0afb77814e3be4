#include "FileRecovery.h"

#include "AppText.h"
#include "RecoveryPath.h"

#include <algorithm>
#include <vector>

namespace {

// The sink pumps messages every this many bytes, so Stop answers inside a
// large file.
constexpr uint64_t kPumpEveryBytes = 4u << 20;
// File times past this (about the year 2286) are damaged words, not dates.
constexpr uint64_t kLatestFileTime = 0x0300000000000000ULL;

bool Exists(const std::u16string &path) {
  return GetFileAttributesW(Wide(LongPathForm(path))) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::u16string &path) {
  DWORD attributes = GetFileAttributesW(Wide(LongPathForm(path)));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::u16string FolderOf(const std::u16string &path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

std::optional<uint64_t> SystemFreeBytes(const std::u16string &folder) {
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExW(Wide(folder), &available, nullptr, nullptr)) return std::nullopt;
  return available.QuadPart;
}

FILETIME FromFatStamp(uint32_t date, uint32_t time) {
  FILETIME utc = {};
  const uint32_t month = (date >> 5) & 0x0F, day = date & 0x1F;
  if (date == 0 || month < 1 || month > 12 || day < 1) return utc;
  // A damaged time keeps the day rather than losing the whole stamp.
  const uint32_t hours = time >> 11, minutes = (time >> 5) & 0x3F, seconds = (time & 0x1F) * 2;
  if (hours > 23 || minutes > 59 || seconds > 59) time = 0;
  FILETIME local;
  if (!DosDateTimeToFileTime(static_cast<WORD>(date), static_cast<WORD>(time), &local)) return utc;
  if (!LocalFileTimeToFileTime(&local, &utc)) return FILETIME{};
  return utc;
}

FILETIME FromNtfsWords(uint32_t low, uint32_t high) {
  const uint64_t value = (static_cast<uint64_t>(high) << 32) | low;
  if (value == 0 || value > kLatestFileTime) return FILETIME{};
  return FILETIME{low, high};
}

bool IsSet(const FILETIME &time) {
  return time.dwLowDateTime != 0 || time.dwHighDateTime != 0;
}

} // namespace

RecoveredTimes RecoveredTimesOf(const EntryRecord &record, RecoveryDates dates) {
  RecoveredTimes times;
  const uint32_t *w = record.m_dateWords;
  if (dates == RecoveryDates::FatStamps) {
    // Words: B access date, C/D write time and date, E/F creation time and date.
    times.m_write = FromFatStamp(w[3], w[2]);
    times.m_creation = FromFatStamp(w[5], w[4]);
    times.m_access = FromFatStamp(w[1], 0);
  } else if (dates == RecoveryDates::NtfsTimes) {
    // Words: A/B record change (no file time of its own), C/D modification, E/F creation.
    times.m_write = FromNtfsWords(w[2], w[3]);
    times.m_creation = FromNtfsWords(w[4], w[5]);
  }
  return times;
}

FileRecovery::FileRecovery(EngineServices &services, EntryNodeList &entries, RecoveryFileReader reader,
                           RecoveryClashAnswers &answers, RecoveryPrompts &prompts)
    : m_services(services), m_entries(entries), m_reader(std::move(reader)), m_answers(answers),
      m_prompts(prompts) {}

bool FileRecovery::IsChosen(const TreeEntryNode &node, RecoveryScope scope) {
  // A partly checked folder is made only for the checked entries below it.
  return scope == RecoveryScope::All || node.Check() == 1;
}

uint32_t FileRecovery::CountFiles(RecoveryScope scope) const {
  uint32_t count = 0;
  bool first = true;
  for (const TreeEntryNode &node : m_entries) {
    if (!first && !node.IsFolder() && IsChosen(node, scope)) ++count;
    first = false;
  }
  return count;
}

RecoveryResult FileRecovery::Run(const RecoveryOptions &options) {
  m_options = options;
  if (!m_options.m_freeBytes) m_options.m_freeBytes = SystemFreeBytes;
  m_madeFolders.clear();
  m_answers.Reset();
  RecoveryResult result;
  m_services.ShowReadingProgress(CountFiles(options.m_scope), Text(RecoveryText::kSavingFiles));
  m_services.AddLogEntry(Text(RecoveryText::kSavingFiles), options.m_destination,
                         m_services.CurrentTimeText(), LogStatus::Started);
  RecoveryPathBuilder paths(m_entries);
  const TreeEntryNode *root = m_entries.Root();
  for (TreeEntryNode &node : m_entries) {
    if (&node == root || !IsChosen(node, options.m_scope)) continue;
    if (node.IsFolder()) {
      // Chosen folders are made even when nothing inside them is recovered.
      if (EnsureFolder(paths.RelativePath(node)) != FolderState::Refused) continue;
      result.m_refused = true;
      break;
    }
    m_services.PumpMessages();
    if (m_services.StopRequested()) {
      result.m_stopped = true;
      break;
    }
    m_services.StepProgress();
    const Outcome outcome = RecoverFile(node);
    if (outcome == Outcome::Recovered) ++result.m_recovered;
    if (outcome == Outcome::Skipped) ++result.m_skipped;
    if (outcome == Outcome::Failed) ++result.m_failed;
    if (outcome == Outcome::Cancelled) result.m_cancelled = true;
    if (outcome == Outcome::Stopped) result.m_stopped = true;
    if (outcome == Outcome::Refused) result.m_refused = true;
    if (result.m_cancelled || result.m_stopped || result.m_refused) break;
  }
  m_services.DeleteProgressBar();
  const bool whole = !result.m_cancelled && !result.m_stopped && !result.m_refused;
  m_services.AddLogEntry(Text(RecoveryText::kSavingFiles),
                         Text(whole ? RecoveryText::kProcessCompleted : RecoveryText::kProcessAborted),
                         m_services.CurrentTimeText(), whole ? LogStatus::Completed : LogStatus::Error);
  return result;
}

FileRecovery::FolderState FileRecovery::EnsureFolder(const std::u16string &relative) {
  std::u16string path = m_options.m_destination;
  size_t start = 0;
  while (start <= relative.size() && !relative.empty()) {
    size_t end = relative.find(u'\\', start);
    if (end == std::u16string::npos) end = relative.size();
    path = JoinPath(path, relative.substr(start, end - start));
    if (m_madeFolders.count(path) == 0) {
      // A folder made here is a plain one; one that was there may be
      // another volume mounted inside the destination.
      if (!CreateDirectoryW(Wide(LongPathForm(path)), nullptr)) {
        if (!IsFolder(path)) return FolderState::Failed;
        if (m_options.m_folderAllowed && !m_options.m_folderAllowed(path)) return FolderState::Refused;
      }
      m_madeFolders.insert(path);
    }
    start = end + 1;
  }
  return FolderState::Ready;
}

FileRecovery::Outcome FileRecovery::RecoverFile(const TreeEntryNode &node) {
  RecoveryPathBuilder paths(m_entries);
  const std::u16string holding = paths.HoldingFolder(node);
  std::u16string target = JoinPath(JoinPath(m_options.m_destination, holding), SafeFileName(node.m_name));
  const FolderState folder = EnsureFolder(holding);
  if (folder == FolderState::Refused) return Outcome::Refused;
  if (folder == FolderState::Failed) {
    Log(target, Text(RecoveryText::kCannotCreateFile), LogStatus::Error);
    return Outcome::Failed;
  }
  bool replace = false;
  if (!SettleClash(target, replace)) {
    Log(target, Text(RecoveryText::kSkipped), LogStatus::Completed);
    return Outcome::Skipped;
  }
  std::optional<uint64_t> room = m_options.m_freeBytes(m_options.m_destination);
  const uint64_t needed =
      m_options.m_bytesToWrite ? m_options.m_bytesToWrite(node.m_record) : node.m_record.m_size;
  if (room && *room < needed) {
    if (!m_prompts.SkipWhenNoRoom(target, needed)) return Outcome::Cancelled;
    Log(target, Text(RecoveryText::kSkipped), LogStatus::Completed);
    return Outcome::Skipped;
  }
  return WriteTarget(node, target, replace);
}

bool FileRecovery::SettleClash(std::u16string &target, bool &replace) {
  replace = false;
  while (Exists(target)) {
    ClashAction action = m_answers.Standing();
    std::u16string typed;
    if (action == ClashAction::Ask) {
      const std::u16string proposed = ProposeFreeName(target, Exists);
      typed = proposed.substr(proposed.find_last_of(u'\\') + 1);
      m_answers.Choose(m_prompts.AskClash(target, typed));
      action = m_answers.LastAnswer();
      // Rename All means the proposed names from here on.
      if (m_answers.IsSet(ClashButton::RenameAll)) typed = proposed.substr(proposed.find_last_of(u'\\') + 1);
    } else if (action == ClashAction::Rename) {
      const std::u16string proposed = ProposeFreeName(target, Exists);
      typed = proposed.substr(proposed.find_last_of(u'\\') + 1);
    }
    if (action == ClashAction::Skip || action == ClashAction::Ask) return false;
    if (action == ClashAction::OverWrite) {
      // A folder of that name is never replaced by a file.
      if (IsFolder(target)) return false;
      replace = true;
      return true;
    }
    if (typed.empty()) return false;
    // A typed name that is taken too is asked about again.
    target = JoinPath(FolderOf(target), SafeFileName(typed));
  }
  return true;
}

FileRecovery::Outcome FileRecovery::WriteTarget(const TreeEntryNode &node, const std::u16string &target,
                                                bool replace) {
  // The bytes go to a temporary name first, so a failure never leaves a
  // half file under the real name nor destroys the file being replaced.
  const std::u16string folder = FolderOf(target);
  HANDLE file = INVALID_HANDLE_VALUE;
  std::u16string temporary;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    std::string number = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++m_temporaryCounter);
    temporary = JoinPath(folder, u"~qvrecover" + std::u16string(number.begin(), number.end()) + u".tmp");
    file = CreateFileW(Wide(LongPathForm(temporary)), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    Log(target, Text(RecoveryText::kCannotCreateFile), LogStatus::Error);
    return Outcome::Failed;
  }
  const StreamResult streamed = StreamInto(file, node.m_record);
  // A file cut to what its clusters hold is all there is of it: kept, and
  // the log says the rest of its recorded size was not there to read.
  const bool cut = streamed == StreamResult::CutToClusters;
  const bool complete = streamed == StreamResult::Complete || cut;
  if (complete) {
    RecoveredTimes times = RecoveredTimesOf(node.m_record, m_options.m_dates);
    SetFileTime(file, IsSet(times.m_creation) ? &times.m_creation : nullptr,
                IsSet(times.m_access) ? &times.m_access : nullptr,
                IsSet(times.m_write) ? &times.m_write : nullptr);
  }
  CloseHandle(file);
  const DWORD flags = replace ? MOVEFILE_REPLACE_EXISTING : 0;
  if (complete && MoveFileExW(Wide(LongPathForm(temporary)), Wide(LongPathForm(target)), flags)) {
    Log(target, cut ? Text(RecoveryText::kSizeBeyondClusters) : std::u16string(), LogStatus::Completed);
    return Outcome::Recovered;
  }
  DeleteFileW(Wide(LongPathForm(temporary)));
  if (streamed == StreamResult::Stopped) return Outcome::Stopped;
  // A file that could not be read completely is never kept: a partial file
  // under the real name would pass for a recovered one.
  const bool readShort = streamed == StreamResult::ReadShort;
  Log(target, Text(readShort ? RecoveryText::kReadIncomplete : RecoveryText::kCannotCreateFile),
      LogStatus::Error);
  return Outcome::Failed;
}

FileRecovery::StreamResult FileRecovery::StreamInto(HANDLE file, const EntryRecord &record) {
  bool written = true;
  bool stopped = false;
  uint64_t sincePump = 0;
  const RecoveryRead read = m_reader(record, [&](const uint8_t *data, size_t size) {
    while (size > 0) {
      DWORD done = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
      if (!::WriteFile(file, data, chunk, &done, nullptr) || done != chunk) {
        written = false;
        return false;
      }
      data += chunk;
      size -= chunk;
      sincePump += chunk;
    }
    if (sincePump >= kPumpEveryBytes) {
      sincePump = 0;
      m_services.PumpMessages();
      if (m_services.StopRequested()) {
        stopped = true;
        return false;
      }
    }
    return true;
  });
  if (stopped) return StreamResult::Stopped;
  if (!written) return StreamResult::WriteFailed;
  if (read.m_cutToClusters) return StreamResult::CutToClusters;
  return read.m_whole ? StreamResult::Complete : StreamResult::ReadShort;
}

void FileRecovery::Log(const std::u16string &target, const std::u16string &note, LogStatus status) {
  // The run's first line names the destination; each file's line shows the
  // part below it, which is what tells the files apart in a narrow column.
  std::u16string shown = target;
  const std::u16string &destination = m_options.m_destination;
  if (shown.compare(0, destination.size(), destination) == 0 && shown.size() > destination.size()) {
    shown.erase(0, destination.size());
    if (shown[0] == u'\\' || shown[0] == u'/') shown.erase(0, 1);
  }
  std::u16string text = note.empty() ? shown : shown + u" - " + note;
  m_services.AddLogEntry(Text(RecoveryText::kRecoveringFile), text, m_services.CurrentTimeText(), status);
}

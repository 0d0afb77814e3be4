#include "RecordingServices.h"

#include "Utf16Text.h"

namespace {

// English texts the engines load by id.
const std::map<uint32_t, std::u16string> &DefaultTexts() {
  static const std::map<uint32_t, std::u16string> texts = {
      {61240, u"Loading FAT"},
      {61241, u"Total"},
      {61243, u"Bytes"},
      {61244, u"in"},
      {61245, u"File(s)"},
      {61246, u"Folder(s)"},
      {61255, u"Process started"},
      {61256, u"Process failed"},
      {61257, u"Process completed"},
      {61258, u"Process aborted - user intervention"},
      {61262, u"Reading.."},
      {61263, u"Reading Sector"},
      {61264, u"of"},
      {61268, u"Entries Found"},
      {61269, u"Calculating system parameters"},
      {61270, u"Reading cluster"},
      {61271, u"Raw Data Folder"},
      {61272, u"Lost Folder"},
      {61273, u"Creating directory tree"},
      {61276, u"Searching for Critical Info.."},
      {61277, u"Not a valid logical drive, or critical data structure are badly corrupted for this drive."},
      {61278, u"Started on"},
      {61279, u"Completed on"},
      {61280, u"Aborted on"},
      {61281, u"Error reading sector :"},
      {61282, u"Error reading cluster :"},
      {61283, u"Adding deleted file(s)"},
      {61284, u"Adding lost file(s)"},
      {61285, u"Completed"},
      {61286, u"Aborted"},
      {61287, u"Searching clusters for specified headers"},
      {61288, u"Saving File(s).."},
      {61289, u"Unable to open file, cannot save scan information."},
      {61290, u"Saving scan information"},
      {61291, u"Creating tree using saved scan file"},
      {61292, u"Unable to open scan file, to resume recovery"},
      {61294, u"Error opening file"},
      {61295, u"Not a valid scan file"},
      {61296, u"Not a valid scan file, to resume recovery of crashed disk"},
      {61481, u"MFT record %s skipped:"},
      {61482, u"Damaged scan information file %s:"},
      {61483, u"No Valid Logical Drive Found"},
      {61484, u"Access to this drive was denied. Reading the sectors of a drive or a disk needs "
              u"administrator rights: start Quendal Varnoth File Recovery as an administrator."},
      {61441,
       u"The scan file %s is damaged. Only its first %s entries (%s of %s bytes) could be read, so the "
       u"results shown are incomplete."},
      {61442, u"Process incomplete - damaged scan file"},
      {61443, u"Ended on"},
  };
  return texts;
}

} // namespace

std::string ToUtf8(const std::u16string &text) {
  return Utf16ToUtf8(text);
}

RecordingServices::RecordingServices() : m_texts(DefaultTexts()) {}

bool RecordingServices::PumpMessages() {
  ++m_pumpCount;
  if (m_stopAfterPumps != 0 && m_pumpCount >= m_stopAfterPumps) m_stopRequested = true;
  if (m_phasePumpsLeft != 0 && m_phaseStarted && --m_phasePumpsLeft == 0) m_stopRequested = true;
  return true;
}

void RecordingServices::AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                                    const std::optional<std::u16string> &time, LogStatus status) {
  m_log.push_back(LogRow{activity, text, time, status});
  m_logPumps.push_back(m_pumpCount);
  // A phase starts with its activity, or (a step inside a process) with its text alone.
  if (status == LogStatus::Started && (activity ? *activity == m_stopPhase : text == m_stopPhase))
    m_phaseStarted = true;
}

void RecordingServices::CreateScanProgressBar(uint32_t range) {
  ShowReadingProgress(range, LoadText(61262));
}

void RecordingServices::ShowReadingProgress(uint32_t range, const std::optional<std::u16string> &text) {
  m_progressRanges.push_back(range);
  m_progressCaptions.push_back(text ? *text : u"Reading..");
  m_progressBarPresent = true;
}

void RecordingServices::AddTreeEntry(const EntryRecord &entry, const std::u16string &name) {
  m_treeEntries.push_back(TreeEntry{entry, name});
  m_treeLogSizes.push_back(m_log.size());
}

void RecordingServices::SetEntryGrade(uint32_t ownId, RecoveryGrade grade) {
  for (auto entry = m_treeEntries.rbegin(); entry != m_treeEntries.rend(); ++entry)
    if (entry->m_entry.m_ownId == ownId && !entry->m_entry.IsFolder()) {
      entry->m_entry.m_grade = grade;
      return;
    }
}

void RecordingServices::UpdateTotalsPane(uint32_t folders, uint32_t files, uint64_t bytes) {
  m_totalsFolders = folders;
  m_totalsFiles = files;
  m_totalsBytes = bytes;
}

void RecordingServices::UpdateFoundProgress(uint32_t progressMode, uint32_t foundCount,
                                            uint32_t secondaryCount) {
  if (progressMode == 0) m_foundProgress.push_back(foundCount);
  if (progressMode == 1) m_foundProgress.push_back(secondaryCount);
}

void RecordingServices::ShowCurrentItemText(uint32_t itemMode, const std::u16string &text) {
  if (itemMode == 0) m_currentItemTexts.push_back(text);
  if (itemMode == 1) m_currentItemTexts.push_back(u"");
}

void RecordingServices::OnScanFinished(uint32_t foundCount) {
  ++m_finishedCount;
  m_finishedFoundCount = foundCount;
  m_progressBarPresent = false;
  m_stopRequested = true;
  if (foundCount != 0) m_resultsPresent = true;
}

std::u16string RecordingServices::LoadText(uint32_t id) {
  auto it = m_texts.find(id);
  if (it != m_texts.end()) return it->second;
  std::u16string text = u"#";
  for (char c : std::to_string(id)) text.push_back(static_cast<char16_t>(c));
  return text;
}

bool RecordingServices::LogContains(const std::u16string &text) const {
  for (const LogRow &row : m_log)
    if (row.m_text.find(text) != std::u16string::npos) return true;
  return false;
}

std::string RecordingServices::LogAsText() const {
  std::string out;
  for (const LogRow &row : m_log) {
    out += std::to_string(static_cast<int>(row.m_status)) + "|" +
           (row.m_activity ? ToUtf8(*row.m_activity) : "") + "|" + ToUtf8(row.m_text) + "\n";
  }
  return out;
}

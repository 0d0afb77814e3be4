// The MFT walk and the folder tree of the NTFS search.
#include "NtfsFileReader.h"
#include "NtfsScanEngine.h"
#include "ProcessLog.h"
#include "Utf16Text.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint64_t kWalkChunkBytes = 256 * 1024;
constexpr uint32_t kAdvancedTreeExtraSteps = 15000;
constexpr uint32_t kFirstSyntheticId = 0xF0000000u;

uint32_t ClampToU32(uint64_t value) {
  return value > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                      : static_cast<uint32_t>(value);
}

// A freed record's sequence number is one up on the one its children were
// given (0 is skipped when it wraps).
uint16_t NextSequence(uint16_t sequence) {
  return sequence == 0xFFFF ? 1 : static_cast<uint16_t>(sequence + 1);
}

EntryRecord FolderEntry(uint32_t parent, uint32_t id) {
  EntryRecord entry;
  entry.m_parentId = parent;
  entry.m_ownId = id;
  entry.m_firstCluster = id;
  entry.m_attributes = kEntryAttrFolder;
  return entry;
}

void SetTimes(EntryRecord &entry, const NtfsFileTimes &times) {
  SetNtfsEntryTimes(entry, times.m_recordChange, times.m_modification, times.m_creation);
}

NtfsFileTimes TimesOf(const FileRecordInfo &info) {
  return {info.m_recordChangeTime, info.m_modificationTime, info.m_creationTime};
}

} // namespace

bool NtfsScanEngine::WalkMftRecords() {
  LogProcessStarted(m_services, m_services.LoadText(NtfsText::kCalculatingParameters));
  const uint64_t count = std::min<uint64_t>(m_volume.RecordCount(), std::numeric_limits<uint32_t>::max());
  m_progressRange = ClampToU32(count);
  m_services.ShowReadingProgress(m_progressRange, m_services.LoadText(NtfsText::kCalculatingParameters));
  const uint32_t recordSize = m_volume.RecordSize();
  const uint64_t chunk = std::max<uint64_t>(1, kWalkChunkBytes / recordSize);
  std::vector<uint8_t> buffer(chunk * recordSize);
  bool stopped = false;
  {
    // A run of unreadable records is one log line, written when it ends.
    ReadFailureLog::Pass failures(m_readFailures);
    for (uint64_t first = 0; first < count && !stopped; first += chunk) {
      const uint64_t n = std::min(chunk, count - first);
      if (!m_volume.ReadMftRecords(first, n, buffer.data())) {
        // Read the chunk again record by record, so one bad sector costs only its own records.
        for (uint64_t i = 0; i < n; ++i)
          m_volume.ReadMftRecords(first + i, 1, buffer.data() + i * recordSize);
      }
      for (uint64_t i = 0; i < n; ++i) {
        if ((stopped = m_pacer.StepAndShouldStop())) break;
        ExamineRecord(first + i, buffer.data() + i * recordSize);
      }
    }
  }
  m_pacer.FlushProgress();
  m_services.DeleteProgressBar();
  LogProcessEnded(m_services, stopped);
  return !stopped;
}

void NtfsScanEngine::ExamineRecord(uint64_t record, uint8_t *bytes) {
  const size_t size = m_volume.RecordSize();
  std::string why;
  FileRecordInfo &info = m_walkRecord;
  ParseResult result = ApplyRecordFixups(bytes, size, &why);
  if (result == ParseResult::Ok) result = ParseFileRecord(bytes, size, info, &why);
  if (result == ParseResult::NotThisStructure) return;
  if (result == ParseResult::Corrupt) {
    LogDamagedRecord(record, why);
    return;
  }
  if (record <= 1 || record == m_rootRecord || record > std::numeric_limits<uint32_t>::max()) return;
  // Extension records, live files and the special index records are not listed.
  if (info.IsExtension() || (info.m_flags & ~(kNtfsRecordInUse | kNtfsRecordFolder)) != 0) return;
  if (info.m_flags == kNtfsRecordInUse) return;
  if (!info.m_hasName && info.m_hasAttributeList) TakeNameFromExtensions(record, bytes, info);
  if (!info.m_hasName || info.m_parent.m_record == 0 ||
      info.m_parent.m_record > std::numeric_limits<uint32_t>::max())
    return;
  if (info.IsFolder()) {
    ListFolder(record, info);
  } else {
    ListDeletedFile(record, bytes, info);
  }
}

// A full record moves its names out to extension records; the attribute
// list says where they went.
void NtfsScanEngine::TakeNameFromExtensions(uint64_t record, const uint8_t *bytes, FileRecordInfo &info) {
  std::vector<AttributeListEntry> entries;
  if (m_volume.LoadAttributeList(bytes, info, entries) != ParseResult::Ok) return;
  for (const AttributeListEntry &entry : entries) {
    if (entry.m_type != kNtfsAttrFileName || entry.m_record.m_record == record) continue;
    std::vector<uint8_t> extension;
    FileRecordInfo extensionInfo;
    if (m_volume.ReadRecord(entry.m_record.m_record, extension, extensionInfo) != ParseResult::Ok ||
        extensionInfo.m_baseRecord != record || !extensionInfo.m_hasName)
      continue;
    if (info.m_hasName && extensionInfo.m_nameSpace == 2) continue;
    info.m_hasName = true;
    info.m_name = extensionInfo.m_name;
    info.m_nameSpace = extensionInfo.m_nameSpace;
    info.m_parent = extensionInfo.m_parent;
    if (info.m_nameSpace != 2) return;
  }
}

void NtfsScanEngine::ListFolder(uint64_t record, const FileRecordInfo &info) {
  NtfsFolderNode node;
  node.m_parent = static_cast<uint32_t>(info.m_parent.m_record);
  node.m_parentSequence = info.m_parent.m_sequence;
  node.m_record = static_cast<uint32_t>(record);
  node.m_sequence = info.m_sequence;
  node.m_name = info.m_name;
  node.m_times = TimesOf(info);
  node.m_deleted = !info.InUse();
  if (node.m_deleted) ++m_folderCount;
  m_folderIndex[node.m_record] = m_folders.size();
  m_folders.push_back(std::move(node));
}

void NtfsScanEngine::ListDeletedFile(uint64_t record, const uint8_t *bytes, const FileRecordInfo &info) {
  NtfsFileNode node;
  node.m_compressed = info.IsCompressed();
  bool sized = false;
  for (const AttributeExtent &extent : info.m_data) {
    if (extent.m_resident) {
      node.m_size = extent.m_valueLength;
      node.m_compressed = false;
      sized = true;
    } else if (extent.m_nonResident.m_firstVcn == 0) {
      node.m_size = extent.m_nonResident.m_dataSize;
      node.m_compressed = node.m_compressed || (extent.m_flags & kNtfsAttrFlagCompressed) != 0;
      sized = true;
    }
  }
  if (!sized && info.m_hasAttributeList) {
    // The first extent of the data, and with it the size, lies in an extension record.
    NtfsDataStream stream;
    std::string why;
    const std::vector<uint8_t> copy(bytes, bytes + m_volume.RecordSize());
    if (LoadNtfsDataStream(m_volume, record, copy, info, stream, &why) != ParseResult::Ok) {
      LogDamagedRecord(record, why);
      return;
    }
    node.m_size = stream.m_size;
    node.m_compressed = node.m_compressed || stream.m_compressed;
    sized = true;
  }
  if (!sized) {
    LogDamagedRecord(record, "deleted file without a data stream");
    return;
  }
  node.m_sizeBeyondClusters = SizeBeyondClusters(record, bytes, info, node.m_size);
  node.m_parent = static_cast<uint32_t>(info.m_parent.m_record);
  node.m_parentSequence = info.m_parent.m_sequence;
  node.m_record = static_cast<uint32_t>(record);
  node.m_name = info.m_name;
  node.m_times = TimesOf(info);
  ++m_fileCount;
  m_files.push_back(std::move(node));
}

// A damaged size field is not taken as it stands: a file cannot hold more
// than its runs map, nor (sparse runs aside) more than the whole volume.
bool NtfsScanEngine::SizeBeyondClusters(uint64_t record, const uint8_t *bytes, const FileRecordInfo &info,
                                        uint64_t size) {
  const uint64_t clusterSize = m_volume.ClusterSize();
  std::vector<DataRun> runs;
  for (const AttributeExtent &extent : info.m_data) {
    if (extent.m_resident) return false;
    const NonResidentHeader &nr = extent.m_nonResident;
    std::vector<DataRun> piece;
    if (DecodeRunList(bytes + nr.m_runsOffset, nr.m_runsLength, nr.m_firstVcn, piece) == ParseResult::Ok)
      runs.insert(runs.end(), piece.begin(), piece.end());
  }
  const uint64_t volumeBytes = m_volume.VolumeSectors() > UINT64_MAX / kSectorSize
                                   ? UINT64_MAX
                                   : m_volume.VolumeSectors() * kSectorSize;
  const auto beyond = [&](const std::vector<DataRun> &mapped) {
    const bool sparse =
        std::any_of(mapped.begin(), mapped.end(), [](const DataRun &run) { return run.m_sparse; });
    return size > NtfsRunBytes(mapped, clusterSize) || (!sparse && volumeBytes != 0 && size > volumeBytes);
  };
  if (!beyond(runs)) return false;
  if (!info.m_hasAttributeList) return true;
  // The other extents of the data lie in extension records: the whole stream decides.
  NtfsDataStream stream;
  const std::vector<uint8_t> copy(bytes, bytes + m_volume.RecordSize());
  if (LoadNtfsDataStream(m_volume, record, copy, info, stream) != ParseResult::Ok) return true;
  return beyond(stream.m_runs);
}

void NtfsScanEngine::AddToTree(const EntryRecord &entry, const std::u16string &name) {
  StartTreeOnce();
  m_services.AddTreeEntry(entry, name);
  ShowAdded();
}

void NtfsScanEngine::AddToTree(const EntryRecord &entry, std::u16string &&name) {
  StartTreeOnce();
  m_services.AddTreeEntryOwned(entry, std::move(name));
  ShowAdded();
}

void NtfsScanEngine::StartTreeOnce() {
  if (m_foundCount != 0) return;
  m_foundCount = 1;
  ++m_folderCount;
  m_services.CreateScanProgressBar(m_progressRange);
  m_services.CreateTreeRoot();
}

void NtfsScanEngine::ShowAdded() {
  m_services.UpdateTotalsPane(m_folderCount, m_fileCount, m_byteTotal);
  m_services.UpdateFoundProgress(0, m_foundCount, m_secondCount);
}

void NtfsScanEngine::BuildNtfsTree(bool advanced) {
  LogProcessStarted(m_services, m_services.LoadText(NtfsText::kCreatingDirectoryTree));
  const uint64_t range = m_files.size() + (advanced ? kAdvancedTreeExtraSteps : 0);
  m_progressRange = ClampToU32(range);
  m_services.CreateScanProgressBar(m_progressRange);
  m_services.CreateTreeRoot();
  ++m_foundCount;
  m_fileCount = 0;
  m_folderCount = 1;
  // Each file is handed to the tree once, its name with it; the lists go
  // after. The pump keeps the window alive; a stop asked for meanwhile
  // still lets every found file reach the tree, and the build then ends as
  // aborted, so the log does not say the search ran whole.
  for (NtfsFileNode &file : m_files) {
    m_pacer.StepAndShouldStop();
    AddFileToTree(file);
  }
  m_pacer.FlushProgress();
  ClearWalkLists();
  LogProcessEnded(m_services, m_pacer.StopRequested());
}

void NtfsScanEngine::ClearWalkLists() {
  m_files.clear();
  m_folders.clear();
  m_folderIndex.clear();
  m_addedFolders.clear();
  m_missingFolderIds.clear();
}

void NtfsScanEngine::AddFileToTree(NtfsFileNode &file) {
  EntryRecord entry;
  entry.m_size = file.m_size;
  entry.m_parentId =
      file.m_parent == m_rootRecord ? m_rootRecord : AddFolderChain(file.m_parent, file.m_parentSequence);
  entry.m_ownId = file.m_record;
  entry.m_firstCluster = file.m_record;
  entry.m_attributes = kEntryAttrArchive;
  SetTimes(entry, file.m_times);
  entry.m_deleted = 1;
  entry.m_compressed = file.m_compressed ? 1 : 0;
  entry.m_grade = GradeNtfsEntry(file.m_compressed, file.m_sizeBeyondClusters);
  ++m_fileCount;
  ++m_foundCount;
  AddFoundBytes(m_byteTotal, file.m_size);
  AddToTree(entry, std::move(file.m_name));
}

// The folder record a parent reference points to, when it is still that
// folder: a live folder must carry the same sequence number, a deleted one
// the same or the next (freeing a record steps its number). A reused record
// is a missing folder.
const NtfsFolderNode *NtfsScanEngine::FindParentFolder(uint32_t record, uint16_t sequence) const {
  auto it = m_folderIndex.find(record);
  if (it == m_folderIndex.end()) return nullptr;
  const NtfsFolderNode &folder = m_folders[it->second];
  if (sequence == 0 || folder.m_sequence == sequence) return &folder;
  if (folder.m_deleted && folder.m_sequence == NextSequence(sequence)) return &folder;
  return nullptr;
}

// Makes sure every folder on a parent chain is in the tree and returns the
// tree id of the chain's first folder. The chain ends at the root, at a
// folder already placed, or at a missing folder, re-created under "Lost
// Folder(s)"; a chain that comes back to one of its own folders ends there too.
uint32_t NtfsScanEngine::AddFolderChain(uint32_t parent, uint16_t parentSequence) {
  std::vector<const NtfsFolderNode *> frames;
  std::unordered_set<uint32_t> visited;
  uint32_t record = parent;
  uint16_t sequence = parentSequence;
  uint32_t anchor = m_rootRecord;
  while (record != m_rootRecord) {
    const NtfsFolderNode *folder = FindParentFolder(record, sequence);
    if (folder == nullptr || visited.count(record)) {
      anchor = AddMissingFolder(record);
      break;
    }
    if (IsFolderAdded(record)) {
      anchor = record;
      break;
    }
    frames.push_back(folder);
    visited.insert(record);
    record = folder->m_parent;
    sequence = folder->m_parentSequence;
  }
  const uint32_t first = frames.empty() ? anchor : frames.front()->m_record;
  EmitNtfsPathFrames(frames, anchor);
  return first;
}

// The id of the re-created folder for a missing record: the record number,
// unless a folder record of that number is in the tree's lists (reused or on
// a loop), which keeps its own id; then an id from a range records do not reach.
uint32_t NtfsScanEngine::AddMissingFolder(uint32_t record) {
  auto known = m_missingFolderIds.find(record);
  if (known != m_missingFolderIds.end()) return known->second;
  if (!m_lostFolderAdded) {
    m_lostFolderAdded = true;
    ++m_folderCount;
    ++m_foundCount;
    AddToTree(FolderEntry(m_rootRecord, kSpecialFolderId), u"Lost Folder(s)");
    m_addedFolders.insert(kSpecialFolderId);
  }
  const bool taken = m_folderIndex.count(record) || record >= kFirstSyntheticId || record == kSpecialFolderId;
  const uint32_t id = taken ? m_nextSyntheticId++ : record;
  ++m_folderCount;
  ++m_foundCount;
  AddToTree(FolderEntry(kSpecialFolderId, id), Widen("Folder " + std::to_string(record)));
  m_addedFolders.insert(id);
  m_missingFolderIds[record] = id;
  return id;
}

// Adds the stacked folders from the one farthest from the file (hung under
// anchor) down to the file's own folder.
void NtfsScanEngine::EmitNtfsPathFrames(std::vector<const NtfsFolderNode *> &frames, uint32_t anchor) {
  for (size_t i = frames.size(); i-- > 0;) {
    const NtfsFolderNode &folder = *frames[i];
    EntryRecord entry =
        FolderEntry(i + 1 == frames.size() ? anchor : frames[i + 1]->m_record, folder.m_record);
    SetTimes(entry, folder.m_times);
    entry.m_deleted = folder.m_deleted ? 1 : 0;
    ++m_folderCount;
    ++m_foundCount;
    AddToTree(entry, folder.m_name);
    m_addedFolders.insert(folder.m_record);
  }
  frames.clear();
}

#include "FatFastSearch.h"

#include "FatFileReader.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr uint32_t kScanProgressRange = 25000;
}

FatFastSearch::FatFastSearch(FatVolume &volume, FatSearchTotals &totals,
                             std::vector<FatFoundFile> &deletedFiles)
    : m_volume(volume), m_services(volume.Services()), m_totals(totals), m_deletedFiles(deletedFiles) {
  m_context.m_kind = volume.Kind();
  m_context.m_maxCluster = volume.MaxCluster();
  m_context.m_volumeBytes = volume.Parameters().m_totalSectors * 512;
}

void FatFastSearch::ScanFatDirectoryTree() {
  RunWalk(true);
}

void FatFastSearch::RescanDirectoryTree() {
  RunWalk(false);
}

void FatFastSearch::RunWalk(bool endScan) {
  m_services.DoWaitCursor(0);
  m_volume.LogStarted(m_volume.Text(FatText::kCreatingDirectoryTree));
  {
    FatVolume::FailurePass pass(m_volume);
    RunTreeWalk();
  }
  m_stack.clear();
  m_path.clear();
  m_deletedFolders.clear();
  m_deletedFolderClusters.clear();
  m_pendingClusters.clear();
  m_claimed.Clear();
  // A stop asked before the walk began (while the FAT was read) ends it too.
  m_stopped = m_stopped || m_volume.Pacer().StopRequested();
  m_volume.LogFinished(m_stopped);
  if (!endScan) return;
  LowerGuessedGrades(m_volume, m_deletedFiles, m_services);
  m_services.ResetTreeToRoot();
  m_services.OnScanFinished(m_totals.m_foundEntries);
}

bool FatFastSearch::CheckStop() {
  if (!m_stopped && m_volume.Pacer().ShouldStop()) m_stopped = true;
  return m_stopped;
}

bool FatFastSearch::RunTreeWalk() {
  m_stopped = false;
  FolderCursor root;
  if (!OpenRoot(root)) return false;
  StartRoot();
  m_stack.push_back(std::move(root));
  WalkStack();
  m_volume.FlushReadFailures();
  if (!m_stopped) AddDeletedFolderFiles();
  return !m_stopped;
}

bool FatFastSearch::OpenRoot(FolderCursor &root) {
  root.m_folderId = 0;
  if (m_volume.Kind() != FatKind::Fat32) {
    root.m_kind = FolderKind::FixedRoot;
    return true;
  }
  const uint32_t rootCluster = m_volume.Parameters().m_rootCluster;
  if (!m_volume.IsDataCluster(rootCluster)) {
    m_volume.LogError(Widen("Root folder cluster " + std::to_string(rootCluster) + " outside the volume"));
    return false;
  }
  root.m_kind = FolderKind::ChainRoot;
  root.m_chain = m_volume.GetClusterChain(rootCluster);
  return true;
}

void FatFastSearch::StartRoot() {
  // The root counts as the first thing found.
  if (m_totals.m_foundEntries != 0) return;
  m_totals.m_foundEntries = 1;
  ++m_totals.m_folders;
  m_services.CreateScanProgressBar(kScanProgressRange);
  m_services.CreateTreeRoot();
}

void FatFastSearch::WalkStack() {
  while (!m_stack.empty()) {
    FolderCursor &cursor = m_stack.back();
    // A cluster read only for the long names in it leaves nothing to walk: read on.
    while (!cursor.m_finished &&
           (!cursor.m_loaded || cursor.m_offset + kFatEntrySize > cursor.m_current.size()))
      cursor.m_finished = !LoadNextCluster(cursor);
    if (m_stopped) return;
    if (cursor.m_finished) {
      if (cursor.m_hasFrame && !m_path.empty()) m_path.pop_back();
      m_stack.pop_back();
      continue;
    }
    const size_t offset = cursor.m_offset;
    cursor.m_offset += kFatEntrySize;
    if (CheckStop()) return;
    if (cursor.m_current[offset] == 0) {
      // The end mark. A FAT32 root still reads the rest of its cluster.
      if (cursor.m_kind == FolderKind::ChainRoot)
        cursor.m_endAfterCluster = true;
      else
        cursor.m_finished = true;
      continue;
    }
    HandleEntry(cursor, offset); // may open a folder on top of this one
  }
}

bool FatFastSearch::LoadNextCluster(FolderCursor &cursor) {
  if (cursor.m_kind == FolderKind::FixedRoot) {
    if (cursor.m_loaded) return false;
    const BootParameters &boot = m_volume.Parameters();
    cursor.m_current.assign(static_cast<size_t>(boot.m_rootDirectorySectors) * 512, 0);
    cursor.m_loaded = true;
    cursor.m_offset = 0;
    if (!m_volume.ReadVolumeSectors(boot.RootDirectorySector(), boot.m_rootDirectorySectors,
                                    cursor.m_current.data())) {
      m_volume.LogSectorError(boot.RootDirectorySector(), boot.m_rootDirectorySectors);
      return false;
    }
    return true;
  }
  if (cursor.m_endAfterCluster) return false;
  for (;;) {
    if (cursor.m_nextCluster >= cursor.m_chain.size()) {
      if (cursor.m_deletedFolder != SIZE_MAX && cursor.m_loaded)
        m_deletedFolders[cursor.m_deletedFolder].m_mayGoOn = true;
      if (!ExtendDeletedFolder(cursor)) return false;
    }
    const size_t index = cursor.m_nextCluster++;
    const uint32_t cluster = cursor.m_chain[index];
    if (CheckStop()) return false;
    if (cursor.m_loaded)
      cursor.m_previous.swap(cursor.m_current);
    else
      cursor.m_previous.clear();
    cursor.m_current.assign(m_volume.ClusterBytes(), 0);
    const uint32_t sectors = m_volume.Parameters().m_sectorsPerCluster;
    if (!m_volume.ReadClusters(cluster, 0, cursor.m_current.data(), sectors)) {
      m_volume.LogClusterError(cluster);
      cursor.m_loaded = false;
      // Where a deleted folder went on is judged from the bytes alone.
      if (cursor.m_goesOn) return false;
      continue;
    }
    cursor.m_loaded = true;
    cursor.m_offset = 0;
    return AcceptLoadedCluster(cursor, index);
  }
}

bool FatFastSearch::AcceptLoadedCluster(FolderCursor &cursor, size_t index) {
  const std::vector<uint8_t> &bytes = cursor.m_current;
  // A folder starts with "." and ".."; a first cluster that does not was reused.
  if (cursor.m_kind == FolderKind::Folder && index == 0 && !HasDotEntry(bytes.data(), bytes.size()))
    return false;
  // A root cluster that starts like a folder: the chain strayed, stop after it.
  if (cursor.m_kind == FolderKind::ChainRoot && bytes[0] == '.') cursor.m_endAfterCluster = true;
  if (!cursor.m_goesOn) {
    if (index == 0) NoteWalkedCluster(cursor, index);
    return true;
  }
  if (index == 0) {
    // Listed already; read again for the long names that run on into the next cluster.
    cursor.m_offset = bytes.size();
    return true;
  }
  if (!IsFolderContinuation(bytes.data(), bytes.size(), m_volume.Kind(), m_volume.MaxCluster())) return false;
  m_claimed.Claim(cursor.m_chain[index], uint64_t{cursor.m_chain[index]} + 1);
  NoteWalkedCluster(cursor, index);
  return true;
}

void FatFastSearch::NoteWalkedCluster(const FolderCursor &cursor, size_t index) {
  if (cursor.m_deletedFolder == SIZE_MAX) return;
  DeletedFolder &folder = m_deletedFolders[cursor.m_deletedFolder];
  if (folder.m_walked == SIZE_MAX) {
    folder.m_walked = m_walkedFolders.size();
    m_walkedFolders.push_back(FatWalkedFolder{folder.m_folderId, {}});
  }
  m_walkedFolders[folder.m_walked].m_clusters.push_back(cursor.m_chain[index]);
}

// Like a deleted file's, a deleted folder's clusters are gone from the FAT but
// usually follow its first: the folder grew into the next free cluster when
// it filled up, after the data of the files listed so far.
bool FatFastSearch::ExtendDeletedFolder(FolderCursor &cursor) {
  if (!cursor.m_goesOn || cursor.m_chain.size() >= cursor.m_maxClusters) return false;
  const uint64_t last = m_volume.LastReadableCluster();
  uint64_t cluster = uint64_t{cursor.m_chain.back()} + 1;
  while (cluster <= last) {
    const uint64_t free = m_volume.NextFreeCluster(cluster);
    cluster = m_claimed.FirstUnclaimed(free);
    if (cluster == free) break;
  }
  if (cluster > last) return false;
  cursor.m_chain.push_back(static_cast<uint32_t>(cluster));
  return true;
}

bool FatFastSearch::PassesRootCheck(const FolderCursor &cursor, const uint8_t *entry) {
  const EntryCheckResult check = CheckDirectoryEntry(entry, m_volume.Kind(), m_volume.MaxCluster());
  if (cursor.m_kind == FolderKind::FixedRoot && check.m_verdict != EntryPlausibility::Plausible) return false;
  if (check.m_verdict == EntryPlausibility::Implausible) return false;
  if (!check.m_needsFolderStart) return true;
  const uint32_t cluster = EntryFirstCluster(entry, m_volume.Kind());
  uint8_t sector[512];
  if (!m_volume.ReadClusters(cluster, 0, sector, 1)) m_volume.LogClusterError(cluster);
  return IsFolderStart(sector, sizeof sector);
}

void FatFastSearch::HandleEntry(FolderCursor &cursor, size_t offset) {
  if (cursor.m_kind != FolderKind::Folder && !PassesRootCheck(cursor, &cursor.m_current[offset])) return;
  EntryRecord work;
  work.m_parentId = cursor.m_folderId;
  work.m_deleted = cursor.m_deleted;
  std::u16string name;
  FolderBytes bytes;
  bytes.m_current = cursor.m_current.data();
  bytes.m_currentBytes = cursor.m_current.size();
  if (!cursor.m_previous.empty()) {
    bytes.m_previous = cursor.m_previous.data();
    bytes.m_previousBytes = cursor.m_previous.size();
  }
  const DecodeResult result = DecodeDirectoryEntry(bytes, offset, m_context, m_totals.m_nextId, work, name);
  if (result.m_outcome != DecodeOutcome::Record) return;
  if (work.IsFolder()) {
    if (work.m_deleted)
      AddDeletedFolder(work, name, ReadLe32(&cursor.m_current[offset] + 28)); // 28, 4, size
    else
      EnterLiveFolder(work, name);
  } else if (work.m_deleted) {
    AddDeletedFile(work, name, ReadEntryTimes(&cursor.m_current[offset]));
  }
}

void FatFastSearch::EnterLiveFolder(const EntryRecord &record, const std::u16string &name) {
  const uint32_t cluster = record.m_firstCluster;
  if (m_pendingClusters.count(cluster) != 0) {
    m_volume.LogError(Widen("Folder at cluster " + std::to_string(cluster) +
                            " is already walked (a loop in the folder tree); not entered again"));
    return;
  }
  if (m_path.size() >= kFatMaxFolderDepth) {
    m_volume.LogError(Widen("Folder at cluster " + std::to_string(cluster) + " is nested deeper than " +
                            std::to_string(kFatMaxFolderDepth) + " levels; not entered"));
    return;
  }
  m_pendingClusters.insert(cluster);
  m_path.push_back(PathFrame{record, name, false});
  OpenFolder(record.m_ownId, cluster, 0, true);
}

void FatFastSearch::OpenFolder(uint32_t folderId, uint32_t cluster, uint8_t deleted, bool hasFrame) {
  FolderCursor cursor;
  cursor.m_kind = FolderKind::Folder;
  cursor.m_folderId = folderId;
  cursor.m_deleted = deleted;
  cursor.m_hasFrame = hasFrame;
  // A deleted folder's chain is gone from the FAT: its first cluster is all there is.
  if (deleted)
    cursor.m_chain.push_back(cluster);
  else
    cursor.m_chain = m_volume.GetClusterChain(cluster);
  m_stack.push_back(std::move(cursor));
}

void FatFastSearch::AddFoundEntry(const EntryRecord &record, const std::u16string &name) {
  ++m_totals.m_foundEntries;
  if (record.IsFolder()) {
    ++m_totals.m_folders;
    m_listedFolders.emplace(record.m_firstCluster, record.m_ownId);
  } else {
    ++m_totals.m_files;
    AddFoundBytes(m_totals.m_foundBytes, record.m_size);
  }
  m_services.AddTreeEntry(record, name);
  m_services.UpdateTotalsPane(m_totals.m_folders, m_totals.m_files, m_totals.m_foundBytes);
  m_services.UpdateFoundProgress(0, m_totals.m_foundEntries, m_totals.m_secondFoundCount);
}

void FatFastSearch::EmitPathFrames() {
  for (PathFrame &frame : m_path) {
    if (frame.m_emitted) continue;
    AddFoundEntry(frame.m_record, frame.m_name);
    frame.m_emitted = true;
  }
}

void FatFastSearch::AddDeletedFolder(const EntryRecord &record, const std::u16string &name,
                                     uint32_t sizeField) {
  EmitPathFrames();
  AddFoundEntry(record, name);
  const uint32_t cluster = record.m_firstCluster;
  m_claimed.Claim(cluster, uint64_t{cluster} + 1);
  if (m_pendingClusters.count(cluster) != 0 || m_deletedFolderClusters.count(cluster) != 0) return;
  m_deletedFolderClusters.insert(cluster);
  m_deletedFolders.push_back(DeletedFolder{cluster, record.m_ownId, record.m_parentId, sizeField});
}

void FatFastSearch::AddDeletedFile(EntryRecord &record, const std::u16string &name,
                                   const FatEntryTimes &times) {
  EmitPathFrames();
  const FatVolume &volume = m_volume;
  record.m_grade =
      GradeFatEntry(record.m_firstCluster, record.m_size, volume.Parameters().m_sectorsPerCluster,
                    [&volume](uint64_t cluster) { return volume.IsClusterInUse(cluster); });
  AddFoundEntry(record, name);
  m_deletedFiles.push_back(
      FatFoundFile{record.m_firstCluster, record.m_size, times, record.m_ownId, record.m_grade});
  ClaimFileClusters(record.m_firstCluster, record.m_size);
}

// Its first cluster and the free ones after it, as many as its size needs,
// as the file reader takes them for a file written whole.
void FatFastSearch::ClaimFileClusters(uint32_t firstCluster, uint64_t size) {
  const uint64_t clusterBytes = m_volume.ClusterBytes();
  if (clusterBytes == 0) return;
  const uint64_t count = std::max<uint64_t>(1, (size + clusterBytes - 1) / clusterBytes);
  const uint64_t end = m_volume.AfterFreeClusters(uint64_t{firstCluster} + 1, count - 1);
  m_claimed.Claim(firstCluster, std::min<uint64_t>(end, uint64_t{m_volume.LastReadableCluster()} + 1));
}

void FatFastSearch::AddDeletedFolderFiles() {
  m_services.AddLogEntry(std::nullopt, m_volume.Text(FatText::kAddingDeletedFiles), std::nullopt,
                         LogStatus::Started);
  // Folders found in these folders join the end of the list and are walked in
  // turn. Every first cluster known is walked before any folder goes on past
  // it: the files listed there claim the clusters it must pass over.
  size_t first = 0;
  size_t onward = 0;
  for (;;) {
    if (first < m_deletedFolders.size()) {
      const size_t i = first++;
      if (CheckStop()) break;
      if (m_pendingClusters.count(m_deletedFolders[i].m_cluster) != 0) continue;
      m_pendingClusters.insert(m_deletedFolders[i].m_cluster);
      OpenFolder(m_deletedFolders[i].m_folderId, m_deletedFolders[i].m_cluster, 1, false);
      m_stack.back().m_deletedFolder = i;
      WalkStack();
    } else if (onward < m_deletedFolders.size()) {
      const size_t i = onward++;
      if (!m_deletedFolders[i].m_mayGoOn) continue;
      if (CheckStop()) break;
      WalkDeletedFolderOn(i);
    } else {
      break;
    }
  }
  m_volume.FlushReadFailures();
  if (m_stopped)
    m_services.AddLogEntry(std::nullopt, m_volume.Text(FatText::kAborted), std::nullopt, LogStatus::Error);
  else
    m_services.AddLogEntry(std::nullopt, m_volume.Text(FatText::kCompleted), std::nullopt,
                           LogStatus::Completed);
}

// The clusters a deleted folder went on into: free ones after its first that
// nothing found claims, while they hold directory entries, up to the size its
// entry gives (Windows leaves one) or the most a folder can hold.
void FatFastSearch::WalkDeletedFolderOn(size_t index) {
  const DeletedFolder folder = m_deletedFolders[index];
  FolderCursor cursor;
  cursor.m_kind = FolderKind::Folder;
  cursor.m_folderId = folder.m_folderId;
  cursor.m_deleted = 1;
  cursor.m_chain.push_back(folder.m_cluster);
  cursor.m_goesOn = true;
  cursor.m_deletedFolder = index;
  const uint64_t clusterBytes = m_volume.ClusterBytes();
  if (clusterBytes == 0) return;
  cursor.m_maxClusters = (kFatMaxFolderBytes + clusterBytes - 1) / clusterBytes;
  if (folder.m_sizeField != 0)
    cursor.m_maxClusters =
        std::min<uint64_t>(cursor.m_maxClusters, (folder.m_sizeField + clusterBytes - 1) / clusterBytes);
  m_stack.push_back(std::move(cursor));
  WalkStack();
}

void FatClaimedClusters::Claim(uint64_t first, uint64_t end) {
  if (first >= end) return;
  auto next = m_ranges.upper_bound(first);
  if (next != m_ranges.begin()) {
    const auto before = std::prev(next);
    if (before->second >= first) {
      first = before->first;
      end = std::max(end, before->second);
      next = m_ranges.erase(before);
    }
  }
  while (next != m_ranges.end() && next->first <= end) {
    end = std::max(end, next->second);
    next = m_ranges.erase(next);
  }
  m_ranges.emplace(first, end);
}

uint64_t FatClaimedClusters::FirstUnclaimed(uint64_t cluster) const {
  auto next = m_ranges.upper_bound(cluster);
  if (next == m_ranges.begin()) return cluster;
  --next;
  return cluster < next->second ? next->second : cluster;
}

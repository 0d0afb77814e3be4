#include "FatAdvancedSearch.h"

#include "FatDirectoryEntry.h"
#include "FatFileReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kScanProgressRange = 25000;
constexpr size_t kEntryBytes = 32;

bool BeginsLikeFolder(const uint8_t *bytes, size_t length) {
  return length >= 2 * kEntryBytes && std::memcmp(bytes, ".       ", 8) == 0 &&
         std::memcmp(bytes + kEntryBytes, "..      ", 8) == 0;
}

EntryRecord FolderRecord(uint32_t parentId, uint32_t ownId, uint32_t firstCluster) {
  EntryRecord record;
  record.m_parentId = parentId;
  record.m_ownId = ownId;
  record.m_firstCluster = firstCluster;
  record.m_attributes = kEntryAttrFolder;
  return record;
}

} // namespace

bool FatClusterSpace::ReadClusterSectors(uint64_t cluster, uint8_t *buffer, uint32_t sectorCount) {
  if (cluster > UINT32_MAX) {
    std::memset(buffer, 0, size_t{sectorCount} * 512);
    return false;
  }
  return m_volume.ReadClusters(static_cast<uint32_t>(cluster), 0, buffer, sectorCount);
}

FatAdvancedSearch::FatAdvancedSearch(FatVolume &volume, FatSearchTotals &totals,
                                     std::vector<FatFoundFile> &deletedFiles,
                                     std::vector<SignatureHit> &listedHits, bool windows9x)
    : m_volume(volume), m_services(volume.Services()), m_totals(totals), m_deletedFiles(deletedFiles),
      m_listedHits(listedHits), m_windows9x(windows9x) {}

bool FatAdvancedSearch::CheckStop() {
  if (!m_stopped && m_volume.Pacer().ShouldStop()) m_stopped = true;
  return m_stopped;
}

// Listing what was found pumps to keep the window alive, but a stop does not
// cut it short.
void FatAdvancedSearch::PaceListing() {
  if (m_volume.Pacer().ShouldStop()) m_stopped = true;
}

void FatAdvancedSearch::RunFatAdvancedScan() {
  if (!m_volume.ValidateFatVolume()) {
    m_services.OnScanFinished(m_totals.m_foundEntries);
    return;
  }
  FatFastSearch walk(m_volume, m_totals, m_deletedFiles);
  walk.RescanDirectoryTree();
  // A lost folder whose ".." names a folder already in the tree goes inside it.
  for (const auto &folder : walk.ListedFolders())
    if (folder.first >= 2) m_pendingFolders.emplace(folder.first, folder.second);
  m_walkedFolders = walk.WalkedFolders();
  for (const FatWalkedFolder &folder : m_walkedFolders)
    m_reached.insert(folder.m_clusters.begin(), folder.m_clusters.end());
  // A free cluster the walk reached as a folder's is no lost folder: the
  // first cluster of every folder it listed, and every cluster it read for one.
  m_listedFolderClusters = m_reached;
  for (const auto &folder : walk.ListedFolders())
    if (folder.first >= 2) m_listedFolderClusters.insert(folder.first);
  m_stopped = walk.WasStopped() || m_volume.Pacer().StopRequested();
  m_volume.LogStarted(m_volume.Text(SignatureText::kSearchingHeaders));
  if (!m_stopped) {
    FatClusterSpace space(m_volume);
    SignaturePassOptions options;
    options.m_batchSectors = m_windows9x ? kSignatureBatchSectors9x : kSignatureBatchSectorsNt;
    SignatureSearch pass(
        space, m_services, [this] { return CheckStop(); }, options);
    pass.SetClusterHook([this](uint64_t cluster, const uint8_t *bytes, size_t length) {
      return CollectLostFolder(cluster, bytes, length);
    });
    std::vector<SignatureHit> hits;
    if (!pass.Run(hits)) m_stopped = true;
    // A stop in the pass keeps what the pass had found: those lost folders
    // and hits are listed as after a whole pass.
    ScanLostFolders();
    AddSignatureHits(hits);
  }
  m_lostFolders.clear();
  m_lostByCluster.clear();
  m_pendingFolders.clear();
  m_walkedFolders.clear();
  m_reached.clear();
  m_listedFolderClusters.clear();
  // Every deleted file is listed by now: the neighbours among them are known.
  LowerGuessedGrades(m_volume, m_deletedFiles, m_services);
  m_stopped = m_stopped || m_volume.Pacer().StopRequested();
  m_volume.LogFinished(m_stopped);
  // The pass's "Reading cluster" text is not left behind in the status bar,
  // as the NTFS search and the disk scan leave none either.
  m_services.ShowCurrentItemText(1, u"");
  m_services.OnScanFinished(m_totals.m_foundEntries);
  m_services.ResetTreeToRoot();
}

bool FatAdvancedSearch::CollectLostFolder(uint64_t cluster, const uint8_t *bytes, size_t length) {
  if (!BeginsLikeFolder(bytes, length)) {
    if (!IsFolderContinuation(bytes, length, m_volume.Kind(), m_volume.MaxCluster()) ||
        m_reached.count(static_cast<uint32_t>(cluster)) != 0)
      return false;
    // What the join needs is taken from the bytes at hand; the tail is read
    // again only to be listed.
    m_tails.push_back(static_cast<uint32_t>(cluster));
    m_tailFacts.push_back(FactsOf(static_cast<uint32_t>(cluster), bytes, length));
    return true;
  }
  // A folder the walk listed, with its files, is not listed again as a lost
  // folder: the cluster is that folder's, and no hit.
  if (m_listedFolderClusters.count(static_cast<uint32_t>(cluster)) != 0) return true;
  FatLostFolder node;
  node.m_cluster = static_cast<uint32_t>(cluster);
  node.m_id = m_totals.m_nextId++;
  const uint8_t *dotDot = bytes + kEntryBytes;
  node.m_parentCluster = EntryFirstCluster(dotDot, m_volume.Kind());
  m_lostByCluster.emplace(node.m_cluster, m_lostFolders.size());
  m_lostFolders.push_back(node);
  return true;
}

void FatAdvancedSearch::EnsureTreeRoot() {
  if (m_totals.m_foundEntries != 0) return;
  m_totals.m_foundEntries = 1;
  ++m_totals.m_folders;
  m_services.CreateScanProgressBar(kScanProgressRange);
  m_services.CreateTreeRoot();
}

void FatAdvancedSearch::AddFound(const EntryRecord &record, const std::u16string &name) {
  EnsureTreeRoot();
  ++m_totals.m_foundEntries;
  if (record.IsFolder())
    ++m_totals.m_folders;
  else
    ++m_totals.m_files;
  m_services.AddTreeEntry(record, name);
  m_services.UpdateTotalsPane(m_totals.m_folders, m_totals.m_files, m_totals.m_foundBytes);
  m_services.UpdateFoundProgress(0, m_totals.m_foundEntries, m_totals.m_secondFoundCount);
}

void FatAdvancedSearch::EnsureLostFolder() {
  if (m_lostFolderAdded) return;
  m_lostFolderAdded = true;
  AddFound(FolderRecord(0, kLostFolderId, kLostFolderId), m_volume.Text(SignatureText::kLostFolder));
  m_pendingFolders.emplace(kLostFolderId, kLostFolderId);
}

void FatAdvancedSearch::ListLostFolder(FatLostFolder &node, uint32_t parentId) {
  node.m_done = true;
  AddFound(FolderRecord(parentId, node.m_id, node.m_cluster),
           m_volume.Text(SignatureText::kFolders) + u" " + Widen(std::to_string(node.m_cluster)));
  m_pendingFolders.emplace(node.m_cluster, node.m_id);
}

// Lists the node when its parent is known or it has none among the lost
// folders; false when it waits for its parent's pass.
bool FatAdvancedSearch::HandleLostFolder(FatLostFolder &node) {
  auto pending = m_pendingFolders.find(node.m_parentCluster);
  if (pending != m_pendingFolders.end()) {
    ListLostFolder(node, pending->second);
  } else {
    auto parent = m_lostByCluster.find(node.m_parentCluster);
    if (parent != m_lostByCluster.end() && m_lostFolders[parent->second].m_cluster != node.m_cluster)
      return false;
    EnsureLostFolder();
    ListLostFolder(node, kLostFolderId);
  }
  std::vector<uint8_t> cluster(m_volume.ClusterBytes(), 0);
  if (!m_volume.ReadClusters(node.m_cluster, 0, cluster.data(), m_volume.Parameters().m_sectorsPerCluster))
    m_volume.LogClusterError(node.m_cluster);
  EntryRecord work;
  work.m_parentId = node.m_id;
  work.m_deleted = 1;
  AddLostFolderEntries(cluster.data(), cluster.size(), work);
  return true;
}

void FatAdvancedSearch::ScanLostFolders() {
  m_services.AddLogEntry(std::nullopt, m_volume.Text(SignatureText::kAddingLostFiles), std::nullopt,
                         LogStatus::Started);
  {
    FatVolume::FailurePass failures(m_volume);
    bool handled = true;
    // Each pass lists the folders whose parent is known by now; folders whose
    // ".." names each other in a ring are never reached and the passes end.
    while (handled) {
      handled = false;
      for (FatLostFolder &node : m_lostFolders) {
        if (node.m_done) continue;
        PaceListing();
        if (HandleLostFolder(node)) handled = true;
      }
    }
    ListFolderTails();
  }
  if (m_stopped)
    m_services.AddLogEntry(std::nullopt, m_volume.Text(FatText::kProcessAborted), std::nullopt,
                           LogStatus::Error);
  else
    m_services.AddLogEntry(std::nullopt, m_volume.Text(FatText::kProcessCompleted), std::nullopt,
                           LogStatus::Completed);
}

void FatAdvancedSearch::AddLostFolderEntries(const uint8_t *buffer, size_t bytes, EntryRecord work) {
  FolderBytes folder;
  folder.m_current = buffer;
  folder.m_currentBytes = bytes;
  AddFolderEntries(folder, work);
}

void FatAdvancedSearch::AddFolderEntries(const FolderBytes &folder, EntryRecord work) {
  FatDecodeContext context;
  context.m_kind = m_volume.Kind();
  context.m_maxCluster = m_volume.MaxCluster();
  context.m_volumeBytes = m_volume.Parameters().m_totalSectors * 512;
  const FatVolume &volume = m_volume;
  const uint8_t *buffer = folder.m_current;
  for (size_t offset = 0; offset + kEntryBytes <= folder.m_currentBytes; offset += kEntryBytes) {
    if (buffer[offset] == 0) return;
    PaceListing();
    EntryRecord record = work;
    std::u16string name;
    const DecodeResult result =
        DecodeDirectoryEntry(folder, offset, context, m_totals.m_nextId, record, name);
    if (result.m_outcome != DecodeOutcome::Record || record.IsFolder()) continue;
    // The start of a long name that began in a cluster not known here is
    // not shown as the whole name.
    if (LongNameMayBeCut(folder, offset)) name = ShortEntryName(buffer + offset);
    record.m_deleted = 1;
    record.m_grade =
        GradeFatEntry(record.m_firstCluster, record.m_size, volume.Parameters().m_sectorsPerCluster,
                      [&volume](uint64_t cluster) { return volume.IsClusterInUse(cluster); });
    AddFoundBytes(m_totals.m_foundBytes, record.m_size);
    AddFound(record, name);
    m_deletedFiles.push_back(FatFoundFile{record.m_firstCluster, record.m_size,
                                          ReadEntryTimes(buffer + offset), record.m_ownId, record.m_grade});
  }
}

std::vector<uint8_t> FatAdvancedSearch::ReadFolderCluster(uint32_t cluster) {
  std::vector<uint8_t> bytes(m_volume.ClusterBytes(), 0);
  if (!m_volume.ReadClusters(cluster, 0, bytes.data(), m_volume.Parameters().m_sectorsPerCluster))
    m_volume.LogClusterError(cluster);
  return bytes;
}

FatFolderClusterFacts FatAdvancedSearch::ClusterFacts(uint32_t cluster) {
  const std::vector<uint8_t> bytes = ReadFolderCluster(cluster);
  return FactsOf(cluster, bytes.data(), bytes.size());
}

FatFolderClusterFacts FatAdvancedSearch::FactsOf(uint32_t cluster, const uint8_t *bytes,
                                                 size_t length) const {
  FatDecodeContext context;
  context.m_kind = m_volume.Kind();
  context.m_maxCluster = m_volume.MaxCluster();
  context.m_volumeBytes = m_volume.Parameters().m_totalSectors * 512;
  const FatVolume &volume = m_volume;
  return FolderClusterFacts(
      cluster, bytes, length, context, m_volume.ClusterBytes(),
      [&volume](uint64_t from) { return volume.NextFreeCluster(from); },
      [&volume](uint64_t from, uint64_t count) { return volume.AfterFreeClusters(from, count); });
}

// Each tail goes into the folder it is proved to belong to, after the
// cluster it goes on from (whose end may hold the start of its first long
// name); the others become lost folders named after their first cluster.
void FatAdvancedSearch::ListFolderTails() {
  if (m_tails.empty() || m_volume.ClusterBytes() == 0) return;
  // The last known cluster of every folder listed: the deleted folders the
  // walk read, and the lost folders of this pass it did not.
  struct FolderEnd {
    uint32_t m_folderId;
    uint32_t m_cluster;
  };
  std::vector<FolderEnd> folders;
  for (const FatWalkedFolder &folder : m_walkedFolders)
    if (!folder.m_clusters.empty()) folders.push_back(FolderEnd{folder.m_folderId, folder.m_clusters.back()});
  for (const FatLostFolder &node : m_lostFolders)
    if (node.m_done && m_reached.count(node.m_cluster) == 0)
      folders.push_back(FolderEnd{node.m_id, node.m_cluster});
  std::vector<FatFolderClusterFacts> ends;
  for (const FolderEnd &folder : folders) {
    PaceListing();
    ends.push_back(ClusterFacts(folder.m_cluster));
  }
  const std::vector<FatFolderClusterFacts> &tails = m_tailFacts;
  const FatVolume &volume = m_volume;
  const size_t maxTails = static_cast<size_t>(kFatMaxFolderBytes / m_volume.ClusterBytes());
  const std::vector<FatTailChain> chains = ChainFolderTails(
      ends, tails, [&volume](uint64_t from) { return volume.NextFreeCluster(from); }, maxTails);
  for (const FatTailChain &chain : chains) {
    uint32_t folderId;
    std::vector<uint8_t> previous;
    if (chain.m_end != kNoFolderEnd) {
      folderId = folders[chain.m_end].m_folderId;
      previous = ReadFolderCluster(folders[chain.m_end].m_cluster);
    } else {
      // Slots that only look like entries, with nothing to list, make no folder.
      if (std::none_of(chain.m_tails.begin(), chain.m_tails.end(),
                       [&tails](size_t tail) { return tails[tail].m_firstStart != 0; }))
        continue;
      const uint32_t first = m_tails[chain.m_tails.front()];
      EnsureLostFolder();
      folderId = m_totals.m_nextId++;
      AddFound(FolderRecord(kLostFolderId, folderId, first),
               m_volume.Text(SignatureText::kFolders) + u" " + Widen(std::to_string(first)));
    }
    for (size_t tail : chain.m_tails) {
      std::vector<uint8_t> current = ReadFolderCluster(m_tails[tail]);
      FolderBytes folder;
      folder.m_current = current.data();
      folder.m_currentBytes = current.size();
      if (!previous.empty()) {
        folder.m_previous = previous.data();
        folder.m_previousBytes = previous.size();
      }
      EntryRecord work;
      work.m_parentId = folderId;
      work.m_deleted = 1;
      AddFolderEntries(folder, work);
      previous.swap(current);
    }
  }
}

uint32_t FatAdvancedSearch::MakeRawFolder(const std::u16string &name) {
  const uint32_t id = m_totals.m_nextId++;
  AddFound(FolderRecord(kSpecialFolderId, id, id), name);
  return id;
}

void FatAdvancedSearch::AddSignatureHits(std::vector<SignatureHit> &hits) {
  SignatureFolders folders([this](const std::u16string &name) { return MakeRawFolder(name); });
  for (SignatureHit &hit : hits) {
    PaceListing();
    // A lost folder found later in the pass may have claimed the cluster.
    if (m_volume.IsClusterInUse(hit.m_cluster) || m_lostByCluster.count(static_cast<uint32_t>(hit.m_cluster)))
      continue;
    if (!m_rawFolderAdded) {
      m_rawFolderAdded = true;
      AddFound(FolderRecord(0, kSpecialFolderId, kSpecialFolderId),
               m_volume.Text(SignatureText::kRawDataFolder));
    }
    // The type folder first: making it takes an id of its own.
    const uint32_t parentId = folders.Place(hit.m_extension);
    const EntryRecord record = SignatureHitRecord(hit, parentId, m_totals.m_nextId++);
    AddFound(record, SignatureFileName(hit.m_cluster, hit.m_extension));
    m_listedHits.push_back(hit);
  }
  hits.clear();
}

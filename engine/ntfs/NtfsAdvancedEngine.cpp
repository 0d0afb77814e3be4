#include "NtfsAdvancedEngine.h"

#include "NtfsFileReader.h"
#include "ProcessLog.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t kSectorBytes = 512;
constexpr uint32_t kBitmapRecord = 6;
constexpr uint32_t kClustersPerBitmapSector = kSectorBytes * 8;
constexpr uint32_t kBitmapReadSectors = 64;

} // namespace

bool NtfsClusterMapSize(uint64_t totalSectors, uint32_t sectorsPerCluster, uint64_t &clusters,
                        std::string *why) {
  clusters = sectorsPerCluster == 0 ? 0 : totalSectors / sectorsPerCluster;
  if (clusters == 0 || clusters > kMaxNtfsMapClusters) {
    if (why)
      *why = "a cluster-use map of " + std::to_string(clusters) + " clusters (" +
             std::to_string(totalSectors) + " sectors) cannot be held: the signature search is skipped";
    return false;
  }
  return true;
}

void NtfsScanEngine::AddSearchFind(const EntryRecord &entry, const std::u16string &name) {
  ++m_foundCount;
  if (entry.IsFolder()) {
    ++m_folderCount;
  } else {
    ++m_fileCount;
    AddFoundBytes(m_byteTotal, entry.m_size);
  }
  AddToTree(entry, name);
}

uint32_t NtfsClusterSpace::SectorsPerCluster() const {
  return m_engine.Volume().SectorsPerCluster();
}
uint64_t NtfsClusterSpace::ClusterCount() const {
  return m_engine.ClusterMap().size();
}
uint64_t NtfsClusterSpace::MapSize() const {
  return m_engine.ClusterMap().size();
}
uint64_t NtfsClusterSpace::VolumeSectors() const {
  return m_engine.Volume().Boot().m_totalSectors;
}

bool NtfsClusterSpace::IsClusterUsed(uint64_t cluster) const {
  const std::vector<uint8_t> &map = m_engine.ClusterMap();
  return cluster >= map.size() || map[cluster] != 0;
}

bool NtfsClusterSpace::ReadClusterSectors(uint64_t cluster, uint8_t *buffer, uint32_t sectorCount) {
  const uint64_t spc = SectorsPerCluster();
  const uint64_t total = m_engine.Volume().Boot().m_totalSectors;
  // Cluster numbers are checked in 64 bits: a cluster outside the volume is
  // a failed read, never a read of some other place.
  if (spc == 0 || cluster > total / spc || cluster * spc + sectorCount > total + 1) {
    std::memset(buffer, 0, size_t{sectorCount} * kSectorBytes);
    return false;
  }
  return m_engine.Volume().ReadSectors(cluster * spc, sectorCount, buffer);
}

uint64_t NtfsClusterSpace::DocumentCluster(uint64_t first, uint64_t index) const {
  uint64_t cluster = first;
  const uint64_t end = MapSize();
  for (uint64_t stepped = 0; stepped < index; ++stepped) {
    ++cluster;
    while (cluster < end && IsClusterUsed(cluster)) ++cluster;
    if (cluster >= end) return end;
  }
  return cluster;
}

NtfsAdvancedEngine::NtfsAdvancedEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                                       bool windows9x, WorkPacer::Clock clock)
    : NtfsScanEngine(services, reader, volumeSectors, std::move(clock)), m_windows9x(windows9x) {}

// The runs of $Bitmap's data in cluster (VCN) order, followed through its
// attribute list when the runs continue in extension records. When the full
// stream cannot be assembled (an unreadable or foreign extension record, a
// gap), the runs of its own record still give part of the map.
bool NtfsAdvancedEngine::CollectBitmapRuns(std::vector<DataRun> &runs) {
  std::vector<uint8_t> bytes;
  FileRecordInfo info;
  if (Volume().ReadRecord(kBitmapRecord, bytes, info) != ParseResult::Ok) return false;
  NtfsDataStream stream;
  std::string why;
  const ParseResult loaded = LoadNtfsDataStream(Volume(), kBitmapRecord, bytes, info, stream, &why);
  if (loaded == ParseResult::Ok && !stream.m_resident) {
    runs = std::move(stream.m_runs);
    return !runs.empty();
  }
  if (loaded != ParseResult::Ok)
    Services().AddLogEntry(std::nullopt, Widen("$Bitmap data only partly known: " + why), std::nullopt,
                           LogStatus::Error);
  for (const AttributeExtent &extent : info.m_data) {
    if (extent.m_resident) continue;
    const NonResidentHeader &header = extent.m_nonResident;
    std::vector<DataRun> piece;
    if (DecodeRunList(bytes.data() + header.m_runsOffset, header.m_runsLength, header.m_firstVcn, piece) !=
        ParseResult::Ok)
      continue;
    runs.insert(runs.end(), piece.begin(), piece.end());
  }
  std::sort(runs.begin(), runs.end(), [](const DataRun &a, const DataRun &b) { return a.m_vcn < b.m_vcn; });
  return !runs.empty();
}

// A map that cannot be held is said in the log and the search goes without
// it, rather than with a map of some other size.
bool NtfsAdvancedEngine::AllocateClusterMap(std::vector<uint8_t> &map) {
  uint64_t clusters = 0;
  std::string why;
  if (NtfsClusterMapSize(Volume().Boot().m_totalSectors, Volume().SectorsPerCluster(), clusters, &why)) {
    try {
      map.assign(static_cast<size_t>(clusters), 0);
      return true;
    } catch (const std::bad_alloc &) {
      why = "no memory for a cluster-use map of " + std::to_string(clusters) +
            " clusters: the signature search is skipped";
    }
  }
  Services().AddLogEntry(std::nullopt, Widen(why), std::nullopt, LogStatus::Error);
  return false;
}

void NtfsAdvancedEngine::MarkBitmapSector(uint64_t streamSector, const uint8_t *bytes,
                                          std::vector<uint8_t> &map) {
  const uint64_t base = streamSector * kClustersPerBitmapSector;
  for (uint32_t b = 0; b < kSectorBytes; ++b) {
    if (bytes[b] == 0) continue;
    for (uint32_t bit = 0; bit < 8; ++bit) {
      const uint64_t cluster = base + 8 * b + bit;
      if ((bytes[b] >> bit & 1) == 0 || cluster >= map.size()) continue;
      if (map[cluster] == 0) ++m_markedClusters;
      map[cluster] = 1;
    }
  }
}

bool NtfsAdvancedEngine::LoadClusterBitmap() {
  EngineServices &services = Services();
  services.PumpMessages();
  const uint32_t spc = Volume().SectorsPerCluster();
  m_markedClusters = 0;
  RestoreScanTables(RunArray(), {});
  std::vector<uint8_t> map;
  if (!AllocateClusterMap(map)) return false;
  std::vector<DataRun> runs;
  if (!CollectBitmapRuns(runs)) return false;
  uint64_t totalSectors = 0;
  for (const DataRun &run : runs) totalSectors += run.m_clusters * spc;
  LogProcessStarted(services, services.LoadText(NtfsText::kSearchingCriticalInfo));
  services.ShowReadingProgress(static_cast<uint32_t>(std::min<uint64_t>(totalSectors, UINT32_MAX)),
                               services.LoadText(NtfsText::kSearchingCriticalInfo));
  services.DoWaitCursor(1);
  // Only the sectors that can hold a bit of a cluster in the map are read.
  const uint64_t neededSectors = (map.size() + kClustersPerBitmapSector - 1) / kClustersPerBitmapSector;
  std::vector<uint8_t> chunk(size_t{kBitmapReadSectors} * kSectorBytes);
  WorkPacer &pacer = Pacer();
  bool stopped = false;
  {
    ReadFailureLog::Pass failures(ReadFailures());
    for (const DataRun &run : runs) {
      if ((stopped = pacer.ShouldStop())) break;
      const uint64_t runSectors = run.m_clusters * spc;
      // A run's place in the stream comes from its VCN, so a part of the
      // stream that is not known leaves its clusters free rather than shifting
      // the bits of every later run onto other clusters.
      if (run.m_vcn >= neededSectors) continue; // beyond the map (and its product cannot overflow)
      uint64_t streamSector = run.m_vcn * spc;
      for (uint64_t done = 0; done < runSectors && streamSector < neededSectors;) {
        if ((stopped = pacer.ShouldStop())) break;
        const uint32_t count =
            static_cast<uint32_t>(std::min<uint64_t>(kBitmapReadSectors, runSectors - done));
        std::fill(chunk.begin(), chunk.end(), 0);
        // A failed read is logged by the volume, grouped with the failures around it.
        if (!run.m_sparse) Volume().ReadSectors(run.m_lcn * spc + done, count, chunk.data());
        for (uint32_t i = 0; i < count; ++i) {
          pacer.Step();
          MarkBitmapSector(streamSector++, chunk.data() + size_t{i} * kSectorBytes, map);
        }
        done += count;
      }
      if (stopped) break;
    }
  }
  // The engine keeps the map, so a scan-information file saves it too.
  RestoreScanTables(RunArray(), std::move(map));
  pacer.FlushProgress();
  services.DeleteProgressBar();
  LogProcessEnded(services, stopped);
  services.DoWaitCursor(-1);
  return !stopped && m_markedClusters != 0;
}

void NtfsAdvancedEngine::SearchFreeClusters() {
  EngineServices &services = Services();
  if (services.SelectedHeaders().empty()) return;
  uint64_t runSectors = 0;
  for (const DataRun &run : Volume().MftRuns()) runSectors += run.m_clusters * Volume().SectorsPerCluster();
  m_nextId = static_cast<uint32_t>(std::max<uint64_t>(runSectors / 2, Volume().RecordCount()) + 1);
  m_hits.clear();
  m_hitIndex.clear();
  LogProcessStarted(services, services.LoadText(SignatureText::kSearchingHeaders));
  NtfsClusterSpace space(*this);
  SignaturePassOptions options;
  options.m_batchSectors = m_windows9x ? kSignatureBatchSectors9x : kSignatureBatchSectorsNt;
  options.m_unknownKindIsDocument = true;
  SignatureSearch pass(
      space, services, [this] { return Pacer().ShouldStop(); }, options);
  // Each hit reaches the tree as soon as it is found.
  bool rawFolderAdded = false;
  SignatureFolders folders(
      [this, &rawFolderAdded](const std::u16string &name) { return AddTypeFolder(name, rawFolderAdded); });
  bool finished = false;
  {
    // The volume's own failed reads (a sector of a cluster) are grouped as
    // the pass groups its clusters.
    ReadFailureLog::Pass failures(ReadFailures());
    finished = pass.Run([this, &folders](SignatureHit &hit) { ListHit(folders, hit); });
  }
  LogProcessEnded(services, !finished || Pacer().StopRequested());
}

// The folder of one type under "Raw Data Folder", which the first of them
// brings into the tree.
uint32_t NtfsAdvancedEngine::AddTypeFolder(const std::u16string &name, bool &rawFolderAdded) {
  if (!rawFolderAdded) {
    rawFolderAdded = true;
    EntryRecord raw;
    raw.m_parentId = RootRecord();
    raw.m_ownId = kNtfsRawFolderId;
    raw.m_firstCluster = kNtfsRawFolderId;
    raw.m_attributes = kEntryAttrFolder;
    AddSearchFind(raw, Services().LoadText(SignatureText::kRawDataFolder));
  }
  EntryRecord folder;
  folder.m_parentId = kNtfsRawFolderId;
  folder.m_ownId = m_nextId++;
  folder.m_firstCluster = folder.m_ownId;
  folder.m_attributes = kEntryAttrFolder;
  AddSearchFind(folder, name);
  return folder.m_ownId;
}

void NtfsAdvancedEngine::ListHit(SignatureFolders &folders, SignatureHit &hit) {
  // The type folder first: making it takes an id of its own.
  const uint32_t parentId = folders.Place(hit.m_extension);
  const EntryRecord record = SignatureHitRecord(hit, parentId, m_nextId++);
  AddSearchFind(record, SignatureFileName(record.m_ownId, hit.m_extension));
  m_hitIndex[hit.m_ownId] = m_hits.size();
  m_hits.push_back(std::move(hit));
}

bool NtfsAdvancedEngine::ReadSignatureHit(const EntryRecord &entry, const SignatureByteSink &sink) {
  const auto found = m_hitIndex.find(entry.m_ownId);
  if (found == m_hitIndex.end() || entry.IsFolder()) return false;
  const SignatureHit &hit = m_hits[found->second];
  NtfsClusterSpace space(*this);
  return ::ReadSignatureHit(space, hit.m_cluster, hit.m_size, true, sink);
}

void NtfsAdvancedEngine::RestoreSignatureHits(std::vector<SignatureHit> hits) {
  m_hits = std::move(hits);
  m_hitIndex.clear();
  for (size_t i = 0; i < m_hits.size(); ++i) m_hitIndex.emplace(m_hits[i].m_ownId, i);
}

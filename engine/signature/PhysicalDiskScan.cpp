#include "PhysicalDiskScan.h"

#include "ProcessLog.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kScanProgressRange = 25000;

} // namespace

bool DiskSectorSpace::ReadClusterSectors(uint64_t sector, uint8_t *buffer, uint32_t count) {
  if (sector >= m_sectors || count > m_sectors - sector) {
    std::memset(buffer, 0, size_t{count} * 512);
    return false;
  }
  if (m_reader.ReadSectors(sector, count, buffer)) return true;
  std::memset(buffer, 0, size_t{count} * 512);
  return false;
}

PhysicalDiskScan::PhysicalDiskScan(EngineServices &services, SectorReader &reader, uint64_t sectors,
                                   bool windows9x, WorkPacer::Clock clock)
    : m_services(services), m_pacer(services, std::move(clock)), m_space(reader, sectors),
      m_windows9x(windows9x) {}

void PhysicalDiskScan::RunPhysicalDiskScan() {
  m_services.DoWaitCursor(0);
  m_foundBytes = 0;
  m_stopped = false;
  if (!DiskIsReadable()) {
    m_services.OnScanFinished(m_foundCount);
    return;
  }
  if (m_services.SelectedHeaders().empty()) {
    // Nothing to look for; the scan still ends so the window leaves its busy state.
    m_services.OnScanFinished(m_foundCount);
    return;
  }
  LogProcessStarted(m_services, m_services.LoadText(SignatureText::kSearchingHeaders));
  SignaturePassOptions options;
  options.m_firstUnit = m_firstSector;
  options.m_batchSectors = m_windows9x ? kDiskBatchSectors9x : kDiskBatchSectorsNt;
  options.m_growEmptyDocuments = false;
  options.m_readingTextId = SignatureText::kReadingSector;
  options.m_errorTextId = SignatureText::kErrorReadingSector;
  options.m_errorRangeTextId = SignatureText::kErrorReadingSectors;
  SignatureSearch pass(
      m_space, m_services, [this] { return m_pacer.ShouldStop(); }, options);
  // Each hit is listed as soon as it is found, so a scan of hours shows its
  // finds as it goes and holds no more than the tree does; whatever was found
  // before a stop stays listed.
  SignatureFolders folders([this](const std::u16string &name) { return AddTypeFolder(name); });
  m_stopped = !pass.Run([this, &folders](SignatureHit &hit) { ListHit(folders, hit); });
  // A stop asked while the last hit was listed still ends the scan as aborted.
  m_stopped = m_stopped || m_pacer.StopRequested();
  LogProcessEnded(m_services, m_stopped);
  m_services.ShowCurrentItemText(1, u"");
  m_services.OnScanFinished(m_foundCount);
  // The list shows the root's folders, as after every other search.
  m_services.ResetTreeToRoot();
}

bool PhysicalDiskScan::DiskIsReadable() {
  uint8_t first[512];
  if (m_space.Sectors() != 0 && m_space.ReadClusterSectors(0, first, 1)) return true;
  // A disk the system gives no size, or whose first sector cannot be read,
  // would end the scan without a word: the read error is shown and logged,
  // or that administrator rights are needed when the system refused the disk.
  const std::u16string text = m_space.Reader().AccessDenied()
                                  ? m_services.LoadText(SignatureText::kAdministratorNeeded)
                                  : m_services.LoadText(SignatureText::kErrorReadingSector) + u" 0";
  m_services.AddLogEntry(std::nullopt, text, std::nullopt, LogStatus::Error);
  m_services.ShowErrorBox(text);
  return false;
}

void PhysicalDiskScan::AddFound(const EntryRecord &record, const std::u16string &name) {
  if (m_foundCount == 0) {
    m_foundCount = 1;
    ++m_folderCount;
    m_services.CreateScanProgressBar(kScanProgressRange);
    m_services.CreateTreeRoot();
  }
  ++m_foundCount;
  if (record.IsFolder()) {
    ++m_folderCount;
  } else {
    ++m_fileCount;
    AddFoundBytes(m_foundBytes, record.m_size);
  }
  m_services.AddTreeEntry(record, name);
  m_services.UpdateTotalsPane(m_folderCount, m_fileCount, m_foundBytes);
  m_services.UpdateFoundProgress(0, m_foundCount, 0);
}

uint32_t PhysicalDiskScan::AddTypeFolder(const std::u16string &name) {
  const uint32_t id = m_nextId++;
  EntryRecord folder;
  folder.m_ownId = id;
  folder.m_firstCluster = id;
  folder.m_attributes = kEntryAttrFolder;
  AddFound(folder, name);
  return id;
}

void PhysicalDiskScan::ListHit(SignatureFolders &folders, SignatureHit &hit) {
  // The type folder first: making it takes an id of its own.
  const uint32_t parentId = folders.Place(hit.m_extension);
  const EntryRecord record = SignatureHitRecord(hit, parentId, m_nextId++);
  AddFound(record, SignatureFileName(hit.m_cluster, hit.m_extension));
  m_hits.emplace(hit.m_ownId, std::move(hit));
}

bool PhysicalDiskScan::ReadFoundFile(const EntryRecord &entry, const SignatureByteSink &sink) {
  auto found = m_hits.find(entry.m_ownId);
  if (found == m_hits.end()) return false;
  return ReadSignatureHit(m_space, found->second.m_cluster, found->second.m_size, false, sink);
}

void PhysicalDiskScan::RestoreHits(std::vector<SignatureHit> hits, uint32_t found, uint32_t folders,
                                   uint32_t files, uint64_t bytes, uint32_t nextId) {
  m_hits.clear();
  for (SignatureHit &hit : hits) m_hits.emplace(hit.m_ownId, std::move(hit));
  m_foundCount = found;
  m_folderCount = folders;
  m_fileCount = files;
  m_foundBytes = bytes;
  m_nextId = std::max<uint32_t>(2, nextId);
  m_stopped = false;
}

#include "FatVolume.h"

#include "ProcessLog.h"

#include <algorithm>
#include <new>
#include <unordered_set>

namespace {

constexpr uint64_t kBackupBootSector = 6;
constexpr uint32_t kFatBatchSectors = 1000;
constexpr uint32_t kFatBatchSectors9x = 100;

} // namespace

FatVolume::FatVolume(SectorReader &reader, EngineServices &services, WorkPacer &pacer, uint64_t volumeSectors)
    : m_reader(reader), m_services(services), m_pacer(pacer), m_volumeSectors(volumeSectors),
      m_sectorFailures([this](uint64_t first, uint64_t last) {
        WriteFailureLine(FatText::kErrorReadingSector, FatText::kErrorReadingSectors, first, last);
      }),
      m_clusterFailures([this](uint64_t first, uint64_t last) {
        WriteFailureLine(FatText::kErrorReadingCluster, FatText::kErrorReadingClusters, first, last);
      }) {}

void FatVolume::LogStarted(const std::u16string &activity) {
  LogProcessStarted(m_services, activity);
}

void FatVolume::LogFinished(bool aborted) {
  LogProcessEnded(m_services, aborted);
}

void FatVolume::LogError(const std::u16string &text) {
  m_services.AddLogEntry(std::nullopt, text, std::nullopt, LogStatus::Error);
}

void FatVolume::LogSectorError(uint64_t sector, uint64_t count) {
  m_sectorFailures.Add(m_reader.StartSector() + sector, count);
}

void FatVolume::LogClusterError(uint64_t cluster) {
  m_clusterFailures.Add(cluster);
}

void FatVolume::FlushReadFailures() {
  m_sectorFailures.Flush();
  m_clusterFailures.Flush();
}

void FatVolume::WriteFailureLine(uint32_t singleId, uint32_t rangeId, uint64_t first, uint64_t last) {
  LogError(first == last ? Text(singleId) + u" " + Widen(std::to_string(first))
                         : ReadFailureRangeText(Text(rangeId), first, last));
}

uint64_t FatVolume::ReadableSectors() const {
  if (m_volumeSectors != 0 && m_volumeSectors < m_boot.m_totalSectors) return m_volumeSectors;
  return m_boot.m_totalSectors;
}

uint32_t FatVolume::LastReadableCluster() const {
  const uint64_t first = m_boot.FirstDataSector();
  const uint64_t readable = ReadableSectors();
  if (m_boot.m_sectorsPerCluster == 0 || readable <= first) return 1;
  const uint64_t whole = (readable - first) / m_boot.m_sectorsPerCluster;
  return static_cast<uint32_t>(std::min<uint64_t>(whole + 1, MaxCluster()));
}

bool FatVolume::ReadBootSector(uint64_t sector, BootParameters &out) {
  uint8_t bytes[512] = {};
  if (!m_reader.ReadSectors(sector, 1, bytes)) {
    LogSectorError(sector);
    std::fill(std::begin(bytes), std::end(bytes), 0);
  }
  const BootCheck check = DeriveFatKind(bytes, sizeof bytes, out);
  if (check.m_result == ParseResult::Ok) return true;
  LogError(Widen("Boot sector at " + std::to_string(m_reader.StartSector() + sector) +
                 " rejected: " + check.m_reason));
  return false;
}

bool FatVolume::ValidateFatVolume() {
  m_valid = false;
  if (!ReadBootSector(0, m_boot) && !ReadBootSector(kBackupBootSector, m_boot)) {
    m_services.ShowErrorBox(
        Text(m_reader.AccessDenied() ? FatText::kAdministratorNeeded : FatText::kNotValidDrive));
    return false;
  }
  if (!LoadFat(FatChainMode::FirstFat)) return false;
  m_valid = true;
  return true;
}

bool FatVolume::LoadFat(FatChainMode mode) {
  m_chainMode = mode;
  m_services.SetScanPhaseBusy(true);
  const bool loaded = ReadFatCopy();
  if (loaded) BuildClusterMap();
  m_services.SetScanPhaseBusy(false);
  return loaded || mode == FatChainMode::NoFat;
}

void FatVolume::ReadFatSectorFallback(uint64_t fatSector, uint8_t *into) {
  const uint64_t fatSize = m_boot.m_fatSize;
  const uint64_t first = m_boot.m_reservedSectors;
  const uint64_t copy = m_chainMode == FatChainMode::SecondFat && m_boot.m_fatCount > 1 ? 1 : 0;
  const uint64_t own = first + copy * fatSize + fatSector;
  if (m_reader.ReadSectors(own, 1, into)) return;
  // The same sector of another copy of the FAT.
  for (uint64_t other = 0; other < m_boot.m_fatCount; ++other) {
    if (other == copy) continue;
    if (m_reader.ReadSectors(first + other * fatSize + fatSector, 1, into)) return;
  }
  std::fill(into, into + 512, 0);
  LogSectorError(own);
}

bool FatVolume::ReadFatCopy() {
  m_services.DoWaitCursor(0);
  m_pacer.PumpNow();
  m_table = FatTable();
  if (m_chainMode == FatChainMode::NoFat) return false;

  // Only the part of the FAT that describes the volume's clusters, and only
  // what the drive holds: a large FAT is never read beyond need.
  uint64_t sectors =
      std::min<uint64_t>(m_boot.m_fatSize, (FatBytesNeeded(m_boot.m_kind, MaxCluster()) + 511) / 512);
  const uint64_t readable = ReadableSectors();
  if (readable <= m_boot.m_reservedSectors)
    sectors = 0;
  else
    sectors = std::min<uint64_t>(sectors, readable - m_boot.m_reservedSectors);
  std::vector<uint8_t> bytes;
  try {
    bytes.assign(sectors * 512, 0);
  } catch (const std::bad_alloc &) {
    LogError(Widen("Not enough memory for a FAT of " + std::to_string(sectors) + " sectors"));
    return false;
  }

  const uint32_t batch = m_reader.Io().IsWindows9x() ? kFatBatchSectors9x : kFatBatchSectors;
  const uint64_t batches = (sectors + batch - 1) / batch;
  const std::u16string activity = Text(FatText::kLoadingFat);
  m_services.ShowReadingProgress(static_cast<uint32_t>(batches), activity);
  LogStarted(activity + u" " + Widen(std::to_string(static_cast<int>(m_chainMode) + 1)));
  const uint64_t copy = m_chainMode == FatChainMode::SecondFat && m_boot.m_fatCount > 1 ? 1 : 0;
  const uint64_t start = m_boot.m_reservedSectors + copy * m_boot.m_fatSize;
  {
    FailurePass pass(*this);
    for (uint64_t done = 0; done < sectors; done += batch) {
      m_pacer.ShouldStop();
      const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(batch, sectors - done));
      uint8_t *into = bytes.data() + done * 512;
      if (!m_reader.ReadSectors(start + done, count, into))
        for (uint32_t i = 0; i < count; ++i) ReadFatSectorFallback(done + i, into + i * 512);
      m_pacer.Step();
    }
  }
  m_pacer.FlushProgress();
  m_services.DeleteProgressBar();
  LogFinished(false);
  m_table = FatTable(m_boot.m_kind, MaxCluster(), std::move(bytes));
  return true;
}

void FatVolume::BuildClusterMap() {
  m_services.DoWaitCursor(0);
  // Clusters past the end of the drive cannot hold anything readable; the map
  // stops there and counts them as in use.
  m_map = ClusterMap(std::min(MaxCluster(), LastReadableCluster()));
  const uint64_t fatSectors = m_table.Bytes().size() / 512;
  const std::u16string activity = Text(FatText::kCalculatingParameters);
  m_services.ShowReadingProgress(static_cast<uint32_t>(fatSectors), activity);
  LogStarted(activity);
  // Entries per FAT sector: 1024/3 for FAT12 (1.5 bytes each), 256 for FAT16, 128 for FAT32.
  const uint64_t numerator = m_boot.m_kind == FatKind::Fat12 ? 1024 : 512;
  const uint64_t denominator =
      m_boot.m_kind == FatKind::Fat12 ? 3 : (m_boot.m_kind == FatKind::Fat16 ? 2 : 4);
  for (uint64_t sector = 0; sector < fatSectors; ++sector) {
    m_pacer.StepAndShouldStop();
    const uint64_t first = sector * numerator / denominator;
    const uint64_t end = (sector + 1) * numerator / denominator;
    if (first > MaxCluster()) break;
    m_table.MarkInUseRange(m_map, static_cast<uint32_t>(first),
                           static_cast<uint32_t>(std::min<uint64_t>(end, uint64_t{MaxCluster()} + 1)));
  }
  m_pacer.FlushProgress();
  LogFinished(false);
  m_services.DeleteProgressBar();
}

uint64_t FatVolume::ClusterToSector(uint32_t cluster) const {
  const uint64_t index = cluster >= 2 ? cluster - 2 : 0;
  return m_boot.FirstDataSector() + index * m_boot.m_sectorsPerCluster;
}

bool FatVolume::ReadVolumeSectors(uint64_t sector, uint32_t count, uint8_t *buffer) {
  if (count == 0) return true;
  if (m_reader.ReadSectors(sector, count, buffer)) return true;
  std::fill(buffer, buffer + static_cast<size_t>(count) * 512, 0);
  return false;
}

bool FatVolume::ReadClusters(uint32_t cluster, uint32_t sectorOffset, uint8_t *buffer, uint32_t sectorCount) {
  if (!IsDataCluster(cluster)) {
    std::fill(buffer, buffer + static_cast<size_t>(sectorCount) * 512, 0);
    return false;
  }
  return ReadVolumeSectors(ClusterToSector(cluster) + sectorOffset, sectorCount, buffer);
}

std::vector<uint32_t> FatVolume::GetClusterChain(uint32_t cluster) {
  std::vector<uint32_t> chain;
  if (!IsDataCluster(cluster)) return chain;
  if (!m_table.IsLoaded()) return {cluster};
  std::unordered_set<uint32_t> seen;
  const uint32_t end = m_table.EndOfChainMark();
  const uint32_t bad = m_table.BadClusterMark();
  uint32_t current = cluster;
  for (;;) {
    if (!seen.insert(current).second) {
      LogError(Widen("Cluster chain from " + std::to_string(cluster) + " loops back to cluster " +
                     std::to_string(current) + "; cut there"));
      break;
    }
    chain.push_back(current);
    const std::optional<uint32_t> next = m_table.Entry(current);
    if (!next || *next < 2 || *next >= end || *next == bad) break;
    if (!IsDataCluster(*next)) {
      LogError(Widen("Cluster chain from " + std::to_string(cluster) + " leads to cluster " +
                     std::to_string(*next) + " outside the volume; cut there"));
      break;
    }
    current = *next;
  }
  return chain;
}

bool FatVolume::IsClusterInUse(uint64_t cluster) const {
  if (!m_table.IsLoaded()) return !IsDataCluster(cluster);
  return m_map.IsInUse(cluster);
}

uint64_t FatVolume::NextFreeCluster(uint64_t from) const {
  if (!m_table.IsLoaded()) return from < 2 ? 2 : from;
  return m_map.NextFree(from);
}

uint64_t FatVolume::AfterFreeClusters(uint64_t from, uint64_t count) const {
  if (!m_table.IsLoaded()) return (from < 2 ? 2 : from) + count;
  return m_map.AfterFree(from, count);
}

uint64_t FatVolume::HeldFatSectors() const {
  const uint64_t sectors =
      std::min<uint64_t>(m_boot.m_fatSize, (FatBytesNeeded(m_boot.m_kind, MaxCluster()) + 511) / 512);
  const uint64_t readable = ReadableSectors();
  if (readable <= m_boot.m_reservedSectors) return 0;
  return std::min<uint64_t>(sectors, readable - m_boot.m_reservedSectors);
}

void FatVolume::RestoreState(const BootParameters &boot, FatChainMode mode, std::vector<uint8_t> fatBytes,
                             const std::vector<uint8_t> &mapBytes) {
  m_boot = boot;
  m_chainMode = mode;
  m_table = FatTable();
  m_map = ClusterMap();
  m_valid = true;
  if (mode == FatChainMode::NoFat) return;
  fatBytes.resize(static_cast<size_t>(HeldFatSectors() * 512), 0);
  m_table = FatTable(m_boot.m_kind, MaxCluster(), std::move(fatBytes));
  const uint32_t limit = std::min(MaxCluster(), LastReadableCluster());
  if (mapBytes.empty()) {
    m_map = ClusterMap(limit);
    m_table.MarkInUseRange(m_map, 2, limit + 1);
    return;
  }
  m_map = ClusterMap(static_cast<uint32_t>(std::min<uint64_t>(limit, mapBytes.size() - 1)));
  for (uint32_t cluster = 2; cluster <= m_map.MaxCluster(); ++cluster)
    if (mapBytes[cluster] != 0) m_map.MarkInUse(cluster);
}

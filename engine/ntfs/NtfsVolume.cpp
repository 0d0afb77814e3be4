#include "NtfsVolume.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

constexpr uint64_t kMaxTransferSectors = 2048; // 1 MiB per read
constexpr uint64_t kMaxAttributeListBytes = 4u << 20;

bool Fail(std::string *why, const std::string &text) {
  if (why) *why = text;
  return false;
}

bool IsPowerOfTwo(uint64_t value) {
  return value && (value & (value - 1)) == 0;
}

// Sectors per cluster: a power of two up to 128, or above 0xF3 the exponent
// form of large clusters (2^(256 - value) sectors).
uint32_t DecodeSectorsPerCluster(uint8_t value) {
  if (value >= 0xF4) return 1u << (256 - value);
  return IsPowerOfTwo(value) ? value : 0;
}

} // namespace

ParseResult ParseNtfsBootSector(const uint8_t *sector, NtfsBootInfo &out, std::string *why) {
  if (sector[510] != 0x55 || sector[511] != 0xAA || std::memcmp(sector + 3, "NTFS", 4) != 0) {
    Fail(why, "no NTFS boot signature");
    return ParseResult::NotThisStructure;
  }
  NtfsBootInfo info;
  const uint16_t bytesPerSector = ReadLe16(sector + 0x0B);          // 0x0B, u16, bytes per sector
  info.m_sectorsPerCluster = DecodeSectorsPerCluster(sector[0x0D]); // 0x0D, u8, sectors per cluster
  info.m_totalSectors = ReadLe64(sector + 0x28);                    // 0x28, u64, sectors in the volume
  info.m_mftCluster = ReadLe64(sector + 0x30);                      // 0x30, u64, first cluster of $MFT
  info.m_mftMirrorCluster = ReadLe64(sector + 0x38);                // 0x38, u64, first cluster of $MFTMirr
  const int8_t recordField = static_cast<int8_t>(sector[0x40]); // 0x40, s8, clusters per record / -log2 bytes
  if (bytesPerSector != kSectorSize) {
    Fail(why, "bytes per sector " + std::to_string(bytesPerSector) + " is not 512");
    return ParseResult::Corrupt;
  }
  if (info.m_sectorsPerCluster == 0) {
    Fail(why, "sectors per cluster " + std::to_string(sector[0x0D]) + " is not a power of two");
    return ParseResult::Corrupt;
  }
  const uint64_t recordSize = recordField > 0 ? uint64_t(recordField) * info.m_sectorsPerCluster * kSectorSize
                              : (recordField < 0 && recordField > -31) ? (uint64_t{1} << -recordField)
                                                                       : 0;
  if (recordSize < 512 || recordSize > 65536 || !IsPowerOfTwo(recordSize)) {
    Fail(why, "FILE record size field " + std::to_string(recordField) + " out of range");
    return ParseResult::Corrupt;
  }
  info.m_recordSize = static_cast<uint32_t>(recordSize);
  const uint64_t clusters = info.m_totalSectors / info.m_sectorsPerCluster;
  if (info.m_mftCluster == 0 || info.m_mftCluster >= clusters || info.m_mftMirrorCluster >= clusters) {
    Fail(why, "$MFT or $MFTMirr cluster past the volume end");
    return ParseResult::Corrupt;
  }
  out = info;
  return ParseResult::Ok;
}

NtfsVolume::NtfsVolume(SectorReader &reader, uint64_t volumeSectors)
    : m_reader(reader), m_volumeSectors(volumeSectors) {}

bool NtfsVolume::ReadSectors(uint64_t first, uint64_t count, uint8_t *buffer) {
  bool ok = true;
  while (count) {
    const uint64_t n = std::min(count, kMaxTransferSectors);
    if (!m_reader.ReadSectors(first, static_cast<uint32_t>(n), buffer)) {
      std::memset(buffer, 0, n * kSectorSize);
      if (m_readErrorSink) m_readErrorSink(m_reader.StartSector() + first, n);
      ok = false;
    }
    first += n;
    count -= n;
    buffer += n * kSectorSize;
  }
  return ok;
}

bool NtfsVolume::ReadClusters(uint64_t lcn, uint64_t count, uint8_t *buffer) {
  return ReadSectors(lcn * m_boot.m_sectorsPerCluster, count * m_boot.m_sectorsPerCluster, buffer);
}

bool NtfsVolume::TryBootSector(uint64_t sector) {
  uint8_t bytes[kSectorSize];
  if (!ReadSectors(sector, 1, bytes)) return false;
  NtfsBootInfo info;
  if (ParseNtfsBootSector(bytes, info) != ParseResult::Ok) return false;
  m_boot = info;
  return true;
}

bool NtfsVolume::ReadBootSector() {
  m_usedBackup = false;
  if (TryBootSector(0)) return true;
  // The backup is the volume's last sector: from the partition extent, or
  // from the device size when the extent is not known.
  uint64_t sectors = m_volumeSectors;
  if (sectors == 0) {
    SectorDevice *device = m_reader.Io().Devices().Device(m_reader.DriveCode());
    const uint64_t bytes = device ? device->SizeInBytes() : 0;
    if (bytes / kSectorSize > m_reader.StartSector()) sectors = bytes / kSectorSize - m_reader.StartSector();
  }
  if (sectors < 2) return false;
  m_usedBackup = TryBootSector(sectors - 1);
  return m_usedBackup;
}

bool NtfsVolume::MftOffsetToSector(uint64_t offset, uint64_t &sector, uint64_t &contiguousBytes) const {
  const uint64_t clusterSize = ClusterSize();
  if (clusterSize == 0 || m_mftRuns.empty()) return false;
  const uint64_t vcn = offset / clusterSize;
  auto it = std::upper_bound(m_mftRuns.begin(), m_mftRuns.end(), vcn,
                             [](uint64_t v, const DataRun &run) { return v < run.m_vcn; });
  if (it == m_mftRuns.begin()) return false;
  const DataRun &run = *(it - 1);
  if (vcn >= run.m_vcn + run.m_clusters || run.m_sparse) return false;
  const uint64_t inRun = offset - run.m_vcn * clusterSize;
  sector = run.m_lcn * m_boot.m_sectorsPerCluster + inRun / kSectorSize;
  contiguousBytes = run.m_clusters * clusterSize - inRun;
  return true;
}

bool NtfsVolume::ReadMftRecords(uint64_t first, uint64_t count, uint8_t *buffer) {
  uint64_t offset = first * m_boot.m_recordSize;
  uint64_t remaining = count * m_boot.m_recordSize;
  bool ok = true;
  while (remaining) {
    uint64_t sector = 0;
    uint64_t contiguous = 0;
    if (!MftOffsetToSector(offset, sector, contiguous)) {
      std::memset(buffer, 0, remaining);
      return false;
    }
    const uint64_t n = std::min(remaining, contiguous);
    ok = ReadSectors(sector, n / kSectorSize, buffer) && ok;
    offset += n;
    remaining -= n;
    buffer += n;
  }
  return ok;
}

ParseResult NtfsVolume::ReadRecord(uint64_t record, std::vector<uint8_t> &bytes, FileRecordInfo &info,
                                   std::string *why) {
  bytes.assign(m_boot.m_recordSize, 0);
  if (record >= m_recordCount && !m_mftRuns.empty()) {
    Fail(why, "record " + std::to_string(record) + " past the end of $MFT");
    return ParseResult::Corrupt;
  }
  if (!ReadMftRecords(record, 1, bytes.data())) {
    Fail(why, "record " + std::to_string(record) + " could not be read");
    return ParseResult::Corrupt;
  }
  const ParseResult fixed = ApplyRecordFixups(bytes.data(), bytes.size(), why);
  if (fixed != ParseResult::Ok) return fixed;
  return ParseFileRecord(bytes.data(), bytes.size(), info, why);
}

ParseResult NtfsVolume::LoadAttributeList(const uint8_t *record, const FileRecordInfo &info,
                                          std::vector<AttributeListEntry> &out, std::string *why) {
  const AttributeExtent &list = info.m_attributeList;
  if (list.m_resident) return ParseAttributeList(record + list.m_valueOffset, list.m_valueLength, out, why);
  const NonResidentHeader &nr = list.m_nonResident;
  if (nr.m_dataSize > kMaxAttributeListBytes) {
    Fail(why, "attribute list of " + std::to_string(nr.m_dataSize) + " bytes is too long");
    return ParseResult::Corrupt;
  }
  std::vector<DataRun> runs;
  const ParseResult decoded = DecodeRunList(record + nr.m_runsOffset, nr.m_runsLength, 0, runs, why);
  if (decoded != ParseResult::Ok) return decoded;
  std::vector<uint8_t> bytes;
  for (const DataRun &run : runs) {
    if (bytes.size() >= nr.m_dataSize) break;
    const size_t start = bytes.size();
    const uint64_t clusters = std::min<uint64_t>(run.m_clusters, (nr.m_dataSize - start) / ClusterSize() + 1);
    bytes.resize(start + clusters * ClusterSize(), 0);
    if (!run.m_sparse) ReadClusters(run.m_lcn, clusters, bytes.data() + start);
  }
  if (bytes.size() < nr.m_dataSize) {
    Fail(why, "attribute list runs shorter than its size");
    return ParseResult::Corrupt;
  }
  return ParseAttributeList(bytes.data(), static_cast<size_t>(nr.m_dataSize), out, why);
}

bool NtfsVolume::AddDataExtents(const uint8_t *record, const FileRecordInfo &info, std::string *why) {
  for (const AttributeExtent &extent : info.m_data) {
    if (extent.m_resident) return Fail(why, "$MFT data is resident");
    const NonResidentHeader &nr = extent.m_nonResident;
    Extent piece{nr.m_firstVcn, {}};
    if (DecodeRunList(record + nr.m_runsOffset, nr.m_runsLength, nr.m_firstVcn, piece.m_runs, why) !=
        ParseResult::Ok)
      return false;
    if (nr.m_firstVcn == 0) m_mftDataSize = nr.m_dataSize;
    m_extents.push_back(std::move(piece));
  }
  return true;
}

// Joins the extents in cluster order as far as they follow on without a gap.
void NtfsVolume::AssembleMftRuns() {
  std::sort(m_extents.begin(), m_extents.end(),
            [](const Extent &a, const Extent &b) { return a.m_firstVcn < b.m_firstVcn; });
  m_mftRuns.clear();
  uint64_t nextVcn = 0;
  for (const Extent &extent : m_extents) {
    if (extent.m_firstVcn != nextVcn) break;
    for (const DataRun &run : extent.m_runs) m_mftRuns.push_back(run);
    nextVcn = extent.m_firstVcn + RunListClusters(extent.m_runs);
  }
  const uint64_t endVcn = std::min(nextVcn, ClampMftRuns());
  const uint64_t bytes = std::min(m_mftDataSize, endVcn * ClusterSize());
  m_recordCount = bytes / m_boot.m_recordSize;
  if (!m_mftClampNote.empty())
    m_mftClampNote += ": " + std::to_string(m_recordCount) + " records are searched";
}

// The sectors the volume can be read over: its boot sector's count, less
// where the partition or the device is known to end sooner.
uint64_t NtfsVolume::KnownVolumeSectors() {
  uint64_t sectors = m_boot.m_totalSectors;
  if (m_volumeSectors != 0) sectors = std::min(sectors, m_volumeSectors);
  SectorDevice *device = m_reader.Io().Devices().Device(m_reader.DriveCode());
  const uint64_t deviceSectors = device ? device->SizeInBytes() / kSectorSize : 0;
  if (deviceSectors > m_reader.StartSector())
    sectors = std::min(sectors, deviceSectors - m_reader.StartSector());
  return sectors;
}

// A damaged run list can give $MFT runs of billions of clusters: the walk
// would then try billions of records that are not there, a failed read for
// each. $MFT lies inside the volume, so a run is cut at the volume's end and
// one that starts past it is taken as a hole. Returns the end (in clusters
// of $MFT) of the last run that is left.
uint64_t NtfsVolume::ClampMftRuns() {
  m_mftClampNote.clear();
  const uint64_t spc = m_boot.m_sectorsPerCluster;
  const uint64_t clusters = spc == 0 ? 0 : KnownVolumeSectors() / spc;
  uint64_t end = 0;
  if (clusters == 0) {
    // No size is known to cut at (a scan file that gives none).
    for (const DataRun &run : m_mftRuns)
      if (!run.m_sparse) end = run.m_vcn + run.m_clusters;
    return end;
  }
  bool clamped = false;
  for (DataRun &run : m_mftRuns) {
    if (run.m_sparse) continue;
    if (run.m_vcn >= clusters || run.m_lcn >= clusters) {
      run.m_sparse = true;
      clamped = true;
      continue;
    }
    const uint64_t room = std::min(clusters - run.m_lcn, clusters - run.m_vcn);
    if (run.m_clusters > room) {
      run.m_clusters = room;
      clamped = true;
    }
    end = run.m_vcn + run.m_clusters;
  }
  if (clamped)
    m_mftClampNote = "$MFT runs reach past the end of the volume (" + std::to_string(clusters) +
                     " clusters) and were cut there";
  return end;
}

std::vector<MftRunEntry> NtfsVolume::MftRunEntries() const {
  std::vector<MftRunEntry> entries;
  size_t covered = 0;
  for (const Extent &extent : m_extents) {
    if (covered >= m_mftRuns.size()) break;
    const std::vector<MftRunEntry> piece = ToMftRunEntries(extent.m_runs, m_boot.m_sectorsPerCluster);
    entries.insert(entries.end(), piece.begin(), piece.end());
    covered += extent.m_runs.size();
  }
  return entries;
}

bool NtfsVolume::LoadMftRunsFrom(uint64_t cluster, std::string *why) {
  m_extents.clear();
  m_mftRuns.clear();
  m_recordCount = 0;
  m_mftDataSize = 0;
  std::vector<uint8_t> record(m_boot.m_recordSize);
  if (!ReadSectors(cluster * m_boot.m_sectorsPerCluster, record.size() / kSectorSize, record.data()))
    return Fail(why, "$MFT record could not be read");
  FileRecordInfo info;
  if (ApplyRecordFixups(record.data(), record.size(), why) != ParseResult::Ok ||
      ParseFileRecord(record.data(), record.size(), info, why) != ParseResult::Ok)
    return false;
  if (!AddDataExtents(record.data(), info, why)) return false;
  AssembleMftRuns();
  if (info.m_hasAttributeList) {
    std::vector<AttributeListEntry> entries;
    if (LoadAttributeList(record.data(), info, entries, why) != ParseResult::Ok) return false;
    // The list names the base record itself for the extent it holds; that
    // one was decoded above and must not be decoded again.
    std::set<uint64_t> decoded{0};
    for (const AttributeListEntry &entry : entries) {
      if (entry.m_type != kNtfsAttrData || entry.m_nameLength != 0) continue;
      if (!decoded.insert(entry.m_record.m_record).second) continue;
      std::vector<uint8_t> extension;
      FileRecordInfo extensionInfo;
      if (ReadRecord(entry.m_record.m_record, extension, extensionInfo, why) != ParseResult::Ok) break;
      if (!AddDataExtents(extension.data(), extensionInfo, why)) break;
      AssembleMftRuns();
    }
  }
  if (m_recordCount == 0) return Fail(why, "$MFT run list covers no record");
  return true;
}

bool NtfsVolume::LoadMftRuns(std::string *why) {
  if (LoadMftRunsFrom(m_boot.m_mftCluster, why)) return true;
  // $MFTMirr holds copies of the first records, among them $MFT's own.
  return LoadMftRunsFrom(m_boot.m_mftMirrorCluster, why);
}

bool NtfsVolume::RestoreMftRuns(const NtfsBootInfo &boot, const std::vector<MftRunEntry> &entries,
                                std::string *why) {
  if (boot.m_sectorsPerCluster == 0 || boot.m_recordSize == 0) return Fail(why, "no cluster or record size");
  std::vector<Extent> extents;
  uint64_t vcn = 0;
  int64_t lcn = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const MftRunEntry &entry = entries[i];
    if (entry.m_mark != 'S' && entry.m_mark != 'M')
      return Fail(why, "run entry " + std::to_string(i) + " has mark " + std::to_string(entry.m_mark));
    if (i == 0 && entry.m_mark != 'S') return Fail(why, "run list does not start with an 'S' entry");
    if (entry.m_width > 4) return Fail(why, "run entry " + std::to_string(i) + " cluster field too wide");
    if (entry.m_sectors == 0 || entry.m_sectors % boot.m_sectorsPerCluster != 0)
      return Fail(why, "run entry " + std::to_string(i) + " of " + std::to_string(entry.m_sectors) +
                           " sectors is no whole number of clusters");
    if (entry.m_mark == 'S') {
      extents.push_back(Extent{vcn, {}});
      lcn = 0;
    }
    DataRun run;
    run.m_vcn = vcn;
    run.m_clusters = entry.m_sectors / boot.m_sectorsPerCluster;
    run.m_deltaWidth = entry.m_width;
    run.m_sparse = entry.m_width == 0;
    if (!run.m_sparse) {
      const unsigned bits = 8u * entry.m_width;
      int64_t delta = static_cast<int64_t>(entry.m_rawCluster);
      if (bits < 64 && (entry.m_rawCluster >> (bits - 1)) & 1) delta -= int64_t{1} << bits;
      run.m_lcnDelta = delta;
      lcn += delta;
      if (lcn < 0) return Fail(why, "run entry " + std::to_string(i) + " starts before the volume");
      run.m_lcn = static_cast<uint64_t>(lcn);
    }
    vcn += run.m_clusters;
    extents.back().m_runs.push_back(run);
  }
  m_boot = boot;
  m_extents = std::move(extents);
  m_mftDataSize = vcn * ClusterSize();
  AssembleMftRuns();
  return true;
}

#include "NtfsScanFile.h"

#include "NtfsAdvancedEngine.h"

#include <algorithm>
#include <new>

namespace {

constexpr uint32_t kMaxSectorsPerCluster = 4096; // 2 MB clusters
constexpr uint32_t kDefaultRecordSize = 1024;

NtfsScanHeader HeaderOf(NtfsScanEngine &engine) {
  NtfsVolume &volume = engine.Volume();
  const NtfsBootInfo &boot = volume.Boot();
  NtfsScanHeader header;
  header.m_driveCode = volume.Reader().DriveCode();
  header.m_sectorsPerCluster = static_cast<uint16_t>(boot.m_sectorsPerCluster);
  header.m_volumeStart = volume.Reader().StartSector();
  header.m_totalSectors = boot.m_totalSectors;
  header.m_volumeSectors = volume.VolumeSectors();
  header.m_mftSector = boot.m_mftCluster * boot.m_sectorsPerCluster;
  header.m_mftMirrorSector = boot.m_mftMirrorCluster * boot.m_sectorsPerCluster;
  header.m_runCount = static_cast<uint32_t>(engine.RunArray().size());
  header.m_runBytes = header.m_runCount * static_cast<uint32_t>(kMftRunEntrySize);
  uint64_t sectors = 0;
  for (const MftRunEntry &entry : engine.RunArray()) sectors += entry.m_sectors;
  header.m_runSectors = static_cast<uint32_t>(std::min<uint64_t>(sectors, 0xFFFFFFFFu));
  header.m_mapSize = static_cast<uint32_t>(engine.ClusterUseMap().size());
  // Kept only where it differs from what older files imply, so files of
  // ordinary volumes stay byte for byte what they were.
  header.m_recordSize = boot.m_recordSize == kDefaultRecordSize ? 0 : boot.m_recordSize;
  return header;
}

void WriteNtfsTables(NtfsScanEngine &engine, ScanFileSink &sink) {
  std::vector<uint8_t> runs(engine.RunArray().size() * kMftRunEntrySize);
  for (size_t i = 0; i < engine.RunArray().size(); ++i)
    SerialiseMftRunEntry(engine.RunArray()[i], runs.data() + i * kMftRunEntrySize);
  sink.Write(runs.data(), runs.size());
  sink.Write(engine.ClusterUseMap().data(), engine.ClusterUseMap().size());
}

// The clusters the volume can have; the map may not describe more.
uint64_t VolumeClusters(const NtfsScanHeader &header) {
  const uint64_t sectors = std::max<uint64_t>(header.m_volumeSectors, uint64_t{header.m_totalSectors} + 1);
  return sectors / header.m_sectorsPerCluster + 1;
}

std::string CheckHeader(const NtfsScanHeader &header, NtfsScanEngine &engine, uint64_t remaining) {
  const uint32_t spc = header.m_sectorsPerCluster;
  if (spc == 0 || spc > kMaxSectorsPerCluster || (spc & (spc - 1)) != 0)
    return "sectors per cluster " + std::to_string(spc);
  const uint32_t record = header.m_recordSize;
  if (record != 0 && (record < 512 || record > 65536 || (record & (record - 1)) != 0))
    return "FILE record size " + std::to_string(record);
  if (uint64_t{header.m_runCount} * kMftRunEntrySize != header.m_runBytes)
    return "run bytes " + std::to_string(header.m_runBytes) + " for " + std::to_string(header.m_runCount) +
           " runs";
  if (header.m_runBytes > remaining)
    return "run array of " + std::to_string(header.m_runBytes) + " bytes, only " + std::to_string(remaining) +
           " in the file";
  if (header.m_mapSize > VolumeClusters(header))
    return "cluster map of " + std::to_string(header.m_mapSize) + " bytes for " +
           std::to_string(VolumeClusters(header)) + " clusters";
  if (header.m_mapSize > remaining - header.m_runBytes)
    return "cluster map of " + std::to_string(header.m_mapSize) + " bytes, only " +
           std::to_string(remaining - header.m_runBytes) + " in the file";
  SectorReader &reader = engine.Volume().Reader();
  if (header.m_driveCode != reader.DriveCode() || header.m_volumeStart != reader.StartSector())
    return "saved for drive " + std::to_string(header.m_driveCode) + " at sector " +
           std::to_string(header.m_volumeStart) + ", the engine reads drive " +
           std::to_string(reader.DriveCode()) + " at sector " + std::to_string(reader.StartSector());
  return CheckScanTargetFitsDrive(reader, header.m_volumeSectors);
}

std::string RestoreNtfsTables(NtfsScanEngine &engine, const uint8_t *bytes, ScanFileSource &source,
                              uint32_t &progressRange) {
  NtfsScanHeader header;
  if (ParseNtfsScanHeader(bytes, kScanHeaderSize, header) != ParseResult::Ok) return "no signature text";
  std::string why = CheckHeader(header, engine, source.Remaining());
  if (!why.empty()) return why;
  std::vector<uint8_t> runBytes, map;
  try {
    runBytes.assign(header.m_runBytes, 0);
    map.assign(header.m_mapSize, 0);
  } catch (const std::bad_alloc &) {
    return "not enough memory for the run array and map";
  }
  if (source.Read(runBytes.data(), runBytes.size()) != runBytes.size() ||
      source.Read(map.data(), map.size()) != map.size())
    return "run array or map cut short";
  std::vector<MftRunEntry> runs(header.m_runCount);
  for (size_t i = 0; i < runs.size(); ++i)
    if (ParseMftRunEntry(runBytes.data() + i * kMftRunEntrySize, kMftRunEntrySize, runs[i]) !=
        ParseResult::Ok)
      return "run entry " + std::to_string(i) + " unreadable";
  NtfsBootInfo boot;
  boot.m_sectorsPerCluster = header.m_sectorsPerCluster;
  // Files written before the high word was kept give a volume past 2^32
  // sectors its count from the extent.
  boot.m_totalSectors = (header.m_totalSectors >> 32) == 0 && header.m_volumeSectors > 0xFFFFFFFFu
                            ? header.m_volumeSectors - 1
                            : header.m_totalSectors;
  boot.m_mftCluster = header.m_mftSector / header.m_sectorsPerCluster;
  boot.m_mftMirrorCluster = header.m_mftMirrorSector / header.m_sectorsPerCluster;
  boot.m_recordSize = header.m_recordSize == 0 ? kDefaultRecordSize : header.m_recordSize;
  if (!engine.Volume().RestoreMftRuns(boot, runs, &why)) return why;
  engine.RestoreScanTables(std::move(runs), std::move(map));
  progressRange = header.m_runSectors / 2;
  return {};
}

} // namespace

void SerialiseNtfsScanHeader(const NtfsScanHeader &header, uint8_t *out) {
  std::fill(out, out + kScanHeaderSize, 0);
  out[0] = header.m_driveCode;
  WriteLe16(out + 1, header.m_sectorsPerCluster);
  WriteLe32(out + 3, static_cast<uint32_t>(header.m_volumeStart));
  WriteLe32(out + 7, static_cast<uint32_t>(header.m_totalSectors));
  WriteLe64(out + 11, header.m_volumeSectors);
  WriteLe32(out + 19, static_cast<uint32_t>(header.m_mftSector));
  WriteLe32(out + 23, static_cast<uint32_t>(header.m_mftMirrorSector));
  WriteLe32(out + 27, header.m_runCount);
  WriteLe32(out + 31, header.m_runBytes);
  WriteLe32(out + 35, header.m_runSectors);
  WriteLe32(out + 39, header.m_mapSize);
  WriteLe32(out + 43, header.m_mapSize);
  WriteLe32(out + 47, header.m_mapSize);
  PutScanSignature(out, kNtfsScanSignatureOffset, kNtfsScanSignature);
  WriteLe32(out + kNtfsVolumeStartHighOffset, static_cast<uint32_t>(header.m_volumeStart >> 32));
  WriteLe32(out + kNtfsTotalSectorsHighOffset, static_cast<uint32_t>(header.m_totalSectors >> 32));
  WriteLe32(out + kNtfsMftSectorHighOffset, static_cast<uint32_t>(header.m_mftSector >> 32));
  WriteLe32(out + kNtfsMftMirrorSectorHighOffset, static_cast<uint32_t>(header.m_mftMirrorSector >> 32));
  WriteLe32(out + kNtfsRecordSizeOffset, header.m_recordSize);
}

ParseResult ParseNtfsScanHeader(const uint8_t *bytes, size_t length, NtfsScanHeader &out) {
  out = NtfsScanHeader{};
  if (length < kScanHeaderSize ||
      !HasScanSignature(bytes, length, kNtfsScanSignatureOffset, kNtfsScanSignature))
    return ParseResult::NotThisStructure;
  out.m_driveCode = bytes[0];
  out.m_sectorsPerCluster = ReadLe16(bytes + 1);
  out.m_volumeStart = ReadLe32(bytes + 3) | uint64_t{ReadLe32(bytes + kNtfsVolumeStartHighOffset)} << 32;
  out.m_totalSectors = ReadLe32(bytes + 7) | uint64_t{ReadLe32(bytes + kNtfsTotalSectorsHighOffset)} << 32;
  out.m_volumeSectors = ReadLe64(bytes + 11);
  out.m_mftSector = ReadLe32(bytes + 19) | uint64_t{ReadLe32(bytes + kNtfsMftSectorHighOffset)} << 32;
  out.m_mftMirrorSector = ReadLe32(bytes + 23) | uint64_t{ReadLe32(bytes + kNtfsMftMirrorSectorHighOffset)}
                                                     << 32;
  out.m_runCount = ReadLe32(bytes + 27);
  out.m_runBytes = ReadLe32(bytes + 31);
  out.m_runSectors = ReadLe32(bytes + 35);
  out.m_mapSize = ReadLe32(bytes + 39);
  out.m_recordSize = ReadLe32(bytes + kNtfsRecordSizeOffset);
  return ParseResult::Ok;
}

uint32_t NtfsScanFileCannotHold(NtfsScanEngine &engine) {
  if (engine.ClusterUseMap().size() > 0xFFFFFFFFu) return ScanText::kScanFileCannotHoldMap;
  const uint32_t spc = engine.Volume().Boot().m_sectorsPerCluster;
  if (engine.RunArray().size() > 0xFFFFFFFFu / kMftRunEntrySize) return ScanText::kScanFileCannotHoldMftRuns;
  for (const DataRun &run : engine.Volume().MftRuns())
    if (!MftRunEntryHolds(run, spc)) return ScanText::kScanFileCannotHoldMftRuns;
  return 0;
}

bool SaveNtfsScanFile(NtfsScanEngine &engine, EngineServices &services, const std::u16string &path,
                      const std::vector<ScanFileEntry> &entries) {
  ScanFileSaveJob job;
  job.m_cannotHold = NtfsScanFileCannotHold(engine);
  job.m_header.assign(kScanHeaderSize, 0);
  SerialiseNtfsScanHeader(HeaderOf(engine), job.m_header.data());
  job.m_writeTables = [&engine](ScanFileSink &sink) { WriteNtfsTables(engine, sink); };
  return SaveScanFile(services, path, job, entries);
}

bool LoadNtfsScanData(NtfsScanEngine &engine, EngineServices &services, ScanFileSource &source,
                      const std::u16string &name) {
  ScanFileLoadJob job;
  job.m_signature = kNtfsScanSignature;
  job.m_signatureOffset = kNtfsScanSignatureOffset;
  job.m_pacer = &engine.Pacer();
  job.m_restoreTables = [&engine](const uint8_t *header, ScanFileSource &from, uint32_t &range) {
    return RestoreNtfsTables(engine, header, from, range);
  };
  // An advanced search lists its hits as "<own id>.<extension>" in the
  // type folders of the raw-data folder; an engine that can read them again
  // gets them back.
  ScanHitCollector hits(kNtfsRawFolderId, true);
  job.m_onEntry = [&hits](const EntryRecord &record, const std::u16string &name) { hits.Take(record, name); };
  job.m_finish = [&engine, &hits](const ScanLoadTotals &totals) {
    engine.RestoreScanTotals(totals.m_found, totals.m_folders, totals.m_files, totals.m_bytes);
    if (auto *advanced = dynamic_cast<NtfsAdvancedEngine *>(&engine))
      advanced->RestoreSignatureHits(std::move(hits.Hits()));
  };
  return LoadScanFile(services, &source, name, job);
}

bool LoadNtfsScanFile(NtfsScanEngine &engine, EngineServices &services, const std::u16string &path) {
  FileScanFileSource source(path);
  if (!source.IsOpen()) return LoadScanFile(services, nullptr, path, ScanFileLoadJob{});
  return LoadNtfsScanData(engine, services, source, path);
}

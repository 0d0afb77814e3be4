#include "FatScanFile.h"

#include <algorithm>
#include <new>
#include <unordered_map>

namespace {

constexpr uint32_t kLoadProgressRange = 25000;
// Largest cluster-use map another writer may have made: FAT12's 768 entries
// per FAT sector, plus one.
constexpr uint64_t kMapEntriesPerFatSector = 768;

FatScanHeader HeaderOf(FatScanEngine &engine, uint32_t foundEntries) {
  FatVolume &volume = engine.Volume();
  const BootParameters &boot = volume.Parameters();
  FatScanHeader header;
  header.m_driveCode = volume.Reader().DriveCode();
  header.m_sectorsPerCluster = boot.m_sectorsPerCluster;
  header.m_partitionStart = volume.Reader().StartSector();
  header.m_sectors = static_cast<uint32_t>(volume.DriveSectors());
  header.m_kind = static_cast<uint8_t>(boot.m_kind);
  header.m_chainMode = static_cast<uint8_t>(volume.ChainMode());
  header.m_fatSize = boot.m_fatSize;
  header.m_rootCluster = boot.m_rootCluster;
  header.m_reservedSectors = boot.m_reservedSectors;
  header.m_rootDirectorySectors = boot.m_rootDirectorySectors;
  header.m_foundEntries = foundEntries;
  header.m_volumeSectors = boot.m_totalSectors;
  header.m_reservedWord = boot.m_fatCount;
  header.m_mapSize = volume.Table().IsLoaded() ? volume.Map().MaxCluster() + 1 : 0;
  return header;
}

void WriteFatTables(FatVolume &volume, uint32_t mapSize, ScanFileSink &sink) {
  const std::vector<uint8_t> &fat = volume.Table().Bytes();
  const uint64_t fatBytes = uint64_t{volume.Parameters().m_fatSize} * 512;
  const size_t held = static_cast<size_t>(std::min<uint64_t>(fat.size(), fatBytes));
  sink.Write(fat.data(), held);
  sink.WriteZeros(fatBytes - held);
  std::vector<uint8_t> piece;
  for (uint64_t first = 0; first < mapSize && !sink.Failed(); first += 65536) {
    const uint64_t end = std::min<uint64_t>(mapSize, first + 65536);
    piece.assign(static_cast<size_t>(end - first), 0);
    for (uint64_t cluster = std::max<uint64_t>(first, 2); cluster < end; ++cluster)
      piece[static_cast<size_t>(cluster - first)] = volume.IsClusterInUse(cluster) ? 1 : 0;
    sink.Write(piece.data(), piece.size());
  }
}

// Reads the FAT copy and the map after the header; empty text when both are sound.
std::string ReadFatTables(const FatScanHeader &header, const BootParameters &boot, ScanFileSource &source,
                          std::vector<uint8_t> &fat, std::vector<uint8_t> &map) {
  const uint64_t fatBytes = uint64_t{header.m_fatSize} * 512;
  if (fatBytes > source.Remaining())
    return "FAT copy of " + std::to_string(fatBytes) + " bytes, only " + std::to_string(source.Remaining()) +
           " in the file";
  const uint64_t held =
      std::min<uint64_t>(fatBytes, (FatBytesNeeded(boot.m_kind, boot.MaxCluster()) + 511) / 512 * 512);
  const uint64_t mapCap =
      std::max<uint64_t>(uint64_t{boot.MaxCluster()} + 1, kMapEntriesPerFatSector * header.m_fatSize + 1);
  if (header.m_mapSize > mapCap)
    return "cluster map of " + std::to_string(header.m_mapSize) + " bytes for " +
           std::to_string(boot.MaxCluster()) + " clusters";
  if (fatBytes + header.m_mapSize > source.Remaining())
    return "cluster map of " + std::to_string(header.m_mapSize) + " bytes, only " +
           std::to_string(source.Remaining() - fatBytes) + " in the file";
  const uint64_t mapKept = std::min<uint64_t>(header.m_mapSize, uint64_t{boot.MaxCluster()} + 1);
  try {
    fat.assign(static_cast<size_t>(held), 0);
    map.assign(static_cast<size_t>(mapKept), 0);
  } catch (const std::bad_alloc &) {
    return "not enough memory for the FAT copy and map";
  }
  if (source.Read(fat.data(), fat.size()) != fat.size() || !source.Skip(fatBytes - held) ||
      source.Read(map.data(), map.size()) != map.size() || !source.Skip(header.m_mapSize - mapKept))
    return "FAT copy or map cut short";
  return {};
}

std::string RestoreFatTables(FatScanEngine &engine, const uint8_t *bytes, ScanFileSource &source) {
  FatScanHeader header;
  if (ParseFatScanHeader(bytes, kScanHeaderSize, header) != ParseResult::Ok) return "no signature text";
  if (IsPhysicalDiskScanHeader(header)) return "a physical-disk scan, not a volume's";
  BootParameters boot;
  std::string why;
  if (!FatBootFromScanHeader(header, boot, why)) return why;
  if (header.m_chainMode > static_cast<uint8_t>(FatChainMode::NoFat))
    return "chain mode " + std::to_string(header.m_chainMode);
  FatVolume &volume = engine.Volume();
  if (header.m_driveCode != volume.Reader().DriveCode() ||
      header.m_partitionStart != volume.Reader().StartSector())
    return "saved for drive " + std::to_string(header.m_driveCode) + " at sector " +
           std::to_string(header.m_partitionStart) + ", the engine reads drive " +
           std::to_string(volume.Reader().DriveCode()) + " at sector " +
           std::to_string(volume.Reader().StartSector());
  why = CheckScanTargetFitsDrive(volume.Reader(), header.m_volumeSectors);
  if (!why.empty()) return why;
  std::vector<uint8_t> fat, map;
  why = ReadFatTables(header, boot, source, fat, map);
  if (!why.empty()) return why;
  volume.RestoreState(boot, static_cast<FatChainMode>(header.m_chainMode), std::move(fat), map);
  return {};
}

// Gives the engine its counters back; the deleted files keep the file
// reader from giving one deleted file's clusters to another.
void RestoreFatFound(FatScanEngine &engine, const std::vector<FatFoundFile> &deletedFiles,
                     const std::vector<SignatureHit> &hits, const ScanLoadTotals &loaded) {
  FatSearchTotals totals;
  totals.m_nextId = std::max<uint32_t>(2, loaded.m_highestId + 1);
  totals.m_foundEntries = loaded.m_found;
  totals.m_folders = loaded.m_folders;
  totals.m_files = loaded.m_files;
  totals.m_foundBytes = loaded.m_bytes;
  engine.RestoreFound(totals, deletedFiles, hits);
}

bool SaveFat(FatScanEngine &engine, EngineServices &services, const std::u16string &path,
             const std::vector<ScanFileEntry> &entries, uint64_t failAfter) {
  const FatScanHeader header = HeaderOf(engine, static_cast<uint32_t>(entries.size()));
  ScanFileSaveJob job;
  job.m_header.assign(kScanHeaderSize, 0);
  SerialiseFatScanHeader(header, job.m_header.data());
  job.m_writeTables = [&engine, &header](ScanFileSink &sink) {
    WriteFatTables(engine.Volume(), header.m_mapSize, sink);
  };
  job.m_failAfter = failAfter;
  return SaveScanFile(services, path, job, entries);
}

// The settings under which the FAT engine reads a whole disk a sector at a time.
constexpr uint8_t kDiskScanKind = 2;
constexpr uint8_t kDiskScanChainMode = 2;
constexpr uint32_t kDiskScanFatSize = 1;

std::string RestoreDiskScanTables(PhysicalDiskScan &scan, const uint8_t *bytes, ScanFileSource &source) {
  FatScanHeader header;
  if (ParseFatScanHeader(bytes, kScanHeaderSize, header) != ParseResult::Ok) return "no signature text";
  if (!IsPhysicalDiskScanHeader(header)) return "a volume's scan, not a physical disk's";
  const SectorReader &reader = scan.Reader();
  if (header.m_driveCode != reader.DriveCode() || header.m_partitionStart != reader.StartSector())
    return "saved for drive " + std::to_string(header.m_driveCode) + ", the scan reads drive " +
           std::to_string(reader.DriveCode());
  std::string why = CheckScanTargetFitsDrive(scan.Reader(), header.m_volumeSectors);
  if (!why.empty()) return why;
  // The FAT copy is written even though a disk has none, so it is passed
  // over: the items begin after it.
  const uint64_t tables = uint64_t{header.m_fatSize} * 512 + header.m_mapSize;
  if (!source.Skip(tables))
    return "FAT copy and map of " + std::to_string(tables) + " bytes, only " +
           std::to_string(source.Remaining()) + " in the file";
  return {};
}

} // namespace

FatScanHeader PhysicalDiskScanHeader(const PhysicalDiskScan &scan, uint32_t foundEntries) {
  FatScanHeader header;
  header.m_driveCode = scan.Reader().DriveCode();
  header.m_sectorsPerCluster = 1;
  header.m_partitionStart = scan.Reader().StartSector();
  header.m_sectors = static_cast<uint32_t>(scan.Sectors());
  header.m_kind = kDiskScanKind;
  header.m_chainMode = kDiskScanChainMode;
  header.m_fatSize = kDiskScanFatSize;
  header.m_rootCluster = 1;
  header.m_reservedSectors = 1;
  header.m_rootDirectorySectors = 1;
  header.m_foundEntries = foundEntries;
  header.m_volumeSectors = scan.Sectors();
  return header;
}

bool IsPhysicalDiskScanHeader(const FatScanHeader &header) {
  // No FAT32 volume has a FAT this small (it needs tens of thousands of
  // clusters), so these settings tell a disk's scan from a volume's.
  return header.m_driveCode >= 128 && header.m_kind == kDiskScanKind && header.m_sectorsPerCluster == 1 &&
         header.m_fatSize <= kDiskScanFatSize;
}

bool SavePhysicalDiskScanFile(PhysicalDiskScan &scan, EngineServices &services, const std::u16string &path,
                              const std::vector<ScanFileEntry> &entries) {
  ScanFileSaveJob job;
  job.m_header.assign(kScanHeaderSize, 0);
  SerialiseFatScanHeader(PhysicalDiskScanHeader(scan, static_cast<uint32_t>(entries.size())),
                         job.m_header.data());
  job.m_writeTables = [](ScanFileSink &sink) { sink.WriteZeros(uint64_t{kDiskScanFatSize} * 512); };
  return SaveScanFile(services, path, job, entries);
}

bool LoadPhysicalDiskScanData(PhysicalDiskScan &scan, EngineServices &services, ScanFileSource &source,
                              const std::u16string &name) {
  ScanFileLoadJob job;
  job.m_signature = kFatScanSignature;
  job.m_signatureOffset = kFatScanSignatureOffset;
  job.m_pacer = &scan.Pacer();
  job.m_restoreTables = [&scan](const uint8_t *header, ScanFileSource &from, uint32_t &range) {
    range = kLoadProgressRange;
    return RestoreDiskScanTables(scan, header, from);
  };
  // The scan puts its type folders directly under the root (parent id 0).
  ScanHitCollector hits(0, false);
  job.m_onEntry = [&hits](const EntryRecord &record, const std::u16string &name) { hits.Take(record, name); };
  job.m_finish = [&](const ScanLoadTotals &totals) {
    scan.RestoreHits(std::move(hits.Hits()), totals.m_found, totals.m_folders, totals.m_files, totals.m_bytes,
                     totals.m_highestId + 1);
  };
  return LoadScanFile(services, &source, name, job);
}

bool LoadPhysicalDiskScanFile(PhysicalDiskScan &scan, EngineServices &services, const std::u16string &path) {
  FileScanFileSource source(path);
  if (!source.IsOpen()) return LoadScanFile(services, nullptr, path, ScanFileLoadJob{});
  return LoadPhysicalDiskScanData(scan, services, source, path);
}

void SerialiseFatScanHeader(const FatScanHeader &header, uint8_t *out) {
  std::fill(out, out + kScanHeaderSize, 0);
  out[0] = header.m_driveCode;
  out[1] = header.m_sectorsPerCluster;
  WriteLe32(out + 2, static_cast<uint32_t>(header.m_partitionStart));
  WriteLe32(out + 6, header.m_sectors);
  out[10] = header.m_kind;
  out[11] = header.m_chainMode;
  WriteLe32(out + 12, header.m_fatSize);
  WriteLe32(out + 16, header.m_rootCluster);
  WriteLe32(out + 20, header.m_reservedSectors);
  WriteLe32(out + 24, header.m_rootDirectorySectors);
  WriteLe32(out + 28, header.m_foundEntries);
  WriteLe64(out + 32, header.m_volumeSectors);
  WriteLe32(out + 40, header.m_reservedWord);
  WriteLe32(out + 44, header.m_mapSize);
  PutScanSignature(out, kFatScanSignatureOffset, kFatScanSignature);
  WriteLe32(out + kFatPartitionStartHighOffset, static_cast<uint32_t>(header.m_partitionStart >> 32));
}

ParseResult ParseFatScanHeader(const uint8_t *bytes, size_t length, FatScanHeader &out) {
  out = FatScanHeader{};
  if (length < kScanHeaderSize ||
      !HasScanSignature(bytes, length, kFatScanSignatureOffset, kFatScanSignature))
    return ParseResult::NotThisStructure;
  out.m_driveCode = bytes[0];
  out.m_sectorsPerCluster = bytes[1];
  out.m_partitionStart = ReadLe32(bytes + 2) | uint64_t{ReadLe32(bytes + kFatPartitionStartHighOffset)} << 32;
  out.m_sectors = ReadLe32(bytes + 6);
  out.m_kind = bytes[10];
  out.m_chainMode = bytes[11];
  out.m_fatSize = ReadLe32(bytes + 12);
  out.m_rootCluster = ReadLe32(bytes + 16);
  out.m_reservedSectors = ReadLe32(bytes + 20);
  out.m_rootDirectorySectors = ReadLe32(bytes + 24);
  out.m_foundEntries = ReadLe32(bytes + 28);
  out.m_volumeSectors = ReadLe64(bytes + 32);
  out.m_reservedWord = ReadLe32(bytes + 40);
  out.m_mapSize = ReadLe32(bytes + 44);
  return ParseResult::Ok;
}

bool FatBootFromScanHeader(const FatScanHeader &header, BootParameters &out, std::string &why) {
  // The header's fields are put into a boot sector and judged by the same
  // checks as a volume's own, so a damaged header cannot set up a volume the
  // search would have refused.
  if (header.m_kind > static_cast<uint8_t>(FatKind::Fat32)) {
    why = "FAT kind " + std::to_string(header.m_kind);
    return false;
  }
  const bool fat32 = header.m_kind == static_cast<uint8_t>(FatKind::Fat32);
  const uint32_t fatCount = header.m_reservedWord == 0 ? 2 : header.m_reservedWord;
  if (header.m_reservedSectors > 0xFFFF || header.m_rootDirectorySectors > 0xFFFF / 16 ||
      header.m_volumeSectors > 0xFFFFFFFFu || fatCount > 4 || (!fat32 && header.m_fatSize > 0xFFFF)) {
    why = "geometry fields out of range";
    return false;
  }
  uint8_t boot[512] = {};
  WriteLe16(boot + 11, 512);
  boot[13] = header.m_sectorsPerCluster;
  WriteLe16(boot + 14, static_cast<uint16_t>(header.m_reservedSectors));
  boot[16] = static_cast<uint8_t>(fatCount);
  WriteLe16(boot + 17, static_cast<uint16_t>(fat32 ? 0 : header.m_rootDirectorySectors * 16));
  boot[21] = 0xF8;
  WriteLe32(boot + 32, static_cast<uint32_t>(header.m_volumeSectors));
  if (fat32) {
    WriteLe32(boot + 36, header.m_fatSize);
    WriteLe32(boot + 44, header.m_rootCluster);
  } else {
    WriteLe16(boot + 22, static_cast<uint16_t>(header.m_fatSize));
  }
  boot[510] = 0x55;
  boot[511] = 0xAA;
  const BootCheck check = DeriveFatKind(boot, sizeof boot, out);
  if (check.m_result != ParseResult::Ok) {
    why = "volume geometry refused: " + check.m_reason;
    return false;
  }
  if (static_cast<uint8_t>(out.m_kind) != header.m_kind) {
    why = std::string("kind ") + FatKindName(static_cast<FatKind>(header.m_kind)) +
          " does not match a volume of " + std::to_string(out.m_clusterCount) + " clusters";
    return false;
  }
  return true;
}

bool SaveFatScanFile(FatScanEngine &engine, EngineServices &services, const std::u16string &path,
                     const std::vector<ScanFileEntry> &entries) {
  return SaveFat(engine, services, path, entries, UINT64_MAX);
}

bool SaveFatScanFileFailingAfter(FatScanEngine &engine, EngineServices &services, const std::u16string &path,
                                 const std::vector<ScanFileEntry> &entries, uint64_t failAfter) {
  return SaveFat(engine, services, path, entries, failAfter);
}

bool LoadFatScanData(FatScanEngine &engine, EngineServices &services, ScanFileSource &source,
                     const std::u16string &name) {
  std::vector<FatFoundFile> deletedFiles;
  ScanFileLoadJob job;
  job.m_signature = kFatScanSignature;
  job.m_signatureOffset = kFatScanSignatureOffset;
  job.m_pacer = &engine.Pacer();
  job.m_restoreTables = [&engine](const uint8_t *header, ScanFileSource &from, uint32_t &range) {
    range = kLoadProgressRange;
    return RestoreFatTables(engine, header, from);
  };
  // An advanced search lists its hits as "<first cluster>.<extension>" in
  // the folders of the raw-data folder.
  ScanHitCollector hits(kSpecialFolderId, false);
  job.m_onEntry = [&](const EntryRecord &record, const std::u16string &name) {
    if (!record.IsFolder() && record.m_deleted) {
      // Only FAT32 records keep the creation stamp apart from the write stamp.
      FatEntryTimes times;
      if (engine.Volume().Kind() == FatKind::Fat32)
        times = EntryTimesFromWords(record.m_dateWords[4], record.m_dateWords[5], record.m_dateWords[2],
                                    record.m_dateWords[3]);
      deletedFiles.push_back(
          FatFoundFile{record.m_firstCluster, record.m_size, times, record.m_ownId, record.m_grade});
    }
    hits.Take(record, name);
  };
  job.m_finish = [&](const ScanLoadTotals &totals) {
    RestoreFatFound(engine, deletedFiles, hits.Hits(), totals);
  };
  return LoadScanFile(services, &source, name, job);
}

bool LoadFatScanFile(FatScanEngine &engine, EngineServices &services, const std::u16string &path) {
  FileScanFileSource source(path);
  if (!source.IsOpen()) {
    ScanFileLoadJob job;
    return LoadScanFile(services, nullptr, path, job);
  }
  return LoadFatScanData(engine, services, source, path);
}

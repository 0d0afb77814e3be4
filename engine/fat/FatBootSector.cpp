#include "FatBootSector.h"

namespace {

constexpr size_t kBootSectorSize = 512;

BootCheck Reject(ParseResult result, std::string reason) {
  return BootCheck{result, std::move(reason)};
}

bool IsPowerOfTwo(uint32_t value) {
  return value != 0 && (value & (value - 1)) == 0;
}

void ReadCommonFields(const uint8_t *b, BootParameters &out) {
  out.m_bytesPerSector = ReadLe16(b + 11);   // 11, 2, bytes per sector
  out.m_sectorsPerCluster = b[13];           // 13, 1, sectors per cluster
  out.m_reservedSectors = ReadLe16(b + 14);  // 14, 2, reserved sectors before the first FAT
  out.m_fatCount = b[16];                    // 16, 1, number of FAT copies
  out.m_rootEntries = ReadLe16(b + 17);      // 17, 2, FAT12/16 root folder entries
  const uint16_t total16 = ReadLe16(b + 19); // 19, 2, sector count when it fits 16 bits
  out.m_media = b[21];                       // 21, 1, media descriptor
  const uint16_t fat16 = ReadLe16(b + 22);   // 22, 2, sectors per FAT (FAT12/16)
  const uint32_t total32 = ReadLe32(b + 32); // 32, 4, sector count otherwise
  out.m_totalSectors = total16 != 0 ? total16 : total32;
  out.m_rootDirectorySectors = (out.m_rootEntries * 32 + 511) / 512;
  if (fat16 != 0) {
    out.m_fatSize = fat16;
    out.m_rootCluster = 0;
  } else {
    out.m_fatSize = ReadLe32(b + 36);     // 36, 4, sectors per FAT (FAT32)
    out.m_rootCluster = ReadLe32(b + 44); // 44, 4, first cluster of the root folder (FAT32)
  }
}

// How many cluster entries one FAT copy of the given size can hold.
uint64_t FatCapacity(FatKind kind, uint32_t fatSize) {
  const uint64_t bytes = static_cast<uint64_t>(fatSize) * 512;
  switch (kind) {
  case FatKind::Fat12:
    return bytes * 2 / 3;
  case FatKind::Fat16:
    return bytes / 2;
  case FatKind::Fat32:
    return bytes / 4;
  }
  return 0;
}

BootCheck CheckGeometry(const BootParameters &p) {
  if (p.m_bytesPerSector != 512)
    return Reject(ParseResult::NotThisStructure,
                  "bytes per sector " + std::to_string(p.m_bytesPerSector) + " (only 512 is read)");
  if (!IsPowerOfTwo(p.m_sectorsPerCluster))
    return Reject(ParseResult::NotThisStructure,
                  "sectors per cluster " + std::to_string(p.m_sectorsPerCluster) + " not a power of two");
  if (p.m_reservedSectors == 0) return Reject(ParseResult::NotThisStructure, "no reserved sectors");
  if (p.m_fatCount == 0 || p.m_fatCount > 4)
    return Reject(ParseResult::NotThisStructure, "FAT count " + std::to_string(p.m_fatCount));
  if (p.m_media != 0xF0 && p.m_media < 0xF8)
    return Reject(ParseResult::NotThisStructure, "media byte " + std::to_string(p.m_media));
  if (p.m_fatSize == 0) return Reject(ParseResult::Corrupt, "FAT size 0");
  if (p.m_totalSectors == 0) return Reject(ParseResult::Corrupt, "sector count 0");
  return BootCheck{ParseResult::Ok, {}};
}

} // namespace

const char *FatKindName(FatKind kind) {
  switch (kind) {
  case FatKind::Fat12:
    return "FAT12";
  case FatKind::Fat16:
    return "FAT16";
  case FatKind::Fat32:
    return "FAT32";
  }
  return "FAT";
}

BootCheck DeriveFatKind(const uint8_t *bootSector, size_t length, BootParameters &out) {
  out = BootParameters{};
  if (bootSector == nullptr || length < kBootSectorSize)
    return Reject(ParseResult::NotThisStructure, "boot sector shorter than 512 bytes");
  ReadCommonFields(bootSector, out);
  BootCheck check = CheckGeometry(out);
  if (check.m_result != ParseResult::Ok) return check;

  const bool fat32Layout = ReadLe16(bootSector + 22) == 0;
  if (fat32Layout && out.m_rootEntries != 0)
    return Reject(ParseResult::Corrupt, "FAT32 layout with a fixed root folder");
  if (!fat32Layout && out.m_rootEntries == 0) return Reject(ParseResult::Corrupt, "no root folder entries");
  if (out.FirstDataSector() >= out.m_totalSectors)
    return Reject(ParseResult::Corrupt, "data area starts at sector " +
                                            std::to_string(out.FirstDataSector()) + " past the volume's " +
                                            std::to_string(out.m_totalSectors));

  uint64_t clusters = (out.m_totalSectors - out.FirstDataSector()) / out.m_sectorsPerCluster;
  if (clusters == 0) return Reject(ParseResult::Corrupt, "no data clusters");
  // The entry width follows the cluster count; only the FAT32 layout can
  // address more than the FAT16 limit.
  if (fat32Layout)
    out.m_kind = FatKind::Fat32;
  else if (clusters < kFat12ClusterLimit)
    out.m_kind = FatKind::Fat12;
  else if (clusters < kFat16ClusterLimit)
    out.m_kind = FatKind::Fat16;
  else
    return Reject(ParseResult::Corrupt, std::to_string(clusters) + " clusters do not fit a FAT16 layout");
  if (clusters > kFat32ClusterLimit) clusters = kFat32ClusterLimit;
  // A FAT too short for the data area leaves the clusters it cannot describe unused.
  const uint64_t capacity = FatCapacity(out.m_kind, out.m_fatSize);
  if (capacity < 3) return Reject(ParseResult::Corrupt, "FAT too small to hold a cluster");
  if (clusters > capacity - 2) clusters = capacity - 2;
  out.m_clusterCount = static_cast<uint32_t>(clusters);

  switch (out.m_kind) {
  case FatKind::Fat12:
    out.m_endOfChain = 0xFF8;
    break;
  case FatKind::Fat16:
    out.m_endOfChain = 0xFFF8;
    break;
  case FatKind::Fat32:
    out.m_endOfChain = 0x0FFFFFF8;
    break;
  }
  if (out.m_kind == FatKind::Fat32 && (out.m_rootCluster < 2 || out.m_rootCluster > out.MaxCluster()))
    return Reject(ParseResult::Corrupt, "root cluster " + std::to_string(out.m_rootCluster) + " outside 2.." +
                                            std::to_string(out.MaxCluster()));
  return BootCheck{ParseResult::Ok, {}};
}

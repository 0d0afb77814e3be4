// The boot sector of a FAT12/16/32 volume: its fields, the kind of FAT they
// describe and the checks that tell a real volume from garbage. Pure: the
// volume reads the sector and hands the bytes here.
#pragma once

#include "ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum class FatKind : uint8_t { Fat12 = 0, Fat16 = 1, Fat32 = 2 };

// Cluster counts at which the FAT entry width changes (the published rule).
constexpr uint32_t kFat12ClusterLimit = 4085;
constexpr uint32_t kFat16ClusterLimit = 65525;
// Largest cluster count a FAT32 volume can have (28-bit entries less the marks).
constexpr uint32_t kFat32ClusterLimit = 0x0FFFFFF5;

struct BootParameters {
  FatKind m_kind = FatKind::Fat12;
  uint8_t m_sectorsPerCluster = 0;
  uint8_t m_fatCount = 0;
  uint8_t m_media = 0;
  uint32_t m_bytesPerSector = 0;
  uint32_t m_reservedSectors = 0;
  uint32_t m_rootEntries = 0;
  uint32_t m_rootDirectorySectors = 0; // FAT12/16: root entries / 16; FAT32: 0
  uint32_t m_fatSize = 0;              // sectors of one FAT
  uint32_t m_rootCluster = 0;          // FAT32 root folder's first cluster; 0 otherwise
  uint64_t m_totalSectors = 0;         // the volume's sector count as the boot sector gives it
  uint32_t m_clusterCount = 0;         // data clusters: numbers 2 .. m_clusterCount + 1
  uint32_t m_endOfChain = 0;           // values at or above this end a chain

  uint64_t FirstDataSector() const {
    return static_cast<uint64_t>(m_reservedSectors) + static_cast<uint64_t>(m_fatCount) * m_fatSize +
           m_rootDirectorySectors;
  }
  uint64_t RootDirectorySector() const {
    return static_cast<uint64_t>(m_reservedSectors) + static_cast<uint64_t>(m_fatCount) * m_fatSize;
  }
  uint32_t MaxCluster() const { return m_clusterCount + 1; }
  uint32_t ClusterBytes() const { return static_cast<uint32_t>(m_sectorsPerCluster) * 512; }
};

struct BootCheck {
  ParseResult m_result = ParseResult::Corrupt;
  std::string m_reason; // which check failed; empty when the result is Ok
};

// Reads the boot sector's fields and derives the kind from the cluster count.
// A boot sector whose 16-bit FAT size is 0 has the FAT32 layout (FAT size and
// root cluster in the extended fields). NotThisStructure when the bytes do
// not look like a FAT boot sector at all; Corrupt when a field contradicts
// the others. out is filled as far as the fields could be read.
BootCheck DeriveFatKind(const uint8_t *bootSector, size_t length, BootParameters &out);

// Text of a kind for log lines ("FAT12", "FAT16", "FAT32").
const char *FatKindName(FatKind kind);

// The FAT scan-information file: a 512-byte header with the engine's
// geometry, the FAT copy (FAT size x 512 bytes), the cluster-use map (one
// byte per cluster) and the tree's entries. Saving it lets a later session
// rebuild the tree and recover files without searching again.
#pragma once

#include "FatScanEngine.h"
#include "PhysicalDiskScan.h"
#include "ScanInfoFile.h"

#include <cstdint>
#include <string>
#include <vector>

// The partition start keeps its low word where every reader looks for it
// and its high word at byte 240, the first of the header's zero tail: past
// the signature text (48 to 111) and its marker copy (from 112), left zero
// by every writer before and read by no reader, so older files read as
// before and volumes past 2 TiB on their disk keep their whole start.
struct FatScanHeader {
  uint8_t m_driveCode = 0;             // 0, 1, drive code
  uint8_t m_sectorsPerCluster = 0;     // 1, 1, sectors per cluster
  uint64_t m_partitionStart = 0;       // 2, 4 + 240, 4: first sector of the volume on the drive
  uint32_t m_sectors = 0;              // 6, 4, low half of the drive's sector count for the volume
  uint8_t m_kind = 0;                  // 10, 1, 0 FAT12, 1 FAT16, 2 FAT32
  uint8_t m_chainMode = 0;             // 11, 1, which FAT chains follow
  uint32_t m_fatSize = 0;              // 12, 4, sectors of one FAT
  uint32_t m_rootCluster = 0;          // 16, 4, FAT32 root folder's first cluster
  uint32_t m_reservedSectors = 0;      // 20, 4, sectors before the first FAT
  uint32_t m_rootDirectorySectors = 0; // 24, 4, FAT12/16 root folder sectors
  uint32_t m_foundEntries = 0;         // 28, 4, entries at save time (not read back)
  uint64_t m_volumeSectors = 0;        // 32, 8, the volume's sector count
  uint32_t m_reservedWord = 0;         // 40, 4, number of FAT copies (0: two)
  uint32_t m_mapSize = 0;              // 44, 4, bytes of the cluster-use map
};

constexpr size_t kFatPartitionStartHighOffset = 240;

void SerialiseFatScanHeader(const FatScanHeader &header, uint8_t *out);
// NotThisStructure without the signature (or its marker); fields are not judged here.
ParseResult ParseFatScanHeader(const uint8_t *bytes, size_t length, FatScanHeader &out);
// The volume's boot parameters from a header, checked as a boot sector would
// be; false (why says which check) when they describe no sound volume.
bool FatBootFromScanHeader(const FatScanHeader &header, BootParameters &out, std::string &why);

// Writes the file for the engine's last search; entries are the tree's entry
// list, root first. True only when the file is completely in place.
bool SaveFatScanFile(FatScanEngine &engine, EngineServices &services, const std::u16string &path,
                     const std::vector<ScanFileEntry> &entries);
// Rebuilds the tree from the file into a fresh engine whose reader is bound
// to the header's drive code and partition start; afterwards the engine
// reads found files as after a search. False after a log line and a message.
bool LoadFatScanFile(FatScanEngine &engine, EngineServices &services, const std::u16string &path);
// The same over any byte source (name: what log lines call it).
bool LoadFatScanData(FatScanEngine &engine, EngineServices &services, ScanFileSource &source,
                     const std::u16string &name);

// Test hook: the save's writes fail after this many bytes (UINT64_MAX: never).
bool SaveFatScanFileFailingAfter(FatScanEngine &engine, EngineServices &services, const std::u16string &path,
                                 const std::vector<ScanFileEntry> &entries, uint64_t failAfter);

// A physical-disk scan is kept in the same layout with the settings under
// which a cluster is a sector: one sector per cluster, a one-sector FAT copy
// (empty) and no cluster-use map. Its hits are the files of the type folders
// at the root, named "<sector>.<extension>".
FatScanHeader PhysicalDiskScanHeader(const PhysicalDiskScan &scan, uint32_t foundEntries);
// True when a header holds a physical-disk scan rather than a volume's.
bool IsPhysicalDiskScanHeader(const FatScanHeader &header);
bool SavePhysicalDiskScanFile(PhysicalDiskScan &scan, EngineServices &services, const std::u16string &path,
                              const std::vector<ScanFileEntry> &entries);
// Rebuilds the tree into a scan whose reader is bound to the header's disk;
// afterwards ReadFoundFile reads the listed hits as after the scan.
bool LoadPhysicalDiskScanFile(PhysicalDiskScan &scan, EngineServices &services, const std::u16string &path);
bool LoadPhysicalDiskScanData(PhysicalDiskScan &scan, EngineServices &services, ScanFileSource &source,
                              const std::u16string &name);

// The NTFS scan-information file: a 512-byte header with the engine's
// geometry, the $MFT run array (16-byte entries), the cluster-use map (one
// byte per cluster) and the tree's entries. A loaded engine reads found
// files again through the run array, without walking the MFT.
#pragma once

#include "NtfsScanEngine.h"
#include "ScanInfoFile.h"

#include <cstdint>
#include <string>
#include <vector>

struct NtfsScanHeader {
  uint8_t m_driveCode = 0;          // 0, 1, drive code
  uint16_t m_sectorsPerCluster = 0; // 1, 2, sectors per cluster
  uint32_t m_volumeStart = 0;       // 3, 4, first sector of the volume on the drive
  uint32_t m_totalSectors = 0;      // 7, 4, boot sector's count, low 32 bits
  uint64_t m_volumeSectors = 0;     // 11, 8, the volume's extent in sectors
  uint32_t m_mftSector = 0;         // 19, 4, $MFT's first sector, volume-relative
  uint32_t m_mftMirrorSector = 0;   // 23, 4, $MFTMirr's first sector, volume-relative
  uint32_t m_runCount = 0;          // 27, 4, run entries
  uint32_t m_runBytes = 0;          // 31, 4, run entries x 16
  uint32_t m_runSectors = 0;        // 35, 4, sectors the runs cover
  uint32_t m_mapSize = 0;           // 39, 4, bytes of the cluster-use map (again at 43 and 47)
};

void SerialiseNtfsScanHeader(const NtfsScanHeader &header, uint8_t *out);
// NotThisStructure without the signature (or its marker); fields are not judged here.
ParseResult ParseNtfsScanHeader(const uint8_t *bytes, size_t length, NtfsScanHeader &out);

// Writes the file for the engine's last search; entries are the tree's entry
// list, root first. True only when the file is completely in place.
bool SaveNtfsScanFile(NtfsScanEngine &engine, EngineServices &services, const std::u16string &path,
                      const std::vector<ScanFileEntry> &entries);
// Rebuilds the tree from the file into a fresh engine whose reader is bound
// to the header's drive code and volume start (and whose volume extent is the
// header's); afterwards ReadNtfsFile reads found files through its volume.
bool LoadNtfsScanFile(NtfsScanEngine &engine, EngineServices &services, const std::u16string &path);
// The same over any byte source (name: what log lines call it).
bool LoadNtfsScanData(NtfsScanEngine &engine, EngineServices &services, ScanFileSource &source,
                      const std::u16string &name);

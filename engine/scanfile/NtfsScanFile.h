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

// The four sector numbers keep their low words where every reader looks for
// them and their high words in the header's tail (from byte 152), which lies
// past the signature text's marker copy (115 to 151) and which every writer
// before left zero and no reader reads: older files read as before, and
// volumes past 2 TiB on their disk keep their whole sector numbers.
struct NtfsScanHeader {
  uint8_t m_driveCode = 0;          // 0, 1, drive code
  uint16_t m_sectorsPerCluster = 0; // 1, 2, sectors per cluster
  uint64_t m_volumeStart = 0;       // 3, 4 + 152, 4: first sector of the volume on the drive
  uint64_t m_totalSectors = 0;      // 7, 4 + 156, 4: boot sector's count
  uint64_t m_volumeSectors = 0;     // 11, 8, the volume's extent in sectors
  uint64_t m_mftSector = 0;         // 19, 4 + 160, 4: $MFT's first sector, volume-relative
  uint64_t m_mftMirrorSector = 0;   // 23, 4 + 164, 4: $MFTMirr's first sector, volume-relative
  uint32_t m_runCount = 0;          // 27, 4, run entries
  uint32_t m_runBytes = 0;          // 31, 4, run entries x 16
  uint32_t m_runSectors = 0;        // 35, 4, sectors the runs cover
  uint32_t m_mapSize = 0;           // 39, 4, bytes of the cluster-use map (again at 43 and 47)
  uint32_t m_recordSize = 0;        // 168, 4, bytes of a FILE record; 0: 1024, as older files mean
};

// Offsets of the words kept in the header's tail.
constexpr size_t kNtfsVolumeStartHighOffset = 152;
constexpr size_t kNtfsTotalSectorsHighOffset = 156;
constexpr size_t kNtfsMftSectorHighOffset = 160;
constexpr size_t kNtfsMftMirrorSectorHighOffset = 164;
constexpr size_t kNtfsRecordSizeOffset = 168;

void SerialiseNtfsScanHeader(const NtfsScanHeader &header, uint8_t *out);
// NotThisStructure without the signature (or its marker); fields are not judged here.
ParseResult ParseNtfsScanHeader(const uint8_t *bytes, size_t length, NtfsScanHeader &out);

// What of the engine's volume the layout cannot hold (a cluster map of 4 GiB
// or more, $MFT runs whose length or distance does not fit their 32-bit
// fields), as the text id of the reason; 0 when the layout holds it all.
uint32_t NtfsScanFileCannotHold(NtfsScanEngine &engine);

// Writes the file for the engine's last search; entries are the tree's entry
// list, root first. True only when the file is completely in place; a volume
// the layout cannot hold is refused with a message and nothing is written.
bool SaveNtfsScanFile(NtfsScanEngine &engine, EngineServices &services, const std::u16string &path,
                      const std::vector<ScanFileEntry> &entries);
// Rebuilds the tree from the file into a fresh engine whose reader is bound
// to the header's drive code and volume start (and whose volume extent is the
// header's); afterwards ReadNtfsFile reads found files through its volume.
bool LoadNtfsScanFile(NtfsScanEngine &engine, EngineServices &services, const std::u16string &path);
// The same over any byte source (name: what log lines call it).
bool LoadNtfsScanData(NtfsScanEngine &engine, EngineServices &services, ScanFileSource &source,
                      const std::u16string &name);

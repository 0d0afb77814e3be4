// One entry of the drive list: a logical drive or a whole physical disk.
#pragma once

#include <cstdint>
#include <string>

// A logical drive's file system, size text and, when the system gives none,
// its sector count come from its boot sector when that names a FAT or NTFS
// volume; otherwise they are the system's.
struct DriveRecord {
  std::u16string m_name;          // logical drive: root text "C:\"; disk: "Disk 1"
  std::u16string m_typeText;      // "REMOVABLE", "FIXED", ...; empty for a disk
  std::u16string m_sizeText;      // "%.3f GB" / "%.3f MB"; empty for a disk
  std::u16string m_fileSystem;    // "FAT32", "NTFS", ...; empty for a disk
  uint8_t m_driveCode = 0;        // logical drive: 0 for A:; 0 for a disk
  uint64_t m_sectors = 0;         // logical drive: total bytes / 512 as the system reports them; disk: total
  uint64_t m_volumeSectors = 0;   // the volume's own sector count (extent length), 0 when unknown
  uint8_t m_severalExtents = 0;   // 1 when the volume spans more than one disk extent
  uint64_t m_startSector = 0;     // first sector of the volume on its disk (disk: 63)
  uint64_t m_endSector = 0;       // first sector after the volume's first extent (disk: total sectors)
  uint8_t m_biosDiskCode = 0;     // 0x80 + disk number holding the volume; 0 when none found
  std::string m_model;            // ATA model text, at most 40 characters
  std::string m_serialNumber;     // ATA serial number, at most 20 characters
  std::string m_firmwareRevision; // ATA firmware revision, at most 8 characters
  uint32_t m_attributeByte = 0;   // first raw byte of SMART attribute 194
};

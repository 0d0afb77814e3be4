// The list of logical drives (type, size, file system, and where found the
// disk and start sector that hold each) or of physical disks (with their
// identity and size) that the search wizard offers.
#pragma once

#include "ByteOrder.h"
#include "DriveRecord.h"
#include "PlatformVersion.h"
#include "hddInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class EngineServices;
class PartitionWalk;
class SectorIo;

// One disk extent of a volume.
struct VolumeExtent {
  uint32_t m_diskNumber = 0;
  uint64_t m_startingOffset = 0; // bytes
  uint64_t m_length = 0;         // bytes
};

// The system calls drive discovery makes; the Windows build asks the system,
// tests feed drive records and images.
class DriveSystem {
public:
  virtual ~DriveSystem() = default;
  // Root texts ("C:\") each followed by a NUL; empty when there are none.
  virtual std::u16string LogicalDriveStrings() = 0;
  // GetDriveTypeW: 0 unknown, 1 no root, 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk.
  virtual uint32_t DriveType(const std::u16string &root) = 0;
  // The volume's total size in bytes; false when it cannot be asked.
  virtual bool TotalBytes(const std::u16string &root, uint64_t &total) = 0;
  virtual std::u16string FileSystemName(const std::u16string &root) = 0;
  // The disk extents of a volume (NT 5 and later); false when not available.
  virtual bool VolumeExtents(char16_t letter, std::vector<VolumeExtent> &out) = 0;
  // The system's family and version; false when it cannot be asked.
  virtual bool Version(PlatformVersion &out) = 0;
  // A physical disk's identity (BIOS code 0x80 + n); false when no IDENTIFY
  // command answered (out may still hold the SMART attribute byte).
  virtual bool Identity(uint8_t biosDisk, DiskIdentity &out) = 0;
};

// "%.3f GB" from 1 GB up, else "%.3f MB".
std::u16string FormatSizeText(uint64_t totalBytes);
// "UNKNOWN", "DRIVE_NO_ROOT_DIR", "REMOVABLE", "FIXED", "REMOTE", "CDROM", "RAMDISK"; empty otherwise.
std::u16string DriveTypeText(uint32_t type);
// What a volume's boot sector says of it: its file system ("FAT12", "FAT16",
// "FAT32" or "NTFS") and its whole sector count (for NTFS the boot sector's
// field and the backup boot sector that field leaves out).
struct BootSectorVolume {
  std::u16string m_fileSystem;
  uint64_t m_sectors = 0;
};
// Ok when the sector is a boot sector the FAT or NTFS engine accepts.
ParseResult ParseBootSectorVolume(const uint8_t *bootSector, size_t length, BootSectorVolume &out);

class DriveList {
public:
  // Removable drives this close in size to a disk are taken to be that disk.
  static constexpr uint64_t kRemovableDiskSlack = 25000;

  DriveList(DriveSystem &system, SectorIo &io, EngineServices &services);

  // Rebuilds the list: physical disks for a disk scan, else logical drives.
  // False when no logical drive could be listed (after an error box).
  bool EnumerateDrives(bool physicalDiskScan);

  const std::vector<DriveRecord> &Drives() const { return m_drives; }
  const std::vector<uint32_t> &RemovableDriveSectors() const { return m_removableSectors; }

private:
  void ListPhysicalDisks(uint8_t diskCount);
  bool ListLogicalDrives();
  void AddLogicalDrive(const std::u16string &root);
  void FindExtents();
  void FindPartitions(uint8_t diskCount);
  std::vector<uint8_t> DisksWithFatPartitions(PartitionWalk &walk, uint8_t diskCount);
  void ReadBootSectors();
  bool ReadBootSectorVolume(const DriveRecord &drive, BootSectorVolume &out);
  void FillIdentities(uint8_t diskCount);

  DriveSystem &m_system;
  SectorIo &m_io;
  EngineServices &m_services;
  std::vector<DriveRecord> m_drives;
  std::vector<uint32_t> m_removableSectors;
  PlatformVersion m_version;
};

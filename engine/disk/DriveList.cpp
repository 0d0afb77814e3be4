#include "DriveList.h"

#include "EngineServices.h"
#include "EngineText.h"
#include "FatBootSector.h"
#include "NtfsVolume.h"
#include "PartitionWalk.h"
#include "SectorIo.h"
#include "Utf16Text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kDriveRemovable = 2;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kDriveCdRom = 5;
constexpr size_t kMaxDriveStrings = 26;
constexpr size_t kFirmwareLength = 8;
constexpr uint64_t kFat32BackupBootSector = 6;

// A disk that did not answer IDENTIFY keeps no texts, but what its SMART data
// gave is kept.
DiskIdentity SmartPartOnly(const DiskIdentity &identity) {
  DiskIdentity part;
  part.m_attributeByte = identity.m_attributeByte;
  return part;
}

void CopyIdentity(const DiskIdentity &identity, DriveRecord &drive) {
  drive.m_model = identity.m_model;
  drive.m_serialNumber = identity.m_serialNumber;
  drive.m_firmwareRevision = identity.m_firmwareRevision.substr(0, kFirmwareLength);
  drive.m_attributeByte = identity.m_attributeByte;
}

} // namespace

std::u16string FormatSizeText(uint64_t totalBytes) {
  char text[64];
  if (totalBytes >> 30 != 0)
    std::snprintf(text, sizeof text, "%.3f GB", static_cast<double>(totalBytes) * 9.313225746154785e-10);
  else if (totalBytes >> 20 != 0)
    std::snprintf(text, sizeof text, "%.3f MB", static_cast<double>(totalBytes) * 9.5367431640625e-07);
  else
    std::snprintf(text, sizeof text, "%.3f MB", 0.0);
  return Widen(text);
}

std::u16string DriveTypeText(uint32_t type) {
  static const char16_t *const names[] = {
      u"UNKNOWN", u"DRIVE_NO_ROOT_DIR", u"REMOVABLE", u"FIXED", u"REMOTE", u"CDROM", u"RAMDISK"};
  return type < 7 ? names[type] : u"";
}

ParseResult ParseBootSectorVolume(const uint8_t *boot, size_t length, BootSectorVolume &out) {
  out = BootSectorVolume();
  if (boot == nullptr || length < kSectorSize) return ParseResult::NotThisStructure;
  if (std::memcmp(boot + 3, "NTFS", 4) == 0) { // 3, 8, OEM name
    NtfsBootInfo ntfs;
    const ParseResult result = ParseNtfsBootSector(boot, ntfs);
    if (result != ParseResult::Ok) return result;
    out.m_fileSystem = u"NTFS";
    // The field leaves out the backup boot sector in the volume's last sector.
    out.m_sectors = ntfs.m_totalSectors + (ntfs.m_totalSectors < UINT64_MAX ? 1 : 0);
    return ParseResult::Ok;
  }
  BootParameters fat;
  const BootCheck check = DeriveFatKind(boot, length, fat);
  if (check.m_result != ParseResult::Ok) return check.m_result;
  out.m_fileSystem = Widen(FatKindName(fat.m_kind));
  out.m_sectors = fat.m_totalSectors;
  return ParseResult::Ok;
}

DriveList::DriveList(DriveSystem &system, SectorIo &io, EngineServices &services)
    : m_system(system), m_io(io), m_services(services) {}

bool DriveList::EnumerateDrives(bool physicalDiskScan) {
  m_drives.clear();
  m_removableSectors.clear();
  const bool haveVersion = m_system.Version(m_version);
  if (haveVersion) m_io.SetWindows9x(m_version.IsWindows9x());
  uint8_t diskCount = 0;
  m_io.CountPhysicalDisks(&diskCount);
  if (physicalDiskScan) {
    ListPhysicalDisks(diskCount);
    return true;
  }
  if (!ListLogicalDrives()) return false;
  if (haveVersion) {
    if (m_version.HasVolumeExtents())
      FindExtents();
    else if (m_version.IsWindows9x())
      FindPartitions(diskCount);
  }
  ReadBootSectors();
  if (haveVersion) FillIdentities(diskCount);
  return true;
}

void DriveList::ListPhysicalDisks(uint8_t diskCount) {
  for (uint8_t n = 0; n < diskCount; ++n) {
    const uint8_t bios = static_cast<uint8_t>(0x80 + n);
    DriveRecord disk;
    disk.m_name = Widen(("Disk " + std::to_string(n + 1)).c_str());
    DiskIdentity identity;
    const bool known = m_system.Identity(bios, identity);
    CopyIdentity(known ? identity : SmartPartOnly(identity), disk);
    uint64_t total = 0;
    if (m_io.IsWindows9x())
      m_io.Ei13GetDriveParameters(bios, &total);
    else
      m_io.GetDiskSectorCount(bios, &total);
    disk.m_sectors = total;
    disk.m_volumeSectors = total;
    disk.m_endSector = total;
    disk.m_startSector = 63;
    disk.m_biosDiskCode = bios;
    m_drives.push_back(disk);
  }
}

bool DriveList::ListLogicalDrives() {
  const std::u16string strings = m_system.LogicalDriveStrings();
  if (strings.empty()) {
    m_services.ShowErrorBox(m_services.LoadText(EngineText::kNoValidDrive));
    return false;
  }
  // Root texts such as C:\ and their NUL, four characters each.
  for (size_t i = 0; i < kMaxDriveStrings && i * 4 < strings.size(); ++i) {
    const std::u16string root = strings.substr(i * 4, 4).c_str();
    if (root.empty()) break;
    AddLogicalDrive(root);
  }
  return true;
}

void DriveList::AddLogicalDrive(const std::u16string &root) {
  char16_t letter = root[0];
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - u'a' + u'A');
  if (letter < u'A' || letter > u'Z') return;
  const uint32_t type = m_system.DriveType(root);
  if (type == kDriveCdRom) return;
  uint64_t total = 0;
  if (!m_system.TotalBytes(root, total)) total = 0;
  // A volume the system cannot size (one it calls "RAW") may still have a
  // boot sector that names it: it stays until that sector has been read. A
  // floppy drive is left out, as reading an empty one would ask for a disk.
  const bool mayHoldVolume =
      (type == kDriveFixed || type == kDriveRemovable) && letter != u'A' && letter != u'B';
  if (total == 0 && !mayHoldVolume) return;
  DriveRecord drive;
  drive.m_name = root;
  drive.m_typeText = DriveTypeText(type);
  if (total != 0) drive.m_sizeText = FormatSizeText(total);
  drive.m_fileSystem = m_system.FileSystemName(root);
  drive.m_driveCode = static_cast<uint8_t>(letter - u'A');
  drive.m_sectors = total / kSectorSize;
  if (type == kDriveRemovable && total != 0)
    m_removableSectors.push_back(static_cast<uint32_t>(total / kSectorSize));
  m_drives.push_back(drive);
}

void DriveList::FindExtents() {
  for (DriveRecord &drive : m_drives) {
    if (drive.m_typeText != u"FIXED") continue;
    std::vector<VolumeExtent> extents;
    if (!m_system.VolumeExtents(static_cast<char16_t>(u'A' + drive.m_driveCode), extents) || extents.empty())
      continue;
    const VolumeExtent &first = extents.front();
    drive.m_severalExtents = extents.size() >= 2 ? 1 : 0;
    drive.m_startSector = first.m_startingOffset / kSectorSize;
    drive.m_endSector = (first.m_startingOffset + first.m_length) / kSectorSize;
    drive.m_biosDiskCode = static_cast<uint8_t>(0x80 + first.m_diskNumber);
    uint64_t bytes = 0;
    for (const VolumeExtent &extent : extents) bytes += extent.m_length;
    drive.m_volumeSectors = bytes / kSectorSize;
  }
}

std::vector<uint8_t> DriveList::DisksWithFatPartitions(PartitionWalk &walk, uint8_t diskCount) {
  std::vector<uint8_t> disks;
  for (uint8_t n = 0; n < diskCount; ++n) {
    const uint8_t bios = static_cast<uint8_t>(0x80 + n);
    uint64_t total = 0;
    m_io.Ei13GetDriveParameters(bios, &total);
    // A disk the BIOS gives no size, or one as large as a removable drive, is
    // that removable drive's medium rather than a fixed disk.
    bool removable = total == 0;
    for (uint32_t sectors : m_removableSectors)
      if (sectors + kRemovableDiskSlack >= total) removable = true;
    if (removable) continue;
    walk.SetDiskSectors(total);
    if (walk.HasFatPartition(bios, 0)) disks.push_back(bios);
  }
  return disks;
}

void DriveList::FindPartitions(uint8_t diskCount) {
  PartitionWalk walk(m_io, &m_services);
  const std::vector<uint8_t> disks = DisksWithFatPartitions(walk, diskCount);
  walk.SetDiskCount(static_cast<uint8_t>(disks.size()));
  for (size_t i = 0; i < disks.size(); ++i) {
    uint64_t total = 0;
    m_io.Ei13GetDriveParameters(disks[i], &total);
    walk.SetDiskSectors(total);
    walk.WalkPartitionTable(disks[i], 0, static_cast<int>(i));
  }
  for (DriveRecord &drive : m_drives) {
    const PartitionNode *partition = walk.FindLetter(static_cast<char>('A' + drive.m_driveCode));
    if (partition == nullptr) continue;
    drive.m_biosDiskCode = partition->m_biosDisk;
    drive.m_severalExtents = 0;
    drive.m_startSector = partition->m_start;
    drive.m_endSector = partition->m_end;
    drive.m_volumeSectors = partition->m_count;
  }
}

void DriveList::ReadBootSectors() {
  // The boot sector decides: the system may name another file system (Wine
  // names every mapped drive "NTFS"; Windows calls a damaged one "RAW") and
  // gives only the data area's size.
  for (DriveRecord &drive : m_drives) {
    BootSectorVolume volume;
    if (!ReadBootSectorVolume(drive, volume)) continue;
    drive.m_fileSystem = volume.m_fileSystem;
    drive.m_sizeText = FormatSizeText(volume.m_sectors * kSectorSize);
    if (drive.m_sectors == 0) drive.m_sectors = volume.m_sectors;
    if (drive.m_volumeSectors == 0) drive.m_volumeSectors = volume.m_sectors;
  }
  // Neither the system nor a boot sector gave a size: nothing to search.
  m_drives.erase(std::remove_if(m_drives.begin(), m_drives.end(),
                                [](const DriveRecord &drive) { return drive.m_sectors == 0; }),
                 m_drives.end());
}

bool DriveList::ReadBootSectorVolume(const DriveRecord &drive, BootSectorVolume &out) {
  std::vector<uint8_t> sector(kSectorSize);
  const auto readAt = [&](uint64_t at) {
    return m_io.TransferSectors(drive.m_driveCode, at, sector.data(), kSectorSize, false) &&
           ParseBootSectorVolume(sector.data(), sector.size(), out) == ParseResult::Ok;
  };
  if (readAt(0)) return true;
  // A damaged first sector: FAT32 keeps a copy in sector 6, NTFS in the
  // volume's last sector.
  if (readAt(kFat32BackupBootSector) && out.m_fileSystem == u"FAT32") return true;
  uint64_t sectors = drive.m_volumeSectors;
  if (sectors == 0) {
    const SectorDevice *device = m_io.Devices().Device(drive.m_driveCode);
    sectors = device != nullptr ? device->SizeInBytes() / kSectorSize : 0;
  }
  if (sectors > 1 && readAt(sectors - 1) && out.m_fileSystem == u"NTFS") return true;
  out = BootSectorVolume();
  return false;
}

void DriveList::FillIdentities(uint8_t diskCount) {
  for (uint8_t n = 0; n < diskCount; ++n) {
    const uint8_t bios = static_cast<uint8_t>(0x80 + n);
    DiskIdentity identity;
    const bool known = m_system.Identity(bios, identity);
    for (DriveRecord &drive : m_drives)
      if (drive.m_biosDiskCode == bios) CopyIdentity(known ? identity : SmartPartOnly(identity), drive);
  }
}

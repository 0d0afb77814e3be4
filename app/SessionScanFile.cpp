#include "SessionScanFile.h"

#include "FatScanFile.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsScanFile.h"
#include "PhysicalDiskScan.h"

namespace {

ScanFileHeaderInfo FromFatHeader(const FatScanHeader &header) {
  ScanFileHeaderInfo info;
  info.m_opened = true;
  info.m_recognised = true;
  info.m_target.m_driveCode = header.m_driveCode;
  if (IsPhysicalDiskScanHeader(header)) {
    info.m_kind = ScanKind::PhysicalDisk;
    info.m_target.m_sectors = header.m_volumeSectors != 0 ? header.m_volumeSectors : header.m_sectors;
    return info;
  }
  info.m_kind = ScanKind::FatVolume;
  info.m_target.m_startSector = header.m_partitionStart;
  info.m_target.m_sectors = header.m_volumeSectors != 0 ? header.m_volumeSectors : header.m_sectors;
  return info;
}

ScanFileHeaderInfo FromNtfsHeader(const NtfsScanHeader &header) {
  ScanFileHeaderInfo info;
  info.m_opened = true;
  info.m_recognised = true;
  info.m_kind = ScanKind::NtfsVolume;
  info.m_target.m_driveCode = header.m_driveCode;
  info.m_target.m_startSector = header.m_volumeStart;
  info.m_target.m_sectors = header.m_volumeSectors;
  return info;
}

} // namespace

ScanFileHeaderInfo InspectScanFile(const std::u16string &path) {
  ScanFileHeaderInfo info;
  FileScanFileSource source(path);
  if (!source.IsOpen()) return info;
  info.m_opened = true;
  uint8_t header[kScanHeaderSize] = {};
  if (source.Read(header, sizeof header) != sizeof header) return info;
  switch (DetectScanFileKind(header, sizeof header)) {
  case ScanFileKind::Fat: {
    FatScanHeader fat;
    if (ParseFatScanHeader(header, sizeof header, fat) == ParseResult::Ok) return FromFatHeader(fat);
    break;
  }
  case ScanFileKind::Ntfs: {
    NtfsScanHeader ntfs;
    if (ParseNtfsScanHeader(header, sizeof header, ntfs) == ParseResult::Ok) return FromNtfsHeader(ntfs);
    break;
  }
  case ScanFileKind::None:
    break;
  }
  return info;
}

uint64_t DriveSectorsOf(const ScanFileHeaderInfo &info, DeviceLayer &devices) {
  SectorDevice *device = devices.Device(info.m_target.m_driveCode);
  return device ? device->SizeInBytes() / kSectorSize : 0;
}

bool ScanFileFitsItsDrive(const ScanFileHeaderInfo &info, DeviceLayer &devices) {
  return ScanTargetFitsDrive(info.m_target.m_startSector, info.m_target.m_sectors,
                             DriveSectorsOf(info, devices));
}

std::unique_ptr<ScanSession> MakeScanFileSession(const ScanFileHeaderInfo &info, EngineServices &services,
                                                 DeviceLayer &devices) {
  if (!info.m_recognised) return nullptr;
  return std::make_unique<ScanSession>(services, devices, info.m_kind, info.m_target);
}

bool LoadSessionScanFile(ScanSession &session, EngineServices &services, const std::u16string &path) {
  if (FatScanEngine *fat = session.Fat()) return LoadFatScanFile(*fat, services, path);
  if (NtfsAdvancedEngine *ntfs = session.Ntfs()) return LoadNtfsScanFile(*ntfs, services, path);
  if (PhysicalDiskScan *disk = session.Disk()) return LoadPhysicalDiskScanFile(*disk, services, path);
  return false;
}

bool SaveSessionScanFile(ScanSession &session, EngineServices &services, const std::u16string &path,
                         const EntryNodeList &entries) {
  const std::vector<ScanFileEntry> items = entries.ScanFileEntries();
  if (FatScanEngine *fat = session.Fat()) return SaveFatScanFile(*fat, services, path, items);
  if (NtfsAdvancedEngine *ntfs = session.Ntfs()) return SaveNtfsScanFile(*ntfs, services, path, items);
  if (PhysicalDiskScan *disk = session.Disk()) return SavePhysicalDiskScanFile(*disk, services, path, items);
  return false;
}

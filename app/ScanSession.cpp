#include "ScanSession.h"

#include "FatScanEngine.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsFileReader.h"
#include "PhysicalDiskScan.h"
#include "TickClock.h"

#include <algorithm>

ScanSession::ScanSession(EngineServices &services, DeviceLayer &devices, ScanKind kind, const Target &target)
    : m_kind(kind), m_target(target), m_io(devices, nullptr, false),
      m_reader(m_io, target.m_driveCode, target.m_startSector) {
  switch (kind) {
  case ScanKind::FatVolume:
    m_fat = std::make_unique<FatScanEngine>(services, m_reader, target.m_sectors, &TickMilliseconds);
    break;
  case ScanKind::NtfsVolume:
    m_ntfs =
        std::make_unique<NtfsAdvancedEngine>(services, m_reader, target.m_sectors, false, &TickMilliseconds);
    break;
  case ScanKind::PhysicalDisk:
    m_disk =
        std::make_unique<PhysicalDiskScan>(services, m_reader, target.m_sectors, false, &TickMilliseconds);
    break;
  }
}

// The engines go before the reader and the I/O they read through.
ScanSession::~ScanSession() {
  m_fat.reset();
  m_ntfs.reset();
  m_disk.reset();
  m_io.Devices().CloseAll();
}

ScanSession::Target ScanSession::VolumeTarget(const DriveRecord &drive) {
  Target target;
  // The system's size is the data area alone; the engines search up to the
  // volume's true end and look for NTFS's backup boot sector in its last sector.
  target.m_sectors = drive.m_volumeSectors != 0 ? drive.m_volumeSectors : drive.m_sectors;
  if (drive.m_severalExtents == 0 && drive.m_biosDiskCode >= 0x80) {
    target.m_driveCode = drive.m_biosDiskCode;
    target.m_startSector = drive.m_startSector;
  } else {
    target.m_driveCode = drive.m_driveCode;
  }
  return target;
}

ScanSession::Target ScanSession::DiskTarget(const DriveRecord &drive) {
  Target target;
  target.m_driveCode = drive.m_biosDiskCode;
  target.m_sectors = drive.m_sectors;
  return target;
}

bool ScanSession::ReadFoundFile(const EntryRecord &entry, const FoundFileSink &sink, bool *cutToRuns) {
  if (cutToRuns) *cutToRuns = false;
  if (m_fat) return m_fat->ReadFoundFile(entry, sink);
  if (m_disk) return m_disk->ReadFoundFile(entry, sink);
  if (!m_ntfs) return false;
  // A hit's first-cluster word is a cluster, not an MFT record: never read it
  // as a record, even when reading the hit failed.
  for (const SignatureHit &hit : m_ntfs->SignatureHits())
    if (hit.m_ownId == entry.m_ownId && !entry.IsFolder()) return m_ntfs->ReadSignatureHit(entry, sink);
  return ReadNtfsFile(m_ntfs->Volume(), entry.m_firstCluster, sink, nullptr, cutToRuns);
}

uint64_t ScanSession::BytesToRead(const EntryRecord &entry) {
  // Only a Poor NTFS file can carry a size past its runs; the others are
  // read as long as they are listed.
  if (!m_ntfs || entry.IsFolder() || entry.m_grade != RecoveryGrade::Poor) return entry.m_size;
  for (const SignatureHit &hit : m_ntfs->SignatureHits())
    if (hit.m_ownId == entry.m_ownId) return entry.m_size;
  return std::min(entry.m_size, NtfsFileBytesHeld(m_ntfs->Volume(), entry.m_firstCluster));
}

// One search's (or one opened scan file's) hold on the disk: the device
// layer, the sector I/O over it, the reader bound to the drive and the
// engine that reads through it. The application keeps one session at a time;
// its FatEngine/NtfsEngine pointers point into it.
#pragma once

#include "DriveRecord.h"
#include "EngineServices.h"
#include "SectorIo.h"

#include <cstdint>
#include <functional>
#include <memory>

class FatScanEngine;
class NtfsAdvancedEngine;
class PhysicalDiskScan;

enum class ScanKind { FatVolume, NtfsVolume, PhysicalDisk };

// Receives a found file's bytes in order; false stops the reading.
using FoundFileSink = std::function<bool(const uint8_t *data, size_t size)>;

class ScanSession {
public:
  // Where the engine reads: drive code (0 = A: .. 25 = Z:, 128 + n = disk n),
  // the volume's first sector on it and its sector count (0: unknown).
  struct Target {
    uint8_t m_driveCode = 0;
    uint64_t m_startSector = 0;
    uint64_t m_sectors = 0;
  };

  // devices: where sector reads go (the Windows device layer in the program,
  // image files in tests); the session does not own it.
  ScanSession(EngineServices &services, DeviceLayer &devices, ScanKind kind, const Target &target);
  ~ScanSession();
  ScanSession(const ScanSession &) = delete;
  ScanSession &operator=(const ScanSession &) = delete;

  // The target a drive record gives for a volume search: through its
  // physical disk when it has a BIOS disk code and one extent, else by letter;
  // the volume's own size when the drive list found it, else the system's.
  static Target VolumeTarget(const DriveRecord &drive);
  // The target of a whole-disk scan.
  static Target DiskTarget(const DriveRecord &drive);

  ScanKind Kind() const { return m_kind; }
  const Target &Where() const { return m_target; }
  // The engine of the kind; null for the other kinds.
  FatScanEngine *Fat() { return m_fat.get(); }
  NtfsAdvancedEngine *Ntfs() { return m_ntfs.get(); }
  PhysicalDiskScan *Disk() { return m_disk.get(); }

  // Streams a found file's bytes (deleted file, live file, or signature hit)
  // to the sink; false when it could not be read completely. cutToRuns, when
  // given, is set when an NTFS file's recorded size was damaged past its
  // runs and only what they hold was handed on.
  bool ReadFoundFile(const EntryRecord &entry, const FoundFileSink &sink, bool *cutToRuns = nullptr);
  // The bytes a read of the entry hands on: its size, or for an NTFS file
  // whose size was damaged past its runs what they hold.
  uint64_t BytesToRead(const EntryRecord &entry);

private:
  ScanKind m_kind;
  Target m_target;
  SectorIo m_io;
  SectorReader m_reader;
  std::unique_ptr<FatScanEngine> m_fat;
  std::unique_ptr<NtfsAdvancedEngine> m_ntfs;
  std::unique_ptr<PhysicalDiskScan> m_disk;
};

// The single door through which the engines and the drive list reach a disk:
// runs of 512-byte sectors of a logical drive (drive code 0..127, 0 = A:) or a
// whole physical disk (128 + disk number), on either Windows family.
//
// Device access sits behind one replaceable layer: a DeviceLayer maps drive
// codes to SectorDevices and keeps each open for its own life. The Windows
// build opens the real devices; tests substitute image files and memory.
#pragma once

#include "LegacyDiskPort.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

constexpr uint32_t kSectorSize = 512;

// Raw device: transfers at a byte offset and says how much it moved.
class SectorDevice {
public:
  virtual ~SectorDevice() = default;
  // Bytes actually read (less than byteCount at the end of the device, 0 on failure).
  virtual uint32_t ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) = 0;
  // Bytes actually written (0 when the device is read-only or fails).
  virtual uint32_t WriteAt(uint64_t byteOffset, const void *buffer, uint32_t byteCount) = 0;
  // Size in bytes, 0 when unknown.
  virtual uint64_t SizeInBytes() const = 0;
};

// Geometry of a physical disk as the device reports it.
struct DiskGeometry {
  uint64_t m_cylinders = 0;
  uint32_t m_tracksPerCylinder = 0;
  uint32_t m_sectorsPerTrack = 0;

  uint64_t TotalSectors() const { return m_cylinders * m_tracksPerCylinder * m_sectorsPerTrack; }
};

// Why a drive code's device could not be opened.
enum class DeviceOpenFailure {
  None,         // it opened, or no open was tried
  AccessDenied, // the system refused it: the program runs without administrator rights
  Other,        // no such device, or it failed otherwise
};

class DeviceLayer {
public:
  virtual ~DeviceLayer() = default;
  // The open device of a drive code, opened on first use and kept; null when
  // it cannot be opened.
  virtual SectorDevice *Device(uint8_t driveCode) = 0;
  // Why the last Device() of the drive code gave null.
  virtual DeviceOpenFailure OpenFailure(uint8_t /*driveCode*/) const { return DeviceOpenFailure::None; }
  // Geometry of a physical disk; false when the device cannot report it.
  virtual bool Geometry(uint8_t driveCode, DiskGeometry &out) = 0;
  // Closes every device held.
  virtual void CloseAll() = 0;
};

// Path of a drive code's device: \\.\C: for a logical drive,
// \\.\PHYSICALDRIVE0 for code 128.
std::u16string DevicePathForDriveCode(uint8_t driveCode);

class SectorIo {
public:
  // legacy is used on the 95/98/Me family only and may be null elsewhere.
  SectorIo(DeviceLayer &devices, LegacyDiskPort *legacy, bool windows9x);

  bool IsWindows9x() const { return m_windows9x; }
  void SetWindows9x(bool windows9x) { m_windows9x = windows9x; }
  uint8_t ReadRetryCount() const { return m_readRetryCount; }
  DeviceLayer &Devices() { return m_devices; }

  // Reads or writes byteCount bytes (whole sectors) from firstSector. Nonzero
  // only when every byte was transferred; a short transfer fails and the
  // part of the buffer that was not read is zeroed, never left stale.
  int ReadWriteSectors(uint8_t driveCode, uint32_t firstSector, void *buffer, uint32_t byteCount,
                       uint32_t write);
  // The same with a 64-bit sector number.
  bool TransferSectors(uint8_t driveCode, uint64_t firstSector, void *buffer, uint32_t byteCount, bool write);

  int VolumeSectorIo(uint8_t driveCode, uint64_t firstSector, void *buffer, uint32_t byteCount, bool write);
  int LockVolume9x(uint8_t driveNumber, bool lock);
  int PhysicalSectorIoRetry(uint8_t driveCode, uint32_t sectorLow, uint32_t sectorHigh, void *buffer,
                            uint32_t byteCount, uint8_t write);
  int PhysicalSectorIo(uint8_t driveCode, uint32_t sectorLow, uint32_t sectorHigh, void *buffer,
                       uint32_t byteCount, uint8_t write);
  int Ei13ReadSectors(uint8_t biosDrive, uint32_t sectorLow, uint32_t sectorHigh, void *buffer,
                      uint32_t byteCount, uint32_t write);
  void Ei13GetDriveParameters(uint8_t biosDrive, uint64_t *totalSectors);
  int CountPhysicalDisks(uint8_t *count);
  int GetDiskGeometry(uint8_t driveCode, DiskGeometry &geometry);
  // Total sectors of a physical disk (NT family): its length, or else its
  // geometry's whole cylinders; 0 on the 95/98/Me family or when unknown.
  void GetDiskSectorCount(uint8_t driveCode, uint64_t *sectors);

private:
  int CompleteTransfer(SectorDevice &device, uint64_t byteOffset, void *buffer, uint32_t byteCount,
                       bool write);

  DeviceLayer &m_devices;
  LegacyDiskPort *m_legacy;
  bool m_windows9x;
  uint8_t m_readRetryCount = 1;
};

// What an engine reads through: one drive code, with the sector offset of the
// volume on its disk (0 when read through the logical device). Tests can make
// chosen sectors fail.
class SectorReader {
public:
  SectorReader(SectorIo &io, uint8_t driveCode, uint64_t startSector = 0);

  uint8_t DriveCode() const { return m_driveCode; }
  uint64_t StartSector() const { return m_startSector; }
  SectorIo &Io() { return m_io; }

  // Reads count sectors from first (relative to the volume start) into buffer
  // of count * 512 bytes. False when any sector fails.
  bool ReadSectors(uint64_t first, uint32_t count, void *buffer);
  // Whether the system refuses to open the device (an open is tried when
  // none was): the user is then told that administrator rights are needed,
  // not that the volume is damaged.
  bool AccessDenied() {
    DeviceLayer &devices = m_io.Devices();
    return devices.Device(m_driveCode) == nullptr &&
           devices.OpenFailure(m_driveCode) == DeviceOpenFailure::AccessDenied;
  }

  // Fault injection: a read that covers a sector (volume-relative) for which
  // the predicate answers true fails. Null clears it.
  void SetFaultFilter(std::function<bool(uint64_t sector)> fails) { m_fails = std::move(fails); }

private:
  SectorIo &m_io;
  uint8_t m_driveCode;
  uint64_t m_startSector;
  std::function<bool(uint64_t)> m_fails;
};

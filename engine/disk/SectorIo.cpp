#include "SectorIo.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr uint8_t kFirstPhysicalCode = 128;
constexpr uint64_t kMaxSectorForByteOffset = std::numeric_limits<uint64_t>::max() / kSectorSize;
constexpr uint32_t kVwin32DosIoctl = 1;
constexpr uint32_t kVwin32DriveInfo = 6;
constexpr uint32_t kCarryFlag = 1;

bool AllBytesAre(const void *buffer, uint32_t byteCount, uint8_t value) {
  const uint8_t *p = static_cast<const uint8_t *>(buffer);
  return std::all_of(p, p + byteCount, [value](uint8_t b) { return b == value; });
}

} // namespace

std::u16string DevicePathForDriveCode(uint8_t driveCode) {
  std::u16string path = u"\\\\.\\";
  if (driveCode < kFirstPhysicalCode) {
    path.push_back(static_cast<char16_t>(u'A' + driveCode));
    path.push_back(u':');
    return path;
  }
  path += u"PHYSICALDRIVE";
  for (char c : std::to_string(driveCode - kFirstPhysicalCode)) path.push_back(static_cast<char16_t>(c));
  return path;
}

SectorIo::SectorIo(DeviceLayer &devices, LegacyDiskPort *legacy, bool windows9x)
    : m_devices(devices), m_legacy(legacy), m_windows9x(windows9x) {}

int SectorIo::ReadWriteSectors(uint8_t driveCode, uint32_t firstSector, void *buffer, uint32_t byteCount,
                               uint32_t write) {
  return TransferSectors(driveCode, firstSector, buffer, byteCount, write != 0) ? 1 : 0;
}

bool SectorIo::TransferSectors(uint8_t driveCode, uint64_t firstSector, void *buffer, uint32_t byteCount,
                               bool write) {
  if (buffer == nullptr) return false;
  if (driveCode >= kFirstPhysicalCode)
    return PhysicalSectorIoRetry(driveCode, static_cast<uint32_t>(firstSector),
                                 static_cast<uint32_t>(firstSector >> 32), buffer, byteCount, write) != 0;
  return VolumeSectorIo(driveCode, firstSector, buffer, byteCount, write) != 0;
}

int SectorIo::CompleteTransfer(SectorDevice &device, uint64_t byteOffset, void *buffer, uint32_t byteCount,
                               bool write) {
  if (write) return device.WriteAt(byteOffset, buffer, byteCount) == byteCount ? 1 : 0;
  const uint32_t done = std::min(device.ReadAt(byteOffset, buffer, byteCount), byteCount);
  if (done == byteCount) return 1;
  // Whatever the device did not deliver must not pass for disk contents.
  std::memset(static_cast<uint8_t *>(buffer) + done, 0, byteCount - done);
  return 0;
}

int SectorIo::VolumeSectorIo(uint8_t driveCode, uint64_t firstSector, void *buffer, uint32_t byteCount,
                             bool write) {
  if (!m_windows9x) {
    SectorDevice *device = m_devices.Device(driveCode);
    if (device == nullptr || firstSector > kMaxSectorForByteOffset) return 0;
    return CompleteTransfer(*device, firstSector * kSectorSize, buffer, byteCount, write);
  }
  // The 95/98/Me transfer block holds a 32-bit sector and a 16-bit count.
  const uint32_t sectorCount = byteCount / kSectorSize;
  if (m_legacy == nullptr || firstSector > std::numeric_limits<uint32_t>::max() || sectorCount > 0xFFFF)
    return 0;
  const uint8_t driveNumber = static_cast<uint8_t>(driveCode + 1);
  LockVolume9x(driveNumber, true);
  DiskIoBlock diskIo;
  diskIo.m_firstSector = static_cast<uint32_t>(firstSector);
  diskIo.m_sectorCount = static_cast<uint16_t>(sectorCount);
  diskIo.m_buffer = buffer;
  Vwin32Registers registers;
  registers.m_eax = 0x7305; // extended absolute disk read/write
  registers.m_ecx = 0xFFFF;
  registers.m_edx = driveNumber;
  registers.m_esi = write ? 0x6001 : 0;
  const bool called = m_legacy->Vwin32Call(kVwin32DriveInfo, registers, &diskIo);
  LockVolume9x(driveNumber, false);
  // The service reports a failed transfer in the carry flag alone.
  return called && (registers.m_flags & kCarryFlag) == 0 ? 1 : 0;
}

int SectorIo::LockVolume9x(uint8_t driveNumber, bool lock) {
  if (m_legacy == nullptr) return 0;
  Vwin32Registers registers;
  registers.m_eax = 0x440D;                   // generic block-device request
  registers.m_ebx = driveNumber | 0x100u;     // lock level 1 in BH
  registers.m_ecx = lock ? 0x084Au : 0x086Au; // lock or unlock the logical volume
  registers.m_edx = 1;                        // permissions
  if (!m_legacy->Vwin32Call(kVwin32DosIoctl, registers, nullptr)) return 0;
  return (registers.m_flags & kCarryFlag) == 0 ? 1 : 0;
}

int SectorIo::PhysicalSectorIoRetry(uint8_t driveCode, uint32_t sectorLow, uint32_t sectorHigh, void *buffer,
                                    uint32_t byteCount, uint8_t write) {
  m_readRetryCount = 1;
  for (uint8_t attempts = 0; attempts < m_readRetryCount; ++attempts) {
    const int result = m_windows9x
                           ? Ei13ReadSectors(driveCode, sectorLow, sectorHigh, buffer, byteCount, write)
                           : PhysicalSectorIo(driveCode, sectorLow, sectorHigh, buffer, byteCount, write);
    if ((result & 0xFF) != 0) return 1;
  }
  return 0;
}

int SectorIo::PhysicalSectorIo(uint8_t driveCode, uint32_t sectorLow, uint32_t sectorHigh, void *buffer,
                               uint32_t byteCount, uint8_t write) {
  SectorDevice *device = m_devices.Device(driveCode);
  const uint64_t sector = (static_cast<uint64_t>(sectorHigh) << 32) | sectorLow;
  if (device == nullptr || sector > kMaxSectorForByteOffset) return 0;
  return CompleteTransfer(*device, sector * kSectorSize, buffer, byteCount, write != 0);
}

int SectorIo::Ei13ReadSectors(uint8_t biosDrive, uint32_t sectorLow, uint32_t sectorHigh, void *buffer,
                              uint32_t byteCount, uint32_t write) {
  // The helper library can only read: a write must not be reported as done.
  if (write != 0 || m_legacy == nullptr || !m_legacy->HasInt13Entries()) return 0;
  Int13Request request;
  request.m_biosDrive = biosDrive;
  request.m_sectorLow = sectorLow;
  request.m_sectorHigh = sectorHigh;
  request.m_sectorCount = byteCount / kSectorSize;
  // A disk that is not there leaves the buffer as it was filled; a second fill
  // with another byte tells that apart from sectors that really hold the first.
  std::memset(buffer, 0xF6, byteCount);
  if (!m_legacy->Int13ReadSector(request, buffer, byteCount)) return 0;
  if (!AllBytesAre(buffer, byteCount, 0xF6)) return 1;
  std::memset(buffer, 0xF7, byteCount);
  if (!m_legacy->Int13ReadSector(request, buffer, byteCount)) return 0;
  return AllBytesAre(buffer, byteCount, 0xF7) ? 0 : 1;
}

void SectorIo::Ei13GetDriveParameters(uint8_t biosDrive, uint64_t *totalSectors) {
  *totalSectors = 0;
  if (m_legacy == nullptr || !m_legacy->HasInt13Entries()) return;
  *totalSectors = m_legacy->Int13TotalSectors(biosDrive);
}

int SectorIo::CountPhysicalDisks(uint8_t *count) {
  *count = 0;
  std::vector<uint8_t> sector(kSectorSize);
  // At most 127 disks have a drive code.
  while (*count < 127) {
    const uint8_t code = static_cast<uint8_t>(kFirstPhysicalCode + *count);
    const bool present = m_windows9x ? Ei13ReadSectors(code, 0, 0, sector.data(), kSectorSize, 0) != 0
                                     : m_devices.Device(code) != nullptr;
    if (!present) break;
    ++*count;
  }
  return *count > 0 ? 1 : 0;
}

int SectorIo::GetDiskGeometry(uint8_t driveCode, DiskGeometry &geometry) {
  return m_devices.Geometry(driveCode, geometry) ? 1 : 0;
}

void SectorIo::GetDiskSectorCount(uint8_t driveCode, uint64_t *sectors) {
  *sectors = 0;
  if (m_windows9x) return;
  // Whole cylinders fall short of the disk's end; its exact length, where the
  // device tells it, reaches the last sectors too.
  SectorDevice *device = m_devices.Device(driveCode);
  if (device != nullptr && device->SizeInBytes() != 0) {
    *sectors = device->SizeInBytes() / kSectorSize;
    return;
  }
  DiskGeometry geometry;
  if (GetDiskGeometry(driveCode, geometry)) *sectors = geometry.TotalSectors();
}

SectorReader::SectorReader(SectorIo &io, uint8_t driveCode, uint64_t startSector)
    : m_io(io), m_driveCode(driveCode), m_startSector(startSector) {}

bool SectorReader::ReadSectors(uint64_t first, uint32_t count, void *buffer) {
  if (count == 0) return true;
  if (count > std::numeric_limits<uint32_t>::max() / kSectorSize) return false;
  if (first > std::numeric_limits<uint64_t>::max() - m_startSector - count) return false;
  if (m_fails) {
    for (uint64_t s = first; s < first + count; ++s)
      if (m_fails(s)) {
        std::memset(buffer, 0, static_cast<size_t>(count) * kSectorSize);
        return false;
      }
  }
  return m_io.TransferSectors(m_driveCode, m_startSector + first, buffer, count * kSectorSize, false);
}

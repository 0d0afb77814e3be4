#include "SimulatedLegacyDisks.h"

namespace {
constexpr uint32_t kCarry = 1;
}

bool SimulatedLegacyDisks::Vwin32Call(uint32_t service, Vwin32Registers &registers, DiskIoBlock *diskIo) {
  if (!m_vwin32Available) return false;
  m_vwin32Calls.push_back(Call{service, registers});
  registers.m_flags |= kCarry;
  if (service == 1 && registers.m_eax == 0x440D) return LockRequest(registers);
  if (service == 6 && registers.m_eax == 0x7305) return DiskTransfer(registers, diskIo);
  return true;
}

bool SimulatedLegacyDisks::LockRequest(Vwin32Registers &registers) {
  const uint8_t driveNumber = static_cast<uint8_t>(registers.m_ebx & 0xFF);
  if (driveNumber == 0 || m_images.Device(static_cast<uint8_t>(driveNumber - 1)) == nullptr) return true;
  if (registers.m_ecx == 0x084A)
    ++m_lockDepth;
  else if (registers.m_ecx == 0x086A)
    --m_lockDepth;
  else
    return true;
  registers.m_flags &= ~kCarry;
  return true;
}

bool SimulatedLegacyDisks::DiskTransfer(Vwin32Registers &registers, DiskIoBlock *diskIo) {
  const uint8_t driveNumber = static_cast<uint8_t>(registers.m_edx);
  SectorDevice *device = driveNumber == 0 ? nullptr : m_images.Device(static_cast<uint8_t>(driveNumber - 1));
  if (device == nullptr || diskIo == nullptr || registers.m_ecx != 0xFFFF) return true;
  for (uint32_t i = 0; i < diskIo->m_sectorCount; ++i)
    if (m_carryOnSector && m_carryOnSector(diskIo->m_firstSector + i)) return true;
  const uint64_t offset = static_cast<uint64_t>(diskIo->m_firstSector) * kSectorSize;
  const uint32_t bytes = static_cast<uint32_t>(diskIo->m_sectorCount) * kSectorSize;
  const bool write = (registers.m_esi & 1) != 0;
  const uint32_t done = write ? device->WriteAt(offset, diskIo->m_buffer, bytes)
                              : device->ReadAt(offset, diskIo->m_buffer, bytes);
  if (done == bytes) registers.m_flags &= ~kCarry;
  return true;
}

bool SimulatedLegacyDisks::Int13ReadSector(const Int13Request &request, void *buffer, uint32_t byteCount) {
  m_int13Reads.push_back(request);
  SectorDevice *device = m_images.Device(request.m_biosDrive);
  // A BIOS drive that is not there: the helper answers without touching the buffer.
  if (device == nullptr) return true;
  const uint64_t sector = (static_cast<uint64_t>(request.m_sectorHigh) << 32) | request.m_sectorLow;
  if (sector > UINT64_MAX / kSectorSize) return false;
  return device->ReadAt(sector * kSectorSize, buffer, byteCount) == byteCount;
}

uint64_t SimulatedLegacyDisks::Int13TotalSectors(uint8_t biosDrive) {
  SectorDevice *device = m_images.Device(biosDrive);
  return device == nullptr ? 0 : device->SizeInBytes() / kSectorSize;
}

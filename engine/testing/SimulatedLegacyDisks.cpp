#include "SimulatedLegacyDisks.h"

#include <algorithm>

namespace {
constexpr uint32_t kCarry = 1;
}

// The SMART commands answered from the simulation's devices.
class SimulatedSmartPort : public SmartPort {
public:
  explicit SimulatedSmartPort(SimulatedLegacyDisks &disks) : m_disks(disks) {}

  bool GetVersion(uint8_t &deviceMap) override {
    deviceMap = 0;
    for (const auto &[position, device] : m_disks.m_smartDevices)
      if (position < 4) deviceMap |= static_cast<uint8_t>((device.m_packet ? 0x11u : 0x01u) << position);
    return true;
  }
  bool Enable(uint8_t position) override {
    m_disks.m_smartCalls.push_back("enable " + std::to_string(position));
    return Find(position) != nullptr;
  }
  bool Identify(uint8_t position, uint8_t command, uint8_t *data) override {
    m_disks.m_smartCalls.push_back("identify " + std::to_string(position) + " " + std::to_string(command));
    const SimulatedLegacyDisks::SmartDevice *device = Find(position);
    return device != nullptr && Copy(device->m_identify, data);
  }
  bool ReadData(uint8_t position, uint8_t *data) override {
    m_disks.m_smartCalls.push_back("read " + std::to_string(position));
    const SimulatedLegacyDisks::SmartDevice *device = Find(position);
    return device != nullptr && Copy(device->m_smartData, data);
  }

private:
  const SimulatedLegacyDisks::SmartDevice *Find(uint8_t position) const {
    auto it = m_disks.m_smartDevices.find(position);
    return it == m_disks.m_smartDevices.end() ? nullptr : &it->second;
  }
  static bool Copy(const std::vector<uint8_t> &bytes, uint8_t *data) {
    if (bytes.empty()) return false;
    std::copy_n(bytes.begin(), std::min(bytes.size(), kIdentifyDataSize), data);
    return true;
  }

  SimulatedLegacyDisks &m_disks;
};

std::unique_ptr<SmartPort> SimulatedLegacyDisks::OpenSmartVsd() {
  if (!m_smartVsdAvailable) return nullptr;
  ++m_smartVsdOpens;
  return std::make_unique<SimulatedSmartPort>(*this);
}

std::unique_ptr<SmartPort> SimulatedLegacyDisks::SmartPortOverDevices() {
  return std::make_unique<SimulatedSmartPort>(*this);
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

// The 95/98/Me disk services simulated over image devices: \\.\vwin32 volume
// lock/unlock and extended absolute reads and writes on logical drives
// (drive number n = drive code n - 1), and the INT 13h helper entries on
// physical disks (BIOS code = drive code). It records what was asked of it.
#pragma once

#include "LegacyDiskPort.h"
#include "SectorIo.h"

#include <functional>
#include <vector>

class SimulatedLegacyDisks : public LegacyDiskPort {
public:
  explicit SimulatedLegacyDisks(DeviceLayer &images) : m_images(images) {}

  bool Vwin32Call(uint32_t service, Vwin32Registers &registers, DiskIoBlock *diskIo) override;
  bool HasInt13Entries() const override { return m_hasInt13Entries; }
  bool Int13ReadSector(const Int13Request &request, void *buffer, uint32_t byteCount) override;
  uint64_t Int13TotalSectors(uint8_t biosDrive) override;

  // As when the helper library is missing.
  void SetHasInt13Entries(bool has) { m_hasInt13Entries = has; }
  // As when the \\.\vwin32 device cannot be opened.
  void SetVwin32Available(bool available) { m_vwin32Available = available; }
  // Logical transfers covering a sector for which this answers true report
  // the failure in the carry flag only.
  void SetCarryOnSector(std::function<bool(uint32_t)> fails) { m_carryOnSector = std::move(fails); }

  struct Call {
    uint32_t m_service;
    Vwin32Registers m_registers;
  };
  std::vector<Call> m_vwin32Calls;
  std::vector<Int13Request> m_int13Reads;
  int m_lockDepth = 0;

private:
  bool LockRequest(Vwin32Registers &registers);
  bool DiskTransfer(Vwin32Registers &registers, DiskIoBlock *diskIo);

  DeviceLayer &m_images;
  std::function<bool(uint32_t)> m_carryOnSector;
  bool m_hasInt13Entries = true;
  bool m_vwin32Available = true;
};

// The 95/98/Me disk services simulated over image devices: \\.\vwin32 volume
// lock/unlock and extended absolute reads and writes on logical drives
// (drive number n = drive code n - 1), and the INT 13h helper entries on
// physical disks (BIOS code = drive code), and the \\.\SMARTVSD device with
// the disks it answers for at chosen positions. It records what was asked of it.
#pragma once

#include "LegacyDiskPort.h"
#include "hddInfo.h"
#include "SectorIo.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class SimulatedLegacyDisks : public LegacyDiskPort {
public:
  explicit SimulatedLegacyDisks(DeviceLayer &images) : m_images(images) {}

  bool Vwin32Call(uint32_t service, Vwin32Registers &registers, DiskIoBlock *diskIo) override;
  bool HasInt13Entries() const override { return m_hasInt13Entries; }
  bool Int13ReadSector(const Int13Request &request, void *buffer, uint32_t byteCount) override;
  uint64_t Int13TotalSectors(uint8_t biosDrive) override;
  std::unique_ptr<SmartPort> OpenSmartVsd() override;

  // As when the helper library is missing.
  void SetHasInt13Entries(bool has) { m_hasInt13Entries = has; }
  // As when the \\.\vwin32 device cannot be opened.
  void SetVwin32Available(bool available) { m_vwin32Available = available; }
  // Logical transfers covering a sector for which this answers true report
  // the failure in the carry flag only.
  void SetCarryOnSector(std::function<bool(uint32_t)> fails) { m_carryOnSector = std::move(fails); }

  // A device at a SMARTVSD position: its IDENTIFY answer (none: the command
  // fails) and its SMART data; a packet device is mapped with bit position + 4.
  struct SmartDevice {
    std::vector<uint8_t> m_identify;
    std::vector<uint8_t> m_smartData;
    bool m_packet = false;
  };
  void SetSmartDevice(uint8_t position, SmartDevice device) { m_smartDevices[position] = std::move(device); }
  // As when the SMART driver is not installed.
  void SetSmartVsdAvailable(bool available) { m_smartVsdAvailable = available; }
  // A SMART port over the same devices, as a disk's own device would answer
  // on the NT family (every position it maps).
  std::unique_ptr<SmartPort> SmartPortOverDevices();

  struct Call {
    uint32_t m_service;
    Vwin32Registers m_registers;
  };
  std::vector<Call> m_vwin32Calls;
  std::vector<Int13Request> m_int13Reads;
  int m_lockDepth = 0;
  size_t m_smartVsdOpens = 0;
  // "enable 1", "identify 1 236", "read 1": the SMART commands in order.
  std::vector<std::string> m_smartCalls;

private:
  bool LockRequest(Vwin32Registers &registers);
  bool DiskTransfer(Vwin32Registers &registers, DiskIoBlock *diskIo);

  DeviceLayer &m_images;
  std::function<bool(uint32_t)> m_carryOnSector;
  bool m_hasInt13Entries = true;
  bool m_vwin32Available = true;
  std::map<uint8_t, SmartDevice> m_smartDevices;
  bool m_smartVsdAvailable = true;

  friend class SimulatedSmartPort;
};

// The 95/98/Me family's disk services: calls of the \\.\vwin32 device on a
// register block, and the INT 13h extension entries of the My32 helper
// library. The sector interface reaches them only through this port, so the
// same logic runs against a simulation backed by disk images in tests.
#pragma once

#include <cstdint>
#include <memory>

class SmartPort;

// The seven registers of a \\.\vwin32 call, in their block order.
struct Vwin32Registers {
  uint32_t m_ebx = 0;
  uint32_t m_edx = 0;
  uint32_t m_ecx = 0;
  uint32_t m_eax = 0;
  uint32_t m_edi = 0;
  uint32_t m_esi = 0;
  uint32_t m_flags = 0; // bit 0: carry (the service failed)
};

// The transfer block of an extended absolute disk read or write (EAX 0x7305),
// which EBX points at in the real call.
struct DiskIoBlock {
  uint32_t m_firstSector = 0;
  uint16_t m_sectorCount = 0;
  void *m_buffer = nullptr;
};

// The INT 13h extension request of the helper library's sector read.
struct Int13Request {
  uint8_t m_biosDrive = 0; // 0x80 + disk number
  uint32_t m_sectorLow = 0;
  uint32_t m_sectorHigh = 0;
  uint32_t m_sectorCount = 0;
};

class LegacyDiskPort {
public:
  virtual ~LegacyDiskPort() = default;

  // One \\.\vwin32 device call (service 1: DOS IOCTL, 6: DOS drive
  // information); diskIo is the block EBX points at, or null. False when the
  // device cannot be opened or the call fails; the carry flag is returned in
  // the registers.
  virtual bool Vwin32Call(uint32_t service, Vwin32Registers &registers, DiskIoBlock *diskIo) = 0;

  // False when the helper library or the entry is missing.
  virtual bool HasInt13Entries() const = 0;
  // EI13ReadSector: reads the request's sectors into buffer; false when the
  // BIOS reported an error. A disk that is not there may still answer true
  // and leave the buffer as it was, which the caller's fill pattern detects.
  virtual bool Int13ReadSector(const Int13Request &request, void *buffer, uint32_t byteCount) = 0;
  // EI13GetDriveParameters: the disk's total sector count (0 when unknown).
  virtual uint64_t Int13TotalSectors(uint8_t biosDrive) = 0;

  // The \\.\SMARTVSD device, opened with CREATE_NEW: one handle serves the
  // SMART commands of every disk, each at its own device position. Null when
  // it cannot be opened (the driver is not installed).
  virtual std::unique_ptr<SmartPort> OpenSmartVsd() = 0;
};

// The 95/98/Me family's disk services on a real system: the \\.\vwin32
// device and the INT 13h helper library My32.DLL, loaded from the
// executable's folder.
#pragma once

#include "LegacyDiskPort.h"

#include <windows.h>

class My32DiskPort : public LegacyDiskPort {
public:
  My32DiskPort();
  My32DiskPort(const My32DiskPort &) = delete;
  My32DiskPort &operator=(const My32DiskPort &) = delete;
  ~My32DiskPort() override;

  bool Vwin32Call(uint32_t service, Vwin32Registers &registers, DiskIoBlock *diskIo) override;
  bool HasInt13Entries() const override { return m_read != nullptr && m_parameters != nullptr; }
  bool Int13ReadSector(const Int13Request &request, void *buffer, uint32_t byteCount) override;
  uint64_t Int13TotalSectors(uint8_t biosDrive) override;
  std::unique_ptr<SmartPort> OpenSmartVsd() override;

private:
  using ReadSectorEntry = BOOL(WINAPI *)(void *request, void *buffer, DWORD byteCount);
  using DriveParametersEntry = BOOL(WINAPI *)(void *block);

  HMODULE m_library;
  ReadSectorEntry m_read = nullptr;
  DriveParametersEntry m_parameters = nullptr;
};

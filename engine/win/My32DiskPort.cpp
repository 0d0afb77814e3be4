#include "My32DiskPort.h"

#include "ByteOrder.h"
#include "LibraryLoader.h"
#include "WinSmartPort.h"

#include <cstring>

My32DiskPort::My32DiskPort() : m_library(LoadLibraryBesideExecutable(L"My32.DLL")) {
  if (m_library == nullptr) return;
  m_read = reinterpret_cast<ReadSectorEntry>(
      reinterpret_cast<void *>(GetProcAddress(m_library, "EI13ReadSector")));
  m_parameters = reinterpret_cast<DriveParametersEntry>(
      reinterpret_cast<void *>(GetProcAddress(m_library, "EI13GetDriveParameters")));
}

My32DiskPort::~My32DiskPort() {
  if (m_library != nullptr) FreeLibrary(m_library);
}

bool My32DiskPort::Vwin32Call(uint32_t service, Vwin32Registers &registers, DiskIoBlock *diskIo) {
#if UINTPTR_MAX == 0xFFFFFFFFu
  // The device's register block carries 32-bit addresses.
  uint8_t packed[10] = {};
  if (diskIo != nullptr) {
    WriteLe32(packed, diskIo->m_firstSector);
    WriteLe16(packed + 4, diskIo->m_sectorCount);
    WriteLe32(packed + 6, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(diskIo->m_buffer)));
    registers.m_ebx = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(packed));
  }
  HANDLE device = CreateFileW(L"\\\\.\\vwin32", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (device == INVALID_HANDLE_VALUE) return false;
  uint32_t block[7] = {registers.m_ebx, registers.m_edx, registers.m_ecx,  registers.m_eax,
                       registers.m_edi, registers.m_esi, registers.m_flags};
  DWORD returned = 0;
  const BOOL ok =
      DeviceIoControl(device, service, block, sizeof block, block, sizeof block, &returned, nullptr);
  CloseHandle(device);
  registers = Vwin32Registers{block[0], block[1], block[2], block[3], block[4], block[5], block[6]};
  return ok != 0;
#else
  // Only the 95/98/Me family has this device, and it runs no 64-bit program.
  (void)service;
  (void)registers;
  (void)diskIo;
  return false;
#endif
}

bool My32DiskPort::Int13ReadSector(const Int13Request &request, void *buffer, uint32_t byteCount) {
  if (m_read == nullptr) return false;
  uint8_t block[16] = {};
  block[0] = request.m_biosDrive;               // 0, 1, BIOS drive code
  WriteLe32(block + 4, request.m_sectorLow);    // 4, 4, first sector, low half
  WriteLe32(block + 8, request.m_sectorHigh);   // 8, 4, first sector, high half
  WriteLe32(block + 12, request.m_sectorCount); // 12, 4, sector count
  return m_read(block, buffer, byteCount) != 0;
}

uint64_t My32DiskPort::Int13TotalSectors(uint8_t biosDrive) {
  if (m_parameters == nullptr) return 0;
  uint8_t block[28] = {};
  block[0] = biosDrive;
  m_parameters(block);
  return ReadLe32(block + 16); // 16, 4, total sectors (low half)
}

std::unique_ptr<SmartPort> My32DiskPort::OpenSmartVsd() {
  auto port = std::make_unique<WinSmartPort>(L"\\\\.\\SMARTVSD", 0, CREATE_NEW);
  if (!port->IsOpen()) return nullptr;
  return port;
}

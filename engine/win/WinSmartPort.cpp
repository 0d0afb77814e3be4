#include "WinSmartPort.h"

#include "SectorIo.h"

#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint8_t kSmartEnable = 0xD8;
constexpr uint8_t kSmartReadData = 0xD0;
constexpr uint8_t kSmartCommand = 0xB0;
constexpr uint8_t kSmartCylLow = 0x4F;
constexpr uint8_t kSmartCylHigh = 0xC2;

} // namespace

WinSmartPort::WinSmartPort(uint8_t biosDisk) {
  const std::u16string path = DevicePathForDriveCode(biosDisk);
  const std::wstring wide(path.begin(), path.end());
  m_handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
}

WinSmartPort::~WinSmartPort() {
  if (IsOpen()) CloseHandle(m_handle);
}

bool WinSmartPort::GetVersion(uint8_t &deviceMap) {
  GETVERSIONINPARAMS version{};
  DWORD returned = 0;
  const bool ok = DeviceIoControl(m_handle, SMART_GET_VERSION, nullptr, 0, &version, sizeof version,
                                  &returned, nullptr) != 0;
  deviceMap = ok ? version.bIDEDeviceMap : 0;
  return ok;
}

bool WinSmartPort::Command(DWORD code, uint8_t position, uint8_t features, uint8_t cylLow, uint8_t cylHigh,
                           uint8_t command, uint32_t dataSize, uint8_t *data) {
  SENDCMDINPARAMS in{};
  in.cBufferSize = dataSize;
  in.irDriveRegs.bFeaturesReg = features;
  in.irDriveRegs.bSectorCountReg = 1;
  in.irDriveRegs.bSectorNumberReg = 1;
  in.irDriveRegs.bCylLowReg = cylLow;
  in.irDriveRegs.bCylHighReg = cylHigh;
  in.irDriveRegs.bDriveHeadReg = (position & 1) ? 0xB0 : 0xA0;
  in.irDriveRegs.bCommandReg = command;
  in.bDriveNumber = position;
  std::vector<uint8_t> out(sizeof(SENDCMDOUTPARAMS) + kIdentifyDataSize);
  DWORD returned = 0;
  const DWORD outSize = static_cast<DWORD>(dataSize == 0 ? sizeof(SENDCMDOUTPARAMS) : out.size());
  if (!DeviceIoControl(m_handle, code, &in, sizeof(SENDCMDINPARAMS) - 1, out.data(), outSize, &returned,
                       nullptr))
    return false;
  if (data != nullptr) {
    const size_t offset = offsetof(SENDCMDOUTPARAMS, bBuffer);
    std::memcpy(data, out.data() + offset, kIdentifyDataSize);
  }
  return true;
}

bool WinSmartPort::Enable(uint8_t position) {
  return Command(SMART_SEND_DRIVE_COMMAND, position, kSmartEnable, kSmartCylLow, kSmartCylHigh, kSmartCommand,
                 0, nullptr);
}

bool WinSmartPort::Identify(uint8_t position, uint8_t command, uint8_t *data) {
  return Command(SMART_RCV_DRIVE_DATA, position, 0, 0, 0, command, kIdentifyDataSize, data);
}

bool WinSmartPort::ReadData(uint8_t position, uint8_t *data) {
  return Command(SMART_RCV_DRIVE_DATA, position, kSmartReadData, kSmartCylLow, kSmartCylHigh, kSmartCommand,
                 kIdentifyDataSize, data);
}

bool GetDiskIdentity(uint8_t biosDisk, DiskIdentity &out) {
  WinSmartPort port(biosDisk);
  if (!port.IsOpen()) return false;
  return ReadDiskIdentity(static_cast<uint8_t>(biosDisk - 0x80), port, out, false);
}

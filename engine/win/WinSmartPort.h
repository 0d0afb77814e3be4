// The SMART commands of one physical disk, sent with DeviceIoControl.
#pragma once

#include "hddInfo.h"

#include <windows.h>

class WinSmartPort : public SmartPort {
public:
  // Opens the disk (0x80 + n) for the SMART interface; IsOpen() tells whether
  // that worked (it needs administrative rights).
  explicit WinSmartPort(uint8_t biosDisk);
  // Opens a device by its path with the given access and creation mode (the
  // 95/98/Me family's \\.\SMARTVSD is opened with no access and CREATE_NEW).
  WinSmartPort(const wchar_t *path, DWORD access, DWORD creation);
  WinSmartPort(const WinSmartPort &) = delete;
  WinSmartPort &operator=(const WinSmartPort &) = delete;
  ~WinSmartPort() override;

  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

  bool GetVersion(uint8_t &deviceMap) override;
  bool Enable(uint8_t position) override;
  bool Identify(uint8_t position, uint8_t command, uint8_t *data) override;
  bool ReadData(uint8_t position, uint8_t *data) override;

private:
  bool Command(DWORD code, uint8_t position, uint8_t features, uint8_t cylLow, uint8_t cylHigh,
               uint8_t command, uint32_t dataSize, uint8_t *data);

  HANDLE m_handle;
};

// The identity of a physical disk (0x80 + n); false when no IDENTIFY command
// answered (out still holds what SMART data gave).
bool GetDiskIdentity(uint8_t biosDisk, DiskIdentity &out);

#include "WinDeviceLayer.h"

#include <windows.h>
#include <winioctl.h>

#include <string>

namespace {

std::wstring ToWide(const std::u16string &text) {
  return std::wstring(text.begin(), text.end());
}

// One open device handle, owned.
class WinSectorDevice : public SectorDevice {
public:
  explicit WinSectorDevice(HANDLE handle) : m_handle(handle) {}
  WinSectorDevice(const WinSectorDevice &) = delete;
  WinSectorDevice &operator=(const WinSectorDevice &) = delete;
  ~WinSectorDevice() override { CloseHandle(m_handle); }

  uint32_t ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) override {
    DWORD done = 0;
    if (!Seek(byteOffset) || !ReadFile(m_handle, buffer, byteCount, &done, nullptr)) return 0;
    return done;
  }
  uint32_t WriteAt(uint64_t byteOffset, const void *buffer, uint32_t byteCount) override {
    DWORD done = 0;
    if (!Seek(byteOffset) || !WriteFile(m_handle, buffer, byteCount, &done, nullptr)) return 0;
    return done;
  }
  uint64_t SizeInBytes() const override {
    GET_LENGTH_INFORMATION length{};
    DWORD returned = 0;
    if (DeviceIoControl(m_handle, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length, &returned,
                        nullptr))
      return static_cast<uint64_t>(length.Length.QuadPart);
    LARGE_INTEGER size;
    return GetFileSizeEx(m_handle, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  HANDLE Handle() const { return m_handle; }

private:
  bool Seek(uint64_t byteOffset) {
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(byteOffset);
    return SetFilePointerEx(m_handle, offset, nullptr, FILE_BEGIN) != 0;
  }

  HANDLE m_handle;
};

} // namespace

SectorDevice *WinDeviceLayer::Device(uint8_t driveCode) {
  auto it = m_devices.find(driveCode);
  if (it != m_devices.end()) return it->second.get();
  const std::wstring path = ToWide(DevicePathForDriveCode(driveCode));
  HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    m_failures[driveCode] =
        GetLastError() == ERROR_ACCESS_DENIED ? DeviceOpenFailure::AccessDenied : DeviceOpenFailure::Other;
    return nullptr;
  }
  m_failures.erase(driveCode);
  SectorDevice *device = (m_devices[driveCode] = std::make_unique<WinSectorDevice>(handle)).get();
  return device;
}

DeviceOpenFailure WinDeviceLayer::OpenFailure(uint8_t driveCode) const {
  auto it = m_failures.find(driveCode);
  return it != m_failures.end() ? it->second : DeviceOpenFailure::None;
}

bool WinDeviceLayer::Geometry(uint8_t driveCode, DiskGeometry &out) {
  auto *device = static_cast<WinSectorDevice *>(Device(driveCode));
  if (device == nullptr) return false;
  DISK_GEOMETRY geometry{};
  DWORD returned = 0;
  if (!DeviceIoControl(device->Handle(), IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry,
                       sizeof geometry, &returned, nullptr))
    return false;
  out.m_cylinders = static_cast<uint64_t>(geometry.Cylinders.QuadPart);
  out.m_tracksPerCylinder = geometry.TracksPerCylinder;
  out.m_sectorsPerTrack = geometry.SectorsPerTrack;
  return true;
}

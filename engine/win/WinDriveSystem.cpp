#include "WinDriveSystem.h"

#include "WinSmartPort.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <vector>

namespace {

std::wstring ToWide(const std::u16string &text) {
  return std::wstring(text.begin(), text.end());
}
std::u16string FromWide(const wchar_t *text, size_t length) {
  return std::u16string(text, text + length);
}

} // namespace

std::u16string WinDriveSystem::LogicalDriveStrings() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetLogicalDriveStringsW(MAX_PATH, buffer);
  if (length == 0 || length > MAX_PATH) return std::u16string();
  return FromWide(buffer, length);
}

uint32_t WinDriveSystem::DriveType(const std::u16string &root) {
  return GetDriveTypeW(ToWide(root).c_str());
}

void *WinDriveSystem::KernelEntry(const char *name) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel ? reinterpret_cast<void *>(GetProcAddress(kernel, name)) : nullptr;
}

bool WinDriveSystem::TotalBytes(const std::u16string &root, uint64_t &total) {
  using FreeSpaceEx = BOOL(WINAPI *)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  const std::wstring path = ToWide(root);
  if (void *entry = KernelEntry("GetDiskFreeSpaceExW")) {
    ULARGE_INTEGER available, bytes, free;
    if (!reinterpret_cast<FreeSpaceEx>(entry)(path.c_str(), &available, &bytes, &free)) return false;
    total = bytes.QuadPart;
    return true;
  }
  // The older call counts clusters; their product is taken in 64 bits, so a
  // drive of 4 GB or more keeps its size.
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(path.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    return false;
  total = uint64_t{clusters} * bytesPerSector * sectorsPerCluster;
  return true;
}

std::u16string WinDriveSystem::FileSystemName(const std::u16string &root) {
  wchar_t name[32] = {};
  if (!GetVolumeInformationW(ToWide(root).c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, 32))
    return std::u16string();
  return FromWide(name, wcsnlen(name, 32));
}

bool WinDriveSystem::VolumeExtents(char16_t letter, std::vector<VolumeExtent> &out) {
  out.clear();
  const wchar_t path[] = {L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(letter), L':', 0};
  HANDLE handle =
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  std::vector<uint8_t> buffer(1024);
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(handle, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, buffer.data(),
                                  static_cast<DWORD>(buffer.size()), &returned, nullptr);
  CloseHandle(handle);
  if (!ok || returned < offsetof(VOLUME_DISK_EXTENTS, Extents)) return false;
  const auto *extents = reinterpret_cast<const VOLUME_DISK_EXTENTS *>(buffer.data());
  // Never trust the count beyond what the buffer holds.
  const size_t room = (returned - offsetof(VOLUME_DISK_EXTENTS, Extents)) / sizeof(DISK_EXTENT);
  const size_t count = std::min<size_t>(extents->NumberOfDiskExtents, room);
  for (size_t i = 0; i < count; ++i) {
    const DISK_EXTENT &e = extents->Extents[i];
    out.push_back(VolumeExtent{static_cast<uint32_t>(e.DiskNumber),
                               static_cast<uint64_t>(e.StartingOffset.QuadPart),
                               static_cast<uint64_t>(e.ExtentLength.QuadPart)});
  }
  return !out.empty();
}

bool WinDriveSystem::Version(PlatformVersion &out) {
  out = CurrentPlatformVersion();
  return true;
}

bool WinDriveSystem::Identity(uint8_t biosDisk, DiskIdentity &out) {
  return GetDiskIdentity(biosDisk, out);
}

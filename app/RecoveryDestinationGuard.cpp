#include "RecoveryDestinationGuard.h"

#include <windows.h>
#include <winioctl.h>

#include "AppText.h"

namespace {

constexpr uint8_t kFirstDiskCode = 0x80;
constexpr uint64_t kSectorBytes = 512;

char16_t UpperLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameText(const std::u16string &a, const std::u16string &b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperLetter(a[i]) != UpperLetter(b[i])) return false;
  return true;
}

// The drive letter of a path "X:..." (or of its volume root); 0 when it has none.
char16_t LetterOf(const std::u16string &path) {
  if (path.size() >= 2 && path[1] == u':') return UpperLetter(path[0]);
  return 0;
}

bool LetterListed(char16_t letter, const std::u16string &letters) {
  if (letter == 0) return false;
  for (char16_t c : letters)
    if (UpperLetter(c) == letter) return true;
  return false;
}

GuardAnswer ByLetter(char16_t destinationLetter, const std::u16string &letters, GuardVerdict match) {
  GuardAnswer answer;
  answer.m_byLetter = true;
  if (LetterListed(destinationLetter, letters)) answer.m_verdict = match;
  return answer;
}

GuardAnswer CheckAgainstLetter(const std::u16string &root, const SearchedPlace &searched,
                               VolumeQueries &queries) {
  const char16_t letter = static_cast<char16_t>(u'A' + searched.m_driveCode);
  const std::u16string searchedName = queries.VolumeNameOf(std::u16string(1, letter) + u":\\");
  const std::u16string destinationName = root.empty() ? std::u16string() : queries.VolumeNameOf(root);
  if (searchedName.empty() || destinationName.empty())
    return ByLetter(LetterOf(root), searched.m_letters + letter, GuardVerdict::SameVolume);
  GuardAnswer answer;
  if (SameText(searchedName, destinationName)) answer.m_verdict = GuardVerdict::SameVolume;
  return answer;
}

GuardAnswer CheckAgainstDisk(const std::u16string &root, const SearchedPlace &searched,
                             VolumeQueries &queries) {
  const bool wholeDisk = searched.m_sectors == 0;
  const GuardVerdict match = wholeDisk ? GuardVerdict::SameDisk : GuardVerdict::SameVolume;
  std::optional<std::vector<DiskExtent>> extents;
  if (!root.empty()) extents = queries.ExtentsOf(root);
  if (!extents) return ByLetter(LetterOf(root), searched.m_letters, match);
  const uint32_t disk = searched.m_driveCode - kFirstDiskCode;
  const uint64_t first = searched.m_startSector * kSectorBytes;
  const uint64_t end = first + searched.m_sectors * kSectorBytes;
  GuardAnswer answer;
  for (const DiskExtent &extent : *extents) {
    if (extent.m_disk != disk) continue;
    const bool overlaps = extent.m_startByte < end && first < extent.m_startByte + extent.m_length;
    if (wholeDisk || overlaps) answer.m_verdict = match;
  }
  return answer;
}

} // namespace

GuardAnswer CheckRecoveryDestination(const std::u16string &destination, const SearchedPlace &searched,
                                     VolumeQueries &queries) {
  std::u16string root = queries.VolumePathOf(destination);
  // Without the volume root the destination's own letter is all there is.
  if (root.empty() && LetterOf(destination) != 0) root = destination.substr(0, 2) + u"\\";
  if (searched.m_driveCode >= kFirstDiskCode) return CheckAgainstDisk(root, searched, queries);
  return CheckAgainstLetter(root, searched, queries);
}

std::u16string SystemVolumeQueries::VolumePathOf(const std::u16string &path) {
  wchar_t root[MAX_PATH + 1] = {};
  if (!GetVolumePathNameW(Wide(path), root, MAX_PATH + 1)) return {};
  return U16(root);
}

std::u16string SystemVolumeQueries::VolumeNameOf(const std::u16string &mountPoint) {
  std::u16string withSlash = mountPoint;
  if (withSlash.empty() || withSlash.back() != u'\\') withSlash += u'\\';
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetVolumeNameForVolumeMountPointW(Wide(withSlash), name, MAX_PATH + 1)) return {};
  return U16(name);
}

std::optional<std::vector<DiskExtent>> SystemVolumeQueries::ExtentsOf(const std::u16string &mountPoint) {
  // The volume is opened by its unique name, or by its letter when it has none.
  std::u16string device = VolumeNameOf(mountPoint);
  if (!device.empty() && device.back() == u'\\') device.pop_back();
  if (device.empty() && LetterOf(mountPoint) != 0) device = u"\\\\.\\" + mountPoint.substr(0, 2);
  if (device.empty()) return std::nullopt;
  HANDLE volume =
      CreateFileW(Wide(device), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (volume == INVALID_HANDLE_VALUE) return std::nullopt;
  // Room for a volume spread over many disks.
  std::vector<uint8_t> buffer(sizeof(VOLUME_DISK_EXTENTS) + 31 * sizeof(DISK_EXTENT));
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, buffer.data(),
                                  static_cast<DWORD>(buffer.size()), &returned, nullptr);
  CloseHandle(volume);
  if (!ok || returned < sizeof(DWORD)) return std::nullopt;
  const auto *extents = reinterpret_cast<const VOLUME_DISK_EXTENTS *>(buffer.data());
  std::vector<DiskExtent> result;
  for (DWORD i = 0; i < extents->NumberOfDiskExtents && i < 32; ++i) {
    const DISK_EXTENT &extent = extents->Extents[i];
    result.push_back(DiskExtent{extent.DiskNumber, static_cast<uint64_t>(extent.StartingOffset.QuadPart),
                                static_cast<uint64_t>(extent.ExtentLength.QuadPart)});
  }
  return result;
}

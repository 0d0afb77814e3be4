#include "RecoveryDestinationGuard.h"

#include <windows.h>
#include <lm.h>
#include <winioctl.h>

#include "AppText.h"

namespace {

constexpr uint8_t kFirstDiskCode = 0x80;
constexpr uint64_t kSectorBytes = 512;
// SUBST letters and shares may name each other; a chain longer than this
// is a loop, whose place cannot be told.
constexpr int kMostRenamings = 8;

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

bool StartsWith(const std::u16string &text, const std::u16string &prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool IsSlash(char16_t c) {
  return c == u'\\' || c == u'/';
}

// "\\?\UNC\server\share" and "\\.\UNC\..." are the share's path,
// "\\?\C:\..." and "\\.\C:\..." the plain one; other forms of those
// prefixes (a volume's unique name, a device) stay as they are.
std::u16string WithoutLongPrefix(const std::u16string &path) {
  if (path.size() < 4 || !IsSlash(path[0]) || !IsSlash(path[1]) || (path[2] != u'?' && path[2] != u'.') ||
      !IsSlash(path[3]))
    return path;
  const std::u16string rest = path.substr(4);
  if (StartsWith(rest, u"UNC\\") || StartsWith(rest, u"UNC/")) return u"\\\\" + rest.substr(4);
  if (LetterOf(rest) != 0) return rest;
  return path;
}

struct SharePath {
  std::u16string m_server;
  std::u16string m_share;
  std::u16string m_rest; // from the slash after the share on, or empty
};

// A path "\\server\share\rest"; nothing for any other.
std::optional<SharePath> ParseSharePath(const std::u16string &path) {
  if (path.size() < 3 || !IsSlash(path[0]) || !IsSlash(path[1]) || IsSlash(path[2])) return std::nullopt;
  if (path[2] == u'?' || path[2] == u'.') {
    if (path.size() == 3 || IsSlash(path[3])) return std::nullopt;
  }
  size_t serverEnd = 2;
  while (serverEnd < path.size() && !IsSlash(path[serverEnd])) ++serverEnd;
  if (serverEnd + 1 >= path.size()) return std::nullopt;
  size_t shareEnd = serverEnd + 1;
  while (shareEnd < path.size() && !IsSlash(path[shareEnd])) ++shareEnd;
  if (shareEnd == serverEnd + 1) return std::nullopt;
  return SharePath{path.substr(2, serverEnd - 2), path.substr(serverEnd + 1, shareEnd - serverEnd - 1),
                   path.substr(shareEnd)};
}

bool NamesThisMachine(const std::u16string &server, VolumeQueries &queries) {
  for (const char16_t *local : {u"localhost", u"::1", u"[::1]", u"0:0:0:0:0:0:0:1"})
    if (SameText(server, local)) return true;
  if (StartsWith(server, u"127.")) return true;
  for (const std::u16string &own : queries.OwnNames())
    if (!own.empty() && SameText(server, own)) return true;
  return false;
}

// The folder followed by the rest of a path ("\\out", "out" or empty).
std::u16string Joined(std::u16string folder, const std::u16string &rest) {
  if (rest.empty()) return folder;
  while (!folder.empty() && IsSlash(folder.back())) folder.pop_back();
  return IsSlash(rest[0]) ? folder + rest : folder + u"\\" + rest;
}

// The path with every other name of a local place taken back to the place
// it names: a SUBST letter to its folder, a share of this machine to its
// folder. Nothing when a share of this machine cannot be told, or the
// names go round in a loop.
std::optional<std::u16string> LocalFormOf(std::u16string path, VolumeQueries &queries) {
  for (int step = 0; step < kMostRenamings; ++step) {
    path = WithoutLongPrefix(path);
    if (const std::optional<SharePath> share = ParseSharePath(path)) {
      // A share of another machine is not the searched drive.
      if (!NamesThisMachine(share->m_server, queries)) return path;
      const std::u16string folder = queries.LocalPathOfShare(share->m_share);
      if (folder.empty()) return std::nullopt;
      path = Joined(folder, share->m_rest);
      continue;
    }
    const char16_t letter = LetterOf(path);
    if (letter == 0) return path;
    // A SUBST letter names "\??\" and the folder it stands for; a
    // drive's own letter names its device.
    std::u16string target = queries.DosDeviceOf(letter);
    if (!StartsWith(target, u"\\??\\")) return path;
    target = WithoutLongPrefix(u"\\\\?\\" + target.substr(4));
    if (LetterOf(target) == 0 && !ParseSharePath(target)) return path;
    path = Joined(target, path.substr(2));
  }
  return std::nullopt;
}

// A volume mounted in a folder, not at a drive's root.
bool IsMountFolder(const std::u16string &root) {
  return LetterOf(root) != 0 && root.size() > 3;
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
  if (destinationName.empty() && IsMountFolder(root)) return GuardAnswer{GuardVerdict::CannotTell, false};
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
  if (!extents && IsMountFolder(root)) return GuardAnswer{GuardVerdict::CannotTell, false};
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
  const std::optional<std::u16string> local = LocalFormOf(destination, queries);
  if (!local) return GuardAnswer{GuardVerdict::CannotTell, false};
  std::u16string root = queries.VolumePathOf(*local);
  // Without the volume root the destination's own letter is all there is.
  if (root.empty() && LetterOf(*local) != 0) root = local->substr(0, 2) + u"\\";
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

std::u16string SystemVolumeQueries::DosDeviceOf(char16_t letter) {
  const wchar_t drive[3] = {static_cast<wchar_t>(letter), L':', 0};
  wchar_t target[MAX_PATH + 1] = {};
  if (QueryDosDeviceW(drive, target, MAX_PATH + 1) == 0) return {};
  // The first of the names the letter stands for: the one in use.
  return U16(target);
}

std::u16string SystemVolumeQueries::LocalPathOfShare(const std::u16string &share) {
  std::wstring name = Wide(share);
  LPBYTE info = nullptr;
  // Level 2 holds the folder; a null server is this machine, asked without the network.
  if (NetShareGetInfo(nullptr, name.data(), 2, &info) != NERR_Success || info == nullptr) return {};
  const wchar_t *folder = reinterpret_cast<const SHARE_INFO_2 *>(info)->shi2_path;
  std::u16string path = folder != nullptr ? U16(folder) : std::u16string();
  NetApiBufferFree(info);
  return path;
}

std::vector<std::u16string> SystemVolumeQueries::OwnNames() {
  std::vector<std::u16string> names;
  for (COMPUTER_NAME_FORMAT format :
       {ComputerNameNetBIOS, ComputerNameDnsHostname, ComputerNameDnsFullyQualified}) {
    wchar_t name[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH + 1;
    if (GetComputerNameExW(format, name, &size) && name[0] != 0) names.push_back(U16(name));
  }
  return names;
}

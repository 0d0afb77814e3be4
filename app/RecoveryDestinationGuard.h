// Refuses a recovery destination on the volume (or disk) being searched:
// every file written there could land on the very clusters that still hold
// the deleted files. Volumes are compared by their unique names (so a folder
// mounted from the searched volume is caught whatever letter it shows under)
// and, for a search through a physical disk, by the destination's disk
// extents. Another name of a local place is first taken back to the place:
// a SUBST letter to its folder, a share of this machine to its folder. Where
// the system cannot answer, the letters are compared; a share of this
// machine or a mounted folder whose volume cannot be told is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DiskExtent {
  uint32_t m_disk = 0;
  uint64_t m_startByte = 0;
  uint64_t m_length = 0;
};

// What the guard asks of the system; tests answer from a table.
class VolumeQueries {
public:
  virtual ~VolumeQueries() = default;
  // The root of the volume a path lies on ("C:\", or a mount folder "D:\Mnt\X\"); empty when unknown.
  virtual std::u16string VolumePathOf(const std::u16string &path) = 0;
  // The unique name ("\\?\Volume{...}\") of the volume mounted at a root; empty when unknown.
  virtual std::u16string VolumeNameOf(const std::u16string &mountPoint) = 0;
  // The disk extents of the volume mounted at a root; nothing when the system cannot say.
  virtual std::optional<std::vector<DiskExtent>> ExtentsOf(const std::u16string &mountPoint) = 0;
  // What a drive letter is a name for ("\??\C:\Folder" for a SUBST letter); empty when unknown.
  virtual std::u16string DosDeviceOf(char16_t letter) = 0;
  // The folder a share of this machine stands for ("C:\Shared"); empty when unknown.
  virtual std::u16string LocalPathOfShare(const std::u16string &share) = 0;
  // The names this machine answers to besides "localhost" and its loopback
  // addresses: its computer name and its DNS names.
  virtual std::vector<std::u16string> OwnNames() = 0;
};

// The real system's answers.
class SystemVolumeQueries : public VolumeQueries {
public:
  std::u16string VolumePathOf(const std::u16string &path) override;
  std::u16string VolumeNameOf(const std::u16string &mountPoint) override;
  std::optional<std::vector<DiskExtent>> ExtentsOf(const std::u16string &mountPoint) override;
  std::u16string DosDeviceOf(char16_t letter) override;
  std::u16string LocalPathOfShare(const std::u16string &share) override;
  std::vector<std::u16string> OwnNames() override;
};

// Where the search reads: drive code 0..25 for a drive letter, 128 + n for
// disk n; a volume on a disk is its sector range (sectors 0: the whole
// disk). letters: the drive letters of the searched drive, for the fallback.
struct SearchedPlace {
  uint8_t m_driveCode = 0;
  uint64_t m_startSector = 0;
  uint64_t m_sectors = 0;
  std::u16string m_letters;
};

// CannotTell: a share of this machine or a mounted folder whose volume the
// system does not name; refused like the searched drive itself.
enum class GuardVerdict { Allowed, SameVolume, SameDisk, CannotTell };

struct GuardAnswer {
  GuardVerdict m_verdict = GuardVerdict::Allowed;
  // The system could not tell volumes or disks apart: drive letters were compared instead.
  bool m_byLetter = false;
};

GuardAnswer CheckRecoveryDestination(const std::u16string &destination, const SearchedPlace &searched,
                                     VolumeQueries &queries);

// Refuses a recovery destination on the volume (or disk) being searched:
// every file written there could land on the very clusters that still hold
// the deleted files. Volumes are compared by their unique names (so a folder
// mounted from the searched volume is caught whatever letter it shows under)
// and, for a search through a physical disk, by the destination's disk
// extents. Where the system cannot answer, the letters are compared.
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
};

// The real system's answers.
class SystemVolumeQueries : public VolumeQueries {
public:
  std::u16string VolumePathOf(const std::u16string &path) override;
  std::u16string VolumeNameOf(const std::u16string &mountPoint) override;
  std::optional<std::vector<DiskExtent>> ExtentsOf(const std::u16string &mountPoint) override;
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

enum class GuardVerdict { Allowed, SameVolume, SameDisk };

struct GuardAnswer {
  GuardVerdict m_verdict = GuardVerdict::Allowed;
  // The system could not tell volumes or disks apart: drive letters were compared instead.
  bool m_byLetter = false;
};

GuardAnswer CheckRecoveryDestination(const std::u16string &destination, const SearchedPlace &searched,
                                     VolumeQueries &queries);

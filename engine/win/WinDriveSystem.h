// Drive discovery through the Windows API.
#pragma once

#include "DriveList.h"

class WinDriveSystem : public DriveSystem {
public:
  std::u16string LogicalDriveStrings() override;
  uint32_t DriveType(const std::u16string &root) override;
  bool TotalBytes(const std::u16string &root, uint64_t &total) override;
  std::u16string FileSystemName(const std::u16string &root) override;
  bool VolumeExtents(char16_t letter, std::vector<VolumeExtent> &out) override;
  bool Version(PlatformVersion &out) override;
  bool Identity(uint8_t biosDisk, DiskIdentity &out) override;

protected:
  // An entry of kernel32 by name; null when this system lacks it (the first
  // NT and 95 systems have no extended free-space call).
  virtual void *KernelEntry(const char *name);
};

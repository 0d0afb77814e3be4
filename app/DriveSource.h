// Where the drive page takes its list of drives and disks from. The program
// asks the system (SystemDriveSource); tests put a fixed list in its place.
#pragma once

#include "DriveRecord.h"

#include <utility>
#include <vector>

class DeviceLayer;
class EngineServices;

class DriveSource {
public:
  virtual ~DriveSource() = default;
  // The physical disks for a disk scan, else the logical drives, in list
  // order. devices: where sector reads go while drives are looked at;
  // services: for the message shown when no drive can be listed.
  virtual std::vector<DriveRecord> EnumerateDrives(bool physicalDiskScan, DeviceLayer &devices,
                                                   EngineServices &services) = 0;
};

// The drives of the running system, found by the engine's drive list.
class SystemDriveSource : public DriveSource {
public:
  std::vector<DriveRecord> EnumerateDrives(bool physicalDiskScan, DeviceLayer &devices,
                                           EngineServices &services) override;
};

// A list given in advance, the same at every call (tests, demos).
class FixedDriveSource : public DriveSource {
public:
  explicit FixedDriveSource(std::vector<DriveRecord> drives) : m_drives(std::move(drives)) {}
  std::vector<DriveRecord> EnumerateDrives(bool, DeviceLayer &, EngineServices &) override {
    return m_drives;
  }

private:
  std::vector<DriveRecord> m_drives;
};

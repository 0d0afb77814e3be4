#include "DriveSource.h"

#include "DriveList.h"
#include "SectorIo.h"
#include "WinDriveSystem.h"

std::vector<DriveRecord> SystemDriveSource::EnumerateDrives(bool physicalDiskScan, DeviceLayer &devices,
                                                            EngineServices &services) {
  WinDriveSystem system;
  SectorIo io(devices, nullptr, false);
  DriveList list(system, io, services);
  list.EnumerateDrives(physicalDiskScan);
  return list.Drives();
}

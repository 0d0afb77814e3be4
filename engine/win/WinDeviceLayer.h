// The real devices of a Windows NT-family system: \\.\C: for a logical drive,
// \\.\PHYSICALDRIVEn for a disk, each opened once for reading with full
// sharing and kept open until the layer closes it.
#pragma once

#include "SectorIo.h"

#include <map>
#include <memory>

class WinDeviceLayer : public DeviceLayer {
public:
  WinDeviceLayer() = default;
  WinDeviceLayer(const WinDeviceLayer &) = delete;
  WinDeviceLayer &operator=(const WinDeviceLayer &) = delete;

  SectorDevice *Device(uint8_t driveCode) override;
  DeviceOpenFailure OpenFailure(uint8_t driveCode) const override;
  bool Geometry(uint8_t driveCode, DiskGeometry &out) override;
  void CloseAll() override { m_devices.clear(); }

private:
  std::map<uint8_t, std::unique_ptr<SectorDevice>> m_devices;
  std::map<uint8_t, DeviceOpenFailure> m_failures;
};

// Devices backed by disk images, for tests, fuzzers and the Wine runs: an
// image file, a block of memory, and a device layer that hands them out per
// drive code.
#pragma once

#include "SectorIo.h"

#include <cstdio>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

// A disk image held in memory.
class MemoryDevice : public SectorDevice {
public:
  explicit MemoryDevice(std::vector<uint8_t> bytes, bool writable = false);

  uint32_t ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) override;
  uint32_t WriteAt(uint64_t byteOffset, const void *buffer, uint32_t byteCount) override;
  uint64_t SizeInBytes() const override { return m_bytes.size(); }

  std::vector<uint8_t> &Bytes() { return m_bytes; }

private:
  std::vector<uint8_t> m_bytes;
  bool m_writable;
};

// A disk image file, kept open for the device's life.
class ImageFileDevice : public SectorDevice {
public:
  ImageFileDevice(const ImageFileDevice &) = delete;
  ImageFileDevice &operator=(const ImageFileDevice &) = delete;
  ~ImageFileDevice() override;

  // Null, with why, when the path cannot be opened or names no disk image: a
  // folder or any other thing that is neither a regular file nor a block
  // device (a folder "opens" with a size of 2^63 - 1 and fails every read).
  static std::unique_ptr<ImageFileDevice> Open(const std::string &path, bool writable = false,
                                               std::string *why = nullptr);

  uint32_t ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) override;
  uint32_t WriteAt(uint64_t byteOffset, const void *buffer, uint32_t byteCount) override;
  uint64_t SizeInBytes() const override { return m_size; }

private:
  ImageFileDevice(std::FILE *file, uint64_t size, bool writable);

  std::FILE *m_file;
  uint64_t m_size;
  bool m_writable;
};

// Drive codes mapped to image devices. A physical disk's geometry is derived
// from its size (255 heads, 63 sectors per track).
class ImageDeviceLayer : public DeviceLayer {
public:
  void Attach(uint8_t driveCode, std::unique_ptr<SectorDevice> device);
  // Attaches an image file; false, with why, when it cannot be opened.
  bool AttachFile(uint8_t driveCode, const std::string &path, bool writable = false,
                  std::string *why = nullptr);

  // The code's device is refused as the system refuses a user without
  // administrator rights: Device() gives null and says why.
  void DenyAccess(uint8_t driveCode) { m_denied.insert(driveCode); }

  SectorDevice *Device(uint8_t driveCode) override;
  DeviceOpenFailure OpenFailure(uint8_t driveCode) const override;
  bool Geometry(uint8_t driveCode, DiskGeometry &out) override;
  void CloseAll() override { m_devices.clear(); }

  // How often Device() was asked for a code that is attached (tests check
  // that an engine keeps its device rather than reopening it).
  size_t LookupCount() const { return m_lookups; }

private:
  std::map<uint8_t, std::unique_ptr<SectorDevice>> m_devices;
  std::set<uint8_t> m_denied;
  size_t m_lookups = 0;
};

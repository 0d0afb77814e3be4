#include "ImageDevices.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

bool SeekFile(std::FILE *file, uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

uint64_t FileSize(std::FILE *file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return 0;
  const __int64 size = _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return 0;
  const off_t size = ftello(file);
#endif
  return size < 0 ? 0 : static_cast<uint64_t>(size);
}

// Bytes of a transfer that lie inside a device of the given size.
uint32_t ClampToSize(uint64_t size, uint64_t offset, uint32_t byteCount) {
  if (offset >= size) return 0;
  return static_cast<uint32_t>(std::min<uint64_t>(byteCount, size - offset));
}

} // namespace

MemoryDevice::MemoryDevice(std::vector<uint8_t> bytes, bool writable)
    : m_bytes(std::move(bytes)), m_writable(writable) {}

uint32_t MemoryDevice::ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) {
  const uint32_t n = ClampToSize(m_bytes.size(), byteOffset, byteCount);
  if (n > 0) std::memcpy(buffer, m_bytes.data() + byteOffset, n);
  return n;
}

uint32_t MemoryDevice::WriteAt(uint64_t byteOffset, const void *buffer, uint32_t byteCount) {
  if (!m_writable) return 0;
  const uint32_t n = ClampToSize(m_bytes.size(), byteOffset, byteCount);
  if (n > 0) std::memcpy(m_bytes.data() + byteOffset, buffer, n);
  return n;
}

ImageFileDevice::ImageFileDevice(std::FILE *file, uint64_t size, bool writable)
    : m_file(file), m_size(size), m_writable(writable) {}

ImageFileDevice::~ImageFileDevice() {
  std::fclose(m_file);
}

std::unique_ptr<ImageFileDevice> ImageFileDevice::Open(const std::string &path, bool writable,
                                                       std::string *why) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(path), error);
  if (error) {
    if (why) *why = path + ": " + error.message();
    return nullptr;
  }
  if (!std::filesystem::is_regular_file(status) && !std::filesystem::is_block_file(status)) {
    if (why)
      *why = path + (std::filesystem::is_directory(status) ? " is a folder" : " is not a file") +
             ", not a disk image";
    return nullptr;
  }
  std::FILE *file = std::fopen(path.c_str(), writable ? "r+b" : "rb");
  if (file == nullptr) {
    if (why) *why = path + ": cannot be opened";
    return nullptr;
  }
  const uint64_t size = FileSize(file);
  return std::unique_ptr<ImageFileDevice>(new ImageFileDevice(file, size, writable));
}

uint32_t ImageFileDevice::ReadAt(uint64_t byteOffset, void *buffer, uint32_t byteCount) {
  const uint32_t n = ClampToSize(m_size, byteOffset, byteCount);
  if (n == 0 || !SeekFile(m_file, byteOffset)) return 0;
  return static_cast<uint32_t>(std::fread(buffer, 1, n, m_file));
}

uint32_t ImageFileDevice::WriteAt(uint64_t byteOffset, const void *buffer, uint32_t byteCount) {
  if (!m_writable) return 0;
  const uint32_t n = ClampToSize(m_size, byteOffset, byteCount);
  if (n == 0 || !SeekFile(m_file, byteOffset)) return 0;
  const size_t written = std::fwrite(buffer, 1, n, m_file);
  std::fflush(m_file);
  return static_cast<uint32_t>(written);
}

void ImageDeviceLayer::Attach(uint8_t driveCode, std::unique_ptr<SectorDevice> device) {
  m_devices[driveCode] = std::move(device);
}

bool ImageDeviceLayer::AttachFile(uint8_t driveCode, const std::string &path, bool writable,
                                  std::string *why) {
  auto device = ImageFileDevice::Open(path, writable, why);
  if (!device) return false;
  Attach(driveCode, std::move(device));
  return true;
}

SectorDevice *ImageDeviceLayer::Device(uint8_t driveCode) {
  if (m_denied.count(driveCode) != 0) return nullptr;
  auto it = m_devices.find(driveCode);
  if (it == m_devices.end()) return nullptr;
  ++m_lookups;
  return it->second.get();
}

DeviceOpenFailure ImageDeviceLayer::OpenFailure(uint8_t driveCode) const {
  if (m_denied.count(driveCode) != 0) return DeviceOpenFailure::AccessDenied;
  return m_devices.count(driveCode) != 0 ? DeviceOpenFailure::None : DeviceOpenFailure::Other;
}

bool ImageDeviceLayer::Geometry(uint8_t driveCode, DiskGeometry &out) {
  SectorDevice *device = Device(driveCode);
  if (device == nullptr) return false;
  out.m_tracksPerCylinder = 255;
  out.m_sectorsPerTrack = 63;
  out.m_cylinders = device->SizeInBytes() / kSectorSize / (255 * 63);
  return true;
}

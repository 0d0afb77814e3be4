// Times the signature pass of a physical-disk scan over a disk image held in
// memory: every sector tested, a few thousand hits grown and listed.
// Usage: SignatureBench [megabytes]
#include "ImageDevices.h"
#include "PhysicalDiskScan.h"
#include "RecordingServices.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

int main(int argc, char **argv) {
  const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 256;
  std::vector<uint8_t> bytes(megabytes << 20);
  std::mt19937 random(1);
  for (auto &byte : bytes) byte = static_cast<uint8_t>(random() % 200 + 1);
  const uint8_t jpeg[4] = {0xFF, 0xD8, 0xFF, 0xE0};
  for (uint64_t offset = 0; offset + 512 <= bytes.size(); offset += 512 * 997)
    std::memcpy(&bytes[offset], jpeg, 4);
  const uint64_t sectors = bytes.size() / 512;

  RecordingServices services;
  HeaderRecord header;
  header.m_extension = u"JPG";
  header.m_signatureLength = 4;
  std::memcpy(header.m_signature, jpeg, 4);
  header.m_maxSize = 64 * 1024;
  services.m_selectedHeaders = {header};
  ImageDeviceLayer layer;
  layer.Attach(128, std::make_unique<MemoryDevice>(std::move(bytes)));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 128, 0);
  PhysicalDiskScan scan(services, reader, sectors, false);
  const auto start = std::chrono::steady_clock::now();
  scan.RunPhysicalDiskScan();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu MB, %llu sectors, %zu entries: %.3f s, %.0f MB/s\n",
              static_cast<unsigned long long>(megabytes), static_cast<unsigned long long>(sectors),
              services.m_treeEntries.size(), seconds, megabytes / seconds);
  return 0;
}

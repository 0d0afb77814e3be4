// A fuzzed physical-disk scan-information file loaded into a fresh scan,
// then its hits read back from the disk: no crash, no hang, no huge
// allocation. Seeds are files the scan saved from small test disks.
#include "FatScanFile.h"
#include "ImageDevices.h"
#include "PhysicalDiskScan.h"
#include "RecordingServices.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > (1u << 20)) return 0;
  RecordingServices services;
  ImageDeviceLayer layer;
  layer.Attach(128, std::make_unique<MemoryDevice>(std::vector<uint8_t>(3000 * 512, 0)));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 128, 0);
  PhysicalDiskScan scan(services, reader, 3000, false, [] { return uint64_t{0}; });
  MemoryScanFileSource source(data, size);
  if (!LoadPhysicalDiskScanData(scan, services, source, u"fuzz.DAT")) return 0;
  uint64_t total = 0;
  size_t files = 0;
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries) {
    if (++files > 16 || total > (4u << 20)) break;
    if (entry.m_entry.IsFolder()) continue;
    scan.ReadFoundFile(entry.m_entry, [&total](const uint8_t *, size_t n) {
      total += n;
      return total < (4u << 20);
    });
  }
  return 0;
}

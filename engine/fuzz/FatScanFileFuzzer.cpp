// A fuzzed FAT scan-information file loaded into a fresh engine, then found
// files read back through the restored state: no crash, no hang, no huge
// allocation. Seeds are files the engine saved from the test images.
#include "FatScanFile.h"
#include "ImageDevices.h"
#include "RecordingServices.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > (1u << 20)) return 0;
  RecordingServices services;
  ImageDeviceLayer layer;
  layer.Attach(2, std::make_unique<MemoryDevice>(std::vector<uint8_t>(320 * 512, 0)));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 2, 0);
  FatScanEngine engine(services, reader, 320, [] { return uint64_t{0}; });
  MemoryScanFileSource source(data, size);
  if (!LoadFatScanData(engine, services, source, u"fuzz.DAT")) return 0;
  uint64_t total = 0;
  size_t files = 0;
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries) {
    if (++files > 16 || total > (4u << 20)) break;
    engine.ReadFoundFile(entry.m_entry, [&total](const uint8_t *, size_t n) {
      total += n;
      return total < (4u << 20);
    });
  }
  return 0;
}

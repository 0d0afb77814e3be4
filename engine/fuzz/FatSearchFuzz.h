// A whole FAT search over a fuzzed in-memory image, then every found file
// read back: no crash, no hang, and every find stays inside the volume.
#pragma once

#include "FatScanEngine.h"
#include "ImageDevices.h"
#include "RecordingServices.h"

#include <cstdlib>
#include <memory>
#include <vector>

// Runs search(engine) over the image the fuzzer's bytes make (up to 4 MiB,
// whole sectors) and aborts when inVolume(engine, entry) says a find lies
// outside the volume.
template <class Search, class InVolume>
int FuzzFatSearch(const uint8_t *data, size_t size, RecordingServices &services, Search search,
                  InVolume inVolume) {
  if (size < 512 || size > (4u << 20)) return 0;
  std::vector<uint8_t> bytes(data, data + size);
  bytes.resize((size + 511) / 512 * 512, 0);
  const uint64_t sectors = bytes.size() / 512;
  ImageDeviceLayer layer;
  layer.Attach(2, std::make_unique<MemoryDevice>(std::move(bytes)));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 2, 0);
  FatScanEngine engine(services, reader, sectors, [] { return uint64_t{0}; });
  search(engine);
  uint64_t total = 0;
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries) {
    if (!inVolume(engine, entry.m_entry)) std::abort();
    if (total > (16u << 20)) continue;
    engine.ReadFoundFile(entry.m_entry, [&total](const uint8_t *, size_t n) {
      total += n;
      return true;
    });
  }
  return 0;
}

// A whole advanced search over a fuzzed in-memory image (lost folders, the
// later clusters of deleted folders, signature hits), then every found file
// read back: no crash, no hang, and every find stays inside the volume.
#include "FatScanEngine.h"
#include "ImageDevices.h"
#include "RecordingServices.h"
#include "../tests/SignatureTestSpace.h"

#include <cstdlib>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 512 || size > (4u << 20)) return 0;
  std::vector<uint8_t> bytes(data, data + size);
  bytes.resize((size + 511) / 512 * 512, 0);
  const uint64_t sectors = bytes.size() / 512;
  RecordingServices services;
  services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 64 * 1024), MakeHeader(u"BMP", kBmpStart),
                                MakeHeader(u"DOC", kCompoundStart, 8192)};
  ImageDeviceLayer layer;
  layer.Attach(2, std::make_unique<MemoryDevice>(std::move(bytes)));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 2, 0);
  FatScanEngine engine(services, reader, sectors, [] { return uint64_t{0}; });
  engine.RunFatAdvancedScan();
  uint64_t total = 0;
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries) {
    const uint32_t cluster = entry.m_entry.m_firstCluster;
    if (!engine.Volume().IsDataCluster(cluster) && cluster != kLostFolderId && cluster != kSpecialFolderId &&
        !(entry.m_entry.IsFolder() && cluster == entry.m_entry.m_ownId))
      std::abort();
    if (total > (16u << 20)) continue;
    engine.ReadFoundFile(entry.m_entry, [&total](const uint8_t *, size_t n) {
      total += n;
      return true;
    });
  }
  return 0;
}

// A whole advanced search over a fuzzed in-memory image (lost folders, the
// later clusters of deleted folders, signature hits), then every found file
// read back: no crash, no hang, and every find stays inside the volume.
#include "FatSearchFuzz.h"
#include "../tests/SignatureTestSpace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  RecordingServices services;
  services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 64 * 1024), MakeHeader(u"BMP", kBmpStart),
                                MakeHeader(u"DOC", kCompoundStart, 8192)};
  return FuzzFatSearch(
      data, size, services, [](FatScanEngine &engine) { engine.RunFatAdvancedScan(); },
      [](FatScanEngine &engine, const EntryRecord &entry) {
        // Lost and special folders and a folder named by its own id stand
        // for places, not clusters.
        const uint32_t cluster = entry.m_firstCluster;
        return engine.Volume().IsDataCluster(cluster) || cluster == kLostFolderId ||
               cluster == kSpecialFolderId || (entry.IsFolder() && cluster == entry.m_ownId);
      });
}

// A whole fast search over a fuzzed in-memory image, then every found file
// read back: no crash, no hang, and every find stays inside the volume.
#include "FatSearchFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  RecordingServices services;
  return FuzzFatSearch(
      data, size, services, [](FatScanEngine &engine) { engine.RunFatFastScan(); },
      [](FatScanEngine &engine, const EntryRecord &entry) {
        return engine.Volume().IsDataCluster(entry.m_firstCluster);
      });
}

// Compound-document measurement over fuzzed bytes laid out as consecutive
// clusters in memory: no crash, no hang, and a measurement that reads far
// more clusters than the document could span is a fault.
#include "CompoundDocument.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2 || size > (1u << 20)) return 0;
  const uint32_t sectorsPerCluster = 1u << (data[0] % 8);
  const size_t clusterBytes = size_t{sectorsPerCluster} * 512;
  std::vector<uint8_t> bytes(data + 1, data + size);
  bytes.resize((bytes.size() + clusterBytes - 1) / clusterBytes * clusterBytes + clusterBytes, 0);
  const uint64_t clusters = bytes.size() / clusterBytes;
  size_t reads = 0;
  CompoundDocument measurement(bytes.data(), sectorsPerCluster, 1u << 24,
                               [&](uint64_t index, uint8_t *buffer) {
                                 ++reads;
                                 if (index >= clusters) {
                                   std::memset(buffer, 0, clusterBytes);
                                   return false;
                                 }
                                 std::memcpy(buffer, &bytes[index * clusterBytes], clusterBytes);
                                 return true;
                               });
  CompoundFileInfo info;
  measurement.Measure(info);
  if (info.m_kind > 3 || (info.m_quality != 0 && info.m_quality != 1 && info.m_quality != 3)) std::abort();
  return 0;
}

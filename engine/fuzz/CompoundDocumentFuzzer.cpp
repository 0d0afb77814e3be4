// Compound-document measurement over fuzzed bytes laid out as consecutive
// clusters in memory: no crash, no hang, and a measurement that reads far
// more blocks than the document could hold is a fault.
#include "ByteOrder.h"
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
  // Every chain stops within the sectors the document holds, so the blocks
  // read stay within a few per sector (three directory walks of 50 sectors
  // and the DIFAT sectors aside). A chain followed round and round reads far more.
  const uint64_t difatSectors = bytes.size() >= 0x30 ? ReadLe32(bytes.data() + 0x2C) / 127 + 2 : 2;
  if (measurement.BlockReads() > 9 * uint64_t{measurement.SectorBound()} + 2 * difatSectors + 1000) std::abort();
  return 0;
}

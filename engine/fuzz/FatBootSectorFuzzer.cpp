// The boot-sector checks on any bytes: never read past the input, and a
// sector they accept describes clusters that fit the volume.
#include "FatBootSector.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  BootParameters p;
  const BootCheck check = DeriveFatKind(data, size, p);
  if (check.m_result == ParseResult::Ok) {
    const uint64_t end = p.FirstDataSector() + uint64_t{p.m_clusterCount} * p.m_sectorsPerCluster;
    if (p.m_clusterCount == 0 || end > p.m_totalSectors) std::abort();
    if (p.m_kind == FatKind::Fat32 && (p.m_rootCluster < 2 || p.m_rootCluster > p.MaxCluster())) std::abort();
  }
  return 0;
}

// A volume of clusters in memory for the signature-pass tests: its bytes,
// which clusters are in use, which fail to read, and how often it was read.
#pragma once

#include "HeaderRecord.h"
#include "SignatureSearch.h"

#include <cstring>
#include <set>
#include <string>
#include <vector>

class MemoryClusterSpace : public ClusterSpace {
public:
  MemoryClusterSpace(uint32_t sectorsPerCluster, uint64_t clusters)
      : m_spc(sectorsPerCluster), m_clusters(clusters), m_bytes(clusters * sectorsPerCluster * 512, 0) {}

  uint32_t SectorsPerCluster() const override { return m_spc; }
  uint64_t ClusterCount() const override { return m_clusters; }
  uint64_t MapSize() const override { return m_clusters; }
  bool IsClusterUsed(uint64_t cluster) const override { return m_used.count(cluster) != 0; }
  bool ReadClusterSectors(uint64_t cluster, uint8_t *buffer, uint32_t sectorCount) override {
    ++m_reads;
    m_sectorsRead += sectorCount;
    const uint64_t first = cluster * m_spc;
    bool ok = true;
    for (uint32_t s = 0; s < sectorCount; ++s) {
      const uint64_t sector = first + s;
      uint8_t *out = buffer + size_t{s} * 512;
      if (sector >= m_clusters * m_spc || m_failing.count(sector / m_spc)) {
        std::memset(out, 0, 512);
        ok = false;
        continue;
      }
      std::memcpy(out, &m_bytes[sector * 512], 512);
    }
    return ok;
  }
  uint64_t DocumentCluster(uint64_t first, uint64_t index) const override { return first + index; }
  uint64_t VolumeSectors() const override { return m_clusters * m_spc; }

  uint8_t *Cluster(uint64_t cluster) { return &m_bytes[cluster * m_spc * 512]; }
  void Put(uint64_t cluster, const std::vector<uint8_t> &bytes) {
    std::memcpy(Cluster(cluster), bytes.data(), bytes.size());
  }

  uint32_t m_spc;
  uint64_t m_clusters;
  std::vector<uint8_t> m_bytes;
  std::set<uint64_t> m_used;
  std::set<uint64_t> m_failing;
  size_t m_reads = 0;
  uint64_t m_sectorsRead = 0;
};

inline HeaderRecord MakeHeader(const std::u16string &extension, std::vector<uint8_t> signature,
                               uint32_t maxSize = 1 << 20, uint32_t offset = 0) {
  HeaderRecord header;
  header.m_extension = extension;
  header.m_offset = offset;
  header.m_signatureLength = static_cast<uint8_t>(signature.size());
  if (!signature.empty())
    std::memcpy(header.m_signature, signature.data(), std::min<size_t>(8, signature.size()));
  header.m_maxSize = maxSize;
  header.m_selected = 1;
  return header;
}

inline const std::vector<uint8_t> kJpegStart{0xFF, 0xD8, 0xFF, 0xE0};
inline const std::vector<uint8_t> kPdfStart{'%', 'P', 'D', 'F', '-'};
inline const std::vector<uint8_t> kZipStart{'P', 'K', 3, 4};
inline const std::vector<uint8_t> kBmpStart{'B', 'M'};
inline const std::vector<uint8_t> kCompoundStart{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

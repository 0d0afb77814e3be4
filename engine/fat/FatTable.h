// One copy of a volume's file allocation table held in memory, with the
// decoding of its 12-, 16- or 28-bit entries and the cluster-use map built
// from it. Every lookup is checked against the bytes actually held.
#pragma once

#include "FatBootSector.h"

#include <cstdint>
#include <optional>
#include <vector>

// One bit per cluster: set when the FAT says the cluster belongs to a file.
class ClusterMap {
public:
  ClusterMap() = default;
  explicit ClusterMap(uint32_t maxCluster);

  void MarkInUse(uint32_t cluster);
  // Clusters outside the map (beyond the volume, or 0 and 1) count as in use:
  // nothing recoverable can lie there.
  bool IsInUse(uint64_t cluster) const;
  // The first cluster from `from` on that is free; MaxCluster() + 1 when none is.
  uint64_t NextFree(uint64_t from) const;
  // The cluster after the count-th free one from `from` on; MaxCluster() + 1
  // when fewer are free.
  uint64_t AfterFree(uint64_t from, uint64_t count) const;
  uint32_t MaxCluster() const { return m_maxCluster; }
  uint64_t InUseCount() const;

private:
  std::vector<uint64_t> m_bits;
  uint32_t m_maxCluster = 0;
};

class FatTable {
public:
  FatTable() = default;
  FatTable(FatKind kind, uint32_t maxCluster, std::vector<uint8_t> bytes);

  bool IsLoaded() const { return !m_bytes.empty(); }
  FatKind Kind() const { return m_kind; }
  std::vector<uint8_t> &Bytes() { return m_bytes; }
  const std::vector<uint8_t> &Bytes() const { return m_bytes; }

  // The entry of a cluster; none when the entry lies past the copy's bytes.
  std::optional<uint32_t> Entry(uint32_t cluster) const;
  uint32_t BadClusterMark() const;
  uint32_t EndOfChainMark() const;

  // In use: an entry that is neither free (0) nor the bad-cluster mark.
  ClusterMap BuildClusterMap() const;
  // Marks the in-use clusters among first .. end - 1 (clusters below 2 and
  // past the volume are left alone), so a large FAT can be mapped in slices.
  void MarkInUseRange(ClusterMap &map, uint32_t first, uint32_t end) const;
  uint32_t MaxCluster() const { return m_maxCluster; }

private:
  FatKind m_kind = FatKind::Fat12;
  uint32_t m_maxCluster = 0;
  std::vector<uint8_t> m_bytes;
};

// Bytes one FAT copy needs to describe clusters 0 .. maxCluster.
uint64_t FatBytesNeeded(FatKind kind, uint32_t maxCluster);

#include "FatTable.h"

#include <bitset>

ClusterMap::ClusterMap(uint32_t maxCluster)
    : m_bits((static_cast<uint64_t>(maxCluster) + 64) / 64, 0), m_maxCluster(maxCluster) {}

void ClusterMap::MarkInUse(uint32_t cluster) {
  if (cluster < 2 || cluster > m_maxCluster) return;
  m_bits[cluster / 64] |= uint64_t{1} << (cluster % 64);
}

bool ClusterMap::IsInUse(uint64_t cluster) const {
  if (cluster < 2 || cluster > m_maxCluster) return true;
  return (m_bits[cluster / 64] >> (cluster % 64)) & 1;
}

uint64_t ClusterMap::NextFree(uint64_t from) const {
  for (uint64_t cluster = from < 2 ? 2 : from; cluster <= m_maxCluster;) {
    // A whole word in use is passed over at once: a full volume has long used stretches.
    if (cluster % 64 == 0 && m_bits[cluster / 64] == ~uint64_t{0}) {
      cluster += 64;
      continue;
    }
    if (!IsInUse(cluster)) return cluster;
    ++cluster;
  }
  return uint64_t{m_maxCluster} + 1;
}

uint64_t ClusterMap::AfterFree(uint64_t from, uint64_t count) const {
  uint64_t cluster = from < 2 ? 2 : from;
  while (count != 0 && cluster <= m_maxCluster) {
    // Whole words are counted at once, so a long file costs little to pass.
    if (cluster % 64 == 0 && cluster + 64 <= uint64_t{m_maxCluster} + 1) {
      const uint64_t free = 64 - std::bitset<64>(m_bits[cluster / 64]).count();
      if (free < count) {
        count -= free;
        cluster += 64;
        continue;
      }
    }
    if (!IsInUse(cluster)) --count;
    ++cluster;
  }
  return count == 0 ? cluster : uint64_t{m_maxCluster} + 1;
}

uint64_t ClusterMap::InUseCount() const {
  uint64_t count = 0;
  for (uint64_t word : m_bits) count += std::bitset<64>(word).count();
  return count;
}

FatTable::FatTable(FatKind kind, uint32_t maxCluster, std::vector<uint8_t> bytes)
    : m_kind(kind), m_maxCluster(maxCluster), m_bytes(std::move(bytes)) {}

std::optional<uint32_t> FatTable::Entry(uint32_t cluster) const {
  const uint64_t size = m_bytes.size();
  switch (m_kind) {
  case FatKind::Fat12: {
    // Two entries share three bytes: 1.5 bytes per entry.
    const uint64_t offset = static_cast<uint64_t>(cluster) + cluster / 2;
    if (offset + 2 > size) return std::nullopt;
    const uint16_t pair = ReadLe16(&m_bytes[offset]);
    return (cluster & 1) ? static_cast<uint32_t>(pair >> 4) : static_cast<uint32_t>(pair & 0x0FFF);
  }
  case FatKind::Fat16: {
    const uint64_t offset = static_cast<uint64_t>(cluster) * 2;
    if (offset + 2 > size) return std::nullopt;
    return ReadLe16(&m_bytes[offset]);
  }
  case FatKind::Fat32: {
    const uint64_t offset = static_cast<uint64_t>(cluster) * 4;
    if (offset + 4 > size) return std::nullopt;
    return ReadLe32(&m_bytes[offset]) & 0x0FFFFFFF;
  }
  }
  return std::nullopt;
}

uint32_t FatTable::BadClusterMark() const {
  switch (m_kind) {
  case FatKind::Fat12:
    return 0xFF7;
  case FatKind::Fat16:
    return 0xFFF7;
  case FatKind::Fat32:
    return 0x0FFFFFF7;
  }
  return 0;
}

uint32_t FatTable::EndOfChainMark() const {
  switch (m_kind) {
  case FatKind::Fat12:
    return 0xFF8;
  case FatKind::Fat16:
    return 0xFFF8;
  case FatKind::Fat32:
    return 0x0FFFFFF8;
  }
  return 0;
}

ClusterMap FatTable::BuildClusterMap() const {
  ClusterMap map(m_maxCluster);
  MarkInUseRange(map, 2, m_maxCluster + 1);
  return map;
}

void FatTable::MarkInUseRange(ClusterMap &map, uint32_t first, uint32_t end) const {
  const uint32_t bad = BadClusterMark();
  if (first < 2) first = 2;
  if (end > m_maxCluster + 1) end = m_maxCluster + 1;
  for (uint32_t cluster = first; cluster < end; ++cluster) {
    const std::optional<uint32_t> value = Entry(cluster);
    if (!value) return;
    if (*value != 0 && *value != bad) map.MarkInUse(cluster);
  }
}

uint64_t FatBytesNeeded(FatKind kind, uint32_t maxCluster) {
  const uint64_t entries = static_cast<uint64_t>(maxCluster) + 1;
  switch (kind) {
  case FatKind::Fat12:
    return (entries * 3 + 1) / 2;
  case FatKind::Fat16:
    return entries * 2;
  case FatKind::Fat32:
    return entries * 4;
  }
  return 0;
}

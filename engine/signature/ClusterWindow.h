// Consecutive clusters held in memory: the batch a signature pass examines
// and, behind it, clusters read ahead while a hit's size grows. Moving the
// window forward keeps what it already holds of the new range, so clusters
// read ahead for a growth are not read a second time as the next batch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class ClusterWindow {
public:
  // Empties the window and gives it room for capacity clusters of clusterBytes.
  void Reset(size_t clusterBytes, uint32_t capacity);

  uint64_t First() const { return m_first; }
  uint64_t End() const { return m_first + m_count; }
  uint32_t Count() const { return m_count; }
  uint32_t Capacity() const { return m_capacity; }
  uint32_t Room() const { return m_capacity - m_count; }
  bool Holds(uint64_t cluster) const { return cluster >= m_first && cluster - m_first < m_count; }
  // The bytes of a held cluster, null for any other.
  const uint8_t *Find(uint64_t cluster) const;
  // The first cluster's bytes.
  uint8_t *Data() { return At(0); }

  // Makes first the window's first cluster, keeping the held clusters from
  // first on; returns how many were kept. Held bytes move only here, never
  // while clusters are appended.
  uint32_t MoveTo(uint64_t first);
  // Makes first the window's first cluster and holds nothing.
  void Restart(uint64_t first) {
    m_first = first;
    m_count = 0;
    m_start = 0;
  }
  // Where the cluster End() goes (room for Room() clusters); Extend counts
  // the clusters written there.
  uint8_t *Tail() { return At(m_count); }
  void Extend(uint32_t clusters);

private:
  uint8_t *At(uint32_t index) { return m_bytes.get() + (m_start + size_t{index}) * m_clusterBytes; }

  // Twice the capacity: the window slides forward through the buffer and is
  // moved back to its front only once it reaches the middle, so a move costs
  // no more than the clusters passed over since the last one. Bytes are
  // only ever read where a read put them, so the buffer is not cleared.
  std::unique_ptr<uint8_t[]> m_bytes;
  size_t m_allocated = 0;
  size_t m_clusterBytes = 0;
  uint32_t m_capacity = 0;
  uint32_t m_start = 0; // the first cluster's place in the buffer
  uint64_t m_first = 0;
  uint32_t m_count = 0;
};

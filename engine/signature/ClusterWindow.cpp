#include "ClusterWindow.h"

#include <algorithm>
#include <cstring>

void ClusterWindow::Reset(size_t clusterBytes, uint32_t capacity) {
  m_clusterBytes = clusterBytes;
  m_capacity = capacity;
  const size_t bytes = clusterBytes * capacity * 2;
  if (bytes > m_allocated) {
    m_bytes.reset(new uint8_t[bytes]);
    m_allocated = bytes;
  }
  Restart(0);
}

const uint8_t *ClusterWindow::Find(uint64_t cluster) const {
  if (!Holds(cluster)) return nullptr;
  return m_bytes.get() + (m_start + static_cast<size_t>(cluster - m_first)) * m_clusterBytes;
}

uint32_t ClusterWindow::MoveTo(uint64_t first) {
  if (!Holds(first)) {
    Restart(first);
    return 0;
  }
  const uint32_t skip = static_cast<uint32_t>(first - m_first);
  m_start += skip;
  m_count -= skip;
  m_first = first;
  if (m_start > m_capacity) {
    std::memmove(m_bytes.get(), At(0), m_count * m_clusterBytes);
    m_start = 0;
  }
  return m_count;
}

void ClusterWindow::Extend(uint32_t clusters) {
  m_count += std::min(clusters, Room());
}

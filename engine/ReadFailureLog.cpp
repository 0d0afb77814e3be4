#include "ReadFailureLog.h"

#include <algorithm>
#include <string>

void ReadFailureLog::Add(uint64_t first, uint64_t count) {
  if (!m_grouping || m_singleLines < kSingleLines) {
    ++m_singleLines;
    m_writer(first, first);
    return;
  }
  const uint64_t last = first + std::max<uint64_t>(count, 1) - 1;
  // A retry of part of the open run, or the units right after it, extend it.
  if (m_open && first >= m_first && (first <= m_last || first - m_last == 1)) {
    m_last = std::max(m_last, last);
    return;
  }
  Flush();
  m_open = true;
  m_first = first;
  m_last = last;
}

void ReadFailureLog::Flush() {
  if (m_open) m_writer(m_first, m_last);
  m_open = false;
}

std::u16string ReadFailureRangeText(const std::u16string &message, uint64_t first, uint64_t last) {
  const std::string range = " " + std::to_string(first) + " - " + std::to_string(last);
  return message + std::u16string(range.begin(), range.end());
}

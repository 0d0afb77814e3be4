// The signature test of the searches that read free clusters and whole
// disks: which of the chosen file signatures a cluster or sector begins with.
#pragma once

#include "HeaderRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A bitmap whose size field is this large or larger is taken for noise.
constexpr uint32_t kLargestBitmapSize = 0x1400000;

// Tests the chosen signatures in list order against the bytes read from the
// start of a sector or cluster (HeaderRecord::Matches); the first that
// matches decides. On a match the extension and
// (when record is not null) the record are written; a "BMP" match is still
// refused when its size field (u32 at bytes 2..5) is implausibly large.
bool MatchHeader(const std::vector<HeaderRecord> &headers, const uint8_t *buffer, size_t length,
                 std::u16string *extension, HeaderRecord *record);

// The same test with the same result, cheap with a hundred signatures: the
// records are indexed by their offset and first byte, so a cluster costs one
// table look-up per distinct offset, and only records whose first byte is
// there are compared. Built once per search; the records must outlive it.
class SignatureIndex {
public:
  explicit SignatureIndex(const std::vector<HeaderRecord> &headers);

  bool Match(const uint8_t *buffer, size_t length, std::u16string *extension, HeaderRecord *record) const;
  bool Empty() const { return m_offsets.empty(); }

private:
  struct OffsetTable {
    uint32_t m_offset;
    // For each first byte, the list positions of the records that begin
    // with it here, ascending: [m_start[b], m_start[b + 1]) of m_records.
    std::array<uint32_t, 257> m_start;
    std::vector<uint32_t> m_records;
  };

  const std::vector<HeaderRecord> &m_headers;
  std::vector<OffsetTable> m_offsets;
};

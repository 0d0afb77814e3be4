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
  // False when no record can match the bytes: true for every buffer that
  // Match takes, and for few others. A scan tests most sectors with this
  // alone; it reads two bytes per distinct offset and branches once.
  bool MayMatch(const uint8_t *buffer, size_t length) const {
    if (length < kPairFilterLength) return !m_offsets.empty();
    uint32_t any = 0;
    const uint8_t *flags = m_pairFlags.data();
    for (const uint32_t *offset = m_pairOffsets.data(), *end = offset + m_pairOffsets.size(); offset != end;
         ++offset, flags += kPairKeys)
      any |= flags[PairKey(buffer + *offset)];
    return any != 0;
  }
  bool Empty() const { return m_offsets.empty(); }
  // The starts of the 64-byte lines of a sector that MayMatch reads, so a
  // scan can ask for them ahead of the test.
  const std::vector<uint32_t> &FilterLines() const { return m_filterLines; }
  // The first bytes of a sector that decide Match: two sectors equal in
  // these have the same result. Never more than a sector.
  size_t MatchSpan() const { return m_matchSpan; }

private:
  // The pair filter reads the two bytes at each offset; a buffer shorter
  // than a sector goes straight to the full test.
  static constexpr size_t kPairFilterLength = kHeaderMaxOffset + 1;
  // The first byte and the low half of the second, so the rows of a
  // hundred signatures (four kilobytes each, a byte per key so a test is
  // one load) stay in the processor's nearest caches.
  static constexpr uint32_t kPairKeys = 4096;
  static uint32_t PairKey(uint32_t first, uint32_t second) { return (first | second << 8) & (kPairKeys - 1); }
  static uint32_t PairKey(const uint8_t *bytes) { return PairKey(bytes[0], bytes[1]); }

  struct OffsetTable {
    uint32_t m_offset;
    // For each first byte, the list positions of the records that begin
    // with it here, ascending: [m_start[b], m_start[b + 1]) of m_records.
    std::array<uint32_t, 257> m_start;
    std::vector<uint32_t> m_records;
  };

  const std::vector<HeaderRecord> &m_headers;
  std::vector<OffsetTable> m_offsets;
  // For each distinct offset, one flag byte per key of the two bytes there
  // that some record begins with; a one-byte signature sets every key its
  // byte begins. A signature at the sector's last byte has no second byte
  // to read: it sets the keys of the row one byte earlier that end in its
  // byte.
  std::vector<uint32_t> m_pairOffsets;
  std::vector<uint8_t> m_pairFlags;
  std::vector<uint32_t> m_filterLines;
  size_t m_matchSpan = 0;
};

#include "SignatureMatch.h"

#include "ByteOrder.h"

#include <algorithm>

namespace {

bool Decide(const HeaderRecord &header, const uint8_t *buffer, size_t length, std::u16string *extension,
            HeaderRecord *record) {
  if (record) *record = header;
  if (extension) *extension = header.m_extension;
  if (header.m_extension != u"BMP") return true;
  return length >= 6 && ReadLe32(buffer + 2) < kLargestBitmapSize;
}

// A record that can match at all: the same checks as HeaderRecord::Matches.
bool Usable(const HeaderRecord &header) {
  return header.m_signatureLength != 0 && header.m_signatureLength <= kHeaderMaxSignatureLength &&
         header.m_offset <= kHeaderMaxOffset;
}

} // namespace

bool MatchHeader(const std::vector<HeaderRecord> &headers, const uint8_t *buffer, size_t length,
                 std::u16string *extension, HeaderRecord *record) {
  for (const HeaderRecord &header : headers)
    if (header.Matches(buffer, length)) return Decide(header, buffer, length, extension, record);
  return false;
}

SignatureIndex::SignatureIndex(const std::vector<HeaderRecord> &headers) : m_headers(headers) {
  std::vector<uint32_t> offsets;
  for (const HeaderRecord &header : headers)
    if (Usable(header)) offsets.push_back(header.m_offset);
  std::sort(offsets.begin(), offsets.end());
  offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
  for (uint32_t offset : offsets) {
    OffsetTable table{offset, {}, {}};
    std::array<uint32_t, 256> counts{};
    for (const HeaderRecord &header : headers)
      if (Usable(header) && header.m_offset == offset) ++counts[header.m_signature[0]];
    table.m_start[0] = 0;
    for (size_t b = 0; b < 256; ++b) table.m_start[b + 1] = table.m_start[b] + counts[b];
    table.m_records.resize(table.m_start[256]);
    std::array<uint32_t, 256> next{};
    for (size_t b = 0; b < 256; ++b) next[b] = table.m_start[b];
    for (uint32_t i = 0; i < headers.size(); ++i) {
      const HeaderRecord &header = headers[i];
      if (Usable(header) && header.m_offset == offset) table.m_records[next[header.m_signature[0]]++] = i;
    }
    m_offsets.push_back(std::move(table));
  }
  constexpr uint32_t kLastPairOffset = kPairFilterLength - 2;
  // A bitmap's size field (bytes 2 to 5) decides too.
  m_matchSpan = 6;
  for (const HeaderRecord &header : headers) {
    if (!Usable(header)) continue;
    m_matchSpan = std::max<size_t>(m_matchSpan, size_t{header.m_offset} + header.m_signatureLength);
    const uint32_t rowOffset = std::min(header.m_offset, kLastPairOffset);
    size_t row = std::find(m_pairOffsets.begin(), m_pairOffsets.end(), rowOffset) - m_pairOffsets.begin();
    if (row == m_pairOffsets.size()) {
      m_pairOffsets.push_back(rowOffset);
      m_pairFlags.resize(m_pairFlags.size() + kPairKeys);
    }
    uint8_t *flags = m_pairFlags.data() + row * kPairKeys;
    const auto set = [flags](uint32_t first, uint32_t second) { flags[PairKey(first, second)] = 1; };
    const uint32_t first = header.m_signature[0];
    if (header.m_offset > kLastPairOffset) {
      for (uint32_t before = 0; before < 256; ++before) set(before, first);
    } else if (header.m_signatureLength == 1) {
      for (uint32_t second = 0; second < 256; ++second) set(first, second);
    } else {
      set(first, header.m_signature[1]);
    }
  }
  // A signature that runs past the sector's end never matches a sector, and
  // the bytes past it are no sector's to compare.
  m_matchSpan = std::min(m_matchSpan, kPairFilterLength);
  for (uint32_t offset : m_pairOffsets)
    for (uint32_t line : {offset / 64 * 64, (offset + 1) / 64 * 64})
      if (std::find(m_filterLines.begin(), m_filterLines.end(), line) == m_filterLines.end())
        m_filterLines.push_back(line);
  std::sort(m_filterLines.begin(), m_filterLines.end());
}

bool SignatureIndex::Match(const uint8_t *buffer, size_t length, std::u16string *extension,
                           HeaderRecord *record) const {
  if (!MayMatch(buffer, length)) return false;
  // The earliest record in list order that matches decides, as in MatchHeader.
  uint32_t best = UINT32_MAX;
  for (const OffsetTable &table : m_offsets) {
    if (table.m_offset >= length) break; // offsets ascend
    const uint8_t first = buffer[table.m_offset];
    for (uint32_t k = table.m_start[first]; k < table.m_start[first + 1]; ++k) {
      const uint32_t i = table.m_records[k];
      if (i >= best) break; // ascending: nothing earlier follows
      if (m_headers[i].Matches(buffer, length)) {
        best = i;
        break;
      }
    }
  }
  if (best == UINT32_MAX) return false;
  return Decide(m_headers[best], buffer, length, extension, record);
}

#include "HeaderRecord.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kTextChars = 260;

// A field without its NUL loses its last character, as it would when shown.
std::u16string ReadText(const uint8_t *p) {
  std::u16string text;
  for (size_t i = 0; i + 1 < kTextChars; ++i) {
    const char16_t c = static_cast<char16_t>(ReadLe16(p + 2 * i));
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

void WriteText(uint8_t *p, const std::u16string &text) {
  const size_t n = std::min(text.size(), kTextChars - 1);
  for (size_t i = 0; i < n; ++i) WriteLe16(p + 2 * i, static_cast<uint16_t>(text[i]));
}

} // namespace

bool HeaderRecord::Matches(const uint8_t *firstSector, size_t length) const {
  if (m_signatureLength == 0 || m_signatureLength > kHeaderMaxSignatureLength || m_offset > kHeaderMaxOffset)
    return false;
  if (static_cast<size_t>(m_offset) + m_signatureLength > length) return false;
  // Most sectors differ in the first byte already; that test spares a call.
  if (firstSector[m_offset] != m_signature[0]) return false;
  return std::memcmp(firstSector + m_offset, m_signature, m_signatureLength) == 0;
}

bool operator==(const HeaderRecord &a, const HeaderRecord &b) {
  return a.m_softwareName == b.m_softwareName && a.m_extension == b.m_extension && a.m_offset == b.m_offset &&
         a.m_signatureLength == b.m_signatureLength && std::memcmp(a.m_signature, b.m_signature, 8) == 0 &&
         a.m_selected == b.m_selected && a.m_predefined == b.m_predefined && a.m_maxSize == b.m_maxSize &&
         a.m_sizeUnit == b.m_sizeUnit && a.m_group == b.m_group;
}

ParseResult ParseHeaderRecord(const uint8_t *bytes, size_t length, HeaderRecord &out) {
  out = HeaderRecord();
  if (bytes == nullptr || length < kHeaderRecordSize) return ParseResult::Corrupt;
  // 0, 4 and 4, 4: list links, meaningless in a file.
  out.m_softwareName = ReadText(bytes + 8);      // 8, 520, software name
  out.m_extension = ReadText(bytes + 528);       // 528, 520, extension without the dot
  out.m_offset = ReadLe32(bytes + 1048);         // 1048, 4, signature offset 0..511
  out.m_signatureLength = bytes[1052];           // 1052, 1, signature length 1..8
  std::memcpy(out.m_signature, bytes + 1053, 8); // 1053, 8, signature bytes
  out.m_selected = bytes[1061];                  // 1061, 1, selected
  out.m_predefined = bytes[1062];                // 1062, 1, shipped record
  out.m_maxSize = ReadLe32(bytes + 1064);        // 1064, 4, maximum file size in bytes
  out.m_sizeUnit = bytes[1068];                  // 1068, 1, 0 MB, 1 KB
  out.m_group = bytes[1069];                     // 1069, 1, file group
  if (out.m_offset > kHeaderMaxOffset || out.m_signatureLength > kHeaderMaxSignatureLength)
    return ParseResult::Corrupt;
  return ParseResult::Ok;
}

void SerialiseHeaderRecord(const HeaderRecord &record, uint8_t *out) {
  std::memset(out, 0, kHeaderRecordSize);
  WriteText(out + 8, record.m_softwareName);
  WriteText(out + 528, record.m_extension);
  WriteLe32(out + 1048, record.m_offset);
  out[1052] = record.m_signatureLength;
  std::memcpy(out + 1053, record.m_signature, 8);
  out[1061] = record.m_selected;
  out[1062] = record.m_predefined;
  WriteLe32(out + 1064, record.m_maxSize);
  out[1068] = record.m_sizeUnit;
  out[1069] = record.m_group;
}

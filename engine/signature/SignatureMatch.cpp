#include "SignatureMatch.h"

#include "ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {

bool SignatureFits(const HeaderRecord &header, const uint8_t *buffer, size_t length) {
  const size_t signatureLength = std::min<size_t>(header.m_signatureLength, kHeaderMaxSignatureLength);
  if (signatureLength == 0) return true;
  if (static_cast<size_t>(header.m_offset) + signatureLength > length) return false;
  // Most sectors differ in the first byte already; that test spares a call.
  if (buffer[header.m_offset] != header.m_signature[0]) return false;
  return std::memcmp(buffer + header.m_offset, header.m_signature, signatureLength) == 0;
}

} // namespace

bool MatchHeader(const std::vector<HeaderRecord> &headers, const uint8_t *buffer, size_t length,
                 std::u16string *extension, HeaderRecord *record) {
  for (const HeaderRecord &header : headers) {
    if (!SignatureFits(header, buffer, length)) continue;
    if (record) *record = header;
    if (extension) *extension = header.m_extension;
    if (header.m_extension != u"BMP") return true;
    return length >= 6 && ReadLe32(buffer + 2) < kLargestBitmapSize;
  }
  return false;
}

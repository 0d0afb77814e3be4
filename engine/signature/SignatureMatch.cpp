#include "SignatureMatch.h"

#include "ByteOrder.h"

bool MatchHeader(const std::vector<HeaderRecord> &headers, const uint8_t *buffer, size_t length,
                 std::u16string *extension, HeaderRecord *record) {
  for (const HeaderRecord &header : headers) {
    if (!header.Matches(buffer, length)) continue;
    if (record) *record = header;
    if (extension) *extension = header.m_extension;
    if (header.m_extension != u"BMP") return true;
    return length >= 6 && ReadLe32(buffer + 2) < kLargestBitmapSize;
  }
  return false;
}

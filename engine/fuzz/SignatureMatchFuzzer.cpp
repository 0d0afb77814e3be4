// Fuzzes the indexed signature test against the plain walk in list order:
// both must give the same answer, extension and record for any set of
// signatures (hostile lengths and offsets among them) and any sector bytes.
// Input: a count byte, then 12 bytes per signature (offset u16, length u8,
// BMP flag u8, 8 signature bytes), then the sector's bytes.
#include "ByteOrder.h"
#include "SignatureMatch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const size_t count = data[0] % 24;
  if (size < 1 + count * 12) return 0;
  std::vector<HeaderRecord> headers(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t *p = data + 1 + i * 12;
    HeaderRecord &header = headers[i];
    header.m_offset = ReadLe16(p) % 600;
    header.m_signatureLength = p[2] % 12;
    header.m_extension = (p[3] & 1) ? u"BMP" : u"T" + std::u16string(1, static_cast<char16_t>(u'a' + i));
    std::memcpy(header.m_signature, p + 4, 8);
  }
  const uint8_t *sector = data + 1 + count * 12;
  const size_t length = size - 1 - count * 12;
  const SignatureIndex index(headers);
  std::u16string walked, indexed;
  HeaderRecord walkedRecord, indexedRecord;
  const bool expected = MatchHeader(headers, sector, length, &walked, &walkedRecord);
  if (index.Match(sector, length, &indexed, &indexedRecord) != expected || walked != indexed ||
      !(walkedRecord == indexedRecord))
    __builtin_trap();
  return 0;
}

#include "HeaderFields.h"

#include "HeaderFile.h"
#include "resource.h"

#include <cwctype>

namespace {

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Digits only; false when another character or more than nine digits.
bool Number(const std::wstring &text, uint32_t &value) {
  value = 0;
  if (text.size() > 9) return false;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + static_cast<uint32_t>(c - L'0');
  }
  return true;
}

SignatureBytes SignatureError(unsigned id) {
  SignatureBytes bytes;
  bytes.m_error = id;
  return bytes;
}

FieldNumber NumberError(unsigned id) {
  FieldNumber number;
  number.m_error = id;
  return number;
}

} // namespace

SignatureBytes ParseSignatureText(const std::wstring &text) {
  if (text.size() >= 25) return SignatureError(IDS_INVALID_HEADER_LENGTH);
  for (size_t i = 0; i < text.size(); ++i) {
    const bool blankPlace = (i + 1) % 3 == 0;
    if (blankPlace ? text[i] != L' ' : HexDigit(text[i]) < 0)
      return SignatureError(IDS_INVALID_HEADER_FORMAT);
  }
  // Whole bytes only: "1", "01 f" and an empty text are too short.
  if (text.empty() || text.size() % 3 != 2) return SignatureError(IDS_INVALID_HEADER_LENGTH);
  SignatureBytes bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 3)
    bytes.m_bytes[bytes.m_length++] = static_cast<uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
  return bytes;
}

FieldNumber ParseOffsetText(const std::wstring &text) {
  FieldNumber offset;
  if (text.size() >= 4 || !Number(text, offset.m_value) || offset.m_value > kHeaderMaxOffset)
    return NumberError(IDS_INVALID_OFFSET);
  return offset;
}

FieldNumber ParseSizeText(const std::wstring &number, uint8_t unit) {
  uint32_t value = 0;
  if (!Number(number, value)) return NumberError(IDS_INVALID_SIZE);
  const std::optional<uint32_t> bytes = MaximumSizeBytes(value, unit);
  if (!bytes) return NumberError(IDS_HEADER_SIZE_TOO_LARGE);
  FieldNumber size;
  size.m_value = *bytes;
  return size;
}

std::wstring SignatureText(const HeaderRecord &record) {
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  const uint8_t length = std::min(record.m_signatureLength, kHeaderMaxSignatureLength);
  for (uint8_t i = 0; i < length; ++i) {
    if (i) text += L' ';
    text += kDigits[record.m_signature[i] >> 4];
    text += kDigits[record.m_signature[i] & 15];
  }
  return text;
}

uint32_t FlipSizeUnit(uint32_t number, bool toKilobytes) {
  if (!toKilobytes) return number / 1024;
  const uint64_t kilobytes = uint64_t{number} * 1024;
  return kilobytes > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(kilobytes);
}

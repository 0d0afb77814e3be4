// The text fields of the signature dialog: what the user types for a
// signature, its offset and its maximum size, checked and turned into a
// record's values; and a record's values shown as those texts.
#pragma once

#include "HeaderRecord.h"

#include <cstdint>
#include <string>

// A parsed field: its value, or (m_error not 0) the string id of the message
// that refuses it.
struct SignatureBytes {
  uint8_t m_length = 0;
  uint8_t m_bytes[8] = {};
  unsigned m_error = 0;
};

struct FieldNumber {
  uint32_t m_value = 0;
  unsigned m_error = 0;
};

// Pairs of hexadecimal digits separated by one blank ("01 ff 0c"), 1 to 8
// bytes. On failure the string id of the message: the length one when the
// text is too long or its last byte has one digit, else the format one.
SignatureBytes ParseSignatureText(const std::wstring &text);

// Digits only, below 512; empty is 0. Nothing when invalid.
FieldNumber ParseOffsetText(const std::wstring &text);

// The size number in its unit (0 megabytes, 1 kilobytes) as bytes; on
// failure the message id: not digits, or a size that does not fit 32 bits.
FieldNumber ParseSizeText(const std::wstring &number, uint8_t unit);

// "01 ff 0c": each byte as two lower-case digits, one blank between.
std::wstring SignatureText(const HeaderRecord &record);

// The other unit's number when the spin button flips "MB" and "KB".
uint32_t FlipSizeUnit(uint32_t number, bool toKilobytes);

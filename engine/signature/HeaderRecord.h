// One file signature ("header") the signature search looks for, and its
// 1072-byte record layout as stored in the user's signature file.
#pragma once

#include "ByteOrder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kHeaderRecordSize = 1072;
constexpr uint32_t kHeaderMaxOffset = 511;
constexpr uint8_t kHeaderMaxSignatureLength = 8;

struct HeaderRecord {
  std::u16string m_softwareName; // name of the program that writes such files
  std::u16string m_extension;    // file extension without the dot, as "DOC"
  uint32_t m_offset = 0;         // 0..511: where the signature lies from the file's start
  uint8_t m_signatureLength = 0; // 1..8 used bytes of m_signature
  uint8_t m_signature[8] = {};   // signature bytes; unused ones 0
  uint8_t m_selected = 0;        // chosen for the next search
  uint8_t m_predefined = 0;      // shipped record: signature hidden, cannot be removed
  uint32_t m_maxSize = 0;        // largest file a hit may produce, in bytes
  uint8_t m_sizeUnit = 0;        // 0 megabytes, 1 kilobytes (display only)
  uint8_t m_group = 0;           // 0..12 file group

  // True when the signature lies wholly inside the bytes read from a file's
  // first sector and equals them there. A record no valid signature file
  // holds (length 0 or above 8, offset above 511) matches nothing: an empty
  // signature would make every free cluster a hit and hide every later type.
  bool Matches(const uint8_t *firstSector, size_t length) const;
};

bool operator==(const HeaderRecord &a, const HeaderRecord &b);

// Reads one record. Corrupt when fewer than 1072 bytes are given or the offset
// or the signature length is out of range (the record is then filled with the
// raw values, and a caller must not use it for matching).
ParseResult ParseHeaderRecord(const uint8_t *bytes, size_t length, HeaderRecord &out);

// Writes one record; the list links and reserved bytes are 0, texts are cut to
// 259 characters and NUL-terminated.
void SerialiseHeaderRecord(const HeaderRecord &record, uint8_t *out);

// The user's signature file, HeaderFile.cfg in the installation folder: a
// plain run of 1072-byte signature records. Reading refuses damaged records
// one by one and keeps the rest; a rewrite never leaves a half-written file
// in place of a good one.
#pragma once

#include "HeaderRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Framework.h"

constexpr wchar_t kHeaderFileName[] = L"HeaderFile.cfg";
// Groups 0 ("All") to 12 ("Miscellaneous").
constexpr uint8_t kHeaderGroupCount = 13;
// Size units of a record.
constexpr uint8_t kSizeUnitMegabytes = 0;
constexpr uint8_t kSizeUnitKilobytes = 1;

// Why a stored record was not taken.
enum class HeaderRefusal {
  SignatureLength,  // 0 or above 8
  Offset,           // above 511
  UnterminatedText, // name or extension without its NUL
  Group,            // above 12
};

struct RefusedHeader {
  size_t index; // position of the record in the file, from 0
  HeaderRefusal reason;
};

struct HeaderFileContents {
  std::vector<HeaderRecord> records; // file order; selected = predefined extension
  std::vector<RefusedHeader> refused;
  size_t trailingBytes = 0; // bytes after the last whole record, ignored
};

// The extensions whose records are chosen for a search by default (exact
// case: "DOC" and "doc" are, "Doc" is not).
bool IsDefaultSelectedExtension(const std::u16string &extension);

// Reads the records of a whole file image. Every record is checked on its
// own: a damaged one is listed in refused and the rest are kept.
HeaderFileContents ParseHeaderFile(const uint8_t *bytes, size_t size);

// The file image of the records in order (links 0, selected 0 or 1).
std::vector<uint8_t> SerialiseHeaderFile(const std::vector<HeaderRecord> &records);

// The maximum size in bytes of a number typed in the given unit, or nothing
// when it does not fit 32 bits (4096 MB and more, 4194304 KB and more).
std::optional<uint32_t> MaximumSizeBytes(uint32_t number, uint8_t unit);

// The number shown for a record's size in its own unit.
uint32_t MaximumSizeNumber(const HeaderRecord &record);

// "<folder>\HeaderFile.cfg" for the folder the product key's "Path" names;
// empty when the value is missing.
std::wstring HeaderFilePath(HKEY root, const wchar_t *productKeyPath);

// Reads the file; a missing or unreadable file gives no records.
HeaderFileContents LoadHeaderFile(const std::wstring &path);

// Appends one record at the file's end, making the file when there is none.
bool AppendHeaderFileRecord(const std::wstring &path, const HeaderRecord &record);

// Writes every record to a temporary file beside the file and then puts it
// in the file's place; on any failure the old file stays as it was.
bool RewriteHeaderFile(const std::wstring &path, const std::vector<HeaderRecord> &records);

// The log text of a refused record (string table of the active language).
std::wstring RefusedHeaderLogText(const RefusedHeader &refused);

// Fuzzes the found-entry and signature record parsers: whatever parses must
// write back to the same record.
#include "EntryRecord.h"
#include "HeaderRecord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  EntryRecord entry;
  if (ParseEntryRecord(data, size, entry) == ParseResult::Ok) {
    const auto bytes = SerialiseEntryRecord(entry);
    EntryRecord back;
    if (ParseEntryRecord(bytes.data(), bytes.size(), back) != ParseResult::Ok || back != entry)
      __builtin_trap();
  }
  HeaderRecord header;
  if (ParseHeaderRecord(data, size, header) == ParseResult::Ok) {
    std::vector<uint8_t> bytes(kHeaderRecordSize);
    SerialiseHeaderRecord(header, bytes.data());
    HeaderRecord back;
    if (ParseHeaderRecord(bytes.data(), bytes.size(), back) != ParseResult::Ok || !(back == header))
      __builtin_trap();
    header.Matches(data, size);
  }
  return 0;
}

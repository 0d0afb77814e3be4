// The value of an $ATTRIBUTE_LIST attribute.
#include "FileRecord.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<AttributeListEntry> entries;
  ParseAttributeList(data, size, entries);
  return 0;
}

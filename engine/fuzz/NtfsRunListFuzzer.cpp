// Mapping pairs of a non-resident attribute, and their entry form.
#include "RunList.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<DataRun> runs;
  if (DecodeRunList(data, size, 0, runs, nullptr, 4096) == ParseResult::Ok) ToMftRunEntries(runs, 8);
  return 0;
}

// One LZNT1 compression unit of 16 clusters of 4096 bytes.
#include "Lznt1.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<uint8_t> out(16 * 4096);
  size_t produced = 0;
  DecompressLznt1(data, size, out.data(), out.size(), produced);
  return 0;
}

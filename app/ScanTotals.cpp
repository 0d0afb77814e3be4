#include "ScanTotals.h"

#include <cstdio>

std::wstring FormatTotalsText(uint64_t bytes, uint32_t files, uint32_t folders, const TotalsWords &w) {
  const struct {
    uint64_t unit;
    const wchar_t *name;
  } units[] = {{1ull << 30, w.gigabytes.c_str()}, {1ull << 20, w.megabytes.c_str()}, {1ull << 10, w.kilobytes.c_str()}};
  wchar_t text[260];
  for (const auto &unit : units) {
    if (bytes < unit.unit) continue;
    wchar_t amount[32];
    swprintf(amount, 32, L"%.3f", (double)bytes / (double)unit.unit);
    swprintf(text, 260, L" %ls %ls %ls %ls %u %ls %ls %u %ls", w.total.c_str(), amount, unit.name,
             w.in.c_str(), files, w.files.c_str(), w.in.c_str(), folders, w.folders.c_str());
    return text;
  }
  swprintf(text, 260, L" %ls %u %ls %ls %u %ls %ls %u %ls", w.total.c_str(), (unsigned)bytes, w.bytes.c_str(),
           w.in.c_str(), files, w.files.c_str(), w.in.c_str(), folders, w.folders.c_str());
  return text;
}

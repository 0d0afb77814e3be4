// The totals text of the status bar at the unit boundaries.
#include <gtest/gtest.h>

#include <vector>

#include "ScanTotals.h"

namespace {

const TotalsWords kWords = {L"Total", L"Bytes", L"in", L"File(s)", L"Folder(s)"};

TEST(ScanTotalsTest, UnitByMagnitude) {
  struct Case {
    uint64_t bytes;
    const wchar_t *expected;
  };
  const std::vector<Case> cases = {
      {0, L" Total 0 Bytes in 12 File(s) in 3 Folder(s)"},
      {1023, L" Total 1023 Bytes in 12 File(s) in 3 Folder(s)"},
      {1024, L" Total 1.000 KB in 12 File(s) in 3 Folder(s)"},
      {(1ull << 20) - 1, L" Total 1023.999 KB in 12 File(s) in 3 Folder(s)"},
      {1ull << 20, L" Total 1.000 MB in 12 File(s) in 3 Folder(s)"},
      {(3ull << 30) / 2, L" Total 1.500 GB in 12 File(s) in 3 Folder(s)"},
      {5000ull << 30, L" Total 5000.000 GB in 12 File(s) in 3 Folder(s)"},
  };
  for (const Case &c : cases) EXPECT_EQ(FormatTotalsText(c.bytes, 12, 3, kWords), c.expected) << c.bytes;
}

// The units are words of the language, as French abbreviates them.
TEST(ScanTotalsTest, UnitsInTheWordsGiven) {
  const TotalsWords french = {L"Total", L"octets", L"dans", L"fichier(s)", L"dossier(s)", L"Go", L"Mo", L"Ko"};
  EXPECT_EQ(FormatTotalsText(1024, 1, 1, french), L" Total 1.000 Ko dans 1 fichier(s) dans 1 dossier(s)");
  EXPECT_EQ(FormatTotalsText(1ull << 20, 1, 1, french), L" Total 1.000 Mo dans 1 fichier(s) dans 1 dossier(s)");
  EXPECT_EQ(FormatTotalsText(1ull << 30, 1, 1, french), L" Total 1.000 Go dans 1 fichier(s) dans 1 dossier(s)");
}

} // namespace

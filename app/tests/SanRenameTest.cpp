// The free name Save Scan Information proposes when the chosen .DAT file
// exists: drive numbers, counter and folder part.
#include "SanRename.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string Narrow(const std::wstring &text) {
  return std::string(text.begin(), text.end());
}

std::set<std::wstring> TakenUpTo(const std::wstring &base, int last) {
  std::set<std::wstring> taken{base + L".DAT"};
  for (int i = 1; i <= last; ++i) taken.insert(base + std::to_wstring(i) + L".DAT");
  return taken;
}

struct ProposalCase {
  const char *m_label;
  std::wstring m_existing;
  int m_driveCode;
  std::set<std::wstring> m_taken;
  const char *m_proposal;
};

class ScanFileProposal : public ::testing::TestWithParam<ProposalCase> {};

TEST_P(ScanFileProposal, NamesDriveAndFirstFreeCounter) {
  const ProposalCase &c = GetParam();
  auto exists = [&c](const std::wstring &path) { return c.m_taken.count(path) != 0; };
  const uint8_t code = static_cast<uint8_t>(c.m_driveCode);
  EXPECT_EQ(Narrow(ProposeScanFileName(c.m_existing, static_cast<uint8_t>(code + 128), code, exists)),
            c.m_proposal);
}

const std::wstring kScans = L"C:\\Scans\\HardDrv130_LogDrv2_Scan";

INSTANTIATE_TEST_SUITE_P(
    Table, ScanFileProposal,
    ::testing::Values(
        ProposalCase{"FreeAtOnce", L"C:\\Scans\\mine.DAT", 2, {}, "C:\\Scans\\HardDrv130_LogDrv2_Scan"},
        ProposalCase{"FirstTaken", L"C:\\Scans\\mine.DAT", 2, TakenUpTo(kScans, 0),
                     "C:\\Scans\\HardDrv130_LogDrv2_Scan1"},
        ProposalCase{"NineTaken", L"C:\\Scans\\mine.DAT", 2, TakenUpTo(kScans, 9),
                     "C:\\Scans\\HardDrv130_LogDrv2_Scan10"},
        ProposalCase{"TenTaken", L"C:\\Scans\\mine.DAT", 2, TakenUpTo(kScans, 10),
                     "C:\\Scans\\HardDrv130_LogDrv2_Scan11"},
        ProposalCase{"NoFolder", L"mine.DAT", 2, {}, "HardDrv130_LogDrv2_Scan"},
        ProposalCase{"DriveZero", L"D:\\x.DAT", 0, {}, "D:\\HardDrv128_LogDrv0_Scan"},
        ProposalCase{"Drive127", L"D:\\x.DAT", 127, {}, "D:\\HardDrv255_LogDrv127_Scan"},
        ProposalCase{"Drive200WrapsModulo256", L"D:\\x.DAT", 200, {}, "D:\\HardDrv72_LogDrv200_Scan"}),
    [](const auto &info) { return std::string(info.param.m_label); });

TEST(ScanFileProposal, StaysWithinTheNameLimit) {
  const std::wstring folder = L"C:\\" + std::wstring(300, L'f') + L"\\mine.DAT";
  const std::wstring proposal =
      ProposeScanFileName(folder, 130, 2, [](const std::wstring &) { return false; });
  EXPECT_LE(proposal.size(), 259u);
}

TEST(ScanFileProposal, EndsWhenACounterNoLongerFits) {
  // The base alone fills the limit and is taken: no counter can free it.
  const std::wstring folder = L"C:\\" + std::wstring(240, L'f') + L"\\mine.DAT";
  const std::wstring proposal =
      ProposeScanFileName(folder, 130, 2, [](const std::wstring &) { return true; });
  EXPECT_LE(proposal.size(), 259u);
}

} // namespace

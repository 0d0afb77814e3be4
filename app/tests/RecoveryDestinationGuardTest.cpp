// The refusal of a recovery destination on the volume or disk being
// searched: the decision over a table of system answers, and the real
// system's answers for the folder the test writes in.
#include "RecoveryDestinationGuard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// Volume roots by path prefix, unique names by root, extents by root; a
// missing entry is a question the system cannot answer.
class TableQueries : public VolumeQueries {
public:
  std::map<std::u16string, std::u16string> m_roots;
  std::map<std::u16string, std::u16string> m_names;
  std::map<std::u16string, std::vector<DiskExtent>> m_extents;
  std::map<char16_t, std::u16string> m_dosDevices;
  std::map<std::u16string, std::u16string> m_shares;
  std::vector<std::u16string> m_ownNames;

  // Paths compare without regard to case, as Windows compares them.
  std::u16string VolumePathOf(const std::u16string &path) override {
    std::u16string upper = path;
    for (char16_t &c : upper) c = static_cast<char16_t>(towupper(c));
    std::u16string best;
    for (const auto &[prefix, root] : m_roots)
      if (upper.compare(0, prefix.size(), prefix) == 0 && prefix.size() >= best.size()) best = prefix;
    return best.empty() ? std::u16string() : m_roots[best];
  }
  std::u16string VolumeNameOf(const std::u16string &mountPoint) override {
    auto found = m_names.find(mountPoint);
    return found == m_names.end() ? std::u16string() : found->second;
  }
  std::optional<std::vector<DiskExtent>> ExtentsOf(const std::u16string &mountPoint) override {
    auto found = m_extents.find(mountPoint);
    if (found == m_extents.end()) return std::nullopt;
    return found->second;
  }
  std::u16string DosDeviceOf(char16_t letter) override {
    auto found = m_dosDevices.find(letter);
    return found == m_dosDevices.end() ? std::u16string() : found->second;
  }
  // Share names compare without regard to case.
  std::u16string LocalPathOfShare(const std::u16string &share) override {
    for (const auto &[name, folder] : m_shares)
      if (name.size() == share.size() &&
          std::equal(name.begin(), name.end(), share.begin(),
                     [](char16_t a, char16_t b) { return towupper(a) == towupper(b); }))
        return folder;
    return {};
  }
  std::vector<std::u16string> OwnNames() override { return m_ownNames; }
};

// C: and D: are volumes on disk 0 (D: from byte 1 GB), E: is on disk 1;
// "D:\Mnt\Cvol" is C:'s volume mounted in a folder of D:. S: is a SUBST
// letter for C:\Data, T: one for S:\Deeper, U: one for E:\Stuff, and V:
// and W: name each other. This machine is QVHOST (qvhost.example.test on
// the network) and shares C$ (C:\), Shared (C:\Shared) and Elsewhere
// (E:\Files).
TableQueries KnownSystem() {
  TableQueries q;
  q.m_roots = {{u"C:", u"C:\\"}, {u"D:", u"D:\\"}, {u"E:", u"E:\\"}, {u"D:\\MNT\\CVOL", u"D:\\Mnt\\Cvol\\"}};
  q.m_names = {{u"C:\\", u"\\\\?\\Volume{c}\\"},
               {u"D:\\", u"\\\\?\\Volume{d}\\"},
               {u"E:\\", u"\\\\?\\Volume{e}\\"},
               {u"D:\\Mnt\\Cvol\\", u"\\\\?\\VOLUME{C}\\"}};
  q.m_extents = {{u"C:\\", {{0, 1048576, 1073741824 - 1048576}}},
                 {u"D:\\", {{0, 1073741824, 1073741824}}},
                 {u"E:\\", {{1, 1048576, 4194304}}},
                 {u"D:\\Mnt\\Cvol\\", {{0, 1048576, 1073741824 - 1048576}}}};
  q.m_dosDevices = {{u'C', u"\\Device\\HarddiskVolume1"},
                    {u'E', u"\\Device\\HarddiskVolume3"},
                    {u'S', u"\\??\\C:\\Data"},
                    {u'T', u"\\??\\S:\\Deeper"},
                    {u'U', u"\\??\\E:\\Stuff"},
                    {u'V', u"\\??\\W:\\x"},
                    {u'W', u"\\??\\V:\\y"}};
  q.m_shares = {{u"C$", u"C:\\"}, {u"Shared", u"C:\\Shared"}, {u"Elsewhere", u"E:\\Files"}};
  q.m_ownNames = {u"QVHOST", u"qvhost.example.test"};
  return q;
}

SearchedPlace Letter(char16_t letter, std::u16string letters = {}) {
  SearchedPlace place;
  place.m_driveCode = static_cast<uint8_t>(letter - u'A');
  place.m_letters = std::move(letters);
  return place;
}

// A volume read through disk 0: C:'s sectors.
SearchedPlace VolumeOnDisk0(std::u16string letters = u"C") {
  SearchedPlace place;
  place.m_driveCode = 0x80;
  place.m_startSector = 2048;
  place.m_sectors = (1073741824 - 1048576) / 512;
  place.m_letters = std::move(letters);
  return place;
}

SearchedPlace WholeDisk(uint8_t disk) {
  SearchedPlace place;
  place.m_driveCode = static_cast<uint8_t>(0x80 + disk);
  return place;
}

struct GuardCase {
  const char *m_label;
  const char16_t *m_destination;
  SearchedPlace m_searched;
  bool m_systemAnswers;
  GuardVerdict m_verdict;
  bool m_byLetter;
};

class GuardTable : public ::testing::TestWithParam<GuardCase> {};

TEST_P(GuardTable, RefusesTheSearchedVolumeOrDisk) {
  const GuardCase &c = GetParam();
  TableQueries queries = KnownSystem();
  if (!c.m_systemAnswers) {
    queries.m_names.clear();
    queries.m_extents.clear();
  }
  const GuardAnswer answer = CheckRecoveryDestination(c.m_destination, c.m_searched, queries);
  EXPECT_EQ(answer.m_verdict, c.m_verdict);
  EXPECT_EQ(answer.m_byLetter, c.m_byLetter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GuardTable,
    ::testing::Values(
        GuardCase{"SameLetter", u"C:\\Out", Letter(u'C'), true, GuardVerdict::SameVolume, false},
        GuardCase{"OtherLetter", u"E:\\Out", Letter(u'C'), true, GuardVerdict::Allowed, false},
        GuardCase{"LowerCaseDestination", u"c:\\out", Letter(u'C'), true, GuardVerdict::SameVolume, false},
        GuardCase{"MountedFolderOfSearchedVolume", u"D:\\Mnt\\Cvol\\Out", Letter(u'C'), true,
                  GuardVerdict::SameVolume, false},
        GuardCase{"OtherFolderOfThatDrive", u"D:\\Other", Letter(u'C'), true, GuardVerdict::Allowed, false},
        GuardCase{"VolumeThroughDiskSameVolume", u"C:\\Out", VolumeOnDisk0(), true, GuardVerdict::SameVolume,
                  false},
        GuardCase{"VolumeThroughDiskNeighbourVolume", u"D:\\Out", VolumeOnDisk0(), true,
                  GuardVerdict::Allowed, false},
        GuardCase{"WholeDiskAnyVolumeOnIt", u"D:\\Out", WholeDisk(0), true, GuardVerdict::SameDisk, false},
        GuardCase{"WholeDiskOtherDisk", u"E:\\Out", WholeDisk(0), true, GuardVerdict::Allowed, false},
        GuardCase{"NoAnswerSameLetter", u"C:\\Out", Letter(u'C'), false, GuardVerdict::SameVolume, true},
        GuardCase{"NoAnswerOtherLetter", u"E:\\Out", Letter(u'C'), false, GuardVerdict::Allowed, true},
        GuardCase{"NoExtentsLetterOfTheDrive", u"C:\\Out", VolumeOnDisk0(u"C"), false,
                  GuardVerdict::SameVolume, true},
        GuardCase{"NoExtentsOtherLetter", u"E:\\Out", VolumeOnDisk0(u"C"), false, GuardVerdict::Allowed,
                  true},
        GuardCase{"NoRootKnownUsesTheDestinationLetter", u"F:\\Out", Letter(u'F'), false,
                  GuardVerdict::SameVolume, true},
        // Other names of a place on the searched volume.
        GuardCase{"SubstLetterOfTheSearchedDrive", u"S:\\Out", Letter(u'C'), true, GuardVerdict::SameVolume,
                  false},
        GuardCase{"SubstLetterOfASubstLetter", u"T:\\Out", Letter(u'C'), true, GuardVerdict::SameVolume,
                  false},
        GuardCase{"SubstLetterWithoutVolumeNames", u"S:\\Out", Letter(u'C'), false, GuardVerdict::SameVolume,
                  true},
        GuardCase{"SubstLetterOfAnotherDrive", u"U:\\Out", Letter(u'C'), true, GuardVerdict::Allowed, false},
        GuardCase{"SubstLettersInALoop", u"V:\\Out", Letter(u'C'), true, GuardVerdict::CannotTell, false},
        GuardCase{"AdministrativeShareOnLocalhost", u"\\\\localhost\\C$\\Out", Letter(u'C'), true,
                  GuardVerdict::SameVolume, false},
        GuardCase{"ShareOnALoopbackAddress", u"\\\\127.0.0.1\\Shared\\Out", Letter(u'C'), true,
                  GuardVerdict::SameVolume, false},
        GuardCase{"ShareOnTheComputersOwnName", u"\\\\QvHost\\shared\\Out", Letter(u'C'), true,
                  GuardVerdict::SameVolume, false},
        GuardCase{"ShareOnTheComputersDnsName", u"\\\\qvhost.example.test\\C$", Letter(u'C'), true,
                  GuardVerdict::SameVolume, false},
        GuardCase{"LongFormOfAShare", u"\\\\?\\UNC\\localhost\\C$\\Out", Letter(u'C'), true,
                  GuardVerdict::SameVolume, false},
        GuardCase{"LongFormOfALetter", u"\\\\?\\C:\\Out", Letter(u'C'), true, GuardVerdict::SameVolume,
                  false},
        GuardCase{"ShareOfThisMachineOnTheSearchedDisk", u"\\\\localhost\\Shared", WholeDisk(0), true,
                  GuardVerdict::SameDisk, false},
        GuardCase{"ShareOfThisMachineOnAnotherDrive", u"\\\\localhost\\Elsewhere\\Out", Letter(u'C'), true,
                  GuardVerdict::Allowed, false},
        GuardCase{"ShareOfThisMachineNotKnown", u"\\\\localhost\\Hidden\\Out", Letter(u'C'), true,
                  GuardVerdict::CannotTell, false},
        GuardCase{"ShareOfAnotherMachine", u"\\\\fileserver\\Shared\\Out", Letter(u'C'), true,
                  GuardVerdict::Allowed, true},
        // A volume mounted in a folder is not the drive the folder lies on.
        GuardCase{"MountedFolderWithoutVolumeNames", u"D:\\Mnt\\Cvol\\Out", Letter(u'C'), false,
                  GuardVerdict::CannotTell, false},
        GuardCase{"MountedFolderWithoutExtents", u"D:\\Mnt\\Cvol\\Out", VolumeOnDisk0(u"C"), false,
                  GuardVerdict::CannotTell, false}),
    [](const auto &info) { return std::string(info.param.m_label); });

// The folder this test writes in, on whatever drive the system gives it:
// recovering there while that drive is searched is refused however the
// system answers (Wine gives no volume extents, so letters may decide).
TEST(GuardOnThisSystem, RefusesTheDriveOfTheDestination) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 2u);
  ASSERT_EQ(temp[1], L':');
  const std::u16string destination(temp, temp + wcslen(temp));
  SystemVolumeQueries system;
  SearchedPlace searched = Letter(static_cast<char16_t>(towupper(temp[0])));
  const GuardAnswer same = CheckRecoveryDestination(destination, searched, system);
  EXPECT_EQ(same.m_verdict, GuardVerdict::SameVolume);

  // The same folder through the drive's administrative share on this
  // machine: its folder, or refused when the system cannot tell it.
  const std::u16string share =
      u"\\\\localhost\\" + std::u16string(1, static_cast<char16_t>(temp[0])) + u"$" + destination.substr(2);
  EXPECT_NE(CheckRecoveryDestination(share, searched, system).m_verdict, GuardVerdict::Allowed);

  // Another letter is a different volume.
  searched = Letter(towupper(temp[0]) == L'Q' ? u'R' : u'Q');
  EXPECT_EQ(CheckRecoveryDestination(destination, searched, system).m_verdict, GuardVerdict::Allowed);
}

} // namespace

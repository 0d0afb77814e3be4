// Names made safe for the destination and the folder chain of a recovered
// entry, as tables of cases.
#include "RecoveryPath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Narrow(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

struct NameCase {
  const char16_t *m_name;
  const char16_t *m_safe;
};

class SafeFileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeFileNames, BecomeNamesWindowsCanCreate) {
  EXPECT_EQ(Narrow(SafeFileName(GetParam().m_name)), Narrow(GetParam().m_safe));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SafeFileNames,
    ::testing::Values(NameCase{u"report.txt", u"report.txt"},
                      NameCase{u"a<b>c:d\"e/f\\g|h?i*j", u"a_b_c_d_e_f_g_h_i_j"},
                      NameCase{u"tab\there", u"tab_here"}, NameCase{u"name. . .", u"name"},
                      NameCase{u"trailing   ", u"trailing"}, NameCase{u".", u"_"}, NameCase{u"..", u"_"},
                      NameCase{u"", u"_"}, NameCase{u"   ", u"_"}, NameCase{u"CON", u"_CON"},
                      NameCase{u"con.txt", u"_con.txt"}, NameCase{u"Nul.tar.gz", u"_Nul.tar.gz"},
                      NameCase{u"AUX .log", u"_AUX .log"}, NameCase{u"prn", u"_prn"},
                      NameCase{u"COM1", u"_COM1"}, NameCase{u"lpt9.doc", u"_lpt9.doc"},
                      NameCase{u"COM0", u"COM0"}, NameCase{u"COM10", u"COM10"},
                      NameCase{u"CONSOLE", u"CONSOLE"}, NameCase{u"LPT", u"LPT"}, NameCase{u"xCON", u"xCON"},
                      NameCase{u".profile", u".profile"}, NameCase{u"Lost Folder(s)", u"Lost Folder(s)"}));

TEST(SafeFileName, CutsLongNamesKeepingTheExtension) {
  const std::u16string longName = std::u16string(300, u'a') + u".jpeg";
  const std::u16string safe = SafeFileName(longName);
  EXPECT_EQ(safe.size(), 255u);
  EXPECT_EQ(safe.substr(safe.size() - 5), u".jpeg");
}

TEST(SafeFileName, NeverCutsASurrogatePairInTwo) {
  // 254 letters, then a character outside the basic plane at units 254-255.
  std::u16string name = std::u16string(254, u'b') + u"\U0001F600" + std::u16string(10, u'c');
  const std::u16string safe = SafeFileName(name);
  ASSERT_FALSE(safe.empty());
  EXPECT_LE(safe.size(), 255u);
  EXPECT_FALSE(safe.back() >= 0xD800 && safe.back() <= 0xDBFF);
}

// Root (own id 0), two folder levels, a file in each, a file whose parent is
// unknown, and a folder pair whose parent ids point at each other.
class PathBuilderTest : public ::testing::Test {
protected:
  void SetUp() override {
    Add(0, 0, true, u"Root");
    Add(0, 10, true, u"Docs");
    Add(10, 11, true, u"Sub:Folder");
    Add(11, 12, false, u"deep.txt");
    Add(0, 13, false, u"top.txt");
    Add(77, 14, false, u"orphan.txt");
    Add(21, 20, true, u"LoopA");
    Add(20, 21, true, u"LoopB");
    Add(21, 22, false, u"inloop.txt");
    Add(0, 23, true, u"CON");
    Add(23, 24, false, u"..");
  }
  TreeEntryNode &Add(uint32_t parent, uint32_t own, bool folder, const std::u16string &name) {
    EntryRecord record;
    record.m_parentId = parent;
    record.m_ownId = own;
    record.m_attributes = folder ? kEntryAttrFolder : kEntryAttrArchive;
    return m_entries.Append(record, name, nullptr);
  }
  std::string PathOf(uint32_t own) {
    RecoveryPathBuilder builder(m_entries);
    return Narrow(builder.RelativePath(*m_entries.FindEntry(own)));
  }

  EntryNodeList m_entries;
};

TEST_F(PathBuilderTest, FollowsParentIdsWithSafeNames) {
  const struct {
    uint32_t m_own;
    const char *m_path;
  } cases[] = {
      {12, "Docs\\Sub_Folder\\deep.txt"}, {13, "top.txt"}, {10, "Docs"}, {14, "orphan.txt"},
      {22, "LoopA\\LoopB\\inloop.txt"},   {24, "_CON\\_"},
  };
  for (const auto &c : cases) EXPECT_EQ(PathOf(c.m_own), c.m_path) << c.m_own;
}

TEST(PathBuilder, RootWithAnNtfsRecordNumberIsTheDestinationItself) {
  EntryNodeList entries;
  EntryRecord root;
  root.m_ownId = kNtfsRootRecord;
  root.m_attributes = kEntryAttrFolder;
  entries.Append(root, u"Root", nullptr);
  EntryRecord file;
  file.m_parentId = kNtfsRootRecord;
  file.m_ownId = 40;
  TreeEntryNode &node = entries.Append(file, u"a.txt", nullptr);
  RecoveryPathBuilder builder(entries);
  EXPECT_EQ(Narrow(builder.RelativePath(node)), "a.txt");
}

TEST(JoinPath, NeverDoublesTheSeparator) {
  EXPECT_EQ(Narrow(JoinPath(u"C:\\Out\\", u"a.txt")), "C:\\Out\\a.txt");
  EXPECT_EQ(Narrow(JoinPath(u"C:\\Out", u"a.txt")), "C:\\Out\\a.txt");
  EXPECT_EQ(Narrow(JoinPath(u"C:\\Out", u"")), "C:\\Out");
  EXPECT_EQ(Narrow(JoinPath(u"", u"a.txt")), "a.txt");
}

TEST(LongPathForm, PrefixesOnlyLongPaths) {
  const std::u16string tail = std::u16string(250, u'x');
  EXPECT_EQ(Narrow(LongPathForm(u"C:\\short")), "C:\\short");
  EXPECT_EQ(Narrow(LongPathForm(u"C:\\" + tail)), "\\\\?\\C:\\" + Narrow(tail));
  EXPECT_EQ(Narrow(LongPathForm(u"C:/" + tail)), "\\\\?\\C:\\" + Narrow(tail));
  EXPECT_EQ(Narrow(LongPathForm(u"\\\\server\\share\\" + tail)),
            "\\\\?\\UNC\\server\\share\\" + Narrow(tail));
  const std::u16string already = u"\\\\?\\C:\\" + tail;
  EXPECT_EQ(LongPathForm(already), already);
}

} // namespace

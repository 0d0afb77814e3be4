// The folder chain of a recovered entry under the destination, and the path
// forms the file functions take (the safe-name rule has its own test in the
// engine).
#include "RecoveryPath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Narrow(const std::u16string &text) {
  return std::string(text.begin(), text.end());
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

// The check model over entry lists a damaged disk can give: folders that
// hold each other or themselves must not make a check change loop; and the
// states a scan file brings back, brought into line before they are shown.
#include <gtest/gtest.h>

#include "EntryCheckModel.h"

namespace {

EntryRecord Record(uint32_t id, uint32_t parent, bool folder) {
  EntryRecord record;
  record.m_ownId = id;
  record.m_parentId = parent;
  record.m_attributes = folder ? kEntryAttrFolder : kEntryAttrArchive;
  return record;
}

class EntryCheckModelTest : public ::testing::Test {
protected:
  void SetUp() override { m_entries.Append(Record(0, 0xFFFFFFFF, true), u"Root", nullptr); }
  TreeEntryNode &Add(uint32_t id, uint32_t parent, bool folder) {
    return m_entries.Append(Record(id, parent, folder), u"x", nullptr);
  }
  EntryNodeList m_entries;
  int m_folderChanges = 0;
  EntryCheckModel m_model{m_entries, [this](TreeEntryNode &) { ++m_folderChanges; }};
};

TEST_F(EntryCheckModelTest, FoldersHoldingEachOtherAreSetOnce) {
  TreeEntryNode &a = Add(10, 11, true);
  TreeEntryNode &b = Add(11, 10, true);
  TreeEntryNode &file = Add(20, 11, false);
  m_model.CheckFolder(a, kChecked);
  EXPECT_EQ(a.Check(), kChecked);
  EXPECT_EQ(b.Check(), kChecked);
  EXPECT_EQ(file.Check(), kChecked);
  // The walk up ends after at most one step per node.
  EXPECT_LE(m_folderChanges, static_cast<int>(m_entries.Size()) * 2);
}

TEST_F(EntryCheckModelTest, AFolderThatHoldsItselfEndsTheWalks) {
  TreeEntryNode &self = Add(10, 10, true);
  Add(20, 10, false);
  m_model.CheckFolder(self, kChecked);
  EXPECT_EQ(self.Check(), kChecked);
  m_model.PropagateUp(self);
  EXPECT_EQ(m_entries.Root()->Check(), kUnchecked);
}

TEST_F(EntryCheckModelTest, AnOrphanLeavesTheRootAlone) {
  TreeEntryNode &orphan = Add(10, 999, true);
  m_model.CheckFolder(orphan, kChecked);
  EXPECT_EQ(m_entries.Root()->Check(), kUnchecked);
}

// The entries (ids): Root, A [10] holding B [11] with b1 [21], b2 [22],
// and a1 [20]; E [12] empty; top [23]; an orphan O [14] under no folder,
// holding o1 [24]. Each case gives the loaded states in that order
// (Root A B b1 b2 a1 E top O o1) and the states after Settle.
TEST_F(EntryCheckModelTest, SettleBringsLoadedStatesIntoLine) {
  struct Case {
    const char *what;
    std::vector<uint8_t> loaded;
    std::vector<uint8_t> settled;
  };
  const Case cases[] = {
      {"a consistent file is kept, the root judged",
       {0, 2, 1, 1, 1, 0, 0, 0, 0, 0},
       {2, 2, 1, 1, 1, 0, 0, 0, 0, 0}},
      {"an unchecked folder clears what it hides",
       {0, 0, 0, 1, 1, 1, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"a checked folder checks what it holds",
       {0, 1, 0, 0, 1, 0, 0, 0, 0, 0},
       {2, 1, 1, 1, 1, 1, 0, 0, 0, 0}},
      {"a partly checked folder is judged by its entries",
       {0, 2, 2, 1, 1, 0, 0, 0, 0, 0},
       {2, 2, 1, 1, 1, 0, 0, 0, 0, 0}},
      {"partly checked all the way with nothing below",
       {2, 2, 2, 0, 0, 0, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"a partly checked file is unchecked; an empty folder keeps its check",
       {0, 2, 2, 2, 1, 0, 1, 2, 0, 0},
       {2, 2, 2, 0, 1, 0, 1, 0, 0, 0}},
      {"everything checked: the root too, and the unshown with it",
       {0, 1, 1, 1, 1, 1, 1, 1, 0, 0},
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {"unshown entries are not kept checked behind a partly checked root",
       {1, 0, 0, 0, 0, 0, 0, 1, 1, 1},
       {2, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
      {"states out of range count as unchecked",
       {0, 7, 9, 9, 9, 9, 9, 9, 9, 9},
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    m_entries.Clear();
    SetUp();
    std::vector<TreeEntryNode *> nodes = {
        m_entries.Root(),    &Add(10, 0, true), &Add(11, 10, true), &Add(21, 11, false), &Add(22, 11, false),
        &Add(20, 10, false), &Add(12, 0, true), &Add(23, 0, false), &Add(14, 999, true), &Add(24, 14, false)};
    for (size_t i = 0; i < nodes.size(); ++i) nodes[i]->m_record.m_checkState = c.loaded[i];
    m_folderChanges = 0;
    m_model.Settle();
    std::vector<uint8_t> settled;
    for (const TreeEntryNode *node : nodes) settled.push_back(node->Check());
    EXPECT_EQ(settled, c.settled);
  }
}

TEST_F(EntryCheckModelTest, SettleReportsOnlyChangedFoldersAndEndsOnLoops) {
  Add(10, 0, true);
  Add(20, 10, false);
  m_model.Settle();
  EXPECT_EQ(m_folderChanges, 0) << "nothing checked: nothing to show again";
  // A folder that holds a folder of its own id, reached from the root.
  TreeEntryNode &outer = Add(15, 0, true);
  TreeEntryNode &inner = Add(16, 15, true);
  TreeEntryNode &again = Add(15, 16, true);
  TreeEntryNode &file = Add(25, 16, false);
  for (TreeEntryNode *node : {&outer, &inner, &again}) node->m_record.m_checkState = kPartlyChecked;
  file.m_record.m_checkState = kChecked;
  m_model.Settle();
  EXPECT_EQ(file.Check(), kChecked);
  EXPECT_EQ(inner.Check(), kPartlyChecked);
  EXPECT_EQ(outer.Check(), kPartlyChecked);
}

// An entry whose folder was never found has no box: checking everything
// means it, checking less does not.
TEST_F(EntryCheckModelTest, EntriesNoBoxShowsFollowTheRoot) {
  Add(10, 0, true);
  TreeEntryNode &file = Add(20, 10, false);
  TreeEntryNode &orphan = Add(14, 999, true);
  TreeEntryNode &inOrphan = Add(24, 14, false);
  m_model.Settle();
  EXPECT_TRUE(orphan.m_unshown);
  EXPECT_TRUE(inOrphan.m_unshown);
  EXPECT_FALSE(file.m_unshown);
  m_model.CheckFolder(*m_entries.Root(), kChecked);
  EXPECT_EQ(inOrphan.Check(), kChecked);
  m_model.SetNode(file, kUnchecked);
  m_model.PropagateUp(file);
  EXPECT_EQ(m_entries.Root()->Check(), kUnchecked);
  EXPECT_EQ(orphan.Check(), kUnchecked);
  EXPECT_EQ(inOrphan.Check(), kUnchecked);
  m_model.CheckFolder(*m_entries.FindFolder(10), kChecked);
  EXPECT_EQ(m_entries.Root()->Check(), kChecked);
  EXPECT_EQ(inOrphan.Check(), kChecked);
}

TEST_F(EntryCheckModelTest, SummaryOfRowStates) {
  struct Case {
    std::vector<uint8_t> states;
    CheckSummary summary;
  };
  const Case cases[] = {
      {{}, CheckSummary::AllItemsUnchecked},        {{0, 0}, CheckSummary::AllItemsUnchecked},
      {{1, 1}, CheckSummary::AllItemsBlackchecked}, {{2, 2}, CheckSummary::AllItemsGreychecked},
      {{1, 2}, CheckSummary::AllItemsAreMixed},     {{0, 1}, CheckSummary::AllItemsAreMixed},
  };
  for (const Case &c : cases) EXPECT_EQ(SummariseChecks(c.states.data(), c.states.size()), c.summary);
  EXPECT_EQ(CheckStateOfSummary(CheckSummary::AllItemsGreychecked), kPartlyChecked);
  EXPECT_EQ(CheckStateOfSummary(CheckSummary::AllItemsAreMixed), kPartlyChecked);
}

} // namespace

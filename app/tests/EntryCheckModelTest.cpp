// The check model over entry lists a damaged disk can give: folders that
// hold each other or themselves must not make a check change loop.
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

#include "EntryCheckModel.h"

#include <unordered_set>
#include <vector>

CheckSummary SummariseChecks(const uint8_t *states, size_t count) {
  size_t unchecked = 0, checked = 0, partly = 0;
  for (size_t i = 0; i < count; ++i) {
    if (states[i] == kChecked)
      ++checked;
    else if (states[i] == kPartlyChecked)
      ++partly;
    else
      ++unchecked;
  }
  if (unchecked == count) return CheckSummary::AllItemsUnchecked;
  if (checked == count) return CheckSummary::AllItemsBlackchecked;
  if (partly == count) return CheckSummary::AllItemsGreychecked;
  return CheckSummary::AllItemsAreMixed;
}

uint8_t CheckStateOfSummary(CheckSummary summary) {
  switch (summary) {
  case CheckSummary::AllItemsBlackchecked:
    return kChecked;
  case CheckSummary::AllItemsUnchecked:
    return kUnchecked;
  default:
    return kPartlyChecked;
  }
}

void EntryCheckModel::SetNode(TreeEntryNode &node, uint8_t value) {
  node.m_record.m_checkState = value;
  if (node.IsFolder() && m_folderChanged) m_folderChanged(node);
}

void EntryCheckModel::SetSubtree(TreeEntryNode &folder, uint8_t value) {
  if (&folder == m_entries.Root()) {
    for (TreeEntryNode &node : m_entries) SetNode(node, value);
    return;
  }
  SetNode(folder, value);
  // A damaged disk can give folders that hold each other; each folder's
  // entries are set once.
  std::unordered_set<uint32_t> done{folder.m_record.m_ownId};
  std::vector<uint32_t> pending{folder.m_record.m_ownId};
  while (!pending.empty()) {
    uint32_t id = pending.back();
    pending.pop_back();
    for (TreeEntryNode *child : m_entries.ChildrenOf(id)) {
      SetNode(*child, value);
      if (child->IsFolder() && done.insert(child->m_record.m_ownId).second)
        pending.push_back(child->m_record.m_ownId);
    }
  }
}

uint8_t EntryCheckModel::JudgeFolder(uint32_t folderId) const {
  const std::vector<TreeEntryNode *> &children = m_entries.ChildrenOf(folderId);
  std::vector<uint8_t> states;
  states.reserve(children.size());
  for (const TreeEntryNode *child : children) states.push_back(child->Check());
  return CheckStateOfSummary(SummariseChecks(states.data(), states.size()));
}

void EntryCheckModel::PropagateUp(const TreeEntryNode &from) {
  const TreeEntryNode *root = m_entries.Root();
  const TreeEntryNode *node = &from;
  bool partly = false;
  // At most one step per node, whatever loops the parent ids make.
  for (size_t steps = 0; node != root && steps < m_entries.Size(); ++steps) {
    TreeEntryNode *parent = m_entries.FindFolder(node->m_record.m_parentId);
    if (parent == nullptr || parent == node) break;
    uint8_t state = partly ? static_cast<uint8_t>(kPartlyChecked) : JudgeFolder(parent->m_record.m_ownId);
    partly = state == kPartlyChecked;
    SetNode(*parent, state);
    node = parent;
  }
  UnshownFollowRoot();
}

void EntryCheckModel::UnshownFollowRoot() {
  const TreeEntryNode *root = m_entries.Root();
  if (root == nullptr) return;
  const uint8_t value = root->Check() == kChecked ? kChecked : kUnchecked;
  for (TreeEntryNode &node : m_entries)
    if (node.m_unshown) Change(node, value);
}

void EntryCheckModel::CheckFolder(TreeEntryNode &folder, uint8_t value) {
  SetSubtree(folder, value);
  PropagateUp(folder);
}

void EntryCheckModel::Settle() {
  TreeEntryNode *root = m_entries.Root();
  if (root == nullptr) return;
  constexpr int kNotForced = -1;
  struct Visit {
    uint32_t m_id;
    int m_forced; // the state everything below takes, or kNotForced
  };
  // Every node is unshown until the walk from the root reaches it.
  for (TreeEntryNode &node : m_entries) node.m_unshown = true;
  root->m_unshown = false;
  std::unordered_set<uint32_t> walked{root->m_record.m_ownId};
  // Folders judged by their entries, parents before children.
  std::vector<TreeEntryNode *> judged{root};
  std::vector<Visit> pending{{root->m_record.m_ownId, kNotForced}};
  while (!pending.empty()) {
    const Visit visit = pending.back();
    pending.pop_back();
    for (TreeEntryNode *child : m_entries.ChildrenOf(visit.m_id)) {
      child->m_unshown = false;
      uint8_t value = child->Check();
      if (visit.m_forced != kNotForced)
        value = static_cast<uint8_t>(visit.m_forced);
      else if (value > kPartlyChecked || (value == kPartlyChecked && !child->IsFolder()))
        value = kUnchecked;
      Change(*child, value);
      // A damaged disk can give folders that hold each other: each is walked once.
      if (!child->IsFolder() || !walked.insert(child->m_record.m_ownId).second) continue;
      const int forced = visit.m_forced != kNotForced ? visit.m_forced
                         : value == kPartlyChecked    ? kNotForced
                                                      : value;
      if (forced == kNotForced) judged.push_back(child);
      pending.push_back({child->m_record.m_ownId, forced});
    }
  }
  for (auto folder = judged.rbegin(); folder != judged.rend(); ++folder) {
    const uint32_t id = (*folder)->m_record.m_ownId;
    Change(**folder, m_entries.ChildrenOf(id).empty() ? uint8_t{kUnchecked} : JudgeFolder(id));
  }
  UnshownFollowRoot();
}

CheckedCounts EntryCheckModel::CountChecked() const {
  CheckedCounts counts;
  for (const TreeEntryNode &node : m_entries) {
    if (node.Check() != kChecked && node.Check() != kPartlyChecked) continue;
    if (node.IsFolder())
      ++counts.folders;
    else
      ++counts.files;
  }
  return counts;
}

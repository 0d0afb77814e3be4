#include "TreeEntryNode.h"

TreeEntryNode &EntryNodeList::Append(const EntryRecord &record, std::u16string name, HTREEITEM item) {
  m_nodes.push_back(TreeEntryNode{record, std::move(name), item});
  TreeEntryNode &node = m_nodes.back();
  if (node.IsFolder()) m_firstFolderById.emplace(record.m_ownId, &node);
  m_childrenByParentId[record.m_parentId].push_back(&node);
  return node;
}

void EntryNodeList::Clear() {
  ++m_generation;
  m_nodes.clear();
  m_firstFolderById.clear();
  m_firstEntryById.clear();
  m_entriesIndexed = 0;
  m_childrenByParentId.clear();
}

TreeEntryNode *EntryNodeList::FindFolder(uint32_t ownId) {
  auto found = m_firstFolderById.find(ownId);
  return found == m_firstFolderById.end() ? nullptr : found->second;
}

TreeEntryNode *EntryNodeList::FindEntry(uint32_t ownId) {
  // Indexed on the first look after adds: a search adds every file, but only
  // a few commands look entries up by id.
  for (; m_entriesIndexed < m_nodes.size(); ++m_entriesIndexed) {
    TreeEntryNode &node = m_nodes[m_entriesIndexed];
    m_firstEntryById.emplace(node.m_record.m_ownId, &node);
  }
  auto found = m_firstEntryById.find(ownId);
  return found == m_firstEntryById.end() ? nullptr : found->second;
}

const std::vector<TreeEntryNode *> &EntryNodeList::ChildrenOf(uint32_t parentId) const {
  static const std::vector<TreeEntryNode *> none;
  auto found = m_childrenByParentId.find(parentId);
  return found == m_childrenByParentId.end() ? none : found->second;
}

std::vector<ScanFileEntry> EntryNodeList::ScanFileEntries() const {
  std::vector<ScanFileEntry> entries;
  entries.reserve(m_nodes.size());
  for (const TreeEntryNode &node : m_nodes) entries.push_back(ScanFileEntry{node.m_record, node.m_name});
  return entries;
}

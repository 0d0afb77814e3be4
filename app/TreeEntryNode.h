// The folder tree's master list of found entries: one node per folder or
// file a search or an opened scan file produced, in the order they were
// added, root first. The file list, the scan-file writers, recovery, Find and
// the file mask all walk it.
#pragma once

#include "EntryRecord.h"
#include "ScanInfoFile.h"

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

// One found entry. The record's check byte is the tree's: 0 unchecked,
// 1 checked, 2 partly checked (a folder with some entries below checked).
struct TreeEntryNode {
  EntryRecord m_record;
  std::u16string m_name;
  // The folder's tree item; null for files, for folders that could not be
  // placed under a parent and for folders whose parent's item was never
  // opened (the tree makes those items when it is).
  HTREEITEM m_item = nullptr;
  // The folder has a place in the tree: its parent folder had one when it
  // came. Its item may still be waiting for the parent's to open.
  bool m_inTree = false;
  // No folder of the tree holds it (its parent was never found), so no box
  // shows it; known once a search or a load has ended.
  bool m_unshown = false;

  bool IsFolder() const { return m_record.IsFolder(); }
  uint8_t Check() const { return m_record.m_checkState; }
};

// Owns the nodes. Addresses stay valid until Clear, so views and commands
// may keep pointers to nodes between calls.
class EntryNodeList {
public:
  TreeEntryNode &Append(const EntryRecord &record, std::u16string name, HTREEITEM item);
  void Clear();

  bool Empty() const { return m_nodes.empty(); }
  size_t Size() const { return m_nodes.size(); }
  TreeEntryNode &At(size_t index) { return m_nodes[index]; }
  // Changes whenever the list is emptied, so a walk that kept a place in
  // it (Find Next) knows its place is gone.
  uint64_t Generation() const { return m_generation; }
  // The root's node (the first one appended); null when the list is empty.
  TreeEntryNode *Root() { return m_nodes.empty() ? nullptr : &m_nodes.front(); }

  // The first folder node whose own id is id; null when none. Constant time,
  // so adding hundreds of thousands of entries stays linear.
  TreeEntryNode *FindFolder(uint32_t ownId);
  // The first node (folder or file) whose own id is id; null when none.
  TreeEntryNode *FindEntry(uint32_t ownId);
  // Every node whose parent id is id, in the order they were added.
  // Constant time, so filling the file list and checking a folder's
  // subtree do not walk the whole list.
  const std::vector<TreeEntryNode *> &ChildrenOf(uint32_t parentId) const;

  std::deque<TreeEntryNode>::iterator begin() { return m_nodes.begin(); }
  std::deque<TreeEntryNode>::iterator end() { return m_nodes.end(); }
  std::deque<TreeEntryNode>::const_iterator begin() const { return m_nodes.begin(); }
  std::deque<TreeEntryNode>::const_iterator end() const { return m_nodes.end(); }

  // The list as the scan-information writers take it, root first.
  std::vector<ScanFileEntry> ScanFileEntries() const;

private:
  std::deque<TreeEntryNode> m_nodes;
  uint64_t m_generation = 0;
  std::unordered_map<uint32_t, TreeEntryNode *> m_firstFolderById;
  std::unordered_map<uint32_t, TreeEntryNode *> m_firstEntryById;
  // The nodes before this one are in m_firstEntryById.
  size_t m_entriesIndexed = 0;
  std::unordered_map<uint32_t, std::vector<TreeEntryNode *>> m_childrenByParentId;
};

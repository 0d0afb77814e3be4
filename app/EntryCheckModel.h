// The tri-state check model of the found entries: a folder is checked when
// everything below it is, unchecked when nothing is, and partly checked in
// between. The folder tree and the file list both change check states only
// through this class, so the two views always agree.
#pragma once

#include <cstdint>
#include <functional>

#include "TreeEntryNode.h"

enum CheckState : uint8_t { kUnchecked = 0, kChecked = 1, kPartlyChecked = 2 };

// What the file list's rows add up to, judged over the states of the rows.
enum class CheckSummary { AllItemsUnchecked, AllItemsBlackchecked, AllItemsGreychecked, AllItemsAreMixed };

// The summary of the given states; an empty list counts as all unchecked.
CheckSummary SummariseChecks(const uint8_t *states, size_t count);
// The folder state a summary gives: checked, unchecked or partly checked.
uint8_t CheckStateOfSummary(CheckSummary summary);

struct CheckedCounts {
  uint32_t folders = 0;
  uint32_t files = 0;
};

class EntryCheckModel {
public:
  // Called for every folder node whose check byte was set, so the tree can
  // show the new state on its item.
  using FolderChanged = std::function<void(TreeEntryNode &)>;

  EntryCheckModel(EntryNodeList &entries, FolderChanged folderChanged)
      : m_entries(entries), m_folderChanged(std::move(folderChanged)) {}

  // The folder and every entry below it, at any depth, take the value; the
  // root's value reaches every node of the list.
  void SetSubtree(TreeEntryNode &folder, uint8_t value);
  // Sets one node; folders are reported to the tree.
  void SetNode(TreeEntryNode &node, uint8_t value);
  // The state a folder's entries give it: checked when all are checked,
  // unchecked when all are unchecked, partly checked otherwise.
  uint8_t JudgeFolder(uint32_t folderId) const;
  // Brings every ancestor of the node into line, one parent at a time up to
  // the root; from the first partly checked parent on, every further
  // ancestor is partly checked. Entries no box shows then follow the root.
  void PropagateUp(const TreeEntryNode &from);
  // A new value for a folder and what follows from it, below and above.
  void CheckFolder(TreeEntryNode &folder, uint8_t value);

  // Brings states that came from outside (a scan file) into line, so that
  // what the views show is what recovery writes: a checked or unchecked
  // folder gives its state to everything below it, as opening it would; a
  // partly checked folder and the root (whose saved state is not kept) are
  // judged by their entries; a file cannot be partly checked; an entry under
  // no folder of the tree is shown nowhere, so it is checked only with a
  // checked root. Only nodes whose state changes are reported.
  void Settle();

  // Nodes checked or partly checked, by kind (the root counts as a folder).
  CheckedCounts CountChecked() const;

private:
  void Change(TreeEntryNode &node, uint8_t value) {
    if (node.Check() != value) SetNode(node, value);
  }
  // Entries no box shows are checked only while the root is: only a check
  // of everything can mean them.
  void UnshownFollowRoot();

  EntryNodeList &m_entries;
  FolderChanged m_folderChanged;
};

// Tools > File Mask and Unmask: the tree rebuilt from only the entries a
// mask keeps, and the full results brought back. While a mask is applied
// the tree's own list holds the kept files and their folders, and the full
// list waits here; check boxes ticked either way stay ticked after Unmask.
#pragma once

#include "FileMaskCriteria.h"
#include "Framework.h"
#include "TreeEntryNode.h"

#include <vector>

class CLeftView;

class FileMaskState {
public:
  // Moves the full list aside and fills the tree with the files the mask
  // keeps, each under its folders.
  void Apply(CLeftView &tree, const FileMaskCriteria &criteria, bool ntfs, int64_t today);
  // The full list back in the tree, with the checks the masked tree shows
  // given to the entries they stand for.
  void Remove(CLeftView &tree);
  // Forgets a mask whose results were replaced (a new search, Open).
  void Drop();
  bool Holding() const { return m_holding; }

private:
  EntryNodeList m_full;
  // For each node of the masked list, the node of the full list it copies.
  std::vector<TreeEntryNode *> m_fullOf;
  bool m_holding = false;
};

// The "File Mask" dialog: what the mask keeps.
class CFileMaskDlg : public CDialog {
public:
  explicit CFileMaskDlg(CWnd *parent = nullptr);

  BOOL OnInitDialog() override;
  const FileMaskCriteria &Criteria() const { return m_criteria; }

protected:
  afx_msg void OnSetMask();
  afx_msg void OnHelpButton();

private:
  FileMaskCriteria m_criteria;

  bool Checked(UINT id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }
  bool ReadKilobytes(UINT editId, uint64_t &bytes);
  void Tell(UINT textId, UINT style);

  DECLARE_MESSAGE_MAP()
};

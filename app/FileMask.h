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

// The frame's side of a rebuild: every entry placed in the new tree is
// counted and shown, and between entries messages are pumped, so the
// progress bar moves and Stop can reach a long rebuild.
class RebuildPace {
public:
  virtual ~RebuildPace() = default;
  virtual void Placed(const EntryRecord &record) = 0;
  // Pumps when due; true when the rebuild is to end before the next entry.
  virtual bool ShouldStop() = 0;
};

class FileMaskState {
public:
  // Moves the full list aside (taking back the one a mask applied before
  // held) and fills the tree with the files the mask keeps, each under its
  // folders. A stop leaves the files kept so far, each with its folders.
  void Apply(CLeftView &tree, const FileMaskCriteria &criteria, bool ntfs, int64_t today, RebuildPace &pace);
  // The full list back in the tree, with the checks the masked tree shows
  // given to the entries they stand for. It runs to its end whatever the
  // pace says: a full list brought back in part would lose entries.
  void Remove(CLeftView &tree, RebuildPace &pace);
  // Forgets a mask whose results were replaced (a new search, Open).
  void Drop();
  bool Holding() const { return m_holding; }

private:
  EntryNodeList m_full;
  // For each node of the masked list, the node of the full list it copies.
  std::vector<TreeEntryNode *> m_fullOf;
  bool m_holding = false;

  // The checks of the masked tree given to the full list's entries; the
  // masked list itself is left as it is.
  void KeepMaskedChecks(EntryNodeList &masked);
};

// The "File Mask" dialog: what the mask keeps.
class CFileMaskDlg : public CDialog {
public:
  // remembered: the choices the dialog starts with, and where Set Mask
  // leaves its own.
  explicit CFileMaskDlg(FileMaskChoices &remembered, CWnd *parent = nullptr);

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG *pMsg) override;
  const FileMaskCriteria &Criteria() const { return m_criteria; }

protected:
  afx_msg void OnSetMask();
  afx_msg void OnHelpButton();
  afx_msg void OnChoiceClicked();
  afx_msg void OnLowerLimitChange();
  afx_msg void OnUpperLimitChange();
  afx_msg void OnMonthsChange();
  afx_msg void OnDaysChange();
  afx_msg void OnMonthsSpin(NMHDR *header, LRESULT *result);
  afx_msg void OnDaysSpin(NMHDR *header, LRESULT *result);
  afx_msg void OnFromDateChange(NMHDR *header, LRESULT *result);
  afx_msg void OnToDateChange(NMHDR *header, LRESULT *result);

private:
  FileMaskCriteria m_criteria;
  FileMaskChoices &m_remembered;
  // Texts the dialog writes itself are not the user's typing: no check.
  bool m_quiet = true;
  // A lower limit once typed with a character other than a digit; OK
  // refuses until a sound value replaces it.
  bool m_lowerInvalid = false;

  bool Checked(UINT id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }
  bool ReadKilobytes(UINT editId, uint64_t &bytes);
  void Tell(UINT textId, UINT style);
  // Only the parts whose box or option is on take input.
  void EnableChoices();
  // A size or N field must hold a number from 1 up: otherwise the user is
  // told, and the field and the box that turns it on are cleared.
  void CheckTyped(UINT editId, UINT boxId);
  void SetQuietly(UINT editId, const wchar_t *text);
  void StepSpin(UINT editId, NMHDR *header);
  void ChooseDateMode(UINT optionId);
  void PickerChanged(NMHDR *header);

  DECLARE_MESSAGE_MAP()
};

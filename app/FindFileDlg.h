// Edit > Find: looks for found entries by name patterns, status, recovery
// grade, size and date, and selects the first match in the tree and the
// file list; Find Next (F3) goes on from there. The application keeps the
// one dialog object that made the last search, with its walk through the
// tree's entry list.
#pragma once

#include "ExpandingDialog.h"
#include "FindCriteria.h"
#include "Framework.h"

class CMainFrame;
class EntryNodeList;

class CFindFileDlg : public CExpandingDialog {
public:
  explicit CFindFileDlg(CWnd *parent = nullptr);

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG *pMsg) override;
  // Hidden criteria never apply: collapsing unticks Size and Date.
  void OnExpanded(bool expanded) override;

  // Runs a new search with the criteria, as Search Now does after the
  // dialog closed; whether an entry was found.
  bool SearchFirst(CMainFrame &frame, const FindCriteria &criteria);
  // F3: the next match after the one found last; at the end of the list
  // the walk ends and F3 is disabled.
  void FindNext(CMainFrame &frame);
  const FindCriteria &Criteria() const { return m_criteria; }

protected:
  afx_msg void OnFindTextChange();
  afx_msg void OnSizeCheck();
  afx_msg void OnDateCheck();
  afx_msg void OnSizeLimitChange();
  afx_msg void OnHelpButton();
  afx_msg void OnMonthsSpin(NMHDR *header, LRESULT *result);
  afx_msg void OnDaysSpin(NMHDR *header, LRESULT *result);

private:
  FindCriteria m_criteria;
  // The walk: the list it runs through, that list's generation when the
  // walk began, and the index of the next entry to try. A list emptied
  // since (a search, Open, a mask, Unmask) starts the walk afresh.
  const EntryNodeList *m_walkList = nullptr;
  uint64_t m_walkGeneration = 0;
  size_t m_nextIndex = 0;
  bool m_foundOnce = false;
  // Whether the lower part with the size and date criteria shows; the
  // expand button flips it, and the dialog opens again as it was left.
  bool m_expanded = false;

  bool SearchOnce(CMainFrame &frame, bool first);
  bool SearchTree(CMainFrame &frame);
  void SelectFoundEntry(CMainFrame &frame, EntryNodeList &entries, size_t index);
  void EnableSizeControls();
  void EnableDateControls();
  void StepSpin(int editId, NMHDR *header);
  bool GatherCriteria(FindCriteria &criteria);
  int Message(UINT textId, UINT style);

  DECLARE_MESSAGE_MAP()
};

// First page of the search wizard: which kind of search to run (fast,
// advanced, physical disk scan), with a description of the chosen kind.
#pragma once

#include "KindButtonStandIns.h"
#include "WizardPage.h"

#include <vector>

enum class SearchKindChoice { Fast = 0, Advanced = 1, PhysicalDisk = 2 };

// The kind the application's three flags name (fast when none is set).
SearchKindChoice CurrentSearchKind(const int (&searchKind)[3]);
// The string ids of a kind's description lines; 0 stands for a line
// holding one blank.
const std::vector<UINT> &SearchKindDescription(SearchKindChoice kind);

class CSelSearchTypeDlg : public CWizardPage {
public:
  CSelSearchTypeDlg();

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

  afx_msg void OnFastFileSearch();
  afx_msg void OnAdvancedFileSearch();
  afx_msg void OnPhysicalDiskScan();
  afx_msg void OnPaint();
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

  const KindButtonStandIns &KindButtons() const { return m_kindButtons; }

protected:
  bool ShowsHandOver(UINT controlId) const override;

private:
  void ChooseKind(SearchKindChoice kind);
  void FillDescription(SearchKindChoice kind);
  // The tip of the day after start-up, on this page's first paint.
  void CheckStartupTip();

  KindButtonStandIns m_kindButtons;

  DECLARE_MESSAGE_MAP()
};

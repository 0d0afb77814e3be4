// Second page of the search wizard: the drive (or, for a disk scan, the
// disk) to search, chosen in a tree of the drives the drive source lists.
// For the fast search its Finish starts the search.
#pragma once

#include "MyTreeCtrl.h"
#include "WizardPage.h"

class CSelectSearchDriveDlg : public CWizardPage {
public:
  CSelectSearchDriveDlg();

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  // Finish of the fast search.
  BOOL OnWizardFinish() override;

  CMyTreeCtrl &DriveTree() { return m_tree; }

private:
  bool PhysicalDiskScan() const;
  bool FastSearch() const;
  CRect TreeRect() const;
  // Rebuilds the application's drive list and the tree from it.
  void RefreshDrives();
  // Wizard buttons after the choice changed.
  void OnChoice(int checkedRecord);

  CMyTreeCtrl m_tree;
};

// Third page of the search wizard, after the drive page for the advanced
// search and the disk scan. Until the signature list joins it, the page
// offers no signatures to choose; its Finish starts the search with none.
#pragma once

#include "WizardPage.h"

class CSelectHeaderFiles : public CWizardPage {
public:
  CSelectHeaderFiles();

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  // Finish of the advanced search and of the disk scan.
  BOOL OnWizardFinish() override;

protected:
  CRect SeparatorRect() const override { return CRect(193, 24, 588, 25); }
};

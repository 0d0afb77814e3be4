// The folder tree on the left of the main window. For now it shows the tree
// control with its styles; the found folders join it with the search.
#pragma once

#include "Framework.h"

class CLeftView : public CTreeView {
  DECLARE_DYNCREATE(CLeftView)
public:
  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  void OnInitialUpdate() override;
};

// The file list on the right of the main window: a report list of the
// entries of the folder selected in the tree. For now it holds its columns;
// the rows join it with the search.
#pragma once

#include "Framework.h"

class CQuendalVarnothView : public CListView {
  DECLARE_DYNCREATE(CQuendalVarnothView)
public:
  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  void OnInitialUpdate() override;

private:
  bool m_columnsMade = false;
};

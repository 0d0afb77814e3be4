// CTreeView: a view that is a tree control.
#pragma once

#include "TreeCtrl.h"
#include "View.h"

class CTreeView : public CCtrlView {
  DECLARE_DYNCREATE(CTreeView)
public:
  CTreeView();
  ~CTreeView() override;

  // The view's own window seen as its tree control.
  CTreeCtrl &GetTreeCtrl() const;

private:
  // Shares the view's window without owning it or standing in the window map.
  mutable CTreeCtrl m_treeCtrl;
};

// CListView: a view that is a list control.
#pragma once

#include "ListCtrl.h"
#include "View.h"

class CListView : public CCtrlView {
  DECLARE_DYNCREATE(CListView)
public:
  CListView();
  ~CListView() override;

  // The view's own window seen as its list control.
  CListCtrl &GetListCtrl() const;

private:
  // Shares the view's window without owning it or standing in the window map.
  mutable CListCtrl m_listCtrl;
};

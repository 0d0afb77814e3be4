#include "XTListCtrlView.h"

IMPLEMENT_DYNCREATE(CXTListView, CListView)
IMPLEMENT_DYNCREATE(CXTListCtrl, CListCtrl)

CXTListView::CXTListView() {
  SetListWindow(&GetListCtrl());
  m_pListWnd = this;
}

CXTListCtrl::CXTListCtrl() {
  SetListWindow(this);
}

#include "ListView.h"

IMPLEMENT_DYNCREATE(CListView, CCtrlView)

CListView::CListView() : CCtrlView(WC_LISTVIEW, WS_CHILD | WS_VISIBLE | WS_BORDER) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
}

CListView::~CListView() {
  m_listCtrl.m_hWnd = nullptr;
}

CListCtrl &CListView::GetListCtrl() const {
  m_listCtrl.m_hWnd = m_hWnd;
  return m_listCtrl;
}

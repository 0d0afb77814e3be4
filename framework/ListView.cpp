#include "ListView.h"

#include "CommonControls.h"

IMPLEMENT_DYNCREATE(CListView, CCtrlView)

CListView::CListView() : CCtrlView(WC_LISTVIEW, WS_CHILD | WS_VISIBLE | WS_BORDER) {
  AfxInitCommonControls(ICC_LISTVIEW_CLASSES);
}

CListView::~CListView() {
  m_listCtrl.m_hWnd = nullptr;
}

CListCtrl &CListView::GetListCtrl() const {
  m_listCtrl.m_hWnd = m_hWnd;
  return m_listCtrl;
}

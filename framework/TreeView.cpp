#include "TreeView.h"

#include "CommonControls.h"

IMPLEMENT_DYNCREATE(CTreeView, CCtrlView)

CTreeView::CTreeView() : CCtrlView(WC_TREEVIEW, WS_CHILD | WS_VISIBLE | WS_BORDER) {
  AfxInitCommonControls(ICC_TREEVIEW_CLASSES);
}

CTreeView::~CTreeView() {
  m_treeCtrl.m_hWnd = nullptr;
}

CTreeCtrl &CTreeView::GetTreeCtrl() const {
  m_treeCtrl.m_hWnd = m_hWnd;
  return m_treeCtrl;
}

#include "LeftView.h"

IMPLEMENT_DYNCREATE(CLeftView, CTreeView)

BOOL CLeftView::PreCreateWindow(CREATESTRUCT &cs) {
  cs.style |= TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS;
  return CTreeView::PreCreateWindow(cs);
}

void CLeftView::OnInitialUpdate() {
  CTreeView::OnInitialUpdate();
}

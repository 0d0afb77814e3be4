#include "LogPaneBar.h"

#include "SimpleListView.h"

BEGIN_MESSAGE_MAP(CLogPaneBar, CControlBar)
ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CLogPaneBar::Create(CWnd *parent, UINT id) {
  m_dwStyle = CBRS_ALIGN_BOTTOM;
  CRect rect(0, 0, 0, kHeight);
  if (!CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, id))
    return FALSE;
  auto *view = static_cast<CSimpleListView *>(RUNTIME_CLASS(CSimpleListView)->CreateObject());
  if (view == nullptr) return FALSE;
  // A view that fails to create deletes itself.
  if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, this, AFX_IDW_PANE_FIRST, nullptr))
    return FALSE;
  m_logView = view;
  m_logView->SendMessage(WM_INITIALUPDATE);
  return TRUE;
}

CSize CLogPaneBar::CalcFixedLayout(BOOL, BOOL) {
  return CSize(32767, kHeight);
}

void CLogPaneBar::OnSize(UINT, int cx, int cy) {
  if (m_logView != nullptr && m_logView->m_hWnd != nullptr) m_logView->MoveWindow(0, 0, cx, cy);
}

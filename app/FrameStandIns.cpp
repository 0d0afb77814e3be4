#include "FrameStandIns.h"

#include "SimpleListView.h"
#include "resource.h"

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

BOOL CFrameStandIns::Create(CFrameWnd *frame) {
  m_frame = frame;
  static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
  if (!m_statusBar.Create(frame) || !m_statusBar.SetIndicators(indicators, 4)) {
    OutputDebugStringW(L"Failed to create status bar\n");
    return FALSE;
  }
  if (!m_toolBar.CreateEx(frame) || !m_toolBar.LoadToolBar(IDR_MAINFRAME)) {
    OutputDebugStringW(L"Failed to create toolbar\n");
    return FALSE;
  }
  // Pane 0 shows prompts and the progress bar, pane 1 the totals and pane 2
  // the current item; only pane 3 stays an indicator.
  m_statusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 300);
  m_statusBar.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 350);
  m_statusBar.SetPaneInfo(2, ID_SEPARATOR, SBPS_STRETCH, 0);
  m_statusBar.SetPaneText(1, L"");
  m_statusBar.SetPaneText(2, L"");
  if (!m_logPane.Create(frame, IDS_LOG_PANE_TITLE)) {
    OutputDebugStringW(L"Failed to create log pane\n");
    return FALSE;
  }
  return TRUE;
}

void CFrameStandIns::ApplyToolbarSize(ToolbarSize size) {
  UINT resource = IDR_MAINFRAME;
  if (size == ToolbarSize::Medium) resource = IDR_TOOLBAR_MEDIUM;
  if (size == ToolbarSize::Large) resource = IDR_TOOLBAR_LARGE;
  if (size == ToolbarSize::Unchanged || !m_toolBar.LoadToolBar(resource)) return;
  m_toolbarSize = size;
  if (m_frame != nullptr) m_frame->RecalcLayout(FALSE);
}

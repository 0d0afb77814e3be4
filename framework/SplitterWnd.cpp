#include "SplitterWnd.h"

#include <algorithm>

#include "FrameWnd.h"
#include "View.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

void AfxLayoutSplitterPanes(std::vector<CSplitterRowColInfo> &info, int nTotal, int nBar) {
  int nLeft = std::max(0, nTotal);
  for (size_t i = 0; i < info.size(); i++) {
    CSplitterRowColInfo &pane = info[i];
    if (i + 1 == info.size()) {
      pane.nCurSize = nLeft;
      break;
    }
    int nSize = pane.nIdealSize < pane.nMinSize ? 0 : pane.nIdealSize;
    nSize = std::max(0, std::min(nSize, nLeft));
    pane.nCurSize = nSize;
    nLeft = std::max(0, nLeft - nSize - nBar);
  }
}

BOOL CSplitterWnd::CreateStatic(CWnd *pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
  if (pParentWnd == nullptr || nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16) return FALSE;
  m_rows.assign((size_t)nRows, CSplitterRowColInfo());
  m_cols.assign((size_t)nCols, CSplitterRowColInfo());
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
  RECT rect = {0, 0, 0, 0};
  return CreateEx(0, lpszClass, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass *pViewClass, SIZE sizeInit,
                              CCreateContext *pContext) {
  if (row < 0 || col < 0 || row >= GetRowCount() || col >= GetColumnCount() || pViewClass == nullptr)
    return FALSE;
  if (GetPane(row, col) != nullptr) return FALSE; // one view per pane
  m_cols[(size_t)col].nIdealSize = sizeInit.cx;
  m_rows[(size_t)row].nIdealSize = sizeInit.cy;

  // Without a context the new view shows the active view's document.
  CCreateContext contextT;
  bool bSendInitialUpdate = false;
  if (pContext == nullptr) {
    CWnd *pOld = GetActivePane();
    if (pOld != nullptr && pOld->IsKindOf(RUNTIME_CLASS(CView))) {
      contextT.m_pLastView = static_cast<CView *>(pOld);
      contextT.m_pCurrentDoc = contextT.m_pLastView->GetDocument();
    }
    pContext = &contextT;
    bSendInitialUpdate = true;
  }
  CObject *pObject = pViewClass->CreateObject();
  if (pObject == nullptr) return FALSE;
  if (!pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
    delete pObject;
    return FALSE;
  }
  auto *pWnd = static_cast<CWnd *>(pObject);
  RECT rect = {0, 0, sizeInit.cx, sizeInit.cy};
  // A view that fails to create deletes itself.
  if (!pWnd->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, this, (UINT)IdFromRowCol(row, col),
                    pContext))
    return FALSE;
  if (bSendInitialUpdate) pWnd->SendMessage(WM_INITIALUPDATE);
  RecalcLayout();
  return TRUE;
}

CWnd *CSplitterWnd::GetPane(int row, int col) const {
  if (m_hWnd == nullptr) return nullptr;
  return FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

BOOL CSplitterWnd::IsChildPane(CWnd *pWnd, int *pRow, int *pCol) const {
  if (pWnd == nullptr || pWnd->m_hWnd == nullptr || ::GetParent(pWnd->m_hWnd) != m_hWnd) return FALSE;
  int nID = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
  int row = nID / 16, col = nID % 16;
  if (nID < 0 || row >= GetRowCount() || col >= GetColumnCount()) return FALSE;
  if (pRow != nullptr) *pRow = row;
  if (pCol != nullptr) *pCol = col;
  return TRUE;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
  if (col < 0 || col >= GetColumnCount()) return;
  m_cols[(size_t)col].nIdealSize = cxIdeal;
  m_cols[(size_t)col].nMinSize = cxMin;
}

void CSplitterWnd::GetColumnInfo(int col, int &cxCur, int &cxMin) const {
  cxCur = cxMin = 0;
  if (col < 0 || col >= GetColumnCount()) return;
  cxCur = m_cols[(size_t)col].nCurSize;
  cxMin = m_cols[(size_t)col].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
  if (row < 0 || row >= GetRowCount()) return;
  m_rows[(size_t)row].nIdealSize = cyIdeal;
  m_rows[(size_t)row].nMinSize = cyMin;
}

void CSplitterWnd::GetRowInfo(int row, int &cyCur, int &cyMin) const {
  cyCur = cyMin = 0;
  if (row < 0 || row >= GetRowCount()) return;
  cyCur = m_rows[(size_t)row].nCurSize;
  cyMin = m_rows[(size_t)row].nMinSize;
}

CWnd *CSplitterWnd::GetActivePane(int *pRow, int *pCol) {
  CWnd *pView = nullptr;
  if (CFrameWnd *pFrame = GetParentFrame()) pView = pFrame->GetActiveView();
  if (pView == nullptr) pView = GetFocus();
  if (pView != nullptr && !IsChildPane(pView, pRow, pCol)) pView = nullptr;
  return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd *pWnd) {
  CWnd *pPane = pWnd != nullptr ? pWnd : GetPane(row, col);
  if (pPane == nullptr) return;
  CFrameWnd *pFrame = GetParentFrame();
  if (pFrame != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CView)))
    pFrame->SetActiveView(static_cast<CView *>(pPane));
  else
    pPane->SetFocus();
}

void CSplitterWnd::RecalcLayout() {
  if (m_hWnd == nullptr) return;
  RECT rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  AfxLayoutSplitterPanes(m_cols, rcClient.right - rcClient.left, m_nBar);
  AfxLayoutSplitterPanes(m_rows, rcClient.bottom - rcClient.top, m_nBar);

  HDWP hDWP = ::BeginDeferWindowPos(GetRowCount() * GetColumnCount());
  int y = rcClient.top;
  for (int row = 0; row < GetRowCount(); row++) {
    int cy = m_rows[(size_t)row].nCurSize;
    int x = rcClient.left;
    for (int col = 0; col < GetColumnCount(); col++) {
      int cx = m_cols[(size_t)col].nCurSize;
      if (CWnd *pPane = GetPane(row, col)) {
        // A pane squeezed to nothing is hidden rather than drawn at zero size.
        UINT nShow = (cx > 0 && cy > 0) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
        if (hDWP != nullptr)
          hDWP = ::DeferWindowPos(hDWP, pPane->m_hWnd, nullptr, x, y, cx, cy,
                                  SWP_NOZORDER | SWP_NOACTIVATE | nShow);
      }
      x += cx + m_nBar;
    }
    y += cy + m_nBar;
  }
  if (hDWP != nullptr) ::EndDeferWindowPos(hDWP);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::vector<RECT> CSplitterWnd::BarRects() const {
  std::vector<RECT> bars;
  RECT rcClient;
  ::GetClientRect(m_hWnd, &rcClient);
  int x = rcClient.left;
  for (int col = 0; col + 1 < GetColumnCount(); col++) {
    x += m_cols[(size_t)col].nCurSize;
    bars.push_back(RECT{x, rcClient.top, x + m_nBar, rcClient.bottom});
    x += m_nBar;
  }
  int y = rcClient.top;
  for (int row = 0; row + 1 < GetRowCount(); row++) {
    y += m_rows[(size_t)row].nCurSize;
    bars.push_back(RECT{rcClient.left, y, rcClient.right, y + m_nBar});
    y += m_nBar;
  }
  return bars;
}

int CSplitterWnd::HitTestBar(POINT point) const {
  std::vector<RECT> bars = BarRects();
  for (size_t i = 0; i < bars.size(); i++) {
    if (!::PtInRect(&bars[i], point)) continue;
    int nColumnBars = GetColumnCount() - 1;
    return (int)i < nColumnBars ? (int)i + 1 : -((int)i - nColumnBars + 1);
  }
  return 0;
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  RecalcLayout();
}

BOOL CSplitterWnd::OnEraseBkgnd(CDC *) {
  return TRUE;
} // OnPaint fills the bars

void CSplitterWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  for (RECT rc : BarRects()) {
    ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_3DFACE));
    ::DrawEdge(hDC, &rc, EDGE_RAISED, BF_RECT | BF_SOFT);
  }
  ::EndPaint(m_hWnd, &ps);
}

BOOL CSplitterWnd::OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && pWnd == this) {
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    int nBar = m_nTracking != 0 ? m_nTracking : HitTestBar(pt);
    if (nBar != 0) {
      ::SetCursor(::LoadCursor(nullptr, nBar > 0 ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    }
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  int nBar = HitTestBar(point);
  if (nBar == 0) {
    CWnd::OnLButtonDown(nFlags, point);
    return;
  }
  std::vector<RECT> bars = BarRects();
  const RECT &rc = bars[(size_t)(nBar > 0 ? nBar - 1 : GetColumnCount() - 1 + (-nBar - 1))];
  m_nTrackOffset = nBar > 0 ? point.x - rc.left : point.y - rc.top;
  m_nTracking = nBar;
  ::SetCapture(m_hWnd);
}

void CSplitterWnd::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_nTracking == 0) {
    CWnd::OnMouseMove(nFlags, point);
    return;
  }
  // The bar follows the mouse: the pane before it takes the new size.
  bool bColumn = m_nTracking > 0;
  int nIndex = bColumn ? m_nTracking - 1 : -m_nTracking - 1;
  std::vector<CSplitterRowColInfo> &info = bColumn ? m_cols : m_rows;
  int nStart = 0;
  for (int i = 0; i < nIndex; i++) nStart += info[(size_t)i].nCurSize + m_nBar;
  int nPos = (bColumn ? point.x : point.y) - m_nTrackOffset;
  int nNewSize = std::max(0, nPos - nStart);
  if (nNewSize != info[(size_t)nIndex].nCurSize) {
    info[(size_t)nIndex].nIdealSize = nNewSize;
    RecalcLayout();
  }
}

void CSplitterWnd::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_nTracking == 0) {
    CWnd::OnLButtonUp(nFlags, point);
    return;
  }
  m_nTracking = 0;
  ::ReleaseCapture();
}

void CSplitterWnd::OnCaptureChanged(CWnd *pWnd) {
  m_nTracking = 0;
  CWnd::OnCaptureChanged(pWnd);
}

// CSplitterWnd: a static splitter, a grid of panes (views) with bars between
// them that the user drags to share the space out anew. The layout is a pure
// function of the panes' ideal and minimum sizes; painting, hit testing and
// the window moves all read its result.
#pragma once

#include <vector>

#include "CreateContext.h"
#include "Wnd.h"

// One row's or column's wanted and actual size.
struct CSplitterRowColInfo {
  int nMinSize = 0;   // below this the pane is not shown (size 0)
  int nIdealSize = 0; // what the user or the program asked for
  int nCurSize = 0;   // what the last layout gave
};

// Shares nTotal pixels between the panes, with nBar pixels between two
// neighbours. Each pane but the last gets its ideal size while room is left
// (0 when the ideal is below its minimum); the last gets the rest.
void AfxLayoutSplitterPanes(std::vector<CSplitterRowColInfo> &info, int nTotal, int nBar);

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
public:
  CSplitterWnd() = default;
  ~CSplitterWnd() override = default;

  BOOL CreateStatic(CWnd *pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                    UINT nID = AFX_IDW_PANE_FIRST);
  virtual BOOL CreateView(int row, int col, CRuntimeClass *pViewClass, SIZE sizeInit,
                          CCreateContext *pContext);

  int GetRowCount() const { return (int)m_rows.size(); }
  int GetColumnCount() const { return (int)m_cols.size(); }
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
  CWnd *GetPane(int row, int col) const;
  BOOL IsChildPane(CWnd *pWnd, int *pRow, int *pCol) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);
  void GetColumnInfo(int col, int &cxCur, int &cxMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetRowInfo(int row, int &cyCur, int &cyMin) const;
  CWnd *GetActivePane(int *pRow = nullptr, int *pCol = nullptr);
  void SetActivePane(int row, int col, CWnd *pWnd = nullptr);
  int GetSplitterBarSize() const { return m_nBar; }

  // Lays the panes out in the client area.
  virtual void RecalcLayout();

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnPaint();
  afx_msg BOOL OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd *pWnd);

protected:
  // The bar under a point: 0 none, 1 + i for the bar after column i, -(1 + i) after row i.
  int HitTestBar(POINT point) const;
  // The rectangles of the bars, from the last layout.
  std::vector<RECT> BarRects() const;

  std::vector<CSplitterRowColInfo> m_rows;
  std::vector<CSplitterRowColInfo> m_cols;
  int m_nBar = 6;
  int m_nTracking = 0;    // the bar being dragged (HitTestBar code), 0 when none
  int m_nTrackOffset = 0; // where in the bar the drag started

  DECLARE_MESSAGE_MAP()
};

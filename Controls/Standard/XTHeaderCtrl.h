// CXTHeaderCtrl: the column header of the toolkit's lists. A header theme
// paints it whole (sort arrow, hot item, column pictures); a right click
// offers sorting and alignment; widths below a minimum and frozen columns are
// refused. CXTFlatHeaderCtrl is the same control with the flat theme.
#pragma once

#include "FrameworkControls.h"
#include "FrameworkCore.h"
#include "HeaderCtrl.h"
#include "XTHeaderTheme.h"
#include "XTPResource.h"
#include "XTThemeManager.h"

#include <vector>

class CXTHeaderCtrl : public CHeaderCtrl, public CXTThemeManagerStyleHost {
  DECLARE_DYNAMIC(CXTHeaderCtrl)
public:
  CXTHeaderCtrl();
  ~CXTHeaderCtrl() override;

  virtual BOOL IsItemHeldDown(int iItem);
  virtual void SetFontBold(BOOL bBoldFont = TRUE);
  virtual void SetMenuID(UINT nMenuID, int nSubMenuIndex = 0);
  virtual void ApplyHeaderFont(BOOL bBoldFont);
  virtual void ShowSortArrow(BOOL bSortArrow);
  // FALSE when no column is under the last right-click or the parent is no list.
  virtual BOOL SetAlign(int nFormat);
  virtual BOOL IsRTL() const { return m_bRTL; }
  virtual void ShareWidthAmongColumns(int nTotalWidth);
  virtual void ResizeColumnsToFit(int nWidth = 0);
  virtual int GetFrozenColumnsWidth();

  // Stores and shows the sorted column (-1: none); the previous one.
  int MarkSortedColumn(int nColumn, BOOL bAscending);
  int ReadSortedColumn(BOOL *pbAscending = nullptr) const;
  BOOL HasSortArrow();

  // A picture in the column's heading (or its removal). FALSE when the
  // picture cannot be loaded; the column then stays as it was.
  BOOL SetBitmap(int iCol, UINT uBitmapID, BOOL bRemove = FALSE, COLORREF crMask = RGB(255, 0, 255));

  int HitTest(CPoint pt, UINT *pFlags = nullptr) const;
  // The item under the cursor, -1 when the cursor is off the header's items
  // (beside or below them, over the list).
  int GetItemUnderCursor() const;
  // HDM_HITTEST's raw form stays reachable.
  using CHeaderCtrl::HitTest;

  BOOL RecalcLayout();
  void OnThemeChanged() override { RecalcLayout(); }

  // The header theme that draws it; null when the host holds a style that is
  // no header theme (the control then paints itself).
  CXTHeaderTheme *GetTheme() const;

  void SetMinWidth(int nMinWidth) { m_iMinWidth = nMinWidth; }
  int GetMinWidth() const { return m_iMinWidth; }
  void EnableMenus(BOOL bEnable) { m_bEnableMenus = bEnable; }
  void EnableAutoSize(BOOL bEnable = TRUE) { m_bAutoSize = bEnable ? 1 : 0; }
  BOOL IsColumnFrozen(int iCol) const;
  void FreezeColumn(int iCol);
  void ThawColumn(int iCol);
  void ThawAllColumns() { m_arFrozenCols.clear(); }
  // The client point of the last right-click (what the menu's commands act on).
  CPoint GetMenuPoint() const { return m_pt; }
  int GetHotItem() const { return m_iHotItem; }

protected:
  afx_msg void OnWindowPosChanging(WINDOWPOS *lpwndpos);
  afx_msg BOOL OnSetCursor(CWnd *pWnd, UINT nHitTest, UINT message);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC *pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  afx_msg void OnSysColorChange();
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnItemChanging(NMHDR *pNMHDR, LRESULT *pResult);
  afx_msg void OnSortAscending();
  afx_msg void OnSortDescending();
  afx_msg void OnAlignLeft();
  afx_msg void OnAlignCenter();
  afx_msg void OnAlignRight();
  afx_msg LRESULT OnLayout(WPARAM wParam, LPARAM lParam);
  // Printing draws what painting draws, so the control can be captured.
  afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);

  // The list the header belongs to, when its parent is one.
  CWnd *GetParentList() const;
  // Sorts the column under the last right-click by sending the list a click.
  void SendSortClick(BOOL bAscending);

  int m_iMinWidth = 0;
  int m_nPos = 0;
  int m_iHotItem = -1;
  int m_iSortCol = -1;
  BYTE m_bRTL = 0;
  BYTE m_bAutoSize = 0;
  BOOL m_bEnableMenus = TRUE;
  BOOL m_bAscending = TRUE;
  BOOL m_bLBtnDown = FALSE;
  BOOL m_bPainted = FALSE;
  UINT m_popupMenuID = 0;
  CPoint m_pt;
  std::vector<int> m_arFrozenCols;

  DECLARE_MESSAGE_MAP()
};

// CXTListBase: what the toolkit adds to a report list, whichever window
// carries it (a list view or a list control): click-to-sort through the
// header, a flat themed header, custom-drawn colours (a tinted sorted column,
// colours per row, user colours, a grey look when disabled), a flicker-free
// paint, column building and sizing, moving rows, and column widths kept as a
// comma list in the user's settings.
//
// It is not a window itself: CXTListViewBase joins it to one and routes the
// window's messages here.
#pragma once

#include <map>

#include "FrameworkControls.h"
#include "XTFlatHeaderCtrl.h"
#include "XTHeaderCtrl.h"

// The message a list sends itself to finish its set-up once it exists.
#define XTWM_INITIAL_UPDATE 0x0DDD

// Colours of one row; -1 (none) never stands in a record.
struct XT_ROWCOLOR {
  int nRow;
  COLORREF crBack;
  COLORREF crText;
};

class CXTListBase {
public:
  CXTListBase();
  virtual ~CXTListBase();
  CXTListBase(const CXTListBase &) = delete;
  CXTListBase &operator=(const CXTListBase &) = delete;

  // Shows the column as sorted (on a toolkit header) and returns the column
  // sorted before.
  virtual int MarkSortedColumn(int nCol, BOOL bAscending);
  // The stored width of the column (by column index), else its default
  // width; -1 when neither holds one.
  virtual int GetStoredColumnWidth(int nCol);
  virtual void RestoreColumnWidth(int nCol);
  virtual void LoadColumnWidths();
  virtual void SaveColumnWidths();
  // Fits the column (every column when nCol < 0) to its cells and heading,
  // within the minimum and maximum widths.
  virtual void AutoSizeColumn(int nCol = -1);
  // Saves the widths when the list goes and loads them now; null names take
  // "Settings" and "Column Info".
  virtual void EnableColumnWidthSaving(LPCTSTR lpszSection = nullptr, LPCTSTR lpszEntry = nullptr,
                                       LPCTSTR lpszDefault = nullptr);
  virtual BOOL AttachFlatHeader(BOOL bBoldFont = FALSE);
  // Sorts the rows; the base sorts nothing.
  virtual BOOL SortList(int nCol, BOOL bAscending);
  virtual void AddExtendedStyle(DWORD dwExStyle);
  virtual DWORD GetExtendedStyle();
  virtual void DisableColumnSizing(bool bDisable) { m_bNoColSizing = bDisable; }
  // The row under the point (-1: none); *pCol takes the display position of
  // the column under it.
  virtual int FindCellAtPoint(CPoint point, int *pCol);
  virtual int AddColumn(LPCTSTR lpszHeading, int nWidth = -1, int nFormat = LVCFMT_LEFT);
  virtual BOOL InsertColumns(int nCount, const int *pWidths, const CString *pHeadings);
  virtual BOOL InsertColumns(int nCount, const int *pWidths, const int *pHeadingIds);
  // -1 outside report view.
  virtual int GetColumnCount();
  // Copies the row (texts, image and data) to a new row at nTarget; the
  // source's index afterwards, -1 when nothing was copied.
  virtual int CopyRow(int nSource, int nTarget);
  virtual BOOL MoveRow(int nSource, int nTarget);
  virtual void SetListColors(COLORREF clrText, COLORREF clrBack);
  virtual void SetRowColors(const XT_ROWCOLOR &rowColor);
  virtual void SetRowColors(int nRow, COLORREF clrText, COLORREF clrBack);
  virtual void RemoveAllRowColors();
  virtual XT_ROWCOLOR *FindRowColors(int nRow);
  virtual BOOL ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd);
  virtual void FinishListSetUp();
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult);

  void SetListWindow(CListCtrl *pListCtrl) { m_pListCtrl = pListCtrl; }
  CHeaderCtrl *GetHeaderCtrl() const;
  CXTFlatHeaderCtrl *GetFlatHeaderCtrl() const;
  COLORREF GetBkColor() const;
  COLORREF GetTextColor() const;
  COLORREF GetSortBkColor() const;
  COLORREF GetSortTextColor() const;
  void RefreshMetrics();

  // Switches (all off at first).
  void SetMinimumColWidth(int nWidth) { m_nMinColWidth = nWidth; }
  int GetMinimumColWidth() const { return m_nMinColWidth; }
  void SetMaximumColWidth(int nWidth) { m_nMaxColWidth = nWidth; }
  int GetMaximumColWidth() const { return m_nMaxColWidth; }
  void UseToolkitFont(BOOL bUse) { m_bAutoFont = bUse; }
  void EnableRowColors(BOOL bEnable) { m_bRowColors = bEnable; }
  void EnableSortedColumnTint(BOOL bEnable) { m_bSortTint = bEnable; }
  int GetSortedColumn(BOOL *pbAscending = nullptr) const;
  BOOL IsColumnSizingDisabled() const { return m_bNoColSizing; }

protected:
  // The colours of one cell (custom draw, sub-item stage).
  void CellColors(int nRow, int nSubItem, BOOL bSelected, COLORREF &clrText, COLORREF &clrBack);

  // Message handlers the joining window routes here.
  void OnCustomDraw(NMHDR *pNMHDR, LRESULT *pResult);
  void OnDestroy();
  void OnPaint();
  LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
  LRESULT OnListBaseMessage(WPARAM, LPARAM);
  // Subclassing an existing list: its set-up waits for a posted message.
  void PostSetUpMessage();

  // The carrying window's own notification handling (its class's OnNotify).
  virtual BOOL DefaultNotify(WPARAM wParam, LPARAM lParam, LRESULT *pResult) = 0;
  // The list control's own window procedure.
  virtual LRESULT DefaultListProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  CListCtrl &List() const;
  BOOL IsReportView() const;
  BOOL IsHeaderNotify(const NMHDR *pNMHDR) const;
  // The client area below the header, where the rows are.
  CRect GetRowsRect() const;
  // Background, sorted-column strip and the control's own rows.
  void PaintRows(CDC *pDC, const CRect &rcRows);

  int m_nMinColWidth = 0;
  int m_nMaxColWidth = 0;
  int m_nSortedCol = -1;
  BOOL m_bAutoFont = FALSE;
  BOOL m_bAutoSave = FALSE;
  BOOL m_bCustomColors = FALSE;
  BOOL m_bRowColors = FALSE;
  BOOL m_bSortTint = FALSE;
  BOOL m_bAscending = TRUE;
  BOOL m_bNoColSizing = FALSE;
  CString m_strSection;
  CString m_strEntry;
  CString m_strDefault;
  COLORREF m_clrText = static_cast<COLORREF>(-1);
  COLORREF m_clrBack = static_cast<COLORREF>(-1);
  COLORREF m_clrSortText = static_cast<COLORREF>(-1);
  COLORREF m_clrSortBack = static_cast<COLORREF>(-1);
  // By row: a long list colours every other row, and each cell looks its row up.
  std::map<int, XT_ROWCOLOR> m_rowColors;
  CXTFlatHeaderCtrl m_flatHeader;
  CListCtrl *m_pListCtrl = nullptr;
  // The window object the list is (the view itself for a list view), when
  // it is not the list control object.
  CWnd *m_pListWnd = nullptr;
  BOOL m_bInitControl = TRUE;

private:
  void OnHeaderItemClick(const NMHEADERW *pHeader);
  BOOL IsBelowMinimum(const HDITEMW *pItem) const;
  void RaiseToMinimum(HDITEMW *pItem) const;
  CString ReadStoredWidths();
};

// The file list on the right of the main window: one row per entry of the
// folder selected in the tree, with a check box, type, size, dates,
// recovery grade and id; alternating row colours; click-to-sort columns; a
// highlighted row for Find. Each row shows its entry node's check byte.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "EntryCheckModel.h"
#include "Framework.h"
#include "XTHeaderCtrl.h"
#include "XTListCtrlView.h"

class CLeftView;
struct TreeEntryNode;

class CQuendalVarnothView : public CXTListView {
  DECLARE_DYNCREATE(CQuendalVarnothView)
public:
  static constexpr COLORREF kAlternateRowColour = RGB(247, 247, 255);
  static constexpr COLORREF kHighlightColour = RGB(255, 159, 113);
  static constexpr int kNoHighlightedRow = 40000;

  BOOL PreCreateWindow(CREATESTRUCT &cs) override;
  void OnInitialUpdate() override;

  // One row for every entry whose parent id is parentId, in the order found.
  void FillFileList(DWORD parentId);
  void ClearFileList();
  // Shows the node's grade again in its row, when a row shows it.
  void ShowNodeGrade(const TreeEntryNode &node);
  // mode 1: every row takes state (1 unchecked, 2 checked, 3 partly
  // checked); mode 0: the first row of that name and id takes it.
  void SetAllRowsCheck(int mode, int state, LPCTSTR text, DWORD id);
  // Every row and every entry of the folder checked or unchecked.
  void SetRowsAndFolderCheck(BOOL checked, DWORD folderId);
  void HighlightRowByData(DWORD id);
  void RestoreHighlightedRowColor();
  // Every row shows its entry's check byte again.
  void ShowNodeChecks();

  // A check-box hit on the row: unchecked becomes checked, anything else
  // unchecked; the tree follows.
  void ToggleRowCheck(int row);
  // The Space key: the same for the first selected row; nothing without one.
  void ToggleSelectedRowCheck();
  // Enter: opens the first selected row when it is a folder.
  void OpenSelectedFolder();
  // A left click on the column's header.
  void OnHeaderClick(int column);
  // The header's own Sort Ascending / Sort Descending on the column.
  void OnHeaderSortCommand(int column, bool ascending);
  const CXTHeaderCtrl &SortHeader() const { return m_header; }

  TreeEntryNode *RowNode(int row) const;
  COLORREF RowBackground(int row) const;

protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnColumnClick(NMHDR *header, LRESULT *result);
  afx_msg void OnListCustomDraw(NMHDR *notify, LRESULT *result);
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT *result) override;

private:
  CImageList m_smallImages;
  CImageList m_largeImages;
  CImageList m_stateImages;
  bool m_columnsMade = false;
  bool m_sortingAllowed = false;
  // The list's own header, subclassed: shaded, with the sort arrow.
  CXTHeaderCtrl m_header;
  // The entry each row shows, kept in step with the rows when they are
  // exchanged by a sort.
  std::vector<TreeEntryNode *> m_rowNodes;
  // The room the widest text of each column takes in the rows of this fill,
  // and the shapes of the texts measured for it.
  std::vector<int> m_widestCellText;
  std::set<std::wstring> m_measuredCellShapes;

  CLeftView *Tree() const;
  // Sets a row's text in a column and keeps the widest such text of the fill.
  void SetCellText(int row, int column, const CString &text);
  // Widens each column but the name's that cuts its title or one of its rows' texts.
  void WidenCutColumns();
  void AppendRow(TreeEntryNode &node, bool ntfs);
  void ShowRowCheck(int row, uint8_t check);
  // The row's background as RowBackground gives it, with black text.
  void ColourRow(int row);
  void ExchangeRows(int a, int b);
  void SortRows(int column, bool ascending);
  void SortRowsShown(int column, bool ascending);
  void OpenFolderRow(int row);
  void RecountChecks();

  DECLARE_MESSAGE_MAP()
};

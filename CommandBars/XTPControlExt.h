// The special controls of command bars. Most stand in a menu for a list that
// exists only at run time (open documents, recent files, the selected
// object's verbs, the tab-group commands): each hides itself and, whenever
// its bar is laid out, puts ordinary items right after itself for the
// current entries, replacing the ones it put there before. Beside them: a
// control hosting a window, a label, and a grid selector.
#pragma once

#include "XTPControlButton.h"
#include "XTPControlCustom.h"

class CMDIFrameWnd;

// A label: a caption without a command (type 8).
class CXTPControlLabel : public CXTPControl {
  DECLARE_SERIAL(CXTPControlLabel)
public:
  CXTPControlLabel();
};

// The window list: one checked-when-active item per MDI child (at most 9).
class CXTPControlWindowList : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlWindowList)
public:
  static const int kFirstWindowId = 0xFF00;
  static const int kMaxItems = 9;

  void OnCalcDynamicSize(DWORD dwMode) override;
  int GetFirstWindowId() const { return m_nFirstWindowId; }

private:
  int m_nFirstWindowId = kFirstWindowId;
};

// The recent files: an item per entry of the application's list.
class CXTPControlRecentFileList : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlRecentFileList)
public:
  static const int kFirstFileId = 0xE110;
  static const int kLastFileId = 0xE11F;

  void OnCalcDynamicSize(DWORD dwMode) override;
};

// A document that holds OLE items and knows the one selected in its active
// view: it builds the verb menu for that item. This program has no such
// document; the control then expands to nothing.
class CXTPOleItemsDocument {
public:
  virtual ~CXTPOleItemsDocument() = default;
  // The verb popup of the single selected item that is not active in place
  // (commands 0xE210 to 0xE21F) and the caption of its menu item, or null.
  // The caller destroys the menu.
  virtual HMENU CreateSelectedItemVerbMenu(CString &strCaption) = 0;
};

// The verbs of the selected OLE object: a popup of them after the control,
// for the active view's document when it is a CXTPOleItemsDocument with an
// item selected; nothing otherwise.
class CXTPControlOleItems : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlOleItems)
public:
  static constexpr LPCTSTR kItemParameter = L"OLEMENUPOPUP";

  void OnCalcDynamicSize(DWORD dwMode) override;
};

// The tab-group commands of a frame whose MDI client is a tab client: only
// those that can run.
class CXTPControlWorkspaceActions : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlWorkspaceActions)
public:
  void OnCalcDynamicSize(DWORD dwMode) override;
};

// A grid to pick a number of columns and rows by dragging over it (a table
// size, say). The chosen size is read by the command handler.
class CXTPControlSelector : public CXTPControl {
  DECLARE_SERIAL(CXTPControlSelector)
public:
  // The code of the notification sent when the selection changes.
  static const int kSelectionChanged = 4102;

  CXTPControlSelector();

  CSize GetSize(CDC *pDC) override;
  void Draw(CDC *pDC) override;
  void OnMouseMove(CPoint point) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void Copy(CXTPControl *pControl, BOOL bRecursive = FALSE) override;
  void DoPropExchange(CXTPPropExchange *pPX) override;

  // The selection under a point: columns whose left edge lies left of it,
  // rows whose top edge lies above it.
  CSize HitTest(CPoint point) const;
  void SetSelected(CSize szSelected, BOOL bForce = FALSE);
  CSize GetSelectedSize() const { return m_szSelected; }
  CSize GetLastSelected() const { return m_szLastSelected; }
  CSize GetGridSize() const { return m_szGrid; }
  void SetItemsCount(CSize sz) { m_szItemsCount = sz; }
  void SetItemsMax(CSize sz) { m_szItemsMax = sz; }
  void SetItemSize(CSize sz) { m_szItemSize = sz; }
  // Grows the grid toward a point (never beyond the maximum); TRUE when it grew.
  BOOL GrowGrid(CPoint point);

protected:
  // The content of one cell; the selector draws only the cell itself.
  virtual void OnDrawItem(CDC * /*pDC*/, CRect /*rcItem*/, COLORREF /*clrText*/) {}

private:
  CSize m_szItemsCount{5, 4};
  CSize m_szItemsMax{12, 12};
  CSize m_szSelected{0, 0};
  CSize m_szItemSize{28, 28};
  CSize m_szLastSelected{0, 0};
  CSize m_szGrid{5, 4};
  BOOL m_bInRelayout = FALSE;
};

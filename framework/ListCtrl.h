// The list-view common control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Collections.h"
#include "CString.h"
#include "Wnd.h"

class CEdit;
class CHeaderCtrl;
class CImageList;

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)
public:
  CListCtrl() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);
  BOOL CreateEx(DWORD exStyle, DWORD style, const RECT &rect, CWnd *parent, UINT id);

  // Columns.
  int InsertColumn(int column, const LVCOLUMN *info);
  int InsertColumn(int column, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  BOOL DeleteColumn(int column) { return Bool(SendMessage(LVM_DELETECOLUMN, column)); }
  BOOL GetColumn(int column, LVCOLUMN *info) const {
    return Bool(SendMessage(LVM_GETCOLUMN, column, reinterpret_cast<LPARAM>(info)));
  }
  BOOL SetColumn(int column, const LVCOLUMN *info) {
    return Bool(SendMessage(LVM_SETCOLUMN, column, reinterpret_cast<LPARAM>(info)));
  }
  int GetColumnWidth(int column) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column)); }
  BOOL SetColumnWidth(int column, int width) {
    return Bool(SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)));
  }
  BOOL GetColumnOrderArray(LPINT order, int count = -1) const;
  BOOL SetColumnOrderArray(int count, LPINT order) {
    return Bool(SendMessage(LVM_SETCOLUMNORDERARRAY, count, reinterpret_cast<LPARAM>(order)));
  }
  // The header of a report view; the same object when the header is subclassed.
  CHeaderCtrl *GetHeaderCtrl() const;

  // Items.
  int InsertItem(const LVITEM *item);
  int InsertItem(int index, LPCTSTR text);
  int InsertItem(int index, LPCTSTR text, int image);
  int InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM param);
  BOOL DeleteItem(int index) { return Bool(SendMessage(LVM_DELETEITEM, index)); }
  BOOL DeleteAllItems() { return Bool(SendMessage(LVM_DELETEALLITEMS)); }
  int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
  void SetItemCount(int count) { SendMessage(LVM_SETITEMCOUNT, count); }
  BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOINVALIDATEALL) {
    return Bool(SendMessage(LVM_SETITEMCOUNT, count, flags));
  }
  BOOL GetItem(LVITEM *item) const {
    return Bool(SendMessage(LVM_GETITEM, 0, reinterpret_cast<LPARAM>(item)));
  }
  BOOL SetItem(const LVITEM *item) {
    return Bool(SendMessage(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(item)));
  }
  BOOL SetItem(int index, int subItem, UINT mask, LPCTSTR text, int image, UINT state, UINT stateMask,
               LPARAM param);
  CString GetItemText(int index, int subItem) const;
  int GetItemText(int index, int subItem, LPTSTR text, int maxChars) const;
  BOOL SetItemText(int index, int subItem, LPCTSTR text);
  DWORD_PTR GetItemData(int index) const;
  BOOL SetItemData(int index, DWORD_PTR data);
  UINT GetItemState(int index, UINT mask) const {
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, index, mask));
  }
  BOOL SetItemState(int index, UINT state, UINT mask);
  BOOL SetItemState(int index, LVITEM *item) {
    return Bool(SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(item)));
  }
  // Check boxes are state images 1 (clear) and 2 (checked).
  BOOL GetCheck(int index) const;
  BOOL SetCheck(int index, BOOL check = TRUE);

  // Finding and selection.
  int GetNextItem(int start, int flags) const {
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags));
  }
  UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
  // Walks the selected items: the position is the item index plus one, NULL after the last.
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION &position) const;
  int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
  int SetSelectionMark(int index) { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, index)); }
  int FindItem(LVFINDINFO *info, int start = -1) const {
    return static_cast<int>(SendMessage(LVM_FINDITEM, start, reinterpret_cast<LPARAM>(info)));
  }
  int HitTest(LVHITTESTINFO *info) const {
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
  }
  int HitTest(CPoint point, UINT *flags = nullptr) const;
  int SubItemHitTest(LVHITTESTINFO *info) {
    return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info)));
  }

  // Sorting: the callback receives the items' data values.
  BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data);
  // The callback receives the items' indexes.
  BOOL SortItemsEx(PFNLVCOMPARE compare, DWORD_PTR data);

  // Geometry and scrolling.
  BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
  BOOL GetSubItemRect(int index, int subItem, int area, CRect &rect) const;
  BOOL GetItemPosition(int index, LPPOINT point) const {
    return Bool(SendMessage(LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(point)));
  }
  BOOL GetViewRect(LPRECT rect) const {
    return Bool(SendMessage(LVM_GETVIEWRECT, 0, reinterpret_cast<LPARAM>(rect)));
  }
  BOOL GetOrigin(LPPOINT point) const {
    return Bool(SendMessage(LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(point)));
  }
  BOOL EnsureVisible(int index, BOOL partialOK) {
    return Bool(SendMessage(LVM_ENSUREVISIBLE, index, partialOK));
  }
  BOOL Scroll(CSize size) { return Bool(SendMessage(LVM_SCROLL, size.cx, size.cy)); }
  BOOL RedrawItems(int first, int last) { return Bool(SendMessage(LVM_REDRAWITEMS, first, last)); }
  BOOL Update(int index) { return Bool(SendMessage(LVM_UPDATE, index)); }
  BOOL Arrange(UINT code) { return Bool(SendMessage(LVM_ARRANGE, code)); }
  int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
  int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
  int GetStringWidth(LPCTSTR text) const {
    return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(text)));
  }
  int GetHotItem() const { return static_cast<int>(SendMessage(LVM_GETHOTITEM)); }
  int SetHotItem(int index) { return static_cast<int>(SendMessage(LVM_SETHOTITEM, index)); }
  CEdit *EditLabel(int index);
  CEdit *GetEditControl() const;

  // The control.
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
  DWORD SetExtendedStyle(DWORD exStyle) {
    return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, exStyle));
  }
  CImageList *SetImageList(CImageList *imageList, int imageListType);
  CImageList *GetImageList(int imageListType) const;
  COLORREF GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
  BOOL SetBkColor(COLORREF color) { return Bool(SendMessage(LVM_SETBKCOLOR, 0, color)); }
  COLORREF GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
  BOOL SetTextColor(COLORREF color) { return Bool(SendMessage(LVM_SETTEXTCOLOR, 0, color)); }
  COLORREF GetTextBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)); }
  BOOL SetTextBkColor(COLORREF color) { return Bool(SendMessage(LVM_SETTEXTBKCOLOR, 0, color)); }

  // Owner-drawn report lists paint here (the parent reflects WM_DRAWITEM back).
  virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;

private:
  static BOOL Bool(LRESULT result) { return result != 0 ? TRUE : FALSE; }
};

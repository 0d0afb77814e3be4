// The header common control (the column headings of a report list).
#pragma once

#include "Wnd.h"

class CImageList;

class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)
public:
  CHeaderCtrl() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);

  int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
  BOOL GetItem(int index, HDITEM *item) const {
    return static_cast<BOOL>(SendMessage(HDM_GETITEM, index, reinterpret_cast<LPARAM>(item)));
  }
  BOOL SetItem(int index, HDITEM *item) {
    return static_cast<BOOL>(SendMessage(HDM_SETITEM, index, reinterpret_cast<LPARAM>(item)));
  }
  BOOL GetItemRect(int index, LPRECT rect) const {
    return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect)));
  }
  int InsertItem(int index, HDITEM *item) {
    return static_cast<int>(SendMessage(HDM_INSERTITEM, index, reinterpret_cast<LPARAM>(item)));
  }
  BOOL DeleteItem(int index) { return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, index)); }
  BOOL Layout(HDLAYOUT *layout) {
    return static_cast<BOOL>(SendMessage(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(layout)));
  }
  int HitTest(LPHDHITTESTINFO info) {
    return static_cast<int>(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
  }
  BOOL GetOrderArray(LPINT order, int count) const {
    return static_cast<BOOL>(SendMessage(HDM_GETORDERARRAY, count, reinterpret_cast<LPARAM>(order)));
  }
  BOOL SetOrderArray(int count, LPINT order) {
    return static_cast<BOOL>(SendMessage(HDM_SETORDERARRAY, count, reinterpret_cast<LPARAM>(order)));
  }
  int OrderToIndex(int order) const { return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, order)); }
  int SetHotDivider(CPoint point) {
    return static_cast<int>(SendMessage(HDM_SETHOTDIVIDER, TRUE, MAKELPARAM(point.x, point.y)));
  }
  int SetHotDivider(int index) { return static_cast<int>(SendMessage(HDM_SETHOTDIVIDER, FALSE, index)); }
  CImageList *SetImageList(CImageList *imageList);
  CImageList *GetImageList() const;

  // Owner-drawn headings paint here (the list reflects WM_DRAWITEM back).
  virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
};

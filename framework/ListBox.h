// The list box control.
#pragma once

#include "CString.h"
#include "OwnerDraw.h"
#include "Wnd.h"

class CListBox : public CWnd, public COwnerDrawList {
  DECLARE_DYNAMIC(CListBox)
public:
  CListBox() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);

  int AddString(LPCTSTR text) { return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
  int InsertString(int index, LPCTSTR text) {
    return Send(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
  }
  int DeleteString(UINT index) { return Send(LB_DELETESTRING, index, 0); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetCount() const { return Send(LB_GETCOUNT, 0, 0); }
  int GetCurSel() const { return Send(LB_GETCURSEL, 0, 0); }
  int SetCurSel(int select) { return Send(LB_SETCURSEL, select, 0); }
  int GetSel(int index) const { return Send(LB_GETSEL, index, 0); }
  int SetSel(int index, BOOL select = TRUE) { return Send(LB_SETSEL, select, index); }
  int GetSelCount() const { return Send(LB_GETSELCOUNT, 0, 0); }
  int GetSelItems(int maxItems, LPINT items) const {
    return Send(LB_GETSELITEMS, maxItems, reinterpret_cast<LPARAM>(items));
  }
  int GetTextLen(int index) const { return Send(LB_GETTEXTLEN, index, 0); }
  int GetText(int index, LPTSTR text) const {
    return Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  }
  // Empty when there is no such item.
  void GetText(int index, CString &text) const;
  int SetItemData(int index, DWORD_PTR data) {
    return Send(LB_SETITEMDATA, index, static_cast<LPARAM>(data));
  }
  DWORD_PTR GetItemData(int index) const {
    return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, index));
  }
  int SetItemDataPtr(int index, void *data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
  void *GetItemDataPtr(int index) const { return reinterpret_cast<void *>(GetItemData(index)); }
  int FindString(int startAfter, LPCTSTR text) const {
    return Send(LB_FINDSTRING, startAfter, reinterpret_cast<LPARAM>(text));
  }
  int FindStringExact(int startAfter, LPCTSTR text) const {
    return Send(LB_FINDSTRINGEXACT, startAfter, reinterpret_cast<LPARAM>(text));
  }
  int SelectString(int startAfter, LPCTSTR text) {
    return Send(LB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(text));
  }
  int GetTopIndex() const { return Send(LB_GETTOPINDEX, 0, 0); }
  int SetTopIndex(int index) { return Send(LB_SETTOPINDEX, index, 0); }
  int GetItemRect(int index, LPRECT rect) const {
    return Send(LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect));
  }
  int SetItemHeight(int index, UINT height) { return Send(LB_SETITEMHEIGHT, index, MAKELPARAM(height, 0)); }
  int GetItemHeight(int index) const { return Send(LB_GETITEMHEIGHT, index, 0); }
  // The item nearest the point; outside is TRUE when the point is beyond the items.
  UINT ItemFromPoint(CPoint point, BOOL &outside) const;
  void SetHorizontalExtent(int extent) { SendMessage(LB_SETHORIZONTALEXTENT, extent); }
  int GetCaretIndex() const { return Send(LB_GETCARETINDEX, 0, 0); }
  int SetCaretIndex(int index, BOOL scroll = TRUE) {
    return Send(LB_SETCARETINDEX, index, MAKELPARAM(scroll, 0));
  }

protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;

private:
  int Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return static_cast<int>(SendMessage(message, wParam, lParam));
  }
};

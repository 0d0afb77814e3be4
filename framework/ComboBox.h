// The combo box control.
#pragma once

#include "CString.h"
#include "OwnerDraw.h"
#include "Wnd.h"

class CComboBox : public CWnd, public COwnerDrawList {
  DECLARE_DYNAMIC(CComboBox)
public:
  CComboBox() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);

  int AddString(LPCTSTR text) { return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
  int InsertString(int index, LPCTSTR text) {
    return Send(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
  }
  int DeleteString(UINT index) { return Send(CB_DELETESTRING, index, 0); }
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int GetCount() const { return Send(CB_GETCOUNT, 0, 0); }
  int GetCurSel() const { return Send(CB_GETCURSEL, 0, 0); }
  int SetCurSel(int select) { return Send(CB_SETCURSEL, select, 0); }
  int GetLBTextLen(int index) const { return Send(CB_GETLBTEXTLEN, index, 0); }
  int GetLBText(int index, LPTSTR text) const {
    return Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  }
  // Empty when there is no such item.
  void GetLBText(int index, CString &text) const;
  int SetItemData(int index, DWORD_PTR data) {
    return Send(CB_SETITEMDATA, index, static_cast<LPARAM>(data));
  }
  DWORD_PTR GetItemData(int index) const {
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, index));
  }
  int SetItemDataPtr(int index, void *data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
  void *GetItemDataPtr(int index) const { return reinterpret_cast<void *>(GetItemData(index)); }
  int FindString(int startAfter, LPCTSTR text) const {
    return Send(CB_FINDSTRING, startAfter, reinterpret_cast<LPARAM>(text));
  }
  int FindStringExact(int startAfter, LPCTSTR text) const {
    return Send(CB_FINDSTRINGEXACT, startAfter, reinterpret_cast<LPARAM>(text));
  }
  int SelectString(int startAfter, LPCTSTR text) {
    return Send(CB_SELECTSTRING, startAfter, reinterpret_cast<LPARAM>(text));
  }
  BOOL LimitText(int maxChars) { return Send(CB_LIMITTEXT, maxChars, 0); }
  DWORD GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
  BOOL SetEditSel(int start, int end) { return Send(CB_SETEDITSEL, 0, MAKELPARAM(start, end)); }
  void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
  BOOL GetDroppedState() const { return Send(CB_GETDROPPEDSTATE, 0, 0); }
  void GetDroppedControlRect(LPRECT rect) const {
    SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(rect));
  }
  int SetDroppedWidth(UINT width) { return Send(CB_SETDROPPEDWIDTH, width, 0); }
  int GetDroppedWidth() const { return Send(CB_GETDROPPEDWIDTH, 0, 0); }
  int SetItemHeight(int index, UINT height) { return Send(CB_SETITEMHEIGHT, index, height); }
  int GetItemHeight(int index) const { return Send(CB_GETITEMHEIGHT, index, 0); }
  int GetTopIndex() const { return Send(CB_GETTOPINDEX, 0, 0); }
  int SetTopIndex(int index) { return Send(CB_SETTOPINDEX, index, 0); }
  int SetExtendedUI(BOOL extended = TRUE) { return Send(CB_SETEXTENDEDUI, extended, 0); }
  void Clear() { SendMessage(WM_CLEAR); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }

protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;

private:
  int Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return static_cast<int>(SendMessage(message, wParam, lParam));
  }
};

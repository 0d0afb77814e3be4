// The rich edit control (the newest rich edit library the system has).
#pragma once

#include "Wnd.h"

#include <richedit.h>

class CRichEditCtrl : public CWnd {
  DECLARE_DYNAMIC(CRichEditCtrl)
public:
  CRichEditCtrl() = default;

  // dwStyle is the whole style (WS_CHILD included for a child).
  BOOL Create(DWORD dwStyle, const RECT &rect, CWnd *pParentWnd, UINT nID);
  // The window class Create uses, once the library is loaded.
  static LPCTSTR WindowClassName();

  COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF clr) {
    return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, bSysColor, clr);
  }
  BOOL SetDefaultCharFormat(CHARFORMATW &cf) {
    cf.cbSize = sizeof(CHARFORMATW);
    return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  }
  DWORD GetDefaultCharFormat(CHARFORMATW &cf) const {
    cf.cbSize = sizeof(CHARFORMATW);
    return (DWORD)SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  }
  DWORD SetEventMask(DWORD dwMask) { return (DWORD)SendMessage(EM_SETEVENTMASK, 0, dwMask); }
  DWORD GetEventMask() const { return (DWORD)SendMessage(EM_GETEVENTMASK); }
  // The number of characters read; EDITSTREAM::dwError tells a failed read.
  long StreamIn(int nFormat, EDITSTREAM &es) {
    return (long)SendMessage(EM_STREAMIN, nFormat, reinterpret_cast<LPARAM>(&es));
  }
  void SetRect(LPCRECT lpRect) { SendMessage(EM_SETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
  void RequestResize() { SendMessage(EM_REQUESTRESIZE); }
  // Null pFormat frees the formatting cache.
  long FormatRange(FORMATRANGE *pFormat, BOOL bDisplay = TRUE) {
    return (long)SendMessage(EM_FORMATRANGE, bDisplay, reinterpret_cast<LPARAM>(pFormat));
  }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly); }
  long GetTextLength() const { return (long)SendMessage(WM_GETTEXTLENGTH); }
  void SetSel(long nStart, long nEnd) { SendMessage(EM_SETSEL, nStart, nEnd); }
  void ReplaceSel(LPCTSTR lpszText, BOOL bCanUndo = FALSE) {
    SendMessage(EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszText));
  }
};

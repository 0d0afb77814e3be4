// The edit control.
#pragma once

#include "Wnd.h"

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
public:
  CEdit() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);

  void LimitText(int maxChars = 0) { SendMessage(EM_LIMITTEXT, maxChars); }
  void SetLimitText(UINT maxChars) { SendMessage(EM_SETLIMITTEXT, maxChars); }
  UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
  DWORD GetSel() const { return static_cast<DWORD>(SendMessage(EM_GETSEL)); }
  void GetSel(int &start, int &end) const;
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void SetSel(DWORD selection, BOOL noScroll = FALSE) {
    SetSel(static_cast<int>(LOWORD(selection)), static_cast<int>(HIWORD(selection)), noScroll);
  }
  void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE) {
    SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
  }
  void Clear() { SendMessage(WM_CLEAR); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }
  BOOL Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
  BOOL CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
  void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
  BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
  void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
  BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
  void SetPasswordChar(TCHAR ch) { SendMessage(EM_SETPASSWORDCHAR, ch); }
  void SetMargins(UINT left, UINT right) {
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right));
  }
  int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
  // Copies at most maxChars characters of the line and terminates them.
  int GetLine(int index, LPTSTR buffer, int maxChars) const;
  int LineIndex(int line = -1) const { return static_cast<int>(SendMessage(EM_LINEINDEX, line)); }
  int LineLength(int charIndex = -1) const { return static_cast<int>(SendMessage(EM_LINELENGTH, charIndex)); }
  int LineFromChar(int charIndex = -1) const {
    return static_cast<int>(SendMessage(EM_LINEFROMCHAR, charIndex));
  }
  void LineScroll(int lines, int chars = 0) { SendMessage(EM_LINESCROLL, chars, lines); }
  int GetFirstVisibleLine() const { return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)); }
};

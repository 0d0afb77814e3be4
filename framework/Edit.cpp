#include "Edit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return CWnd::Create(L"EDIT", nullptr, style, rect, parent, id);
}

void CEdit::GetSel(int &start, int &end) const {
  DWORD first = 0, last = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  start = static_cast<int>(first);
  end = static_cast<int>(last);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
  SendMessage(EM_SETSEL, start, end);
  if (!noScroll) SendMessage(EM_SCROLLCARET);
}

// EM_GETLINE takes the buffer size in its first word and does not terminate
// what it copies.
int CEdit::GetLine(int index, LPTSTR buffer, int maxChars) const {
  if (buffer == nullptr || maxChars <= 0) return 0;
  if (maxChars == 1) {
    buffer[0] = 0;
    return 0;
  }
  int room = maxChars - 1 < 0xFFFF ? maxChars - 1 : 0xFFFF;
  *reinterpret_cast<WORD *>(buffer) = static_cast<WORD>(room);
  int copied = static_cast<int>(SendMessage(EM_GETLINE, index, reinterpret_cast<LPARAM>(buffer)));
  buffer[copied] = 0;
  return copied;
}

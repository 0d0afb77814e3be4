// Typing a signature record into the "Append Header File" dialog.
#pragma once

#include <windows.h>

#include "resource.h"

inline void TypeRecordFields(HWND dialog, const wchar_t *name, const wchar_t *extension,
                             const wchar_t *signature, const wchar_t *offset, const wchar_t *size) {
  ::SetDlgItemTextW(dialog, IDC_APPEND_NAME, name);
  ::SetDlgItemTextW(dialog, IDC_APPEND_EXTENSION, extension);
  ::SetDlgItemTextW(dialog, IDC_APPEND_SIGNATURE, signature);
  ::SetDlgItemTextW(dialog, IDC_APPEND_OFFSET, offset);
  ::SetDlgItemTextW(dialog, IDC_APPEND_SIZE, size);
}

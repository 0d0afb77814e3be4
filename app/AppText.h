// Texts between the Windows API and the engine: wide strings and the
// engine's UTF-16 strings hold the same code units on Windows, and
// string-table texts come from the active language.
#pragma once

#include <string>

#include "Framework.h"

inline std::u16string U16(const std::wstring &text) {
  return std::u16string(text.begin(), text.end());
}

inline std::wstring Wide(const std::u16string &text) {
  return std::wstring(text.begin(), text.end());
}

inline CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

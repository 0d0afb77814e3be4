// Texts between the Windows API and the engine: wide strings and the
// engine's UTF-16 strings hold the same code units on Windows, and
// string-table texts come from the active language.
#pragma once

#include <string>

#include "Framework.h"

// The engine's text as the Windows API takes it, without a copy.
inline const wchar_t *Wide(const std::u16string &text) {
  return reinterpret_cast<const wchar_t *>(text.c_str());
}

// The same as a wide string of its own.
inline std::wstring WideString(const std::u16string &text) {
  return std::wstring(text.begin(), text.end());
}

// A Windows text as the engine takes it.
inline std::u16string U16(const wchar_t *text) {
  return reinterpret_cast<const char16_t *>(text);
}

inline std::u16string U16(const std::wstring &text) {
  return std::u16string(text.begin(), text.end());
}

// A string-table text of the active language, in the form the caller needs.
inline CString LoadText(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

inline std::wstring LoadWideText(UINT id) {
  return LoadText(id).Str();
}

inline std::u16string LoadU16Text(UINT id) {
  return U16(LoadText(id).Str());
}

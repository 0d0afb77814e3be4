#include "FileListSort.h"

#include <windows.h>

namespace {

// The decimal number at position, up to the first character that is not a
// digit; 0 when none is there.
int64_t DigitsAt(const std::wstring &text, size_t position) {
  int64_t value = 0;
  for (size_t i = position; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    if (value > (INT64_MAX - 9) / 10) break;
    value = value * 10 + (text[i] - L'0');
  }
  return value;
}

} // namespace

int64_t NumberSortKey(const std::wstring &text) {
  size_t start = 0;
  while (start < text.size() && (text[start] == L' ' || text[start] == L'\t')) ++start;
  bool negative = false;
  if (start < text.size() && (text[start] == L'-' || text[start] == L'+')) negative = text[start++] == L'-';
  const int64_t value = DigitsAt(text, start);
  return negative ? -value : value;
}

int64_t DateSortKey(const std::wstring &text) {
  const int64_t day = DigitsAt(text, 0), month = DigitsAt(text, 3), year = DigitsAt(text, 6);
  const int64_t hour = DigitsAt(text, 11), minute = DigitsAt(text, 14), second = DigitsAt(text, 17);
  return ((((year * 365 + month * 30 + day) * 24 + hour) * 60 + minute) * 60) + second;
}

int CompareTextKeys(const std::wstring &a, const std::wstring &b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                        b.c_str(), static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

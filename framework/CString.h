// CString: the program's wide-character string with value semantics.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CString {
public:
  CString() = default;
  CString(const CString &) = default;
  CString(CString &&) noexcept = default;
  CString(LPCWSTR lpsz);
  CString(LPCWSTR lpch, int nLength);
  CString(LPCSTR lpsz);
  CString(LPCSTR lpch, int nLength);
  explicit CString(wchar_t ch, int nRepeat = 1);
  explicit CString(const std::wstring &str) : m_str(str) {}

  CString &operator=(const CString &) = default;
  CString &operator=(CString &&) noexcept = default;
  CString &operator=(LPCWSTR lpsz);
  CString &operator=(LPCSTR lpsz);
  CString &operator=(wchar_t ch);

  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }

  wchar_t GetAt(int nIndex) const;
  void SetAt(int nIndex, wchar_t ch);
  wchar_t operator[](int nIndex) const { return GetAt(nIndex); }
  operator LPCWSTR() const { return m_str.c_str(); }
  LPCWSTR GetString() const { return m_str.c_str(); }
  const std::wstring &Str() const { return m_str; }

  CString &operator+=(const CString &str);
  CString &operator+=(LPCWSTR lpsz);
  CString &operator+=(LPCSTR lpsz);
  CString &operator+=(wchar_t ch);
  CString &operator+=(char ch);
  void Append(LPCWSTR lpsz) { *this += lpsz; }
  void Append(LPCWSTR lpch, int nLength);
  void AppendChar(wchar_t ch) { m_str += ch; }

  int Compare(LPCWSTR lpsz) const;
  int CompareNoCase(LPCWSTR lpsz) const;
  int Collate(LPCWSTR lpsz) const;
  int CollateNoCase(LPCWSTR lpsz) const;

  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCWSTR lpszCharSet) const;
  CString SpanExcluding(LPCWSTR lpszCharSet) const;
  CString Tokenize(LPCWSTR lpszTokens, int &iStart) const;

  CString &MakeUpper();
  CString &MakeLower();
  CString &MakeReverse();

  int Replace(wchar_t chOld, wchar_t chNew);
  int Replace(LPCWSTR lpszOld, LPCWSTR lpszNew);
  int Remove(wchar_t ch);
  int Insert(int nIndex, wchar_t ch);
  int Insert(int nIndex, LPCWSTR lpsz);
  int Delete(int nIndex, int nCount = 1);
  void Truncate(int nNewLength);

  CString &Trim();
  CString &Trim(wchar_t chTarget);
  CString &Trim(LPCWSTR lpszTargets);
  CString &TrimLeft();
  CString &TrimLeft(wchar_t chTarget);
  CString &TrimLeft(LPCWSTR lpszTargets);
  CString &TrimRight();
  CString &TrimRight(wchar_t chTarget);
  CString &TrimRight(LPCWSTR lpszTargets);

  int Find(wchar_t ch, int nStart = 0) const;
  int Find(LPCWSTR lpszSub, int nStart = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(LPCWSTR lpszCharSet) const;

  // printf-style formatting with the Windows meaning of the conversions: %s
  // and %c take wide arguments, %hs and %hc narrow ones; %I64d and %lld both work.
  // A CString argument is passed on as its character pointer, so callers may
  // hand CStrings to %s directly.
  template <typename... Args> void Format(LPCWSTR lpszFormat, const Args &...args) {
    FormatArgs(lpszFormat, PassArg(args)...);
  }
  template <typename... Args> void Format(UINT nFormatID, const Args &...args) {
    CString format;
    format.LoadString(nFormatID);
    FormatArgs(format.GetString(), PassArg(args)...);
  }
  template <typename... Args> void AppendFormat(LPCWSTR lpszFormat, const Args &...args) {
    AppendFormatArgs(lpszFormat, PassArg(args)...);
  }
  void FormatV(LPCWSTR lpszFormat, va_list args);
  void AppendFormatV(LPCWSTR lpszFormat, va_list args);
  void FormatArgs(LPCWSTR lpszFormat, ...);
  void AppendFormatArgs(LPCWSTR lpszFormat, ...);

  // Loads a string-table entry from the resource module, falling back to the
  // executable when the resource module lacks it. FALSE when neither has it.
  BOOL LoadString(UINT nID);
  BOOL LoadString(HINSTANCE hInstance, UINT nID);

  // Direct access to the characters. After writing, ReleaseBuffer sets the
  // length (-1: up to the first null character).
  LPWSTR GetBuffer();
  LPWSTR GetBuffer(int nMinBufLength);
  LPWSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);
  void Preallocate(int nLength);

  friend CString operator+(const CString &s1, const CString &s2);
  friend CString operator+(const CString &s1, LPCWSTR s2);
  friend CString operator+(LPCWSTR s1, const CString &s2);
  friend CString operator+(const CString &s1, wchar_t ch);
  friend CString operator+(wchar_t ch, const CString &s2);

private:
  static LPCWSTR PassArg(const CString &str) { return str.GetString(); }
  template <typename T> static const T &PassArg(const T &value) { return value; }

  std::wstring m_str;
};

inline bool operator==(const CString &s1, const CString &s2) {
  return s1.Str() == s2.Str();
}
inline bool operator==(const CString &s1, LPCWSTR s2) {
  return s1.Compare(s2) == 0;
}
inline bool operator==(LPCWSTR s1, const CString &s2) {
  return s2.Compare(s1) == 0;
}
inline bool operator!=(const CString &s1, const CString &s2) {
  return !(s1 == s2);
}
inline bool operator!=(const CString &s1, LPCWSTR s2) {
  return !(s1 == s2);
}
inline bool operator!=(LPCWSTR s1, const CString &s2) {
  return !(s1 == s2);
}
inline bool operator<(const CString &s1, const CString &s2) {
  return s1.Compare(s2) < 0;
}
inline bool operator<(const CString &s1, LPCWSTR s2) {
  return s1.Compare(s2) < 0;
}
inline bool operator<(LPCWSTR s1, const CString &s2) {
  return s2.Compare(s1) > 0;
}
inline bool operator>(const CString &s1, const CString &s2) {
  return s1.Compare(s2) > 0;
}
inline bool operator>(const CString &s1, LPCWSTR s2) {
  return s1.Compare(s2) > 0;
}
inline bool operator>(LPCWSTR s1, const CString &s2) {
  return s2.Compare(s1) < 0;
}
inline bool operator<=(const CString &s1, const CString &s2) {
  return s1.Compare(s2) <= 0;
}
inline bool operator<=(const CString &s1, LPCWSTR s2) {
  return s1.Compare(s2) <= 0;
}
inline bool operator<=(LPCWSTR s1, const CString &s2) {
  return s2.Compare(s1) >= 0;
}
inline bool operator>=(const CString &s1, const CString &s2) {
  return s1.Compare(s2) >= 0;
}
inline bool operator>=(const CString &s1, LPCWSTR s2) {
  return s1.Compare(s2) >= 0;
}
inline bool operator>=(LPCWSTR s1, const CString &s2) {
  return s2.Compare(s1) <= 0;
}

// Conversions between the program's strings and ANSI / UTF-8 byte strings.
std::string AfxToAnsi(LPCWSTR lpsz, UINT nCodePage = CP_ACP);
CString AfxFromAnsi(const char *lpch, int nLength = -1, UINT nCodePage = CP_ACP);

#include "CString.h"

#include "ModuleState.h"
#include "Object.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

int ClampIndex(int nIndex, int nLength) {
  return std::max(0, std::min(nIndex, nLength));
}

bool InSet(wchar_t ch, LPCWSTR lpszSet) {
  return ch != L'\0' && std::wcschr(lpszSet, ch) != nullptr;
}

// Reads entry nID from the string table of one module. String tables are
// blocks of 16 counted strings; an empty entry means "not present".
bool LoadStringFrom(HINSTANCE hModule, UINT nID, std::wstring &out) {
  HRSRC hInfo = FindResourceW(hModule, MAKEINTRESOURCEW((nID >> 4) + 1), MAKEINTRESOURCEW(6));
  if (hInfo == nullptr) return false;
  HGLOBAL hData = LoadResource(hModule, hInfo);
  const WORD *p = hData != nullptr ? static_cast<const WORD *>(LockResource(hData)) : nullptr;
  if (p == nullptr) return false;
  const WORD *pEnd = p + SizeofResource(hModule, hInfo) / sizeof(WORD);
  for (UINT i = 0; i < (nID & 15); ++i) {
    if (p >= pEnd) return false;
    p += 1 + *p;
  }
  if (p >= pEnd || *p == 0 || *p > pEnd - p - 1) return false;
  out.assign(reinterpret_cast<const wchar_t *>(p + 1), *p);
  return true;
}

std::wstring FormatToString(LPCWSTR lpszFormat, va_list args) {
  va_list count;
  va_copy(count, args);
  int nLength = _vscwprintf(lpszFormat, count);
  va_end(count);
  if (nLength <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
  _vsnwprintf(&text[0], text.size(), lpszFormat, args);
  text.resize(static_cast<size_t>(nLength));
  return text;
}

} // namespace

CString::CString(LPCWSTR lpsz) {
  if (lpsz != nullptr) m_str = lpsz;
}

CString::CString(LPCWSTR lpch, int nLength) {
  if (lpch != nullptr && nLength > 0) m_str.assign(lpch, static_cast<size_t>(nLength));
}

CString::CString(LPCSTR lpsz) {
  if (lpsz != nullptr) *this = AfxFromAnsi(lpsz);
}

CString::CString(LPCSTR lpch, int nLength) {
  if (lpch != nullptr && nLength > 0) *this = AfxFromAnsi(lpch, nLength);
}

CString::CString(wchar_t ch, int nRepeat) {
  if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString &CString::operator=(LPCWSTR lpsz) {
  if (lpsz == nullptr)
    m_str.clear();
  else
    m_str = std::wstring(lpsz); // lpsz may point into m_str
  return *this;
}

CString &CString::operator=(LPCSTR lpsz) {
  return *this = CString(lpsz);
}

CString &CString::operator=(wchar_t ch) {
  m_str.assign(1, ch);
  return *this;
}

wchar_t CString::GetAt(int nIndex) const {
  ASSERT(nIndex >= 0 && nIndex <= GetLength());
  if (nIndex < 0 || nIndex >= GetLength()) return L'\0';
  return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, wchar_t ch) {
  ASSERT(nIndex >= 0 && nIndex < GetLength());
  if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

CString &CString::operator+=(const CString &str) {
  m_str += str.m_str;
  return *this;
}

CString &CString::operator+=(LPCWSTR lpsz) {
  if (lpsz != nullptr) m_str += std::wstring(lpsz);
  return *this;
}

CString &CString::operator+=(LPCSTR lpsz) {
  return *this += CString(lpsz);
}

CString &CString::operator+=(wchar_t ch) {
  m_str += ch;
  return *this;
}

CString &CString::operator+=(char ch) {
  return *this += CString(&ch, 1);
}

void CString::Append(LPCWSTR lpch, int nLength) {
  if (lpch != nullptr && nLength > 0) m_str += std::wstring(lpch, static_cast<size_t>(nLength));
}

int CString::Compare(LPCWSTR lpsz) const {
  return std::wcscmp(m_str.c_str(), lpsz != nullptr ? lpsz : L"");
}

int CString::CompareNoCase(LPCWSTR lpsz) const {
  return _wcsicmp(m_str.c_str(), lpsz != nullptr ? lpsz : L"");
}

int CString::Collate(LPCWSTR lpsz) const {
  return std::wcscoll(m_str.c_str(), lpsz != nullptr ? lpsz : L"");
}

int CString::CollateNoCase(LPCWSTR lpsz) const {
  return _wcsicoll(m_str.c_str(), lpsz != nullptr ? lpsz : L"");
}

CString CString::Mid(int nFirst) const {
  return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
  nFirst = ClampIndex(nFirst, GetLength());
  nCount = std::max(0, std::min(nCount, GetLength() - nFirst));
  return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const {
  return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
  nCount = ClampIndex(nCount, GetLength());
  return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCWSTR lpszCharSet) const {
  return Left(static_cast<int>(std::wcsspn(m_str.c_str(), lpszCharSet)));
}

CString CString::SpanExcluding(LPCWSTR lpszCharSet) const {
  return Left(static_cast<int>(std::wcscspn(m_str.c_str(), lpszCharSet)));
}

CString CString::Tokenize(LPCWSTR lpszTokens, int &iStart) const {
  if (iStart < 0 || iStart > GetLength()) {
    iStart = -1;
    return CString();
  }
  int nBegin = iStart;
  while (nBegin < GetLength() && InSet(m_str[static_cast<size_t>(nBegin)], lpszTokens)) ++nBegin;
  if (nBegin >= GetLength()) {
    iStart = -1;
    return CString();
  }
  int nEnd = nBegin;
  while (nEnd < GetLength() && !InSet(m_str[static_cast<size_t>(nEnd)], lpszTokens)) ++nEnd;
  iStart = nEnd + 1;
  return Mid(nBegin, nEnd - nBegin);
}

// The system's case mapping covers every script, not only ASCII.
CString &CString::MakeUpper() {
  if (!m_str.empty()) CharUpperBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
  return *this;
}

CString &CString::MakeLower() {
  if (!m_str.empty()) CharLowerBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
  return *this;
}

CString &CString::MakeReverse() {
  std::reverse(m_str.begin(), m_str.end());
  return *this;
}

int CString::Replace(wchar_t chOld, wchar_t chNew) {
  int nCount = 0;
  for (wchar_t &ch : m_str)
    if (ch == chOld) {
      ch = chNew;
      ++nCount;
    }
  return nCount;
}

int CString::Replace(LPCWSTR lpszOld, LPCWSTR lpszNew) {
  if (lpszOld == nullptr || *lpszOld == L'\0') return 0;
  const std::wstring oldText(lpszOld), newText(lpszNew != nullptr ? lpszNew : L"");
  std::wstring result;
  int nCount = 0;
  size_t nPos = 0;
  for (size_t nFound; (nFound = m_str.find(oldText, nPos)) != std::wstring::npos;
       nPos = nFound + oldText.size()) {
    result.append(m_str, nPos, nFound - nPos).append(newText);
    ++nCount;
  }
  if (nCount == 0) return 0;
  result.append(m_str, nPos, std::wstring::npos);
  m_str.swap(result);
  return nCount;
}

int CString::Remove(wchar_t ch) {
  size_t nOld = m_str.size();
  m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
  return static_cast<int>(nOld - m_str.size());
}

int CString::Insert(int nIndex, wchar_t ch) {
  m_str.insert(static_cast<size_t>(ClampIndex(nIndex, GetLength())), 1, ch);
  return GetLength();
}

int CString::Insert(int nIndex, LPCWSTR lpsz) {
  if (lpsz != nullptr) m_str.insert(static_cast<size_t>(ClampIndex(nIndex, GetLength())), std::wstring(lpsz));
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  nIndex = std::max(0, nIndex);
  if (nIndex < GetLength() && nCount > 0)
    m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(std::min(nCount, GetLength() - nIndex)));
  return GetLength();
}

void CString::Truncate(int nNewLength) {
  if (nNewLength >= 0 && nNewLength < GetLength()) m_str.resize(static_cast<size_t>(nNewLength));
}

CString &CString::Trim() {
  return TrimRight().TrimLeft();
}
CString &CString::Trim(wchar_t chTarget) {
  return TrimRight(chTarget).TrimLeft(chTarget);
}
CString &CString::Trim(LPCWSTR lpszTargets) {
  return TrimRight(lpszTargets).TrimLeft(lpszTargets);
}

CString &CString::TrimLeft() {
  size_t n = 0;
  while (n < m_str.size() && std::iswspace(m_str[n])) ++n;
  m_str.erase(0, n);
  return *this;
}

CString &CString::TrimLeft(wchar_t chTarget) {
  wchar_t set[2] = {chTarget, L'\0'};
  return TrimLeft(set);
}

CString &CString::TrimLeft(LPCWSTR lpszTargets) {
  size_t n = 0;
  while (n < m_str.size() && InSet(m_str[n], lpszTargets)) ++n;
  m_str.erase(0, n);
  return *this;
}

CString &CString::TrimRight() {
  size_t n = m_str.size();
  while (n > 0 && std::iswspace(m_str[n - 1])) --n;
  m_str.resize(n);
  return *this;
}

CString &CString::TrimRight(wchar_t chTarget) {
  wchar_t set[2] = {chTarget, L'\0'};
  return TrimRight(set);
}

CString &CString::TrimRight(LPCWSTR lpszTargets) {
  size_t n = m_str.size();
  while (n > 0 && InSet(m_str[n - 1], lpszTargets)) --n;
  m_str.resize(n);
  return *this;
}

int CString::Find(wchar_t ch, int nStart) const {
  if (nStart < 0 || nStart >= GetLength()) return -1;
  size_t nFound = m_str.find(ch, static_cast<size_t>(nStart));
  return nFound == std::wstring::npos ? -1 : static_cast<int>(nFound);
}

int CString::Find(LPCWSTR lpszSub, int nStart) const {
  if (lpszSub == nullptr || nStart < 0 || nStart > GetLength()) return -1;
  size_t nFound = m_str.find(lpszSub, static_cast<size_t>(nStart));
  return nFound == std::wstring::npos ? -1 : static_cast<int>(nFound);
}

int CString::ReverseFind(wchar_t ch) const {
  size_t nFound = m_str.rfind(ch);
  return nFound == std::wstring::npos ? -1 : static_cast<int>(nFound);
}

int CString::FindOneOf(LPCWSTR lpszCharSet) const {
  if (lpszCharSet == nullptr) return -1;
  size_t nFound = m_str.find_first_of(lpszCharSet);
  return nFound == std::wstring::npos ? -1 : static_cast<int>(nFound);
}

void CString::FormatV(LPCWSTR lpszFormat, va_list args) {
  m_str = lpszFormat != nullptr ? FormatToString(lpszFormat, args) : std::wstring();
}

void CString::AppendFormatV(LPCWSTR lpszFormat, va_list args) {
  if (lpszFormat != nullptr) m_str += FormatToString(lpszFormat, args);
}

void CString::FormatArgs(LPCWSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void CString::AppendFormatArgs(LPCWSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  AppendFormatV(lpszFormat, args);
  va_end(args);
}

BOOL CString::LoadString(UINT nID) {
  HINSTANCE hResource = AfxGetResourceHandle();
  if (LoadString(hResource, nID)) return TRUE;
  return hResource != AfxGetInstanceHandle() && LoadString(AfxGetInstanceHandle(), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
  std::wstring text;
  if (!LoadStringFrom(hInstance, nID, text)) return FALSE;
  m_str.swap(text);
  return TRUE;
}

LPWSTR CString::GetBuffer() {
  return &m_str[0];
}

LPWSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength));
  return &m_str[0];
}

LPWSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(0, nNewLength)));
  return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0)
    m_str.resize(std::wcslen(m_str.c_str()));
  else if (static_cast<size_t>(nNewLength) <= m_str.size())
    m_str.resize(static_cast<size_t>(nNewLength));
}

void CString::Preallocate(int nLength) {
  if (nLength > 0) m_str.reserve(static_cast<size_t>(nLength));
}

CString operator+(const CString &s1, const CString &s2) {
  CString result(s1);
  return result += s2;
}

CString operator+(const CString &s1, LPCWSTR s2) {
  CString result(s1);
  return result += s2;
}

CString operator+(LPCWSTR s1, const CString &s2) {
  CString result(s1);
  return result += s2;
}

CString operator+(const CString &s1, wchar_t ch) {
  CString result(s1);
  return result += ch;
}

CString operator+(wchar_t ch, const CString &s2) {
  CString result(ch);
  return result += s2;
}

std::string AfxToAnsi(LPCWSTR lpsz, UINT nCodePage) {
  if (lpsz == nullptr || *lpsz == L'\0') return std::string();
  int nBytes = WideCharToMultiByte(nCodePage, 0, lpsz, -1, nullptr, 0, nullptr, nullptr);
  if (nBytes <= 1) return std::string();
  std::string text(static_cast<size_t>(nBytes), '\0');
  WideCharToMultiByte(nCodePage, 0, lpsz, -1, &text[0], nBytes, nullptr, nullptr);
  text.resize(static_cast<size_t>(nBytes - 1));
  return text;
}

CString AfxFromAnsi(const char *lpch, int nLength, UINT nCodePage) {
  if (lpch == nullptr) return CString();
  if (nLength < 0) nLength = static_cast<int>(std::strlen(lpch));
  if (nLength == 0) return CString();
  int nChars = MultiByteToWideChar(nCodePage, 0, lpch, nLength, nullptr, 0);
  CString result;
  if (nChars <= 0) return result;
  MultiByteToWideChar(nCodePage, 0, lpch, nLength, result.GetBufferSetLength(nChars), nChars);
  return result;
}

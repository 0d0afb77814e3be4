#include <gtest/gtest.h>

#include "CString.h"
#include "ModuleState.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

CString Formatted(LPCWSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  CString text;
  text.FormatV(lpszFormat, args);
  va_end(args);
  return text;
}

} // namespace

TEST(StringFormat, UsesWindowsMeaningOfConversions) {
  EXPECT_EQ(Formatted(L"<%s>", L"wide"), L"<wide>");
  EXPECT_EQ(Formatted(L"<%ls|%hs>", L"wide", "narrow"), L"<wide|narrow>");
  EXPECT_EQ(Formatted(L"%c%hc", L'W', 'n'), L"Wn");
  EXPECT_EQ(Formatted(L"%d|%5d|%-5d|%05d", -42, 42, 42, 42), L"-42|   42|42   |00042");
  EXPECT_EQ(Formatted(L"%I64u %llu", 18446744073709551615ULL, 1099511627776ULL),
            L"18446744073709551615 1099511627776");
  EXPECT_EQ(Formatted(L"%I64d|%08X|%x", -5LL, 0xBEEFu, 255u), L"-5|0000BEEF|ff");
  EXPECT_EQ(Formatted(L"%.2f|%10.3s|%%", 2.345, L"abcdef"), L"2.35|       abc|%");
}

TEST(StringFormat, PassesCStringArgumentsAsText) {
  CString name(L"file.txt"), text;
  text.Format(L"%s is %d bytes", name, 12);
  EXPECT_EQ(text, L"file.txt is 12 bytes");
  text.AppendFormat(L", %s", CString(L"deleted"));
  EXPECT_EQ(text, L"file.txt is 12 bytes, deleted");
}

TEST(StringFormat, LongOutputIsNotTruncated) {
  CString longText(L'x', 5000), text;
  text.Format(L"[%s]", longText);
  EXPECT_EQ(text.GetLength(), 5002);
  EXPECT_EQ(text.Right(2), L"x]");
}

TEST(StringConstruct, NarrowWideAndCounted) {
  EXPECT_EQ(CString("abc"), L"abc");
  EXPECT_EQ(CString("abcdef", 3), L"abc");
  EXPECT_EQ(CString(L"abcdef", 4), L"abcd");
  EXPECT_EQ(CString(L'z', 3), L"zzz");
  EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
  CString s(L"abc");
  s = s.GetString() + 1; // assigning from its own characters
  EXPECT_EQ(s, L"bc");
}

TEST(StringSubstring, MidLeftRightClampLikeTheClassicString) {
  const CString s(L"abcdef");
  struct Case {
    CString got;
    LPCWSTR expected;
  } cases[] = {
      {s.Mid(2), L"cdef"}, {s.Mid(2, 2), L"cd"},    {s.Mid(-3, 2), L"ab"}, {s.Mid(6), L""},
      {s.Mid(10, 2), L""}, {s.Mid(4, 10), L"ef"},   {s.Mid(1, -1), L""},   {s.Left(3), L"abc"},
      {s.Left(-1), L""},   {s.Left(99), L"abcdef"}, {s.Right(2), L"ef"},   {s.Right(99), L"abcdef"},
      {s.Right(-2), L""},
  };
  for (const Case &c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(StringSearch, FindEdgeCases) {
  const CString s(L"a.b.c");
  EXPECT_EQ(s.Find(L'.'), 1);
  EXPECT_EQ(s.Find(L'.', 2), 3);
  EXPECT_EQ(s.Find(L'.', 4), -1);
  EXPECT_EQ(s.Find(L'.', 99), -1);
  EXPECT_EQ(s.Find(L'.', -1), -1);
  EXPECT_EQ(s.Find(L"b.c"), 2);
  EXPECT_EQ(s.Find(L"c", 5), -1);
  EXPECT_EQ(s.Find(L"x"), -1);
  EXPECT_EQ(s.ReverseFind(L'.'), 3);
  EXPECT_EQ(s.ReverseFind(L'x'), -1);
  EXPECT_EQ(s.FindOneOf(L"cb"), 2);
  EXPECT_EQ(s.FindOneOf(L"xyz"), -1);
  EXPECT_EQ(CString(L"123abc").SpanIncluding(L"0123456789"), L"123");
  EXPECT_EQ(CString(L"name;rest").SpanExcluding(L";,"), L"name");
  EXPECT_EQ(CString().Find(L'a'), -1);
}

TEST(StringEdit, ReplaceRemoveInsertDelete) {
  CString s(L"aXbXc");
  EXPECT_EQ(s.Replace(L'X', L'-'), 2);
  EXPECT_EQ(s, L"a-b-c");
  EXPECT_EQ(s.Replace(L"-", L"--"), 2); // the replacement contains the pattern
  EXPECT_EQ(s, L"a--b--c");
  EXPECT_EQ(s.Replace(L"", L"x"), 0);
  EXPECT_EQ(s.Remove(L'-'), 4);
  EXPECT_EQ(s, L"abc");
  EXPECT_EQ(s.Insert(99, L'!'), 4);
  EXPECT_EQ(s.Insert(-1, L">>"), 6);
  EXPECT_EQ(s, L">>abc!");
  EXPECT_EQ(s.Delete(1, 99), 1);
  EXPECT_EQ(s.Delete(5), 1);
  EXPECT_EQ(s, L">");
  EXPECT_EQ(CString(L"MiXeD").MakeUpper(), L"MIXED");
  EXPECT_EQ(CString(L"MiXeD").MakeLower(), L"mixed");
  EXPECT_EQ(CString(L"abc").MakeReverse(), L"cba");
  EXPECT_EQ(CString(L"\u00e9t\u00e9 \u0436").MakeUpper(), L"\u00c9T\u00c9 \u0416"); // beyond ASCII
}

TEST(StringEdit, TrimWithAndWithoutCharacterSets) {
  EXPECT_EQ(CString(L" \t a b \r\n").Trim(), L"a b");
  EXPECT_EQ(CString(L"xxaxx").TrimLeft(L'x'), L"axx");
  EXPECT_EQ(CString(L"xxaxx").TrimRight(L'x'), L"xxa");
  EXPECT_EQ(CString(L"\\/path\\/").Trim(L"\\/"), L"path");
  EXPECT_EQ(CString(L"xxx").Trim(L'x'), L"");
}

TEST(StringCompare, OrderAndCase) {
  EXPECT_LT(CString(L"abc").Compare(L"abd"), 0);
  EXPECT_EQ(CString(L"ABC").CompareNoCase(L"abc"), 0);
  EXPECT_GT(CString(L"b").Compare(L"a"), 0);
  EXPECT_TRUE(CString(L"a") < CString(L"b"));
  EXPECT_TRUE(L"a" != CString(L"b"));
  EXPECT_EQ(CString(L"a") + L"b" + CString(L"c") + L'd', L"abcd");
}

TEST(StringBuffer, ReleaseBufferTakesTheWrittenLength) {
  CString s;
  wcscpy(s.GetBuffer(10), L"hello");
  s.ReleaseBuffer();
  EXPECT_EQ(s, L"hello");
  EXPECT_EQ(s.GetLength(), 5);
  LPWSTR p = s.GetBufferSetLength(3);
  p[2] = L'L';
  s.ReleaseBuffer(3);
  EXPECT_EQ(s, L"heL");
  s.GetBuffer(100);
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, L"he");
}

TEST(StringTokenize, SkipsRepeatedDelimiters) {
  CString s(L";;one;two;;three;");
  int pos = 0;
  EXPECT_EQ(s.Tokenize(L";", pos), L"one");
  EXPECT_EQ(s.Tokenize(L";", pos), L"two");
  EXPECT_EQ(s.Tokenize(L";", pos), L"three");
  EXPECT_EQ(s.Tokenize(L";", pos), L"");
  EXPECT_EQ(pos, -1);
}

// Writes a copy of this executable whose only resource is a string table
// block holding entry 101, standing in for a language module.
std::wstring MakeLanguageModule(LPCWSTR lpszText) {
  wchar_t exe[MAX_PATH], dir[MAX_PATH], path[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  GetTempPathW(MAX_PATH, dir);
  GetTempFileNameW(dir, L"qvl", 0, path);
  if (!CopyFileW(exe, path, FALSE)) return std::wstring();
  std::vector<WORD> block(16, 0); // entries 96..111; 101 is the sixth
  size_t nLength = wcslen(lpszText);
  block[5] = static_cast<WORD>(nLength);
  block.insert(block.begin() + 6, lpszText, lpszText + nLength);
  HANDLE hUpdate = BeginUpdateResourceW(path, TRUE);
  if (hUpdate == nullptr) return std::wstring();
  UpdateResourceW(hUpdate, RT_STRING, MAKEINTRESOURCEW(101 / 16 + 1),
                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), block.data(),
                  static_cast<DWORD>(block.size() * sizeof(WORD)));
  return EndUpdateResourceW(hUpdate, FALSE) ? std::wstring(path) : std::wstring();
}

// The test executable carries a string table (StringTest.rc).
TEST(StringLoad, ReadsTheStringTableOfTheExecutable) {
  CString s;
  ASSERT_TRUE(s.LoadString(101));
  EXPECT_EQ(s, L"Recovered files");
  EXPECT_TRUE(s.LoadString(117)); // second block of the table
  EXPECT_EQ(s, L"Block two");
  EXPECT_FALSE(s.LoadString(102));  // a gap inside a present block
  EXPECT_FALSE(s.LoadString(4000)); // no such block
  EXPECT_EQ(s, L"Block two");
  s.Format(101u);
  EXPECT_EQ(s, L"Recovered files");
}

TEST(StringLoad, PrefersTheLanguageModuleAndFallsBackToTheExecutable) {
  std::wstring path = MakeLanguageModule(L"Dateien");
  ASSERT_FALSE(path.empty());
  HMODULE hLanguage = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(hLanguage, nullptr);
  AfxSetResourceHandle(hLanguage);
  CString s;
  EXPECT_TRUE(s.LoadString(101));
  EXPECT_EQ(s, L"Dateien");
  EXPECT_TRUE(s.LoadString(117)); // the language module has no such block
  EXPECT_EQ(s, L"Block two");
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(117 / 16 + 1), RT_STRING), AfxGetInstanceHandle());
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(101 / 16 + 1), RT_STRING), hLanguage);
  AfxSetResourceHandle(nullptr);
  FreeLibrary(hLanguage);
  DeleteFileW(path.c_str());
}

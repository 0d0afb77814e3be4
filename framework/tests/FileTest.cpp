#include <gtest/gtest.h>

#include "File.h"

#include <cstdlib>
#include <string>

namespace {

// A fresh file name in the temporary folder, deleted again at the end.
class TempPath {
public:
  TempPath() {
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"qvf", 0, path);
    m_path = path;
  }
  ~TempPath() { DeleteFileW(m_path.c_str()); }
  LPCWSTR Get() const { return m_path.c_str(); }

private:
  std::wstring m_path;
};

int CauseOf(void (*action)(LPCWSTR), LPCWSTR path) {
  try {
    action(path);
  } catch (CFileException *e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return CFileException::none;
}

} // namespace

TEST(File, SeeksAndGrowsPastFourGigabytes) {
  TempPath path;
  CFile file(path.Get(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
  const ULONGLONG farAway = 5ULL << 30;
  EXPECT_EQ(file.Seek(static_cast<LONGLONG>(farAway), CFile::begin), farAway);
  file.Write("Z", 1);
  EXPECT_EQ(file.GetLength(), farAway + 1);
  EXPECT_EQ(file.GetPosition(), farAway + 1);
  EXPECT_EQ(file.Seek(-1, CFile::end), farAway);
  char ch = 0;
  EXPECT_EQ(file.Read(&ch, 1), 1u);
  EXPECT_EQ(ch, 'Z');
  EXPECT_EQ(file.Read(&ch, 1), 0u); // at the end: no bytes, no exception
  file.SetLength(10);
  EXPECT_EQ(file.GetLength(), 10u);
  EXPECT_EQ(file.GetPosition(), 10u); // clipped to the new end
  file.Close();
  EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST(File, ErrorsBecomeFileExceptionsWithTheirCause) {
  TempPath path;
  EXPECT_EQ(CauseOf(
                [](LPCWSTR p) {
                  CFile file(p, CFile::modeRead);
                  file.Write("x", 1);
                },
                path.Get()),
            CFileException::accessDenied);
  EXPECT_EQ(CauseOf([](LPCWSTR p) { CFile(p, CFile::modeRead).Seek(-5, CFile::begin); }, path.Get()),
            CFileException::badSeek);
  EXPECT_EQ(CauseOf([](LPCWSTR) { CFile(L"Q:\\no\\such\\folder\\file.bin", CFile::modeRead); }, nullptr),
            CFileException::badPath);

  CFileException error;
  CFile missing;
  std::wstring name = std::wstring(path.Get()) + L".missing";
  EXPECT_FALSE(missing.Open(name.c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(error.m_strFileName, name.c_str());
}

TEST(File, RenameAndRemoveReportFailures) {
  TempPath path;
  std::wstring moved = std::wstring(path.Get()) + L".moved";
  CFile::Rename(path.Get(), moved.c_str());
  EXPECT_EQ(GetFileAttributesW(path.Get()), INVALID_FILE_ATTRIBUTES);
  CFile::Remove(moved.c_str());
  EXPECT_EQ(CauseOf([](LPCWSTR p) { CFile::Remove(p); }, moved.c_str()), CFileException::fileNotFound);
}

TEST(File, ShareModesAreHonoured) {
  TempPath path;
  CFile first(path.Get(), CFile::modeReadWrite | CFile::shareExclusive);
  CFileException error;
  CFile second;
  EXPECT_FALSE(second.Open(path.Get(), CFile::modeRead | CFile::shareDenyNone, &error));
  EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

TEST(File, CreateTruncatesUnlessToldNotTo) {
  TempPath path;
  {
    CFile file(path.Get(), CFile::modeCreate | CFile::modeWrite);
    file.Write("hello", 5);
  }
  {
    CFile file(path.Get(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.GetFileName(), CString(path.Get()).Mid(CString(path.Get()).ReverseFind(L'\\') + 1));
  }
  CFile file(path.Get(), CFile::modeCreate | CFile::modeWrite);
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST(MemFile, GrowsReadsBackAndHandsOverItsBuffer) {
  CMemFile file(16);
  for (int i = 0; i < 100; ++i) file.Write(&i, sizeof i);
  EXPECT_EQ(file.GetLength(), 400u);
  file.Seek(40, CFile::begin);
  int value = 0;
  EXPECT_EQ(file.Read(&value, sizeof value), sizeof value);
  EXPECT_EQ(value, 10);
  file.Seek(500, CFile::begin); // writing past the end fills the gap with zeros
  file.Write("!", 1);
  EXPECT_EQ(file.GetLength(), 501u);
  BYTE gap = 0xAA;
  file.Seek(450, CFile::begin);
  file.Read(&gap, 1);
  EXPECT_EQ(gap, 0);
  EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException *);
  ULONGLONG nLength = file.GetLength();
  BYTE *pBuffer = file.Detach();
  ASSERT_NE(pBuffer, nullptr);
  EXPECT_EQ(nLength, 501u);
  EXPECT_EQ(pBuffer[500], '!');
  std::free(pBuffer);
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST(MemFile, AFixedBufferIsReadButNeverOutgrown) {
  BYTE buffer[4] = {1, 2, 3, 4};
  CMemFile file(buffer, sizeof buffer);
  EXPECT_EQ(file.GetLength(), 4u);
  BYTE out[8] = {};
  EXPECT_EQ(file.Read(out, 8), 4u);
  file.SeekToBegin();
  file.Write("\x09", 1);
  EXPECT_EQ(buffer[0], 9);
  file.SeekToEnd();
  try {
    file.Write("x", 1);
    ADD_FAILURE() << "wrote past a fixed buffer";
  } catch (CMemoryException *e) {
    e->Delete();
  }
}

TEST(StdioFile, LinesRoundTripWithCrLf) {
  TempPath path;
  {
    CStdioFile file(path.Get(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    file.WriteString(L"first line\nsecond\n\nlast without end");
  }
  {
    CFile raw(path.Get(), CFile::modeRead);
    char bytes[64] = {};
    UINT n = raw.Read(bytes, sizeof bytes);
    EXPECT_EQ(std::string(bytes, n), "first line\r\nsecond\r\n\r\nlast without end");
  }
  CStdioFile file(path.Get(), CFile::modeRead | CFile::typeText);
  CString line;
  std::vector<CString> lines;
  while (file.ReadString(line)) lines.push_back(line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], L"first line");
  EXPECT_EQ(lines[2], L"");
  EXPECT_EQ(lines[3], L"last without end");
}

TEST(StdioFile, ReadsUtf8AndUtf16WithByteOrderMark) {
  struct Case {
    std::string bytes;
  } cases[] = {
      {"\xEF\xBB\xBF"
       "caf\xC3\xA9\r\nx"},
      {std::string("\xFF\xFE"
                   "c\0a\0f\0\xE9\0\r\0\n\0x\0",
                   16)},
  };
  for (const Case &c : cases) {
    TempPath path;
    {
      CFile raw(path.Get(), CFile::modeCreate | CFile::modeWrite);
      raw.Write(c.bytes.data(), static_cast<UINT>(c.bytes.size()));
    }
    CStdioFile file(path.Get(), CFile::modeRead);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, L"caf\u00e9");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, L"x");
    EXPECT_FALSE(file.ReadString(line));
  }
}

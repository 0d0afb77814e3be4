// CFile and its relatives: binary files with 64-bit positions, memory files
// and line-oriented text files. Failures throw CFileException.
#pragma once

#include "CString.h"
#include "Exception.h"
#include "Object.h"

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
    osNoBuffer = 0x10000,
    osWriteThrough = 0x20000,
    osRandomAccess = 0x40000,
    osSequentialScan = 0x80000,
  };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

  static const HANDLE hFileNull;

  CFile();
  explicit CFile(HANDLE hFile);
  CFile(LPCWSTR lpszFileName, UINT nOpenFlags); // throws CFileException
  ~CFile() override;

  virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException *pError = nullptr);
  virtual UINT Read(void *lpBuf, UINT nCount);
  virtual void Write(const void *lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual ULONGLONG GetPosition() const;
  virtual void Flush();
  virtual void Close();
  // Closes without throwing, for cleanup after a failure.
  virtual void Abort();

  static void Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
  static void Remove(LPCWSTR lpszFileName);

  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFilePath() const { return m_strFileName; }
  virtual void SetFilePath(LPCWSTR lpszNewName) { m_strFileName = lpszNewName; }
  operator HANDLE() const { return m_hFile; }

  HANDLE m_hFile;

protected:
  [[noreturn]] void ThrowLastError() const;

  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};

// A file in memory. It owns its buffer unless the buffer was attached with a
// grow size of zero, in which case the buffer belongs to the caller and the
// file cannot grow past it.
class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
public:
  explicit CMemFile(UINT nGrowBytes = 1024);
  CMemFile(BYTE *lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  ~CMemFile() override;

  void Attach(BYTE *lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Hands the buffer (allocated with malloc when the file grew it) to the
  // caller and empties the file.
  BYTE *Detach();

  BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException *pError = nullptr) override;
  UINT Read(void *lpBuf, UINT nCount) override;
  void Write(const void *lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetLength() const override { return m_nFileSize; }
  void SetLength(ULONGLONG dwNewLen) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

private:
  void GrowFile(SIZE_T nNewSize);
  void FreeBuffer();

  UINT m_nGrowBytes;
  SIZE_T m_nPosition = 0;
  SIZE_T m_nBufferSize = 0;
  SIZE_T m_nFileSize = 0;
  BYTE *m_lpBuffer = nullptr;
  bool m_bAutoDelete = true;
};

// A text file read and written line by line. Lines end in CR LF on disk and
// in a single '\n' in the program; the text is in the ANSI code page, or in
// UTF-8 / UTF-16 when the file starts with the matching byte order mark.
class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
public:
  CStdioFile() = default;
  CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile(lpszFileName, nOpenFlags) {}

  // Reads one line without its line end; FALSE at the end of the file.
  virtual BOOL ReadString(CString &rString);
  // Writes the text, turning each '\n' into CR LF.
  virtual void WriteString(LPCWSTR lpsz);

private:
  enum class Encoding { unknown, ansi, utf8, utf16 };
  Encoding DetectEncoding();
  BOOL ReadBytesLine(std::string &line);
  BOOL ReadWideLine(std::wstring &line);

  Encoding m_encoding = Encoding::unknown;
};

#include "File.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

DWORD DesiredAccess(UINT nOpenFlags) {
  switch (nOpenFlags & 3) {
  case CFile::modeWrite:
    return GENERIC_WRITE;
  case CFile::modeReadWrite:
    return GENERIC_READ | GENERIC_WRITE;
  default:
    return GENERIC_READ;
  }
}

DWORD ShareMode(UINT nOpenFlags) {
  switch (nOpenFlags & 0x70) {
  case CFile::shareDenyWrite:
    return FILE_SHARE_READ;
  case CFile::shareDenyRead:
    return FILE_SHARE_WRITE;
  case CFile::shareDenyNone:
    return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  default:
    return 0; // exclusive, or the old compatibility mode
  }
}

DWORD CreationDisposition(UINT nOpenFlags) {
  if (nOpenFlags & CFile::modeCreate)
    return (nOpenFlags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  return OPEN_EXISTING;
}

DWORD FlagsAndAttributes(UINT nOpenFlags) {
  DWORD dwFlags = FILE_ATTRIBUTE_NORMAL;
  if (nOpenFlags & CFile::osNoBuffer) dwFlags |= FILE_FLAG_NO_BUFFERING;
  if (nOpenFlags & CFile::osWriteThrough) dwFlags |= FILE_FLAG_WRITE_THROUGH;
  if (nOpenFlags & CFile::osRandomAccess) dwFlags |= FILE_FLAG_RANDOM_ACCESS;
  if (nOpenFlags & CFile::osSequentialScan) dwFlags |= FILE_FLAG_SEQUENTIAL_SCAN;
  return dwFlags;
}

CString FullPath(LPCWSTR lpszFileName) {
  DWORD nLength = GetFullPathNameW(lpszFileName, 0, nullptr, nullptr);
  if (nLength == 0) return CString(lpszFileName);
  CString path;
  DWORD nWritten =
      GetFullPathNameW(lpszFileName, nLength, path.GetBuffer(static_cast<int>(nLength)), nullptr);
  path.ReleaseBuffer(nWritten < nLength ? static_cast<int>(nWritten) : -1);
  return path;
}

} // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile() {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException *pError) {
  ASSERT(m_hFile == hFileNull);
  m_strFileName = FullPath(lpszFileName);
  SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, (nOpenFlags & modeNoInherit) == 0};
  HANDLE hFile = CreateFileW(lpszFileName, DesiredAccess(nOpenFlags), ShareMode(nOpenFlags), &security,
                             CreationDisposition(nOpenFlags), FlagsAndAttributes(nOpenFlags), nullptr);
  if (hFile == INVALID_HANDLE_VALUE) {
    if (pError != nullptr) {
      pError->m_lOsError = static_cast<LONG>(GetLastError());
      pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_hFile = hFile;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

UINT CFile::Read(void *lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD nRead = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr)) ThrowLastError();
  return nRead;
}

void CFile::Write(const void *lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD nWritten = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr)) ThrowLastError();
  // A short write means the medium is full even when Windows reports success.
  if (nWritten != nCount) AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LARGE_INTEGER distance, position;
  distance.QuadPart = lOff;
  DWORD dwMethod = nFrom == current ? FILE_CURRENT : nFrom == end ? FILE_END : FILE_BEGIN;
  if (!SetFilePointerEx(m_hFile, distance, &position, dwMethod)) ThrowLastError();
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_hFile, &size)) ThrowLastError();
  return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  ULONGLONG nPosition = GetPosition();
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) ThrowLastError();
  if (nPosition < dwNewLen) Seek(static_cast<LONGLONG>(nPosition), begin);
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER distance, position;
  distance.QuadPart = 0;
  if (!SetFilePointerEx(m_hFile, distance, &position, FILE_CURRENT)) ThrowLastError();
  return static_cast<ULONGLONG>(position.QuadPart);
}

void CFile::Flush() {
  if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile)) ThrowLastError();
}

void CFile::Close() {
  BOOL bError = FALSE;
  if (m_hFile != hFileNull) bError = !CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  if (bError) ThrowLastError();
}

void CFile::Abort() {
  if (m_hFile != hFileNull) CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
}

void CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName) {
  if (!MoveFileW(lpszOldName, lpszNewName))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszOldName);
}

void CFile::Remove(LPCWSTR lpszFileName) {
  if (!DeleteFileW(lpszFileName))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
}

CString CFile::GetFileName() const {
  int nSlash = std::max(m_strFileName.ReverseFind(L'\\'), m_strFileName.ReverseFind(L'/'));
  return m_strFileName.Mid(std::max(nSlash, m_strFileName.ReverseFind(L':')) + 1);
}

CString CFile::GetFileTitle() const {
  CString name = GetFileName();
  int nDot = name.ReverseFind(L'.');
  return nDot > 0 ? name.Left(nDot) : name;
}

void CFile::ThrowLastError() const {
  LONG lOsError = static_cast<LONG>(GetLastError());
  AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, m_strFileName);
}

// CMemFile

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE *lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
  Close();
}

void CMemFile::Attach(BYTE *lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  FreeBuffer();
  m_lpBuffer = lpBuffer;
  m_nBufferSize = nBufferSize;
  // A fixed buffer holds data to read; a growable one starts empty.
  m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
  m_nGrowBytes = nGrowBytes;
  m_nPosition = 0;
  m_bAutoDelete = false;
}

BYTE *CMemFile::Detach() {
  BYTE *lpBuffer = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = true;
  return lpBuffer;
}

BOOL CMemFile::Open(LPCWSTR, UINT, CFileException *) {
  AfxThrowNotSupportedException();
}

UINT CMemFile::Read(void *lpBuf, UINT nCount) {
  if (m_nPosition >= m_nFileSize) return 0;
  SIZE_T nRead = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
  std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
  m_nPosition += nRead;
  return static_cast<UINT>(nRead);
}

void CMemFile::Write(const void *lpBuf, UINT nCount) {
  if (nCount == 0) return;
  SIZE_T nEnd = m_nPosition + nCount;
  if (nEnd > m_nBufferSize) GrowFile(nEnd);
  // Writing after a seek past the end leaves zeros in between.
  if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition = nEnd;
  m_nFileSize = std::max(m_nFileSize, nEnd);
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG nBase = nFrom == current ? static_cast<LONGLONG>(m_nPosition)
                   : nFrom == end   ? static_cast<LONGLONG>(m_nFileSize)
                                    : 0;
  if ((lOff < 0 && nBase + lOff < 0) || (lOff > 0 && lOff > LLONG_MAX - nBase))
    AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK, m_strFileName);
  m_nPosition = static_cast<SIZE_T>(nBase + lOff);
  return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
  if (dwNewLen > m_nBufferSize) GrowFile(static_cast<SIZE_T>(dwNewLen));
  if (dwNewLen > m_nFileSize)
    std::memset(m_lpBuffer + m_nFileSize, 0, static_cast<SIZE_T>(dwNewLen) - m_nFileSize);
  m_nFileSize = static_cast<SIZE_T>(dwNewLen);
  m_nPosition = std::min(m_nPosition, m_nFileSize);
}

void CMemFile::Close() {
  FreeBuffer();
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
}

void CMemFile::GrowFile(SIZE_T nNewSize) {
  if (m_nGrowBytes == 0) AfxThrowMemoryException(); // a caller's fixed buffer
  SIZE_T nGrow = m_nGrowBytes;
  SIZE_T nAlloc = std::max(nNewSize, m_nBufferSize + std::max(nGrow, m_nBufferSize / 2));
  nAlloc = (nAlloc + nGrow - 1) / nGrow * nGrow;
  if (!m_bAutoDelete) {
    // An attached growable buffer stays the caller's; continue in our own copy.
    BYTE *lpNew = static_cast<BYTE *>(std::malloc(nAlloc));
    if (lpNew == nullptr) AfxThrowMemoryException();
    if (m_nFileSize > 0) std::memcpy(lpNew, m_lpBuffer, m_nFileSize);
    m_lpBuffer = lpNew;
    m_bAutoDelete = true;
  } else {
    BYTE *lpNew = static_cast<BYTE *>(std::realloc(m_lpBuffer, nAlloc));
    if (lpNew == nullptr) AfxThrowMemoryException();
    m_lpBuffer = lpNew;
  }
  m_nBufferSize = nAlloc;
}

void CMemFile::FreeBuffer() {
  if (m_bAutoDelete) std::free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_bAutoDelete = true;
}

// CStdioFile

CStdioFile::Encoding CStdioFile::DetectEncoding() {
  if (m_encoding != Encoding::unknown) return m_encoding;
  m_encoding = Encoding::ansi;
  if (GetPosition() != 0) return m_encoding;
  BYTE bom[3] = {};
  UINT nRead = Read(bom, 3);
  if (nRead >= 2 && bom[0] == 0xFF && bom[1] == 0xFE) {
    m_encoding = Encoding::utf16;
    Seek(2, begin);
  } else if (nRead == 3 && bom[0] == 0xEF && bom[1] == 0xBB && bom[2] == 0xBF) {
    m_encoding = Encoding::utf8;
  } else {
    Seek(0, begin);
  }
  return m_encoding;
}

BOOL CStdioFile::ReadBytesLine(std::string &line) {
  char chunk[512];
  BOOL bAny = FALSE;
  for (;;) {
    ULONGLONG nStart = GetPosition();
    UINT nRead = Read(chunk, sizeof chunk);
    if (nRead == 0) return bAny;
    bAny = TRUE;
    char *pEnd = static_cast<char *>(std::memchr(chunk, '\n', nRead));
    if (pEnd == nullptr) {
      line.append(chunk, nRead);
      continue;
    }
    line.append(chunk, static_cast<size_t>(pEnd - chunk));
    Seek(static_cast<LONGLONG>(nStart + (pEnd - chunk) + 1), begin);
    return TRUE;
  }
}

BOOL CStdioFile::ReadWideLine(std::wstring &line) {
  wchar_t chunk[256];
  BOOL bAny = FALSE;
  for (;;) {
    ULONGLONG nStart = GetPosition();
    UINT nChars = Read(chunk, sizeof chunk) / sizeof(wchar_t);
    if (nChars == 0) return bAny;
    bAny = TRUE;
    wchar_t *pEnd = std::find(chunk, chunk + nChars, L'\n');
    line.append(chunk, static_cast<size_t>(pEnd - chunk));
    if (pEnd == chunk + nChars) continue;
    Seek(static_cast<LONGLONG>(nStart + (pEnd - chunk + 1) * sizeof(wchar_t)), begin);
    return TRUE;
  }
}

BOOL CStdioFile::ReadString(CString &rString) {
  rString.Empty();
  Encoding encoding = DetectEncoding();
  if (encoding == Encoding::utf16) {
    std::wstring line;
    if (!ReadWideLine(line)) return FALSE;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    rString = CString(line);
    return TRUE;
  }
  std::string line;
  if (!ReadBytesLine(line)) return FALSE;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  rString =
      AfxFromAnsi(line.data(), static_cast<int>(line.size()), encoding == Encoding::utf8 ? CP_UTF8 : CP_ACP);
  return TRUE;
}

void CStdioFile::WriteString(LPCWSTR lpsz) {
  CString text(lpsz);
  text.Replace(L"\n", L"\r\n");
  if (m_encoding == Encoding::utf16) {
    Write(text.GetString(), static_cast<UINT>(text.GetLength() * sizeof(wchar_t)));
    return;
  }
  std::string bytes = AfxToAnsi(text, m_encoding == Encoding::utf8 ? CP_UTF8 : CP_ACP);
  Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

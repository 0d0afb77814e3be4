#include "Exception.h"

#include <exception>
#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

BOOL CopyMessage(LPCWSTR lpszText, LPWSTR lpszError, UINT nMaxError) {
  if (lpszError == nullptr || nMaxError == 0) return FALSE;
  lstrcpynW(lpszError, lpszText, static_cast<int>(nMaxError));
  return TRUE;
}

CString WithFileName(LPCWSTR lpszText, const CString &strFileName) {
  CString text(lpszText);
  if (!strFileName.IsEmpty()) text += L" (" + strFileName + L")";
  return text;
}

} // namespace

void CException::Delete() {
  if (m_bAutoDelete && !m_bCaughtByMacro) delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  if (lpszError != nullptr && nMaxError > 0) *lpszError = L'\0';
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const {
  wchar_t text[512];
  CString message;
  if (GetErrorMessage(text, 512))
    message = text;
  else if (nMessageID == 0 || !message.LoadString(nMessageID))
    message = L"An unexpected error occurred.";
  return MessageBoxW(GetActiveWindow(), message, nullptr, nType);
}

BOOL CMemoryException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  return CopyMessage(L"Out of memory.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  return CopyMessage(L"The operation is not supported.", lpszError, nMaxError);
}

BOOL CInvalidArgException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  return CopyMessage(L"An invalid argument was encountered.", lpszError, nMaxError);
}

int CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
  case NO_ERROR:
    return none;
  case ERROR_FILE_NOT_FOUND:
    return fileNotFound;
  case ERROR_PATH_NOT_FOUND:
  case ERROR_INVALID_NAME:
  case ERROR_BAD_PATHNAME:
  case ERROR_INVALID_DRIVE:
  case ERROR_BAD_NETPATH:
    return badPath;
  case ERROR_TOO_MANY_OPEN_FILES:
    return tooManyOpenFiles;
  case ERROR_ACCESS_DENIED:
  case ERROR_WRITE_PROTECT:
  case ERROR_FILE_EXISTS:
  case ERROR_ALREADY_EXISTS:
    return accessDenied;
  case ERROR_INVALID_HANDLE:
    return invalidFile;
  case ERROR_CURRENT_DIRECTORY:
    return removeCurrentDir;
  case ERROR_CANNOT_MAKE:
    return directoryFull;
  case ERROR_SEEK:
  case ERROR_NEGATIVE_SEEK:
    return badSeek;
  case ERROR_CRC:
  case ERROR_SECTOR_NOT_FOUND:
  case ERROR_READ_FAULT:
  case ERROR_WRITE_FAULT:
  case ERROR_GEN_FAILURE:
  case ERROR_NOT_READY:
    return hardIO;
  case ERROR_SHARING_VIOLATION:
    return sharingViolation;
  case ERROR_LOCK_VIOLATION:
    return lockViolation;
  case ERROR_DISK_FULL:
  case ERROR_HANDLE_DISK_FULL:
    return diskFull;
  case ERROR_HANDLE_EOF:
    return endOfFile;
  default:
    return genericException;
  }
}

void CFileException::ThrowOsError(LONG lOsError, LPCWSTR lpszFileName) {
  if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  static const wchar_t *const texts[] = {
      L"No error occurred.",
      L"An unexpected error occurred while accessing the file.",
      L"The file could not be found.",
      L"The path is invalid.",
      L"Too many files are open.",
      L"Access to the file was denied.",
      L"An invalid file handle was used.",
      L"The current folder cannot be removed.",
      L"The folder is full.",
      L"An error occurred while seeking in the file.",
      L"A hardware error occurred while accessing the file.",
      L"The file is in use by another program.",
      L"A locked region of the file was accessed.",
      L"The disk is full.",
      L"An attempt was made to read past the end of the file.",
  };
  int nCause = m_cause >= none && m_cause <= endOfFile ? m_cause : genericException;
  return CopyMessage(WithFileName(texts[nCause], m_strFileName), lpszError, nMaxError);
}

BOOL CArchiveException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  static const wchar_t *const texts[] = {
      L"No error occurred.",
      L"An unexpected error occurred while reading or writing the file.",
      L"An attempt was made to write to an archive opened for reading.",
      L"The file ends unexpectedly.",
      L"An attempt was made to read from an archive opened for writing.",
      L"The file has an invalid format.",
      L"The file contains an unexpected object.",
      L"The file contains an unsupported version of an object.",
      L"The archive buffer is full.",
  };
  int nCause = m_cause >= none && m_cause <= bufferFull ? m_cause : genericException;
  return CopyMessage(WithFileName(texts[nCause], m_strFileName), lpszError, nMaxError);
}

void AfxThrowMemoryException() {
  throw new CMemoryException;
}
void AfxThrowNotSupportedException() {
  throw new CNotSupportedException;
}
void AfxThrowUserException() {
  throw new CUserException;
}
void AfxThrowInvalidArgException() {
  throw new CInvalidArgException;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCWSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName) {
  throw new CArchiveException(cause, lpszArchiveName);
}

CExceptionCatchScope::CExceptionCatchScope(CException *pException)
    : m_pException(pException), m_nUncaught(std::uncaught_exceptions()) {
  if (m_pException != nullptr) m_pException->m_bCaughtByMacro = true;
}

CExceptionCatchScope::~CExceptionCatchScope() {
  if (m_pException == nullptr) return;
  m_pException->m_bCaughtByMacro = false;
  // Leaving the block by THROW_LAST passes the exception on: keep it.
  if (std::uncaught_exceptions() > m_nUncaught) return;
  m_pException->Delete();
}

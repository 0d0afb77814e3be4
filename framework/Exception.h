// The exception classes of the class layer. They are thrown as pointers
// (throw new CFileException(...)), caught as CException* and released with
// Delete().
#pragma once

#include "CString.h"
#include "Object.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
public:
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}

  // Frees a heap exception. Inside a CATCH block of the macros below the
  // block's end does that instead, so calling Delete there is harmless.
  void Delete();
  virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) const;

  BOOL m_bAutoDelete;

private:
  friend class CExceptionCatchScope;
  bool m_bCaughtByMacro = false;
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
public:
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
public:
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// An argument out of range, such as an index past the end of an array.
class CInvalidArgException : public CException {
  DECLARE_DYNAMIC(CInvalidArgException)
public:
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// Thrown to end an operation after the user has already been told why.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

  static int OsErrorToException(LONG lOsError);
  static void ThrowOsError(LONG lOsError, LPCWSTR lpszFileName = nullptr);
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
public:
  enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema, bufferFull };

  explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = nullptr)
      : m_cause(cause), m_strFileName(lpszArchiveName) {}

  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

  int m_cause;
  CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = nullptr);

// Frees the exception caught by a CATCH block when the block ends, unless the
// block rethrows it with THROW_LAST.
class CExceptionCatchScope {
public:
  explicit CExceptionCatchScope(CException *pException);
  ~CExceptionCatchScope();
  CExceptionCatchScope(const CExceptionCatchScope &) = delete;
  CExceptionCatchScope &operator=(const CExceptionCatchScope &) = delete;

private:
  CException *m_pException;
  int m_nUncaught;
};

#define TRY try
#define CATCH(class_name, e)                                                                                 \
  catch (class_name * e) {                                                                                   \
    CExceptionCatchScope afxCatchScope_(e);
#define AND_CATCH(class_name, e)                                                                             \
  }                                                                                                          \
  catch (class_name * e) {                                                                                   \
    CExceptionCatchScope afxCatchScope_(e);
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL }
#define THROW(e) throw e
#define THROW_LAST() throw

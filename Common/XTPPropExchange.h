// Property exchange: one routine per component names each of its settings,
// with its type and default, and the same routine loads or stores them
// through an exchange object. CXTPPropExchangeRegistry keeps named values
// under a registry key, one subkey per section; CXTPPropExchangeArchive reads
// or writes the values in call order through an archive.
#pragma once

#include <windows.h>
#include <wtypes.h>

#include "Archive.h"
#include "CString.h"
#include "CmdTarget.h"
#include "Collections.h"
#include "Geometry.h"
#include "OleDateTime.h"
#include "OleVariant.h"

// The toolkit's own value types beside the automation variant types.
const VARTYPE VT_EX_RECT = 100;
const VARTYPE VT_EX_SIZE = 101;

class CXTPPropExchangeEnumerator;

class CXTPPropExchange : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPPropExchange)
public:
  CXTPPropExchange() = default;
  ~CXTPPropExchange() override = default;
  CXTPPropExchange(const CXTPPropExchange &) = delete;
  CXTPPropExchange &operator=(const CXTPPropExchange &) = delete;

  // One value: pvProp points at the variable, pvDefault at its default (or
  // null). TRUE when a value was stored, or loaded (or its default taken).
  virtual BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void *pvProp, const void *pvDefault) = 0;
  // Bytes. Loading with pData null allocates them (new[]; the caller
  // delete[]s them); otherwise nBytes is the room in pData. On a successful
  // load nBytes is the count read.
  virtual BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes);
  virtual BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass *&pClass,
                                    CRuntimeClass *pDefaultClass);
  // Storing: the object's class; loading: a new object of the stored class,
  // kept only when it is a pObjectRuntime.
  virtual BOOL ExchangeObjectInstance(CObject *&pObject, CRuntimeClass *pObjectRuntime);
  virtual CArchive *GetArchive(LPCTSTR pszPropName);
  virtual void ReleaseArchive(LPCTSTR pszPropName, CArchive *pArchive);
  // A new exchange for the sub-section, owned by the caller.
  virtual CXTPPropExchange *GetSection(LPCTSTR pszSection) = 0;
  virtual void EmptySection();
  virtual void WriteCount(DWORD dwCount);
  virtual DWORD ReadCount();
  virtual BOOL Write(LPCTSTR pszPropName, const void *lpBuf, UINT nCount);
  virtual UINT Read(LPCTSTR pszPropName, void *lpBuf, UINT nCount);
  // Whether a caller may leave out a value equal to its default.
  virtual BOOL IsAllowDefaultValues() const { return TRUE; }
  // Whether an object may be stored whole (PX_Object) rather than property
  // by property in a child section.
  virtual BOOL IsAllowBlobValues() const { return FALSE; }
  virtual BOOL OnBeforeExchange();
  virtual CXTPPropExchangeEnumerator *GetEnumerator(LPCTSTR lpszSection);

  BOOL IsLoading() const { return m_bLoading; }
  BOOL IsStoring() const { return !m_bLoading; }
  void ExchangeSchema();
  // When FALSE, a value missing from storage leaves the variable as it is.
  void UseDefaultOnLoad(BOOL bUseDefaultOnLoad = TRUE) { m_bUseDefaultOnLoad = bUseDefaultOnLoad; }

  // Byte sizes of the value types, for comparing and copying; 0 for types
  // that are not compared byte-wise.
  static int GetSizeOfVarType(VARTYPE vt);
  static BOOL IsSamePropValue(VARTYPE vtProp, const void *pv1, const void *pv2);
  static BOOL CopyPropValue(VARTYPE vtProp, void *pvDest, const void *pvSrc);

  // A word (wide enough for a pointer) for the owner's use, handed to every
  // child section.
  DWORD_PTR m_dwData = 0;
  UINT m_nSchema = 8;

protected:
  // What a child section takes from its parent.
  void InitSection(CXTPPropExchange *pSection) const;

  BOOL m_bLoading = FALSE;
  BOOL m_bChildSection = FALSE;
  BOOL m_bEmptySection = FALSE;
  BOOL m_bInitialized = FALSE;
  BOOL m_bUseDefaultOnLoad = TRUE;
};

// Values in call order through an archive: no names, types or defaults.
class CXTPPropExchangeArchive : public CXTPPropExchange {
  DECLARE_DYNAMIC(CXTPPropExchangeArchive)
public:
  explicit CXTPPropExchangeArchive(CArchive &ar);

  BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void *pvProp, const void *pvDefault) override;
  BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes) override;
  BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass *&pClass,
                            CRuntimeClass *pDefaultClass) override;
  BOOL ExchangeObjectInstance(CObject *&pObject, CRuntimeClass *pObjectRuntime) override;
  CArchive *GetArchive(LPCTSTR pszPropName) override;
  void ReleaseArchive(LPCTSTR pszPropName, CArchive *pArchive) override;
  CXTPPropExchange *GetSection(LPCTSTR pszSection) override;
  void WriteCount(DWORD dwCount) override;
  DWORD ReadCount() override;
  BOOL Write(LPCTSTR pszPropName, const void *lpBuf, UINT nCount) override;
  UINT Read(LPCTSTR pszPropName, void *lpBuf, UINT nCount) override;
  BOOL IsAllowDefaultValues() const override { return FALSE; }
  BOOL IsAllowBlobValues() const override { return TRUE; }

private:
  CArchive &m_ar;
};

// Named values under a registry key: the section is the subkey
// lpszSection of hParentKey, which the caller closes after this exchange is
// destroyed.
class CXTPPropExchangeRegistry : public CXTPPropExchange {
  DECLARE_DYNAMIC(CXTPPropExchangeRegistry)
public:
  CXTPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection);
  ~CXTPPropExchangeRegistry() override;

  BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void *pvProp, const void *pvDefault) override;
  BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes) override;
  CXTPPropExchange *GetSection(LPCTSTR pszSection) override;
  void EmptySection() override;
  BOOL IsAllowBlobValues() const override { return TRUE; }
  BOOL OnBeforeExchange() override;

private:
  BOOL StoreProp(LPCTSTR pszPropName, VARTYPE vtProp, const void *pvProp, const void *pvDefault);
  BOOL LoadProp(LPCTSTR pszPropName, VARTYPE vtProp, void *pvProp, const void *pvDefault);
  // The REG_SZ value, or FALSE when it is missing or of another type.
  BOOL QueryString(LPCTSTR pszPropName, CString &strValue);

  HKEY m_hSectionKey = nullptr;
  HKEY m_hParentKey;
  CString m_strSectionName;
};

// Numbered child sections prefix0, prefix1, ... with their count.
class CXTPPropExchangeEnumerator {
public:
  CXTPPropExchangeEnumerator(CXTPPropExchange *pContainer, LPCTSTR lpszSection);
  virtual ~CXTPPropExchangeEnumerator() = default;

  // Exchanges the count (loading replaces it); the position of the first
  // child, or null when there is none.
  virtual POSITION GetPosition(DWORD dwCount = 0, BOOL bCompactMode = TRUE);
  // The next child section (the caller deletes it); the position moves on and
  // becomes null after the last.
  virtual CXTPPropExchange *GetNext(POSITION &pos);

protected:
  CXTPPropExchange *m_pContainer;
  CString m_strSectionName;
  DWORD m_nCount = 0;
};

BOOL PX_Long(CXTPPropExchange *pPX, LPCTSTR pszPropName, long &lValue);
BOOL PX_Long(CXTPPropExchange *pPX, LPCTSTR pszPropName, long &lValue, long lDefault);
BOOL PX_Int(CXTPPropExchange *pPX, LPCTSTR pszPropName, int &nValue);
BOOL PX_Int(CXTPPropExchange *pPX, LPCTSTR pszPropName, int &nValue, int nDefault);
BOOL PX_DWord(CXTPPropExchange *pPX, LPCTSTR pszPropName, DWORD &dwValue, DWORD dwDefault);
BOOL PX_Bool(CXTPPropExchange *pPX, LPCTSTR pszPropName, BOOL &bValue, BOOL bDefault);
BOOL PX_String(CXTPPropExchange *pPX, LPCTSTR pszPropName, CString &strValue);
BOOL PX_String(CXTPPropExchange *pPX, LPCTSTR pszPropName, CString &strValue, LPCTSTR lpszDefault);
BOOL PX_Size(CXTPPropExchange *pPX, LPCTSTR pszPropName, SIZE &szValue, SIZE szDefault);
BOOL PX_Rect(CXTPPropExchange *pPX, LPCTSTR pszPropName, RECT &rcValue, RECT rcDefault);
BOOL PX_Blob(CXTPPropExchange *pPX, LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes);
BOOL PX_RuntimeClass(CXTPPropExchange *pPX, LPCTSTR pszPropName, CRuntimeClass *&pClass,
                     CRuntimeClass *pDefaultClass);
BOOL PX_Object(CXTPPropExchange *pPX, LPCTSTR pszPropName, CObject *pObject);

// An enumeration or flag word, stored as a 32-bit integer.
template <class TEnum>
BOOL PX_Enum(CXTPPropExchange *pPX, LPCTSTR pszPropName, TEnum &nValue, TEnum nDefault) {
  static_assert(sizeof(TEnum) == sizeof(long), "PX_Enum stores 32-bit values");
  long lValue = static_cast<long>(nValue);
  BOOL bResult = PX_Long(pPX, pszPropName, lValue, static_cast<long>(nDefault));
  if (pPX->IsLoading()) nValue = static_cast<TEnum>(lValue);
  return bResult;
}

// Same-named aliases the later parts of the toolkit call.
inline BOOL PX_Long_Default(CXTPPropExchange *pPX, LPCTSTR pszPropName, long &lValue, long lDefault) {
  return PX_Long(pPX, pszPropName, lValue, lDefault);
}
inline BOOL PX_Int_Default(CXTPPropExchange *pPX, LPCTSTR pszPropName, int &nValue, int nDefault) {
  return PX_Int(pPX, pszPropName, nValue, nDefault);
}

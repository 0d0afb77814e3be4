#include "XTPPropExchange.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <vector>

#include "File.h"

IMPLEMENT_DYNAMIC(CXTPPropExchange, CCmdTarget)
IMPLEMENT_DYNAMIC(CXTPPropExchangeArchive, CXTPPropExchange)
IMPLEMENT_DYNAMIC(CXTPPropExchangeRegistry, CXTPPropExchange)

namespace {

// Archive blobs are read in steps no larger than this, so a damaged count
// costs no more memory than the bytes that are really there.
const DWORD kBlobReadStep = 64 * 1024;

const wchar_t kRectFormat[] = L"%i, %i, %i, %i";
const wchar_t kSizeFormat[] = L"%i, %i";

} // namespace

// --- Values ---------------------------------------------------------------

int CXTPPropExchange::GetSizeOfVarType(VARTYPE vt) {
  switch (vt) {
  case VT_UI1:
    return 1;
  case VT_I2:
    return 2;
  case VT_I4:
  case VT_R4:
  case VT_BOOL:
    return 4;
  case VT_R8:
  case VT_CY:
  case VT_EX_SIZE:
    return 8;
  case VT_EX_RECT:
    return 16;
  case VT_DATE:
    return sizeof(COleDateTime);
  case VT_VARIANT:
    return sizeof(COleVariant);
  default:
    return 0;
  }
}

BOOL CXTPPropExchange::IsSamePropValue(VARTYPE vtProp, const void *pv1, const void *pv2) {
  if (pv1 == pv2) return TRUE;
  if (pv1 == nullptr || pv2 == nullptr) return FALSE;
  switch (vtProp) {
  case VT_BSTR:
    return *static_cast<const CString *>(pv1) == *static_cast<const CString *>(pv2);
  case VT_LPSTR:
    return *static_cast<const CString *>(pv1) == static_cast<LPCTSTR>(pv2);
  case VT_DATE:
    return *static_cast<const COleDateTime *>(pv1) == *static_cast<const COleDateTime *>(pv2);
  case VT_VARIANT:
    return *static_cast<const COleVariant *>(pv1) == *static_cast<const VARIANT *>(pv2);
  default: {
    int nSize = GetSizeOfVarType(vtProp);
    return nSize != 0 && memcmp(pv1, pv2, static_cast<size_t>(nSize)) == 0;
  }
  }
}

BOOL CXTPPropExchange::CopyPropValue(VARTYPE vtProp, void *pvDest, const void *pvSrc) {
  if (pvSrc == nullptr || pvDest == nullptr) return FALSE;
  switch (vtProp) {
  case VT_BSTR:
    *static_cast<CString *>(pvDest) = *static_cast<const CString *>(pvSrc);
    return TRUE;
  case VT_LPSTR:
    *static_cast<CString *>(pvDest) = static_cast<LPCTSTR>(pvSrc);
    return TRUE;
  case VT_DATE:
    *static_cast<COleDateTime *>(pvDest) = *static_cast<const COleDateTime *>(pvSrc);
    return TRUE;
  case VT_VARIANT:
    // A value the platform cannot copy is a failed copy, not a crash.
    try {
      *static_cast<COleVariant *>(pvDest) = *static_cast<const VARIANT *>(pvSrc);
    } catch (CException *e) {
      e->Delete();
      return FALSE;
    }
    return TRUE;
  default: {
    int nSize = GetSizeOfVarType(vtProp);
    if (nSize == 0) return FALSE;
    memcpy(pvDest, pvSrc, static_cast<size_t>(nSize));
    return TRUE;
  }
  }
}

// --- Base exchange --------------------------------------------------------

void CXTPPropExchange::InitSection(CXTPPropExchange *pSection) const {
  pSection->m_dwData = m_dwData;
  pSection->m_nSchema = m_nSchema;
  pSection->m_bEmptySection = m_bEmptySection;
  pSection->m_bUseDefaultOnLoad = m_bUseDefaultOnLoad;
  pSection->m_bChildSection = TRUE;
  ASSERT(pSection->m_bLoading == m_bLoading);
}

BOOL CXTPPropExchange::OnBeforeExchange() {
  m_bInitialized = TRUE;
  return TRUE;
}

void CXTPPropExchange::EmptySection() {
  m_bEmptySection = TRUE;
}

void CXTPPropExchange::ExchangeSchema() {
  long lSchema = static_cast<long>(m_nSchema);
  PX_Long(this, L"Schema", lSchema, 8);
  m_nSchema = static_cast<UINT>(lSchema);
}

void CXTPPropExchange::WriteCount(DWORD dwCount) {
  PX_DWord(this, L"Count", dwCount, 0);
}

DWORD CXTPPropExchange::ReadCount() {
  DWORD dwCount = 0;
  PX_DWord(this, L"Count", dwCount, 0);
  return dwCount;
}

BOOL CXTPPropExchange::Write(LPCTSTR pszPropName, const void *lpBuf, UINT nCount) {
  if (!IsStoring()) return FALSE;
  BYTE *pData = static_cast<BYTE *>(const_cast<void *>(lpBuf));
  DWORD nBytes = nCount;
  return ExchangeBlob(pszPropName, pData, nBytes);
}

UINT CXTPPropExchange::Read(LPCTSTR pszPropName, void *lpBuf, UINT nCount) {
  if (!IsLoading() || lpBuf == nullptr) return 0;
  BYTE *pData = static_cast<BYTE *>(lpBuf);
  DWORD nBytes = nCount;
  return ExchangeBlob(pszPropName, pData, nBytes) ? nBytes : 0;
}

// Bytes as letters, for storage that only keeps text: 'A' plus the low four
// bits, then 'A' plus the high four bits of each byte.
BOOL CXTPPropExchange::ExchangeBlob(LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes) {
  if (IsStoring()) {
    std::wstring text;
    text.reserve(static_cast<size_t>(nBytes) * 2);
    for (DWORD i = 0; i < nBytes; ++i) {
      text += static_cast<wchar_t>(L'A' + (pData[i] & 0x0F));
      text += static_cast<wchar_t>(L'A' + (pData[i] >> 4));
    }
    CString strText(text.c_str());
    return PX_String(this, pszPropName, strText, L"");
  }

  CString strText;
  PX_String(this, pszPropName, strText, L"");
  const int nLength = strText.GetLength();
  if (nLength == 0) return TRUE;
  if (nLength % 2 != 0) return FALSE;
  const DWORD nCount = static_cast<DWORD>(nLength / 2);
  // Only 'A' to 'P' are letters of this form: anything else is not a blob.
  for (int i = 0; i < nLength; ++i)
    if (strText[i] < L'A' || strText[i] > L'P') return FALSE;
  if (pData == nullptr) {
    pData = new BYTE[nCount];
  } else if (nBytes < nCount) {
    return FALSE;
  }
  for (DWORD i = 0; i < nCount; ++i)
    pData[i] = static_cast<BYTE>((strText[2 * i + 1] - L'A') * 16 + (strText[2 * i] - L'A'));
  nBytes = nCount;
  return TRUE;
}

BOOL CXTPPropExchange::ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass *&pClass,
                                            CRuntimeClass *pDefaultClass) {
  if (IsStoring()) {
    CString strName(pClass != nullptr ? pClass->m_lpszClassName : "");
    CString strDefault(pDefaultClass != nullptr ? pDefaultClass->m_lpszClassName : "");
    return PX_String(this, pszPropName, strName, strDefault);
  }
  CString strName;
  PX_String(this, pszPropName, strName, L"");
  if (strName.IsEmpty()) {
    pClass = pDefaultClass;
    return TRUE;
  }
  pClass = CRuntimeClass::FromName(static_cast<LPCWSTR>(strName));
  return pClass != nullptr;
}

BOOL CXTPPropExchange::ExchangeObjectInstance(CObject *&pObject, CRuntimeClass *pObjectRuntime) {
  if (IsStoring()) {
    CRuntimeClass *pClass = pObject->GetRuntimeClass();
    return PX_RuntimeClass(this, L"Class", pClass, pObjectRuntime);
  }
  pObject = nullptr;
  CRuntimeClass *pClass = nullptr;
  if (!PX_RuntimeClass(this, L"Class", pClass, pObjectRuntime) || pClass == nullptr) return FALSE;
  // A stored class name may name any class of the program: only one of the
  // asked family is ever created.
  if (pObjectRuntime != nullptr && !pClass->IsDerivedFrom(pObjectRuntime)) return FALSE;
  std::unique_ptr<CObject> pCreated(pClass->CreateObject());
  // An object of another kind than asked for is not kept (and not leaked).
  if (!pCreated || !pCreated->IsKindOf(pObjectRuntime)) return FALSE;
  pObject = pCreated.release();
  return TRUE;
}

CArchive *CXTPPropExchange::GetArchive(LPCTSTR pszPropName) {
  if (IsStoring()) {
    auto *pFile = new CMemFile(1024);
    return new CArchive(pFile, CArchive::store, 4096);
  }
  BYTE *pData = nullptr;
  DWORD nBytes = 0;
  if (!PX_Blob(this, pszPropName, pData, nBytes) || pData == nullptr || nBytes == 0) {
    delete[] pData;
    return nullptr;
  }
  auto *pFile = new CMemFile(pData, nBytes);
  return new CArchive(pFile, CArchive::load, 4096);
}

void CXTPPropExchange::ReleaseArchive(LPCTSTR pszPropName, CArchive *pArchive) {
  if (pArchive == nullptr) return;
  CMemFile *pFile = dynamic_cast<CMemFile *>(pArchive->GetFile());
  ASSERT(pFile != nullptr);
  if (IsStoring()) {
    pArchive->Flush();
    DWORD nBytes = static_cast<DWORD>(pFile->GetLength());
    BYTE *pData = pFile->Detach();
    PX_Blob(this, pszPropName, pData, nBytes);
    free(pData); // grown by the memory file
  } else {
    delete[] pFile->Detach(); // the blob read in GetArchive
  }
  pArchive->Close();
  delete pArchive;
  delete pFile;
}

CXTPPropExchangeEnumerator *CXTPPropExchange::GetEnumerator(LPCTSTR lpszSection) {
  return new CXTPPropExchangeEnumerator(this, lpszSection);
}

// --- Archive --------------------------------------------------------------

CXTPPropExchangeArchive::CXTPPropExchangeArchive(CArchive &ar) : m_ar(ar) {
  m_bLoading = ar.IsLoading();
}

BOOL CXTPPropExchangeArchive::ExchangeProp(LPCTSTR, VARTYPE vtProp, void *pvProp, const void *) {
  OnBeforeExchange();
  const bool bStoring = IsStoring() != FALSE;
  switch (vtProp) {
  case VT_I2:
    if (bStoring)
      m_ar << *static_cast<WORD *>(pvProp);
    else
      m_ar >> *static_cast<WORD *>(pvProp);
    return TRUE;
  case VT_I4:
  case VT_BOOL:
    if (bStoring)
      m_ar << *static_cast<DWORD *>(pvProp);
    else
      m_ar >> *static_cast<DWORD *>(pvProp);
    return TRUE;
  case VT_R4:
    if (bStoring)
      m_ar << *static_cast<float *>(pvProp);
    else
      m_ar >> *static_cast<float *>(pvProp);
    return TRUE;
  case VT_R8:
    if (bStoring)
      m_ar << *static_cast<double *>(pvProp);
    else
      m_ar >> *static_cast<double *>(pvProp);
    return TRUE;
  case VT_CY: {
    // The low unsigned word, then the high signed word.
    CY *pCy = static_cast<CY *>(pvProp);
    if (bStoring) {
      m_ar << static_cast<DWORD>(pCy->Lo) << static_cast<LONG>(pCy->Hi);
    } else {
      DWORD dwLo = 0;
      LONG lHi = 0;
      m_ar >> dwLo >> lHi;
      pCy->Lo = dwLo;
      pCy->Hi = lHi;
    }
    return TRUE;
  }
  case VT_BSTR:
  case VT_LPSTR:
    if (bStoring)
      m_ar.WriteCString(*static_cast<CString *>(pvProp));
    else
      m_ar.ReadCString(*static_cast<CString *>(pvProp));
    return TRUE;
  case VT_UI1:
    if (bStoring)
      m_ar << *static_cast<BYTE *>(pvProp);
    else
      m_ar >> *static_cast<BYTE *>(pvProp);
    return TRUE;
  case VT_EX_RECT:
  case VT_EX_SIZE: {
    LONG *pValues = static_cast<LONG *>(pvProp);
    const int nValues = vtProp == VT_EX_RECT ? 4 : 2;
    for (int i = 0; i < nValues; ++i) {
      if (bStoring)
        m_ar << pValues[i];
      else
        m_ar >> pValues[i];
    }
    return TRUE;
  }
  case VT_DATE:
    if (bStoring)
      m_ar << *static_cast<COleDateTime *>(pvProp);
    else
      m_ar >> *static_cast<COleDateTime *>(pvProp);
    return TRUE;
  case VT_VARIANT:
    if (bStoring)
      m_ar << *static_cast<COleVariant *>(pvProp);
    else
      m_ar >> *static_cast<COleVariant *>(pvProp);
    return TRUE;
  default:
    return FALSE;
  }
}

BOOL CXTPPropExchangeArchive::ExchangeBlob(LPCTSTR, BYTE *&pData, DWORD &nBytes) {
  OnBeforeExchange();
  if (IsStoring()) {
    m_ar.WriteCount(nBytes);
    m_ar.Write(pData, nBytes);
    return TRUE;
  }
  DWORD_PTR nStored = m_ar.ReadCount();
  if (nStored > MAXDWORD) return FALSE;
  const DWORD nCount = static_cast<DWORD>(nStored);
  if (pData != nullptr) {
    if (nBytes < nCount) return FALSE;
    if (m_ar.Read(pData, nCount) != nCount) return FALSE;
    nBytes = nCount;
    return TRUE;
  }
  // The count comes from the stream: grow the buffer only as bytes arrive,
  // so a damaged count fails at the stream's end rather than allocating it.
  std::vector<BYTE> buffer;
  while (buffer.size() < nCount) {
    const size_t nDone = buffer.size();
    const DWORD nStep = static_cast<DWORD>(std::min<size_t>(kBlobReadStep, nCount - nDone));
    buffer.resize(nDone + nStep);
    if (m_ar.Read(buffer.data() + nDone, nStep) != nStep) return FALSE;
  }
  pData = new BYTE[nCount > 0 ? nCount : 1];
  if (nCount > 0) memcpy(pData, buffer.data(), nCount);
  nBytes = nCount;
  return TRUE;
}

BOOL CXTPPropExchangeArchive::ExchangeRuntimeClass(LPCTSTR, CRuntimeClass *&pClass, CRuntimeClass *) {
  OnBeforeExchange();
  if (IsStoring()) {
    m_ar.WriteClass(pClass);
    return TRUE;
  }
  UINT nSchema = 0;
  pClass = m_ar.ReadClass(nullptr, &nSchema);
  m_nSchema = nSchema;
  return pClass != nullptr;
}

BOOL CXTPPropExchangeArchive::ExchangeObjectInstance(CObject *&pObject, CRuntimeClass *pObjectRuntime) {
  if (!CXTPPropExchange::ExchangeObjectInstance(pObject, pObjectRuntime)) return FALSE;
  // Entered in the object map as the archive enters objects it reads or
  // writes itself, so later references to it resolve.
  m_ar.MapObject(pObject);
  return TRUE;
}

CArchive *CXTPPropExchangeArchive::GetArchive(LPCTSTR) {
  return &m_ar;
}

void CXTPPropExchangeArchive::ReleaseArchive(LPCTSTR, CArchive *) {}

CXTPPropExchange *CXTPPropExchangeArchive::GetSection(LPCTSTR) {
  auto *pSection = new CXTPPropExchangeArchive(m_ar);
  InitSection(pSection);
  return pSection;
}

void CXTPPropExchangeArchive::WriteCount(DWORD dwCount) {
  m_ar.WriteCount(dwCount);
}

DWORD CXTPPropExchangeArchive::ReadCount() {
  DWORD_PTR nCount = m_ar.ReadCount();
  if (nCount > MAXDWORD) AfxThrowArchiveException(CArchiveException::badIndex);
  // Every counted element takes at least one byte: a larger count is damage,
  // and refusing it here keeps a loop over it from creating objects for
  // elements that are not there.
  if (nCount > m_ar.GetBytesLeft()) AfxThrowArchiveException(CArchiveException::badIndex);
  return static_cast<DWORD>(nCount);
}

BOOL CXTPPropExchangeArchive::Write(LPCTSTR, const void *lpBuf, UINT nCount) {
  m_ar.Write(lpBuf, nCount);
  return TRUE;
}

UINT CXTPPropExchangeArchive::Read(LPCTSTR, void *lpBuf, UINT nCount) {
  return m_ar.Read(lpBuf, nCount);
}

// --- Registry -------------------------------------------------------------

CXTPPropExchangeRegistry::CXTPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection)
    : m_hParentKey(hParentKey), m_strSectionName(lpszSection) {
  ASSERT(lpszSection != nullptr);
  m_bLoading = bLoading;
}

CXTPPropExchangeRegistry::~CXTPPropExchangeRegistry() {
  if (m_hSectionKey != nullptr) ::RegCloseKey(m_hSectionKey);
}

BOOL CXTPPropExchangeRegistry::OnBeforeExchange() {
  if (m_hParentKey == nullptr) return FALSE;
  if (m_bInitialized) return m_hSectionKey != nullptr;
  REGSAM samDesired = IsLoading() ? KEY_READ : KEY_WRITE;
  DWORD dwDisposition = 0;
  if (::RegCreateKeyExW(m_hParentKey, m_strSectionName, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired,
                        nullptr, &m_hSectionKey, &dwDisposition) != ERROR_SUCCESS)
    m_hSectionKey = nullptr;
  m_bInitialized = TRUE;
  return m_hSectionKey != nullptr;
}

CXTPPropExchange *CXTPPropExchangeRegistry::GetSection(LPCTSTR pszSection) {
  OnBeforeExchange();
  auto *pSection = new CXTPPropExchangeRegistry(IsLoading(), m_hSectionKey, pszSection);
  InitSection(pSection);
  return pSection;
}

void CXTPPropExchangeRegistry::EmptySection() {
  CXTPPropExchange::EmptySection();
  if (m_hSectionKey != nullptr) ::RegCloseKey(m_hSectionKey);
  m_hSectionKey = nullptr;
  if (m_hParentKey != nullptr) ::RegDeleteTreeW(m_hParentKey, m_strSectionName);
  m_bInitialized = FALSE;
}

BOOL CXTPPropExchangeRegistry::ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void *pvProp,
                                            const void *pvDefault) {
  return IsStoring() ? StoreProp(pszPropName, vtProp, pvProp, pvDefault)
                     : LoadProp(pszPropName, vtProp, pvProp, pvDefault);
}

BOOL CXTPPropExchangeRegistry::StoreProp(LPCTSTR pszPropName, VARTYPE vtProp, const void *pvProp,
                                         const void *pvDefault) {
  if (!OnBeforeExchange()) return FALSE;
  if (IsSamePropValue(vtProp, pvProp, pvDefault)) {
    // The reader falls back on the default; an older value must not win.
    if (!m_bEmptySection) ::RegDeleteValueW(m_hSectionKey, pszPropName);
    return FALSE;
  }
  LONG lResult;
  switch (vtProp) {
  case VT_I2:
  case VT_I4:
  case VT_BOOL:
  case VT_UI1: {
    // Zero-extended: a 16-bit -1 is stored as 0x0000FFFF.
    DWORD dwValue = 0;
    memcpy(&dwValue, pvProp, static_cast<size_t>(GetSizeOfVarType(vtProp)));
    lResult = ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_DWORD,
                               reinterpret_cast<const BYTE *>(&dwValue), sizeof(dwValue));
    break;
  }
  case VT_R4:
  case VT_R8:
    lResult = ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_BINARY, static_cast<const BYTE *>(pvProp),
                               static_cast<DWORD>(GetSizeOfVarType(vtProp)));
    break;
  case VT_BSTR:
  case VT_LPSTR:
  case VT_EX_RECT:
  case VT_EX_SIZE: {
    CString strValue;
    if (vtProp == VT_EX_RECT) {
      const RECT *pRect = static_cast<const RECT *>(pvProp);
      strValue.Format(kRectFormat, static_cast<int>(pRect->left), static_cast<int>(pRect->top),
                      static_cast<int>(pRect->right), static_cast<int>(pRect->bottom));
    } else if (vtProp == VT_EX_SIZE) {
      const SIZE *pSize = static_cast<const SIZE *>(pvProp);
      strValue.Format(kSizeFormat, static_cast<int>(pSize->cx), static_cast<int>(pSize->cy));
    } else {
      strValue = *static_cast<const CString *>(pvProp);
    }
    DWORD dwBytes = static_cast<DWORD>((strValue.GetLength() + 1) * sizeof(wchar_t));
    lResult = ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_SZ,
                               reinterpret_cast<const BYTE *>(static_cast<LPCWSTR>(strValue)), dwBytes);
    break;
  }
  default:
    return FALSE;
  }
  return lResult == ERROR_SUCCESS;
}

BOOL CXTPPropExchangeRegistry::QueryString(LPCTSTR pszPropName, CString &strValue) {
  DWORD dwType = 0, dwBytes = 0;
  if (::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, nullptr, &dwBytes) != ERROR_SUCCESS ||
      dwType != REG_SZ)
    return FALSE;
  // One character more than the value holds, zeroed: a value stored without
  // its terminator still ends.
  std::vector<wchar_t> buffer((dwBytes + sizeof(wchar_t) - 1) / sizeof(wchar_t) + 1, L'\0');
  DWORD dwRoom = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
  if (::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType,
                         reinterpret_cast<BYTE *>(buffer.data()), &dwRoom) != ERROR_SUCCESS ||
      dwType != REG_SZ)
    return FALSE;
  strValue = buffer.data();
  return TRUE;
}

BOOL CXTPPropExchangeRegistry::LoadProp(LPCTSTR pszPropName, VARTYPE vtProp, void *pvProp,
                                        const void *pvDefault) {
  if (!m_bUseDefaultOnLoad) pvDefault = nullptr;
  if (!OnBeforeExchange()) return CopyPropValue(vtProp, pvProp, pvDefault);
  switch (vtProp) {
  case VT_I2:
  case VT_I4:
  case VT_BOOL:
  case VT_UI1: {
    DWORD dwValue = 0, dwType = 0, dwBytes = sizeof(dwValue);
    if (::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, reinterpret_cast<BYTE *>(&dwValue),
                           &dwBytes) == ERROR_SUCCESS &&
        dwType == REG_DWORD && dwBytes == sizeof(dwValue)) {
      memcpy(pvProp, &dwValue, static_cast<size_t>(GetSizeOfVarType(vtProp)));
      return TRUE;
    }
    return CopyPropValue(vtProp, pvProp, pvDefault);
  }
  case VT_BSTR:
  case VT_LPSTR:
  case VT_EX_RECT:
  case VT_EX_SIZE: {
    CString strValue;
    if (!QueryString(pszPropName, strValue)) return CopyPropValue(vtProp, pvProp, pvDefault);
    if (vtProp == VT_EX_RECT) {
      int l = 0, t = 0, r = 0, b = 0;
      if (swscanf(strValue, kRectFormat, &l, &t, &r, &b) != 4)
        return CopyPropValue(vtProp, pvProp, pvDefault);
      *static_cast<RECT *>(pvProp) = RECT{l, t, r, b};
    } else if (vtProp == VT_EX_SIZE) {
      int cx = 0, cy = 0;
      if (swscanf(strValue, kSizeFormat, &cx, &cy) != 2) return CopyPropValue(vtProp, pvProp, pvDefault);
      *static_cast<SIZE *>(pvProp) = SIZE{cx, cy};
    } else {
      *static_cast<CString *>(pvProp) = strValue;
    }
    return TRUE;
  }
  default:
    return FALSE;
  }
}

BOOL CXTPPropExchangeRegistry::ExchangeBlob(LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes) {
  if (!OnBeforeExchange()) return FALSE;
  if (IsStoring()) {
    return ::RegSetValueExW(m_hSectionKey, pszPropName, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
  }
  DWORD dwType = 0, dwStored = 0;
  if (::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, nullptr, &dwStored) != ERROR_SUCCESS ||
      dwType != REG_BINARY)
    return FALSE;
  std::unique_ptr<BYTE[]> pAllocated;
  if (pData == nullptr) {
    pAllocated.reset(new BYTE[dwStored > 0 ? dwStored : 1]);
    nBytes = dwStored;
  } else if (dwStored > nBytes) {
    return FALSE;
  }
  BYTE *pTarget = pAllocated ? pAllocated.get() : pData;
  DWORD dwRead = dwStored;
  if (::RegQueryValueExW(m_hSectionKey, pszPropName, nullptr, &dwType, pTarget, &dwRead) != ERROR_SUCCESS ||
      dwType != REG_BINARY)
    return FALSE;
  if (pAllocated) pData = pAllocated.release();
  nBytes = dwRead;
  return TRUE;
}

// --- Enumerator -----------------------------------------------------------

CXTPPropExchangeEnumerator::CXTPPropExchangeEnumerator(CXTPPropExchange *pContainer, LPCTSTR lpszSection)
    : m_pContainer(pContainer), m_strSectionName(lpszSection) {}

POSITION CXTPPropExchangeEnumerator::GetPosition(DWORD dwCount, BOOL bCompactMode) {
  m_nCount = dwCount;
  if (!bCompactMode) {
    PX_DWord(m_pContainer, L"Count", m_nCount, 0);
  } else if (m_pContainer->IsStoring()) {
    m_pContainer->WriteCount(m_nCount);
  } else {
    m_nCount = m_pContainer->ReadCount();
  }
  return m_nCount > 0 ? reinterpret_cast<POSITION>(static_cast<INT_PTR>(1)) : nullptr;
}

CXTPPropExchange *CXTPPropExchangeEnumerator::GetNext(POSITION &pos) {
  INT_PTR nPosition = reinterpret_cast<INT_PTR>(pos);
  CString strSection;
  strSection.Format(L"%s%i", static_cast<LPCWSTR>(m_strSectionName), static_cast<int>(nPosition - 1));
  CXTPPropExchange *pSection = m_pContainer->GetSection(strSection);
  ++nPosition;
  pos = nPosition > static_cast<INT_PTR>(m_nCount) ? nullptr : reinterpret_cast<POSITION>(nPosition);
  return pSection;
}

// --- Exchange functions ---------------------------------------------------

BOOL PX_Long(CXTPPropExchange *pPX, LPCTSTR pszPropName, long &lValue) {
  return pPX->ExchangeProp(pszPropName, VT_I4, &lValue, nullptr);
}

BOOL PX_Long(CXTPPropExchange *pPX, LPCTSTR pszPropName, long &lValue, long lDefault) {
  return pPX->ExchangeProp(pszPropName, VT_I4, &lValue, &lDefault);
}

BOOL PX_Int(CXTPPropExchange *pPX, LPCTSTR pszPropName, int &nValue) {
  return pPX->ExchangeProp(pszPropName, VT_I4, &nValue, nullptr);
}

BOOL PX_Int(CXTPPropExchange *pPX, LPCTSTR pszPropName, int &nValue, int nDefault) {
  return pPX->ExchangeProp(pszPropName, VT_I4, &nValue, &nDefault);
}

BOOL PX_DWord(CXTPPropExchange *pPX, LPCTSTR pszPropName, DWORD &dwValue, DWORD dwDefault) {
  return pPX->ExchangeProp(pszPropName, VT_I4, &dwValue, &dwDefault);
}

BOOL PX_Bool(CXTPPropExchange *pPX, LPCTSTR pszPropName, BOOL &bValue, BOOL bDefault) {
  return pPX->ExchangeProp(pszPropName, VT_BOOL, &bValue, &bDefault);
}

BOOL PX_String(CXTPPropExchange *pPX, LPCTSTR pszPropName, CString &strValue) {
  return pPX->ExchangeProp(pszPropName, VT_LPSTR, &strValue, nullptr);
}

BOOL PX_String(CXTPPropExchange *pPX, LPCTSTR pszPropName, CString &strValue, LPCTSTR lpszDefault) {
  return pPX->ExchangeProp(pszPropName, VT_LPSTR, &strValue, lpszDefault);
}

BOOL PX_Size(CXTPPropExchange *pPX, LPCTSTR pszPropName, SIZE &szValue, SIZE szDefault) {
  return pPX->ExchangeProp(pszPropName, VT_EX_SIZE, &szValue, &szDefault);
}

BOOL PX_Rect(CXTPPropExchange *pPX, LPCTSTR pszPropName, RECT &rcValue, RECT rcDefault) {
  return pPX->ExchangeProp(pszPropName, VT_EX_RECT, &rcValue, &rcDefault);
}

BOOL PX_Blob(CXTPPropExchange *pPX, LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes) {
  return pPX->ExchangeBlob(pszPropName, pData, nBytes);
}

BOOL PX_RuntimeClass(CXTPPropExchange *pPX, LPCTSTR pszPropName, CRuntimeClass *&pClass,
                     CRuntimeClass *pDefaultClass) {
  return pPX->ExchangeRuntimeClass(pszPropName, pClass, pDefaultClass);
}

BOOL PX_Object(CXTPPropExchange *pPX, LPCTSTR pszPropName, CObject *pObject) {
  CArchive *pArchive = pPX->GetArchive(pszPropName);
  if (pArchive == nullptr) return FALSE;
  pObject->Serialize(*pArchive);
  pPX->ReleaseArchive(pszPropName, pArchive);
  return TRUE;
}

#include "OleVariant.h"

#include <cstring>

IMPLEMENT_DYNAMIC(COleException, CException)

BOOL COleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError == nullptr || nMaxError == 0) return FALSE;
  DWORD dwLength = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                    static_cast<DWORD>(m_sc), 0, lpszError, nMaxError, nullptr);
  if (dwLength == 0) _snwprintf(lpszError, nMaxError, L"0x%08lX", static_cast<unsigned long>(m_sc));
  lpszError[nMaxError - 1] = L'\0';
  return TRUE;
}

void AfxThrowOleException(SCODE sc) {
  throw new COleException(sc);
}

namespace {

// Copies into a target that must already be empty; on failure it stays
// empty and the failure is thrown.
void CopyInto(VARIANT *pTarget, const VARIANT &varSrc) {
  HRESULT hr = ::VariantCopy(pTarget, const_cast<VARIANT *>(&varSrc));
  if (FAILED(hr)) {
    ::VariantInit(pTarget);
    AfxThrowOleException(hr);
  }
}

BSTR AllocString(LPCWSTR lpszSrc) {
  BSTR bstr = ::SysAllocString(lpszSrc ? lpszSrc : L"");
  if (bstr == nullptr) AfxThrowMemoryException();
  return bstr;
}

// The bytes of the value for the types stored by value, or 0.
size_t ValueBytes(VARTYPE vt) {
  switch (vt) {
  case VT_UI1:
  case VT_I1:
    return 1;
  case VT_BOOL:
  case VT_I2:
  case VT_UI2:
    return 2;
  case VT_I4:
  case VT_UI4:
  case VT_INT:
  case VT_UINT:
  case VT_ERROR:
  case VT_R4:
    return 4;
  case VT_I8:
  case VT_UI8:
  case VT_CY:
  case VT_R8:
  case VT_DATE:
    return 8;
  default:
    return 0;
  }
}

} // namespace

COleVariant::COleVariant(const VARIANT &varSrc) {
  ::VariantInit(this);
  CopyInto(this, varSrc);
}

COleVariant::COleVariant(const COleVariant &varSrc) : COleVariant(static_cast<const VARIANT &>(varSrc)) {}

COleVariant::COleVariant(LPCWSTR lpszSrc) {
  ::VariantInit(this);
  bstrVal = AllocString(lpszSrc);
  vt = VT_BSTR;
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc) {
  ::VariantInit(this);
  switch (vtSrc) {
  case VT_BOOL:
    boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    break;
  case VT_I2:
    iVal = static_cast<SHORT>(lSrc);
    break;
  case VT_ERROR:
    scode = lSrc;
    break;
  default:
    vtSrc = VT_I4;
    lVal = lSrc;
    break;
  }
  vt = vtSrc;
}

COleVariant::COleVariant(double dblSrc) {
  ::VariantInit(this);
  vt = VT_R8;
  dblVal = dblSrc;
}

COleVariant::COleVariant(const COleDateTime &dateSrc) {
  ::VariantInit(this);
  vt = VT_DATE;
  date = dateSrc.m_dt;
}

COleVariant::~COleVariant() {
  ::VariantClear(this);
}

void COleVariant::Clear() {
  ::VariantClear(this);
}

COleVariant &COleVariant::operator=(const VARIANT &varSrc) {
  if (&varSrc != this) {
    Clear();
    CopyInto(this, varSrc);
  }
  return *this;
}

COleVariant &COleVariant::operator=(const COleVariant &varSrc) {
  return *this = static_cast<const VARIANT &>(varSrc);
}

COleVariant &COleVariant::operator=(LPCWSTR lpszSrc) {
  BSTR bstr = AllocString(lpszSrc);
  Clear();
  bstrVal = bstr;
  vt = VT_BSTR;
  return *this;
}

bool COleVariant::operator==(const VARIANT &varSrc) const {
  if (&varSrc == this) return true;
  if (vt != varSrc.vt) return false;
  switch (vt) {
  case VT_EMPTY:
  case VT_NULL:
    return true;
  case VT_BSTR: {
    UINT nBytes = ::SysStringByteLen(bstrVal);
    return nBytes == ::SysStringByteLen(varSrc.bstrVal) &&
           (nBytes == 0 || memcmp(bstrVal, varSrc.bstrVal, nBytes) == 0);
  }
  default: {
    size_t nBytes = ValueBytes(vt);
    if (nBytes != 0) return memcmp(&llVal, &varSrc.llVal, nBytes) == 0;
    return byref == varSrc.byref; // arrays, interfaces and references
  }
  }
}

CArchive &operator<<(CArchive &ar, const COleVariant &var) {
  ar << static_cast<WORD>(var.vt);
  if (var.vt == VT_EMPTY || var.vt == VT_NULL) return ar;
  if (var.vt == VT_BSTR) return ar << CString(var.bstrVal ? var.bstrVal : L"");
  size_t nBytes = ValueBytes(var.vt);
  if (nBytes == 0) AfxThrowNotSupportedException();
  ar.Write(&var.llVal, static_cast<UINT>(nBytes));
  return ar;
}

CArchive &operator>>(CArchive &ar, COleVariant &var) {
  WORD wType = 0;
  ar >> wType;
  const VARTYPE vtLoaded = static_cast<VARTYPE>(wType);
  var.Clear();
  if (vtLoaded == VT_EMPTY || vtLoaded == VT_NULL) {
    var.vt = vtLoaded;
    return ar;
  }
  if (vtLoaded == VT_BSTR) {
    CString str;
    ar >> str;
    var = static_cast<LPCWSTR>(str);
    return ar;
  }
  size_t nBytes = ValueBytes(vtLoaded);
  if (nBytes == 0) AfxThrowArchiveException(CArchiveException::badSchema);
  LONGLONG llValue = 0;
  if (ar.Read(&llValue, static_cast<UINT>(nBytes)) != nBytes)
    AfxThrowArchiveException(CArchiveException::endOfFile);
  var.llVal = llValue;
  var.vt = vtLoaded;
  return ar;
}

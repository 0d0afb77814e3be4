// COleVariant: an automation VARIANT that owns what it holds (its string,
// array or interface) and frees it when it goes.
#pragma once

#include "FrameworkCore.h"
#include "OleDateTime.h"

#include <oleauto.h>

// A failed automation call; m_sc is its result code.
class COleException : public CException {
  DECLARE_DYNAMIC(COleException)
public:
  explicit COleException(SCODE sc = E_FAIL) : m_sc(sc) {}
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

  SCODE m_sc;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);

class COleVariant : public tagVARIANT {
public:
  COleVariant() { ::VariantInit(this); }
  COleVariant(const VARIANT &varSrc);     // NOLINT: a copy of what the source holds
  COleVariant(const COleVariant &varSrc); // NOLINT
  COleVariant(LPCWSTR lpszSrc);           // NOLINT: VT_BSTR
  COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
  COleVariant(double dblSrc);               // NOLINT: VT_R8
  COleVariant(const COleDateTime &dateSrc); // NOLINT: VT_DATE
  ~COleVariant();

  // Copies throw COleException when the value cannot be copied (out of
  // memory, a type the platform does not copy); the target is then empty.
  COleVariant &operator=(const VARIANT &varSrc);
  COleVariant &operator=(const COleVariant &varSrc);
  COleVariant &operator=(LPCWSTR lpszSrc);

  // Same type and same value; strings by their bytes, arrays and interfaces
  // by identity.
  bool operator==(const VARIANT &varSrc) const;
  bool operator!=(const VARIANT &varSrc) const { return !(*this == varSrc); }

  void Clear();
};

// Archive form: the 16-bit type, then the value: VT_BOOL, VT_I2 and VT_UI2
// 16 bits; VT_UI1 and VT_I1 a byte; VT_I4, VT_UI4, VT_INT, VT_UINT and
// VT_ERROR 32 bits; VT_I8, VT_UI8 and VT_CY 64 bits; VT_R4 a float; VT_R8
// and VT_DATE a double; VT_BSTR a string; VT_EMPTY and VT_NULL nothing.
// Other types cannot be stored (CNotSupportedException) and a stored type
// outside the list fails to load (CArchiveException::badSchema).
CArchive &operator<<(CArchive &ar, const COleVariant &var);
CArchive &operator>>(CArchive &ar, COleVariant &var);

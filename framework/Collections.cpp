#include "Collections.h"

void SerializeElements(CArchive &ar, CString *pElements, INT_PTR nCount) {
  for (INT_PTR i = 0; i < nCount; ++i) {
    if (ar.IsStoring())
      ar << pElements[i];
    else
      ar >> pElements[i];
  }
}

void SerializeElements(CArchive &ar, CObject **pElements, INT_PTR nCount) {
  for (INT_PTR i = 0; i < nCount; ++i) {
    if (ar.IsStoring())
      ar << pElements[i];
    else
      ar >> pElements[i];
  }
}

UINT AfxHashString(LPCWSTR lpsz) {
  // FNV-1a over the UTF-16 code units.
  UINT nHash = 2166136261u;
  if (lpsz != nullptr)
    for (; *lpsz != L'\0'; ++lpsz) nHash = (nHash ^ static_cast<UINT>(*lpsz)) * 16777619u;
  return nHash;
}

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CUIntArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)

#include "OleDataObject.h"

#include <ole2.h>

#include <cstring>

namespace {

FORMATETC GlobalFormat(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (lpFormatEtc) return *lpFormatEtc;
  return FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A block of our own with the bytes of one that another party still owns.
HGLOBAL CopyGlobal(HGLOBAL hSource) {
  const SIZE_T size = ::GlobalSize(hSource);
  const void *pSource = ::GlobalLock(hSource);
  if (pSource == nullptr) return nullptr;
  HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (void *pCopy = hCopy ? ::GlobalLock(hCopy) : nullptr) {
    std::memcpy(pCopy, pSource, size);
    ::GlobalUnlock(hCopy);
  } else if (hCopy) {
    ::GlobalFree(hCopy);
    hCopy = nullptr;
  }
  ::GlobalUnlock(hSource);
  return hCopy;
}

} // namespace

void COleDataObject::Attach(IDataObject *lpDataObject, BOOL bAutoRelease) {
  Release();
  m_lpDataObject = lpDataObject;
  m_bAutoRelease = bAutoRelease;
}

IDataObject *COleDataObject::Detach() {
  IDataObject *lpDataObject = m_lpDataObject;
  m_lpDataObject = nullptr;
  return lpDataObject;
}

void COleDataObject::Release() {
  if (m_lpDataObject && m_bAutoRelease) m_lpDataObject->Release();
  m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard() {
  IDataObject *lpDataObject = nullptr;
  if (FAILED(::OleGetClipboard(&lpDataObject)) || lpDataObject == nullptr) return FALSE;
  Attach(lpDataObject, TRUE);
  return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (m_lpDataObject == nullptr) return FALSE;
  FORMATETC format = GlobalFormat(cfFormat, lpFormatEtc);
  return m_lpDataObject->QueryGetData(&format) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
  if (m_lpDataObject == nullptr) return nullptr;
  FORMATETC format = GlobalFormat(cfFormat, lpFormatEtc);
  STGMEDIUM medium = {};
  if (FAILED(m_lpDataObject->GetData(&format, &medium))) return nullptr;
  if (medium.tymed != TYMED_HGLOBAL || medium.hGlobal == nullptr) {
    ::ReleaseStgMedium(&medium);
    return nullptr;
  }
  // A medium with a release object is still the source's: take a copy.
  if (medium.pUnkForRelease == nullptr) return medium.hGlobal;
  HGLOBAL hCopy = CopyGlobal(medium.hGlobal);
  ::ReleaseStgMedium(&medium);
  return hCopy;
}

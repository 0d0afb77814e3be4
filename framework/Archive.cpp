#include "Archive.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;
const WORD wUnicodeMarker = 0xFFFE;
const UINT nMaxClassNameLength = 64;
// Nested objects are read recursively; a damaged file must not be able to
// exhaust the stack.
const int nMaxObjectDepth = 1000;
// Strings are read in pieces, so a damaged length cannot make us allocate
// far more memory than the file holds.
const UINT nStringChunk = 32768;

} // namespace

CArchive::CArchive(CFile *pFile, UINT nMode, int nBufSize, void *)
    : m_pFile(pFile), m_nMode(nMode), m_buffer(static_cast<size_t>(std::max(nBufSize, 128))) {
  m_loadArray.push_back(LoadEntry{nullptr, nullptr, 0});
}

CArchive::~CArchive() {
  if (m_pFile == nullptr || (m_nMode & bNoFlushOnDelete) != 0) return;
  try {
    Close();
  } catch (CException *e) {
    e->Delete();
  }
}

UINT CArchive::GetObjectSchema() {
  UINT nSchema = m_nObjectSchema;
  m_nObjectSchema = static_cast<UINT>(-1);
  return nSchema;
}

void CArchive::Throw(int cause) const {
  AfxThrowArchiveException(cause, m_pFile != nullptr ? m_pFile->GetFilePath().GetString() : nullptr);
}

void CArchive::CheckLoading() const {
  if (m_pFile == nullptr) Throw(CArchiveException::genericException);
  if (!IsLoading()) Throw(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const {
  if (m_pFile == nullptr) Throw(CArchiveException::genericException);
  if (!IsStoring()) Throw(CArchiveException::readOnly);
}

void CArchive::FillBuffer() {
  m_nBufPos = 0;
  m_nBufEnd = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
}

ULONGLONG CArchive::GetBytesLeft() const {
  if (m_pFile == nullptr || !IsLoading()) return 0;
  const ULONGLONG nLength = m_pFile->GetLength(), nPosition = m_pFile->GetPosition();
  return (nLength > nPosition ? nLength - nPosition : 0) + (m_nBufEnd - m_nBufPos);
}

UINT CArchive::Read(void *lpBuf, UINT nMax) {
  CheckLoading();
  BYTE *pOut = static_cast<BYTE *>(lpBuf);
  UINT nDone = 0;
  while (nDone < nMax) {
    if (m_nBufPos == m_nBufEnd) {
      // Large reads go straight to the file once the read-ahead is used up.
      if (nMax - nDone >= m_buffer.size()) {
        UINT nRead = m_pFile->Read(pOut + nDone, nMax - nDone);
        nDone += nRead;
        if (nRead == 0) break;
        continue;
      }
      FillBuffer();
      if (m_nBufEnd == 0) break;
    }
    size_t nCopy = std::min<size_t>(nMax - nDone, m_nBufEnd - m_nBufPos);
    std::memcpy(pOut + nDone, m_buffer.data() + m_nBufPos, nCopy);
    m_nBufPos += nCopy;
    nDone += static_cast<UINT>(nCopy);
  }
  return nDone;
}

void CArchive::ReadExact(void *lpBuf, UINT nCount) {
  if (Read(lpBuf, nCount) != nCount) Throw(CArchiveException::endOfFile);
}

void CArchive::Write(const void *lpBuf, UINT nMax) {
  CheckStoring();
  if (nMax == 0) return;
  if (m_nBufPos + nMax > m_buffer.size()) {
    Flush();
    if (nMax >= m_buffer.size()) {
      m_pFile->Write(lpBuf, nMax);
      return;
    }
  }
  std::memcpy(m_buffer.data() + m_nBufPos, lpBuf, nMax);
  m_nBufPos += nMax;
}

void CArchive::Flush() {
  if (m_pFile == nullptr) return;
  if (IsStoring()) {
    size_t nPending = m_nBufPos;
    m_nBufPos = 0;
    if (nPending > 0) m_pFile->Write(m_buffer.data(), static_cast<UINT>(nPending));
    return;
  }
  // Give back what was read ahead, so the file stands where the archive does.
  if (m_nBufEnd > m_nBufPos) m_pFile->Seek(-static_cast<LONGLONG>(m_nBufEnd - m_nBufPos), CFile::current);
  m_nBufPos = m_nBufEnd = 0;
}

void CArchive::Close() {
  if (m_pFile == nullptr) return;
  try {
    Flush();
  } catch (...) {
    m_pFile = nullptr;
    throw;
  }
  m_pFile = nullptr;
}

void CArchive::Abort() {
  m_nBufPos = m_nBufEnd = 0;
  m_pFile = nullptr;
}

CArchive &CArchive::operator>>(bool &b) {
  BYTE by;
  ReadValue(by);
  b = by != 0;
  return *this;
}

CArchive &CArchive::operator>>(int &i) {
  LONG l;
  ReadValue(l);
  i = l;
  return *this;
}

CArchive &CArchive::operator>>(UINT &u) {
  DWORD dw;
  ReadValue(dw);
  u = dw;
  return *this;
}

// Counts and string lengths: a WORD, escaping to a DWORD and then a QWORD
// when the value does not fit.
void CArchive::WriteCount(DWORD_PTR dwCount) {
  if (dwCount < 0xFFFF) {
    *this << static_cast<WORD>(dwCount);
    return;
  }
  *this << static_cast<WORD>(0xFFFF);
  if (dwCount < 0xFFFFFFFF) {
    *this << static_cast<DWORD>(dwCount);
    return;
  }
  *this << static_cast<DWORD>(0xFFFFFFFF) << static_cast<ULONGLONG>(dwCount);
}

DWORD_PTR CArchive::ReadCount() {
  WORD wCount;
  *this >> wCount;
  if (wCount != 0xFFFF) return wCount;
  DWORD dwCount;
  *this >> dwCount;
  if (dwCount != 0xFFFFFFFF) return dwCount;
  ULONGLONG qwCount;
  *this >> qwCount;
  return static_cast<DWORD_PTR>(qwCount);
}

void CArchive::WriteCString(const CString &str) {
  *this << static_cast<BYTE>(0xFF) << wUnicodeMarker;
  ULONGLONG nLength = static_cast<ULONGLONG>(str.GetLength());
  if (nLength < 0xFF) {
    *this << static_cast<BYTE>(nLength);
  } else if (nLength < 0xFFFE) {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
  } else if (nLength < 0xFFFFFFFF) {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(nLength);
  } else {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(0xFFFFFFFF)
          << nLength;
  }
  Write(str.GetString(), static_cast<UINT>(nLength * sizeof(wchar_t)));
}

void CArchive::ReadCString(CString &str) {
  bool bUnicode = false;
  ULONGLONG nLength = 0;
  for (;;) {
    BYTE bLength;
    *this >> bLength;
    if (bLength < 0xFF) {
      nLength = bLength;
      break;
    }
    WORD wLength;
    *this >> wLength;
    if (wLength == wUnicodeMarker) {
      // The marker may appear once, before the real length.
      if (bUnicode) Throw(CArchiveException::badIndex);
      bUnicode = true;
      continue;
    }
    if (wLength < 0xFFFF) {
      nLength = wLength;
      break;
    }
    DWORD dwLength;
    *this >> dwLength;
    nLength = dwLength;
    if (dwLength == 0xFFFFFFFF) *this >> nLength;
    break;
  }
  if (nLength > 0x7FFFFFFF / sizeof(wchar_t)) Throw(CArchiveException::badIndex);
  std::wstring wide;
  std::string narrow;
  for (ULONGLONG nDone = 0; nDone < nLength;) {
    UINT nChunk = static_cast<UINT>(std::min<ULONGLONG>(nLength - nDone, nStringChunk));
    if (bUnicode) {
      wide.resize(wide.size() + nChunk);
      ReadExact(&wide[static_cast<size_t>(nDone)], nChunk * static_cast<UINT>(sizeof(wchar_t)));
    } else {
      narrow.resize(narrow.size() + nChunk);
      ReadExact(&narrow[static_cast<size_t>(nDone)], nChunk);
    }
    nDone += nChunk;
  }
  str = bUnicode ? CString(wide) : AfxFromAnsi(narrow.data(), static_cast<int>(narrow.size()));
}

void CArchive::AddStoreMapping(const void *pKey) {
  DWORD dwIndex = static_cast<DWORD>(m_storeMap.size()) + 1;
  if (dwIndex > nMaxMapCount) Throw(CArchiveException::badIndex);
  m_storeMap.emplace(pKey, dwIndex);
}

void CArchive::AddLoadEntry(const LoadEntry &entry) {
  if (m_loadArray.size() > nMaxMapCount) Throw(CArchiveException::badIndex);
  m_loadArray.push_back(entry);
}

void CArchive::WriteTag(DWORD dwIndex, DWORD dwClassFlag) {
  if (dwIndex < wBigObjectTag)
    *this << static_cast<WORD>(dwIndex | (dwClassFlag ? wClassTag : 0));
  else
    *this << wBigObjectTag << (dwIndex | dwClassFlag);
}

void CArchive::WriteClass(const CRuntimeClass *pClassRef) {
  CheckStoring();
  // Only classes declared serializable can be created again when loading.
  if (pClassRef == nullptr || pClassRef->m_wSchema == 0xFFFF) Throw(CArchiveException::badClass);
  auto found = m_storeMap.find(pClassRef);
  if (found != m_storeMap.end()) {
    WriteTag(found->second, dwBigClassTag);
    return;
  }
  WORD nLength = static_cast<WORD>(std::strlen(pClassRef->m_lpszClassName));
  *this << wNewClassTag << static_cast<WORD>(pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) << nLength;
  Write(pClassRef->m_lpszClassName, nLength);
  AddStoreMapping(pClassRef);
}

void CArchive::WriteObject(const CObject *pOb) {
  CheckStoring();
  if (pOb == nullptr) {
    *this << wNullTag;
    return;
  }
  auto found = m_storeMap.find(pOb);
  if (found != m_storeMap.end()) {
    WriteTag(found->second, 0);
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  AddStoreMapping(pOb);
  const_cast<CObject *>(pOb)->Serialize(*this);
}

void CArchive::MapObject(const CObject *pOb) {
  if (IsStoring()) {
    if (pOb != nullptr && m_storeMap.find(pOb) == m_storeMap.end()) AddStoreMapping(pOb);
    return;
  }
  if (pOb != nullptr)
    AddLoadEntry(LoadEntry{const_cast<CObject *>(pOb), pOb->GetRuntimeClass(), static_cast<UINT>(-1)});
}

void CArchive::SerializeClass(const CRuntimeClass *pClassRef) {
  if (IsStoring())
    WriteClass(pClassRef);
  else
    ReadClass(pClassRef);
}

CRuntimeClass *CArchive::LoadClassInfo(UINT &nSchema) {
  WORD wSchema, nLength;
  *this >> wSchema >> nLength;
  if (nLength == 0 || nLength > nMaxClassNameLength) Throw(CArchiveException::badClass);
  char name[nMaxClassNameLength + 1];
  ReadExact(name, nLength);
  name[nLength] = '\0';
  if (std::strlen(name) != nLength) Throw(CArchiveException::badClass);
  CRuntimeClass *pClassRef = CRuntimeClass::FromName(name);
  if (pClassRef == nullptr || pClassRef->m_wSchema == 0xFFFF) Throw(CArchiveException::badClass);
  // A class that does not declare itself versionable reads only its own schema.
  if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != wSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
    Throw(CArchiveException::badSchema);
  nSchema = wSchema;
  return pClassRef;
}

CRuntimeClass *CArchive::ReadClass(const CRuntimeClass *pClassRefRequested, UINT *pSchema, DWORD *pObTag) {
  CheckLoading();
  WORD wTag;
  *this >> wTag;
  DWORD dwObTag;
  if (wTag == wBigObjectTag)
    *this >> dwObTag;
  else
    dwObTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

  CRuntimeClass *pClassRef;
  UINT nSchema;
  if (wTag == wNewClassTag) {
    pClassRef = LoadClassInfo(nSchema);
    AddLoadEntry(LoadEntry{nullptr, pClassRef, nSchema});
  } else if ((dwObTag & dwBigClassTag) == 0) {
    // A null or an object reference, not a class.
    if (pObTag == nullptr) Throw(CArchiveException::badIndex);
    *pObTag = dwObTag;
    return nullptr;
  } else {
    DWORD dwIndex = dwObTag & ~dwBigClassTag;
    if (dwIndex == 0 || dwIndex >= m_loadArray.size()) Throw(CArchiveException::badIndex);
    const LoadEntry &entry = m_loadArray[dwIndex];
    if (entry.pObject != nullptr || entry.pClass == nullptr) Throw(CArchiveException::badIndex);
    pClassRef = entry.pClass;
    nSchema = entry.nSchema;
  }
  if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested))
    Throw(CArchiveException::badClass);
  if (pSchema != nullptr) *pSchema = nSchema;
  if (pObTag != nullptr) *pObTag = dwObTag;
  return pClassRef;
}

CObject *CArchive::ResolveReference(DWORD dwObTag, const CRuntimeClass *pClassRefRequested) const {
  if (dwObTag == 0) return nullptr;
  if (dwObTag >= m_loadArray.size()) Throw(CArchiveException::badIndex);
  CObject *pOb = m_loadArray[dwObTag].pObject;
  if (pOb == nullptr) Throw(CArchiveException::badIndex); // the index names a class
  if (pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested)) Throw(CArchiveException::badClass);
  return pOb;
}

CObject *CArchive::ReadObject(const CRuntimeClass *pClassRefRequested) {
  UINT nSchema = 0;
  DWORD dwObTag = 0;
  CRuntimeClass *pClassRef = ReadClass(pClassRefRequested, &nSchema, &dwObTag);
  if (pClassRef == nullptr) return ResolveReference(dwObTag, pClassRefRequested);

  if (m_nDepth >= nMaxObjectDepth) Throw(CArchiveException::genericException);
  CObject *pOb = pClassRef->CreateObject();
  if (pOb == nullptr) Throw(CArchiveException::badClass);
  // Registered before its data is read, so references back to it resolve.
  // Should its data be damaged, the object is not deleted: objects read
  // meanwhile may already point to it.
  AddLoadEntry(LoadEntry{pOb, pClassRef, nSchema});
  UINT nSchemaOuter = m_nObjectSchema;
  m_nObjectSchema = nSchema;
  ++m_nDepth;
  try {
    pOb->Serialize(*this);
  } catch (...) {
    --m_nDepth;
    m_nObjectSchema = nSchemaOuter;
    throw;
  }
  --m_nDepth;
  m_nObjectSchema = nSchemaOuter;
  return pOb;
}

CObject *AfxReadObject(CArchive &ar, const CRuntimeClass *pClassRefRequested) {
  return ar.ReadObject(pClassRefRequested);
}

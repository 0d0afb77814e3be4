// CArchive: the binary stream documents are stored in and loaded from.
//
// The format is the classic one: little-endian numbers; strings with a length
// prefix (0xFF escapes to longer lengths, 0xFFFE marks UTF-16 text); objects
// as a class tag followed by the object's own data, where the first use of a
// class writes 0xFFFF, the schema and the class name, later uses write
// 0x8000 | index, and an object written a second time is stored as its index
// only, so loading shares it again.
#pragma once

#include "CString.h"
#include "Exception.h"
#include "File.h"
#include "Object.h"

#include <unordered_map>
#include <vector>

class CDocument;

class CArchive {
public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  CArchive(CFile *pFile, UINT nMode, int nBufSize = 4096, void *lpBuf = nullptr);
  ~CArchive();
  CArchive(const CArchive &) = delete;
  CArchive &operator=(const CArchive &) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  BOOL IsByteSwapping() const { return FALSE; }
  BOOL IsBufferEmpty() const { return m_nBufPos == m_nBufEnd; }
  CFile *GetFile() const { return m_pFile; }
  // Loading: the bytes not read yet (read ahead or still in the file), so a
  // stored count can be checked against what could possibly follow it.
  ULONGLONG GetBytesLeft() const;

  // The schema of the object being loaded, as stored in the archive. Returns
  // it once; later calls return (UINT)-1 until the next object.
  UINT GetObjectSchema();
  void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

  // Raw bytes. Read returns how many bytes there were; the typed extraction
  // operators throw CArchiveException::endOfFile instead.
  UINT Read(void *lpBuf, UINT nMax);
  void Write(const void *lpBuf, UINT nMax);
  void Flush();
  void Close();
  void Abort();

  void WriteObject(const CObject *pOb);
  CObject *ReadObject(const CRuntimeClass *pClassRefRequested);
  void WriteClass(const CRuntimeClass *pClassRef);
  CRuntimeClass *ReadClass(const CRuntimeClass *pClassRefRequested = nullptr, UINT *pSchema = nullptr,
                           DWORD *pObTag = nullptr);
  void SerializeClass(const CRuntimeClass *pClassRef);
  // Makes an object known without storing it, so later references to it are
  // written (or resolved) as references.
  void MapObject(const CObject *pOb);

  void WriteCount(DWORD_PTR dwCount);
  DWORD_PTR ReadCount();
  // Strings in the length-prefixed format of the operators below.
  void WriteCString(const CString &str);
  void ReadCString(CString &str);

  CArchive &operator<<(BYTE by) { return WriteValue(by); }
  CArchive &operator<<(char ch) { return WriteValue(ch); }
  CArchive &operator<<(wchar_t ch) { return WriteValue(ch); }
  CArchive &operator<<(bool b) { return WriteValue(static_cast<BYTE>(b ? 1 : 0)); }
  CArchive &operator<<(WORD w) { return WriteValue(w); }
  CArchive &operator<<(short s) { return WriteValue(s); }
  CArchive &operator<<(int i) { return WriteValue(static_cast<LONG>(i)); }
  CArchive &operator<<(UINT u) { return WriteValue(static_cast<DWORD>(u)); }
  CArchive &operator<<(LONG l) { return WriteValue(l); }
  CArchive &operator<<(DWORD dw) { return WriteValue(dw); }
  CArchive &operator<<(LONGLONG ll) { return WriteValue(ll); }
  CArchive &operator<<(ULONGLONG ull) { return WriteValue(ull); }
  CArchive &operator<<(float f) { return WriteValue(f); }
  CArchive &operator<<(double d) { return WriteValue(d); }
  // Text literals are stored as strings (rather than as a bool, which is
  // what a pointer would otherwise turn into).
  CArchive &operator<<(LPCWSTR lpsz) {
    WriteCString(CString(lpsz));
    return *this;
  }
  CArchive &operator<<(LPCSTR lpsz) {
    WriteCString(CString(lpsz));
    return *this;
  }

  CArchive &operator>>(BYTE &by) { return ReadValue(by); }
  CArchive &operator>>(char &ch) { return ReadValue(ch); }
  CArchive &operator>>(wchar_t &ch) { return ReadValue(ch); }
  CArchive &operator>>(bool &b);
  CArchive &operator>>(WORD &w) { return ReadValue(w); }
  CArchive &operator>>(short &s) { return ReadValue(s); }
  CArchive &operator>>(int &i);
  CArchive &operator>>(UINT &u);
  CArchive &operator>>(LONG &l) { return ReadValue(l); }
  CArchive &operator>>(DWORD &dw) { return ReadValue(dw); }
  CArchive &operator>>(LONGLONG &ll) { return ReadValue(ll); }
  CArchive &operator>>(ULONGLONG &ull) { return ReadValue(ull); }
  CArchive &operator>>(float &f) { return ReadValue(f); }
  CArchive &operator>>(double &d) { return ReadValue(d); }

  CDocument *m_pDocument = nullptr;

private:
  struct LoadEntry {
    CObject *pObject;      // null for a class entry
    CRuntimeClass *pClass; // null for the null entry at index 0
    UINT nSchema;
  };

  template <typename T> CArchive &WriteValue(const T &value) {
    Write(&value, sizeof value);
    return *this;
  }
  template <typename T> CArchive &ReadValue(T &value) {
    ReadExact(&value, sizeof value);
    return *this;
  }
  void ReadExact(void *lpBuf, UINT nCount);
  void FillBuffer();
  void CheckLoading() const;
  void CheckStoring() const;
  void WriteTag(DWORD dwIndex, DWORD dwClassFlag);
  void AddStoreMapping(const void *pKey);
  void AddLoadEntry(const LoadEntry &entry);
  CRuntimeClass *LoadClassInfo(UINT &nSchema);
  CObject *ResolveReference(DWORD dwObTag, const CRuntimeClass *pClassRefRequested) const;
  [[noreturn]] void Throw(int cause) const;

  CFile *m_pFile;
  UINT m_nMode;
  std::vector<BYTE> m_buffer;
  size_t m_nBufPos = 0; // loading: next unread byte; storing: bytes waiting
  size_t m_nBufEnd = 0; // loading: end of the bytes read ahead
  UINT m_nObjectSchema = static_cast<UINT>(-1);
  int m_nDepth = 0;
  std::unordered_map<const void *, DWORD> m_storeMap; // objects and classes written so far
  std::vector<LoadEntry> m_loadArray;                 // objects and classes read so far
};

inline CArchive &operator<<(CArchive &ar, const CObject *pOb) {
  ar.WriteObject(pOb);
  return ar;
}
inline CArchive &operator>>(CArchive &ar, CObject *&pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}
inline CArchive &operator>>(CArchive &ar, const CObject *&pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}
inline CArchive &operator<<(CArchive &ar, const CString &str) {
  ar.WriteCString(str);
  return ar;
}
inline CArchive &operator>>(CArchive &ar, CString &str) {
  ar.ReadCString(str);
  return ar;
}
inline CArchive &operator<<(CArchive &ar, const POINT &pt) {
  return ar << pt.x << pt.y;
}
inline CArchive &operator>>(CArchive &ar, POINT &pt) {
  return ar >> pt.x >> pt.y;
}
inline CArchive &operator<<(CArchive &ar, const SIZE &size) {
  return ar << size.cx << size.cy;
}
inline CArchive &operator>>(CArchive &ar, SIZE &size) {
  return ar >> size.cx >> size.cy;
}
inline CArchive &operator<<(CArchive &ar, const RECT &rect) {
  return ar << rect.left << rect.top << rect.right << rect.bottom;
}
inline CArchive &operator>>(CArchive &ar, RECT &rect) {
  return ar >> rect.left >> rect.top >> rect.right >> rect.bottom;
}

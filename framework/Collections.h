// The container classes: arrays, doubly linked lists and hash maps, with the
// POSITION-based iteration the program's code uses. A POSITION of a list
// stays valid while other elements are added or removed; removing the element
// just returned by GetNext / GetNextAssoc is safe during iteration.
#pragma once

#include "Archive.h"
#include "CString.h"
#include "Exception.h"
#include "Object.h"

#include <algorithm>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

struct CPositionTag {};
typedef CPositionTag *POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)))

// Element serialization used by the containers. Plain data is stored as its
// bytes; strings and object pointers have their own formats. Other types
// cannot be stored and throw CNotSupportedException.
void SerializeElements(CArchive &ar, CString *pElements, INT_PTR nCount);
void SerializeElements(CArchive &ar, CObject **pElements, INT_PTR nCount);

template <class TYPE> void SerializeElements(CArchive &ar, TYPE *pElements, INT_PTR nCount) {
  if constexpr (std::is_trivially_copyable_v<TYPE>) {
    UINT nBytes = static_cast<UINT>(nCount * static_cast<INT_PTR>(sizeof(TYPE)));
    if (ar.IsStoring())
      ar.Write(pElements, nBytes);
    else if (ar.Read(pElements, nBytes) != nBytes)
      AfxThrowArchiveException(CArchiveException::endOfFile);
  } else {
    (void)ar, (void)pElements, (void)nCount;
    AfxThrowNotSupportedException();
  }
}

// Hash of a map key. Strings hash by their characters, everything else by
// value; specialize for other key types.
UINT AfxHashString(LPCWSTR lpsz);

template <class ARG_KEY> inline UINT HashKey(ARG_KEY key) {
  using Key = std::decay_t<ARG_KEY>;
  if constexpr (std::is_pointer_v<Key>) {
    ULONGLONG value = reinterpret_cast<UINT_PTR>(key);
    return static_cast<UINT>((value >> 4) ^ (value >> 32));
  } else if constexpr (std::is_integral_v<Key> || std::is_enum_v<Key>) {
    ULONGLONG value = static_cast<ULONGLONG>(key);
    return static_cast<UINT>(value ^ (value >> 32));
  } else {
    return static_cast<UINT>(std::hash<Key>()(key));
  }
}
template <> inline UINT HashKey<LPCWSTR>(LPCWSTR key) {
  return AfxHashString(key);
}
template <> inline UINT HashKey<const CString &>(const CString &key) {
  return AfxHashString(key);
}
template <> inline UINT HashKey<CString>(CString key) {
  return AfxHashString(key);
}

// Arrays

template <class TYPE, class ARG_TYPE = const TYPE &> class CArray : public CObject {
public:
  CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_data.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }

  // New elements are value-initialized (zero for plain data). nGrowBy sets
  // how many elements to reserve beyond the size when the array must grow.
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize < 0) AfxThrowInvalidArgException();
    size_t nSize = static_cast<size_t>(nNewSize);
    if (nSize > m_data.capacity()) m_data.reserve(std::max(nSize, m_data.capacity() + GrowBy()));
    m_data.resize(nSize);
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  const TYPE &GetAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  TYPE &GetAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Checked(nIndex)] = newElement; }
  TYPE &ElementAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  const TYPE &ElementAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  const TYPE &operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE &operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
  const TYPE *GetData() const { return m_data.data(); }
  TYPE *GetData() { return m_data.data(); }
  TYPE *begin() { return m_data.data(); }
  TYPE *end() { return m_data.data() + m_data.size(); }
  const TYPE *begin() const { return m_data.data(); }
  const TYPE *end() const { return m_data.data() + m_data.size(); }

  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) AfxThrowInvalidArgException();
    TYPE copy(newElement); // newElement may live in this array
    if (nIndex >= GetSize()) SetSize(nIndex + 1);
    m_data[static_cast<size_t>(nIndex)] = std::move(copy);
  }
  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = GetSize();
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  INT_PTR Append(const CArray &src) {
    INT_PTR nOldSize = GetSize();
    std::vector<TYPE> copy(src.m_data); // src may be this array
    m_data.insert(m_data.end(), copy.begin(), copy.end());
    return nOldSize;
  }
  void Copy(const CArray &src) {
    if (&src != this) m_data = src.m_data;
  }
  // Inserting past the end first grows the array to nIndex.
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
    TYPE copy(newElement);
    if (nIndex > GetSize()) SetSize(nIndex);
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), copy);
  }
  void InsertAt(INT_PTR nStartIndex, const CArray *pNewArray) {
    if (nStartIndex < 0 || pNewArray == nullptr) AfxThrowInvalidArgException();
    std::vector<TYPE> copy(pNewArray->m_data);
    if (nStartIndex > GetSize()) SetSize(nStartIndex);
    m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
  }
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize()) AfxThrowInvalidArgException();
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

  void Serialize(CArchive &ar) override {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
      ar.WriteCount(static_cast<DWORD_PTR>(GetSize()));
      SerializeElements(ar, m_data.data(), GetSize());
      return;
    }
    DWORD_PTR nCount = ar.ReadCount();
    RemoveAll();
    // Grown piece by piece, so a damaged count runs into the end of the file
    // before it can take all memory.
    for (DWORD_PTR nDone = 0; nDone < nCount;) {
      INT_PTR nChunk = static_cast<INT_PTR>(std::min<DWORD_PTR>(nCount - nDone, 4096));
      SetSize(static_cast<INT_PTR>(nDone) + nChunk);
      SerializeElements(ar, m_data.data() + nDone, nChunk);
      nDone += static_cast<DWORD_PTR>(nChunk);
    }
  }

private:
  size_t Checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize()) AfxThrowInvalidArgException();
    return static_cast<size_t>(nIndex);
  }
  size_t GrowBy() const {
    if (m_nGrowBy > 0) return static_cast<size_t>(m_nGrowBy);
    return std::max<size_t>(4, std::min<size_t>(1024, m_data.size() / 8));
  }

  std::vector<TYPE> m_data;
  INT_PTR m_nGrowBy = -1;
};

// Lists

template <class TYPE, class ARG_TYPE = const TYPE &> class CList : public CObject {
  struct CNode {
    CNode *pNext;
    CNode *pPrev;
    TYPE data;
  };

public:
  explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE &GetHead() { return NonEmpty(m_pNodeHead)->data; }
  const TYPE &GetHead() const { return NonEmpty(m_pNodeHead)->data; }
  TYPE &GetTail() { return NonEmpty(m_pNodeTail)->data; }
  const TYPE &GetTail() const { return NonEmpty(m_pNodeTail)->data; }

  TYPE RemoveHead() {
    CNode *pNode = NonEmpty(m_pNodeHead);
    TYPE value(std::move(pNode->data));
    Unlink(pNode);
    return value;
  }
  TYPE RemoveTail() {
    CNode *pNode = NonEmpty(m_pNodeTail);
    TYPE value(std::move(pNode->data));
    Unlink(pNode);
    return value;
  }
  POSITION AddHead(ARG_TYPE newElement) { return ToPos(Link(newElement, nullptr, m_pNodeHead)); }
  POSITION AddTail(ARG_TYPE newElement) { return ToPos(Link(newElement, m_pNodeTail, nullptr)); }
  void AddHead(const CList *pNewList) {
    for (POSITION pos = pNewList->GetTailPosition(); pos != nullptr;) AddHead(pNewList->GetPrev(pos));
  }
  void AddTail(const CList *pNewList) {
    for (POSITION pos = pNewList->GetHeadPosition(); pos != nullptr;) AddTail(pNewList->GetNext(pos));
  }
  void RemoveAll() {
    while (m_pNodeHead != nullptr) Unlink(m_pNodeHead);
  }

  POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
  POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }
  TYPE &GetNext(POSITION &rPosition) {
    CNode *pNode = FromPos(rPosition);
    rPosition = ToPos(pNode->pNext);
    return pNode->data;
  }
  const TYPE &GetNext(POSITION &rPosition) const {
    CNode *pNode = FromPos(rPosition);
    rPosition = ToPos(pNode->pNext);
    return pNode->data;
  }
  TYPE &GetPrev(POSITION &rPosition) {
    CNode *pNode = FromPos(rPosition);
    rPosition = ToPos(pNode->pPrev);
    return pNode->data;
  }
  const TYPE &GetPrev(POSITION &rPosition) const {
    CNode *pNode = FromPos(rPosition);
    rPosition = ToPos(pNode->pPrev);
    return pNode->data;
  }
  TYPE &GetAt(POSITION position) { return FromPos(position)->data; }
  const TYPE &GetAt(POSITION position) const { return FromPos(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { FromPos(pos)->data = newElement; }
  void RemoveAt(POSITION position) { Unlink(FromPos(position)); }
  // A null position inserts at the head (before) or at the tail (after).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (position == nullptr) return AddHead(newElement);
    CNode *pNode = FromPos(position);
    return ToPos(Link(newElement, pNode->pPrev, pNode));
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (position == nullptr) return AddTail(newElement);
    CNode *pNode = FromPos(position);
    return ToPos(Link(newElement, pNode, pNode->pNext));
  }

  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    CNode *pNode = startAfter == nullptr ? m_pNodeHead : FromPos(startAfter)->pNext;
    for (; pNode != nullptr; pNode = pNode->pNext)
      if (pNode->data == searchValue) return ToPos(pNode);
    return nullptr;
  }
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode *pNode = m_pNodeHead;
    while (nIndex-- > 0) pNode = pNode->pNext;
    return ToPos(pNode);
  }

  void Serialize(CArchive &ar) override {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
      ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
      for (CNode *pNode = m_pNodeHead; pNode != nullptr; pNode = pNode->pNext)
        SerializeElements(ar, &pNode->data, 1);
      return;
    }
    RemoveAll();
    for (DWORD_PTR nCount = ar.ReadCount(); nCount > 0; --nCount) {
      TYPE newData{};
      SerializeElements(ar, &newData, 1);
      AddTail(newData);
    }
  }

private:
  static POSITION ToPos(CNode *pNode) { return reinterpret_cast<POSITION>(pNode); }
  static CNode *FromPos(POSITION pos) {
    if (pos == nullptr) AfxThrowInvalidArgException();
    return reinterpret_cast<CNode *>(pos);
  }
  static CNode *NonEmpty(CNode *pNode) {
    if (pNode == nullptr) AfxThrowInvalidArgException();
    return pNode;
  }
  CNode *Link(ARG_TYPE newElement, CNode *pPrev, CNode *pNext) {
    CNode *pNode = new CNode{pNext, pPrev, TYPE(newElement)};
    (pPrev != nullptr ? pPrev->pNext : m_pNodeHead) = pNode;
    (pNext != nullptr ? pNext->pPrev : m_pNodeTail) = pNode;
    ++m_nCount;
    return pNode;
  }
  void Unlink(CNode *pNode) {
    (pNode->pPrev != nullptr ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
    (pNode->pNext != nullptr ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
    --m_nCount;
    delete pNode;
  }

  CNode *m_pNodeHead = nullptr;
  CNode *m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
};

// Maps

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject {
  struct CAssoc {
    CAssoc *pNext;
    UINT nHashValue;
    KEY key;
    VALUE value;
  };

public:
  explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  UINT GetHashTableSize() const { return static_cast<UINT>(m_buckets.size()); }

  BOOL Lookup(ARG_KEY key, VALUE &rValue) const {
    const CAssoc *pAssoc = Find(key, HashKey<ARG_KEY>(key));
    if (pAssoc == nullptr) return FALSE;
    rValue = pAssoc->value;
    return TRUE;
  }
  VALUE &operator[](ARG_KEY key) {
    UINT nHash = HashKey<ARG_KEY>(key);
    CAssoc *pAssoc = Find(key, nHash);
    return pAssoc != nullptr ? pAssoc->value : NewAssoc(key, nHash)->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key) {
    if (m_buckets.empty()) return FALSE;
    UINT nHash = HashKey<ARG_KEY>(key);
    for (CAssoc **ppLink = &m_buckets[nHash % m_buckets.size()]; *ppLink != nullptr;
         ppLink = &(*ppLink)->pNext) {
      CAssoc *pAssoc = *ppLink;
      if (pAssoc->nHashValue == nHash && pAssoc->key == key) {
        *ppLink = pAssoc->pNext;
        delete pAssoc;
        --m_nCount;
        return TRUE;
      }
    }
    return FALSE;
  }
  void RemoveAll() {
    for (CAssoc *&pBucket : m_buckets)
      while (pBucket != nullptr) {
        CAssoc *pAssoc = pBucket;
        pBucket = pAssoc->pNext;
        delete pAssoc;
      }
    m_nCount = 0;
  }
  void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE) {
    (void)bAllocNow;
    Rehash(std::max<UINT>(nHashSize, 1));
  }

  // Iteration order is unspecified. Keys added during an iteration may or
  // may not be visited.
  POSITION GetStartPosition() const { return ToPos(FirstFrom(0)); }
  void GetNextAssoc(POSITION &rNextPosition, KEY &rKey, VALUE &rValue) const {
    if (rNextPosition == nullptr) AfxThrowInvalidArgException();
    CAssoc *pAssoc = reinterpret_cast<CAssoc *>(rNextPosition);
    rKey = pAssoc->key;
    rValue = pAssoc->value;
    rNextPosition = ToPos(pAssoc->pNext != nullptr ? pAssoc->pNext
                                                   : FirstFrom(pAssoc->nHashValue % m_buckets.size() + 1));
  }

  void Serialize(CArchive &ar) override {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
      ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
      for (CAssoc *pBucket : m_buckets)
        for (CAssoc *pAssoc = pBucket; pAssoc != nullptr; pAssoc = pAssoc->pNext) {
          SerializeElements(ar, &pAssoc->key, 1);
          SerializeElements(ar, &pAssoc->value, 1);
        }
      return;
    }
    RemoveAll();
    for (DWORD_PTR nCount = ar.ReadCount(); nCount > 0; --nCount) {
      KEY newKey{};
      VALUE newValue{};
      SerializeElements(ar, &newKey, 1);
      SerializeElements(ar, &newValue, 1);
      SetAt(newKey, newValue);
    }
  }

private:
  static POSITION ToPos(CAssoc *pAssoc) { return reinterpret_cast<POSITION>(pAssoc); }
  CAssoc *FirstFrom(size_t nBucket) const {
    for (; nBucket < m_buckets.size(); ++nBucket)
      if (m_buckets[nBucket] != nullptr) return m_buckets[nBucket];
    return nullptr;
  }
  CAssoc *Find(ARG_KEY key, UINT nHash) const {
    if (m_buckets.empty()) return nullptr;
    for (CAssoc *pAssoc = m_buckets[nHash % m_buckets.size()]; pAssoc != nullptr; pAssoc = pAssoc->pNext)
      if (pAssoc->nHashValue == nHash && pAssoc->key == key) return pAssoc;
    return nullptr;
  }
  CAssoc *NewAssoc(ARG_KEY key, UINT nHash) {
    if (m_buckets.empty()) Rehash(17);
    // Keep chains short as the map fills.
    if (static_cast<size_t>(m_nCount) >= m_buckets.size() * 2)
      Rehash(static_cast<UINT>(m_buckets.size() * 4 + 1));
    CAssoc *&pBucket = m_buckets[nHash % m_buckets.size()];
    pBucket = new CAssoc{pBucket, nHash, KEY(key), VALUE()};
    ++m_nCount;
    return pBucket;
  }
  void Rehash(UINT nHashSize) {
    std::vector<CAssoc *> buckets(nHashSize, nullptr);
    for (CAssoc *pBucket : m_buckets)
      while (pBucket != nullptr) {
        CAssoc *pAssoc = pBucket;
        pBucket = pAssoc->pNext;
        CAssoc *&pTarget = buckets[pAssoc->nHashValue % nHashSize];
        pAssoc->pNext = pTarget;
        pTarget = pAssoc;
      }
    m_buckets.swap(buckets);
  }

  std::vector<CAssoc *> m_buckets;
  INT_PTR m_nCount = 0;
};

// The named containers of the class layer. Pointers cannot be stored in an
// archive, so the pointer containers store nothing.

class CByteArray : public CArray<BYTE, BYTE> {
  DECLARE_SERIAL(CByteArray)
};
class CWordArray : public CArray<WORD, WORD> {
  DECLARE_SERIAL(CWordArray)
};
class CDWordArray : public CArray<DWORD, DWORD> {
  DECLARE_SERIAL(CDWordArray)
};
class CUIntArray : public CArray<UINT, UINT> {
  DECLARE_SERIAL(CUIntArray)
};
class CStringArray : public CArray<CString, const CString &> {
  DECLARE_SERIAL(CStringArray)
};
class CObArray : public CArray<CObject *, CObject *> {
  DECLARE_SERIAL(CObArray)
};
class CPtrArray : public CArray<void *, void *> {
  DECLARE_DYNAMIC(CPtrArray)
public:
  void Serialize(CArchive &) override {}
};

class CObList : public CList<CObject *, CObject *> {
  DECLARE_SERIAL(CObList)
};
class CStringList : public CList<CString, const CString &> {
  DECLARE_SERIAL(CStringList)
};
class CPtrList : public CList<void *, void *> {
  DECLARE_DYNAMIC(CPtrList)
public:
  void Serialize(CArchive &) override {}
};

class CMapStringToString : public CMap<CString, LPCWSTR, CString, LPCWSTR> {
  DECLARE_SERIAL(CMapStringToString)
};
class CMapStringToOb : public CMap<CString, LPCWSTR, CObject *, CObject *> {
  DECLARE_SERIAL(CMapStringToOb)
};
class CMapWordToOb : public CMap<WORD, WORD, CObject *, CObject *> {
  DECLARE_SERIAL(CMapWordToOb)
};
class CMapStringToPtr : public CMap<CString, LPCWSTR, void *, void *> {
  DECLARE_DYNAMIC(CMapStringToPtr)
public:
  void Serialize(CArchive &) override {}
};
class CMapPtrToPtr : public CMap<void *, void *, void *, void *> {
  DECLARE_DYNAMIC(CMapPtrToPtr)
public:
  void Serialize(CArchive &) override {}
};
class CMapWordToPtr : public CMap<WORD, WORD, void *, void *> {
  DECLARE_DYNAMIC(CMapWordToPtr)
public:
  void Serialize(CArchive &) override {}
};
class CMapPtrToWord : public CMap<void *, void *, WORD, WORD> {
  DECLARE_DYNAMIC(CMapPtrToWord)
public:
  void Serialize(CArchive &) override {}
};

#include <gtest/gtest.h>

#include "Archive.h"
#include "Collections.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace archivetest {

using Bytes = std::vector<BYTE>;

class CNode : public CObject {
  DECLARE_SERIAL(CNode)
public:
  void Serialize(CArchive &ar) override {
    if (ar.IsStoring()) {
      ar << m_name << m_value << m_pPeer;
    } else {
      ar >> m_name >> m_value >> m_pPeer;
    }
  }
  CString m_name;
  int m_value = 0;
  CNode *m_pPeer = nullptr;
};
IMPLEMENT_SERIAL(CNode, CObject, 1)

// Version 2 added a field; version 1 files are still read.
class CVersioned : public CObject {
  DECLARE_SERIAL(CVersioned)
public:
  void Serialize(CArchive &ar) override {
    if (ar.IsStoring()) {
      ar << m_first;
      if ((RUNTIME_CLASS(CVersioned)->m_wSchema & ~VERSIONABLE_SCHEMA) >= 2) ar << m_second;
      return;
    }
    m_loadedSchema = ar.GetObjectSchema();
    ar >> m_first;
    if (m_loadedSchema >= 2) ar >> m_second;
  }
  LONG m_first = 0;
  double m_second = 0;
  UINT m_loadedSchema = 0;
};
IMPLEMENT_SERIAL(CVersioned, CObject, 2 | VERSIONABLE_SCHEMA)

class CFixed : public CObject {
  DECLARE_SERIAL(CFixed)
};
IMPLEMENT_SERIAL(CFixed, CObject, 2)

class CUnstorable : public CObject {
  DECLARE_DYNCREATE(CUnstorable)
};
IMPLEMENT_DYNCREATE(CUnstorable, CObject)

Bytes Store(const std::function<void(CArchive &)> &write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  Bytes bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  if (!bytes.empty()) file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

void Load(Bytes bytes, const std::function<void(CArchive &)> &read) {
  CMemFile file(bytes.empty() ? nullptr : bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  read(ar);
}

// The cause of the CArchiveException a load throws; -1 when it succeeds.
int LoadFailure(const Bytes &bytes, const std::function<void(CArchive &)> &read) {
  try {
    Load(bytes, read);
  } catch (CArchiveException *e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

void ReadNode(CArchive &ar) {
  ar.ReadObject(RUNTIME_CLASS(CNode));
}

// Two nodes pointing at each other, the first written twice.
Bytes StoreCycle() {
  CNode a, b;
  a.m_name = L"alpha";
  a.m_value = 1;
  a.m_pPeer = &b;
  b.m_name = L"beta";
  b.m_value = 2;
  b.m_pPeer = &a;
  return Store([&](CArchive &ar) { ar << &a << &a << static_cast<CObject *>(nullptr); });
}

} // namespace archivetest

using namespace archivetest;

TEST(Archive, ScalarsRoundTrip) {
  Bytes bytes = Store([](CArchive &ar) {
    ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0xBEEF) << static_cast<LONG>(-7) << 0xDEADBEEFul << -3
       << 4000000000u << static_cast<short>(-2) << 1.5f << 2.25 << -(1LL << 40) << (1ULL << 63) << true
       << L'\u20ac';
  });
  EXPECT_EQ(bytes.size(), 1u + 2 + 4 + 4 + 4 + 4 + 2 + 4 + 8 + 8 + 8 + 1 + 2);
  Load(bytes, [](CArchive &ar) {
    BYTE by;
    WORD w;
    LONG l;
    DWORD dw;
    int i;
    UINT u;
    short s;
    float f;
    double d;
    LONGLONG ll;
    ULONGLONG ull;
    bool b;
    wchar_t ch;
    ar >> by >> w >> l >> dw >> i >> u >> s >> f >> d >> ll >> ull >> b >> ch;
    EXPECT_EQ(by, 0xAB);
    EXPECT_EQ(w, 0xBEEF);
    EXPECT_EQ(l, -7);
    EXPECT_EQ(dw, 0xDEADBEEFul);
    EXPECT_EQ(i, -3);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 2.25);
    EXPECT_EQ(ll, -(1LL << 40));
    EXPECT_EQ(ull, 1ULL << 63);
    EXPECT_TRUE(b);
    EXPECT_EQ(ch, L'\u20ac');
    EXPECT_TRUE(ar.IsBufferEmpty());
  });
}

TEST(Archive, StringsUseTheLengthPrefixFormat) {
  Bytes small = Store([](CArchive &ar) { ar << CString(L"ab"); });
  EXPECT_EQ(small, (Bytes{0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0}));

  struct Case {
    int length;
    size_t prefix; // bytes before the characters
  } cases[] = {{0, 4}, {254, 4}, {255, 6}, {65533, 6}, {65534, 10}, {70000, 10}};
  for (const Case &c : cases) {
    CString text(L'x', c.length);
    if (c.length > 0) text.SetAt(c.length - 1, L'\u00e9');
    Bytes bytes = Store([&](CArchive &ar) { ar << text; });
    EXPECT_EQ(bytes.size(), c.prefix + 2 * static_cast<size_t>(c.length)) << c.length;
    CString back;
    Load(bytes, [&](CArchive &ar) { ar >> back; });
    EXPECT_EQ(back, text) << c.length;
  }
}

TEST(Archive, ReadsNarrowStringsWithoutTheUnicodeMarker) {
  Bytes bytes = Store([](CArchive &ar) {
    ar << static_cast<BYTE>(3);
    ar.Write("abc", 3);
  });
  CString text;
  Load(bytes, [&](CArchive &ar) { ar >> text; });
  EXPECT_EQ(text, L"abc");
}

TEST(Archive, CountsEscapeToWiderFields) {
  const DWORD_PTR counts[] = {0, 0xFFFE, 0xFFFF, 0x10000, 0xFFFFFFFE, 0xFFFFFFFF, 0x123456789ULL};
  for (DWORD_PTR count : counts) {
    Bytes bytes = Store([&](CArchive &ar) { ar.WriteCount(count); });
    Load(bytes, [&](CArchive &ar) { EXPECT_EQ(ar.ReadCount(), count); });
  }
}

TEST(Archive, ObjectWrittenTwiceLoadsAsOneAndCyclesResolve) {
  Bytes bytes = StoreCycle();
  Load(bytes, [](CArchive &ar) {
    CNode *pFirst = nullptr, *pSecond = nullptr;
    CObject *pNull = reinterpret_cast<CObject *>(1);
    ar >> pFirst >> pSecond >> pNull;
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_EQ(pNull, nullptr);
    EXPECT_EQ(pFirst->m_name, L"alpha");
    ASSERT_NE(pFirst->m_pPeer, nullptr);
    EXPECT_EQ(pFirst->m_pPeer->m_name, L"beta");
    EXPECT_EQ(pFirst->m_pPeer->m_pPeer, pFirst);
    delete pFirst->m_pPeer;
    delete pFirst;
  });
}

TEST(Archive, ClassesAreNamedOnceThenReferenced) {
  CNode a, b;
  Bytes bytes = Store([&](CArchive &ar) { ar << &a << &b; });
  // new-class tag, schema, name length, name, object data, then class tag 0x8001
  const Bytes head = {0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00, 'C', 'N', 'o', 'd', 'e'};
  ASSERT_GT(bytes.size(), head.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
  size_t second = head.size() + 4 + 4 + 2; // empty name, value, null peer
  ASSERT_GE(bytes.size(), second + 2);
  EXPECT_EQ(bytes[second], 0x01);
  EXPECT_EQ(bytes[second + 1], 0x80);
}

TEST(Archive, VersionableSchemaLetsTheLoaderSeeTheStoredSchema) {
  CRuntimeClass *pClass = RUNTIME_CLASS(CVersioned);
  CVersioned old;
  old.m_first = 42;
  pClass->m_wSchema = 1 | VERSIONABLE_SCHEMA; // as an older program wrote it
  Bytes bytes = Store([&](CArchive &ar) { ar << &old; });
  pClass->m_wSchema = 2 | VERSIONABLE_SCHEMA;
  Load(bytes, [](CArchive &ar) {
    CVersioned *pLoaded = nullptr;
    ar >> pLoaded;
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_loadedSchema, 1u);
    EXPECT_EQ(pLoaded->m_first, 42);
    delete pLoaded;
  });
  EXPECT_EQ(LoadFailure(bytes, [](CArchive &ar) { ar.ReadObject(RUNTIME_CLASS(CVersioned)); }), -1);
}

TEST(Archive, SchemaMismatchOfAFixedClassIsRejected) {
  CRuntimeClass *pClass = RUNTIME_CLASS(CFixed);
  CFixed old;
  pClass->m_wSchema = 1;
  Bytes bytes = Store([&](CArchive &ar) { ar << &old; });
  pClass->m_wSchema = 2;
  EXPECT_EQ(LoadFailure(bytes, [](CArchive &ar) { ar.ReadObject(nullptr); }), CArchiveException::badSchema);
}

TEST(Archive, BadTagsAreRejectedWithTheirCause) {
  struct Case {
    const char *what;
    std::function<void(CArchive &)> write;
    int cause;
  } cases[] = {
      {"class index never defined", [](CArchive &ar) { ar << static_cast<WORD>(0x8005); },
       CArchiveException::badIndex},
      {"object index never defined", [](CArchive &ar) { ar << static_cast<WORD>(3); },
       CArchiveException::badIndex},
      {"big class index never defined", [](CArchive &ar) { ar << static_cast<WORD>(0x7FFF) << 0x80000009ul; },
       CArchiveException::badIndex},
      {"unknown class name",
       [](CArchive &ar) {
         ar << static_cast<WORD>(0xFFFF) << static_cast<WORD>(1) << static_cast<WORD>(7);
         ar.Write("CNoSuch", 7);
       },
       CArchiveException::badClass},
      {"class name too long",
       [](CArchive &ar) {
         ar << static_cast<WORD>(0xFFFF) << static_cast<WORD>(1) << static_cast<WORD>(500);
       },
       CArchiveException::badClass},
      {"class that cannot be stored",
       [](CArchive &ar) {
         ar << static_cast<WORD>(0xFFFF) << static_cast<WORD>(0xFFFF) << static_cast<WORD>(11);
         ar.Write("CUnstorable", 11);
       },
       CArchiveException::badClass},
      {"another class than requested",
       [](CArchive &ar) {
         CVersioned other;
         ar << &other;
       },
       CArchiveException::badClass},
      {"class reference naming an object",
       [](CArchive &ar) {
         CNode node;
         ar << &node << static_cast<WORD>(0x8002);
       },
       CArchiveException::badIndex},
      {"object reference naming a class",
       [](CArchive &ar) {
         CNode node;
         ar << &node << static_cast<WORD>(1);
       },
       CArchiveException::badIndex},
  };
  for (const Case &c : cases) {
    Bytes bytes = Store(c.write);
    EXPECT_EQ(LoadFailure(bytes,
                          [](CArchive &ar) {
                            ReadNode(ar);
                            ReadNode(ar);
                          }),
              c.cause)
        << c.what;
  }
}

TEST(Archive, StoringAnUnserializableObjectFails) {
  CUnstorable object;
  try {
    Store([&](CArchive &ar) { ar << &object; });
    ADD_FAILURE() << "stored";
  } catch (CArchiveException *e) {
    EXPECT_EQ(e->m_cause, CArchiveException::badClass);
    e->Delete();
  }
}

TEST(Archive, EveryTruncationEndsInEndOfFile) {
  Bytes whole = StoreCycle();
  for (size_t length = 0; length < whole.size(); ++length) {
    Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(LoadFailure(part,
                          [](CArchive &ar) {
                            CObject *p;
                            ar >> p >> p >> p;
                          }),
              CArchiveException::endOfFile)
        << "cut at " << length;
  }
  Bytes text = Store([](CArchive &ar) { ar << CString(L'y', 300); });
  text.resize(text.size() - 1);
  EXPECT_EQ(LoadFailure(text,
                        [](CArchive &ar) {
                          CString s;
                          ar >> s;
                        }),
            CArchiveException::endOfFile);
}

TEST(Archive, DamagedInputThrowsAndNeverCrashes) {
  Bytes whole = StoreCycle();
  std::mt19937 random(20261209);
  int failures = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes bytes;
    if (round % 2 == 0) {
      bytes = whole; // a good archive with a few bytes changed
      for (int flips = 1 + static_cast<int>(random() % 3); flips > 0; --flips)
        bytes[random() % bytes.size()] = static_cast<BYTE>(random());
    } else {
      bytes.resize(random() % 64);
      for (BYTE &b : bytes) b = static_cast<BYTE>(random());
    }
    try {
      Load(bytes, [](CArchive &ar) {
        CObject *p;
        ar >> p >> p;
        CString s;
        ar >> s;
      });
    } catch (CException *e) {
      ++failures;
      e->Delete();
    }
  }
  EXPECT_GT(failures, 1500);
}

TEST(Archive, DeeplyNestedObjectsAreRefusedBeforeTheStackRunsOut) {
  // Each node's peer is a new node: 100000 levels of nesting.
  Bytes bytes = Store([](CArchive &ar) {
    ar.WriteClass(RUNTIME_CLASS(CNode));
    for (int level = 0; level < 100000; ++level) ar << CString() << level << static_cast<WORD>(0x8001);
  });
  EXPECT_EQ(LoadFailure(bytes, ReadNode), CArchiveException::genericException);
}

TEST(Archive, HugeStringLengthFailsWithoutExhaustingMemory) {
  Bytes bytes = Store([](CArchive &ar) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE) << static_cast<BYTE>(0xFF)
       << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(0x3FFFFFFF) << L'a';
  });
  EXPECT_EQ(LoadFailure(bytes,
                        [](CArchive &ar) {
                          CString s;
                          ar >> s;
                        }),
            CArchiveException::endOfFile);
}

TEST(Archive, ContainersStoreTheirElementsAndShareObjects) {
  CNode shared;
  shared.m_name = L"shared";
  CObArray array;
  array.Add(&shared);
  array.Add(nullptr);
  array.Add(&shared);
  CStringList names;
  names.AddTail(CString(L"one"));
  names.AddTail(CString(L"two"));
  CDWordArray numbers;
  numbers.Add(7);
  numbers.Add(0xFFFFFFFF);
  CMapStringToString map;
  map[L"k"] = L"v";
  Bytes bytes = Store([&](CArchive &ar) {
    array.Serialize(ar);
    names.Serialize(ar);
    numbers.Serialize(ar);
    map.Serialize(ar);
  });
  CObArray array2;
  CStringList names2;
  CDWordArray numbers2;
  CMapStringToString map2;
  Load(bytes, [&](CArchive &ar) {
    array2.Serialize(ar);
    names2.Serialize(ar);
    numbers2.Serialize(ar);
    map2.Serialize(ar);
  });
  ASSERT_EQ(array2.GetSize(), 3);
  EXPECT_EQ(array2[0], array2[2]);
  EXPECT_EQ(array2[1], nullptr);
  EXPECT_EQ(static_cast<CNode *>(array2[0])->m_name, L"shared");
  delete array2[0];
  EXPECT_EQ(names2.GetTail(), L"two");
  EXPECT_EQ(names2.GetCount(), 2);
  EXPECT_EQ(numbers2[1], 0xFFFFFFFFul);
  CString value;
  EXPECT_TRUE(map2.Lookup(L"k", value));
  EXPECT_EQ(value, L"v");
}

TEST(Archive, ModeMismatchAndFileRestore) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  EXPECT_THROW(
      {
        BYTE b;
        ar >> b;
      },
      CArchiveException *);
  ar << static_cast<DWORD>(1) << static_cast<DWORD>(2);
  ar.Close();
  file.SeekToBegin();
  CArchive reader(&file, CArchive::load);
  DWORD first;
  reader >> first;
  reader.Flush(); // hands back what was read ahead
  EXPECT_EQ(file.GetPosition(), 4u);
}

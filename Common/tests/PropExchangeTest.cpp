// Settings saved and restored through property exchange: the registry
// flavour by name, the archive flavour by position.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "File.h"
#include "XTPPropExchange.h"

// The largest single allocation, so a test can see that a count read from a
// stream did not decide how much memory was taken.
static size_t g_nLargestAllocation = 0;

// The replacements below pair malloc with free themselves.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void *operator new(size_t nSize) {
  if (nSize > g_nLargestAllocation) g_nLargestAllocation = nSize;
  void *p = std::malloc(nSize != 0 ? nSize : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void *operator new[](size_t nSize) {
  return operator new(nSize);
}
void operator delete(void *p) noexcept {
  std::free(p);
}
void operator delete[](void *p) noexcept {
  std::free(p);
}
void operator delete(void *p, size_t) noexcept {
  std::free(p);
}
void operator delete[](void *p, size_t) noexcept {
  std::free(p);
}

namespace propexchangetest {

using Bytes = std::vector<BYTE>;

std::wstring W(const CString &str) {
  return std::wstring(static_cast<LPCWSTR>(str));
}

// Counts its live instances, so a rejected object is seen to be freed.
class CCounted : public CObject {
  DECLARE_DYNCREATE(CCounted)
public:
  CCounted() { ++s_nLive; }
  ~CCounted() override { --s_nLive; }
  static int s_nLive;
};
int CCounted::s_nLive = 0;
IMPLEMENT_DYNCREATE(CCounted, CObject)

class CShape : public CObject {
  DECLARE_SERIAL(CShape)
public:
  void Serialize(CArchive &ar) override {
    if (ar.IsStoring()) {
      ar << m_name << m_nSides;
    } else {
      ar >> m_name >> m_nSides;
    }
  }
  CString m_name;
  int m_nSides = 0;
};
IMPLEMENT_SERIAL(CShape, CObject, 1)

class CSquare : public CShape {
  DECLARE_SERIAL(CSquare)
};
IMPLEMENT_SERIAL(CSquare, CShape, 1)

enum Alignment { alignLeft = 0, alignRight = 7 };

// Everything one component might keep: each value with its default.
struct Settings {
  long lWidth = 100;
  int nCount = 3;
  DWORD dwFlags = 0x10;
  BOOL bVisible = TRUE;
  CString strTitle = L"Untitled";
  SIZE szButton = {23, 22};
  RECT rcBorders = {2, 2, 2, 2};
  Alignment alignment = alignLeft;
  std::vector<CString> items;

  void Exchange(CXTPPropExchange *pPX) {
    pPX->ExchangeSchema();
    PX_Long(pPX, L"Width", lWidth, 100);
    PX_Int(pPX, L"Count", nCount, 3);
    PX_DWord(pPX, L"Flags", dwFlags, 0x10);
    PX_Bool(pPX, L"Visible", bVisible, TRUE);
    PX_String(pPX, L"Title", strTitle, L"Untitled");
    PX_Size(pPX, L"ButtonSize", szButton, SIZE{23, 22});
    PX_Rect(pPX, L"Borders", rcBorders, RECT{2, 2, 2, 2});
    PX_Enum(pPX, L"Alignment", alignment, alignLeft);

    std::unique_ptr<CXTPPropExchange> pItems(pPX->GetSection(L"Items"));
    if (pPX->IsStoring()) pItems->EmptySection();
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnum(pItems->GetEnumerator(L"Item"));
    POSITION pos = pEnum->GetPosition(static_cast<DWORD>(items.size()), FALSE);
    if (pPX->IsLoading()) items.clear();
    for (size_t i = 0; pos != nullptr; ++i) {
      std::unique_ptr<CXTPPropExchange> pItem(pEnum->GetNext(pos));
      if (pPX->IsLoading()) items.emplace_back();
      PX_String(pItem.get(), L"Name", items[i], L"");
    }
  }
};

void ExpectSame(const Settings &a, const Settings &b) {
  EXPECT_EQ(a.lWidth, b.lWidth);
  EXPECT_EQ(a.nCount, b.nCount);
  EXPECT_EQ(a.dwFlags, b.dwFlags);
  EXPECT_EQ(a.bVisible, b.bVisible);
  EXPECT_EQ(W(a.strTitle), W(b.strTitle));
  EXPECT_EQ(a.szButton.cx, b.szButton.cx);
  EXPECT_EQ(a.szButton.cy, b.szButton.cy);
  EXPECT_EQ(memcmp(&a.rcBorders, &b.rcBorders, sizeof(RECT)), 0);
  EXPECT_EQ(a.alignment, b.alignment);
  ASSERT_EQ(a.items.size(), b.items.size());
  for (size_t i = 0; i < a.items.size(); ++i) EXPECT_EQ(W(a.items[i]), W(b.items[i]));
}

Settings Changed() {
  Settings s;
  s.lWidth = -5;
  s.nCount = 0;
  s.dwFlags = 0xFFFFFFFF;
  s.bVisible = FALSE;
  s.strTitle = L"Caf\u00e9 menu";
  s.szButton = {16, 15};
  s.rcBorders = {1, 2, 3, 4};
  s.alignment = alignRight;
  s.items = {L"New", L"Open", L"Save"};
  return s;
}

// --- Registry -------------------------------------------------------------

// A key of its own: other test programs clean theirs while this one runs.
const wchar_t kTestKey[] = L"Software\\QvPropExchangeTest";

class Registry : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_hKey,
                                nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegCloseKey(m_hKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
  }
  void Store(Settings &s) {
    CXTPPropExchangeRegistry px(FALSE, m_hKey, L"Bar-Options");
    s.Exchange(&px);
  }
  Settings Load() {
    Settings s;
    s.lWidth = 1;
    CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Bar-Options");
    s.Exchange(&px);
    return s;
  }
  // The stored value under the section's path, as its type and bytes.
  Bytes Raw(LPCWSTR lpszPath, LPCWSTR lpszValue, DWORD *pdwType) {
    BYTE data[512];
    DWORD dwBytes = sizeof(data);
    *pdwType = REG_NONE;
    if (::RegGetValueW(m_hKey, lpszPath, lpszValue, RRF_RT_ANY | RRF_NOEXPAND, pdwType, data, &dwBytes) !=
        ERROR_SUCCESS)
      return {};
    return Bytes(data, data + dwBytes);
  }
  std::wstring RawText(LPCWSTR lpszPath, LPCWSTR lpszValue) {
    DWORD dwType = 0;
    Bytes raw = Raw(lpszPath, lpszValue, &dwType);
    if (dwType != REG_SZ || raw.size() < 2) return L"<none>";
    return std::wstring(reinterpret_cast<const wchar_t *>(raw.data()));
  }
  HKEY m_hKey = nullptr;
};

TEST_F(Registry, SettingsComeBackAsStored) {
  Settings stored = Changed();
  Store(stored);
  ExpectSame(Load(), stored);

  // Texts a person can read in the registry editor.
  EXPECT_EQ(RawText(L"Bar-Options", L"Borders"), L"1, 2, 3, 4");
  EXPECT_EQ(RawText(L"Bar-Options", L"ButtonSize"), L"16, 15");
  EXPECT_EQ(RawText(L"Bar-Options\\Items\\Item2", L"Name"), L"Save");
  DWORD dwType = 0;
  Bytes count = Raw(L"Bar-Options\\Items", L"Count", &dwType);
  EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(count, (Bytes{3, 0, 0, 0}));
}

TEST_F(Registry, AValueEqualToItsDefaultRemovesTheOlderOne) {
  Settings stored = Changed();
  Store(stored);
  Settings defaults;
  Store(defaults);
  DWORD dwType = 0;
  EXPECT_TRUE(Raw(L"Bar-Options", L"Width", &dwType).empty());
  EXPECT_EQ(RawText(L"Bar-Options", L"Title"), L"<none>");
  // The emptied item list leaves no old children behind.
  EXPECT_TRUE(Raw(L"Bar-Options\\Items\\Item0", L"Name", &dwType).empty());
  ExpectSame(Load(), defaults);
}

TEST_F(Registry, ShortValuesAreZeroExtended) {
  {
    CXTPPropExchangeRegistry px(FALSE, m_hKey, L"Numbers");
    short nShort = -1;
    BYTE byValue = 0xFE;
    EXPECT_TRUE(px.ExchangeProp(L"Short", VT_I2, &nShort, nullptr));
    EXPECT_TRUE(px.ExchangeProp(L"Byte", VT_UI1, &byValue, nullptr));
  }
  DWORD dwType = 0;
  EXPECT_EQ(Raw(L"Numbers", L"Short", &dwType), (Bytes{0xFF, 0xFF, 0, 0}));
  EXPECT_EQ(Raw(L"Numbers", L"Byte", &dwType), (Bytes{0xFE, 0, 0, 0}));
  CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Numbers");
  short nShort = 0;
  long lAsLong = 0;
  EXPECT_TRUE(px.ExchangeProp(L"Short", VT_I2, &nShort, nullptr));
  EXPECT_TRUE(PX_Long(&px, L"Short", lAsLong));
  EXPECT_EQ(nShort, -1);
  EXPECT_EQ(lAsLong, 0xFFFF);
}

TEST_F(Registry, MissingOrMistypedValuesTakeTheDefaultUnlessToldNot) {
  {
    CXTPPropExchangeRegistry px(FALSE, m_hKey, L"Odd");
    CString strText = L"12";
    CString strBadRect = L"1, 2, 3";
    PX_String(&px, L"Number", strText);
    PX_String(&px, L"Rect", strBadRect);
  }
  CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Odd");
  long lValue = 1;
  EXPECT_TRUE(PX_Long(&px, L"Number", lValue, 9)); // REG_SZ is no number
  EXPECT_EQ(lValue, 9);
  RECT rc = {};
  EXPECT_TRUE(PX_Rect(&px, L"Rect", rc, RECT{5, 6, 7, 8}));
  EXPECT_EQ(rc.right, 7);
  lValue = 1;
  EXPECT_FALSE(PX_Long(&px, L"Missing", lValue));
  EXPECT_EQ(lValue, 1);

  px.UseDefaultOnLoad(FALSE);
  lValue = 1;
  EXPECT_FALSE(PX_Long(&px, L"Missing", lValue, 9));
  EXPECT_EQ(lValue, 1);
  std::unique_ptr<CXTPPropExchange> pChild(px.GetSection(L"Child"));
  EXPECT_FALSE(PX_Long(pChild.get(), L"Missing", lValue, 9));
  EXPECT_EQ(lValue, 1);
}

TEST_F(Registry, ATextStoredWithoutTerminatorReadsWhole) {
  HKEY hSection = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(m_hKey, L"Raw", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSection, nullptr),
            ERROR_SUCCESS);
  const wchar_t szText[] = L"abcd";
  ::RegSetValueExW(hSection, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE *>(szText), 4 * sizeof(wchar_t));
  ::RegCloseKey(hSection);
  CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Raw");
  CString strValue;
  EXPECT_TRUE(PX_String(&px, L"Bare", strValue));
  EXPECT_EQ(W(strValue), L"abcd");
}

TEST_F(Registry, AnEnumeratorWalksTheSavedCount) {
  {
    CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Empty");
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnum(px.GetEnumerator(L"Control"));
    EXPECT_EQ(pEnum->GetPosition(5, FALSE), nullptr);
  }
  {
    CXTPPropExchangeRegistry px(FALSE, m_hKey, L"Bar");
    DWORD dwCount = 3;
    PX_DWord(&px, L"Count", dwCount, 0);
  }
  CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Bar");
  std::unique_ptr<CXTPPropExchangeEnumerator> pEnum(px.GetEnumerator(L"Control"));
  POSITION pos = pEnum->GetPosition(0, FALSE);
  std::vector<int> positions;
  while (pos != nullptr) {
    positions.push_back(static_cast<int>(reinterpret_cast<INT_PTR>(pos)));
    std::unique_ptr<CXTPPropExchange> pChild(pEnum->GetNext(pos));
    long lId = 0;
    PX_Long(pChild.get(), L"Id", lId, 0);
  }
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3}));
  // The children are Control0 to Control2 (loading makes their keys).
  HKEY hChild = nullptr;
  EXPECT_EQ(::RegOpenKeyExW(m_hKey, L"Bar\\Control2", 0, KEY_READ, &hChild), ERROR_SUCCESS);
  ::RegCloseKey(hChild);
  EXPECT_NE(::RegOpenKeyExW(m_hKey, L"Bar\\Control3", 0, KEY_READ, &hChild), ERROR_SUCCESS);
}

TEST_F(Registry, AnObjectIsOneBinaryValue) {
  CShape shape;
  shape.m_name = L"triangle";
  shape.m_nSides = 3;
  {
    CXTPPropExchangeRegistry px(FALSE, m_hKey, L"Objects");
    EXPECT_TRUE(PX_Object(&px, L"Shape", &shape));
  }
  DWORD dwType = 0;
  EXPECT_FALSE(Raw(L"Objects", L"Shape", &dwType).empty());
  EXPECT_EQ(dwType, static_cast<DWORD>(REG_BINARY));
  CShape loaded;
  CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Objects");
  EXPECT_TRUE(PX_Object(&px, L"Shape", &loaded));
  EXPECT_EQ(W(loaded.m_name), L"triangle");
  EXPECT_EQ(loaded.m_nSides, 3);
  EXPECT_FALSE(PX_Object(&px, L"Missing", &loaded));
}

TEST_F(Registry, ObjectsAreMadeOnlyOfTheAskedKind) {
  CObject *pSquare = new CSquare;
  CObject *pCounted = new CCounted;
  {
    CXTPPropExchangeRegistry px(FALSE, m_hKey, L"Instances");
    std::unique_ptr<CXTPPropExchange> pA(px.GetSection(L"A"));
    std::unique_ptr<CXTPPropExchange> pB(px.GetSection(L"B"));
    EXPECT_TRUE(pA->ExchangeObjectInstance(pSquare, RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(pB->ExchangeObjectInstance(pCounted, RUNTIME_CLASS(CObject)));
  }
  delete pSquare;
  delete pCounted;
  EXPECT_EQ(RawText(L"Instances\\A", L"Class"), L"CSquare");
  ASSERT_EQ(CCounted::s_nLive, 0);

  CXTPPropExchangeRegistry px(TRUE, m_hKey, L"Instances");
  std::unique_ptr<CXTPPropExchange> pA(px.GetSection(L"A"));
  std::unique_ptr<CXTPPropExchange> pB(px.GetSection(L"B"));
  CObject *pObject = nullptr;
  ASSERT_TRUE(pA->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CSquare)));
  delete pObject;
  // A CCounted is made, found not to be a CShape and freed again.
  EXPECT_FALSE(pB->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CShape)));
  EXPECT_EQ(pObject, nullptr);
  EXPECT_EQ(CCounted::s_nLive, 0);

  CRuntimeClass *pClass = nullptr;
  std::unique_ptr<CXTPPropExchange> pNone(px.GetSection(L"None"));
  EXPECT_TRUE(PX_RuntimeClass(pNone.get(), L"Class", pClass, RUNTIME_CLASS(CShape)));
  EXPECT_EQ(pClass, RUNTIME_CLASS(CShape));
}

// A flavour that keeps blobs as letter text, as storage without binary values
// does.
class CLetterExchange : public CXTPPropExchangeRegistry {
public:
  using CXTPPropExchangeRegistry::CXTPPropExchangeRegistry;
  BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE *&pData, DWORD &nBytes) override {
    return CXTPPropExchange::ExchangeBlob(pszPropName, pData, nBytes);
  }
};

TEST_F(Registry, BlobsAsLettersRoundTripAndRejectOtherLetters) {
  BYTE data[] = {0x00, 0x1F, 0xA5, 0xFF};
  {
    CLetterExchange px(FALSE, m_hKey, L"Letters");
    BYTE *pData = data;
    DWORD nBytes = sizeof(data);
    EXPECT_TRUE(PX_Blob(&px, L"Blob", pData, nBytes));
    for (const wchar_t *text : {L"AQ", L"ABC", L"a@"}) {
      CString strText = text;
      PX_String(&px, (std::wstring(L"Bad") + text).c_str(), strText);
    }
  }
  EXPECT_EQ(RawText(L"Letters", L"Blob"), L"AAPBFKPP");

  CLetterExchange px(TRUE, m_hKey, L"Letters");
  BYTE *pData = nullptr;
  DWORD nBytes = 0;
  ASSERT_TRUE(PX_Blob(&px, L"Blob", pData, nBytes));
  EXPECT_EQ(Bytes(pData, pData + nBytes), Bytes(data, data + sizeof(data)));
  delete[] pData;

  BYTE small[3] = {};
  EXPECT_EQ(px.Read(L"Blob", small, sizeof(small)), 0u);
  BYTE room[8] = {};
  EXPECT_EQ(px.Read(L"Blob", room, sizeof(room)), 4u);
  for (const wchar_t *name : {L"BadAQ", L"BadABC", L"Bada@"}) {
    BYTE *pBad = nullptr;
    DWORD nBad = 0;
    EXPECT_FALSE(PX_Blob(&px, name, pBad, nBad)) << name;
    EXPECT_EQ(pBad, nullptr);
  }
}

// --- Archive --------------------------------------------------------------

Bytes StoreToArchive(const std::function<void(CXTPPropExchange *)> &exchange) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    EXPECT_TRUE(px.IsStoring());
    exchange(&px);
    ar.Close();
  }
  Bytes bytes(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  return bytes;
}

void LoadFromArchive(Bytes bytes, const std::function<void(CXTPPropExchange *)> &exchange) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  EXPECT_TRUE(px.IsLoading());
  exchange(&px);
}

TEST(Archive, WritesTheValuesInCallOrder) {
  Bytes written = StoreToArchive([](CXTPPropExchange *pPX) {
    CString strName = L"Menu";
    BOOL bFlag = TRUE;
    SIZE sz = {16, 15};
    PX_String(pPX, L"Name", strName, L"Menu");
    PX_Bool(pPX, L"Flag", bFlag, TRUE);
    PX_Size(pPX, L"Size", sz, SIZE{16, 15});
  });
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << CString(L"Menu") << static_cast<LONG>(1) << static_cast<LONG>(16) << static_cast<LONG>(15);
    ar.Close();
  }
  Bytes expected(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  file.Read(expected.data(), static_cast<UINT>(expected.size()));
  EXPECT_EQ(written, expected);
}

TEST(Archive, SettingsComeBackInOrder) {
  Settings stored = Changed();
  Bytes bytes = StoreToArchive([&](CXTPPropExchange *pPX) { stored.Exchange(pPX); });
  Settings loaded;
  LoadFromArchive(bytes, [&](CXTPPropExchange *pPX) {
    EXPECT_FALSE(pPX->IsAllowDefaultValues());
    EXPECT_TRUE(pPX->IsAllowBlobValues());
    loaded.Exchange(pPX);
  });
  ExpectSame(loaded, stored);
}

TEST(Archive, ObjectsClassesAndBlobsRoundTrip) {
  BYTE data[] = {1, 2, 3, 4, 5};
  CShape square;
  square.m_name = L"square";
  square.m_nSides = 4;
  Bytes bytes = StoreToArchive([&](CXTPPropExchange *pPX) {
    BYTE *pData = data;
    DWORD nBytes = sizeof(data);
    EXPECT_TRUE(PX_Blob(pPX, L"Blob", pData, nBytes));
    CObject *pObject = new CSquare;
    EXPECT_TRUE(pPX->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CShape)));
    delete pObject;
    EXPECT_TRUE(PX_Object(pPX, L"Shape", &square));
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnum(pPX->GetEnumerator(L"Item"));
    POSITION pos = pEnum->GetPosition(2);
    int n = 10;
    while (pos != nullptr) {
      std::unique_ptr<CXTPPropExchange> pItem(pEnum->GetNext(pos));
      PX_Int(pItem.get(), L"Value", n, 0);
      ++n;
    }
  });
  LoadFromArchive(bytes, [&](CXTPPropExchange *pPX) {
    BYTE *pData = nullptr;
    DWORD nBytes = 0;
    ASSERT_TRUE(PX_Blob(pPX, L"Blob", pData, nBytes));
    EXPECT_EQ(Bytes(pData, pData + nBytes), Bytes(data, data + sizeof(data)));
    delete[] pData;
    CObject *pObject = nullptr;
    ASSERT_TRUE(pPX->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CSquare)));
    delete pObject;
    CShape loaded;
    EXPECT_TRUE(PX_Object(pPX, L"Shape", &loaded));
    EXPECT_EQ(W(loaded.m_name), L"square");
    std::unique_ptr<CXTPPropExchangeEnumerator> pEnum(pPX->GetEnumerator(L"Item"));
    POSITION pos = pEnum->GetPosition();
    std::vector<int> values;
    while (pos != nullptr) {
      std::unique_ptr<CXTPPropExchange> pItem(pEnum->GetNext(pos));
      int n = 0;
      PX_Int(pItem.get(), L"Value", n, 0);
      values.push_back(n);
    }
    EXPECT_EQ(values, (std::vector<int>{10, 11}));
  });
}

TEST(Archive, ABlobCountBeyondTheStreamIsRefused) {
  // A count of a gigabyte followed by three bytes: the load must fail at the
  // stream's end without committing the gigabyte first.
  Bytes bytes = StoreToArchive([](CXTPPropExchange *pPX) { pPX->WriteCount(0x40000000); });
  bytes.insert(bytes.end(), {1, 2, 3});
  g_nLargestAllocation = 0;
  LoadFromArchive(bytes, [](CXTPPropExchange *pPX) {
    BYTE *pData = nullptr;
    DWORD nBytes = 0;
    EXPECT_FALSE(PX_Blob(pPX, L"Blob", pData, nBytes));
    EXPECT_EQ(pData, nullptr);
  });
  EXPECT_LT(g_nLargestAllocation, static_cast<size_t>(1 << 20));
  // With the caller's buffer, a count larger than its room is refused too.
  Bytes five = StoreToArchive([](CXTPPropExchange *pPX) {
    BYTE data[5] = {};
    pPX->Write(L"Blob", data, 0);
    BYTE *pData = data;
    DWORD nBytes = sizeof(data);
    PX_Blob(pPX, L"Blob", pData, nBytes);
  });
  LoadFromArchive(five, [](CXTPPropExchange *pPX) {
    BYTE room[4] = {};
    EXPECT_EQ(pPX->Read(L"Blob", room, 0), 0u);
    BYTE *pData = room;
    DWORD nBytes = sizeof(room);
    EXPECT_FALSE(PX_Blob(pPX, L"Blob", pData, nBytes));
  });
}

// --- Date-time and variant values ------------------------------------------

TEST(Archive, DatesAndVariantsRoundTripInOrder) {
  COleDateTime when(2026, 12, 10, 6, 30, 15);
  COleDateTime notADate;
  notADate.SetStatus(COleDateTime::invalid);
  std::vector<COleVariant> values = {COleVariant(),    COleVariant(L"Quendal"),
                                     COleVariant(42L), COleVariant(1L, VT_BOOL),
                                     COleVariant(2.5), COleVariant(when)};
  Bytes bytes = StoreToArchive([&](CXTPPropExchange *pPX) {
    EXPECT_TRUE(pPX->ExchangeProp(L"When", VT_DATE, &when, nullptr));
    EXPECT_TRUE(pPX->ExchangeProp(L"Never", VT_DATE, &notADate, nullptr));
    for (COleVariant &value : values) EXPECT_TRUE(pPX->ExchangeProp(L"Value", VT_VARIANT, &value, nullptr));
  });
  LoadFromArchive(bytes, [&](CXTPPropExchange *pPX) {
    COleDateTime loadedWhen, loadedNever;
    EXPECT_TRUE(pPX->ExchangeProp(L"When", VT_DATE, &loadedWhen, nullptr));
    EXPECT_TRUE(pPX->ExchangeProp(L"Never", VT_DATE, &loadedNever, nullptr));
    EXPECT_TRUE(loadedWhen == when);
    EXPECT_EQ(loadedNever.GetStatus(), COleDateTime::invalid);
    for (const COleVariant &value : values) {
      COleVariant loaded(L"stale");
      EXPECT_TRUE(pPX->ExchangeProp(L"Value", VT_VARIANT, &loaded, nullptr));
      EXPECT_TRUE(loaded == value) << "type " << value.vt;
    }
  });
}

TEST(Archive, AStoredVariantOfAnUnknownTypeFailsToLoad) {
  // The type word of an interface pointer, which no stream can carry.
  Bytes bytes = {static_cast<BYTE>(VT_DISPATCH), 0, 1, 2, 3, 4, 5, 6, 7, 8};
  LoadFromArchive(bytes, [](CXTPPropExchange *pPX) {
    COleVariant loaded;
    bool bThrown = false;
    try {
      pPX->ExchangeProp(L"Value", VT_VARIANT, &loaded, nullptr);
    } catch (CArchiveException *e) {
      bThrown = e->m_cause == CArchiveException::badSchema;
      e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(loaded.vt, VT_EMPTY);
  });
}

TEST(Values, DatesAndVariantsCompareAndCopyAsObjects) {
  COleDateTime a(2026, 1, 2, 3, 4, 5), b(2026, 1, 2, 3, 4, 5), c(2025, 1, 2, 3, 4, 5);
  COleDateTime nullA, nullB;
  nullA.SetStatus(COleDateTime::null);
  nullB.m_dt = 7;
  nullB.SetStatus(COleDateTime::null);
  EXPECT_TRUE(CXTPPropExchange::IsSamePropValue(VT_DATE, &a, &b));
  EXPECT_FALSE(CXTPPropExchange::IsSamePropValue(VT_DATE, &a, &c));
  EXPECT_TRUE(CXTPPropExchange::IsSamePropValue(VT_DATE, &nullA, &nullB)); // no date is no date
  COleDateTime copied;
  EXPECT_TRUE(CXTPPropExchange::CopyPropValue(VT_DATE, &copied, &c));
  EXPECT_TRUE(copied == c);

  COleVariant text(L"abc"), same(L"abc"), other(L"abd"), number(3L);
  EXPECT_TRUE(CXTPPropExchange::IsSamePropValue(VT_VARIANT, &text, &same));
  EXPECT_FALSE(CXTPPropExchange::IsSamePropValue(VT_VARIANT, &text, &other));
  EXPECT_FALSE(CXTPPropExchange::IsSamePropValue(VT_VARIANT, &text, &number));
  COleVariant target(5L);
  EXPECT_TRUE(CXTPPropExchange::CopyPropValue(VT_VARIANT, &target, &text));
  EXPECT_TRUE(target == text);
  EXPECT_NE(target.bstrVal, text.bstrVal); // a copy of its own, not a shared string

  // A variant the platform refuses to copy (a type code that names no type)
  // is a failed copy rather than an exception out of the exchange.
  VARIANT badType;
  ::VariantInit(&badType);
  badType.vt = 15;
  COleVariant refused(9L);
  EXPECT_FALSE(CXTPPropExchange::CopyPropValue(VT_VARIANT, &refused, &badType));
  EXPECT_EQ(refused.vt, VT_EMPTY);
}

TEST(Values, OnlyRealDatesAreValid) {
  struct Case {
    int y, mo, d, h, mi, s;
    bool valid;
  } cases[] = {{2026, 12, 10, 23, 59, 59, true}, {2024, 2, 29, 0, 0, 0, true}, {2025, 2, 29, 0, 0, 0, false},
               {2026, 13, 1, 0, 0, 0, false},    {2026, 0, 1, 0, 0, 0, false}, {2026, 1, 1, 24, 0, 0, false}};
  for (const Case &c : cases) {
    COleDateTime date(c.y, c.mo, c.d, c.h, c.mi, c.s);
    EXPECT_EQ(date.GetStatus() == COleDateTime::valid, c.valid) << c.y << "-" << c.mo << "-" << c.d;
  }
}

} // namespace propexchangetest

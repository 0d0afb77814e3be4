// The application's per-user profile under
// HKEY_CURRENT_USER\Software\<registry key>\<application>\<section>.
#include <gtest/gtest.h>

#include "Framework.h"

namespace {

const wchar_t kCompany[] = L"QvFrameworkTestCompany";
const wchar_t kAppKey[] = L"Software\\QvFrameworkTestCompany\\QvProfileTest";

class ProfileApp : public CWinApp {
public:
  ProfileApp() : CWinApp(L"QvProfileTest") {}
};

class Profile : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTree(HKEY_CURRENT_USER, L"Software\\QvFrameworkTestCompany");
    m_app.SetRegistryKey(kCompany);
  }
  void TearDown() override { ::RegDeleteTree(HKEY_CURRENT_USER, L"Software\\QvFrameworkTestCompany"); }
  static bool SectionExists(LPCWSTR lpszSection) {
    CString strKey = CString(kAppKey) + L"\\" + lpszSection;
    HKEY hKey = nullptr;
    if (::RegOpenKeyEx(HKEY_CURRENT_USER, strKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
  }
  ProfileApp m_app;
};

TEST_F(Profile, ValuesComeBackFromTheirKey) {
  EXPECT_EQ(m_app.m_pszProfileName, CString(L"QvProfileTest"));
  EXPECT_TRUE(m_app.WriteProfileInt(L"Tip", L"StartUp", 1));
  EXPECT_TRUE(m_app.WriteProfileString(L"Settings", L"Name", L"value \u00e9"));
  BYTE data[] = {0, 1, 2, 0xFF, 0x80};
  EXPECT_TRUE(m_app.WriteProfileBinary(L"CommandBars", L"State", data, sizeof(data)));

  EXPECT_TRUE(SectionExists(L"Tip"));
  EXPECT_EQ(m_app.GetProfileInt(L"Tip", L"StartUp", 7), 1u);
  EXPECT_EQ(m_app.GetProfileString(L"Settings", L"Name"), L"value \u00e9");
  LPBYTE pData = nullptr;
  UINT nBytes = 0;
  ASSERT_TRUE(m_app.GetProfileBinary(L"CommandBars", L"State", &pData, &nBytes));
  ASSERT_EQ(nBytes, sizeof(data));
  EXPECT_EQ(memcmp(pData, data, sizeof(data)), 0);
  delete[] pData;
}

TEST_F(Profile, MissingOrMistypedValuesGiveTheDefault) {
  m_app.WriteProfileString(L"Tip", L"AsText", L"5");
  m_app.WriteProfileInt(L"Tip", L"AsNumber", 5);
  struct Case {
    LPCWSTR entry;
    UINT expected;
  } cases[] = {{L"Missing", 9}, {L"AsText", 9}, {L"AsNumber", 5}};
  for (const Case &c : cases) EXPECT_EQ(m_app.GetProfileInt(L"Tip", c.entry, 9), c.expected) << c.entry;
  EXPECT_EQ(m_app.GetProfileString(L"Tip", L"AsNumber", L"dflt"), L"dflt");
  EXPECT_EQ(m_app.GetProfileString(L"Nowhere", L"Nothing"), L"");
  LPBYTE pData = reinterpret_cast<LPBYTE>(1);
  UINT nBytes = 3;
  EXPECT_FALSE(m_app.GetProfileBinary(L"Tip", L"AsText", &pData, &nBytes));
  EXPECT_EQ(pData, nullptr);
  EXPECT_EQ(nBytes, 0u);
}

TEST_F(Profile, NullEntryRemovesTheSectionAndNullValueTheEntry) {
  m_app.WriteProfileString(L"Gone", L"A", L"1");
  m_app.WriteProfileString(L"Gone", L"B", L"2");
  EXPECT_TRUE(m_app.WriteProfileString(L"Gone", L"A", nullptr));
  EXPECT_EQ(m_app.GetProfileString(L"Gone", L"A", L"none"), L"none");
  EXPECT_EQ(m_app.GetProfileString(L"Gone", L"B"), L"2");
  EXPECT_TRUE(m_app.WriteProfileString(L"Gone", nullptr, nullptr));
  EXPECT_FALSE(SectionExists(L"Gone"));
}

} // namespace

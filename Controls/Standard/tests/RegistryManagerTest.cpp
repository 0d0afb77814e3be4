// Settings through the registry manager: the user key, the machine key and a
// private INI file.
#include <gtest/gtest.h>

#include "WinApp.h"
#include "XTRegistryManager.h"

namespace {

const wchar_t kCompanyKey[] = L"Software\\QvToolkitTestCompany";
const wchar_t kSectionKey[] = L"Software\\QvToolkitTestCompany\\QvRegistryTest\\Tip";

class RegistryApp : public CWinApp {
public:
  RegistryApp() : CWinApp(L"QvRegistryTest") { SetRegistryKey(L"QvToolkitTestCompany"); }
};

class RegistryManager : public ::testing::TestWithParam<HKEY> {
protected:
  void SetUp() override { Clean(); }
  void TearDown() override {
    Clean();
    CXTRegistryManager::SetINIFileName(nullptr);
  }
  static void Clean() {
    ::RegDeleteTree(HKEY_CURRENT_USER, kCompanyKey);
    ::RegDeleteTree(HKEY_LOCAL_MACHINE, kCompanyKey);
  }
  static bool KeyExists(HKEY hRoot, LPCWSTR lpszPath) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyEx(hRoot, lpszPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
  }
  RegistryApp m_app;
};

TEST_P(RegistryManager, ValuesComeBackFromTheChosenRootOnly) {
  HKEY hRoot = GetParam();
  HKEY hOther = hRoot == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  CXTRegistryManager manager(hRoot);
  EXPECT_EQ(manager.GetProfileInt(L"Tip", L"StartUp", 7), 7);
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Name", L"dflt"), L"dflt");
  // Reading opens for reading only: nothing is created by a read.
  EXPECT_FALSE(KeyExists(hRoot, kCompanyKey));

  EXPECT_TRUE(manager.WriteProfileInt(L"Tip", L"StartUp", -2));
  EXPECT_TRUE(manager.WriteProfileString(L"Tip", L"Name", L"value \u00e9"));
  EXPECT_EQ(manager.GetProfileInt(L"Tip", L"StartUp", 7), -2);
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Name", L"dflt"), L"value \u00e9");
  EXPECT_TRUE(KeyExists(hRoot, kSectionKey));
  EXPECT_FALSE(KeyExists(hOther, kCompanyKey));

  // The framework's profile (always the user key) reads the same layout.
  if (hRoot == HKEY_CURRENT_USER) {
    EXPECT_EQ(m_app.GetProfileInt(L"Tip", L"StartUp", 7), static_cast<UINT>(-2));
  }

  // Values of the wrong type are not taken.
  EXPECT_EQ(manager.GetProfileInt(L"Tip", L"Name", 7), 7);
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"StartUp", L"dflt"), L"dflt");

  // A null value deletes the entry, a null entry the section.
  EXPECT_TRUE(manager.WriteProfileString(L"Tip", L"Name", nullptr));
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Name", L"gone"), L"gone");
  EXPECT_TRUE(manager.WriteProfileString(L"Tip", nullptr, nullptr));
  EXPECT_FALSE(KeyExists(hRoot, kSectionKey));
  EXPECT_EQ(manager.GetProfileInt(L"Tip", L"StartUp", 7), 7);
}

TEST_P(RegistryManager, AStringStoredWithoutTerminatorReadsWhole) {
  HKEY hRoot = GetParam();
  CXTRegistryManager manager(hRoot);
  HKEY hSection = manager.GetSectionKey(L"Tip");
  ASSERT_NE(hSection, nullptr);
  // Another program may store the characters without the final zero; the
  // odd byte count leaves half a character too.
  const wchar_t szText[] = L"abcdef";
  ASSERT_EQ(::RegSetValueEx(hSection, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE *>(szText),
                            6 * sizeof(wchar_t)),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueEx(hSection, L"Odd", 0, REG_SZ, reinterpret_cast<const BYTE *>(szText), 5),
            ERROR_SUCCESS);
  ::RegCloseKey(hSection);
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Bare"), L"abcdef");
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Odd"), L"abc");
}

TEST_P(RegistryManager, AnINIFileTakesEveryValueAndTheRegistryNone) {
  wchar_t szDir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, szDir);
  CString strINI = CString(szDir) + L"QvRegistryManagerTest.ini";
  ::DeleteFileW(strINI);
  CXTRegistryManager::SetINIFileName(strINI);
  EXPECT_EQ(CXTRegistryManager::GetINIFileName(), strINI);

  CXTRegistryManager manager(GetParam());
  EXPECT_EQ(manager.GetProfileInt(L"Tip", L"StartUp", 7), 7);
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Name", L"dflt"), L"dflt");
  EXPECT_TRUE(manager.WriteProfileInt(L"Tip", L"StartUp", -5));
  EXPECT_TRUE(manager.WriteProfileString(L"Tip", L"Name", L"in the file"));
  EXPECT_EQ(manager.GetProfileInt(L"Tip", L"StartUp", 7), -5);
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Name", L"dflt"), L"in the file");
  wchar_t szRaw[64] = {};
  ::GetPrivateProfileStringW(L"Tip", L"StartUp", L"", szRaw, 64, strINI);
  EXPECT_STREQ(szRaw, L"-5");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kCompanyKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kCompanyKey));

  EXPECT_TRUE(manager.WriteProfileString(L"Tip", L"Name", nullptr));
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Name", L"gone"), L"gone");
  ::DeleteFileW(strINI);
}

INSTANTIATE_TEST_SUITE_P(Roots, RegistryManager, ::testing::Values(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE),
                         [](const ::testing::TestParamInfo<HKEY> &info) {
                           return info.param == HKEY_CURRENT_USER ? "User" : "Machine";
                         });

TEST(RegistryManagerWithoutNames, ReadsDefaultsAndWritesFail) {
  // No application object: no registry key or profile name to go by.
  ASSERT_EQ(AfxGetApp(), nullptr);
  CXTRegistryManager manager;
  EXPECT_EQ(manager.GetAppRegistryKey(), nullptr);
  EXPECT_EQ(manager.GetProfileInt(L"Tip", L"StartUp", 3), 3);
  EXPECT_EQ(manager.GetProfileString(L"Tip", L"Name", L"dflt"), L"dflt");
  EXPECT_FALSE(manager.WriteProfileInt(L"Tip", L"StartUp", 1));
  EXPECT_FALSE(manager.WriteProfileString(L"Tip", L"Name", L"x"));
}

} // namespace

// The registry settings: the language value and the interface settings of
// the product key, read back as the next start reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "AppSettings.h"

namespace {

const wchar_t kTestKey[] = L"Software\\Quendal Varnoth Tests\\AppSettings";

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr),
        ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(m_key);
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
  }
  void SetRaw(const wchar_t *name, DWORD type, const void *data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(m_key, name, 0, type, static_cast<const BYTE *>(data), size), ERROR_SUCCESS);
  }
  void SetDword(const wchar_t *name, DWORD value) { SetRaw(name, REG_DWORD, &value, sizeof(value)); }

  HKEY m_key = nullptr;
};

TEST(LanguageLibraryNameTest, MapsEachLanguageValue) {
  EXPECT_STREQ(LanguageLibraryName(1), L"French.dll");
  EXPECT_STREQ(LanguageLibraryName(2), L"German.dll");
  EXPECT_STREQ(LanguageLibraryName(3), L"Spanish.dll");
  EXPECT_STREQ(LanguageLibraryName(4), L"Italian.dll");
  for (DWORD english : {0u, 5u, 0xFFFFFFFFu}) EXPECT_EQ(LanguageLibraryName(english), nullptr) << english;
}

TEST_F(RegistryTest, LanguageOfAnotherTypeOrSizeReadsAsMissing) {
  const wchar_t text[] = L"1";
  SetRaw(L"LANG", REG_SZ, text, sizeof(text));
  EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"LANG"));
  const BYTE binary[4] = {1, 0, 0, 0};
  SetRaw(L"LANG", REG_BINARY, binary, sizeof(binary));
  EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"LANG"));
  ULONGLONG wide = 2;
  SetRaw(L"LANG", REG_QWORD, &wide, sizeof(wide));
  EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"LANG"));
  SetDword(L"LANG", 3);
  EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"LANG"), 3u);
}

TEST_F(RegistryTest, MissingKeyOrValueReadsAsMissing) {
  EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"LANG"));
  EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, L"Software\\Quendal Varnoth Tests\\Nowhere", L"LANG"));
}

TEST_F(RegistryTest, SettingsComeBackAsStored) {
  int notices = 0;
  SettingsWriter writer(HKEY_CURRENT_USER, kTestKey, [&notices] { ++notices; });
  StoreTheme(writer, ThemeSetting::Office2003);
  StoreToolbarSize(writer, ToolbarSize::Small);
  StoreTooltipStyle(writer, TooltipStyle::Office);
  StoreProgressColour(writer, RGB(12, 34, 56));
  StoreShowWizardAtStart(writer, false);
  EXPECT_EQ(notices, 0);
  InterfaceSettings settings = InterfaceSettings::Load(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(settings.theme, ThemeSetting::Office2003);
  EXPECT_EQ(settings.toolbarSize, ToolbarSize::Small);
  EXPECT_EQ(settings.tooltipStyle, TooltipStyle::Office);
  EXPECT_EQ(settings.progressColour, RGB(12, 34, 56));
  EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"KOVA_T"), 3u);
  EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"KOVA_Tbr"), 3u);
  EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"KOVA_Tt"), 2u);
  EXPECT_FALSE(ShowWizardAtStartSetting(HKEY_CURRENT_USER, kTestKey));
}

TEST_F(RegistryTest, AbsentOrOutOfRangeSettingsLeaveTheDefaults) {
  InterfaceSettings none = InterfaceSettings::Load(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(none.theme, ThemeSetting::None);
  EXPECT_EQ(none.toolbarSize, ToolbarSize::Unchanged);
  EXPECT_EQ(none.tooltipStyle, TooltipStyle::Unchanged);
  // No colour chosen: the system's bar colour, not black.
  EXPECT_EQ(none.progressColour, CLR_DEFAULT);

  SetDword(L"KOVA_T", 5);
  SetDword(L"KOVA_Tbr", 0);
  SetDword(L"KOVA_Tt", 3);
  InterfaceSettings outOfRange = InterfaceSettings::Load(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(outOfRange.theme, ThemeSetting::None);
  EXPECT_EQ(outOfRange.toolbarSize, ToolbarSize::Unchanged);
  EXPECT_EQ(outOfRange.tooltipStyle, TooltipStyle::Unchanged);
}

TEST_F(RegistryTest, WritesNeverCreateTheKeyAndTellTheFirstFailureOnly) {
  const wchar_t missing[] = L"Software\\Quendal Varnoth Tests\\AppSettings\\Missing";
  EXPECT_FALSE(WriteRegistryDword(HKEY_CURRENT_USER, missing, L"KOVA_T", 1));
  int notices = 0;
  SettingsWriter writer(HKEY_CURRENT_USER, missing, [&notices] { ++notices; });
  StoreTheme(writer, ThemeSetting::NativeXP);
  EXPECT_EQ(notices, 1);
  StoreToolbarSize(writer, ToolbarSize::Large);
  StoreShowWizardAtStart(writer, true);
  EXPECT_EQ(notices, 1); // said once, not at every change
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, missing, 0, KEY_READ, &key), ERROR_SUCCESS);
}

// A first start, with no value yet, opens the wizard; the box's choice holds after that.
TEST_F(RegistryTest, WizardAtStartUnlessTurnedOff) {
  EXPECT_TRUE(ShowWizardAtStartSetting(HKEY_CURRENT_USER, kTestKey));
  EXPECT_TRUE(ShowWizardAtStartSetting(HKEY_CURRENT_USER, L"Software\\Quendal Varnoth Tests\\Nowhere"));
  SetDword(L"KOVA_SW", 0);
  EXPECT_FALSE(ShowWizardAtStartSetting(HKEY_CURRENT_USER, kTestKey));
  SetDword(L"KOVA_SW", 1);
  EXPECT_TRUE(ShowWizardAtStartSetting(HKEY_CURRENT_USER, kTestKey));
}

TEST_F(RegistryTest, MissingProductKeyIsMadeWithTheProgramFolder) {
  const std::wstring product = std::wstring(kTestKey) + L"\\Product";
  EXPECT_EQ(EnsureProductKey(HKEY_CURRENT_USER, product.c_str(), L"C:\\Tools\\Recovery"),
            ProductKeyState::Created);
  wchar_t path[MAX_PATH] = {};
  DWORD size = sizeof(path);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, product.c_str(), L"Path", RRF_RT_REG_SZ, nullptr, path, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(path, L"C:\\Tools\\Recovery");
  // Settings can be stored in it now.
  SettingsWriter writer(HKEY_CURRENT_USER, product, nullptr);
  EXPECT_TRUE(writer.Write(L"KOVA_T", 2));

  // A key that exists keeps its own "Path".
  EXPECT_EQ(EnsureProductKey(HKEY_CURRENT_USER, product.c_str(), L"D:\\Elsewhere"), ProductKeyState::Present);
  size = sizeof(path);
  RegGetValueW(HKEY_CURRENT_USER, product.c_str(), L"Path", RRF_RT_REG_SZ, nullptr, path, &size);
  EXPECT_STREQ(path, L"C:\\Tools\\Recovery");
}

TEST_F(RegistryTest, ProductKeyThatCannotBeMadeIsReported) {
  // The registry refuses a lasting key under a volatile one, as it refuses
  // HKLM to a user without rights.
  HKEY volatileKey = nullptr;
  ASSERT_EQ(RegCreateKeyExW(m_key, L"Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &volatileKey, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(volatileKey);
  const std::wstring product = std::wstring(kTestKey) + L"\\Volatile\\Product";
  EXPECT_EQ(EnsureProductKey(HKEY_CURRENT_USER, product.c_str(), L"C:\\Tools"), ProductKeyState::NotWritable);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, product.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST(ProgramFolderTest, IsTheExecutablesFolder) {
  wchar_t executable[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, executable, MAX_PATH);
  const std::wstring folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(std::wstring(executable).rfind(folder + L"\\", 0), 0u);
  EXPECT_EQ(std::wstring(executable).find(L'\\', folder.size() + 1), std::wstring::npos);
}

} // namespace

// The registry settings: the language value and the interface settings of
// the product key, read back as the next start reads them.
#include <windows.h>

#include <gtest/gtest.h>

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
  StoreTheme(HKEY_CURRENT_USER, kTestKey, ThemeSetting::Office2003);
  StoreToolbarSize(HKEY_CURRENT_USER, kTestKey, ToolbarSize::Small);
  StoreTooltipStyle(HKEY_CURRENT_USER, kTestKey, TooltipStyle::Office);
  StoreProgressColour(HKEY_CURRENT_USER, kTestKey, RGB(12, 34, 56));
  InterfaceSettings settings = InterfaceSettings::Load(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(settings.theme, ThemeSetting::Office2003);
  EXPECT_EQ(settings.toolbarSize, ToolbarSize::Small);
  EXPECT_EQ(settings.tooltipStyle, TooltipStyle::Office);
  EXPECT_EQ(settings.progressColour, RGB(12, 34, 56));
  EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"KOVA_T"), 3u);
  EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"KOVA_Tbr"), 3u);
  EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, kTestKey, L"KOVA_Tt"), 2u);
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

TEST_F(RegistryTest, WritesNeverCreateTheKey) {
  const wchar_t missing[] = L"Software\\Quendal Varnoth Tests\\AppSettings\\Missing";
  EXPECT_FALSE(WriteRegistryDword(HKEY_CURRENT_USER, missing, L"KOVA_T", 1));
  StoreTheme(HKEY_CURRENT_USER, missing, ThemeSetting::NativeXP);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, missing, 0, KEY_READ, &key), ERROR_SUCCESS);
}

} // namespace

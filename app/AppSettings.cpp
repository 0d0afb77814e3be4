#include "AppSettings.h"

#include "AppText.h"
#include "ModulePath.h"

const wchar_t kLanguageKeyPath[] = L"Software\\Quendal Information Systems Ltd.\\Quendal Varnoth NSS";
const wchar_t kProductKeyPath[] =
    L"Software\\Quendal Information Systems Ltd.\\Quendal Varnoth File Recovery";

std::optional<DWORD> ReadRegistryDword(HKEY root, const wchar_t *keyPath, const wchar_t *valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  LONG status = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return std::nullopt;
  return value;
}

bool WriteRegistryDword(HKEY root, const wchar_t *keyPath, const wchar_t *valueName, DWORD value) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
  LONG status =
      RegSetValueExW(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof(value));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

ProductKeyState EnsureProductKey(HKEY root, const wchar_t *keyPath, const std::wstring &programFolder) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    RegCloseKey(key);
    return ProductKeyState::Present;
  }
  if (RegCreateKeyExW(root, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return ProductKeyState::NotWritable;
  const auto *bytes = reinterpret_cast<const BYTE *>(programFolder.c_str());
  const auto size = static_cast<DWORD>((programFolder.size() + 1) * sizeof(wchar_t));
  const LONG status = RegSetValueExW(key, L"Path", 0, REG_SZ, bytes, size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? ProductKeyState::Created : ProductKeyState::NotWritable;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring folder(path, length);
  const size_t separator = folder.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : folder.substr(0, separator);
}

bool ShowWizardAtStartSetting(HKEY root, const wchar_t *keyPath) {
  return ReadRegistryDword(root, keyPath, L"KOVA_SW").value_or(1) != 0;
}

std::wstring StartupTipFile(HKEY root, const wchar_t *keyPath) {
  std::wstring folder;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH * sizeof(wchar_t);
    if (RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
      folder.assign(buffer, wcsnlen(buffer, MAX_PATH));
    RegCloseKey(key);
  }
  return folder + L"\\tips.txt";
}

bool SettingsWriter::Write(const wchar_t *valueName, DWORD value) {
  if (WriteRegistryDword(m_root, m_keyPath.c_str(), valueName, value)) return true;
  if (!m_told && m_cannotWrite) {
    m_told = true;
    m_cannotWrite();
  }
  return false;
}

const wchar_t *LanguageLibraryName(DWORD languageId) {
  switch (languageId) {
  case 1:
    return L"French.dll";
  case 2:
    return L"German.dll";
  case 3:
    return L"Spanish.dll";
  case 4:
    return L"Italian.dll";
  default:
    return nullptr;
  }
}

HMODULE LoadLanguageLibrary(DWORD languageId, const std::wstring &executablePath) {
  const wchar_t *library = LanguageLibraryName(languageId);
  if (library == nullptr) return nullptr;
  // By full path: a library of the same name in the current folder or on the
  // search path must not be taken instead.
  const std::u16string path = PathBesideExecutable(U16(executablePath), U16(library));
  if (path.empty()) return nullptr;
  return LoadLibraryExW(Wide(path), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

namespace {

template <typename Enum> Enum ReadChoice(HKEY root, const wchar_t *keyPath, const wchar_t *name, DWORD last) {
  std::optional<DWORD> value = ReadRegistryDword(root, keyPath, name);
  if (!value || *value < 1 || *value > last) return static_cast<Enum>(0);
  return static_cast<Enum>(*value);
}

} // namespace

InterfaceSettings InterfaceSettings::Load(HKEY root, const wchar_t *keyPath) {
  InterfaceSettings settings;
  settings.theme = ReadChoice<ThemeSetting>(root, keyPath, L"KOVA_T", 4);
  settings.toolbarSize = ReadChoice<ToolbarSize>(root, keyPath, L"KOVA_Tbr", 3);
  settings.tooltipStyle = ReadChoice<TooltipStyle>(root, keyPath, L"KOVA_Tt", 2);
  settings.progressColour = ReadRegistryDword(root, keyPath, L"KOVA_PBc").value_or(CLR_DEFAULT);
  return settings;
}

void StoreTheme(SettingsWriter &writer, ThemeSetting theme) {
  writer.Write(L"KOVA_T", static_cast<DWORD>(theme));
}

void StoreToolbarSize(SettingsWriter &writer, ToolbarSize size) {
  writer.Write(L"KOVA_Tbr", static_cast<DWORD>(size));
}

void StoreTooltipStyle(SettingsWriter &writer, TooltipStyle style) {
  writer.Write(L"KOVA_Tt", static_cast<DWORD>(style));
}

void StoreProgressColour(SettingsWriter &writer, COLORREF colour) {
  writer.Write(L"KOVA_PBc", colour);
}

void StoreShowWizardAtStart(SettingsWriter &writer, bool show) {
  writer.Write(L"KOVA_SW", show ? 1 : 0);
}

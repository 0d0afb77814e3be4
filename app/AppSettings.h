// The program's settings in the registry: the language value of the product
// family's key and the interface settings of the product key. Reads open the
// keys for reading only, so they work without administrator rights; writes go
// to an existing key only. The product key is made at start-up when missing.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

// Key of the product family, holding "LANG".
extern const wchar_t kLanguageKeyPath[];
// Key of this product, holding "Path", "KOVA_SW" and the interface settings.
extern const wchar_t kProductKeyPath[];

// A 32-bit value; none when the key or the value is missing, or the value is
// of another type or size.
std::optional<DWORD> ReadRegistryDword(HKEY root, const wchar_t *keyPath, const wchar_t *valueName);
// Writes into an existing key; FALSE (and nothing written) when it cannot be opened.
bool WriteRegistryDword(HKEY root, const wchar_t *keyPath, const wchar_t *valueName, DWORD value);

enum class ProductKeyState { Present, Created, NotWritable };
// Makes the product key with "Path" = the program's folder when it is
// missing, as a set-up would; a key that exists is left as it is.
ProductKeyState EnsureProductKey(HKEY root, const wchar_t *keyPath, const std::wstring &programFolder);
// The folder of the running executable, without a closing backslash.
std::wstring ProgramFolder();

// Whether the search wizard opens at start ("KOVA_SW"): a first start, with
// no value yet, opens it.
bool ShowWizardAtStartSetting(HKEY root, const wchar_t *keyPath);

// The tips file of the tip of the day: "tips.txt" in the folder "Path" names.
std::wstring StartupTipFile(HKEY root, const wchar_t *keyPath);

// The writes of one key. A setting that cannot be stored holds only until
// the program ends: the first failed write of a run says so, later ones
// stay quiet.
class SettingsWriter {
public:
  using Notice = std::function<void()>;
  SettingsWriter(HKEY root, std::wstring keyPath, Notice cannotWrite)
      : m_root(root), m_keyPath(std::move(keyPath)), m_cannotWrite(std::move(cannotWrite)) {}

  bool Write(const wchar_t *valueName, DWORD value);

private:
  HKEY m_root;
  std::wstring m_keyPath;
  Notice m_cannotWrite;
  bool m_told = false;
};

// The resource library of a "LANG" value, or null for English.
const wchar_t *LanguageLibraryName(DWORD languageId);
// That library loaded for its resources from the executable's folder; null
// for English or when it cannot be loaded.
HMODULE LoadLanguageLibrary(DWORD languageId, const std::wstring &executablePath);

// Command-bar theme ("KOVA_T").
enum class ThemeSetting : DWORD { None = 0, Office2000 = 1, OfficeXP = 2, Office2003 = 3, NativeXP = 4 };
// Toolbar icon size ("KOVA_Tbr").
enum class ToolbarSize : DWORD { Unchanged = 0, Medium = 1, Large = 2, Small = 3 };
// Tooltip style ("KOVA_Tt").
enum class TooltipStyle : DWORD { Unchanged = 0, Balloon = 1, Office = 2 };

// The interface settings of the product key, as the main frame applies them.
struct InterfaceSettings {
  ThemeSetting theme = ThemeSetting::None;
  ToolbarSize toolbarSize = ToolbarSize::Unchanged;
  TooltipStyle tooltipStyle = TooltipStyle::Unchanged;
  // CLR_DEFAULT (the system's bar colour) until the user chooses one.
  COLORREF progressColour = CLR_DEFAULT;

  // Values out of range read as "not set".
  static InterfaceSettings Load(HKEY root, const wchar_t *keyPath);
};

// One setting written back under the product key.
void StoreTheme(SettingsWriter &writer, ThemeSetting theme);
void StoreToolbarSize(SettingsWriter &writer, ToolbarSize size);
void StoreTooltipStyle(SettingsWriter &writer, TooltipStyle style);
void StoreProgressColour(SettingsWriter &writer, COLORREF colour);
void StoreShowWizardAtStart(SettingsWriter &writer, bool show);

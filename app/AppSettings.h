// The program's settings in the registry: the language value of the product
// family's key and the interface settings of the product key. Reads open the
// keys for reading only, so they work without administrator rights; writes go
// to an existing key only and fail quietly.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>

// Key of the product family, holding "LANG".
extern const wchar_t kLanguageKeyPath[];
// Key of this product, holding "Path", "KOVA_SW" and the interface settings.
extern const wchar_t kProductKeyPath[];

// A 32-bit value; none when the key or the value is missing, or the value is
// of another type or size.
std::optional<DWORD> ReadRegistryDword(HKEY root, const wchar_t *keyPath, const wchar_t *valueName);
// Writes into an existing key; FALSE (and nothing written) when it cannot be opened.
bool WriteRegistryDword(HKEY root, const wchar_t *keyPath, const wchar_t *valueName, DWORD value);

// The resource library of a "LANG" value, or null for English.
const wchar_t *LanguageLibraryName(DWORD languageId);

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
void StoreTheme(HKEY root, const wchar_t *keyPath, ThemeSetting theme);
void StoreToolbarSize(HKEY root, const wchar_t *keyPath, ToolbarSize size);
void StoreTooltipStyle(HKEY root, const wchar_t *keyPath, TooltipStyle style);
void StoreProgressColour(HKEY root, const wchar_t *keyPath, COLORREF colour);

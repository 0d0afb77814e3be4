#include "HelpFiles.h"

#include "Framework.h"
#include "ModulePath.h"
#include "resource.h"

const wchar_t kHelpFileName[] = L"FileRecovery.chm";

std::wstring LanguageHelpFileName(DWORD languageId) {
  static const wchar_t *const suffixes[] = {L"ENG", L"FRN", L"GER", L"SPN", L"ITA"};
  const wchar_t *suffix = languageId < 5 ? suffixes[languageId] : suffixes[0];
  return std::wstring(L"Quendal Varnoth File Recovery_") + suffix + L".chm";
}

std::wstring HelpFilePath(const std::wstring &fileName) {
  wchar_t executable[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, executable, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  const std::u16string path = PathBesideExecutable(std::u16string(executable, executable + length),
                                                   std::u16string(fileName.begin(), fileName.end()));
  return std::wstring(path.begin(), path.end());
}

DWORD HelpContextOfCommand(UINT commandId) {
  switch (commandId) {
  case ID_EDIT_FIND_ENTRIES:
  case ID_EDIT_FIND_NEXT_ENTRY:
    return IDH_FIND;
  case ID_TOOLS_RECOVER_ALL:
  case ID_TOOLS_RECOVER_SELECTED:
    return IDH_RECOVERING;
  case ID_FILE_OPEN_SCAN_INFO:
  case ID_TOOLS_SAVE_SCAN_INFO:
    return IDH_SCAN_INFORMATION;
  case ID_TOOLS_FILE_MASK:
  case ID_TOOLS_UNMASK:
    return IDH_FILE_MASK;
  case ID_EDIT_SAVE_LOG:
  case ID_EDIT_CLEAR_LOG:
    return IDH_LOG;
  case ID_EDIT_GO_UP:
  case ID_EDIT_SELECT_ALL_ENTRIES:
  case ID_EDIT_UNSELECT_ALL_ENTRIES:
    return IDH_RESULTS;
  case ID_TOOLS_ADD_NEW_HEADER:
    return IDH_USER_SIGNATURES;
  case ID_VIEW_TOOLBAR_LARGE:
  case ID_VIEW_TOOLBAR_MEDIUM:
  case ID_VIEW_TOOLBAR_SMALL:
  case ID_VIEW_THEME_OFFICE2000:
  case ID_VIEW_THEME_OFFICEXP:
  case ID_VIEW_THEME_OFFICE2003:
  case ID_VIEW_THEME_NATIVEXP:
  case ID_VIEW_TOOLTIP_BALLOON:
  case ID_VIEW_TOOLTIP_OFFICE:
  case ID_VIEW_PROGRESS_COLOUR:
  case ID_VIEW_TIPS_ON_STARTUP:
    return IDH_SETTINGS;
  default:
    return IDH_MAIN_WINDOW;
  }
}

void HtmlHelpOpener::Open(HWND owner, const std::wstring &path, UINT command, DWORD_PTR data) {
  if (!m_loadTried) {
    m_loadTried = true;
    if (HMODULE library = LoadLibraryExW(L"hhctrl.ocx", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
      m_htmlHelp =
          reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void *>(GetProcAddress(library, "HtmlHelpW")));
  }
  if (m_htmlHelp != nullptr && !path.empty()) m_htmlHelp(owner, path.c_str(), command, data);
}

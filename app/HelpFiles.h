// The program's help files and the one way they are opened. Every help call
// goes through the application's HelpOpener, so tests put a recording opener
// in its place and no help viewer needs to run.
#pragma once

#include <windows.h>

#include <string>

#include "help/HelpContexts.h"

// The help of the whole program: Help Topics, the wizard pages, the dialogs.
extern const wchar_t kHelpFileName[];
// The help file of a "LANG" value (1 French, 2 German, 3 Spanish, 4 Italian,
// anything else English), e.g. "Quendal Varnoth File Recovery_FRN.chm".
std::wstring LanguageHelpFileName(DWORD languageId);
// The full path of a help file in the program's own folder: never the
// current folder, which may be anywhere. Empty when it cannot be formed.
std::wstring HelpFilePath(const std::wstring &fileName);

// The help context of a command of the main window, as context help finds
// it on a tool bar button: the topic of what the command does, the main
// window's for commands without one.
DWORD HelpContextOfCommand(UINT commandId);

// The HTML Help commands the program uses.
constexpr UINT kHelpDisplayTopic = 0x0000;   // HH_DISPLAY_TOPIC: the start page
constexpr UINT kHelpContextCommand = 0x000F; // HH_HELP_CONTEXT: data is the context

class HelpOpener {
public:
  virtual ~HelpOpener() = default;
  // path: a full path; command and data as HTML Help takes them.
  virtual void Open(HWND owner, const std::wstring &path, UINT command, DWORD_PTR data) = 0;
};

// The system's HTML Help, from the system folder, loaded on first use and
// kept (its windows outlive the call).
class HtmlHelpOpener final : public HelpOpener {
public:
  void Open(HWND owner, const std::wstring &path, UINT command, DWORD_PTR data) override;

private:
  using HtmlHelpFunction = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);
  HtmlHelpFunction m_htmlHelp = nullptr;
  bool m_loadTried = false;
};

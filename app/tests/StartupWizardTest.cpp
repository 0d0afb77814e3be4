// The program started with "KOVA_SW" set opens the search wizard over its
// freshly shown main window, before its message loop runs; a first start on
// a machine without the product key makes the key and opens the wizard too;
// "LANG" = 1 starts it in French from the real language library.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <optional>
#include <string>

namespace {

const wchar_t kProductKey[] = L"Software\\Quendal Information Systems Ltd.\\Quendal Varnoth File Recovery";
const wchar_t kLanguageKey[] = L"Software\\Quendal Information Systems Ltd.\\Quendal Varnoth NSS";

struct WindowSearch {
  DWORD processId;
  const wchar_t *title;
  HWND found;
};

HWND WaitForWindow(DWORD processId, const wchar_t *title) {
  for (int i = 0; i < 300; i++) {
    WindowSearch search = {processId, title, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
          auto *s = reinterpret_cast<WindowSearch *>(lParam);
          DWORD owner = 0;
          GetWindowThreadProcessId(hwnd, &owner);
          wchar_t text[128] = {};
          GetWindowTextW(hwnd, text, 128);
          if (owner != s->processId || !IsWindowVisible(hwnd) || wcscmp(text, s->title) != 0) return TRUE;
          s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  }
  return nullptr;
}

// The tip of the day's dialog: a window of the process with its
// "Show tips at startup" box and its Next Tip button.
constexpr int kTipShowBox = 9126;
constexpr int kTipNextButton = 9127;
constexpr int kTipsOnStartupCommand = 32811;
const wchar_t kTipProfileKey[] = L"Software\\Local AppWizard-Generated Applications\\QuendalVarnoth\\Tip";

HWND FindTip(DWORD processId, int tries) {
  for (int i = 0; i < tries; i++) {
    WindowSearch search = {processId, nullptr, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
          auto *s = reinterpret_cast<WindowSearch *>(lParam);
          DWORD owner = 0;
          GetWindowThreadProcessId(hwnd, &owner);
          if (owner != s->processId || !IsWindowVisible(hwnd) || !GetDlgItem(hwnd, kTipShowBox) ||
              !GetDlgItem(hwnd, kTipNextButton))
            return TRUE;
          s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  }
  return nullptr;
}

// Closes the tip as its Close button does; false when none came.
bool CloseTip(DWORD processId) {
  HWND tip = FindTip(processId, 100);
  if (tip == nullptr) return false;
  SendMessageW(tip, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(tip, IDOK)));
  for (int i = 0; i < 100 && IsWindow(tip); i++) Sleep(50);
  return !IsWindow(tip);
}

// "StartUp" of the per-user profile: 1 means no tips at start; none when absent.
std::optional<DWORD> StoredTipStartUp() {
  DWORD value = 0, size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, kTipProfileKey, L"StartUp", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void StoreTipStartUp(std::optional<DWORD> value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTipProfileKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  if (value)
    RegSetValueExW(key, L"StartUp", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&*value), sizeof *value);
  else
    RegDeleteValueW(key, L"StartUp");
  RegCloseKey(key);
}

class StartupWizard : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                              nullptr),
              ERROR_SUCCESS);
    StoreTipStartUp(std::nullopt);
  }
  void TearDown() override {
    if (m_process.hProcess) {
      if (WaitForSingleObject(m_process.hProcess, 20000) == WAIT_TIMEOUT)
        TerminateProcess(m_process.hProcess, 1);
      CloseHandle(m_process.hProcess);
      CloseHandle(m_process.hThread);
    }
    // Other tests start the program too: they must not meet the wizard.
    RegCloseKey(m_key);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
      const DWORD off = 0;
      RegSetValueExW(key, L"KOVA_SW", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&off), sizeof off);
      RegCloseKey(key);
    }
  }
  bool Start() {
    std::wstring commandLine = std::wstring(L"\"") + QV_PROGRAM + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    // Right after the previous test's program has ended, Wine can refuse a
    // new one for a moment: try again briefly before calling it a failure.
    for (int attempt = 0; attempt < 40; attempt++) {
      if (CreateProcessW(QV_PROGRAM, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &m_process) != 0)
        return true;
      Sleep(100);
    }
    ADD_FAILURE() << "the program would not start: error " << GetLastError();
    return false;
  }

  HKEY m_key = nullptr;
  PROCESS_INFORMATION m_process = {};
};

TEST_F(StartupWizard, OpensOverTheMainWindowWhenKovaSwIsSet) {
  const DWORD on = 1;
  ASSERT_EQ(RegSetValueExW(m_key, L"KOVA_SW", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&on), sizeof on),
            ERROR_SUCCESS);
  ASSERT_TRUE(Start());
  HWND wizard = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery - Wizard");
  ASSERT_NE(wizard, nullptr);
  EXPECT_TRUE(CloseTip(m_process.dwProcessId)); // a profile without a setting shows tips
  HWND main = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(GetWindow(wizard, GW_OWNER), main);
  EXPECT_FALSE(IsWindowEnabled(main)); // the wizard is modal over it
  // Centred over the main window, not at the screen's corner.
  RECT wizardRect, mainRect;
  GetWindowRect(wizard, &wizardRect);
  GetWindowRect(main, &mainRect);
  EXPECT_NEAR((wizardRect.left + wizardRect.right) / 2, (mainRect.left + mainRect.right) / 2, 2);
  EXPECT_NEAR((wizardRect.top + wizardRect.bottom) / 2, (mainRect.top + mainRect.bottom) / 2, 2);
  // The "Show wizard on startup" box of the first page shows the setting.
  HWND page = reinterpret_cast<HWND>(SendMessageW(wizard, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(page, 1007), (UINT)BST_CHECKED);

  SendMessageW(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  for (int i = 0; i < 100 && !IsWindowEnabled(main); i++) Sleep(50);
  EXPECT_TRUE(IsWindowEnabled(main));
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
  // The wizard the application kept goes cleanly at the end.
  DWORD exitCode = 1;
  GetExitCodeProcess(m_process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

std::wstring Normalised(std::wstring path) {
  for (wchar_t &c : path) c = c == L'/' ? L'\\' : towlower(c);
  return path;
}

TEST_F(StartupWizard, FirstStartWithoutTheProductKeyMakesItAndOpensTheWizard) {
  RegCloseKey(m_key);
  m_key = nullptr;
  ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProductKey), ERROR_SUCCESS);
  ASSERT_TRUE(Start());
  HWND wizard = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery - Wizard");
  ASSERT_NE(wizard, nullptr);
  EXPECT_TRUE(CloseTip(m_process.dwProcessId)); // a profile without a setting shows tips
  HWND page = reinterpret_cast<HWND>(SendMessageW(wizard, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(page, 1007), (UINT)BST_CHECKED);

  // The key holds the program's folder, as a set-up would have left it.
  wchar_t path[MAX_PATH] = {};
  DWORD size = sizeof(path);
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kProductKey, L"Path", RRF_RT_REG_SZ, nullptr, path, &size),
            ERROR_SUCCESS);
  std::wstring folder = Normalised(QV_PROGRAM);
  folder.erase(folder.rfind(L'\\'));
  EXPECT_EQ(Normalised(path), folder);

  // Unticking "Show wizard on startup" is stored now: the key exists.
  SendMessageW(GetDlgItem(page, 1007), BM_CLICK, 0, 0);
  DWORD value = 1;
  size = sizeof(value);
  EXPECT_EQ(
      RegGetValueW(HKEY_LOCAL_MACHINE, kProductKey, L"KOVA_SW", RRF_RT_REG_DWORD, nullptr, &value, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(value, 0u);

  SendMessageW(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  HWND main = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery");
  ASSERT_NE(main, nullptr);
  for (int i = 0; i < 100 && !IsWindowEnabled(main); i++) Sleep(50);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

TEST_F(StartupWizard, LanguageOneStartsInFrench) {
  HKEY language = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kLanguageKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &language, nullptr),
            ERROR_SUCCESS);
  const DWORD french = 1, on = 1;
  RegSetValueExW(language, L"LANG", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&french), sizeof french);
  RegSetValueExW(m_key, L"KOVA_SW", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&on), sizeof on);
  const bool started = Start();
  HWND wizard =
      started ? WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery - Assistant") : nullptr;
  HWND main = started ? WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery") : nullptr;
  // Later starts are English again, whatever this test finds.
  RegDeleteValueW(language, L"LANG");
  RegCloseKey(language);
  ASSERT_TRUE(started);
  ASSERT_NE(wizard, nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(CloseTip(m_process.dwProcessId));

  // The wizard's page and its string-table texts come from French.dll.
  HWND page = reinterpret_cast<HWND>(SendMessageW(wizard, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(page, nullptr);
  wchar_t text[128] = {};
  GetDlgItemTextW(page, 1007, text, 128);
  EXPECT_STREQ(text, L"Afficher l'assistant au d\u00E9marrage");
  SendDlgItemMessageW(page, 1011, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Permet de r\u00E9cup\u00E9rer :");
  // So do the menus, which the menu bar shows in place of the window's own
  // menu; another process cannot read its items (the frame test does).
  EXPECT_EQ(GetMenu(main), nullptr);

  SendMessageW(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  for (int i = 0; i < 100 && !IsWindowEnabled(main); i++) Sleep(50);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

// Sends the View menu's Show Tips On Startup command and gives back what it
// stored: the inverse of the check it turned from.
std::optional<DWORD> ToggleTipsOnStartup(HWND main) {
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kTipsOnStartupCommand, 0), 0);
  return StoredTipStartUp();
}

TEST_F(StartupWizard, TheTipShowsOverTheWizardAndItsBoxIsStoredAndFollowedByTheMenu) {
  const DWORD on = 1;
  ASSERT_EQ(RegSetValueExW(m_key, L"KOVA_SW", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&on), sizeof on),
            ERROR_SUCCESS);
  ASSERT_TRUE(Start());
  HWND wizard = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery - Wizard");
  ASSERT_NE(wizard, nullptr);
  HWND tip = FindTip(m_process.dwProcessId, 100);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(GetWindow(tip, GW_OWNER), wizard); // modal over the wizard
  EXPECT_FALSE(IsWindowEnabled(wizard));
  EXPECT_EQ(IsDlgButtonChecked(tip, kTipShowBox), (UINT)BST_CHECKED);
  // A tip from the tips.txt beside the program, not an empty page.
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(tip, kTipNextButton)));

  SendMessageW(GetDlgItem(tip, kTipShowBox), BM_CLICK, 0, 0);
  EXPECT_TRUE(CloseTip(m_process.dwProcessId));
  EXPECT_EQ(StoredTipStartUp(), std::optional<DWORD>(1));
  EXPECT_TRUE(IsWindowEnabled(wizard));

  SendMessageW(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  HWND main = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery");
  ASSERT_NE(main, nullptr);
  for (int i = 0; i < 100 && !IsWindowEnabled(main); i++) Sleep(50);
  // The menu's check went off with the box: the command turns it on again.
  EXPECT_EQ(ToggleTipsOnStartup(main), std::optional<DWORD>(0));
  EXPECT_EQ(ToggleTipsOnStartup(main), std::optional<DWORD>(1));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

TEST_F(StartupWizard, NoTipShowsWhenTheProfileSaysSo) {
  StoreTipStartUp(1);
  const DWORD on = 1;
  ASSERT_EQ(RegSetValueExW(m_key, L"KOVA_SW", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&on), sizeof on),
            ERROR_SUCCESS);
  ASSERT_TRUE(Start());
  HWND wizard = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery - Wizard");
  ASSERT_NE(wizard, nullptr);
  EXPECT_EQ(FindTip(m_process.dwProcessId, 20), nullptr);
  EXPECT_TRUE(IsWindowEnabled(wizard));

  SendMessageW(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  HWND main = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery");
  ASSERT_NE(main, nullptr);
  for (int i = 0; i < 100 && !IsWindowEnabled(main); i++) Sleep(50);
  EXPECT_EQ(ToggleTipsOnStartup(main), std::optional<DWORD>(0)); // the check was off
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

TEST_F(StartupWizard, WithoutTheWizardTheMenuCheckStillShowsTheStoredSetting) {
  const DWORD off = 0;
  ASSERT_EQ(RegSetValueExW(m_key, L"KOVA_SW", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&off), sizeof off),
            ERROR_SUCCESS);
  ASSERT_TRUE(Start());
  HWND main = WaitForWindow(m_process.dwProcessId, L"Quendal Varnoth File Recovery");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(FindTip(m_process.dwProcessId, 10), nullptr);
  EXPECT_EQ(ToggleTipsOnStartup(main), std::optional<DWORD>(1)); // the check was on
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
}

} // namespace

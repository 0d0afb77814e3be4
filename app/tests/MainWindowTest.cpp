// The program itself, started as the user starts it: its main window with
// title, menu bar, toolbar, status panes, the folder tree and file list, the log
// along the bottom, one instance only, and a clean close.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const wchar_t kTitle[] = L"Quendal Varnoth File Recovery";
constexpr int kStatusBarId = 59393;
constexpr int kLogPaneId = 61236;
constexpr int kSplitterId = 0xE900;
constexpr int kTopDockBarId = 0xE81B;

struct Program {
  PROCESS_INFORMATION process = {};
  bool Start() {
    std::wstring commandLine = std::wstring(L"\"") + QV_PROGRAM + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(QV_PROGRAM, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != 0;
  }
  ~Program() {
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }
};

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindTopWindow(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<WindowSearch *>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t title[128] = {};
  GetWindowTextW(hwnd, title, 128);
  if (owner == search->processId && IsWindowVisible(hwnd) && wcscmp(title, kTitle) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForMainWindow(DWORD processId) {
  for (int i = 0; i < 300; i++) {
    WindowSearch search = {processId, nullptr};
    EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  }
  return nullptr;
}

int CountMainWindows() {
  struct Count {
    static BOOL CALLBACK Each(HWND hwnd, LPARAM lParam) {
      wchar_t title[128] = {};
      GetWindowTextW(hwnd, title, 128);
      if (IsWindowVisible(hwnd) && wcscmp(title, kTitle) == 0) ++*reinterpret_cast<int *>(lParam);
      return TRUE;
    }
  };
  int count = 0;
  EnumWindows(Count::Each, reinterpret_cast<LPARAM>(&count));
  return count;
}

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_program.Start());
    m_window = WaitForMainWindow(m_program.process.dwProcessId);
    ASSERT_NE(m_window, nullptr);
  }
  void TearDown() override {
    if (m_window && IsWindow(m_window)) PostMessageW(m_window, WM_CLOSE, 0, 0);
    if (m_program.process.hProcess) WaitForSingleObject(m_program.process.hProcess, 20000);
  }
  Program m_program;
  HWND m_window = nullptr;
};

// The window may be found while the program is still showing it maximised.
bool WaitUntilZoomed(HWND window) {
  for (int i = 0; i < 100 && !IsZoomed(window); i++) Sleep(50);
  return IsZoomed(window) != FALSE;
}

TEST_F(MainWindowTest, ShowsMaximisedWithMenuAndBars) {
  EXPECT_TRUE(WaitUntilZoomed(m_window));
  // The menu bar holds the menus: the window has no menu of its own. It and
  // the toolbar sit in the dock bar along the top, the menu bar first; their
  // controls cannot be read from another process (the frame test does).
  EXPECT_EQ(GetMenu(m_window), nullptr);
  HWND top = GetDlgItem(m_window, kTopDockBarId);
  ASSERT_NE(top, nullptr);
  RECT client, topRect;
  GetClientRect(m_window, &client);
  GetWindowRect(top, &topRect);
  MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT *>(&topRect), 2);
  EXPECT_EQ(topRect.top, 0);
  EXPECT_EQ(topRect.right - topRect.left, client.right);
  std::vector<RECT> bars;
  for (HWND bar = GetWindow(top, GW_CHILD); bar != nullptr; bar = GetWindow(bar, GW_HWNDNEXT)) {
    RECT rect;
    GetWindowRect(bar, &rect);
    if (IsWindowVisible(bar)) bars.push_back(rect);
  }
  ASSERT_EQ(bars.size(), 2u);
  std::sort(bars.begin(), bars.end(), [](const RECT &a, const RECT &b) { return a.top < b.top; });
  EXPECT_LE(bars[0].bottom, bars[1].top) << "the toolbar on a row of its own";

  HWND status = GetDlgItem(m_window, kStatusBarId);
  ASSERT_NE(status, nullptr);
  // The pane edges cannot be asked across processes (the answer is written
  // through a pointer); their count can.
  EXPECT_EQ(SendMessageW(status, SB_GETPARTS, 0, 0), 4);

  // The status bar is at the bottom edge, the log right above it.
  RECT statusRect, logRect;
  GetWindowRect(status, &statusRect);
  MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT *>(&statusRect), 2);
  EXPECT_EQ(statusRect.bottom, client.bottom);
  HWND log = GetDlgItem(m_window, kLogPaneId);
  ASSERT_NE(log, nullptr);
  GetWindowRect(log, &logRect);
  MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT *>(&logRect), 2);
  EXPECT_EQ(logRect.bottom, statusRect.top);
  EXPECT_EQ(logRect.bottom - logRect.top, 150);
}

TEST_F(MainWindowTest, HasTreeListAndLogColumns) {
  HWND splitter = GetDlgItem(m_window, kSplitterId);
  ASSERT_NE(splitter, nullptr);
  HWND tree = GetDlgItem(splitter, kSplitterId);
  HWND list = GetDlgItem(splitter, kSplitterId + 1);
  ASSERT_NE(tree, nullptr);
  ASSERT_NE(list, nullptr);
  wchar_t className[64] = {};
  GetClassNameW(tree, className, 64);
  EXPECT_STREQ(className, WC_TREEVIEWW);
  HWND listHeader = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(listHeader, HDM_GETITEMCOUNT, 0, 0), 7);

  HWND logView = GetWindow(GetDlgItem(m_window, kLogPaneId), GW_CHILD);
  ASSERT_NE(logView, nullptr);
  HWND logHeader = reinterpret_cast<HWND>(SendMessageW(logView, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(logHeader, HDM_GETITEMCOUNT, 0, 0), 3);
}

TEST_F(MainWindowTest, SecondStartEndsWithoutAWindow) {
  ShowWindow(m_window, SW_MINIMIZE);
  Program second;
  ASSERT_TRUE(second.Start());
  ASSERT_EQ(WaitForSingleObject(second.process.hProcess, 20000), WAIT_OBJECT_0);
  EXPECT_EQ(CountMainWindows(), 1);
  EXPECT_FALSE(IsIconic(m_window));
}

TEST_F(MainWindowTest, CloseEndsTheProgram) {
  PostMessageW(m_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(m_program.process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(m_program.process.hProcess, &code);
  EXPECT_EQ(code, 0u);
}

} // namespace

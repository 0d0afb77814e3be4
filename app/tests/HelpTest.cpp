// The program's help as the user reaches it: F1 and the help request on the
// wizard's pages, Help Topics and F1 in the main window, context help
// (Shift+F1, then a click), F6 and Shift+F6 between the panes, and the help
// files' names and paths. A recording opener stands in for HTML Help, so
// the test sees which file and topic each would open.
#include "WizardTestFrame.h"

#include "AppendHeaderDlg.h"
#include "FindFileDlg.h"
#include "HelpFiles.h"
#include "QuendalVarnothView.h"
#include "SimpleListView.h"
#include "XTPToolBar.h"

namespace {

struct HelpCall {
  HWND owner;
  std::wstring path;
  UINT command;
  DWORD_PTR data;
};

class RecordingHelpOpener : public HelpOpener {
public:
  explicit RecordingHelpOpener(std::vector<HelpCall> &calls) : m_calls(calls) {}
  void Open(HWND owner, const std::wstring &path, UINT command, DWORD_PTR data) override {
    m_calls.push_back({owner, path, command, data});
  }

private:
  std::vector<HelpCall> &m_calls;
};

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

TEST(HelpFileNames, EachLanguageHasItsFile) {
  const struct {
    DWORD language;
    const wchar_t *name;
  } cases[] = {
      {0, L"Quendal Varnoth File Recovery_ENG.chm"},          {1, L"Quendal Varnoth File Recovery_FRN.chm"},
      {2, L"Quendal Varnoth File Recovery_GER.chm"},          {3, L"Quendal Varnoth File Recovery_SPN.chm"},
      {4, L"Quendal Varnoth File Recovery_ITA.chm"},          {5, L"Quendal Varnoth File Recovery_ENG.chm"},
      {0xFFFFFFFF, L"Quendal Varnoth File Recovery_ENG.chm"},
  };
  for (const auto &c : cases) EXPECT_EQ(LanguageHelpFileName(c.language), c.name) << c.language;
}

TEST(HelpFileNames, FilesAreOpenedFromTheProgramsFolder) {
  EXPECT_EQ(HelpFilePath(kHelpFileName), ProgramFolder() + L"FileRecovery.chm");
  // Whatever the current folder is.
  wchar_t saved[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, saved);
  SetCurrentDirectoryW(L"C:\\");
  EXPECT_EQ(HelpFilePath(L"FileRecovery.chm"), ProgramFolder() + L"FileRecovery.chm");
  SetCurrentDirectoryW(saved);
  EXPECT_EQ(HelpFilePath(L"..\\FileRecovery.chm"), L"") << "a name, not a path";
}

class Help : public WizardTestFrame {
protected:
  void SetUp() override {
    WizardTestFrame::SetUp();
    if (HasFatalFailure()) return;
    m_app.Help = std::make_unique<RecordingHelpOpener>(m_calls);
    m_frame->ShowWindow(SW_SHOWNORMAL);
    m_frame->UpdateWindow();
  }
  void TearDown() override {
    SetShift(false);
    WizardTestFrame::TearDown();
  }
  static void SetShift(bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
  }
  // A key as the message loop meets it, from the window with the focus.
  void PressKey(HWND focus, WPARAM key) {
    MSG message = {focus, WM_KEYDOWN, key, 0, 0, {0, 0}};
    if (!m_app.PreTranslateMessage(&message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  // Help mode, then a click at the screen point (or Escape).
  void ContextHelpClick(CPoint screen) {
    CPoint client = screen;
    m_frame->ScreenToClient(&client);
    m_frame->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CONTEXT_HELP, 1), 0);
  }
  static CPoint CentreOf(HWND window) {
    CRect rect;
    ::GetWindowRect(window, &rect);
    return rect.CenterPoint();
  }
  HWND ToolBar() {
    CXTPToolBar *bar = m_frame->GetStandardToolBar();
    return bar != nullptr ? bar->GetSafeHwnd() : nullptr;
  }

  std::vector<HelpCall> m_calls;
};

TEST_F(Help, WizardPagesOpenTheTopicOfTheKindChosen) {
  GiveDrives({LogicalDrive('C', u"NTFS")});
  const struct {
    UINT kind;
    int page; // 0 search type, 1 drive, 2 file signatures
    DWORD context;
  } cases[] = {
      {IDC_FAST_SEARCH, 0, 1000},
      {IDC_ADVANCED_SEARCH, 0, 1001},
      {IDC_PHYSICAL_SCAN, 0, 1002},
      {IDC_FAST_SEARCH, 1, 1007},
      {IDC_ADVANCED_SEARCH, 1, 1008},
      {IDC_PHYSICAL_SCAN, 1, 1009},
      {IDC_ADVANCED_SEARCH, 2, IDH_FILE_TYPES},
  };
  for (const auto &c : cases) {
    MyPropertySheet &sheet = OpenModelessWizard();
    ClickButton(sheet.SearchTypePage(), c.kind);
    for (int i = 0; i < c.page; ++i) sheet.SetActivePage(i + 1);
    CPropertyPage *page = sheet.GetActivePage();
    ASSERT_NE(page, nullptr);
    m_calls.clear();
    PressKey(::GetDlgItem(page->m_hWnd, IDC_SHOW_WIZARD), VK_F1);
    ASSERT_EQ(m_calls.size(), 1u) << c.kind << " page " << c.page;
    EXPECT_EQ(m_calls[0].path, ProgramFolder() + L"FileRecovery.chm");
    EXPECT_EQ(m_calls[0].command, kHelpContextCommand);
    EXPECT_EQ(m_calls[0].data, c.context) << c.kind << " page " << c.page;
    EXPECT_EQ(m_calls[0].owner, sheet.m_hWnd) << "over the wizard";
    sheet.DestroyWindow();
  }
}

TEST_F(Help, TheHelpRequestOfAPageOrItsSheetOpensThePagesTopicOnce) {
  MyPropertySheet &sheet = OpenModelessWizard();
  ClickButton(sheet.SearchTypePage(), IDC_ADVANCED_SEARCH);
  HWND check = ::GetDlgItem(sheet.SearchTypePage().m_hWnd, IDC_SHOW_WIZARD);
  HELPINFO info = {sizeof(info), HELPINFO_WINDOW, IDC_SHOW_WIZARD, check, 0, {0, 0}};
  ::SendMessageW(check, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(sheet.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_EQ(m_calls.size(), 2u);
  for (const HelpCall &call : m_calls) EXPECT_EQ(call.data, 1001u);
}

TEST_F(Help, ADialogWithoutHelpOfItsOwnOpensTheMainWindowsHelp) {
  CAboutDlg about;
  ASSERT_TRUE(about.Create(IDD_ABOUTBOX, m_frame));
  PressKey(about.m_hWnd, VK_F1);
  ASSERT_EQ(m_calls.size(), 1u);
  EXPECT_EQ(m_calls[0].path, ProgramFolder() + L"FileRecovery.chm");
  EXPECT_EQ(m_calls[0].command, kHelpDisplayTopic);
  about.DestroyWindow();
}

TEST_F(Help, HelpTopicsAndF1OpenTheStartPage) {
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP_FINDER, 0), 0);
  ASSERT_EQ(m_calls.size(), 1u);
  EXPECT_EQ(m_calls[0].path, ProgramFolder() + L"FileRecovery.chm");
  EXPECT_EQ(m_calls[0].command, kHelpDisplayTopic);
  EXPECT_EQ(m_calls[0].data, 0u);

  HWND tree = m_frame->GetLeftPane()->m_hWnd;
  // Without results the main window's F1 does nothing; with them it is help.
  PressKey(tree, VK_F1);
  EXPECT_EQ(m_calls.size(), 1u);
  m_app.ResultsPresent = 1;
  PressKey(tree, VK_F1);
  ASSERT_EQ(m_calls.size(), 2u);
  EXPECT_EQ(m_calls[1].command, kHelpDisplayTopic);
  m_app.ResultsPresent = 0;
}

// The Find dialog's Help button opens its topic in the program's help file;
// F1 there opens the same topic in the help file of the user's language.
TEST_F(Help, FindsHelpButtonOpensItsTopicAndF1TheLanguagesFile) {
  m_app.LanguageId = 2;
  CFindFileDlg find(m_frame);
  ASSERT_TRUE(find.Create(IDD_FIND, m_frame));
  ::SendMessageW(::GetDlgItem(find.m_hWnd, ID_HELP), BM_CLICK, 0, 0);
  MSG f1 = {::GetDlgItem(find.m_hWnd, IDC_FIND_TEXT), WM_KEYDOWN, VK_F1, 0};
  EXPECT_TRUE(find.PreTranslateMessage(&f1)) << "F1 is the dialog's own";
  ASSERT_EQ(m_calls.size(), 2u);
  EXPECT_EQ(m_calls[0].path, ProgramFolder() + L"FileRecovery.chm");
  EXPECT_EQ(m_calls[0].command, kHelpContextCommand);
  EXPECT_EQ(m_calls[0].data, 1005u);
  EXPECT_EQ(m_calls[1].path, ProgramFolder() + L"Quendal Varnoth File Recovery_GER.chm");
  EXPECT_EQ(m_calls[1].command, kHelpContextCommand);
  EXPECT_EQ(m_calls[1].data, 1005u);
  find.DestroyWindow();
  m_app.LanguageId = 0;
}

TEST_F(Help, TheAppendHeaderDialogsHelpOpensItsTopic) {
  std::vector<HeaderRecord> records;
  CAppendHeaderDlg dialog(records, nullptr, L"", 0, m_frame);
  ASSERT_TRUE(dialog.Create(IDD_APPEND_HEADER, m_frame));
  ::SendMessageW(::GetDlgItem(dialog.m_hWnd, ID_HELP), BM_CLICK, 0, 0);
  ASSERT_EQ(m_calls.size(), 1u);
  EXPECT_EQ(m_calls[0].path, ProgramFolder() + L"FileRecovery.chm");
  EXPECT_EQ(m_calls[0].command, kHelpContextCommand);
  EXPECT_EQ(m_calls[0].data, 1011u);
  dialog.DestroyWindow();
}

TEST_F(Help, ContextHelpOpensTheTopicOfWhatIsClicked) {
  HWND toolBar = ToolBar();
  ASSERT_NE(toolBar, nullptr);
  CXTPControl *findButton = m_frame->GetStandardToolBar()->GetControls()->FindControl(ID_EDIT_FIND_ENTRIES);
  ASSERT_NE(findButton, nullptr);
  CPoint onFind = findButton->GetRect().CenterPoint();
  ::ClientToScreen(toolBar, &onFind);
  CRect frameRect;
  m_frame->GetWindowRect(&frameRect);

  const struct {
    const char *what;
    CPoint point;
    DWORD context;
  } cases[] = {
      {"tree", CentreOf(m_frame->GetLeftPane()->m_hWnd), IDH_RESULTS},
      {"list", CentreOf(m_frame->GetRightPane()->m_hWnd), IDH_RESULTS},
      {"log", CentreOf(m_app.LogView->m_hWnd), IDH_LOG},
      {"Find button", onFind, IDH_FIND},
      {"caption", CPoint(frameRect.left + 40, frameRect.top + 8), IDH_MAIN_WINDOW},
  };
  for (const auto &c : cases) {
    m_calls.clear();
    ContextHelpClick(c.point);
    ASSERT_EQ(m_calls.size(), 1u) << c.what;
    EXPECT_EQ(m_calls[0].path, ProgramFolder() + L"FileRecovery.chm") << c.what;
    EXPECT_EQ(m_calls[0].command, kHelpContextCommand) << c.what;
    EXPECT_EQ(m_calls[0].data, c.context) << c.what;
    EXPECT_FALSE(m_frame->IsInHelpMode());
    EXPECT_EQ(::GetCapture(), nullptr) << c.what;
  }

  // Escape leaves help mode without help. While it lasts, the status bar
  // says what to do.
  m_calls.clear();
  CString prompt;
  TimerScript script({[&] {
                       prompt = m_frame->GetStatusBar()->GetPaneText(0);
                       m_frame->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
                       return true;
                     }},
                     [this] { m_frame->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0); });
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CONTEXT_HELP, 1), 0);
  EXPECT_TRUE(m_calls.empty());
  EXPECT_FALSE(m_frame->IsInHelpMode());
  EXPECT_EQ(prompt, CString(L"Select an object on which to get Help"));
  EXPECT_EQ(m_frame->GetStatusBar()->GetPaneText(0), CString(L"Ready"));
}

TEST_F(Help, F6AndShiftF6MoveTheFocusThroughTreeListAndLog) {
  HWND tree = m_frame->GetLeftPane()->m_hWnd;
  HWND list = m_frame->GetRightPane()->m_hWnd;
  HWND log = m_app.LogView->m_hWnd;
  ::SetFocus(tree);
  ASSERT_EQ(::GetFocus(), tree);
  for (HWND expected : {list, log, tree}) {
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_NEXT_PANE, 1), 0);
    EXPECT_EQ(::GetFocus(), expected);
  }
  for (HWND expected : {log, list, tree}) {
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_PREV_PANE, 1), 0);
    EXPECT_EQ(::GetFocus(), expected);
  }
  EXPECT_EQ(m_app.TreeHasFocus, 1);
  // From outside the panes: F6 to the tree, Shift+F6 to the log.
  HWND outside = ToolBar();
  ::SetFocus(outside);
  ASSERT_EQ(::GetFocus(), outside);
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_NEXT_PANE, 1), 0);
  EXPECT_EQ(::GetFocus(), tree);
  ::SetFocus(outside);
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_PREV_PANE, 1), 0);
  EXPECT_EQ(::GetFocus(), log);

  // The keys themselves, with results to move between.
  m_app.ResultsPresent = 1;
  ::SetFocus(tree);
  PressKey(tree, VK_F6);
  EXPECT_EQ(::GetFocus(), list);
  EXPECT_EQ(m_app.TreeHasFocus, 0);
  SetShift(true);
  PressKey(list, VK_F6);
  EXPECT_EQ(::GetFocus(), tree);
  SetShift(false);
  m_app.ResultsPresent = 0;
}

// F6 into a list whose rows have no focus yet shows the focus on its first
// row, without choosing it; a row that already has the focus keeps it.
TEST_F(Help, F6IntoAListShowsTheFocusOnARow) {
  CListCtrl &files = m_frame->GetRightPane()->GetListCtrl();
  for (int i = 0; i < 3; i++) files.InsertItem(i, L"row");
  m_app.LogView->AddLogEntry(L"Fast Search", L"C:", L"Started", 1);
  CListCtrl &log = m_app.LogView->GetListCtrl();
  ASSERT_EQ(files.GetNextItem(-1, LVNI_FOCUSED), -1);
  ASSERT_EQ(log.GetNextItem(-1, LVNI_FOCUSED), -1);
  ::SetFocus(m_frame->GetLeftPane()->m_hWnd);

  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_NEXT_PANE, 1), 0);
  ASSERT_EQ(::GetFocus(), files.m_hWnd);
  EXPECT_EQ(files.GetNextItem(-1, LVNI_FOCUSED), 0);
  EXPECT_EQ(files.GetSelectedCount(), 0u) << "the focus cue chooses no row";
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_NEXT_PANE, 1), 0);
  ASSERT_EQ(::GetFocus(), log.m_hWnd);
  EXPECT_EQ(log.GetNextItem(-1, LVNI_FOCUSED), 0);

  files.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
  m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_PREV_PANE, 1), 0);
  ASSERT_EQ(::GetFocus(), files.m_hWnd);
  EXPECT_EQ(files.GetNextItem(-1, LVNI_FOCUSED), 2);
  files.DeleteAllItems();
}

} // namespace

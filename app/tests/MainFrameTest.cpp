// The main frame in this process, made by the program's document template:
// its panes, the command rules as an accelerator meets them, and the
// operations a running search calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppEngineServices.h"
#include "AppSettings.h"
#include "AppFrameTest.h"
#include "FatScanEngine.h"
#include "ImageDevices.h"
#include "ScanSession.h"
#include "WizardTestFrame.h"
#include "EngineCallScope.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "ProgressBar.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "QuendalVarnothView.h"
#include "SimpleListView.h"
#include "XTPCommandBars.h"
#include "XTPPaintManager.h"
#include "XTPControl.h"
#include "resource.h"

namespace {

class MainFrameTest : public AppFrameTest {
protected:
  void SetUp() override {
    AppFrameTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_NE(m_app.LogView, nullptr);
  }
  // A command as an accelerator sends it.
  void SendAccelerator(UINT id) { m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 1), 0); }
  CString Pane(int index) { return m_frame->GetStatusBar()->GetPaneText(index); }
};

TEST_F(MainFrameTest, SplitsTreeAndListAndRecordsItsWindow) {
  EXPECT_NE(m_frame->GetLeftPane(), nullptr);
  EXPECT_NE(m_frame->GetRightPane(), nullptr);
  ASSERT_NE(m_app.ScanWindowInfo, nullptr);
  EXPECT_EQ(m_app.ScanWindowInfo->mainWindow, m_frame->m_hWnd);
  EXPECT_EQ(m_frame->GetStatusBar()->GetCount(), 4);
}

TEST_F(MainFrameTest, DisabledCommandDoesNotRunFromAnAccelerator) {
  m_app.LogView->AddLogEntry(L"Fast Search", L"C:", L"Started", 1);
  m_app.ScanRunning = 1;
  SendAccelerator(ID_EDIT_CLEAR_LOG);
  EXPECT_EQ(m_app.LogView->GetLogRowCount(), 1);
  m_app.ScanRunning = 0;
  SendAccelerator(ID_EDIT_CLEAR_LOG);
  EXPECT_EQ(m_app.LogView->GetLogRowCount(), 0);
  EXPECT_EQ(m_app.LogRowCount, 0);
  EXPECT_EQ(m_app.LogNotEmpty, 0);
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_EDIT_SAVE_LOG));
}

TEST_F(MainFrameTest, StopIsAvailableInEveryPhaseOfASearchOnly) {
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
  m_app.ScanRunning = 1;
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
  m_frame->ScanPhaseBusy = 1;
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
  // A scan file being written cannot be stopped halfway.
  m_frame->RebuildBusy = 1;
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
}

// A search that fails shows its error box while it still counts as running:
// under the box it can no longer be stopped, and Stop is not offered.
TEST_F(MainFrameTest, StopIsNotOfferedUnderASearchsErrorBox) {
  constexpr uint8_t kDrive = 3;
  auto layer = std::make_unique<ImageDeviceLayer>();
  layer->Attach(kDrive, std::make_unique<MemoryDevice>(std::vector<uint8_t>(512 * 64)));
  m_app.Devices = std::move(layer);
  ScanSession::Target target;
  target.m_driveCode = kDrive;
  target.m_sectors = 64;
  m_app.Session =
      std::make_unique<ScanSession>(m_frame->EngineServices(), *m_app.Devices, ScanKind::FatVolume, target);
  m_app.FatEngine = m_app.Session->Fat();
  m_app.ScanRunning = 1;
  m_app.StopRequested = 0;
  ASSERT_TRUE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
  bool boxShown = false, stopOffered = true;
  {
    TimerScript script({[&] {
                         if (FindMessageBox() == nullptr) return false;
                         boxShown = true;
                         stopOffered = AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS);
                         return AnswerMessageBox(IDOK)();
                       }},
                       [] {});
    m_app.Session->Fat()->RunFatFastScan();
  }
  EXPECT_TRUE(boxShown) << "a volume of zeros is no FAT volume";
  EXPECT_FALSE(stopOffered);
  EXPECT_EQ(m_app.ScanRunning, 0);
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
}

TEST_F(MainFrameTest, ProgressCaptionCountsEntriesAndGoesAtTheEnd) {
  m_app.StopRequested = 0;
  m_frame->CreateScanProgressBar(10);
  ASSERT_NE(m_frame->GetScanProgressBar(), nullptr);
  EXPECT_EQ(m_frame->StepScanProgress(0), 1);
  EXPECT_EQ(m_app.ScanRunning, 1);
  EXPECT_EQ(Pane(0), CString(L"1 Entries Found"));
  m_frame->StepScanProgress(1);
  EXPECT_EQ(Pane(0), CString(L"2 Entries Found"));

  m_frame->OnScanFinished(0);
  EXPECT_EQ(m_frame->GetScanProgressBar(), nullptr);
  EXPECT_EQ(m_app.ScanRunning, 0);
  EXPECT_EQ(m_app.StopRequested, 1);
  EXPECT_EQ(m_app.ScanEnded, 1);
  EXPECT_EQ(m_app.ResultsPresent, 0);
  CString idle;
  idle.LoadString(AFX_IDS_IDLEMESSAGE);
  EXPECT_EQ(Pane(0), idle);
}

TEST_F(MainFrameTest, StepAfterStopDoesNothing) {
  m_app.StopRequested = 1;
  EXPECT_EQ(m_frame->StepScanProgress(5), 1);
  EXPECT_EQ(m_app.ScanRunning, 0);
}

TEST_F(MainFrameTest, EngineServicesReachTheLogAndPanes) {
  AppEngineServices services(m_app, *m_frame);
  services.AddLogEntry(u"Fast Search", u"Logical Drive C:", std::nullopt, LogStatus::Started);
  EXPECT_EQ(m_app.LogView->GetLogItemText(0, 1), CString(L"Logical Drive C:"));
  // The totals go up with the found count that follows each add.
  m_app.StopRequested = 0;
  services.UpdateTotalsPane(3, 12, 1024);
  services.UpdateFoundProgress(0, 15, 0);
  EXPECT_EQ(Pane(1), CString(L" Total 1.000 KB in 12 File(s) in 3 Folder(s)"));
  services.ShowCurrentItemText(0, u"letter.doc");
  EXPECT_EQ(Pane(2), CString(L"letter.doc"));
  services.ShowCurrentItemText(1, u"ignored");
  EXPECT_EQ(Pane(2), CString(L""));
  // A found count with nothing in the tree but its root is nothing to keep.
  services.OnScanFinished(4);
  EXPECT_EQ(m_app.ResultsPresent, 0);
  EXPECT_FALSE(services.CurrentTimeText().empty());
  EXPECT_NE(services.CurrentTimeText().back(), u'\n');
}

// A search's adds show their count, bar steps and totals at their own pace,
// each bar's first at once; the bar reaches the same position as with
// a step per add, and the end shows the last totals.
TEST_F(MainFrameTest, FoundProgressFollowsThePaceOfThePump) {
  auto now = std::make_shared<uint64_t>(1000);
  m_frame->SetPaceClock([now] { return *now; });
  AppEngineServices &services = m_frame->EngineServices();
  m_app.StopRequested = 0;
  services.CreateScanProgressBar(100);
  CProgressBar *bar = m_frame->GetScanProgressBar();
  ASSERT_NE(bar, nullptr);
  for (uint32_t found = 1; found <= 10; ++found) {
    services.UpdateTotalsPane(0, found, 100 * found);
    services.UpdateFoundProgress(0, found, 0);
  }
  EXPECT_EQ(Pane(0), CString(L"2 Entries Found"));
  EXPECT_EQ(bar->GetPos(), 1);
  EXPECT_EQ(Pane(1), CString(L" Total 100 Bytes in 1 File(s) in 0 Folder(s)"));
  *now += CMainFrame::kFoundIntervalMs;
  services.UpdateTotalsPane(0, 11, 1100);
  services.UpdateFoundProgress(0, 11, 0);
  EXPECT_EQ(Pane(0), CString(L"12 Entries Found"));
  EXPECT_EQ(bar->GetPos(), 11);
  EXPECT_EQ(Pane(1), CString(L" Total 1.074 KB in 11 File(s) in 0 Folder(s)"));
  services.UpdateTotalsPane(1, 12, 1200);
  services.UpdateFoundProgress(0, 13, 0);
  services.OnScanFinished(13);
  EXPECT_EQ(Pane(1), CString(L" Total 1.172 KB in 12 File(s) in 1 Folder(s)"));
}

// Paints of the status bar counted while a hook is in place.
int g_statusPaints = 0;
HWND g_statusBar = nullptr;
LRESULT CALLBACK CountStatusPaints(int code, WPARAM wParam, LPARAM lParam) {
  const auto *call = reinterpret_cast<const CWPSTRUCT *>(lParam);
  if (code >= 0 && call->hwnd == g_statusBar && call->message == WM_PAINT) ++g_statusPaints;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The bar is erased whenever it is drawn; with its caption already in the
// pane, that erase does not draw the status bar as well (under Wine each
// drawing is a round trip): the status bar is drawn once, in its turn.
TEST_F(MainFrameTest, ErasingTheBarLeavesTheStatusBarToItsOwnTurn) {
  m_frame->ShowWindow(SW_SHOW);
  m_frame->CreateScanProgressBar(10);
  CProgressBar *bar = m_frame->GetScanProgressBar();
  ASSERT_NE(bar, nullptr);
  m_frame->UpdateWindow();
  Pump();
  CStatusBar *status = m_frame->GetStatusBar();
  ASSERT_NE(status, nullptr);
  CString reading;
  reading.LoadString(IDS_READING);
  ASSERT_EQ(Pane(0), reading);
  g_statusBar = status->m_hWnd;
  g_statusPaints = 0;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountStatusPaints, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  status->Invalidate();
  bar->Invalidate(TRUE);
  bar->UpdateWindow();
  const int duringErase = g_statusPaints;
  status->UpdateWindow();
  const int afterwards = g_statusPaints;
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(duringErase, 0);
  EXPECT_EQ(afterwards, 1);
  EXPECT_EQ(Pane(0), reading);
}

// The captions are measured off screen: the bar stands where the status
// bar's own font, measured on the status bar, puts it, caption after caption.
TEST_F(MainFrameTest, TheBarStandsRightOfItsCaptionInTheStatusBarsFont) {
  m_frame->ShowWindow(SW_SHOW);
  m_app.StopRequested = 0;
  m_frame->CreateScanProgressBar(10);
  CProgressBar *bar = m_frame->GetScanProgressBar();
  ASSERT_NE(bar, nullptr);
  CStatusBar *status = m_frame->GetStatusBar();
  ASSERT_NE(status, nullptr);
  const auto widthOnTheBar = [status](const CString &text) {
    HDC hDC = ::GetDC(status->m_hWnd);
    HGDIOBJ old = ::SelectObject(hDC, status->GetFontHandle());
    SIZE size = {};
    ::GetTextExtentPoint32W(hDC, text, text.GetLength(), &size);
    ::SelectObject(hDC, old);
    ::ReleaseDC(status->m_hWnd, hDC);
    return static_cast<int>(size.cx);
  };
  for (UINT count : {0u, 9u, 99999u}) {
    m_frame->StepScanProgress(count);
    CRect pane;
    status->GetItemRect(0, &pane);
    const CRect expected = ProgressBarLayout(pane, widthOnTheBar(Pane(0)), widthOnTheBar(L" "), 100);
    CRect placed;
    bar->GetWindowRect(&placed);
    status->ScreenToClient(&placed);
    EXPECT_EQ(placed, expected) << static_cast<const wchar_t *>(Pane(0));
  }
}

// The bar moved by many steps at once stands where that many single steps
// leave it, also where it starts over.
TEST_F(MainFrameTest, SteppingByManyEqualsSteppingOneByOne) {
  m_frame->CreateScanProgressBar(7);
  CProgressBar &bar = *m_frame->GetScanProgressBar();
  for (unsigned steps : {0u, 1u, 3u, 6u, 7u, 8u, 13u, 14u, 15u, 40u}) {
    bar.SetPos(2);
    for (unsigned i = 0; i < steps; ++i) bar.StepIt();
    const int single = bar.GetPos();
    bar.SetPos(2);
    bar.StepBy(steps);
    EXPECT_EQ(bar.GetPos(), single) << steps << " steps";
  }
}

// A quit posted while an engine call pumps: the search is stopped as Stop
// stops it, later pumps are not ended by the same quit again, and the
// program quits once the call has returned.
TEST_F(MainFrameTest, QuitDuringASearchStopsItAndQuitsAfterwards) {
  m_app.ScanRunning = 1;
  m_app.StopRequested = 0;
  MSG quit;
  {
    EngineCallScope call(*m_frame);
    PostQuitMessage(5);
    EXPECT_EQ(m_app.PumpMessages(), 0);
    EXPECT_EQ(m_app.StopRequested, 1);
    EXPECT_EQ(m_app.ScanRunning, 0);
    EXPECT_EQ(m_app.ScanEnded, 1);
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    // The frame still answers while the engine unwinds.
    m_frame->PostMessage(WM_NULL);
    m_app.PumpMessages();
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, 0, 0, PM_NOREMOVE));
  }
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 5u);
}

// The tool bar follows the command table while a search runs (the idle
// update that refreshes it never comes then), and agrees with the menu and
// with the refusal to close.
TEST_F(MainFrameTest, ToolBarStopFollowsTheSearch) {
  ASSERT_NE(m_frame->GetStandardToolBar(), nullptr);
  auto toolBarStop = [this] { return ToolBarOffers(m_frame, ID_TOOLS_STOP_PROCESS); };
  AppEngineServices &services = m_frame->EngineServices();
  m_app.ScanRunning = 1;
  m_app.StopRequested = 0;
  services.SetScanPhaseBusy(true);
  EXPECT_TRUE(toolBarStop());
  EXPECT_TRUE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
  services.SetScanPhaseBusy(false);
  services.OnScanFinished(0);
  EXPECT_FALSE(toolBarStop());
  EXPECT_FALSE(AfxIsCommandEnabled(m_frame, ID_TOOLS_STOP_PROCESS));
}

// A command's state as a menu would show it.
class RecordingCmdUI : public CCmdUI {
public:
  BOOL enabled = TRUE;
  int checked = 0;
  void Enable(BOOL on) override { enabled = on; }
  void SetCheck(int check) override { checked = check; }
  void SetRadio(BOOL on) override { checked = on ? 1 : 0; }
  void SetText(LPCTSTR) override {}
};

int CheckOf(CFrameWnd *frame, UINT id) {
  RecordingCmdUI state;
  state.m_nID = id;
  state.DoUpdate(frame, TRUE);
  return state.checked;
}

TEST_F(MainFrameTest, KeyboardFilterSwallowsKeysWithoutUse) {
  struct Case {
    UINT message;
    WPARAM key;
    bool swallowed;
  };
  const Case cases[] = {
      {WM_KEYDOWN, VK_ESCAPE, true}, {WM_KEYDOWN, VK_RETURN, true}, {WM_KEYDOWN, VK_F1, true},
      {WM_KEYDOWN, VK_F5, true},     {WM_SYSKEYDOWN, VK_F10, true}, {WM_KEYDOWN, VK_F3, false},
      {WM_KEYDOWN, VK_F4, false},    {WM_KEYDOWN, 'N', true},       {WM_SYSKEYDOWN, 'O', true},
      {WM_KEYDOWN, 'A', false},
  };
  HWND target = m_frame->GetRightPane()->m_hWnd;
  for (const Case &c : cases) {
    MSG message = {target, c.message, c.key, 0, 0, {0, 0}};
    m_frame->PreTranslateMessage(&message);
    EXPECT_EQ(message.wParam == 0, c.swallowed) << std::hex << c.message << " " << c.key;
  }
  m_app.ResultsPresent = 1;
  MSG f5 = {target, WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
  m_frame->PreTranslateMessage(&f5);
  EXPECT_EQ(f5.wParam, (WPARAM)VK_F5);
}

// The settings commands tick their item and write the product key, which the
// next frame reads back.
TEST_F(MainFrameTest, SettingsTickPersistAndComeBack) {
  const wchar_t key[] = L"Software\\Quendal Information Systems Ltd.\\Quendal Varnoth File Recovery";
  HKEY created = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
      ERROR_SUCCESS);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_THEME_OFFICE2003), 0);
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR_LARGE);
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_THEME_OFFICE2003);
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLTIP_OFFICE);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_TOOLBAR_LARGE), 1);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_TOOLBAR_SMALL), 0);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_THEME_OFFICE2003), 1);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_TOOLTIP_OFFICE), 1);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_TOOLTIP_BALLOON), 0);

  // A new start: the flags of the old one are gone, the registry remains.
  m_frame->DestroyWindow();
  DrainQueue();
  m_app.ThemeOffice2003 = 0;
  m_app.BalloonTooltips = 1;
  CCommandLineInfo commandLine;
  ASSERT_TRUE(m_app.ProcessShellCommand(commandLine));
  m_frame = static_cast<CMainFrame *>(m_app.m_pMainWnd);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_TOOLBAR_LARGE), 1);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_THEME_OFFICE2003), 1);
  EXPECT_EQ(XTPGetPaintManager()->GetCurrentTheme(), xtpThemeOffice2003); // drawn in it from the start
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_TOOLTIP_OFFICE), 1);

  for (const wchar_t *value : {L"KOVA_T", L"KOVA_Tbr", L"KOVA_Tt"}) RegDeleteValueW(created, value);
  RegCloseKey(created);
}

// No theme ever chosen: the bars are drawn in the default theme, and the
// View menu ticks none of the four until one is picked.
TEST_F(MainFrameTest, NoThemeItemIsTickedUntilOneIsChosen) {
  const wchar_t key[] = L"Software\\Quendal Information Systems Ltd.\\Quendal Varnoth File Recovery";
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
    RegDeleteValueW(opened, L"KOVA_T");
    RegCloseKey(opened);
  }
  CXTPPaintManager::SetTheme(xtpThemeDefault);
  m_app.ThemeOffice2000 = m_app.ThemeOfficeXP = m_app.ThemeOffice2003 = m_app.ThemeNativeXP = 0;
  ASSERT_TRUE(RemakeFrame());
  EXPECT_EQ(XTPGetPaintManager()->GetCurrentTheme(), xtpThemeDefault);
  for (UINT item :
       {ID_VIEW_THEME_OFFICE2000, ID_VIEW_THEME_OFFICEXP, ID_VIEW_THEME_OFFICE2003, ID_VIEW_THEME_NATIVEXP})
    EXPECT_EQ(CheckOf(m_frame, item), 0) << item;
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_THEME_OFFICE2000);
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_THEME_OFFICE2000), 1);
  m_app.ThemeOffice2000 = 0;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
    RegDeleteValueW(opened, L"KOVA_T");
    RegCloseKey(opened);
  }
}

// The bars' layout and options kept in the user's profile from one run to
// the next: the toolbar moved to the left side, the status bar hidden and
// large icons are there again after closing and starting again.
TEST_F(MainFrameTest, BarsAndOptionsComeBackAfterClosing) {
  // The user's profile in the registry, under a key of this test's own.
  m_app.SetRegistryKey(L"QvMainFrameBarsTest");
  auto forgetBars = [this]() {
    HKEY app = m_app.GetAppRegistryKey();
    ASSERT_NE(app, nullptr);
    std::vector<std::wstring> sections;
    wchar_t name[256];
    for (DWORD i = 0;; i++) {
      DWORD length = 256;
      if (RegEnumKeyExW(app, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (wcsncmp(name, L"CommandBars", 11) == 0) sections.push_back(name);
    }
    for (const std::wstring &section : sections) RegDeleteTreeW(app, section.c_str());
    RegDeleteValueW(app, L"CommandBars");
    RegCloseKey(app);
  };
  forgetBars();
  CXTPCommandBars *bars = m_frame->GetCommandBars();
  ASSERT_TRUE(bars->DockCommandBarAtPosition(m_frame->GetStandardToolBar(), xtpBarLeft));
  m_frame->ShowControlBar(m_frame->GetStatusBar(), FALSE, FALSE);
  bars->GetCommandBarsOptions()->animationType = 3;
  bars->HideCommand(ID_EDIT_GO_UP);
  m_frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(IsWindow(m_frame->m_hWnd));
  m_frame = nullptr;
  m_app.m_pMainWnd = nullptr;
  DrainQueue();

  CCommandLineInfo commandLine;
  ASSERT_TRUE(m_app.ProcessShellCommand(commandLine));
  m_frame = static_cast<CMainFrame *>(m_app.m_pMainWnd);
  ASSERT_NE(m_frame, nullptr);
  bars = m_frame->GetCommandBars();
  EXPECT_EQ(m_frame->GetStandardToolBar()->GetPosition(), xtpBarLeft);
  EXPECT_FALSE(m_frame->GetStatusBar()->IsWindowVisible());
  EXPECT_EQ(bars->GetCommandBarsOptions()->animationType, 3);
  // The commands hidden are the program's choice, not stored with the user's.
  EXPECT_FALSE(bars->IsControlHidden(ID_EDIT_GO_UP));
  EXPECT_FALSE(bars->GetCommandBarsOptions()->bShowExpandButtonAlways) << "the frame's own choice stands";
  forgetBars();
}

// Settings that cannot be stored (no product key, no right to write it) are
// told once, then kept quietly for the rest of the run.
TEST_F(MainFrameTest, SettingThatCannotBeStoredIsToldOnce) {
  int notices = 0;
  m_app.ProductSettings = SettingsWriter(HKEY_CURRENT_USER, L"Software\\Quendal Varnoth Tests\\No Such Key",
                                         [&notices] { ++notices; });
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_THEME_OFFICE2003);
  EXPECT_EQ(notices, 1);
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR_LARGE);
  m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLTIP_OFFICE);
  EXPECT_EQ(notices, 1);
  // The choice still holds in this run.
  EXPECT_EQ(CheckOf(m_frame, ID_VIEW_THEME_OFFICE2003), 1);
}

// The product key's "LANG" replaces the language value as the tree starts,
// read as every 32-bit value is: one of another size counts as absent.
TEST_F(MainFrameTest, TreeTakesTheProductKeysLanguageOnlyAsA32BitValue) {
  const wchar_t key[] = L"Software\\Quendal Information Systems Ltd.\\Quendal Varnoth File Recovery";
  HKEY created = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
      ERROR_SUCCESS);
  struct Case {
    std::vector<BYTE> m_bytes;
    DWORD m_expected;
  };
  const Case cases[] = {{{3, 0, 0, 0}, 3}, {{2, 0}, 0}, {{4, 0, 0, 0, 0, 0, 0, 0}, 0}};
  for (const Case &c : cases) {
    ASSERT_EQ(RegSetValueExW(created, L"LANG", 0, REG_DWORD, c.m_bytes.data(), (DWORD)c.m_bytes.size()),
              ERROR_SUCCESS);
    m_frame->DestroyWindow();
    DrainQueue();
    m_app.LanguageId = 0;
    CCommandLineInfo commandLine;
    ASSERT_TRUE(m_app.ProcessShellCommand(commandLine));
    m_frame = static_cast<CMainFrame *>(m_app.m_pMainWnd);
    EXPECT_EQ(m_app.LanguageId, c.m_expected) << c.m_bytes.size() << " bytes";
  }
  RegDeleteValueW(created, L"LANG");
  RegCloseKey(created);
}

// "LANG" = 1 takes the French library from the program's folder: the frame
// made then has its menus from it (the start-up test sees the wizard in
// French, but under Wine cannot read another process's menus).
TEST_F(MainFrameTest, FrenchLibraryGivesTheFrameFrenchMenus) {
  const std::wstring executable = std::wstring(QV_LANGUAGE_DIR) + L"/QuendalVarnoth.exe";
  EXPECT_EQ(LoadLanguageLibrary(5, executable), nullptr);
  HMODULE french = LoadLanguageLibrary(1, executable);
  ASSERT_NE(french, nullptr);
  HINSTANCE own = AfxGetResourceHandle();
  AfxSetResourceHandle(french);
  const bool made = RemakeFrame();
  AfxSetResourceHandle(own);
  ASSERT_TRUE(made);
  CXTPCommandBar *menuBar = m_frame->GetCommandBars()->GetMenuBar();
  ASSERT_NE(menuBar, nullptr);
  ASSERT_GE(menuBar->GetControlCount(), 2);
  EXPECT_EQ(menuBar->GetControl(0)->GetCaption(), CString(L"&Fichier"));
  EXPECT_EQ(menuBar->GetControl(1)->GetCaption(), CString(L"\u00C9&dition"));
  m_frame->DestroyWindow();
  DrainQueue();
  m_frame = nullptr;
  FreeLibrary(french);
}

} // namespace

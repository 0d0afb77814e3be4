#include "QuendalVarnoth.h"

#include <string>

#include "AppSettings.h"
#include "AppText.h"
#include "DriveSource.h"
#include "HelpFiles.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "MyPropertySheet.h"
#include "QuendalVarnothDoc.h"
#include "RecoveryDestinationGuard.h"
#include "ScanSession.h"
#include "WinDeviceLayer.h"
#include "resource.h"
#include "sinstance.h"

const wchar_t kProductTitle[] = L"Quendal Varnoth File Recovery";

BEGIN_MESSAGE_MAP(CQuendalVarnothApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
END_MESSAGE_MAP()

CQuendalVarnothApp::CQuendalVarnothApp()
    : Devices(std::make_unique<WinDeviceLayer>()), DriveFinder(std::make_unique<SystemDriveSource>()),
      Help(std::make_unique<HtmlHelpOpener>()),
      ProductSettings(HKEY_LOCAL_MACHINE, kProductKeyPath, [this] { TellSettingsNotStored(); }) {}

CQuendalVarnothApp::~CQuendalVarnothApp() = default;

CQuendalVarnothApp &TheQvApp() {
  return *static_cast<CQuendalVarnothApp *>(AfxGetApp());
}

void CQuendalVarnothApp::LoadLanguageLibrary() {
  LanguageId = ReadRegistryDword(HKEY_LOCAL_MACHINE, kLanguageKeyPath, L"LANG").value_or(0);
  wchar_t executable[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, executable, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  ResourceModule = ::LoadLanguageLibrary(LanguageId, executable);
  if (ResourceModule != nullptr) AfxSetResourceHandle(ResourceModule);
}

BOOL CQuendalVarnothApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControls();
  LoadLanguageLibrary();
  // A copied program has no set-up behind it: make the key its settings go to.
  EnsureProductKey(HKEY_LOCAL_MACHINE, kProductKeyPath, ProgramFolder());
  SetRegistryKey(L"Local AppWizard-Generated Applications");
  // The View menu's check shows the stored setting even before a wizard page
  // has read it.
  TipsOnStartup = GetProfileInt(L"Tip", L"StartUp", 0) == 0 ? 1 : 0;

  CInstanceChecker checker(m_pszAppName);
  if (checker.PreviousInstanceRunning()) {
    checker.ActivatePreviousInstance();
    return FALSE;
  }
  LoadStdProfileSettings(4);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CQuendalVarnothDoc),
                                        RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CLeftView)));
  CCommandLineInfo commandLine;
  ParseCommandLine(commandLine);
  if (!ProcessShellCommand(commandLine)) return FALSE;
  if (!checker.PreviousInstanceRunning()) checker.TrackFirstInstanceRunning(m_pMainWnd->GetSafeHwnd());

  m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
  m_pMainWnd->UpdateWindow();
  m_pMainWnd->SetWindowText(kProductTitle);
  StartupTipPending = 1;
  if (ShowWizardAtStartSetting(HKEY_LOCAL_MACHINE, kProductKeyPath)) RunWizard();
  return TRUE;
}

int CQuendalVarnothApp::ExitInstance() {
  int code = CWinApp::ExitInstance();
  if (ResourceModule != nullptr) {
    AfxSetResourceHandle(AfxGetInstanceHandle());
    FreeLibrary(ResourceModule);
    ResourceModule = nullptr;
  }
  return code;
}

int CQuendalVarnothApp::PumpMessages() {
  while (PeekMessageW(&m_pumpMessage, nullptr, 0, 0, PM_NOREMOVE)) {
    if (PumpMessage()) continue;
    // The quit message was taken here, inside a long loop.
    const int code = static_cast<int>(m_msgCur.wParam);
    CWnd *main = m_pMainWnd;
    if (main != nullptr && main->IsKindOf(RUNTIME_CLASS(CMainFrame)) &&
        static_cast<CMainFrame *>(main)->EngineCallDepth > 0) {
      // Posted again now, it would be taken by the next pump and the next,
      // while the engine runs on: stop the engine instead and quit when it
      // has returned.
      m_heldQuit = code;
      ScanEnded = 1;
      StopRequested = 1;
      ScanRunning = 0;
      return 0;
    }
    // Post it again so the main message loop ends as well.
    PostQuitMessage(code);
    return 0;
  }
  return m_heldQuit ? 0 : 1;
}

void CQuendalVarnothApp::PostHeldQuit() {
  if (!m_heldQuit) return;
  const int code = *m_heldQuit;
  m_heldQuit.reset();
  PostQuitMessage(code);
}

void CQuendalVarnothApp::RunWizard() {
  // One wizard at a time: the one open is still inside its modal loop.
  if (WizardSheet != nullptr && WizardSheet->m_hWnd != nullptr) return;
  auto sheet = std::make_unique<MyPropertySheet>(L"", m_pMainWnd, 0);
  MyPropertySheet &wizard = *sheet;
  WizardSheet = std::move(sheet);
  wizard.DoModal();
}

void CQuendalVarnothApp::ShowHelp(HWND owner, DWORD context, const wchar_t *fileName) {
  if (Help == nullptr) return;
  const std::wstring path = HelpFilePath(fileName != nullptr ? fileName : kHelpFileName);
  if (context == 0)
    Help->Open(owner, path, kHelpDisplayTopic, 0);
  else
    Help->Open(owner, path, kHelpContextCommand, context);
}

void CQuendalVarnothApp::ShowLanguageHelp(HWND owner, DWORD context) {
  ShowHelp(owner, context, LanguageHelpFileName(LanguageId).c_str());
}

void CQuendalVarnothApp::TellSettingsNotStored() {
  ::MessageBoxW(m_pMainWnd->GetSafeHwnd(), LoadText(IDS_SETTINGS_NOT_STORED), kProductTitle,
                MB_OK | MB_ICONINFORMATION);
}

void CQuendalVarnothApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::OnLButtonDown(UINT nFlags, CPoint point) {
  // The picture draws a close mark in its top-right corner.
  if (point.x >= 330 && point.y <= 18) {
    EndDialog(4);
    return;
  }
  CDialog::OnLButtonDown(nFlags, point);
}

// The application object: starts the program (language library, registry
// key, single instance, document template, main window) and holds all scan
// state that the frame, the views and the engines share.
#pragma once

#include "AppSettings.h"
#include "DriveRecord.h"
#include "FileMaskCriteria.h"
#include "Framework.h"
#include "RecoveryClashAnswers.h"

#include <memory>
#include <optional>
#include <vector>

class CSimpleListView;
class DeviceLayer;
class VolumeQueries;
class ScanSession;
class CPropertySheet;
class DriveSource;
class HelpOpener;
class FatScanEngine;
class NtfsScanEngine;

// The text of the product, also the caption of its message boxes.
extern const wchar_t kProductTitle[];

class CQuendalVarnothApp : public CWinApp {
public:
  CQuendalVarnothApp();
  ~CQuendalVarnothApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Dispatches the messages waiting in the queue without ever waiting;
  // 1 when the queue is empty, 0 when the program is quitting. A quit that
  // arrives while an engine call runs stops the search, as Stop does, and
  // is held until the call has returned (PostHeldQuit).
  int PumpMessages();
  // Posts the quit a pump held back, once no engine call is left.
  void PostHeldQuit();
  // Opens the search wizard over the main window.
  void RunWizard();
  // Opens a help file of the program's folder (the program's help unless
  // another is named) at the topic of a help context, or at its start page
  // for context 0.
  void ShowHelp(HWND owner, DWORD context, const wchar_t *fileName = nullptr);
  // The same in the help file of the language "LANG" chose (Find's F1).
  void ShowLanguageHelp(HWND owner, DWORD context);

  afx_msg void OnAppAbout();

  // Scan state shared by the frame, the views and the engines.
  // Where every sector read goes: the Windows devices in the program; tests
  // put image files in its place before a search starts.
  std::unique_ptr<DeviceLayer> Devices;
  // What the searched-drive guard asks of the system about volumes; none:
  // the system itself. Tests answer from a table.
  std::unique_ptr<VolumeQueries> Volumes;
  // The disk hold of the current search or opened scan file; FatEngine and
  // NtfsEngine point into it.
  std::unique_ptr<ScanSession> Session;
  // Where the drive page takes its drive list from: the system's drives in
  // the program; tests put a fixed list in its place.
  std::unique_ptr<DriveSource> DriveFinder;
  // Where every help call goes: the system's HTML Help in the program; tests
  // put a recording opener in its place.
  std::unique_ptr<HelpOpener> Help;
  CSimpleListView *LogView = nullptr;
  // The wizard that Run Wizard made last.
  std::unique_ptr<CPropertySheet> WizardSheet;
  FatScanEngine *FatEngine = nullptr;
  NtfsScanEngine *NtfsEngine = nullptr;
  BYTE ScanInfoSaved = 0;
  BYTE ScanEnded = 0;
  BYTE StopRequested = 1;
  BYTE ResultsPresent = 0;
  BYTE ScanRunning = 0;
  BYTE LogNotEmpty = 0;
  int BalloonTooltips = 1;
  wchar_t ScanMessageBuffers[6][260] = {};
  BYTE RenameChosen = 0;
  BYTE RenameCancelled = 0;
  // Set by the same dialog when the user chose to overwrite the existing file.
  BYTE RenameOverwrite = 0;
  // The answers to recovery's "File already exists" question.
  RecoveryClashAnswers ClashAnswers;
  HMODULE ResourceModule = nullptr;
  DWORD LanguageId = 0;
  int SearchKind[3] = {1, 0, 0};
  BYTE ReadRetryCount = 0;
  // The drives of the drive page's last activation.
  std::vector<DriveRecord> DriveList;
  // A copy of the drive the current results come from, taken at the
  // wizard's Finish (the list above is rebuilt by every later wizard).
  std::optional<DriveRecord> SelectedDrive;
  BYTE SortColumn = 0;
  BYTE SortAscending = 0;
  BYTE SortDirectionCopy = 0;
  BYTE HeaderClicked = 0;
  BYTE LastSortColumn = 100;
  BYTE FindNextAvailable = 0;
  BYTE CurrentGroup = 0;
  BYTE SelectedDriveIndex = 0;
  int TreeHasFocus = 0;
  int ListFocusedOnce = 0;
  int AnyChecked = 0;
  int AllChecked = 0;
  int LogRowCount = 0;
  // Main window, folder tree and file list handles and a path, for the
  // scan-file writers and loaders.
  struct ScanWindowBlock {
    HWND mainWindow;
    HWND treeWindow;
    HWND listWindow;
    wchar_t path[260];
  };
  ScanWindowBlock *ScanWindowInfo = nullptr;
  int SelectedFolderCheck = 0;
  // Whether a file mask hides part of the tree.
  BOOL MaskApplied = FALSE;
  // The File Mask dialog's choices of its last Set Mask, shown again at its
  // next opening.
  FileMaskChoices MaskChoices;
  int ShowWizardAtStart = 0;
  int TipsOnStartup = 0;
  // Which command-bar theme is on; at most one is 1.
  int ThemeNativeXP = 0;
  int ThemeOffice2003 = 0;
  int ThemeOffice2000 = 0;
  int ThemeOfficeXP = 0;
  int StartupTipPending = 0;
  CDialog *FindDialog = nullptr;
  // The user's signature file when it is not the installed one (a test's
  // own); empty: the installed one.
  std::wstring SignatureFileOverride;
  int HighlightedRow = 40000;
  // The product key's settings; the first one that cannot be stored is told.
  SettingsWriter ProductSettings;

private:
  // The peeked message of PumpMessages.
  MSG m_pumpMessage = {};
  // The exit code of a quit that came during an engine call.
  std::optional<int> m_heldQuit;

  void LoadLanguageLibrary();
  void TellSettingsNotStored();

  DECLARE_MESSAGE_MAP()
};

// The application object, for the frame, the views and the engines.
CQuendalVarnothApp &TheQvApp();

// About box: a picture; a click in its top-right corner closes it.
class CAboutDlg : public CDialog {
public:
  CAboutDlg();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

// The main frame's scan-information commands: Open Saved Scan Information,
// Save Scan Information with its name-clash question, the offer to save
// unsaved results, and Select All / Unselect All.
#include "AppEngineServices.h"
#include "AppText.h"
#include "EngineCallScope.h"
#include "FatScanEngine.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "NtfsAdvancedEngine.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothView.h"
#include "SanRename.h"
#include "ScanSession.h"
#include "SearchedDriveGuard.h"
#include "SessionScanFile.h"
#include "resource.h"

namespace {

void ShowStopBox(CWnd &owner, UINT textId) {
  ::MessageBoxW(owner.m_hWnd, LoadText(textId), kProductTitle, MB_ICONSTOP | MB_TOPMOST);
}

// The drive code the proposal names: the logical drive's own code when the
// results come from one, else the code the session reads through.
uint8_t ProposalDriveCode(const CQuendalVarnothApp &app) {
  if (app.SelectedDrive && app.SelectedDrive->m_name.size() >= 2 && app.SelectedDrive->m_name[1] == u':')
    return app.SelectedDrive->m_driveCode;
  return app.Session ? app.Session->Where().m_driveCode : 0;
}

} // namespace

void CMainFrame::OnOpenScanInfo() {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.ScanRunning || EngineCallDepth > 0) return;
  CString filter;
  filter.Format(L"%s(*.DAT)|*.DAT||", LoadText(IDS_SCAN_FILE_FILTER).GetString());
  CString title = LoadText(IDS_OPEN_SCAN_FILE_TITLE);
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter, this);
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return;
  OpenScanFile(dialog.GetPathName().GetString());
}

void CMainFrame::OpenScanFile(const std::wstring &path) {
  CQuendalVarnothApp &app = TheQvApp();
  if (app.ScanRunning || EngineCallDepth > 0) return;
  if (app.ScanWindowInfo) lstrcpynW(app.ScanWindowInfo->path, path.c_str(), 260);
  // The header is read and judged before anything of the current results
  // is let go: a wrong or unreadable file leaves them as they are.
  const ScanFileHeaderInfo info = InspectScanFile(U16(path));
  if (!info.m_opened) return;
  if (!info.m_recognised) {
    ShowStopBox(*this, IDS_NOT_VALID_SCAN_FILE);
    return;
  }
  // A volume that does not lie inside the drive the file names (a file of
  // another drive, or one damaged where it says where the volume lies)
  // would send every read and the destination guard elsewhere.
  if (!ScanFileFitsItsDrive(info, *app.Devices)) {
    CString text;
    text.Format(LoadText(IDS_SCAN_FILE_NOT_ON_DRIVE), std::to_wstring(info.m_target.m_sectors).c_str(),
                std::to_wstring(info.m_target.m_startSector).c_str(),
                std::to_wstring(DriveSectorsOf(info, *app.Devices)).c_str());
    ::MessageBoxW(m_hWnd, text, kProductTitle, MB_ICONSTOP | MB_TOPMOST);
    return;
  }
  // Results not yet saved are offered for saving before the file replaces
  // them, as a new search and Exit do; Cancel keeps them.
  if (!OfferToSaveResults()) return;
  app.FatEngine = nullptr;
  app.NtfsEngine = nullptr;
  app.Session.reset();
  DropFileMask();
  // The results no longer come from the drive the wizard chose last.
  app.SelectedDrive.reset();
  EngineServices().ChosenHeaders().clear();
  SetCurrentItemPane(L"", TRUE);
  UpdateTotalsPane(0, 0, 0);
  if (CLeftView *tree = GetLeftPane()) {
    tree->ClearTree();
    tree->Entries().Clear();
  }
  CheckedFolderCount = CheckedFileCount = 0;
  ListClickCounters[0] = ListClickCounters[1] = 0;

  app.ScanInfoSaved = app.ScanEnded = app.StopRequested = app.ResultsPresent = 0;
  app.ScanRunning = 1;
  app.FindNextAvailable = 0;
  app.AnyChecked = app.AllChecked = 0;
  app.Session = MakeScanFileSession(info, EngineServices(), *app.Devices);
  app.FatEngine = app.Session->Fat();
  app.NtfsEngine = app.Session->Ntfs();
  bool loaded = false;
  {
    EngineCallScope scope(*this);
    loaded = LoadSessionScanFile(*app.Session, EngineServices(), U16(path));
  }
  if (!loaded) {
    // The loader refused the file after its header: nothing to show.
    ResetBusyFlags();
    OnScanFinished(0);
    app.ResultsPresent = 0;
  }
}

BOOL CMainFrame::RefuseSaveWhileMasked() {
  // The tree's list holds only the kept entries: saved, the file would pass
  // for the whole results and the close would no longer offer to save them.
  if (!TheQvApp().MaskApplied) return FALSE;
  SaveCancelled = 1;
  ::MessageBoxW(SaveDialogOwner().m_hWnd, LoadText(IDS_SAVE_WHILE_MASKED), kProductTitle,
                MB_ICONINFORMATION | MB_TOPMOST);
  return TRUE;
}

void CMainFrame::OnSaveScanInfo() {
  CQuendalVarnothApp &app = TheQvApp();
  SaveCancelled = 0;
  if (app.ScanRunning || EngineCallDepth > 0 || !app.Session) return;
  if (RefuseSaveWhileMasked()) return;
  CString defaultName = LoadText(IDS_SCAN_FILE_DEFAULT_NAME);
  CString title = LoadText(IDS_SAVE_SCAN_INFO_TITLE);
  // A place on the searched drive is refused and the dialog asks again.
  for (;;) {
    CFileDialog dialog(FALSE, nullptr, defaultName, OFN_HIDEREADONLY, L"(*.DAT)|*.DAT||", &SaveDialogOwner());
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK) {
      SaveCancelled = 1;
      return;
    }
    if (SaveScanFileAs(dialog.GetPathName().GetString())) return;
  }
}

BOOL CMainFrame::SaveScanFileAs(const std::wstring &chosen) {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  // Each try tells its own outcome: a name refused before does not make a
  // later save count as cancelled (a close that asked for it goes on).
  SaveCancelled = 0;
  if (app.ScanRunning || EngineCallDepth > 0 || !app.Session || tree == nullptr) return TRUE;
  if (RefuseSaveWhileMasked()) return TRUE;
  std::wstring path = chosen + L".DAT";
  // The name-clash question can lead to another folder: each name is checked.
  const auto refusedHere = [this](const std::wstring &candidate) {
    if (!RefuseFileOnSearchedDrive(SaveDialogOwner().m_hWnd, candidate)) return false;
    SaveCancelled = 1;
    return true;
  };
  if (refusedHere(path)) return FALSE;
  const uint8_t code = ProposalDriveCode(app);
  // A typed new name that exists as well is asked about again.
  while (ScanFileExists(path)) {
    CSanRename rename(path, static_cast<uint8_t>(code + 128), code, &SaveDialogOwner());
    // The answer is this dialog's own: one that could not open gives none
    // and counts as Cancel, never as the answer of the dialog before it.
    app.RenameChosen = app.RenameCancelled = app.RenameOverwrite = 0;
    if (rename.DoModal() == -1 || (!app.RenameChosen && !app.RenameOverwrite)) app.RenameCancelled = 1;
    if (app.RenameCancelled) {
      // The results stay unsaved, and a close that offered the save stays open.
      SaveCancelled = 1;
      return TRUE;
    }
    if (!app.RenameChosen) break;
    path = app.ScanMessageBuffers[5];
    if (refusedHere(path)) return FALSE;
  }
  ScanPhaseBusy = RebuildBusy = 1;
  app.ScanEnded = app.StopRequested = app.ResultsPresent = 0;
  app.ScanRunning = 1;
  app.FindNextAvailable = 0;
  app.OnIdle(0);
  bool saved = false;
  {
    EngineCallScope scope(*this);
    saved = SaveSessionScanFile(*app.Session, EngineServices(), U16(path), tree->Entries());
  }
  // Only a file completely in place counts as saved; the results are still there either way.
  app.ScanInfoSaved = saved ? 1 : 0;
  app.ResultsPresent = tree->Entries().Empty() ? 0 : 1;
  if (!saved) SaveCancelled = 1;
  return TRUE;
}

BOOL CMainFrame::OfferToSaveResults(CWnd *owner) {
  CQuendalVarnothApp &app = TheQvApp();
  SaveCancelled = 0;
  if (!app.ResultsPresent || app.ScanInfoSaved) return TRUE;
  // Owned by the window that asks (the modal wizard), so that window stays
  // disabled under the offer and the save's dialogs and cannot act again.
  CWnd *const previousOwner = m_saveOwner;
  m_saveOwner = owner;
  const int answer = ::MessageBoxW(SaveDialogOwner().m_hWnd, LoadText(IDS_SAVE_SCAN_QUESTION), kProductTitle,
                                   MB_ICONINFORMATION | MB_YESNOCANCEL | MB_TOPMOST);
  if (answer == IDYES) OnSaveScanInfo();
  m_saveOwner = previousOwner;
  if (answer == IDCANCEL) return FALSE;
  return SaveCancelled ? FALSE : TRUE;
}

void CMainFrame::OnSelectAll() {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  if (app.ScanRunning || tree == nullptr || tree->Entries().Root() == nullptr) return;
  tree->CheckModel().CheckFolder(*tree->Entries().Root(), kChecked);
  if (CQuendalVarnothView *list = GetRightPane()) list->ShowNodeChecks();
  UINT folders = 0, files = 0;
  tree->CountCheckedEntries(folders, files);
  CheckedFolderCount = static_cast<int>(folders);
  CheckedFileCount = static_cast<int>(files);
  app.AllChecked = 1;
  app.AnyChecked = 1;
  SetCurrentItemPane(L"", TRUE);
}

void CMainFrame::OnUnselectAll() {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  if (app.ScanRunning || tree == nullptr || tree->Entries().Root() == nullptr) return;
  tree->CheckModel().CheckFolder(*tree->Entries().Root(), kUnchecked);
  if (CQuendalVarnothView *list = GetRightPane()) list->ShowNodeChecks();
  UINT folders = 0, files = 0;
  tree->CountCheckedEntries(folders, files);
  CheckedFolderCount = CheckedFileCount = 0;
  app.AllChecked = 0;
  app.AnyChecked = 0;
  SetCurrentItemPane(L"", TRUE);
}

// The main frame's recovery commands: Recover All and Recover Selected ask
// for a destination folder, refuse one on the drive being searched, and
// write the files with the frame's dialogs answering the run's questions.
#include "AppEngineServices.h"
#include "AppText.h"
#include "CannotSaveDlg.h"
#include "EngineCallScope.h"
#include "FileExistsDlg.h"
#include "FileRecovery.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "QuendalVarnoth.h"
#include "ScanSession.h"
#include "SearchedDriveGuard.h"
#include "resource.h"

#include <shlobj.h>

namespace {

// The run's questions, answered by the frame's dialogs.
class FramePrompts : public RecoveryPrompts {
public:
  explicit FramePrompts(CWnd &owner) : m_owner(owner) {}

  ClashButton AskClash(const std::u16string &existingPath, std::u16string &newName) override {
    CFileExistsDlg dialog(Wide(existingPath), Wide(newName), &m_owner);
    dialog.DoModal();
    newName = U16(dialog.NewName());
    return dialog.Answer();
  }
  bool SkipWhenNoRoom(const std::u16string &path, uint64_t size) override {
    CCannotSaveDlg dialog(Wide(path), size, &m_owner);
    return dialog.DoModal() == IDC_CANNOT_SAVE_SKIP;
  }

private:
  CWnd &m_owner;
};

// The folder picker; false when the user cancelled.
bool ChooseDestination(CWnd &owner, std::wstring &folder) {
  CString title = LoadText(IDS_SELECT_DESTINATION);
  wchar_t chosen[MAX_PATH] = {};
  BROWSEINFOW browse = {};
  browse.hwndOwner = owner.m_hWnd;
  browse.pszDisplayName = chosen;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  CDialogCentring centring(owner.m_hWnd);
  LPITEMIDLIST item = SHBrowseForFolderW(&browse);
  if (item == nullptr) return false;
  const bool ok = SHGetPathFromIDListW(item, chosen) != FALSE;
  CoTaskMemFree(item);
  folder = chosen;
  return ok && !folder.empty();
}

RecoveryDates DatesOf(ScanKind kind) {
  switch (kind) {
  case ScanKind::FatVolume:
    return RecoveryDates::FatStamps;
  case ScanKind::NtfsVolume:
    return RecoveryDates::NtfsTimes;
  default:
    return RecoveryDates::None;
  }
}

} // namespace

void CMainFrame::OnRecoverAll() {
  std::wstring folder;
  if (TheQvApp().ScanRunning || EngineCallDepth > 0 || !ChooseDestination(*this, folder)) return;
  RecoverInto(folder, FALSE);
}

void CMainFrame::OnRecoverSelected() {
  std::wstring folder;
  if (TheQvApp().ScanRunning || EngineCallDepth > 0 || !ChooseDestination(*this, folder)) return;
  RecoverInto(folder, TRUE);
}

BOOL CMainFrame::RecoverInto(const std::wstring &destination, BOOL selectedOnly) {
  CQuendalVarnothApp &app = TheQvApp();
  CLeftView *tree = GetLeftPane();
  if (app.ScanRunning || EngineCallDepth > 0 || !app.Session || tree == nullptr) return FALSE;
  ScanSession &session = *app.Session;

  const SearchedPlace searched = *LoadedResultsPlace(app);
  const GuardAnswer guard = CheckWriteTarget(destination, searched);
  const auto refuse = [this] {
    ::MessageBoxW(m_hWnd, LoadText(IDS_DESTINATION_ON_SEARCHED_DRIVE), kProductTitle,
                  MB_ICONSTOP | MB_TOPMOST);
  };
  if (guard.m_verdict != GuardVerdict::Allowed) {
    refuse();
    return FALSE;
  }
  ::EngineServices &services = EngineServices();
  if (guard.m_byLetter)
    services.AddLogEntry(services.LoadText(RecoveryText::kSavingFiles),
                         services.LoadText(IDS_DESTINATION_CHECKED_BY_LETTER), services.CurrentTimeText(),
                         LogStatus::Completed);

  FramePrompts prompts(*this);
  FileRecovery recovery(
      services, tree->Entries(),
      [&session](const EntryRecord &entry, const RecoveryFileSink &sink) -> RecoveryRead {
        bool cutToRuns = false;
        const bool whole = session.ReadFoundFile(entry, sink, &cutToRuns);
        return cutToRuns ? RecoveryRead::CutToClusters() : RecoveryRead(whole);
      },
      app.ClashAnswers, prompts);
  RecoveryOptions options;
  options.m_scope = selectedOnly ? RecoveryScope::Selected : RecoveryScope::All;
  options.m_dates = DatesOf(session.Kind());
  options.m_destination = U16(destination);
  options.m_bytesToWrite = [&session](const EntryRecord &entry) { return session.BytesToRead(entry); };
  options.m_folderAllowed = [&searched](const std::u16string &folder) {
    return CheckWriteTarget(Wide(folder), searched).m_verdict == GuardVerdict::Allowed;
  };

  app.ScanRunning = 1;
  app.StopRequested = 0;
  RecoveryResult result;
  {
    EngineCallScope scope(*this);
    result = recovery.Run(options);
  }
  DeleteScanProgressBar();
  app.ScanRunning = 0;
  app.StopRequested = 1;
  // A folder of the destination turned out to be the searched volume
  // mounted there: nothing went into it.
  if (result.m_refused) refuse();
  return TRUE;
}

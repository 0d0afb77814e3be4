#include "SearchedDriveGuard.h"

#include "AppText.h"
#include "MyPropertySheet.h"
#include "QuendalVarnoth.h"
#include "ScanSession.h"
#include "resource.h"

namespace {

bool IsLogicalDrive(const DriveRecord &drive) {
  return drive.m_name.size() >= 2 && drive.m_name[1] == u':';
}

// The place a search of the target reads (a whole disk: sectors 0), with
// the letters for when the system cannot tell volumes apart: the logical
// drive searched, and for a search through a disk every logical drive the
// drive list places on that disk.
SearchedPlace PlaceOf(const CQuendalVarnothApp &app, const ScanSession::Target &target, bool wholeDisk,
                      const DriveRecord *drive) {
  SearchedPlace searched;
  searched.m_driveCode = target.m_driveCode;
  searched.m_startSector = target.m_startSector;
  searched.m_sectors = wholeDisk ? 0 : target.m_sectors;
  if (drive != nullptr && IsLogicalDrive(*drive)) searched.m_letters += drive->m_name[0];
  if (searched.m_driveCode >= 0x80)
    for (const DriveRecord &other : app.DriveList)
      if (IsLogicalDrive(other) && other.m_biosDiskCode == searched.m_driveCode)
        searched.m_letters += other.m_name[0];
  return searched;
}

bool Guarded(const std::wstring &path, const std::optional<SearchedPlace> &searched) {
  return searched && CheckWriteTarget(path, *searched).m_verdict != GuardVerdict::Allowed;
}

} // namespace

std::optional<SearchedPlace> LoadedResultsPlace(const CQuendalVarnothApp &app) {
  if (!app.Session) return std::nullopt;
  const ScanSession &session = *app.Session;
  return PlaceOf(app, session.Where(), session.Kind() == ScanKind::PhysicalDisk,
                 app.SelectedDrive ? &*app.SelectedDrive : nullptr);
}

std::optional<SearchedPlace> WizardChosenPlace(const CQuendalVarnothApp &app) {
  auto *sheet = dynamic_cast<MyPropertySheet *>(app.WizardSheet.get());
  if (sheet == nullptr || !::IsWindow(sheet->m_hWnd)) return std::nullopt;
  const CMyTreeCtrl &tree = sheet->DrivePage().DriveTree();
  const int record = tree.m_hWnd != nullptr ? tree.CheckedRecord() : -1;
  if (record < 0 || static_cast<size_t>(record) >= app.DriveList.size()) return std::nullopt;
  const DriveRecord &drive = app.DriveList[static_cast<size_t>(record)];
  const bool wholeDisk = app.SearchKind[2] != 0;
  return PlaceOf(app, wholeDisk ? ScanSession::DiskTarget(drive) : ScanSession::VolumeTarget(drive),
                 wholeDisk, &drive);
}

GuardAnswer CheckWriteTarget(const std::wstring &path, const SearchedPlace &searched) {
  if (AfxGetApp() != nullptr && TheQvApp().Volumes)
    return CheckRecoveryDestination(U16(path), searched, *TheQvApp().Volumes);
  SystemVolumeQueries queries;
  return CheckRecoveryDestination(U16(path), searched, queries);
}

bool OnGuardedDrive(const std::wstring &path) {
  // No application, no results of a drive (the dialogs can be made alone).
  if (AfxGetApp() == nullptr) return false;
  const CQuendalVarnothApp &app = TheQvApp();
  return Guarded(path, LoadedResultsPlace(app)) || Guarded(path, WizardChosenPlace(app));
}

bool RefuseFileOnSearchedDrive(HWND owner, const std::wstring &path) {
  if (!OnGuardedDrive(path)) return false;
  ::MessageBoxW(owner, LoadText(IDS_FILE_ON_SEARCHED_DRIVE), kProductTitle, MB_ICONSTOP | MB_TOPMOST);
  return true;
}

#include "SearchedDriveGuard.h"

#include "AppText.h"
#include "QuendalVarnoth.h"
#include "ScanSession.h"
#include "resource.h"

namespace {

bool IsLogicalDrive(const DriveRecord &drive) {
  return drive.m_name.size() >= 2 && drive.m_name[1] == u':';
}

// The letters of the drive the results come from, for when the system
// cannot tell volumes apart: the logical drive searched, and for a search
// through a disk every logical drive the drive list places on that disk.
std::u16string SearchedLetters(const CQuendalVarnothApp &app, uint8_t driveCode) {
  std::u16string letters;
  if (app.SelectedDrive && IsLogicalDrive(*app.SelectedDrive)) letters += app.SelectedDrive->m_name[0];
  if (driveCode >= 0x80)
    for (const DriveRecord &drive : app.DriveList)
      if (IsLogicalDrive(drive) && drive.m_biosDiskCode == driveCode) letters += drive.m_name[0];
  return letters;
}

} // namespace

std::optional<SearchedPlace> LoadedResultsPlace(const CQuendalVarnothApp &app) {
  if (!app.Session) return std::nullopt;
  const ScanSession &session = *app.Session;
  SearchedPlace searched;
  searched.m_driveCode = session.Where().m_driveCode;
  searched.m_startSector = session.Where().m_startSector;
  searched.m_sectors = session.Kind() == ScanKind::PhysicalDisk ? 0 : session.Where().m_sectors;
  searched.m_letters = SearchedLetters(app, searched.m_driveCode);
  return searched;
}

GuardAnswer CheckWriteTarget(const std::wstring &path, const SearchedPlace &searched) {
  if (AfxGetApp() != nullptr && TheQvApp().Volumes)
    return CheckRecoveryDestination(U16(path), searched, *TheQvApp().Volumes);
  SystemVolumeQueries queries;
  return CheckRecoveryDestination(U16(path), searched, queries);
}

bool RefuseFileOnSearchedDrive(HWND owner, const std::wstring &path) {
  const std::optional<SearchedPlace> searched = LoadedResultsPlace(TheQvApp());
  if (!searched || CheckWriteTarget(path, *searched).m_verdict == GuardVerdict::Allowed) return false;
  ::MessageBoxW(owner, LoadText(IDS_FILE_ON_SEARCHED_DRIVE), kProductTitle, MB_ICONSTOP | MB_TOPMOST);
  return true;
}

#include "SearchStart.h"

#include "AppEngineServices.h"
#include "AppText.h"
#include "DriveList.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "NtfsAdvancedEngine.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothView.h"
#include "ScanSession.h"
#include "ShownText.h"
#include "resource.h"

namespace {

std::u16string FromCodePage(const std::string &text) {
  if (text.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0)
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return U16(wide);
}

} // namespace

std::u16string ChosenDriveSizeText(const DriveRecord &drive) {
  // A disk's record carries no size text: its sector count gives one.
  if (!drive.m_sizeText.empty()) return drive.m_sizeText;
  if (drive.m_sectors != 0) return FormatSizeText(drive.m_sectors * 512);
  return LoadU16Text(IDS_DISK_SIZE_UNKNOWN);
}

std::u16string ChosenDriveTypeText(const DriveRecord &drive, bool physicalDisk) {
  if (!drive.m_typeText.empty()) return drive.m_typeText;
  if (!physicalDisk) return u"UNKNOWN";
  // A disk is told by its model and firmware, as the drive page shows it.
  if (!drive.m_model.empty() || !drive.m_firmwareRevision.empty())
    return FromCodePage(drive.m_model) + u", " + FromCodePage(drive.m_firmwareRevision);
  return LoadU16Text(IDS_DISK);
}

namespace {

void LogChosenDrive(AppEngineServices &services, const DriveRecord &drive, bool physicalDisk) {
  const std::u16string activity = LoadU16Text(IDS_LOGICAL_DRIVE) + u" " + drive.m_name;
  const ShownWords &words = ActiveShownWords();
  const std::u16string text = LoadU16Text(IDS_COLUMN_SIZE) + u" " + ShownSizeText(ChosenDriveSizeText(drive), words) +
                              u", " + LoadU16Text(IDS_COLUMN_TYPE) + u" " +
                              ShownDriveType(ChosenDriveTypeText(drive, physicalDisk), words);
  services.AddLogEntry(activity, text, services.CurrentTimeText(), LogStatus::Started);
}

void ResetFlagsForSearch(CQuendalVarnothApp &app) {
  app.StopRequested = 0;
  app.ResultsPresent = 0;
  app.ScanInfoSaved = 0;
  app.ScanEnded = 0;
  app.ScanRunning = 1;
  app.FindNextAvailable = 0;
  app.AnyChecked = 0;
  app.AllChecked = 0;
}

void ClearViews(CMainFrame &frame) {
  frame.SetCurrentItemPane(nullptr, FALSE);
  frame.UpdateTotalsPane(0, 0, 0);
  if (CLeftView *tree = frame.GetLeftPane()) tree->ClearTree();
  if (CQuendalVarnothView *list = frame.GetRightPane()) list->ClearFileList();
  frame.CheckedFolderCount = 0;
  frame.CheckedFileCount = 0;
  frame.ListClickCounters[0] = 0;
  frame.ListClickCounters[1] = 0;
}

} // namespace

ScanKind SessionKindFor(const DriveRecord &drive, bool physicalDiskScan) {
  if (physicalDiskScan) return ScanKind::PhysicalDisk;
  return drive.m_fileSystem == u"NTFS" || drive.m_fileSystem == u"NTFS5" ? ScanKind::NtfsVolume
                                                                         : ScanKind::FatVolume;
}

bool StartNewSearch(CQuendalVarnothApp &app, CMainFrame &frame, size_t driveIndex,
                    std::vector<HeaderRecord> headers, CWnd *owner) {
  if (driveIndex >= app.DriveList.size() || app.Devices == nullptr) return false;
  // The engine below is freed: not while a call that uses it unwinds.
  if (frame.EngineCallDepth > 0) return false;
  if (app.ResultsPresent && !app.ScanInfoSaved && !frame.OfferToSaveResults(owner)) return false;

  // The old results go first: items and rows before the entries they show.
  if (CLeftView *tree = frame.GetLeftPane()) {
    tree->ClearTree();
    tree->Entries().Clear();
  }
  frame.DropFileMask();
  AppEngineServices &services = frame.EngineServices();
  services.ChosenHeaders() = std::move(headers);
  app.SelectedDrive = app.DriveList[driveIndex];
  const DriveRecord &drive = *app.SelectedDrive;
  const bool physical = app.SearchKind[2] != 0;
  LogChosenDrive(services, drive, physical);
  ResetFlagsForSearch(app);

  // The old engine goes with its session before the new one reads the drive.
  app.FatEngine = nullptr;
  app.NtfsEngine = nullptr;
  app.Session.reset();
  const ScanKind kind = SessionKindFor(drive, physical);
  const ScanSession::Target target =
      physical ? ScanSession::DiskTarget(drive) : ScanSession::VolumeTarget(drive);
  app.Session = std::make_unique<ScanSession>(services, *app.Devices, kind, target);
  app.FatEngine = app.Session->Fat();
  app.NtfsEngine = app.Session->Ntfs();

  ClearViews(frame);
  return true;
}

#include "NtfsScanEngine.h"

#include <ctime>

namespace {

std::u16string Widen(const std::string &text) {
  return std::u16string(text.begin(), text.end());
}

// The local time in the C library's ctime form, without its line end.
std::u16string CtimeText() {
  const std::time_t now = std::time(nullptr);
  const char *text = std::ctime(&now);
  std::string line = text ? text : "";
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return Widen(line);
}

} // namespace

NtfsScanEngine::NtfsScanEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                               WorkPacer::Clock clock)
    : m_services(services), m_pacer(services, std::move(clock)), m_volume(reader, volumeSectors) {
  m_volume.SetReadErrorSink([this](uint64_t sector) { LogReadError(sector); });
}

void NtfsScanEngine::LogReadError(uint64_t driveSector) {
  m_services.AddLogEntry(
      std::nullopt, m_services.LoadText(kTextErrorReadingSector) + u" " + Widen(std::to_string(driveSector)),
      std::nullopt, LogStatus::Error);
}

void NtfsScanEngine::LogDamagedRecord(uint64_t record, const std::string &why) {
  m_services.AddLogEntry(std::nullopt, Widen("MFT record " + std::to_string(record) + " skipped: " + why),
                         std::nullopt, LogStatus::Error);
}

void NtfsScanEngine::LogLine(const std::optional<std::u16string> &activity, uint32_t textId, uint32_t timeId,
                             LogStatus status) {
  m_services.AddLogEntry(activity, m_services.LoadText(textId),
                         m_services.LoadText(timeId) + u" " + CtimeText(), status);
}

bool NtfsScanEngine::ReadNtfsBootSector() {
  return m_volume.ReadBootSector();
}

bool NtfsScanEngine::LoadMftRunList() {
  std::string why;
  if (!m_volume.LoadMftRuns(&why)) {
    m_runArray.clear();
    if (!why.empty())
      m_services.AddLogEntry(std::nullopt, Widen("$MFT run list: " + why), std::nullopt, LogStatus::Error);
    return false;
  }
  m_runArray = m_volume.MftRunEntries();
  return true;
}

void NtfsScanEngine::FreeNtfsEngineData() {
  m_runArray.clear();
  m_addedFolders.clear();
  m_missingFolderIds.clear();
}

// A volume that is not NTFS, or too damaged to read, still ends the search,
// so the window never stays in its searching state.
void NtfsScanEngine::RefuseInvalidVolume() {
  m_services.ShowErrorBox(m_services.LoadText(kTextInvalidDrive));
  m_services.OnScanFinished(m_foundCount);
}

void NtfsScanEngine::RunNtfsFastScan() {
  if (!ReadNtfsBootSector()) {
    RefuseInvalidVolume();
    return;
  }
  if (LoadMftRunList()) {
    m_services.SetScanPhaseBusy(true);
    const bool walked = WalkMftRecords();
    m_services.SetScanPhaseBusy(false);
    // A stop during the walk ends the search before any tree is made.
    if (walked)
      BuildNtfsTree(false);
    else
      ClearWalkLists();
  }
  m_services.OnScanFinished(m_foundCount);
  m_services.ResetTreeToRoot();
}

void NtfsScanEngine::RunNtfsAdvancedScan() {
  m_skipUsedClusters = true;
  if (!ReadNtfsBootSector() || !LoadMftRunList()) {
    RefuseInvalidVolume();
    return;
  }
  m_services.SetScanPhaseBusy(true);
  const bool bitmapLoaded = LoadClusterBitmap();
  const bool walked = !m_pacer.StopRequested() && WalkMftRecords();
  m_services.SetScanPhaseBusy(false);
  // After a stop no further phase starts.
  if (walked)
    BuildNtfsTree(true);
  else
    ClearWalkLists();
  if (bitmapLoaded && !m_pacer.StopRequested()) SearchFreeClusters();
  m_services.ShowCurrentItemText(1, u"");
  m_services.OnScanFinished(m_foundCount);
  m_services.ResetTreeToRoot();
}

void NtfsScanEngine::RestoreScanTables(std::vector<MftRunEntry> runArray,
                                       std::vector<uint8_t> clusterUseMap) {
  m_runArray = std::move(runArray);
  m_clusterUseMap = std::move(clusterUseMap);
}

void NtfsScanEngine::RestoreScanTotals(uint32_t found, uint32_t folders, uint32_t files, uint64_t bytes) {
  m_foundCount = found;
  m_folderCount = folders;
  m_fileCount = files;
  m_byteTotal = bytes;
}

#include "NtfsScanEngine.h"

#include "Utf16Text.h"

NtfsScanEngine::NtfsScanEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                               WorkPacer::Clock clock)
    : m_services(services), m_pacer(services, std::move(clock)), m_volume(reader, volumeSectors),
      m_readFailures([this](uint64_t first, uint64_t last) { WriteReadErrorLine(first, last); }) {
  m_volume.SetReadErrorSink(
      [this](uint64_t sector, uint64_t sectors) { m_readFailures.Add(sector, sectors); });
}

void NtfsScanEngine::WriteReadErrorLine(uint64_t first, uint64_t last) {
  const std::u16string text =
      first == last
          ? m_services.LoadText(NtfsText::kErrorReadingSector) + u" " + Widen(std::to_string(first))
          : ReadFailureRangeText(m_services.LoadText(NtfsText::kErrorReadingSectors), first, last);
  m_services.AddLogEntry(std::nullopt, text, std::nullopt, LogStatus::Error);
}

void NtfsScanEngine::LogDamagedRecord(uint64_t record, const std::string &why) {
  // The reason is the parser's own words, after the translated text.
  m_services.AddLogEntry(std::nullopt,
                         FillInText(m_services.LoadText(NtfsText::kRecordSkipped), Widen(std::to_string(record))) +
                             u" " + Widen(why),
                         std::nullopt, LogStatus::Error);
}

bool NtfsScanEngine::ReadNtfsBootSector() {
  return m_volume.ReadBootSector();
}

bool NtfsScanEngine::LoadMftRunList() {
  std::string why;
  bool loaded = false;
  {
    ReadFailureLog::Pass pass(m_readFailures);
    loaded = m_volume.LoadMftRuns(&why);
  }
  if (!loaded) {
    m_runArray.clear();
    if (!why.empty())
      m_services.AddLogEntry(std::nullopt, Widen("$MFT run list: " + why), std::nullopt, LogStatus::Error);
    return false;
  }
  m_runArray = m_volume.MftRunEntries();
  if (!m_volume.MftClampNote().empty())
    m_services.AddLogEntry(std::nullopt, Widen(m_volume.MftClampNote()), std::nullopt, LogStatus::Error);
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
  m_services.ShowErrorBox(m_services.LoadText(
      m_volume.Reader().AccessDenied() ? NtfsText::kAdministratorNeeded : NtfsText::kNotValidDrive));
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
    ListWhatWasWalked(walked, false);
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
  ListWhatWasWalked(walked, true);
  // After a stop no further phase starts.
  if (bitmapLoaded && !m_pacer.StopRequested()) SearchFreeClusters();
  m_services.ShowCurrentItemText(1, u"");
  m_services.OnScanFinished(m_foundCount);
  m_services.ResetTreeToRoot();
}

// A stop during the walk keeps what the walk had found: those files are
// listed as after a whole walk. A walk stopped before it found a file leaves
// the tree empty.
void NtfsScanEngine::ListWhatWasWalked(bool walked, bool advanced) {
  if (walked || !m_files.empty())
    BuildNtfsTree(advanced);
  else
    ClearWalkLists();
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

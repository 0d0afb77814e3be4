#include "FatScanEngine.h"

FatScanEngine::FatScanEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                             FatWorkPacer::Clock clock)
    : m_services(services), m_pacer(services, std::move(clock)),
      m_volume(reader, services, m_pacer, volumeSectors) {}

void FatScanEngine::RunFatFastScan() {
  m_fast = true;
  m_totals = FatSearchTotals{};
  m_deletedFiles.clear();
  m_fileReader.reset();
  if (!m_volume.ValidateFatVolume()) {
    // Nothing to walk: the scan still ends, so the window leaves its busy state.
    m_services.OnScanFinished(m_totals.m_foundEntries);
    return;
  }
  FatFastSearch search(m_volume, m_totals, m_deletedFiles);
  search.ScanFatDirectoryTree();
  m_stopped = search.WasStopped();
}

bool FatScanEngine::ReadFoundFile(const EntryRecord &entry, const FatByteSink &sink) {
  if (!m_volume.IsValid()) return false;
  if (!m_fileReader) m_fileReader = std::make_unique<FatFileReader>(m_volume, m_deletedFiles);
  return m_fileReader->ReadFoundFile(entry, sink);
}

#include "FatScanEngine.h"

#include "FatAdvancedSearch.h"

FatScanEngine::FatScanEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                             WorkPacer::Clock clock)
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

void FatScanEngine::RunFatAdvancedScan(bool windows9x) {
  m_fast = false;
  m_totals = FatSearchTotals{};
  m_deletedFiles.clear();
  m_signatureHits.clear();
  m_fileReader.reset();
  FatAdvancedSearch search(m_volume, m_totals, m_deletedFiles, m_signatureHits, windows9x);
  search.RunFatAdvancedScan();
  m_stopped = search.WasStopped();
}

bool FatScanEngine::ReadFoundFile(const EntryRecord &entry, const FatByteSink &sink) {
  if (!m_volume.IsValid()) return false;
  for (const SignatureHit &hit : m_signatureHits) {
    if (hit.m_ownId != entry.m_ownId || entry.IsFolder()) continue;
    // A document is measured over the clusters that follow it; any other
    // hit grew over the free ones only.
    FatClusterSpace space(m_volume);
    return ReadSignatureHit(space, hit.m_cluster, hit.m_size, !IsCompoundExtension(hit.m_extension), sink);
  }
  if (!m_fileReader) m_fileReader = std::make_unique<FatFileReader>(m_volume, m_deletedFiles);
  return m_fileReader->ReadFoundFile(entry, sink);
}

void FatScanEngine::RestoreFound(const FatSearchTotals &totals, std::vector<FatFoundFile> deletedFiles,
                                 std::vector<SignatureHit> signatureHits) {
  m_totals = totals;
  m_deletedFiles = std::move(deletedFiles);
  m_signatureHits = std::move(signatureHits);
  m_fileReader.reset();
  m_stopped = false;
}

// The FAT12/16/32 search engine of one search: the volume it reads, the
// counters and ids of what it found, the fast search, and the reading of a
// found file's bytes for recovery.
#pragma once

#include "EngineServices.h"
#include "FatFastSearch.h"
#include "FatFileReader.h"
#include "FatVolume.h"
#include "WorkPacer.h"
#include "SignatureSearch.h"
#include "SectorIo.h"

#include <cstdint>
#include <memory>
#include <vector>

class FatScanEngine {
public:
  // reader: the drive the volume is on, with the volume's start sector;
  // volumeSectors: the sectors the drive holds for it (0: unknown).
  FatScanEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                WorkPacer::Clock clock = {});
  FatScanEngine(const FatScanEngine &) = delete;
  FatScanEngine &operator=(const FatScanEngine &) = delete;

  // Checks the volume, loads its FAT and walks its folders, handing every
  // find to the services; ends the scan.
  void RunFatFastScan();

  // The fast search's walk, then lost folders and signature hits from the
  // free clusters (read in batches sized for the 95/98/Me family when asked).
  void RunFatAdvancedScan(bool windows9x = false);

  // Streams a found file's bytes to the sink (see FatFileReader); a hit of
  // the signature pass is read from its first cluster on.
  bool ReadFoundFile(const EntryRecord &entry, const FatByteSink &sink);
  const std::vector<SignatureHit> &SignatureHits() const { return m_signatureHits; }

  const FatSearchTotals &Totals() const { return m_totals; }
  const std::vector<FatFoundFile> &DeletedFiles() const { return m_deletedFiles; }
  FatVolume &Volume() { return m_volume; }
  bool IsFastSearch() const { return m_fast; }
  bool WasStopped() const { return m_stopped; }
  // Takes the counters, deleted files and signature hits of a loaded
  // scan-information file.
  void RestoreFound(const FatSearchTotals &totals, std::vector<FatFoundFile> deletedFiles,
                    std::vector<SignatureHit> signatureHits = {});
  // Paces the engine's pumps; a scan-file load into the engine uses it too.
  WorkPacer &Pacer() { return m_pacer; }

private:
  EngineServices &m_services;
  WorkPacer m_pacer;
  FatVolume m_volume;
  FatSearchTotals m_totals;
  std::vector<FatFoundFile> m_deletedFiles;
  std::unique_ptr<FatFileReader> m_fileReader;
  std::vector<SignatureHit> m_signatureHits;
  bool m_fast = false;
  bool m_stopped = false;
};

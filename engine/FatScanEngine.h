// The FAT12/16/32 search engine of one search: the volume it reads, the
// counters and ids of what it found, the fast search, and the reading of a
// found file's bytes for recovery.
#pragma once

#include "EngineServices.h"
#include "FatFastSearch.h"
#include "FatFileReader.h"
#include "FatVolume.h"
#include "FatWorkPacer.h"
#include "SectorIo.h"

#include <cstdint>
#include <memory>
#include <vector>

class FatScanEngine {
public:
  // reader: the drive the volume is on, with the volume's start sector;
  // volumeSectors: the sectors the drive holds for it (0: unknown).
  FatScanEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                FatWorkPacer::Clock clock = {});
  FatScanEngine(const FatScanEngine &) = delete;
  FatScanEngine &operator=(const FatScanEngine &) = delete;

  // Checks the volume, loads its FAT and walks its folders, handing every
  // find to the services; ends the scan.
  void RunFatFastScan();

  // Streams a found file's bytes to the sink (see FatFileReader).
  bool ReadFoundFile(const EntryRecord &entry, const FatByteSink &sink);

  const FatSearchTotals &Totals() const { return m_totals; }
  const std::vector<FatFoundFile> &DeletedFiles() const { return m_deletedFiles; }
  FatVolume &Volume() { return m_volume; }
  bool IsFastSearch() const { return m_fast; }
  bool WasStopped() const { return m_stopped; }

private:
  EngineServices &m_services;
  FatWorkPacer m_pacer;
  FatVolume m_volume;
  FatSearchTotals m_totals;
  std::vector<FatFoundFile> m_deletedFiles;
  std::unique_ptr<FatFileReader> m_fileReader;
  bool m_fast = false;
  bool m_stopped = false;
};

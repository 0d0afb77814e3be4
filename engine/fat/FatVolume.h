// One FAT12/16/32 volume as a search sees it: the checked boot parameters,
// a copy of one FAT with the cluster-use map built from it, the cluster
// arithmetic, cluster chains and cluster reads, all through the sector reader.
#pragma once

#include "EngineServices.h"
#include "EngineText.h"
#include "FatBootSector.h"
#include "FatTable.h"
#include "ReadFailureLog.h"
#include "WorkPacer.h"
#include "SectorIo.h"
#include "Utf16Text.h"

#include <cstdint>
#include <string>
#include <vector>

// The engine's text ids, as the FAT engine's code names them.
namespace FatText = EngineText;

// Which copy of the FAT chains are followed in: the first, the second, or
// none (every cluster then stands alone).
enum class FatChainMode : uint8_t { FirstFat = 0, SecondFat = 1, NoFat = 2 };

class FatVolume {
public:
  // volumeSectors: the sectors the drive holds for the volume (0: unknown,
  // the boot sector's count is taken).
  FatVolume(SectorReader &reader, EngineServices &services, WorkPacer &pacer, uint64_t volumeSectors);
  FatVolume(const FatVolume &) = delete;
  FatVolume &operator=(const FatVolume &) = delete;

  // Reads and checks the boot sector (or its backup 6 sectors on), then loads
  // the first FAT and the map. False, after an error box, when neither sector
  // describes a volume.
  bool ValidateFatVolume();
  bool LoadFat(FatChainMode mode);
  bool IsValid() const { return m_valid; }

  const BootParameters &Parameters() const { return m_boot; }
  FatKind Kind() const { return m_boot.m_kind; }
  uint32_t MaxCluster() const { return m_boot.MaxCluster(); }
  uint32_t ClusterBytes() const { return m_boot.ClusterBytes(); }
  bool IsDataCluster(uint64_t cluster) const { return cluster >= 2 && cluster <= MaxCluster(); }
  // Sectors that can be read: the boot sector's count, cut to the drive's.
  uint64_t ReadableSectors() const;
  // The last cluster that lies wholly inside the readable sectors.
  uint32_t LastReadableCluster() const;

  uint64_t ClusterToSector(uint32_t cluster) const;
  bool ReadVolumeSectors(uint64_t sector, uint32_t count, uint8_t *buffer);
  // Reads sectorCount sectors from sectorOffset within the cluster; the rest of
  // a failed read is zeros. No log line: the caller says what failed.
  bool ReadClusters(uint32_t cluster, uint32_t sectorOffset, uint8_t *buffer, uint32_t sectorCount);

  // The chain from a cluster in the loaded FAT, ending at the end mark, a free
  // or bad entry, a cluster outside the volume or a loop (the last two with a
  // log line). Without a FAT, the cluster alone.
  std::vector<uint32_t> GetClusterChain(uint32_t cluster);
  bool IsClusterInUse(uint64_t cluster) const;
  // The first data cluster from `from` on that the map gives as free; past
  // MaxCluster() when none is.
  uint64_t NextFreeCluster(uint64_t from) const;
  // The cluster after the count-th free data cluster from `from` on; past
  // MaxCluster() when fewer are free.
  uint64_t AfterFreeClusters(uint64_t from, uint64_t count) const;
  const FatTable &Table() const { return m_table; }

  // Log lines shared by the FAT engine's phases.
  void LogStarted(const std::u16string &activity);
  void LogFinished(bool aborted);
  void LogError(const std::u16string &text);
  // A failed read of count sectors from sector, which is volume-relative; the
  // line gives the drive's sector number.
  void LogSectorError(uint64_t sector, uint64_t count = 1);
  void LogClusterError(uint64_t cluster);

  // While one lives (the FAT load, a folder walk) past a handful of failed
  // reads a run of them gets one line with its range, so a dead stretch of
  // the disk does not fill the log; outside (a file read for recovery) every
  // failure keeps its own line.
  class FailurePass {
  public:
    explicit FailurePass(FatVolume &volume)
        : m_sectors(volume.m_sectorFailures), m_clusters(volume.m_clusterFailures) {}

  private:
    ReadFailureLog::Pass m_sectors;
    ReadFailureLog::Pass m_clusters;
  };
  // Writes the runs still open, so they are logged within the phase they belong to.
  void FlushReadFailures();
  std::u16string Text(uint32_t id) { return m_services.LoadText(id); }

  EngineServices &Services() { return m_services; }
  WorkPacer &Pacer() { return m_pacer; }

  // The state a scan-information file keeps and gives back.
  FatChainMode ChainMode() const { return m_chainMode; }
  uint64_t DriveSectors() const { return m_volumeSectors; }
  const ClusterMap &Map() const { return m_map; }
  SectorReader &Reader() { return m_reader; }
  // Sectors of one FAT copy that a search holds for these parameters.
  uint64_t HeldFatSectors() const;
  // Takes the volume's state from a scan-information file instead of the
  // disk: fatBytes is cut to what a search would hold; mapBytes holds one
  // byte per cluster, non-zero in use (empty: the map is made from the FAT).
  void RestoreState(const BootParameters &boot, FatChainMode mode, std::vector<uint8_t> fatBytes,
                    const std::vector<uint8_t> &mapBytes);

private:
  bool ReadBootSector(uint64_t sector, BootParameters &out);
  bool ReadFatCopy();
  void BuildClusterMap();
  void ReadFatSectorFallback(uint64_t fatSector, uint8_t *into);
  void WriteFailureLine(uint32_t singleId, uint32_t rangeId, uint64_t first, uint64_t last);

  SectorReader &m_reader;
  EngineServices &m_services;
  WorkPacer &m_pacer;
  uint64_t m_volumeSectors;
  BootParameters m_boot;
  FatChainMode m_chainMode = FatChainMode::FirstFat;
  FatTable m_table;
  ClusterMap m_map;
  bool m_valid = false;
  ReadFailureLog m_sectorFailures; // drive sector numbers
  ReadFailureLog m_clusterFailures;
};

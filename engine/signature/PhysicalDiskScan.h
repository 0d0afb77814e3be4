// The scan of a whole physical disk: every sector is tested against the
// chosen file signatures (a sector stands for a cluster, and no cluster is
// in use), and each hit is listed as "<sector>.<extension>" in a folder per
// type directly under the root of the tree.
#pragma once

#include "EngineServices.h"
#include "SectorIo.h"
#include "SignatureSearch.h"
#include "WorkPacer.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

constexpr uint32_t kDiskBatchSectorsNt = 2048;
constexpr uint32_t kDiskBatchSectors9x = 100;

// The sectors of a disk as the signature pass reads them.
class DiskSectorSpace : public ClusterSpace {
public:
  DiskSectorSpace(SectorReader &reader, uint64_t sectors) : m_reader(reader), m_sectors(sectors) {}
  uint32_t SectorsPerCluster() const override { return 1; }
  uint64_t ClusterCount() const override { return m_sectors; }
  uint64_t MapSize() const override { return m_sectors; }
  bool IsClusterUsed(uint64_t) const override { return false; }
  bool HasUsedClusters() const override { return false; }
  bool ReadClusterSectors(uint64_t sector, uint8_t *buffer, uint32_t count) override;
  uint64_t DocumentCluster(uint64_t first, uint64_t index) const override { return first + index; }
  uint64_t VolumeSectors() const override { return m_sectors; }
  SectorReader &Reader() const { return m_reader; }
  uint64_t Sectors() const { return m_sectors; }

private:
  SectorReader &m_reader;
  uint64_t m_sectors;
};

class PhysicalDiskScan {
public:
  // reader: the disk (drive code 128 + n, start 0); sectors: the disk's sector count.
  // The clock paces pumps (tests give a fake one).
  PhysicalDiskScan(EngineServices &services, SectorReader &reader, uint64_t sectors, bool windows9x,
                   WorkPacer::Clock clock = {});

  void RunPhysicalDiskScan();
  // Where the next scan begins: 0, the disk's start, unless a test begins
  // near the end of a large sparse image.
  void SetFirstSector(uint64_t sector) { m_firstSector = sector; }
  bool WasStopped() const { return m_stopped; }
  // Streams the bytes of a hit listed by the last scan (found by its entry's own id).
  bool ReadFoundFile(const EntryRecord &entry, const SignatureByteSink &sink);
  uint32_t FoundCount() const { return m_foundCount; }
  uint64_t FoundBytes() const { return m_foundBytes; }
  // The disk the scan reads, and its sector count (for its scan-information file).
  SectorReader &Reader() const { return m_space.Reader(); }
  uint64_t Sectors() const { return m_space.Sectors(); }
  // Takes back the hits and counters of a scan-information file, so its hits
  // are read as after the scan that listed them.
  void RestoreHits(std::vector<SignatureHit> hits, uint32_t found, uint32_t folders, uint32_t files,
                   uint64_t bytes, uint32_t nextId);
  // Paces the scan's pumps; a scan-file load into it uses it too.
  WorkPacer &Pacer() { return m_pacer; }

private:
  // False, after the error box and log line, when there is no disk to read.
  bool DiskIsReadable();
  void AddFound(const EntryRecord &record, const std::u16string &name);
  uint32_t AddTypeFolder(const std::u16string &name);
  void ListHit(SignatureFolders &folders, SignatureHit &hit);

  EngineServices &m_services;
  WorkPacer m_pacer;
  DiskSectorSpace m_space;
  bool m_windows9x;
  uint32_t m_nextId = 2;
  uint32_t m_foundCount = 0;
  uint32_t m_folderCount = 0;
  uint32_t m_fileCount = 0;
  uint64_t m_foundBytes = 0;
  bool m_stopped = false;
  uint64_t m_firstSector = 0;
  std::unordered_map<uint32_t, SignatureHit> m_hits; // by own id
};

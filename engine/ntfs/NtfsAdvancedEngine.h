// The NTFS engine of an advanced search: it also loads the volume's cluster
// bitmap ($Bitmap) and, after the tree is built, tests the first sector of
// every free cluster against the chosen file signatures, listing each hit as
// "<id>.<extension>" in a folder per type under "Raw Data Folder".
#pragma once

#include "NtfsScanEngine.h"
#include "SignatureSearch.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Parent id of the type folders and own id of "Raw Data Folder" on NTFS.
constexpr uint32_t kNtfsRawFolderId = 0x0FFFFFFE;

// NTFS numbers at most 2^32 - 1 clusters; a boot sector that claims more is
// damaged, and a map of it could not be held (nor saved: the scan file keeps
// its size in 32 bits).
constexpr uint64_t kMaxNtfsMapClusters = 0xFFFFFFFFu;

// The clusters of the cluster-use map of a volume of totalSectors (the
// whole 64-bit count); false, with why, when there can be no map of them.
bool NtfsClusterMapSize(uint64_t totalSectors, uint32_t sectorsPerCluster, uint64_t &clusters,
                        std::string *why = nullptr);

class NtfsAdvancedEngine;

// The clusters of an NTFS volume with the loaded cluster-use map.
class NtfsClusterSpace : public ClusterSpace {
public:
  explicit NtfsClusterSpace(NtfsAdvancedEngine &engine) : m_engine(engine) {}
  uint32_t SectorsPerCluster() const override;
  uint64_t ClusterCount() const override;
  uint64_t MapSize() const override;
  bool IsClusterUsed(uint64_t cluster) const override;
  bool ReadClusterSectors(uint64_t cluster, uint8_t *buffer, uint32_t sectorCount) override;
  // Documents are read over the free clusters only, as the used ones belong to live files.
  uint64_t DocumentCluster(uint64_t first, uint64_t index) const override;
  uint64_t VolumeSectors() const override;

private:
  NtfsAdvancedEngine &m_engine;
};

class NtfsAdvancedEngine : public NtfsScanEngine {
public:
  NtfsAdvancedEngine(EngineServices &services, SectorReader &reader, uint64_t volumeSectors,
                     bool windows9x = false, WorkPacer::Clock clock = {});

  bool LoadClusterBitmap() override;
  void SearchFreeClusters() override;

  // The cluster-use map the engine keeps (loaded here or from a scan-information file).
  const std::vector<uint8_t> &ClusterMap() const { return ClusterUseMap(); }
  const std::vector<SignatureHit> &SignatureHits() const { return m_hits; }
  // Streams the bytes of a listed signature hit; false for any other entry.
  bool ReadSignatureHit(const EntryRecord &entry, const SignatureByteSink &sink);
  // Takes back the hits of a scan-information file, with the ids they were listed under.
  void RestoreSignatureHits(std::vector<SignatureHit> hits);

private:
  bool AllocateClusterMap(std::vector<uint8_t> &map);
  bool CollectBitmapRuns(std::vector<DataRun> &runs);
  void MarkBitmapSector(uint64_t streamSector, const uint8_t *bytes, std::vector<uint8_t> &map);
  uint32_t AddTypeFolder(const std::u16string &name, bool &rawFolderAdded);
  void ListHit(SignatureFolders &folders, SignatureHit &hit);

  bool m_windows9x;
  uint64_t m_markedClusters = 0;
  std::vector<SignatureHit> m_hits;
  std::unordered_map<uint32_t, size_t> m_hitIndex; // own id to its hit
  uint32_t m_nextId = 0;
};

// The advanced search of a FAT volume: the fast search's folder walk, then a
// pass over every free cluster that collects lost folders (clusters that
// begin with "." and ".." entries), the later clusters of deleted folders
// that the walk did not reach (see FatFolderTails.h) and files found by
// their signature, each listed in its folder, under "Lost Folder" or under
// "Raw Data Folder".
#pragma once

#include "FatFastSearch.h"
#include "FatFolderTails.h"
#include "FatVolume.h"
#include "SignatureSearch.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The clusters of a FAT volume as the signature pass reads them.
class FatClusterSpace : public ClusterSpace {
public:
  explicit FatClusterSpace(FatVolume &volume) : m_volume(volume) {}
  uint32_t SectorsPerCluster() const override { return m_volume.Parameters().m_sectorsPerCluster; }
  uint64_t ClusterCount() const override { return uint64_t{m_volume.MaxCluster()} + 1; }
  uint64_t MapSize() const override { return uint64_t{m_volume.MaxCluster()} + 1; }
  bool IsClusterUsed(uint64_t cluster) const override { return m_volume.IsClusterInUse(cluster); }
  bool ReadClusterSectors(uint64_t cluster, uint8_t *buffer, uint32_t sectorCount) override;
  uint64_t DocumentCluster(uint64_t first, uint64_t index) const override { return first + index; }
  uint64_t VolumeSectors() const override { return m_volume.Parameters().m_totalSectors & 0xFFFFFFFFu; }

private:
  FatVolume &m_volume;
};

// A free cluster that begins like a folder.
struct FatLostFolder {
  uint32_t m_cluster = 0;
  uint32_t m_id = 0;
  uint32_t m_parentCluster = 0; // from its ".." entry
  bool m_done = false;
};

class FatAdvancedSearch {
public:
  FatAdvancedSearch(FatVolume &volume, FatSearchTotals &totals, std::vector<FatFoundFile> &deletedFiles,
                    std::vector<SignatureHit> &listedHits, bool windows9x);

  // The whole search, from the volume check to the end of the scan.
  void RunFatAdvancedScan();
  bool WasStopped() const { return m_stopped; }

  // Takes a free cluster that begins like a folder, or that holds nothing but
  // directory entries where no folder walk reached; true when it did.
  bool CollectLostFolder(uint64_t cluster, const uint8_t *bytes, size_t length);
  void ScanLostFolders();
  void AddLostFolderEntries(const uint8_t *buffer, size_t bytes, EntryRecord work);
  // The clusters taken as a deleted folder's later clusters.
  const std::vector<uint32_t> &FolderTails() const { return m_tails; }
  void AddSignatureHits(std::vector<SignatureHit> &hits);
  const std::vector<FatLostFolder> &LostFolders() const { return m_lostFolders; }

private:
  bool CheckStop();
  void PaceListing();
  void EnsureTreeRoot();
  void AddFound(const EntryRecord &record, const std::u16string &name);
  bool HandleLostFolder(FatLostFolder &node);
  void ListLostFolder(FatLostFolder &node, uint32_t parentId);
  void EnsureLostFolder();
  void ListFolderTails();
  std::vector<uint8_t> ReadFolderCluster(uint32_t cluster);
  FatFolderClusterFacts ClusterFacts(uint32_t cluster);
  FatFolderClusterFacts FactsOf(uint32_t cluster, const uint8_t *bytes, size_t length) const;
  void AddFolderEntries(const FolderBytes &folder, EntryRecord work);
  uint32_t MakeRawFolder(const std::u16string &name);

  FatVolume &m_volume;
  EngineServices &m_services;
  FatSearchTotals &m_totals;
  std::vector<FatFoundFile> &m_deletedFiles;
  std::vector<SignatureHit> &m_listedHits;
  bool m_windows9x;
  std::vector<FatLostFolder> m_lostFolders;
  std::unordered_map<uint32_t, size_t> m_lostByCluster;
  std::unordered_map<uint32_t, uint32_t> m_pendingFolders; // first cluster -> id of a listed folder
  std::vector<FatWalkedFolder> m_walkedFolders;            // deleted folders the walk read
  std::unordered_set<uint32_t> m_reached;                  // the free clusters they were read from
  std::unordered_set<uint32_t> m_listedFolderClusters;     // those and the listed folders' first clusters
  std::vector<uint32_t> m_tails;                           // in cluster order
  std::vector<FatFolderClusterFacts> m_tailFacts;          // the same tails' facts
  bool m_lostFolderAdded = false;
  bool m_rawFolderAdded = false;
  bool m_stopped = false;
};

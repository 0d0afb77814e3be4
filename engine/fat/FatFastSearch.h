// The fast search of a FAT volume: a walk of the folder tree from the root
// that lists every deleted entry, walks every live folder for deleted entries
// below it (showing a live folder only as the path to something deleted), and
// afterwards lists what each deleted folder held, from its first cluster and
// the free clusters where it went on.
// The walk keeps its own stack of open folders, so deep or looping trees
// cost neither the call stack nor endless work.
#pragma once

#include "EntryRecord.h"
#include "FatDirectoryEntry.h"
#include "FatVolume.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A deleted file as the search found it; the file reader keeps interleaved
// deleted files apart with these.
struct FatFoundFile {
  uint32_t m_firstCluster = 0;
  uint64_t m_size = 0;
  FatEntryTimes m_times;
  uint32_t m_ownId = 0;                                 // of its listed entry
  RecoveryGrade m_grade = RecoveryGrade::NotApplicable; // as listed
};

// The engine's counters that a search advances.
struct FatSearchTotals {
  uint32_t m_nextId = 2; // ids 0 and 1 belong to the root and the lost folder
  uint32_t m_foundEntries = 0;
  uint32_t m_secondFoundCount = 0;
  uint32_t m_folders = 0;
  uint32_t m_files = 0;
  uint64_t m_foundBytes = 0;
};

// Clusters that what the search found is taken to hold, kept as disjoint
// ranges: a deleted folder going on past its first cluster passes over them.
class FatClaimedClusters {
public:
  // Claims first .. end - 1.
  void Claim(uint64_t first, uint64_t end);
  // The first cluster from `cluster` on that nothing claims.
  uint64_t FirstUnclaimed(uint64_t cluster) const;
  void Clear() { m_ranges.clear(); }

private:
  std::map<uint64_t, uint64_t> m_ranges; // first -> end
};

// A deleted folder the walk listed and read: its own id and the free clusters
// it was read from, its first and those it went on into, in order.
struct FatWalkedFolder {
  uint32_t m_folderId = 0;
  std::vector<uint32_t> m_clusters;
};

// A FAT folder holds at most 65536 entries of 32 bytes.
constexpr uint64_t kFatMaxFolderBytes = 65536 * 32;

// Folders deeper than this are not entered (a path of 260 characters cannot
// hold more); the cut is logged.
constexpr size_t kFatMaxFolderDepth = 128;

class FatFastSearch {
public:
  FatFastSearch(FatVolume &volume, FatSearchTotals &totals, std::vector<FatFoundFile> &deletedFiles);

  // The whole walk with its log lines; then the tree goes back to its root
  // and the scan ends.
  void ScanFatDirectoryTree();
  // The same walk, leaving the end of the scan to the caller.
  void RescanDirectoryTree();
  bool WasStopped() const { return m_stopped; }
  // Every folder shown in the tree by the walk: first cluster -> own id (the
  // advanced search hangs lost folders under them).
  const std::unordered_map<uint32_t, uint32_t> &ListedFolders() const { return m_listedFolders; }
  // The deleted folders read from their first cluster, in the order read (the
  // advanced search joins the clusters where they went on unseen to them).
  const std::vector<FatWalkedFolder> &WalkedFolders() const { return m_walkedFolders; }

private:
  enum class FolderKind : uint8_t { FixedRoot, ChainRoot, Folder };

  // One open folder of the walk.
  struct FolderCursor {
    FolderKind m_kind = FolderKind::Folder;
    uint32_t m_folderId = 0;
    uint8_t m_deleted = 0;
    std::vector<uint32_t> m_chain;
    size_t m_nextCluster = 0; // index in m_chain of the next cluster to read
    std::vector<uint8_t> m_current;
    std::vector<uint8_t> m_previous; // the cluster before, for long names; empty when none
    size_t m_offset = 0;
    bool m_loaded = false;
    bool m_endAfterCluster = false;
    bool m_finished = false;
    bool m_hasFrame = false; // a live folder whose path frame goes when it closes
    // A deleted folder walked on past its first cluster, whose entries were
    // listed before; it may take free clusters up to this many in all.
    bool m_goesOn = false;
    uint64_t m_maxClusters = 1;
    // The deleted folder (index in m_deletedFolders) whose first cluster this is.
    size_t m_deletedFolder = SIZE_MAX;
  };
  // A live folder on the way to what is found; reaches the tree only then.
  struct PathFrame {
    EntryRecord m_record;
    std::u16string m_name;
    bool m_emitted = false;
  };
  struct DeletedFolder {
    uint32_t m_cluster;
    uint32_t m_folderId;
    uint32_t m_parentId;
    uint32_t m_sizeField; // what the entry says, 0 unless Windows left a size there
    // Its first cluster was read whole without an end mark: it may go on.
    bool m_mayGoOn = false;
    // Index in m_walkedFolders once its first cluster was read as a folder's.
    size_t m_walked = SIZE_MAX;
  };

  bool RunTreeWalk();
  void StartRoot();
  bool OpenRoot(FolderCursor &root);
  void WalkStack();
  bool LoadNextCluster(FolderCursor &cursor);
  bool ExtendDeletedFolder(FolderCursor &cursor);
  bool AcceptLoadedCluster(FolderCursor &cursor, size_t index);
  void HandleEntry(FolderCursor &cursor, size_t offset);
  bool PassesRootCheck(const FolderCursor &cursor, const uint8_t *entry);
  void EnterLiveFolder(const EntryRecord &record, const std::u16string &name);
  void OpenFolder(uint32_t folderId, uint32_t cluster, uint8_t deleted, bool hasFrame);
  void AddDeletedFolder(const EntryRecord &record, const std::u16string &name, uint32_t sizeField);
  void AddDeletedFile(EntryRecord &record, const std::u16string &name, const FatEntryTimes &times);
  void AddFoundEntry(const EntryRecord &record, const std::u16string &name);
  void RunWalk(bool endScan);
  void EmitPathFrames();
  void AddDeletedFolderFiles();
  void WalkDeletedFolderOn(size_t index);
  void NoteWalkedCluster(const FolderCursor &cursor, size_t index);
  void ClaimFileClusters(uint32_t firstCluster, uint64_t size);
  bool CheckStop();

  FatVolume &m_volume;
  EngineServices &m_services;
  FatSearchTotals &m_totals;
  std::vector<FatFoundFile> &m_deletedFiles;
  FatDecodeContext m_context;
  std::deque<FolderCursor> m_stack;
  std::vector<PathFrame> m_path;
  std::unordered_set<uint32_t> m_pendingClusters;
  std::vector<DeletedFolder> m_deletedFolders;
  std::unordered_set<uint32_t> m_deletedFolderClusters;
  std::unordered_map<uint32_t, uint32_t> m_listedFolders;
  std::vector<FatWalkedFolder> m_walkedFolders;
  FatClaimedClusters m_claimed;
  bool m_stopped = false;
};

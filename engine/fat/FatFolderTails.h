// The later clusters of deleted folders that no folder walk reaches (their
// tails, here). A folder that fills up takes a new cluster where the
// allocator stands at that moment: Windows takes the next free one, before
// the next file's data, and mtools takes its new clusters only after the data
// of every file copied in. Once the folder is deleted those clusters are free,
// full of deleted entries with no "." and ".." at their start: the advanced
// search finds them in its pass over the free clusters, and this joins each
// to the folder it belongs to where the volume proves it.
//
// The proof is the order files are written in: the first file listed in the
// tail begins where the data of the last file listed in the folder's last
// known cluster ends (the next free cluster after it), or the tail itself
// lies there and its first file begins at the next free cluster after it. A
// join is made only when exactly one folder end fits the tail and that end
// fits no other tail. A tail that fits none starts a lost folder of its own,
// to which the tails after it are joined in the same way.
#pragma once

#include "FatDirectoryEntry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// What the join needs of one folder cluster.
struct FatFolderClusterFacts {
  uint32_t m_cluster = 0;
  // The first cluster of its first entry that has one (file or folder); 0 when none.
  uint64_t m_firstStart = 0;
  // The free cluster after the data of its last file, where the folder's next
  // cluster or the next file would go; 0 when the folder cannot go on from it
  // (an end mark, a folder as its last entry, no file).
  uint64_t m_nextAfter = 0;
};

// The first free cluster from a cluster on; past the volume when none.
using FatNextFree = std::function<uint64_t(uint64_t from)>;
// The cluster after the count-th free cluster from `from` on.
using FatAfterFree = std::function<uint64_t(uint64_t from, uint64_t count)>;

// The facts of a folder cluster's bytes; a file is taken to lie in the free
// clusters from its first on, as the file reader takes it. No id is used up.
FatFolderClusterFacts FolderClusterFacts(uint32_t cluster, const uint8_t *bytes, size_t length,
                                         const FatDecodeContext &context, uint32_t clusterBytes,
                                         const FatNextFree &nextFree, const FatAfterFree &afterFree);

// True when the tail goes on from the folder cluster `before`.
bool ContinuesFolder(const FatFolderClusterFacts &before, const FatFolderClusterFacts &tail,
                     const FatNextFree &nextFree);

// Tails in the order a folder holds them, joined to the known folder end
// `m_end` (an index into the ends given) or, with kNoFolderEnd, the first
// tail begins a lost folder.
constexpr size_t kNoFolderEnd = SIZE_MAX;
struct FatTailChain {
  size_t m_end = kNoFolderEnd;
  std::vector<size_t> m_tails; // indexes into the tails given
};

// Joins the tails to the ends (the last known cluster of each folder) and to
// one another; every tail lands in exactly one chain, and no chain holds more
// than maxTails tails (a folder's most). Chains of ends come first, in the
// ends' order, then lost folders in the tails' order.
std::vector<FatTailChain> ChainFolderTails(const std::vector<FatFolderClusterFacts> &ends,
                                           const std::vector<FatFolderClusterFacts> &tails,
                                           const FatNextFree &nextFree, size_t maxTails);

#include "FatFolderTails.h"

#include <algorithm>
#include <unordered_map>

FatFolderClusterFacts FolderClusterFacts(uint32_t cluster, const uint8_t *bytes, size_t length,
                                         const FatDecodeContext &context, uint32_t clusterBytes,
                                         const FatNextFree &nextFree, const FatAfterFree &afterFree) {
  FatFolderClusterFacts facts;
  facts.m_cluster = cluster;
  FolderBytes folder;
  folder.m_current = bytes;
  folder.m_currentBytes = length;
  uint32_t scratchIds = 0;
  bool ended = false;
  bool lastIsFile = false;
  uint32_t lastFirst = 0;
  uint64_t lastSize = 0;
  for (size_t offset = 0; offset + kFatEntrySize <= length; offset += kFatEntrySize) {
    if (bytes[offset] == 0) {
      ended = true;
      break;
    }
    EntryRecord work;
    std::u16string name;
    if (DecodeDirectoryEntry(folder, offset, context, scratchIds, work, name).m_outcome !=
        DecodeOutcome::Record)
      continue;
    if (facts.m_firstStart == 0) facts.m_firstStart = work.m_firstCluster;
    lastIsFile = !work.IsFolder();
    lastFirst = work.m_firstCluster;
    lastSize = work.m_size;
  }
  // A folder's own data ends where what was copied into it ends, which its
  // entry does not say: after a folder as the last entry nothing is proved.
  if (ended || !lastIsFile || clusterBytes == 0) return facts;
  const uint64_t count = std::max<uint64_t>(1, (lastSize + clusterBytes - 1) / clusterBytes);
  const uint64_t next = nextFree(afterFree(uint64_t{lastFirst} + 1, count - 1));
  if (next >= 2 && next <= context.m_maxCluster) facts.m_nextAfter = next;
  return facts;
}

bool ContinuesFolder(const FatFolderClusterFacts &before, const FatFolderClusterFacts &tail,
                     const FatNextFree &nextFree) {
  if (before.m_nextAfter == 0 || tail.m_firstStart == 0) return false;
  // The folder grew after the files listed next had their data (mtools).
  if (tail.m_firstStart == before.m_nextAfter) return true;
  // The folder grew into the next free cluster, and the next file's data
  // follows it (Windows).
  return tail.m_cluster == before.m_nextAfter && tail.m_firstStart == nextFree(uint64_t{tail.m_cluster} + 1);
}

std::vector<FatTailChain> ChainFolderTails(const std::vector<FatFolderClusterFacts> &ends,
                                           const std::vector<FatFolderClusterFacts> &tails,
                                           const FatNextFree &nextFree, size_t maxTails) {
  constexpr size_t kNone = SIZE_MAX;
  // Nodes: the ends, then the tails.
  const size_t endCount = ends.size();
  const auto node = [&](size_t n) -> const FatFolderClusterFacts & {
    return n < endCount ? ends[n] : tails[n - endCount];
  };
  std::unordered_multimap<uint64_t, size_t> byNextAfter;
  for (size_t n = 0; n < endCount + tails.size(); ++n)
    if (node(n).m_nextAfter != 0) byNextAfter.emplace(node(n).m_nextAfter, n);

  // The one folder cluster each tail can go on from, if just one fits.
  std::vector<size_t> before(tails.size(), kNone);
  std::vector<size_t> fitsAfter(endCount + tails.size(), 0);
  for (size_t p = 0; p < tails.size(); ++p) {
    const FatFolderClusterFacts &tail = tails[p];
    if (tail.m_firstStart == 0) continue;
    size_t found = kNone;
    bool unique = true;
    for (uint64_t key : {tail.m_firstStart, uint64_t{tail.m_cluster}}) {
      const auto range = byNextAfter.equal_range(key);
      for (auto it = range.first; it != range.second; ++it) {
        const size_t n = it->second;
        if (n == endCount + p || n == found || !ContinuesFolder(node(n), tail, nextFree)) continue;
        if (found != kNone) unique = false;
        found = n;
      }
    }
    if (found == kNone || !unique) continue;
    before[p] = found;
    ++fitsAfter[found];
  }
  // A folder cluster that more than one tail fits proves none of them.
  std::vector<size_t> next(endCount + tails.size(), kNone);
  for (size_t p = 0; p < tails.size(); ++p)
    if (before[p] != kNone && fitsAfter[before[p]] == 1)
      next[before[p]] = p;
    else
      before[p] = kNone;

  std::vector<FatTailChain> chains;
  std::vector<bool> placed(tails.size(), false);
  const auto follow = [&](size_t from, FatTailChain &chain) {
    for (size_t p = next[from]; p != kNone && !placed[p] && chain.m_tails.size() < maxTails;
         p = next[endCount + p]) {
      placed[p] = true;
      chain.m_tails.push_back(p);
    }
  };
  for (size_t e = 0; e < endCount; ++e) {
    if (next[e] == kNone) continue;
    FatTailChain chain;
    chain.m_end = e;
    follow(e, chain);
    chains.push_back(std::move(chain));
  }
  // Lost folders: first the tails nothing goes before, then any left (a
  // ring, or the rest of a chain cut at a folder's most).
  for (bool any : {false, true})
    for (size_t p = 0; p < tails.size(); ++p) {
      if (placed[p] || (!any && before[p] != kNone)) continue;
      FatTailChain chain;
      placed[p] = true;
      chain.m_tails.push_back(p);
      follow(endCount + p, chain);
      chains.push_back(std::move(chain));
    }
  return chains;
}

// Reads the bytes of a found FAT file for recovery. A live file follows its
// chain. A deleted file has no chain left: it is taken to lie in the clusters
// from its first on, passing over clusters the FAT gives to live files, the
// first clusters of other deleted files, and the clusters already given to
// another deleted file. Files are resolved from the highest first cluster
// down, so a file that begins in a hole and goes on after a later file does
// not take that file's clusters (that file was written whole meanwhile).
//
// The allocator hands out the next free cluster, so files written at the same
// time alternate. Deleted files whose first clusters are neighbours (no free
// cluster between them) were opened together: they share the clusters after
// their first ones in turn, a file leaving the turn once it has its size.
// Files that start further apart cannot be told from a file written whole
// inside another's run, and keep that reading.
//
// Neighbours need not have been written together, though: a file opened with
// one cluster, then a file created, written whole and closed, then the first
// going on after it, leaves the same first clusters. Their entries tell it:
// a later neighbour created after an earlier one and last written before it
// lived inside its life and was written whole, from its first cluster on;
// the earlier one goes on after it. When the times cannot tell, the
// neighbours share in turn as before.
#pragma once

#include "EntryRecord.h"
#include "FatFastSearch.h"
#include "FatVolume.h"

#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Receives a file's bytes in order; false stops the read.
using FatByteSink = std::function<bool(const uint8_t *data, size_t size)>;

struct FatClusterRun {
  uint32_t m_first = 0;
  uint32_t m_count = 0;
  bool operator==(const FatClusterRun &other) const {
    return m_first == other.m_first && m_count == other.m_count;
  }
};

// True when the entries' times show that inner, the later neighbour, was
// created after outer and last written before outer was (each time beyond its
// resolution: 10 ms, or 2 s without the 10 ms field, and 2 s for the write).
// False when they cannot tell: a creation stamp missing, equal stamps, or a
// write stamp before its own creation.
bool LivedInside(const FatEntryTimes &inner, const FatEntryTimes &outer);

// Once a search has listed its deleted files: a file graded "Good" (taken to
// lie in the clusters from its first on) whose clusters are shared in turn
// with a neighbour's is read by a guess, and the grade rules give such a file,
// whose clusters after the first are not all its own, "Fair". Lowers those
// grades in the files and in the view.
void LowerGuessedGrades(FatVolume &volume, std::vector<FatFoundFile> &files, EngineServices &services);

class FatFileReader {
public:
  FatFileReader(FatVolume &volume, const std::vector<FatFoundFile> &deletedFiles);

  // Streams size bytes of the entry to the sink. True only when every byte
  // was read; an unreadable cluster is passed on as zeros (and logged), a
  // file that runs past the volume end is cut there (and logged). A folder
  // has no bytes: true at once.
  bool ReadFoundFile(const EntryRecord &entry, const FatByteSink &sink);

  // The clusters a deleted file with this first cluster and size is taken to occupy.
  std::vector<FatClusterRun> DeletedFileRuns(uint32_t firstCluster, uint64_t size);
  // True when the file with this first cluster shares clusters in turn with
  // a neighbour still being written: which of them each cluster after its
  // first belongs to is a guess.
  bool ReadInTurn(uint32_t firstCluster);

private:
  struct Claim {
    uint32_t m_end;   // one past the last claimed cluster
    uint32_t m_owner; // first cluster of the file that claimed it
  };

  void ResolveAll();
  // Deleted files opened together, in first-cluster order: one group per file
  // unless first clusters are neighbours.
  std::vector<std::vector<uint32_t>> OpenedTogether() const;
  // Resolves the members of a group that lived inside an earlier member's
  // life; returns the others, which share their clusters in turn.
  // Splits a group into the members that lived inside an earlier member's
  // life and the others.
  void SplitWrittenInside(const std::vector<uint32_t> &group, std::vector<uint32_t> &together,
                          std::vector<uint32_t> &inside);
  std::vector<uint32_t> ResolveWrittenInside(const std::vector<uint32_t> &group);
  void ResolveTogether(const std::vector<uint32_t> &firsts);
  // The next cluster from c on (up to last) that no other file claims, no
  // live file holds and no deleted file begins at; past last when none.
  uint64_t NextUnclaimed(uint64_t cluster, uint32_t owner, uint32_t last) const;
  void RecordClaims(uint32_t owner, const std::vector<FatClusterRun> &runs);
  const std::vector<FatClusterRun> &Resolve(uint32_t firstCluster, uint64_t size);
  // The cluster after c that another file claimed, or c when none did.
  uint32_t SkipOtherClaims(uint32_t cluster, uint32_t owner) const;
  uint64_t ClustersFor(uint64_t size) const;
  std::vector<FatClusterRun> LiveFileRuns(uint32_t firstCluster);
  bool StreamRuns(const std::vector<FatClusterRun> &runs, uint64_t size, const FatByteSink &sink);

  FatVolume &m_volume;
  std::unordered_map<uint32_t, uint64_t> m_largestSize; // by first cluster
  std::unordered_map<uint32_t, FatEntryTimes> m_times;  // of that largest file
  std::unordered_set<uint32_t> m_firstClusters;
  std::map<uint32_t, Claim> m_claims; // by first claimed cluster
  std::unordered_map<uint32_t, std::vector<FatClusterRun>> m_runs;
  std::unordered_set<uint32_t> m_readInTurn; // first clusters
  bool m_inTurnFound = false;
  bool m_resolved = false;
};

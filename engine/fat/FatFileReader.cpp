#include "FatFileReader.h"

#include <algorithm>

namespace {

constexpr uint32_t kReadChunkSectors = 2048;

void AppendCluster(std::vector<FatClusterRun> &runs, uint32_t cluster) {
  if (!runs.empty() && runs.back().m_first + runs.back().m_count == cluster)
    ++runs.back().m_count;
  else
    runs.push_back(FatClusterRun{cluster, 1});
}

} // namespace

FatFileReader::FatFileReader(FatVolume &volume, const std::vector<FatFoundFile> &deletedFiles)
    : m_volume(volume) {
  for (const FatFoundFile &file : deletedFiles) {
    if (!volume.IsDataCluster(file.m_firstCluster)) continue;
    m_firstClusters.insert(file.m_firstCluster);
    uint64_t &largest = m_largestSize[file.m_firstCluster];
    if (m_times.count(file.m_firstCluster) != 0 && file.m_size <= largest) continue;
    largest = file.m_size;
    m_times[file.m_firstCluster] = file.m_times;
  }
}

bool LivedInside(const FatEntryTimes &inner, const FatEntryTimes &outer) {
  constexpr uint64_t kWriteStep = 200; // 2 s in 10 ms steps
  if (inner.m_created == 0 || outer.m_created == 0 || inner.m_written == 0 || outer.m_written == 0)
    return false;
  // A write before the file's own creation: the stamps were carried over
  // (a copy keeps the original's write time) and say nothing of its life.
  for (const FatEntryTimes *times : {&inner, &outer})
    if (times->m_written / kWriteStep < times->m_created / kWriteStep) return false;
  const uint64_t step = std::max(inner.m_createdStep, outer.m_createdStep);
  return inner.m_created / step > outer.m_created / step &&
         inner.m_written / kWriteStep < outer.m_written / kWriteStep;
}

uint64_t FatFileReader::ClustersFor(uint64_t size) const {
  const uint64_t clusterBytes = m_volume.ClusterBytes();
  return clusterBytes == 0 ? 0 : (size + clusterBytes - 1) / clusterBytes;
}

void FatFileReader::ResolveAll() {
  if (m_resolved) return;
  m_resolved = true;
  std::vector<std::vector<uint32_t>> groups = OpenedTogether();
  for (auto group = groups.rbegin(); group != groups.rend(); ++group) {
    const std::vector<uint32_t> together = group->size() == 1 ? *group : ResolveWrittenInside(*group);
    if (together.size() == 1)
      Resolve(together.front(), m_largestSize[together.front()]);
    else if (!together.empty())
      ResolveTogether(together);
  }
}

void FatFileReader::SplitWrittenInside(const std::vector<uint32_t> &group, std::vector<uint32_t> &together,
                                       std::vector<uint32_t> &inside) {
  // Few files are open at once: the earlier members looked at are the few
  // just before, which keeps a long run of neighbours cheap.
  constexpr size_t kOpenAtOnce = 8;
  for (size_t i = 0; i < group.size(); ++i) {
    bool lived = false;
    for (size_t j = i > kOpenAtOnce ? i - kOpenAtOnce : 0; j < i && !lived; ++j)
      lived = LivedInside(m_times[group[i]], m_times[group[j]]);
    (lived ? inside : together).push_back(group[i]);
  }
}

std::vector<uint32_t> FatFileReader::ResolveWrittenInside(const std::vector<uint32_t> &group) {
  std::vector<uint32_t> together, inside;
  SplitWrittenInside(group, together, inside);
  // Each was written whole; one that lived inside a lower one of them took
  // its clusters while that one was open, so the highest goes first.
  for (auto first = inside.rbegin(); first != inside.rend(); ++first) Resolve(*first, m_largestSize[*first]);
  return together;
}

std::vector<std::vector<uint32_t>> FatFileReader::OpenedTogether() const {
  std::vector<uint32_t> firsts(m_firstClusters.begin(), m_firstClusters.end());
  std::sort(firsts.begin(), firsts.end());
  std::vector<std::vector<uint32_t>> groups;
  for (size_t i = 0; i < firsts.size(); ++i) {
    bool neighbour = i != 0;
    for (uint64_t c = i == 0 ? 0 : uint64_t{firsts[i - 1]} + 1; neighbour && c < firsts[i]; ++c)
      neighbour = m_volume.IsClusterInUse(c);
    if (neighbour)
      groups.back().push_back(firsts[i]);
    else
      groups.push_back({firsts[i]});
  }
  return groups;
}

uint64_t FatFileReader::NextUnclaimed(uint64_t cluster, uint32_t owner, uint32_t last) const {
  while (cluster <= last) {
    const uint32_t next = SkipOtherClaims(static_cast<uint32_t>(cluster), owner);
    if (next != cluster) {
      cluster = next;
      continue;
    }
    if (!m_volume.IsClusterInUse(cluster) && m_firstClusters.count(static_cast<uint32_t>(cluster)) == 0)
      return cluster;
    ++cluster;
  }
  return uint64_t{last} + 1;
}

void FatFileReader::RecordClaims(uint32_t owner, const std::vector<FatClusterRun> &runs) {
  for (const FatClusterRun &run : runs) m_claims[run.m_first] = Claim{run.m_first + run.m_count, owner};
}

void FatFileReader::ResolveTogether(const std::vector<uint32_t> &firsts) {
  const uint32_t last = m_volume.LastReadableCluster();
  std::vector<std::vector<FatClusterRun>> runs(firsts.size());
  std::vector<uint64_t> remaining(firsts.size());
  for (size_t i = 0; i < firsts.size(); ++i) {
    remaining[i] = ClustersFor(m_largestSize[firsts[i]]);
    if (remaining[i] == 0 || firsts[i] > last) continue;
    AppendCluster(runs[i], firsts[i]);
    --remaining[i];
  }
  // The turn goes on from the file that was opened first.
  uint64_t cluster = uint64_t{firsts.back()} + 1;
  size_t turn = 0;
  size_t open = std::count_if(remaining.begin(), remaining.end(), [](uint64_t r) { return r != 0; });
  while (open != 0) {
    while (remaining[turn] == 0) turn = (turn + 1) % firsts.size();
    // Nothing of the group claims a cluster before the group is done, so any owner of it will do.
    cluster = NextUnclaimed(cluster, firsts[turn], last);
    if (cluster > last) break;
    AppendCluster(runs[turn], static_cast<uint32_t>(cluster));
    if (--remaining[turn] == 0) --open;
    ++cluster;
    turn = (turn + 1) % firsts.size();
  }
  for (size_t i = 0; i < firsts.size(); ++i) {
    RecordClaims(firsts[i], runs[i]);
    m_runs[firsts[i]] = std::move(runs[i]);
  }
}

uint32_t FatFileReader::SkipOtherClaims(uint32_t cluster, uint32_t owner) const {
  auto it = m_claims.upper_bound(cluster);
  if (it == m_claims.begin()) return cluster;
  --it;
  if (cluster < it->second.m_end && it->second.m_owner != owner) return it->second.m_end;
  return cluster;
}

const std::vector<FatClusterRun> &FatFileReader::Resolve(uint32_t firstCluster, uint64_t size) {
  auto found = m_runs.find(firstCluster);
  if (found != m_runs.end()) return found->second;
  std::vector<FatClusterRun> runs;
  uint64_t remaining = ClustersFor(size);
  const uint32_t last = m_volume.LastReadableCluster();
  if (remaining != 0 && m_volume.IsDataCluster(firstCluster) && firstCluster <= last) {
    // The first cluster is the file's own, whatever now holds it.
    AppendCluster(runs, firstCluster);
    --remaining;
    for (uint64_t cluster = firstCluster; remaining != 0; --remaining) {
      cluster = NextUnclaimed(cluster + 1, firstCluster, last);
      if (cluster > last) break;
      AppendCluster(runs, static_cast<uint32_t>(cluster));
    }
  }
  RecordClaims(firstCluster, runs);
  return m_runs[firstCluster] = std::move(runs);
}

std::vector<FatClusterRun> FatFileReader::DeletedFileRuns(uint32_t firstCluster, uint64_t size) {
  ResolveAll();
  const std::vector<FatClusterRun> &all = Resolve(firstCluster, std::max(size, m_largestSize[firstCluster]));
  // A smaller file with the same first cluster takes the front of the run.
  std::vector<FatClusterRun> runs;
  uint64_t wanted = ClustersFor(size);
  for (const FatClusterRun &run : all) {
    if (wanted == 0) break;
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(run.m_count, wanted));
    runs.push_back(FatClusterRun{run.m_first, count});
    wanted -= count;
  }
  return runs;
}

bool FatFileReader::ReadInTurn(uint32_t firstCluster) {
  if (!m_inTurnFound) {
    m_inTurnFound = true;
    // Files that want clusters after their first share the turn, and which
    // of them each cluster belongs to is a guess; a file left alone takes
    // the clusters after its first in a row. Files only leave the turn, so
    // those that want more at the start are all that ever share it.
    for (const std::vector<uint32_t> &group : OpenedTogether()) {
      if (group.size() < 2) continue;
      std::vector<uint32_t> together, inside;
      SplitWrittenInside(group, together, inside);
      std::vector<uint32_t> wanting;
      for (uint32_t first : together)
        if (ClustersFor(m_largestSize[first]) >= 2) wanting.push_back(first);
      if (wanting.size() >= 2) m_readInTurn.insert(wanting.begin(), wanting.end());
    }
  }
  return m_readInTurn.count(firstCluster) != 0;
}

void LowerGuessedGrades(FatVolume &volume, std::vector<FatFoundFile> &files, EngineServices &services) {
  if (!volume.IsValid()) return;
  FatFileReader reader(volume, files);
  for (FatFoundFile &file : files) {
    if (file.m_grade != RecoveryGrade::Good || !reader.ReadInTurn(file.m_firstCluster)) continue;
    file.m_grade = RecoveryGrade::Fair;
    services.SetEntryGrade(file.m_ownId, file.m_grade);
  }
}

std::vector<FatClusterRun> FatFileReader::LiveFileRuns(uint32_t firstCluster) {
  std::vector<FatClusterRun> runs;
  for (uint32_t cluster : m_volume.GetClusterChain(firstCluster)) AppendCluster(runs, cluster);
  return runs;
}

bool FatFileReader::ReadFoundFile(const EntryRecord &entry, const FatByteSink &sink) {
  if (entry.IsFolder() || entry.m_size == 0) return true;
  const std::vector<FatClusterRun> runs = entry.m_deleted
                                              ? DeletedFileRuns(entry.m_firstCluster, entry.m_size)
                                              : LiveFileRuns(entry.m_firstCluster);
  return StreamRuns(runs, entry.m_size, sink);
}

bool FatFileReader::StreamRuns(const std::vector<FatClusterRun> &runs, uint64_t size,
                               const FatByteSink &sink) {
  const uint32_t sectorsPerCluster = m_volume.Parameters().m_sectorsPerCluster;
  const uint32_t clusterBytes = m_volume.ClusterBytes();
  // Large reads for speed, but no larger buffer than the file needs.
  const uint32_t chunkClusters = static_cast<uint32_t>(
      std::max<uint64_t>(1, std::min<uint64_t>(kReadChunkSectors / sectorsPerCluster, ClustersFor(size))));
  std::vector<uint8_t> buffer(static_cast<size_t>(chunkClusters) * clusterBytes);
  uint64_t remaining = size;
  bool complete = true;
  for (const FatClusterRun &run : runs) {
    for (uint32_t done = 0; done < run.m_count && remaining != 0;) {
      const uint32_t count = std::min(chunkClusters, run.m_count - done);
      const uint32_t first = run.m_first + done;
      if (!m_volume.ReadClusters(first, 0, buffer.data(), count * sectorsPerCluster)) {
        // Read the clusters singly so that only the unreadable ones become zeros.
        for (uint32_t i = 0; i < count; ++i)
          if (!m_volume.ReadClusters(first + i, 0, buffer.data() + size_t{i} * clusterBytes,
                                     sectorsPerCluster)) {
            m_volume.LogClusterError(first + i);
            complete = false;
          }
      }
      const uint64_t bytes = std::min<uint64_t>(remaining, uint64_t{count} * clusterBytes);
      if (!sink(buffer.data(), static_cast<size_t>(bytes))) return false;
      remaining -= bytes;
      done += count;
    }
  }
  if (remaining != 0) {
    m_volume.LogError(
        Widen("File at cluster " + std::to_string(runs.empty() ? 0 : runs.front().m_first) +
              " ends before its size (volume end or broken chain): " + std::to_string(size - remaining) +
              " of " + std::to_string(size) + " bytes read"));
    complete = false;
  }
  return complete;
}

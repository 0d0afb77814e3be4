#include "SignatureSearch.h"

#include "ByteOrder.h"
#include "CompoundDocument.h"
#include "SignatureMatch.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kSectorBytes = 512;
// The most a growth reads ahead of its batch into the window.
constexpr uint64_t kReadAheadBytes = 8u << 20;
constexpr uint32_t kPrefetchDistance = 8;
// Units tested between two looks at the clock (the pacing of the pump): a
// sector's test costs a few nanoseconds, a clock reading as much again.
constexpr uint32_t kUnitsPerPaceCheck = 64;

void PrefetchForRead(const void *address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

// The lines of a cluster's first sector that the signature filter reads.
void PrefetchFilterLines(const uint8_t *cluster, const SignatureIndex &index) {
  for (uint32_t line : index.FilterLines()) PrefetchForRead(cluster + line);
}

} // namespace

bool IsCompoundExtension(const std::u16string &extension) {
  return extension == u"DOC" || extension == u"XLS" || extension == u"PPT";
}

bool ReadSignatureHit(ClusterSpace &space, uint64_t firstCluster, uint64_t size, bool skipUsed,
                      const SignatureByteSink &sink) {
  const uint32_t sectorsPerCluster = std::max<uint32_t>(1, space.SectorsPerCluster());
  std::vector<uint8_t> cluster(size_t{sectorsPerCluster} * kSectorBytes);
  uint64_t next = firstCluster;
  bool complete = true;
  while (size > 0) {
    if (next >= space.MapSize()) return false;
    if (!space.ReadClusterSectors(next, cluster.data(), sectorsPerCluster)) complete = false;
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(size, cluster.size()));
    if (!sink(cluster.data(), piece)) return false;
    size -= piece;
    ++next;
    while (skipUsed && size > 0 && next < space.MapSize() && space.IsClusterUsed(next)) ++next;
  }
  return complete;
}

std::u16string SignatureStatusText(const std::u16string &reading, uint64_t unit, const std::u16string &of,
                                   uint64_t total) {
  return u" " + reading + u" " + Widen(std::to_string(unit)) + u" " + of + u" " +
         Widen(std::to_string(total));
}

std::u16string SignatureFileName(uint64_t unit, const std::u16string &extension) {
  std::u16string name = Widen(std::to_string(unit)) + u"." + extension;
  if (name.size() > 260) name.resize(260);
  return name;
}

uint32_t SignatureClustersPerBatch(uint32_t batchSectors, uint32_t sectorsPerCluster) {
  if (sectorsPerCluster == 0) return 1;
  // A cluster larger than the batch (128 sectors in a 64-sector batch) is
  // still read whole, one per batch.
  return std::max<uint32_t>(1, batchSectors / sectorsPerCluster);
}

std::u16string CompoundExtension(uint8_t kind, const std::u16string &matched) {
  switch (static_cast<CompoundKind>(kind)) {
  case CompoundKind::Document:
    return u"DOC";
  case CompoundKind::Spreadsheet:
    return u"XLS";
  case CompoundKind::Presentation:
    return u"PPT";
  default:
    return matched;
  }
}

SignatureSearch::SignatureSearch(ClusterSpace &space, EngineServices &services, StopCheck stop,
                                 SignaturePassOptions options)
    : m_space(space), m_services(services), m_stop(std::move(stop)), m_options(options),
      m_sectorsPerCluster(std::max<uint32_t>(1, space.SectorsPerCluster())),
      m_clustersPerBatch(SignatureClustersPerBatch(options.m_batchSectors, m_sectorsPerCluster)),
      m_failures([this](uint64_t first, uint64_t last) { WriteFailureLine(first, last); }) {}

bool SignatureSearch::ShouldStop() {
  if (++m_unitsSincePace < kUnitsPerPaceCheck) return m_services.StopRequested();
  m_unitsSincePace = 0;
  return m_stop && m_stop();
}

bool SignatureSearch::IsUsed(uint64_t cluster) const {
  return m_space.IsClusterUsed(cluster) || std::binary_search(m_taken.begin(), m_taken.end(), cluster);
}

void SignatureSearch::LogClusterError(uint64_t cluster) {
  m_failures.Add(cluster);
}

void SignatureSearch::WriteFailureLine(uint64_t first, uint64_t last) {
  const std::u16string text =
      first == last ? m_services.LoadText(m_options.m_errorTextId) + u" " + Widen(std::to_string(first))
                    : ReadFailureRangeText(m_services.LoadText(m_options.m_errorRangeTextId), first, last);
  m_services.AddLogEntry(std::nullopt, text, std::nullopt, LogStatus::Error);
}

void SignatureSearch::ShowStatus(uint64_t cluster) {
  if (!m_statusPace.Due()) return;
  m_services.ShowCurrentItemText(
      0, SignatureStatusText(m_readingText, cluster, m_ofText, m_space.ClusterCount()));
}

// The window holds a batch and what the growth of its hits may read behind
// it (the largest size of a chosen signature, within a bound); a growth that
// goes further reads batch-sized pieces into the far window.
void SignatureSearch::SizeWindows(uint64_t clusterCount) {
  const uint64_t clusterBytes = uint64_t{m_sectorsPerCluster} * kSectorBytes;
  // A small disk or volume needs no more buffer than it has clusters.
  const uint64_t batch = std::max<uint64_t>(1, std::min<uint64_t>(m_clustersPerBatch, clusterCount));
  uint64_t growth = 0;
  for (const HeaderRecord &header : m_services.SelectedHeaders())
    growth = std::max<uint64_t>(growth, header.m_maxSize / clusterBytes + 1);
  const uint64_t bound = std::max<uint64_t>(batch, kReadAheadBytes / clusterBytes);
  const uint64_t ahead = std::min({growth, bound, clusterCount});
  m_readAheadClusters = static_cast<uint32_t>(batch);
  m_window.Reset(static_cast<size_t>(clusterBytes), static_cast<uint32_t>(batch + ahead));
  m_far.Reset(static_cast<size_t>(clusterBytes), 0);
  m_singleReadsBefore = 0;
}

const SignatureIndex &SignatureSearch::Index() {
  if (!m_index) m_index = std::make_unique<SignatureIndex>(m_services.SelectedHeaders());
  return *m_index;
}

bool SignatureSearch::Run(std::vector<SignatureHit> &hits) {
  return Run([&hits](SignatureHit &hit) { hits.push_back(std::move(hit)); });
}

bool SignatureSearch::Run(const HitSink &sink) {
  ReadFailureLog::Pass pass(m_failures);
  m_readingText = m_services.LoadText(m_options.m_readingTextId);
  m_ofText = m_services.LoadText(SignatureText::kOf);
  m_taken.clear();
  m_stopped = false;
  m_lastMissHeld = false;
  m_statusPace.Expire();
  m_unitsSincePace = 0;
  m_index = std::make_unique<SignatureIndex>(m_services.SelectedHeaders());
  const uint64_t count = m_space.ClusterCount();
  SizeWindows(count);
  uint64_t cluster = m_options.m_firstUnit;
  while (cluster < count) {
    // Each batch begins with the full stop check, whatever the units before it took.
    m_unitsSincePace = 0;
    if (m_stop && m_stop()) return !(m_stopped = true);
    if (IsUsed(cluster)) {
      ++cluster;
      continue;
    }
    ShowStatus(cluster);
    // The last batch ends at the last cluster: nothing past it is examined,
    // and nothing of the batch before it is seen twice.
    const uint32_t clusters = static_cast<uint32_t>(std::min<uint64_t>(m_clustersPerBatch, count - cluster));
    ReadBatch(cluster, clusters);
    // A read can take long enough for the pump to be due (and a Stop to be
    // waiting): the batch's first unit looks at the clock.
    m_unitsSincePace = kUnitsPerPaceCheck;
    cluster = ExamineBatch(cluster, clusters, sink);
    if (m_stopped) return false;
  }
  return true;
}

bool SignatureSearch::ReadBatch(uint64_t first, uint32_t clusters) {
  const size_t clusterBytes = size_t{m_sectorsPerCluster} * kSectorBytes;
  // What a growth already read ahead of this batch is not read again.
  const uint32_t kept = m_window.MoveTo(first);
  if (kept >= clusters) return true;
  const uint32_t missing = clusters - kept;
  // A lone cluster is cleared first, so no byte of the batch before can show
  // through a short read that leaves the buffer as it was.
  if (clusters == 1) std::memset(m_window.Tail(), 0, clusterBytes);
  if (m_space.ReadClusterSectors(first + kept, m_window.Tail(), missing * m_sectorsPerCluster)) {
    m_window.Extend(missing);
    return true;
  }
  LogClusterError(first);
  if (clusters == 1) {
    m_window.Extend(1);
    return false;
  }
  // One bad sector should not blank the whole batch: read it cluster by cluster.
  m_window.Restart(first);
  std::memset(m_window.Data(), 0, clusters * clusterBytes);
  bool all = true;
  for (uint32_t i = 0; i < clusters; ++i) {
    if (m_space.ReadClusterSectors(first + i, m_window.Data() + i * clusterBytes, m_sectorsPerCluster))
      continue;
    if (i != 0) LogClusterError(first + i);
    all = false;
  }
  m_window.Extend(clusters);
  return all;
}

uint64_t SignatureSearch::ExamineBatch(uint64_t first, uint32_t clusters, const HitSink &sink) {
  const SignatureIndex &index = Index();
  const size_t clusterBytes = size_t{m_sectorsPerCluster} * kSectorBytes;
  // The window only grows behind the batch while it is examined, so the
  // batch's bytes stay where they are.
  const uint8_t *batch = m_window.Data();
  // Where no cluster is in use and no hook looks at them (the sectors of a
  // disk), the units no signature can match are passed over in a tight loop.
  const bool plain = !m_hook && !m_space.HasUsedClusters();
  for (uint32_t i = 0; i < clusters; ++i) {
    if (plain) {
      i = NextCandidate(batch, i, clusters);
      if (m_stopped) return first + clusters;
      if (i == clusters) break;
    } else if (ShouldStop()) {
      m_stopped = true;
      return first + clusters;
    }
    // The first bytes of each cluster are all the test reads: ask for those
    // a few clusters ahead so the test does not wait on memory.
    if (i + kPrefetchDistance < clusters)
      PrefetchFilterLines(batch + (i + kPrefetchDistance) * clusterBytes, index);
    const uint64_t cluster = first + i;
    if (IsUsed(cluster)) continue;
    const uint8_t *bytes = batch + i * clusterBytes;
    if (m_hook && m_hook(cluster, bytes, clusterBytes)) {
      m_taken.push_back(cluster);
      continue;
    }
    std::u16string extension;
    HeaderRecord record;
    if (!MatchUnit(bytes, &extension, &record)) continue;
    SignatureHit hit = DecideHitSize(cluster, bytes, record, extension);
    sink(hit);
    // Listing a hit takes the window's time: the next unit looks at the clock.
    m_unitsSincePace = kUnitsPerPaceCheck;
    // The growth tested each free cluster it took with the same signatures
    // and none matched; unless a hook could still take one of them, they
    // need no second test.
    if (m_hook || m_grownThrough <= cluster) continue;
    if (m_grownThrough - first >= clusters) return m_grownThrough + 1;
    i = static_cast<uint32_t>(m_grownThrough - first);
  }
  return first + clusters;
}

bool SignatureSearch::MatchUnit(const uint8_t *bytes, std::u16string *extension, HeaderRecord *record) {
  const SignatureIndex &index = Index();
  if (!index.MayMatch(bytes, kSectorBytes)) return false;
  // Zero-filled sectors (and other filler) pass the filter of a signature
  // that begins with zeros, sector after sector: the same bytes as the last
  // unit that matched nothing match nothing again.
  const size_t span = index.MatchSpan();
  if (m_lastMissHeld && std::memcmp(bytes, m_lastMiss.data(), span) == 0) return false;
  if (index.Match(bytes, kSectorBytes, extension, record)) return true;
  m_lastMiss.assign(bytes, bytes + span);
  m_lastMissHeld = true;
  return false;
}

uint32_t SignatureSearch::NextCandidate(const uint8_t *batch, uint32_t i, uint32_t clusters) {
  const SignatureIndex &index = Index();
  const size_t clusterBytes = size_t{m_sectorsPerCluster} * kSectorBytes;
  for (; i < clusters; ++i) {
    // Nothing but a pump or a listed hit can raise the stop flag, so here
    // the flag is read with the clock: every so many units, and at the unit
    // after a hit.
    if (++m_unitsSincePace >= kUnitsPerPaceCheck) {
      m_unitsSincePace = 0;
      if (m_stop && m_stop()) {
        m_stopped = true;
        return clusters;
      }
    }
    if (i + kPrefetchDistance < clusters)
      PrefetchFilterLines(batch + (i + kPrefetchDistance) * clusterBytes, index);
    if (index.MayMatch(batch + i * clusterBytes, kSectorBytes)) return i;
  }
  return clusters;
}

const uint8_t *SignatureSearch::HeldCluster(uint64_t cluster) const {
  if (const uint8_t *bytes = m_window.Find(cluster)) return bytes;
  return m_far.Find(cluster);
}

// Reads a batch-sized piece from the cluster on (from the window's end when
// the cluster lies within its room, so the next batch finds it read). Null
// when nothing could be read ahead: the caller then reads the one sector, as
// a read that failed must be logged and retried for that sector alone.
const uint8_t *SignatureSearch::ReadAhead(uint64_t cluster) {
  const uint64_t mapSize = m_space.MapSize();
  if (cluster < m_singleReadsBefore || cluster >= mapSize || m_window.Capacity() == 0) return nullptr;
  const uint64_t end = m_window.End();
  if (cluster < end || cluster - end >= m_window.Room()) return ReadAheadFar(cluster);
  const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(
      {m_window.Room(), mapSize - end, std::max<uint64_t>(m_readAheadClusters, cluster - end + 1)}));
  if (!m_space.ReadClusterSectors(end, m_window.Tail(), count * m_sectorsPerCluster)) {
    m_singleReadsBefore = end + count;
    return nullptr;
  }
  m_window.Extend(count);
  return m_window.Find(cluster);
}

const uint8_t *SignatureSearch::ReadAheadFar(uint64_t cluster) {
  if (m_far.Capacity() == 0) m_far.Reset(size_t{m_sectorsPerCluster} * kSectorBytes, m_readAheadClusters);
  m_far.Restart(cluster);
  const uint32_t count =
      static_cast<uint32_t>(std::min<uint64_t>(m_far.Capacity(), m_space.MapSize() - cluster));
  if (!m_space.ReadClusterSectors(cluster, m_far.Tail(), count * m_sectorsPerCluster)) {
    m_singleReadsBefore = cluster + count;
    return nullptr;
  }
  m_far.Extend(count);
  return m_far.Find(cluster);
}

// The first sector of a cluster a growth steps onto: from memory, read
// ahead, or (after a failed read-ahead) read alone into scratch.
const uint8_t *SignatureSearch::GrowthSector(uint64_t cluster, uint8_t *scratch) {
  if (const uint8_t *bytes = HeldCluster(cluster)) return bytes;
  if (const uint8_t *bytes = ReadAhead(cluster)) return bytes;
  std::memset(scratch, 0, kSectorBytes);
  if (!m_space.ReadClusterSectors(cluster, scratch, 1)) LogClusterError(cluster);
  return scratch;
}

SignatureHit SignatureSearch::DecideHitSize(uint64_t cluster, const uint8_t *hitBytes,
                                            const HeaderRecord &record, const std::u16string &extension) {
  SignatureHit hit;
  hit.m_extension = extension;
  hit.m_cluster = cluster;
  m_grownThrough = cluster;
  if (IsCompoundExtension(extension)) {
    const bool measured = MeasureCompound(cluster, hitBytes, hit);
    if (hit.m_size == 0 && record.m_maxSize > 0 && m_options.m_growEmptyDocuments)
      Grow(cluster, record.m_maxSize, hit);
    if (!measured) LogUnmeasuredDocument(cluster, hit.m_size);
    return hit;
  }
  hit.m_grade = RecoveryGrade::NotApplicable;
  if (extension == u"BMP") {
    hit.m_size = ReadLe32(hitBytes + 2);
    return hit;
  }
  hit.m_size = m_sectorsPerCluster * kSectorBytes;
  Grow(cluster, record.m_maxSize, hit);
  return hit;
}

bool SignatureSearch::MeasureCompound(uint64_t cluster, const uint8_t *hitBytes, SignatureHit &hit) {
  const size_t clusterBytes = size_t{m_sectorsPerCluster} * kSectorBytes;
  auto reader = [this, cluster, clusterBytes](uint64_t index, uint8_t *buffer) {
    const uint64_t target = m_space.DocumentCluster(cluster, index);
    if (const uint8_t *held = HeldCluster(target)) {
      std::memcpy(buffer, held, clusterBytes);
      return true;
    }
    if (m_space.ReadClusterSectors(target, buffer, m_sectorsPerCluster)) return true;
    LogClusterError(target);
    return false;
  };
  // Why the measurement failed is the structure's business; the user is
  // told what became of the document once its size is decided.
  bool measured = true;
  auto log = [&measured](const std::string &) { measured = false; };
  CompoundDocument document(hitBytes, m_sectorsPerCluster, m_space.VolumeSectors(), reader, log);
  CompoundFileInfo info;
  document.Measure(info);
  hit.m_grade = info.m_quality != 0 ? RecoveryGrade::VeryGood : RecoveryGrade::Poor;
  hit.m_size = info.m_size;
  hit.m_extension =
      CompoundExtension(info.m_kind, m_options.m_unknownKindIsDocument ? u"DOC" : hit.m_extension);
  return measured;
}

// A document found but not measured is still listed: the line says so, and
// at which size, as a step that was done rather than as a failure.
void SignatureSearch::LogUnmeasuredDocument(uint64_t cluster, uint32_t size) {
  const std::u16string where = Widen(std::to_string(cluster));
  const std::u16string text =
      size != 0 ? FillInText(FillInText(m_services.LoadText(SignatureText::kDocumentKeptAtLargest), where),
                             Widen(std::to_string(size)))
                : FillInText(m_services.LoadText(SignatureText::kDocumentKeptEmpty), where);
  m_services.AddLogEntry(std::nullopt, text, std::nullopt, LogStatus::Completed);
}

void SignatureSearch::Grow(uint64_t cluster, uint32_t maxSize, SignatureHit &hit) {
  const uint64_t clusterBytes = uint64_t{m_sectorsPerCluster} * kSectorBytes;
  const uint64_t mapSize = m_space.MapSize();
  const SignatureIndex &index = Index();
  uint64_t last = cluster;
  uint8_t scratch[kSectorBytes];
  while (hit.m_size < maxSize) {
    if (ShouldStop()) return;
    uint64_t next = last + 1;
    while (next < mapSize && IsUsed(next)) ++next;
    if (next >= mapSize) return;
    // A growth walks on through the clusters held behind the batch: ask for
    // those a few ahead, as the batch's own test does.
    if (const uint8_t *ahead = m_window.Find(next + kPrefetchDistance)) PrefetchFilterLines(ahead, index);
    if (MatchUnit(GrowthSector(next, scratch), nullptr, nullptr)) return;
    hit.m_size = static_cast<uint32_t>(std::min<uint64_t>(UINT32_MAX, hit.m_size + clusterBytes));
    last = next;
    m_grownThrough = last;
  }
}

uint32_t SignatureFolders::Place(const std::u16string &extension) {
  std::u16string candidate = extension;
  uint32_t counter = 0;
  for (Folder &folder : m_folders) {
    if (folder.m_name != candidate) continue;
    if (folder.m_count < kFurtherFilesPerFolder) {
      ++folder.m_count;
      return folder.m_id;
    }
    ++counter;
    candidate = extension + Widen(std::to_string(counter));
  }
  const uint32_t id = m_maker(candidate);
  m_folders.push_back(Folder{candidate, id, 0});
  return id;
}

EntryRecord SignatureHitRecord(SignatureHit &hit, uint32_t parentId, uint32_t ownId) {
  EntryRecord record;
  record.m_parentId = parentId;
  record.m_ownId = ownId;
  record.SetFirstCluster(hit.m_cluster);
  record.m_size = hit.m_size;
  record.m_attributes = kEntryAttrArchive;
  record.m_grade = hit.m_grade;
  hit.m_ownId = ownId;
  return record;
}

// Measures a compound document (the structured-storage container of .doc,
// .xls and .ppt files) that a signature search found at the start of a free
// cluster: whether it is one, which kind, how long, and whether its main
// stream carries its kind's mark. The document is taken to lie in
// consecutive clusters from the hit; the caller says how a cluster is read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

enum class CompoundKind : uint8_t { Unknown = 0, Document = 1, Spreadsheet = 2, Presentation = 3 };

// Quality values of a measurement.
constexpr uint32_t kCompoundNotDocument = 0;
constexpr uint32_t kCompoundMarkConfirmed = 1;
constexpr uint32_t kCompoundStructureRead = 3;

struct CompoundFileInfo {
  uint8_t m_kind = 0;     // a CompoundKind
  uint32_t m_size = 0;    // measured length in bytes
  uint32_t m_quality = 0; // kCompoundNotDocument, kCompoundMarkConfirmed or kCompoundStructureRead
};

// True for an id inside the document's FAT (at most limit) or a special id.
bool IsValidCompoundSectorId(uint32_t limit, uint32_t id);

// Reads cluster number index (1, 2, ...) of the document, counted from the
// hit's cluster, into a buffer of one cluster; false after a failed read (the
// reader logs it and leaves zeros).
using CompoundClusterReader = std::function<bool(uint64_t index, uint8_t *buffer)>;
// Told why a measurement gave up.
using CompoundLog = std::function<void(const std::string &why)>;

class CompoundDocument {
public:
  // hitCluster: the hit cluster's bytes as the search read them (one cluster).
  CompoundDocument(const uint8_t *hitCluster, uint32_t sectorsPerCluster, uint64_t volumeSectors,
                   CompoundClusterReader reader, CompoundLog log = {});

  // Fills out (zero-filled by the caller); true when the measurement ran to
  // its end, false when a check failed (quality then 0) or the header was
  // refused (nothing written).
  bool Measure(CompoundFileInfo &out);

  // Block n of the document (block 0 is the header); 512 zero bytes past the volume.
  void ReadBlock(uint64_t n, uint8_t *out);
  // The id that follows sectorId in its chain.
  uint32_t FatEntry(uint32_t sectorId);
  uint32_t Limit() const { return m_limit; }
  // Blocks the measurement read so far, from the hit's bytes, from clusters
  // read before or from the disk.
  uint64_t BlockReads() const { return m_blockReads; }
  // The most sectors a chain of the document may hold: those of its measured
  // size once that is known, else every id its FAT can name.
  uint32_t SectorBound() const { return m_sectorBound; }

private:
  enum class Walk : uint8_t { Found, ChainEnd, Exhausted, Invalid };
  // The sector ids of a chain in the order followed, each at most once.
  class SectorChain {
  public:
    // False, with nothing added, when the chain holds the id already.
    bool Add(uint32_t id);
    const std::vector<uint32_t> &Ids() const { return m_ids; }

  private:
    std::vector<uint32_t> m_ids;
    std::unordered_set<uint32_t> m_seen;
  };
  using NameTest = std::function<bool(const uint8_t *entry)>;

  const uint8_t *Cluster(uint64_t index);
  uint32_t HeaderU32(size_t offset) const;
  bool FatSectorId(uint32_t fatIndex, uint32_t &id);
  bool LastFatSector(uint32_t fatSectors, uint32_t &id);
  bool MeasureSize(uint32_t fatSectors, uint64_t maxSize, CompoundFileInfo &out);
  Walk FindEntry(const NameTest &test, std::vector<uint8_t> &entry);
  bool MarkHolds(CompoundKind kind, uint32_t start, uint32_t size);
  bool WalkSummary(uint32_t start, uint32_t size);
  bool WalkMiniSummary(uint32_t start, uint32_t size);
  bool MiniFatEntry(uint32_t index, uint32_t &next);
  int MiniStreamSector(uint32_t steps);
  bool Fail(CompoundFileInfo &out, const std::string &why);

  const uint8_t *m_hit;
  uint32_t m_sectorsPerCluster;
  uint64_t m_volumeSectors;
  CompoundClusterReader m_reader;
  CompoundLog m_log;
  uint32_t m_limit = 0;
  uint32_t m_fatSectors = 0;
  uint32_t m_sectorBound = UINT32_MAX;
  uint64_t m_blockReads = 0;
  std::unordered_map<uint64_t, std::vector<uint8_t>> m_clusters; // read once per measurement
  SectorChain m_difatChain;      // DIFAT sector ids met so far, in chain order
  SectorChain m_miniFatChain;    // mini-FAT sector ids loaded so far
  SectorChain m_miniStreamChain; // mini stream sectors reached so far
  uint32_t m_miniStreamStart = 0;
};

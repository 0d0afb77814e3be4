// The signature pass over the free clusters of a volume (or the sectors of a
// disk): each free cluster whose first sector begins with a chosen signature
// is a hit, sized by its type (compound documents are measured, bitmaps give
// their own size, anything else grows over the following free clusters up to
// the type's largest size). Also the folders the hits are listed in: one per
// type, a new numbered one when a folder is full.
#pragma once

#include "ClusterWindow.h"
#include "EngineServices.h"
#include "EngineText.h"
#include "EntryRecord.h"
#include "HeaderRecord.h"
#include "ReadFailureLog.h"
#include "SignatureMatch.h"
#include "Utf16Text.h"
#include "WorkPacer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The engine's text ids, as the signature searches' code names them.
namespace SignatureText = EngineText;

// Sectors read at once on the NT family and on the 95/98/Me family.
constexpr uint32_t kSignatureBatchSectorsNt = 1024;
constexpr uint32_t kSignatureBatchSectors9x = 64;

struct SignatureHit {
  std::u16string m_extension;
  uint64_t m_cluster = 0; // first cluster (or sector on a disk)
  uint32_t m_size = 0;
  RecoveryGrade m_grade = RecoveryGrade::NotApplicable;
  uint32_t m_ownId = 0; // the id of its listed entry
};

// The listed entry of a hit: a file under its type folder, first cluster
// and size from the hit. Also notes the id in the hit.
EntryRecord SignatureHitRecord(SignatureHit &hit, uint32_t parentId, uint32_t ownId);

// What the pass reads: the clusters of a volume with its cluster-use map.
class ClusterSpace {
public:
  virtual ~ClusterSpace() = default;
  virtual uint32_t SectorsPerCluster() const = 0;
  // The pass examines clusters 2 .. ClusterCount() - 1.
  virtual uint64_t ClusterCount() const = 0;
  // Growth never looks at a cluster at or past this.
  virtual uint64_t MapSize() const = 0;
  virtual bool IsClusterUsed(uint64_t cluster) const = 0;
  // False when no cluster is ever in use (a disk's sectors): the pass then
  // asks about none.
  virtual bool HasUsedClusters() const { return true; }
  // Reads sectorCount sectors from the start of the cluster on; the part that
  // failed is zeros. False when any sector failed (the pass logs it).
  virtual bool ReadClusterSectors(uint64_t cluster, uint8_t *buffer, uint32_t sectorCount) = 0;
  // Cluster number index (1, 2, ...) of a compound document that begins at first.
  virtual uint64_t DocumentCluster(uint64_t first, uint64_t index) const = 0;
  // The volume's sector count as the compound measurement bounds blocks with.
  virtual uint64_t VolumeSectors() const = 0;
};

// Clusters per batch: whole clusters of the batch, at least one.
uint32_t SignatureClustersPerBatch(uint32_t batchSectors, uint32_t sectorsPerCluster);

// A compound-document hit renamed by its measured kind (an unknown kind keeps it).
std::u16string CompoundExtension(uint8_t kind, const std::u16string &matched);

// How a pass walks its units: a volume's clusters from 2, or a disk's
// sectors from 0.
struct SignaturePassOptions {
  uint64_t m_firstUnit = 2;
  uint32_t m_batchSectors = kSignatureBatchSectorsNt;
  // A document whose measured size is 0 grows over free clusters (a disk has
  // no map to grow over, so its documents stay at 0).
  bool m_growEmptyDocuments = true;
  // A document of no known kind is listed as "DOC" (NTFS) rather than under
  // the signature it matched (FAT and disks).
  bool m_unknownKindIsDocument = false;
  uint32_t m_readingTextId = SignatureText::kReadingCluster;
  uint32_t m_errorTextId = SignatureText::kErrorReadingCluster;
  // The text of one line for a run of failed units.
  uint32_t m_errorRangeTextId = SignatureText::kErrorReadingClusters;
};

class SignatureSearch {
public:
  static constexpr uint32_t kStatusIntervalMs = 100;

  // Returns true when the cluster was taken by another pass (a lost folder);
  // the cluster then is no hit and counts as used from now on.
  using ClusterHook = std::function<bool(uint64_t cluster, const uint8_t *bytes, size_t length)>;
  // Pumps messages; true when the stop flag is raised.
  using StopCheck = std::function<bool()>;

  SignatureSearch(ClusterSpace &space, EngineServices &services, StopCheck stop,
                  SignaturePassOptions options);

  // Takes each hit as soon as it is sized, in cluster order.
  using HitSink = std::function<void(SignatureHit &hit)>;

  void SetClusterHook(ClusterHook hook) { m_hook = std::move(hook); }
  // Runs the pass, handing each hit on as it is found. False when stopped.
  bool Run(const HitSink &sink);
  // Runs the pass, appending hits in cluster order. False when stopped.
  bool Run(std::vector<SignatureHit> &hits);

  // Sizes one hit whose cluster bytes are at hitBytes; clusters of the batch
  // last read, and those read ahead behind it, come from memory.
  SignatureHit DecideHitSize(uint64_t cluster, const uint8_t *hitBytes, const HeaderRecord &record,
                             const std::u16string &extension);

private:
  void WriteFailureLine(uint64_t first, uint64_t last);
  // The first unit from i on that a signature may match (clusters when
  // none), where no unit is in use and no hook looks; sets m_stopped.
  uint32_t NextCandidate(const uint8_t *batch, uint32_t i, uint32_t clusters);
  // Returns the cluster the pass goes on from.
  uint64_t ExamineBatch(uint64_t first, uint32_t clusters, const HitSink &sink);
  bool ReadBatch(uint64_t first, uint32_t clusters);
  void ShowStatus(uint64_t cluster);
  // False when the document's size could not be measured.
  bool MeasureCompound(uint64_t cluster, const uint8_t *hitBytes, SignatureHit &hit);
  void LogUnmeasuredDocument(uint64_t cluster, uint32_t size);
  void Grow(uint64_t cluster, uint32_t maxSize, SignatureHit &hit);
  const uint8_t *GrowthSector(uint64_t cluster, uint8_t *scratch);
  const uint8_t *HeldCluster(uint64_t cluster) const;
  const uint8_t *ReadAhead(uint64_t cluster);
  const uint8_t *ReadAheadFar(uint64_t cluster);
  void SizeWindows(uint64_t clusterCount);
  bool IsUsed(uint64_t cluster) const;
  // The stop flag at every unit; the stop check (and its pump) every so
  // many units.
  bool ShouldStop();
  // The index's Match for a unit's first sector, with the last unit that
  // matched nothing remembered.
  bool MatchUnit(const uint8_t *bytes, std::u16string *extension, HeaderRecord *record);
  void LogClusterError(uint64_t cluster);
  const SignatureIndex &Index();

  ClusterSpace &m_space;
  EngineServices &m_services;
  StopCheck m_stop;
  SignaturePassOptions m_options;
  ClusterHook m_hook;
  // The chosen signatures indexed for the cluster test; made at the start of
  // each pass, as the chosen set may change between passes.
  std::unique_ptr<SignatureIndex> m_index;
  uint32_t m_sectorsPerCluster;
  uint32_t m_clustersPerBatch;
  // The batch being examined starts the window; clusters a growth reads
  // ahead are appended behind it (and serve the next batch), or land in the
  // far window when they lie beyond the window's room.
  ClusterWindow m_window;
  ClusterWindow m_far;
  uint32_t m_readAheadClusters = 0;
  uint64_t m_singleReadsBefore = 0;
  uint64_t m_grownThrough = 0;   // the last cluster the latest hit's growth took // a read-ahead failed below
                                 // this: one sector at a time
  std::vector<uint64_t> m_taken; // clusters the hook took, ascending
  ReadFailureLog m_failures;
  std::u16string m_readingText;
  std::u16string m_ofText;
  // The status line changes a few times a second: each change is a redraw
  // of the status bar, which under Wine costs more than reading a batch.
  PaceInterval m_statusPace{{}, kStatusIntervalMs, true};
  bool m_stopped = false;
  uint32_t m_unitsSincePace = 0;
  std::vector<uint8_t> m_lastMiss;
  bool m_lastMissHeld = false;
};

// Places hits in folders named after their type, at most 2,501 files each
// (the one that opens a folder and 2,500 more); a full folder sends the next
// hit to one named with the type and 1, then 2, and so on.
class SignatureFolders {
public:
  // Called once per new folder with its name; returns its id.
  using FolderMaker = std::function<uint32_t(const std::u16string &name)>;
  static constexpr uint16_t kFurtherFilesPerFolder = 2500;

  explicit SignatureFolders(FolderMaker maker) : m_maker(std::move(maker)) {}
  // The id of the folder the next file of this type goes into.
  uint32_t Place(const std::u16string &extension);
  size_t FolderCount() const { return m_folders.size(); }

private:
  struct Folder {
    std::u16string m_name;
    uint32_t m_id;
    uint16_t m_count;
  };
  FolderMaker m_maker;
  std::vector<Folder> m_folders;
};

// Streams a listed hit's bytes for recovery: size bytes from its first
// cluster on, over the clusters that follow it (passing over used ones when
// skipUsed, as its growth did). True when every byte was read; unreadable
// parts are passed on as zeros.
using SignatureByteSink = std::function<bool(const uint8_t *data, size_t size)>;
bool ReadSignatureHit(ClusterSpace &space, uint64_t firstCluster, uint64_t size, bool skipUsed,
                      const SignatureByteSink &sink);
// True for the types whose hits are measured as compound documents.
bool IsCompoundExtension(const std::u16string &extension);

// " %s %d %s %d": the status text of a pass ("Reading cluster", n, "of", total).
std::u16string SignatureStatusText(const std::u16string &reading, uint64_t unit, const std::u16string &of,
                                   uint64_t total);
// "%d.%s": a hit's file name, cut to 260 characters.
std::u16string SignatureFileName(uint64_t unit, const std::u16string &extension);

#include "CompoundDocument.h"

#include "ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kBlockBytes = 512;
constexpr uint32_t kEntriesPerFatSector = 128;
constexpr uint32_t kHeaderDifatEntries = 109;
constexpr uint32_t kDifatEntriesPerSector = 127;
constexpr uint32_t kChainEnd = 0xFFFFFFF0u;
constexpr uint32_t kFreeSector = 0xFFFFFFFFu;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr uint32_t kMiniSectorBytes = 64;
constexpr uint32_t kMiniSectorsPerSector = kBlockBytes / kMiniSectorBytes;
constexpr uint32_t kMaxSummaryMiniSectors = 64;
constexpr int kMaxDirectorySectors = 50;
constexpr size_t kDirectoryEntryBytes = 128;
constexpr size_t kMaxCachedClusters = 256;
// What FatEntry gives for a sector whose FAT sector a broken DIFAT chain
// hides: an id no document holds, so every walk takes it for damage.
constexpr uint32_t kBrokenChain = 0xFFFFFFFBu;

bool NameStarts(const uint8_t *entry, const char16_t *name, size_t units) {
  for (size_t i = 0; i < units; ++i)
    if (ReadLe16(entry + 2 * i) != static_cast<uint16_t>(name[i])) return false;
  return true;
}

bool IsEnd(uint32_t id) {
  return id > kChainEnd;
}

} // namespace

bool CompoundDocument::SectorChain::Add(uint32_t id) {
  if (!m_seen.insert(id).second) return false;
  m_ids.push_back(id);
  return true;
}

bool IsValidCompoundSectorId(uint32_t limit, uint32_t id) {
  return id <= limit || id >= 0xFFFFFFFCu;
}

CompoundDocument::CompoundDocument(const uint8_t *hitCluster, uint32_t sectorsPerCluster,
                                   uint64_t volumeSectors, CompoundClusterReader reader, CompoundLog log)
    : m_hit(hitCluster), m_sectorsPerCluster(sectorsPerCluster == 0 ? 1 : sectorsPerCluster),
      m_volumeSectors(volumeSectors), m_reader(std::move(reader)), m_log(std::move(log)) {}

const uint8_t *CompoundDocument::Cluster(uint64_t index) {
  auto found = m_clusters.find(index);
  if (found != m_clusters.end()) return found->second.data();
  // Measurements revisit the FAT and directory clusters often; a damaged
  // document may name many, so the cache is dropped when it grows large.
  if (m_clusters.size() >= kMaxCachedClusters) m_clusters.clear();
  std::vector<uint8_t> bytes(static_cast<size_t>(m_sectorsPerCluster) * kBlockBytes, 0);
  if (m_reader && !m_reader(index, bytes.data())) std::fill(bytes.begin(), bytes.end(), 0);
  return m_clusters.emplace(index, std::move(bytes)).first->second.data();
}

void CompoundDocument::ReadBlock(uint64_t n, uint8_t *out) {
  ++m_blockReads;
  if (n > m_volumeSectors) {
    std::memset(out, 0, kBlockBytes);
    return;
  }
  const uint64_t offset = (n % m_sectorsPerCluster) * kBlockBytes;
  if (n < m_sectorsPerCluster) {
    std::memcpy(out, m_hit + offset, kBlockBytes);
    return;
  }
  std::memcpy(out, Cluster(n / m_sectorsPerCluster) + offset, kBlockBytes);
}

uint32_t CompoundDocument::HeaderU32(size_t offset) const {
  return ReadLe32(m_hit + offset);
}

// The id of FAT sector fatIndex, from the header's DIFAT or the DIFAT chain.
bool CompoundDocument::FatSectorId(uint32_t fatIndex, uint32_t &id) {
  if (fatIndex < kHeaderDifatEntries) {
    id = HeaderU32(0x4C + 4 * fatIndex);
    return true;
  }
  const uint64_t hop = (fatIndex - kHeaderDifatEntries) / kDifatEntriesPerSector;
  if (m_difatChain.Ids().empty()) m_difatChain.Add(HeaderU32(0x44));
  uint8_t block[kBlockBytes];
  while (m_difatChain.Ids().size() <= hop) {
    // The header's FAT count bounds the DIFAT sectors; a chain that comes
    // back to one of its own sectors names no FAT sector beyond it.
    if (m_difatChain.Ids().size() > m_fatSectors / kDifatEntriesPerSector + 1) return false;
    ReadBlock(uint64_t{m_difatChain.Ids().back()} + 1, block);
    if (!m_difatChain.Add(ReadLe32(block + 4 * kDifatEntriesPerSector))) return false;
  }
  ReadBlock(uint64_t{m_difatChain.Ids()[hop]} + 1, block);
  id = ReadLe32(block + 4 * ((fatIndex - kHeaderDifatEntries) % kDifatEntriesPerSector));
  return true;
}

uint32_t CompoundDocument::FatEntry(uint32_t sectorId) {
  uint32_t fatSector = kFreeSector;
  if (!FatSectorId(sectorId / kEntriesPerFatSector, fatSector)) return kBrokenChain;
  uint8_t block[kBlockBytes];
  ReadBlock(uint64_t{fatSector} + 1, block);
  return ReadLe32(block + 4 * (sectorId % kEntriesPerFatSector));
}

bool CompoundDocument::Fail(CompoundFileInfo &out, const std::string &why) {
  out.m_quality = kCompoundNotDocument;
  if (m_log) m_log(why);
  return false;
}

bool CompoundDocument::LastFatSector(uint32_t fatSectors, uint32_t &id) {
  if (fatSectors <= kHeaderDifatEntries) {
    id = HeaderU32(0x4C + 4 * (fatSectors - 1));
    return IsValidCompoundSectorId(m_limit, id);
  }
  const uint32_t hops = (fatSectors - 110) / kDifatEntriesPerSector;
  uint32_t difat = HeaderU32(0x44);
  SectorChain chain;
  uint8_t block[kBlockBytes];
  for (uint32_t i = 0; i < hops; ++i) {
    if (!chain.Add(difat)) return false; // the DIFAT chain loops
    ReadBlock(uint64_t{difat} + 1, block);
    difat = ReadLe32(block + 4 * kDifatEntriesPerSector);
    if (!IsValidCompoundSectorId(m_limit, difat)) return false;
  }
  ReadBlock(uint64_t{difat} + 1, block);
  id = ReadLe32(block + 4 * ((fatSectors - 110) % kDifatEntriesPerSector));
  return IsValidCompoundSectorId(m_limit, id);
}

bool CompoundDocument::MeasureSize(uint32_t fatSectors, uint64_t maxSize, CompoundFileInfo &out) {
  uint32_t last = 0;
  if (!LastFatSector(fatSectors, last)) return Fail(out, "last FAT sector id out of range");
  uint8_t block[kBlockBytes];
  ReadBlock(uint64_t{last} + 1, block);
  uint32_t freeTail = 0;
  for (int i = kEntriesPerFatSector - 1; i >= 0; --i) {
    const uint32_t entry = ReadLe32(block + 4 * i);
    if (entry != kFreeSector) {
      if (!IsValidCompoundSectorId(m_limit, entry)) return Fail(out, "FAT entry out of range");
      break;
    }
    ++freeTail;
  }
  const uint64_t size = maxSize - uint64_t{kBlockBytes} * freeTail;
  out.m_size = static_cast<uint32_t>(size);
  // No chain of the document is longer than the sectors it holds.
  m_sectorBound = static_cast<uint32_t>(std::max<uint64_t>(1, (size - kBlockBytes) / kBlockBytes));
  return true;
}

CompoundDocument::Walk CompoundDocument::FindEntry(const NameTest &test, std::vector<uint8_t> &entry) {
  uint32_t sector = HeaderU32(0x30);
  uint8_t block[kBlockBytes];
  SectorChain chain;
  for (int walked = 0; walked < kMaxDirectorySectors; ++walked) {
    if (!IsValidCompoundSectorId(m_limit, sector)) return Walk::Invalid;
    if (IsEnd(sector)) return Walk::ChainEnd;
    // A directory chain that comes back to a sector it has read, or runs on
    // past the sectors the document holds, is broken like one that names an
    // id outside the document.
    if (!chain.Add(sector) || chain.Ids().size() > m_sectorBound) return Walk::Invalid;
    ReadBlock(uint64_t{sector} + 1, block);
    for (size_t i = 0; i < kBlockBytes / kDirectoryEntryBytes; ++i) {
      const uint8_t *candidate = block + i * kDirectoryEntryBytes;
      if (!test(candidate)) continue;
      entry.assign(candidate, candidate + kDirectoryEntryBytes);
      return Walk::Found;
    }
    sector = FatEntry(sector);
  }
  return Walk::Exhausted;
}

bool CompoundDocument::MarkHolds(CompoundKind kind, uint32_t start, uint32_t size) {
  uint8_t block[kBlockBytes];
  if (kind != CompoundKind::Presentation && size < kMiniStreamCutoff) return true;
  ReadBlock(uint64_t{start} + 1, block);
  const uint16_t mark16 = ReadLe16(block);
  if (kind == CompoundKind::Document) return mark16 == 0xA5DC || mark16 == 0xA5EC;
  if (kind == CompoundKind::Spreadsheet) return mark16 == 0x0809;
  const uint32_t mark32 = ReadLe32(block);
  return mark32 == 0x03E8000Fu || mark32 == 0x0BADDEEDu;
}

bool CompoundDocument::WalkSummary(uint32_t start, uint32_t size) {
  const uint64_t sectors = (uint64_t{size} + kBlockBytes - 1) / kBlockBytes;
  uint32_t sector = start;
  SectorChain chain;
  for (uint64_t i = 0; i < sectors; ++i) {
    if (!IsValidCompoundSectorId(m_limit, sector)) return false;
    if (IsEnd(sector)) return true;
    // A chain that comes back to a sector, or holds more sectors than the
    // document, is broken.
    if (!chain.Add(sector) || chain.Ids().size() > m_sectorBound) return false;
    sector = FatEntry(sector);
  }
  return true;
}

// The mini-FAT entry of a mini sector, from the mini-FAT sectors along their
// FAT chain; false when the entry lies beyond what the header gives, the
// document holds or the chain holds, or the chain names an id outside the
// document or comes back to one of its own sectors.
bool CompoundDocument::MiniFatEntry(uint32_t index, uint32_t &next) {
  const uint32_t sectorIndex = index / kEntriesPerFatSector;
  const uint32_t count = HeaderU32(0x40);
  if (sectorIndex >= count || sectorIndex >= m_sectorBound) return false;
  if (m_miniFatChain.Ids().empty()) {
    const uint32_t first = HeaderU32(0x3C);
    if (!IsValidCompoundSectorId(m_limit, first) || IsEnd(first)) return false;
    m_miniFatChain.Add(first);
  }
  while (m_miniFatChain.Ids().size() <= sectorIndex) {
    const uint32_t following = FatEntry(m_miniFatChain.Ids().back());
    if (!IsValidCompoundSectorId(m_limit, following) || IsEnd(following)) return false;
    if (!m_miniFatChain.Add(following)) return false;
  }
  uint8_t block[kBlockBytes];
  ReadBlock(uint64_t{m_miniFatChain.Ids()[sectorIndex]} + 1, block);
  next = ReadLe32(block + 4 * (index % kEntriesPerFatSector));
  return true;
}

// Follows the mini stream's own chain steps sectors from its first: 1 when
// that sector exists, 0 when the chain ends first, -1 when it names an id
// outside the document, comes back to one of its sectors or would run past
// the sectors the document holds.
int CompoundDocument::MiniStreamSector(uint32_t steps) {
  if (m_miniStreamChain.Ids().empty()) m_miniStreamChain.Add(m_miniStreamStart);
  while (m_miniStreamChain.Ids().size() <= steps) {
    const uint32_t sector = m_miniStreamChain.Ids().back();
    if (!IsValidCompoundSectorId(m_limit, sector)) return -1;
    if (IsEnd(sector)) return 0;
    if (m_miniStreamChain.Ids().size() >= m_sectorBound || !m_miniStreamChain.Add(FatEntry(sector)))
      return -1;
  }
  const uint32_t sector = m_miniStreamChain.Ids()[steps];
  if (!IsValidCompoundSectorId(m_limit, sector)) return -1;
  return IsEnd(sector) ? 0 : 1;
}

bool CompoundDocument::WalkMiniSummary(uint32_t start, uint32_t size) {
  uint32_t count = (size + kMiniSectorBytes - 1) / kMiniSectorBytes;
  if (count > kMaxSummaryMiniSectors) count = kMaxSummaryMiniSectors;
  uint32_t mini = start;
  // The stream's own chain through the mini FAT: one that comes back to a
  // mini sector is broken.
  SectorChain chain;
  for (uint32_t i = 0; i < count; ++i) {
    if (IsEnd(mini)) return true;
    if (!chain.Add(mini)) return false;
    uint32_t next = 0;
    if (!MiniFatEntry(mini, next)) return false;
    const int located = MiniStreamSector(mini / kMiniSectorsPerSector);
    if (located < 0) return false;
    if (located == 0) return true;
    mini = next;
  }
  return true;
}

bool CompoundDocument::Measure(CompoundFileInfo &out) {
  const uint32_t fatSectors = HeaderU32(0x2C);
  const uint64_t maxSize = uint64_t{fatSectors} * 65536 + kBlockBytes;
  // A FAT as large as the volume, none at all, or one whose length no longer
  // fits the size field cannot belong to a document found here.
  if (uint64_t{fatSectors} * kEntriesPerFatSector + 1 >= m_volumeSectors || fatSectors == 0 ||
      maxSize > UINT32_MAX) {
    if (m_log) m_log("FAT sector count " + std::to_string(fatSectors) + " does not fit the volume");
    return false;
  }
  m_limit = fatSectors * kEntriesPerFatSector;
  m_fatSectors = fatSectors;
  m_sectorBound = m_limit + 1;

  uint8_t block[kBlockBytes];
  ReadBlock(uint64_t{HeaderU32(0x30)} + 1, block);
  if (!NameStarts(block, u"Root", 4)) return Fail(out, "first directory entry is not the root");
  m_miniStreamStart = ReadLe32(block + 0x74);
  out.m_quality = kCompoundStructureRead;

  if (!MeasureSize(fatSectors, maxSize, out)) return false;

  std::vector<uint8_t> entry;
  const Walk main = FindEntry(
      [](const uint8_t *e) {
        return NameStarts(e, u"Powe", 4) || NameStarts(e, u"PP40", 4) || NameStarts(e, u"Word", 4) ||
               NameStarts(e, u"Book", 4) || NameStarts(e, u"Workbook", 8);
      },
      entry);
  if (main == Walk::Invalid || main == Walk::ChainEnd)
    return Fail(out, "directory chain ends before the main stream");
  CompoundKind kind = CompoundKind::Unknown;
  uint32_t mainStart = 0, mainSize = 0;
  if (main == Walk::Found) {
    mainStart = ReadLe32(entry.data() + 0x74);
    mainSize = ReadLe32(entry.data() + 0x78);
    if (NameStarts(entry.data(), u"Powe", 4) || NameStarts(entry.data(), u"PP40", 4))
      kind = CompoundKind::Presentation;
    else if (NameStarts(entry.data(), u"Word", 4))
      kind = CompoundKind::Document;
    else
      kind = CompoundKind::Spreadsheet;
    out.m_kind = static_cast<uint8_t>(kind);
  }

  if (kind == CompoundKind::Document) {
    std::vector<uint8_t> table;
    if (FindEntry([](const uint8_t *e) { return NameStarts(e, u"1Tab", 4); }, table) == Walk::Invalid)
      return Fail(out, "directory chain id out of range");
  }

  std::vector<uint8_t> summary;
  const Walk found = FindEntry([](const uint8_t *e) { return NameStarts(e, u"\x0005Sum", 4); }, summary);
  if (found == Walk::Invalid || found == Walk::ChainEnd)
    return Fail(out, "directory chain ends before the summary stream");

  if (kind != CompoundKind::Unknown && MarkHolds(kind, mainStart, mainSize))
    out.m_quality = kCompoundMarkConfirmed;

  if (found == Walk::Found) {
    const uint32_t start = ReadLe32(summary.data() + 0x74);
    const uint32_t size = ReadLe32(summary.data() + 0x78);
    const bool walked = size >= kMiniStreamCutoff ? WalkSummary(start, size) : WalkMiniSummary(start, size);
    if (!walked) return Fail(out, "summary stream chain out of range");
  }
  return true;
}

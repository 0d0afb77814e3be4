#include "PartitionWalk.h"

#include "EngineServices.h"
#include "SectorIo.h"
#include "Utf16Text.h"

#include <cstdio>
#include <vector>

namespace {

constexpr size_t kTableOffset = 446;
constexpr size_t kEntrySize = 16;

} // namespace

ParseResult ParsePartitionTable(const uint8_t *sector, size_t length, PartitionEntry (&entries)[4]) {
  if (sector == nullptr || length < kTableOffset + 4 * kEntrySize) return ParseResult::NotThisStructure;
  for (int i = 0; i < 4; ++i) {
    const uint8_t *e = sector + kTableOffset + i * kEntrySize;
    entries[i].m_type = e[4];                     // 4, 1, partition type
    entries[i].m_relativeStart = ReadLe32(e + 8); // 8, 4, relative start sector
    entries[i].m_sectorCount = ReadLe32(e + 12);  // 12, 4, sector count
  }
  return ParseResult::Ok;
}

bool IsFatPartitionType(uint8_t type) {
  return type == 0x01 || type == 0x04 || type == 0x06 || type == 0x0B || type == 0x0C || type == 0x0E;
}

bool IsExtendedPartitionType(uint8_t type) {
  return type == 0x05 || type == 0x0F;
}

PartitionWalk::PartitionWalk(SectorIo &io, EngineServices *log) : m_io(io), m_log(log) {}

bool PartitionWalk::HasFatPartition(uint8_t biosDisk, uint64_t sector) {
  StartDisk();
  m_fatFound = false;
  Walk(biosDisk, sector, false);
  return m_fatFound;
}

void PartitionWalk::WalkPartitionTable(uint8_t biosDisk, uint64_t sector, int letterIndex) {
  StartDisk();
  m_foundOnDisk = 0;
  m_letterIndex = letterIndex >= 0 ? letterIndex : biosDisk - 0x80;
  Walk(biosDisk, sector, true);
}

const PartitionNode *PartitionWalk::FindLetter(char letter) const {
  for (const PartitionNode &node : m_partitions)
    if (node.m_letter == letter) return &node;
  return nullptr;
}

void PartitionWalk::StartDisk() {
  m_base = 0;
  m_extendedStart = 0;
  m_haveExtended = false;
  m_depth = 0;
  m_visited.clear();
}

void PartitionWalk::Report(const char *what, uint64_t sector) {
  if (m_log == nullptr) return;
  char text[160];
  std::snprintf(text, sizeof text, "%s (sector %llu)", what, static_cast<unsigned long long>(sector));
  m_log->AddLogEntry(u"Partition table", Widen(text), m_log->CurrentTimeText(), LogStatus::Error);
}

void PartitionWalk::Walk(uint8_t biosDisk, uint64_t sector, bool record) {
  if (!m_visited.insert(sector).second) {
    Report("Extended partition chain loops back to a table already read", sector);
    return;
  }
  if (m_depth > kMaxDepth) {
    Report("Extended partition chain too deep, not followed further", sector);
    return;
  }
  std::vector<uint8_t> table(kSectorSize);
  if (!m_io.TransferSectors(biosDisk, sector, table.data(), kSectorSize, false)) {
    Report("Partition table cannot be read", sector);
    return;
  }
  PartitionEntry entries[4];
  ParsePartitionTable(table.data(), table.size(), entries);
  for (const PartitionEntry &entry : entries) TakeEntry(biosDisk, sector, entry, record);
}

void PartitionWalk::TakeEntry(uint8_t biosDisk, uint64_t tableSector, const PartitionEntry &entry,
                              bool record) {
  if (entry.m_type == 0 || entry.m_type >= 16) return;
  if (IsFatPartitionType(entry.m_type)) {
    const uint64_t start = entry.m_relativeStart + m_base;
    if (m_diskSectors != 0 && (start >= m_diskSectors || entry.m_sectorCount > m_diskSectors - start)) {
      Report("FAT partition lies beyond the end of the disk, skipped", tableSector);
      return;
    }
    if (record)
      AddPartition(biosDisk, start, entry.m_sectorCount);
    else
      m_fatFound = true;
    return;
  }
  if (IsExtendedPartitionType(entry.m_type)) FollowExtended(biosDisk, entry, record);
}

void PartitionWalk::FollowExtended(uint8_t biosDisk, const PartitionEntry &entry, bool record) {
  const uint64_t remembered = m_base;
  if (!m_haveExtended) {
    // The first extended partition: every later link is relative to its start.
    m_extendedStart = entry.m_relativeStart;
    m_haveExtended = true;
  } else {
    m_base = entry.m_relativeStart;
  }
  m_base += m_extendedStart;
  if (m_diskSectors != 0 && m_base >= m_diskSectors) {
    Report("Extended partition lies beyond the end of the disk, not followed", m_base);
  } else {
    ++m_depth;
    Walk(biosDisk, m_base, record);
    --m_depth;
  }
  m_base = remembered;
}

void PartitionWalk::AddPartition(uint8_t biosDisk, uint64_t start, uint32_t count) {
  PartitionNode node;
  node.m_start = start;
  node.m_count = count;
  node.m_end = start + count;
  node.m_biosDisk = biosDisk;
  if (m_foundOnDisk == 0) {
    node.m_letter = static_cast<char>('C' + m_letterIndex);
  } else {
    node.m_letter = static_cast<char>('C' + m_diskCount + m_laterCounter);
    ++m_laterCounter;
  }
  ++m_foundOnDisk;
  m_partitions.push_back(node);
}

// Walk of a disk's partition tables (the master boot record and the chain of
// extended boot records behind it) that finds the FAT partitions and gives
// each the drive letter the 95/98/Me family assigns: the first FAT partition
// of disk n is C + n, every later one C + disk count + a running counter.
#pragma once

#include "ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

class EngineServices;
class SectorIo;

struct PartitionNode {
  uint64_t m_start = 0;   // absolute start sector on the disk
  uint32_t m_count = 0;   // sector count
  uint64_t m_end = 0;     // start + count
  char m_letter = 0;      // drive letter, upper case
  uint8_t m_biosDisk = 0; // 0x80 + disk number
};

// One 16-byte entry of a partition table.
struct PartitionEntry {
  uint8_t m_type = 0;           // 4, 1, partition type
  uint32_t m_relativeStart = 0; // 8, 4, start relative to the table's base
  uint32_t m_sectorCount = 0;   // 12, 4, sector count
};

// The four entries of a table sector; NotThisStructure when the sector is too short.
ParseResult ParsePartitionTable(const uint8_t *sector, size_t length, PartitionEntry (&entries)[4]);
bool IsFatPartitionType(uint8_t type);
bool IsExtendedPartitionType(uint8_t type);

class PartitionWalk {
public:
  // log may be null; damaged tables are then skipped without a word.
  PartitionWalk(SectorIo &io, EngineServices *log);

  // Tables deeper than this are not followed.
  static constexpr uint32_t kMaxDepth = 64;

  void SetDiskCount(uint8_t count) { m_diskCount = count; }
  uint8_t DiskCount() const { return m_diskCount; }
  // Sector count of the disk being walked, 0 when unknown; entries that lie
  // beyond it are skipped.
  void SetDiskSectors(uint64_t sectors) { m_diskSectors = sectors; }

  // True when the chain of tables from sector holds a FAT partition.
  bool HasFatPartition(uint8_t biosDisk, uint64_t sector);
  // Appends the FAT partitions of the chain from sector, lettered. The disk's
  // first FAT partition gets C + letterIndex (by default its disk number).
  void WalkPartitionTable(uint8_t biosDisk, uint64_t sector, int letterIndex = -1);

  const std::vector<PartitionNode> &Partitions() const { return m_partitions; }
  void ClearPartitions() { m_partitions.clear(); }
  // The first partition with this letter, or null.
  const PartitionNode *FindLetter(char letter) const;

private:
  void StartDisk();
  void Walk(uint8_t biosDisk, uint64_t sector, bool record);
  void TakeEntry(uint8_t biosDisk, uint64_t tableSector, const PartitionEntry &entry, bool record);
  void FollowExtended(uint8_t biosDisk, const PartitionEntry &entry, bool record);
  void AddPartition(uint8_t biosDisk, uint64_t start, uint32_t count);
  void Report(const char *what, uint64_t sector);

  SectorIo &m_io;
  EngineServices *m_log;
  std::vector<PartitionNode> m_partitions;
  std::set<uint64_t> m_visited; // tables of the current walk, so a looping chain ends
  uint64_t m_diskSectors = 0;
  uint64_t m_base = 0;          // current extended-table base
  uint64_t m_extendedStart = 0; // first extended partition's start, 0 when none yet
  bool m_haveExtended = false;
  uint32_t m_depth = 0;
  uint8_t m_diskCount = 0;
  uint8_t m_laterCounter = 0; // later FAT partitions over all disks
  uint8_t m_foundOnDisk = 0;  // FAT partitions found on the current disk
  int m_letterIndex = 0;      // letter of the current disk's first FAT partition, from C
  bool m_fatFound = false;
};

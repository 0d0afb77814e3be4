// The record of one found file or folder, whatever engine found it. The tree
// and the scan-information files keep copies of it; its 64-byte file layout is
// read and written field by field (ParseEntryRecord / SerialiseEntryRecord).
#pragma once

#include "ByteOrder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

enum class RecoveryGrade : uint8_t { Poor = 0, Fair = 1, Good = 2, VeryGood = 3, NotApplicable = 4 };

// Display text of a grade ("Poor" .. "Not Applicable"); empty for a value out of range.
const char16_t *RecoveryGradeText(RecoveryGrade grade);

constexpr size_t kEntryRecordSize = 64;
constexpr uint8_t kEntryAttrReadOnly = 0x01;
constexpr uint8_t kEntryAttrHidden = 0x02;
constexpr uint8_t kEntryAttrSystem = 0x04;
constexpr uint8_t kEntryAttrFolder = 0x10;
constexpr uint8_t kEntryAttrArchive = 0x20;
// Id and first cluster of the special folder an engine makes under the root
// ("Raw Data Folder" on FAT, "Lost Folder(s)" on NTFS).
constexpr uint32_t kSpecialFolderId = 0x0FFFFFFF;
// Id of FAT's "Lost Folder".
constexpr uint32_t kLostFolderId = 1;
// Id of the NTFS root folder (its MFT record number).
constexpr uint32_t kNtfsRootRecord = 5;

struct EntryRecord {
  uint64_t m_size = 0;         // file size in bytes; 0 for a folder
  uint32_t m_parentId = 0;     // id of the holding folder; 0 = root of the drive
  uint32_t m_ownId = 0;        // FAT: id counter value; NTFS: MFT record number
  uint32_t m_firstCluster = 0; // FAT: first cluster; NTFS: record number; special folders kSpecialFolderId
  uint8_t m_attributes = 0;    // FAT attribute byte; NTFS 0x20 file, 0x10 folder
  // Bits 32 to 55 of the first cluster, in the three bytes the layout leaves
  // unset: only a disk scan's hit at sector 2^32 or beyond has them.
  uint32_t m_firstClusterHigh = 0;
  uint32_t m_dateWords[6] = {}; // words A..F (FAT packed time/date, or NTFS file times low word first)
  uint8_t m_checkState = 0;     // 0 unchecked, 1 checked, 2 partly checked (owned by the tree)
  uint8_t m_deleted = 0;        // 1 for a deleted entry or one found inside a deleted folder
  uint8_t m_compressed = 0;     // NTFS: data is compressed
  RecoveryGrade m_grade = RecoveryGrade::Poor;

  bool IsFolder() const { return (m_attributes & kEntryAttrFolder) != 0; }
  uint64_t FirstCluster() const { return uint64_t{m_firstClusterHigh} << 32 | m_firstCluster; }
  // Keeps up to 56 bits: sector numbers of disks up to 32 EiB.
  void SetFirstCluster(uint64_t cluster) {
    m_firstCluster = static_cast<uint32_t>(cluster);
    m_firstClusterHigh = static_cast<uint32_t>(cluster >> 32) & kFirstClusterHighMask;
  }
  static constexpr uint32_t kFirstClusterHighMask = 0xFFFFFF;
};

bool operator==(const EntryRecord &a, const EntryRecord &b);
inline bool operator!=(const EntryRecord &a, const EntryRecord &b) {
  return !(a == b);
}

// Reads a record from its 64-byte file layout. The link, tree-item and name
// words are not kept (they only mean something inside one running process).
// Corrupt when fewer than 64 bytes are given, or the check state (> 2) or
// grade (> 4) is out of range; the fields are filled as far as they were read.
ParseResult ParseEntryRecord(const uint8_t *bytes, size_t length, EntryRecord &out);

// Writes the 64-byte file layout; link, tree-item and name are written as 0,
// the three bytes after the attributes hold the first cluster's high bits.
void SerialiseEntryRecord(const EntryRecord &record, uint8_t *out);
std::array<uint8_t, kEntryRecordSize> SerialiseEntryRecord(const EntryRecord &record);

// Fills the six date words from a 32-byte FAT directory entry: FAT32 keeps
// access, write and creation stamps apart; FAT12/16 repeat the write stamp.
void SetFatEntryDates(EntryRecord &record, const uint8_t *directoryEntry, bool fat32);

// Stores three NTFS file times, each as two words, low word first:
// A/B record change, C/D modification, E/F creation.
void SetNtfsEntryTimes(EntryRecord &record, uint64_t changeTime, uint64_t modificationTime,
                       uint64_t creationTime);

// Answers whether a cluster is marked in use in the engine's cluster-use map.
using ClusterInUse = std::function<bool(uint64_t cluster)>;

// Grade of a deleted FAT file, assumed to lie in consecutive clusters from its
// first: Poor when the first cluster is in use, Very Good when it fits one
// cluster, else Fair when any following cluster it needs is in use, else Good.
RecoveryGrade GradeFatEntry(uint32_t firstCluster, uint64_t size, uint32_t sectorsPerCluster,
                            const ClusterInUse &inUse);

// Grade of an NTFS file: Poor when its data is compressed or its recorded
// size is more than its clusters (or the volume) can hold, else Very Good.
inline RecoveryGrade GradeNtfsEntry(bool compressed, bool sizeBeyondClusters = false) {
  return compressed || sizeBeyondClusters ? RecoveryGrade::Poor : RecoveryGrade::VeryGood;
}

// Adds a find's size to a found-bytes total, which stops at 2^64 - 1: a
// damaged size near 2^64 must not wrap the total round to a small figure.
inline void AddFoundBytes(uint64_t &total, uint64_t size) {
  total = size > UINT64_MAX - total ? UINT64_MAX : total + size;
}

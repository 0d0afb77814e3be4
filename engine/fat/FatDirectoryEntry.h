// The 32-byte FAT directory entry: the plausibility test used on root
// folders, the decoding of an entry into a found-entry record, and its short
// and long names. Pure: folders are read by the search and handed here as
// the cluster in hand and the one before it.
#pragma once

#include "EntryRecord.h"
#include "FatBootSector.h"

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kFatEntrySize = 32;
constexpr uint8_t kFatDeletedMark = 0xE5;
constexpr uint8_t kFatLongNameAttributes = 0x0F;
constexpr uint8_t kFatVolumeLabel = 0x08;
constexpr size_t kFatMaxNameLength = 260;
constexpr size_t kFatMaxLongNameParts = 20;

// What CheckDirectoryEntry says of an entry.
enum class EntryPlausibility : uint8_t {
  Implausible = 0,
  Plausible = 1,
  // A long-name part, a volume label, or an entry without a first cluster.
  NoData = 2,
};

struct EntryCheckResult {
  EntryPlausibility m_verdict;
  const char *m_reason; // why it is not Plausible; "" otherwise
  // A folder entry: plausible only when its first cluster begins with "." and "..".
  bool m_needsFolderStart;
};

// The tests made before an entry of a root folder is decoded. A folder's own
// first sector is checked by the caller (IsFolderStart); that test, not the
// size field, tells a folder from garbage, since Windows leaves a size in the
// entry of a folder it deletes.
EntryCheckResult CheckDirectoryEntry(const uint8_t *entry, FatKind kind, uint32_t maxCluster);

// True when a folder cluster's first sector starts with the "." and ".." entries.
bool IsFolderStart(const uint8_t *sector, size_t length);
// True when the first or the second entry begins with '.'.
bool HasDotEntry(const uint8_t *cluster, size_t length);

// True when a free cluster can be where a deleted folder goes on: it holds an
// entry in its first slot, does not begin a folder of its own, and every
// 32-byte slot is an end mark, a deleted entry or long-name part with an
// attribute byte a real entry can have, or an entry CheckDirectoryEntry does
// not call implausible.
bool IsFolderContinuation(const uint8_t *cluster, size_t length, FatKind kind, uint32_t maxCluster);

// When an entry's file was created and last written, as keys that order in
// time, in steps of 10 ms; 0 where the entry keeps no such time.
struct FatEntryTimes {
  uint64_t m_created = 0;
  // Resolution of m_created in 10 ms steps: 1 with the 10 ms field, 200 (the
  // 2 s of the time field) without it.
  uint32_t m_createdStep = 1;
  uint64_t m_written = 0; // a multiple of 200: the write time keeps 2 s
};

// The creation stamp counts only when its date is set and its 10 ms field is
// in range (0 to 199).
FatEntryTimes ReadEntryTimes(const uint8_t *entry);
// From the words a found-entry record keeps, where the 10 ms field is gone.
FatEntryTimes EntryTimesFromWords(uint32_t createdTime, uint32_t createdDate, uint32_t writtenTime,
                                  uint32_t writtenDate);

// First cluster of an entry; FAT12/16 keep other data in the high word.
uint32_t EntryFirstCluster(const uint8_t *entry, FatKind kind);

// The 8.3 name: name up to the first space, '.', extension up to the first
// space, each part in lower case when the entry says so; a deleted entry's lost
// first character shows as 'X'.
std::u16string ShortEntryName(const uint8_t *entry);

// The entries of a folder around the one in hand: the cluster (or fixed root)
// that holds it and, when the folder goes on from an earlier cluster, that one.
struct FolderBytes {
  const uint8_t *m_current = nullptr;
  size_t m_currentBytes = 0;
  const uint8_t *m_previous = nullptr;
  size_t m_previousBytes = 0;
};

// The long name of the entry at offset, from the long-name parts just before
// it (into the previous cluster when they begin there); empty when none.
std::u16string AssembleLongName(const FolderBytes &folder, size_t offset);

// True when the long-name parts before the entry at offset reach the start
// of the cluster with no cluster before it given, and the first of them (the
// name's last part) does not show the name's end: the name may have begun in
// a cluster not known, and the parts found are not the whole name.
bool LongNameMayBeCut(const FolderBytes &folder, size_t offset);

struct FatDecodeContext {
  FatKind m_kind = FatKind::Fat12;
  uint32_t m_maxCluster = 0;
  uint64_t m_volumeBytes = 0;
};

enum class DecodeOutcome : uint8_t { Record, Skipped, Rejected };

struct DecodeResult {
  DecodeOutcome m_outcome;
  const char *m_reason;
};

// Turns the entry at offset into a record: attributes, first cluster, size,
// dates, deleted flag (set when the entry is deleted, kept when the work
// record already has it) and name. An entry that passes the first cluster's
// upper bound takes the next id from idCounter, even when a later test rejects it.
DecodeResult DecodeDirectoryEntry(const FolderBytes &folder, size_t offset, const FatDecodeContext &context,
                                  uint32_t &idCounter, EntryRecord &work, std::u16string &name);

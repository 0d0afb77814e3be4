// Directory-entry decoding: the plausibility test and its reasons, ids, short
// and long names, on entries built field by field.
#include "FatDirectoryEntry.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Entry = std::array<uint8_t, 32>;

// A short entry: "NAME    EXT", attribute, first cluster, size, 2024-05-17 10:20:30.
Entry ShortEntry(const char (&name)[12], uint8_t attributes, uint32_t cluster, uint32_t size) {
  Entry e{};
  std::copy_n(name, 11, e.begin());
  e[11] = attributes;
  WriteLe16(&e[20], static_cast<uint16_t>(cluster >> 16));
  WriteLe16(&e[26], static_cast<uint16_t>(cluster));
  WriteLe16(&e[22], (10 << 11) | (20 << 5) | 15);
  WriteLe16(&e[24], ((2024 - 1980) << 9) | (5 << 5) | 17);
  WriteLe32(&e[28], size);
  return e;
}

// The long-name part number `sequence` (1-based) of a name, 13 characters a part.
Entry LongNamePart(const std::u16string &name, int sequence, bool last) {
  Entry e{};
  e[0] = static_cast<uint8_t>(sequence | (last ? 0x40 : 0));
  e[11] = kFatLongNameAttributes;
  static constexpr size_t kOffsets[] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
  for (size_t i = 0; i < 13; ++i) {
    const size_t at = (sequence - 1) * 13 + i;
    const char16_t c = at < name.size() ? name[at] : (at == name.size() ? 0 : 0xFFFF);
    WriteLe16(&e[kOffsets[i]], c);
  }
  return e;
}

// The entries of a file with a long name, in disk order: parts last-first, then the short entry.
std::vector<Entry> LongNamedFile(const std::u16string &name, const Entry &shortEntry) {
  const int parts = static_cast<int>((name.size() + 12) / 13);
  std::vector<Entry> entries;
  for (int s = parts; s >= 1; --s) entries.push_back(LongNamePart(name, s, s == parts));
  entries.push_back(shortEntry);
  return entries;
}

std::vector<uint8_t> Bytes(const std::vector<Entry> &entries) {
  std::vector<uint8_t> bytes;
  for (const Entry &e : entries) bytes.insert(bytes.end(), e.begin(), e.end());
  return bytes;
}

struct CheckCase {
  const char *m_what;
  Entry m_entry;
  EntryPlausibility m_verdict;
  FatKind m_kind = FatKind::Fat32;
};

Entry With(Entry e, size_t offset, uint8_t value) {
  e[offset] = value;
  return e;
}

Entry WithWord(Entry e, size_t offset, uint16_t value) {
  WriteLe16(&e[offset], value);
  return e;
}

class FatEntryChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(FatEntryChecks, GivesTheVerdictAndAReason) {
  const CheckCase &c = GetParam();
  const EntryCheckResult result = CheckDirectoryEntry(c.m_entry.data(), c.m_kind, 1001);
  EXPECT_EQ(result.m_verdict, c.m_verdict) << c.m_what << ": " << result.m_reason;
  if (c.m_verdict != EntryPlausibility::Plausible) {
    EXPECT_STRNE(result.m_reason, "") << c.m_what;
  }
}

const Entry kFile = ShortEntry("REPORT  TXT", 0x20, 10, 100);
// Bytes 20-21 are the high cluster word on FAT32 only; FAT12/16 keep other data there.
const Entry kHighWordSet = WithWord(kFile, 20, 0x1234);

INSTANTIATE_TEST_SUITE_P(
    Reasons, FatEntryChecks,
    ::testing::Values(
        CheckCase{"plausible file", kFile, EntryPlausibility::Plausible},
        CheckCase{"deleted file", With(kFile, 0, kFatDeletedMark), EntryPlausibility::Plausible},
        CheckCase{"cluster 2", ShortEntry("REPORT  TXT", 0x20, 2, 100), EntryPlausibility::Plausible},
        CheckCase{"last cluster", ShortEntry("REPORT  TXT", 0x20, 1001, 100), EntryPlausibility::Plausible},
        CheckCase{"past the last cluster", ShortEntry("REPORT  TXT", 0x20, 1002, 100),
                  EntryPlausibility::Implausible},
        CheckCase{"long-name part", LongNamePart(u"x", 1, true), EntryPlausibility::NoData},
        CheckCase{"write date 0", With(With(kFile, 24, 0), 25, 0), EntryPlausibility::Implausible},
        CheckCase{"write time 0", With(With(kFile, 22, 0), 23, 0), EntryPlausibility::Implausible},
        CheckCase{"attribute 0x40", With(kFile, 11, 0x40), EntryPlausibility::Implausible},
        CheckCase{"folder with a size, as Windows leaves it", ShortEntry("FOLDER     ", 0x10, 10, 4096),
                  EntryPlausibility::Plausible},
        CheckCase{"FAT16 entry with bytes 20-21 set", kHighWordSet, EntryPlausibility::Plausible,
                  FatKind::Fat16},
        CheckCase{"FAT12 entry with bytes 20-21 set", kHighWordSet, EntryPlausibility::Plausible,
                  FatKind::Fat12},
        CheckCase{"FAT32 entry whose high word is past the volume", kHighWordSet,
                  EntryPlausibility::Implausible},
        CheckCase{"NUL in the name", With(kFile, 3, 0), EntryPlausibility::Implausible},
        CheckCase{"month 13", WithWord(kFile, 24, (44 << 9) | (13 << 5) | 17),
                  EntryPlausibility::Implausible},
        CheckCase{"no first cluster", ShortEntry("EMPTY   TXT", 0x20, 0, 0), EntryPlausibility::NoData},
        CheckCase{"volume label", ShortEntry("MY DISK    ", 0x08, 5, 0), EntryPlausibility::NoData}));

// A folder, with a size or without, is plausible only once its first cluster
// shows the "." and ".." entries: that is what keeps garbage out.
TEST(FatDirectoryEntry, FolderNeedsItsDotEntriesChecked) {
  for (uint32_t size : {0u, 4096u}) {
    const EntryCheckResult result =
        CheckDirectoryEntry(ShortEntry("FOLDER     ", 0x10, 10, size).data(), FatKind::Fat16, 1001);
    EXPECT_EQ(result.m_verdict, EntryPlausibility::Plausible) << size;
    EXPECT_TRUE(result.m_needsFolderStart) << size;
  }
  std::vector<uint8_t> sector =
      Bytes({ShortEntry(".          ", 0x10, 10, 0), ShortEntry("..         ", 0x10, 0, 0)});
  EXPECT_TRUE(IsFolderStart(sector.data(), sector.size()));
  sector[32] = 'X';
  EXPECT_FALSE(IsFolderStart(sector.data(), sector.size()));
}

struct ContinuationCase {
  const char *m_what;
  std::vector<uint8_t> m_cluster;
  bool m_continues;
};

Entry Deleted(Entry e) {
  e[0] = kFatDeletedMark;
  return e;
}

// A 512-byte cluster: the entries, then end marks.
std::vector<uint8_t> Cluster(const std::vector<Entry> &entries) {
  std::vector<uint8_t> bytes = Bytes(entries);
  bytes.resize(512, 0);
  return bytes;
}

// Where a deleted folder may go on: a cluster of its entries, never garbage,
// an empty cluster or the start of another folder.
TEST(FatDirectoryEntry, FolderContinuationClusters) {
  const Entry file = ShortEntry("REPORT  TXT", 0x20, 10, 100);
  std::vector<uint8_t> text(512);
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<uint8_t>("Plain text, line after line.\n"[i % 29]);
  std::vector<Entry> named = LongNamedFile(u"A long name of a deleted file.txt", Deleted(file));
  for (Entry &e : named) e[0] = kFatDeletedMark;
  std::vector<Entry> full(16, Deleted(file));
  const ContinuationCase cases[] = {
      {"deleted entries, then end marks", Cluster({Deleted(file), Deleted(file)}), true},
      {"deleted long-named entries", Cluster(named), true},
      {"a full cluster of deleted entries", Bytes(full), true},
      {"a live entry among deleted ones", Cluster({Deleted(file), file}), true},
      {"an empty file's entry", Cluster({Deleted(ShortEntry("EMPTY   TXT", 0x20, 0, 0))}), true},
      {"all end marks", std::vector<uint8_t>(512, 0), false},
      {"the start of another folder",
       Cluster({ShortEntry(".          ", 0x10, 5, 0), ShortEntry("..         ", 0x10, 0, 0)}), false},
      {"filled with 0xE5", std::vector<uint8_t>(512, 0xE5), false},
      {"filled with 0xF6", std::vector<uint8_t>(512, 0xF6), false},
      {"text", text, false},
      {"one implausible entry", Cluster({Deleted(file), With(file, 11, 0x40)}), false},
      {"too short for an entry", std::vector<uint8_t>(16, 0xE5), false},
  };
  for (const ContinuationCase &c : cases)
    EXPECT_EQ(IsFolderContinuation(c.m_cluster.data(), c.m_cluster.size(), FatKind::Fat16, 1001),
              c.m_continues)
        << c.m_what;
}

struct ShortNameCase {
  Entry m_entry;
  std::u16string m_name;
};

TEST(FatDirectoryEntry, ShortNames) {
  Entry lower = ShortEntry("GONE    TXT", 0x20, 5, 1);
  lower[12] = 0x18;
  lower[0] = kFatDeletedMark;
  const ShortNameCase cases[] = {
      {With(ShortEntry("NOTES   TXT", 0x20, 5, 1), 0, kFatDeletedMark), u"XOTES.TXT"},
      {ShortEntry("README     ", 0x20, 5, 1), u"README"},
      {ShortEntry("A       B  ", 0x20, 5, 1), u"A.B"},
      {lower, u"Xone.txt"},
      {With(ShortEntry("XNOTES  TXT", 0x20, 5, 1), 0, 0x05), u"\u00E5NOTES.TXT"},
  };
  for (const ShortNameCase &c : cases) EXPECT_EQ(ShortEntryName(c.m_entry.data()), c.m_name);
}

FatDecodeContext Context() {
  FatDecodeContext context;
  context.m_kind = FatKind::Fat32;
  context.m_maxCluster = 1001;
  context.m_volumeBytes = 1 << 20;
  return context;
}

// Ids: an entry whose first cluster is within the volume takes an id even
// when it is then turned away for having no cluster; cluster 2 is a file.
TEST(FatDirectoryEntry, IdsAndFirstClusters) {
  const std::vector<uint8_t> folder =
      Bytes({ShortEntry("EMPTY   TXT", 0x20, 0, 0), ShortEntry("FIRST   TXT", 0x20, 2, 10),
             ShortEntry("FAR     TXT", 0x20, 5000, 10), ShortEntry("HUGE    TXT", 0x20, 7, 0x7FFFFFFF)});
  const FolderBytes bytes{folder.data(), folder.size(), nullptr, 0};
  uint32_t ids = 2;
  EntryRecord work;
  std::u16string name;
  EXPECT_EQ(DecodeDirectoryEntry(bytes, 0, Context(), ids, work, name).m_outcome, DecodeOutcome::Rejected);
  EXPECT_EQ(ids, 3u);
  EXPECT_EQ(DecodeDirectoryEntry(bytes, 32, Context(), ids, work, name).m_outcome, DecodeOutcome::Record);
  EXPECT_EQ(work.m_ownId, 3u);
  EXPECT_EQ(work.m_firstCluster, 2u);
  EXPECT_EQ(name, u"FIRST.TXT");
  EXPECT_EQ(DecodeDirectoryEntry(bytes, 64, Context(), ids, work, name).m_outcome, DecodeOutcome::Rejected);
  EXPECT_EQ(ids, 4u); // past the volume: no id taken
  EXPECT_EQ(DecodeDirectoryEntry(bytes, 96, Context(), ids, work, name).m_outcome, DecodeOutcome::Rejected);
  EXPECT_EQ(ids, 5u);
}

TEST(FatDirectoryEntry, Fat16IgnoresTheHighClusterWord) {
  Entry e = ShortEntry("FILE    TXT", 0x20, 9, 10);
  WriteLe16(&e[20], 0x1234);
  EXPECT_EQ(EntryFirstCluster(e.data(), FatKind::Fat16), 9u);
  EXPECT_EQ(EntryFirstCluster(e.data(), FatKind::Fat32), 0x12340009u);
}

// A long name in one buffer, one whose parts begin at the end of the cluster
// before, and one whose parts begin at the very start of a folder.
TEST(FatDirectoryEntry, LongNamesWithinAndAcrossClusters) {
  const std::u16string longName = u"A rather long file name for a deleted report.docx";
  Entry shortEntry = ShortEntry("ARATHE~1DOC", 0x20, 40, 1000);
  shortEntry[0] = kFatDeletedMark;
  std::vector<Entry> entries = LongNamedFile(longName, shortEntry);
  for (Entry &e : entries) e[0] = kFatDeletedMark; // deletion marks the parts too
  ASSERT_EQ(entries.size(), 5u);

  // At the start of a folder: the parts are kept though nothing lies before them.
  const std::vector<uint8_t> whole = Bytes(entries);
  EXPECT_EQ(AssembleLongName(FolderBytes{whole.data(), whole.size(), nullptr, 0}, 4 * 32), longName);

  // Split: three parts at the end of the previous cluster, one in this one.
  std::vector<Entry> previousEntries(13, ShortEntry("OTHER   TXT", 0x20, 3, 1));
  previousEntries.insert(previousEntries.end(), entries.begin(), entries.begin() + 3);
  const std::vector<uint8_t> previous = Bytes(previousEntries);
  const std::vector<uint8_t> current = Bytes({entries[3], entries[4], ShortEntry("NEXT    TXT", 0x20, 3, 1)});
  const FolderBytes split{current.data(), current.size(), previous.data(), previous.size()};
  EXPECT_EQ(AssembleLongName(split, 32), longName);

  uint32_t ids = 2;
  EntryRecord work;
  std::u16string name;
  ASSERT_EQ(DecodeDirectoryEntry(split, 32, Context(), ids, work, name).m_outcome, DecodeOutcome::Record);
  EXPECT_EQ(name, longName);
  EXPECT_EQ(work.m_deleted, 1);
  // An entry with no parts before it keeps its short name.
  EXPECT_EQ(AssembleLongName(split, 64), u"");
}

TEST(FatDirectoryEntry, LongNameStopsAtTwentyPartsAnd260Characters) {
  const std::u16string huge(400, u'n');
  const std::vector<Entry> entries = LongNamedFile(huge, ShortEntry("HUGE    TXT", 0x20, 40, 1));
  const std::vector<uint8_t> bytes = Bytes(entries);
  const std::u16string name =
      AssembleLongName(FolderBytes{bytes.data(), bytes.size(), nullptr, 0}, (entries.size() - 1) * 32);
  EXPECT_LE(name.size(), 260u);
  EXPECT_EQ(name.size(), 260u); // 20 parts of 13
}

TEST(FatDirectoryEntry, SkipsDotsLabelsAndEndMarks) {
  const std::vector<uint8_t> folder =
      Bytes({ShortEntry(".          ", 0x10, 5, 0), ShortEntry("LABEL      ", 0x08, 0, 0),
             LongNamePart(u"x", 1, true), Entry{}});
  const FolderBytes bytes{folder.data(), folder.size(), nullptr, 0};
  uint32_t ids = 2;
  EntryRecord work;
  std::u16string name;
  for (size_t offset = 0; offset < folder.size(); offset += 32)
    EXPECT_EQ(DecodeDirectoryEntry(bytes, offset, Context(), ids, work, name).m_outcome,
              DecodeOutcome::Skipped);
  EXPECT_EQ(ids, 2u);
  EXPECT_EQ(DecodeDirectoryEntry(bytes, folder.size(), Context(), ids, work, name).m_outcome,
            DecodeOutcome::Skipped);
}

TEST(FatDirectoryEntry, DeletedFolderHasNoSize) {
  Entry e = ShortEntry("OLD        ", 0x10, 30, 0);
  e[0] = kFatDeletedMark;
  WriteLe32(&e[28], 4096);
  const FolderBytes bytes{e.data(), e.size(), nullptr, 0};
  uint32_t ids = 2;
  EntryRecord work;
  std::u16string name;
  ASSERT_EQ(DecodeDirectoryEntry(bytes, 0, Context(), ids, work, name).m_outcome, DecodeOutcome::Record);
  EXPECT_EQ(work.m_size, 0u);
  EXPECT_TRUE(work.IsFolder());
  EXPECT_EQ(name, u"XLD");
}

} // namespace

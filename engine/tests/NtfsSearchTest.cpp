// The NTFS search over small volumes generated in memory: which records are
// listed, how parent chains become tree folders, and the $MFT set-up.
#include "ImageDevices.h"
#include "NtfsFileReader.h"
#include "NtfsScanEngine.h"
#include "NtfsTestVolume.h"
#include "RecordingServices.h"
#include "Utf16Text.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr uint8_t kDrive = 3;
constexpr size_t kSlots = 32;

std::vector<uint8_t> Folder(uint16_t flags, uint16_t sequence, uint64_t parent, uint16_t parentSequence,
                            const std::u16string &name) {
  return TestRecord(flags, sequence)
      .StandardInformation(11, 22, 33)
      .FileName(parent, parentSequence, name)
      .Bytes();
}

std::vector<uint8_t> SmallFile(uint16_t flags, uint64_t parent, uint16_t parentSequence,
                               const std::u16string &name, const std::string &content = "data") {
  return TestRecord(flags, 2)
      .StandardInformation(0x0000000100000002ull, 0x0000000300000004ull, 0x0000000500000006ull)
      .FileName(parent, parentSequence, name)
      .Resident(kNtfsAttrData, std::vector<uint8_t>(content.begin(), content.end()))
      .Bytes();
}

struct Search {
  explicit Search(std::vector<uint8_t> bytes) : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive) {
    m_sectors = bytes.size() / kSectorSize;
    m_layer.Attach(kDrive, std::make_unique<MemoryDevice>(std::move(bytes)));
  }
  void Run() {
    m_engine = std::make_unique<NtfsScanEngine>(m_services, m_reader, m_sectors);
    m_engine->RunNtfsFastScan();
  }
  // name -> entry; folder names made unique enough for these tests.
  std::map<std::u16string, EntryRecord> ByName() const {
    std::map<std::u16string, EntryRecord> names;
    for (const auto &added : m_services.m_treeEntries) names[added.m_name] = added.m_entry;
    return names;
  }
  size_t Count(const std::u16string &name) const {
    size_t n = 0;
    for (const auto &added : m_services.m_treeEntries) n += added.m_name == name;
    return n;
  }

  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  uint64_t m_sectors = 0;
  RecordingServices m_services;
  std::unique_ptr<NtfsScanEngine> m_engine;
};

TEST(NtfsSearch, WhichRecordsAreListed) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(20, SmallFile(0, 5, 5, u"deleted.txt"));
  volume.Put(21, SmallFile(kNtfsRecordInUse, 5, 5, u"live.txt"));
  volume.Put(22, Folder(kNtfsRecordInUse | kNtfsRecordFolder, 1, 5, 5, u"livefolder"));
  volume.Put(23, SmallFile(0, 0, 0, u"no-parent.txt"));
  volume.Put(24, TestRecord(0, 1, 20).FileName(5, 5, u"ext").Bytes());
  volume.Put(25, SmallFile(0x0004, 5, 5, u"special-index.txt"));
  Search search(volume.Bytes());
  search.Run();
  const auto names = search.ByName();
  EXPECT_EQ(names.count(u"deleted.txt"), 1u);
  EXPECT_EQ(names.count(u"live.txt"), 0u);
  EXPECT_EQ(names.count(u"livefolder"), 0u) << "a live folder shows only on a deleted file's chain";
  EXPECT_EQ(names.count(u"no-parent.txt"), 0u);
  EXPECT_EQ(names.count(u"ext"), 0u);
  EXPECT_EQ(names.count(u"special-index.txt"), 0u);
  const EntryRecord &file = names.at(u"deleted.txt");
  EXPECT_EQ(file.m_parentId, kNtfsRootRecord);
  EXPECT_EQ(file.m_size, 4u);
  EXPECT_EQ(file.m_grade, RecoveryGrade::VeryGood);
  EXPECT_EQ(file.m_compressed, 0);
  // Record change, modification, creation; each low word first.
  const uint32_t words[6] = {6, 5, 4, 3, 2, 1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(file.m_dateWords[i], words[i]) << i;
}

TEST(NtfsSearch, LiveFolderIsAddedOnceUnderTheRoot) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(20, Folder(kNtfsRecordInUse | kNtfsRecordFolder, 3, 5, 5, u"docs"));
  volume.Put(21, SmallFile(0, 20, 3, u"a.txt"));
  volume.Put(22, SmallFile(0, 20, 3, u"b.txt"));
  Search search(volume.Bytes());
  search.Run();
  EXPECT_EQ(search.Count(u"docs"), 1u);
  const auto names = search.ByName();
  EXPECT_EQ(names.at(u"docs").m_parentId, kNtfsRootRecord);
  EXPECT_EQ(names.at(u"docs").m_deleted, 0);
  EXPECT_EQ(names.at(u"a.txt").m_parentId, 20u);
  EXPECT_EQ(names.at(u"b.txt").m_parentId, 20u);
}

TEST(NtfsSearch, MissingParentsShareOneLostFolder) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(21, SmallFile(0, 30, 1, u"a.txt"));
  volume.Put(22, SmallFile(0, 30, 1, u"b.txt"));
  Search search(volume.Bytes());
  search.Run();
  EXPECT_EQ(search.Count(u"Lost Folder(s)"), 1u);
  EXPECT_EQ(search.Count(u"Folder 30"), 1u);
  const auto names = search.ByName();
  EXPECT_EQ(names.at(u"Lost Folder(s)").m_ownId, kSpecialFolderId);
  EXPECT_EQ(names.at(u"Lost Folder(s)").m_parentId, kNtfsRootRecord);
  EXPECT_EQ(names.at(u"Folder 30").m_ownId, 30u);
  EXPECT_EQ(names.at(u"Folder 30").m_parentId, kSpecialFolderId);
  EXPECT_EQ(names.at(u"a.txt").m_parentId, 30u);
}

// Sequence numbers tell a folder record still holding the folder from one
// that was reused.
TEST(NtfsSearch, ParentSequenceNumbers) {
  struct Case {
    const char *what;
    uint16_t folderFlags;
    uint16_t folderSequence;
    uint16_t childRefSequence;
    bool underFolder;
  } cases[] = {
      {"live folder, same number", kNtfsRecordInUse | kNtfsRecordFolder, 4, 4, true},
      {"live folder reused, number moved on", kNtfsRecordInUse | kNtfsRecordFolder, 5, 4, false},
      {"deleted folder, number stepped by its deletion", kNtfsRecordFolder, 5, 4, true},
      {"deleted folder, number far ahead", kNtfsRecordFolder, 7, 4, false},
      {"reference without a number", kNtfsRecordInUse | kNtfsRecordFolder, 9, 0, true},
  };
  for (const Case &c : cases) {
    TestVolume volume(kSlots);
    volume.PutSystemRecords();
    volume.Put(20, Folder(c.folderFlags, c.folderSequence, 5, 5, u"folder"));
    volume.Put(21, SmallFile(0, 20, c.childRefSequence, u"child.txt"));
    Search search(volume.Bytes());
    search.Run();
    const auto names = search.ByName();
    ASSERT_EQ(names.count(u"child.txt"), 1u) << c.what;
    const EntryRecord &child = names.at(u"child.txt");
    if (c.underFolder) {
      EXPECT_EQ(child.m_parentId, 20u) << c.what;
      EXPECT_EQ(search.Count(u"Lost Folder(s)"), 0u) << c.what;
    } else {
      EXPECT_EQ(search.Count(u"Folder 20"), 1u) << c.what;
      // The re-created folder must not take the id of the folder record that now lives there.
      EXPECT_NE(child.m_parentId, 20u) << c.what;
      EXPECT_EQ(names.at(u"Folder 20").m_ownId, child.m_parentId) << c.what;
    }
  }
}

TEST(NtfsSearch, FolderThatIsItsOwnParentEnds) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(20, Folder(kNtfsRecordFolder, 2, 20, 2, u"self"));
  volume.Put(21, SmallFile(0, 20, 2, u"child.txt"));
  Search search(volume.Bytes());
  search.Run();
  const auto names = search.ByName();
  ASSERT_EQ(names.count(u"child.txt"), 1u);
  EXPECT_EQ(names.at(u"child.txt").m_parentId, 20u);
  EXPECT_EQ(names.at(u"self").m_parentId, names.at(u"Folder 20").m_ownId);
  EXPECT_NE(names.at(u"Folder 20").m_ownId, 20u);
}

TEST(NtfsSearch, CompressedFileIsGradedPoor) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(
      20, TestRecord(0, 2)
              .StandardInformation(1, 1, 1, kNtfsFileAttrCompressed)
              .FileName(5, 5, u"packed.bin")
              .NonResident(kNtfsAttrData, {0x11, 0x10, 0x60, 0x00}, 0, 15, 5000, kNtfsAttrFlagCompressed, 4)
              .Bytes());
  Search search(volume.Bytes());
  search.Run();
  const EntryRecord file = search.ByName().at(u"packed.bin");
  EXPECT_EQ(file.m_compressed, 1);
  EXPECT_EQ(file.m_grade, RecoveryGrade::Poor);
  EXPECT_EQ(file.m_size, 5000u);
}

// The log line is the user's language's text with the parser's reason after it.
TEST(NtfsSearch, DamagedRecordIsLoggedAndTheWalkGoesOn) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  std::vector<uint8_t> damaged = SmallFile(0, 5, 5, u"damaged.txt");
  WriteLe16(&damaged[0x14], 0x3FF);
  volume.Put(20, damaged);
  volume.Put(21, SmallFile(0, 5, 5, u"fine.txt"));
  struct Case {
    const char16_t *m_text; // none: the English default
    const char16_t *m_line;
  };
  const Case cases[] = {
      {nullptr, u"MFT record 20 skipped: attribute offset 0x3FF past record end"},
      {u"Enregistrement MFT %s ignor\u00e9 :",
       u"Enregistrement MFT 20 ignor\u00e9 : attribute offset 0x3FF past record end"},
  };
  for (const Case &c : cases) {
    Search search(volume.Bytes());
    if (c.m_text) search.m_services.SetText(61481, c.m_text);
    search.Run();
    EXPECT_EQ(search.Count(u"fine.txt"), 1u);
    EXPECT_TRUE(search.m_services.LogContains(c.m_line)) << search.m_services.LogAsText();
  }
}

// $MFT's data continues in extension record 2; its attribute list also names
// the base record itself, which must not be decoded twice.
TEST(NtfsSearch, MftAttributeListNamingTheBaseRecord) {
  TestVolume volume(kSlots);
  std::vector<uint8_t> list = AttributeListEntryBytes(kNtfsAttrData, 0, 0);
  const auto second = AttributeListEntryBytes(kNtfsAttrData, 16, 2);
  list.insert(list.end(), second.begin(), second.end());
  const uint8_t mftCluster = TestVolume::kMftCluster;
  volume.Put(0, TestRecord(kNtfsRecordInUse)
                    .StandardInformation(1, 1, 1)
                    .Resident(kNtfsAttrAttributeList, list)
                    .FileName(5, 5, u"$MFT")
                    .NonResident(kNtfsAttrData, {0x11, 16, mftCluster, 0}, 0, 15, kSlots * 1024)
                    .Bytes());
  // The rest of the table: clusters 16.. of $MFT right after the first 16.
  volume.Put(
      2, TestRecord(kNtfsRecordInUse, 1, 0)
             .NonResident(kNtfsAttrData, {0x11, kSlots * 2 - 16, mftCluster + 16, 0}, 16, kSlots * 2 - 1, 0)
             .Bytes());
  volume.Put(5, TestRecord(kNtfsRecordInUse | kNtfsRecordFolder, 5).FileName(5, 5, u".").Bytes());
  volume.Put(kSlots - 1, SmallFile(0, 5, 5, u"last.txt"));
  Search search(volume.Bytes());
  RecordingServices services;
  NtfsScanEngine engine(services, search.m_reader, search.m_sectors);
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  EXPECT_EQ(engine.Volume().MftRuns().size(), 2u);
  EXPECT_EQ(engine.Volume().RecordCount(), kSlots);
  ASSERT_EQ(engine.RunArray().size(), 2u);
  // Each extent's list starts again: its first cluster field is absolute.
  EXPECT_EQ(engine.RunArray()[0].m_mark, 'S');
  EXPECT_EQ(engine.RunArray()[1].m_mark, 'S');
  EXPECT_EQ(engine.RunArray()[1].m_rawCluster, TestVolume::kMftCluster + 16);
  search.Run();
  EXPECT_EQ(search.Count(u"last.txt"), 1u);
}

// $MFT in two runs, the first 21 clusters long: record 10 starts in its last
// cluster and ends in the second run's first, which is not a record start.
TEST(NtfsSearch, RecordStraddlingTwoRunsIsReadWhole) {
  constexpr uint8_t kSecondRun = 100;
  TestVolume volume(kSlots);
  const uint8_t mftCluster = TestVolume::kMftCluster;
  const uint8_t rest = kSlots * 2 - 21;
  const std::vector<uint8_t> mft =
      TestRecord(kNtfsRecordInUse)
          .StandardInformation(1, 1, 1)
          .FileName(5, 5, u"$MFT")
          .NonResident(kNtfsAttrData, {0x11, 21, mftCluster, 0x11, rest, kSecondRun - mftCluster, 0}, 0,
                       kSlots * 2 - 1, kSlots * 1024)
          .Bytes();
  // Writes a record at its place in the table, across the run boundary.
  auto put = [&](size_t slot, const std::vector<uint8_t> &record) {
    for (size_t half = 0; half < 2; ++half) {
      const size_t cluster = slot * 2 + half;
      const size_t lcn = cluster < 21 ? mftCluster + cluster : kSecondRun + (cluster - 21);
      std::copy(record.begin() + half * 512, record.begin() + (half + 1) * 512,
                volume.Bytes().begin() + lcn * 512);
    }
  };
  put(0, mft);
  put(5, TestRecord(kNtfsRecordInUse | kNtfsRecordFolder, 5).FileName(5, 5, u".").Bytes());
  put(10, SmallFile(0, 5, 5, u"straddling.txt", std::string(600, 's')));
  put(11, SmallFile(0, 5, 5, u"after.txt"));
  Search search(volume.Bytes());
  search.Run();
  const auto names = search.ByName();
  ASSERT_EQ(names.count(u"straddling.txt"), 1u) << search.m_services.LogAsText();
  EXPECT_EQ(names.at(u"straddling.txt").m_ownId, 10u);
  EXPECT_EQ(names.at(u"straddling.txt").m_size, 600u);
  EXPECT_EQ(names.at(u"after.txt").m_ownId, 11u);
  EXPECT_EQ(search.m_services.LogAsText().find("skipped"), std::string::npos);
}

// $MFT run lists that reach past the volume's end (a damaged record 0 with a
// data size of terabytes): the walk searches the records inside the volume,
// says once what it cut, and never tries the billions of records the runs
// claim (which took hours and a failed read each).
struct MftPastTheEndCase {
  const char *m_label;
  std::vector<uint8_t> m_runs;
  uint64_t m_records; // what the walk covers
};

class NtfsMftPastTheEndTest : public ::testing::TestWithParam<MftPastTheEndCase> {};

TEST_P(NtfsMftPastTheEndTest, OnlyTheRecordsInsideTheVolumeAreSearched) {
  const MftPastTheEndCase &c = GetParam();
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(0, TestRecord(kNtfsRecordInUse)
                    .StandardInformation(1, 1, 1)
                    .FileName(5, 5, u"$MFT")
                    .NonResident(kNtfsAttrData, c.m_runs, 0, 0x7FFFFFFE, uint64_t{1} << 42)
                    .Bytes());
  volume.Put(20, SmallFile(0, 5, 5, u"found.txt"));
  Search search(volume.Bytes());
  NtfsScanEngine probe(search.m_services, search.m_reader, search.m_sectors);
  ASSERT_TRUE(probe.ReadNtfsBootSector());
  ASSERT_TRUE(probe.LoadMftRunList());
  ASSERT_EQ(probe.Volume().RecordCount(), c.m_records);
  search.m_services.m_log.clear();
  search.Run();
  EXPECT_EQ(search.Count(u"found.txt"), 1u);
  size_t clampLines = 0;
  for (const auto &row : search.m_services.m_log) {
    const std::string text(row.m_text.begin(), row.m_text.end());
    clampLines += text.find("past the end of the volume") != std::string::npos;
    EXPECT_EQ(text.find("Error reading"), std::string::npos) << text;
  }
  EXPECT_EQ(clampLines, 1u) << search.m_services.LogAsText();
}

INSTANTIATE_TEST_SUITE_P(Runs, NtfsMftPastTheEndTest,
                         ::testing::Values(
                             // One run of 2^31 - 1 clusters from the table's start: cut at the
                             // volume's last cluster (the boot sector counts 4095 sectors).
                             MftPastTheEndCase{"OneRunOfTwoBillionClusters",
                                               {0x14, 0xFF, 0xFF, 0xFF, 0x7F, TestVolume::kMftCluster, 0},
                                               (4095 - TestVolume::kMftCluster) * 512 / 1024},
                             // The table's own clusters, then a run far past the volume's end: a hole.
                             MftPastTheEndCase{"SecondRunPastTheEnd",
                                               {0x11, kSlots * 2, TestVolume::kMftCluster, 0x44, 0xFF, 0xFF,
                                                0xFF, 0x7F, 0x00, 0x00, 0x00, 0x40, 0},
                                               kSlots}),
                         [](const ::testing::TestParamInfo<MftPastTheEndCase> &info) {
                           return std::string(info.param.m_label);
                         });

// Unreadable records in a row: past the first few failed reads, one log
// line with the range of sectors; the records before them are still found.
TEST(NtfsSearch, ARunOfUnreadableRecordsIsOneLine) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(7, SmallFile(0, 5, 5, u"before.txt"));
  Search search(volume.Bytes());
  const uint64_t firstBad = TestVolume::kMftCluster + 8 * 2; // record 8 on, to the table's end
  search.m_reader.SetFaultFilter([firstBad](uint64_t sector) { return sector >= firstBad && sector < 200; });
  search.Run();
  EXPECT_EQ(search.Count(u"before.txt"), 1u);
  size_t errorLines = 0;
  for (const auto &row : search.m_services.m_log)
    errorLines += row.m_text.find(u"#6128") == 0 || row.m_text.find(u"#6155") == 0;
  EXPECT_LE(errorLines, ReadFailureLog::kSingleLines + 1) << search.m_services.LogAsText();
  // The whole table's read, then records 8 to 11 one by one, then the rest
  // of the table's sectors as one run.
  EXPECT_TRUE(search.m_services.LogContains(u"#61550 40 - 79")) << search.m_services.LogAsText();
}

TEST(NtfsSearch, MirrorServesWhenTheMftRecordIsDamaged) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.PutMirror(TestVolume::MftRecord(kSlots).Bytes());
  std::vector<uint8_t> broken = TestVolume::MftRecord(kSlots).Bytes();
  broken[4] = 0x77; // update-sequence array offset out of place
  volume.Put(0, broken);
  volume.Put(20, SmallFile(0, 5, 5, u"found.txt"));
  Search search(volume.Bytes());
  search.Run();
  EXPECT_EQ(search.Count(u"found.txt"), 1u);
}

// The backup boot sector is the volume's last sector, found from the
// partition extent even when the primary sector is gone entirely.
TEST(NtfsSearch, BackupBootSectorInTheLastSector) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  std::fill(volume.Bytes().begin(), volume.Bytes().begin() + 512, 0);
  volume.Put(20, SmallFile(0, 5, 5, u"found.txt"));
  Search search(volume.Bytes());
  search.Run();
  EXPECT_TRUE(search.m_engine->Volume().UsedBackupBootSector());
  EXPECT_EQ(search.Count(u"found.txt"), 1u);
}

TEST(NtfsBootSector, Checks) {
  struct Case {
    const char *what;
    size_t offset;
    uint8_t value;
    ParseResult result;
  } cases[] = {
      {"good", 0, 0xEB, ParseResult::Ok},
      {"no end mark", 511, 0x00, ParseResult::NotThisStructure},
      {"not NTFS", 3, 'F', ParseResult::NotThisStructure},
      {"3 sectors per cluster", 0x0D, 3, ParseResult::Corrupt},
      {"0 sectors per cluster", 0x0D, 0, ParseResult::Corrupt},
      {"1024-byte sectors", 0x0C, 4, ParseResult::Corrupt},
      {"record size field 0", 0x40, 0, ParseResult::Corrupt},
      {"MFT past the volume", 0x33, 0x10, ParseResult::Corrupt},
  };
  for (const Case &c : cases) {
    TestVolume volume(kSlots);
    volume.Bytes()[c.offset] = c.value;
    NtfsBootInfo info;
    EXPECT_EQ(ParseNtfsBootSector(volume.Bytes().data(), info), c.result) << c.what;
  }
}

TEST(NtfsFileReader, SparseAndInitializedSizes) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  std::vector<uint8_t> clusterA(512, 'A'), clusterB(512, 'B');
  volume.PutClusters(200, clusterA);
  volume.PutClusters(201, clusterB);
  // Cluster 0 at 200, clusters 1-2 sparse, cluster 3 at 201; 1800 bytes.
  TestRecord record(0, 2);
  record.FileName(5, 5, u"sparse.bin")
      .NonResident(kNtfsAttrData, {0x21, 0x01, 200, 0, 0x01, 0x02, 0x11, 0x01, 0x01, 0x00}, 0, 3, 1800,
                   kNtfsAttrFlagSparse);
  volume.Put(20, record.Bytes());
  Search search(volume.Bytes());
  RecordingServices services;
  NtfsScanEngine engine(services, search.m_reader, search.m_sectors);
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  std::vector<uint8_t> read;
  std::string why;
  ASSERT_TRUE(ReadNtfsFile(
      engine.Volume(), 20,
      [&](const uint8_t *data, size_t length) {
        read.insert(read.end(), data, data + length);
        return true;
      },
      &why))
      << why;
  ASSERT_EQ(read.size(), 1800u);
  EXPECT_EQ(read[0], 'A');
  EXPECT_EQ(read[511], 'A');
  EXPECT_EQ(read[512], 0);
  EXPECT_EQ(read[1535], 0);
  EXPECT_EQ(read[1536], 'B');
  EXPECT_EQ(read[1799], 'B');
}

TEST(NtfsFileReader, RunsShorterThanTheSizeAreNotAFullRead) {
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.Put(20, TestRecord(0, 2)
                     .FileName(5, 5, u"short.bin")
                     .NonResident(kNtfsAttrData, {0x21, 0x01, 200, 0x00, 0x00}, 0, 0, 4000)
                     .Bytes());
  Search search(volume.Bytes());
  RecordingServices services;
  NtfsScanEngine engine(services, search.m_reader, search.m_sectors);
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  size_t total = 0;
  std::string why;
  EXPECT_FALSE(ReadNtfsFile(
      engine.Volume(), 20,
      [&](const uint8_t *, size_t length) {
        total += length;
        return true;
      },
      &why));
  EXPECT_EQ(total, 512u);
  EXPECT_NE(why.find("runs cover"), std::string::npos) << why;
  // A record past the end of $MFT is refused, not mapped past the last run.
  EXPECT_FALSE(ReadNtfsFile(
      engine.Volume(), kSlots + 100, [](const uint8_t *, size_t) { return true; }, &why));
  EXPECT_NE(why.find("past the end of $MFT"), std::string::npos) << why;
}

// Damaged size fields: a deleted file whose $DATA size is past what its one
// run maps (near 2^64, or just past the run), or past the whole volume, is
// graded Poor; the found-bytes total stops at 2^64 - 1 instead of wrapping;
// a read hands on what the run holds and says the size was cut.
TEST(NtfsSearch, DamagedDataSizes) {
  struct Case {
    const char16_t *name;
    uint64_t size;
    RecoveryGrade grade;
    uint64_t held;
    bool cut;
  } cases[] = {
      {u"sound.bin", 512, RecoveryGrade::VeryGood, 512, false},
      {u"near-2-64.bin", UINT64_MAX - 100, RecoveryGrade::Poor, 512, true},
      {u"one-past.bin", 513, RecoveryGrade::Poor, 512, true},
      {u"past-volume.bin", uint64_t{1} << 40, RecoveryGrade::Poor, 512, true},
  };
  TestVolume volume(kSlots);
  volume.PutSystemRecords();
  volume.PutClusters(200, std::vector<uint8_t>(512, 'D'));
  size_t slot = 20;
  for (const Case &c : cases)
    volume.Put(slot++, TestRecord(0, 2)
                           .FileName(5, 5, c.name)
                           .NonResident(kNtfsAttrData, {0x21, 0x01, 200, 0x00, 0x00}, 0, 0, c.size)
                           .Bytes());
  Search search(volume.Bytes());
  search.Run();
  const auto names = search.ByName();
  slot = 20;
  for (const Case &c : cases) {
    const std::string what = Utf16ToUtf8(c.name);
    ASSERT_EQ(names.count(c.name), 1u) << what;
    EXPECT_EQ(names.at(c.name).m_size, c.size) << what;
    EXPECT_EQ(names.at(c.name).m_grade, c.grade) << what;
    std::vector<uint8_t> read;
    bool cut = true;
    const bool whole = ReadNtfsFile(
        search.m_engine->Volume(), slot,
        [&](const uint8_t *data, size_t length) {
          read.insert(read.end(), data, data + length);
          return true;
        },
        nullptr, &cut);
    EXPECT_EQ(whole, !c.cut) << what;
    EXPECT_EQ(cut, c.cut) << what;
    EXPECT_EQ(read, std::vector<uint8_t>(c.held, 'D')) << what;
    EXPECT_EQ(NtfsFileBytesHeld(search.m_engine->Volume(), slot), c.held) << what;
    ++slot;
  }
  EXPECT_EQ(search.m_services.m_totalsBytes, UINT64_MAX);
}

TEST(FoundBytes, TotalsStopAtTheTop) {
  uint64_t total = 0;
  AddFoundBytes(total, 5);
  EXPECT_EQ(total, 5u);
  AddFoundBytes(total, UINT64_MAX - 5);
  EXPECT_EQ(total, UINT64_MAX);
  AddFoundBytes(total, 1);
  EXPECT_EQ(total, UINT64_MAX);
}

} // namespace

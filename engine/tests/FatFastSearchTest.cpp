// The fast search over images made by mkfs.fat and mtools: what it lists, the
// names, grades and ids it gives, and how it copes with damage and a stop.
#include "FatTestImages.h"

#include <set>

namespace {

std::u16string U16(const std::string &text) {
  return std::u16string(text.begin(), text.end());
}

// Finds the 32-byte entry with the given 8.3 name bytes in a cluster of the image.
size_t FindEntry(const std::vector<uint8_t> &bytes, const char (&name)[12], uint8_t attributes) {
  for (size_t offset = 0; offset + 32 <= bytes.size(); offset += 32)
    if (std::equal(name, name + 11, bytes.begin() + offset) && bytes[offset + 11] == attributes)
      return offset;
  return std::string::npos;
}

// The same for a deleted entry, whose first name byte is the deletion mark.
size_t FindDeletedEntry(const std::vector<uint8_t> &bytes, const char (&name)[12], uint8_t attributes) {
  for (size_t offset = 0; offset + 32 <= bytes.size(); offset += 32)
    if (bytes[offset] == kFatDeletedMark && std::equal(name + 1, name + 11, bytes.begin() + offset + 1) &&
        bytes[offset + 11] == attributes)
      return offset;
  return std::string::npos;
}

struct KindCase {
  const char *m_image;
  FatKind m_kind;
};

class FatFastSearchKinds : public ::testing::TestWithParam<KindCase> {};

// Each kind of volume lists exactly its deleted files (by full long-name path),
// the deleted folders, and the live folders on the way to them, never a live
// folder with nothing deleted below it.
TEST_P(FatFastSearchKinds, ListsDeletedEntriesWithTheirPaths) {
  QV_REQUIRE_FAT_FIXTURES();
  const KindCase &c = GetParam();
  auto image = FatImageEngine::FromFixture(c.m_image);
  image->Engine().RunFatFastScan();
  ASSERT_EQ(image->Engine().Volume().Kind(), c.m_kind);
  const RecordingServices &services = image->Services();
  EXPECT_TRUE(services.m_errorBoxes.empty());
  EXPECT_FALSE(services.LogContains(u"Error")) << services.LogAsText();

  const std::map<std::string, EntryRecord> found = image->FoundByPath();
  std::set<std::string> expectedFiles;
  for (const FatManifestRow &row : ReadFatManifest(c.m_image))
    if (row.m_deleted) expectedFiles.insert(ExpectedFoundPath(row.m_path));
  std::set<std::string> foundFiles;
  for (const auto &[path, entry] : found)
    if (!entry.IsFolder()) foundFiles.insert(path);
  EXPECT_EQ(foundFiles, expectedFiles);

  for (const char *folder : {"/Docs", "/Docs/Sub", "/Many", "/Grade", "/Mix"}) {
    ASSERT_EQ(found.count(folder), 1u) << folder;
    EXPECT_EQ(found.at(folder).m_deleted, 0) << folder;
  }
  for (const char *folder : {"/Old", "/Old/Inner", "/Old/Inner/Deep"}) {
    ASSERT_EQ(found.count(folder), 1u) << folder;
    EXPECT_EQ(found.at(folder).m_deleted, 1) << folder;
  }
  EXPECT_EQ(found.count("/Empty"), 0u);
  for (const auto &[path, entry] : found) EXPECT_TRUE(entry.IsFolder() || entry.m_deleted) << path;

  // Totals: the root counts as one folder found.
  const FatSearchTotals &totals = image->Engine().Totals();
  EXPECT_EQ(totals.m_foundEntries, found.size() + 1);
  EXPECT_EQ(totals.m_files, expectedFiles.size());
  EXPECT_EQ(services.m_treeRootCount, 1u);
  EXPECT_EQ(services.m_finishedCount, 1u);
  EXPECT_EQ(services.m_finishedFoundCount, totals.m_foundEntries);
  EXPECT_TRUE(services.LogContains(u"Process completed"));
}

INSTANTIATE_TEST_SUITE_P(Images, FatFastSearchKinds,
                         ::testing::Values(KindCase{"fat12", FatKind::Fat12},
                                           KindCase{"fat12-big-clusters", FatKind::Fat12},
                                           KindCase{"fat16", FatKind::Fat16},
                                           KindCase{"fat16-one-fat", FatKind::Fat16},
                                           KindCase{"fat32", FatKind::Fat32}),
                         [](const auto &info) {
                           std::string name = info.param.m_image;
                           for (char &ch : name)
                             if (ch == '-') ch = '_';
                           return name;
                         });

class FatWindowsFolders : public ::testing::TestWithParam<const char *> {};

// Folders deleted whole with the size Windows leaves in their entries, at the
// root and below it, each spanning many clusters: every file they held is
// found under its folder, and nothing else.
TEST_P(FatWindowsFolders, FindsEveryFileTheDeletedFoldersHeld) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture(GetParam());
  image->Engine().RunFatFastScan();
  EXPECT_FALSE(image->Services().LogContains(u"Error")) << image->Services().LogAsText();
  const auto found = image->FoundByPath();
  std::set<std::string> expectedFiles, foundFiles;
  for (const FatManifestRow &row : ReadFatManifest(GetParam()))
    if (row.m_deleted) expectedFiles.insert(ExpectedFoundPath(row.m_path));
  for (const auto &[path, entry] : found)
    if (!entry.IsFolder()) foundFiles.insert(path);
  EXPECT_EQ(foundFiles, expectedFiles);
  for (const char *folder :
       {"/Projects", "/Projects/Nested", "/System Volume Information", "/Small", "/Docs/Old"}) {
    ASSERT_EQ(found.count(folder), 1u) << folder;
    EXPECT_EQ(found.at(folder).m_deleted, 1) << folder;
    EXPECT_EQ(found.at(folder).m_size, 0u) << folder;
  }
  EXPECT_EQ(found.at("/Docs").m_deleted, 0);
  EXPECT_EQ(found.count("/Kept"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Images, FatWindowsFolders,
                         ::testing::Values("fat16-windows-folders", "fat32-windows-folders"),
                         [](const auto &info) {
                           std::string name = info.param;
                           for (char &ch : name)
                             if (ch == '-') ch = '_';
                           return name;
                         });

// A deleted folder goes on no further than the size its entry gives: with one
// cluster's bytes, only the files listed in its first cluster are found.
TEST(FatFastSearch, StopsADeletedFolderAtItsSize) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16-windows-folders.img");
  const size_t projects = FindDeletedEntry(bytes, "PROJECTS   ", 0x10);
  ASSERT_NE(projects, std::string::npos);
  ASSERT_GT(ReadLe32(&bytes[projects + 28]), 512u);
  WriteLe32(&bytes[projects + 28], 512);
  FatImageEngine image(std::move(bytes));
  image.Engine().RunFatFastScan();
  size_t inProjects = 0;
  for (const auto &[path, entry] : image.FoundByPath())
    if (path.rfind("/Projects/", 0) == 0) ++inProjects;
  EXPECT_GT(inProjects, 0u);
  EXPECT_LT(inProjects, 5u); // 16 entries a cluster, 5 for each long-named file
  EXPECT_EQ(image.FoundByPath().count("/Projects/Nested"), 0u);
  EXPECT_EQ(image.FoundByPath().count("/System Volume Information/IndexerVolumeGuid 0"), 1u);
}

// Claimed ranges merge when they touch or overlap, so the first unclaimed
// cluster after any of them is one step away.
TEST(FatClaimedClusters, MergesRangesAndFindsTheFirstUnclaimedCluster) {
  FatClaimedClusters claimed;
  claimed.Claim(10, 13);
  claimed.Claim(20, 22);
  claimed.Claim(13, 15); // touches 10..12
  claimed.Claim(18, 21); // overlaps 20..21
  claimed.Claim(30, 30); // empty
  const std::pair<uint64_t, uint64_t> cases[] = {{9, 9},   {10, 15}, {12, 15}, {14, 15}, {15, 15},
                                                 {17, 17}, {18, 22}, {21, 22}, {22, 22}, {30, 30}};
  for (const auto &[cluster, unclaimed] : cases)
    EXPECT_EQ(claimed.FirstUnclaimed(cluster), unclaimed) << cluster;
  claimed.Claim(5, 40); // swallows everything
  EXPECT_EQ(claimed.FirstUnclaimed(6), 40u);
}

TEST(FatFastSearch, GradesFollowTheClusterSizeBoundary) {
  QV_REQUIRE_FAT_FIXTURES();
  for (const char *imageName : {"fat12", "fat16", "fat32"}) {
    auto image = FatImageEngine::FromFixture(imageName);
    image->Engine().RunFatFastScan();
    const auto found = image->FoundByPath();
    for (const FatManifestRow &row : ReadFatManifest(imageName)) {
      if (row.m_grade < 0) continue;
      const std::string path = ExpectedFoundPath(row.m_path);
      ASSERT_EQ(found.count(path), 1u) << imageName << path;
      EXPECT_EQ(static_cast<int>(found.at(path).m_grade), row.m_grade) << imageName << path;
    }
  }
}

TEST(FatFastSearch, RecordsCarryIdsParentsAndDates) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat16");
  image->Engine().RunFatFastScan();
  const auto found = image->FoundByPath();
  const EntryRecord &gone = found.at("/Docs/Xone.txt");
  EXPECT_EQ(gone.m_parentId, found.at("/Docs").m_ownId);
  EXPECT_EQ(gone.m_size, 1u);
  EXPECT_EQ(gone.m_attributes & kEntryAttrArchive, kEntryAttrArchive);
  // FAT16 repeats the write stamp: C = E, B = D = F.
  EXPECT_EQ(gone.m_dateWords[2], gone.m_dateWords[4]);
  EXPECT_EQ(gone.m_dateWords[1], gone.m_dateWords[3]);
  EXPECT_EQ(gone.m_dateWords[3], gone.m_dateWords[5]);
  EXPECT_NE(gone.m_dateWords[3], 0u);
  EXPECT_EQ(found.at("/Old").m_size, 0u);
  EXPECT_EQ(found.at("/Docs").m_parentId, 0u);
  std::set<uint32_t> ids;
  for (const auto &[path, entry] : found) EXPECT_TRUE(ids.insert(entry.m_ownId).second) << path;
  EXPECT_EQ(ids.count(0), 0u);
  EXPECT_EQ(ids.count(1), 0u);
}

// A file in the volume's last cluster is found (the last clusters are examined).
TEST(FatFastSearch, FindsAFileInTheLastCluster) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat12-full");
  image->Engine().RunFatFastScan();
  const auto found = image->FoundByPath();
  ASSERT_EQ(found.count("/XAST.TXT"), 1u);
  EXPECT_EQ(found.at("/XAST.TXT").m_firstCluster, image->Engine().Volume().MaxCluster());
  EXPECT_EQ(found.at("/XAST.TXT").m_grade, RecoveryGrade::VeryGood);
}

TEST(FatFastSearch, StopsAfterTheGivenNumberOfUnitsAndSaysSo) {
  QV_REQUIRE_FAT_FIXTURES();
  auto whole = FatImageEngine::FromFixture("fat16", SteppingClock());
  whole->Engine().RunFatFastScan();
  const size_t pumps = whole->Services().m_pumpCount;
  ASSERT_GT(pumps, 20u);
  for (size_t stopAfter : {pumps / 2, pumps - 3}) {
    auto image = FatImageEngine::FromFixture("fat16", SteppingClock());
    image->Services().StopAfterPumps(stopAfter);
    image->Engine().RunFatFastScan();
    EXPECT_TRUE(image->Engine().WasStopped());
    EXPECT_TRUE(image->Services().LogContains(u"Process aborted - user intervention"));
    EXPECT_FALSE(image->Services().LogContains(u"Process completed") &&
                 image->Services().m_log.back().m_text == u"Process completed");
    EXPECT_LT(image->Services().m_treeEntries.size(), whole->Services().m_treeEntries.size());
    EXPECT_EQ(image->Services().m_finishedCount, 1u);
  }
}

// Pumping less often does not change what is found.
TEST(FatFastSearch, PumpingRateDoesNotChangeResults) {
  QV_REQUIRE_FAT_FIXTURES();
  auto stepping = FatImageEngine::FromFixture("fat32", SteppingClock());
  auto frozen = FatImageEngine::FromFixture("fat32", [] { return uint64_t{0}; });
  stepping->Engine().RunFatFastScan();
  frozen->Engine().RunFatFastScan();
  EXPECT_EQ(frozen->Services().m_pumpCount, 1u); // only the one before the FAT load
  EXPECT_GT(stepping->Services().m_pumpCount, 100u);
  // The bar still reaches the same positions: the steps are shown in bunches.
  EXPECT_EQ(frozen->Services().m_progressSteps, stepping->Services().m_progressSteps);
  ASSERT_EQ(frozen->Services().m_treeEntries.size(), stepping->Services().m_treeEntries.size());
  for (size_t i = 0; i < frozen->Services().m_treeEntries.size(); ++i) {
    EXPECT_EQ(frozen->Services().m_treeEntries[i].m_entry, stepping->Services().m_treeEntries[i].m_entry);
    EXPECT_EQ(frozen->Services().m_treeEntries[i].m_name, stepping->Services().m_treeEntries[i].m_name);
  }
}

// With the main boot sector wiped, FAT32's backup 6 sectors on is used.
TEST(FatFastSearch, UsesTheBackupBootSectorOfFat32) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat32.img");
  ASSERT_GT(bytes.size(), 4096u);
  std::fill(bytes.begin(), bytes.begin() + 512, 0xF6);
  FatImageEngine image(std::move(bytes));
  image.Engine().RunFatFastScan();
  EXPECT_TRUE(image.Services().m_errorBoxes.empty());
  EXPECT_TRUE(image.Services().LogContains(u"Boot sector at 0 rejected"));
  EXPECT_EQ(image.FoundByPath().count("/Docs/Xone.txt"), 1u);
}

TEST(FatFastSearch, RejectsAVolumeWithBothBootSectorsBroken) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat32.img");
  bytes[13] = 3; // sectors per cluster
  bytes[6 * 512 + 13] = 3;
  FatImageEngine image(std::move(bytes));
  image.Engine().RunFatFastScan();
  ASSERT_EQ(image.Services().m_errorBoxes.size(), 1u);
  EXPECT_EQ(image.Services().m_errorBoxes[0],
            u"Not a valid logical drive, or critical data structure are badly corrupted for this drive.");
  EXPECT_TRUE(image.Services().m_treeEntries.empty());
  EXPECT_EQ(image.Services().m_finishedCount, 1u);
}

// A drive the system refuses to open (no administrator rights) is not called
// damaged: the user reads what is needed instead.
TEST(FatFastSearch, ADriveRefusedByTheSystemAsksForAdministratorRights) {
  FatImageEngine image(std::vector<uint8_t>(64 * 512, 0));
  image.Layer().DenyAccess(FatImageEngine::kDrive);
  image.Engine().RunFatFastScan();
  ASSERT_EQ(image.Services().m_errorBoxes.size(), 1u);
  EXPECT_EQ(image.Services().m_errorBoxes[0], image.Services().LoadText(EngineText::kAdministratorNeeded));
  EXPECT_NE(image.Services().m_errorBoxes[0].find(u"administrator rights"), std::u16string::npos);
}

// A folder entry that points back at an ancestor is not walked again; the
// loop is logged and the rest of the tree is still found.
TEST(FatFastSearch, CutsAFolderLoopWithALogLine) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  const size_t docs = FindEntry(bytes, "DOCS       ", 0x10);
  const size_t sub = FindEntry(bytes, "SUB        ", 0x10);
  ASSERT_NE(docs, std::string::npos);
  ASSERT_NE(sub, std::string::npos);
  // The "keep.txt" entry in Docs becomes a folder "LOOP" whose cluster is Docs' own.
  const size_t keep = FindEntry(bytes, "KEEP    TXT", 0x20);
  ASSERT_NE(keep, std::string::npos);
  std::copy_n("LOOP       ", 11, bytes.begin() + keep);
  bytes[keep + 11] = 0x10;
  std::copy_n(bytes.begin() + docs + 26, 2, bytes.begin() + keep + 26);
  std::fill_n(bytes.begin() + keep + 28, 4, 0);
  FatImageEngine image(std::move(bytes));
  image.Engine().RunFatFastScan();
  EXPECT_TRUE(image.Services().LogContains(u"already walked")) << image.Services().LogAsText();
  EXPECT_EQ(image.FoundByPath().count("/Docs/Sub/Lost Report With A Long Name.txt"), 1u);
  EXPECT_TRUE(image.Services().LogContains(u"Process completed"));
}

// On FAT12/16 bytes 20-21 of an entry are not part of its first cluster
// (OS/2 kept an extended-attribute handle there): a root entry with them set
// is found as it is in any other folder.
TEST(FatFastSearch, IgnoresBytes20And21OfAFat16RootEntry) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  const size_t notes = FindDeletedEntry(bytes, "NOTES   TXT", 0x20);
  ASSERT_NE(notes, std::string::npos);
  WriteLe16(&bytes[notes + 20], 0x0102);
  FatImageEngine image(std::move(bytes));
  image.Engine().RunFatFastScan();
  EXPECT_EQ(image.FoundByPath().count("/XOTES.TXT"), 1u) << image.Services().LogAsText();
}

// A folder whose cluster chain runs back into itself is read once, with a log line.
TEST(FatFastSearch, CutsAChainThatLoopsBackOnItself) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  const size_t many = FindEntry(bytes, "MANY       ", 0x10);
  ASSERT_NE(many, std::string::npos);
  const uint16_t cluster = ReadLe16(&bytes[many + 26]);
  // FAT16 with 8 reserved sectors: the first FAT starts at byte 8 * 512.
  const size_t fatEntry = 8 * 512 + size_t{cluster} * 2;
  const uint16_t second = ReadLe16(&bytes[fatEntry]);
  ASSERT_GE(second, 2);
  ASSERT_LT(second, 0xFFF8);
  WriteLe16(&bytes[8 * 512 + size_t{second} * 2], cluster);
  FatImageEngine image(std::move(bytes));
  image.Engine().RunFatFastScan();
  EXPECT_TRUE(image.Services().LogContains(u"loops back to cluster " + U16(std::to_string(cluster))))
      << image.Services().LogAsText();
  EXPECT_TRUE(image.Services().LogContains(u"Process completed"));
}

// An unreadable folder cluster is logged with its number and the walk goes on.
TEST(FatFastSearch, LogsAnUnreadableClusterAndGoesOn) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat16");
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  const size_t sub = FindEntry(bytes, "SUB        ", 0x10);
  ASSERT_NE(sub, std::string::npos);
  const uint32_t cluster = ReadLe16(&bytes[sub + 26]);
  FatImageEngine probe(bytes);
  probe.Engine().RunFatFastScan();
  const uint64_t sector = probe.Engine().Volume().ClusterToSector(cluster);
  image->Reader().SetFaultFilter([sector](uint64_t s) { return s == sector; });
  image->Engine().RunFatFastScan();
  EXPECT_TRUE(image->Services().LogContains(u"Error reading cluster : " + U16(std::to_string(cluster))))
      << image->Services().LogAsText();
  const auto found = image->FoundByPath();
  EXPECT_EQ(found.count("/Docs/Sub/Lost Report With A Long Name.txt"), 0u);
  EXPECT_EQ(found.count("/Docs/Xone.txt"), 1u);
  EXPECT_EQ(found.count("/Old/Inner/Deep/X.dat"), 1u);
}

// An unreadable FAT sector is taken from the second FAT without a log line.
TEST(FatFastSearch, ReadsAFailedFatSectorFromTheOtherCopy) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat16");
  image->Reader().SetFaultFilter([](uint64_t s) { return s == 8; }); // first FAT sector
  image->Engine().RunFatFastScan();
  EXPECT_FALSE(image->Services().LogContains(u"Error reading sector")) << image->Services().LogAsText();
  EXPECT_EQ(image->FoundByPath().count("/Docs/Xone.txt"), 1u);
}

// The found paths of a scan without their records.
std::set<std::string> FoundPaths(const FatImageEngine &image) {
  std::set<std::string> paths;
  for (const auto &[path, entry] : image.FoundByPath()) paths.insert(path);
  return paths;
}

// The log rows that report failed reads, in order.
std::vector<std::u16string> ReadErrorLines(const RecordingServices &services) {
  std::vector<std::u16string> lines;
  for (const auto &row : services.m_log)
    if (row.m_text.rfind(u"Error reading", 0) == 0) lines.push_back(row.m_text);
  return lines;
}

void SetRangeTexts(RecordingServices &services) {
  services.SetText(FatText::kErrorReadingSectors, u"Error reading sectors :");
  services.SetText(FatText::kErrorReadingClusters, u"Error reading clusters :");
}

// The expected lines of a dead run: one each for the first few, then its range.
std::vector<std::u16string> DeadRunLines(const std::u16string &single, const std::u16string &range,
                                         uint64_t first, uint64_t last) {
  std::vector<std::u16string> lines;
  for (uint64_t unit = first; unit < first + ReadFailureLog::kSingleLines; ++unit)
    lines.push_back(single + u" " + U16(std::to_string(unit)));
  lines.push_back(ReadFailureRangeText(range, first + ReadFailureLog::kSingleLines, last));
  return lines;
}

// The second half of both FATs unreadable (it maps clusters nothing uses):
// the load logs a few sectors, then the rest of the run as one range, and
// the search finds what it finds on the sound volume.
TEST(FatFastSearch, ADeadStretchOfTheFatIsLoggedAsOneRange) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  BootParameters boot;
  ASSERT_EQ(DeriveFatKind(bytes.data(), 512, boot).m_result, ParseResult::Ok);
  ASSERT_EQ(boot.m_fatCount, 2);
  FatImageEngine sound(bytes);
  sound.Engine().RunFatFastScan();
  const uint64_t held = sound.Engine().Volume().HeldFatSectors();
  ASSERT_GT(held, 2 * ReadFailureLog::kSingleLines);
  const uint64_t deadFrom = held / 2;
  const uint64_t first = boot.m_reservedSectors;
  const uint64_t fatSize = boot.m_fatSize;
  FatImageEngine image(bytes);
  SetRangeTexts(image.Services());
  image.Reader().SetFaultFilter([=](uint64_t s) {
    return (s >= first + deadFrom && s < first + held) ||
           (s >= first + fatSize + deadFrom && s < first + fatSize + held);
  });
  image.Engine().RunFatFastScan();
  EXPECT_EQ(
      ReadErrorLines(image.Services()),
      DeadRunLines(u"Error reading sector :", u"Error reading sectors :", first + deadFrom, first + held - 1))
      << image.Services().LogAsText();
  EXPECT_EQ(FoundPaths(image), FoundPaths(sound));
  EXPECT_TRUE(image.Services().LogContains(u"Process completed"));
}

// The Many folder moved to a run of clusters of its own, all but the first of
// which then cannot be read (the root keeps an entry whose folder does not
// start like one): the walk logs a few clusters, then the rest as one range
// before the next phase starts, and finds everything else as before.
TEST(FatFastSearch, ADeadStretchOfFolderClustersIsLoggedAsOneRange) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  FatImageEngine original(bytes);
  original.Engine().RunFatFastScan();
  FatVolume &volume = original.Engine().Volume();
  const size_t many = FindEntry(bytes, "MANY       ", 0x10);
  ASSERT_NE(many, std::string::npos);
  const std::vector<uint32_t> chain = volume.GetClusterChain(ReadLe16(&bytes[many + 26]));
  ASSERT_GT(chain.size(), ReadFailureLog::kSingleLines + 1);
  // mtools put the files' data between the folder's clusters; a folder
  // filled before its files' data is written lies in one run, as here.
  const uint32_t target = volume.MaxCluster() - static_cast<uint32_t>(chain.size()) - 8;
  const size_t clusterBytes = volume.ClusterBytes();
  const BootParameters boot = volume.Parameters();
  for (size_t i = 0; i < chain.size(); ++i) {
    const uint32_t cluster = target + static_cast<uint32_t>(i);
    ASSERT_FALSE(volume.IsClusterInUse(cluster)) << cluster;
    std::copy_n(bytes.begin() + volume.ClusterToSector(chain[i]) * 512, clusterBytes,
                bytes.begin() + volume.ClusterToSector(cluster) * 512);
    const uint16_t next = i + 1 < chain.size() ? static_cast<uint16_t>(cluster + 1) : 0xFFFF;
    for (uint32_t copy = 0; copy < boot.m_fatCount; ++copy)
      WriteLe16(&bytes[(boot.m_reservedSectors + copy * boot.m_fatSize) * 512 + size_t{cluster} * 2], next);
  }
  WriteLe16(&bytes[many + 26], static_cast<uint16_t>(target));
  FatImageEngine moved(bytes);
  moved.Engine().RunFatFastScan();
  ASSERT_EQ(FoundPaths(moved), FoundPaths(original));

  const uint64_t deadFirst = volume.ClusterToSector(target + 1);
  const uint64_t deadEnd = volume.ClusterToSector(target + static_cast<uint32_t>(chain.size()));
  FatImageEngine image(bytes);
  SetRangeTexts(image.Services());
  image.Reader().SetFaultFilter([=](uint64_t s) { return s >= deadFirst && s < deadEnd; });
  image.Engine().RunFatFastScan();
  const std::vector<std::u16string> expected = DeadRunLines(
      u"Error reading cluster :", u"Error reading clusters :", target + 1, target + chain.size() - 1);
  EXPECT_EQ(ReadErrorLines(image.Services()), expected) << image.Services().LogAsText();
  size_t rangeRow = 0, nextPhaseRow = 0;
  for (size_t i = 0; i < image.Services().m_log.size(); ++i) {
    const auto &row = image.Services().m_log[i];
    if (row.m_text == expected.back()) rangeRow = i;
    if (row.m_text == u"Adding deleted file(s)") nextPhaseRow = i;
  }
  EXPECT_LT(rangeRow, nextPhaseRow) << image.Services().LogAsText();
  const std::set<std::string> found = FoundPaths(image);
  EXPECT_LT(found.size(), FoundPaths(original).size()); // the files past the first cluster
  const std::set<std::string> before = FoundPaths(original);
  for (const std::string &path : before)
    EXPECT_TRUE(found.count(path) == 1 || path.rfind("/Many/", 0) == 0) << path;
  for (const std::string &path : found) EXPECT_EQ(before.count(path), 1u) << path;
}

TEST(FatFastSearch, LogsEachPhase) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat12");
  image->Engine().RunFatFastScan();
  const std::string expected = image->Services().LogAsText();
  for (const char16_t *text : {u"Loading FAT 1", u"Calculating system parameters", u"Creating directory tree",
                               u"Adding deleted file(s)", u"Completed"}) {
    bool present = false;
    for (const auto &row : image->Services().m_log)
      present = present || row.m_text == text || (row.m_activity && *row.m_activity == text);
    EXPECT_TRUE(present) << ToUtf8(text) << "\n" << expected;
  }
  EXPECT_EQ(image->Services().m_log.back().m_text, u"Process completed");
  EXPECT_EQ(*image->Services().m_log.back().m_time, u"Completed on 12:34:56");
}

// A FAT32 volume of 64 GB: a FAT of far more than 80000 sectors is read in
// batches and mapped, and the deleted file is found and read back.
TEST(FatFastSearch, AcceptsALargeFat32Volume) {
  QV_REQUIRE_FAT_FIXTURES();
  FatImageEngine image(FatFixtureDir() + "/fat32-large.img");
  image.Engine().RunFatFastScan();
  EXPECT_TRUE(image.Services().m_errorBoxes.empty());
  EXPECT_GT(image.Engine().Volume().Parameters().m_fatSize, 80000u);
  EXPECT_EQ(image.Engine().Volume().Kind(), FatKind::Fat32);
  const auto found = image.FoundByPath();
  ASSERT_EQ(found.count("/Large volume file.bin"), 1u) << image.Services().LogAsText();
  const FatManifestRow row = ReadFatManifest("fat32-large").at(0);
  EXPECT_TRUE(image.ReadBack(found.at("/Large volume file.bin")) == ReadOriginal("fat32-large", row));
}

// Chains followed in the second FAT when the first is wiped.
TEST(FatFastSearch, FollowsChainsInTheSecondFat) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  BootParameters boot;
  ASSERT_EQ(DeriveFatKind(bytes.data(), 512, boot).m_result, ParseResult::Ok);
  const size_t firstFat = size_t{boot.m_reservedSectors} * 512;
  std::fill_n(bytes.begin() + firstFat, size_t{boot.m_fatSize} * 512, 0);
  FatImageEngine wiped(bytes);
  ASSERT_TRUE(wiped.Engine().Volume().ValidateFatVolume());
  // In the wiped first FAT the Many folder is one cluster long; in the second, several.
  const size_t many = FindEntry(bytes, "MANY       ", 0x10);
  ASSERT_NE(many, std::string::npos);
  const uint32_t cluster = ReadLe16(&bytes[many + 26]);
  EXPECT_EQ(wiped.Engine().Volume().GetClusterChain(cluster).size(), 1u);
  ASSERT_TRUE(wiped.Engine().Volume().LoadFat(FatChainMode::SecondFat));
  EXPECT_GT(wiped.Engine().Volume().GetClusterChain(cluster).size(), 5u);
  EXPECT_TRUE(wiped.Services().LogContains(u"Process completed"));
}

} // namespace

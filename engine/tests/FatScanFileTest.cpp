// The FAT scan-information file: a search saved and loaded into a fresh
// engine gives the same tree, the same volume state and the same file bytes;
// the header's bytes lie where other programs look for them; damaged files
// are refused or cut cleanly with a log line.
#include "AppendSink.h"
#include "FatScanFile.h"
#include "FatTestImages.h"
#include "SignatureTestSpace.h"
#include "TestClocks.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <filesystem>
#include <fstream>

namespace {

std::string ImageFile(const std::string &name) {
  std::string file = name;
  for (char &c : file)
    if (c == '_') c = '-';
  return file;
}

std::filesystem::path TempPath(const std::string &name) {
  return std::filesystem::temp_directory_path() / ("qv-fat-scanfile-" + name + ".DAT");
}

std::u16string U16(const std::filesystem::path &path) {
  return path.u16string();
}

void WriteBytes(const std::filesystem::path &path, const std::vector<uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The tree's entry list as the application keeps it: its root first, then
// every entry the search handed out.
std::vector<ScanFileEntry> EntryList(const RecordingServices &services) {
  std::vector<ScanFileEntry> entries;
  EntryRecord root;
  root.m_attributes = kEntryAttrFolder;
  entries.push_back(ScanFileEntry{root, u"Drive"});
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries)
    entries.push_back(ScanFileEntry{entry.m_entry, entry.m_name});
  return entries;
}

// A scanned image, saved into a file.
struct SavedScan {
  std::unique_ptr<FatImageEngine> m_image;
  std::vector<ScanFileEntry> m_entries;
  std::filesystem::path m_path;
  std::vector<uint8_t> m_bytes;
};

SavedScan ScanAndSave(const std::string &image, const std::string &fileName) {
  SavedScan saved;
  saved.m_image = FatImageEngine::FromFixture(image);
  saved.m_image->Engine().RunFatFastScan();
  saved.m_entries = EntryList(saved.m_image->Services());
  if (saved.m_entries.size() > 1) saved.m_entries[1].m_record.m_checkState = 1;
  saved.m_path = TempPath(fileName);
  std::filesystem::remove(saved.m_path);
  RecordingServices &services = saved.m_image->Services();
  EXPECT_TRUE(SaveFatScanFile(saved.m_image->Engine(), services, U16(saved.m_path), saved.m_entries))
      << services.LogAsText();
  EXPECT_TRUE(services.m_scanInfoSaved);
  saved.m_bytes = ReadWholeFile(saved.m_path.string());
  return saved;
}

std::unique_ptr<FatImageEngine> LoadInto(const std::string &image, const std::filesystem::path &path,
                                         bool *loaded = nullptr) {
  auto fresh = FatImageEngine::FromFixture(image);
  const bool ok = LoadFatScanFile(fresh->Engine(), fresh->Services(), U16(path));
  if (loaded) *loaded = ok;
  return fresh;
}

void ExpectSameVolume(FatVolume &a, FatVolume &b) {
  const BootParameters &pa = a.Parameters();
  const BootParameters &pb = b.Parameters();
  EXPECT_EQ(pa.m_kind, pb.m_kind);
  EXPECT_EQ(pa.m_sectorsPerCluster, pb.m_sectorsPerCluster);
  EXPECT_EQ(pa.m_fatCount, pb.m_fatCount);
  EXPECT_EQ(pa.m_reservedSectors, pb.m_reservedSectors);
  EXPECT_EQ(pa.m_rootDirectorySectors, pb.m_rootDirectorySectors);
  EXPECT_EQ(pa.m_fatSize, pb.m_fatSize);
  EXPECT_EQ(pa.m_rootCluster, pb.m_rootCluster);
  EXPECT_EQ(pa.m_totalSectors, pb.m_totalSectors);
  EXPECT_EQ(pa.m_clusterCount, pb.m_clusterCount);
  EXPECT_EQ(a.ChainMode(), b.ChainMode());
  EXPECT_TRUE(a.Table().Bytes() == b.Table().Bytes());
  EXPECT_EQ(a.Map().MaxCluster(), b.Map().MaxCluster());
  size_t differing = 0;
  for (uint64_t cluster = 0; cluster <= uint64_t{a.MaxCluster()} + 4; ++cluster)
    if (a.IsClusterInUse(cluster) != b.IsClusterInUse(cluster)) ++differing;
  EXPECT_EQ(differing, 0u);
}

class FatScanFileImages : public ::testing::TestWithParam<const char *> {};

TEST_P(FatScanFileImages, LoadGivesBackTreeStateAndFileBytes) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::string name = ImageFile(GetParam());
  if (!std::ifstream(FatFixtureDir() + "/" + name + ".img")) GTEST_SKIP() << name << ".img not made";
  SavedScan saved = ScanAndSave(name, name);
  bool loaded = false;
  auto fresh = LoadInto(name, saved.m_path, &loaded);
  RecordingServices &services = fresh->Services();
  ASSERT_TRUE(loaded) << services.LogAsText();

  ASSERT_EQ(services.m_treeEntries.size() + 1, saved.m_entries.size());
  for (size_t i = 0; i < services.m_treeEntries.size(); ++i) {
    EXPECT_EQ(services.m_treeEntries[i].m_entry, saved.m_entries[i + 1].m_record) << i;
    EXPECT_EQ(services.m_treeEntries[i].m_name, saved.m_entries[i + 1].m_name) << i;
  }
  EXPECT_EQ(services.m_treeRootCount, 1u);
  EXPECT_EQ(services.m_treeResetCount, 1u);
  EXPECT_TRUE(services.m_scanInfoSaved);
  EXPECT_TRUE(services.m_selectionPresent);
  EXPECT_EQ(services.m_finishedFoundCount, saved.m_entries.size());
  ExpectSameVolume(saved.m_image->Engine().Volume(), fresh->Engine().Volume());

  // The totals count the root once as a folder.
  uint32_t folders = 0, files = 0;
  uint64_t bytes = 0;
  for (const ScanFileEntry &entry : saved.m_entries) {
    entry.m_record.IsFolder() ? ++folders : ++files;
    bytes += entry.m_record.m_size;
  }
  EXPECT_EQ(fresh->Engine().Totals().m_folders, folders);
  EXPECT_EQ(fresh->Engine().Totals().m_files, files);
  EXPECT_EQ(fresh->Engine().Totals().m_foundBytes, bytes);

  const auto found = fresh->FoundByPath();
  size_t checked = 0;
  for (const FatManifestRow &row : ReadFatManifest(name)) {
    if (!row.m_deleted) continue;
    const std::string path = ExpectedFoundPath(row.m_path);
    ASSERT_EQ(found.count(path), 1u) << path;
    bool complete = false;
    const std::vector<uint8_t> read = fresh->ReadBack(found.at(path), &complete);
    EXPECT_TRUE(complete) << path;
    EXPECT_TRUE(read == ReadOriginal(name, row)) << path << " differs from its original after the load";
    ++checked;
  }
  EXPECT_GT(checked, 0u);

  // Saving the loaded engine writes the same file again.
  const std::filesystem::path again = TempPath(name + "-again");
  ASSERT_TRUE(SaveFatScanFile(fresh->Engine(), services, U16(again), saved.m_entries));
  EXPECT_TRUE(ReadWholeFile(again.string()) == saved.m_bytes);
  std::filesystem::remove(again);
  std::filesystem::remove(saved.m_path);
}

INSTANTIATE_TEST_SUITE_P(Images, FatScanFileImages,
                         ::testing::Values("fat12", "fat12_one_sector", "fat12_full", "fat16",
                                           "fat16_one_fat", "fat32"),
                         [](const auto &info) { return std::string(info.param); });

// The header's fields and texts lie at fixed offsets: the open command
// recognises the file by the text at byte 48.
TEST(FatScanFileHeader, FieldsAndTextsLieAtTheirOffsets) {
  FatScanHeader header;
  header.m_driveCode = 0x81;
  header.m_sectorsPerCluster = 4;
  header.m_partitionStart = 0x11223344;
  header.m_sectors = 0x55667788;
  header.m_kind = 1;
  header.m_chainMode = 2;
  header.m_fatSize = 0x0A0B0C0D;
  header.m_rootCluster = 0x01020304;
  header.m_reservedSectors = 0x21222324;
  header.m_rootDirectorySectors = 0x31323334;
  header.m_foundEntries = 0x41424344;
  header.m_volumeSectors = 0x0102030405060708ULL;
  header.m_reservedWord = 0x51525354;
  header.m_mapSize = 0x61626364;
  uint8_t bytes[512];
  SerialiseFatScanHeader(header, bytes);
  const struct {
    size_t m_offset;
    std::vector<uint8_t> m_bytes;
  } kFields[] = {
      {0, {0x81, 0x04, 0x44, 0x33, 0x22, 0x11, 0x88, 0x77, 0x66, 0x55, 0x01, 0x02}},
      {12, {0x0D, 0x0C, 0x0B, 0x0A, 0x04, 0x03, 0x02, 0x01}},
      {20, {0x24, 0x23, 0x22, 0x21, 0x34, 0x33, 0x32, 0x31, 0x44, 0x43, 0x42, 0x41}},
      {32, {0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x54, 0x53, 0x52, 0x51, 0x64, 0x63, 0x62, 0x61}},
  };
  for (const auto &field : kFields)
    for (size_t i = 0; i < field.m_bytes.size(); ++i)
      EXPECT_EQ(bytes[field.m_offset + i], field.m_bytes[i]) << "offset " << field.m_offset + i;
  const std::string text = "Quendal Varnoth File Recovery - FAT";
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes + 48)), text);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes + 112)), text);
  for (size_t i = 48 + text.size(); i < 112; ++i) EXPECT_EQ(bytes[i], 0) << i;
  for (size_t i = 112 + text.size(); i < 512; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(DetectScanFileKind(bytes, sizeof bytes), ScanFileKind::Fat);

  FatScanHeader back;
  ASSERT_EQ(ParseFatScanHeader(bytes, sizeof bytes, back), ParseResult::Ok);
  EXPECT_EQ(back.m_volumeSectors, header.m_volumeSectors);
  EXPECT_EQ(back.m_mapSize, header.m_mapSize);
}

// Damaged files: every case ends with a clear log line and no crash; the
// header and tables are refused whole, a cut in the items keeps what came before.
TEST(FatScanFileDamage, RefusesOrCutsCleanly) {
  QV_REQUIRE_FAT_FIXTURES();
  SavedScan saved = ScanAndSave("fat16", "damage");
  const std::vector<uint8_t> &good = saved.m_bytes;
  const uint32_t fatSize = ReadLe32(good.data() + 12);
  const uint32_t mapSize = ReadLe32(good.data() + 44);
  const size_t itemsStart = 512 + size_t{fatSize} * 512 + mapSize;
  ASSERT_GT(good.size(), itemsStart + 200);

  struct Case {
    const char *m_name;
    std::function<void(std::vector<uint8_t> &)> m_damage;
    bool m_loads;
    const char16_t *m_logText;
  };
  const auto setLe32 = [](size_t offset, uint32_t value) {
    return [offset, value](std::vector<uint8_t> &bytes) { WriteLe32(bytes.data() + offset, value); };
  };
  const Case kCases[] = {
      {"empty file", [](std::vector<uint8_t> &b) { b.clear(); }, false, u"header cut short"},
      {"header cut", [](std::vector<uint8_t> &b) { b.resize(300); }, false, u"header cut short"},
      {"no signature",
       [](std::vector<uint8_t> &b) {
         b[48] = 'X';
         b[112] = 'X';
       },
       false, u"no signature"},
      {"signature damaged, marker intact", [](std::vector<uint8_t> &b) { b[50] = '?'; }, true, u""},
      {"FAT copy cut", [](std::vector<uint8_t> &b) { b.resize(512 + 100); }, false, u"FAT copy of"},
      {"map cut", [itemsStart](std::vector<uint8_t> &b) { b.resize(itemsStart - 1); }, false,
       u"cluster map of"},
      {"huge FAT size", setLe32(12, 0xFFFFFFFF), false, u"geometry"},
      {"huge map size", setLe32(44, 0xFFFFFFFF), false, u"cluster map of"},
      {"kind of another volume", [](std::vector<uint8_t> &b) { b[10] = 2; }, false,
       u"volume geometry refused"},
      {"bad chain mode", [](std::vector<uint8_t> &b) { b[11] = 7; }, false, u"chain mode"},
      {"another drive", [](std::vector<uint8_t> &b) { b[0] = 9; }, false, u"saved for drive 9"},
      {"item cut in its record", [itemsStart](std::vector<uint8_t> &b) { b.resize(itemsStart + 65 + 40); },
       true, u"cut short in its record"},
      {"item record out of range", [itemsStart](std::vector<uint8_t> &b) { b[itemsStart + 1 + 60] = 9; },
       true, u"record out of range"},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.m_name);
    std::vector<uint8_t> bytes = good;
    c.m_damage(bytes);
    const std::filesystem::path path = TempPath("damaged");
    WriteBytes(path, bytes);
    bool loaded = false;
    auto fresh = LoadInto("fat16", path, &loaded);
    RecordingServices &services = fresh->Services();
    EXPECT_EQ(loaded, c.m_loads) << services.LogAsText();
    if (*c.m_logText) {
      EXPECT_TRUE(services.LogContains(c.m_logText)) << services.LogAsText();
    }
    if (c.m_loads) {
      // A file that loads in part says so, with how much of it was read.
      const bool damaged = *c.m_logText != 0;
      EXPECT_EQ(services.LogContains(u"Process incomplete - damaged scan file"), damaged)
          << services.LogAsText();
      EXPECT_EQ(services.LogContains(u"Process completed"), !damaged) << services.LogAsText();
      ASSERT_EQ(services.m_errorBoxes.size(), damaged ? 1u : 0u);
      if (damaged) {
        const std::string box = ToUtf8(services.m_errorBoxes[0]);
        EXPECT_NE(box.find(" is damaged. Only its first "), std::string::npos) << box;
        EXPECT_NE(box.find(" of " + std::to_string(bytes.size()) + " bytes) could be read"),
                  std::string::npos)
            << box;
      }
    }
    if (!c.m_loads) {
      EXPECT_NE(services.LogAsText().find("Not a valid scan file"), std::string::npos)
          << services.LogAsText();
      ASSERT_EQ(services.m_errorBoxes.size(), 1u);
      EXPECT_EQ(services.m_errorBoxes[0], u"Not a valid scan file, to resume recovery of crashed disk");
      EXPECT_EQ(services.m_treeRootCount, 0u);
      EXPECT_FALSE(fresh->Engine().Volume().IsValid());
    }
    std::filesystem::remove(path);
  }
  std::filesystem::remove(saved.m_path);
}

TEST(FatScanFileDamage, RandomBytesAfterAGoodHeaderEndCleanly) {
  QV_REQUIRE_FAT_FIXTURES();
  SavedScan saved = ScanAndSave("fat12", "random");
  const uint32_t fatSize = ReadLe32(saved.m_bytes.data() + 12);
  const uint32_t mapSize = ReadLe32(saved.m_bytes.data() + 44);
  const size_t itemsStart = 512 + size_t{fatSize} * 512 + mapSize;
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    std::vector<uint8_t> bytes(saved.m_bytes.begin(), saved.m_bytes.begin() + itemsStart);
    const size_t extra = random() % 4000;
    for (size_t i = 0; i < extra; ++i) bytes.push_back(static_cast<uint8_t>(random()));
    const std::filesystem::path path = TempPath("random");
    WriteBytes(path, bytes);
    auto fresh = LoadInto("fat12", path);
    EXPECT_LE(fresh->Services().m_treeEntries.size(), extra / 65);
    std::filesystem::remove(path);
  }
  std::filesystem::remove(saved.m_path);
}

TEST(FatScanFileLoad, MissingFileIsReportedWithItsPath) {
  auto fresh = std::make_unique<FatImageEngine>(std::vector<uint8_t>(512 * 64, 0));
  const std::u16string path = U16(TempPath("missing"));
  EXPECT_FALSE(LoadFatScanFile(fresh->Engine(), fresh->Services(), path));
  ASSERT_EQ(fresh->Services().m_errorBoxes.size(), 1u);
  EXPECT_EQ(fresh->Services().m_errorBoxes[0], u"Error opening file " + path);
  EXPECT_TRUE(fresh->Services().LogContains(path));
}

// A damaged scan file is reported in the user's language, with the reader's
// own reason after the text.
TEST(FatScanFileLoad, DamagedFileIsReportedInTheUsersLanguage) {
  QV_REQUIRE_FAT_FIXTURES();
  SavedScan saved = ScanAndSave("fat16", "language");
  std::vector<uint8_t> bytes = saved.m_bytes;
  bytes.resize(300);
  const std::filesystem::path path = TempPath("language-damaged");
  WriteBytes(path, bytes);
  auto fresh = FatImageEngine::FromFixture("fat16");
  fresh->Services().SetText(61482, u"Fichier d'informations d'analyse endommag\u00e9 %s :");
  EXPECT_FALSE(LoadFatScanFile(fresh->Engine(), fresh->Services(), U16(path)));
  EXPECT_TRUE(fresh->Services().LogContains(u"Fichier d'informations d'analyse endommag\u00e9 " + U16(path) +
                                            u" : header cut short"))
      << fresh->Services().LogAsText();
  std::filesystem::remove(path);
  std::filesystem::remove(saved.m_path);
}

// A failed write never counts as saved and leaves the file that was there.
TEST(FatScanFileSave, FailedWriteKeepsTheOldFileAndStaysUnsaved) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat12");
  image->Engine().RunFatFastScan();
  const std::filesystem::path path = TempPath("write-failure");
  const std::vector<uint8_t> old{'o', 'l', 'd'};
  WriteBytes(path, old);
  for (uint64_t failAfter : {uint64_t{0}, uint64_t{100}, uint64_t{5000}}) {
    SCOPED_TRACE(failAfter);
    RecordingServices &services = image->Services();
    services.m_errorBoxes.clear();
    services.m_scanInfoSaved = false;
    EXPECT_FALSE(
        SaveFatScanFileFailingAfter(image->Engine(), services, U16(path), EntryList(services), failAfter));
    EXPECT_FALSE(services.m_scanInfoSaved);
    ASSERT_EQ(services.m_errorBoxes.size(), 1u);
    EXPECT_EQ(services.m_errorBoxes[0], u"Unable to open file, cannot save scan information.");
    EXPECT_TRUE(ReadWholeFile(path.string()) == old);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));
  }
  // A save that succeeds replaces the old file and leaves nothing beside it.
  RecordingServices &services = image->Services();
  ASSERT_TRUE(SaveFatScanFile(image->Engine(), services, U16(path), EntryList(services)));
  EXPECT_TRUE(services.m_scanInfoSaved);
  const std::vector<uint8_t> saved = ReadWholeFile(path.string());
  ASSERT_GT(saved.size(), 512u);
  EXPECT_EQ(DetectScanFileKind(saved.data(), saved.size()), ScanFileKind::Fat);
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".old"));
  std::filesystem::remove(path);
}

TEST(FatScanFileSave, UnwritablePlaceShowsTheMessageAndLogsNothing) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat12");
  image->Engine().RunFatFastScan();
  RecordingServices &services = image->Services();
  const size_t logRows = services.m_log.size();
  const std::filesystem::path path = TempPath("no-such-folder") / "scan.DAT";
  EXPECT_FALSE(SaveFatScanFile(image->Engine(), services, U16(path), EntryList(services)));
  EXPECT_FALSE(services.m_scanInfoSaved);
  EXPECT_EQ(services.m_errorBoxes.size(), 1u);
  EXPECT_EQ(services.m_log.size(), logRows);
}

// Names keep up to 255 units; longer ones are cut there, never wrapped to their length modulo 256.
TEST(FatScanFileNames, LongNamesAreCutAt255Units) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat12");
  image->Engine().RunFatFastScan();
  std::vector<ScanFileEntry> entries = EntryList(image->Services());
  ASSERT_GT(entries.size(), 3u);
  const std::u16string longName(300, u'n');
  entries[1].m_name = longName;
  entries[2].m_name = std::u16string(255, u'm');
  entries[3].m_name = std::u16string(256, u'k');
  const std::filesystem::path path = TempPath("names");
  ASSERT_TRUE(SaveFatScanFile(image->Engine(), image->Services(), U16(path), entries));
  bool loaded = false;
  auto fresh = LoadInto("fat12", path, &loaded);
  ASSERT_TRUE(loaded);
  const auto &tree = fresh->Services().m_treeEntries;
  ASSERT_EQ(tree.size() + 1, entries.size());
  EXPECT_EQ(tree[0].m_name, longName.substr(0, 255));
  EXPECT_EQ(tree[1].m_name, std::u16string(255, u'm'));
  EXPECT_EQ(tree[2].m_name, std::u16string(255, u'k'));
  EXPECT_EQ(tree[3].m_name, entries[4].m_name);
  std::filesystem::remove(path);
}

// A search with no entries saves the header, tables and root; the load
// makes the root only.
TEST(FatScanFileLoad, RootOnlyFileMakesTheRootAndCountsItAsAFolder) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat12");
  image->Engine().RunFatFastScan();
  std::vector<ScanFileEntry> entries = EntryList(image->Services());
  entries.resize(1);
  const std::filesystem::path path = TempPath("root-only");
  ASSERT_TRUE(SaveFatScanFile(image->Engine(), image->Services(), U16(path), entries));
  bool loaded = false;
  auto fresh = LoadInto("fat12", path, &loaded);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(fresh->Services().m_treeRootCount, 1u);
  EXPECT_TRUE(fresh->Services().m_treeEntries.empty());
  EXPECT_EQ(fresh->Engine().Totals().m_folders, 1u);
  EXPECT_EQ(fresh->Engine().Totals().m_foundEntries, 1u);
  EXPECT_FALSE(fresh->Services().m_selectionPresent);
  std::filesystem::remove(path);
}

// A load pumps by the engine's clock, not once per item: with a clock that
// never moves only the pump before the header comes; with one that moves an
// interval at every look each item pumps, and a stop during the items ends
// the load short of them, logged as aborted. The tree is the same either way.
TEST(FatScanFileLoad, PumpsAtThePaceOfTheEnginesClock) {
  QV_REQUIRE_FAT_FIXTURES();
  SavedScan saved = ScanAndSave("fat16", "paced");
  auto load = [&saved](WorkPacer::Clock clock, size_t stopAfterPumps) {
    auto fresh = FatImageEngine::FromFixture("fat16", std::move(clock));
    fresh->Services().StopAfterPumps(stopAfterPumps);
    EXPECT_TRUE(LoadFatScanFile(fresh->Engine(), fresh->Services(), U16(saved.m_path)));
    return fresh;
  };
  const size_t items = saved.m_entries.size();
  ASSERT_GT(items, 20u);
  auto frozen = load(FrozenClock(), 0);
  auto stepping = load(SteppingClock(), 0);
  EXPECT_EQ(frozen->Services().m_pumpCount, 1u);
  EXPECT_GE(stepping->Services().m_pumpCount, items);
  ASSERT_EQ(frozen->Services().m_treeEntries.size(), items - 1);
  ASSERT_EQ(stepping->Services().m_treeEntries.size(), items - 1);
  for (size_t i = 0; i + 1 < items; ++i)
    EXPECT_EQ(frozen->Services().m_treeEntries[i].m_entry, stepping->Services().m_treeEntries[i].m_entry)
        << i;

  auto stopped = load(SteppingClock(), 10);
  EXPECT_LT(stopped->Services().m_treeEntries.size(), items - 1);
  EXPECT_EQ(stopped->Services().m_log.back().m_text, u"Process aborted - user intervention")
      << stopped->Services().LogAsText();
  std::filesystem::remove(saved.m_path);
}

// Files an advanced search found by their signatures read back after a load
// exactly as the search measured them.
TEST(FatScanFileLoad, SignatureHitsReadBackAsTheSearchMeasuredThem) {
  const char *dir = std::getenv("QV_FIXTURES");
  if (!dir) GTEST_SKIP() << "QV_FIXTURES not set: the signature images are not made";
  const std::vector<uint8_t> image = ReadWholeFile(std::string(dir) + "/signature/sig-fat.img");
  if (image.empty()) GTEST_SKIP() << "sig-fat.img not made";
  FatImageEngine run(image);
  run.Services().SetText(SignatureText::kRawDataFolder, u"Raw Data Folder");
  run.Services().m_selectedHeaders = {
      MakeHeader(u"JPG", kJpegStart, 10 << 20), MakeHeader(u"PDF", kPdfStart, 10 << 20),
      MakeHeader(u"ZIP", kZipStart, 10 << 20), MakeHeader(u"BMP", kBmpStart, 10 << 20)};
  run.Engine().RunFatAdvancedScan();
  ASSERT_FALSE(run.Engine().SignatureHits().empty());
  const std::filesystem::path path = TempPath("signature");
  ASSERT_TRUE(SaveFatScanFile(run.Engine(), run.Services(), U16(path), EntryList(run.Services())));
  FatImageEngine loaded(image);
  ASSERT_TRUE(LoadFatScanFile(loaded.Engine(), loaded.Services(), U16(path)))
      << loaded.Services().LogAsText();
  EXPECT_EQ(loaded.Engine().SignatureHits().size(), run.Engine().SignatureHits().size());
  size_t compared = 0;
  for (const auto &[entryPath, entry] : run.FoundByPath()) {
    if (entry.IsFolder()) continue;
    EXPECT_TRUE(loaded.ReadBack(entry) == run.ReadBack(entry)) << entryPath;
    ++compared;
  }
  EXPECT_GT(compared, 3u);
  std::filesystem::remove(path);
}

// A whole disk held in memory, on the first disk's drive code, with noise
// that no signature matches and chosen signatures at chosen sectors.
class DiskImage {
public:
  explicit DiskImage(std::vector<uint8_t> bytes, uint8_t drive = 128)
      : m_io(m_layer, nullptr, false), m_reader(m_io, drive, 0), m_sectors(bytes.size() / 512) {
    m_layer.Attach(drive, std::make_unique<MemoryDevice>(std::move(bytes)));
    m_scan = std::make_unique<PhysicalDiskScan>(m_services, m_reader, m_sectors, false);
  }
  static std::vector<uint8_t> Noise(uint64_t sectors) {
    std::vector<uint8_t> bytes(sectors * 512);
    std::mt19937 random(11);
    for (uint8_t &byte : bytes) byte = static_cast<uint8_t>(random() % 200 + 1);
    return bytes;
  }
  PhysicalDiskScan &Scan() { return *m_scan; }
  RecordingServices &Services() { return m_services; }
  std::vector<uint8_t> ReadBack(const EntryRecord &entry, bool &complete) {
    std::vector<uint8_t> bytes;
    complete = m_scan->ReadFoundFile(entry, AppendTo(bytes));
    return bytes;
  }

private:
  RecordingServices m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  uint64_t m_sectors;
  std::unique_ptr<PhysicalDiskScan> m_scan;
};

void Put(std::vector<uint8_t> &disk, uint64_t sector, const std::vector<uint8_t> &bytes) {
  std::copy(bytes.begin(), bytes.end(), disk.begin() + static_cast<std::ptrdiff_t>(sector * 512));
}

// A disk scan is kept with a one-sector FAT and no map; loaded into a fresh
// scan it lists the same tree, and its hits read back byte for byte.
TEST(FatScanFilePhysicalDisk, HitsReadBackByteForByteAfterALoad) {
  std::vector<uint8_t> disk = DiskImage::Noise(3000);
  Put(disk, 100, kJpegStart);
  Put(disk, 104, kPdfStart);  // ends the photo's growth after four sectors
  Put(disk, 2999, kZipStart); // the very last sector
  DiskImage scanned(disk);
  scanned.Services().m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 64 * 1024),
                                          MakeHeader(u"PDF", kPdfStart, 0),
                                          MakeHeader(u"ZIP", kZipStart, 64 * 1024)};
  scanned.Scan().RunPhysicalDiskScan();
  const std::vector<ScanFileEntry> entries = EntryList(scanned.Services());
  ASSERT_EQ(entries.size(), 7u); // the root, three type folders, three hits
  const std::filesystem::path path = TempPath("disk");
  ASSERT_TRUE(SavePhysicalDiskScanFile(scanned.Scan(), scanned.Services(), U16(path), entries))
      << scanned.Services().LogAsText();

  const std::vector<uint8_t> saved = ReadWholeFile(path.string());
  ASSERT_GE(saved.size(), 1024u);
  FatScanHeader header;
  ASSERT_EQ(ParseFatScanHeader(saved.data(), saved.size(), header), ParseResult::Ok);
  EXPECT_TRUE(IsPhysicalDiskScanHeader(header));
  EXPECT_EQ(header.m_driveCode, 128u);
  EXPECT_EQ(header.m_sectorsPerCluster, 1u);
  EXPECT_EQ(header.m_partitionStart, 0u);
  EXPECT_EQ(header.m_sectors, 3000u);
  EXPECT_EQ(header.m_volumeSectors, 3000u);
  EXPECT_EQ(header.m_fatSize, 1u);
  EXPECT_EQ(header.m_mapSize, 0u);
  EXPECT_TRUE(std::all_of(saved.begin() + 512, saved.begin() + 1024, [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(saved[1024], 5u); // the root item's name length right after the FAT sector ("Drive")

  DiskImage loaded(disk);
  ASSERT_TRUE(LoadPhysicalDiskScanFile(loaded.Scan(), loaded.Services(), U16(path)))
      << loaded.Services().LogAsText();
  ASSERT_EQ(loaded.Services().m_treeEntries.size(), scanned.Services().m_treeEntries.size());
  EXPECT_EQ(loaded.Scan().FoundCount(), scanned.Scan().FoundCount());
  size_t compared = 0;
  for (size_t i = 0; i < scanned.Services().m_treeEntries.size(); ++i) {
    const RecordingServices::TreeEntry &was = scanned.Services().m_treeEntries[i];
    const RecordingServices::TreeEntry &is = loaded.Services().m_treeEntries[i];
    EXPECT_TRUE(is.m_name == was.m_name) << i;
    EXPECT_EQ(is.m_entry.m_ownId, was.m_entry.m_ownId) << i;
    if (was.m_entry.IsFolder()) continue;
    bool before = false, after = false;
    const std::vector<uint8_t> expected = scanned.ReadBack(was.m_entry, before);
    const std::vector<uint8_t> back = loaded.ReadBack(is.m_entry, after);
    ASSERT_TRUE(before && after) << ToUtf8(was.m_name);
    ASSERT_EQ(back.size(), was.m_entry.m_size) << ToUtf8(was.m_name);
    EXPECT_TRUE(back == expected) << ToUtf8(was.m_name);
    const uint64_t sector = was.m_entry.m_firstCluster;
    EXPECT_TRUE(
        std::equal(back.begin(), back.end(), disk.begin() + static_cast<std::ptrdiff_t>(sector * 512)))
        << ToUtf8(was.m_name);
    ++compared;
  }
  EXPECT_EQ(compared, 3u);
  std::filesystem::remove(path);
}

// A disk of more than 2^32 sectors, as a sparse image file: a hit at sector
// 2^32 + 5 keeps its whole sector number in its record, in the scan file and
// after a load, and its bytes are read from there (not from sector 5).
TEST(FatScanFilePhysicalDisk, AHitPast2To32SectorsKeepsItsSector) {
  static constexpr uint64_t kHit = (uint64_t{1} << 32) + 5;
  static constexpr uint64_t kSectors = (uint64_t{1} << 32) + 64;
  const std::filesystem::path image = TempPath("sparse-disk.img");
  {
    // Sector 0 holds what a read cut to 32 bits would find; the file ends
    // with one byte written at the disk's end, the rest is a hole.
    std::ofstream out(image, std::ios::binary);
    out << std::string(512, 'z');
    out.seekp(static_cast<std::streamoff>(kSectors * 512 - 1));
    out.put('\0');
    ASSERT_TRUE(out.good());
  }
  ASSERT_EQ(std::filesystem::file_size(image), kSectors * 512);
  {
    std::fstream out(image, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(kHit * 512));
    out.write(reinterpret_cast<const char *>(kJpegStart.data()),
              static_cast<std::streamsize>(kJpegStart.size()));
    out.seekp(static_cast<std::streamoff>(5 * 512));
    out << "sector five";
  }
  struct SparseDisk {
    SparseDisk(const std::filesystem::path &path) : m_io(m_layer, nullptr, false), m_reader(m_io, 128, 0) {
      m_opened = m_layer.AttachFile(128, path.string());
      m_scan = std::make_unique<PhysicalDiskScan>(m_services, m_reader, kSectors, false);
      m_scan->SetFirstSector(kSectors - 64);
    }
    RecordingServices m_services;
    ImageDeviceLayer m_layer;
    SectorIo m_io;
    SectorReader m_reader;
    bool m_opened = false;
    std::unique_ptr<PhysicalDiskScan> m_scan;
  };
  auto scannedDisk = std::make_unique<SparseDisk>(image);
  SparseDisk &scanned = *scannedDisk;
  ASSERT_TRUE(scanned.m_opened);
  scanned.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 2048)};
  scanned.m_scan->RunPhysicalDiskScan();
  ASSERT_EQ(scanned.m_services.m_treeEntries.size(), 2u) << scanned.m_services.LogAsText();
  const RecordingServices::TreeEntry &hit = scanned.m_services.m_treeEntries[1];
  EXPECT_TRUE(hit.m_name == u"4294967301.JPG") << ToUtf8(hit.m_name);
  EXPECT_EQ(hit.m_entry.FirstCluster(), kHit);

  const std::filesystem::path file = TempPath("sparse-disk");
  ASSERT_TRUE(SavePhysicalDiskScanFile(*scanned.m_scan, scanned.m_services, U16(file),
                                       EntryList(scanned.m_services)));
  const std::vector<uint8_t> saved = ReadWholeFile(file.string());
  FatScanHeader header;
  ASSERT_EQ(ParseFatScanHeader(saved.data(), saved.size(), header), ParseResult::Ok);
  EXPECT_EQ(header.m_volumeSectors, kSectors);

  auto loadedDisk = std::make_unique<SparseDisk>(image);
  SparseDisk &loaded = *loadedDisk;
  ASSERT_TRUE(LoadPhysicalDiskScanFile(*loaded.m_scan, loaded.m_services, U16(file)))
      << loaded.m_services.LogAsText();
  ASSERT_EQ(loaded.m_services.m_treeEntries.size(), 2u);
  const EntryRecord &back = loaded.m_services.m_treeEntries[1].m_entry;
  EXPECT_EQ(back.FirstCluster(), kHit);
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(loaded.m_scan->ReadFoundFile(back, AppendTo(bytes)));
  ASSERT_EQ(bytes.size(), 2048u);
  EXPECT_TRUE(std::equal(kJpegStart.begin(), kJpegStart.end(), bytes.begin()));
  // The devices hold the image open until they go.
  scannedDisk.reset();
  loadedDisk.reset();
  std::filesystem::remove(file);
  std::filesystem::remove(image);
}

// Files written before the record kept a first cluster's high bits may hold
// anything in those three bytes: where they disagree with the hit's name,
// the low word alone names the hit, which is then read as before.
TEST(FatScanFilePhysicalDisk, OlderFilesWithStrayHighBytesStillReadTheirHits) {
  std::vector<uint8_t> disk = DiskImage::Noise(400);
  Put(disk, 300, kJpegStart);
  DiskImage scanned(disk);
  scanned.Services().m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  scanned.Scan().RunPhysicalDiskScan();
  const std::filesystem::path path = TempPath("disk-stray-high-bytes");
  ASSERT_TRUE(
      SavePhysicalDiskScanFile(scanned.Scan(), scanned.Services(), U16(path), EntryList(scanned.Services())));
  std::vector<uint8_t> saved = ReadWholeFile(path.string());
  // Items after the header and the one-sector FAT: the root, "JPG", the hit.
  size_t item = 1024;
  for (int skip = 0; skip < 2; ++skip) item += 1 + 64 + 2 * size_t{saved.at(item)};
  ASSERT_EQ(ReadLe32(&saved.at(item + 1 + 24)), 300u);
  for (size_t b = 33; b < 36; ++b) saved[item + 1 + b] = 0xA5;
  WriteBytes(path, saved);

  DiskImage loaded(disk);
  ASSERT_TRUE(LoadPhysicalDiskScanFile(loaded.Scan(), loaded.Services(), U16(path)));
  ASSERT_EQ(loaded.Services().m_treeEntries.size(), 2u);
  bool complete = false;
  const std::vector<uint8_t> back = loaded.ReadBack(loaded.Services().m_treeEntries[1].m_entry, complete);
  EXPECT_TRUE(complete);
  ASSERT_EQ(back.size(), 512u);
  EXPECT_TRUE(std::equal(back.begin(), back.end(), disk.begin() + 300 * 512));
  std::filesystem::remove(path);
}

// A disk's file and a volume's file are each refused by the other's reader,
// and a disk's file by a scan of another disk, leaving nothing listed.
TEST(FatScanFilePhysicalDisk, WrongReaderOrDiskIsRefused) {
  std::vector<uint8_t> disk = DiskImage::Noise(200);
  Put(disk, 50, kJpegStart);
  DiskImage scanned(disk);
  scanned.Services().m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  scanned.Scan().RunPhysicalDiskScan();
  const std::filesystem::path diskFile = TempPath("disk-refused");
  ASSERT_TRUE(SavePhysicalDiskScanFile(scanned.Scan(), scanned.Services(), U16(diskFile),
                                       EntryList(scanned.Services())));

  FatScanHeader volume;
  volume.m_driveCode = 128; // a volume on the first disk, read from its start
  volume.m_sectorsPerCluster = 1;
  volume.m_kind = 0;
  volume.m_fatSize = 1;
  volume.m_reservedSectors = 1;
  volume.m_rootDirectorySectors = 1;
  volume.m_volumeSectors = 200;
  std::vector<uint8_t> volumeFile(kScanHeaderSize + 512, 0);
  SerialiseFatScanHeader(volume, volumeFile.data());
  EXPECT_FALSE(IsPhysicalDiskScanHeader(volume));

  {
    FatImageEngine fat(std::vector<uint8_t>(200 * 512, 0));
    EXPECT_FALSE(LoadFatScanFile(fat.Engine(), fat.Services(), U16(diskFile)));
    EXPECT_TRUE(fat.Services().LogContains(u"a physical-disk scan")) << fat.Services().LogAsText();
    EXPECT_TRUE(fat.Services().m_treeEntries.empty());
  }
  {
    DiskImage other(disk, 129);
    EXPECT_FALSE(LoadPhysicalDiskScanFile(other.Scan(), other.Services(), U16(diskFile)));
    EXPECT_TRUE(other.Services().m_treeEntries.empty());
  }
  {
    DiskImage same(disk);
    MemoryScanFileSource source(volumeFile.data(), volumeFile.size());
    EXPECT_FALSE(LoadPhysicalDiskScanData(same.Scan(), same.Services(), source, u"volume.DAT"));
    EXPECT_TRUE(same.Services().LogContains(u"a volume's scan")) << same.Services().LogAsText();
    EXPECT_TRUE(same.Services().m_treeEntries.empty());
  }
  std::filesystem::remove(diskFile);
}

// A disk image file of the volume at startSector, the rest a hole; sector
// 2048 holds noise, where a start cut to 32 bits would read.
std::filesystem::path SparseDiskWith(const std::vector<uint8_t> &volume, uint64_t startSector,
                                     const std::string &name) {
  const std::filesystem::path disk =
      std::filesystem::temp_directory_path() / ("qv-fat-scanfile-" + name + ".img");
  std::ofstream out(disk, std::ios::binary | std::ios::trunc);
  out.seekp(2048 * 512);
  out << std::string(512, 'z');
  out.seekp(static_cast<std::streamoff>(startSector * 512));
  out.write(reinterpret_cast<const char *>(volume.data()), static_cast<std::streamsize>(volume.size()));
  EXPECT_TRUE(out.good());
  return disk;
}

constexpr uint64_t kFarStart = (uint64_t{1} << 32) + 2048;
constexpr uint8_t kFarDisk = 0x80;

// A volume that starts past 2 TiB on its disk: the scan file keeps its whole
// start (the high word at byte 240), a load bound where the header says
// reads the deleted files from there, and a drive too small for the volume
// the header describes is refused before anything is restored.
TEST(FatScanFileFarVolume, AVolumePast2TiBKeepsItsStartThroughSaveAndLoad) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::vector<uint8_t> volume = ReadWholeFile(FatFixtureDir() + "/fat16.img");
  if (volume.empty()) GTEST_SKIP() << "fat16.img not made";
  const uint64_t sectors = volume.size() / 512;
  const std::filesystem::path disk = SparseDiskWith(volume, kFarStart, "far-fat16");
  const std::filesystem::path file = TempPath("far-fat16");
  {
    FatImageEngine scanned(disk.string(), kFarDisk, kFarStart, sectors);
    scanned.Engine().RunFatFastScan();
    ASSERT_GT(scanned.Services().m_treeEntries.size(), 0u) << scanned.Services().LogAsText();
    ASSERT_TRUE(
        SaveFatScanFile(scanned.Engine(), scanned.Services(), U16(file), EntryList(scanned.Services())))
        << scanned.Services().LogAsText();
  }
  const std::vector<uint8_t> saved = ReadWholeFile(file.string());
  ASSERT_GE(saved.size(), 512u);
  EXPECT_EQ(ReadLe32(saved.data() + 2), 2048u) << "the low word where every reader looks";
  EXPECT_EQ(ReadLe32(saved.data() + 240), 1u) << "the high word";
  FatScanHeader header;
  ASSERT_EQ(ParseFatScanHeader(saved.data(), saved.size(), header), ParseResult::Ok);
  ASSERT_EQ(header.m_partitionStart, kFarStart);

  {
    FatImageEngine loaded(disk.string(), header.m_driveCode, header.m_partitionStart, header.m_volumeSectors);
    ASSERT_TRUE(LoadFatScanFile(loaded.Engine(), loaded.Services(), U16(file)))
        << loaded.Services().LogAsText();
    const auto found = loaded.FoundByPath();
    size_t checked = 0;
    for (const FatManifestRow &row : ReadFatManifest("fat16")) {
      if (!row.m_deleted) continue;
      const std::string path = ExpectedFoundPath(row.m_path);
      ASSERT_EQ(found.count(path), 1u) << path;
      bool complete = false;
      EXPECT_TRUE(loaded.ReadBack(found.at(path), &complete) == ReadOriginal("fat16", row)) << path;
      EXPECT_TRUE(complete) << path;
      ++checked;
    }
    EXPECT_GT(checked, 0u);
  }

  // The same file on a disk that ends before the volume would.
  auto shortDisk =
      std::make_unique<FatImageEngine>(FatFixtureDir() + "/fat16.img", kFarDisk, kFarStart, sectors);
  RecordingServices &services = shortDisk->Services();
  EXPECT_FALSE(LoadFatScanFile(shortDisk->Engine(), services, U16(file)));
  EXPECT_NE(services.LogAsText().find("does not fit drive 128"), std::string::npos) << services.LogAsText();
  EXPECT_TRUE(services.m_treeEntries.empty());
  EXPECT_EQ(services.m_treeRootCount, 0u);
  shortDisk.reset();
  std::filesystem::remove(file);
  std::filesystem::remove(disk);
}

// Files of volumes that end past 2^32 sectors of their disk keep their start
// whole; older files, whose tail is zero, read as before.
TEST(FatScanFileHeader, ThePartitionStartsHighWordLiesInTheZeroTail) {
  FatScanHeader header;
  header.m_partitionStart = 0x0000000512345678ULL;
  uint8_t bytes[512];
  SerialiseFatScanHeader(header, bytes);
  EXPECT_EQ(ReadLe32(bytes + 2), 0x12345678u);
  EXPECT_EQ(ReadLe32(bytes + 240), 5u);
  for (size_t i = 244; i < 512; ++i) EXPECT_EQ(bytes[i], 0) << i;
  FatScanHeader back;
  ASSERT_EQ(ParseFatScanHeader(bytes, sizeof bytes, back), ParseResult::Ok);
  EXPECT_EQ(back.m_partitionStart, header.m_partitionStart);
  WriteLe32(bytes + 240, 0);
  ASSERT_EQ(ParseFatScanHeader(bytes, sizeof bytes, back), ParseResult::Ok);
  EXPECT_EQ(back.m_partitionStart, 0x12345678u);
}

} // namespace

// The NTFS scan-information file: a search saved and loaded into a fresh
// engine gives the same tree and $MFT runs, and found files read back byte
// for byte through the loaded runs; the header's bytes lie where other
// programs look for them; damaged files are refused or cut cleanly.
#include "AppendSink.h"
#include "ImageDevices.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsFileReader.h"
#include "NtfsScanFile.h"
#include "NtfsTestImages.h"
#include "RecordingServices.h"
#include "SignatureTestSpace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>

namespace {

constexpr uint8_t kDrive = 2;

void WriteBytes(const std::filesystem::path &path, const std::vector<uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path TempPath(const std::string &name) {
  return std::filesystem::temp_directory_path() / ("qv-ntfs-scanfile-" + name + ".DAT");
}

// An engine over one image held in memory, recording what it hands out.
class NtfsImageEngine {
public:
  explicit NtfsImageEngine(std::vector<uint8_t> bytes)
      : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive) {
    const uint64_t sectors = bytes.size() / kSectorSize;
    m_layer.Attach(kDrive, std::make_unique<MemoryDevice>(std::move(bytes)));
    m_engine = std::make_unique<NtfsScanEngine>(m_services, m_reader, sectors);
  }
  // A volume of sectors at startSector of a disk image file, read in place
  // as drive code driveCode.
  NtfsImageEngine(const std::string &path, uint8_t driveCode, uint64_t startSector, uint64_t sectors)
      : m_io(m_layer, nullptr, false), m_reader(m_io, driveCode, startSector) {
    m_layer.AttachFile(driveCode, path);
    m_engine = std::make_unique<NtfsScanEngine>(m_services, m_reader, sectors);
  }
  NtfsScanEngine &Engine() { return *m_engine; }
  RecordingServices &Services() { return m_services; }

  std::vector<uint8_t> ReadBack(uint32_t record, bool &complete) {
    std::vector<uint8_t> bytes;
    complete = ReadNtfsFile(m_engine->Volume(), record, AppendTo(bytes));
    return bytes;
  }

private:
  RecordingServices m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  std::unique_ptr<NtfsScanEngine> m_engine;
};

std::vector<ScanFileEntry> EntryList(const RecordingServices &services) {
  std::vector<ScanFileEntry> entries;
  EntryRecord root;
  root.m_attributes = kEntryAttrFolder;
  root.m_ownId = kNtfsRootRecord;
  root.m_firstCluster = kNtfsRootRecord;
  entries.push_back(ScanFileEntry{root, u"Drive"});
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries)
    entries.push_back(ScanFileEntry{entry.m_entry, entry.m_name});
  return entries;
}

class NtfsScanFileTest : public NtfsFixtureImageTest {
protected:
  void SetUp() override {
    NtfsFixtureImageTest::SetUp();
    if (IsSkipped()) return;
    m_image = ReadFileBytes(m_base + ".img");
  }

  std::unique_ptr<NtfsImageEngine> Fresh() { return std::make_unique<NtfsImageEngine>(m_image); }

  // Scans the image and saves the result into the named file.
  std::unique_ptr<NtfsImageEngine> ScanAndSave(const std::filesystem::path &path) {
    auto scanned = Fresh();
    scanned->Engine().RunNtfsFastScan();
    m_entries = EntryList(scanned->Services());
    if (m_entries.size() > 2) m_entries[2].m_record.m_checkState = 1;
    EXPECT_TRUE(SaveNtfsScanFile(scanned->Engine(), scanned->Services(), path.u16string(), m_entries))
        << scanned->Services().LogAsText();
    EXPECT_TRUE(scanned->Services().m_scanInfoSaved);
    m_saved = ReadFileBytes(path.string());
    return scanned;
  }

  std::vector<uint8_t> m_image;
  std::vector<ScanFileEntry> m_entries;
  std::vector<uint8_t> m_saved;
};

TEST_P(NtfsScanFileTest, LoadGivesBackTreeRunsAndFileBytes) {
  const std::filesystem::path path = TempPath(GetParam());
  auto scanned = ScanAndSave(path);
  auto loaded = Fresh();
  RecordingServices &services = loaded->Services();
  ASSERT_TRUE(LoadNtfsScanFile(loaded->Engine(), services, path.u16string())) << services.LogAsText();

  ASSERT_EQ(services.m_treeEntries.size() + 1, m_entries.size());
  for (size_t i = 0; i < services.m_treeEntries.size(); ++i) {
    EXPECT_EQ(services.m_treeEntries[i].m_entry, m_entries[i + 1].m_record) << i;
    EXPECT_EQ(services.m_treeEntries[i].m_name, m_entries[i + 1].m_name) << i;
  }
  EXPECT_EQ(services.m_treeRootCount, 1u);
  EXPECT_EQ(services.m_treeResetCount, 1u);
  EXPECT_TRUE(services.m_scanInfoSaved);
  EXPECT_TRUE(services.m_selectionPresent);
  EXPECT_EQ(loaded->Engine().FoundCount(), m_entries.size());

  const auto &runsBefore = scanned->Engine().Volume().MftRuns();
  const auto &runsAfter = loaded->Engine().Volume().MftRuns();
  ASSERT_EQ(runsBefore.size(), runsAfter.size());
  for (size_t i = 0; i < runsBefore.size(); ++i) {
    EXPECT_EQ(runsBefore[i].m_vcn, runsAfter[i].m_vcn) << i;
    EXPECT_EQ(runsBefore[i].m_clusters, runsAfter[i].m_clusters) << i;
    EXPECT_EQ(runsBefore[i].m_lcn, runsAfter[i].m_lcn) << i;
    EXPECT_EQ(runsBefore[i].m_sparse, runsAfter[i].m_sparse) << i;
  }

  size_t read = 0;
  // The rows whose bytes can be read back: deleted files and the live one.
  for (const NtfsManifestRow &row : ReadNtfsManifest(m_base + ".manifest")) {
    if (row.m_kind != "deleted-file" && row.m_kind != "live-read") continue;
    bool complete = false;
    const std::vector<uint8_t> bytes = loaded->ReadBack(row.m_record, complete);
    EXPECT_TRUE(complete) << row.m_original;
    EXPECT_TRUE(bytes == ReadFileBytes(m_base + ".orig/" + row.m_original))
        << row.m_original << " differs after the load";
    ++read;
  }
  EXPECT_GT(read, 5u);

  // Saving after a load writes back the same file.
  const std::filesystem::path again = TempPath(std::string(GetParam()) + "-again");
  ASSERT_TRUE(SaveNtfsScanFile(loaded->Engine(), services, again.u16string(), m_entries));
  EXPECT_TRUE(ReadFileBytes(again.string()) == m_saved);
  std::filesystem::remove(again);
  std::filesystem::remove(path);
}

TEST_P(NtfsScanFileTest, DamagedFilesAreRefusedOrCutCleanly) {
  const std::filesystem::path path = TempPath(std::string(GetParam()) + "-damage");
  ScanAndSave(path);
  const std::vector<uint8_t> good = m_saved;
  const uint32_t runBytes = ReadLe32(good.data() + 31);
  const size_t itemsStart = 512 + runBytes + ReadLe32(good.data() + 39);
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
      {"header cut", [](std::vector<uint8_t> &b) { b.resize(511); }, false, u"header cut short"},
      {"no signature",
       [](std::vector<uint8_t> &b) {
         b[51] = 'X';
         b[115] = 'X';
       },
       false, u"no signature"},
      {"signature damaged, marker intact", [](std::vector<uint8_t> &b) { b[60] = '?'; }, true, u""},
      {"run bytes not 16 per run", setLe32(31, runBytes + 1), false, u"run bytes"},
      {"huge run count",
       [](std::vector<uint8_t> &b) {
         WriteLe32(b.data() + 27, 0x10000000);
         WriteLe32(b.data() + 31, 0);
       },
       false, u"run bytes"},
      {"runs past the end",
       [](std::vector<uint8_t> &b) {
         WriteLe32(b.data() + 27, 0x0FFFFFFF);
         WriteLe32(b.data() + 31, 0xFFFFFFF0);
       },
       false, u"run array of"},
      {"huge map", setLe32(39, 0xFFFFFFFF), false, u"cluster map of"},
      {"map past the end", setLe32(39, 100), true, u""},
      {"zero cluster size",
       [](std::vector<uint8_t> &b) {
         b[1] = 0;
         b[2] = 0;
       },
       false, u"sectors per cluster"},
      {"run with a bad mark", [](std::vector<uint8_t> &b) { b[512 + 13] = 'Q'; }, false, u"run entry 0"},
      {"another drive", [](std::vector<uint8_t> &b) { b[0] = 7; }, false, u"saved for drive 7"},
      {"item cut in its name",
       [itemsStart](std::vector<uint8_t> &b) {
         b.resize(itemsStart + 65 + 1);
         b[itemsStart] = 9;
       },
       true, u"cut short in its name"},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.m_name);
    std::vector<uint8_t> bytes = good;
    c.m_damage(bytes);
    const std::filesystem::path damaged = TempPath("damaged");
    WriteBytes(damaged, bytes);
    auto loaded = Fresh();
    RecordingServices &services = loaded->Services();
    const bool ok = LoadNtfsScanFile(loaded->Engine(), services, damaged.u16string());
    EXPECT_EQ(ok, c.m_loads) << services.LogAsText();
    if (*c.m_logText) {
      EXPECT_TRUE(services.LogContains(c.m_logText)) << services.LogAsText();
    }
    if (!c.m_loads) {
      EXPECT_NE(services.LogAsText().find("Not a valid scan file"), std::string::npos)
          << services.LogAsText();
      ASSERT_EQ(services.m_errorBoxes.size(), 1u);
      EXPECT_EQ(services.m_errorBoxes[0], u"Not a valid scan file, to resume recovery of crashed disk");
      EXPECT_EQ(services.m_treeRootCount, 0u);
      EXPECT_TRUE(loaded->Engine().Volume().MftRuns().empty());
    }
    std::filesystem::remove(damaged);
  }

  std::mt19937 random(11);
  for (int round = 0; round < 6; ++round) {
    std::vector<uint8_t> bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(itemsStart));
    const size_t extra = random() % 4000;
    for (size_t i = 0; i < extra; ++i) bytes.push_back(static_cast<uint8_t>(random()));
    const std::filesystem::path damaged = TempPath("random");
    WriteBytes(damaged, bytes);
    auto loaded = Fresh();
    LoadNtfsScanFile(loaded->Engine(), loaded->Services(), damaged.u16string());
    EXPECT_LE(loaded->Services().m_treeEntries.size(), extra / 65);
    std::filesystem::remove(damaged);
  }
  std::filesystem::remove(path);
}

// A volume that starts past 2 TiB on its disk (sector 2^32 + 2048 of a
// sparse image; sector 2048, where a start cut to 32 bits would read, holds
// noise): the scan file keeps the whole start and $MFT sector (their high
// words from byte 152), a load bound where the header says gives the same
// runs and reads every deleted file from there, and a drive that ends
// before the volume would is refused before anything is restored.
TEST_P(NtfsScanFileTest, AVolumePast2TiBKeepsItsSectorsThroughSaveAndLoad) {
  constexpr uint64_t kFarStart = (uint64_t{1} << 32) + 2048;
  constexpr uint8_t kDisk = 0x80;
  const uint64_t sectors = m_image.size() / kSectorSize;
  const std::filesystem::path disk = TempPath(std::string(GetParam()) + "-far-disk");
  {
    std::ofstream out(disk, std::ios::binary | std::ios::trunc);
    out.seekp(2048 * 512);
    out << std::string(512, 'z');
    out.seekp(static_cast<std::streamoff>(kFarStart * 512));
    out.write(reinterpret_cast<const char *>(m_image.data()), static_cast<std::streamsize>(m_image.size()));
    ASSERT_TRUE(out.good());
  }
  const std::filesystem::path file = TempPath(std::string(GetParam()) + "-far");
  std::vector<DataRun> runsBefore;
  {
    NtfsImageEngine scanned(disk.string(), kDisk, kFarStart, sectors);
    scanned.Engine().RunNtfsFastScan();
    m_entries = EntryList(scanned.Services());
    ASSERT_GT(m_entries.size(), 2u) << scanned.Services().LogAsText();
    ASSERT_TRUE(SaveNtfsScanFile(scanned.Engine(), scanned.Services(), file.u16string(), m_entries))
        << scanned.Services().LogAsText();
    runsBefore = scanned.Engine().Volume().MftRuns();
  }
  const std::vector<uint8_t> saved = ReadFileBytes(file.string());
  ASSERT_GE(saved.size(), 512u);
  EXPECT_EQ(ReadLe32(saved.data() + 3), 2048u) << "the low word where every reader looks";
  EXPECT_EQ(ReadLe32(saved.data() + 152), 1u) << "the high word";
  NtfsScanHeader header;
  ASSERT_EQ(ParseNtfsScanHeader(saved.data(), saved.size(), header), ParseResult::Ok);
  ASSERT_EQ(header.m_volumeStart, kFarStart);

  {
    NtfsImageEngine loaded(disk.string(), header.m_driveCode, header.m_volumeStart, header.m_volumeSectors);
    RecordingServices &services = loaded.Services();
    ASSERT_TRUE(LoadNtfsScanFile(loaded.Engine(), services, file.u16string())) << services.LogAsText();
    const auto &runsAfter = loaded.Engine().Volume().MftRuns();
    ASSERT_EQ(runsBefore.size(), runsAfter.size());
    for (size_t i = 0; i < runsBefore.size(); ++i) EXPECT_EQ(runsBefore[i].m_lcn, runsAfter[i].m_lcn) << i;
    size_t read = 0;
    for (const NtfsManifestRow &row : ReadNtfsManifest(m_base + ".manifest")) {
      if (row.m_kind != "deleted-file") continue;
      bool complete = false;
      EXPECT_TRUE(loaded.ReadBack(row.m_record, complete) ==
                  ReadFileBytes(m_base + ".orig/" + row.m_original))
          << row.m_original;
      EXPECT_TRUE(complete) << row.m_original;
      ++read;
    }
    EXPECT_GT(read, 0u);
  }

  NtfsImageEngine shortDisk(m_base + ".img", kDisk, kFarStart, sectors);
  RecordingServices &services = shortDisk.Services();
  EXPECT_FALSE(LoadNtfsScanFile(shortDisk.Engine(), services, file.u16string()));
  EXPECT_NE(services.LogAsText().find("does not fit drive 128"), std::string::npos) << services.LogAsText();
  EXPECT_TRUE(services.m_treeEntries.empty());
  std::filesystem::remove(file);
  std::filesystem::remove(disk);
}

INSTANTIATE_TEST_SUITE_P(ClusterSizes, NtfsScanFileTest, ::testing::Values("ntfs-4k", "ntfs-512"),
                         [](const auto &info) {
                           std::string name = info.param;
                           for (char &c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

TEST(NtfsScanFileHeader, FieldsAndTextsLieAtTheirOffsets) {
  NtfsScanHeader header;
  header.m_driveCode = 0x80;
  header.m_sectorsPerCluster = 0x0108;
  header.m_volumeStart = 0x11223344;
  header.m_totalSectors = 0x55667788;
  header.m_volumeSectors = 0x0102030405060708ULL;
  header.m_mftSector = 0x21222324;
  header.m_mftMirrorSector = 0x31323334;
  header.m_runCount = 3;
  header.m_runBytes = 48;
  header.m_runSectors = 0x41424344;
  header.m_mapSize = 0x51525354;
  uint8_t bytes[512];
  SerialiseNtfsScanHeader(header, bytes);
  const std::vector<uint8_t> expected = {
      0x80, 0x08, 0x01, 0x44, 0x33, 0x22, 0x11, 0x88, 0x77, 0x66, 0x55, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03,
      0x02, 0x01, 0x24, 0x23, 0x22, 0x21, 0x34, 0x33, 0x32, 0x31, 0x03, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00,
      0x00, 0x44, 0x43, 0x42, 0x41, 0x54, 0x53, 0x52, 0x51, 0x54, 0x53, 0x52, 0x51, 0x54, 0x53, 0x52, 0x51};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(bytes[i], expected[i]) << "offset " << i;
  const std::string text = "Quendal Varnoth File Recovery - NTFS";
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes + 51)), text);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes + 115)), text);
  for (size_t i = 51 + text.size(); i < 115; ++i) EXPECT_EQ(bytes[i], 0) << i;
  for (size_t i = 115 + text.size(); i < 512; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(DetectScanFileKind(bytes, sizeof bytes), ScanFileKind::Ntfs);
  NtfsScanHeader back;
  ASSERT_EQ(ParseNtfsScanHeader(bytes, sizeof bytes, back), ParseResult::Ok);
  EXPECT_EQ(back.m_volumeSectors, header.m_volumeSectors);
  EXPECT_EQ(back.m_runSectors, header.m_runSectors);
}

// The high words of the four sector numbers and the record size lie in the
// header's zero tail; an ordinary volume's header keeps that tail zero, and
// a record size that no volume has is refused.
TEST(NtfsScanFileHeader, HighWordsAndRecordSizeLieInTheZeroTail) {
  NtfsScanHeader header;
  header.m_volumeStart = 0x0000000112345678ULL;
  header.m_totalSectors = 0x0000000223456789ULL;
  header.m_mftSector = 0x000000033456789AULL;
  header.m_mftMirrorSector = 0x0000000445678901ULL;
  header.m_recordSize = 4096;
  uint8_t bytes[512];
  SerialiseNtfsScanHeader(header, bytes);
  const struct {
    size_t m_offset;
    uint32_t m_value;
  } kWords[] = {{3, 0x12345678}, {7, 0x23456789}, {19, 0x3456789A}, {23, 0x45678901}, {152, 1},
                {156, 2},        {160, 3},        {164, 4},         {168, 4096}};
  for (const auto &word : kWords) EXPECT_EQ(ReadLe32(bytes + word.m_offset), word.m_value) << word.m_offset;
  for (size_t i = 172; i < 512; ++i) EXPECT_EQ(bytes[i], 0) << i;
  NtfsScanHeader back;
  ASSERT_EQ(ParseNtfsScanHeader(bytes, sizeof bytes, back), ParseResult::Ok);
  EXPECT_EQ(back.m_volumeStart, header.m_volumeStart);
  EXPECT_EQ(back.m_totalSectors, header.m_totalSectors);
  EXPECT_EQ(back.m_mftSector, header.m_mftSector);
  EXPECT_EQ(back.m_mftMirrorSector, header.m_mftMirrorSector);
  EXPECT_EQ(back.m_recordSize, 4096u);
}

// A saved record size is restored (older files, without one, mean 1024);
// one that no volume has refuses the file.
TEST_P(NtfsScanFileTest, TheRecordSizeIsKeptAndJudged) {
  const std::filesystem::path path = TempPath(std::string(GetParam()) + "-record-size");
  ScanAndSave(path);
  EXPECT_EQ(ReadLe32(m_saved.data() + 168), 0u) << "an ordinary volume's header is as before";
  const struct {
    uint32_t m_stored;
    bool m_loads;
    uint32_t m_restored;
  } kCases[] = {{0, true, 1024}, {4096, true, 4096}, {1000, false, 0}, {256, false, 0}};
  for (const auto &c : kCases) {
    std::vector<uint8_t> bytes = m_saved;
    WriteLe32(bytes.data() + 168, c.m_stored);
    WriteBytes(path, bytes);
    auto loaded = Fresh();
    EXPECT_EQ(LoadNtfsScanFile(loaded->Engine(), loaded->Services(), path.u16string()), c.m_loads)
        << c.m_stored << ": " << loaded->Services().LogAsText();
    if (c.m_loads) {
      EXPECT_EQ(loaded->Engine().Volume().Boot().m_recordSize, c.m_restored);
    }
  }
  std::filesystem::remove(path);
}

// What the run entries' 32-bit fields cannot hold is refused at the save.
TEST(NtfsScanFileLimits, RunsTheEntriesCannotHoldAreFound) {
  const struct {
    uint64_t m_clusters;
    int64_t m_delta;
    bool m_sparse;
    uint32_t m_spc;
    bool m_holds;
  } kCases[] = {
      {16, 786432, false, 8, true},
      {16, -5, false, 8, true},
      {16, INT32_MAX, false, 8, true},
      {16, int64_t{INT32_MAX} + 1, false, 8, false},
      {16, int64_t{INT32_MIN} - 1, false, 8, false},
      {0x1FFFFFFF, 100, false, 8, true},
      {0x20000000, 100, false, 8, false},
      {0x20000000, int64_t{1} << 40, true, 8, false},
      {16, int64_t{1} << 40, true, 8, true},
  };
  for (const auto &c : kCases) {
    DataRun run;
    run.m_clusters = c.m_clusters;
    run.m_lcnDelta = c.m_delta;
    run.m_sparse = c.m_sparse;
    run.m_deltaWidth = c.m_sparse ? 0 : 8;
    EXPECT_EQ(MftRunEntryHolds(run, c.m_spc), c.m_holds) << c.m_clusters << " clusters, delta " << c.m_delta;
  }
}

// An advanced engine over the empty volume, held in memory.
class NtfsAdvancedImage {
public:
  explicit NtfsAdvancedImage(std::vector<uint8_t> bytes)
      : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive) {
    const uint64_t sectors = bytes.size() / kSectorSize;
    m_layer.Attach(kDrive, std::make_unique<MemoryDevice>(std::move(bytes)));
    m_engine = std::make_unique<NtfsAdvancedEngine>(m_services, m_reader, sectors);
    m_services.SetText(SignatureText::kRawDataFolder, u"Raw Data Folder");
  }
  NtfsAdvancedEngine &Engine() { return *m_engine; }
  RecordingServices &Services() { return m_services; }
  std::vector<uint8_t> ReadHit(const EntryRecord &entry, bool &complete) {
    std::vector<uint8_t> bytes;
    complete = m_engine->ReadSignatureHit(entry, AppendTo(bytes));
    return bytes;
  }

private:
  RecordingServices m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  std::unique_ptr<NtfsAdvancedEngine> m_engine;
};

// The first run of count clusters the volume marks free, from cluster from on.
uint64_t FreeRun(const std::vector<uint8_t> &map, uint64_t from, uint64_t count) {
  for (uint64_t c = std::max<uint64_t>(from, 2); c + count <= map.size(); ++c)
    if (std::all_of(map.begin() + static_cast<std::ptrdiff_t>(c),
                    map.begin() + static_cast<std::ptrdiff_t>(c + count), [](uint8_t b) { return b == 0; }))
      return c;
  return 0;
}

// The hits of an advanced search, saved and loaded into a fresh engine, come
// back with their clusters, sizes and ids, and read back byte for byte.
TEST(NtfsScanFileSignatureHits, ReadBackByteForByteAfterALoad) {
  const std::string dir = NtfsFixtureDir();
  if (dir.empty()) GTEST_SKIP() << "QV_FIXTURES is not set: the NTFS images are made by the CTest fixture";
  std::vector<uint8_t> image = ReadFileBytes(dir + "/signature/sig-ntfs.img");
  if (image.empty()) GTEST_SKIP() << "sig-ntfs.img not made (mkntfs missing?)";
  std::vector<uint8_t> map;
  uint64_t clusterBytes = 0;
  {
    NtfsAdvancedImage probe(image);
    ASSERT_TRUE(probe.Engine().ReadNtfsBootSector());
    ASSERT_TRUE(probe.Engine().LoadMftRunList());
    ASSERT_TRUE(probe.Engine().LoadClusterBitmap());
    map = probe.Engine().ClusterMap();
    clusterBytes = probe.Engine().Volume().ClusterSize();
  }
  const auto plant = [&](uint64_t cluster, const std::vector<uint8_t> &bytes) {
    std::copy(bytes.begin(), bytes.end(),
              image.begin() + static_cast<std::ptrdiff_t>(cluster * clusterBytes));
  };
  const uint64_t photo = FreeRun(map, map.size() / 2 + 50, 8);
  const uint64_t archive = FreeRun(map, photo + 20, 1);
  ASSERT_NE(photo, 0u);
  ASSERT_NE(archive, 0u);
  std::vector<uint8_t> photoBytes(3 * clusterBytes + 100, 'p');
  std::copy(kJpegStart.begin(), kJpegStart.end(), photoBytes.begin());
  plant(photo, photoBytes);
  plant(photo + 4, kPdfStart); // ends the photo's growth after four clusters
  plant(archive, kZipStart);

  NtfsAdvancedImage scanned(image);
  scanned.Services().m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 1 << 20),
                                          MakeHeader(u"PDF", kPdfStart, 0),
                                          MakeHeader(u"ZIP", kZipStart, 1 << 20)};
  scanned.Engine().RunNtfsAdvancedScan();
  const std::vector<SignatureHit> hits = scanned.Engine().SignatureHits();
  ASSERT_EQ(hits.size(), 3u) << scanned.Services().LogAsText();
  const std::filesystem::path path = TempPath("signature-hits");
  ASSERT_TRUE(SaveNtfsScanFile(scanned.Engine(), scanned.Services(), path.u16string(),
                               EntryList(scanned.Services())));

  NtfsAdvancedImage loaded(image);
  ASSERT_TRUE(LoadNtfsScanFile(loaded.Engine(), loaded.Services(), path.u16string()))
      << loaded.Services().LogAsText();
  const std::vector<SignatureHit> &back = loaded.Engine().SignatureHits();
  ASSERT_EQ(back.size(), hits.size());
  for (size_t i = 0; i < hits.size(); ++i) {
    EXPECT_EQ(back[i].m_cluster, hits[i].m_cluster) << i;
    EXPECT_EQ(back[i].m_size, hits[i].m_size) << i;
    EXPECT_EQ(back[i].m_ownId, hits[i].m_ownId) << i;
    EXPECT_TRUE(back[i].m_extension == hits[i].m_extension) << i;
  }
  size_t read = 0;
  for (const RecordingServices::TreeEntry &entry : scanned.Services().m_treeEntries) {
    const bool isHit = std::any_of(hits.begin(), hits.end(), [&entry](const SignatureHit &hit) {
      return hit.m_ownId == entry.m_entry.m_ownId;
    });
    if (!isHit || entry.m_entry.IsFolder()) continue;
    bool before = false, after = false;
    const std::vector<uint8_t> expected = scanned.ReadHit(entry.m_entry, before);
    const std::vector<uint8_t> bytes = loaded.ReadHit(entry.m_entry, after);
    ASSERT_TRUE(before && after) << entry.m_entry.m_ownId;
    EXPECT_EQ(bytes.size(), entry.m_entry.m_size);
    EXPECT_TRUE(bytes == expected) << entry.m_entry.m_ownId;
    const uint64_t first = entry.m_entry.m_firstCluster * clusterBytes;
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(first)));
    ++read;
  }
  EXPECT_EQ(read, 3u);
  std::filesystem::remove(path);
}

} // namespace

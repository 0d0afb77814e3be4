#include "NtfsAdvancedEngine.h"

#include "ImageDevices.h"
#include "NtfsTestVolume.h"
#include "RecordingServices.h"
#include "SignatureTestSpace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace {

// The empty NTFS volume made by mkntfs, in memory so tests can write into it.
class NtfsSignatureImage {
public:
  static constexpr uint8_t kDrive = 3;
  explicit NtfsSignatureImage(std::vector<uint8_t> bytes)
      : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive) {
    m_sectors = bytes.size() / 512;
    auto device = std::make_unique<MemoryDevice>(std::move(bytes));
    m_device = device.get();
    m_layer.Attach(kDrive, std::move(device));
  }
  std::vector<uint8_t> &Bytes() { return m_device->Bytes(); }
  SectorReader &Reader() { return m_reader; }
  uint64_t Sectors() const { return m_sectors; }

private:
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  MemoryDevice *m_device = nullptr;
  uint64_t m_sectors = 0;
};

std::vector<uint8_t> ReadImage() {
  const char *dir = std::getenv("QV_FIXTURES");
  if (!dir) return {};
  std::ifstream in(std::string(dir) + "/signature/sig-ntfs.img", std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Utf8(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

class NtfsAdvancedEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::vector<uint8_t> bytes = ReadImage();
    if (bytes.empty()) GTEST_SKIP() << "QV_FIXTURES not set or sig-ntfs.img not made";
    m_image = std::make_unique<NtfsSignatureImage>(std::move(bytes));
    // The free clusters of the fresh volume, by its own bitmap.
    RecordingServices services;
    NtfsAdvancedEngine probe(services, m_image->Reader(), m_image->Sectors());
    ASSERT_TRUE(probe.ReadNtfsBootSector());
    ASSERT_TRUE(probe.LoadMftRunList());
    ASSERT_TRUE(probe.LoadClusterBitmap());
    m_map = probe.ClusterMap();
    m_clusterBytes = probe.Volume().ClusterSize();
  }

  // The first run of count free clusters from cluster from on.
  uint64_t FreeRun(uint64_t from, uint64_t count) const {
    for (uint64_t c = std::max<uint64_t>(from, 2); c + count <= m_map.size(); ++c) {
      bool free = true;
      for (uint64_t i = 0; i < count && free; ++i) free = m_map[c + i] == 0;
      if (free) return c;
    }
    return 0;
  }
  void Write(uint64_t cluster, const std::vector<uint8_t> &bytes) {
    std::copy(bytes.begin(), bytes.end(), m_image->Bytes().begin() + cluster * m_clusterBytes);
  }

  std::unique_ptr<NtfsSignatureImage> m_image;
  std::vector<uint8_t> m_map;
  uint64_t m_clusterBytes = 0;
};

TEST_F(NtfsAdvancedEngineTest, BitmapMarksTheSystemFilesOnly) {
  size_t used = 0;
  for (uint8_t byte : m_map) used += byte;
  EXPECT_GT(used, 10u);
  EXPECT_LT(used, m_map.size() / 2);
  EXPECT_EQ(m_map[0], 1u); // the boot sector's cluster
}

TEST_F(NtfsAdvancedEngineTest, FreeClusterHitsAreListedUnderRawDataFolder) {
  const uint64_t jpeg = FreeRun(m_map.size() / 2 + 50, 8);
  ASSERT_NE(jpeg, 0u);
  std::vector<uint8_t> photo(3 * m_clusterBytes + 100, 'x');
  std::copy(kJpegStart.begin(), kJpegStart.end(), photo.begin());
  Write(jpeg, photo);
  Write(jpeg + 4, kPdfStart); // stops the growth after four clusters
  RecordingServices services;
  services.SetText(SignatureText::kRawDataFolder, u"Raw Data Folder");
  services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 1 << 20), MakeHeader(u"PDF", kPdfStart, 0)};
  NtfsAdvancedEngine engine(services, m_image->Reader(), m_image->Sectors());
  engine.RunNtfsAdvancedScan();
  ASSERT_EQ(engine.SignatureHits().size(), 2u) << services.LogAsText();
  const SignatureHit &hit = engine.SignatureHits()[0];
  EXPECT_EQ(hit.m_cluster, jpeg);
  EXPECT_EQ(hit.m_size, 4 * m_clusterBytes);

  std::map<uint32_t, RecordingServices::TreeEntry> byId;
  for (const auto &entry : services.m_treeEntries) byId[entry.m_entry.m_ownId] = entry;
  ASSERT_EQ(byId.count(hit.m_ownId), 1u);
  const RecordingServices::TreeEntry &file = byId.at(hit.m_ownId);
  EXPECT_EQ(Utf8(file.m_name), std::to_string(hit.m_ownId) + ".JPG");
  const RecordingServices::TreeEntry &folder = byId.at(file.m_entry.m_parentId);
  EXPECT_EQ(Utf8(folder.m_name), "JPG");
  EXPECT_EQ(folder.m_entry.m_parentId, kNtfsRawFolderId);
  EXPECT_EQ(byId.at(kNtfsRawFolderId).m_entry.m_parentId, engine.RootRecord());

  std::vector<uint8_t> back;
  ASSERT_TRUE(engine.ReadSignatureHit(file.m_entry, [&back](const uint8_t *data, size_t size) {
    back.insert(back.end(), data, data + size);
    return true;
  }));
  ASSERT_EQ(back.size(), 4 * m_clusterBytes);
  EXPECT_TRUE(std::equal(photo.begin(), photo.end(), back.begin()));
}

// A photo in the first half of the volume and a long unreadable stretch of
// free clusters after it: the photo is in the tree before the stretch is
// read (added when found, not after the pass), and the stretch costs a few
// log lines, not one per sector and cluster.
TEST_F(NtfsAdvancedEngineTest, HitsAreListedAsFoundAndADeadStretchIsFewLines) {
  const uint64_t jpeg = FreeRun(m_map.size() / 4, 8);
  ASSERT_NE(jpeg, 0u);
  Write(jpeg, kJpegStart);
  const uint64_t spc = m_clusterBytes / 512;
  const uint64_t deadFirst = (m_map.size() / 2) * spc, deadEnd = (m_map.size() * 3 / 4) * spc;
  m_image->Reader().SetFaultFilter([=](uint64_t sector) { return sector >= deadFirst && sector < deadEnd; });
  RecordingServices services;
  services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  NtfsAdvancedEngine engine(services, m_image->Reader(), m_image->Sectors());
  engine.RunNtfsAdvancedScan();
  m_image->Reader().SetFaultFilter(nullptr);
  ASSERT_EQ(engine.SignatureHits().size(), 1u) << services.LogAsText();
  size_t firstError = services.m_log.size(), errorLines = 0;
  for (size_t i = 0; i < services.m_log.size(); ++i) {
    if (services.m_log[i].m_status != LogStatus::Error) continue;
    ++errorLines;
    firstError = std::min(firstError, i);
  }
  // The volume's sectors and the pass's clusters each: a handful of single
  // lines and a line per run (the stretch is cut in two by the clusters in
  // use in the middle of the volume), where each of about a thousand free
  // clusters had two lines of its own.
  EXPECT_LE(errorLines, 2 * (ReadFailureLog::kSingleLines + 2)) << services.LogAsText();
  EXPECT_TRUE(services.LogContains(u"#61550")) << services.LogAsText();
  EXPECT_TRUE(services.LogContains(u"#61551")) << services.LogAsText();
  size_t listedAt = services.m_log.size();
  for (size_t i = 0; i < services.m_treeEntries.size(); ++i)
    if (services.m_treeEntries[i].m_entry.m_ownId == engine.SignatureHits()[0].m_ownId)
      listedAt = services.m_treeLogSizes[i];
  EXPECT_LE(listedAt, firstError) << services.LogAsText();
}

TEST_F(NtfsAdvancedEngineTest, ClusterOutsideTheVolumeIsAFailedReadOfZeros) {
  RecordingServices services;
  NtfsAdvancedEngine engine(services, m_image->Reader(), m_image->Sectors());
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  NtfsClusterSpace space(engine);
  std::vector<uint8_t> buffer(4 * 512, 0xAB);
  // Far past the end, and so far that cluster x sectors per cluster would
  // wrap in 32 bits onto the start of the volume.
  for (uint64_t cluster : {uint64_t{m_map.size()} + 5, uint64_t{1} << 31, uint64_t{1} << 40}) {
    std::fill(buffer.begin(), buffer.end(), 0xAB);
    EXPECT_FALSE(space.ReadClusterSectors(cluster, buffer.data(), 4)) << cluster;
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint8_t b) { return b == 0; })) << cluster;
  }
  EXPECT_TRUE(space.ReadClusterSectors(0, buffer.data(), 1));
  EXPECT_EQ(std::memcmp(&buffer[3], "NTFS", 4), 0);
}

TEST_F(NtfsAdvancedEngineTest, NoSignaturesChosenSearchesNothing) {
  RecordingServices services;
  NtfsAdvancedEngine engine(services, m_image->Reader(), m_image->Sectors());
  engine.RunNtfsAdvancedScan();
  EXPECT_TRUE(engine.SignatureHits().empty());
  EXPECT_EQ(services.m_finishedCount, 1u);
}

// Services that raise the stop flag when a phase with the given activity
// logs its start, as a user's Stop during that phase would.
class StopAtPhase : public RecordingServices {
public:
  explicit StopAtPhase(uint32_t activityId) : m_activity(LoadText(activityId)) {}
  void AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                   const std::optional<std::u16string> &time, LogStatus status) override {
    RecordingServices::AddLogEntry(activity, text, time, status);
    if (activity == m_activity) SetStopRequested(true);
  }

private:
  std::u16string m_activity;
};

// Every phase of the advanced search honours Stop: the phase logs its
// abort and no later phase starts. (The fresh volume has no deleted file for
// the tree build to stop at; NtfsImageTest stops that one.)
TEST_F(NtfsAdvancedEngineTest, StopEndsEveryPhaseAndStartsNoOther) {
  for (uint32_t phase : {NtfsText::kSearchingCriticalInfo, NtfsText::kCalculatingParameters,
                         SignatureText::kSearchingHeaders}) {
    StopAtPhase services(phase);
    services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
    NtfsAdvancedEngine engine(services, m_image->Reader(), m_image->Sectors());
    engine.RunNtfsAdvancedScan();
    ASSERT_GE(services.m_log.size(), 2u) << phase;
    const RecordingServices::LogRow &last = services.m_log.back();
    const RecordingServices::LogRow &start = services.m_log[services.m_log.size() - 2];
    EXPECT_EQ(start.m_activity, services.LoadText(phase)) << services.LogAsText();
    EXPECT_EQ(start.m_status, LogStatus::Started);
    EXPECT_EQ(last.m_text, services.LoadText(NtfsText::kProcessAborted)) << services.LogAsText();
    EXPECT_EQ(last.m_status, LogStatus::Error);
    EXPECT_FALSE(services.m_scanPhaseBusy);
    EXPECT_EQ(services.m_finishedCount, 1u);
  }
}

// ---- $Bitmap continued through an attribute list -----------------------------

// Where the pieces of $Bitmap's data lie in a generated volume: record 6
// holds some clusters of the stream (VCN first) and names extension record
// 20 in its attribute list for the rest.
struct BitmapListCase {
  const char *m_label;
  uint64_t m_ownFirstVcn;       // the VCN of the run in record 6 (0 or 1)
  uint64_t m_extensionBase;     // record 20's base record (6: its own)
  bool m_extensionPresent;      // else slot 20 holds no FILE record
  std::vector<uint64_t> m_used; // clusters the map must mark
  std::vector<uint64_t> m_free; // clusters it must leave free
  bool m_partlyKnown;           // a log line says the stream was not whole
};

class NtfsBitmapListTest : public ::testing::TestWithParam<BitmapListCase> {};

// The stream has three sectors: VCN 0 at cluster 100 marks clusters 0..63,
// VCN 1 at cluster 120 marks cluster 4,106 and VCN 2 (cluster 121) cluster 8,197.
TEST_P(NtfsBitmapListTest, ExtensionRunsAreFollowed) {
  const BitmapListCase &c = GetParam();
  constexpr size_t kSlots = 32;
  constexpr uint8_t kExtension = 20;
  TestVolume volume(kSlots, 3 * 4096);
  volume.PutSystemRecords();
  std::vector<uint8_t> first(512, 0);
  std::fill(first.begin(), first.begin() + 8, 0xFF);
  std::vector<uint8_t> rest(1024, 0);
  rest[1] = 0x04;
  rest[512] = 0x20;
  volume.PutClusters(100, first);
  volume.PutClusters(120, rest);

  // The run of the clusters at VCN 0 and the run of those at VCN 1 and 2.
  const std::vector<uint8_t> head{0x11, 1, 100, 0};
  const std::vector<uint8_t> tail{0x11, 2, 120, 0};
  const bool ownHoldsHead = c.m_ownFirstVcn == 0;
  std::vector<uint8_t> list = AttributeListEntryBytes(kNtfsAttrData, 0, ownHoldsHead ? 6 : kExtension);
  const auto second = AttributeListEntryBytes(kNtfsAttrData, 1, ownHoldsHead ? kExtension : 6);
  list.insert(list.end(), second.begin(), second.end());
  TestRecord bitmap(kNtfsRecordInUse);
  bitmap.StandardInformation(1, 1, 1).Resident(kNtfsAttrAttributeList, list).FileName(5, 5, u"$Bitmap");
  if (ownHoldsHead)
    bitmap.NonResident(kNtfsAttrData, head, 0, 0, 3 * 512);
  else
    bitmap.NonResident(kNtfsAttrData, tail, 1, 2, 0);
  volume.Put(6, bitmap.Bytes());
  if (c.m_extensionPresent) {
    TestRecord extension(kNtfsRecordInUse, 1, c.m_extensionBase);
    if (ownHoldsHead)
      extension.NonResident(kNtfsAttrData, tail, 1, 2, 0);
    else
      extension.NonResident(kNtfsAttrData, head, 0, 0, 3 * 512);
    volume.Put(kExtension, extension.Bytes());
  }

  NtfsSignatureImage image(volume.Bytes());
  RecordingServices services;
  NtfsAdvancedEngine engine(services, image.Reader(), image.Sectors());
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  ASSERT_TRUE(engine.LoadClusterBitmap()) << services.LogAsText();
  const std::vector<uint8_t> &map = engine.ClusterMap();
  for (uint64_t cluster : c.m_used) EXPECT_EQ(map.at(cluster), 1u) << "cluster " << cluster;
  for (uint64_t cluster : c.m_free) EXPECT_EQ(map.at(cluster), 0u) << "cluster " << cluster;
  EXPECT_EQ(services.LogContains(u"$Bitmap data only partly known"), c.m_partlyKnown) << services.LogAsText();
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, NtfsBitmapListTest,
    ::testing::Values(
        BitmapListCase{"ExtensionHoldsTheTail", 0, 6, true, {0, 63, 4106, 8197}, {64, 4105, 8196}, false},
        BitmapListCase{"ExtensionHoldsTheHead", 1, 6, true, {0, 63, 4106, 8197}, {64, 4105, 8196}, false},
        // Only record 6's own run is known: it marks what it covers, and
        // nothing of it is shifted onto the clusters of the missing part.
        BitmapListCase{"ExtensionOfAnotherFile", 0, 7, true, {0, 63}, {64, 4106, 8197}, true},
        BitmapListCase{"ExtensionMissing", 1, 6, false, {4106, 8197}, {10, 8, 4106 - 4096}, true}),
    [](const ::testing::TestParamInfo<BitmapListCase> &info) { return std::string(info.param.m_label); });

// ---- Volumes past 2^32 sectors ---------------------------------------------

struct MapSizeCase {
  uint64_t m_totalSectors;
  uint32_t m_sectorsPerCluster;
  bool m_held;
  uint64_t m_clusters;
};

TEST(NtfsClusterMapSize, TheWholeSectorCountSizesTheMap) {
  const MapSizeCase cases[] = {
      {4096, 1, true, 4096},
      // 2 TiB and more: the low 32 bits of the count would give 2 clusters.
      {(uint64_t{1} << 32) + 8192, 4096, true, (uint64_t{1} << 20) + 2},
      // Exactly 4 TiB: the low 32 bits are 0, which would give no map at all.
      {uint64_t{1} << 33, 8, true, uint64_t{1} << 30},
      {0xFFFFFFFFull, 1, true, 0xFFFFFFFFull},
      // More clusters than NTFS numbers: a damaged boot sector, no map.
      {uint64_t{1} << 33, 1, false, uint64_t{1} << 33},
      {uint64_t{1} << 62, 8, false, uint64_t{1} << 59},
      {0, 1, false, 0},
  };
  for (const MapSizeCase &c : cases) {
    uint64_t clusters = 1;
    std::string why;
    EXPECT_EQ(NtfsClusterMapSize(c.m_totalSectors, c.m_sectorsPerCluster, clusters, &why), c.m_held)
        << c.m_totalSectors;
    EXPECT_EQ(clusters, c.m_clusters) << c.m_totalSectors;
    EXPECT_EQ(why.empty(), c.m_held) << why;
  }
}

// A boot sector that claims 2^33 sectors of 512 bytes: no map can number
// them, so the search says so once and skips the signature pass, while the
// MFT walk still lists what the table holds; documents are bounded by the
// whole count.
TEST(NtfsClusterMapSize, AMapThatCannotBeHeldSkipsTheSignatureSearch) {
  TestVolume volume(24);
  volume.PutSystemRecords();
  WriteLe64(&volume.Bytes()[0x28], uint64_t{1} << 33);
  volume.Put(20, TestRecord(0, 2)
                     .StandardInformation(1, 1, 1)
                     .FileName(5, 5, u"kept.txt")
                     .Resident(kNtfsAttrData, {'a'})
                     .Bytes());
  NtfsSignatureImage image(volume.Bytes());
  RecordingServices services;
  services.m_selectedHeaders = {MakeHeader(u"JPG", {0xFF, 0xD8, 0xFF})};
  NtfsAdvancedEngine engine(services, image.Reader(), image.Sectors());
  engine.RunNtfsAdvancedScan();
  EXPECT_TRUE(engine.ClusterMap().empty());
  EXPECT_TRUE(services.LogContains(u"cannot be held")) << services.LogAsText();
  for (const auto &row : services.m_log)
    EXPECT_NE(row.m_activity.value_or(u""), u"#61287") << "the signature pass ran";
  bool listed = false;
  for (const auto &entry : services.m_treeEntries) listed = listed || entry.m_name == u"kept.txt";
  EXPECT_TRUE(listed);
  EXPECT_EQ(NtfsClusterSpace(engine).VolumeSectors(), uint64_t{1} << 33);
}

} // namespace

// A Stop in each phase of each search: whatever the phase, the search's last
// log line is the aborted end line with its time, and what was found before
// the stop stays listed.
#include "FatTestImages.h"
#include "NtfsAdvancedEngine.h"
#include "PhysicalDiskScan.h"
#include "SignatureTestSpace.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

enum class Search { FatFast, FatAdvanced, NtfsFast, NtfsAdvanced, Disk };

// A search over an image held in memory, with the signatures it looks for.
class SearchRun {
public:
  SearchRun(Search search, std::vector<uint8_t> image, RecordingServices &services)
      : m_search(search), m_services(services), m_io(m_layer, nullptr, false), m_reader(m_io, kDrive, 0) {
    m_sectors = image.size() / 512;
    m_layer.Attach(kDrive, std::make_unique<MemoryDevice>(std::move(image)));
    m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 64 << 10)};
    m_services.SetText(EngineText::kFolders, u"Folder(s)");
  }

  void Run() {
    switch (m_search) {
    case Search::FatFast:
      FatScanEngine(m_services, m_reader, m_sectors, SteppingClock()).RunFatFastScan();
      break;
    case Search::FatAdvanced:
      FatScanEngine(m_services, m_reader, m_sectors, SteppingClock()).RunFatAdvancedScan();
      break;
    case Search::NtfsFast:
      NtfsAdvancedEngine(m_services, m_reader, m_sectors, false, SteppingClock()).RunNtfsFastScan();
      break;
    case Search::NtfsAdvanced:
      NtfsAdvancedEngine(m_services, m_reader, m_sectors, false, SteppingClock()).RunNtfsAdvancedScan();
      break;
    case Search::Disk:
      PhysicalDiskScan(m_services, m_reader, m_sectors, false, SteppingClock()).RunPhysicalDiskScan();
      break;
    }
  }

private:
  static constexpr uint8_t kDrive = 2;
  Search m_search;
  RecordingServices &m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  uint64_t m_sectors = 0;
};

// Paths of everything listed, from parent ids ("?" where a parent is unknown).
std::set<std::string> ListedPaths(const RecordingServices &services) {
  std::map<uint32_t, std::string> folders;
  std::set<std::string> paths;
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries) {
    auto parent = folders.find(entry.m_entry.m_parentId);
    const std::string path = (parent == folders.end() ? std::string("?") : parent->second) + "/" +
                             ToUtf8(entry.m_name) + "#" + std::to_string(entry.m_entry.m_size);
    if (entry.m_entry.IsFolder()) folders[entry.m_entry.m_ownId] = path;
    paths.insert(path);
  }
  return paths;
}

// A FAT volume with two JPEG starts written into free clusters near its end.
std::vector<uint8_t> FatImageWithHits(const std::string &fixture) {
  std::vector<uint8_t> image = ReadWholeFile(FatFixtureDir() + "/" + fixture + ".img");
  if (image.empty()) return image;
  FatImageEngine probe(image);
  FatVolume &volume = probe.Engine().Volume();
  if (!volume.ValidateFatVolume()) return {};
  for (uint32_t back : {4u, 9u}) {
    const uint32_t cluster = volume.LastReadableCluster() - back;
    if (volume.IsClusterInUse(cluster)) return {};
    std::copy(kJpegStart.begin(), kJpegStart.end(), image.begin() + volume.ClusterToSector(cluster) * 512);
  }
  return image;
}

// The same on an NTFS volume, by the clusters its bitmap leaves free.
std::vector<uint8_t> NtfsImageWithHits(const std::string &fixture) {
  const char *dir = std::getenv("QV_FIXTURES");
  std::vector<uint8_t> image =
      dir ? ReadWholeFile(std::string(dir) + "/" + fixture + ".img") : std::vector<uint8_t>();
  if (image.empty()) return image;
  std::vector<uint8_t> map;
  uint64_t clusterBytes = 0;
  {
    RecordingServices services;
    ImageDeviceLayer layer;
    layer.Attach(2, std::make_unique<MemoryDevice>(image));
    SectorIo io(layer, nullptr, false);
    SectorReader reader(io, 2, 0);
    NtfsAdvancedEngine engine(services, reader, image.size() / 512);
    if (!engine.ReadNtfsBootSector() || !engine.LoadMftRunList() || !engine.LoadClusterBitmap()) return {};
    map = engine.ClusterMap();
    clusterBytes = engine.Volume().ClusterSize();
  }
  size_t planted = 0;
  for (uint64_t cluster = map.size() - 1; cluster > 2 && planted < 2; cluster -= 5)
    if (map[cluster] == 0 && (cluster + 1) * clusterBytes <= image.size()) {
      std::copy(kJpegStart.begin(), kJpegStart.end(), image.begin() + cluster * clusterBytes);
      ++planted;
    }
  return planted == 2 ? image : std::vector<uint8_t>();
}

struct StopCase {
  const char *m_label;
  Search m_search;
  const char16_t *m_phase; // the activity (or text) of the phase's start row
  // Pumps into the phase when the stop comes; 0: the first pump after the
  // phase's own end row (the hits listed after the lost folders).
  size_t m_pumps;
  // The stop leaves at least what the fast search lists (a phase after the
  // walk, or the NTFS tree build, which lists every file the walk found).
  bool m_keepsTheWalk;
};

void PrintTo(const StopCase &row, std::ostream *out) {
  *out << row.m_label;
}

std::vector<uint8_t> ImageFor(Search search) {
  switch (search) {
  case Search::FatFast:
  case Search::FatAdvanced:
    return FatImageWithHits("fat16-listed-folders");
  case Search::NtfsFast:
  case Search::NtfsAdvanced:
    return NtfsImageWithHits("ntfs-512");
  case Search::Disk:
    return FatImageWithHits("fat16-listed-folders");
  }
  return {};
}

// Pumps from the phase's start row to the row after it: where the next step begins.
size_t PumpsToTheRowAfter(const RecordingServices &full, const std::u16string &phase) {
  for (size_t row = 0; row + 1 < full.m_log.size(); ++row) {
    const RecordingServices::LogRow &log = full.m_log[row];
    if (log.m_status == LogStatus::Started &&
        (log.m_activity ? *log.m_activity == phase : log.m_text == phase))
      return full.m_logPumps[row + 1] - full.m_logPumps[row] + 1;
  }
  return 0;
}

class SearchStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(SearchStopTest, TheLastLogLineIsTheAbortedEndLine) {
  const StopCase &row = GetParam();
  const std::vector<uint8_t> image = ImageFor(row.m_search);
  if (image.empty()) GTEST_SKIP() << "QV_FIXTURES not set or the image not made";

  RecordingServices full;
  SearchRun(row.m_search, image, full).Run();
  ASSERT_FALSE(full.m_log.empty());
  ASSERT_EQ(full.m_log.back().m_text, u"Process completed") << full.LogAsText();
  RecordingServices walkOnly;
  const bool ntfs = row.m_search == Search::NtfsFast || row.m_search == Search::NtfsAdvanced;
  if (row.m_keepsTheWalk) SearchRun(ntfs ? Search::NtfsFast : Search::FatFast, image, walkOnly).Run();

  RecordingServices services;
  const size_t pumps = row.m_pumps != 0 ? row.m_pumps : PumpsToTheRowAfter(full, row.m_phase);
  ASSERT_NE(pumps, 0u) << "no phase " << ToUtf8(row.m_phase) << "\n" << full.LogAsText();
  services.StopAfterPumpsInPhase(row.m_phase, pumps);
  SearchRun(row.m_search, image, services).Run();
  ASSERT_TRUE(services.PhaseStopGiven()) << services.LogAsText();
  ASSERT_FALSE(services.m_log.empty());

  const RecordingServices::LogRow &last = services.m_log.back();
  EXPECT_FALSE(last.m_activity.has_value());
  EXPECT_EQ(last.m_text, u"Process aborted - user intervention") << services.LogAsText();
  EXPECT_EQ(last.m_time.value_or(u""), u"Aborted on 12:34:56");
  EXPECT_EQ(last.m_status, LogStatus::Error);
  EXPECT_EQ(services.m_finishedCount, 1u);
  EXPECT_FALSE(services.m_scanPhaseBusy);

  // Nothing is listed that the whole search does not list, and what the
  // walk had found before the stop stays.
  const std::set<std::string> listed = ListedPaths(services);
  const std::set<std::string> whole = ListedPaths(full);
  for (const std::string &path : listed) EXPECT_EQ(whole.count(path), 1u) << path;
  for (const std::string &path : ListedPaths(walkOnly)) EXPECT_EQ(listed.count(path), 1u) << path;
}

INSTANTIATE_TEST_SUITE_P(
    Phases, SearchStopTest,
    ::testing::Values(
        StopCase{"FatFastLoadingFat", Search::FatFast, u"Loading FAT 1", 1, false},
        StopCase{"FatFastSystemParameters", Search::FatFast, u"Calculating system parameters", 1, false},
        StopCase{"FatFastWalk", Search::FatFast, u"Creating directory tree", 3, false},
        StopCase{"FatFastDeletedFolders", Search::FatFast, u"Adding deleted file(s)", 2, false},
        StopCase{"FatAdvancedSystemParameters", Search::FatAdvanced, u"Calculating system parameters", 1,
                 false},
        StopCase{"FatAdvancedWalk", Search::FatAdvanced, u"Creating directory tree", 3, false},
        StopCase{"FatAdvancedDeletedFolders", Search::FatAdvanced, u"Adding deleted file(s)", 2, false},
        StopCase{"FatAdvancedClusterPass", Search::FatAdvanced, u"Searching clusters for specified headers",
                 2, true},
        StopCase{"FatAdvancedLostFolders", Search::FatAdvanced, u"Adding lost file(s)", 1, true},
        StopCase{"FatAdvancedHits", Search::FatAdvanced, u"Adding lost file(s)", 0, true},
        StopCase{"NtfsFastWalk", Search::NtfsFast, u"Calculating system parameters", 20, false},
        // The tree build lists every file the walk found, and then ends aborted.
        StopCase{"NtfsFastTreeBuild", Search::NtfsFast, u"Creating directory tree", 1, true},
        StopCase{"NtfsAdvancedBitmap", Search::NtfsAdvanced, u"Searching for Critical Info..", 1, false},
        StopCase{"NtfsAdvancedWalk", Search::NtfsAdvanced, u"Calculating system parameters", 20, false},
        StopCase{"NtfsAdvancedTreeBuild", Search::NtfsAdvanced, u"Creating directory tree", 1, true},
        StopCase{"NtfsAdvancedSignaturePass", Search::NtfsAdvanced,
                 u"Searching clusters for specified headers", 2, true},
        StopCase{"DiskSignaturePass", Search::Disk, u"Searching clusters for specified headers", 2, false}),
    [](const ::testing::TestParamInfo<StopCase> &info) { return std::string(info.param.m_label); });

} // namespace

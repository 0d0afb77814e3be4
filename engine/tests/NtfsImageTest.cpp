// The NTFS engine over images that mkntfs and an ntfs-3g mount made (see
// fixtures/make-ntfs-images.sh): the search must show every deleted file
// under its real folder chain with its size and grade, and reading a found
// file must give back the original bytes.
#include "ImageDevices.h"
#include "NtfsFileReader.h"
#include "NtfsScanEngine.h"
#include "NtfsTestImages.h"
#include "RecordingServices.h"
#include "TestClocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

constexpr uint8_t kDrive = 2;

// One image opened as a logical drive in memory (so tests can damage it).
class NtfsImage {
public:
  explicit NtfsImage(std::vector<uint8_t> bytes) : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive) {
    auto device = std::make_unique<MemoryDevice>(std::move(bytes));
    m_device = device.get();
    m_layer.Attach(kDrive, std::move(device));
  }
  std::vector<uint8_t> &Bytes() { return m_device->Bytes(); }
  SectorReader &Reader() { return m_reader; }
  uint64_t Sectors() const { return m_device->SizeInBytes() / kSectorSize; }

private:
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  MemoryDevice *m_device;
};

struct FoundEntry {
  EntryRecord m_entry;
  std::string m_path;
};

// Full paths of the tree entries, built from their parent ids ("" is the root).
std::map<std::string, FoundEntry> PathsOf(const RecordingServices &services) {
  std::map<uint32_t, std::pair<uint32_t, std::string>> folders;
  for (const auto &added : services.m_treeEntries)
    if (added.m_entry.IsFolder())
      folders[added.m_entry.m_ownId] = {added.m_entry.m_parentId, ToUtf8(added.m_name)};
  std::map<std::string, FoundEntry> paths;
  for (const auto &added : services.m_treeEntries) {
    std::string path = ToUtf8(added.m_name);
    uint32_t parent = added.m_entry.m_parentId;
    for (int depth = 0; parent != kNtfsRootRecord && depth < 100; ++depth) {
      auto it = folders.find(parent);
      if (it == folders.end()) {
        path = "?/" + path;
        break;
      }
      path = it->second.second + "/" + path;
      parent = it->second.first;
    }
    paths[path] = {added.m_entry, path};
  }
  return paths;
}

std::vector<std::string> Keys(const std::map<std::string, FoundEntry> &paths) {
  std::vector<std::string> keys;
  for (const auto &path : paths) keys.push_back(path.first);
  return keys;
}

class NtfsImageTest : public NtfsFixtureImageTest {
protected:
  void SetUp() override {
    NtfsFixtureImageTest::SetUp();
    if (IsSkipped()) return;
    m_rows = ReadNtfsManifest(m_base + ".manifest");
    ASSERT_FALSE(m_rows.empty());
  }

  std::unique_ptr<NtfsImage> Open() { return std::make_unique<NtfsImage>(ReadFileBytes(m_base + ".img")); }

  std::vector<NtfsManifestRow> m_rows;
};

TEST_P(NtfsImageTest, FastSearchShowsEveryDeletedFileUnderItsFolders) {
  auto image = Open();
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  engine.RunNtfsFastScan();
  ASSERT_TRUE(services.m_errorBoxes.empty());
  const auto paths = PathsOf(services);
  for (const NtfsManifestRow &row : m_rows) {
    if (row.m_kind == "skip") continue;
    auto it = paths.find(row.m_path);
    if (row.m_kind == "live-file" || row.m_kind == "live-read" || row.m_kind == "reused-folder") {
      EXPECT_EQ(it, paths.end()) << row.m_path << " must not be listed";
      continue;
    }
    ASSERT_NE(it, paths.end()) << row.m_path << " not found; log:\n" << services.LogAsText();
    const EntryRecord &entry = it->second.m_entry;
    EXPECT_EQ(entry.m_ownId, row.m_record) << row.m_path;
    EXPECT_EQ(entry.m_firstCluster, row.m_record) << row.m_path;
    if (row.m_kind == "live-folder" || row.m_kind == "deleted-folder") {
      EXPECT_TRUE(entry.IsFolder()) << row.m_path;
      EXPECT_EQ(entry.m_deleted, row.m_kind == "deleted-folder" ? 1 : 0) << row.m_path;
      continue;
    }
    EXPECT_EQ(entry.m_attributes, kEntryAttrArchive) << row.m_path;
    EXPECT_EQ(entry.m_size, row.m_size) << row.m_path;
    EXPECT_EQ(entry.m_deleted, 1) << row.m_path;
    const bool compressed = row.m_path.rfind("comp/", 0) == 0;
    EXPECT_EQ(entry.m_compressed, compressed ? 1 : 0) << row.m_path;
    EXPECT_EQ(entry.m_grade, compressed ? RecoveryGrade::Poor : RecoveryGrade::VeryGood) << row.m_path;
    EXPECT_NE(entry.m_dateWords[3] | entry.m_dateWords[2], 0u) << row.m_path << " has no modification time";
  }
  // Each folder reaches the tree once, however many deleted files it holds.
  size_t docs = 0;
  for (const auto &added : services.m_treeEntries) docs += ToUtf8(added.m_name) == "docs";
  EXPECT_EQ(docs, 1u);
  EXPECT_EQ(services.m_finishedCount, 1u);
  EXPECT_EQ(services.m_treeRootCount, 1u);
  EXPECT_FALSE(services.m_scanPhaseBusy);
}

// Every deleted file that ntfsundelete lists with a name is found with the
// same record number and size.
TEST_P(NtfsImageTest, AgreesWithNtfsundelete) {
  std::ifstream listing(m_base + ".undelete");
  if (!listing) GTEST_SKIP() << "no ntfsundelete listing";
  auto image = Open();
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  engine.RunNtfsFastScan();
  std::map<uint32_t, EntryRecord> byRecord;
  for (const auto &added : services.m_treeEntries) byRecord[added.m_entry.m_ownId] = added.m_entry;
  std::string line;
  size_t compared = 0;
  while (std::getline(listing, line)) {
    std::istringstream fields(line);
    std::string inode, flags, percent, date, time, size, name;
    if (!(fields >> inode >> flags >> percent >> date >> time >> size >> name)) continue;
    if (inode.empty() || !std::isdigit(static_cast<unsigned char>(inode[0])) || flags[0] != 'F' ||
        name == "<none>")
      continue;
    const uint32_t record = static_cast<uint32_t>(std::stoul(inode));
    auto it = byRecord.find(record);
    ASSERT_NE(it, byRecord.end()) << name << " (record " << record << ") not found";
    EXPECT_EQ(it->second.m_size, std::stoull(size)) << name;
    EXPECT_EQ(it->second.m_deleted, 1) << name;
    ++compared;
  }
  EXPECT_GT(compared, 5u);
}

TEST_P(NtfsImageTest, FoundFilesReadBackByteForByte) {
  auto image = Open();
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  for (const NtfsManifestRow &row : m_rows) {
    if (row.m_kind != "deleted-file" && row.m_kind != "live-read") continue;
    const std::vector<uint8_t> original = ReadFileBytes(m_base + ".orig/" + row.m_original);
    ASSERT_EQ(original.size(), row.m_size) << row.m_path;
    std::vector<uint8_t> read;
    std::string why;
    const bool ok = ReadNtfsFile(
        engine.Volume(), row.m_record,
        [&](const uint8_t *data, size_t length) {
          read.insert(read.end(), data, data + length);
          return true;
        },
        &why);
    EXPECT_TRUE(ok) << row.m_path << ": " << why;
    EXPECT_EQ(read.size(), original.size()) << row.m_path;
    EXPECT_TRUE(read == original) << row.m_path << " differs from the original";
  }
}

// The 4096-byte-cluster image's frag.bin lies in so many fragments that its
// run list continues in extension records; the read-back above covers it.
TEST_P(NtfsImageTest, FragmentedFileUsesAnAttributeList) {
  if (std::string(GetParam()) != "ntfs-4k") GTEST_SKIP() << "only the 4096-byte-cluster image needs one";
  auto image = Open();
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  for (const NtfsManifestRow &row : m_rows) {
    if (row.m_path != "frag.bin") continue;
    std::vector<uint8_t> bytes;
    FileRecordInfo info;
    ASSERT_EQ(engine.Volume().ReadRecord(row.m_record, bytes, info), ParseResult::Ok);
    EXPECT_TRUE(info.m_hasAttributeList);
  }
}

TEST_P(NtfsImageTest, FileOfMoreThan4GiBStreamsItsExactSize) {
  auto image = Open();
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  for (const NtfsManifestRow &row : m_rows) {
    if (row.m_kind != "deleted-big") continue;
    uint64_t total = 0;
    std::string head, tail;
    const uint64_t endMark = (uint64_t{4} << 30) + 8000;
    const bool ok = ReadNtfsFile(engine.Volume(), row.m_record, [&](const uint8_t *data, size_t length) {
      if (total == 0) head.assign(reinterpret_cast<const char *>(data), 5001);
      if (total <= endMark && endMark + 3 <= total + length)
        tail.assign(reinterpret_cast<const char *>(data + (endMark - total)), 3);
      total += length;
      return true;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(total, row.m_size);
    EXPECT_EQ(head, std::string(5000, 'B') + '\0');
    EXPECT_EQ(tail, "END");
  }
}

// The walk reads many records per transfer; each must equal the record read alone.
TEST_P(NtfsImageTest, ChunkedMftReadEqualsRecordByRecord) {
  auto image = Open();
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  ASSERT_TRUE(engine.ReadNtfsBootSector());
  ASSERT_TRUE(engine.LoadMftRunList());
  NtfsVolume &volume = engine.Volume();
  const uint64_t count = volume.RecordCount();
  const size_t size = volume.RecordSize();
  std::vector<uint8_t> all(count * size);
  ASSERT_TRUE(volume.ReadMftRecords(0, count, all.data()));
  for (uint64_t n = 0; n < count; ++n) {
    std::vector<uint8_t> one(size);
    ASSERT_TRUE(volume.ReadMftRecords(n, 1, one.data()));
    ASSERT_TRUE(std::equal(one.begin(), one.end(), all.begin() + n * size)) << "record " << n;
  }
}

TEST_P(NtfsImageTest, DamagedPrimaryBootSectorFallsBackToTheBackup) {
  auto image = Open();
  std::fill(image->Bytes().begin(), image->Bytes().begin() + kSectorSize, 0);
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  engine.RunNtfsFastScan();
  EXPECT_TRUE(services.m_errorBoxes.empty());
  EXPECT_TRUE(engine.Volume().UsedBackupBootSector());
  EXPECT_EQ(PathsOf(services).count("docs/report.bin"), 1u);
}

TEST_P(NtfsImageTest, BothBootSectorsDamagedShowsTheInvalidDriveBox) {
  auto image = Open();
  std::fill(image->Bytes().begin(), image->Bytes().begin() + kSectorSize, 0);
  std::fill(image->Bytes().end() - kSectorSize, image->Bytes().end(), 0);
  RecordingServices services;
  services.SetText(NtfsText::kNotValidDrive, u"invalid");
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  engine.RunNtfsFastScan();
  ASSERT_EQ(services.m_errorBoxes.size(), 1u);
  EXPECT_EQ(services.m_errorBoxes[0], u"invalid");
  // The search still ends: the window must not stay searching.
  EXPECT_EQ(services.m_finishedCount, 1u);
  EXPECT_EQ(services.m_finishedFoundCount, 0u);

  engine.RunNtfsAdvancedScan();
  EXPECT_EQ(services.m_errorBoxes.size(), 2u);
  EXPECT_EQ(services.m_finishedCount, 2u);
}

TEST_P(NtfsImageTest, UnreadableMftSectorCostsOnlyItsOwnRecords) {
  auto image = Open();
  RecordingServices reference;
  NtfsScanEngine whole(reference, image->Reader(), image->Sectors());
  whole.RunNtfsFastScan();
  const auto expected = PathsOf(reference);

  // The sector that holds the start of olddir/inner.txt's record fails.
  uint32_t inner = 0;
  for (const NtfsManifestRow &row : m_rows)
    if (row.m_path == "olddir/inner.txt") inner = row.m_record;
  ASSERT_NE(inner, 0u);
  uint64_t sector = 0, contiguous = 0;
  ASSERT_TRUE(
      whole.Volume().MftOffsetToSector(uint64_t{inner} * whole.Volume().RecordSize(), sector, contiguous));
  image->Reader().SetFaultFilter([sector](uint64_t s) { return s == sector; });
  RecordingServices services;
  services.SetText(NtfsText::kErrorReadingSector, u"Error reading sector :");
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  engine.RunNtfsFastScan();
  auto found = PathsOf(services);
  EXPECT_EQ(found.count("olddir/inner.txt"), 0u);
  const std::string number = std::to_string(sector);
  EXPECT_TRUE(
      services.LogContains(u"Error reading sector : " + std::u16string(number.begin(), number.end())));
  found["olddir/inner.txt"] = expected.at("olddir/inner.txt");
  EXPECT_EQ(found.size(), expected.size());
}

// Folder olddir is patched to name its own child sub as its parent: the
// chain sub -> olddir -> sub loops.
TEST_P(NtfsImageTest, LoopingParentChainEndsUnderARecreatedFolder) {
  auto image = Open();
  uint32_t olddir = 0, sub = 0;
  for (const NtfsManifestRow &row : m_rows) {
    if (row.m_path == "olddir") olddir = row.m_record;
    if (row.m_path == "olddir/sub") sub = row.m_record;
  }
  ASSERT_NE(olddir, 0u);
  {
    RecordingServices services;
    NtfsScanEngine engine(services, image->Reader(), image->Sectors());
    ASSERT_TRUE(engine.ReadNtfsBootSector());
    ASSERT_TRUE(engine.LoadMftRunList());
    uint64_t sector = 0, contiguous = 0;
    NtfsVolume &volume = engine.Volume();
    ASSERT_TRUE(volume.MftOffsetToSector(uint64_t{olddir} * volume.RecordSize(), sector, contiguous));
    uint8_t *record = image->Bytes().data() + sector * kSectorSize;
    std::vector<uint8_t> fixed(record, record + volume.RecordSize());
    FileRecordInfo info;
    ASSERT_EQ(ApplyRecordFixups(fixed.data(), fixed.size()), ParseResult::Ok);
    ASSERT_EQ(ParseFileRecord(fixed.data(), fixed.size(), info), ParseResult::Ok);
    // Find the $FILE_NAME's parent reference (it names the root) and point it at sub.
    bool patched = false;
    for (size_t off = ReadLe16(record + 0x14); off + 0x20 < volume.RecordSize();) {
      const uint32_t type = ReadLe32(record + off);
      if (type == kNtfsAttrEnd) break;
      if (type == kNtfsAttrFileName) {
        uint8_t *value = record + off + ReadLe16(record + off + 0x14);
        WriteLe64(value, (uint64_t{info.m_sequence} << 48) | sub);
        patched = true;
      }
      off += ReadLe32(record + off + 4);
    }
    ASSERT_TRUE(patched);
  }
  RecordingServices services;
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  engine.RunNtfsFastScan();
  const auto paths = PathsOf(services);
  // Whichever folder of the loop is met first is re-created; both files end under it.
  size_t underLost = 0;
  for (const auto &found : paths) {
    const std::string &path = found.first;
    EXPECT_EQ(path.find('?'), std::string::npos) << path;
    const bool inLoop =
        path.find("/inner.txt") != std::string::npos || path.find("/deep.bin") != std::string::npos;
    if (inLoop && path.rfind("Lost Folder(s)/Folder ", 0) == 0) ++underLost;
  }
  EXPECT_EQ(underLost, 2u) << services.LogAsText();
  // Ids stay unique: the re-created folder does not take sub's own id.
  std::map<uint32_t, int> folderIds;
  for (const auto &added : services.m_treeEntries)
    if (added.m_entry.IsFolder()) {
      EXPECT_EQ(++folderIds[added.m_entry.m_ownId], 1) << ToUtf8(added.m_name);
    }
}

TEST_P(NtfsImageTest, LogAndProgressFollowTheWalkAndTheTreeBuild) {
  auto image = Open();
  RecordingServices services;
  services.SetText(NtfsText::kProcessStarted, u"Process started");
  services.SetText(NtfsText::kProcessCompleted, u"Process completed");
  services.SetText(NtfsText::kCalculatingParameters, u"Calculating system parameters");
  services.SetText(NtfsText::kCreatingDirectoryTree, u"Creating directory tree");
  NtfsScanEngine engine(services, image->Reader(), image->Sectors());
  engine.RunNtfsFastScan();
  ASSERT_GE(services.m_log.size(), 4u);
  EXPECT_EQ(services.m_log[0].m_activity.value_or(u""), u"Calculating system parameters");
  EXPECT_EQ(services.m_log[0].m_status, LogStatus::Started);
  EXPECT_EQ(services.m_log[1].m_text, u"Process completed");
  EXPECT_EQ(services.m_log[2].m_activity.value_or(u""), u"Creating directory tree");
  EXPECT_EQ(services.m_log.back().m_status, LogStatus::Completed);
  // The times come from the application's clock, as the other engines' do.
  EXPECT_EQ(services.m_log[0].m_time.value_or(u""), u"Started on 12:34:56");
  EXPECT_EQ(services.m_log.back().m_time.value_or(u""), u"Completed on 12:34:56");
  EXPECT_EQ(services.m_progressCaptions.front(), u"Calculating system parameters");
  EXPECT_EQ(services.m_progressRanges.front(), engine.Volume().RecordCount());
  EXPECT_EQ(services.m_finishedFoundCount, services.m_treeEntries.size() + 1);
}

// A stop during the tree build keeps what was found: every file the walk
// listed still reaches the tree, with its folders.
TEST_P(NtfsImageTest, StopDuringTheTreeBuildStillListsEveryFile) {
  auto fullImage = Open();
  RecordingServices full;
  NtfsScanEngine fullEngine(full, fullImage->Reader(), fullImage->Sectors(), SteppingClock());
  fullEngine.RunNtfsFastScan();

  auto image = Open();
  RecordingServices services;
  services.StopAfterPumpsInPhase(u"Creating directory tree", 1);
  NtfsScanEngine engine(services, image->Reader(), image->Sectors(), SteppingClock());
  engine.RunNtfsFastScan();
  ASSERT_TRUE(services.StopRequested());
  EXPECT_EQ(Keys(PathsOf(services)), Keys(PathsOf(full)));
  EXPECT_EQ(services.m_finishedFoundCount, services.m_treeEntries.size() + 1);
  EXPECT_EQ(services.m_treeResetCount, 1u);
}

// The walk and the tree build pump by time, not once per record or file,
// and the bar still gets a step for every one of them.
TEST_P(NtfsImageTest, PumpsArePacedByTimeAndProgressKeepsEveryStep) {
  struct Run {
    size_t m_pumps;
    size_t m_steps;
    size_t m_entries;
    uint64_t m_records;
  };
  auto search = [this](WorkPacer::Clock clock) {
    auto image = Open();
    RecordingServices services;
    NtfsScanEngine engine(services, image->Reader(), image->Sectors(), std::move(clock));
    engine.RunNtfsFastScan();
    return Run{services.m_pumpCount, services.m_progressSteps, services.m_treeEntries.size(),
               engine.Volume().RecordCount()};
  };
  const Run frozen = search(FrozenClock());
  const Run stepping = search(SteppingClock());
  EXPECT_EQ(frozen.m_pumps, 0u);
  EXPECT_GE(stepping.m_pumps, stepping.m_records);
  EXPECT_EQ(frozen.m_steps, stepping.m_steps);
  EXPECT_GT(frozen.m_steps, frozen.m_records); // every record, then every deleted file
  EXPECT_EQ(frozen.m_entries, stepping.m_entries);
}

// Stop is honoured in the record walk too: the walk logs its abort, the
// files it had walked are listed under their folders, and the search ends.
TEST_P(NtfsImageTest, StopDuringTheWalkListsWhatTheWalkHadFound) {
  auto fullImage = Open();
  RecordingServices full;
  NtfsScanEngine fullEngine(full, fullImage->Reader(), fullImage->Sectors(), SteppingClock());
  fullEngine.RunNtfsFastScan();
  const auto fullPaths = PathsOf(full);
  // The deleted file the walk meets first: a stop just after it must keep it.
  const FoundEntry *first = nullptr;
  for (const auto &found : fullPaths)
    if (!found.second.m_entry.IsFolder() &&
        (first == nullptr || found.second.m_entry.m_ownId < first->m_entry.m_ownId))
      first = &found.second;
  ASSERT_NE(first, nullptr);

  auto image = Open();
  RecordingServices services;
  // With the stepping clock the walk pumps once per record, before it.
  services.StopAfterPumpsInPhase(u"Calculating system parameters", first->m_entry.m_ownId + 2);
  NtfsScanEngine engine(services, image->Reader(), image->Sectors(), SteppingClock());
  engine.RunNtfsFastScan();
  ASSERT_TRUE(services.StopRequested());
  EXPECT_LT(services.m_progressSteps, full.m_progressSteps);
  const auto paths = PathsOf(services);
  EXPECT_EQ(paths.count(first->m_path), 1u) << first->m_path << "\n" << services.LogAsText();
  for (const auto &found : paths) EXPECT_EQ(fullPaths.count(found.first), 1u) << found.first;
  EXPECT_LE(paths.size(), fullPaths.size());
  ASSERT_FALSE(services.m_log.empty());
  EXPECT_EQ(services.m_log[0].m_activity.value_or(u""), u"Calculating system parameters");
  EXPECT_TRUE(services.LogContains(u"Process aborted - user intervention")) << services.LogAsText();
  EXPECT_FALSE(services.m_scanPhaseBusy);
  EXPECT_FALSE(services.m_progressBarPresent);
  EXPECT_EQ(services.m_finishedCount, 1u);
  EXPECT_EQ(services.m_finishedFoundCount, services.m_treeEntries.size() + 1);
}

// A stop before the walk met a deleted file leaves no tree to show.
TEST_P(NtfsImageTest, StopBeforeAnythingWasFoundShowsNoTree) {
  auto image = Open();
  RecordingServices services;
  services.StopAfterPumps(3);
  NtfsScanEngine engine(services, image->Reader(), image->Sectors(), SteppingClock());
  engine.RunNtfsFastScan();
  EXPECT_EQ(services.m_pumpCount, 3u);
  EXPECT_EQ(services.m_treeRootCount, 0u);
  EXPECT_TRUE(services.m_treeEntries.empty());
  EXPECT_EQ(services.m_log.back().m_text, u"Process aborted - user intervention");
  EXPECT_EQ(services.m_log.back().m_status, LogStatus::Error);
  EXPECT_EQ(services.m_finishedFoundCount, 0u);
}

INSTANTIATE_TEST_SUITE_P(ClusterSizes, NtfsImageTest, ::testing::Values("ntfs-4k", "ntfs-512"));

} // namespace

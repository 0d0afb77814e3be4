// Scan-information files are the same bytes on every build. The golden files
// in engine/tests/golden were written by a scan of the byte-stable images
// that fixtures/make-golden-images.sh makes (FAT12, FAT32, NTFS and a whole
// disk). Each build, native and Windows alike,
//   (a) loads every golden file and must get the tree and engine state that
//       a fresh scan of the same image gives, and
//   (b) saves that fresh scan and must write the golden file byte for byte.
//
// After a deliberate change of the layout or of what a scan finds, rewrite
// the goldens from the native build and commit them with the change:
//   QV_UPDATE_GOLDEN=1 ctest --test-dir BUILD -R engine_ScanFileGoldenTest
#include "AppendSink.h"
#include "FatScanFile.h"
#include "ImageDevices.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsFileReader.h"
#include "NtfsScanFile.h"
#include "NtfsTestVolume.h"
#include "RecordingServices.h"
#include "SignatureTestSpace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Environment(const char *name) {
  const char *value = std::getenv(name);
  return value ? value : "";
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Utf8(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

std::vector<HeaderRecord> GoldenSignatures() {
  return {MakeHeader(u"JPG", kJpegStart, 16 * 1024), MakeHeader(u"PDF", kPdfStart, 8 * 1024),
          MakeHeader(u"ZIP", kZipStart, 4096), MakeHeader(u"BMP", kBmpStart)};
}

void SetTexts(RecordingServices &services) {
  services.SetText(SignatureText::kRawDataFolder, u"Raw Data Folder");
  services.SetText(SignatureText::kLostFolder, u"Lost Folder");
  services.SetText(SignatureText::kFolders, u"Folder(s)");
  services.m_selectedHeaders = GoldenSignatures();
}

// One image on one drive code, held in memory, with the engine of its kind.
class GoldenSubject {
public:
  GoldenSubject(std::vector<uint8_t> bytes, uint8_t drive)
      : m_io(m_layer, nullptr, false), m_reader(m_io, drive, 0), m_sectors(bytes.size() / kSectorSize) {
    m_layer.Attach(drive, std::make_unique<MemoryDevice>(std::move(bytes)));
    SetTexts(m_services);
  }
  virtual ~GoldenSubject() = default;

  virtual void Scan() = 0;
  virtual bool Save(const std::u16string &path, const std::vector<ScanFileEntry> &entries) = 0;
  virtual bool Load(const std::u16string &path) = 0;
  // Compares what the engine holds besides the tree with a scanned engine.
  virtual void ExpectSameState(GoldenSubject &scanned) = 0;
  // A found file's bytes as recovery reads them; false when not whole.
  virtual bool Read(const EntryRecord &entry, std::vector<uint8_t> &bytes) = 0;

  RecordingServices &Services() { return m_services; }

protected:
  static void ExpectSameHits(const std::vector<SignatureHit> &is, const std::vector<SignatureHit> &was) {
    ASSERT_EQ(is.size(), was.size());
    for (size_t i = 0; i < was.size(); ++i) {
      EXPECT_EQ(is[i].m_cluster, was[i].m_cluster) << i;
      EXPECT_EQ(is[i].m_size, was[i].m_size) << i;
      EXPECT_EQ(is[i].m_ownId, was[i].m_ownId) << i;
      EXPECT_EQ(Utf8(is[i].m_extension), Utf8(was[i].m_extension)) << i;
    }
  }

  RecordingServices m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  uint64_t m_sectors;
};

class FatSubject : public GoldenSubject {
public:
  explicit FatSubject(std::vector<uint8_t> bytes)
      : GoldenSubject(std::move(bytes), 2), m_engine(m_services, m_reader, m_sectors) {}

  void Scan() override { m_engine.RunFatAdvancedScan(); }
  bool Save(const std::u16string &path, const std::vector<ScanFileEntry> &entries) override {
    return SaveFatScanFile(m_engine, m_services, path, entries);
  }
  bool Load(const std::u16string &path) override { return LoadFatScanFile(m_engine, m_services, path); }
  void ExpectSameState(GoldenSubject &other) override {
    FatScanEngine &was = static_cast<FatSubject &>(other).m_engine;
    const BootParameters &a = m_engine.Volume().Parameters();
    const BootParameters &b = was.Volume().Parameters();
    EXPECT_EQ(a.m_kind, b.m_kind);
    EXPECT_EQ(a.m_sectorsPerCluster, b.m_sectorsPerCluster);
    EXPECT_EQ(a.m_fatCount, b.m_fatCount);
    EXPECT_EQ(a.m_reservedSectors, b.m_reservedSectors);
    EXPECT_EQ(a.m_rootDirectorySectors, b.m_rootDirectorySectors);
    EXPECT_EQ(a.m_fatSize, b.m_fatSize);
    EXPECT_EQ(a.m_rootCluster, b.m_rootCluster);
    EXPECT_EQ(a.m_totalSectors, b.m_totalSectors);
    EXPECT_EQ(a.m_clusterCount, b.m_clusterCount);
    EXPECT_EQ(m_engine.Volume().ChainMode(), was.Volume().ChainMode());
    EXPECT_TRUE(m_engine.Volume().Table().Bytes() == was.Volume().Table().Bytes());
    size_t differing = 0;
    for (uint64_t cluster = 0; cluster <= uint64_t{was.Volume().MaxCluster()} + 4; ++cluster)
      if (m_engine.Volume().IsClusterInUse(cluster) != was.Volume().IsClusterInUse(cluster)) ++differing;
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(m_engine.Totals().m_folders, was.Totals().m_folders);
    EXPECT_EQ(m_engine.Totals().m_files, was.Totals().m_files);
    // Not the found bytes: a scan leaves its signature hits out of them,
    // while a load counts the size of every item it lists.
    ExpectSameHits(m_engine.SignatureHits(), was.SignatureHits());
  }
  bool Read(const EntryRecord &entry, std::vector<uint8_t> &bytes) override {
    return m_engine.ReadFoundFile(entry, AppendTo(bytes));
  }

private:
  FatScanEngine m_engine;
};

class NtfsSubject : public GoldenSubject {
public:
  explicit NtfsSubject(std::vector<uint8_t> bytes)
      : GoldenSubject(std::move(bytes), 3), m_engine(m_services, m_reader, m_sectors) {}

  void Scan() override { m_engine.RunNtfsAdvancedScan(); }
  bool Save(const std::u16string &path, const std::vector<ScanFileEntry> &entries) override {
    return SaveNtfsScanFile(m_engine, m_services, path, entries);
  }
  bool Load(const std::u16string &path) override { return LoadNtfsScanFile(m_engine, m_services, path); }
  void ExpectSameState(GoldenSubject &other) override {
    NtfsAdvancedEngine &was = static_cast<NtfsSubject &>(other).m_engine;
    const NtfsBootInfo &a = m_engine.Volume().Boot();
    const NtfsBootInfo &b = was.Volume().Boot();
    EXPECT_EQ(a.m_sectorsPerCluster, b.m_sectorsPerCluster);
    EXPECT_EQ(a.m_totalSectors, b.m_totalSectors);
    EXPECT_EQ(a.m_mftCluster, b.m_mftCluster);
    EXPECT_EQ(a.m_mftMirrorCluster, b.m_mftMirrorCluster);
    // Not the record count: the file keeps the sectors of the runs, not the
    // table's data size, so a load counts the records of whole clusters.
    ASSERT_EQ(m_engine.RunArray().size(), was.RunArray().size());
    for (size_t i = 0; i < was.RunArray().size(); ++i) {
      EXPECT_EQ(m_engine.RunArray()[i].m_sectors, was.RunArray()[i].m_sectors) << i;
      EXPECT_EQ(m_engine.RunArray()[i].m_rawCluster, was.RunArray()[i].m_rawCluster) << i;
      EXPECT_EQ(m_engine.RunArray()[i].m_mark, was.RunArray()[i].m_mark) << i;
    }
    EXPECT_TRUE(m_engine.ClusterMap() == was.ClusterMap());
    EXPECT_EQ(m_engine.FolderCount(), was.FolderCount());
    EXPECT_EQ(m_engine.FileCount(), was.FileCount());
    EXPECT_EQ(m_engine.ByteTotal(), was.ByteTotal());
    ExpectSameHits(m_engine.SignatureHits(), was.SignatureHits());
  }
  bool Read(const EntryRecord &entry, std::vector<uint8_t> &bytes) override {
    for (const SignatureHit &hit : m_engine.SignatureHits())
      if (hit.m_ownId == entry.m_ownId) return m_engine.ReadSignatureHit(entry, AppendTo(bytes));
    return ReadNtfsFile(m_engine.Volume(), entry.m_firstCluster, AppendTo(bytes));
  }

  // Deleted files and signatures put into the empty volume at fixed places:
  // records in reserved slots of its master file table that hold no file,
  // data and signatures in free clusters found from its own bitmap.
  static void Populate(std::vector<uint8_t> &image);

private:
  NtfsAdvancedEngine m_engine;
};

class DiskSubject : public GoldenSubject {
public:
  explicit DiskSubject(std::vector<uint8_t> bytes)
      : GoldenSubject(std::move(bytes), 128), m_scan(m_services, m_reader, m_sectors, false) {}

  void Scan() override { m_scan.RunPhysicalDiskScan(); }
  bool Save(const std::u16string &path, const std::vector<ScanFileEntry> &entries) override {
    return SavePhysicalDiskScanFile(m_scan, m_services, path, entries);
  }
  bool Load(const std::u16string &path) override {
    return LoadPhysicalDiskScanFile(m_scan, m_services, path);
  }
  void ExpectSameState(GoldenSubject &other) override {
    PhysicalDiskScan &was = static_cast<DiskSubject &>(other).m_scan;
    EXPECT_EQ(m_scan.Sectors(), was.Sectors());
    EXPECT_EQ(m_scan.FoundCount(), was.FoundCount());
    EXPECT_EQ(m_scan.FoundBytes(), was.FoundBytes());
  }
  bool Read(const EntryRecord &entry, std::vector<uint8_t> &bytes) override {
    return m_scan.ReadFoundFile(entry, AppendTo(bytes));
  }

private:
  PhysicalDiskScan m_scan;
};

void NtfsSubject::Populate(std::vector<uint8_t> &image) {
  std::vector<uint8_t> map;
  uint64_t clusterBytes = 0;
  uint64_t records = 0;
  std::vector<uint64_t> recordOffsets;
  {
    NtfsSubject probe(image);
    NtfsAdvancedEngine &engine = probe.m_engine;
    ASSERT_TRUE(engine.ReadNtfsBootSector());
    ASSERT_TRUE(engine.LoadMftRunList());
    ASSERT_TRUE(engine.LoadClusterBitmap());
    map = engine.ClusterMap();
    clusterBytes = engine.Volume().ClusterSize();
    records = engine.Volume().RecordCount();
    // Records 20..23 are reserved by the format and hold no file.
    ASSERT_GE(records, 24u);
    for (uint64_t record = 20; record < 24; ++record) {
      uint64_t sector = 0, contiguous = 0;
      ASSERT_TRUE(engine.Volume().MftOffsetToSector(record * 1024, sector, contiguous));
      ASSERT_GE(contiguous, 1024u);
      const size_t offset = static_cast<size_t>(sector * 512);
      ASSERT_EQ(image[offset + 0x16] & kNtfsRecordInUse, 0) << "record " << record << " is in use";
      recordOffsets.push_back(offset);
    }
  }
  std::vector<uint64_t> free;
  for (uint64_t cluster = map.size() / 2; cluster < map.size() && free.size() < 16; ++cluster)
    if (map[cluster] == 0) free.push_back(cluster);
  ASSERT_EQ(free.size(), 16u);
  ASSERT_EQ(free.back() - free.front(), 15u) << "the free clusters are not one run";
  auto put = [&image](uint64_t offset, const std::vector<uint8_t> &bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
  };
  // A deleted folder, a deleted file in it (in clusters) and one at the root
  // (resident); then signatures in the free clusters after the file's.
  const uint64_t folder = 20;
  const uint64_t dataCluster = free[0];
  std::vector<uint8_t> content(2 * clusterBytes - 100);
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<uint8_t>('a' + i % 26);
  put(dataCluster * clusterBytes, content);
  constexpr uint64_t kTime = 129068064000000000; // 2010-01-01 in 100 ns steps from 1601
  put(recordOffsets[0], TestRecord(kNtfsRecordFolder, 3)
                            .StandardInformation(kTime, kTime + 1, kTime + 2)
                            .FileName(5, 5, u"Old folder")
                            .Bytes());
  put(recordOffsets[1], TestRecord(0, 2)
                            .StandardInformation(kTime + 10, kTime + 11, kTime + 12)
                            .FileName(folder, 3, u"inside report.txt")
                            .NonResident(kNtfsAttrData,
                                         {0x21, 2, static_cast<uint8_t>(dataCluster),
                                          static_cast<uint8_t>(dataCluster >> 8), 0},
                                         0, 1, content.size())
                            .Bytes());
  const std::vector<uint8_t> note{'g', 'o', 'n', 'e', '\n'};
  put(recordOffsets[2], TestRecord(0, 4)
                            .StandardInformation(kTime + 20, kTime + 21, kTime + 22)
                            .FileName(5, 5, u"note.txt")
                            .Resident(kNtfsAttrData, note)
                            .Bytes());
  put(free[4] * clusterBytes, kJpegStart);
  put(free[7] * clusterBytes, kPdfStart);
  put(free[9] * clusterBytes, kZipStart);
}

struct GoldenCase {
  const char *m_label;
  const char *m_image;  // in the fixture folder's golden/
  const char *m_golden; // in the golden folder
  std::unique_ptr<GoldenSubject> (*m_make)(std::vector<uint8_t> bytes);
};

template <typename Subject> std::unique_ptr<GoldenSubject> Make(std::vector<uint8_t> bytes) {
  return std::make_unique<Subject>(std::move(bytes));
}

// The tree's entry list as the application keeps it: its root first, then
// every entry the scan handed out, every third one checked.
std::vector<ScanFileEntry> EntryList(const RecordingServices &services) {
  std::vector<ScanFileEntry> entries;
  EntryRecord root;
  root.m_attributes = kEntryAttrFolder;
  entries.push_back(ScanFileEntry{root, u"Drive"});
  for (const RecordingServices::TreeEntry &entry : services.m_treeEntries) {
    entries.push_back(ScanFileEntry{entry.m_entry, entry.m_name});
    if (entries.size() % 3 == 0) entries.back().m_record.m_checkState = 1;
  }
  return entries;
}

// Where two files first differ, for the failure message.
std::string FirstDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b) {
  const auto mismatch = std::mismatch(
      a.begin(), a.begin() + static_cast<std::ptrdiff_t>(std::min(a.size(), b.size())), b.begin());
  return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
         ", first difference at byte " + std::to_string(mismatch.first - a.begin());
}

class ScanFileGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ScanFileGoldenTest, LoadsIntoTheFreshScanAndSavesTheSameBytes) {
  const GoldenCase &c = GetParam();
  const std::string fixtures = Environment("QV_FIXTURES");
  const std::string goldens = Environment("QV_GOLDEN_DIR");
  if (fixtures.empty() || goldens.empty()) GTEST_SKIP() << "QV_FIXTURES or QV_GOLDEN_DIR not set";
  std::vector<uint8_t> image = ReadBytes(std::filesystem::path(fixtures) / "golden" / c.m_image);
  if (image.empty()) GTEST_SKIP() << c.m_image << " not made (a tool is missing)";
  if (std::string(c.m_label) == "Ntfs") {
    NtfsSubject::Populate(image);
    if (HasFatalFailure()) return;
  }

  std::unique_ptr<GoldenSubject> scanned = c.m_make(image);
  scanned->Scan();
  const std::vector<ScanFileEntry> entries = EntryList(scanned->Services());
  ASSERT_GT(entries.size(), 4u) << scanned->Services().LogAsText();
  const std::filesystem::path fresh =
      std::filesystem::temp_directory_path() / (std::string("qv-golden-") + c.m_golden);
  ASSERT_TRUE(scanned->Save(fresh.u16string(), entries)) << scanned->Services().LogAsText();
  const std::vector<uint8_t> freshBytes = ReadBytes(fresh);
  std::filesystem::remove(fresh);
  const std::filesystem::path golden = std::filesystem::path(goldens) / c.m_golden;
  if (!Environment("QV_UPDATE_GOLDEN").empty()) {
    std::ofstream out(golden, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(freshBytes.data()),
              static_cast<std::streamsize>(freshBytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << golden;
  }
  const std::vector<uint8_t> goldenBytes = ReadBytes(golden);
  ASSERT_FALSE(goldenBytes.empty()) << golden << " is missing: see this file's head to make it";

  // (b) The fresh scan's file is the golden one, byte for byte.
  EXPECT_TRUE(freshBytes == goldenBytes) << FirstDifference(freshBytes, goldenBytes);

  // (a) The golden file gives the fresh scan's tree and state.
  std::unique_ptr<GoldenSubject> loaded = c.m_make(image);
  ASSERT_TRUE(loaded->Load(golden.u16string())) << loaded->Services().LogAsText();
  const std::vector<RecordingServices::TreeEntry> &tree = loaded->Services().m_treeEntries;
  ASSERT_EQ(tree.size() + 1, entries.size());
  size_t filesRead = 0;
  for (size_t i = 0; i < tree.size(); ++i) {
    const ScanFileEntry &was = entries[i + 1];
    EXPECT_EQ(tree[i].m_entry, was.m_record) << i << " " << Utf8(was.m_name);
    EXPECT_EQ(Utf8(tree[i].m_name), Utf8(was.m_name)) << i;
    if (was.m_record.IsFolder()) continue;
    std::vector<uint8_t> before, after;
    const bool wholeBefore = scanned->Read(was.m_record, before);
    EXPECT_EQ(loaded->Read(tree[i].m_entry, after), wholeBefore) << Utf8(was.m_name);
    EXPECT_TRUE(after == before) << Utf8(was.m_name);
    if (wholeBefore && !before.empty()) ++filesRead;
  }
  EXPECT_GE(filesRead, 3u);
  loaded->ExpectSameState(*scanned);
}

INSTANTIATE_TEST_SUITE_P(
    Images, ScanFileGoldenTest,
    ::testing::Values(GoldenCase{"Fat12", "golden-fat12.img", "golden-fat12.DAT", Make<FatSubject>},
                      GoldenCase{"Fat32", "golden-fat32.img", "golden-fat32.DAT", Make<FatSubject>},
                      GoldenCase{"Ntfs", "golden-ntfs.img", "golden-ntfs.DAT", Make<NtfsSubject>},
                      GoldenCase{"Disk", "golden-disk.img", "golden-disk.DAT", Make<DiskSubject>}),
    [](const ::testing::TestParamInfo<GoldenCase> &info) { return std::string(info.param.m_label); });

} // namespace

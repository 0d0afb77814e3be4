#include "FatAdvancedSearch.h"

#include "CompoundTestDocument.h"
#include "FatTestImages.h"
#include "SignatureTestSpace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

std::string SignatureFixture(const std::string &name) {
  const char *dir = std::getenv("QV_FIXTURES");
  return dir ? std::string(dir) + "/signature/" + name : std::string();
}

#define QV_REQUIRE_SIGNATURE_FIXTURES()                                                                      \
  do {                                                                                                       \
    if (!std::getenv("QV_FIXTURES"))                                                                         \
      GTEST_SKIP() << "QV_FIXTURES not set: the signature images are not made";                              \
  } while (0)

std::vector<HeaderRecord> ChosenSignatures() {
  return {MakeHeader(u"JPG", kJpegStart, 10 << 20), MakeHeader(u"PDF", kPdfStart, 10 << 20),
          MakeHeader(u"ZIP", kZipStart, 10 << 20), MakeHeader(u"BMP", kBmpStart, 10 << 20),
          MakeHeader(u"DOC", kCompoundStart, 10 << 20)};
}

void NameTexts(RecordingServices &services) {
  services.SetText(SignatureText::kRawDataFolder, u"Raw Data Folder");
  services.SetText(SignatureText::kLostFolder, u"Lost Folder");
  services.SetText(SignatureText::kFolders, u"Folder(s)");
}

// Writes a generated document into free clusters, ending gap clusters
// before the volume's last; returns its first cluster (0 when no room).
uint32_t PlantDocument(std::vector<uint8_t> &image, const CompoundTestSpec &spec, uint32_t gap) {
  FatImageEngine probe(image);
  FatVolume &volume = probe.Engine().Volume();
  if (!volume.ValidateFatVolume()) return 0;
  const std::vector<uint8_t> document = CompoundTestDocument(spec).Bytes();
  const uint32_t clusters =
      (static_cast<uint32_t>(document.size()) + volume.ClusterBytes() - 1) / volume.ClusterBytes();
  const uint32_t first = volume.LastReadableCluster() - clusters - gap;
  for (uint32_t c = first; c < first + clusters; ++c)
    if (volume.IsClusterInUse(c)) return 0;
  std::copy(document.begin(), document.end(), image.begin() + volume.ClusterToSector(first) * 512);
  return first;
}

uint32_t PlantSpreadsheet(std::vector<uint8_t> &image) {
  CompoundTestSpec spec;
  spec.m_mainName = u"Workbook";
  spec.m_mainSize = 3000;
  return PlantDocument(image, spec, 4);
}

// A presentation whose FAT takes 110 sectors: its last FAT sector is named by
// the first DIFAT sector, not the header.
uint32_t PlantPresentation(std::vector<uint8_t> &image) {
  CompoundTestSpec spec;
  spec.m_fatSectors = 110;
  spec.m_mainName = u"PowerPoint Document";
  spec.m_mainMark = 0x0BADDEED;
  return PlantDocument(image, spec, 8);
}

class FatAdvancedSearchTest : public ::testing::TestWithParam<const char *> {};

TEST_P(FatAdvancedSearchTest, DeletedFilesAreFoundBySignatureAndReadBack) {
  QV_REQUIRE_SIGNATURE_FIXTURES();
  const std::string name = GetParam();
  std::vector<uint8_t> image = ReadWholeFile(SignatureFixture(name + ".img"));
  ASSERT_FALSE(image.empty()) << "image missing: " << name;
  const uint32_t spreadsheet = PlantSpreadsheet(image);
  ASSERT_NE(spreadsheet, 0u);
  const uint32_t presentation = PlantPresentation(image);
  ASSERT_NE(presentation, 0u);
  FatImageEngine run(image, SteppingClock());
  NameTexts(run.Services());
  run.Services().m_selectedHeaders = ChosenSignatures();
  run.Engine().RunFatAdvancedScan();
  EXPECT_EQ(run.Services().m_finishedCount, 1u);
  // The pass showed where it read; the search ends with that text gone.
  const std::vector<std::u16string> &items = run.Services().m_currentItemTexts;
  ASSERT_GT(items.size(), 1u);
  EXPECT_EQ(items.front().find(u"Reading cluster"), 1u) << ToUtf8(items.front());
  EXPECT_EQ(items.back(), u"");
  const auto found = run.FoundByPath();

  for (const std::string file : {"photo.jpg", "paper.pdf", "arch.zip", "pic.bmp"}) {
    const std::vector<uint8_t> original = ReadWholeFile(SignatureFixture(name + ".orig/" + file));
    std::string extension = file.substr(file.find('.') + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::toupper);
    bool matched = false;
    for (const auto &entry : found) {
      if (entry.first.rfind("/Raw Data Folder/" + extension + "/", 0) != 0) continue;
      const std::vector<uint8_t> back = run.ReadBack(entry.second);
      if (back.size() < original.size() || !std::equal(original.begin(), original.end(), back.begin()))
        continue;
      matched = true;
      if (extension == "BMP") {
        EXPECT_EQ(entry.second.m_size, original.size());
      }
      EXPECT_EQ(entry.second.m_grade, RecoveryGrade::NotApplicable);
    }
    EXPECT_TRUE(matched) << file << " not found by its signature";
  }

  const std::string sheet = "/Raw Data Folder/XLS/" + std::to_string(spreadsheet) + ".XLS";
  ASSERT_EQ(found.count(sheet), 1u) << run.Services().LogAsText();
  EXPECT_EQ(found.at(sheet).m_grade, RecoveryGrade::VeryGood);
  const std::string slides = "/Raw Data Folder/PPT/" + std::to_string(presentation) + ".PPT";
  ASSERT_EQ(found.count(slides), 1u);
  EXPECT_EQ(found.at(slides).m_grade, RecoveryGrade::VeryGood);
  EXPECT_EQ(found.at(slides).m_size, 110u * 65536u + 512u - 28u * 512u);
}

// LOSTDIR, whose root entry a later file took, and SUB inside it: no entry
// leads to them, and the cluster pass finds both.
struct LostTree {
  std::vector<std::string> m_inner; // INNER.TXT (480 bytes) wherever it is listed
  std::vector<std::string> m_deep;  // DEEP.TXT (420 bytes)
};

LostTree FindLostTree(const FatImageEngine &run) {
  LostTree tree;
  for (const auto &entry : run.FoundInOrder()) {
    if (entry.second.IsFolder()) continue;
    if (entry.second.m_size == 480) tree.m_inner.push_back(entry.first);
    if (entry.second.m_size == 420) tree.m_deep.push_back(entry.first);
  }
  return tree;
}

std::string FolderOf(const std::string &path) {
  return path.substr(0, path.rfind('/'));
}

TEST_P(FatAdvancedSearchTest, DeletedFolderTreeBecomesLostFolders) {
  QV_REQUIRE_SIGNATURE_FIXTURES();
  FatImageEngine run(ReadWholeFile(SignatureFixture(std::string(GetParam()) + ".img")), SteppingClock());
  NameTexts(run.Services());
  run.Services().m_selectedHeaders = ChosenSignatures();
  run.Engine().RunFatAdvancedScan();
  const LostTree tree = FindLostTree(run);
  // LOSTDIR's ".." names the root, which is no folder found: it lies under
  // "Lost Folder". SUB's names LOSTDIR, another lost folder: it lies inside
  // that one. Each file is listed once.
  ASSERT_EQ(tree.m_inner.size(), 1u) << run.Services().LogAsText();
  ASSERT_EQ(tree.m_deep.size(), 1u);
  const std::string lostDir = FolderOf(tree.m_inner[0]);
  EXPECT_EQ(lostDir.rfind("/Lost Folder/Folder(s) ", 0), 0u) << lostDir;
  EXPECT_EQ(FolderOf(FolderOf(tree.m_deep[0])), lostDir) << tree.m_deep[0];
  EXPECT_EQ(FolderOf(tree.m_deep[0]).rfind(lostDir + "/Folder(s) ", 0), 0u) << tree.m_deep[0];
  for (const auto &entry : run.FoundByPath()) {
    if (entry.first.find("/Folder(s) ") == std::string::npos || entry.second.IsFolder()) continue;
    EXPECT_EQ(entry.second.m_deleted, 1u) << entry.first;
  }
}

// On FAT12/16 bytes 20-21 of a ".." entry are not part of the parent's
// cluster: with them set, SUB still finds LOSTDIR as its parent.
TEST(FatAdvancedSearchCaseTest, ParentOfALostFolderIgnoresBytes20And21OnFat16) {
  QV_REQUIRE_SIGNATURE_FIXTURES();
  std::vector<uint8_t> image = ReadWholeFile(SignatureFixture("sig-fat.img"));
  size_t patched = 0;
  for (size_t at = 0; at + 64 <= image.size(); at += 512)
    if (std::equal(image.begin() + at, image.begin() + at + 11, ".          ") &&
        std::equal(image.begin() + at + 32, image.begin() + at + 43, "..         ") &&
        ReadLe16(&image[at + 32 + 26]) != 0) {
      WriteLe16(&image[at + 32 + 20], 0x0102);
      ++patched;
    }
  ASSERT_GT(patched, 0u);
  FatImageEngine run(std::move(image));
  ASSERT_TRUE(run.Engine().Volume().ValidateFatVolume());
  ASSERT_NE(run.Engine().Volume().Kind(), FatKind::Fat32);
  NameTexts(run.Services());
  run.Services().m_selectedHeaders = ChosenSignatures();
  run.Engine().RunFatAdvancedScan();
  const LostTree tree = FindLostTree(run);
  ASSERT_EQ(tree.m_inner.size(), 1u);
  ASSERT_EQ(tree.m_deep.size(), 1u);
  EXPECT_EQ(FolderOf(FolderOf(tree.m_deep[0])), FolderOf(tree.m_inner[0])) << tree.m_deep[0];
}

// A stop late in the cluster pass keeps what the pass had found: its lost
// folders and signature hits are listed as after a whole pass.
TEST_P(FatAdvancedSearchTest, StopInThePassListsWhatItHadFound) {
  QV_REQUIRE_SIGNATURE_FIXTURES();
  const std::vector<uint8_t> image = ReadWholeFile(SignatureFixture(std::string(GetParam()) + ".img"));
  FatImageEngine full(image, SteppingClock());
  NameTexts(full.Services());
  full.Services().m_selectedHeaders = ChosenSignatures();
  full.Engine().RunFatAdvancedScan();
  const auto fullFound = full.FoundByPath();
  // The pumps the pass took, from its start line to the listing after it.
  size_t passStart = 0, passPumps = 0;
  const RecordingServices &log = full.Services();
  for (size_t row = 0; row < log.m_log.size(); ++row) {
    const std::u16string activity = log.m_log[row].m_activity.value_or(u"");
    if (activity == u"Searching clusters for specified headers") passStart = log.m_logPumps[row];
    if (log.m_log[row].m_text == u"Adding lost file(s)") passPumps = log.m_logPumps[row] - passStart;
  }
  ASSERT_GT(passPumps, 2u) << log.LogAsText();

  FatImageEngine run(image, SteppingClock());
  NameTexts(run.Services());
  run.Services().m_selectedHeaders = ChosenSignatures();
  run.Services().StopAfterPumpsInPhase(u"Searching clusters for specified headers", passPumps - 1);
  run.Engine().RunFatAdvancedScan();
  ASSERT_TRUE(run.Services().StopRequested());
  EXPECT_TRUE(run.Engine().WasStopped());
  const auto found = run.FoundByPath();
  size_t raw = 0, lost = 0;
  for (const auto &entry : found) {
    EXPECT_EQ(fullFound.count(entry.first), 1u) << entry.first;
    if (entry.first.rfind("/Raw Data Folder/", 0) == 0 && !entry.second.IsFolder()) ++raw;
    if (entry.first.find("/Folder(s) ") != std::string::npos) ++lost;
  }
  EXPECT_GT(raw, 0u) << run.Services().LogAsText();
  EXPECT_GT(lost, 0u) << run.Services().LogAsText();
  EXPECT_EQ(run.Services().m_log.back().m_text, u"Process aborted - user intervention");
  ASSERT_FALSE(run.Services().m_currentItemTexts.empty());
  EXPECT_EQ(run.Services().m_currentItemTexts.back(), u"");
}

INSTANTIATE_TEST_SUITE_P(Images, FatAdvancedSearchTest, ::testing::Values("sig-fat", "sig-fat-spc128"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                           std::string label = info.param;
                           std::replace(label.begin(), label.end(), '-', '_');
                           return label;
                         });

// A folder of 300 files copied in by mcopy and deleted with mdeltree: the
// folder's later clusters lie after all the files' data, where the walk does
// not look. The advanced search finds them and joins them to the folder, so
// every file is listed where it was, with its long name, and reads back.
TEST(FatAdvancedSearchFolderTest, LaterClustersOfADeletedFolderJoinIt) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::string name = "fat32-deleted-folder";
  auto run = FatImageEngine::FromFixture(name, SteppingClock());
  NameTexts(run->Services());
  run->Services().m_selectedHeaders = ChosenSignatures();
  run->Engine().RunFatAdvancedScan();
  const auto found = run->FoundByPath();
  size_t checked = 0;
  for (const FatManifestRow &row : ReadFatManifest(name)) {
    const std::string path = ExpectedFoundPath(row.m_path);
    ASSERT_EQ(found.count(path), 1u) << path << run->Services().LogAsText();
    bool complete = false;
    EXPECT_TRUE(run->ReadBack(found.at(path), &complete) == ReadOriginal(name, row)) << path;
    EXPECT_TRUE(complete) << path;
    EXPECT_EQ(found.at(path).m_deleted, 1u);
    ++checked;
  }
  EXPECT_EQ(checked, 300u);
  size_t inFolder = 0;
  for (const auto &entry : found)
    if (entry.first.rfind("/Holiday Photos/", 0) == 0) ++inFolder;
  EXPECT_EQ(inFolder, 300u);
  EXPECT_FALSE(run->Services().LogContains(u"Error")) << run->Services().LogAsText();
}

// The same folder's first cluster taken by a file written afterwards: the
// later clusters lead to no folder, and become one lost folder that holds
// every file listed in them, each read back as it was.
TEST(FatAdvancedSearchFolderTest, LaterClustersNoFolderLeadsToBecomeOneLostFolder) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::string name = "fat16-deleted-folder-reused";
  auto run = FatImageEngine::FromFixture(name, SteppingClock());
  NameTexts(run->Services());
  run->Engine().RunFatAdvancedScan();
  const auto found = run->FoundByPath();
  std::set<std::string> folders;
  size_t checked = 0, longNames = 0;
  for (const FatManifestRow &row : ReadFatManifest(name)) {
    if (!row.m_deleted) continue;
    const std::vector<uint8_t> original = ReadOriginal(name, row);
    const std::string expected = ExpectedFoundPath(row.m_path);
    const std::string expectedName = expected.substr(expected.rfind('/'));
    bool matched = false;
    for (const auto &entry : found) {
      if (entry.second.IsFolder() || entry.second.m_size != row.m_size ||
          entry.first.rfind("/Lost Folder/Folder(s) ", 0) != 0 || run->ReadBack(entry.second) != original)
        continue;
      matched = true;
      folders.insert(entry.first.substr(0, entry.first.rfind('/')));
      // A long name whose start lay in the lost first cluster shows its short name.
      const std::string shown = entry.first.substr(entry.first.rfind('/'));
      if (shown == expectedName)
        ++longNames;
      else
        EXPECT_NE(shown.find('~'), std::string::npos) << shown << " for " << expectedName;
    }
    EXPECT_TRUE(matched) << row.m_path;
    ++checked;
  }
  EXPECT_GT(checked, 250u);
  EXPECT_GE(longNames + 1, checked);
  EXPECT_EQ(folders.size(), 1u);
}

// A free cluster whose slots all look like deleted entries but list nothing
// (no entry has a first cluster) is no folder tail worth a lost folder.
TEST(FatAdvancedSearchFolderTest, ATailWithNothingToListMakesNoFolder) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> image = ReadWholeFile(FatFixtureDir() + "/fat16-deleted-folder-reused.img");
  uint32_t planted = 0;
  {
    FatImageEngine probe(image);
    FatVolume &volume = probe.Engine().Volume();
    ASSERT_TRUE(volume.ValidateFatVolume());
    planted = volume.LastReadableCluster() - 2;
    ASSERT_FALSE(volume.IsClusterInUse(planted));
    const size_t at = volume.ClusterToSector(planted) * 512;
    for (size_t slot = 0; slot < volume.ClusterBytes(); slot += 32) {
      std::copy_n("\xE5OTHING TXT", 11, image.begin() + at + slot);
      image[at + slot + 11] = kEntryAttrArchive;
    }
  }
  FatImageEngine run(std::move(image));
  NameTexts(run.Services());
  run.Engine().RunFatAdvancedScan();
  const auto found = run.FoundByPath();
  EXPECT_EQ(found.count("/Lost Folder/Folder(s) " + std::to_string(planted)), 0u);
  size_t lostFolders = 0;
  for (const auto &entry : found)
    if (entry.first.rfind("/Lost Folder/Folder(s) ", 0) == 0 && entry.second.IsFolder()) ++lostFolders;
  EXPECT_EQ(lostFolders, 1u);
}

// Deleted folders the folder walk lists (ONE of one cluster, Several of many
// whose later clusters the tail join brings back, TOP at the root) are listed
// once by the advanced search, each of their files once: the lost-folder pass
// takes none of their clusters for a lost folder. GONE, whose entry a later
// file took, is reached by no listed folder: the pass lists it inside /Keep,
// the folder its ".." names, as "Folder(s)" and its cluster number.
class FatListedFoldersTest : public ::testing::TestWithParam<const char *> {};

// A deleted folder that fits 8.3 shows its short name with an 'X' first.
std::string ListedFolderPath(const std::string &path) {
  std::string shown = ExpectedFoundPath(path);
  for (const char *folder : {"/ONE/", "/TOP/"}) {
    const size_t at = shown.find(folder);
    if (at != std::string::npos) shown[at + 1] = 'X';
  }
  return shown;
}

TEST_P(FatListedFoldersTest, EachDeletedFolderAndFileIsListedOnce) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::string name = GetParam();
  auto fast = FatImageEngine::FromFixture(name, SteppingClock());
  fast->Engine().RunFatFastScan();
  auto run = FatImageEngine::FromFixture(name, SteppingClock());
  NameTexts(run->Services());
  run->Services().m_selectedHeaders = ChosenSignatures();
  run->Engine().RunFatAdvancedScan();
  const auto listed = run->FoundInOrder();
  std::map<std::string, size_t> times;
  for (const auto &entry : listed) ++times[entry.first];
  for (const auto &entry : times) EXPECT_EQ(entry.second, 1u) << entry.first << " listed twice";

  const auto found = run->FoundByPath();
  const std::vector<FatManifestRow> rows = ReadFatManifest(name);
  ASSERT_EQ(rows.size(), 48u);
  for (const char *folder : {"/Keep/XNE", "/Keep/Several", "/XOP"})
    EXPECT_EQ(found.count(folder), 1u) << folder;
  // Each original comes back from exactly one file listed.
  std::map<std::vector<uint8_t>, size_t> copies;
  size_t files = 0;
  for (const auto &entry : listed) {
    if (entry.second.IsFolder()) continue;
    ++files;
    ++copies[run->ReadBack(entry.second)];
  }
  EXPECT_EQ(files, rows.size());
  std::vector<std::string> lostFolders;
  for (const auto &entry : found)
    if (entry.second.IsFolder() && entry.first.find("Folder(s) ") != std::string::npos)
      lostFolders.push_back(entry.first);
  ASSERT_EQ(lostFolders.size(), 1u);
  EXPECT_EQ(lostFolders[0].rfind("/Keep/Folder(s) ", 0), 0u) << lostFolders[0];
  EXPECT_EQ(found.count("/Lost Folder"), 0u);
  for (const FatManifestRow &row : rows) {
    const std::vector<uint8_t> original = ReadOriginal(name, row);
    EXPECT_EQ(copies[original], 1u) << row.m_path;
    if (row.m_deleted) {
      const std::string path = ListedFolderPath(row.m_path);
      ASSERT_EQ(found.count(path), 1u) << path << run->Services().LogAsText();
      EXPECT_TRUE(run->ReadBack(found.at(path)) == original) << path;
    } else {
      // GONE's files, by their short names in the lost folder.
      const std::string path = lostFolders[0] + "/X" + row.m_path.substr(row.m_path.rfind('/') + 2);
      ASSERT_EQ(found.count(path), 1u) << path;
      EXPECT_TRUE(run->ReadBack(found.at(path)) == original) << path;
    }
  }
  // What the advanced search adds to the fast search's listing is GONE and
  // the files of Several's later clusters, which the fast search leaves.
  const auto fastFound = fast->FoundByPath();
  for (const auto &entry : fastFound) EXPECT_EQ(found.count(entry.first), 1u) << entry.first;
  size_t added = 0;
  for (const auto &entry : found)
    if (!fastFound.count(entry.first) && entry.first.rfind("/Raw Data Folder", 0) != 0) {
      EXPECT_TRUE(entry.first.rfind(lostFolders[0], 0) == 0 || entry.first.rfind("/Keep/Several/", 0) == 0)
          << entry.first;
      if (entry.first.rfind(lostFolders[0], 0) == 0) ++added;
    }
  EXPECT_EQ(added, 4u);
}

INSTANTIATE_TEST_SUITE_P(Images, FatListedFoldersTest,
                         ::testing::Values("fat16-listed-folders", "fat32-listed-folders"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                           std::string name = info.param;
                           name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                           return name;
                         });

TEST(FatAdvancedSearchCaseTest, InvalidVolumeStillEndsTheScan) {
  FatImageEngine run(std::vector<uint8_t>(64 * 512, 0));
  run.Services().m_selectedHeaders = ChosenSignatures();
  run.Engine().RunFatAdvancedScan();
  EXPECT_EQ(run.Services().m_finishedCount, 1u);
}

TEST(FatAdvancedSearchCaseTest, StopBeforeThePassListsNoHits) {
  QV_REQUIRE_SIGNATURE_FIXTURES();
  FatImageEngine run(ReadWholeFile(SignatureFixture("sig-fat.img")), SteppingClock());
  NameTexts(run.Services());
  run.Services().m_selectedHeaders = ChosenSignatures();
  run.Services().StopAfterPumps(3);
  run.Engine().RunFatAdvancedScan();
  EXPECT_EQ(run.Services().m_finishedCount, 1u);
  for (const auto &entry : run.FoundByPath())
    EXPECT_EQ(entry.first.find("Raw Data Folder"), std::string::npos);
}

} // namespace

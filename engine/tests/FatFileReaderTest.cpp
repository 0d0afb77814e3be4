// Reading found files back: every deleted file of every image must come back
// byte for byte as it was written, including files whose clusters interleave
// with other deleted files, and damage must show in the result.
#include "FatTestImages.h"

#include <cctype>
#include <random>

namespace {

// The fixture names use '-', test names '_'.
std::string ImageFile(const std::string &name) {
  std::string file = name;
  for (char &c : file)
    if (c == '_') c = '-';
  return file;
}

class FatFileReaderImages : public ::testing::TestWithParam<const char *> {};

TEST_P(FatFileReaderImages, ReadsEveryDeletedFileBackByteForByte) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::string name = ImageFile(GetParam());
  auto image = FatImageEngine::FromFixture(name);
  image->Engine().RunFatFastScan();
  const auto found = image->FoundByPath();
  size_t checked = 0;
  for (const FatManifestRow &row : ReadFatManifest(name)) {
    if (!row.m_deleted) continue;
    const std::string path = ExpectedFoundPath(row.m_path);
    ASSERT_EQ(found.count(path), 1u) << path;
    bool complete = false;
    const std::vector<uint8_t> bytes = image->ReadBack(found.at(path), &complete);
    EXPECT_TRUE(complete) << path;
    EXPECT_EQ(bytes.size(), row.m_size) << path;
    EXPECT_TRUE(bytes == ReadOriginal(name, row)) << path << " differs from its original";
    ++checked;
  }
  EXPECT_GT(checked, 0u);
  EXPECT_FALSE(image->Services().LogContains(u"Error")) << image->Services().LogAsText();
}

INSTANTIATE_TEST_SUITE_P(Images, FatFileReaderImages,
                         ::testing::Values("fat12", "fat12_full", "fat12_big_clusters", "fat16",
                                           "fat16_one_fat", "fat32", "fat16_neighbours",
                                           "fat16_windows_folders", "fat32_windows_folders"),
                         [](const auto &info) { return std::string(info.param); });

// A file that fills a hole and goes on after a later deleted file: the later
// file's clusters are not taken, whichever is read first.
TEST(FatFileReader, KeepsInterleavedDeletedFilesApartInAnyOrder) {
  QV_REQUIRE_FAT_FIXTURES();
  for (bool fourthFirst : {true, false}) {
    auto image = FatImageEngine::FromFixture("fat16");
    image->Engine().RunFatFastScan();
    const auto found = image->FoundByPath();
    const EntryRecord &third = found.at("/Mix/Third Mix.bin");
    const EntryRecord &fourth = found.at("/Mix/Fourth Mix.bin");
    // The fourth file begins below the third and ends above it.
    ASSERT_LT(fourth.m_firstCluster, third.m_firstCluster);
    std::vector<uint8_t> fourthBytes, thirdBytes;
    if (fourthFirst) fourthBytes = image->ReadBack(fourth);
    thirdBytes = image->ReadBack(third);
    if (!fourthFirst) fourthBytes = image->ReadBack(fourth);
    for (const FatManifestRow &row : ReadFatManifest("fat16")) {
      if (row.m_path == "/Mix/Third Mix.bin") {
        EXPECT_TRUE(thirdBytes == ReadOriginal("fat16", row));
      }
      if (row.m_path == "/Mix/Fourth Mix.bin") {
        EXPECT_TRUE(fourthBytes == ReadOriginal("fat16", row));
      }
    }
  }
}

// A layout of deleted files on a volume: the clusters each file was given, in
// the order it was given them, and the clusters live files hold meanwhile.
// Times count from 10:00:00 of one day: creation in 10 ms steps (none: the
// creation fields stay zero), the last write in seconds (kept to 2 s).
// The grade the search gives a file, where a row says: a file whose clusters
// are shared in turn with a neighbour's is read by a guess and is no better
// than "Fair".
constexpr int kNoCreation = -1;
constexpr int kAnyGrade = -1, kFair = 1, kGood = 2, kVeryGood = 3;
struct LayoutFile {
  char m_letter;
  std::vector<uint32_t> m_clusters;
  int m_created = kNoCreation;
  int m_written = 1200;
  int m_grade = kAnyGrade;
};
struct LayoutCase {
  const char *m_what;
  std::vector<LayoutFile> m_files;
  std::vector<uint32_t> m_inUse;
};

void PrintTo(const LayoutCase &layout, std::ostream *out) {
  *out << layout.m_what;
}

// The file's bytes: distinct in every cluster, so the right bytes back mean the right clusters.
std::vector<uint8_t> LayoutBytes(const LayoutFile &file) {
  const size_t size = file.m_clusters.size() * 512 - (file.m_clusters.size() > 1 ? 100 : 212);
  std::vector<uint8_t> bytes(size);
  std::mt19937 random(static_cast<uint32_t>(file.m_letter));
  for (uint8_t &b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

// A FAT time word for 10:00:00 plus seconds (to 2 s).
uint16_t PackedTime(int seconds) {
  const int hour = 10 + seconds / 3600, minute = seconds / 60 % 60;
  return static_cast<uint16_t>((hour << 11) | (minute << 5) | (seconds % 60 / 2));
}

// mkfs.fat formats the volume; the files are placed by hand, since mtools
// writes one file at a time and never interleaves clusters: a deleted root
// entry per file ("?ILE_A.BIN" and so on), its bytes in its clusters, and an
// end mark in both FATs for each cluster in use.
std::vector<uint8_t> LayOut(const LayoutCase &layout) {
  std::vector<uint8_t> image = ReadWholeFile(FatFixtureDir() + "/fat16-blank.img");
  BootParameters boot;
  if (DeriveFatKind(image.data(), image.size(), boot).m_result != ParseResult::Ok) return {};
  const auto clusterAt = [&](uint32_t cluster) {
    return image.begin() + static_cast<ptrdiff_t>((boot.FirstDataSector() + cluster - 2) * 512);
  };
  size_t slot = boot.RootDirectorySector() * 512;
  for (const LayoutFile &file : layout.m_files) {
    const std::vector<uint8_t> bytes = LayoutBytes(file);
    char name[12] = "\xE5ILE_A  BIN";
    name[5] = file.m_letter;
    std::copy_n(name, 11, image.begin() + static_cast<ptrdiff_t>(slot));
    image[slot + 11] = kEntryAttrArchive;
    const uint16_t date = ((2024 - 1980) << 9) | (5 << 5) | 17; // 2024-05-17
    WriteLe16(&image[slot + 22], PackedTime(file.m_written));
    WriteLe16(&image[slot + 24], date);
    if (file.m_created != kNoCreation) {
      const int seconds = file.m_created / 100 / 2 * 2;
      image[slot + 13] = static_cast<uint8_t>(file.m_created - seconds * 100);
      WriteLe16(&image[slot + 14], PackedTime(seconds));
      WriteLe16(&image[slot + 16], date);
    }
    WriteLe16(&image[slot + 26], static_cast<uint16_t>(file.m_clusters.front()));
    WriteLe32(&image[slot + 28], static_cast<uint32_t>(bytes.size()));
    slot += 32;
    for (size_t i = 0; i < file.m_clusters.size(); ++i) {
      const size_t from = i * 512;
      std::copy(bytes.begin() + from, bytes.begin() + std::min(bytes.size(), from + 512),
                clusterAt(file.m_clusters[i]));
    }
  }
  for (uint32_t cluster : layout.m_inUse) {
    std::fill_n(clusterAt(cluster), 512, 0x55);
    for (uint32_t fat = 0; fat < boot.m_fatCount; ++fat)
      WriteLe16(&image[(boot.m_reservedSectors + fat * boot.m_fatSize) * 512 + cluster * 2], 0xFFFF);
  }
  return image;
}

std::vector<FatClusterRun> Runs(const std::vector<uint32_t> &clusters) {
  std::vector<FatClusterRun> runs;
  for (uint32_t c : clusters) {
    if (!runs.empty() && runs.back().m_first + runs.back().m_count == c)
      ++runs.back().m_count;
    else
      runs.push_back(FatClusterRun{c, 1});
  }
  return runs;
}

class FatFileReaderLayouts : public ::testing::TestWithParam<LayoutCase> {};

// Each file of the layout gets exactly its clusters and reads back as written,
// whichever file is read first.
TEST_P(FatFileReaderLayouts, GivesEachFileItsClusters) {
  QV_REQUIRE_FAT_FIXTURES();
  const LayoutCase &layout = GetParam();
  for (bool lastFirst : {false, true}) {
    FatImageEngine image(LayOut(layout));
    image.Engine().RunFatFastScan();
    const auto found = image.FoundByPath();
    std::vector<LayoutFile> order = layout.m_files;
    if (lastFirst) std::reverse(order.begin(), order.end());
    for (const LayoutFile &file : order) {
      const std::string path = std::string("/XILE_") + file.m_letter + ".BIN";
      ASSERT_EQ(found.count(path), 1u) << layout.m_what << path << image.Services().LogAsText();
      const EntryRecord &entry = found.at(path);
      if (!lastFirst) {
        FatFileReader reader(image.Engine().Volume(), image.Engine().DeletedFiles());
        EXPECT_EQ(reader.DeletedFileRuns(entry.m_firstCluster, entry.m_size), Runs(file.m_clusters))
            << layout.m_what << ": file " << file.m_letter;
      }
      if (file.m_grade != kAnyGrade) {
        EXPECT_EQ(static_cast<int>(entry.m_grade), file.m_grade)
            << layout.m_what << ": file " << file.m_letter;
      }
      bool complete = false;
      EXPECT_TRUE(image.ReadBack(entry, &complete) == LayoutBytes(file))
          << layout.m_what << ": file " << file.m_letter;
      EXPECT_TRUE(complete) << layout.m_what;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FatFileReaderLayouts,
    ::testing::Values(
        // Written together: the allocator alternates between them.
        LayoutCase{"two files strictly alternating",
                   {{'A', {20, 22, 24, 26}, kNoCreation, 1200, kFair},
                    {'B', {21, 23, 25, 27}, kNoCreation, 1200, kFair}},
                   {}},
        LayoutCase{"unequal lengths",
                   {{'A', {20, 22}, kNoCreation, 1200, kFair},
                    {'B', {21, 23, 24, 25, 26}, kNoCreation, 1200, kFair}},
                   {}},
        LayoutCase{"three files round-robin",
                   {{'A', {20, 23, 26}, kNoCreation, 1200, kFair},
                    {'B', {21, 24, 27}, kNoCreation, 1200, kFair},
                    {'C', {22, 25}, kNoCreation, 1200, kFair}},
                   {}},
        LayoutCase{"two together, a third written whole before the second closed",
                   {{'A', {20, 22, 24}, kNoCreation, 1200, kFair},
                    {'B', {21, 23, 28}, kNoCreation, 1200, kFair},
                    {'C', {25, 26, 27}, kNoCreation, 1200, kGood}},
                   {}},
        LayoutCase{"two together around a cluster in use", {{'A', {20, 22, 25}}, {'B', {21, 23, 26}}}, {24}},
        LayoutCase{"two together with a cluster in use between their first clusters",
                   {{'A', {20, 23, 25}}, {'B', {22, 24}}},
                   {21}},
        // Written one after another, or whole inside another's run.
        LayoutCase{"sequential files",
                   {{'A', {20, 21, 22}, kNoCreation, 1200, kGood},
                    {'B', {23, 24}, kNoCreation, 1200, kGood},
                    {'C', {25, 26, 27, 28}, kNoCreation, 1200, kGood}},
                   {}},
        LayoutCase{
            "a whole file inside an open one's run", {{'A', {20, 21, 22, 26, 27}}, {'C', {23, 24, 25}}}, {}},
        LayoutCase{"a hole filled, then on after a later file",
                   {{'F', {20, 21, 25, 26, 27}}, {'T', {22, 23, 24}}},
                   {}},
        LayoutCase{
            "a cluster in use in the middle of a file", {{'A', {20, 21, 23, 24}}, {'B', {25, 26}}}, {22}},
        LayoutCase{"single-cluster files side by side",
                   {{'A', {20}, kNoCreation, 1200, kVeryGood},
                    {'B', {21}, kNoCreation, 1200, kVeryGood},
                    {'C', {22, 23, 24}, kNoCreation, 1200, kGood}},
                   {}},
        // Neighbours whose times show the second lived inside the first's
        // life: it was written whole, the first went on after it.
        LayoutCase{"the second lived inside the first, 2 + 2 clusters",
                   {{'A', {20, 23}, 0, 600, kGood}, {'B', {21, 22}, 150, 300, kGood}},
                   {}},
        LayoutCase{"the second lived inside the first, 2 + 3 clusters",
                   {{'A', {20, 24}, 0, 600}, {'B', {21, 22, 23}, 1, 10}},
                   {}},
        LayoutCase{"a long file lived inside a one-cluster file",
                   {{'A', {20}, 0, 600}, {'B', {21, 22, 23, 24, 25, 26}, 100, 300}},
                   {}},
        LayoutCase{"a one-cluster file lived inside a long one",
                   {{'A', {20, 22, 23, 24, 25}, 0, 600}, {'B', {21}, 100, 300}},
                   {}},
        LayoutCase{"a file lived inside another around a cluster in use",
                   {{'A', {20, 25, 26}, 0, 600}, {'B', {21, 22, 24}, 100, 300}},
                   {23}},
        LayoutCase{"a nested file, then a third written whole after the first",
                   {{'A', {20, 23, 24}, 0, 600}, {'B', {21, 22}, 100, 300}, {'C', {25, 26, 27}, 70000, 800}},
                   {}},
        LayoutCase{"two files lived one after the other inside a third",
                   {{'A', {20, 25}, 0, 600}, {'B', {21}, 100, 200}, {'C', {22, 23, 24}, 30000, 400}},
                   {}},
        LayoutCase{"a file lived inside the second of two written together",
                   {{'A', {20, 25, 27}, 0, 600}, {'B', {21, 26, 28}, 50, 700}, {'C', {22, 23, 24}, 100, 300}},
                   {}},
        // Lives that overlap, or times that cannot tell: they were written
        // together and alternate.
        LayoutCase{"overlapping lives",
                   {{'A', {20, 22, 24, 26}, 0, 600, kFair}, {'B', {21, 23, 25, 27}, 100, 900, kFair}},
                   {}},
        LayoutCase{"creation times equal to 10 ms",
                   {{'A', {20, 22, 24}, 100, 600}, {'B', {21, 23, 25}, 100, 300}},
                   {}},
        LayoutCase{"the second's creation fields zero",
                   {{'A', {20, 22, 24}, 0, 600, kFair}, {'B', {21, 23, 25}, kNoCreation, 300, kFair}},
                   {}},
        LayoutCase{
            "write times equal to 2 s", {{'A', {20, 22, 24}, 0, 600}, {'B', {21, 23, 25}, 100, 601}}, {}},
        LayoutCase{"a write before its own creation (a copy keeps the original's write time)",
                   {{'A', {20, 22, 24}, 0, 600}, {'B', {21, 23, 25}, 50000, 300}},
                   {}}),
    [](const auto &info) {
      std::string name = info.param.m_what;
      for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(FatFileReader, FollowsTheChainOfALiveFile) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat32.img");
  FatImageEngine image(bytes);
  image.Engine().RunFatFastScan();
  for (const FatManifestRow &row : ReadFatManifest("fat32")) {
    if (row.m_path != "/Docs/keep.txt") continue;
    // The short entry of keep.txt (lower case, no long name).
    size_t offset = 0;
    for (; offset + 32 <= bytes.size(); offset += 32)
      if (std::equal(bytes.begin() + offset, bytes.begin() + offset + 11, "KEEP    TXT")) break;
    ASSERT_LT(offset, bytes.size());
    EntryRecord live;
    live.m_attributes = kEntryAttrArchive;
    live.m_firstCluster = (uint32_t{ReadLe16(&bytes[offset + 20])} << 16) | ReadLe16(&bytes[offset + 26]);
    live.m_size = ReadLe32(&bytes[offset + 28]);
    bool complete = false;
    EXPECT_TRUE(image.ReadBack(live, &complete) == ReadOriginal("fat32", row));
    EXPECT_TRUE(complete);
  }
}

// A file in the last cluster of a volume whose image was cut short: nothing
// past the end is read, and the cut is logged.
TEST(FatFileReader, StopsAtTheVolumeEndWithALogLine) {
  QV_REQUIRE_FAT_FIXTURES();
  std::vector<uint8_t> bytes = ReadWholeFile(FatFixtureDir() + "/fat12-full.img");
  bytes.resize(bytes.size() - 2048);
  FatImageEngine image(std::move(bytes));
  image.Engine().RunFatFastScan();
  const auto found = image.FoundByPath();
  ASSERT_EQ(found.count("/XAST.TXT"), 1u);
  bool complete = true;
  const std::vector<uint8_t> read = image.ReadBack(found.at("/XAST.TXT"), &complete);
  EXPECT_FALSE(complete);
  EXPECT_TRUE(read.empty());
  EXPECT_TRUE(image.Services().LogContains(u"0 of 100 bytes read")) << image.Services().LogAsText();
}

// An unreadable cluster comes back as zeros, is logged, and the read says it is incomplete.
TEST(FatFileReader, PassesAnUnreadableClusterOnAsZeros) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat16");
  image->Engine().RunFatFastScan();
  const auto found = image->FoundByPath();
  const EntryRecord &file = found.at("/Old/X.bin"); // 5000 bytes, 10 clusters of 512
  const uint32_t badCluster = file.m_firstCluster + 1;
  const uint64_t badSector = image->Engine().Volume().ClusterToSector(badCluster);
  image->Reader().SetFaultFilter([badSector](uint64_t s) { return s == badSector; });
  bool complete = true;
  const std::vector<uint8_t> read = image->ReadBack(file, &complete);
  EXPECT_FALSE(complete);
  ASSERT_EQ(read.size(), 5000u);
  EXPECT_TRUE(std::all_of(read.begin() + 512, read.begin() + 1024, [](uint8_t b) { return b == 0; }));
  for (const FatManifestRow &row : ReadFatManifest("fat16"))
    if (row.m_path == "/Old/a.bin") {
      const std::vector<uint8_t> original = ReadOriginal("fat16", row);
      EXPECT_TRUE(std::equal(read.begin(), read.begin() + 512, original.begin()));
      EXPECT_TRUE(std::equal(read.begin() + 1024, read.end(), original.begin() + 1024));
    }
  EXPECT_TRUE(image->Services().LogContains(u"Error reading cluster : " + Widen(std::to_string(badCluster))));
}

// Reading one file for recovery is no pass over the volume: each cluster that
// fails gets its own line at once, however many follow on one another.
TEST(FatFileReader, LogsEachUnreadableClusterOfAFileOnItsOwn) {
  QV_REQUIRE_FAT_FIXTURES();
  auto image = FatImageEngine::FromFixture("fat16");
  image->Services().SetText(FatText::kErrorReadingClusters, u"Error reading clusters :");
  image->Engine().RunFatFastScan();
  const EntryRecord file = image->FoundByPath().at("/Old/X.bin"); // 10 clusters of 512
  const uint64_t deadFirst = image->Engine().Volume().ClusterToSector(file.m_firstCluster);
  image->Reader().SetFaultFilter([deadFirst](uint64_t s) { return s >= deadFirst && s < deadFirst + 10; });
  const size_t before = image->Services().m_log.size();
  bool complete = true;
  image->ReadBack(file, &complete);
  EXPECT_FALSE(complete);
  std::vector<std::u16string> lines;
  for (size_t i = before; i < image->Services().m_log.size(); ++i)
    lines.push_back(image->Services().m_log[i].m_text);
  std::vector<std::u16string> expected;
  for (uint32_t cluster = file.m_firstCluster; cluster < file.m_firstCluster + 10; ++cluster)
    expected.push_back(u"Error reading cluster : " + Widen(std::to_string(cluster)));
  EXPECT_EQ(lines, expected) << image->Services().LogAsText();
}

} // namespace

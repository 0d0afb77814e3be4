// Reading found files back: every deleted file of every image must come back
// byte for byte as it was written, including files whose clusters interleave
// with other deleted files, and damage must show in the result.
#include "FatTestImages.h"

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
                                           "fat16_one_fat", "fat32"),
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

} // namespace

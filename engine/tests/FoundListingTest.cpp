// The benchmark programs' listing and extraction: crafted found names stay
// inside the target folder, and an image the engine refuses is an error.
#include "../bench/FoundListing.h"

#include "FatScanEngine.h"
#include "ImageDevices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;

BenchServices::Found Folder(uint32_t parent, uint32_t own, const std::u16string &name) {
  EntryRecord entry;
  entry.m_parentId = parent;
  entry.m_ownId = own;
  entry.m_attributes = kEntryAttrFolder;
  entry.m_deleted = 1;
  return {entry, name};
}

BenchServices::Found File(uint32_t parent, uint32_t own, const std::u16string &name) {
  EntryRecord entry;
  entry.m_parentId = parent;
  entry.m_ownId = own;
  entry.m_size = 3;
  entry.m_deleted = 1;
  return {entry, name};
}

// Every file below dir, as paths relative to it.
std::set<std::string> FilesBelow(const fs::path &dir) {
  std::set<std::string> files;
  for (const auto &item : fs::recursive_directory_iterator(dir))
    if (item.is_regular_file()) files.insert(fs::relative(item.path(), dir).generic_string());
  return files;
}

class FoundListingTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_work =
        fs::temp_directory_path() /
        ("found-listing-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_work);
    m_target = m_work / "a" / "b" / "target";
    fs::create_directories(m_target);
  }
  void TearDown() override { fs::remove_all(m_work); }

  static bool WriteAbc(const EntryRecord &, const std::function<bool(const uint8_t *, size_t)> &sink) {
    const uint8_t bytes[] = {'a', 'b', 'c'};
    return sink(bytes, sizeof bytes);
  }

  fs::path m_work;
  fs::path m_target;
};

TEST_F(FoundListingTest, CraftedNamesStayInsideTheTargetFolder) {
  const std::vector<BenchServices::Found> found = {
      File(0, 10, u"../../../escaped-up"),
      File(0, 11, u"..\\..\\escaped-back"),
      File(0, 12, u"/tmp/escaped-absolute"),
      Folder(0, 20, u".."),
      File(20, 13, u"in-dot-dot"),
      Folder(0, 21, u"."),
      File(21, 14, u"in-dot"),
      Folder(0, 22, u"x/../../.."),
      File(22, 15, u"deep"),
      File(22, 16, u""),
  };
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ListFound(found, 0, m_target.string(), WriteAbc), 0);
  const std::string listing = ::testing::internal::GetCapturedStdout();

  EXPECT_EQ(FilesBelow(m_work), (std::set<std::string>{
                                    "a/b/target/.._.._.._escaped-up",
                                    "a/b/target/.._.._escaped-back",
                                    "a/b/target/_tmp_escaped-absolute",
                                    "a/b/target/_/in-dot-dot",
                                    "a/b/target/_/in-dot",
                                    "a/b/target/x_.._.._/deep",
                                    "a/b/target/x_.._.._/_",
                                }))
      << listing;
  EXPECT_NE(listing.find("/_/in-dot-dot\t3\tdeleted\t"), std::string::npos) << listing;
}

TEST_F(FoundListingTest, AFileThatCannotBeWrittenWholeMakesTheExitCodeNonZero) {
  const std::vector<BenchServices::Found> found = {File(0, 10, u"short")};
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int code =
      ListFound(found, 0, m_target.string(), [](const EntryRecord &, const auto &) { return false; });
  ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  EXPECT_NE(code, 0);
}

TEST_F(FoundListingTest, AnImageOfAnotherFileSystemIsAnErrorNotAnEmptyListing) {
  const fs::path image = m_work / "zeros.img";
  std::ofstream(image, std::ios::binary).close();
  fs::resize_file(image, 64 * 512);
  BenchServices services;
  ImageDeviceLayer layer;
  ASSERT_TRUE(layer.AttachFile(2, image.string()));
  SectorIo io(layer, nullptr, false);
  SectorReader reader(io, 2, 0);
  FatScanEngine engine(services, reader, 64);
  engine.RunFatFastScan();

  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int code = ListSearch(services, image.string(), "a FAT volume", 0, "", WriteAbc);
  const std::string listing = ::testing::internal::GetCapturedStdout();
  const std::string message = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(listing.empty()) << listing;
  EXPECT_NE(message.find("not a FAT volume"), std::string::npos) << message;
}

TEST(BenchCommandLine, TheProgramsTakeTheSameOptions) {
  // The programs refuse an image that is no file, or an empty one, before
  // anything else: the image named here exists and holds a byte.
  std::ofstream("x.img", std::ios::binary) << 'x';
  struct Remove {
    ~Remove() { std::filesystem::remove("x.img"); }
  } remove;
  static std::string s_image;
  static std::string s_extract;
  static bool s_advanced;
  static int s_benchRuns;
  const auto bench = [](std::string image) {
    ++s_benchRuns;
    s_image = image;
    return 0;
  };
  const auto list = [](const ListingOptions &options) {
    s_image = options.m_image;
    s_extract = options.m_extractDir;
    s_advanced = options.m_advanced;
    return 0;
  };
  const auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), "Bench");
    std::vector<char *> argv;
    for (std::string &arg : args) argv.push_back(arg.data());
    s_image = s_extract = "-";
    s_advanced = false;
    s_benchRuns = 0;
    ::testing::internal::CaptureStderr();
    const int code = BenchMain(static_cast<int>(argv.size()), argv.data(), "Bench", bench, list);
    ::testing::internal::GetCapturedStderr();
    return code;
  };
  EXPECT_EQ(run({"--bench"}), 0);
  EXPECT_EQ(s_benchRuns, 1);
  EXPECT_EQ(s_image, "");
  EXPECT_EQ(run({"--bench", "x.img"}), 0);
  EXPECT_EQ(s_image, "x.img");
  EXPECT_EQ(run({"x.img"}), 0);
  EXPECT_EQ(s_extract, "");
  EXPECT_EQ(run({"x.img", "--extract", "out"}), 0);
  EXPECT_EQ(s_extract, "out");
  EXPECT_FALSE(s_advanced);
  EXPECT_EQ(run({"x.img", "--advanced"}), 0);
  EXPECT_TRUE(s_advanced);
  EXPECT_EQ(s_extract, "");
  EXPECT_EQ(run({"x.img", "--advanced", "--extract", "out"}), 0);
  EXPECT_TRUE(s_advanced);
  EXPECT_EQ(s_extract, "out");
  EXPECT_EQ(run({"x.img", "--extract", "out", "--advanced"}), 0);
  EXPECT_TRUE(s_advanced);
  EXPECT_EQ(s_extract, "out");
  for (const std::vector<std::string> &wrong :
       std::vector<std::vector<std::string>>{{},
                                             {"x.img", "--extract"},
                                             {"x.img", "--extrakt", "out"},
                                             {"x.img", "y.img"},
                                             {"x.img", "--advanced", "--advanced"},
                                             {"x.img", "--extract", "a", "--extract", "b"},
                                             {"--advanced", "x.img"},
                                             {"--bench", "a", "b"},
                                             {"--help"}}) {
    EXPECT_EQ(run(wrong), 2) << wrong.size();
    EXPECT_EQ(s_benchRuns, 0);
  }
}

} // namespace

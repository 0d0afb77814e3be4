// Shared by the NTFS engine tests: the images made by make-ntfs-images.sh,
// their manifests and the test base that finds one image by its name.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// One line of an image's manifest: what the image holds at a path.
struct NtfsManifestRow {
  std::string m_kind; // "deleted-file", "live-read", "deleted-folder", ...
  std::string m_path;
  uint32_t m_record = 0;
  uint64_t m_size = 0;
  std::string m_original; // the original's name under <image>.orig
};

inline std::string NtfsFixtureDir() {
  const char *dir = std::getenv("QV_FIXTURES");
  return dir ? dir : "";
}

inline std::vector<uint8_t> ReadFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::vector<NtfsManifestRow> ReadNtfsManifest(const std::string &path) {
  std::vector<NtfsManifestRow> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    NtfsManifestRow row;
    std::string record, size;
    std::getline(fields, row.m_kind, '\t');
    std::getline(fields, row.m_path, '\t');
    std::getline(fields, record, '\t');
    std::getline(fields, size, '\t');
    std::getline(fields, row.m_original, '\t');
    row.m_record = static_cast<uint32_t>(std::stoul(record));
    row.m_size = std::stoull(size);
    rows.push_back(row);
  }
  return rows;
}

// A test over the image named by the parameter; skipped when the fixture did
// not make it (no QV_FIXTURES, no mkntfs) or made it without deleted entries
// (no FUSE to delete through).
class NtfsFixtureImageTest : public ::testing::TestWithParam<const char *> {
protected:
  void SetUp() override {
    const std::string dir = NtfsFixtureDir();
    if (dir.empty()) GTEST_SKIP() << "QV_FIXTURES is not set: the NTFS images are made by the CTest fixture";
    m_base = dir + "/" + GetParam();
    if (!std::ifstream(m_base + ".img")) GTEST_SKIP() << "no image " << m_base << ".img (mkntfs missing?)";
    if (std::ifstream(m_base + ".nofuse"))
      GTEST_SKIP() << "image made without FUSE: it has no deleted entries";
  }

  std::string m_base; // the image's path without ".img"
};

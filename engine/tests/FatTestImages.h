// Shared by the FAT engine tests: the images made by make-fat-images.sh, their
// manifests and originals, an engine over an image (file or memory), and the
// found entries turned into paths.
#pragma once

#include "AppendSink.h"
#include "FatScanEngine.h"
#include "ImageDevices.h"
#include "RecordingServices.h"
#include "TestClocks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

struct FatManifestRow {
  bool m_deleted = false; // deleted, its entry still there
  std::string m_path;
  uint64_t m_size = 0;
  std::string m_original;
  int m_grade = -1;
};

inline std::string FatFixtureDir() {
  const char *dir = std::getenv("QV_FIXTURES");
  return dir ? std::string(dir) + "/fat" : std::string();
}

#define QV_REQUIRE_FAT_FIXTURES()                                                                            \
  do {                                                                                                       \
    if (FatFixtureDir().empty()) GTEST_SKIP() << "QV_FIXTURES not set: the FAT images are not made";         \
  } while (0)

inline std::vector<uint8_t> ReadWholeFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::vector<FatManifestRow> ReadFatManifest(const std::string &image) {
  std::vector<FatManifestRow> rows;
  std::ifstream in(FatFixtureDir() + "/" + image + ".manifest");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string state, path, size, original, grade;
    std::getline(fields, state, '\t');
    std::getline(fields, path, '\t');
    std::getline(fields, size, '\t');
    std::getline(fields, original, '\t');
    std::getline(fields, grade, '\t');
    FatManifestRow row;
    row.m_deleted = state == "deleted";
    row.m_path = path;
    row.m_size = std::stoull(size);
    row.m_original = original;
    row.m_grade = grade == "-" ? -1 : std::stoi(grade);
    rows.push_back(row);
  }
  return rows;
}

inline std::vector<uint8_t> ReadOriginal(const std::string &image, const FatManifestRow &row) {
  return ReadWholeFile(FatFixtureDir() + "/" + image + ".orig/" + row.m_original);
}

// An engine over an image on drive code 2, recording what it hands out.
class FatImageEngine {
public:
  static constexpr uint8_t kDrive = 2;

  explicit FatImageEngine(std::vector<uint8_t> bytes, WorkPacer::Clock clock = {})
      : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive, 0) {
    const uint64_t sectors = bytes.size() / 512;
    m_layer.Attach(kDrive, std::make_unique<MemoryDevice>(std::move(bytes)));
    m_engine = std::make_unique<FatScanEngine>(m_services, m_reader, sectors, std::move(clock));
  }

  // Reads the image file in place (for images too large to hold in memory).
  explicit FatImageEngine(const std::string &path, WorkPacer::Clock clock = {})
      : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive, 0) {
    uint64_t sectors = 0;
    if (m_layer.AttachFile(kDrive, path)) sectors = m_layer.Device(kDrive)->SizeInBytes() / 512;
    m_engine = std::make_unique<FatScanEngine>(m_services, m_reader, sectors, std::move(clock));
  }
  // Reads a volume of sectors at startSector of a disk image file in place,
  // as drive code driveCode.
  FatImageEngine(const std::string &path, uint8_t driveCode, uint64_t startSector, uint64_t sectors)
      : m_io(m_layer, nullptr, false), m_reader(m_io, driveCode, startSector) {
    m_layer.AttachFile(driveCode, path);
    m_engine = std::make_unique<FatScanEngine>(m_services, m_reader, sectors);
  }
  static std::unique_ptr<FatImageEngine> FromFixture(const std::string &image, WorkPacer::Clock clock = {}) {
    return std::make_unique<FatImageEngine>(ReadWholeFile(FatFixtureDir() + "/" + image + ".img"),
                                            std::move(clock));
  }

  FatScanEngine &Engine() { return *m_engine; }
  RecordingServices &Services() { return m_services; }
  SectorReader &Reader() { return m_reader; }
  ImageDeviceLayer &Layer() { return m_layer; }

  // Every found entry by its path from the root ("/Docs/Sub/name").
  std::map<std::string, EntryRecord> FoundByPath() const {
    std::map<std::string, EntryRecord> found;
    for (const auto &entry : FoundInOrder()) found[entry.first] = entry.second;
    return found;
  }
  // The same in the order they were found, an entry listed twice twice.
  std::vector<std::pair<std::string, EntryRecord>> FoundInOrder() const {
    std::map<uint32_t, std::string> folders{{0, ""}};
    std::vector<std::pair<std::string, EntryRecord>> found;
    for (const RecordingServices::TreeEntry &entry : m_services.m_treeEntries) {
      auto parent = folders.find(entry.m_entry.m_parentId);
      const std::string path =
          (parent == folders.end() ? std::string("/?") : parent->second) + "/" + ToUtf8(entry.m_name);
      if (entry.m_entry.IsFolder()) folders[entry.m_entry.m_ownId] = path;
      found.emplace_back(path, entry.m_entry);
    }
    return found;
  }

  std::vector<uint8_t> ReadBack(const EntryRecord &entry, bool *complete = nullptr) {
    std::vector<uint8_t> bytes;
    const bool all = m_engine->ReadFoundFile(entry, AppendTo(bytes));
    if (complete) *complete = all;
    return bytes;
  }

private:
  RecordingServices m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  std::unique_ptr<FatScanEngine> m_engine;
};

// True when a part of a name has one case only (mtools then writes no long name).
inline bool OneCase(const std::string &part) {
  bool lower = false, upper = false;
  for (char c : part) {
    lower = lower || (c >= 'a' && c <= 'z');
    upper = upper || (c >= 'A' && c <= 'Z');
  }
  return !(lower && upper);
}

// The name the search gives a deleted entry: one that fits 8.3 has only its
// short entry, whose first character is lost and shows as 'X'.
inline std::string ExpectedFoundPath(const std::string &path) {
  const size_t slash = path.rfind('/');
  std::string name = path.substr(slash + 1);
  const size_t dot = name.find('.');
  const std::string base = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  const bool shortOnly = base.size() <= 8 && extension.size() <= 3 &&
                         extension.find('.') == std::string::npos && name.find(' ') == std::string::npos &&
                         OneCase(base) && OneCase(extension);
  if (shortOnly) name[0] = 'X';
  return path.substr(0, slash + 1) + name;
}

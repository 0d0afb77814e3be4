// Measures the NTFS search on an image, or lists what it finds.
//
//   NtfsBench --bench IMAGE        search time, records per second and the
//                                  image's raw sequential read time
//   NtfsBench IMAGE [--extract DIR] one line per found entry: full path,
//                                  size, deleted flag, grade; with --extract
//                                  every found file's bytes under DIR
#include "ImageDevices.h"
#include "NtfsFileReader.h"
#include "NtfsScanEngine.h"
#include "RecordingServices.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

constexpr uint8_t kDrive = 2;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

struct Image {
  explicit Image(const std::string &path) : m_io(m_layer, nullptr, false), m_reader(m_io, kDrive) {
    m_open = m_layer.AttachFile(kDrive, path);
    if (m_open) m_sectors = m_layer.Device(kDrive)->SizeInBytes() / kSectorSize;
  }
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  uint64_t m_sectors = 0;
  bool m_open = false;
};

double RawReadSeconds(const std::string &path, uint64_t &bytes) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  std::vector<char> buffer(1 << 20);
  const auto start = Clock::now();
  bytes = 0;
  for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) bytes += n;
  std::fclose(file);
  return Seconds(start);
}

int Bench(const std::string &path) {
  Image image(path);
  if (!image.m_open) return std::fprintf(stderr, "cannot open %s\n", path.c_str()), 1;
  RecordingServices services;
  NtfsScanEngine engine(services, image.m_reader, image.m_sectors);
  const auto start = Clock::now();
  engine.RunNtfsFastScan();
  const double search = Seconds(start);
  const uint64_t records = engine.Volume().RecordCount();
  uint64_t bytes = 0;
  const double raw = RawReadSeconds(path, bytes);
  std::printf("search: %.3f s, %llu MFT records, %.0f records/s, %zu entries found\n", search,
              static_cast<unsigned long long>(records), records / (search > 0 ? search : 1e-9),
              services.m_treeEntries.size());
  std::printf("raw sequential read: %.3f s for %llu MiB (%.0f MiB/s)\n", raw,
              static_cast<unsigned long long>(bytes >> 20), (bytes >> 20) / (raw > 0 ? raw : 1e-9));
  return 0;
}

std::string Utf8Path(const std::map<uint32_t, std::pair<uint32_t, std::u16string>> &folders, uint32_t parent,
                     const std::u16string &name) {
  std::string path = ToUtf8(name);
  for (int depth = 0; parent != kNtfsRootRecord && depth < 4096; ++depth) {
    auto it = folders.find(parent);
    if (it == folders.end()) break;
    path = ToUtf8(it->second.second) + "/" + path;
    parent = it->second.first;
  }
  return path;
}

int List(const std::string &path, const std::string &extractDir) {
  Image image(path);
  if (!image.m_open) return std::fprintf(stderr, "cannot open %s\n", path.c_str()), 1;
  RecordingServices services;
  NtfsScanEngine engine(services, image.m_reader, image.m_sectors);
  engine.RunNtfsFastScan();
  if (!services.m_errorBoxes.empty())
    return std::fprintf(stderr, "%s\n", ToUtf8(services.m_errorBoxes[0]).c_str()), 1;
  std::map<uint32_t, std::pair<uint32_t, std::u16string>> folders;
  for (const auto &added : services.m_treeEntries)
    if (added.m_entry.IsFolder()) folders[added.m_entry.m_ownId] = {added.m_entry.m_parentId, added.m_name};
  int failures = 0;
  for (const auto &added : services.m_treeEntries) {
    const EntryRecord &entry = added.m_entry;
    const std::string full = Utf8Path(folders, entry.m_parentId, added.m_name);
    std::printf("%s\t%llu\t%d\t%s\n", full.c_str(), static_cast<unsigned long long>(entry.m_size),
                entry.m_deleted, entry.IsFolder() ? "" : ToUtf8(RecoveryGradeText(entry.m_grade)).c_str());
    if (extractDir.empty() || entry.IsFolder()) continue;
    const std::filesystem::path target = std::filesystem::path(extractDir) / full;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    std::string why;
    const bool ok = ReadNtfsFile(
        engine.Volume(), entry.m_firstCluster,
        [&out](const uint8_t *data, size_t length) {
          out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(length));
          return static_cast<bool>(out);
        },
        &why);
    if (!ok) ++failures, std::fprintf(stderr, "%s: %s\n", full.c_str(), why.c_str());
  }
  return failures ? 2 : 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 3 && std::strcmp(argv[1], "--bench") == 0) return Bench(argv[2]);
  if (argc == 2) return List(argv[1], "");
  if (argc == 4 && std::strcmp(argv[2], "--extract") == 0) return List(argv[1], argv[3]);
  std::fprintf(stderr, "usage: NtfsBench --bench IMAGE | NtfsBench IMAGE [--extract DIR]\n");
  return 1;
}

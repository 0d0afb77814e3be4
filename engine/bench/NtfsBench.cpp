// NTFS search benchmark and image tool.
//
//   NtfsBench --bench [IMAGE]   times the fast search of IMAGE (made by
//                               make-ntfs-bench-image.sh when not given):
//                               records per second; then the advanced search
//                               and the physical-disk scan of the same image
//                               with every shipped signature chosen (the
//                               fastest of three runs each, from the page
//                               cache), and the image's raw sequential read
//                               time.
//   NtfsBench IMAGE [--advanced] [--extract DIR]
//                               lists every found entry (path, size, deleted
//                               flag, grade); with --advanced runs the advanced
//                               search with every shipped signature chosen;
//                               with --extract writes each found file's bytes
//                               under DIR along its folder path.
#include "BenchServices.h"
#include "FoundListing.h"
#include "ImageDevices.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsFileReader.h"
#include "NtfsScanEngine.h"
#include "PhysicalDiskScan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

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

int RunBenchmark(std::string path) {
  path = BenchImage(path, "/tmp/ntfs-bench.img", "make-ntfs-bench-image.sh");
  if (path.empty()) return 1;
  Image image(path);
  if (!image.m_open) return CannotOpen(path);
  BenchServices services;
  NtfsScanEngine engine(services, image.m_reader, image.m_sectors);
  const auto start = Clock::now();
  engine.RunNtfsFastScan();
  const double search = Seconds(start);
  if (!services.m_errorBoxes.empty())
    return std::fprintf(stderr, "%s: not an NTFS volume, or too damaged to search\n", path.c_str()), 1;
  const uint64_t records = engine.Volume().RecordCount();
  const std::vector<HeaderRecord> shipped = ReadSignatureFile(QV_HEADER_FILE);
  double advanced = 1e9, disk = 1e9;
  size_t advancedFound = 0, diskFound = 0;
  for (int run = 0; run < 3; ++run) {
    Image volume(path);
    BenchServices volumeServices(shipped);
    NtfsAdvancedEngine advancedEngine(volumeServices, volume.m_reader, volume.m_sectors);
    auto at = Clock::now();
    advancedEngine.RunNtfsAdvancedScan();
    advanced = std::min(advanced, Seconds(at));
    advancedFound = volumeServices.m_found.size();
    Image whole(path);
    BenchServices diskServices(shipped);
    PhysicalDiskScan scan(diskServices, whole.m_reader, whole.m_sectors, false);
    at = Clock::now();
    scan.RunPhysicalDiskScan();
    disk = std::min(disk, Seconds(at));
    diskFound = diskServices.m_found.size();
  }
  uint64_t bytes = 0;
  const double raw = RawReadSeconds(path, bytes);
  std::printf("search: %.3f s, %llu MFT records, %.0f records/s, %zu entries found\n", search,
              static_cast<unsigned long long>(records), records / (search > 0 ? search : 1e-9),
              services.m_found.size());
  std::printf("advanced search: %.3f s, %zu entries found (%zu shipped signatures)\n", advanced,
              advancedFound, shipped.size());
  std::printf("disk scan: %.3f s, %zu entries found (the image as a disk, %zu shipped signatures)\n", disk,
              diskFound, shipped.size());
  std::printf("raw sequential read: %.3f s for %llu MiB (%.0f MiB/s)\n", raw,
              static_cast<unsigned long long>(bytes >> 20), (bytes >> 20) / (raw > 0 ? raw : 1e-9));
  return 0;
}

int ListAndExtract(const ListingOptions &options) {
  const std::string &path = options.m_image;
  Image image(path);
  if (!image.m_open) return CannotOpen(path);
  BenchServices services(options.m_advanced ? ReadSignatureFile(QV_HEADER_FILE)
                                            : std::vector<HeaderRecord>());
  NtfsAdvancedEngine engine(services, image.m_reader, image.m_sectors);
  if (options.m_advanced)
    engine.RunNtfsAdvancedScan();
  else
    engine.RunNtfsFastScan();
  // A signature hit is read from its clusters, any other file through its record.
  std::unordered_set<uint32_t> hitIds;
  for (const SignatureHit &hit : engine.SignatureHits()) hitIds.insert(hit.m_ownId);
  return ListSearch(services, path, "an NTFS volume", kNtfsRootRecord, options.m_extractDir,
                    [&engine, &hitIds](const EntryRecord &entry, const auto &sink) {
                      if (hitIds.count(entry.m_ownId)) return engine.ReadSignatureHit(entry, sink);
                      std::string why;
                      const bool whole = ReadNtfsFile(engine.Volume(), entry.m_firstCluster, sink, &why);
                      if (!whole) std::fprintf(stderr, "record %u: %s\n", entry.m_firstCluster, why.c_str());
                      return whole;
                    });
}

} // namespace

int main(int argc, char **argv) {
  return BenchMain(argc, argv, "NtfsBench", RunBenchmark, ListAndExtract);
}

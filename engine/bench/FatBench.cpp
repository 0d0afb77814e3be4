// Fast-search benchmark and image tool.
//
//   FatBench --bench [IMAGE]   times the fast search of IMAGE (made by
//                              make-fat-bench-image.sh when not given), its
//                              advanced search with every shipped signature
//                              chosen, the image's raw sequential read, and
//                              The Sleuth Kit's `fls -r -d` on the same image;
//                              prints entries per second, the advanced
//                              search's rate beside the raw read's, and memory
//                              per found entry, and the advanced
//                              search's deleted files against those of
//                              `fls -r -d -F`.
//   FatBench IMAGE [--advanced] [--extract DIR]
//                              lists every found entry (path, size, deleted
//                              flag, grade); with --advanced runs the advanced
//                              search with every shipped signature chosen;
//                              with --extract writes each found file's bytes
//                              under DIR along its folder path.
#include "BenchServices.h"
#include "FoundListing.h"
#include "FatScanEngine.h"
#include "ImageDevices.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// An engine over an image file on drive code 2.
struct ImageSearch {
  explicit ImageSearch(const std::string &path, std::vector<HeaderRecord> headers = {})
      : m_services(std::move(headers)), m_io(m_layer, nullptr, false), m_reader(m_io, 2, 0) {
    if (!m_layer.AttachFile(2, path)) return;
    const uint64_t sectors = m_layer.Device(2)->SizeInBytes() / 512;
    m_engine = std::make_unique<FatScanEngine>(m_services, m_reader, sectors);
  }

  BenchServices m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  std::unique_ptr<FatScanEngine> m_engine;
};

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long value = 0;
    if (key == "VmRSS:" && status >> value) return value;
  }
  return 0;
}

double RawReadSeconds(const std::string &path, uint64_t &bytes) {
  const Clock::time_point start = Clock::now();
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  std::vector<char> buffer(1 << 20);
  bytes = 0;
  size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) bytes += got;
  std::fclose(file);
  return SecondsSince(start);
}

double FlsSeconds(const std::string &path, long &lines) {
  const std::string out = path + ".fls.txt";
  const Clock::time_point start = Clock::now();
  const std::string command = "fls -r -d '" + path + "' > '" + out + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return -1;
  const double seconds = SecondsSince(start);
  std::ifstream in(out);
  std::string line;
  lines = 0;
  while (std::getline(in, line)) ++lines;
  std::remove(out.c_str());
  return seconds;
}

// The sizes of the deleted files `fls -r -d -F -l` lists (orphans too);
// false when The Sleuth Kit is missing.
bool FlsDeletedFileSizes(const std::string &path, std::vector<uint64_t> &sizes) {
  const std::string out = path + ".fls-files.txt";
  const std::string command = "fls -r -d -F -l '" + path + "' > '" + out + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return false;
  std::ifstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    // "type * inode:", then tab-separated the name, four times and the size.
    size_t at = line.find(":\t");
    if (at != std::string::npos) ++at;
    for (int field = 0; field < 5 && at != std::string::npos; ++field) at = line.find('\t', at + 1);
    if (at != std::string::npos) sizes.push_back(std::strtoull(line.c_str() + at + 1, nullptr, 10));
  }
  std::remove(out.c_str());
  return true;
}

// How many of the one list's sizes the other lacks, taken one for one.
size_t SizesMissing(std::vector<uint64_t> from, std::vector<uint64_t> in) {
  std::sort(from.begin(), from.end());
  std::sort(in.begin(), in.end());
  std::vector<uint64_t> missing;
  std::set_difference(from.begin(), from.end(), in.begin(), in.end(), std::back_inserter(missing));
  return missing.size();
}

int RunBenchmark(std::string image) {
  image = BenchImage(image, "/tmp/fat-bench.img", "make-fat-bench-image.sh");
  if (image.empty()) return 1;
  // The fastest of a few reads: the page cache holds the image after the first.
  uint64_t rawBytes = 0;
  double rawSeconds = 0;
  for (int run = 0; run < 3; ++run) {
    const double seconds = RawReadSeconds(image, rawBytes);
    if (run == 0 || seconds < rawSeconds) rawSeconds = seconds;
  }

  const long rssBefore = ResidentKilobytes();
  ImageSearch search(image);
  if (!search.m_engine) return CannotOpen(image);
  const Clock::time_point start = Clock::now();
  search.m_engine->RunFatFastScan();
  const double searchSeconds = SecondsSince(start);
  if (!search.m_services.m_errorBoxes.empty())
    return std::fprintf(stderr, "%s: not a FAT volume, or too damaged to search\n", image.c_str()), 1;
  const long rssAfter = ResidentKilobytes();
  const FatSearchTotals &totals = search.m_engine->Totals();
  const size_t found = search.m_services.m_found.size();

  double advancedSeconds = 0;
  size_t advancedFound = 0;
  std::vector<uint64_t> advancedSizes; // of the deleted files listed, signature hits aside
  const std::vector<HeaderRecord> signatures = ReadSignatureFile(QV_HEADER_FILE);
  for (int run = 0; run < 3; ++run) {
    ImageSearch advanced(image, signatures);
    const Clock::time_point advancedStart = Clock::now();
    advanced.m_engine->RunFatAdvancedScan();
    const double seconds = SecondsSince(advancedStart);
    if (run == 0 || seconds < advancedSeconds) advancedSeconds = seconds;
    advancedFound = advanced.m_services.m_found.size();
    advancedSizes.clear();
    for (const FatFoundFile &file : advanced.m_engine->DeletedFiles()) advancedSizes.push_back(file.m_size);
  }

  long flsLines = 0;
  const double flsSeconds = FlsSeconds(image, flsLines);

  const BootParameters &boot = search.m_engine->Volume().Parameters();
  std::printf("image                 %s (%.2f GB, %s, %u clusters of %u bytes)\n", image.c_str(),
              static_cast<double>(rawBytes) / (1 << 30), FatKindName(boot.m_kind), boot.m_clusterCount,
              boot.ClusterBytes());
  std::printf("raw sequential read   %.3f s (%.0f MB/s)\n", rawSeconds,
              rawSeconds > 0 ? static_cast<double>(rawBytes) / (1 << 20) / rawSeconds : 0.0);
  std::printf("fast search           %.3f s, %zu entries found (%u files, %u folders), %.0f entries/s\n",
              searchSeconds, found, totals.m_files, totals.m_folders,
              searchSeconds > 0 ? static_cast<double>(found) / searchSeconds : 0.0);
  const double rawRate = rawSeconds > 0 ? static_cast<double>(rawBytes) / (1 << 20) / rawSeconds : 0.0;
  const double advancedRate =
      advancedSeconds > 0 ? static_cast<double>(rawBytes) / (1 << 20) / advancedSeconds : 0.0;
  std::printf("advanced search       %.3f s (%.0f MB/s over the image, %.0f %% of the raw read), %zu entries "
              "found with %zu signatures\n",
              advancedSeconds, advancedRate, rawRate > 0 ? 100 * advancedRate / rawRate : 0.0, advancedFound,
              signatures.size());
  if (flsSeconds >= 0)
    std::printf("fls -r -d             %.3f s, %ld deleted entries listed\n", flsSeconds, flsLines);
  else
    std::printf("fls -r -d             not run (The Sleuth Kit missing)\n");
  std::vector<uint64_t> flsSizes;
  if (FlsDeletedFileSizes(image, flsSizes))
    std::printf("deleted files         advanced search %zu, fls -r -d -F %zu; by size one for one, %zu of "
                "fls's not listed, %zu listed beyond fls's\n",
                advancedSizes.size(), flsSizes.size(), SizesMissing(flsSizes, advancedSizes),
                SizesMissing(advancedSizes, flsSizes));
  std::printf("memory per found entry  engine %zu bytes per deleted file; process %.0f bytes per entry "
              "(RSS +%ld KB, with the FAT copy and map)\n",
              sizeof(FatFoundFile), found ? (rssAfter - rssBefore) * 1024.0 / found : 0.0,
              rssAfter - rssBefore);
  return 0;
}

int ListAndExtract(const ListingOptions &options) {
  const std::string &image = options.m_image;
  ImageSearch search(image,
                     options.m_advanced ? ReadSignatureFile(QV_HEADER_FILE) : std::vector<HeaderRecord>());
  if (!search.m_engine) return CannotOpen(image);
  if (options.m_advanced)
    search.m_engine->RunFatAdvancedScan();
  else
    search.m_engine->RunFatFastScan();
  return ListSearch(search.m_services, image, "a FAT volume", 0, options.m_extractDir,
                    [&search](const EntryRecord &entry, const auto &sink) {
                      return search.m_engine->ReadFoundFile(entry, sink);
                    });
}

} // namespace

int main(int argc, char **argv) {
  return BenchMain(argc, argv, "FatBench", RunBenchmark, ListAndExtract);
}

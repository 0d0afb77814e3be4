// Signature-search benchmark and image tool.
//
//   SignatureBench --bench [IMAGE]   times, over IMAGE (made by
//                                    make-signature-bench-image.sh when not
//                                    given) read through the image-file
//                                    device: the physical-disk scan, the FAT
//                                    advanced search, the image's raw
//                                    sequential read (after a warm-up read,
//                                    so all three come from the page cache)
//                                    and PhotoRec on the same image; then
//                                    the disk scan of a generated image
//                                    packed with crafted documents whose
//                                    chains loop, against the same image
//                                    with the documents spoiled.
//   SignatureBench IMAGE [--extract DIR]
//                                    runs the disk scan on IMAGE with every
//                                    shipped signature chosen and lists
//                                    every found entry (path, size, deleted
//                                    flag, grade); with --extract writes each
//                                    found file's bytes under DIR along its
//                                    folder path.
#include "BenchServices.h"
#include "CompoundTestDocument.h"
#include "FoundListing.h"
#include "FatScanEngine.h"
#include "ImageDevices.h"
#include "PhysicalDiskScan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint8_t kDiskCode = 128;
constexpr uint8_t kVolumeCode = 2;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double MegabytesPerSecond(uint64_t bytes, double seconds) {
  return seconds > 0 ? static_cast<double>(bytes) / (1 << 20) / seconds : 0.0;
}

HeaderRecord MakeHeader(const char16_t *extension, const std::string &signature, uint32_t maxSize) {
  HeaderRecord header;
  header.m_extension = extension;
  header.m_signatureLength = static_cast<uint8_t>(signature.size());
  std::memcpy(header.m_signature, signature.data(), signature.size());
  header.m_selected = 1;
  header.m_maxSize = maxSize;
  return header;
}

// The types the benchmark image holds.
std::vector<HeaderRecord> BenchHeaders() {
  return {MakeHeader(u"JPG", "\xFF\xD8\xFF", 1 << 20), MakeHeader(u"PDF", "%PDF", 1 << 20),
          MakeHeader(u"ZIP", std::string("PK\x03\x04", 4), 1 << 20), MakeHeader(u"BMP", "BM", 1 << 20)};
}

// An image file attached as one drive, read through the image-file device.
struct ImageDrive {
  ImageDrive(const std::string &path, uint8_t code, std::vector<HeaderRecord> headers)
      : m_services(std::move(headers)), m_io(m_layer, nullptr, false), m_reader(m_io, code, 0) {
    if (m_layer.AttachFile(code, path)) m_bytes = m_layer.Device(code)->SizeInBytes();
  }

  BenchServices m_services;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  uint64_t m_bytes = 0;
};

uint64_t ReadWhole(const std::string &path) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  std::vector<char> buffer(4 << 20);
  uint64_t bytes = 0;
  size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) bytes += got;
  std::fclose(file);
  return bytes;
}

size_t CountFiles(const std::filesystem::path &dir) {
  size_t files = 0;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(dir, error);
       it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (error) break;
    if (it->is_regular_file() && it->path().filename() != "report.xml") ++files;
  }
  return files;
}

// PhotoRec over the image as a whole (no partition), every file type it
// knows enabled, as the full signature set is, and paranoid checks off; -1
// when it is missing or fails. Counts the files it wrote.
double PhotoRecSeconds(const std::string &image, size_t &recovered) {
  if (std::system("command -v photorec >/dev/null 2>&1") != 0) return -1;
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "signature-bench-photorec";
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work);
  const std::string command = "cd '" + work.string() + "' && TERM=dumb photorec /log /d '" +
                              (work / "out").string() + "' /cmd '" + image +
                              "' partition_none,options,paranoid_no,fileopt,everything,enable,search"
                              " </dev/null >/dev/null 2>&1";
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) return -1;
  const double seconds = SecondsSince(start);
  recovered = 0;
  for (const auto &entry : std::filesystem::directory_iterator(work))
    if (entry.is_directory() && entry.path().filename().string().rfind("out", 0) == 0)
      recovered += CountFiles(entry.path());
  std::filesystem::remove_all(work);
  return seconds;
}

// The fastest of a few runs of each measure, so a stray stall of the
// machine does not decide the comparison.
constexpr int kRuns = 3;

struct ScanFigures {
  double m_seconds = 1e9;
  uint64_t m_bytes = 0;
  size_t m_files = 0;
  size_t m_hits = 0;
  size_t m_deleted = 0;
};

void RunDiskScan(const std::string &image, const std::vector<HeaderRecord> &headers, ScanFigures &figures) {
  ImageDrive disk(image, kDiskCode, headers);
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.m_bytes / 512, false);
  const Clock::time_point start = Clock::now();
  scan.RunPhysicalDiskScan();
  figures.m_seconds = std::min(figures.m_seconds, SecondsSince(start));
  figures.m_bytes = disk.m_bytes;
  figures.m_files = disk.m_services.FileCount();
}

void RunFatSearch(const std::string &image, const std::vector<HeaderRecord> &headers, ScanFigures &figures) {
  ImageDrive volume(image, kVolumeCode, headers);
  FatScanEngine engine(volume.m_services, volume.m_reader, volume.m_bytes / 512);
  const Clock::time_point start = Clock::now();
  engine.RunFatAdvancedScan();
  figures.m_seconds = std::min(figures.m_seconds, SecondsSince(start));
  figures.m_bytes = volume.m_bytes;
  figures.m_files = volume.m_services.FileCount();
  figures.m_hits = engine.SignatureHits().size();
  figures.m_deleted = engine.DeletedFiles().size();
}

// A disk image packed with compound documents, one every 8 KB: crafted ones
// whose FAT sector is zeros (every chain of them 0, 0, 0, ...) under a summary
// far into the mini stream, or the same with the root entry spoiled, so that
// each is refused at its first check.
constexpr uint32_t kPackedDocuments = 512;
constexpr size_t kPackedSlotBytes = 8 << 10;
constexpr int kPackedRuns = 25;

std::string WritePackedDocuments(bool spoiled) {
  const CompoundTestDocument document = LoopingCompoundDocument();
  std::vector<uint8_t> slot(kPackedSlotBytes, 0);
  std::copy(document.Bytes().begin(), document.Bytes().end(), slot.begin());
  if (spoiled) slot[(document.DirectorySector() + 1) * 512] = 'X'; // "Xoot Entry"
  const std::string path = (std::filesystem::temp_directory_path() /
                            (spoiled ? "signature-bench-spoiled.img" : "signature-bench-crafted.img"))
                               .string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (uint32_t i = 0; i < kPackedDocuments; ++i)
    out.write(reinterpret_cast<const char *>(slot.data()), static_cast<std::streamsize>(slot.size()));
  return out ? path : std::string();
}

// The disk scan of the image of crafted documents and of the spoiled one,
// the fastest of a few runs each, and the ratio of the two.
void PrintPackedDocuments(const std::vector<HeaderRecord> &headers) {
  const std::string crafted = WritePackedDocuments(false);
  const std::string spoiled = WritePackedDocuments(true);
  if (crafted.empty() || spoiled.empty()) {
    std::printf("crafted documents     not run (the images could not be written)\n");
    return;
  }
  // Each scan takes a few milliseconds: many rounds, so that the fastest of
  // each is the scan's own time and not the timer's grain or a busy moment.
  ScanFigures craftedScan, spoiledScan;
  for (int run = 0; run < kPackedRuns; ++run) {
    RunDiskScan(crafted, headers, craftedScan);
    RunDiskScan(spoiled, headers, spoiledScan);
  }
  std::printf(
      "crafted documents     physical-disk scan of %u looping documents in %.0f MB: %.2f ms, %zu hits; "
      "the same documents spoiled: %.2f ms, %zu hits; %.2fx (fastest of %d runs)\n",
      kPackedDocuments, static_cast<double>(craftedScan.m_bytes) / (1 << 20), craftedScan.m_seconds * 1e3,
      craftedScan.m_files, spoiledScan.m_seconds * 1e3, spoiledScan.m_files,
      spoiledScan.m_seconds > 0 ? craftedScan.m_seconds / spoiledScan.m_seconds : 0.0, kPackedRuns);
  std::remove(crafted.c_str());
  std::remove(spoiled.c_str());
}

int RunBenchmark(std::string image) {
  image = BenchImage(image, "/tmp/signature-bench.img", "make-signature-bench-image.sh");
  if (image.empty()) return 1;
  ReadWhole(image); // warm-up: every measure below reads from the page cache
  ScanFigures raw;
  for (int run = 0; run < kRuns; ++run) {
    const Clock::time_point start = Clock::now();
    raw.m_bytes = ReadWhole(image);
    raw.m_seconds = std::min(raw.m_seconds, SecondsSince(start));
  }
  if (raw.m_bytes == 0) return std::fprintf(stderr, "cannot read %s\n", image.c_str()), 1;
  const std::vector<HeaderRecord> shipped = ReadSignatureFile(QV_HEADER_FILE);
  if (shipped.empty()) return 1;
  ScanFigures disk, fat, diskFew, fatFew;
  for (int run = 0; run < kRuns; ++run) {
    RunDiskScan(image, shipped, disk);
    RunFatSearch(image, shipped, fat);
    RunDiskScan(image, BenchHeaders(), diskFew);
    RunFatSearch(image, BenchHeaders(), fatFew);
  }
  size_t photoRecFiles = 0;
  const double photoRecSeconds = PhotoRecSeconds(image, photoRecFiles);

  std::printf("image                 %s (%.2f GB); fastest of %d runs\n", image.c_str(),
              static_cast<double>(raw.m_bytes) / (1 << 30), kRuns);
  // The full set first: the figures the scans are held to, against the raw
  // read and PhotoRec of this same run.
  const double rawRate = MegabytesPerSecond(raw.m_bytes, raw.m_seconds);
  std::printf("full set (%zu shipped signatures): physical-disk scan %.0f MB/s, %.0f%% of the raw read",
              shipped.size(), MegabytesPerSecond(disk.m_bytes, disk.m_seconds),
              100 * MegabytesPerSecond(disk.m_bytes, disk.m_seconds) / rawRate);
  if (photoRecSeconds >= 0) std::printf(", %.1fx PhotoRec", photoRecSeconds / disk.m_seconds);
  std::printf("; FAT advanced search %.0f MB/s, %.0f%% of the raw read\n",
              MegabytesPerSecond(fat.m_bytes, fat.m_seconds),
              100 * MegabytesPerSecond(fat.m_bytes, fat.m_seconds) / rawRate);
  std::printf("raw sequential read   %.3f s, %.0f MB/s (page cache, 4 MB reads)\n", raw.m_seconds, rawRate);
  const auto print = [](const char *what, size_t signatures, const ScanFigures &d, const ScanFigures &f) {
    std::printf("physical-disk scan    %.3f s, %.0f MB/s, %zu hits (%zu %s)\n", d.m_seconds,
                MegabytesPerSecond(d.m_bytes, d.m_seconds), d.m_files, signatures, what);
    std::printf("FAT advanced search   %.3f s, %.0f MB/s of image, %zu files listed (%zu signature hits, "
                "%zu deleted files; %zu %s)\n",
                f.m_seconds, MegabytesPerSecond(f.m_bytes, f.m_seconds), f.m_files, f.m_hits, f.m_deleted,
                signatures, what);
  };
  print("shipped signatures", shipped.size(), disk, fat);
  print("signatures of the image's types", BenchHeaders().size(), diskFew, fatFew);
  if (photoRecSeconds >= 0)
    std::printf("PhotoRec              %.3f s, %.0f MB/s, %zu files recovered (every type it knows)\n",
                photoRecSeconds, MegabytesPerSecond(raw.m_bytes, photoRecSeconds), photoRecFiles);
  else
    std::printf("PhotoRec              not run (photorec missing or failed)\n");
  PrintPackedDocuments(shipped);
  return 0;
}

// The disk scan always matches signatures: --advanced changes nothing here.
int ListAndExtract(const ListingOptions &options) {
  const std::string &image = options.m_image;
  const std::string &extractDir = options.m_extractDir;
  ImageDrive disk(image, kDiskCode, ReadSignatureFile(QV_HEADER_FILE));
  if (disk.m_bytes == 0) return CannotOpen(image);
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.m_bytes / 512, false);
  scan.RunPhysicalDiskScan();
  return ListSearch(
      disk.m_services, image, "a disk image", 0, extractDir,
      [&scan](const EntryRecord &entry, const auto &sink) { return scan.ReadFoundFile(entry, sink); });
}

} // namespace

int main(int argc, char **argv) {
  return BenchMain(argc, argv, "SignatureBench", RunBenchmark, ListAndExtract);
}

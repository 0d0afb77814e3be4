// What the benchmark programs share: their command line, the listing they
// print for an image and what --extract writes. One line per find (full
// path, size, deleted flag, grade), and every found file's bytes under the
// folder along its path. Every name on the path is made safe by the rule the
// application's recovery uses, so no found name can lead outside the folder.
#pragma once

#include "BenchServices.h"
#include "SafeFileName.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Paths of the finds: a folder's path is its parent's plus its safe name;
// entries whose parent was never listed go under "/lost".
inline std::vector<std::string> FoundPaths(const std::vector<BenchServices::Found> &found, uint32_t rootId) {
  std::map<uint32_t, std::string> folders{{rootId, ""}};
  std::vector<std::string> paths;
  for (const BenchServices::Found &f : found) {
    auto parent = folders.find(f.m_entry.m_parentId);
    std::string path = (parent == folders.end() ? std::string("/lost") : parent->second) + "/" +
                       Utf8(SafeFileName(f.m_name));
    if (f.m_entry.IsFolder()) folders.emplace(f.m_entry.m_ownId, path);
    paths.push_back(path);
  }
  return paths;
}

// Streams one found file's bytes to the sink; false when it was not read whole.
using FoundFileReader =
    std::function<bool(const EntryRecord &entry, const std::function<bool(const uint8_t *, size_t)> &sink)>;

// Writes one found file at target; false when it could not be written or read whole.
inline bool ExtractFound(const std::filesystem::path &target, const EntryRecord &entry,
                         const FoundFileReader &read) {
  std::error_code error;
  std::filesystem::create_directories(target.parent_path(), error);
  std::ofstream out(target, std::ios::binary);
  if (!out) return false;
  return read(entry, [&out](const uint8_t *data, size_t size) {
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
  });
}

// Prints every find and, when extractDir is given, writes it there. 1 when a
// file could not be written or read whole (after the whole listing), else 0.
inline int ListFound(const std::vector<BenchServices::Found> &found, uint32_t rootId,
                     const std::string &extractDir, const FoundFileReader &read) {
  const std::vector<std::string> paths = FoundPaths(found, rootId);
  int incomplete = 0;
  for (size_t i = 0; i < found.size(); ++i) {
    const EntryRecord &entry = found[i].m_entry;
    std::printf("%s\t%llu\t%s\t%s\n", paths[i].c_str(), static_cast<unsigned long long>(entry.m_size),
                entry.m_deleted ? "deleted" : "live",
                entry.IsFolder() ? "-" : Utf8(RecoveryGradeText(entry.m_grade)).c_str());
    if (extractDir.empty()) continue;
    const std::filesystem::path target = std::filesystem::path(extractDir) / paths[i].substr(1);
    if (entry.IsFolder()) {
      std::error_code error;
      std::filesystem::create_directories(target, error);
    } else if (!ExtractFound(target, entry, read)) {
      ++incomplete;
    }
  }
  if (incomplete) std::fprintf(stderr, "%d files could not be read or written whole\n", incomplete);
  return incomplete ? 1 : 0;
}

// The listing of a search the program ran over image: exit code 1 with a
// message when the engine refused the image (it is not what the program
// searches, as "a FAT volume"), otherwise what ListFound gives.
inline int ListSearch(const BenchServices &services, const std::string &image, const char *what,
                      uint32_t rootId, const std::string &extractDir, const FoundFileReader &read) {
  if (!services.m_errorBoxes.empty()) {
    std::fprintf(stderr, "%s: not %s, or too damaged to search\n", image.c_str(), what);
    return 1;
  }
  return ListFound(services.m_found, rootId, extractDir, read);
}

// The image a --bench run measures: the one given, else the program's own
// (made by its script beside this file when it is not there yet). Empty
// when the script failed.
inline std::string BenchImage(const std::string &given, const char *ownImage, const char *script) {
  if (!given.empty()) return given;
  const std::string path = (std::filesystem::path(__FILE__).parent_path() / script).string();
  if (!std::filesystem::exists(ownImage) &&
      std::system(("bash '" + path + "' '" + ownImage + "'").c_str()) != 0)
    return std::string();
  return ownImage;
}

// The programs' command line, the same for each:
//   NAME --bench [IMAGE]                      the figures (over IMAGE, or an image the program makes)
//   NAME IMAGE [--advanced] [--extract DIR]   the listing, and the found files under DIR; with
//                                             --advanced the volume engines run the advanced search
//                                             with every shipped signature chosen
// Anything else is a usage error (exit code 2).
struct ListingOptions {
  std::string m_image;
  std::string m_extractDir;
  bool m_advanced = false;
};

inline int BenchMain(int argc, char **argv, const char *name, int (*runBenchmark)(std::string image),
                     int (*listAndExtract)(const ListingOptions &options)) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "--bench" && args.size() <= 2) {
    if (args.size() > 1 && !ImageProblem(args[1]).empty()) return CannotOpen(args[1]);
    return runBenchmark(args.size() > 1 ? args[1] : std::string());
  }
  ListingOptions options;
  bool usable = !args.empty() && args[0].rfind("--", 0) != 0;
  if (usable) options.m_image = args[0];
  for (size_t i = 1; usable && i < args.size(); ++i) {
    if (args[i] == "--advanced" && !options.m_advanced)
      options.m_advanced = true;
    else if (args[i] == "--extract" && i + 1 < args.size() && options.m_extractDir.empty())
      options.m_extractDir = args[++i];
    else
      usable = false;
  }
  if (usable && !ImageProblem(options.m_image).empty()) return CannotOpen(options.m_image);
  if (usable) return listAndExtract(options);
  std::fprintf(stderr, "usage: %s --bench [IMAGE] | %s IMAGE [--advanced] [--extract DIR]\n", name, name);
  return 2;
}

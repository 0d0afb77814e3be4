// What the benchmark programs print for an image and write with --extract:
// one line per find (full path, size, deleted flag, grade), and every found
// file's bytes under the folder with its path.
#pragma once

#include "BenchServices.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Paths of the finds: a folder's path is its parent's plus its name.
inline std::vector<std::string> FoundPaths(const std::vector<BenchServices::Found> &found) {
  std::map<uint32_t, std::string> folders{{0, ""}};
  std::vector<std::string> paths;
  for (const BenchServices::Found &f : found) {
    auto parent = folders.find(f.m_entry.m_parentId);
    std::string path =
        (parent == folders.end() ? std::string("/lost") : parent->second) + "/" + Utf8(f.m_name);
    if (f.m_entry.IsFolder()) folders[f.m_entry.m_ownId] = path;
    paths.push_back(path);
  }
  return paths;
}

// Streams one found file's bytes to the sink; false when it was not read whole.
using FoundFileReader =
    std::function<bool(const EntryRecord &entry, const std::function<bool(const uint8_t *, size_t)> &sink)>;

// Prints every find and, when extractDir is given, writes it there.
inline int ListFound(const std::vector<BenchServices::Found> &found, const std::string &extractDir,
                     const FoundFileReader &read) {
  const std::vector<std::string> paths = FoundPaths(found);
  int incomplete = 0;
  for (size_t i = 0; i < found.size(); ++i) {
    const EntryRecord &entry = found[i].m_entry;
    std::printf("%s\t%llu\t%s\t%s\n", paths[i].c_str(), static_cast<unsigned long long>(entry.m_size),
                entry.m_deleted ? "deleted" : "live",
                entry.IsFolder() ? "-" : Utf8(RecoveryGradeText(entry.m_grade)).c_str());
    if (extractDir.empty()) continue;
    const std::filesystem::path target = std::filesystem::path(extractDir) / paths[i].substr(1);
    if (entry.IsFolder()) {
      std::filesystem::create_directories(target);
      continue;
    }
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    const bool complete = read(entry, [&out](const uint8_t *data, size_t size) {
      out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
      return static_cast<bool>(out);
    });
    if (!complete) ++incomplete;
  }
  if (incomplete) std::fprintf(stderr, "%d files could not be read whole\n", incomplete);
  return 0;
}

// The programs' command line: NAME --bench [IMAGE] | NAME IMAGE [--extract DIR].
inline int BenchMain(int argc, char **argv, const char *name, int (*runBenchmark)(std::string image),
                     int (*listAndExtract)(const std::string &image, const std::string &extractDir)) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "--bench") return runBenchmark(args.size() > 1 ? args[1] : std::string());
  if (args.empty()) {
    std::fprintf(stderr, "usage: %s --bench [IMAGE] | %s IMAGE [--extract DIR]\n", name, name);
    return 2;
  }
  std::string extract;
  if (args.size() >= 3 && args[1] == "--extract") extract = args[2];
  return listAndExtract(args[0], extract);
}

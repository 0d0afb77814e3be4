// What the benchmark programs give the engines: the finds are kept as the
// folder tree would keep them, errors go to stderr, everything else is dropped.
#pragma once

#include "EngineServices.h"
#include "EnglishTexts.h"
#include "Utf16Text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string Utf8(const std::u16string &text) {
  return Utf16ToUtf8(text);
}

// Every valid record of a signature file (the program's HeaderFile.cfg, which
// the build makes beside the benchmark programs), each one chosen; empty
// when the file is missing.
inline std::vector<HeaderRecord> ReadSignatureFile(const char *path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<HeaderRecord> headers;
  for (size_t at = 0; at + kHeaderRecordSize <= bytes.size(); at += kHeaderRecordSize) {
    HeaderRecord header;
    if (ParseHeaderRecord(bytes.data() + at, kHeaderRecordSize, header) != ParseResult::Ok) continue;
    header.m_selected = 1;
    headers.push_back(header);
  }
  if (headers.empty()) std::fprintf(stderr, "no signatures in %s\n", path);
  return headers;
}

// Why an image cannot be searched: empty when it is a regular file with bytes
// in it, else "not a regular file", "empty" or the system's reason.
inline std::string ImageProblem(const std::string &path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) return error.message();
  if (!std::filesystem::exists(status)) return std::strerror(ENOENT);
  if (!std::filesystem::is_regular_file(status)) return "not a regular file";
  if (std::filesystem::file_size(path, error) == 0 && !error) return "empty";
  if (error) return error.message();
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) return std::strerror(errno);
  std::fclose(file);
  return std::string();
}

// "cannot open PATH: why" on stderr; exit code 1.
inline int CannotOpen(const std::string &path) {
  const std::string why = ImageProblem(path);
  std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), why.empty() ? "unreadable" : why.c_str());
  return 1;
}

class BenchServices : public EngineServices {
public:
  struct Found {
    EntryRecord m_entry;
    std::u16string m_name;
  };

  explicit BenchServices(std::vector<HeaderRecord> headers = {}) : m_headers(std::move(headers)) {}

  bool PumpMessages() override { return true; }
  bool StopRequested() const override { return false; }
  void AddLogEntry(const std::optional<std::u16string> &activity, const std::u16string &text,
                   const std::optional<std::u16string> &, LogStatus status) override {
    if (status == LogStatus::Error)
      std::fprintf(stderr, "log: %s %s\n", Utf8(activity.value_or(u"")).c_str(), Utf8(text).c_str());
  }
  std::u16string CurrentTimeText() override { return u""; }
  void CreateScanProgressBar(uint32_t) override {}
  void ShowReadingProgress(uint32_t, const std::optional<std::u16string> &) override {}
  void StepProgress() override {}
  void DeleteProgressBar() override {}
  void CreateTreeRoot() override {}
  void AddTreeEntry(const EntryRecord &entry, const std::u16string &name) override {
    m_found.push_back(Found{entry, name});
  }
  void AddTreeEntryOwned(const EntryRecord &entry, std::u16string &&name) override {
    m_found.push_back(Found{entry, std::move(name)});
  }
  void ResetTreeToRoot() override {}
  void SetEntryGrade(uint32_t ownId, RecoveryGrade grade) override {
    for (auto found = m_found.rbegin(); found != m_found.rend(); ++found)
      if (found->m_entry.m_ownId == ownId && !found->m_entry.IsFolder()) {
        found->m_entry.m_grade = grade;
        return;
      }
  }
  void UpdateTotalsPane(uint32_t, uint32_t, uint64_t) override {}
  void UpdateFoundProgress(uint32_t, uint32_t, uint32_t) override {}
  void ShowCurrentItemText(uint32_t, const std::u16string &) override {}
  void OnScanFinished(uint32_t) override {}
  void ResetBusyFlags() override {}
  void SetScanPhaseBusy(bool) override {}
  void DoWaitCursor(int) override {}
  // The program's English texts; an id the table lacks shows as "#id".
  std::u16string LoadText(uint32_t id) override {
    for (const EnglishText &text : kEnglishTexts)
      if (text.m_id == id) return text.m_text;
    return Widen("#" + std::to_string(id));
  }
  // The engines refuse an image that is not their file system with an error
  // box; the program says so itself.
  void ShowErrorBox(const std::u16string &text) override { m_errorBoxes.push_back(text); }
  void SetScanInfoSaved(bool) override {}
  void SetSelectionPresent(bool) override {}
  void SetResultsPresent(bool) override {}
  const std::vector<HeaderRecord> &SelectedHeaders() const override { return m_headers; }

  size_t FileCount() const {
    size_t files = 0;
    for (const Found &f : m_found) files += f.m_entry.IsFolder() ? 0 : 1;
    return files;
  }

  std::vector<Found> m_found;
  std::vector<std::u16string> m_errorBoxes;

private:
  std::vector<HeaderRecord> m_headers;
};

// Recovery runs: every chosen file written under its folder path byte for
// byte, from FAT and NTFS images that the real tools made (also after the
// scan went through a saved scan file), and the run's answers to name
// clashes, lack of room, short reads and Stop, with the questions answered
// by a script.
#include "FatTestImages.h"
#include "FileRecovery.h"
#include "NtfsAdvancedEngine.h"
#include "NtfsTestImages.h"
#include "ScanSession.h"
#include "SessionScanFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

constexpr uint8_t kDrive = 2;

std::string Narrow(const std::u16string &text) {
  return ToUtf8(text);
}

std::u16string Widen(const std::string &text) {
  return std::u16string(text.begin(), text.end());
}

const wchar_t *W(const std::u16string &text) {
  return reinterpret_cast<const wchar_t *>(text.c_str());
}

bool Exists(const std::u16string &path) {
  return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadBytes(const std::u16string &path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  uint8_t buffer[65536];
  DWORD done = 0;
  while (ReadFile(file, buffer, sizeof buffer, &done, nullptr) && done > 0)
    bytes.insert(bytes.end(), buffer, buffer + done);
  CloseHandle(file);
  return bytes;
}

void WriteBytes(const std::u16string &path, const std::string &text) {
  HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << Narrow(path);
  DWORD done = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
  CloseHandle(file);
}

std::string ReadText(const std::u16string &path) {
  std::vector<uint8_t> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void RemoveTree(const std::u16string &folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(W(folder + u"\\*"), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::u16string name(reinterpret_cast<const char16_t *>(found.cFileName));
      if (name == u"." || name == u"..") continue;
      const std::u16string path = folder + u"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(W(path));
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(W(folder));
}

// Every file name in a folder and below it, relative to it.
std::set<std::string> FilesBelow(const std::u16string &folder, const std::string &prefix = "") {
  std::set<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(W(folder + u"\\*"), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::u16string name(reinterpret_cast<const char16_t *>(found.cFileName));
    if (name == u"." || name == u"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::string &inner : FilesBelow(folder + u"\\" + name, prefix + Narrow(name) + "\\"))
        names.insert(inner);
    } else {
      names.insert(prefix + Narrow(name));
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// A destination folder of its own for each test.
class Destination {
public:
  Destination() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    const std::string name =
        "qv-recovery-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    m_path = std::u16string(reinterpret_cast<const char16_t *>(temp)) + Widen(name);
    CreateDirectoryW(W(m_path), nullptr);
  }
  ~Destination() { RemoveTree(m_path); }
  const std::u16string &Path() const { return m_path; }
  std::u16string operator/(const std::string &relative) const { return m_path + u"\\" + Widen(relative); }

private:
  std::u16string m_path;
};

// Keeps the tree's entry list as the folder tree view does: the root's node
// first, then every entry in the order the engine hands them out.
class TreeServices : public RecordingServices {
public:
  explicit TreeServices(uint32_t rootId = 0) : m_rootId(rootId) {}
  void CreateTreeRoot() override {
    RecordingServices::CreateTreeRoot();
    if (!m_entries.Empty()) return;
    EntryRecord root;
    root.m_ownId = m_rootId;
    root.m_attributes = kEntryAttrFolder;
    m_entries.Append(root, u"Root", nullptr);
  }
  void AddTreeEntry(const EntryRecord &entry, const std::u16string &name) override {
    RecordingServices::AddTreeEntry(entry, name);
    m_entries.Append(entry, name, nullptr);
  }
  size_t LogRowsWithActivity(const std::u16string &activity) const {
    size_t rows = 0;
    for (const LogRow &row : m_log) rows += row.m_activity && *row.m_activity == activity;
    return rows;
  }

  EntryNodeList m_entries;

private:
  uint32_t m_rootId;
};

// Answers the run's questions from a script and keeps what it was asked.
class ScriptedPrompts : public RecoveryPrompts {
public:
  struct ClashAnswer {
    ClashButton m_button;
    std::u16string m_typed; // empty: keep the proposal
  };

  ClashButton AskClash(const std::u16string &existingPath, std::u16string &newName) override {
    m_clashes.push_back(existingPath);
    m_proposals.push_back(newName);
    if (m_clashes.size() > m_clashAnswers.size()) {
      ADD_FAILURE() << "unexpected clash on " << Narrow(existingPath);
      return ClashButton::Skip;
    }
    const ClashAnswer &answer = m_clashAnswers[m_clashes.size() - 1];
    if (!answer.m_typed.empty()) newName = answer.m_typed;
    return answer.m_button;
  }
  bool SkipWhenNoRoom(const std::u16string &path, uint64_t size) override {
    m_noRoom.push_back({path, size});
    if (m_noRoom.size() > m_roomAnswers.size()) {
      ADD_FAILURE() << "unexpected lack of room for " << Narrow(path);
      return false;
    }
    return m_roomAnswers[m_noRoom.size() - 1];
  }

  std::vector<ClashAnswer> m_clashAnswers;
  std::vector<bool> m_roomAnswers;
  std::vector<std::u16string> m_clashes;
  std::vector<std::u16string> m_proposals;
  std::vector<std::pair<std::u16string, uint64_t>> m_noRoom;
};

// A session over an image file on drive code 2.
struct ImageSession {
  ImageSession(const std::string &image, ScanKind kind, uint32_t rootId) : m_services(rootId) {
    EXPECT_TRUE(m_layer.AttachFile(kDrive, image)) << image;
    ScanSession::Target target;
    target.m_driveCode = kDrive;
    if (SectorDevice *device = m_layer.Device(kDrive)) target.m_sectors = device->SizeInBytes() / 512;
    m_session = std::make_unique<ScanSession>(m_services, m_layer, kind, target);
  }
  RecoveryResult Recover(const std::u16string &destination, RecoveryScope scope, RecoveryDates dates,
                         RecoveryPrompts &prompts) {
    ScanSession &session = *m_session;
    FileRecovery recovery(
        m_services, m_services.m_entries,
        [&session](const EntryRecord &entry, const RecoveryFileSink &sink) {
          return session.ReadFoundFile(entry, sink);
        },
        m_answers, prompts);
    RecoveryOptions options;
    options.m_scope = scope;
    options.m_dates = dates;
    options.m_destination = destination;
    // The end of the search raised the stop flag; the frame lowers it for the run.
    m_services.SetStopRequested(false);
    return recovery.Run(options);
  }

  TreeServices m_services;
  ImageDeviceLayer m_layer;
  std::unique_ptr<ScanSession> m_session;
  RecoveryClashAnswers m_answers;
};

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path.erase(0, 1);
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

class FatRecovery : public ::testing::TestWithParam<const char *> {};

// Recover All from a FAT image: every deleted file of the manifest (long
// names, files of folders deleted with their contents, 8.3 names whose first
// letter is lost) comes back byte for byte under its folder path.
TEST_P(FatRecovery, RecoversEveryDeletedFileByteForByte) {
  QV_REQUIRE_FAT_FIXTURES();
  const std::string image = GetParam();
  ImageSession scan(FatFixtureDir() + "/" + image + ".img", ScanKind::FatVolume, 0);
  scan.m_session->Fat()->RunFatFastScan();
  ASSERT_GT(scan.m_services.m_entries.Size(), 1u);
  Destination out;
  ScriptedPrompts prompts;
  const RecoveryResult result =
      scan.Recover(out.Path(), RecoveryScope::All, RecoveryDates::FatStamps, prompts);
  EXPECT_FALSE(result.m_stopped || result.m_cancelled);
  FileRecovery counter(scan.m_services, scan.m_services.m_entries, nullptr, scan.m_answers, prompts);
  const uint32_t files = counter.CountFiles(RecoveryScope::All);
  EXPECT_EQ(result.m_recovered + result.m_failed + result.m_skipped, files);
  EXPECT_EQ(scan.m_services.LogRowsWithActivity(u"#61303"), files) << "one log line per file";
  size_t compared = 0;
  for (const FatManifestRow &row : ReadFatManifest(image)) {
    if (!row.m_deleted) continue;
    const std::u16string path = out / WindowsPath(ExpectedFoundPath(row.m_path));
    ASSERT_TRUE(Exists(path)) << Narrow(path) << "\n" << scan.m_services.LogAsText();
    EXPECT_TRUE(ReadBytes(path) == ReadOriginal(image, row)) << Narrow(path) << " differs from its original";
    ++compared;
  }
  EXPECT_GT(compared, 5u);
  // No temporary file is left behind.
  for (const std::string &name : FilesBelow(out.Path()))
    EXPECT_EQ(name.find("~qvrecover"), std::string::npos) << name;
}

INSTANTIATE_TEST_SUITE_P(Images, FatRecovery, ::testing::Values("fat12", "fat16", "fat32"),
                         [](const auto &info) { return std::string(info.param); });

// The recovered file carries the entry's write stamp.
TEST(FatRecoveryTimes, WriteTimeComesFromTheEntry) {
  QV_REQUIRE_FAT_FIXTURES();
  ImageSession scan(FatFixtureDir() + "/fat16.img", ScanKind::FatVolume, 0);
  scan.m_session->Fat()->RunFatFastScan();
  TreeEntryNode *chosen = nullptr;
  for (TreeEntryNode &node : scan.m_services.m_entries)
    if (!node.IsFolder() && node.m_record.m_deleted && node.m_name == u"Lost Report With A Long Name.txt")
      chosen = &node;
  ASSERT_NE(chosen, nullptr);
  chosen->m_record.m_checkState = 1;
  Destination out;
  ScriptedPrompts prompts;
  EXPECT_EQ(scan.Recover(out.Path(), RecoveryScope::Selected, RecoveryDates::FatStamps, prompts).m_recovered,
            1u);
  const RecoveredTimes expected = RecoveredTimesOf(chosen->m_record, RecoveryDates::FatStamps);
  ASSERT_NE(expected.m_write.dwHighDateTime, 0u);
  HANDLE file = CreateFileW(W(out / "Docs\\Sub\\Lost Report With A Long Name.txt"), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME write = {};
  GetFileTime(file, nullptr, nullptr, &write);
  CloseHandle(file);
  EXPECT_EQ(CompareFileTime(&write, &expected.m_write), 0);
}

std::string NtfsBase() {
  const char *dir = std::getenv("QV_FIXTURES");
  return dir ? std::string(dir) + "/ntfs-4k" : std::string();
}

// Chooses every file small enough for a test (the manifest's 4 GB sparse
// file stays out).
void CheckSmallFiles(EntryNodeList &entries) {
  for (TreeEntryNode &node : entries)
    node.m_record.m_checkState = !node.IsFolder() && node.m_record.m_size < (64u << 20) ? 1 : 0;
}

void ExpectNtfsFilesRecovered(const Destination &out, const std::string &base, TreeServices &services) {
  size_t compared = 0;
  for (const NtfsManifestRow &row : ReadNtfsManifest(base + ".manifest")) {
    if (row.m_kind != "deleted-file") continue;
    const std::u16string path = out / WindowsPath(row.m_path);
    ASSERT_TRUE(Exists(path)) << Narrow(path) << "\n" << services.LogAsText();
    EXPECT_TRUE(ReadBytes(path) == ReadWholeFile(base + ".orig/" + row.m_original))
        << Narrow(path) << " differs from its original";
    ++compared;
  }
  EXPECT_GT(compared, 5u);
}

// Recover Selected from an NTFS image: deleted files in live and deleted
// folders, and one under "Lost Folder(s)" whose folder record was reused.
TEST(NtfsRecovery, RecoversTheCheckedFilesByteForByte) {
  const std::string base = NtfsBase();
  if (base.empty() || !std::ifstream(base + ".manifest"))
    GTEST_SKIP() << "the NTFS image with deletions is not made";
  ImageSession scan(base + ".img", ScanKind::NtfsVolume, kNtfsRootRecord);
  scan.m_session->Ntfs()->RunNtfsFastScan();
  CheckSmallFiles(scan.m_services.m_entries);
  Destination out;
  ScriptedPrompts prompts;
  const RecoveryResult result =
      scan.Recover(out.Path(), RecoveryScope::Selected, RecoveryDates::NtfsTimes, prompts);
  EXPECT_EQ(result.m_failed, 0u) << scan.m_services.LogAsText();
  ExpectNtfsFilesRecovered(out, base, scan.m_services);
  // The big file was not chosen.
  EXPECT_FALSE(Exists(out / "big.bin"));
}

// Save the scan, open the file in a fresh session (its own services, its own
// device layer), recover from it: the same bytes.
TEST(ScanFileRecovery, RecoversFromASavedAndReopenedScan) {
  const std::string base = NtfsBase();
  if (base.empty() || !std::ifstream(base + ".manifest"))
    GTEST_SKIP() << "the NTFS image with deletions is not made";
  Destination work;
  const std::u16string scanFile = work / "scan.DAT";
  {
    ImageSession scan(base + ".img", ScanKind::NtfsVolume, kNtfsRootRecord);
    scan.m_session->Ntfs()->RunNtfsFastScan();
    CheckSmallFiles(scan.m_services.m_entries);
    ASSERT_TRUE(SaveSessionScanFile(*scan.m_session, scan.m_services, scanFile, scan.m_services.m_entries))
        << scan.m_services.LogAsText();
    EXPECT_TRUE(scan.m_services.m_scanInfoSaved);
  }
  const ScanFileHeaderInfo info = InspectScanFile(scanFile);
  ASSERT_TRUE(info.m_recognised);
  EXPECT_EQ(info.m_kind, ScanKind::NtfsVolume);
  EXPECT_EQ(info.m_target.m_driveCode, kDrive);
  TreeServices services(kNtfsRootRecord);
  ImageDeviceLayer layer;
  ASSERT_TRUE(layer.AttachFile(info.m_target.m_driveCode, base + ".img"));
  std::unique_ptr<ScanSession> session = MakeScanFileSession(info, services, layer);
  ASSERT_TRUE(LoadSessionScanFile(*session, services, scanFile)) << services.LogAsText();
  Destination out;
  ScriptedPrompts prompts;
  RecoveryClashAnswers answers;
  FileRecovery recovery(
      services, services.m_entries,
      [&session](const EntryRecord &entry, const RecoveryFileSink &sink) {
        return session->ReadFoundFile(entry, sink);
      },
      answers, prompts);
  RecoveryOptions options;
  options.m_scope = RecoveryScope::Selected; // the check states came back from the file
  options.m_dates = RecoveryDates::NtfsTimes;
  options.m_destination = out.Path();
  services.SetStopRequested(false);
  EXPECT_EQ(recovery.Run(options).m_failed, 0u) << services.LogAsText();
  ExpectNtfsFilesRecovered(out, base, services);
}

TEST(ScanFileRecovery, SavedFatScanReopensAsAFatSession) {
  QV_REQUIRE_FAT_FIXTURES();
  Destination work;
  const std::u16string scanFile = work / "fat.DAT";
  ImageSession scan(FatFixtureDir() + "/fat16.img", ScanKind::FatVolume, 0);
  scan.m_session->Fat()->RunFatFastScan();
  ASSERT_TRUE(SaveSessionScanFile(*scan.m_session, scan.m_services, scanFile, scan.m_services.m_entries));
  const ScanFileHeaderInfo info = InspectScanFile(scanFile);
  ASSERT_TRUE(info.m_recognised);
  EXPECT_EQ(info.m_kind, ScanKind::FatVolume);
  EXPECT_EQ(info.m_target.m_driveCode, kDrive);
  EXPECT_EQ(info.m_target.m_startSector, 0u);
}

// A physical-disk scan is kept in the FAT layout: opening it must give a
// whole-disk session again, not a FAT volume at the disk's first sector.
TEST(ScanFileRecovery, SavedDiskScanReopensAsADiskSession) {
  QV_REQUIRE_FAT_FIXTURES();
  Destination work;
  const std::u16string scanFile = work / "disk.DAT";
  TreeServices services;
  ImageDeviceLayer layer;
  ASSERT_TRUE(layer.AttachFile(0x81, FatFixtureDir() + "/fat16.img"));
  ScanSession::Target target;
  target.m_driveCode = 0x81;
  target.m_sectors = layer.Device(0x81)->SizeInBytes() / 512;
  ScanSession session(services, layer, ScanKind::PhysicalDisk, target);
  services.CreateTreeRoot();
  ASSERT_TRUE(SaveSessionScanFile(session, services, scanFile, services.m_entries)) << services.LogAsText();
  const ScanFileHeaderInfo info = InspectScanFile(scanFile);
  ASSERT_TRUE(info.m_recognised);
  EXPECT_EQ(info.m_kind, ScanKind::PhysicalDisk);
  EXPECT_EQ(info.m_target.m_driveCode, 0x81);
  EXPECT_EQ(info.m_target.m_startSector, 0u);
}

// A file that is not a scan file, and one that does not exist, are told
// apart from a good one before anything is let go.
TEST(ScanFileRecovery, InspectionRefusesWhatIsNoScanFile) {
  Destination work;
  WriteBytes(work / "text.DAT", std::string(600, 'x'));
  WriteBytes(work / "short.DAT", "Quendal");
  const struct {
    const char *m_name;
    bool m_opened;
  } cases[] = {{"text.DAT", true}, {"short.DAT", true}, {"missing.DAT", false}};
  for (const auto &c : cases) {
    const ScanFileHeaderInfo info = InspectScanFile(work / c.m_name);
    EXPECT_EQ(info.m_opened, c.m_opened) << c.m_name;
    EXPECT_FALSE(info.m_recognised) << c.m_name;
  }
}

// A hand-made list: the root, a folder "Docs" holding a.txt and b.txt, and
// c.txt at the root. The reader gives each file its name as content, or
// what a test wants.
class ListRecovery : public ::testing::Test {
protected:
  void SetUp() override {
    Add(0, 0, true, u"Root");
    Add(0, 10, true, u"Docs");
    Add(10, 11, false, u"a.txt");
    Add(10, 12, false, u"b.txt");
    Add(0, 13, false, u"c.txt");
    m_reader = [this](const EntryRecord &entry, const RecoveryFileSink &sink) {
      const std::string text = "new " + Narrow(m_entries.FindEntry(entry.m_ownId)->m_name);
      return sink(reinterpret_cast<const uint8_t *>(text.data()), text.size());
    };
  }
  void Add(uint32_t parent, uint32_t own, bool folder, const std::u16string &name) {
    EntryRecord record;
    record.m_parentId = parent;
    record.m_ownId = own;
    record.m_attributes = folder ? kEntryAttrFolder : kEntryAttrArchive;
    record.m_size = folder ? 0 : 4 + name.size();
    m_entries.Append(record, name, nullptr);
  }
  RecoveryResult Run(RecoveryScope scope = RecoveryScope::All,
                     std::function<std::optional<uint64_t>(const std::u16string &)> freeBytes = {}) {
    FileRecovery recovery(m_services, m_entries, m_reader, m_answers, m_prompts);
    RecoveryOptions options;
    options.m_scope = scope;
    options.m_destination = m_out.Path();
    options.m_freeBytes = std::move(freeBytes);
    options.m_bytesToWrite = m_bytesToWrite;
    return recovery.Run(options);
  }

  EntryNodeList m_entries;
  TreeServices m_services;
  RecoveryClashAnswers m_answers;
  ScriptedPrompts m_prompts;
  RecoveryFileReader m_reader;
  std::function<uint64_t(const EntryRecord &)> m_bytesToWrite;
  Destination m_out;
};

struct ClashCase {
  const char *m_label;
  std::vector<ScriptedPrompts::ClashAnswer> m_answers;
  // Expected folder contents after the run: relative name to text.
  std::map<std::string, std::string> m_contents;
  size_t m_asked;
};

class ClashRecovery : public ListRecovery, public ::testing::WithParamInterface<ClashCase> {};

// a.txt and b.txt exist already in Docs: each answer's effect on both.
TEST_P(ClashRecovery, AnswersDecideWhatHappensToExistingFiles) {
  const ClashCase &c = GetParam();
  CreateDirectoryW(W(m_out / "Docs"), nullptr);
  WriteBytes(m_out / "Docs\\a.txt", "old a");
  WriteBytes(m_out / "Docs\\b.txt", "old b");
  WriteBytes(m_out / "Docs\\x.txt", "old x");
  m_prompts.m_clashAnswers = c.m_answers;
  const RecoveryResult result = Run();
  EXPECT_EQ(m_prompts.m_clashes.size(), c.m_asked);
  std::map<std::string, std::string> contents;
  for (const std::string &name : FilesBelow(m_out.Path())) contents[name] = ReadText(m_out / name);
  EXPECT_EQ(contents, c.m_contents);
  EXPECT_FALSE(result.m_stopped || result.m_cancelled);
  // The question proposes a free name for the same folder.
  if (!m_prompts.m_proposals.empty()) {
    EXPECT_EQ(Narrow(m_prompts.m_proposals[0]), "a (1).txt");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ClashRecovery,
    ::testing::Values(
        ClashCase{"SkipAsksAgain",
                  {{ClashButton::Skip, u""}, {ClashButton::OverWrite, u""}},
                  {{"Docs\\a.txt", "old a"},
                   {"Docs\\b.txt", "new b.txt"},
                   {"Docs\\x.txt", "old x"},
                   {"c.txt", "new c.txt"}},
                  2},
        ClashCase{"SkipAll",
                  {{ClashButton::SkipAll, u""}},
                  {{"Docs\\a.txt", "old a"},
                   {"Docs\\b.txt", "old b"},
                   {"Docs\\x.txt", "old x"},
                   {"c.txt", "new c.txt"}},
                  1},
        ClashCase{"RenameToTypedName",
                  {{ClashButton::Rename, u"typed.txt"}, {ClashButton::Skip, u""}},
                  {{"Docs\\a.txt", "old a"},
                   {"Docs\\typed.txt", "new a.txt"},
                   {"Docs\\b.txt", "old b"},
                   {"Docs\\x.txt", "old x"},
                   {"c.txt", "new c.txt"}},
                  2},
        ClashCase{"RenameToATakenNameAsksAgain",
                  {{ClashButton::Rename, u"x.txt"}, {ClashButton::Rename, u""}, {ClashButton::Skip, u""}},
                  {{"Docs\\a.txt", "old a"},
                   {"Docs\\x.txt", "old x"},
                   {"Docs\\x (1).txt", "new a.txt"},
                   {"Docs\\b.txt", "old b"},
                   {"c.txt", "new c.txt"}},
                  3},
        ClashCase{"RenameWithAnUnsafeTypedName",
                  {{ClashButton::Rename, u"a?b.txt."}, {ClashButton::Skip, u""}},
                  {{"Docs\\a.txt", "old a"},
                   {"Docs\\a_b.txt", "new a.txt"},
                   {"Docs\\b.txt", "old b"},
                   {"Docs\\x.txt", "old x"},
                   {"c.txt", "new c.txt"}},
                  2},
        ClashCase{"RenameAll",
                  {{ClashButton::RenameAll, u"ignored.txt"}},
                  {{"Docs\\a.txt", "old a"},
                   {"Docs\\a (1).txt", "new a.txt"},
                   {"Docs\\b.txt", "old b"},
                   {"Docs\\b (1).txt", "new b.txt"},
                   {"Docs\\x.txt", "old x"},
                   {"c.txt", "new c.txt"}},
                  1},
        ClashCase{"OverWriteAsksAgain",
                  {{ClashButton::OverWrite, u""}, {ClashButton::Skip, u""}},
                  {{"Docs\\a.txt", "new a.txt"},
                   {"Docs\\b.txt", "old b"},
                   {"Docs\\x.txt", "old x"},
                   {"c.txt", "new c.txt"}},
                  2},
        ClashCase{"OverWriteAll",
                  {{ClashButton::OverWriteAll, u""}},
                  {{"Docs\\a.txt", "new a.txt"},
                   {"Docs\\b.txt", "new b.txt"},
                   {"Docs\\x.txt", "old x"},
                   {"c.txt", "new c.txt"}},
                  1}),
    [](const auto &info) { return std::string(info.param.m_label); });

// A file that cannot be read completely never appears under its name, and
// the log says so; the run goes on with the next file.
TEST_F(ListRecovery, ShortReadLeavesNoFileAndIsLogged) {
  m_reader = [this](const EntryRecord &entry, const RecoveryFileSink &sink) {
    const std::string text = "half of it";
    const bool delivered = sink(reinterpret_cast<const uint8_t *>(text.data()), text.size());
    return delivered && m_entries.FindEntry(entry.m_ownId)->m_name != u"b.txt";
  };
  const RecoveryResult result = Run();
  EXPECT_EQ(result.m_recovered, 2u);
  EXPECT_EQ(result.m_failed, 1u);
  EXPECT_EQ(FilesBelow(m_out.Path()), (std::set<std::string>{"Docs\\a.txt", "c.txt"}));
  bool logged = false;
  for (const RecordingServices::LogRow &row : m_services.m_log)
    logged = logged || (row.m_status == LogStatus::Error && row.m_text == u"Docs\\b.txt - #61410");
  EXPECT_TRUE(logged) << m_services.LogAsText();
}

// A file whose recorded size was damaged past its clusters (b.txt, listed
// near 2^64 bytes) is not refused for lack of room: the room is checked
// against what its clusters hold, that is written and kept, and the log
// line says the size was damaged.
TEST_F(ListRecovery, SizeDamagedPastItsClustersKeepsWhatTheyHold) {
  for (TreeEntryNode &node : m_entries)
    if (node.m_name == u"b.txt") node.m_record.m_size = UINT64_MAX - 7;
  m_bytesToWrite = [this](const EntryRecord &entry) {
    return m_entries.FindEntry(entry.m_ownId)->m_name == u"b.txt" ? uint64_t{10} : entry.m_size;
  };
  m_reader = [this](const EntryRecord &entry, const RecoveryFileSink &sink) -> RecoveryRead {
    const std::string text = "new " + Narrow(m_entries.FindEntry(entry.m_ownId)->m_name);
    const bool delivered = sink(reinterpret_cast<const uint8_t *>(text.data()), text.size());
    if (m_entries.FindEntry(entry.m_ownId)->m_name == u"b.txt" && delivered)
      return RecoveryRead::CutToClusters();
    return delivered;
  };
  const RecoveryResult result =
      Run(RecoveryScope::All, [](const std::u16string &) { return uint64_t{1000}; });
  EXPECT_EQ(result.m_recovered, 3u);
  EXPECT_EQ(result.m_failed, 0u);
  EXPECT_TRUE(m_prompts.m_noRoom.empty());
  EXPECT_EQ(FilesBelow(m_out.Path()), (std::set<std::string>{"Docs\\a.txt", "Docs\\b.txt", "c.txt"}));
  bool logged = false;
  for (const RecordingServices::LogRow &row : m_services.m_log)
    logged = logged || (row.m_status == LogStatus::Completed && row.m_text == u"Docs\\b.txt - #61413");
  EXPECT_TRUE(logged) << m_services.LogAsText();
}

// Recover Selected takes only files whose own check byte is 1; a partly
// checked folder is made for them, an unchecked folder is not made.
TEST_F(ListRecovery, SelectedTakesFilesCheckedThemselves) {
  Add(0, 20, true, u"Unchecked");
  Add(20, 21, false, u"d.txt");
  for (TreeEntryNode &node : m_entries) {
    if (node.m_name == u"Docs") node.m_record.m_checkState = 2;
    if (node.m_name == u"b.txt") node.m_record.m_checkState = 1;
    if (node.m_name == u"d.txt") node.m_record.m_checkState = 2; // not a file's state
  }
  const RecoveryResult result = Run(RecoveryScope::Selected);
  EXPECT_EQ(result.m_recovered, 1u);
  EXPECT_EQ(FilesBelow(m_out.Path()), (std::set<std::string>{"Docs\\b.txt"}));
  EXPECT_FALSE(Exists(m_out / "Unchecked"));
}

// A checked folder is made even when it holds no file.
TEST_F(ListRecovery, CheckedEmptyFolderIsMade) {
  Add(0, 30, true, u"Empty Lost Folder");
  for (TreeEntryNode &node : m_entries)
    if (node.m_name == u"Empty Lost Folder") node.m_record.m_checkState = 1;
  Run(RecoveryScope::Selected);
  EXPECT_NE(GetFileAttributesW(W(m_out / "Empty Lost Folder")) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// Too little room: "Skip this file" goes on with the next, "Cancel saving"
// ends the run.
TEST_F(ListRecovery, LackOfRoomSkipsOrCancels) {
  // Every file is 9 bytes: 8 free leaves room for none.
  m_prompts.m_roomAnswers = {true, false};
  const RecoveryResult result = Run(RecoveryScope::All, [](const std::u16string &) { return uint64_t{8}; });
  EXPECT_TRUE(result.m_cancelled);
  EXPECT_EQ(result.m_skipped, 1u);
  ASSERT_EQ(m_prompts.m_noRoom.size(), 2u);
  EXPECT_EQ(m_prompts.m_noRoom[0].second, 9u);
  EXPECT_TRUE(FilesBelow(m_out.Path()).empty());
}

TEST_F(ListRecovery, UnknownFreeSpaceDoesNotStopTheRun) {
  const RecoveryResult result = Run(RecoveryScope::All, [](const std::u16string &) { return std::nullopt; });
  EXPECT_EQ(result.m_recovered, 3u);
  EXPECT_TRUE(m_prompts.m_noRoom.empty());
}

// Stop between files ends the run; what was written stays whole.
TEST_F(ListRecovery, StopEndsTheRunBetweenFiles) {
  m_services.StopAfterPumps(2);
  const RecoveryResult result = Run();
  EXPECT_TRUE(result.m_stopped);
  EXPECT_EQ(result.m_recovered, 1u);
  EXPECT_EQ(FilesBelow(m_out.Path()), (std::set<std::string>{"Docs\\a.txt"}));
  EXPECT_EQ(ReadText(m_out / "Docs\\a.txt"), "new a.txt");
}

// A folder in the way of a file's name is never replaced, even with OverWrite All.
TEST_F(ListRecovery, FolderOfTheSameNameIsNotOverwritten) {
  CreateDirectoryW(W(m_out / "c.txt"), nullptr);
  m_prompts.m_clashAnswers = {{ClashButton::OverWriteAll, u""}};
  const RecoveryResult result = Run();
  EXPECT_EQ(result.m_skipped, 1u);
  EXPECT_NE(GetFileAttributesW(W(m_out / "c.txt")) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// A destination that cannot be written is logged with the create error.
TEST_F(ListRecovery, UnwritableDestinationIsLoggedAsACreateError) {
  // A file where the folder "Docs" has to be.
  WriteBytes(m_out / "Docs", "in the way");
  const RecoveryResult result = Run();
  EXPECT_EQ(result.m_failed, 2u);
  EXPECT_TRUE(m_services.LogContains(u"#61325")) << m_services.LogAsText();
}

// Paths beyond MAX_PATH are written through the long form.
TEST_F(ListRecovery, PathsLongerThanMaxPathAreWritten) {
  uint32_t parent = 0;
  for (uint32_t level = 0; level < 6; ++level) {
    Add(parent, 100 + level, true, std::u16string(60, static_cast<char16_t>(u'a' + level)));
    parent = 100 + level;
  }
  Add(parent, 200, false, u"deep.txt");
  const RecoveryResult result = Run();
  EXPECT_EQ(result.m_failed, 0u) << m_services.LogAsText();
  EXPECT_EQ(result.m_recovered, 4u);
}

struct TimeCase {
  const char *m_label;
  RecoveryDates m_dates;
  uint32_t m_words[6];
  bool m_writeKnown;
  bool m_creationKnown;
};

class RecoveredTimeTable : public ::testing::TestWithParam<TimeCase> {};

TEST_P(RecoveredTimeTable, KnownStampsOnly) {
  EntryRecord record;
  for (int i = 0; i < 6; ++i) record.m_dateWords[i] = GetParam().m_words[i];
  const RecoveredTimes times = RecoveredTimesOf(record, GetParam().m_dates);
  EXPECT_EQ(times.m_write.dwHighDateTime != 0, GetParam().m_writeKnown);
  EXPECT_EQ(times.m_creation.dwHighDateTime != 0, GetParam().m_creationKnown);
}

// 2009-06-15 (date word 0x3ACF), 10:30:00 (time word 0x53C0).
INSTANTIATE_TEST_SUITE_P(
    Table, RecoveredTimeTable,
    ::testing::Values(
        TimeCase{"FatAll", RecoveryDates::FatStamps, {0, 0x3ACF, 0x53C0, 0x3ACF, 0x53C0, 0x3ACF}, true, true},
        TimeCase{"FatZeroDates", RecoveryDates::FatStamps, {0, 0, 0x53C0, 0, 0x53C0, 0}, false, false},
        TimeCase{
            "FatMonth13", RecoveryDates::FatStamps, {0, 0, 0, 0x3ACF | (13 << 5), 0, 0x3ACF}, false, true},
        TimeCase{"FatBadTimeKeepsDay", RecoveryDates::FatStamps, {0, 0, 0xFFFF, 0x3ACF, 0, 0}, true, false},
        TimeCase{
            "NtfsBoth", RecoveryDates::NtfsTimes, {0, 0, 0xD53E8000, 0x01CA, 0xD53E8000, 0x01C9}, true, true},
        TimeCase{"NtfsZero", RecoveryDates::NtfsTimes, {0, 0, 0, 0, 0xD53E8000, 0x01C9}, false, true},
        TimeCase{"NtfsFarFuture", RecoveryDates::NtfsTimes, {0, 0, 0, 0x7FFF0000, 0, 0}, false, false},
        TimeCase{"NoDates", RecoveryDates::None, {0, 0x3ACF, 0x53C0, 0x3ACF, 0x53C0, 0x3ACF}, false, false}),
    [](const auto &info) { return std::string(info.param.m_label); });

} // namespace

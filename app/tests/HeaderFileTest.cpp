// The signature file: reading with damaged records among good ones,
// appending, rewriting through a temporary file, and the size units.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "HeaderFile.h"
#include "Utf16Text.h"

namespace {

HeaderRecord Record(const char16_t *name, const char16_t *extension, uint32_t offset,
                    std::vector<uint8_t> signature, uint32_t maxSize, uint8_t group, uint8_t predefined = 0) {
  HeaderRecord record;
  record.m_softwareName = name;
  record.m_extension = extension;
  record.m_offset = offset;
  record.m_signatureLength = static_cast<uint8_t>(signature.size());
  std::memcpy(record.m_signature, signature.data(), signature.size());
  record.m_maxSize = maxSize;
  record.m_group = group;
  record.m_predefined = predefined;
  return record;
}

std::vector<HeaderRecord> ThreeRecords() {
  return {Record(u"Adobe Acrobat", u"PDF", 0, {0x25, 0x50, 0x44, 0x46}, 20u << 20, 4, 1),
          Record(u"Portable Network Graphics", u"PNG", 0, {0x89, 'P', 'N', 'G'}, 10u << 20, 10, 1),
          Record(u"My tool", u"mtl", 511, {1, 2, 3, 4, 5, 6, 7, 8}, 300u << 10, 12)};
}

std::vector<uint8_t> ReadWholeFile(const std::wstring &path) {
  std::vector<uint8_t> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

void WriteWholeFile(const std::wstring &path, const std::vector<uint8_t> &bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, bytes.size());
}

class HeaderFileOnDisk : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 2u);
    m_folder = std::wstring(temp) + L"qv-headerfile-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(m_folder.c_str(), nullptr);
    m_path = m_folder + L"\\HeaderFile.cfg";
  }
  void TearDown() override {
    DeleteFileW(m_path.c_str());
    DeleteFileW((m_path + L".new").c_str());
    RemoveDirectoryW(m_path.c_str());
    RemoveDirectoryW(m_folder.c_str());
  }
  std::wstring m_folder;
  std::wstring m_path;
};

TEST(HeaderFileTest, RoundTripKeepsEveryFieldAndSelectsTheDefaults) {
  std::vector<HeaderRecord> records = ThreeRecords();
  records[2].m_selected = 1; // a stored selection is not carried into the next session
  const std::vector<uint8_t> bytes = SerialiseHeaderFile(records);
  ASSERT_EQ(bytes.size(), 3 * kHeaderRecordSize);
  const HeaderFileContents contents = ParseHeaderFile(bytes.data(), bytes.size());
  ASSERT_EQ(contents.records.size(), 3u);
  EXPECT_TRUE(contents.refused.empty());
  records[0].m_selected = 1; // PDF is chosen by default
  records[1].m_selected = 0;
  records[2].m_selected = 0;
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(contents.records[i], records[i]) << i;
  EXPECT_EQ(SerialiseHeaderFile(contents.records), SerialiseHeaderFile(records));
}

TEST(HeaderFileTest, DefaultSelectionIsExactCase) {
  for (const char16_t *yes : {u"DOC", u"doc", u"MIDI", u"midi", u"JPG", u"gif", u"ZIP"})
    EXPECT_TRUE(IsDefaultSelectedExtension(yes));
  for (const char16_t *no : {u"Doc", u"JPEG", u"PNG", u"", u"MID", u"zip "})
    EXPECT_FALSE(IsDefaultSelectedExtension(no));
}

// Each damaged record is refused on its own; good records before and after it load.
TEST(HeaderFileTest, DamagedRecordsAreRefusedOneByOne) {
  struct Case {
    const char *what;
    size_t field;
    std::vector<uint8_t> value;
    HeaderRefusal reason;
  };
  std::vector<uint8_t> unterminated(520, 'A');
  const std::vector<Case> cases = {
      {"length 9", 1052, {9}, HeaderRefusal::SignatureLength},
      {"length 255", 1052, {255}, HeaderRefusal::SignatureLength},
      {"length 0", 1052, {0}, HeaderRefusal::SignatureLength},
      {"offset 512", 1048, {0x00, 0x02, 0, 0}, HeaderRefusal::Offset},
      {"offset 2^32-1", 1048, {0xFF, 0xFF, 0xFF, 0xFF}, HeaderRefusal::Offset},
      {"name unterminated", 8, unterminated, HeaderRefusal::UnterminatedText},
      {"extension unterminated", 528, unterminated, HeaderRefusal::UnterminatedText},
      {"group 13", 1069, {13}, HeaderRefusal::Group},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> bytes = SerialiseHeaderFile(ThreeRecords());
    std::memcpy(bytes.data() + kHeaderRecordSize + c.field, c.value.data(), c.value.size());
    bytes.resize(bytes.size() + 100, 0xEE); // a torn last record is ignored
    const HeaderFileContents contents = ParseHeaderFile(bytes.data(), bytes.size());
    ASSERT_EQ(contents.records.size(), 2u) << c.what;
    EXPECT_EQ(contents.records[0].m_extension, u"PDF") << c.what;
    EXPECT_EQ(contents.records[1].m_extension, u"mtl") << c.what;
    ASSERT_EQ(contents.refused.size(), 1u) << c.what;
    EXPECT_EQ(contents.refused[0].index, 1u) << c.what;
    EXPECT_EQ(contents.refused[0].reason, c.reason) << c.what;
    EXPECT_EQ(contents.trailingBytes, 100u) << c.what;
  }
}

TEST(HeaderFileTest, EmptyAndShortFilesHoldNothing) {
  const uint8_t bytes[kHeaderRecordSize - 1] = {};
  EXPECT_TRUE(ParseHeaderFile(bytes, sizeof bytes).records.empty());
  EXPECT_TRUE(ParseHeaderFile(nullptr, 0).records.empty());
}

TEST(HeaderFileTest, RefusalLogLineNamesRecordAndReason) {
  EXPECT_EQ(RefusedHeaderLogText({4, HeaderRefusal::Offset}),
            L"Signature record 5 of HeaderFile.cfg skipped: offset above 511");
}

TEST(HeaderFileTest, MaximumSizeFitsThirtyTwoBits) {
  struct Case {
    uint32_t number;
    uint8_t unit;
    std::optional<uint32_t> bytes;
  };
  const std::vector<Case> cases = {
      {0, kSizeUnitMegabytes, 0u},
      {2, kSizeUnitMegabytes, 2u << 20},
      {4095, kSizeUnitMegabytes, 4095u << 20},
      {4096, kSizeUnitMegabytes, std::nullopt},
      {9999, kSizeUnitMegabytes, std::nullopt},
      {4194303, kSizeUnitKilobytes, 4194303u << 10},
      {4194304, kSizeUnitKilobytes, std::nullopt},
      {9999, kSizeUnitKilobytes, 9999u << 10},
  };
  for (const Case &c : cases) EXPECT_EQ(MaximumSizeBytes(c.number, c.unit), c.bytes) << c.number;
  HeaderRecord record;
  record.m_maxSize = 4095u << 20;
  EXPECT_EQ(MaximumSizeNumber(record), 4095u);
  record.m_sizeUnit = kSizeUnitKilobytes;
  EXPECT_EQ(MaximumSizeNumber(record), 4095u << 10);
}

TEST_F(HeaderFileOnDisk, AppendMakesTheFileThenAddsAtItsEnd) {
  const std::vector<HeaderRecord> records = ThreeRecords();
  for (const HeaderRecord &record : records) ASSERT_TRUE(AppendHeaderFileRecord(m_path, record));
  EXPECT_EQ(ReadWholeFile(m_path), SerialiseHeaderFile(records));
}

TEST_F(HeaderFileOnDisk, AppendAfterATornRecordStartsAtAWholeRecord) {
  std::vector<uint8_t> bytes = SerialiseHeaderFile({ThreeRecords()[0]});
  bytes.resize(bytes.size() + 37, 0x55);
  WriteWholeFile(m_path, bytes);
  ASSERT_TRUE(AppendHeaderFileRecord(m_path, ThreeRecords()[1]));
  const HeaderFileContents contents = LoadHeaderFile(m_path);
  ASSERT_EQ(contents.records.size(), 2u);
  EXPECT_EQ(contents.records[1].m_extension, u"PNG");
  EXPECT_EQ(contents.trailingBytes, 0u);
}

TEST_F(HeaderFileOnDisk, RewriteReplacesTheWholeFile) {
  WriteWholeFile(m_path, SerialiseHeaderFile(ThreeRecords()));
  std::vector<HeaderRecord> records = LoadHeaderFile(m_path).records;
  ASSERT_EQ(records.size(), 3u);
  records.erase(records.begin() + 1);
  records[1].m_maxSize = 5u << 10;
  ASSERT_TRUE(RewriteHeaderFile(m_path, records));
  EXPECT_EQ(ReadWholeFile(m_path), SerialiseHeaderFile(records));
  EXPECT_EQ(GetFileAttributesW((m_path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A rewrite that cannot finish leaves every signature where it was.
TEST_F(HeaderFileOnDisk, FailedRewriteKeepsTheOldFile) {
  const std::vector<uint8_t> old = SerialiseHeaderFile(ThreeRecords());
  WriteWholeFile(m_path, old);
  // The temporary file's name is taken by a folder: it cannot be made.
  ASSERT_TRUE(CreateDirectoryW((m_path + L".new").c_str(), nullptr));
  EXPECT_FALSE(RewriteHeaderFile(m_path, {}));
  RemoveDirectoryW((m_path + L".new").c_str());
  EXPECT_EQ(ReadWholeFile(m_path), old);
}

TEST_F(HeaderFileOnDisk, MissingFileAndPathGiveNoRecords) {
  EXPECT_TRUE(LoadHeaderFile(m_path).records.empty());
  EXPECT_TRUE(LoadHeaderFile(L"").records.empty());
  EXPECT_FALSE(AppendHeaderFileRecord(L"", ThreeRecords()[0]));
  EXPECT_FALSE(RewriteHeaderFile(L"", {}));
}

TEST(HeaderFileTest, PathComesFromTheProductKey) {
  const wchar_t *keyPath = L"Software\\QvHeaderFileTest";
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  EXPECT_EQ(HeaderFilePath(HKEY_CURRENT_USER, keyPath), L"");
  const std::wstring folder = L"C:\\Program Files\\Quendal";
  RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE *>(folder.c_str()),
                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  EXPECT_EQ(HeaderFilePath(HKEY_CURRENT_USER, keyPath), L"C:\\Program Files\\Quendal\\HeaderFile.cfg");
  RegDeleteKeyW(HKEY_CURRENT_USER, keyPath);
}

// The file the build makes from the table and places beside the program.
TEST(ShippedHeaderFileTest, HoldsEveryGroupAndTheDefaultsAllValid) {
  const HeaderFileContents contents = LoadHeaderFile(QV_HEADER_FILE);
  EXPECT_TRUE(contents.refused.empty());
  EXPECT_EQ(contents.trailingBytes, 0u);
  ASSERT_GE(contents.records.size(), 60u);
  std::set<int> groups;
  std::set<std::u16string> selected;
  for (const HeaderRecord &record : contents.records) {
    const std::string what = Utf16ToUtf8(record.m_softwareName);
    EXPECT_EQ(record.m_predefined, 1) << what;
    EXPECT_LE(record.m_offset + record.m_signatureLength, 512u) << what;
    EXPECT_GT(record.m_maxSize, 0u) << what;
    EXPECT_EQ(MaximumSizeBytes(MaximumSizeNumber(record), record.m_sizeUnit), record.m_maxSize) << what;
    EXPECT_FALSE(record.m_extension.empty()) << what;
    groups.insert(record.m_group);
    if (record.m_selected) selected.insert(record.m_extension);
  }
  EXPECT_EQ(groups, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(selected, (std::set<std::u16string>{u"DOC", u"XLS", u"PPT", u"BMP", u"AVI", u"WAV", u"PDF",
                                                u"ZIP", u"JPG", u"GIF", u"MIDI"}));
}

// The first signature that matches decides: a record whose every byte an
// earlier record also tests (same offset, same value) could never be found.
// The compound documents share one signature on purpose: the search tells
// them apart by their contents.
TEST(ShippedHeaderFileTest, NoRecordIsHiddenByAnEarlierOne) {
  const std::vector<HeaderRecord> records = LoadHeaderFile(QV_HEADER_FILE).records;
  auto covers = [](const HeaderRecord &earlier, const HeaderRecord &later) {
    for (uint32_t i = 0; i < earlier.m_signatureLength; ++i) {
      const uint32_t at = earlier.m_offset + i;
      if (at < later.m_offset || at >= later.m_offset + later.m_signatureLength) return false;
      if (later.m_signature[at - later.m_offset] != earlier.m_signature[i]) return false;
    }
    return true;
  };
  for (size_t j = 0; j < records.size(); ++j)
    for (size_t i = 0; i < j; ++i) {
      const std::set<std::u16string> compound = {u"DOC", u"XLS", u"PPT"};
      if (compound.count(records[i].m_extension) && compound.count(records[j].m_extension)) continue;
      EXPECT_FALSE(covers(records[i], records[j])) << Utf16ToUtf8(records[j].m_softwareName) << " hidden by "
                                                   << Utf16ToUtf8(records[i].m_softwareName);
    }
}

} // namespace

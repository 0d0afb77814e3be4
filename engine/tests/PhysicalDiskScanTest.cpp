#include "PhysicalDiskScan.h"

#include "ByteOrder.h"
#include "CompoundTestDocument.h"
#include "ReadFailureLog.h"
#include "ImageDevices.h"
#include "RecordingServices.h"
#include "SignatureTestSpace.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

// A raw disk in memory on drive code 128 with chosen sectors.
class DiskFixture {
public:
  explicit DiskFixture(uint64_t sectors) : m_io(m_layer, nullptr, false), m_reader(m_io, 128, 0) {
    m_bytes.assign(sectors * 512, 0);
    std::mt19937 random(7);
    // Noise that is no signature: the bytes of a used disk.
    for (size_t i = 0; i < m_bytes.size(); ++i) m_bytes[i] = static_cast<uint8_t>(random() % 200 + 1);
  }
  void Put(uint64_t sector, const std::vector<uint8_t> &bytes) {
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + sector * 512);
  }
  void Attach() { m_layer.Attach(128, std::make_unique<MemoryDevice>(m_bytes)); }
  uint64_t Sectors() const { return m_bytes.size() / 512; }

  std::vector<uint8_t> m_bytes;
  ImageDeviceLayer m_layer;
  SectorIo m_io;
  SectorReader m_reader;
  RecordingServices m_services;
};

std::string Utf8(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

// Files by "folder/name", and the folders' parents by name.
std::map<std::string, EntryRecord> Listed(const RecordingServices &services) {
  std::map<uint32_t, std::string> folders;
  std::map<std::string, EntryRecord> out;
  for (const auto &entry : services.m_treeEntries) {
    if (entry.m_entry.IsFolder()) {
      folders[entry.m_entry.m_ownId] = Utf8(entry.m_name);
      out[Utf8(entry.m_name) + "/"] = entry.m_entry;
    } else {
      out[folders[entry.m_entry.m_parentId] + "/" + Utf8(entry.m_name)] = entry.m_entry;
    }
  }
  return out;
}

TEST(PhysicalDiskScanTest, HitsAreListedBySectorUnderTypeFoldersAtTheRoot) {
  DiskFixture disk(6000);
  disk.Put(1234, kJpegStart);
  disk.Put(1237, kPdfStart);
  disk.Put(5999, kZipStart); // the very last sector, in a batch cut short
  disk.Attach();
  disk.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 64 * 1024),
                                       MakeHeader(u"PDF", kPdfStart, 0),
                                       MakeHeader(u"ZIP", kZipStart, 64 * 1024)};
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), false);
  scan.RunPhysicalDiskScan();
  const auto listed = Listed(disk.m_services);
  ASSERT_EQ(listed.count("JPG/1234.JPG"), 1u);
  EXPECT_EQ(listed.at("JPG/").m_parentId, 0u);
  // Grown over 1235 and 1236, stopped by the signature three sectors on.
  EXPECT_EQ(listed.at("JPG/1234.JPG").m_size, 1536u);
  EXPECT_EQ(listed.at("PDF/1237.PDF").m_size, 512u);
  EXPECT_EQ(listed.at("ZIP/5999.ZIP").m_size, 512u);
  EXPECT_EQ(listed.size(), 6u);
  EXPECT_EQ(disk.m_services.m_finishedCount, 1u);

  std::vector<uint8_t> back;
  ASSERT_TRUE(scan.ReadFoundFile(listed.at("JPG/1234.JPG"), [&back](const uint8_t *data, size_t size) {
    back.insert(back.end(), data, data + size);
    return true;
  }));
  EXPECT_TRUE(std::equal(back.begin(), back.end(), disk.m_bytes.begin() + 1234 * 512));
}

// After the scan the list shows the root's folders, as after every other search.
TEST(PhysicalDiskScanTest, TheScanEndsWithTheTreeAtItsRoot) {
  DiskFixture disk(300);
  disk.Put(7, kJpegStart);
  disk.Attach();
  disk.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), false);
  scan.RunPhysicalDiskScan();
  EXPECT_EQ(Listed(disk.m_services).count("JPG/7.JPG"), 1u);
  EXPECT_EQ(disk.m_services.m_finishedCount, 1u);
  EXPECT_EQ(disk.m_services.m_treeResetCount, 1u);
}

// A document whose size cannot be measured is still listed: the log says
// so in the user's words, at the size it is kept at, as a completed line.
TEST(PhysicalDiskScanTest, AnUnmeasuredDocumentIsToldAsDone) {
  for (bool rootless : {false, true}) {
    CompoundTestSpec spec;
    if (rootless)
      spec.m_rootName = u"Nothing"; // not measured at all: no size
    else
      spec.m_mainName = u"Unknown"; // sized by its FAT, its main stream never found
    const CompoundTestDocument document(spec);
    DiskFixture disk(400);
    disk.Put(100, document.Bytes());
    disk.Attach();
    disk.m_services.SetText(SignatureText::kDocumentKeptAtLargest, u"kept %s at %s");
    disk.m_services.SetText(SignatureText::kDocumentKeptEmpty, u"empty %s");
    disk.m_services.m_selectedHeaders = {MakeHeader(u"DOC", kCompoundStart, 0)};
    PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), false);
    scan.RunPhysicalDiskScan();
    const auto listed = Listed(disk.m_services);
    ASSERT_EQ(listed.count("DOC/100.DOC"), 1u) << disk.m_services.LogAsText();
    const uint32_t size = listed.at("DOC/100.DOC").m_size;
    EXPECT_EQ(size == 0, rootless);
    const std::u16string expected = rootless ? u"empty 100" : u"kept 100 at " + Widen(std::to_string(size));
    bool found = false;
    for (const RecordingServices::LogRow &row : disk.m_services.m_log) {
      EXPECT_NE(row.m_status, LogStatus::Error) << ToUtf8(row.m_text);
      if (row.m_text != expected) continue;
      found = true;
      EXPECT_FALSE(row.m_activity.has_value());
      EXPECT_EQ(row.m_status, LogStatus::Completed);
    }
    EXPECT_TRUE(found) << disk.m_services.LogAsText();
  }
}

TEST(PhysicalDiskScanTest, BatchSizesFindTheSameHits) {
  for (bool windows9x : {false, true}) {
    DiskFixture disk(4099);
    for (uint64_t s : {0u, 99u, 100u, 2047u, 2048u, 4098u}) disk.Put(s, kJpegStart);
    disk.Attach();
    disk.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
    PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), windows9x);
    scan.RunPhysicalDiskScan();
    std::vector<std::string> names;
    for (const auto &entry : disk.m_services.m_treeEntries)
      if (!entry.m_entry.IsFolder()) names.push_back(Utf8(entry.m_name));
    EXPECT_EQ(names,
              (std::vector<std::string>{"0.JPG", "99.JPG", "100.JPG", "2047.JPG", "2048.JPG", "4098.JPG"}))
        << (windows9x ? "95/98/Me batches" : "NT batches");
  }
}

TEST(PhysicalDiskScanTest, NoSignaturesChosenStillEndsTheScan) {
  DiskFixture disk(100);
  disk.Attach();
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), false);
  scan.RunPhysicalDiskScan();
  EXPECT_TRUE(disk.m_services.m_log.empty());
  EXPECT_TRUE(disk.m_services.m_treeEntries.empty());
  EXPECT_EQ(disk.m_services.m_finishedCount, 1u);
}

TEST(PhysicalDiskScanTest, ADiskThatCannotBeReadEndsTheScanWithTheReadError) {
  const struct {
    const char *what;
    uint64_t sectors; // as the system gave them
    bool attached;
  } cases[] = {{"no size from the system", 0, true}, {"no device", 100, false}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    DiskFixture disk(100);
    if (c.attached) disk.Attach();
    disk.m_services.SetText(SignatureText::kErrorReadingSector, u"Error reading sector :");
    PhysicalDiskScan scan(disk.m_services, disk.m_reader, c.sectors, false);
    scan.RunPhysicalDiskScan(); // even with no signature chosen
    ASSERT_EQ(disk.m_services.m_log.size(), 1u);
    EXPECT_EQ(disk.m_services.m_log[0].m_text, u"Error reading sector : 0");
    EXPECT_EQ(disk.m_services.m_log[0].m_status, LogStatus::Error);
    EXPECT_EQ(disk.m_services.m_errorBoxes, std::vector<std::u16string>{u"Error reading sector : 0"});
    EXPECT_EQ(disk.m_services.m_finishedCount, 1u);
  }
}

TEST(PhysicalDiskScanTest, FolderOverflowsAfter2501Hits) {
  DiskFixture disk(2502 * 2 + 10);
  for (uint64_t i = 0; i < 2503; ++i) disk.Put(i * 2, kJpegStart);
  disk.Attach();
  disk.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), false);
  scan.RunPhysicalDiskScan();
  const auto listed = Listed(disk.m_services);
  EXPECT_EQ(listed.count("JPG/5000.JPG"), 1u);  // the 2,501st
  EXPECT_EQ(listed.count("JPG1/5002.JPG"), 1u); // the 2,502nd
  EXPECT_EQ(listed.count("JPG1/5004.JPG"), 1u);
}

TEST(PhysicalDiskScanTest, UnreadableSectorsAreLoggedAndTheScanGoesOn) {
  DiskFixture disk(3000);
  disk.Put(2900, kJpegStart);
  disk.Attach();
  disk.m_reader.SetFaultFilter([](uint64_t sector) { return sector == 100; });
  disk.m_services.SetText(SignatureText::kErrorReadingSector, u"Error reading sector :");
  disk.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), false);
  scan.RunPhysicalDiskScan();
  EXPECT_TRUE(disk.m_services.LogContains(u"Error reading sector : 100"));
  EXPECT_EQ(Listed(disk.m_services).count("JPG/2900.JPG"), 1u);
}

// A dead stretch of the disk: after the first few failed sectors, the rest
// of the stretch is one line with its range, and the scan finds what lies
// beyond it and hands each hit to the tree as it is found (before the scan's
// end line).
TEST(PhysicalDiskScanTest, ADeadStretchIsOneLineAndHitsAreListedAsFound) {
  DiskFixture disk(6000);
  disk.Put(50, kJpegStart);
  disk.Put(5900, kJpegStart);
  disk.Attach();
  disk.m_reader.SetFaultFilter([](uint64_t sector) { return sector >= 2100 && sector < 4500; });
  disk.m_services.SetText(SignatureText::kErrorReadingSector, u"Error reading sector :");
  disk.m_services.SetText(SignatureText::kErrorReadingSectors, u"Error reading sectors :");
  disk.m_services.m_selectedHeaders = {MakeHeader(u"JPG", kJpegStart, 0)};
  PhysicalDiskScan scan(disk.m_services, disk.m_reader, disk.Sectors(), false);
  scan.RunPhysicalDiskScan();
  size_t errorLines = 0;
  for (const auto &row : disk.m_services.m_log) errorLines += row.m_text.find(u"Error reading") == 0;
  EXPECT_LE(errorLines, ReadFailureLog::kSingleLines + 1) << disk.m_services.LogAsText();
  EXPECT_TRUE(disk.m_services.LogContains(u"Error reading sectors :")) << disk.m_services.LogAsText();
  EXPECT_TRUE(disk.m_services.LogContains(u" - 4499")) << disk.m_services.LogAsText();
  const auto listed = Listed(disk.m_services);
  EXPECT_EQ(listed.count("JPG/50.JPG"), 1u);
  EXPECT_EQ(listed.count("JPG/5900.JPG"), 1u);
  // The first hit was in the tree before the reads of the dead stretch were
  // logged: it was added when found, not after the whole pass.
  size_t firstError = disk.m_services.m_log.size();
  for (size_t i = 0; i < disk.m_services.m_log.size() && firstError == disk.m_services.m_log.size(); ++i)
    if (disk.m_services.m_log[i].m_text.find(u"Error reading") == 0) firstError = i;
  ASSERT_FALSE(disk.m_services.m_treeEntries.empty());
  EXPECT_LE(disk.m_services.m_treeLogSizes.at(1), firstError) << "50.JPG listed after the failures";
}

} // namespace

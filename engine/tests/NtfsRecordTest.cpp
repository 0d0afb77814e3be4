// FILE records, run lists, attribute lists and LZNT1 on small generated inputs.
#include "FileRecord.h"
#include "Lznt1.h"
#include "NtfsTestVolume.h"
#include "RunList.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::vector<uint8_t> PlainFile() {
  return TestRecord(0)
      .StandardInformation(0x01D0000000000001, 0x01D0000000000002, 0x01D0000000000003, 0x20)
      .FileName(70, 2, u"report.txt")
      .NonResident(kNtfsAttrData, {0x21, 0x04, 0x00, 0x01, 0x00}, 0, 3, 2000)
      .Bytes();
}

ParseResult FixAndParse(std::vector<uint8_t> &bytes, FileRecordInfo &info, std::string *why = nullptr) {
  const ParseResult fixed = ApplyRecordFixups(bytes.data(), bytes.size(), why);
  return fixed == ParseResult::Ok ? ParseFileRecord(bytes.data(), bytes.size(), info, why) : fixed;
}

TEST(NtfsFileRecord, ParsesNameParentTimesAndData) {
  std::vector<uint8_t> bytes = PlainFile();
  FileRecordInfo info;
  ASSERT_EQ(FixAndParse(bytes, info), ParseResult::Ok);
  EXPECT_EQ(info.m_name, u"report.txt");
  EXPECT_EQ(info.m_parent.m_record, 70u);
  EXPECT_EQ(info.m_parent.m_sequence, 2u);
  EXPECT_EQ(info.m_creationTime, 0x01D0000000000001u);
  EXPECT_EQ(info.m_modificationTime, 0x01D0000000000002u);
  EXPECT_EQ(info.m_recordChangeTime, 0x01D0000000000003u);
  ASSERT_EQ(info.m_data.size(), 1u);
  EXPECT_FALSE(info.m_data[0].m_resident);
  EXPECT_EQ(info.m_data[0].m_nonResident.m_dataSize, 2000u);
  EXPECT_FALSE(info.InUse());
  EXPECT_FALSE(info.IsFolder());
}

// A walk parses every record into one result: nothing of the record before
// stays in it, whether the next has a shorter name, no name, or no data.
TEST(NtfsFileRecord, OneResultServesRecordAfterRecord) {
  FileRecordInfo info;
  std::vector<uint8_t> first = PlainFile();
  ASSERT_EQ(FixAndParse(first, info), ParseResult::Ok);
  std::vector<uint8_t> shorter = TestRecord(1).FileName(9, 1, u"a").Bytes();
  ASSERT_EQ(FixAndParse(shorter, info), ParseResult::Ok);
  EXPECT_EQ(info.m_name, u"a");
  EXPECT_EQ(info.m_parent.m_record, 9u);
  EXPECT_TRUE(info.m_data.empty());
  EXPECT_FALSE(info.m_hasTimes);
  EXPECT_EQ(info.m_creationTime, 0u);
  std::vector<uint8_t> nameless = TestRecord(0).Bytes();
  ASSERT_EQ(FixAndParse(nameless, info), ParseResult::Ok);
  EXPECT_FALSE(info.m_hasName);
  EXPECT_TRUE(info.m_name.empty());
  EXPECT_EQ(info.m_parent.m_record, 0u);
  std::vector<uint8_t> again = PlainFile();
  ASSERT_EQ(FixAndParse(again, info), ParseResult::Ok);
  EXPECT_EQ(info.m_name, u"report.txt");
  EXPECT_EQ(info.m_data.size(), 1u);
}

TEST(NtfsFileRecord, FixupRestoresTheSectorEnds) {
  TestRecord record(1);
  std::u16string longName(200, u'x');
  record.FileName(5, 5, longName);
  std::vector<uint8_t> bytes = record.Bytes();
  EXPECT_EQ(ReadLe16(&bytes[510]), 7u); // the update sequence number stands there on disk
  FileRecordInfo info;
  ASSERT_EQ(FixAndParse(bytes, info), ParseResult::Ok);
  EXPECT_EQ(info.m_name, longName);
}

TEST(NtfsFileRecord, NameChoice) {
  struct Case {
    const char *what;
    std::vector<std::pair<std::u16string, uint8_t>> names;
    std::u16string expected;
  } cases[] = {
      {"DOS name only", {{u"REPORT~1.TXT", 2}}, u"REPORT~1.TXT"},
      {"DOS before Win32", {{u"REPORT~1.TXT", 2}, {u"report file.txt", 1}}, u"report file.txt"},
      {"Win32 before DOS", {{u"report file.txt", 1}, {u"REPORT~1.TXT", 2}}, u"report file.txt"},
      {"POSIX name", {{u"a:b", 0}}, u"a:b"},
  };
  for (const Case &c : cases) {
    TestRecord record(0);
    for (const auto &name : c.names) record.FileName(5, 5, name.first, name.second);
    std::vector<uint8_t> bytes = record.Bytes();
    FileRecordInfo info;
    ASSERT_EQ(FixAndParse(bytes, info), ParseResult::Ok) << c.what;
    EXPECT_EQ(info.m_name, c.expected) << c.what;
  }
}

// Every bound a damaged record can break, each shown by changing one field
// of a good record.
TEST(NtfsFileRecord, DamagedRecordsAreCorruptWithTheReason) {
  struct Case {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> damage;
    const char *reason;
  } cases[] = {
      {"first attribute past the end", [](auto &b) { WriteLe16(&b[0x14], 0x400); }, "first attribute offset"},
      {"first attribute inside the header", [](auto &b) { WriteLe16(&b[0x14], 0x10); },
       "first attribute offset"},
      {"attribute length 0", [](auto &b) { WriteLe32(&b[0x38 + 4], 0); }, "attribute length"},
      {"attribute length past the end", [](auto &b) { WriteLe32(&b[0x38 + 4], 0x1000); }, "attribute length"},
      {"resident value past its attribute", [](auto &b) { WriteLe32(&b[0x38 + 0x10], 0x400); },
       "resident value"},
      {"name length past the value", [](auto &b) { b[0x38 + 0x60 + 0x18 + 0x40] = 200; }, "$FILE_NAME"},
      {"update sequence array outside", [](auto &b) { WriteLe16(&b[4], 0x3F8); }, "update-sequence array"},
      {"update sequence count wrong", [](auto &b) { WriteLe16(&b[6], 9); }, "update-sequence array"},
      // The end marker (after the three attributes, at 0x150) becomes an
      // attribute that fills the record up to its last byte.
      {"no end marker",
       [](auto &b) {
         WriteLe32(&b[0x150], 0x40);
         WriteLe32(&b[0x154], 0x400 - 0x150);
       },
       "past record end"},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> bytes = PlainFile();
    c.damage(bytes);
    FileRecordInfo info;
    std::string why;
    EXPECT_EQ(FixAndParse(bytes, info, &why), ParseResult::Corrupt) << c.what;
    EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
  }
}

TEST(NtfsFileRecord, NotARecord) {
  std::vector<uint8_t> bytes(1024, 0);
  FileRecordInfo info;
  EXPECT_EQ(FixAndParse(bytes, info), ParseResult::NotThisStructure);
  std::memcpy(bytes.data(), "BAAD", 4);
  EXPECT_EQ(FixAndParse(bytes, info), ParseResult::NotThisStructure);
}

TEST(NtfsFileRecord, NamedDataStreamIsNotTheFileData) {
  std::vector<uint8_t> bytes = TestRecord(0)
                                   .FileName(5, 5, u"a.txt")
                                   .Resident(kNtfsAttrData, {'x', 'y'}, u"Zone.Identifier")
                                   .Resident(kNtfsAttrData, {'a', 'b', 'c'})
                                   .Bytes();
  FileRecordInfo info;
  ASSERT_EQ(FixAndParse(bytes, info), ParseResult::Ok);
  ASSERT_EQ(info.m_data.size(), 1u);
  EXPECT_EQ(info.m_data[0].m_valueLength, 3u);
}

TEST(NtfsRunList, Decoding) {
  struct Case {
    const char *what;
    std::vector<uint8_t> bytes;
    ParseResult result;
    std::vector<DataRun> runs; // vcn, clusters, lcn, sparse
  } cases[] = {
      {"one run", {0x11, 0x04, 0x20, 0x00}, ParseResult::Ok, {{0, 4, 0x20, false}}},
      {"backwards second run",
       {0x11, 0x02, 0x20, 0x11, 0x03, 0xF0, 0x00},
       ParseResult::Ok,
       {{0, 2, 0x20, false}, {2, 3, 0x10, false}}},
      {"sparse run",
       {0x11, 0x02, 0x20, 0x01, 0x05, 0x11, 0x01, 0x01, 0x00},
       ParseResult::Ok,
       {{0, 2, 0x20, false}, {2, 5, 0, true}, {7, 1, 0x21, false}}},
      {"three-byte length", {0x13, 0x00, 0x00, 0x01, 0x08, 0x00}, ParseResult::Ok, {{0, 0x10000, 8, false}}},
      {"eight-byte cluster field",
       {0x81, 0x01, 1, 0, 0, 0, 1, 0, 0, 0, 0x00},
       ParseResult::Ok,
       {{0, 1, 0x100000001ull, false}}},
      {"length field of 0 bytes", {0x10, 0x05, 0x00}, ParseResult::Corrupt, {}},
      {"length field of 9 bytes", {0x19, 0x05, 0x00}, ParseResult::Corrupt, {}},
      {"run length 0", {0x11, 0x00, 0x05, 0x00}, ParseResult::Corrupt, {}},
      {"cluster below 0", {0x11, 0x01, 0xF0, 0x00}, ParseResult::Corrupt, {}},
      {"fields past the end", {0x44, 0x01, 0x02}, ParseResult::Corrupt, {}},
      {"no end mark", {0x11, 0x01, 0x05}, ParseResult::Corrupt, {}},
  };
  for (const Case &c : cases) {
    std::vector<DataRun> runs;
    std::string why;
    EXPECT_EQ(DecodeRunList(c.bytes.data(), c.bytes.size(), 0, runs, &why), c.result)
        << c.what << ": " << why;
    if (c.result != ParseResult::Ok) continue;
    ASSERT_EQ(runs.size(), c.runs.size()) << c.what;
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(runs[i].m_vcn, c.runs[i].m_vcn) << c.what;
      EXPECT_EQ(runs[i].m_clusters, c.runs[i].m_clusters) << c.what;
      EXPECT_EQ(runs[i].m_sparse, c.runs[i].m_sparse) << c.what;
      if (!runs[i].m_sparse) {
        EXPECT_EQ(runs[i].m_lcn, c.runs[i].m_lcn) << c.what;
      }
    }
  }
}

TEST(NtfsRunList, CapacityIsEnforced) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 10; ++i) bytes.insert(bytes.end(), {0x11, 0x01, 0x01});
  bytes.push_back(0);
  std::vector<DataRun> runs;
  EXPECT_EQ(DecodeRunList(bytes.data(), bytes.size(), 0, runs, nullptr, 10), ParseResult::Ok);
  runs.clear();
  EXPECT_EQ(DecodeRunList(bytes.data(), bytes.size(), 0, runs, nullptr, 9), ParseResult::Corrupt);
}

TEST(NtfsRunList, EntryFormMarksEachListAndKeepsTheRawField) {
  std::vector<uint8_t> bytes = {0x21, 0x02, 0x00, 0x10, 0x11, 0x03, 0xF0, 0x00};
  std::vector<DataRun> runs;
  ASSERT_EQ(DecodeRunList(bytes.data(), bytes.size(), 0, runs), ParseResult::Ok);
  const auto entries = ToMftRunEntries(runs, 8);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].m_mark, 'S');
  EXPECT_EQ(entries[0].m_sectors, 16u);
  EXPECT_EQ(entries[0].m_rawCluster, 0x1000u);
  EXPECT_EQ(entries[0].m_width, 2);
  EXPECT_EQ(entries[1].m_mark, 'M');
  EXPECT_EQ(entries[1].m_rawCluster, 0xF0u);
  EXPECT_EQ(entries[1].m_width, 1);
  uint8_t raw[kMftRunEntrySize];
  SerialiseMftRunEntry(entries[1], raw);
  MftRunEntry back;
  ASSERT_EQ(ParseMftRunEntry(raw, sizeof raw, back), ParseResult::Ok);
  EXPECT_EQ(back.m_rawCluster, 0xF0u);
  EXPECT_EQ(back.m_mark, 'M');
}

TEST(NtfsAttributeList, EntriesAndDamage) {
  std::vector<uint8_t> list = AttributeListEntryBytes(kNtfsAttrStandardInformation, 0, 40);
  const auto data = AttributeListEntryBytes(kNtfsAttrData, 16, 41, 3);
  list.insert(list.end(), data.begin(), data.end());
  std::vector<AttributeListEntry> entries;
  ASSERT_EQ(ParseAttributeList(list.data(), list.size(), entries), ParseResult::Ok);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].m_type, kNtfsAttrData);
  EXPECT_EQ(entries[1].m_firstVcn, 16u);
  EXPECT_EQ(entries[1].m_record.m_record, 41u);
  EXPECT_EQ(entries[1].m_record.m_sequence, 3u);

  WriteLe16(&list[0x20 + 4], 0x400); // second entry's length past the list
  entries.clear();
  std::string why;
  EXPECT_EQ(ParseAttributeList(list.data(), list.size(), entries, &why), ParseResult::Corrupt);
  EXPECT_NE(why.find("entry length"), std::string::npos);
  WriteLe16(&list[4], 0); // an entry length of 0 would never advance
  entries.clear();
  EXPECT_EQ(ParseAttributeList(list.data(), list.size(), entries), ParseResult::Corrupt);
}

TEST(NtfsLznt1, Chunks) {
  struct Case {
    const char *what;
    std::vector<uint8_t> in;
    bool ok;
    std::string expectedStart;
  } cases[] = {
      // flags 0x08: three literals, then offset 3 length 6 (token (2 << 12) | 3).
      {"back-reference", {0x05, 0xB0, 0x08, 'a', 'b', 'c', 0x03, 0x20}, true, "abcabcabc"},
      {"stored chunk", {0x02, 0x30, 'x', 'y', 'z'}, true, "xyz"},
      {"reference before the chunk start", {0x02, 0xB0, 0x01, 0x03, 0x20}, false, ""},
      {"offset past the output", {0x05, 0xB0, 0x08, 'a', 'b', 'c', 0x03, 0x50}, false, ""},
      {"chunk past the input", {0x40, 0xB0, 0x00, 'a'}, false, ""},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> out(8192, 0xEE);
    size_t produced = 0;
    EXPECT_EQ(DecompressLznt1(c.in.data(), c.in.size(), out.data(), out.size(), produced), c.ok) << c.what;
    if (!c.ok) continue;
    EXPECT_EQ(std::string(out.begin(), out.begin() + c.expectedStart.size()), c.expectedStart) << c.what;
    // A short chunk stands for 4096 bytes: the rest of them are zeros.
    EXPECT_EQ(produced, kLznt1ChunkSize) << c.what;
    EXPECT_EQ(out[c.expectedStart.size()], 0) << c.what;
    EXPECT_EQ(out[kLznt1ChunkSize], 0xEE) << c.what;
  }
}

TEST(NtfsLznt1, LongReferenceUsesFewerLengthBitsFurtherIn) {
  // 20 literals, then at position 20 the split is 11 length bits: offset 20,
  // length 20 is token ((20 - 1) << 11) | (20 - 3).
  std::vector<uint8_t> in = {0x00, 0xB0};
  std::string text = "0123456789abcdefghij";
  size_t pos = 2;
  for (int group = 0; group < 3; ++group) {
    const size_t literals = std::min<size_t>(8, text.size() - group * 8);
    const bool reference = group == 2;
    in.push_back(reference ? static_cast<uint8_t>(1 << literals) : 0);
    for (size_t i = 0; i < literals; ++i) in.push_back(static_cast<uint8_t>(text[group * 8 + i]));
    if (reference) {
      const uint16_t token = static_cast<uint16_t>((19 << 11) | 17);
      in.push_back(static_cast<uint8_t>(token));
      in.push_back(static_cast<uint8_t>(token >> 8));
    }
    pos = in.size();
  }
  WriteLe16(&in[0], static_cast<uint16_t>(0xB000 | (pos - 2 - 1)));
  std::vector<uint8_t> out(4096);
  size_t produced = 0;
  ASSERT_TRUE(DecompressLznt1(in.data(), in.size(), out.data(), out.size(), produced));
  EXPECT_EQ(std::string(out.begin(), out.begin() + 40), text + text);
}

} // namespace

#include "EntryRecord.h"

#include <gtest/gtest.h>

#include <set>

namespace {

EntryRecord SampleRecord() {
  EntryRecord r;
  r.m_size = 0x0102030405060708ull;
  r.m_parentId = 0x11121314;
  r.m_ownId = 0x21222324;
  r.m_firstCluster = 0x31323334;
  r.m_attributes = kEntryAttrArchive | kEntryAttrHidden;
  for (uint32_t i = 0; i < 6; ++i) r.m_dateWords[i] = 0xA0A0A0A0u + i;
  r.m_checkState = 2;
  r.m_deleted = 1;
  r.m_compressed = 1;
  r.m_grade = RecoveryGrade::Good;
  return r;
}

TEST(EntryRecordLayout, FieldsSitAtTheirOffsetsLittleEndian) {
  const auto bytes = SerialiseEntryRecord(SampleRecord());
  ASSERT_EQ(bytes.size(), 64u);
  EXPECT_EQ(ReadLe64(&bytes[8]), 0x0102030405060708ull);
  EXPECT_EQ(bytes[8], 0x08);
  EXPECT_EQ(ReadLe32(&bytes[16]), 0x11121314u);
  EXPECT_EQ(ReadLe32(&bytes[20]), 0x21222324u);
  EXPECT_EQ(ReadLe32(&bytes[24]), 0x31323334u);
  EXPECT_EQ(bytes[32], 0x22);
  EXPECT_EQ(ReadLe32(&bytes[36]), 0xA0A0A0A0u);
  EXPECT_EQ(ReadLe32(&bytes[56]), 0xA0A0A0A5u);
  EXPECT_EQ(bytes[60], 2);
  EXPECT_EQ(bytes[61], 1);
  EXPECT_EQ(bytes[62], 1);
  EXPECT_EQ(bytes[63], 2);
}

TEST(EntryRecordLayout, ProcessWordsAndUnusedBytesAreWrittenAsZero) {
  const auto bytes = SerialiseEntryRecord(SampleRecord());
  for (size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 28, 29, 30, 31, 33, 34, 35})
    EXPECT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(EntryRecordLayout, RoundTripsByteForByte) {
  const auto bytes = SerialiseEntryRecord(SampleRecord());
  EntryRecord back;
  ASSERT_EQ(ParseEntryRecord(bytes.data(), bytes.size(), back), ParseResult::Ok);
  EXPECT_EQ(back, SampleRecord());
  EXPECT_EQ(SerialiseEntryRecord(back), bytes);
}

// A disk scan's hit at sector 2^32 or beyond keeps its whole number: the
// low word where it always was, the high bits in the three bytes that a
// record below 2^32 leaves zero.
TEST(EntryRecordLayout, AFirstClusterPast32BitsUsesTheThreeSpareBytes) {
  EntryRecord r = SampleRecord();
  r.SetFirstCluster(0x0000ABCD31323334ull);
  const auto bytes = SerialiseEntryRecord(r);
  EXPECT_EQ(ReadLe32(&bytes[24]), 0x31323334u);
  EXPECT_EQ(bytes[32], 0x22);
  EXPECT_EQ(bytes[33], 0xCD);
  EXPECT_EQ(bytes[34], 0xAB);
  EXPECT_EQ(bytes[35], 0x00);
  EntryRecord back;
  ASSERT_EQ(ParseEntryRecord(bytes.data(), bytes.size(), back), ParseResult::Ok);
  EXPECT_EQ(back.FirstCluster(), 0x0000ABCD31323334ull);
  EXPECT_EQ(back, r);
  r.SetFirstCluster(0xFF123456789ABCDEull);
  EXPECT_EQ(r.FirstCluster(), 0x00123456789ABCDEull) << "56 bits are kept";
}

TEST(EntryRecordLayout, ProcessWordsFromAFileAreIgnored) {
  auto bytes = SerialiseEntryRecord(SampleRecord());
  for (size_t i : {0, 5, 28}) bytes[i] = 0xFF;
  EntryRecord back;
  ASSERT_EQ(ParseEntryRecord(bytes.data(), bytes.size(), back), ParseResult::Ok);
  EXPECT_EQ(back, SampleRecord());
}

TEST(EntryRecordLayout, DamagedRecordsAreCorrupt) {
  auto bytes = SerialiseEntryRecord(SampleRecord());
  EntryRecord back;
  EXPECT_EQ(ParseEntryRecord(bytes.data(), 63, back), ParseResult::Corrupt);
  EXPECT_EQ(ParseEntryRecord(nullptr, 64, back), ParseResult::Corrupt);
  bytes[63] = 5;
  EXPECT_EQ(ParseEntryRecord(bytes.data(), bytes.size(), back), ParseResult::Corrupt);
  bytes[63] = 4;
  bytes[60] = 3;
  EXPECT_EQ(ParseEntryRecord(bytes.data(), bytes.size(), back), ParseResult::Corrupt);
}

TEST(EntryRecordGradeText, NamesEveryGrade) {
  EXPECT_EQ(std::u16string(RecoveryGradeText(RecoveryGrade::Poor)), u"Poor");
  EXPECT_EQ(std::u16string(RecoveryGradeText(RecoveryGrade::Fair)), u"Fair");
  EXPECT_EQ(std::u16string(RecoveryGradeText(RecoveryGrade::Good)), u"Good");
  EXPECT_EQ(std::u16string(RecoveryGradeText(RecoveryGrade::VeryGood)), u"Very Good");
  EXPECT_EQ(std::u16string(RecoveryGradeText(RecoveryGrade::NotApplicable)), u"Not Applicable");
  EXPECT_EQ(std::u16string(RecoveryGradeText(static_cast<RecoveryGrade>(9))), u"");
}

TEST(EntryRecordDates, Fat16RepeatsTheWriteStamp) {
  uint8_t entry[32] = {};
  WriteLe16(entry + 14, 0x1111); // creation time
  WriteLe16(entry + 16, 0x2222); // creation date
  WriteLe16(entry + 18, 0x3333); // access date
  WriteLe16(entry + 22, 0x4444); // write time
  WriteLe16(entry + 24, 0x5555); // write date
  EntryRecord r;
  SetFatEntryDates(r, entry, false);
  EXPECT_EQ(r.m_dateWords[0], 0u);
  EXPECT_EQ(r.m_dateWords[2], 0x4444u);
  EXPECT_EQ(r.m_dateWords[4], 0x4444u);
  EXPECT_EQ(r.m_dateWords[1], 0x5555u);
  EXPECT_EQ(r.m_dateWords[3], 0x5555u);
  EXPECT_EQ(r.m_dateWords[5], 0x5555u);
  SetFatEntryDates(r, entry, true);
  const uint32_t fat32[6] = {0, 0x3333, 0x4444, 0x5555, 0x1111, 0x2222};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r.m_dateWords[i], fat32[i]) << "word " << i;
}

TEST(EntryRecordDates, NtfsTimesAreStoredLowWordFirst) {
  EntryRecord r;
  SetNtfsEntryTimes(r, 0x1111111122222222ull, 0x3333333344444444ull, 0x5555555566666666ull);
  const uint32_t words[6] = {0x22222222, 0x11111111, 0x44444444, 0x33333333, 0x66666666, 0x55555555};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r.m_dateWords[i], words[i]) << "word " << i;
}

struct GradeCase {
  const char *what;
  uint64_t size;
  std::set<uint64_t> used;
  RecoveryGrade expected;
};

TEST(EntryRecordGrade, FatFileGradeFollowsTheClustersItNeeds) {
  // 4 sectors per cluster (2048 bytes), first cluster 10.
  const GradeCase cases[] = {
      {"first cluster in use", 100, {10}, RecoveryGrade::Poor},
      {"exactly one cluster", 2048, {11}, RecoveryGrade::VeryGood},
      {"empty file", 0, {}, RecoveryGrade::VeryGood},
      {"one byte more, next cluster free", 2049, {12}, RecoveryGrade::Good},
      {"one byte more, next cluster used", 2049, {11}, RecoveryGrade::Fair},
      {"three clusters, last used", 3 * 2048, {12}, RecoveryGrade::Fair},
      {"three clusters, the one after used", 3 * 2048, {13}, RecoveryGrade::Good},
  };
  for (const GradeCase &c : cases) {
    const auto inUse = [&c](uint64_t cluster) { return c.used.count(cluster) != 0; };
    EXPECT_EQ(GradeFatEntry(10, c.size, 4, inUse), c.expected) << c.what;
  }
}

TEST(EntryRecordGrade, HugeSizesNearTheTopOfTheClusterRangeDoNotWrap) {
  std::set<uint64_t> asked;
  const auto inUse = [&asked](uint64_t cluster) {
    asked.insert(cluster);
    return cluster == 0x100000000ull;
  };
  EXPECT_EQ(GradeFatEntry(0xFFFFFFFFu, 2 * 512, 1, inUse), RecoveryGrade::Fair);
  EXPECT_EQ(asked.count(0), 0u);
}

TEST(EntryRecordGrade, NtfsCompressedIsPoor) {
  EXPECT_EQ(GradeNtfsEntry(true), RecoveryGrade::Poor);
  EXPECT_EQ(GradeNtfsEntry(false), RecoveryGrade::VeryGood);
  EXPECT_EQ(GradeNtfsEntry(false, true), RecoveryGrade::Poor); // its size past its clusters
}

} // namespace

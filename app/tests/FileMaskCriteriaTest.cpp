// What the file mask keeps, as tables: types, state, size range, dates read
// by the engine that found the entry.
#include <gtest/gtest.h>

#include "FileMaskCriteria.h"
#include "FindCriteria.h"

#include <functional>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

TEST(FileMaskCriteriaTest, SplitsTheTypes) {
  using List = std::vector<std::u16string>;
  EXPECT_EQ(SplitMaskTypes(u"*.doc; *.xls"), (List{u"*.doc", u"*.xls"}));
  EXPECT_EQ(SplitMaskTypes(u" *.d oc ;;"), (List{u"*.doc"}));
  EXPECT_EQ(SplitMaskTypes(u""), List{});
  // A type longer than a node holds is cut, not written past its end.
  const List cut = SplitMaskTypes(u"*." + std::u16string(5000, u'x') + u";*.a");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].size(), kMaxMaskTypeLength);
  EXPECT_EQ(cut[1], u"*.a");
}

TEST(FileMaskCriteriaTest, TypeNodes) {
  struct Case {
    const char16_t *type;
    const char16_t *name;
    bool matchCase;
    bool keeps;
  } const cases[] = {
      {u"*.doc", u"letter.doc", false, true},
      {u"*.doc", u"a.b.doc", false, true}, // the extension after the last "."
      {u"*.b.doc", u"a.b.doc", false, false},
      {u"*.doc", u"letter.docx", false, false},
      {u"*.DOC", u"letter.doc", false, true},
      {u"*.DOC", u"letter.doc", true, false},
      {u"*.doc", u"doc", false, false},
      {u"*.*", u"noextension", false, true},
      {u"*.", u"trailing.", false, true},
  };
  for (const Case &c : cases)
    EXPECT_EQ(MaskTypeMatches(c.type, c.name, c.matchCase), c.keeps)
        << Narrow(c.type) << " against " << Narrow(c.name);
}

TEST(FileMaskCriteriaTest, KilobytesIn64Bits) {
  EXPECT_EQ(KilobytesToBytes(10000), 10240000u);
  EXPECT_EQ(KilobytesToBytes(4194304), 4294967296u); // 4 GiB, past 32 bits
  EXPECT_EQ(KilobytesToBytes(UINT64_MAX / 1024 + 1), UINT64_MAX);
}

EntryRecord File(bool deleted, uint64_t size, uint32_t fatDate) {
  EntryRecord record;
  record.m_attributes = 0x20;
  record.m_deleted = deleted ? 1 : 0;
  record.m_size = size;
  record.m_dateWords[3] = fatDate; // modified
  record.m_dateWords[5] = fatDate; // created
  return record;
}

uint32_t FatDate(int year, int month, int day) {
  return static_cast<uint32_t>((year - 1980) << 9 | month << 5 | day);
}

TEST(FileMaskCriteriaTest, StateSizeAndDate) {
  const int64_t today = DayNumber(2024, 6, 15);
  struct Case {
    const char *what;
    std::function<void(FileMaskCriteria &)> set;
    EntryRecord record;
    const char16_t *name;
    bool keeps;
  } const cases[] = {
      {"no conditions", [](FileMaskCriteria &) {}, File(false, 1, 0), u"a", true},
      {"types given, no extension", [](FileMaskCriteria &c) { c.types = {u"*.txt"}; }, File(true, 1, 0), u"a",
       false},
      {"second type",
       [](FileMaskCriteria &c) {
         c.types = {u"*.txt", u"*.doc"};
       },
       File(true, 1, 0), u"a.doc", true},
      {"missing off", [](FileMaskCriteria &c) { c.missing = false; }, File(false, 1, 0), u"a", false},
      {"deleted off", [](FileMaskCriteria &c) { c.deleted = false; }, File(true, 1, 0), u"a", false},
      {"from, equal",
       [](FileMaskCriteria &c) {
         c.sizeFromOn = true;
         c.sizeFrom = 2048;
       },
       File(true, 2048, 0), u"a", true},
      {"upto, 5 GiB limit",
       [](FileMaskCriteria &c) {
         c.sizeUptoOn = true;
         c.sizeUpto = KilobytesToBytes(5u << 20);
       },
       File(true, 5ull << 30, 0), u"a", true},
      {"upto, a byte over",
       [](FileMaskCriteria &c) {
         c.sizeUptoOn = true;
         c.sizeUpto = KilobytesToBytes(5u << 20);
       },
       File(true, (5ull << 30) + 1, 0), u"a", false},
      {"last 30 days",
       [](FileMaskCriteria &c) {
         c.dateOn = true;
         c.dateMode = FileMaskCriteria::DateMode::LastDays;
         c.lastCount = 30;
       },
       File(true, 1, FatDate(2024, 5, 16)), u"a", true},
      {"last 30 days, too old",
       [](FileMaskCriteria &c) {
         c.dateOn = true;
         c.dateMode = FileMaskCriteria::DateMode::LastDays;
         c.lastCount = 30;
       },
       File(true, 1, FatDate(2024, 5, 15)), u"a", false},
      {"last 12 months",
       [](FileMaskCriteria &c) {
         c.dateOn = true;
         c.lastCount = 12;
       },
       File(true, 1, FatDate(2023, 6, 15)), u"a", true},
      {"between, reversed",
       [](FileMaskCriteria &c) {
         c.dateOn = true;
         c.dateMode = FileMaskCriteria::DateMode::Between;
         c.fromDay = DayNumber(2021, 1, 1);
         c.toDay = DayNumber(2020, 1, 1);
       },
       File(true, 1, FatDate(2020, 7, 1)), u"a", true},
      {"no date",
       [](FileMaskCriteria &c) {
         c.dateOn = true;
         c.dateMode = FileMaskCriteria::DateMode::Between;
       },
       File(true, 1, 0), u"a", false},
  };
  for (const Case &c : cases) {
    FileMaskCriteria criteria;
    c.set(criteria);
    EXPECT_EQ(FileMaskKeeps(criteria, c.record, c.name, false, today), c.keeps) << c.what;
  }
}

TEST(FileMaskCriteriaTest, NtfsDatesAreFileTimes) {
  const uint64_t fileTime =
      (static_cast<uint64_t>(DayNumber(2024, 6, 1)) * 86400 + 11644473600ull) * 10000000;
  EntryRecord record = File(true, 1, 0);
  record.m_dateWords[4] = static_cast<uint32_t>(fileTime);
  record.m_dateWords[5] = static_cast<uint32_t>(fileTime >> 32);
  FileMaskCriteria criteria;
  criteria.dateOn = true;
  criteria.dateMode = FileMaskCriteria::DateMode::Between;
  criteria.fromDay = criteria.toDay = DayNumber(2024, 6, 1);
  EXPECT_TRUE(FileMaskKeeps(criteria, record, u"a", true, DayNumber(2024, 6, 15)));
  // Read as a FAT date word the same bytes name another day.
  EXPECT_FALSE(FileMaskKeeps(criteria, record, u"a", false, DayNumber(2024, 6, 15)));
}

} // namespace

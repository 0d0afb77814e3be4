// Dates of found entries as the file list, Find and the file mask show them.
#include <gtest/gtest.h>

#include "EntryDates.h"

namespace {

struct FileTimeCase {
  const char *what;
  uint64_t fileTime;
  CivilDateTime expected;
  const wchar_t *text;
};

// Times on both sides of midnight catch any conversion that drops the low
// half of the file time (its steps are about seven minutes long).
const FileTimeCase kFileTimes[] = {
    {"the epoch", 0, {1601, 1, 1, 0, 0, 0}, L"01-01-1601"},
    {"last second of a day", 0x1d9579a3fbbe980ULL, {2023, 3, 15, 23, 59, 59}, L"15-03-2023"},
    {"first second of the next day", 0x1d9579a40548000ULL, {2023, 3, 16, 0, 0, 0}, L"16-03-2023"},
    {"leap day", 0x1da6b06d21de000ULL, {2024, 2, 29, 12, 0, 0}, L"29-02-2024"},
    {"day after February of a century without leap day",
     0x22f9fc03dc34000ULL,
     {2100, 3, 1, 0, 0, 0},
     L"01-03-2100"},
    {"FAT's epoch", 0x1a8e79fe26e1680ULL, {1980, 1, 1, 0, 0, 1}, L"01-01-1980"},
    {"last second of a leap century year", 0x1c07385c8052980ULL, {2000, 12, 31, 23, 59, 59}, L"31-12-2000"},
    {"sub-second ticks are dropped", 0x1d9579a40548000ULL + 9999999, {2023, 3, 16, 0, 0, 0}, L"16-03-2023"},
};

TEST(EntryDatesTest, FileTimesAreExactUtcDates) {
  for (const FileTimeCase &c : kFileTimes) {
    SCOPED_TRACE(c.what);
    const CivilDateTime d = FileTimeToUtc(c.fileTime);
    EXPECT_EQ(d.year, c.expected.year);
    EXPECT_EQ(d.month, c.expected.month);
    EXPECT_EQ(d.day, c.expected.day);
    EXPECT_EQ(d.hour, c.expected.hour);
    EXPECT_EQ(d.minute, c.expected.minute);
    EXPECT_EQ(d.second, c.expected.second);
    EXPECT_EQ(NtfsDateText(c.fileTime), c.text);
  }
}

TEST(EntryDatesTest, LargestFileTimeDoesNotOverflow) {
  const CivilDateTime d = FileTimeToUtc(UINT64_MAX);
  EXPECT_EQ(d.year, 60056);
  EXPECT_EQ(d.month, 5);
  EXPECT_EQ(d.day, 28);
  EXPECT_EQ(d.hour, 5);
  EXPECT_EQ(d.minute, 36);
  EXPECT_EQ(d.second, 10);
}

uint32_t FatDate(uint32_t year, uint32_t month, uint32_t day) {
  return ((year - 1980) << 9) | (month << 5) | day;
}
uint32_t FatTime(uint32_t hour, uint32_t minute, uint32_t twoSeconds) {
  return (hour << 11) | (minute << 5) | twoSeconds;
}

struct FatCase {
  const char *what;
  uint32_t date;
  uint32_t time;
  const wchar_t *text;
};

const FatCase kFatCases[] = {
    {"ordinary stamp", FatDate(2023, 3, 15), FatTime(9, 59, 29), L"15-03-2023 09:59:58"},
    {"month 0 shows as December", FatDate(2001, 0, 5), FatTime(0, 0, 0), L"05-12-2001 00:00:00"},
    {"month 13 shows as December", FatDate(2001, 13, 5), FatTime(0, 0, 0), L"05-12-2001 00:00:00"},
    {"hour 24 and above show as 0", FatDate(1999, 6, 30), FatTime(27, 10, 1), L"30-06-1999 00:10:02"},
    {"minute above 60 shows as 0", FatDate(1999, 6, 30), FatTime(1, 63, 1), L"30-06-1999 01:00:02"},
    {"minute 60 is kept", FatDate(1999, 6, 30), FatTime(1, 60, 1), L"30-06-1999 01:60:02"},
    {"second above 60 shows as 0", FatDate(1999, 6, 30), FatTime(1, 1, 31), L"30-06-1999 01:01:00"},
    {"last year FAT can hold", FatDate(2107, 12, 31), FatTime(23, 59, 29), L"31-12-2107 23:59:58"},
};

TEST(EntryDatesTest, FatStampsAndTheirOutOfRangeFields) {
  for (const FatCase &c : kFatCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FatDateText(c.date, c.time), c.text);
  }
}

} // namespace

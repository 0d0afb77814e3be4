// Find's name patterns, status, grade, size and date tests, as tables.
#include <gtest/gtest.h>

#include "EntryDates.h"
#include "FindCriteria.h"

#include <string>
#include <vector>

namespace {

std::string Narrow(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

TEST(FindCriteriaTest, SplitsTheFindText) {
  using List = std::vector<std::u16string>;
  EXPECT_EQ(SplitFindPatterns(u"*.doc; *.xls"), (List{u"*.doc", u"*.xls"}));
  EXPECT_EQ(SplitFindPatterns(u"*.doc; *.xls;"), (List{u"*.doc", u"*.xls"}));
  EXPECT_EQ(SplitFindPatterns(u" a.txt"), (List{u" a.txt"}));
  EXPECT_EQ(SplitFindPatterns(u""), List{});
  EXPECT_EQ(SplitFindPatterns(u";;"), List{});
  // More patterns than the dialog ever held are all kept, none overruns.
  std::u16string many;
  for (int i = 0; i < 200; ++i) many += u"p" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u";";
  EXPECT_EQ(SplitFindPatterns(many).size(), 200u);
}

TEST(FindCriteriaTest, NamePatterns) {
  struct Case {
    const char16_t *pattern;
    const char16_t *name;
    bool matchCase;
    bool matches;
  } const cases[] = {
      {u"a?c.txt", u"abcd.txt", false, false},
      {u"a?c.txt", u"abc.txt", false, true},
      {u"ABC.TXT", u"abc.txt", false, true},
      {u"ABC.TXT", u"abc.txt", true, false},
      {u"a*", u"a", false, false},
      {u"a*", u"ab", false, true},
      {u"a*", u"AB", false, true},
      {u"a*", u"AB", true, false},
      {u"*.*", u"x.doc", false, true},
      {u"*.*", u"abc", false, true},
      {u"*.*", u".doc", false, false},
      {u"*.*", u"", false, false},
      {u"*x*", u"axb", false, true},
      {u"*x*", u"xab", false, true},
      {u"*x*", u"xa", false, false},
      {u"*x*", u"abc", false, false},
      {u"?*", u"ab", false, true},
      {u"?*", u"a", false, false},
      {u"readme", u"readme", false, true},
      {u"readme", u"readme.txt", false, false},
      {u"abc.", u"abc.txt", false, true},
      {u"abc.", u"abc.txt", true, false},
      {u"abc.", u"abc", true, true},
      // Backtracking: a first near-match must not end the search.
      {u"*ab*", u"xaabz", false, true},
      {u"*ab*", u"xaaz", false, false},
      {u"*aab", u"aaaab", false, true},
      {u"a*b*c", u"abbbbc", false, true},
      {u"a*b*c", u"abbbb", false, false},
      {u"*.doc", u"a.b.doc", false, true},
      {u"*.doc", u"a.doc.bak", false, false},
      {u"*.DOC", u"report.doc", false, true},
      {u"*.d?c", u"report.dxc", false, true},
      {u"*.d?c", u"report.dc", false, false},
      {u"a.b.c", u"a.b.c", false, true},
      {u".txt", u".txt", false, true},
      {u"*.t*", u"a", false, true},
      // Only A-Z and a-z fold.
      {u"\u00c9t\u00e9", u"\u00e9t\u00e9", false, false},
      {u"\u00e9t\u00e9", u"\u00e9T\u00e9", false, true},
  };
  for (const Case &c : cases)
    EXPECT_EQ(FindPatternMatches(c.pattern, c.name, c.matchCase), c.matches)
        << Narrow(c.pattern) << " against " << Narrow(c.name) << " matchCase " << c.matchCase;
}

TEST(FindCriteriaTest, LongPatternsStayLinear) {
  // Many stars against a long name that nearly matches: no recursion, quick.
  std::u16string pattern;
  for (int i = 0; i < 2000; ++i) pattern += u"*a";
  pattern += u"*b";
  const std::u16string name(20000, u'a');
  EXPECT_FALSE(FindPatternMatches(pattern, name, false));
  EXPECT_TRUE(FindPatternMatches(pattern, name + u"cb", false));
}

TEST(FindCriteriaTest, Days) {
  EXPECT_EQ(DayNumber(1970, 1, 1), 0);
  EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);
  EXPECT_EQ(MonthsBefore(DayNumber(2024, 3, 31), 1), DayNumber(2024, 2, 29));
  EXPECT_EQ(MonthsBefore(DayNumber(2024, 1, 15), 13), DayNumber(2022, 12, 15));
  EXPECT_EQ(MonthsBefore(DayNumber(2024, 5, 15), 0), DayNumber(2024, 5, 15));
}

EntryRecord Entry(bool deleted, RecoveryGrade grade, uint64_t size, uint32_t fatDate) {
  EntryRecord record;
  record.m_deleted = deleted ? 1 : 0;
  record.m_grade = grade;
  record.m_size = size;
  record.m_dateWords[5] = fatDate; // created
  record.m_dateWords[3] = fatDate; // modified
  return record;
}

uint32_t FatDate(int year, int month, int day) {
  return static_cast<uint32_t>((year - 1980) << 9 | month << 5 | day);
}

TEST(FindCriteriaTest, StatusGradeSizeAndDate) {
  const int64_t today = DayNumber(2024, 6, 15);
  FindCriteria all;
  all.patterns = {u"*"};
  struct Case {
    const char *what;
    void (*set)(FindCriteria &);
    EntryRecord record;
    bool matches;
  } const cases[] = {
      {"deleted, box on", [](FindCriteria &) {}, Entry(true, RecoveryGrade::Good, 10, 0), true},
      {"deleted, box off", [](FindCriteria &c) { c.deleted = false; },
       Entry(true, RecoveryGrade::Good, 10, 0), false},
      {"missing, box off", [](FindCriteria &c) { c.missing = false; },
       Entry(false, RecoveryGrade::Good, 10, 0), false},
      {"grade off", [](FindCriteria &c) { c.grades[2] = false; }, Entry(true, RecoveryGrade::Good, 10, 0),
       false},
      {"other grade off", [](FindCriteria &c) { c.grades[0] = false; },
       Entry(true, RecoveryGrade::Good, 10, 0), true},
      {"at least, equal",
       [](FindCriteria &c) {
         c.sizeOn = true;
         c.sizeLimit = 2048;
       },
       Entry(true, RecoveryGrade::Good, 2048, 0), true},
      {"at least, below",
       [](FindCriteria &c) {
         c.sizeOn = true;
         c.sizeLimit = 2048;
       },
       Entry(true, RecoveryGrade::Good, 2047, 0), false},
      {"at most, above 4 GiB",
       [](FindCriteria &c) {
         c.sizeOn = true;
         c.sizeAtMost = true;
         c.sizeLimit = 5000000ull * 1024;
       },
       Entry(true, RecoveryGrade::Good, 5000000ull * 1024 + 1, 0), false},
      {"last 10 days, 10 days ago",
       [](FindCriteria &c) {
         c.dateOn = true;
         c.dateMode = FindCriteria::DateMode::LastDays;
         c.lastCount = 10;
       },
       Entry(true, RecoveryGrade::Good, 1, FatDate(2024, 6, 5)), true},
      {"last 10 days, 11 days ago",
       [](FindCriteria &c) {
         c.dateOn = true;
         c.dateMode = FindCriteria::DateMode::LastDays;
         c.lastCount = 10;
       },
       Entry(true, RecoveryGrade::Good, 1, FatDate(2024, 6, 4)), false},
      {"last 2 months",
       [](FindCriteria &c) {
         c.dateOn = true;
         c.lastCount = 2;
       },
       Entry(true, RecoveryGrade::Good, 1, FatDate(2024, 4, 15)), true},
      {"last 2 months, a day too early",
       [](FindCriteria &c) {
         c.dateOn = true;
         c.lastCount = 2;
       },
       Entry(true, RecoveryGrade::Good, 1, FatDate(2024, 4, 14)), false},
      {"no date",
       [](FindCriteria &c) {
         c.dateOn = true;
         c.lastCount = 2;
       },
       Entry(true, RecoveryGrade::Good, 1, 0), false},
      {"between, reversed",
       [](FindCriteria &c) {
         c.dateOn = true;
         c.dateMode = FindCriteria::DateMode::Between;
         c.fromDay = DayNumber(2020, 2, 1);
         c.toDay = DayNumber(2020, 1, 1);
       },
       Entry(true, RecoveryGrade::Good, 1, FatDate(2020, 2, 1)), true},
      {"between, after",
       [](FindCriteria &c) {
         c.dateOn = true;
         c.dateMode = FindCriteria::DateMode::Between;
         c.fromDay = DayNumber(2020, 1, 1);
         c.toDay = DayNumber(2020, 2, 1);
       },
       Entry(true, RecoveryGrade::Good, 1, FatDate(2020, 2, 2)), false},
  };
  for (const Case &c : cases) {
    FindCriteria criteria = all;
    c.set(criteria);
    EXPECT_EQ(EntryMatchesFind(criteria, c.record, u"x", false, today), c.matches) << c.what;
  }
}

TEST(FindCriteriaTest, NtfsDatesAreFileTimes) {
  // 15 June 2024 as a file time; read as a FAT date word it would be garbage.
  const uint64_t fileTime =
      (static_cast<uint64_t>(DayNumber(2024, 6, 15)) * 86400 + 11644473600ull) * 10000000;
  EntryRecord record;
  record.m_dateWords[4] = static_cast<uint32_t>(fileTime);
  record.m_dateWords[5] = static_cast<uint32_t>(fileTime >> 32);
  int64_t day = 0;
  ASSERT_TRUE(EntryDay(record, true, true, day));
  EXPECT_EQ(day, DayNumber(2024, 6, 15));
  EXPECT_FALSE(EntryDay(record, true, false, day)); // no modification time
}

} // namespace

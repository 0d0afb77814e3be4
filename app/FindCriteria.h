// What Find and the file mask test found entries against: name patterns
// with "?" and "*", status and recovery grade, size limits and date ranges.
// Pure functions, so the dialogs only gather the criteria.
#pragma once

#include "EntryRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// Find's list of name patterns: the text split at ";", a final ";" adding
// no empty pattern, leading blanks of every pattern after the first
// dropped, empty ones left out. Any number of patterns is kept.
std::vector<std::u16string> SplitFindPatterns(const std::u16string &text);

// Whether a name matches one Find pattern. "?" takes any one character and
// "*" any run of characters, but the name is at least as long as the
// pattern with each "*" counted as one character ("a*" misses "a"). A
// pattern holding a "." after its first character is cut at its last "."
// and the name at its last "."; the extension parts are compared on their
// own (a pattern extension holding "*", or an empty one without matchCase,
// takes any extension). Without matchCase only A-Z and a-z fold.
bool FindPatternMatches(const std::u16string &pattern, const std::u16string &name, bool matchCase);

// The same glob test on whole texts: "*" takes any run of characters
// (none too), "?" any one character. Linear in memory, no recursion.
bool GlobMatches(const std::u16string &pattern, const std::u16string &text, bool matchCase);

// A calendar day as a count of days since 1 January 1970.
int64_t DayNumber(int year, int month, int day);
// The day that lies months calendar months before day (the day of the
// month kept, or the month's last day when it has fewer).
int64_t MonthsBefore(int64_t day, int months);

// An entry's creation or modification day, converted by the engine that
// found it (FAT date word or NTFS file time); false when it has no date.
bool EntryDay(const EntryRecord &record, bool ntfs, bool creation, int64_t &day);

struct FindCriteria {
  std::vector<std::u16string> patterns;
  bool matchCase = false;
  bool deleted = true;
  bool missing = true;
  // Indexed by RecoveryGrade.
  bool grades[5] = {true, true, true, true, true};
  bool sizeOn = false;
  bool sizeAtMost = false; // else "at least"
  uint64_t sizeLimit = 0;  // bytes
  bool dateOn = false;
  bool creationDate = true; // else the modification date
  enum class DateMode { LastMonths, LastDays, Between } dateMode = DateMode::LastMonths;
  int lastCount = 1;
  // The two chosen days of "between", in either order.
  int64_t fromDay = 0;
  int64_t toDay = 0;
};

// Whether a found file or folder passes the criteria on the given day
// (today's day number); the name must match one of the patterns.
bool EntryMatchesFind(const FindCriteria &criteria, const EntryRecord &record, const std::u16string &name,
                      bool ntfs, int64_t today);

#include "FindCriteria.h"

#include "EntryDates.h"

#include <algorithm>

namespace {

char16_t Fold(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameCharacter(char16_t patternChar, char16_t textChar, bool matchCase) {
  if (patternChar == u'?') return true;
  return matchCase ? patternChar == textChar : Fold(patternChar) == Fold(textChar);
}

// "*" stands for at least one character here: the name must be as long as
// the pattern with every "*" counted once.
bool BaseMatches(const std::u16string &pattern, const std::u16string &name, bool matchCase) {
  return name.size() >= pattern.size() && GlobMatches(pattern, name, matchCase);
}

bool ExtensionMatches(const std::u16string &pattern, const std::u16string &name, bool matchCase) {
  if (pattern.find(u'*') != std::u16string::npos) return true;
  if (pattern.empty()) return !matchCase || name.empty();
  return GlobMatches(pattern, name, matchCase);
}

void CivilFromDayNumber(int64_t dayNumber, int &year, int &month, int &day) {
  const int64_t z = dayNumber + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

bool InRange(int64_t day, int64_t first, int64_t last) {
  return day >= std::min(first, last) && day <= std::max(first, last);
}

} // namespace

std::vector<std::u16string> SplitFindPatterns(const std::u16string &text) {
  std::vector<std::u16string> patterns;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u';', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string piece = text.substr(start, end - start);
    if (!patterns.empty()) {
      const size_t first = piece.find_first_not_of(u' ');
      piece.erase(0, first == std::u16string::npos ? piece.size() : first);
    }
    if (!piece.empty()) patterns.push_back(piece);
    start = end + 1;
  }
  return patterns;
}

bool GlobMatches(const std::u16string &pattern, const std::u16string &text, bool matchCase) {
  // The last "*" seen and the text place it was tried at: on a mismatch
  // that "*" takes one character more; earlier stars never need to.
  size_t p = 0, t = 0;
  size_t starAt = std::u16string::npos, starText = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starAt = p++;
      starText = t;
    } else if (p < pattern.size() && SameCharacter(pattern[p], text[t], matchCase)) {
      ++p;
      ++t;
    } else if (starAt != std::u16string::npos) {
      p = starAt + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

bool FindPatternMatches(const std::u16string &pattern, const std::u16string &name, bool matchCase) {
  const size_t firstDot = pattern.find(u'.');
  if (firstDot == std::u16string::npos || firstDot == 0) return BaseMatches(pattern, name, matchCase);
  const size_t patternDot = pattern.rfind(u'.');
  const size_t nameDot = name.rfind(u'.');
  const std::u16string nameBase = nameDot == std::u16string::npos ? name : name.substr(0, nameDot);
  const std::u16string nameExtension = nameDot == std::u16string::npos ? u"" : name.substr(nameDot + 1);
  return BaseMatches(pattern.substr(0, patternDot), nameBase, matchCase) &&
         ExtensionMatches(pattern.substr(patternDot + 1), nameExtension, matchCase);
}

int64_t DayNumber(int year, int month, int day) {
  const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int64_t MonthsBefore(int64_t dayNumber, int months) {
  int year = 0, month = 0, day = 0;
  CivilFromDayNumber(dayNumber, year, month, day);
  const int64_t monthIndex = static_cast<int64_t>(year) * 12 + (month - 1) - months;
  year = static_cast<int>(monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12);
  month = static_cast<int>(monthIndex - static_cast<int64_t>(year) * 12) + 1;
  return DayNumber(year, month, std::min(day, DaysInMonth(year, month)));
}

bool EntryDay(const EntryRecord &record, bool ntfs, bool creation, int64_t &day) {
  // Modified: words C/D; created: words E/F (FAT time then date, NTFS low
  // then high half of the file time).
  const int first = creation ? 4 : 2;
  const uint32_t low = record.m_dateWords[first], high = record.m_dateWords[first + 1];
  if (high == 0) return false;
  const CivilDateTime date =
      ntfs ? FileTimeToUtc((static_cast<uint64_t>(high) << 32) | low) : FatDateTime(high, low);
  if (date.year == 0 || date.day == 0) return false;
  day = DayNumber(date.year, date.month, date.day);
  return true;
}

bool EntryMatchesFind(const FindCriteria &criteria, const EntryRecord &record, const std::u16string &name,
                      bool ntfs, int64_t today) {
  const bool named =
      std::any_of(criteria.patterns.begin(), criteria.patterns.end(),
                  [&](const auto &pattern) { return FindPatternMatches(pattern, name, criteria.matchCase); });
  if (!named) return false;
  const size_t grade = std::min<size_t>(static_cast<size_t>(record.m_grade), 4);
  if (!(record.m_deleted ? criteria.deleted : criteria.missing) || !criteria.grades[grade]) return false;
  if (criteria.sizeOn &&
      (criteria.sizeAtMost ? record.m_size > criteria.sizeLimit : record.m_size < criteria.sizeLimit))
    return false;
  if (!criteria.dateOn) return true;
  int64_t day = 0;
  if (!EntryDay(record, ntfs, criteria.creationDate, day)) return false;
  switch (criteria.dateMode) {
  case FindCriteria::DateMode::LastMonths:
    return InRange(day, MonthsBefore(today, criteria.lastCount), today);
  case FindCriteria::DateMode::LastDays:
    return InRange(day, today - criteria.lastCount, today);
  case FindCriteria::DateMode::Between:
    return InRange(day, criteria.fromDay, criteria.toDay);
  }
  return false;
}

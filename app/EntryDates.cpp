#include "EntryDates.h"

#include <cwchar>

const wchar_t kNoDateText[] = L"--------";

namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kSecondsPerDay = 86400;
// Days from 1 January 1601 to 1 March 0000 of the proleptic Gregorian
// calendar, negated: the civil-date arithmetic below counts from 1 March 0000.
constexpr int64_t kDaysFrom0000March1To1601 = 584694;

// Year, month and day of a day count since 1 March 0000 (Gregorian eras of
// 400 years, years starting in March so the leap day falls last).
void CivilFromDays(int64_t days, CivilDateTime &date) {
  const int64_t era = days / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  date.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  date.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  date.year = static_cast<int>(era * 400 + yearOfEra + (date.month <= 2 ? 1 : 0));
}

} // namespace

CivilDateTime FileTimeToUtc(uint64_t fileTime) {
  const uint64_t seconds = fileTime / kTicksPerSecond;
  const uint64_t secondOfDay = seconds % kSecondsPerDay;
  CivilDateTime date;
  CivilFromDays(static_cast<int64_t>(seconds / kSecondsPerDay) + kDaysFrom0000March1To1601, date);
  date.hour = static_cast<int>(secondOfDay / 3600);
  date.minute = static_cast<int>(secondOfDay / 60 % 60);
  date.second = static_cast<int>(secondOfDay % 60);
  return date;
}

CivilDateTime FatDateTime(uint32_t date, uint32_t time) {
  CivilDateTime result;
  result.year = static_cast<int>((date >> 9) + 1980);
  if (result.year > 9999) result.year = 0;
  result.month = static_cast<int>((date >> 5) & 0x0F);
  if (result.month == 0 || result.month > 12) result.month = 12;
  result.day = static_cast<int>(date & 0x1F);
  result.hour = static_cast<int>(time >> 11);
  if (result.hour > 23) result.hour = 0;
  result.minute = static_cast<int>((time >> 5) & 0x3F);
  if (result.minute > 60) result.minute = 0;
  result.second = static_cast<int>(2 * (time & 0x1F));
  if (result.second > 60) result.second = 0;
  return result;
}

std::wstring FatDateText(uint32_t date, uint32_t time) {
  const CivilDateTime d = FatDateTime(date, time);
  wchar_t text[64];
  swprintf(text, 64, L"%.2d-%.2d-%d %.2d:%.2d:%.2d", d.day, d.month, d.year, d.hour, d.minute, d.second);
  return text;
}

std::wstring NtfsDateText(uint64_t fileTime) {
  const CivilDateTime d = FileTimeToUtc(fileTime);
  wchar_t text[32];
  swprintf(text, 32, L"%.2d-%.2d-%d", d.day, d.month, d.year);
  return text;
}

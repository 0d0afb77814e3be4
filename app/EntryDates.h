// Calendar dates of found entries: FAT's packed date and time words and
// NTFS file times (100-nanosecond steps since 1 January 1601, UTC), and the
// texts the file list, Find and the file mask show for them.
#pragma once

#include <cstdint>
#include <string>

struct CivilDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The UTC date and time of a file time, exactly, from all 64 bits. Times
// are shown in UTC, as they are stored: the disk being searched may come
// from a machine in any time zone.
CivilDateTime FileTimeToUtc(uint64_t fileTime);

// A FAT date and time word; out-of-range fields become the nearest sane
// value (year 0 above 9999, month 12, hour, minute or second 0).
CivilDateTime FatDateTime(uint32_t date, uint32_t time);

// "dd-mm-yyyy hh:mm:ss"
std::wstring FatDateText(uint32_t date, uint32_t time);
// "dd-mm-yyyy"
std::wstring NtfsDateText(uint64_t fileTime);
// What a date column shows for an entry without a date.
extern const wchar_t kNoDateText[];

// COleDateTime: a point in time as an automation date (days since
// 30 December 1899, the fraction being the time of day) with a status, so
// "no date" and "not a date" can be told from midnight of that day.
#pragma once

#include "FrameworkCore.h"

class CArchive;

class COleDateTime {
public:
  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  COleDateTime() = default;
  COleDateTime(DATE dt) : m_dt(dt) {} // NOLINT: converts like the value it holds
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  explicit COleDateTime(const SYSTEMTIME &st);

  static COleDateTime GetCurrentTime();

  DateTimeStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeStatus status) { m_status = status; }
  // FALSE unless the value is valid and within the range of a system time.
  BOOL GetAsSystemTime(SYSTEMTIME &st) const;

  // Two valid values are equal when their days and times are; values that
  // are not valid are equal when their statuses are.
  bool operator==(const COleDateTime &other) const;
  bool operator!=(const COleDateTime &other) const { return !(*this == other); }

  DATE m_dt = 0;
  DateTimeStatus m_status = valid;
};

// Archive form: the status as a 32-bit word, then the date as a double. A
// stored status that is none of the three loads as invalid.
CArchive &operator<<(CArchive &ar, const COleDateTime &dateTime);
CArchive &operator>>(CArchive &ar, COleDateTime &dateTime);

#include "OleDateTime.h"

#include "Archive.h"

#include <oleauto.h>

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(nYear);
  st.wMonth = static_cast<WORD>(nMonth);
  st.wDay = static_cast<WORD>(nDay);
  st.wHour = static_cast<WORD>(nHour);
  st.wMinute = static_cast<WORD>(nMin);
  st.wSecond = static_cast<WORD>(nSec);
  *this = COleDateTime(st);
}

COleDateTime::COleDateTime(const SYSTEMTIME &st) {
  SYSTEMTIME copy = st;
  // The converter accepts some out-of-range fields (a 13th month rolls into
  // the next year); a date that does not round-trip was not a date.
  if (!::SystemTimeToVariantTime(&copy, &m_dt) || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
      st.wDay > 31 || st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59) {
    m_dt = 0;
    m_status = invalid;
    return;
  }
  SYSTEMTIME back = {};
  if (!::VariantTimeToSystemTime(m_dt, &back) || back.wDay != st.wDay || back.wMonth != st.wMonth) {
    m_dt = 0;
    m_status = invalid;
  }
}

COleDateTime COleDateTime::GetCurrentTime() {
  SYSTEMTIME st = {};
  ::GetLocalTime(&st);
  st.wMilliseconds = 0;
  return COleDateTime(st);
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME &st) const {
  if (m_status != valid) return FALSE;
  return ::VariantTimeToSystemTime(m_dt, &st) ? TRUE : FALSE;
}

bool COleDateTime::operator==(const COleDateTime &other) const {
  if (m_status != other.m_status) return false;
  return m_status != valid || m_dt == other.m_dt;
}

CArchive &operator<<(CArchive &ar, const COleDateTime &dateTime) {
  return ar << static_cast<LONG>(dateTime.m_status) << dateTime.m_dt;
}

CArchive &operator>>(CArchive &ar, COleDateTime &dateTime) {
  LONG lStatus = 0;
  ar >> lStatus >> dateTime.m_dt;
  dateTime.m_status = lStatus >= COleDateTime::valid && lStatus <= COleDateTime::null
                          ? static_cast<COleDateTime::DateTimeStatus>(lStatus)
                          : COleDateTime::invalid;
  return ar;
}

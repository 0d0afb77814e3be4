#include "DateTimeCtrl.h"

#include "CommonControls.h"

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

BOOL CDateTimeCtrl::Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
  return AfxCreateCommonControl(this, ICC_DATE_CLASSES, DATETIMEPICK_CLASS, 0, style | WS_CHILD, rect, parent,
                                id);
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME *time) {
  // "No date" ignores the time, but some versions of the control still
  // want one to read, so a blank one goes along.
  SYSTEMTIME blank = {};
  const SYSTEMTIME *sent = time != nullptr ? time : &blank;
  return static_cast<BOOL>(
      SendMessage(DTM_SETSYSTEMTIME, time != nullptr ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(sent)));
}

BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME *minimum, const SYSTEMTIME *maximum) {
  SYSTEMTIME range[2] = {};
  WPARAM flags = 0;
  if (minimum != nullptr) {
    range[0] = *minimum;
    flags |= GDTR_MIN;
  }
  if (maximum != nullptr) {
    range[1] = *maximum;
    flags |= GDTR_MAX;
  }
  return static_cast<BOOL>(SendMessage(DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range)));
}

DWORD CDateTimeCtrl::GetRange(LPSYSTEMTIME minimum, LPSYSTEMTIME maximum) const {
  SYSTEMTIME range[2] = {};
  DWORD flags = static_cast<DWORD>(SendMessage(DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
  if (minimum != nullptr) *minimum = range[0];
  if (maximum != nullptr) *maximum = range[1];
  return flags;
}

#include "DatePickers.h"

#include "FindCriteria.h"

#include <commctrl.h>

SYSTEMTIME PickerDate(HWND picker) {
  SYSTEMTIME chosen = {};
  if (DateTime_GetSystemtime(picker, &chosen) != GDT_VALID) ::GetLocalTime(&chosen);
  if (chosen.wYear >= 2031) chosen.wYear = 2015;
  if (chosen.wYear < 1971) chosen.wYear = 1970;
  return chosen;
}

int64_t PickerDay(HWND picker) {
  const SYSTEMTIME chosen = PickerDate(picker);
  return DayNumber(chosen.wYear, chosen.wMonth, chosen.wDay);
}

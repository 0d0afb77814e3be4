// The date and time picker common control.
#pragma once

#include "Wnd.h"

class CDateTimeCtrl : public CWnd {
  DECLARE_DYNAMIC(CDateTimeCtrl)
public:
  CDateTimeCtrl() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);

  // GDT_VALID with the time filled in, or GDT_NONE when a DTS_SHOWNONE box is cleared.
  DWORD GetTime(LPSYSTEMTIME time) const {
    return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
  }
  // NULL clears the check box of a DTS_SHOWNONE picker.
  BOOL SetTime(const SYSTEMTIME *time = nullptr);
  BOOL SetFormat(LPCTSTR format) {
    return static_cast<BOOL>(SendMessage(DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>(format)));
  }
  BOOL SetRange(const SYSTEMTIME *minimum, const SYSTEMTIME *maximum);
  DWORD GetRange(LPSYSTEMTIME minimum, LPSYSTEMTIME maximum) const;
  COLORREF SetMonthCalColor(int colorIndex, COLORREF color) {
    return static_cast<COLORREF>(SendMessage(DTM_SETMCCOLOR, colorIndex, color));
  }
  COLORREF GetMonthCalColor(int colorIndex) const {
    return static_cast<COLORREF>(SendMessage(DTM_GETMCCOLOR, colorIndex));
  }
  void SetMonthCalFont(HFONT font, BOOL redraw = TRUE) {
    SendMessage(DTM_SETMCFONT, reinterpret_cast<WPARAM>(font), redraw);
  }
};

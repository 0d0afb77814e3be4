// The up-down (spin button) common control.
#pragma once

#include "Wnd.h"

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
  CSpinButtonCtrl() = default;

  BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id);

  void SetRange(short lower, short upper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(upper, lower)); }
  void SetRange32(int lower, int upper) { SendMessage(UDM_SETRANGE32, lower, upper); }
  void GetRange(int &lower, int &upper) const { GetRange32(lower, upper); }
  void GetRange32(int &lower, int &upper) const {
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  }
  int SetPos(int pos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
  // The position; *error is TRUE when the buddy's text is not a valid number.
  int GetPos(BOOL *error = nullptr) const {
    return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
  }
  int SetPos32(int pos) { return SetPos(pos); }
  int GetPos32(BOOL *error = nullptr) const { return GetPos(error); }
  CWnd *SetBuddy(CWnd *buddy) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(
        UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy != nullptr ? buddy->GetSafeHwnd() : nullptr))));
  }
  CWnd *GetBuddy() const { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }
  int SetBase(int base) { return static_cast<int>(SendMessage(UDM_SETBASE, base)); }
  UINT GetBase() const { return static_cast<UINT>(SendMessage(UDM_GETBASE)); }
  BOOL SetAccel(int count, UDACCEL *accel) {
    return static_cast<BOOL>(SendMessage(UDM_SETACCEL, count, reinterpret_cast<LPARAM>(accel)));
  }
  UINT GetAccel(int count, UDACCEL *accel) const {
    return static_cast<UINT>(SendMessage(UDM_GETACCEL, count, reinterpret_cast<LPARAM>(accel)));
  }
};

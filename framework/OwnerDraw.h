// Owner-drawn list and combo boxes: the parent reflects the owner-draw
// messages back to the control, which hands them to these virtual functions.
#pragma once

#include "Wnd.h"

class COwnerDrawList {
public:
  virtual ~COwnerDrawList() = default;
  virtual void DrawItem(LPDRAWITEMSTRUCT) {}
  virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
  virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
  virtual void DeleteItem(LPDELETEITEMSTRUCT) {}

protected:
  // TRUE when the message was one of the four and has been handled.
  BOOL DispatchOwnerDraw(UINT message, LPARAM lParam, LRESULT *result);
};

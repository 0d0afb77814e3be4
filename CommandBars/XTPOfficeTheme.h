// CXTPOfficeTheme: the flat Office look of the command bars. For now only its
// shared static helper lives here; the docking and tab looks use it to give
// fills rounded corners.
#pragma once

#include "FrameworkCore.h"
#include "Dc.h"

class CXTPOfficeTheme {
public:
  // Takes the four corner pixels of the rectangle out of the device
  // context's clipping region, so that what is filled next keeps them.
  static void ExcludeCorners(CDC *pDC, CRect rc);
};

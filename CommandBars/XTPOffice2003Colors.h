// The fixed colours of the Office 2003 look for the three colour schemes of
// the system's visual style (blue "normalcolor", olive "homestead", silver
// "metallic"). The command-bar theme reads them; the docking and tab looks
// that follow it copy from the same table so that every part of a window
// shares one palette.
#pragma once

#include <windows.h>

// One toolkit colour index with its scheme value.
struct XTPIndexedColor {
  int nIndex;
  COLORREF clr;
};

struct XTPOffice2003SchemeColors {
  COLORREF clrDockGradientDark;
  COLORREF clrDockGradientLight;
  COLORREF clrToolbarGradientDark;
  COLORREF clrToolbarGradientLight;
  COLORREF clrOpenLight; // a control whose popup is open, top
  COLORREF clrOpenDark;  // and bottom
  COLORREF clrToolbarShadow;
  COLORREF clrCaption;
  COLORREF clrExpandDark;
  COLORREF clrExpandLight;
  COLORREF clrExpandedColumnDark;
  COLORREF clrExpandedColumnLight;
  COLORREF clrGlyphFirst;
  COLORREF clrGlyphSecond;
  COLORREF clrPaneFrame;
  COLORREF clrShadow; // popup shadows
  // The colour-table entries the scheme replaces, in the order they are set.
  XTPIndexedColor arrColors[18];
};

// The table of scheme 1 (blue), 2 (olive) or 3 (silver); null for any other
// scheme, which keeps the blends of the system colours.
const XTPOffice2003SchemeColors *XTPGetOffice2003SchemeColors(int nScheme);

// The warm gradients of hot, pressed and checked controls on docked bars,
// the same in every scheme (top then bottom).
enum : COLORREF {
  XTP_OFFICE2003_HOT_LIGHT = 0xC8F2FF,
  XTP_OFFICE2003_HOT_DARK = 0x97D4FF,
  XTP_OFFICE2003_CHECKED_LIGHT = 0x8CD5FF,
  XTP_OFFICE2003_CHECKED_DARK = 0x55ADFF,
  XTP_OFFICE2003_PUSHED_LIGHT = 0x4B8EFE,
  XTP_OFFICE2003_PUSHED_DARK = 0x8BCFFF,
};

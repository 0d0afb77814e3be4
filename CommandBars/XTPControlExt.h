// The special controls of command bars. Class records come first, so that
// a saved bar that names them loads; their behaviour comes with them later.
#pragma once

#include "XTPControlButton.h"

// A control that hosts a window of the application's (type 7).
class CXTPControlCustom : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlCustom)
public:
  CXTPControlCustom();
};

// A label: a caption without a command (type 8).
class CXTPControlLabel : public CXTPControl {
  DECLARE_SERIAL(CXTPControlLabel)
public:
  CXTPControlLabel();
};

#include "XTPControlExt.h"

IMPLEMENT_SERIAL(CXTPControlCustom, CXTPControlButton, VERSIONABLE_SCHEMA | 8)

CXTPControlCustom::CXTPControlCustom() {
  m_controlType = xtpControlCustom;
}

IMPLEMENT_SERIAL(CXTPControlLabel, CXTPControl, VERSIONABLE_SCHEMA | 8)

CXTPControlLabel::CXTPControlLabel() {
  m_controlType = xtpControlLabel;
}

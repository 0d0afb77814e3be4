#include "XTPControlComboBox.h"

IMPLEMENT_SERIAL(CXTPControlComboBox, CXTPControl, VERSIONABLE_SCHEMA | 8)

CXTPControlComboBox::CXTPControlComboBox() {
  m_controlType = xtpControlComboBox;
}

IMPLEMENT_SERIAL(CXTPControlEdit, CXTPControl, VERSIONABLE_SCHEMA | 8)

CXTPControlEdit::CXTPControlEdit() {
  m_controlType = xtpControlEdit;
}

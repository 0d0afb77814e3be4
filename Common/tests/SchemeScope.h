// Forces a colour scheme on the process's colour manager for one test and
// gives the automatic choice back when it ends.
#pragma once

#include "XTPColorManager.h"

class SchemeScope {
public:
  explicit SchemeScope(int nTheme) {
    XTPGetColorManager()->SetSystemTheme(nTheme);
    XTPGetColorManager()->RefreshColors();
  }
  ~SchemeScope() {
    XTPGetColorManager()->SetSystemTheme(xtpSystemThemeAuto);
    XTPGetColorManager()->RefreshColors();
  }
  SchemeScope(const SchemeScope &) = delete;
  SchemeScope &operator=(const SchemeScope &) = delete;
};

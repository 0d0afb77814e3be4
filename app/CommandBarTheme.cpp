#include "CommandBarTheme.h"

#include "XTPPaintManager.h"

int PaintThemeOf(ThemeSetting theme) {
  switch (theme) {
  case ThemeSetting::Office2000:
    return xtpThemeDefault;
  case ThemeSetting::OfficeXP:
    return xtpThemeOffice;
  case ThemeSetting::Office2003:
    return xtpThemeOffice2003;
  case ThemeSetting::NativeXP:
    return xtpThemeNativeWinXP;
  default:
    return -1;
  }
}

bool ApplyCommandBarTheme(ThemeSetting theme) {
  const int nTheme = PaintThemeOf(theme);
  if (nTheme < 0) return false;
  CXTPPaintManager::SetTheme(nTheme);
  XTPGetPaintManager()->GetIconsInfo()->bUseDisabledIcons = TRUE;
  return true;
}

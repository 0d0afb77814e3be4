#include "XTFlatHeaderCtrl.h"

#include "XTHeaderTheme.h"

IMPLEMENT_DYNAMIC(CXTFlatHeaderCtrl, CXTHeaderCtrl)

CXTFlatHeaderCtrl::CXTFlatHeaderCtrl() {
  SetTheme(new CXTHeaderThemeFlat);
}

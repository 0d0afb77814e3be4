// CXTFlatHeaderCtrl: the column header made with the flat theme, the header
// the toolkit's lists put over their own.
#pragma once

#include "XTHeaderCtrl.h"

class CXTFlatHeaderCtrl : public CXTHeaderCtrl {
  DECLARE_DYNAMIC(CXTFlatHeaderCtrl)
public:
  CXTFlatHeaderCtrl();
};

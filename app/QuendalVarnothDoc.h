// The program's document: it holds nothing. Results live in the views and
// the engines; there are no document files.
#pragma once

#include "Framework.h"

class CQuendalVarnothDoc : public CDocument {
  DECLARE_DYNCREATE(CQuendalVarnothDoc)
public:
  void Serialize(CArchive &) override {}
};

#include "QuendalVarnothDoc.h"

IMPLEMENT_DYNCREATE(CQuendalVarnothDoc, CDocument)

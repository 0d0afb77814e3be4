// The program's one application object.
#include "QuendalVarnoth.h"

CQuendalVarnothApp theApp;

// The smoke program's one application object.
#include "SmokeApp.h"

CSmokeApp theApp;

// The gallery's one application object.
#include "GalleryApp.h"

CGalleryApp theApp;

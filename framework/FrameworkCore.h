// The non-window part of the class layer: objects and run-time classes,
// exceptions, strings, geometry, collections, files and archives.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Object.h"
#include "CString.h"
#include "Exception.h"
#include "ModuleState.h"
#include "Geometry.h"
#include "File.h"
#include "Archive.h"
#include "Collections.h"

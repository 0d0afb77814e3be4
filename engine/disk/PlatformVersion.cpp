#include "PlatformVersion.h"

#ifndef _WIN32
// Off Windows there is no family to ask; the portable engine behaves as on a
// current NT system.
PlatformVersion CurrentPlatformVersion() {
  return PlatformVersion{2, 6, 1};
}
#endif

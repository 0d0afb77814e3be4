#include "PlatformVersion.h"

#include <windows.h>

PlatformVersion CurrentPlatformVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExW(&info)) return PlatformVersion{};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return PlatformVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

// The Windows family and version the program runs on. Paths that differ
// between the 95/98/Me family and the NT family are chosen by the platform
// id, never by the major version alone (NT 6 and later, and Wine, report
// versions the 95/98/Me family never had).
#pragma once

#include <cstdint>

struct PlatformVersion {
  uint32_t m_platformId = 2; // 1: 95/98/Me family, 2: NT family
  uint32_t m_major = 5;
  uint32_t m_minor = 1;

  bool IsWindows9x() const { return m_platformId == 1; }
  // NT 5 and later can tell which disk extents hold a volume.
  bool HasVolumeExtents() const { return m_platformId == 2 && m_major >= 5; }
  // NT 4 knows no extents and has no 95/98/Me disk services either.
  bool IsNt4() const { return m_platformId == 2 && m_major == 4; }
};

// The running system's version (Windows build); natively an NT 6.1 stand-in.
PlatformVersion CurrentPlatformVersion();

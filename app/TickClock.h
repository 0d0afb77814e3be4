// The clock the program paces its pumps and progress by.
#pragma once

#include <windows.h>

#include <cstdint>

// Milliseconds of the system's tick count. A search looks at its clock at
// every unit of work, hundreds of thousands of times: the tick count is a
// read of memory the system keeps up to date, where the performance counter
// behind the standard steady clock is a call into the system (under Wine
// about 90 ns, a fifth of what a record of the NTFS walk costs). Its steps
// of 10 to 16 ms are fine enough for pumps paced about every 15 ms.
inline uint64_t TickMilliseconds() {
  return GetTickCount64();
}

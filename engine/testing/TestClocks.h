// Fake clocks for the engines' work pacing: one that never moves, so no
// interval ever passes, and one that moves more than an interval at every
// look, so every unit of work pumps.
#pragma once

#include "WorkPacer.h"

#include <memory>

inline WorkPacer::Clock FrozenClock() {
  return [] { return uint64_t{0}; };
}

inline WorkPacer::Clock SteppingClock() {
  auto now = std::make_shared<uint64_t>(0);
  return [now] { return *now += 20; };
}

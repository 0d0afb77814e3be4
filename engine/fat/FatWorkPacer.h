// Decides when a long engine loop hands control to the message pump: before
// a unit of work, but no more often than every few milliseconds, so that a
// walk over many small units does not spend its time dispatching messages.
// The stop flag is read at every unit, so a stop takes effect just as soon.
#pragma once

#include "EngineServices.h"

#include <cstdint>
#include <functional>

class FatWorkPacer {
public:
  // Milliseconds from any fixed origin; tests give a fake one.
  using Clock = std::function<uint64_t()>;
  static constexpr uint32_t kDefaultIntervalMs = 15;

  explicit FatWorkPacer(EngineServices &services, Clock clock = {}, uint32_t intervalMs = kDefaultIntervalMs);

  // Pumps messages when the interval has passed; true when the stop flag is raised.
  bool ShouldStop();
  // Pumps at once (before a phase that cannot be interrupted).
  void PumpNow();
  bool StopRequested() const { return m_services.StopRequested(); }

  static uint64_t SteadyMilliseconds();

private:
  EngineServices &m_services;
  Clock m_clock;
  uint32_t m_intervalMs;
  uint64_t m_lastPump;
};

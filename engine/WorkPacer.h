// Decides when a long engine loop hands control to the message pump and
// shows its progress: no more often than every few milliseconds, so that a
// walk over many small units does not spend its time dispatching messages
// and redrawing the bar (under Wine each costs a round trip to the server).
// Progress steps are counted as they happen and shown in one move at each
// pump, so the bar reaches the same positions as with a step per unit. The
// stop flag is read at every unit, so a stop takes effect just as soon.
#pragma once

#include "EngineServices.h"

#include <cstdint>
#include <functional>

// Says when an interval has passed since it last said so.
class PaceInterval {
public:
  // Milliseconds from any fixed origin; tests give a fake one.
  using Clock = std::function<uint64_t()>;
  static constexpr uint32_t kDefaultIntervalMs = 15;

  // dueAtOnce: the first look is due, whatever the time.
  explicit PaceInterval(Clock clock = {}, uint32_t intervalMs = kDefaultIntervalMs, bool dueAtOnce = false);
  // True at most once per interval.
  bool Due();
  // The interval starts again from now.
  void Restart() { m_last = m_clock(); }
  // The next look is due.
  void Expire() { m_expired = true; }

  static uint64_t SteadyMilliseconds();

private:
  Clock m_clock;
  uint32_t m_intervalMs;
  uint64_t m_last;
  bool m_expired;
};

class WorkPacer {
public:
  using Clock = PaceInterval::Clock;
  static constexpr uint32_t kDefaultIntervalMs = PaceInterval::kDefaultIntervalMs;

  explicit WorkPacer(EngineServices &services, Clock clock = {}, uint32_t intervalMs = kDefaultIntervalMs);

  // Pumps messages (after showing the steps counted so far) when the
  // interval has passed; true when the stop flag is raised.
  bool ShouldStop();
  // One unit of progress, shown at the next pump or flush.
  void Step() { ++m_pendingSteps; }
  // A step, then ShouldStop(): the usual call at the top of a unit.
  bool StepAndShouldStop() {
    Step();
    return ShouldStop();
  }
  // Shows the steps not yet shown (before a bar goes or a phase ends).
  void FlushProgress();
  // Pumps at once (before a phase that cannot be interrupted).
  void PumpNow();
  bool StopRequested() const { return m_services.StopRequested(); }

private:
  EngineServices &m_services;
  PaceInterval m_interval;
  uint32_t m_pendingSteps = 0;
};

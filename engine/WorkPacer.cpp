#include "WorkPacer.h"

#include <chrono>

PaceInterval::PaceInterval(Clock clock, uint32_t intervalMs, bool dueAtOnce)
    : m_clock(clock ? std::move(clock) : Clock(&PaceInterval::SteadyMilliseconds)), m_intervalMs(intervalMs),
      m_last(m_clock()), m_expired(dueAtOnce) {}

uint64_t PaceInterval::SteadyMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool PaceInterval::Due() {
  const uint64_t now = m_clock();
  if (!m_expired && now - m_last < m_intervalMs) return false;
  m_expired = false;
  m_last = now;
  return true;
}

WorkPacer::WorkPacer(EngineServices &services, Clock clock, uint32_t intervalMs)
    : m_services(services), m_interval(std::move(clock), intervalMs) {}

bool WorkPacer::ShouldStop() {
  if (m_interval.Due()) {
    FlushProgress();
    m_services.PumpMessages();
  }
  return m_services.StopRequested();
}

void WorkPacer::FlushProgress() {
  if (m_pendingSteps == 0) return;
  m_services.StepProgressBy(m_pendingSteps);
  m_pendingSteps = 0;
}

void WorkPacer::PumpNow() {
  FlushProgress();
  m_services.PumpMessages();
  m_interval.Restart();
}

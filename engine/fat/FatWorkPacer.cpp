#include "FatWorkPacer.h"

#include <chrono>

FatWorkPacer::FatWorkPacer(EngineServices &services, Clock clock, uint32_t intervalMs)
    : m_services(services), m_clock(clock ? std::move(clock) : Clock(&FatWorkPacer::SteadyMilliseconds)),
      m_intervalMs(intervalMs), m_lastPump(m_clock()) {}

uint64_t FatWorkPacer::SteadyMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool FatWorkPacer::ShouldStop() {
  const uint64_t now = m_clock();
  if (now - m_lastPump >= m_intervalMs) {
    m_services.PumpMessages();
    m_lastPump = now;
  }
  return m_services.StopRequested();
}

void FatWorkPacer::PumpNow() {
  m_services.PumpMessages();
  m_lastPump = m_clock();
}

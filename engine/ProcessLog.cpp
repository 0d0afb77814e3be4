#include "ProcessLog.h"

#include "EngineText.h"

namespace {

std::u16string TimeText(EngineServices &services, uint32_t id) {
  return services.LoadText(id) + u" " + services.CurrentTimeText();
}

} // namespace

void LogProcessStarted(EngineServices &services, const std::u16string &activity) {
  services.AddLogEntry(activity, services.LoadText(EngineText::kProcessStarted),
                       TimeText(services, EngineText::kStartedOn), LogStatus::Started);
}

void LogProcessEnded(EngineServices &services, bool aborted) {
  if (aborted)
    services.AddLogEntry(std::nullopt, services.LoadText(EngineText::kProcessAborted),
                         TimeText(services, EngineText::kAbortedOn), LogStatus::Error);
  else
    services.AddLogEntry(std::nullopt, services.LoadText(EngineText::kProcessCompleted),
                         TimeText(services, EngineText::kCompletedOn), LogStatus::Completed);
}

void LogProcessIncomplete(EngineServices &services) {
  services.AddLogEntry(std::nullopt, services.LoadText(EngineText::kProcessIncomplete),
                       TimeText(services, EngineText::kEndedOn), LogStatus::Error);
}

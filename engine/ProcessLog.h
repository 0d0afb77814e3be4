// The log rows that open and close each process of a search, a load or a
// save, with the time the application's clock gives.
#pragma once

#include "EngineServices.h"

#include <string>

// "Process started" under the activity, with "Started on <time>".
void LogProcessStarted(EngineServices &services, const std::u16string &activity);
// "Process completed" with "Completed on <time>", or after a stop "Process
// aborted - user intervention" with "Aborted on <time>" and the error status.
void LogProcessEnded(EngineServices &services, bool aborted);
// "Process incomplete - damaged scan file" with "Ended on <time>": a load that
// could read only the start of its file.
void LogProcessIncomplete(EngineServices &services);

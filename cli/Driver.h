#pragma once
// One run of QuorvelCL from its command line to its end. Returns the process
// exit status: 0 when an export or import ran without a failure line, else 1.
#include <string_view>

#include "cli/Clock.h"
#include "cli/RunLog.h"
#include "essbase/EssbaseApi.h"

namespace cli {

int RunDriver(essbase::EssbaseApi& api, LogSink& log, Clock& clock, std::string_view commandLine);

}  // namespace cli

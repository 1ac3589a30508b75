#pragma once
// -t export: every filter of one database into a filter file.
#include <string>

#include "cli/RunState.h"

namespace cli {

// True when every call succeeded and the file was written whole; every
// failure has written its run-log line.
bool BatchExport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database);

}  // namespace cli

#pragma once
// -t import: a filter file's filters defined in one database.
#include <string>

#include "cli/RunState.h"

namespace cli {

// True when every call succeeded and the file was read whole; every failure
// has written its run-log line.
bool BatchImport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database);

}  // namespace cli

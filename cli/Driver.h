#pragma once
// One run of QuorvelCL from its command line to its end. Returns the process
// exit status: 0 when an export, import, restore or diff ran without a
// failure line, DiffersExitStatus when a diff found differences, else 1.
#include <string_view>

#include "cli/Clock.h"
#include "cli/RunLog.h"
#include "essbase/ConnectionState.h"
#include "essbase/Server.h"
#include "essbase/library/EssbaseApi.h"

namespace cli {

// A scheduler can tell drift (2) from a failed run (1).
inline constexpr int DiffersExitStatus = 2;

// Over the backend main chose by -s; `conn` is the record the backend keeps
// its login in.
int RunDriver(essbase::Server& server, essbase::ConnectionState& conn, LogSink& log, Clock& clock,
              std::string_view commandLine);
// Over the client library.
int RunDriver(essbase::EssbaseApi& api, LogSink& log, Clock& clock, std::string_view commandLine);

}  // namespace cli

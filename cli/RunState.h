#pragma once
// The state of one QuorvelCL run, shared by the driver and the batch procedures
// (BatchExport.h, BatchImport.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/Messages.h"
#include "cli/RunLog.h"
#include "essbase/library/DefinitionGuard.h"
#include "essbase/library/EssbaseApi.h"

namespace cli {

struct RunState {
  RunState(essbase::EssbaseApi& a, LogSink& l) : api(a), log(l) {}
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  essbase::EssbaseApi& api;
  LogSink& log;
  essbase::Handle instance = 0;
  essbase::Handle context = 0;
  int16_t itemCount = 0;
  int32_t lastStatus = 0;
  bool logFailed = false;  // a line could not be written
  // The login's credentials, for the guard's login again.
  std::string server;
  std::string user;
  std::string password;
  // A run is one login, but a definition one step leaves open must not be
  // committed by the next step's closing call either.
  essbase::DefinitionGuard definitions{[this] { return LogInAgain(); }};

  void Log(std::string_view line) {
    if (!log.WriteLine(line)) logFailed = true;
  }
  // After a failure's line: what the server said of the failed call (an
  // answer over REST carries the HTTP status and the server's message; the
  // client library tells nothing more).
  void LogServerText(essbase::Handle handle) {
    if (const std::string text = api.FailureText(handle); !text.empty())
      Log(std::string(msg::ServerSaid) + text);
  }

 private:
  int32_t LogInAgain() {
    api.EsbLogout(context);
    lastStatus =
        api.EsbLogin(instance, server.c_str(), user.c_str(), password.c_str(), itemCount, context);
    return lastStatus;
  }
};

// Passed-over lines of an import logged one by one; the rest are counted.
constexpr uint64_t LoggedPassedOverLines = 100;

}  // namespace cli

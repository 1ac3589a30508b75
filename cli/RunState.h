#pragma once
// The state of one QuorvelCL run, shared by the driver and the batch procedures
// (BatchExport.h, BatchImport.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/LogText.h"
#include "cli/Messages.h"
#include "cli/RunLog.h"
#include "essbase/Session.h"

namespace cli {

struct RunState {
  RunState(essbase::Session& s, LogSink& l) : session(s), log(l) {}
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  essbase::Session& session;
  LogSink& log;
  bool logFailed = false;  // a line could not be written

  essbase::Server& server() { return session.server(); }

  void Log(std::string_view line) {
    if (!log.WriteLine(line)) logFailed = true;
  }
  // After a failure's line: what the server said of the failed step, and the
  // client's own words for what went wrong (over REST; the client library
  // tells nothing more than the status).
  void LogFailure(const essbase::Failure& failure) {
    if (!failure.serverText.empty()) Log(std::string(msg::ServerSaid) + Text(failure.serverText));
    if (!failure.detail.empty()) Log(std::string(msg::WhatWentWrong) + Text(failure.detail));
  }
};

// Passed-over lines of an import logged one by one; the rest are counted.
constexpr uint64_t LoggedPassedOverLines = 100;

}  // namespace cli

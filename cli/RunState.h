#pragma once
// The state of one QuorvelCL run, shared by the driver and the batch procedures.
#include <cstdint>
#include <string>
#include <string_view>

#include "EssbaseApi.h"
#include "RunLog.h"

namespace cli {

struct RunState {
  RunState(essbase::EssbaseApi& a, LogSink& l) : api(a), log(l) {}

  essbase::EssbaseApi& api;
  LogSink& log;
  essbase::Handle instance = 0;
  essbase::Handle context = 0;
  int16_t itemCount = 0;
  int32_t lastStatus = 0;
  bool logFailed = false;  // a line could not be written

  void Log(std::string_view line) {
    if (!log.WriteLine(line)) logFailed = true;
  }
};

// Passed-over lines of an import logged one by one; the rest are counted.
constexpr uint64_t LoggedPassedOverLines = 100;

// Each returns true when every call succeeded and the file was read or
// written whole; every failure has written its run-log line.
bool BatchExport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database);
bool BatchImport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database);

}  // namespace cli

#pragma once
// The state of one QuorvelCL run, shared by the driver and the batch procedures
// (BatchExport.h, BatchImport.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/RunLog.h"
#include "essbase/EssbaseApi.h"

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

}  // namespace cli

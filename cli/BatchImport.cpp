#include "cli/BatchImport.h"

#include <fstream>

#include "cli/Messages.h"
#include "cli/RunState.h"
#include "filterfile/ApiFilterSink.h"
#include "filterfile/FilterFileReader.h"

namespace cli {

bool BatchImport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    state.Log(std::string(msg::ImportFileNotOpened) + file);
    return false;
  }
  filterfile::CallHooks hooks;
  hooks.onStatus = [&](int32_t status) { state.lastStatus = status; };
  hooks.onFailure = [&](filterfile::ServerCall, int32_t) {
    state.Log(msg::ImportFailed);
    return filterfile::AfterFailure::GoOn;
  };
  filterfile::ApiFilterSink sink(
      state.api, state.context, application, database, hooks, [&](uint64_t line) {
        state.Log(std::string(msg::LinePassedOverStart) + std::to_string(line) +
                  std::string(msg::LinePassedOverEnd));
      });
  if (filterfile::ReadFilterFile(in, sink) == filterfile::ReadOutcome::ReadError) {
    state.Log(std::string(msg::ImportFileNotRead) + file);
    return false;
  }
  return sink.ok();
}

}  // namespace cli

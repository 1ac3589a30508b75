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
  hooks.definitions = &state.definitions;
  hooks.onFailure = [&](filterfile::ServerCall, int32_t) {
    state.Log(msg::ImportFailed);
    state.LogServerText(state.context);
    return filterfile::AfterFailure::GoOn;
  };
  filterfile::ImportWatch watch;
  // An unattended run pointed at a binary file must not fill the disk with its log.
  uint64_t logged = 0;
  watch.passedOver = [&](uint64_t line) {
    if (logged == LoggedPassedOverLines) return;
    ++logged;
    state.Log(std::string(msg::LinePassedOverStart) + std::to_string(line) +
              std::string(msg::LinePassedOverEnd));
  };
  watch.leftUnchanged = [&](std::string_view filter) {
    state.Log(std::string(msg::FilterLeftUnchangedStart) + std::string(filter) +
              std::string(msg::FilterLeftUnchangedEnd));
  };
  filterfile::ApiFilterSink sink(state.api, state.context, application, database, hooks, watch);
  uint64_t stoppedAt = 0;
  const filterfile::ReadOutcome outcome = filterfile::ReadFilterFile(in, sink, &stoppedAt);
  if (sink.passedOverCount() > logged)
    state.Log(std::to_string(sink.passedOverCount() - logged) +
              std::string(msg::MoreLinesPassedOver));
  if (outcome == filterfile::ReadOutcome::ReadError) {
    state.Log(std::string(msg::ImportFileNotRead) + file);
    return false;
  }
  if (outcome == filterfile::ReadOutcome::LineTooLong) {
    state.Log(std::string(msg::ImportStopped) + msg::ImportLineTooLong(stoppedAt) + ": " + file);
    return false;
  }
  // A passed-over line is a failure of the run: some row of the file did not get in.
  return sink.ok();
}

}  // namespace cli

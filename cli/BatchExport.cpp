#include "cli/BatchExport.h"

#include "cli/Messages.h"
#include "cli/RunState.h"
#include "filterfile/ExportFile.h"

namespace cli {

bool BatchExport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database) {
  filterfile::ExportFile out;
  if (!out.Open(file, filterfile::ExportFile::Mode::Create)) {
    state.Log(std::string(msg::ExportFileNotCreated) + file);
    return false;
  }
  essbase::ReadOptions options;
  options.rowBuffer = essbase::CommandLineRowBuffer;
  // An ended login is no reason to log in again here: it fails like any
  // other status.
  auto policed = state.session.Under(essbase::policy::None());
  const essbase::Failure failed =
      state.server().ReadDatabase({application, database}, nullptr, options, out.records());
  const bool closed = out.Close();
  if (failed) {
    state.Log(msg::ExportFailed);
    state.LogFailure(failed);
    return false;
  }
  if (!closed) {
    state.Log(std::string(msg::ExportFileNotWritten) + file);
    return false;
  }
  return true;
}

}  // namespace cli

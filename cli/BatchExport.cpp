#include "cli/BatchExport.h"

#include <fstream>
#include <vector>

#include "cli/Messages.h"
#include "cli/RunState.h"
#include "filterfile/RecordWriter.h"

namespace cli {

bool BatchExport(RunState& state, const std::string& file, const std::string& application,
                 const std::string& database) {
  std::vector<char> buffer(256 * 1024);
  std::ofstream out;
  out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  out.open(file, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) {
    state.Log(std::string(msg::ExportFileNotCreated) + file);
    return false;
  }
  essbase::ReadOptions options;
  options.rowBuffer = essbase::CommandLineRowBuffer;
  filterfile::RecordWriter records(out);
  // An ended login is no reason to log in again here: it fails like any
  // other status.
  auto policed = state.session.Under(essbase::policy::None());
  const essbase::Failure failed =
      state.server().ReadDatabase({application, database}, nullptr, options, records);
  out.close();
  if (records.result() == filterfile::RecordWriter::Result::NotEncodable) {
    state.Log(std::string(msg::ExportFileNotWritten) + file + ": " + Text(records.unheld()) +
              std::string(msg::NotHeldByFile));
    return false;
  }
  if (failed) {
    state.Log(msg::ExportFailed);
    state.LogFailure(failed);
    return false;
  }
  if (records.result() != filterfile::RecordWriter::Result::Written || out.fail()) {
    state.Log(std::string(msg::ExportFileNotWritten) + file);
    return false;
  }
  return true;
}

}  // namespace cli

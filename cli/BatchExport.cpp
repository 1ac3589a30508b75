#include "cli/BatchExport.h"

#include <fstream>
#include <vector>

#include "cli/Messages.h"
#include "cli/RunState.h"
#include "filterfile/RecordProducer.h"

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
  filterfile::ProducerOptions options;
  options.rowBuffer = essbase::CommandLineRowBuffer;
  options.hooks.onStatus = [&](int32_t status) { state.lastStatus = status; };
  // 1051021 is no reason to log in again here: it fails like any other status.
  auto outcome =
      filterfile::ProduceRecords(state.api, state.context, application, database, out, options);
  out.close();
  if (outcome == filterfile::ProduceOutcome::ServerFailure) {
    state.Log(msg::ExportFailed);
    state.LogServerText(state.context);
    return false;
  }
  if (outcome == filterfile::ProduceOutcome::WriteFailure || out.fail()) {
    state.Log(std::string(msg::ExportFileNotWritten) + file);
    return false;
  }
  return true;
}

}  // namespace cli

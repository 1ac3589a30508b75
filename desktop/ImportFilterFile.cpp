#include "desktop/ImportFilterFile.h"

#include <fstream>

#include "desktop/ReloginHooks.h"
#include "filterfile/ApiFilterSink.h"
#include "filterfile/FilterFileReader.h"

namespace desktop {

ImportOutcome ImportFilterFile(essbase::Session& session, const std::string& file,
                               const SelectedDatabase& target) {
  ImportOutcome outcome;
  session.conn().Access = essbase::FilterAccess;
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    outcome.ok = outcome.fileOpened = false;
    return outcome;
  }
  filterfile::CallHooks hooks = ReloginHooks(session, RowCallsOnly);
  hooks.onFailure = [&session, &outcome, relogin = std::move(hooks.onFailure)](
                        filterfile::ServerCall call, int32_t status) {
    if (outcome.serverSaid.empty())
      outcome.serverSaid = session.api().FailureText(session.context());
    return relogin(call, status);
  };
  filterfile::ApiFilterSink sink(session.api(), session.conn().ContextHandle, target.application,
                                 target.database, std::move(hooks));
  uint64_t stoppedAt = 0;
  const filterfile::ReadOutcome read = filterfile::ReadFilterFile(in, sink, &stoppedAt);
  outcome.readToEnd = read == filterfile::ReadOutcome::Complete;
  if (read == filterfile::ReadOutcome::LineTooLong) outcome.tooLongLine = stoppedAt;
  outcome.passedOver = sink.passedOverCount();
  outcome.firstPassedOver = sink.firstPassedOver();
  outcome.imported = sink.committedCount();
  outcome.ok = sink.ok() && outcome.readToEnd;
  return outcome;
}

}  // namespace desktop

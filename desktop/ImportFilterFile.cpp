#include "desktop/ImportFilterFile.h"

#include <fstream>

#include "filterfile/FilterFileReader.h"
#include "filterfile/ImportWriter.h"

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
  auto policed = session.Under(essbase::policy::ImportRows());
  filterfile::ImportReport quiet;
  filterfile::ImportWriter writer(session.server(), {target.application, target.database}, quiet);
  uint64_t stoppedAt = 0;
  const filterfile::ReadOutcome read = filterfile::ReadFilterFile(in, writer, &stoppedAt);
  writer.Finish();
  outcome.readToEnd = read == filterfile::ReadOutcome::Complete;
  if (read == filterfile::ReadOutcome::LineTooLong) outcome.tooLongLine = stoppedAt;
  outcome.passedOver = writer.passedOverCount();
  outcome.firstPassedOver = writer.firstPassedOver();
  outcome.imported = writer.committed();
  outcome.unknown = writer.unknown();
  outcome.notSent = writer.skipped();
  outcome.failure = writer.firstFailure();
  outcome.ok = writer.ok() && outcome.readToEnd;
  return outcome;
}

}  // namespace desktop

#include "desktop/ExportFilterFile.h"

#include <cerrno>
#include <fstream>
#include <vector>

#include "desktop/FileDialogSetup.h"
#include "desktop/ReloginHooks.h"
#include "filterfile/RecordProducer.h"

namespace desktop {

ExportOutcome ExportFilterFile(essbase::Session& session, const std::string& file,
                               const SelectedDatabase& db, bool append,
                               const std::function<bool(std::string_view)>& selected) {
  using Result = ExportOutcome::Result;
  std::vector<char> buffer(256 * 1024);
  std::ofstream out;
  out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  errno = 0;
  // Opening for reading too is what keeps an append from creating the file.
  out.open(file, append ? std::ios::binary | std::ios::in | std::ios::out | std::ios::ate
                        : std::ios::binary | std::ios::out | std::ios::trunc);
  if (!out.is_open()) return {Result::FileNotOpened, SystemReason(errno)};

  filterfile::ProducerOptions options;
  options.rowBuffer = essbase::DesktopRowBuffer;
  options.selected = selected;
  options.hooks = ReloginHooks(session, [](filterfile::ServerCall call) {
    return call.operation == essbase::Operation::EsbListFilters;
  });
  errno = 0;
  const filterfile::ProduceOutcome produced = filterfile::ProduceRecords(
      session.api(), session.conn().ContextHandle, db.application, db.database, out, options);
  const int writeError = errno;
  errno = 0;
  out.close();  // flushes: a full disk may only show here
  const int closeError = errno;
  if (produced == filterfile::ProduceOutcome::WriteFailure)
    return {Result::FileNotWritten, SystemReason(writeError)};
  if (out.fail()) return {Result::FileNotWritten, SystemReason(closeError)};
  if (produced == filterfile::ProduceOutcome::ServerFailure) return {Result::ServerFailure, {}};
  return {};
}

}  // namespace desktop

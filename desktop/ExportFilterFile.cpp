#include "desktop/ExportFilterFile.h"

#include <cerrno>
#include <fstream>
#include <vector>

#include "desktop/FileDialogSetup.h"
#include "filterfile/RecordWriter.h"

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
  if (!out.is_open()) return {Result::FileNotOpened, SystemReason(errno), {}};

  essbase::ReadOptions options;
  options.rowBuffer = essbase::DesktopRowBuffer;
  options.readUnwanted = true;
  filterfile::RecordWriter records(out);
  essbase::Failure failed;
  {
    auto policed = session.Under(essbase::policy::Listing());
    errno = 0;
    failed = session.server().ReadDatabase({db.application, db.database}, selected, options,
                                           records);
  }
  const int writeError = errno;
  errno = 0;
  out.close();  // flushes: a full disk may only show here
  const int closeError = errno;
  using Written = filterfile::RecordWriter::Result;
  if (records.result() == Written::NotEncodable)
    return {Result::FileNotWritten, records.unheld() + " has a character this file cannot hold", {}};
  if (records.result() == Written::StreamFailed)
    return {Result::FileNotWritten, SystemReason(writeError), {}};
  if (out.fail()) return {Result::FileNotWritten, SystemReason(closeError), {}};
  if (failed) return {Result::ServerFailure, {}, failed};
  return {};
}

}  // namespace desktop

#include "desktop/ExportFilterFile.h"

#include "desktop/FileDialogSetup.h"
#include "filterfile/ExportFile.h"

namespace desktop {

ExportOutcome ExportFilterFile(essbase::Session& session, const std::string& file,
                               const SelectedDatabase& db, bool append,
                               const std::function<bool(std::string_view)>& selected) {
  using Result = ExportOutcome::Result;
  filterfile::ExportFile out;
  if (!out.Open(file, append ? filterfile::ExportFile::Mode::Append
                             : filterfile::ExportFile::Mode::Create))
    return {Result::FileNotOpened, SystemReason(out.error()), {}};

  essbase::ReadOptions options;
  options.rowBuffer = essbase::DesktopRowBuffer;
  options.readUnwanted = true;
  essbase::Failure failed;
  {
    auto policed = session.Under(essbase::policy::Listing());
    failed = session.server().ReadDatabase({db.application, db.database}, selected, options,
                                           out.records());
  }
  const filterfile::RecordWriter::Result written = out.records().result();
  if (!out.Close()) {
    if (out.error() != 0) return {Result::FileNotWritten, SystemReason(out.error()), {}};
    if (written == filterfile::RecordWriter::Result::NotEncodable)
      return {Result::FileNotWritten, out.records().unheld() + " cannot be written", {}};
    return {Result::FileNotWritten, SystemReason(0), {}};
  }
  if (failed) return {Result::ServerFailure, {}, failed};
  return {};
}

}  // namespace desktop

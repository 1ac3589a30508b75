#pragma once
// Writing the chosen filters of one database to a filter export file, with
// the desktop's row buffer.
#include <functional>
#include <string>
#include <string_view>

#include "desktop/Selection.h"
#include "essbase/Session.h"

namespace desktop {

struct ExportOutcome {
  enum class Result {
    Written,
    // The file could not be created (append false) or opened for appending
    // (append true, never created then): no server call was made.
    FileNotOpened,
    // A server step failed; the records written before it stay in the file.
    ServerFailure,
    FileNotWritten,
  };
  Result result = Result::Written;
  std::string reason;        // the system's words for a file failure
  essbase::Failure failure;  // with ServerFailure
  bool ok() const { return result == Result::Written; }
};

// append false creates the file, replacing one that exists; append true adds
// to the end of an existing one. Only the listing is made again after a new
// login when the server ended the login. `selected` says whether a filter's
// rows are written; the client library's path reads the others too.
ExportOutcome ExportFilterFile(essbase::Session& session, const std::string& file,
                               const SelectedDatabase& db, bool append,
                               const std::function<bool(std::string_view filter)>& selected);

}  // namespace desktop

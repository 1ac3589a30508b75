#pragma once
// Writes the row records of one database's filters, in listing order, each
// filter's rows in the server's order. Stops at the first call that fails for
// good; the records written before it stay in the stream.
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "essbase/library/EssbaseApi.h"
#include "filterfile/ServerCall.h"

namespace filterfile {

struct ProducerOptions {
  // Row buffer handed to EsbGetFilterRow (desktop 3000, command line 512).
  int rowBuffer = essbase::DesktopRowBuffer;
  // Whether a filter's rows are written; unset: every filter.
  std::function<bool(std::string_view filter)> selected;
  // Whether a filter that is not selected is read all the same (Export reads
  // every listed filter); false: it is not opened at all, so that one that
  // cannot be read stops nobody who does not want it.
  bool readUnselected = true;
  // Told of each selected filter once its rows are written: its own active
  // flag and access (from EsbGetFilter) and how many rows it has.
  std::function<void(std::string_view filter, int16_t active, int16_t access, uint64_t rows)>
      onFilter;
  CallHooks hooks;
};

enum class ProduceOutcome { Complete, ServerFailure, WriteFailure };

// `context` is read at every call, so a hook that logs in again can renew it.
// Rows are read whole (essbase::ReadFilterRow): one longer than rowBuffer is
// read again with a buffer of the server's row maximum; a row that still does
// not fit, or arrives without its NUL, is never cut: it is a failed
// EsbGetFilterRow with ESB_STS_BUFFER_TOO_SMALL.
ProduceOutcome ProduceRecords(essbase::EssbaseApi& api, const essbase::Handle& context,
                              const std::string& application, const std::string& database,
                              std::ostream& out, const ProducerOptions& options);

}  // namespace filterfile

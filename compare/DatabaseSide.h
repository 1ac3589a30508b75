#pragma once
// The current side read from a database on the server: the record producer
// (the same calls as Export: one listing, then each filter's rows) writes
// one filter's records into a buffer, the ordinary reader reads them back,
// and the comparison takes the filter before the next one is read.
#include <cstdint>
#include <string>

#include "compare/Comparison.h"
#include "essbase/library/EssbaseApi.h"
#include "filterfile/ServerCall.h"

namespace compare {

enum class CompareEnd {
  Compared,
  FileUnreadable,  // the incoming records could not be read to their end
  ServerFailure,   // a call failed for good (its status went to the hooks)
  SpillFailed,     // the temporary file failed (IncomingSet::spillError)
};

struct CompareOutcome {
  CompareEnd end = CompareEnd::Compared;
  Tally tally;
  // Lines of the incoming records that are no row records: how many, and
  // the number of the first.
  uint64_t passedOver = 0;
  uint64_t firstPassedOver = 0;
  int spillError = 0;  // errno, with SpillFailed
  bool ok() const { return end == CompareEnd::Compared; }
};

struct ServerRead {
  int rowBuffer = essbase::DesktopRowBuffer;
  filterfile::CallHooks hooks;
};

// Streams the database's filters into `comparison` and finishes it.
// `context` is read at every call, so a hook that logs in again can renew it.
CompareEnd CompareWithDatabase(essbase::EssbaseApi& api, const essbase::Handle& context,
                               const std::string& application, const std::string& database,
                               const ServerRead& read, Comparison& comparison);

}  // namespace compare

#pragma once
// The current side read from a database on the server: each filter, read
// whole, is compared with the incoming definition of its name as it comes,
// and let go before the next one.
#include <cstdint>
#include <string>

#include "compare/Comparison.h"
#include "essbase/Server.h"

namespace compare {

enum class CompareEnd {
  Compared,
  FileUnreadable,  // the incoming records could not be read to their end
  ServerFailure,   // a step failed for good (failure says how)
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
  essbase::Failure failure;  // with ServerFailure
  bool ok() const { return end == CompareEnd::Compared; }
};

struct ServerRead {
  size_t rowBuffer = essbase::DesktopRowBuffer;
};

// Streams the database's filters into `comparison` and finishes it. Logging
// in again follows the caller's session policy.
CompareEnd CompareWithDatabase(essbase::Server& server, const essbase::Database& db,
                               const ServerRead& read, Comparison& comparison,
                               essbase::Failure& failure);

}  // namespace compare

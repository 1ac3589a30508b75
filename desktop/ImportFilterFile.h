#pragma once
// Reading a filter export file into one database on the server.
#include <cstdint>
#include <string>

#include "desktop/Selection.h"
#include "essbase/Session.h"

namespace desktop {

struct ImportOutcome {
  // Every server call succeeded, the file was read to its end and every
  // line was a row record.
  bool ok = true;
  bool fileOpened = true;
  bool readToEnd = true;
  // Lines that are not row records: how many, and the number of the first.
  uint64_t passedOver = 0;
  uint64_t firstPassedOver = 0;
  // Filters the server committed.
  uint64_t imported = 0;
  // A line longer than any record stopped the reading here (0: none).
  uint64_t tooLongLine = 0;
  // Filters whose write got no answer (the server may hold them), and ones
  // never sent because the server stopped answering.
  uint64_t unknown = 0;
  uint64_t notSent = 0;
  // The first step that failed.
  essbase::Failure failure;
};

// Every record goes into `target`, whatever the file's own first two fields
// say, each filter written whole. A failed write never stops the reading;
// when the server ended the login, only the adding of a row (over REST the
// filter's write) is made again after a new login. A filter with a failed or
// passed-over row is left at its previous definition. A file that cannot be
// opened makes no server call.
ImportOutcome ImportFilterFile(essbase::Session& session, const std::string& file,
                               const SelectedDatabase& target);

}  // namespace desktop

#include "compare/CompareFile.h"

namespace compare {

CompareOutcome CompareFileWithDatabase(essbase::Server& server, std::istream& file,
                                       const essbase::Database& db, const ServerRead& read,
                                       DifferenceSink& out) {
  CompareOutcome outcome;
  IncomingSet incoming;
  // Nothing is read from the server for a file that cannot be read whole.
  const bool whole =
      filterfile::ReadFilterFile(file, incoming) == filterfile::ReadOutcome::Complete;
  outcome.passedOver = incoming.passedOver();
  outcome.firstPassedOver = incoming.firstPassedOver();
  if (!whole) {
    outcome.end = CompareEnd::FileUnreadable;
    return outcome;
  }
  Comparison comparison(incoming, out, Scope::WholeDatabase);
  outcome.end = incoming.spillError() != 0
                    ? CompareEnd::SpillFailed
                    : CompareWithDatabase(server, db, read, comparison, outcome.failure);
  outcome.tally = comparison.tally();
  outcome.spillError = incoming.spillError();
  return outcome;
}

}  // namespace compare

#pragma once
// The comparison engine: the incoming side is read first into its index
// (IncomingSet); then the current side streams past, one filter at a time,
// and each is compared with the incoming definition of its name as it
// comes. What is held at any moment: the index, one current filter, the
// same filter's incoming rows, and the diff of the two; so memory grows with
// the largest filter, not with the number of filters or rows.
#include "compare/Difference.h"
#include "compare/IncomingSet.h"

namespace compare {

// Whether the incoming side stands for a whole database (an export file:
// a current filter it does not name is reported as only current) or only for
// the filters it names (a backup: the rest of the database is not its
// concern and is not reported).
enum class Scope { WholeDatabase, NamedFilters };

class Comparison {
 public:
  Comparison(IncomingSet& incoming, DifferenceSink& out, Scope scope)
      : incoming_(incoming), out_(out), scope_(scope) {}

  // One filter of the current side; each name once. False when the
  // incoming rows could not be read back.
  bool Current(const FilterDefinition& filter);
  // The incoming filters no current one matched, in their first order.
  bool Finish();

  const Tally& tally() const { return tally_; }

 private:
  void Report(FilterDifference& difference);

  IncomingSet& incoming_;
  DifferenceSink& out_;
  Scope scope_;
  Tally tally_;
  // The incoming rows of the filter at hand.
  std::vector<char> bytes_;
  std::vector<Row> rows_;
};

}  // namespace compare

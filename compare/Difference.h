#pragma once
// What the comparison says of each filter, and the count of each verdict.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compare/Definition.h"
#include "compare/RowDiff.h"

namespace compare {

// The two sides: `current` is what the database holds, `incoming` what a
// write (an import of a file, a restore of a backup) would put in its place.
enum class Verdict {
  Same,
  Changed,      // on both sides, its values or rows differ: a write replaces it
  Created,      // only incoming: a write creates it
  OnlyCurrent,  // only current, and no write touches it
  Deleted,      // current, and incoming names it for deletion
  Unreadable,   // incoming names it, but lost a row of every definition of it
};

struct FilterDifference {
  std::string name;  // as the server writes it (no trailing blanks)
  Verdict verdict = Verdict::Same;
  // Each side's values and number of rows, where the side has the filter.
  std::optional<FilterValues> current, incoming;
  uint64_t currentRows = 0;
  uint64_t incomingRows = 0;
  // Changed: the row edits; Created: every row, added.
  std::vector<RowEdit> rows;
  // The incoming side lost a row of a later definition of the name: a write
  // leaves that one out and puts in the one compared here.
  bool laterDefinitionLost = false;
};

class DifferenceSink {
 public:
  virtual ~DifferenceSink() = default;
  virtual void Filter(const FilterDifference& difference) = 0;
};

struct Tally {
  uint64_t same = 0;
  uint64_t changed = 0;
  uint64_t created = 0;
  uint64_t onlyCurrent = 0;
  uint64_t deleted = 0;
  uint64_t unreadable = 0;
  void Count(Verdict verdict);
  Tally& operator+=(const Tally& other);
  // Whether any filter is not the same on both sides.
  bool differs() const { return changed + created + onlyCurrent + deleted + unreadable > 0; }
  bool operator==(const Tally&) const = default;
};

}  // namespace compare

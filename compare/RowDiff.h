#pragma once
// The row differences of two definitions of one filter, in row order. Rows
// are matched by text along a longest common subsequence (Myers' O(ND)
// difference in linear space), so one inserted row is one edit and not a
// change of every row after it; a matched row whose access differs is an
// access change. A pair of very long and very different filters may be given
// a longer script than the shortest once the work passes a budget: every
// script still turns one side into the other.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "compare/Definition.h"

namespace compare {

enum class RowChange { Added, Removed, AccessChanged };

struct RowEdit {
  RowChange change = RowChange::Added;
  std::string text;
  int16_t before = 0;  // Removed, AccessChanged: the access now
  int16_t after = 0;   // Added, AccessChanged: the access it would get
  bool operator==(const RowEdit&) const = default;
};

// The edits that turn `current` into `incoming`; a removed row comes before
// the rows added in its place.
std::vector<RowEdit> DiffRows(std::span<const Row> current, std::span<const Row> incoming);

// Comparisons of rows the diff may make before it settles for a longer
// script in a part that still differs.
inline constexpr uint64_t DiffWorkBudget = 100'000'000;

}  // namespace compare

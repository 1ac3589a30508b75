#pragma once
// One filter definition as the comparison sees it: its own active flag and
// access, and its rows in order. Rows view text that their reader keeps (in
// one block per filter: a million rows must not cost a million allocations).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

struct Row {
  std::string_view text;
  int16_t access = 0;
  bool operator==(const Row&) const = default;
};

struct FilterValues {
  int16_t active = 0;
  int16_t access = 0;
  bool operator==(const FilterValues&) const = default;
};

struct FilterDefinition {
  std::string name;
  FilterValues values;
  std::vector<Row> rows;
};

}  // namespace compare

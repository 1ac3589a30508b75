#pragma once
// Turns the lines of a filter export file into filter definitions: only a
// change of name starts a new filter, and the last one is closed at the end of
// the file in every case, also when no filter was opened.
#include <cstdint>
#include <istream>
#include <string_view>

namespace filterfile {

class FilterSink {
 public:
  virtual ~FilterSink() = default;
  // A filter begins (creates or replaces a filter of that name).
  virtual void OpenFilter(std::string_view name) = 0;
  virtual void AddRow(std::string_view text, int16_t access) = 0;
  // Ends the filter being defined; also called at the end of a file that
  // opened none.
  virtual void CloseFilter() = 0;
  // A line that is not a row record was passed over (number from 1, counting
  // every line of the file). It changes nothing of the filter being defined.
  virtual void PassedOver(uint64_t lineNumber) = 0;
};

enum class ReadOutcome {
  Complete,
  // The stream failed part-way: the open filter is not closed, so that a
  // server that commits at the closing call keeps its previous definition.
  ReadError,
};

ReadOutcome ReadFilterFile(std::istream& in, FilterSink& sink);

}  // namespace filterfile

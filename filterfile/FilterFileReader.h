#pragma once
// Turns the lines of a filter export file into filter definitions: only a
// change of name starts a new filter, and the last one is closed at the end of
// the file in every case, also when no filter was opened. Names are compared
// the way the server compares them: trailing blanks do not count.
#include <cstdint>
#include <istream>
#include <optional>
#include <string_view>

#include "filterfile/TextEncoding.h"

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
  // every line of the file).
  virtual void PassedOver(uint64_t lineNumber) = 0;
  // A row of the filter being defined did not reach the sink (a passed-over
  // line that belongs to it, or a file that could not be read to its end):
  // the filter is incomplete and must not replace what the server holds.
  virtual void RowLost() = 0;
};

enum class ReadOutcome {
  Complete,
  // The stream failed part-way: the filter being defined lost its remaining
  // rows (RowLost, then CloseFilter); no further filter is begun.
  ReadError,
  // A line longer than any record (MaxRecordLine) ended the reading there,
  // as ReadError does: the file is no export file, or not only one.
  LineTooLong,
};

// Names and rows reach the sink as UTF-8. `encoding`: the file's, when the
// stream does not start at the file's start (a backup's range); otherwise
// the byte order mark tells (TextEncoding.h). A line of a UTF-8 file that is
// not UTF-8 is passed over. `stoppedAt`, when given, receives the number of
// the line that ended the reading early (from 1, counting every line end).
ReadOutcome ReadFilterFile(std::istream& in, FilterSink& sink, uint64_t* stoppedAt = nullptr,
                           std::optional<FileEncoding> encoding = std::nullopt);

// Whether two record names name one filter on the server.
bool SameFilterName(std::string_view a, std::string_view b);
// A record name as the server keeps it: without trailing blanks.
std::string_view ServerFilterName(std::string_view name);

}  // namespace filterfile

#pragma once
// One line of the filter export file: one row of one filter.
//   application TAB database TAB filter TAB access TAB row text CR, then CR LF
// Fields 1 to 4 hold no TAB, CR or LF; the row text runs from the fourth TAB
// to the line end and may itself hold TABs. No quoting, no escaping.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

#include "essbase/Constants.h"

namespace filterfile {

// The longest line a record can be, line end left out: the longest names a
// server keeps, the widest access ("-32768") and the longest row, each
// character in up to four bytes of UTF-8.
constexpr size_t MaxRecordLine =
    4 * (essbase::MaxApplicationName + 1 + essbase::MaxDatabaseName + 1 + essbase::MaxFilterName +
         1 + 6 + 1 + essbase::MaxRowLength);

// Writes one record with its exact bytes; false when the stream failed.
bool WriteRowRecord(std::ostream& out, std::string_view application, std::string_view database,
                    std::string_view filter, int16_t access, std::string_view text);

// What a reader uses of a record; views into the line given to ParseRowRecord.
struct RowFields {
  std::string_view filter;
  int16_t access = 0;
  std::string_view text;
};

// The fields of one line (line ends already removed), or nothing when the line
// is not a row record: fewer than four TABs, an empty filter name, an access
// that is not a whole number within signed 16 bits (optional '-', digits only),
// or a NUL byte in the filter name or the row text.
std::optional<RowFields> ParseRowRecord(std::string_view line);

// The filter name of a line that may not be a row record: the text between
// its second and third TAB; nothing when the line has fewer than three TABs or
// that text is empty or holds a NUL (then the line names no filter for sure).
std::optional<std::string_view> RecordName(std::string_view line);

// An access field as written: signed decimal, no sign for positives.
bool ParseAccess(std::string_view field, int16_t& access);

}  // namespace filterfile

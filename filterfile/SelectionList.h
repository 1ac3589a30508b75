#pragma once
// The selection list file: the names of the ticked filter-list entries, one
// per line, each followed by CR LF; no header. Latin-1, or, when a name does
// not fit, UTF-8 behind the byte order mark (TextEncoding.h). It names no
// server, application or database, so it loads on any database.
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace filterfile {

// Writes every name as one line; false when the stream failed.
bool WriteSelectionList(std::ostream& out, const std::vector<std::string>& names);

enum class SelectionReadOutcome { Complete, ReadError, LineTooLong };

// Hands every non-empty line, without its line end (CR LF, LF or a lone CR),
// to onName in file order. A line far too long to be any filter's name ends
// the reading with LineTooLong.
SelectionReadOutcome ReadSelectionList(std::istream& in,
                                       const std::function<void(std::string_view name)>& onName);

}  // namespace filterfile

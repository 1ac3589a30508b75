#pragma once
// The server's answers read into plain values, and the one body the client
// sends, in the JSON shapes of the public REST reference. Texts stay UTF-8
// here. A parse never throws and never guesses: an answer that is not JSON,
// lacks a field or has a field of the wrong type gives false and a why that
// names it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace essbase::rest {

struct WireRow {
  std::string access;   // the access word, e.g. "Read"
  std::string mbrSpec;  // the row text
  bool operator==(const WireRow&) const = default;
};

struct NameList {
  std::vector<std::string> names;
  bool hasMore = false;  // a paged listing with more after this page
};

// {"items": [{"name": ...}, ...], "hasMore": bool?} of applications,
// databases and filters.
bool ParseNameList(std::string_view body, NameList& list, std::string& why);
// {"items": [{"access": ..., "mbrSpec": ...}, ...]} of a filter's rows.
bool ParseRowList(std::string_view body, std::vector<WireRow>& rows, std::string& why);
// A filter: {"name": ..., "rows": [...]?}.
bool ParseFilter(std::string_view body, std::string& name, std::vector<WireRow>& rows,
                 std::string& why);
// An application: {"name": ..., "status": ...}.
bool ParseApplication(std::string_view body, std::string& name, std::string& status,
                      std::string& why);
// The logged-in user: a JSON object.
bool ParseSession(std::string_view body, std::string& why);

struct ServerError {
  int32_t status = 0;   // an Essbase status the body names, 0 when none
  std::string message;  // the server's own text, shortened; may be empty
};
// Best effort over any error body, JSON or not.
ServerError ParseError(std::string_view body);

// The body of Create Filter and Update Filter; empty when a text is not UTF-8.
std::string FilterBody(std::string_view name, const std::vector<WireRow>& rows);

}  // namespace essbase::rest

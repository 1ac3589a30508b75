#pragma once
// The server's answers read into plain values, and the one body the client
// sends, in the JSON shapes of the public REST reference. Answers are read
// as a stream of events that keeps only the fields asked for, so a list
// whose items carry more (links, rows) costs no more than its names. A
// parse never throws and never guesses: an answer that is not JSON, nests
// deeper than any answer of the API, lacks a field or has one of the wrong
// type gives false and a why that names it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace essbase::rest {

// Items one page may hold: far more than any page a server gives, and a
// bound on what a hostile one costs.
constexpr size_t MaxPageItems = 100000;

// The paging fields of a list answer, where it gives them.
struct ListPage {
  std::optional<int64_t> offset, limit, count, totalResults;
  std::optional<bool> hasMore;
  size_t items = 0;  // items on this page
};

struct NameItem {
  std::string name;
  std::string status;       // an application's, empty when not given
  std::string application;  // a database's, empty when not given
};

// {"items": [{"name": ...}, ...], "offset": ..., ...} of applications,
// databases and filters.
bool ParseNamePage(std::string_view body, ListPage& page, std::vector<NameItem>& items,
                   std::string& why);

struct WireRow {
  std::string access;   // the access word, e.g. "Read"
  std::string mbrSpec;  // the row text
  bool operator==(const WireRow&) const = default;
};

// {"items": [{"access": ..., "mbrSpec": ...}, ...], ...} of a filter's rows.
bool ParseRowPage(std::string_view body, ListPage& page, std::vector<WireRow>& rows,
                  std::string& why);

// An application: {"name": ..., "status": ...}.
bool ParseApplication(std::string_view body, std::string& name, std::string& status,
                      std::string& why);
// The logged-in user: a JSON object.
bool ParseSession(std::string_view body, std::string& why);

struct ErrorBody {
  int32_t errorCode = 0;  // a numeric errorCode, 0 when none
  // The most specific message the body has: one naming an Essbase status
  // before others, a detail before a summary, a nested cause before what
  // wraps it. A body that is not JSON is its own message. Not shortened.
  std::string message;
};
// Best effort over any error body.
ErrorBody ParseErrorBody(std::string_view body);

// The body of Create Filter and Update Filter; nullopt when a text is not
// UTF-8.
std::optional<std::string> FilterBody(std::string_view name, const std::vector<WireRow>& rows);

}  // namespace essbase::rest

#pragma once
// What one login over REST holds between calls, since the C ABI asks item by
// item and row by row: the pending listing, what the last filter listing of a
// database said and read ahead, the rows opened by EsbGetFilter, and the
// definition being written (sent whole at its closing call).
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "essbase/Constants.h"
#include "essbase/rest/HttpClient.h"
#include "essbase/rest/RestJson.h"

namespace essbase::rest {

// A row as the C ABI carries it: Latin-1 text and an access code.
struct Row {
  int16_t access = 0;
  std::string text;
};

// A filter's rows, or why they cannot be served.
struct FilterRows {
  int32_t status = 0;
  std::string text;
  std::vector<Row> rows;
};

// An item of a listing: its fixed-width field, or why it cannot be served.
struct Item {
  std::string field;
  int32_t status = 0;
  std::string text;
};

struct Definition {
  bool open = false;
  std::string app, db, filter;  // Latin-1
  bool exists = false;          // update rather than create
  std::vector<WireRow> rows;
};

class RestSession {
 public:
  RestSession(Handle instance, std::string base, std::string user, std::string password)
      : instance_(instance),
        base_(std::move(base)),
        password_(password),
        http_(std::move(user), std::move(password)) {}

  Handle instance() const { return instance_; }
  const std::string& base() const { return base_; }
  HttpClient& http() { return http_; }

  // The server ended the session: every call asks for a new login.
  bool ended = false;
  std::string failure;  // text of the last failed call
  // A server's message may echo what it was sent: the password never shows.
  std::string Scrubbed(std::string text) const;

  void StartListing(int16_t kind, std::vector<Item> items);
  // The C ABI's item protocol; an item that cannot be served fails alone and
  // the listing moves on past it.
  int32_t NextItem(int16_t kind, std::span<char> buffer);

  // The filter names of a database's last listing, with the rows read ahead
  // with it (only the last listed database keeps rows read ahead).
  void SetFilterListing(const std::string& app, const std::string& db, std::set<std::string> names,
                        std::map<std::string, FilterRows> readAhead);
  // nullopt when the database was not listed in this login.
  std::optional<bool> Listed(const std::string& app, const std::string& db,
                             const std::string& filter) const;
  // Rows read ahead, served once: a second read asks the server again.
  std::optional<FilterRows> TakeReadAhead(const std::string& app, const std::string& db,
                                          const std::string& filter);
  void FilterWritten(const std::string& app, const std::string& db, const std::string& filter);
  void FilterDeleted(const std::string& app, const std::string& db, const std::string& filter);

  void OpenRows(std::vector<Row> rows);
  void CloseRows() {
    rows_.clear();
    reading_ = false;
  }
  // The C ABI's row protocol (see esbapin.h).
  int32_t NextRow(std::span<char> buffer, int16_t& access);

  Definition definition;
  // Everything open is dropped (logout, ended session).
  void Forget();

 private:
  static std::string Key(const std::string& app, const std::string& db) { return app + '\0' + db; }

  Handle instance_;
  std::string base_;
  std::string password_;
  HttpClient http_;
  int16_t itemKind_ = 0;
  std::vector<Item> items_;
  size_t nextItem_ = 0;
  std::map<std::string, std::set<std::string>> listed_;
  std::string readAheadKey_;
  std::map<std::string, FilterRows> readAhead_;
  bool reading_ = false;
  std::vector<Row> rows_;
  size_t nextRow_ = 0;
};

}  // namespace essbase::rest

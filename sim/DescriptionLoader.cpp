#include <algorithm>
#include <charconv>
#include <istream>
#include <map>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "essbase/library/Operation.h"
#include "sim/Description.h"
#include "sim/Names.h"
#include "sim/Store.h"
#include "sim/Utf8.h"

namespace esbsim {

namespace {

// Only the form the printer writes is accepted, so that a dump of a loaded
// description reproduces it byte for byte.
bool ParseNumber(std::string_view s, int64_t min, int64_t max, int64_t& value) {
  if (s.empty() || s.size() > 20) return false;
  size_t digits = s[0] == '-' ? 1 : 0;
  if (digits == s.size()) return false;
  if (s[digits] == '0' && (s.size() > digits + 1 || digits == 1)) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && value >= min && value <= max;
}

std::vector<std::string_view> Split(std::string_view line, size_t maxFields) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < maxFields) {
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos) break;
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  fields.push_back(line);
  return fields;
}

// The whole description as UTF-8. A description that is not UTF-8 was
// written for the Latin-1 store of earlier versions: it is read as Latin-1,
// so that it loads to the content it always stood for.
bool ReadAll(std::istream& in, std::string& text) {
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    text.append(chunk, static_cast<size_t>(in.gcount()));
  if (in.bad()) return false;
  if (Utf8Length(text) == NotUtf8) {
    std::string latin1 = std::move(text);
    Latin1ToUtf8(latin1, text);
  }
  return true;
}

class Loader {
 public:
  explicit Loader(SqliteDb& db) : db_(db) {}

  bool run(std::istream& in, std::string& error) {
    if (!db_.exec(sql::kClearAll)) return fail(0, "store: " + db_.error(), error);
    std::string text;
    if (!ReadAll(in, text)) return fail(0, "read error", error);
    int number = 0;
    for (size_t at = 0; at < text.size();) {
      const size_t end = std::min(text.find('\n', at), text.size());
      const std::string_view line(text.data() + at, end - at);
      at = end + 1;
      ++number;
      if (line.empty() || line[0] == '#') continue;
      std::string why = record(line);
      if (!why.empty()) return fail(number, why, error);
    }
    if (!haveServer_) return fail(number + 1, "no server record", error);
    return true;
  }

 private:
  static bool fail(int line, const std::string& why, std::string& error) {
    error = "line " + std::to_string(line) + ": " + why;
    return false;
  }

  std::string record(std::string_view line) {
    std::string_view kind = line.substr(0, line.find('\t'));
    if (kind == "row") return row(Split(line, 3));
    auto f = Split(line, SIZE_MAX);
    if (kind == "server") return server(f);
    if (kind == "user") return user(f);
    if (kind == "app") return app(f);
    if (kind == "db") return database(f);
    if (kind == "filter") return filter(f);
    if (kind == "fault") return fault(f);
    return "unknown record \"" + std::string(kind) + "\"";
  }

  static std::string fieldCount(const std::vector<std::string_view>& f, size_t want) {
    if (f.size() == want) return {};
    return std::string(f[0]) + " record needs " + std::to_string(want - 1) + " fields, has " +
           std::to_string(f.size() - 1);
  }

  static std::string checkName(std::string_view what, std::string_view name, size_t max,
                               bool mayBeEmpty = false) {
    if (name.empty() && mayBeEmpty) return {};
    if (name.empty()) return std::string(what) + " is empty";
    if (Utf8Length(name) > max)
      return std::string(what) + " \"" + std::string(name) + "\" is longer than " +
             std::to_string(max) + " characters";
    if (HasControlBreak(name)) return std::string(what) + " holds a line break";
    if (name.back() == ' ') return std::string(what) + " ends in a blank";
    return {};
  }

  // Runs one insert with its values bound in order; empty or the failure.
  template <typename... Args>
  std::string insert(const char* sql, Args... args) {
    Statement* st = db_.prepare(sql);
    if (!st) return "store: " + db_.error();
    int index = 0;
    (st->bind(++index, args), ...);
    const int rc = st->step();
    st->reset();
    return rc == SQLITE_DONE ? std::string() : "store: " + db_.error();
  }

  std::string server(const std::vector<std::string_view>& f) {
    if (auto e = fieldCount(f, 2); !e.empty()) return e;
    if (haveServer_) return "second server record";
    if (auto e = checkName("server name", f[1], MaxServerName); !e.empty()) return e;
    haveServer_ = true;
    return insert(sql::kInsertServer, f[1]);
  }

  std::string user(const std::vector<std::string_view>& f) {
    if (auto e = fieldCount(f, 4); !e.empty()) return e;
    if (auto e = checkName("user name", f[1], MaxUserName); !e.empty()) return e;
    if (auto e = checkName("password", f[2], MaxPassword, true); !e.empty()) return e;
    int64_t access;
    if (!ParseNumber(f[3], INT16_MIN, INT16_MAX, access))
      return "access \"" + std::string(f[3]) + "\" is not a 16-bit number";
    if (!users_.emplace(f[1]).second) return "duplicate user \"" + std::string(f[1]) + "\"";
    return insert(sql::kInsertUser, f[1], f[2], access);
  }

  std::string app(const std::vector<std::string_view>& f) {
    if (auto e = fieldCount(f, 3); !e.empty()) return e;
    if (auto e = checkName("application name", f[1], MaxApplicationName); !e.empty()) return e;
    if (f[2] != "loaded" && f[2] != "unloaded")
      return "load state \"" + std::string(f[2]) + "\" is neither loaded nor unloaded";
    if (apps_.count(std::string(f[1])))
      return "duplicate application \"" + std::string(f[1]) + "\"";
    auto why = insert(sql::kInsertApp, f[1], int64_t{f[2] == "loaded" ? 1 : 0});
    apps_[std::string(f[1])] = db_.lastInsertId();
    return why;
  }

  std::string database(const std::vector<std::string_view>& f) {
    if (auto e = fieldCount(f, 3); !e.empty()) return e;
    auto app = apps_.find(std::string(f[1]));
    if (app == apps_.end()) return "application \"" + std::string(f[1]) + "\" is not defined";
    if (auto e = checkName("database name", f[2], MaxDatabaseName); !e.empty()) return e;
    auto key = std::make_pair(app->second, std::string(f[2]));
    if (dbs_.count(key)) return "duplicate database \"" + std::string(f[2]) + "\"";
    auto why = insert(sql::kInsertDb, app->second, f[2]);
    dbs_[key] = db_.lastInsertId();
    return why;
  }

  std::string filter(const std::vector<std::string_view>& f) {
    if (auto e = fieldCount(f, 6); !e.empty()) return e;
    auto app = apps_.find(std::string(f[1]));
    if (app == apps_.end()) return "application \"" + std::string(f[1]) + "\" is not defined";
    auto db = dbs_.find(std::make_pair(app->second, std::string(f[2])));
    if (db == dbs_.end())
      return "database \"" + std::string(f[1]) + "." + std::string(f[2]) + "\" is not defined";
    if (auto e = checkName("filter name", f[3], MaxFilterName); !e.empty()) return e;
    int64_t active, access;
    if (!ParseNumber(f[4], INT16_MIN, INT16_MAX, active))
      return "active flag \"" + std::string(f[4]) + "\" is not a 16-bit number";
    if (!ParseNumber(f[5], INT16_MIN, INT16_MAX, access))
      return "access \"" + std::string(f[5]) + "\" is not a 16-bit number";
    if (!filters_.emplace(db->second, std::string(f[3])).second)
      return "duplicate filter \"" + std::string(f[3]) + "\"";
    auto why = insert(sql::kInsertFilter, db->second, f[3], active, access);
    filterId_ = db_.lastInsertId();
    rowSeq_ = 0;
    return why;
  }

  std::string row(const std::vector<std::string_view>& f) {
    if (f.size() != 3) return "row record needs an access and a text";
    if (filterId_ == 0) return "row before any filter";
    int64_t access;
    if (!ParseNumber(f[1], INT16_MIN, INT16_MAX, access))
      return "access \"" + std::string(f[1]) + "\" is not a 16-bit number";
    if (f[2].empty()) return "row text is empty";
    if (Utf8Length(f[2]) > MaxRowText)
      return "row text is longer than " + std::to_string(MaxRowText) + " characters";
    if (!ValidRow(f[2])) return "row text holds a line break";
    return insert(sql::kInsertRow, filterId_, ++rowSeq_, access, f[2]);
  }

  std::string fault(const std::vector<std::string_view>& f) {
    if (auto e = fieldCount(f, 5); !e.empty()) return e;
    essbase::Operation op;
    if (!essbase::FindOperation(f[1], op)) return "unknown operation \"" + std::string(f[1]) + "\"";
    int64_t status, after, times;
    if (!ParseNumber(f[2], INT32_MIN, INT32_MAX, status))
      return "status \"" + std::string(f[2]) + "\" is not a 32-bit number";
    if (!ParseNumber(f[3], 0, INT32_MAX, after))
      return "count \"" + std::string(f[3]) + "\" is not a number of calls";
    if (!ParseNumber(f[4], 0, INT32_MAX, times))
      return "count \"" + std::string(f[4]) + "\" is not a number of calls";
    return insert(sql::kInsertFault, f[1], status, after, times);
  }

  SqliteDb& db_;
  bool haveServer_ = false;
  std::set<std::string, std::less<>> users_;
  std::map<std::string, int64_t> apps_;
  std::map<std::pair<int64_t, std::string>, int64_t> dbs_;
  std::set<std::pair<int64_t, std::string>> filters_;
  int64_t filterId_ = 0;
  int64_t rowSeq_ = 0;
};

}  // namespace

bool LoadDescription(SqliteDb& db, std::istream& in, std::string& error) {
  return Loader(db).run(in, error);
}

bool ReplaceContent(Store& store, std::istream& in, std::string& error) {
  Transaction tx(store.db());
  if (!tx.started()) {
    error = "store: " + store.error();
    return false;
  }
  if (!LoadDescription(store.db(), in, error)) return false;
  if (!tx.commit()) {
    error = "store: " + store.error();
    return false;
  }
  return true;
}

}  // namespace esbsim

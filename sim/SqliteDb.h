#pragma once
// A thin RAII layer over one SQLite connection: prepared statements are
// compiled once per connection and reused, so hot paths never re-parse SQL.
#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace esbsim {

class Statement {
 public:
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Resets and clears bindings; returns *this so binds can be chained.
  Statement& reset();
  Statement& bind(int index, int64_t value);
  Statement& bind(int index, std::string_view text);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step();
  int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string_view text(int column) const;
  bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* stmt_;
};

class SqliteDb {
 public:
  SqliteDb() = default;
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // Opens (creating) the file; false with error() set on failure.
  bool open(const std::string& path);
  bool isOpen() const { return db_ != nullptr; }
  // Runs one or more statements without results.
  bool exec(const char* sql);
  // The cached statement for this SQL text (compiled at first use); null on a
  // compile error, with error() set.
  Statement* prepare(const char* sql);
  int64_t lastInsertId() const { return sqlite3_last_insert_rowid(db_); }
  // For what this layer does not wrap, such as SQL functions of our own.
  sqlite3* handle() { return db_; }
  std::string error() const;

 private:
  sqlite3* db_ = nullptr;
  std::string openError_;
  std::map<const char*, std::unique_ptr<Statement>> cache_;
};

// A write transaction that rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(SqliteDb& db) : db_(db) { ok_ = db_.exec("BEGIN IMMEDIATE"); }
  ~Transaction() {
    if (ok_ && !done_) db_.exec("ROLLBACK");
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool started() const { return ok_; }
  bool commit() {
    done_ = true;
    if (!ok_) return false;
    if (db_.exec("COMMIT")) return true;
    db_.exec("ROLLBACK");
    return false;
  }

 private:
  SqliteDb& db_;
  bool ok_ = false;
  bool done_ = false;
};

}  // namespace esbsim

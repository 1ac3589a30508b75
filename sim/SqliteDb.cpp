#include "sim/SqliteDb.h"

namespace esbsim {

Statement& Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  return *this;
}

Statement& Statement::bind(int index, int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  // The texts bound are alive until the statement is stepped and reset.
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
  return *this;
}

int Statement::step() {
  return sqlite3_step(stmt_);
}

std::string_view Statement::text(int column) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  const int n = sqlite3_column_bytes(stmt_, column);
  return p ? std::string_view(p, static_cast<size_t>(n)) : std::string_view();
}

SqliteDb::~SqliteDb() {
  cache_.clear();
  if (db_) sqlite3_close(db_);
}

bool SqliteDb::open(const std::string& path) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    openError_ = db ? sqlite3_errmsg(db) : "cannot open " + path;
    sqlite3_close(db);
    return false;
  }
  db_ = db;
  return true;
}

bool SqliteDb::exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement* SqliteDb::prepare(const char* sql) {
  // Keyed by the literal's address: every caller passes a string literal.
  auto it = cache_.find(sql);
  if (it != cache_.end()) return &it->second->reset();
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
    return nullptr;
  auto& slot = cache_[sql];
  slot = std::make_unique<Statement>(stmt);
  return slot.get();
}

std::string SqliteDb::error() const {
  return db_ ? sqlite3_errmsg(db_) : openError_;
}

}  // namespace esbsim

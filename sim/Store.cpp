#include "sim/Store.h"

#include <cstdlib>
#include <filesystem>

#include "essbase/library/esbapin.h"
#include "sim/DemoServer.h"
#include "sim/Names.h"
#include "sim/StoreVersions.h"

namespace esbsim {

namespace sql {
const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS server(name TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS users(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE,"
    " password TEXT NOT NULL, access INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS apps(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE,"
    " loaded INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS dbs(id INTEGER PRIMARY KEY, app INTEGER NOT NULL,"
    " name TEXT NOT NULL, UNIQUE(app, name));"
    "CREATE TABLE IF NOT EXISTS filters(id INTEGER PRIMARY KEY, db INTEGER NOT NULL,"
    " name TEXT NOT NULL, active INTEGER NOT NULL, access INTEGER NOT NULL, UNIQUE(db, name));"
    "CREATE TABLE IF NOT EXISTS rows(filter INTEGER NOT NULL, seq INTEGER NOT NULL,"
    " access INTEGER NOT NULL, text TEXT NOT NULL, PRIMARY KEY(filter, seq)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS faults(id INTEGER PRIMARY KEY, operation TEXT NOT NULL,"
    " status INTEGER NOT NULL, after INTEGER NOT NULL, times INTEGER NOT NULL);"
    "PRAGMA user_version = 2;";
const char* const kInsertServer = "INSERT INTO server(name) VALUES (?1)";
const char* const kInsertUser = "INSERT INTO users(name, password, access) VALUES (?1, ?2, ?3)";
const char* const kInsertApp = "INSERT INTO apps(name, loaded) VALUES (?1, ?2)";
const char* const kInsertDb = "INSERT INTO dbs(app, name) VALUES (?1, ?2)";
const char* const kInsertFilter =
    "INSERT INTO filters(db, name, active, access) VALUES (?1, ?2, ?3, ?4)";
const char* const kInsertRow =
    "INSERT INTO rows(filter, seq, access, text) VALUES (?1, ?2, ?3, ?4)";
const char* const kInsertFault =
    "INSERT INTO faults(operation, status, after, times) VALUES (?1, ?2, ?3, ?4)";
const char* const kClearAll =
    "DELETE FROM server; DELETE FROM users; DELETE FROM apps; DELETE FROM dbs;"
    " DELETE FROM filters; DELETE FROM rows; DELETE FROM faults;";
}  // namespace sql

namespace {

constexpr int32_t kFail = ESB_STS_STORE_FAILURE;

const char* const kSelectDb =
    "SELECT d.id FROM apps a JOIN dbs d ON d.app = a.id WHERE a.name = ?1 AND d.name = ?2";
const char* const kSelectFilter =
    "SELECT f.id, f.active, f.access FROM apps a JOIN dbs d ON d.app = a.id"
    " JOIN filters f ON f.db = d.id WHERE a.name = ?1 AND d.name = ?2 AND f.name = ?3";

// Reads names from a prepared listing statement, refusing an oversized list.
int32_t CollectNames(Statement* st, std::vector<std::string>& names) {
  names.clear();
  int rc;
  while ((rc = st->step()) == SQLITE_ROW) {
    if (names.size() == MaxListing) {
      st->reset();
      names.clear();
      return ESB_STS_TOO_MANY_ITEMS;
    }
    names.emplace_back(st->text(0));
  }
  return rc == SQLITE_DONE ? 0 : kFail;
}

}  // namespace

std::string Store::DefaultPath() {
  const char* env = std::getenv("ESBSIM_STORE");
  if (env && *env) return env;
  std::string base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : ".") + "/.local/share";
  }
  return base + "/essbase-sim/server.db";
}

int32_t Store::open(const std::string& path, bool seedDemo) {
  std::error_code ec;
  auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  if (!db_.open(path)) return kFail;
  if (!db_.exec("PRAGMA busy_timeout = 10000; PRAGMA journal_mode = WAL;"
                " PRAGMA synchronous = NORMAL; PRAGMA wal_autocheckpoint = 10000;"))
    return kFail;
  Statement* version = db_.prepare("PRAGMA user_version");
  if (!version || version->step() != SQLITE_ROW) return kFail;
  int64_t kind = version->integer(0);
  version->reset();
  if (kind == Utf8Store) return 0;
  // Several processes may meet a new or old-kind store at once: the first to
  // take the write lock builds or converts it, the others find it done.
  Transaction tx(db_);
  if (!tx.started()) return kFail;
  if (version->reset().step() != SQLITE_ROW) return kFail;
  kind = version->integer(0);
  version->reset();
  if (kind == Utf8Store) return 0;
  if (kind == Latin1Store) {
    if (!ConvertLatin1Store(db_)) return kFail;
  } else if (kind == 0) {
    if (!db_.exec(sql::kSchema)) return kFail;
    if (seedDemo && !LoadDemoServer(db_)) return kFail;
  } else {
    problem_ = "the store was written by a later version (schema " + std::to_string(kind) + ")";
    return kFail;
  }
  return tx.commit() ? 0 : kFail;
}

int64_t Store::dataVersion() {
  Statement* st = db_.prepare("PRAGMA data_version");
  if (!st || st->step() != SQLITE_ROW) return -1;
  int64_t v = st->integer(0);
  st->reset();
  return v;
}

int32_t Store::serverName(std::string& name) {
  Statement* st = db_.prepare("SELECT name FROM server LIMIT 1");
  if (!st) return kFail;
  int rc = st->step();
  name = rc == SQLITE_ROW ? std::string(st->text(0)) : std::string();
  st->reset();
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? 0 : kFail;
}

int32_t Store::checkUser(std::string_view user, std::string_view password, int16_t& access) {
  Statement* st = db_.prepare("SELECT password, access FROM users WHERE name = ?1");
  if (!st) return kFail;
  st->bind(1, user);
  int rc = st->step();
  int32_t status = rc == SQLITE_ROW ? 0 : rc == SQLITE_DONE ? ESB_STS_BAD_LOGIN : kFail;
  if (status == 0) {
    if (st->text(0) == password)
      access = static_cast<int16_t>(st->integer(1));
    else
      status = ESB_STS_BAD_LOGIN;
  }
  st->reset();
  return status;
}

int32_t Store::findApplication(std::string_view app, int64_t& id) {
  Statement* st = db_.prepare("SELECT id FROM apps WHERE name = ?1");
  if (!st) return kFail;
  int rc = st->bind(1, app).step();
  if (rc == SQLITE_ROW) id = st->integer(0);
  st->reset();
  return rc == SQLITE_ROW ? 0 : rc == SQLITE_DONE ? ESB_STS_UNKNOWN_APPLICATION : kFail;
}

int32_t Store::findDatabase(std::string_view app, std::string_view db, int64_t& id) {
  Statement* st = db_.prepare(kSelectDb);
  if (!st) return kFail;
  int rc = st->bind(1, app).bind(2, db).step();
  if (rc == SQLITE_ROW) id = st->integer(0);
  st->reset();
  if (rc == SQLITE_ROW) return 0;
  if (rc != SQLITE_DONE) return kFail;
  int64_t appId = 0;
  int32_t status = findApplication(app, appId);
  return status == 0 ? ESB_STS_UNKNOWN_DATABASE : status;
}

int32_t Store::findFilter(std::string_view app, std::string_view db, std::string_view filter,
                          StoredFilter& found) {
  Statement* st = db_.prepare(kSelectFilter);
  if (!st) return kFail;
  int rc = st->bind(1, app).bind(2, db).bind(3, filter).step();
  if (rc == SQLITE_ROW) {
    found.id = st->integer(0);
    found.active = static_cast<int16_t>(st->integer(1));
    found.access = static_cast<int16_t>(st->integer(2));
  }
  st->reset();
  if (rc == SQLITE_ROW) return 0;
  if (rc != SQLITE_DONE) return kFail;
  int64_t dbId = 0;
  int32_t status = findDatabase(app, db, dbId);
  return status == 0 ? ESB_STS_UNKNOWN_FILTER : status;
}

int32_t Store::listApplications(std::vector<std::string>& names) {
  Statement* st = db_.prepare("SELECT name FROM apps ORDER BY id");
  return st ? CollectNames(st, names) : kFail;
}

int32_t Store::listDatabases(int64_t app, std::vector<std::string>& names) {
  Statement* st = db_.prepare("SELECT name FROM dbs WHERE app = ?1 ORDER BY id");
  return st ? CollectNames(&st->bind(1, app), names) : kFail;
}

int32_t Store::listFilters(int64_t db, std::vector<std::string>& names) {
  Statement* st = db_.prepare("SELECT name FROM filters WHERE db = ?1 ORDER BY id");
  return st ? CollectNames(&st->bind(1, db), names) : kFail;
}

int32_t Store::countApplications(int16_t& count) {
  Statement* st = db_.prepare("SELECT count(*) FROM apps");
  if (!st || st->step() != SQLITE_ROW) return kFail;
  int64_t n = st->integer(0);
  st->reset();
  count = static_cast<int16_t>(n > INT16_MAX ? INT16_MAX : n);
  return 0;
}

int32_t Store::applicationState(int64_t app, bool& loaded, int16_t& databases) {
  Statement* st = db_.prepare(
      "SELECT loaded, (SELECT count(*) FROM dbs WHERE app = ?1) FROM apps WHERE id = ?1");
  if (!st) return kFail;
  int rc = st->bind(1, app).step();
  if (rc == SQLITE_ROW) {
    loaded = st->integer(0) != 0;
    int64_t n = st->integer(1);
    databases = static_cast<int16_t>(n > INT16_MAX ? INT16_MAX : n);
  }
  st->reset();
  return rc == SQLITE_ROW ? 0 : rc == SQLITE_DONE ? ESB_STS_UNKNOWN_APPLICATION : kFail;
}

int32_t Store::setLoaded(int64_t app, bool loaded) {
  Statement* st = db_.prepare("UPDATE apps SET loaded = ?2 WHERE id = ?1");
  if (!st) return kFail;
  int rc = st->bind(1, app).bind(2, loaded ? 1 : 0).step();
  st->reset();
  return rc == SQLITE_DONE ? 0 : kFail;
}

int32_t Store::openFilter(std::string_view app, std::string_view db, std::string_view filter,
                          StoredFilter& found, std::vector<StoredRow>& rows, size_t& count) {
  // The filter, then its rows by their key alone (a join would carry the
  // filter's columns along every row). Both read one state of the store: the
  // filter's statement stays active until the rows are read, and the
  // connection's implicit read transaction lasts while any statement is.
  Statement* head = db_.prepare(kSelectFilter);
  Statement* body = db_.prepare("SELECT access, text FROM rows WHERE filter = ?1 ORDER BY seq");
  if (!head || !body) return kFail;
  count = 0;
  int rc = head->bind(1, app).bind(2, db).bind(3, filter).step();
  if (rc == SQLITE_ROW) {
    found.id = head->integer(0);
    found.active = static_cast<int16_t>(head->integer(1));
    found.access = static_cast<int16_t>(head->integer(2));
    body->bind(1, found.id);
    while ((rc = body->step()) == SQLITE_ROW) {
      if (count == rows.size()) rows.emplace_back();
      rows[count].access = static_cast<int16_t>(body->integer(0));
      rows[count].text.assign(body->text(1));
      ++count;
    }
    body->reset();
    head->reset();
    return rc == SQLITE_DONE ? 0 : kFail;
  }
  head->reset();
  if (rc != SQLITE_DONE) return kFail;
  int64_t dbId = 0;
  int32_t status = findDatabase(app, db, dbId);
  return status == 0 ? ESB_STS_UNKNOWN_FILTER : status;
}

int32_t Store::commitFilter(std::string_view app, std::string_view db, std::string_view name,
                            int16_t active, int16_t access, const std::vector<StoredRow>& rows,
                            size_t count) {
  // The last gate before the file: nothing but the server's own texts gets in.
  if (!ValidName(name, MaxFilterName)) return ESB_STS_BAD_NAME;
  for (size_t i = 0; i < count; ++i)
    if (!ValidRow(rows[i].text)) return ESB_STS_BAD_ROW;
  Transaction tx(db_);
  if (!tx.started()) return kFail;
  int64_t dbId = 0;
  if (int32_t status = findDatabase(app, db, dbId)) return status;
  Statement* find = db_.prepare("SELECT id FROM filters WHERE db = ?1 AND name = ?2");
  if (!find) return kFail;
  int rc = find->bind(1, dbId).bind(2, name).step();
  int64_t id = rc == SQLITE_ROW ? find->integer(0) : 0;
  find->reset();
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return kFail;
  if (id != 0) {
    Statement* update = db_.prepare("UPDATE filters SET active = ?2, access = ?3 WHERE id = ?1");
    Statement* clear = db_.prepare("DELETE FROM rows WHERE filter = ?1");
    if (!update || !clear) return kFail;
    rc = update->bind(1, id).bind(2, active).bind(3, access).step();
    update->reset();
    if (rc != SQLITE_DONE) return kFail;
    rc = clear->bind(1, id).step();
    clear->reset();
    if (rc != SQLITE_DONE) return kFail;
  } else {
    Statement* insert = db_.prepare(sql::kInsertFilter);
    if (!insert) return kFail;
    rc = insert->bind(1, dbId).bind(2, name).bind(3, active).bind(4, access).step();
    insert->reset();
    if (rc != SQLITE_DONE) return kFail;
    id = db_.lastInsertId();
  }
  Statement* row = db_.prepare(sql::kInsertRow);
  if (!row) return kFail;
  int64_t seq = 0;
  for (size_t i = 0; i < count; ++i) {
    const StoredRow& r = rows[i];
    rc = row->reset().bind(1, id).bind(2, ++seq).bind(3, r.access).bind(4, r.text).step();
    if (rc != SQLITE_DONE) return kFail;
  }
  row->reset();
  return tx.commit() ? 0 : kFail;
}

int32_t Store::deleteFilter(std::string_view app, std::string_view db, std::string_view filter) {
  Transaction tx(db_);
  if (!tx.started()) return kFail;
  StoredFilter found;
  if (int32_t status = findFilter(app, db, filter, found)) return status;
  Statement* rows = db_.prepare("DELETE FROM rows WHERE filter = ?1");
  Statement* del = db_.prepare("DELETE FROM filters WHERE id = ?1");
  if (!rows || !del) return kFail;
  int rc1 = rows->bind(1, found.id).step();
  rows->reset();
  int rc2 = del->bind(1, found.id).step();
  del->reset();
  if (rc1 != SQLITE_DONE || rc2 != SQLITE_DONE) return kFail;
  return tx.commit() ? 0 : kFail;
}

int32_t Store::readFaults(std::vector<StoredFault>& faults) {
  faults.clear();
  Statement* st = db_.prepare("SELECT id, operation, status, after, times FROM faults ORDER BY id");
  if (!st) return kFail;
  int rc;
  while ((rc = st->step()) == SQLITE_ROW)
    faults.push_back({st->integer(0), std::string(st->text(1)),
                      static_cast<int32_t>(st->integer(2)), st->integer(3), st->integer(4)});
  st->reset();
  return rc == SQLITE_DONE ? 0 : kFail;
}

int32_t Store::spendFault(int64_t id) {
  Transaction tx(db_);
  if (!tx.started()) return kFail;
  // A count of 0 means every call: such a fault is never spent.
  Statement* del = db_.prepare("DELETE FROM faults WHERE id = ?1 AND times = 1");
  Statement* dec = db_.prepare("UPDATE faults SET times = times - 1 WHERE id = ?1 AND times > 1");
  if (!dec || !del) return kFail;
  int rc1 = del->bind(1, id).step();
  del->reset();
  int rc2 = dec->bind(1, id).step();
  dec->reset();
  if (rc1 != SQLITE_DONE || rc2 != SQLITE_DONE) return kFail;
  return tx.commit() ? 0 : kFail;
}

}  // namespace esbsim

#include "sim/StoreVersions.h"

#include <string>
#include <string_view>

#include "sim/Store.h"
#include "sim/Utf8.h"

namespace esbsim {

namespace {

void Latin1ToUtf8Sql(sqlite3_context* context, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) != SQLITE_TEXT) {
    sqlite3_result_value(context, args[0]);
    return;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
  const auto size = static_cast<size_t>(sqlite3_value_bytes(args[0]));
  std::string utf8;
  Latin1ToUtf8(std::string_view(text, size), utf8);
  sqlite3_result_text(context, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// The tables are copied rather than updated in place: a converted name may
// equal another one's old bytes ("\xe9" becomes what "\xc3\xa9" was), which a
// UNIQUE constraint checked row by row would refuse.
const char* const kSetAside =
    "ALTER TABLE server RENAME TO latin1_server;"
    "ALTER TABLE users RENAME TO latin1_users;"
    "ALTER TABLE apps RENAME TO latin1_apps;"
    "ALTER TABLE dbs RENAME TO latin1_dbs;"
    "ALTER TABLE filters RENAME TO latin1_filters;"
    "ALTER TABLE rows RENAME TO latin1_rows;"
    "ALTER TABLE faults RENAME TO latin1_faults;";

const char* const kCopy =
    "INSERT INTO server(name) SELECT latin1_to_utf8(name) FROM latin1_server;"
    "INSERT INTO users(id, name, password, access) SELECT id, latin1_to_utf8(name),"
    " latin1_to_utf8(password), access FROM latin1_users;"
    "INSERT INTO apps(id, name, loaded) SELECT id, latin1_to_utf8(name), loaded FROM latin1_apps;"
    "INSERT INTO dbs(id, app, name) SELECT id, app, latin1_to_utf8(name) FROM latin1_dbs;"
    "INSERT INTO filters(id, db, name, active, access) SELECT id, db, latin1_to_utf8(name),"
    " active, access FROM latin1_filters;"
    "INSERT INTO rows(filter, seq, access, text) SELECT filter, seq, access,"
    " latin1_to_utf8(text) FROM latin1_rows;"
    "INSERT INTO faults(id, operation, status, after, times) SELECT id,"
    " latin1_to_utf8(operation), status, after, times FROM latin1_faults;";

const char* const kDrop =
    "DROP TABLE latin1_server; DROP TABLE latin1_users; DROP TABLE latin1_apps;"
    " DROP TABLE latin1_dbs; DROP TABLE latin1_filters; DROP TABLE latin1_rows;"
    " DROP TABLE latin1_faults;";

}  // namespace

bool ConvertLatin1Store(SqliteDb& db) {
  if (sqlite3_create_function_v2(db.handle(), "latin1_to_utf8", 1,
                                 SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, Latin1ToUtf8Sql,
                                 nullptr, nullptr, nullptr) != SQLITE_OK)
    return false;
  // kSchema builds the new tables and marks the store as UTF-8.
  return db.exec(kSetAside) && db.exec(sql::kSchema) && db.exec(kCopy) && db.exec(kDrop);
}

}  // namespace esbsim

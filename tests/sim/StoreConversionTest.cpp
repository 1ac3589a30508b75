// Store files of earlier versions held Latin-1 bytes: opened now, such a
// store is converted to UTF-8 once, marked by its schema version, with
// nothing lost or garbled; a store of a later version is not touched.
#include <gtest/gtest.h>

#include <thread>

#include "essbase/library/esbapin.h"
#include "sim/SimApi.h"
#include "sim/Store.h"
#include "tests/sim/ConformanceFixture.h"

namespace simtest {
namespace {

// The schema of the Latin-1 stores, as earlier versions wrote it.
const char* const kLatin1Schema =
    "CREATE TABLE server(name TEXT NOT NULL);"
    "CREATE TABLE users(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE,"
    " password TEXT NOT NULL, access INTEGER NOT NULL);"
    "CREATE TABLE apps(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, loaded INTEGER NOT NULL);"
    "CREATE TABLE dbs(id INTEGER PRIMARY KEY, app INTEGER NOT NULL, name TEXT NOT NULL,"
    " UNIQUE(app, name));"
    "CREATE TABLE filters(id INTEGER PRIMARY KEY, db INTEGER NOT NULL, name TEXT NOT NULL,"
    " active INTEGER NOT NULL, access INTEGER NOT NULL, UNIQUE(db, name));"
    "CREATE TABLE rows(filter INTEGER NOT NULL, seq INTEGER NOT NULL, access INTEGER NOT NULL,"
    " text TEXT NOT NULL, PRIMARY KEY(filter, seq)) WITHOUT ROWID;"
    "CREATE TABLE faults(id INTEGER PRIMARY KEY, operation TEXT NOT NULL, status INTEGER NOT NULL,"
    " after INTEGER NOT NULL, times INTEGER NOT NULL);"
    "PRAGMA user_version = 1;";

void Insert(esbsim::SqliteDb& db, const char* sql, const std::vector<std::string>& texts) {
  esbsim::Statement* st = db.prepare(sql);
  ASSERT_NE(st, nullptr) << db.error();
  for (size_t i = 0; i < texts.size(); ++i) st->bind(static_cast<int>(i + 1), texts[i]);
  ASSERT_EQ(st->step(), SQLITE_DONE) << db.error();
  st->reset();
}

// The bytes an earlier version wrote: "\xE9" is é, and "\xC3\xA9" is the two
// characters Ã© (whose bytes are what é becomes in UTF-8).
void WriteLatin1Store(const std::string& path) {
  esbsim::SqliteDb db;
  ASSERT_TRUE(db.open(path));
  ASSERT_TRUE(db.exec("PRAGMA journal_mode = WAL;")) << db.error();
  ASSERT_TRUE(db.exec(kLatin1Schema)) << db.error();
  Insert(db, "INSERT INTO server(name) VALUES (?1)", {"s\xE9rv"});
  Insert(db, "INSERT INTO users(name, password, access) VALUES (?1, ?2, 275)",
         {"j\xFCrgen", "p\xE4ss"});
  Insert(db, "INSERT INTO apps(id, name, loaded) VALUES (1, ?1, 1)", {"Caf\xE9"});
  Insert(db, "INSERT INTO apps(id, name, loaded) VALUES (2, ?1, 0)", {"\xE9"});
  Insert(db, "INSERT INTO apps(id, name, loaded) VALUES (3, ?1, 0)", {"\xC3\xA9"});
  Insert(db, "INSERT INTO dbs(id, app, name) VALUES (1, 1, ?1)", {"Pr\xEAt"});
  Insert(db, "INSERT INTO filters(id, db, name, active, access) VALUES (1, 1, ?1, 1, 375)",
         {"R\xE9gion"});
  Insert(db, "INSERT INTO rows(filter, seq, access, text) VALUES (1, 1, 273, ?1)",
         {"\"M\xFCnchen\""});
  Insert(db, "INSERT INTO rows(filter, seq, access, text) VALUES (1, 2, 275, ?1)",
         {"\"Actual\",\t\"Budget\""});
  Insert(db, "INSERT INTO faults(operation, status, after, times) VALUES (?1, 7, 5, 0)",
         {"EsbDeleteFilter"});
}

const char* const kConverted =
    "server\ts\xC3\xA9rv\n"
    "user\tj\xC3\xBCrgen\tp\xC3\xA4ss\t275\n"
    "app\tCaf\xC3\xA9\tloaded\n"
    "db\tCaf\xC3\xA9\tPr\xC3\xAAt\n"
    "filter\tCaf\xC3\xA9\tPr\xC3\xAAt\tR\xC3\xA9gion\t1\t375\n"
    "row\t273\t\"M\xC3\xBCnchen\"\n"
    "row\t275\t\"Actual\",\t\"Budget\"\n"
    "app\t\xC3\xA9\tunloaded\n"
    "app\t\xC3\x83\xC2\xA9\tunloaded\n"
    "fault\tEsbDeleteFilter\t7\t5\t0\n";

int64_t SchemaVersion(const std::string& path) {
  esbsim::SqliteDb db;
  EXPECT_TRUE(db.open(path));
  esbsim::Statement* st = db.prepare("PRAGMA user_version");
  if (!st || st->step() != SQLITE_ROW) return -1;
  const int64_t v = st->integer(0);
  st->reset();
  return v;
}

class StoreConversion : public ::testing::Test {
 protected:
  TempStore store_;
};

TEST_F(StoreConversion, NewStoreIsMarkedUtf8) {
  store_.Load(Header());
  EXPECT_EQ(SchemaVersion(store_.path()), 2);
}

TEST_F(StoreConversion, Latin1StoreIsConvertedAndMarked) {
  ASSERT_NO_FATAL_FAILURE(WriteLatin1Store(store_.path()));
  EXPECT_EQ(store_.Dump(), kConverted);
  EXPECT_EQ(SchemaVersion(store_.path()), 2);
}

// A second conversion would turn é into Ã©.
TEST_F(StoreConversion, OpeningAgainConvertsNothingMore) {
  ASSERT_NO_FATAL_FAILURE(WriteLatin1Store(store_.path()));
  EXPECT_EQ(store_.Dump(), kConverted);
  EXPECT_EQ(store_.Dump(), kConverted);
  EXPECT_EQ(SchemaVersion(store_.path()), 2);
}

TEST_F(StoreConversion, ProcessesOpeningTogetherConvertOnce) {
  ASSERT_NO_FATAL_FAILURE(WriteLatin1Store(store_.path()));
  std::vector<int32_t> statuses(4, -1);
  std::vector<std::thread> openers;
  for (auto& status : statuses)
    openers.emplace_back([&status, this] {
      esbsim::Store store;
      status = store.open(store_.path(), false);
    });
  for (auto& t : openers) t.join();
  EXPECT_EQ(statuses, std::vector<int32_t>(4, 0));
  EXPECT_EQ(store_.Dump(), kConverted);
}

TEST_F(StoreConversion, StoreOfALaterVersionIsRefusedUntouched) {
  store_.Load(Header());
  {
    esbsim::SqliteDb db;
    ASSERT_TRUE(db.open(store_.path()));
    ASSERT_TRUE(db.exec("PRAGMA user_version = 3"));
  }
  esbsim::Store store;
  EXPECT_EQ(store.open(store_.path(), false), ESB_STS_STORE_FAILURE);
  EXPECT_NE(store.error().find("later version"), std::string::npos) << store.error();
  EXPECT_EQ(SchemaVersion(store_.path()), 3);
}

// The client library sees the converted store as it saw the old one.
TEST_F(StoreConversion, LibraryFaceReadsTheOldContentAsBefore) {
  ASSERT_NO_FATAL_FAILURE(WriteLatin1Store(store_.path()));
  esbsim::SimApi api;
  essbase::Handle instance = 0, context = 0;
  int16_t count = 0, active = 0, access = 0;
  ASSERT_EQ(api.EsbInit(essbase::ApiInitRecord(ESB_API_VERSION_6, "C:\\"), instance), 0);
  ASSERT_EQ(api.EsbLogin(instance, "s\xE9rv", "j\xFCrgen", "p\xE4ss", count, context), 0);
  EXPECT_EQ(count, 3);
  ASSERT_EQ(api.EsbGetFilter(context, "Caf\xE9", "Pr\xEAt", "R\xE9gion", active, access), 0);
  std::string row(100, '#');
  ASSERT_EQ(api.EsbGetFilterRow(context, row, access), 0);
  EXPECT_EQ(std::string(row.c_str()), "\"M\xFCnchen\"");
  api.EsbTerm(instance);
}

}  // namespace
}  // namespace simtest

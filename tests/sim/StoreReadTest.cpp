// A filter is read as one state of the store: what another connection
// commits while a read is under way shows in none of it, and the next read
// sees all of it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "essbase/library/esbapin.h"
#include "sim/Store.h"
#include "tests/sim/SimTestSupport.h"

namespace simtest {
namespace {

using esbsim::StoredFilter;
using esbsim::StoredRow;

struct Read {
  StoredFilter found;
  std::vector<StoredRow> rows;
  size_t count = 0;
};

// Replaces F's values and rows, as another process's import would.
int32_t Replace(esbsim::Store& writer) {
  const std::vector<StoredRow> rows = {{275, "\"New1\""}, {275, "\"New2\""}, {275, "\"New3\""}};
  return writer.commitFilter("App", "Db", "F", 0, 273, rows, rows.size());
}

TEST(StoreRead, CommitBetweenTheStatementsOfAReadDoesNotMixIn) {
  TempStore store;
  store.Load(Header() +
             "app\tApp\tloaded\ndb\tApp\tDb\nfilter\tApp\tDb\tF\t1\t375\n"
             "row\t273\t\"Old1\"\nrow\t273\t\"Old2\"\n");
  esbsim::Store reader, writer;
  ASSERT_EQ(reader.open(store.path(), false), 0) << reader.error();
  ASSERT_EQ(writer.open(store.path(), false), 0) << writer.error();

  // The other connection commits the moment the read starts its second
  // statement; a read of one statement has no such moment, and the commit
  // follows it.
  struct Hook {
    esbsim::Store* writer;
    int statements = 0;
    int32_t committed = -1;
  } hook{&writer};
  const auto onStatement = [](unsigned, void* context, void*, void*) -> int {
    auto* h = static_cast<Hook*>(context);
    if (++h->statements == 2) h->committed = Replace(*h->writer);
    return 0;
  };
  sqlite3_trace_v2(reader.db().handle(), SQLITE_TRACE_STMT, onStatement, &hook);
  Read during;
  const int32_t status =
      reader.openFilter("App", "Db", "F", during.found, during.rows, during.count);
  sqlite3_trace_v2(reader.db().handle(), 0, nullptr, nullptr);
  ASSERT_EQ(status, 0) << reader.error();
  if (hook.statements < 2) hook.committed = Replace(writer);
  ASSERT_EQ(hook.committed, 0) << writer.error();

  EXPECT_EQ(during.found.active, 1);
  EXPECT_EQ(during.found.access, 375);
  ASSERT_EQ(during.count, 2u);
  EXPECT_EQ(during.rows[0].text, "\"Old1\"");
  EXPECT_EQ(during.rows[1].text, "\"Old2\"");
  EXPECT_EQ(during.rows[1].access, 273);

  Read after;
  ASSERT_EQ(reader.openFilter("App", "Db", "F", after.found, after.rows, after.count), 0);
  EXPECT_EQ(after.found.active, 0);
  EXPECT_EQ(after.found.access, 273);
  ASSERT_EQ(after.count, 3u);
  EXPECT_EQ(after.rows[0].text, "\"New1\"");
  EXPECT_EQ(after.rows[2].text, "\"New3\"");
  EXPECT_EQ(after.rows[2].access, 275);
}

// A filter deleted while it is read is read whole all the same; the next
// read finds it gone.
TEST(StoreRead, FilterDeletedDuringAReadIsReadWhole) {
  TempStore store;
  store.Load(Header() +
             "app\tApp\tloaded\ndb\tApp\tDb\nfilter\tApp\tDb\tF\t1\t375\n"
             "row\t273\t\"Old1\"\nrow\t273\t\"Old2\"\n");
  esbsim::Store reader, writer;
  ASSERT_EQ(reader.open(store.path(), false), 0) << reader.error();
  ASSERT_EQ(writer.open(store.path(), false), 0) << writer.error();
  struct Hook {
    esbsim::Store* writer;
    int statements = 0;
    int32_t deleted = -1;
  } hook{&writer};
  const auto onStatement = [](unsigned, void* context, void*, void*) -> int {
    auto* h = static_cast<Hook*>(context);
    if (++h->statements == 2) h->deleted = h->writer->deleteFilter("App", "Db", "F");
    return 0;
  };
  sqlite3_trace_v2(reader.db().handle(), SQLITE_TRACE_STMT, onStatement, &hook);
  Read during;
  const int32_t status =
      reader.openFilter("App", "Db", "F", during.found, during.rows, during.count);
  sqlite3_trace_v2(reader.db().handle(), 0, nullptr, nullptr);
  ASSERT_EQ(status, 0) << reader.error();
  if (hook.statements < 2) hook.deleted = writer.deleteFilter("App", "Db", "F");
  ASSERT_EQ(hook.deleted, 0) << writer.error();
  ASSERT_EQ(during.count, 2u);
  EXPECT_EQ(during.rows[1].text, "\"Old2\"");

  Read after;
  EXPECT_EQ(reader.openFilter("App", "Db", "F", after.found, after.rows, after.count),
            ESB_STS_UNKNOWN_FILTER);
}

}  // namespace
}  // namespace simtest

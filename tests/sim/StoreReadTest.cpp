// A filter is read as one state of the store: what another connection
// commits while a read is under way shows in none of it, and the next read
// sees all of it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

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
  int32_t status = -1;
};

// F with two rows, a reader and another connection on the same store.
class StoreRead : public ::testing::Test {
 protected:
  void SetUp() override {
    store.Load(Header() +
               "app\tApp\tloaded\ndb\tApp\tDb\nfilter\tApp\tDb\tF\t1\t375\n"
               "row\t273\t\"Old1\"\nrow\t273\t\"Old2\"\n");
    ASSERT_EQ(reader.open(store.path(), false), 0) << reader.error();
    ASSERT_EQ(writer.open(store.path(), false), 0) << writer.error();
  }

  Read ReadF() {
    Read r;
    r.status = reader.openFilter("App", "Db", "F", r.found, r.rows, r.count);
    return r;
  }

  // Reads F while `change` commits on the other connection the moment the
  // read starts its second statement; a read of one statement has no such
  // moment, and the change follows it. `changed` is the change's status.
  Read ReadWhile(const std::function<int32_t(esbsim::Store&)>& change, int32_t& changed) {
    struct Hook {
      const std::function<int32_t(esbsim::Store&)>* change;
      esbsim::Store* writer;
      int statements = 0;
      int32_t status = -1;
    } hook{&change, &writer};
    const auto onStatement = [](unsigned, void* context, void*, void*) -> int {
      auto* h = static_cast<Hook*>(context);
      if (++h->statements == 2) h->status = (*h->change)(*h->writer);
      return 0;
    };
    sqlite3_trace_v2(reader.db().handle(), SQLITE_TRACE_STMT, onStatement, &hook);
    Read during = ReadF();
    sqlite3_trace_v2(reader.db().handle(), 0, nullptr, nullptr);
    if (hook.statements < 2) hook.status = change(writer);
    changed = hook.status;
    return during;
  }

  TempStore store;
  esbsim::Store reader, writer;
};

TEST_F(StoreRead, CommitBetweenTheStatementsOfAReadDoesNotMixIn) {
  // Replaces F's values and rows, as another process's import would.
  const auto replace = [](esbsim::Store& w) {
    const std::vector<StoredRow> rows = {{275, "\"New1\""}, {275, "\"New2\""}, {275, "\"New3\""}};
    return w.commitFilter("App", "Db", "F", 0, 273, rows, rows.size());
  };
  int32_t committed = -1;
  const Read during = ReadWhile(replace, committed);
  ASSERT_EQ(during.status, 0) << reader.error();
  ASSERT_EQ(committed, 0) << writer.error();
  EXPECT_EQ(during.found.active, 1);
  EXPECT_EQ(during.found.access, 375);
  ASSERT_EQ(during.count, 2u);
  EXPECT_EQ(during.rows[0].text, "\"Old1\"");
  EXPECT_EQ(during.rows[1].text, "\"Old2\"");
  EXPECT_EQ(during.rows[1].access, 273);

  const Read after = ReadF();
  ASSERT_EQ(after.status, 0);
  EXPECT_EQ(after.found.active, 0);
  EXPECT_EQ(after.found.access, 273);
  ASSERT_EQ(after.count, 3u);
  EXPECT_EQ(after.rows[0].text, "\"New1\"");
  EXPECT_EQ(after.rows[2].text, "\"New3\"");
  EXPECT_EQ(after.rows[2].access, 275);
}

// A filter deleted while it is read is read whole all the same; the next
// read finds it gone.
TEST_F(StoreRead, FilterDeletedDuringAReadIsReadWhole) {
  int32_t deleted = -1;
  const Read during =
      ReadWhile([](esbsim::Store& w) { return w.deleteFilter("App", "Db", "F"); }, deleted);
  ASSERT_EQ(during.status, 0) << reader.error();
  ASSERT_EQ(deleted, 0) << writer.error();
  ASSERT_EQ(during.count, 2u);
  EXPECT_EQ(during.rows[1].text, "\"Old2\"");
  EXPECT_EQ(ReadF().status, ESB_STS_UNKNOWN_FILTER);
}

}  // namespace
}  // namespace simtest

// The store takes UTF-8 texts within the server's limits and nothing else:
// the last gate before the file, whatever face a write came through.
#include <gtest/gtest.h>

#include "essbase/library/esbapin.h"
#include "sim/Store.h"
#include "tests/sim/SimTestSupport.h"

namespace simtest {
namespace {

using esbsim::StoredFilter;
using esbsim::StoredRow;

std::string Times(const std::string& s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";

class StoreTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    store_.Load(Header() + "app\tApp\tloaded\ndb\tApp\tDb\n");
    ASSERT_EQ(db_.open(store_.path(), false), 0) << db_.error();
  }
  int32_t Commit(const std::string& name, const std::vector<std::string>& texts) {
    std::vector<StoredRow> rows;
    for (const auto& t : texts) rows.push_back({273, t});
    return db_.commitFilter("App", "Db", name, 1, 375, rows, rows.size());
  }
  std::vector<std::string> Names() {
    int64_t id = 0;
    std::vector<std::string> names;
    EXPECT_EQ(db_.findDatabase("App", "Db", id), 0);
    EXPECT_EQ(db_.listFilters(id, names), 0);
    return names;
  }
  TempStore store_;
  esbsim::Store db_;
};

TEST_F(StoreTexts, NameOfTwoHundredFiftySixCharactersIsHeldWhole) {
  const std::string name = Times(kTokyo, 128);
  ASSERT_EQ(Commit(name, {"x"}), 0);
  EXPECT_EQ(Names(), std::vector<std::string>{name});
}

TEST_F(StoreTexts, NameOfTwoHundredFiftySevenCharactersIsRefused) {
  EXPECT_EQ(Commit(Times(kTokyo, 128) + "x", {"x"}), ESB_STS_BAD_NAME);
  EXPECT_TRUE(Names().empty());
}

TEST_F(StoreTexts, NameThatIsNotUtf8IsRefused) {
  EXPECT_EQ(Commit("caf\xE9", {"x"}), ESB_STS_BAD_NAME);
  EXPECT_TRUE(Names().empty());
}

TEST_F(StoreTexts, RowOfEightThousandOneHundredNinetyTwoCharactersIsHeldWhole) {
  const std::string row = Times(kTokyo, 4096);
  ASSERT_EQ(Commit("F", {row}), 0);
  StoredFilter found;
  std::vector<StoredRow> rows;
  size_t count = 0;
  ASSERT_EQ(db_.openFilter("App", "Db", "F", found, rows, count), 0);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(rows[0].text, row);
}

TEST_F(StoreTexts, RowTooLongOrNotUtf8RefusesTheWholeFilter) {
  EXPECT_EQ(Commit("F", {"ok", Times(kTokyo, 4096) + "x"}), ESB_STS_BAD_ROW);
  EXPECT_EQ(Commit("F", {"ok", "\"M\xFCnchen\""}), ESB_STS_BAD_ROW);
  EXPECT_TRUE(Names().empty());
}

TEST_F(StoreTexts, NamesCompareExactly) {
  ASSERT_EQ(Commit("R\xC3\xA9gion", {"x"}), 0);
  StoredFilter found;
  EXPECT_EQ(db_.findFilter("App", "Db", "R\xC3\xA9gion", found), 0);
  EXPECT_EQ(db_.findFilter("App", "Db", "r\xC3\xA9gion", found), ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(db_.findFilter("App", "Db", "R\xC3\x89gion", found), ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(db_.findFilter("App", "Db", "R\xE9gion", found), ESB_STS_UNKNOWN_FILTER);
}

}  // namespace
}  // namespace simtest

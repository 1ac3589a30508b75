// The row diff against the longest common subsequence computed the slow,
// obvious way, on many small random filters.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "compare/RowDiff.h"

namespace compare {
namespace {

size_t LongestCommon(const std::vector<Row>& a, const std::vector<Row>& b) {
  std::vector<std::vector<size_t>> t(a.size() + 1, std::vector<size_t>(b.size() + 1, 0));
  for (size_t i = 1; i <= a.size(); ++i)
    for (size_t j = 1; j <= b.size(); ++j)
      t[i][j] =
          a[i - 1].text == b[j - 1].text ? t[i - 1][j - 1] + 1 : std::max(t[i - 1][j], t[i][j - 1]);
  return t[a.size()][b.size()];
}

// Whether `part` appears in `whole` in order.
bool InOrder(const std::vector<std::string>& part, const std::vector<Row>& whole) {
  size_t at = 0;
  for (const Row& r : whole)
    if (at < part.size() && part[at] == r.text) ++at;
  return at == part.size();
}

// The removed rows are rows of `a` in order, the added ones rows of `b`;
// returns how many rows were removed and added.
size_t CheckScript(const std::vector<Row>& a, const std::vector<Row>& b,
                   const std::vector<RowEdit>& edits) {
  std::vector<std::string> removed, added;
  for (const RowEdit& e : edits) {
    if (e.change == RowChange::Removed) removed.push_back(e.text);
    if (e.change == RowChange::Added) added.push_back(e.text);
  }
  EXPECT_TRUE(InOrder(removed, a));
  EXPECT_TRUE(InOrder(added, b));
  return removed.size() + added.size();
}

std::vector<Row> Random(std::mt19937& random, size_t maxRows) {
  static const char* const Letters[] = {"a", "b", "c", "d"};
  std::vector<Row> rows(std::uniform_int_distribution<size_t>(0, maxRows)(random));
  for (Row& r : rows) {
    r.text = Letters[random() % 4];
    r.access = static_cast<int16_t>(random() % 2 ? 273 : 275);
  }
  return rows;
}

TEST(RowDiff, ScriptIsLongerThanTheShortestOrOutOfOrder) {
  std::mt19937 random(18);
  for (int round = 0; round < 3000 && !HasFailure(); ++round) {
    const std::vector<Row> a = Random(random, 14), b = Random(random, 14);
    EXPECT_EQ(CheckScript(a, b, DiffRows(a, b)), a.size() + b.size() - 2 * LongestCommon(a, b))
        << "round " << round;
  }
}

TEST(RowDiff, AccessChangeOfAKeptRowIsLostAmongDuplicates) {
  const std::vector<Row> a = {{"x", 0}, {"x", 273}, {"y", 0}};
  const std::vector<Row> b = {{"x", 0}, {"x", 275}, {"y", 0}};
  EXPECT_EQ(DiffRows(a, b), (std::vector<RowEdit>{{RowChange::AccessChanged, "x", 273, 275}}));
}

}  // namespace
}  // namespace compare

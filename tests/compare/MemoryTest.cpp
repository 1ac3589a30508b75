// What the comparison holds: the index of the incoming side and one filter
// at a time, never every filter's rows and never a table of rows by rows.
#include <gtest/gtest.h>

#include <fstream>

#include "compare/Comparison.h"
#include "tests/compare/HeapWatch.h"
#include "tests/support/TestFiles.h"

namespace compare {
namespace {

using testing::HeapInUse;
using testing::HeapPeak;
using testing::ResetHeapPeak;

class Count : public DifferenceSink {
 public:
  void Filter(const FilterDifference& d) override {
    edits += d.rows.size();
    if (d.verdict != Verdict::Same) ++different;
  }
  size_t edits = 0;
  size_t different = 0;
};

std::string Text(int filter, int row) {
  return "@IDESCENDANTS(\"Member" + std::to_string(filter) + "_" + std::to_string(row) + "\")";
}

void WriteRecords(std::ostream& out, const std::string& name, const std::vector<Row>& rows) {
  for (const Row& r : rows)
    out << "App\tDb\t" << name << "\t" << r.access << "\t" << r.text << "\r\r\n";
}

// The heap the comparison adds at its peak, incoming side read from `file`.
template <typename Currents>
size_t ComparePeak(const std::string& file, Currents&& currents, Count& out) {
  const size_t before = HeapInUse();
  ResetHeapPeak();
  {
    std::ifstream in(file, std::ios::binary);
    IncomingSet incoming;
    EXPECT_EQ(filterfile::ReadFilterFile(in, incoming), filterfile::ReadOutcome::Complete);
    Comparison comparison(incoming, out, Scope::WholeDatabase);
    currents(comparison);
    EXPECT_TRUE(comparison.Finish());
  }
  return HeapPeak() - before;
}

class CompareMemory : public ::testing::Test {
 protected:
  // Peak over the comparison of `filters` filters of 30 rows, the same on
  // both sides.
  size_t ManyFiltersPeak(int filters) {
    const std::string file = dir / ("many" + std::to_string(filters) + ".txt");
    std::ofstream out(file, std::ios::binary);
    // One filter's rows at a time, as a reader of the current side has them.
    std::vector<std::string> texts(30);
    auto rowsOf = [&texts](int f) {
      std::vector<Row> rows;
      for (size_t r = 0; r < texts.size(); ++r) {
        texts[r] = Text(f, static_cast<int>(r));
        rows.push_back({texts[r], 273});
      }
      return rows;
    };
    for (int f = 0; f < filters; ++f) WriteRecords(out, "Filter" + std::to_string(f), rowsOf(f));
    out.close();
    Count count;
    const size_t peak = ComparePeak(
        file,
        [&](Comparison& c) {
          for (int f = 0; f < filters; ++f)
            EXPECT_TRUE(c.Current({"Filter" + std::to_string(f), {1, 375}, rowsOf(f)}));
        },
        count);
    EXPECT_EQ(count.different, 0u);
    return peak;
  }

  support::TempDir dir;
};

TEST_F(CompareMemory, EveryFiltersRowsAreHeldAtOnce) {
  const size_t few = ManyFiltersPeak(300);
  const size_t many = ManyFiltersPeak(3000);
  // Thirty rows take some 3 KB in memory; a filter's place in the index about a
  // twentieth of that.
  EXPECT_LT(many, few + 2700 * 400) << few << " bytes for 300 filters, " << many << " for 3000";
}

TEST_F(CompareMemory, HugeFilterNeedsATableOfRowsByRows) {
  constexpr int Rows = 200'000;
  const size_t before = HeapInUse();
  std::vector<std::string> texts;
  for (int r = 0; r < Rows; ++r) texts.push_back(Text(0, r));
  FilterDefinition current{"Huge", {1, 375}, {}};
  for (const std::string& text : texts) current.rows.push_back({text, 273});
  const size_t rowBytes = HeapInUse() - before;

  // One row inserted a third of the way in, one removed two thirds in: the
  // middle third is left to the diff proper.
  std::vector<Row> incoming = current.rows;
  incoming.erase(incoming.begin() + 2 * Rows / 3);
  incoming.insert(incoming.begin() + Rows / 3, {"inserted", 0});
  const std::string file = dir / "huge.txt";
  {
    std::ofstream out(file, std::ios::binary);
    WriteRecords(out, "Huge", incoming);
  }
  incoming = {};
  Count count;
  const size_t peak = ComparePeak(
      file, [&](Comparison& c) { EXPECT_TRUE(c.Current(current)); }, count);
  EXPECT_EQ(count.different, 1u);
  EXPECT_EQ(count.edits, 2u);
  // The incoming rows read back, the diff's numbering of both sides and its
  // working arrays: less than three times the rows, where a table would need 40 billion cells.
  EXPECT_LT(peak, 3 * rowBytes) << peak << " bytes at the peak, rows take " << rowBytes;
}

}  // namespace
}  // namespace compare

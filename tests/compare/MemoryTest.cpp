// What the comparison holds for one huge filter: never a table of rows by
// rows. (That it holds one filter at a time, not the database, scripts/bench
// shows by the diff's peak memory at two sizes.) Every operator new and
// delete of this program is counted here.
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <fstream>
#include <new>

#include "compare/CompareFile.h"
#include "compare/Comparison.h"
#include "tests/support/FakeServer.h"
#include "tests/support/TestFiles.h"

namespace {
std::atomic<size_t> inUse{0};
std::atomic<size_t> peak{0};
}  // namespace

void* operator new(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  const size_t now = inUse += malloc_usable_size(p);
  for (size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
  }
  return p;
}
void operator delete(void* p) noexcept {
  if (p) inUse -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  operator delete(p);
}

namespace compare {
namespace {

class Count : public DifferenceSink {
 public:
  void Filter(const FilterDifference& d) override {
    edits += d.rows.size();
    if (d.verdict != Verdict::Same) ++different;
  }
  size_t edits = 0;
  size_t different = 0;
};

TEST(CompareMemory, HugeFilterNeedsATableOfRowsByRows) {
  constexpr int Rows = 200'000;
  const size_t before = inUse;
  std::vector<std::string> texts;
  for (int r = 0; r < Rows; ++r)
    texts.push_back("@IDESCENDANTS(\"Member_" + std::to_string(r) + "\")");
  FilterDefinition current{"Huge", {1, 375}, {}};
  for (const std::string& text : texts) current.rows.push_back({text, 273});
  const size_t rowBytes = inUse - before;
  // One row inserted a third of the way in, one removed two thirds in: the
  // middle third is left to the diff proper.
  support::TempDir dir;
  {
    std::ofstream file(dir / "huge", std::ios::binary);
    for (int r = 0; r < Rows; ++r) {
      if (r == Rows / 3) file << "App\tDb\tHuge\t0\tinserted\r\r\n";
      if (r != 2 * Rows / 3) file << "App\tDb\tHuge\t273\t" << texts[r] << "\r\r\n";
    }
  }
  Count count;
  peak = inUse.load();
  const size_t start = peak;
  {
    std::ifstream in(dir / "huge", std::ios::binary);
    IncomingSet incoming;
    ASSERT_EQ(filterfile::ReadFilterFile(in, incoming), filterfile::ReadOutcome::Complete);
    Comparison comparison(incoming, count, Scope::WholeDatabase);
    ASSERT_TRUE(comparison.Current(current));
    ASSERT_TRUE(comparison.Finish());
  }
  const size_t used = peak - start;
  EXPECT_EQ(count.different, 1u);
  EXPECT_EQ(count.edits, 2u);
  // The incoming rows read back and the diff's numbering of both sides: less
  // than three times the rows, where a table would take 40 billion cells.
  EXPECT_LT(used, 3 * rowBytes) << used << " bytes at the peak, rows take " << rowBytes;
}

// The same filter read from the server: the comparison takes the rows the
// server's read hands it, one filter at a time, and still builds no table.
TEST(CompareMemory, HugeFilterReadFromTheServerNeedsNoTableEither) {
  constexpr int Rows = 200'000;
  essbase::testing::FakeServer server;
  server.AddDatabase("App", "Db");
  const size_t before = inUse;
  essbase::Filter& huge = server.AddFilter("App", "Db", "Huge");
  for (int r = 0; r < Rows; ++r)
    huge.rows.push_back({273, "@IDESCENDANTS(\"Member_" + std::to_string(r) + "\")"});
  const size_t rowBytes = inUse - before;
  support::TempDir dir;
  {
    std::ofstream file(dir / "huge", std::ios::binary);
    for (int r = 0; r < Rows; ++r) {
      if (r == Rows / 3) file << "App\tDb\tHuge\t0\tinserted\r\r\n";
      if (r != 2 * Rows / 3) file << "App\tDb\tHuge\t273\t" << huge.rows[r].text << "\r\r\n";
    }
  }
  Count count;
  peak = inUse.load();
  const size_t start = peak;
  {
    std::ifstream in(dir / "huge", std::ios::binary);
    const CompareOutcome outcome = CompareFileWithDatabase(server, in, {"App", "Db"}, {}, count);
    ASSERT_TRUE(outcome.ok());
  }
  const size_t used = peak - start;
  EXPECT_EQ(count.different, 1u);
  EXPECT_EQ(count.edits, 2u);
  // The copy of the filter the server's read hands over, the incoming rows
  // and the diff's numbering of both sides: still less than three times the
  // rows.
  EXPECT_LT(used, 3 * rowBytes) << used << " bytes at the peak, rows take " << rowBytes;
}

}  // namespace
}  // namespace compare

// The engine on sets in memory: an export file as the incoming side, filter
// definitions as the current side, each case one whole outcome.
#include <gtest/gtest.h>

#include <sstream>

#include "compare/CompareFile.h"
#include "tests/filterfile/FailingStreams.h"
#include "tests/support/FakeServer.h"

namespace compare {
namespace {

// One line per filter: "Name verdict[ values 1/375>0/273][ +text@275 -text@0
// ~text@273>275][ later-lost]".
class Recorder : public DifferenceSink {
 public:
  void Filter(const FilterDifference& d) override {
    static const char* const Verdicts[] = {"same",         "changed", "created",
                                           "only-current", "deleted", "unreadable"};
    text += d.name + " " + Verdicts[static_cast<int>(d.verdict)];
    auto values = [](const FilterValues& v) {
      return std::to_string(v.active) + "/" + std::to_string(v.access);
    };
    if (d.current && d.incoming && !(*d.current == *d.incoming))
      text += " values " + values(*d.current) + ">" + values(*d.incoming);
    for (const RowEdit& e : d.rows) {
      if (e.change == RowChange::Added) text += " +" + e.text + "@" + std::to_string(e.after);
      if (e.change == RowChange::Removed) text += " -" + e.text + "@" + std::to_string(e.before);
      if (e.change == RowChange::AccessChanged)
        text += " ~" + e.text + "@" + std::to_string(e.before) + ">" + std::to_string(e.after);
    }
    text += d.laterDefinitionLost ? " later-lost\n" : "\n";
  }
  std::string text;
};

// One record of an export file.
std::string R(const std::string& filter, int access, std::string_view text) {
  return "App\tDb\t" + filter + "\t" + std::to_string(access) + "\t" + std::string(text) + "\r\r\n";
}

FilterDefinition F(const std::string& name, std::vector<Row> rows, FilterValues values = {1, 375}) {
  return {name, values, std::move(rows)};
}

struct Case {
  const char* fault;  // what a wrong engine would do
  std::string incoming;
  std::vector<FilterDefinition> current;
  std::string expected;
};

class CompareSets : public ::testing::TestWithParam<Case> {};

TEST_P(CompareSets, ReportsEveryFilterOnce) {
  const Case& c = GetParam();
  std::istringstream file(c.incoming);
  IncomingSet incoming;
  ASSERT_EQ(filterfile::ReadFilterFile(file, incoming), filterfile::ReadOutcome::Complete);
  Recorder out;
  Comparison comparison(incoming, out, Scope::WholeDatabase);
  for (const FilterDefinition& f : c.current) ASSERT_TRUE(comparison.Current(f));
  ASSERT_TRUE(comparison.Finish());
  EXPECT_EQ(out.text, c.expected);
}

const std::vector<Row> Five = {{"r1", 273}, {"r2", 273}, {"r3", 275}, {"r4", 0}, {"r5", 273}};

std::string FiveWithNewSecond() {
  std::string out;
  for (const Row& r : Five)
    out += R("A", r.access, r.text) + (r.text == "r1" ? R("A", 273, "new") : "");
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Engine, CompareSets,
    ::testing::Values(
        Case{"IdenticalSetsDiffer",
             R("A", 273, "East") + R("A", 275, "West") + R("B", 0, "x"),
             {F("A", {{"East", 273}, {"West", 275}}), F("B", {{"x", 0}})},
             "A same\nB same\n"},
        Case{"ReorderedFiltersDiffer",
             R("B", 0, "x") + R("A", 273, "East"),
             {F("A", {{"East", 273}}), F("B", {{"x", 0}})},
             "A same\nB same\n"},
        Case{"InsertedRowChangesEveryLaterRow",
             FiveWithNewSecond(),
             {F("A", Five)},
             "A changed +new@273\n"},
        Case{"ChangedAccessIsARemovalAndAnAddition",
             R("A", 273, "East") + R("A", 273, "West") + R("A", 0, "South"),
             {F("A", {{"East", 273}, {"West", 275}, {"South", 0}})},
             "A changed ~West@275>273\n"},
        Case{"ReplacedRowIsAddedBeforeItIsRemoved",
             R("A", 273, "a") + R("A", 273, "B") + R("A", 273, "c"),
             {F("A", {{"a", 273}, {"b", 273}, {"c", 273}})},
             "A changed -b@273 +B@273\n"},
        Case{"FilterOnlyOnOneSideIsMissed",
             R("A", 0, "x") + R("New", 273, "n1") + R("New", 0, "n2"),
             {F("Old", {{"o", 273}}), F("A", {{"x", 0}}), F("Empty", {})},
             "Old only-current\nA same\nEmpty only-current\nNew created +n1@273 +n2@0\n"},
        Case{"TrailingBlanksMakeAnotherFilter",
             R("A  ", 0, "x") + R("B", 0, "y") + R("B ", 0, "z"),
             {F("A", {{"x", 0}}), F("B", {{"y", 0}, {"z", 0}})},
             "A same\nB same\n"},
        Case{"ServerValuesOtherThanAnImportsAreIgnored",
             R("A", 0, "x"),
             {F("A", {{"x", 0}}, {0, 273})},
             "A changed values 0/273>1/375\n"},
        Case{"EarlierDefinitionOfANameThatComesBackStands",
             R("A", 0, "first") + R("B", 0, "y") + R("A", 0, "last"),
             {F("A", {{"first", 0}}), F("B", {{"y", 0}})},
             "A changed -first@0 +last@0\nB same\n"},
        Case{"DefinitionThatLostALineReplacesTheOneBefore",
             R("A", 0, "first") + R("B", 0, "y") + R("A", 0, "last") + "App\tDb\tA\tbad\tline\r\n",
             {F("A", {{"first", 0}}), F("B", {{"y", 0}})},
             "A same later-lost\nB same\n"},
        Case{"FilterWithOnlyALostDefinitionLooksComplete",
             R("A", 0, "x") + "App\tDb\tA\tbad\tline\r\n" + R("Gone", 0, "g") +
                 "App\tDb\tGone\t\r\n",
             {F("A", {{"y", 0}})},
             "A unreadable\nGone unreadable\n"}),
    [](const auto& info) { return std::string(info.param.fault); });

TEST(CompareFile, FileCutShortByTheDeviceIsComparedAnyway) {
  essbase::testing::FakeServer server;
  server.AddFilter("App", "Db", "A", {{0, "x"}});
  filterfile::testing::BrokenReadBuffer broken(R("A", 0, "x") + R("B", 0, "y"), 8);
  std::istream file(&broken);
  Recorder out;
  const CompareOutcome outcome = CompareFileWithDatabase(server, file, {"App", "Db"}, {}, out);
  EXPECT_EQ(outcome.end, CompareEnd::FileUnreadable);
  EXPECT_TRUE(server.calls.empty());
  EXPECT_EQ(out.text, "");
}

}  // namespace
}  // namespace compare

// The engine on sets in memory: an export file as the incoming side, filter
// definitions as the current side, each case one whole outcome.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "compare/Comparison.h"
#include "tests/compare/CompareTestSupport.h"

namespace compare {
namespace {

using testing::Recorder;

// One record of an export file.
std::string R(const std::string& filter, int access, const std::string& text) {
  return "App\tDb\t" + filter + "\t" + std::to_string(access) + "\t" + text + "\r\r\n";
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
  // The tally counts each filter reported, one line each.
  const Tally& t = comparison.tally();
  EXPECT_EQ(static_cast<uint64_t>(std::count(out.text.begin(), out.text.end(), '\n')),
            t.same + t.changed + t.created + t.onlyCurrent + t.deleted + t.unreadable);
}

const std::vector<Row> Five = {{"r1", 273}, {"r2", 273}, {"r3", 275}, {"r4", 0}, {"r5", 273}};

std::string FiveWith(const std::string& name, size_t at, const std::string& inserted) {
  std::string out;
  for (size_t i = 0; i < Five.size(); ++i) {
    if (i == at) out += R(name, 273, inserted);
    out += R(name, Five[i].access, std::string(Five[i].text));
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Engine, CompareSets,
    ::testing::Values(Case{"IdenticalSetsDiffer",
                           R("A", 273, "East") + R("A", 275, "West") + R("B", 0, "x"),
                           {F("A", {{"East", 273}, {"West", 275}}), F("B", {{"x", 0}})},
                           "A same\nB same\n"},
                      Case{"ReorderedFiltersDiffer",
                           R("B", 0, "x") + R("A", 273, "East"),
                           {F("A", {{"East", 273}}), F("B", {{"x", 0}})},
                           "A same\nB same\n"},
                      Case{"InsertedRowChangesEveryLaterRow",
                           FiveWith("A", 1, "new"),
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
                      Case{"FilterOnlyInTheFileIsMissed",
                           R("A", 0, "x") + R("New", 273, "n1") + R("New", 0, "n2"),
                           {F("A", {{"x", 0}})},
                           "A same\nNew created +n1@273 +n2@0\n"},
                      Case{"FilterOnlyOnTheServerIsMissed",
                           R("A", 0, "x"),
                           {F("Old", {{"o", 273}}), F("A", {{"x", 0}}), F("Empty", {})},
                           "Old only-current\nA same\nEmpty only-current\n"},
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
                           R("A", 0, "first") + R("B", 0, "y") + R("A", 0, "last") +
                               "App\tDb\tA\tbad\tline\r\n",
                           {F("A", {{"first", 0}}), F("B", {{"y", 0}})},
                           "A same later-lost\nB same\n"},
                      Case{"FilterWithOnlyALostDefinitionLooksComplete",
                           R("A", 0, "x") + "App\tDb\tA\tbad\tline\r\n" + R("Gone", 0, "g") +
                               "App\tDb\tGone\t\r\n",
                           {F("A", {{"y", 0}})},
                           "A unreadable\nGone unreadable\n"}),
    [](const auto& info) { return std::string(info.param.fault); });

TEST(CompareScope, BackupReportsNeitherOtherFiltersNorDeletionsOfNamesTheServerLacks) {
  std::istringstream file(R("Kept", 0, "k"));
  IncomingSet incoming;
  incoming.Expect("Kept", {0, 273});
  incoming.Expect("NoRows", {1, 0});
  incoming.Delete("Made");
  incoming.Delete("NeverMade");
  ASSERT_EQ(filterfile::ReadFilterFile(file, incoming), filterfile::ReadOutcome::Complete);
  Recorder out;
  Comparison comparison(incoming, out, Scope::NamedFilters);
  for (const FilterDefinition& f :
       {F("Other", {{"o", 0}}), F("Made", {{"m", 0}}), F("Kept", {{"k", 0}}, {1, 375})})
    ASSERT_TRUE(comparison.Current(f));
  ASSERT_TRUE(comparison.Finish());
  EXPECT_EQ(out.text, "Made deleted\nKept changed values 1/375>0/273\nNoRows created\n");
  EXPECT_EQ(comparison.tally(), (Tally{0, 1, 1, 0, 1, 0}));
  EXPECT_TRUE(comparison.tally().differs());
}

}  // namespace
}  // namespace compare

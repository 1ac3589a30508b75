// Reading and writing filters: rows, atomic replacement, buffer refusal.
#include <cstring>

#include "tests/sim/ConformanceFixture.h"

namespace simtest {
namespace {

using namespace essbase;

using Filters = Conformance;

TEST_P(Filters, RowsReadBackWithAccessAndTab) {
  Handle c = Connect();
  EXPECT_EQ(ReadRows(c, "Sample", "Basic", "Alpha"),
            (std::vector<Row>{{273, "@IDESCENDANTS(\"East\")"}, {275, "\"Actual\",\t\"Budget\""}}));
}

TEST_P(Filters, GetFilterGivesActiveAndAccess) {
  Handle c = Connect();
  int16_t active = -1, access = -1;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Beta", active, access), 0);
  EXPECT_EQ(active, 0);
  EXPECT_EQ(access, 273);
}

TEST_P(Filters, UnknownObjectsHaveTheirOwnStatus) {
  Handle c = Connect();
  int16_t active, access;
  EXPECT_EQ(api().EsbGetFilter(c, "Nope", "Basic", "Alpha", active, access),
            ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Nope", "Alpha", active, access),
            ESB_STS_UNKNOWN_DATABASE);
  EXPECT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "alpha", active, access),
            ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(
      api().EsbGetFilter(c, "Sample", "Basic", "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", active, access),
      ESB_STS_BAD_NAME);
}

TEST_P(Filters, EndOfRowsIsNulThenReadIsClosed) {
  Handle c = Connect();
  int16_t active, access = -1;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Empty", active, access), 0);
  std::string row(10, '#');
  ASSERT_EQ(api().EsbGetFilterRow(c, row, access), 0);
  EXPECT_EQ(row[0], '\0');
  EXPECT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROWS_NOT_OPEN);
}

TEST_P(Filters, RowReadWithoutGetFilterIsRefused) {
  Handle c = Connect();
  std::string row(10, '#');
  int16_t access;
  EXPECT_EQ(api().EsbGetFilterRow(c, row, access), ESB_STS_ROWS_NOT_OPEN);
}

// A row of exactly the buffer's length needs one byte more for its NUL: it
// must be refused untouched, stay pending, and come whole with a larger buffer.
TEST_P(Filters, RowThatDoesNotFitIsRefusedWithoutOverrun) {
  Handle c = Connect();
  const std::string text = "@IDESCENDANTS(\"East\")";  // 21 characters
  int16_t active, access = -1;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Alpha", active, access), 0);
  std::string buffer(text.size() + 8, '#');
  std::span<char> exact(buffer.data(), text.size());
  EXPECT_EQ(api().EsbGetFilterRow(c, exact, access), ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_EQ(buffer, std::string(text.size() + 8, '#'));
  std::span<char> enough(buffer.data(), text.size() + 1);
  ASSERT_EQ(api().EsbGetFilterRow(c, enough, access), 0);
  EXPECT_EQ(std::string(buffer.data()), text);
  EXPECT_EQ(access, 273);
  EXPECT_EQ(buffer.substr(text.size() + 1), "#######");
}

TEST_P(Filters, WrittenFilterIsAppendedToListing) {
  Handle c = Connect();
  Write(c, "Sample", "Basic", "Gamma", {{273, "\"Sales\""}});
  EXPECT_EQ(FilterNames(c, "Sample", "Basic"),
            (std::vector<std::string>{"Alpha", "Beta", "Empty", "Gamma"}));
  int16_t active = -1, access = -1;
  ASSERT_EQ(api().EsbGetFilter(c, "Sample", "Basic", "Gamma", active, access), 0);
  EXPECT_EQ(active, 1);
  EXPECT_EQ(access, FilterAccess);
}

TEST_P(Filters, ReplacedFilterKeepsItsPlaceAndLosesOldRows) {
  Handle c = Connect();
  Write(c, "Sample", "Basic", "Alpha", {{0, "\"Scenario\""}});
  EXPECT_EQ(FilterNames(c, "Sample", "Basic"),
            (std::vector<std::string>{"Alpha", "Beta", "Empty"}));
  EXPECT_EQ(ReadRows(c, "Sample", "Basic", "Alpha"), (std::vector<Row>{{0, "\"Scenario\""}}));
}

TEST_P(Filters, LongestRowRoundTrips) {
  Handle c = Connect();
  const std::string longest(8192, 'x');
  Write(c, "Sample", "Spare", "Long", {{275, longest}});
  EXPECT_EQ(ReadRows(c, "Sample", "Spare", "Long", 8193), (std::vector<Row>{{275, longest}}));
}

TEST_P(Filters, BadRowsAreRefusedAndDefinitionStaysOpen) {
  Handle c = Connect();
  ASSERT_EQ(api().EsbSetFilter(c, "Sample", "Spare", "F", 1, FilterAccess), 0);
  EXPECT_EQ(api().EsbSetFilterRow(c, std::string(8193, 'x').c_str(), 273), ESB_STS_BAD_ROW);
  EXPECT_EQ(api().EsbSetFilterRow(c, "a\rb", 273), ESB_STS_BAD_ROW);
  EXPECT_EQ(api().EsbSetFilterRow(c, "a\nb", 273), ESB_STS_BAD_ROW);
  EXPECT_EQ(api().EsbSetFilterRow(c, "", 273), ESB_STS_BAD_ROW);
  ASSERT_EQ(api().EsbSetFilterRow(c, "ok", -5), 0);
  ASSERT_EQ(api().EsbSetFilterRow(c, nullptr, FilterAccess), 0);
  EXPECT_EQ(ReadRows(c, "Sample", "Spare", "F"), (std::vector<Row>{{-5, "ok"}}));
}

TEST_P(Filters, SetFilterValidatesItsTarget) {
  Handle c = Connect();
  EXPECT_EQ(api().EsbSetFilter(c, "Nope", "Basic", "F", 1, 375), ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_EQ(api().EsbSetFilter(c, "Sample", "Nope", "F", 1, 375), ESB_STS_UNKNOWN_DATABASE);
  EXPECT_EQ(api().EsbSetFilter(c, "Sample", "Basic", "", 1, 375), ESB_STS_BAD_NAME);
  EXPECT_EQ(api().EsbSetFilter(c, "Sample", "Basic", "a\nb", 1, 375), ESB_STS_BAD_NAME);
  EXPECT_EQ(api().EsbSetFilterRow(c, "row", 273), ESB_STS_ROWS_NOT_OPEN);
}

TEST_P(Filters, ClosingWithNothingOpenSucceeds) {
  Handle c = Connect();
  EXPECT_EQ(api().EsbSetFilterRow(c, nullptr, FilterAccess), 0);
  EXPECT_EQ(FilterNames(c, "Sample", "Basic").size(), 3u);
}

TEST_P(Filters, RowWithoutDefinitionIsRefused) {
  Handle c = Connect();
  EXPECT_EQ(api().EsbSetFilterRow(c, "\"Actual\"", 273), ESB_STS_ROWS_NOT_OPEN);
}

// A writer that never closes its definition must leave the old filter whole:
// not in this instance, and not in another one.
TEST_P(Filters, UnclosedDefinitionLeavesOldFilter) {
  const std::vector<Row> old = {{273, "@IDESCENDANTS(\"East\")"}, {275, "\"Actual\",\t\"Budget\""}};
  Handle writer = Connect();
  ASSERT_EQ(api().EsbSetFilter(writer, "Sample", "Basic", "Alpha", 1, FilterAccess), 0);
  ASSERT_EQ(api().EsbSetFilterRow(writer, "\"Half\"", 0), 0);
  Handle other = Connect();
  EXPECT_EQ(ReadRows(other, "Sample", "Basic", "Alpha"), old);
  EXPECT_EQ(ReadRows(writer, "Sample", "Basic", "Alpha"), old);
  ASSERT_EQ(api().EsbTerm(instances_.front()), 0);
  EXPECT_EQ(ReadRows(other, "Sample", "Basic", "Alpha"), old);
}

TEST_P(Filters, NewDefinitionDiscardsOpenOne) {
  Handle c = Connect();
  ASSERT_EQ(api().EsbSetFilter(c, "Sample", "Basic", "Alpha", 1, FilterAccess), 0);
  ASSERT_EQ(api().EsbSetFilterRow(c, "\"Lost\"", 0), 0);
  Write(c, "Sample", "Basic", "Beta", {{275, "\"Kept\""}});
  EXPECT_EQ(ReadRows(c, "Sample", "Basic", "Alpha").size(), 2u);
  EXPECT_EQ(ReadRows(c, "Sample", "Basic", "Beta"), (std::vector<Row>{{275, "\"Kept\""}}));
}

TEST_P(Filters, DeletedFilterIsGone) {
  Handle c = Connect();
  ASSERT_EQ(api().EsbDeleteFilter(c, "Sample", "Basic", "Beta"), 0);
  EXPECT_EQ(FilterNames(c, "Sample", "Basic"), (std::vector<std::string>{"Alpha", "Empty"}));
  EXPECT_EQ(api().EsbDeleteFilter(c, "Sample", "Basic", "Beta"), ESB_STS_UNKNOWN_FILTER);
  // A filter of the same name written later starts without the old rows.
  Write(c, "Sample", "Basic", "Beta", {});
  EXPECT_TRUE(ReadRows(c, "Sample", "Basic", "Beta").empty());
}

TEST_P(Filters, CommitSurvivesInAnotherInstance) {
  Handle c = Connect();
  Write(c, "FULLNAM8", "DBFULL08", "New", {{273, "a"}, {275, "b"}});
  Handle other = Connect();
  EXPECT_EQ(ReadRows(other, "FULLNAM8", "DBFULL08", "New"),
            (std::vector<Row>{{273, "a"}, {275, "b"}}));
}

SIM_EVERY_WAY(Filters);

}  // namespace
}  // namespace simtest

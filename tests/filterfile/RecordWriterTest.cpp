#include "filterfile/RecordWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "tests/filterfile/FailingStreams.h"
#include "tests/support/FakeServer.h"
#include "tests/support/LibraryRig.h"

namespace filterfile {
namespace {

using essbase::Database;
using essbase::Filter;
using essbase::testing::FakeEssbaseApi;

const Database Plan{"Finance", "Plan"};

// A database read into a file as Export reads it: every listed filter, the
// command-line row buffer, through the client library's backend.
class DatabaseIntoFile : public ::testing::Test, protected essbase::testing::LibraryRig {
 protected:
  DatabaseIntoFile() {
    api.AddDatabase("Finance", "Plan");
    api.AddFilter("Finance", "Plan", "ReadEast", {{273, "East"}, {275, "West"}});
    api.AddFilter("Finance", "Plan", "Empty");
    api.AddFilter("Finance", "Plan", "NoBudget", {{0, "Budget"}});
    options.rowBuffer = essbase::CommandLineRowBuffer;
    options.readUnwanted = true;
  }

  essbase::Failure Export(const essbase::Wanted& wanted = nullptr, const Database& db = Plan) {
    return server.ReadDatabase(db, wanted, options, records);
  }

  essbase::ReadOptions options;
  std::ostringstream out;
  RecordWriter records{out};
};

const char* const ExampleFile =
    "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
    "Finance\tPlan\tReadEast\t275\tWest\r\r\n"
    "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n";

TEST_F(DatabaseIntoFile, ExampleBytesInListingOrder) {
  EXPECT_FALSE(Export());
  EXPECT_EQ(out.str(), ExampleFile);
  EXPECT_EQ(records.result(), RecordWriter::Result::Written);
}

TEST_F(DatabaseIntoFile, CallSequenceWithRowBufferSize) {
  Export();
  EXPECT_EQ(api.CallsText(),
            "EsbListFilters(Finance,Plan)\n"
            "EsbGetNextItem(12,30)\nEsbGetFilter(Finance,Plan,ReadEast)\n"
            "EsbGetFilterRow(512)\nEsbGetFilterRow(512)\nEsbGetFilterRow(512)\n"
            "EsbGetNextItem(12,30)\nEsbGetFilter(Finance,Plan,Empty)\nEsbGetFilterRow(512)\n"
            "EsbGetNextItem(12,30)\nEsbGetFilter(Finance,Plan,NoBudget)\n"
            "EsbGetFilterRow(512)\nEsbGetFilterRow(512)\n");
}

TEST_F(DatabaseIntoFile, DatabaseWithoutFiltersWritesNothing) {
  api.AddDatabase("Finance", "Bare");
  EXPECT_FALSE(Export(nullptr, {"Finance", "Bare"}));
  EXPECT_EQ(out.str(), "");
}

TEST_F(DatabaseIntoFile, SelectionWritesOnlyChosenFiltersButReadsAll) {
  Export([](std::string_view name) { return name == "NoBudget"; });
  EXPECT_EQ(out.str(), "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
  EXPECT_EQ(api.CountCalls("EsbGetFilter"), 3);
}

TEST_F(DatabaseIntoFile, UnchosenFiltersAreNotReadWhenNotAsked) {
  options.readUnwanted = false;
  Export([](std::string_view name) { return name == "NoBudget"; });
  EXPECT_EQ(out.str(), "Finance\tPlan\tNoBudget\t0\tBudget\r\r\n");
  EXPECT_EQ(api.CallsText("EsbGetFilter"), "EsbGetFilter(Finance,Plan,NoBudget)\n");
}

TEST_F(DatabaseIntoFile, NameFillingItsFieldKeptWhole) {
  const std::string full(30, 'N');
  api.AddFilter("Finance", "Plan", full, {{1, "r"}});
  Export();
  EXPECT_NE(out.str().find("\t" + full + "\t1\tr\r\r\n"), std::string::npos);
}

TEST_F(DatabaseIntoFile, RowLongerThanBufferIsReadWhole) {
  const std::string longest(essbase::MaxRowLength, 'x');
  api.FindFilter("Finance", "Plan", "NoBudget")->rows = {{0, std::string(512, 'y')},
                                                         {273, longest}};
  EXPECT_FALSE(Export());
  EXPECT_NE(out.str().find("\tNoBudget\t0\t" + std::string(512, 'y') + "\r\r\n"),
            std::string::npos);
  EXPECT_NE(out.str().find("\tNoBudget\t273\t" + longest + "\r\r\n"), std::string::npos);
}

TEST_F(DatabaseIntoFile, RowBeyondServerMaximumIsFailureNeverCut) {
  api.FindFilter("Finance", "Plan", "NoBudget")->rows[0].text =
      std::string(essbase::MaxRowLength + 1, 'x');
  const essbase::Failure failed = Export();
  EXPECT_EQ(failed.status, ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_EQ(failed.call, "EsbGetFilterRow");
  EXPECT_EQ(failed.filter, "NoBudget");
  EXPECT_EQ(out.str(),
            "Finance\tPlan\tReadEast\t273\tEast\r\r\nFinance\tPlan\tReadEast\t275\tWest\r\r\n");
}

TEST_F(DatabaseIntoFile, RowOfBufferSizeLessOneFits) {
  api.FindFilter("Finance", "Plan", "NoBudget")->rows[0].text = std::string(511, 'x');
  EXPECT_FALSE(Export());
  EXPECT_NE(out.str().find(std::string(511, 'x') + "\r\r\n"), std::string::npos);
}

// A library that fills the whole buffer and leaves no NUL.
class UnterminatedRowApi : public FakeEssbaseApi {
 public:
  int32_t EsbGetFilterRow(essbase::Handle context, std::span<char> row, int16_t& access) override {
    int32_t status = FakeEssbaseApi::EsbGetFilterRow(context, row, access);
    if (status == 0 && row[0] != '\0') std::memset(row.data(), 'y', row.size());
    return status;
  }
};

TEST(RowWithoutNul, IsFailureNotWritten) {
  UnterminatedRowApi api;
  api.AddFilter("A", "B", "F", {{1, "r"}});
  essbase::ConnectionState conn;
  essbase::LibraryServer server(api, conn);
  std::ostringstream out;
  RecordWriter records(out);
  const essbase::Failure failed = server.ReadDatabase({"A", "B"}, nullptr, {}, records);
  EXPECT_EQ(failed.status, ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_EQ(conn.Status, ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_EQ(out.str(), "");
}

struct StopCase {
  const char* operation;
  int after;
  const char* written;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StopCase& c, std::ostream* os) {
  *os << c.operation;
}

class FailedCallStopsTheReading : public DatabaseIntoFile,
                                  public ::testing::WithParamInterface<StopCase> {};

TEST_P(FailedCallStopsTheReading, KeepsRecordsWrittenBefore) {
  const StopCase& c = GetParam();
  api.Fail(c.operation, essbase::ReloginStatus, c.after);
  const essbase::Failure failed = Export();
  EXPECT_EQ(failed.status, essbase::ReloginStatus);
  EXPECT_EQ(failed.call, c.operation);
  EXPECT_EQ(out.str(), c.written);
  EXPECT_EQ(api.calls.back().name, c.operation);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FailedCallStopsTheReading,
    ::testing::Values(StopCase{"EsbListFilters", 0, ""}, StopCase{"EsbGetNextItem", 0, ""},
                      StopCase{"EsbGetFilter", 1,
                               "Finance\tPlan\tReadEast\t273\tEast\r\r\n"
                               "Finance\tPlan\tReadEast\t275\tWest\r\r\n"},
                      StopCase{"EsbGetFilterRow", 1, "Finance\tPlan\tReadEast\t273\tEast\r\r\n"}),
    [](const auto& info) { return std::string(info.param.operation); });

// Export's policy: the listing is made once more after a new login, on the
// new context, and never more than once.
TEST_F(DatabaseIntoFile, ListingRepeatedOnceOnTheNewContextAfterLoginAgain) {
  const essbase::Handle before = conn.ContextHandle;
  api.Fail("EsbListFilters", essbase::ReloginStatus);
  const auto policed = session.Under(essbase::policy::Listing());
  EXPECT_FALSE(Export());
  EXPECT_EQ(out.str(), ExampleFile);
  const std::vector<essbase::Handle> contexts = ContextsOf("EsbListFilters");
  ASSERT_EQ(contexts.size(), 2u);
  EXPECT_EQ(contexts[0], before);
  EXPECT_NE(contexts[1], before);
  EXPECT_EQ(contexts[1], conn.ContextHandle);
  EXPECT_EQ(listener.loggedInAgain, 1);
}

TEST_F(DatabaseIntoFile, ListingThatFailsAgainAfterLoginAgainIsNotRepeatedTwice) {
  api.Fail("EsbListFilters", essbase::ReloginStatus, 0, 2);
  const auto policed = session.Under(essbase::policy::Listing());
  EXPECT_EQ(Export().status, essbase::ReloginStatus);
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 2);
  EXPECT_EQ(api.CountCalls("EsbAutoLogin"), 1);
  EXPECT_EQ(out.str(), "");
}

TEST_F(DatabaseIntoFile, ListingIsNotRepeatedWithoutThePolicy) {
  api.Fail("EsbListFilters", essbase::ReloginStatus);
  const auto policed = session.Under(essbase::policy::None());
  EXPECT_EQ(Export().status, essbase::ReloginStatus);
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 1);
  EXPECT_EQ(api.CountCalls("EsbAutoLogin") + api.CountCalls("EsbLogin"), 0);
}

TEST_F(DatabaseIntoFile, OtherStatusesAreNeverRepeated) {
  api.Fail("EsbListFilters", ESB_STS_STORE_FAILURE);
  const auto policed = session.Under(essbase::policy::Listing());
  EXPECT_EQ(Export().status, ESB_STS_STORE_FAILURE);
  EXPECT_EQ(api.CountCalls("EsbListFilters"), 1);
}

TEST_F(DatabaseIntoFile, FullDiskStopsTheReadingWithStreamFailed) {
  testing::FullDiskBuffer disk(40);
  std::ostream small(&disk);
  RecordWriter onDisk(small);
  EXPECT_FALSE(server.ReadDatabase(Plan, nullptr, options, onDisk));
  EXPECT_EQ(onDisk.result(), RecordWriter::Result::StreamFailed);
  EXPECT_LT(api.CountCalls("EsbGetFilterRow"), 6);
}

// The writer on its own: what each filter handed to it becomes.
class FiltersIntoRecords : public ::testing::Test {
 protected:
  std::ostringstream out;
};

TEST_F(FiltersIntoRecords, EachRowIsOneRecordOfTheDatabaseRead) {
  RecordWriter records(out);
  Filter f{"ReadEast", 0, 273, {{273, "East"}, {-1, "a\tb"}}};
  std::vector<std::string> told;
  records.onFilter = [&](const Database& db, const Filter& filter) {
    told.push_back(db.database + "/" + filter.name);
  };
  EXPECT_TRUE(records.Receive({"Fin", "Plan"}, f));
  EXPECT_EQ(out.str(), "Fin\tPlan\tReadEast\t273\tEast\r\r\nFin\tPlan\tReadEast\t-1\ta\tb\r\r\n");
  EXPECT_EQ(told, std::vector<std::string>{"Plan/ReadEast"});
}

TEST_F(FiltersIntoRecords, FilterWithoutRowsWritesNothingButIsTold) {
  RecordWriter records(out);
  int told = 0;
  records.onFilter = [&](const Database&, const Filter&) { ++told; };
  Filter f{"Empty", 1, 375, {}};
  EXPECT_TRUE(records.Receive(Plan, f));
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(told, 1);
}

TEST_F(FiltersIntoRecords, PartialRowsAreWrittenAndNotToldAsAFilter) {
  RecordWriter records(out);
  int told = 0;
  records.onFilter = [&](const Database&, const Filter&) { ++told; };
  records.Partial(Plan, {"Cut", 1, 375, {{0, "first"}}});
  EXPECT_EQ(out.str(), "Finance\tPlan\tCut\t0\tfirst\r\r\n");
  EXPECT_EQ(told, 0);
}

TEST_F(FiltersIntoRecords, PartialRowsOfAReadThatFailedStayInTheFile) {
  essbase::testing::LibraryRig rig;
  rig.api.AddFilter("Finance", "Plan", "Long", {{1, "a"}, {2, "b"}, {3, "c"}});
  rig.api.Fail("EsbGetFilterRow", ESB_STS_STORE_FAILURE, 2);
  RecordWriter records(out);
  const essbase::Failure failed = rig.server.ReadFilters(Plan, {"Long"}, {}, records);
  EXPECT_EQ(failed.status, ESB_STS_STORE_FAILURE);
  EXPECT_EQ(failed.rows, 2u);
  EXPECT_EQ(out.str(), "Finance\tPlan\tLong\t1\ta\r\r\nFinance\tPlan\tLong\t2\tb\r\r\n");
}

TEST_F(FiltersIntoRecords, ReadingStopsAtTheFirstFailureWithTheRowsItSaysWereRead) {
  essbase::testing::FakeServer server;
  server.AddFilter("Finance", "Plan", "A", {{1, "a"}});
  server.AddFilter("Finance", "Plan", "B", {{1, "b1"}, {2, "b2"}, {3, "b3"}});
  server.AddFilter("Finance", "Plan", "C", {{1, "c"}});
  essbase::Failure cut = essbase::FailureOf(essbase::Step::ReadFilter, ESB_STS_STORE_FAILURE);
  cut.rows = 2;
  server.Fail(essbase::Step::ReadFilter, cut, 1);
  RecordWriter records(out);
  const essbase::Failure failed = server.ReadDatabase(Plan, nullptr, {}, records);
  EXPECT_EQ(failed.filter, "B");
  EXPECT_EQ(out.str(),
            "Finance\tPlan\tA\t1\ta\r\r\nFinance\tPlan\tB\t1\tb1\r\r\n"
            "Finance\tPlan\tB\t2\tb2\r\r\n");
  EXPECT_EQ(server.Count("ReadFilter"), 2);
}

TEST_F(FiltersIntoRecords, FailingStreamStopsTheReadingAndEveryLaterWrite) {
  testing::FullDiskBuffer disk(10);
  std::ostream small(&disk);
  RecordWriter records(small);
  int told = 0;
  records.onFilter = [&](const Database&, const Filter&) { ++told; };
  Filter f{"F", 1, 375, {{1, "row"}}};
  EXPECT_FALSE(records.Receive(Plan, f));
  EXPECT_EQ(records.result(), RecordWriter::Result::StreamFailed);
  EXPECT_EQ(told, 0);
  const size_t written = disk.written.size();
  EXPECT_EQ(records.Write(Plan, f), RecordWriter::Result::StreamFailed);
  EXPECT_EQ(disk.written.size(), written);
}

TEST_F(FiltersIntoRecords, Latin1FileHoldsWidenedTextAsSingleBytes) {
  RecordWriter records(out);
  EXPECT_EQ(records.Write({"Fin", "Pl\xC3\xA4n"}, {"Caf\xC3\xA9", 1, 375, {{1, "\xC3\xBF"}}}),
            RecordWriter::Result::Written);
  EXPECT_EQ(out.str(), "Fin\tPl\xE4n\tCaf\xE9\t1\t\xFF\r\r\n");
}

TEST_F(FiltersIntoRecords, Utf8FileHoldsAnyTextAsItIs) {
  RecordWriter records(out, FileEncoding::Utf8);
  EXPECT_EQ(records.Write(Plan, {"\xE2\x82\xAC", 1, 375, {{1, "\xC3\xA9"}}}),
            RecordWriter::Result::Written);
  EXPECT_EQ(out.str(), "Finance\tPlan\t\xE2\x82\xAC\t1\t\xC3\xA9\r\r\n");
}

struct Unheld {
  const char* name;
  Database db;
  Filter filter;
  const char* unheld;
};
void PrintTo(const Unheld& c, std::ostream* os) {
  *os << c.name;
}

class TextLatin1CannotHold : public FiltersIntoRecords,
                             public ::testing::WithParamInterface<Unheld> {};

TEST_P(TextLatin1CannotHold, IsRefusedNamedAndNothingOfTheFilterWritten) {
  RecordWriter records(out);
  Filter filter = GetParam().filter;
  EXPECT_FALSE(records.Receive(GetParam().db, filter));
  EXPECT_EQ(records.result(), RecordWriter::Result::NotEncodable);
  EXPECT_EQ(records.unheld(), GetParam().unheld);
  EXPECT_EQ(out.str(), "");
}

const std::string Euro = "\xE2\x82\xAC";

INSTANTIATE_TEST_SUITE_P(
    Texts, TextLatin1CannotHold,
    ::testing::Values(
        Unheld{"Application", {"A" + Euro, "Plan"}, {"F", 1, 375, {{1, "r"}}},
               "the application A\xE2\x82\xAC"},
        Unheld{"Database", {"Fin", "D" + Euro}, {"F", 1, 375, {{1, "r"}}},
               "the database D\xE2\x82\xAC"},
        Unheld{"Filter", Plan, {"F" + Euro, 1, 375, {{1, "r"}}}, "the filter F\xE2\x82\xAC"},
        Unheld{"Row", Plan, {"F", 1, 375, {{1, "r" + Euro}}}, "a row of the filter F"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FiltersIntoRecords, RowsBeforeOneLatin1CannotHoldStayWritten) {
  RecordWriter records(out);
  Filter f{"F", 1, 375, {{1, "fits"}, {2, Euro}, {3, "never"}}};
  EXPECT_FALSE(records.Receive(Plan, f));
  EXPECT_EQ(out.str(), "Finance\tPlan\tF\t1\tfits\r\r\n");
  EXPECT_EQ(records.unheld(), "a row of the filter F");
}

TEST_F(FiltersIntoRecords, NamesOfAFilterWithoutRowsAreNotChecked) {
  RecordWriter records(out);
  Filter f{"F" + Euro, 1, 375, {}};
  EXPECT_TRUE(records.Receive(Plan, f));
  EXPECT_EQ(records.result(), RecordWriter::Result::Written);
}

}  // namespace
}  // namespace filterfile

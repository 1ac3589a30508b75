// What every backend of the server interface does alike, case by case.
#include <gtest/gtest.h>

#include <functional>

#include "tests/conformance/Backends.h"

namespace conformance {
namespace {

using essbase::Database;
using essbase::Failure;
using essbase::Filter;
using essbase::FilterRow;
using essbase::Step;
using essbase::WriteOutcome;
using List = std::vector<std::string>;

const Database Basic{"Sample", "Basic"};

std::string Text(const Filter& f) {
  std::string out = f.name + " " + std::to_string(f.active) + "/" + std::to_string(f.access);
  for (const FilterRow& r : f.rows) out += " [" + std::to_string(r.access) + " " + r.text + "]";
  return out;
}

std::vector<std::string> Texts(const std::vector<Filter>& filters) {
  std::vector<std::string> out;
  for (const Filter& f : filters) out.push_back(Text(f));
  return out;
}

const std::string AlphaText = "Alpha 1/375 [273 @IDESCENDANTS(\"East\")] [275 \"Actual\",\t\"Budget\"]";
// Beta's own active flag and access; over REST a filter has none and reads
// as what an import writes.
#define BetaText (OverRest() ? std::string("Beta 1/375 [0 \"Variance\"]") : "Beta 0/273 [0 \"Variance\"]")

TEST_P(ServerConformance, LoginWithTheRightPasswordSucceedsAndAWrongOneIsRefused) {
  EXPECT_FALSE(server().LogIn({Address(), "u", "pw"}));
  const Failure wrong = server().LogIn({Address(), "u", "nope"});
  EXPECT_EQ(wrong.status, ESB_STS_BAD_LOGIN);
  EXPECT_EQ(wrong.step, Step::LogIn);
  EXPECT_EQ(server().LogIn({"other", "u", "pw"}).status, ESB_STS_UNKNOWN_SERVER);
}

TEST_P(ServerConformance, ApplicationsAreListedInTheServersOrder) {
  std::vector<essbase::Application> apps;
  ASSERT_FALSE(server().ListApplications(apps));
  List names;
  for (const essbase::Application& a : apps) names.push_back(a.name);
  EXPECT_EQ(names, (List{"Sample", "FULLNAM8", "Zeta"}));
}

TEST_P(ServerConformance, DatabasesAreListedAsPairs) {
  std::vector<Database> dbs;
  ASSERT_FALSE(server().ListDatabases("Sample", dbs));
  EXPECT_EQ(dbs, (std::vector<Database>{{"Sample", "Basic"}, {"Sample", "Spare"}}));
  ASSERT_FALSE(server().ListDatabases("FULLNAM8", dbs));
  EXPECT_EQ(dbs, (std::vector<Database>{{"FULLNAM8", "DBFULL08"}}));
  ASSERT_FALSE(server().ListDatabases("Zeta", dbs));
  EXPECT_TRUE(dbs.empty());
  EXPECT_EQ(server().ListDatabases("Absent", dbs).status, ESB_STS_UNKNOWN_APPLICATION);
}

TEST_P(ServerConformance, FiltersAreListedInCreationOrderWithNamesFillingTheirField) {
  EXPECT_EQ(Names(Basic), (List{"Alpha", "Beta", "Empty"}));
  EXPECT_EQ(Names({"FULLNAM8", "DBFULL08"}), List{LongFilter});
  EXPECT_TRUE(Names({"Sample", "Spare"}).empty());
  std::vector<std::string> names;
  EXPECT_EQ(server().ListFilters({"Sample", "Nowhere"}, names).status,
            ESB_STS_UNKNOWN_DATABASE);
}

TEST_P(ServerConformance, NamedFiltersAreReadWholeInTheOrderAsked) {
  EXPECT_EQ(Texts(Read(Basic, {"Beta", "Alpha"})), (List{BetaText, AlphaText}));
  EXPECT_EQ(Texts(Read({"FULLNAM8", "DBFULL08"}, {LongFilter})),
            List{std::string(LongFilter) + " 1/375 [273 \"Forecast\"]"});
}

TEST_P(ServerConformance, FilterWithoutRowsIsReadWithItsValues) {
  EXPECT_EQ(Texts(Read(Basic, {"Empty"})), List{"Empty 1/375"});
}

TEST_P(ServerConformance, UnknownFilterFailsWithItsStatusAfterTheOnesBefore) {
  Kept kept;
  const Failure f = server().ReadFilters(Basic, {"Alpha", "Gone", "Beta"}, {}, kept);
  EXPECT_EQ(f.status, ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(f.step, Step::ReadFilter);
  EXPECT_EQ(f.filter, "Gone");
  EXPECT_EQ(Texts(kept.filters), List{AlphaText});
}

TEST_P(ServerConformance, ReceiverThatStopsEndsTheReadingWithoutFailure) {
  struct First final : essbase::FilterReceiver {
    bool Receive(const Database&, Filter& f) override {
      names.push_back(f.name);
      return false;
    }
    List names;
  } first;
  EXPECT_FALSE(server().ReadFilters(Basic, {"Alpha", "Beta"}, {}, first));
  EXPECT_EQ(first.names, List{"Alpha"});
}

TEST_P(ServerConformance, DatabaseIsReadInListingOrderAndOnlyTheWantedReachTheReceiver) {
  Kept all;
  ASSERT_FALSE(server().ReadDatabase(Basic, nullptr, {}, all));
  EXPECT_EQ(Texts(all.filters), (List{AlphaText, BetaText, "Empty 1/375"}));
  Kept wanted;
  ASSERT_FALSE(server().ReadDatabase(
      Basic, [](std::string_view name) { return name != "Alpha"; }, {}, wanted));
  EXPECT_EQ(Texts(wanted.filters), (List{BetaText, "Empty 1/375"}));
}

TEST_P(ServerConformance, WrittenFilterIsCreatedLastAndAReplacedOneKeepsItsPlace) {
  // Over REST a row's access is a word: a code without one cannot travel.
  const int16_t odd = OverRest() ? 0 : -1;
  const WriteOutcome created =
      server().WriteFilter(Basic, {"New", 0, 273, {{273, "\"East\""}, {odd, "a\tb"}}});
  EXPECT_TRUE(created.done);
  EXPECT_FALSE(created.failure);
  EXPECT_EQ(created.kind, WriteOutcome::Kind::Write);
  EXPECT_EQ(created.name, "New");
  const WriteOutcome replaced = server().WriteFilter(Basic, {"Alpha", 1, 375, {{0, "only"}}});
  EXPECT_TRUE(replaced.done);
  EXPECT_EQ(Names(Basic), (List{"Alpha", "Beta", "Empty", "New"}));
  EXPECT_EQ(Texts(Read(Basic, {"New", "Alpha"})),
            (List{std::string(OverRest() ? "New 1/375" : "New 0/273") + " [273 \"East\"] [" +
                      std::to_string(odd) + " a\tb]",
                  "Alpha 1/375 [0 only]"}));
}

TEST_P(ServerConformance, FilterWrittenWithoutRowsHasNone) {
  EXPECT_TRUE(server().WriteFilter(Basic, {"Alpha", 1, 375, {}}).done);
  EXPECT_EQ(Texts(Read(Basic, {"Alpha"})), List{"Alpha 1/375"});
}

TEST_P(ServerConformance, NameWithTrailingBlanksIsWrittenAsTheServerNamesIt) {
  EXPECT_TRUE(server().WriteFilter(Basic, {"Beta  ", 1, 375, {{273, "b"}}}).done);
  EXPECT_EQ(Names(Basic), (List{"Alpha", "Beta", "Empty"}));
  EXPECT_EQ(Texts(Read(Basic, {"Beta"})), List{"Beta 1/375 [273 b]"});
}

TEST_P(ServerConformance, Latin1NamesAndRowsComeBackAsWritten) {
  const std::string name = "Caf\xC3\xA9";
  EXPECT_TRUE(server().WriteFilter(Basic, {name, 1, 375, {{275, "\xC3\xA9t\xC3\xA9"}}}).done);
  EXPECT_EQ(Names(Basic).back(), name);
  EXPECT_EQ(Texts(Read(Basic, {name})), List{name + " 1/375 [275 \xC3\xA9t\xC3\xA9]"});
}

class LostRows final : public essbase::WriteReceiver {
 public:
  void Outcome(WriteOutcome& o) override { outcomes.push_back(o); }
  std::vector<WriteOutcome> outcomes;
};

TEST_P(ServerConformance, WriteThatLostRowsIsNeverCommitted) {
  LostRows receiver;
  {
    std::unique_ptr<essbase::Writes> writes = server().StartWrites(receiver, {});
    writes->Write(Basic, {"Alpha", 1, 375, {{0, "half"}}}, true);
    writes->Write(Basic, {"Lost", 1, 375, {{0, "half"}}}, true);
    writes->Write(Basic, {"Whole", 1, 375, {{0, "all"}}});
    writes->Finish();
  }
  ASSERT_EQ(receiver.outcomes.size(), 3u);
  for (int i : {0, 1}) {
    EXPECT_FALSE(receiver.outcomes[i].done) << i;
    EXPECT_FALSE(receiver.outcomes[i].failure) << i;
    EXPECT_FALSE(receiver.outcomes[i].skipped) << i;
  }
  // A definition left open is not committed by the write after it either.
  EXPECT_TRUE(receiver.outcomes[2].done);
  EXPECT_EQ(Names(Basic), (List{"Alpha", "Beta", "Empty", "Whole"}));
  EXPECT_EQ(Texts(Read(Basic, {"Alpha", "Whole"})), (List{AlphaText, "Whole 1/375 [0 all]"}));
}

TEST_P(ServerConformance, DeletedFilterIsGoneAndAnUnknownOneFails) {
  const WriteOutcome deleted = server().DeleteFilter(Basic, "Beta");
  EXPECT_TRUE(deleted.done);
  EXPECT_EQ(deleted.kind, WriteOutcome::Kind::Delete);
  EXPECT_EQ(Names(Basic), (List{"Alpha", "Empty"}));
  const WriteOutcome unknown = server().DeleteFilter(Basic, "Beta");
  EXPECT_FALSE(unknown.done);
  EXPECT_EQ(unknown.failure.status, ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(unknown.failure.step, Step::DeleteFilter);
  EXPECT_EQ(unknown.failure.filter, "Beta");
}

TEST_P(ServerConformance, ActivatingADatabaseLoadsItsApplicationAndStoppingUnloadsIt) {
  bool loaded = true;
  ASSERT_FALSE(server().ApplicationLoaded("FULLNAM8", loaded));
  EXPECT_FALSE(loaded);
  ASSERT_FALSE(server().Activate({"FULLNAM8", "DBFULL08"}));
  ASSERT_FALSE(server().ApplicationLoaded("FULLNAM8", loaded));
  EXPECT_TRUE(loaded);
  ASSERT_FALSE(server().StopApplication("Sample"));
  ASSERT_FALSE(server().ApplicationLoaded("Sample", loaded));
  EXPECT_FALSE(loaded);
  EXPECT_EQ(server().Activate({"Sample", "Nowhere"}).status, ESB_STS_UNKNOWN_DATABASE);
  EXPECT_EQ(server().StopApplication("Absent").status, ESB_STS_UNKNOWN_APPLICATION);
}

// A command that logs in again reads the filter once more, whole.
TEST_P(ServerConformance, ReadThatMetAnEndedLoginIsMadeOnceMoreUnderTheWholeFiltersPolicy) {
  const essbase::Handle before = conn_.ContextHandle;
  EndLoginAtNextRead();
  const auto policed =
      session().Under(essbase::policy::WholeFilters(essbase::Policy::Login::Quiet));
  EXPECT_EQ(Texts(Read(Basic, {"Alpha", "Beta"})), (List{AlphaText, BetaText}));
  EXPECT_EQ(conn_.Status, 0);
  if (fake_) {
    EXPECT_EQ(fake_->Count("LogIn("), 2);
  } else if (!OverRest()) {
    EXPECT_NE(conn_.ContextHandle, before);
  }
}

TEST_P(ServerConformance, ReadThatMeetsAnEndedLoginAgainIsNotMadeAThirdTime) {
  EndLoginAtNextRead(2);
  const auto policed =
      session().Under(essbase::policy::WholeFilters(essbase::Policy::Login::Quiet));
  Kept kept;
  const Failure f = server().ReadFilters(Basic, {"Alpha", "Beta"}, {}, kept);
  EXPECT_EQ(f.status, essbase::ReloginStatus);
  EXPECT_EQ(f.filter, "Alpha");
  EXPECT_TRUE(kept.filters.empty());
}

TEST_P(ServerConformance, ListingIsNoStepOfTheWholeFiltersPolicy) {
  EndLoginAtNextRead();
  Kept kept;
  ASSERT_EQ(server().ReadFilters(Basic, {"Alpha"}, {}, kept).status, essbase::ReloginStatus);
  const auto policed =
      session().Under(essbase::policy::WholeFilters(essbase::Policy::Login::Quiet));
  std::vector<std::string> names;
  EXPECT_EQ(server().ListFilters(Basic, names).status, essbase::ReloginStatus);
}

TEST_P(ServerConformance, ReadThatMetAnEndedLoginFailsUnderNoPolicyAndTheLoginStaysEnded) {
  EndLoginAtNextRead();
  const auto policed = session().Under(essbase::policy::None());
  Kept kept;
  const Failure f = server().ReadFilters(Basic, {"Alpha"}, {}, kept);
  EXPECT_EQ(f.status, essbase::ReloginStatus);
  EXPECT_EQ(f.filter, "Alpha");
  EXPECT_TRUE(kept.filters.empty());
  std::vector<essbase::Application> apps;
  EXPECT_EQ(server().ListApplications(apps).status, essbase::ReloginStatus);
  ASSERT_FALSE(server().LogIn({Address(), "u", "pw"}));
  EXPECT_EQ(Texts(Read(Basic, {"Alpha"})), List{AlphaText});
}

struct Unheld {
  const char* name;
  std::function<Failure(essbase::Server&)> step;
  const char* detail;
};
Failure ReadOne(essbase::Server& server, const Database& db, const std::string& name) {
  Kept kept;
  return server.ReadFilters(db, {name}, {}, kept);
}

// The client library's fields hold Latin-1 names of 8 (applications and
// databases) and 30 characters (filters): a longer name or one outside
// Latin-1 is refused before any call, never cut or replaced.
const std::vector<Unheld> UnheldNames = {
    {"NineCharacterApplication",
     [](essbase::Server& s) {
       std::vector<Database> dbs;
       return s.ListDatabases("NINECHARS", dbs);
     },
     "the application name \"NINECHARS\" is longer than the client library's 8 characters"},
    {"NineCharacterDatabase",
     [](essbase::Server& s) {
       std::vector<std::string> names;
       return s.ListFilters({"Sample", "NINECHARS"}, names);
     },
     "the database name \"NINECHARS\" is longer than the client library's 8 characters"},
    {"ThirtyOneCharacterFilterRead",
     [](essbase::Server& s) { return ReadOne(s, Basic, std::string(LongFilter) + "4"); },
     "the filter name \"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234\" is longer than the client library's 30 "
     "characters"},
    {"ThirtyOneCharacterFilterWrite",
     [](essbase::Server& s) {
       return s.WriteFilter(Basic, {std::string(LongFilter) + "4", 1, 375, {{1, "r"}}}).failure;
     },
     "the filter name \"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234\" is longer than the client library's 30 "
     "characters"},
    {"FilterOutsideLatin1Write",
     [](essbase::Server& s) {
       return s.WriteFilter(Basic, {"Euro\xE2\x82\xAC", 1, 375, {{1, "r"}}}).failure;
     },
     "the filter name \"Euro\xE2\x82\xAC\" has a character the client library cannot carry "
     "(Latin-1 only)"},
    {"FilterOutsideLatin1Delete",
     [](essbase::Server& s) { return s.DeleteFilter(Basic, "Euro\xE2\x82\xAC").failure; },
     "the filter name \"Euro\xE2\x82\xAC\" has a character the client library cannot carry "
     "(Latin-1 only)"},
    {"ApplicationOutsideLatin1",
     [](essbase::Server& s) { return s.Activate({"\xE2\x82\xAC", "Basic"}); },
     "the application name \"\xE2\x82\xAC\" has a character the client library cannot carry "
     "(Latin-1 only)"},
};

class NameTheLibraryCannotHold : public ServerConformance {};

TEST_P(NameTheLibraryCannotHold, IsRefusedNamingTheLimit) {
  if (!OverLibrary()) GTEST_SKIP() << "only the client library's fields have these limits";
  for (const Unheld& c : UnheldNames) {
    const Failure f = c.step(server());
    EXPECT_EQ(f.status, ESB_STS_BAD_NAME) << c.name;
    EXPECT_EQ(f.detail, c.detail) << c.name;
    EXPECT_TRUE(f.call.empty()) << c.name;
    EXPECT_EQ(conn_.Status, ESB_STS_BAD_NAME) << c.name;
  }
  // Nothing of it reached the server.
  EXPECT_EQ(Names(Basic), (List{"Alpha", "Beta", "Empty"}));
}

TEST_P(NameTheLibraryCannotHold, RowOutsideLatin1IsRefusedNamingTheRow) {
  if (!OverLibrary()) GTEST_SKIP() << "only the client library's path holds rows in Latin-1";
  const WriteOutcome o =
      server().WriteFilter(Basic, {"Alpha", 1, 375, {{1, "fits"}, {2, "\xE2\x82\xAC"}}});
  EXPECT_FALSE(o.done);
  EXPECT_EQ(o.failure.status, ESB_STS_BAD_ROW);
  EXPECT_EQ(o.failure.detail,
            "row 2 of the filter \"Alpha\" has a character the client library cannot carry "
            "(Latin-1 only)");
  EXPECT_EQ(Texts(Read(Basic, {"Alpha"})), List{AlphaText});
}

TEST_P(NameTheLibraryCannotHold, NamesThatFillTheFieldsAreTakenWhole) {
  EXPECT_TRUE(server().WriteFilter({"FULLNAM8", "DBFULL08"}, {"Caf\xC3\xA9" + std::string(26, 'x'),
                                                               1, 375, {{1, "r"}}})
                  .done);
  EXPECT_EQ(Names({"FULLNAM8", "DBFULL08"}).back(), "Caf\xC3\xA9" + std::string(26, 'x'));
}

INSTANTIATE_TEST_SUITE_P(Every, ServerConformance,
                         ::testing::Values(Backend::LibraryInProcess, Backend::LibraryShared,
                                           Backend::Fake, Backend::RestServe),
                         BackendName);
INSTANTIATE_TEST_SUITE_P(Every, NameTheLibraryCannotHold,
                         ::testing::Values(Backend::LibraryInProcess, Backend::LibraryShared,
                                           Backend::Fake),
                         BackendName);

}  // namespace
}  // namespace conformance

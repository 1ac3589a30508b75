// The current side read from the server: each filter as the server holds it,
// its rows and values read directly, compared with a file or a backup.
#include <gtest/gtest.h>

#include <sstream>

#include "backup/LoadBackup.h"
#include "backup/TakeBackup.h"
#include "compare/CompareFile.h"
#include "compare/backup/CompareBackup.h"
#include "tests/support/FakeServer.h"
#include "tests/support/LibraryRig.h"
#include "tests/support/TestFiles.h"

namespace compare {
namespace {

using essbase::Step;
using essbase::testing::FakeServer;

// One line per filter: "Name verdict current>incoming rows".
class Lines : public BackupDifferenceSink {
 public:
  void Database(const std::string& application, const std::string& database) override {
    text += "[" + application + "/" + database + "]\n";
  }
  void Filter(const FilterDifference& d) override {
    static const char* const Verdicts[] = {"same",         "changed", "created",
                                           "only-current", "deleted", "unreadable"};
    auto values = [](const std::optional<FilterValues>& v) {
      return v ? std::to_string(v->active) + "/" + std::to_string(v->access) : std::string("-");
    };
    text += d.name + " " + Verdicts[static_cast<int>(d.verdict)] + " " + values(d.current) + ">" +
            values(d.incoming) + " " + std::to_string(d.currentRows) + ">" +
            std::to_string(d.incomingRows) + "\n";
  }
  std::string text;
};

std::string R(const std::string& filter, int access, std::string_view text) {
  return "App\tDb\t" + filter + "\t" + std::to_string(access) + "\t" + std::string(text) + "\r\r\n";
}

const essbase::Database AppDb{"App", "Db"};

class FileAgainstServer : public ::testing::Test {
 protected:
  FileAgainstServer() {
    server.AddFilter("App", "Db", "Same", {{273, "East"}, {275, "\"A\",\t\"B\""}});
    server.AddFilter("App", "Db", "Changed", {{273, "old"}});
    essbase::Filter& own = server.AddFilter("App", "Db", "OwnValues", {{0, "x"}});
    own.active = 0;
    own.access = 273;
    server.AddFilter("App", "Db", "OnlyHere");
  }
  CompareOutcome Compare(const std::string& file, ServerRead read = {}) {
    std::istringstream in(file);
    return CompareFileWithDatabase(server, in, AppDb, read, out);
  }

  FakeServer server;
  Lines out;
};

TEST_F(FileAgainstServer, EachFilterOfTheDatabaseAsTheServerHoldsIt) {
  const CompareOutcome outcome =
      Compare(R("Same", 273, "East") + R("Same", 275, "\"A\",\t\"B\"") + R("Changed", 273, "new") +
              R("OwnValues", 0, "x") + R("New", 1, "n"));
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(out.text,
            "Same same 1/375>1/375 2>2\nChanged changed 1/375>1/375 1>1\n"
            "OwnValues changed 0/273>1/375 1>1\nOnlyHere only-current 1/375>- 0>0\n"
            "New created ->1/375 0>1\n");
  EXPECT_EQ(outcome.tally, (Tally{1, 2, 1, 1, 0, 0}));
  EXPECT_EQ(server.CallsText(),
            "ListFilters(App,Db)\nReadFilter(App,Db,Same)\nReadFilter(App,Db,Changed)\n"
            "ReadFilter(App,Db,OwnValues)\nReadFilter(App,Db,OnlyHere)\n");
}

TEST_F(FileAgainstServer, PassedOverLinesAreCountedWithTheFirstOne) {
  const CompareOutcome outcome =
      Compare(R("Same", 273, "East") + "bad line\r\n" + R("Same", 275, "\"A\",\t\"B\"") + "x\r\n");
  EXPECT_EQ(outcome.passedOver, 2u);
  EXPECT_EQ(outcome.firstPassedOver, 3u);  // a record's CR CR LF ends two lines
}

TEST_F(FileAgainstServer, FailedReadEndsTheComparisonWithTheFailure) {
  essbase::Failure refused = essbase::FailureOf(Step::ReadFilter, ESB_STS_STORE_FAILURE);
  refused.serverText = "store locked";
  server.Fail(Step::ReadFilter, refused, 1);
  const CompareOutcome outcome = Compare(R("Same", 273, "East") + R("New", 1, "n"));
  EXPECT_EQ(outcome.end, CompareEnd::ServerFailure);
  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.failure.status, ESB_STS_STORE_FAILURE);
  EXPECT_EQ(outcome.failure.filter, "Changed");
  EXPECT_EQ(outcome.failure.serverText, "store locked");
  // What was compared before stays reported; the file's own filters are
  // not reported as created when the database was not read to its end.
  EXPECT_EQ(out.text, "Same changed 1/375>1/375 2>1\n");
}

TEST_F(FileAgainstServer, FailedListingEndsTheComparisonBeforeAnyFilter) {
  server.Fail(Step::ListFilters, ESB_STS_UNKNOWN_DATABASE);
  const CompareOutcome outcome = Compare(R("New", 1, "n"));
  EXPECT_EQ(outcome.end, CompareEnd::ServerFailure);
  EXPECT_EQ(outcome.failure.step, Step::ListFilters);
  EXPECT_EQ(out.text, "");
}

TEST_F(FileAgainstServer, FileThatCannotBeReadWholeAsksNothingOfTheServer) {
  std::istringstream in(R("Same", 273, "East"));
  in.setstate(std::ios::badbit);
  EXPECT_EQ(CompareFileWithDatabase(server, in, AppDb, {}, out).end, CompareEnd::FileUnreadable);
  EXPECT_TRUE(server.calls.empty());
}

// Through the client library's backend: the caller's row buffer, and every
// listed filter read once.
TEST(FileAgainstLibrary, ReadsWithTheCallersRowBuffer) {
  essbase::testing::LibraryRig rig;
  rig.api.AddFilter("App", "Db", "F", {{273, std::string(600, 'r')}});
  Lines out;
  std::istringstream in(R("F", 273, std::string(600, 'r')));
  const CompareOutcome outcome =
      CompareFileWithDatabase(rig.server, in, AppDb, ServerRead{essbase::CommandLineRowBuffer}, out);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(out.text, "F same 1/375>1/375 1>1\n");
  // The long row is read again whole in a buffer of its own.
  EXPECT_EQ(rig.api.CallsText("EsbGetFilterRow"),
            "EsbGetFilterRow(512)\nEsbGetFilterRow(" + std::to_string(essbase::MaxRowLength + 1) +
                ")\nEsbGetFilterRow(512)\n");
}

// A backup against the server: database by database, only its own filters,
// each with the values the backup saved, and its created names deleted.
class BackupAgainstServer : public ::testing::Test {
 protected:
  BackupAgainstServer() {
    server.AddFilter("Fin", "Plan", "Kept", {{273, "k"}});
    essbase::Filter& own = server.AddFilter("Fin", "Plan", "Own", {{0, "o"}});
    own.active = 0;
    own.access = 273;
    server.AddFilter("Fin", "Plan", "Untouched", {{1, "u"}});
    server.AddFilter("Fin", "Copy", "Kept", {{2, "c"}});
    place.folder = dir.path();
  }
  backup::LoadedBackup Backup() {
    const backup::BackupOutcome taken = backup::TakeBackup(
        server,
        {"import",
         "srv",
         {{"Fin", "Plan", std::vector<std::string>{"Kept", "Own", "Created"}, true},
          {"Fin", "Copy", std::nullopt, false}}},
        place);
    EXPECT_EQ(taken.result, backup::BackupResult::Written) << taken.reason;
    std::string reason;
    std::optional<backup::LoadedBackup> loaded = backup::LoadBackup(taken.path, reason);
    EXPECT_TRUE(loaded) << reason;
    server.ClearCalls();
    return loaded.value_or(backup::LoadedBackup{});
  }

  FakeServer server;
  support::TempDir dir;
  backup::Place place;
  Lines out;
};

TEST_F(BackupAgainstServer, NothingChangedSinceIsTheSameEverywhere) {
  const backup::LoadedBackup saved = Backup();
  const CompareOutcome outcome = CompareBackupWithServer(server, saved, {}, out);
  EXPECT_TRUE(outcome.ok());
  EXPECT_FALSE(outcome.tally.differs());
  EXPECT_EQ(out.text,
            "[Fin/Plan]\nKept same 1/375>1/375 1>1\nOwn same 0/273>0/273 1>1\n"
            "[Fin/Copy]\nKept same 1/375>1/375 1>1\n");
}

TEST_F(BackupAgainstServer, WhatARestoreWouldChangeIsReportedPerDatabase) {
  const backup::LoadedBackup saved = Backup();
  server.FindFilter("Fin", "Plan", "Own")->access = 375;
  server.AddFilter("Fin", "Plan", "Created", {{1, "new"}});
  server.FindFilter("Fin", "Plan", "Untouched")->rows.clear();
  server.FindFilter("Fin", "Copy", "Kept")->rows.push_back({3, "more"});
  const CompareOutcome outcome = CompareBackupWithServer(server, saved, {}, out);
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(out.text,
            "[Fin/Plan]\nKept same 1/375>1/375 1>1\nOwn changed 0/375>0/273 1>1\n"
            "Created deleted 1/375>- 1>0\n"
            "[Fin/Copy]\nKept changed 1/375>1/375 2>1\n");
  EXPECT_EQ(outcome.tally, (Tally{1, 2, 0, 0, 1, 0}));
}

TEST_F(BackupAgainstServer, AFilterTheBackupHoldsAndTheServerLostWouldBeCreated) {
  const backup::LoadedBackup saved = Backup();
  server.FindDatabase("Fin", "Plan")->filters.erase(
      server.FindDatabase("Fin", "Plan")->filters.begin());
  CompareBackupWithServer(server, saved, {}, out);
  EXPECT_NE(out.text.find("Kept created ->1/375 0>1\n[Fin/Copy]"), std::string::npos) << out.text;
}

TEST_F(BackupAgainstServer, ADatabaseThatCannotBeReadStopsTheComparisonThere) {
  const backup::LoadedBackup saved = Backup();
  server.Fail(Step::ListFilters, ESB_STS_UNKNOWN_DATABASE);
  const CompareOutcome outcome = CompareBackupWithServer(server, saved, {}, out);
  EXPECT_EQ(outcome.end, CompareEnd::ServerFailure);
  EXPECT_EQ(outcome.failure.status, ESB_STS_UNKNOWN_DATABASE);
  EXPECT_EQ(out.text, "[Fin/Plan]\n");
  EXPECT_EQ(server.Count("ListFilters"), 1);
}

}  // namespace
}  // namespace compare

// QuorvelCL over the REST API against `esbsim serve`, and over the client
// library on a copy of the same store: the same file bytes, run-log lines,
// exit statuses and store contents, run after run.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "cli/Messages.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ServeProcess.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using support::RunProgram;
using testing::ReadFile;
using testing::TempDir;

// A row in Latin-1 (0xFC), one with a TAB, a filter without rows, a name that
// fills its field.
const std::string Server =
    "server\tessdemo\nuser\tdemo\tdemo\t275\napp\tFin\tloaded\ndb\tFin\tPlan\ndb\tFin\tCopy\n"
    "filter\tFin\tPlan\tReadEast\t1\t375\nrow\t273\t@IDESCENDANTS(\"Z\xFCrich\")\n"
    "row\t275\t\"West\",\t\"Budget\"\n"
    "filter\tFin\tPlan\tNoRows\t1\t375\n"
    "filter\tFin\tPlan\tNameThatFillsAllThirtyChars_30\t1\t375\nrow\t0\tBudget\n"
    "filter\tFin\tCopy\tReadEast\t1\t375\nrow\t0\told\n";

// One way to the server: its own copy of the program (its own run log), its
// own store and state folder.
struct Way {
  explicit Way(const std::string& name, const std::string& description = Server) : name(name) {
    fs::copy_file(QUORVELCL_PATH, dir / "QuorvelCL");
    fs::copy_file(ESBAPIN_PATH, dir / "libesbapin.so");
    testing::WriteFile(dir / "server.txt", description);
    EXPECT_EQ(RunProgram(ESBSIM_PATH, {"load", store, dir / "server.txt"}, {}, dir / "out").status,
              0);
  }
  int Run(const std::string& db, const std::string& file, const std::string& op,
          const std::vector<std::string>& env = {}) {
    std::vector<std::string> all = {"ESBSIM_STORE=" + store, "XDG_STATE_HOME=" + (dir / "state")};
    all.insert(all.end(), env.begin(), env.end());
    return RunProgram(dir / "QuorvelCL",
                      {"-s", server, "-a", "Fin", "-d", db, "-i", "demo", "-p", "demo", "-f", file,
                       "-t", op},
                      all, dir / "console.txt")
        .status;
  }
  // The run log with the date, the server and this way's folder made alike.
  std::string Log() const {
    std::string log = ReadFile(dir / "Log.txt");
    log = std::regex_replace(log, std::regex("//Process starting at [^\r]*"), "//DATE");
    log = std::regex_replace(log, std::regex("-s [^ ]+ "), "-s SERVER ");
    return std::regex_replace(log, std::regex(dir.path() + "[^ \r,:]*"), "FILE");
  }
  std::string Dump() {
    fs::remove(dir / "dump.txt");
    RunProgram(ESBSIM_PATH, {"dump", store}, {}, dir / "dump.txt");
    return ReadFile(dir / "dump.txt");
  }
  std::string Backup() const {
    for (const auto& e : fs::directory_iterator(dir / "state/quorvel/backups"))
      if (e.path().extension() == ".txt") return e.path();
    return "";
  }

  std::string name;
  TempDir dir;
  std::string store = dir / "store.db";
  std::string server = "essdemo";
};

TEST(RestRun, ExportImportAndRestoreAreTheLibrarysOverHttp) {
  Way library("library"), rest("rest");
  support::ServeProcess serve(ESBSIM_PATH, rest.store);
  ASSERT_FALSE(serve.url().empty()) << serve.errors();
  rest.server = serve.url();
  // Replaces one filter, creates one, and leaves one left open by a line it
  // cannot read: each filter whole or unchanged, either way.
  const std::string in =
      "x\ty\tReadEast\t275\tnew \xE9t\xE9\r\r\nx\ty\tCreated\t273\tc\r\r\n"
      "x\ty\tNoRows\t273\tgets one\r\r\nx\ty\tNoRows\tbad\tline\r\r\n";
  for (Way* way : {&library, &rest}) {
    SCOPED_TRACE(way->name);
    EXPECT_EQ(way->Run("Plan", way->dir / "plan.txt", "export"), 0) << way->Log();
    testing::WriteFile(way->dir / "in.txt", in);
    EXPECT_EQ(way->Run("Copy", way->dir / "in.txt", "import"), 1) << way->Log();
    EXPECT_EQ(way->Run("Copy", way->Backup(), "restore"), 0) << way->Log();
    EXPECT_EQ(ReadFile(way->dir / "console.txt"), "");
  }
  EXPECT_EQ(ReadFile(rest.dir / "plan.txt"), ReadFile(library.dir / "plan.txt"));
  EXPECT_NE(ReadFile(rest.dir / "plan.txt").find("Z\xFCrich"), std::string::npos);
  EXPECT_EQ(rest.Log(), library.Log());
  EXPECT_NE(rest.Log().find(msg::FilterLeftUnchangedStart), std::string::npos);
  serve.Stop();
  EXPECT_EQ(rest.Dump(), library.Dump());
  EXPECT_EQ(library.Dump().find("Created"), std::string::npos);  // restored: deleted again
}

// A server that writes its access words in upper case ("READ", "METAREAD")
// is read as one that spells them as the reference does: the same export,
// import, diff, run log and store.
TEST(RestRun, UpperCaseAccessWordsAreReadAsTheReferencesSpelling) {
  const std::string everyWord = Server + "filter\tFin\tPlan\tMeta\t1\t375\nrow\t280\tEast\n";
  Way mixed("mixed", everyWord), upper("upper", everyWord);
  support::ServeProcess mixedServe(ESBSIM_PATH, mixed.store);
  support::ServeProcess upperServe(ESBSIM_PATH, upper.store, {"--access-case", "upper"});
  ASSERT_FALSE(mixedServe.url().empty()) << mixedServe.errors();
  ASSERT_FALSE(upperServe.url().empty()) << upperServe.errors();
  mixed.server = mixedServe.url();
  upper.server = upperServe.url();
  // Replaces a filter the backup reads first, and creates one.
  const std::string in = "x\ty\tReadEast\t280\tnew\r\r\nx\ty\tCreated\t0\tc\r\r\n";
  for (Way* way : {&mixed, &upper}) {
    SCOPED_TRACE(way->name);
    EXPECT_EQ(way->Run("Plan", way->dir / "plan.txt", "export"), 0) << way->Log();
    testing::WriteFile(way->dir / "in.txt", in);
    EXPECT_EQ(way->Run("Copy", way->dir / "in.txt", "import"), 0) << way->Log();
    EXPECT_EQ(way->Run("Copy", way->dir / "in.txt", "diff"), 0) << way->Log();
    EXPECT_EQ(way->Run("Copy", way->Backup(), "diff"), 2) << way->Log();
  }
  const std::string plan = ReadFile(upper.dir / "plan.txt");
  EXPECT_EQ(plan, ReadFile(mixed.dir / "plan.txt"));
  for (const char* access : {"\t0\t", "\t273\t", "\t275\t", "\t280\t"})
    EXPECT_NE(plan.find(access), std::string::npos) << access;
  EXPECT_EQ(upper.Log(), mixed.Log());
  mixedServe.Stop();
  upperServe.Stop();
  EXPECT_EQ(upper.Dump(), mixed.Dump());
}

// A server that did not answer is the client's own finding, never quoted as
// what the server said.
TEST(RestRun, SlowServerTimesOutAndTheLogSaysSo) {
  Way rest("rest");
  support::ServeProcess serve(ESBSIM_PATH, rest.store, {"--latency-ms", "1500"});
  ASSERT_FALSE(serve.url().empty()) << serve.errors();
  rest.server = serve.url();
  EXPECT_EQ(rest.Run("Plan", rest.dir / "plan.txt", "export", {"QUORVEL_HTTP_TIMEOUT=1"}), 1);
  const std::string log = rest.Log();
  EXPECT_NE(log.find(std::string(msg::LoginFailed) + "1079002\r\n" +
                     std::string(msg::WhatWentWrong) + "the server at "),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(" did not answer in 1 s\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find(msg::ServerSaid), std::string::npos) << log;
}

// A server that stops answering in the middle of an import: the run ends
// within a bound its short timeout sets, the filters that were in flight may
// or may not have been written, and those never sent are told in one line,
// not one each.
TEST(RestRun, ServerThatFreezesMidImportEndsTheRunSoonWithOneLine) {
  Way rest("rest");
  std::string in;
  for (int i = 0; i < 300; ++i)
    in += "x\ty\tF" + std::to_string(i) + "\t273\trow " + std::to_string(i) + "\r\r\n";
  testing::WriteFile(rest.dir / "in.txt", in);
  support::ServeProcess serve(ESBSIM_PATH, rest.store, {"--latency-ms", "50"});
  ASSERT_FALSE(serve.url().empty()) << serve.errors();
  rest.server = serve.url();
  std::thread freeze([&serve] {
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    serve.Pause(true);
  });
  const auto start = std::chrono::steady_clock::now();
  const int exit = rest.Run("Copy", rest.dir / "in.txt", "import",
                            {"QUORVEL_HTTP_TIMEOUT=2", "QUORVEL_BACKUP=off"});
  const auto took = std::chrono::steady_clock::now() - start;
  freeze.join();
  serve.Pause(false);
  EXPECT_EQ(exit, 1);
  EXPECT_LT(took, std::chrono::seconds(30));
  const std::string log = rest.Log();
  const std::regex summary(
      " filters were not imported: the server at [^ ]+ did not answer in 2 s\r\n");
  EXPECT_EQ(
      std::distance(std::sregex_iterator(log.begin(), log.end(), summary), std::sregex_iterator()),
      1)
      << log;
  // Only the writes in flight have lines of their own.
  size_t lines = 0;
  for (size_t at = 0; (at = log.find(msg::ImportFailed, at)) != std::string::npos; ++at) ++lines;
  EXPECT_LE(lines, 16u) << log;
  EXPECT_EQ(log.find("left unchanged"), std::string::npos) << log;
}

}  // namespace
}  // namespace cli

// The esbsim tool: demo, load, dump; malformed descriptions are refused with
// their line and leave the store as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/Utf8.h"
#include "tests/sim/SimTestSupport.h"

namespace simtest {
namespace {

std::string Times(const std::string& s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // two characters
// Names at the store's limits, in characters of two and three bytes.
const std::string kApp30 = "Aplicaci\xC3\xB3n_de_Filtros_" + kTokyo + "_20245";
const std::string kDb30 = "Datenbank_f\xC3\xBCr_Nutzerfilter_\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC";
const std::string kFilter256 = Times(kTokyo, 127) + "\xC3\xA9\xC3\xA9";

// Every kind of record and the awkward corners a dump must reproduce.
const std::string kEveryCorner =
    "server\tThirtyCharacterServerName12345\n"
    "user\tdemo\tdemo\t275\n"
    "user\tnopass\t\t-1\n"
    "app\tFULLNAM8\tloaded\n"
    "db\tFULLNAM8\tDBFULL08\n"
    "filter\tFULLNAM8\tDBFULL08\tABCDEFGHIJKLMNOPQRSTUVWXYZ0123\t1\t375\n"
    "row\t273\t\"Actual\",\t\"Budget\"\t\n"
    "row\t-32768\t  leading blanks and trailing  \n"
    "filter\tFULLNAM8\tDBFULL08\tNo rows\t0\t0\n"
    "db\tFULLNAM8\tEmptyDb\n"
    "app\tOff\tunloaded\n"
    "db\tOff\tPlan\n"
    "filter\tOff\tPlan\tF\t32767\t-32768\n"
    "row\t0\t\xC3\xA9t\xC3\xA9 caf\xC3\xA9 \xE2\x82\xAC " + kTokyo + "\n"
    "app\t" + kApp30 + "\tloaded\n"
    "db\t" + kApp30 + "\t" + kDb30 + "\n"
    "filter\t" + kApp30 + "\t" + kDb30 + "\t" + kFilter256 + "\t1\t375\n"
    "row\t273\t\"R\xC3\xA9gion\", \"\xE2\x82\xAC\", \"" + kTokyo + "\"\n"
    "app\tNoDbs\tloaded\n"
    "fault\tEsbSetFilterRow\t1051021\t3\t1\n"
    "fault\tEsbInit\t-2147483648\t0\t0\n"
    "fault\tEsbGetFilter\t2147483647\t2147483647\t2147483647\n";

class Esbsim : public ::testing::Test {
 protected:
  RunResult Load(const std::string& text) {
    return RunEsbsim({"load", store_.path(), WriteFile(store_.dir(), "input.txt", text)});
  }
  RunResult Dump() { return RunEsbsim({"dump", store_.path()}); }
  TempStore store_;
};

TEST_F(Esbsim, NamesAtTheLimitsAreThoseOfTheStore) {
  EXPECT_EQ(esbsim::Utf8Length(kApp30), 30u);
  EXPECT_EQ(esbsim::Utf8Length(kDb30), 30u);
  EXPECT_EQ(esbsim::Utf8Length(kFilter256), 256u);
}

TEST_F(Esbsim, LoadThenDumpIsByteExact) {
  const RunResult load = Load(kEveryCorner);
  ASSERT_EQ(load.exitCode, 0) << load.err;
  const RunResult dump = Dump();
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(dump.out, kEveryCorner);
}

TEST_F(Esbsim, LoadReadsStandardInput) {
  const RunResult load = RunEsbsim({"load", store_.path(), "-"}, kEveryCorner);
  ASSERT_EQ(load.exitCode, 0) << load.err;
  EXPECT_EQ(Dump().out, kEveryCorner);
}

TEST_F(Esbsim, CommentsAndEmptyLinesAreSkipped) {
  ASSERT_EQ(Load("# a server\n\nserver\ts\n#user\tx\ty\t1\n\napp\tA\tloaded\n").exitCode, 0);
  EXPECT_EQ(Dump().out, "server\ts\napp\tA\tloaded\n");
}

TEST_F(Esbsim, TruncatedLastLineIsStillLoaded) {
  ASSERT_EQ(
      Load("server\ts\napp\tA\tloaded\ndb\tA\tD\nfilter\tA\tD\tF\t1\t375\nrow\t273\tlast").exitCode,
      0);
  EXPECT_EQ(Dump().out,
            "server\ts\napp\tA\tloaded\ndb\tA\tD\nfilter\tA\tD\tF\t1\t375\nrow\t273\tlast\n");
}

TEST_F(Esbsim, RowsBelongToNearestFilterAbove) {
  ASSERT_EQ(Load("server\ts\napp\tA\tloaded\ndb\tA\tD\nfilter\tA\tD\tF\t1\t375\nrow\t1\tr1\n"
                 "db\tA\tE\nrow\t2\tr2\n")
                .exitCode,
            0);
  EXPECT_EQ(Dump().out,
            "server\ts\napp\tA\tloaded\ndb\tA\tD\nfilter\tA\tD\tF\t1\t375\nrow\t1\tr1\nrow\t2\tr2\n"
            "db\tA\tE\n");
}

TEST_F(Esbsim, DemoServerReloadsUnchanged) {
  ASSERT_EQ(RunEsbsim({"demo", store_.path()}).exitCode, 0);
  const std::string demo = Dump().out;
  TempStore second;
  const RunResult load = RunEsbsim({"load", second.path(), WriteFile(second.dir(), "d", demo)});
  ASSERT_EQ(load.exitCode, 0) << load.err;
  EXPECT_EQ(RunEsbsim({"dump", second.path()}).out, demo);
}

TEST_F(Esbsim, DemoServerHasTheAdvertisedContent) {
  ASSERT_EQ(RunEsbsim({"demo", store_.path()}).exitCode, 0);
  const std::string demo = Dump().out;
  auto has = [&](const std::string& s) { return demo.find(s) != std::string::npos; };
  EXPECT_TRUE(has("server\tessdemo\n"));
  EXPECT_TRUE(has("user\tdemo\tdemo\t275\n"));
  EXPECT_TRUE(has("app\tFinPlan8\tloaded\ndb\tFinPlan8\tForecast\n"));
  EXPECT_TRUE(has("\tunloaded\n"));
  EXPECT_TRUE(has("\tRegional_Sales_Managers_Europe\t"));
  EXPECT_TRUE(has("row\t273\t\"Actual\",\t\"Budget\"\n"));
  EXPECT_TRUE(has("\t375\nfilter\t"));              // a filter without rows
  EXPECT_TRUE(has("db\tSample\tXchgrate\napp\t"));  // a database without filters
  EXPECT_TRUE(has("app\tScratch\tloaded\n"));       // no databases (last app)
  size_t filters = 0;
  for (size_t at = demo.find("\nfilter\t"); at != std::string::npos;
       at = demo.find("\nfilter\t", at + 1))
    ++filters;
  EXPECT_GE(filters, 35u);
  EXPECT_LE(filters, 50u);
}

TEST_F(Esbsim, DumpOfMissingStoreFailsWithoutCreatingIt) {
  const RunResult r = Dump();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(store_.path()));
}

TEST_F(Esbsim, WrongArgumentsShowUsage) {
  EXPECT_EQ(RunEsbsim({}).exitCode, 2);
  EXPECT_EQ(RunEsbsim({"frobnicate", "x"}).exitCode, 2);
  EXPECT_EQ(RunEsbsim({"load", store_.path()}).exitCode, 2);
  for (const char* bad : {"--port", "--latency-ms", "--tls", "--access-case"})
    EXPECT_EQ(RunEsbsim({"serve", store_.path(), bad, "x"}).exitCode, 2) << bad;
  EXPECT_EQ(RunEsbsim({"serve", store_.path(), "--port", "70000"}).exitCode, 2);
}

TEST_F(Esbsim, ServeRefusesAStoreItCannotOpenAndACertificateItCannotUse) {
  const std::string blocker = WriteFile(store_.dir(), "plain", "not a folder");
  EXPECT_EQ(RunEsbsim({"serve", blocker + "/server.db"}).exitCode, 1);
  const RunResult r = RunEsbsim({"serve", store_.path(), "--tls", blocker, blocker});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot serve TLS"), std::string::npos) << r.err;
}

TEST_F(Esbsim, MissingInputFileFails) {
  EXPECT_EQ(RunEsbsim({"load", store_.path(), "/nonexistent/file"}).exitCode, 1);
}

struct Malformed {
  const char* name;
  std::string text;  // appended to a valid head of 4 lines + comment + blank
  int line;
};

// Lines 1..6 are valid; the fault sits on the line named.
const std::string kHead =
    "server\ts\n"
    "# comment\n"
    "\n"
    "user\tu\tp\t275\n"
    "app\tA\tloaded\n"
    "db\tA\tD\n";

class EsbsimMalformed : public Esbsim, public ::testing::WithParamInterface<Malformed> {};

TEST_P(EsbsimMalformed, RefusedWithLineAndStoreUnchanged) {
  ASSERT_EQ(Load(kEveryCorner).exitCode, 0);
  const RunResult r = Load(kHead + GetParam().text);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("line " + std::to_string(GetParam().line) + ": "), std::string::npos)
      << r.err;
  EXPECT_EQ(Dump().out, kEveryCorner);
}

const std::string kRow8193(8193, 'r');

INSTANTIATE_TEST_SUITE_P(
    Cases, EsbsimMalformed,
    ::testing::Values(
        Malformed{"UnknownRecord", "filter\tA\tD\tF\t1\t375\nbogus\tx\n", 8},
        Malformed{"FilterOfUndefinedDatabase", "filter\tA\tX\tF\t1\t375\n", 7},
        Malformed{"FilterOfUndefinedApplication", "filter\tB\tD\tF\t1\t375\n", 7},
        Malformed{"DatabaseOfUndefinedApplication", "db\tB\tD\n", 7},
        Malformed{"ThirtyOneCharacterApplication", "app\t" + kApp30 + "x\tloaded\n", 7},
        Malformed{"ThirtyOneCharacterDatabase", "db\tA\t" + kDb30 + "x\n", 7},
        Malformed{"TwoHundredFiftySevenCharacterFilter",
                  "filter\tA\tD\t" + kFilter256 + "x\t1\t375\n", 7},
        Malformed{"NonNumericRowAccess", "filter\tA\tD\tF\t1\t375\nrow\tRead\ttext\n", 8},
        Malformed{"NonNumericFilterAccess", "filter\tA\tD\tF\t1\tWrite\n", 7},
        Malformed{"NonNumericUserAccess", "user\tv\tp\t27x\n", 7},
        Malformed{"LeadingZeroNumber", "filter\tA\tD\tF\t1\t0375\n", 7},
        Malformed{"PlusSignNumber", "filter\tA\tD\tF\t+1\t375\n", 7},
        Malformed{"NegativeZero", "filter\tA\tD\tF\t-0\t375\n", 7},
        Malformed{"AccessOutOfRange", "filter\tA\tD\tF\t1\t32768\n", 7},
        Malformed{"RowBeforeAnyFilter", "row\t273\ttext\n", 7},
        Malformed{"RowWithoutText", "filter\tA\tD\tF\t1\t375\nrow\t273\n", 8},
        Malformed{"EmptyRowText", "filter\tA\tD\tF\t1\t375\nrow\t273\t\n", 8},
        Malformed{"RowTooLong", "filter\tA\tD\tF\t1\t375\nrow\t273\t" + kRow8193 + "\n", 8},
        Malformed{"RowTooLongInCharacters",
                  "filter\tA\tD\tF\t1\t375\nrow\t273\t" + Times(kTokyo, 4096) + "x\n", 8},
        Malformed{"CarriageReturnInRow", "filter\tA\tD\tF\t1\t375\nrow\t273\ttext\r\n", 8},
        Malformed{"TooFewFields", "app\tB\n", 7},
        Malformed{"TooManyFields", "db\tA\tE\textra\n", 7},
        Malformed{"FilterFieldCount", "filter\tA\tD\tF\t1\t375\t9\n", 7},
        Malformed{"DuplicateApplication", "app\tA\tunloaded\n", 7},
        Malformed{"DuplicateDatabase", "db\tA\tD\n", 7},
        Malformed{"DuplicateFilter", "filter\tA\tD\tF\t1\t375\nfilter\tA\tD\tF\t1\t375\n", 8},
        Malformed{"DuplicateUser", "user\tu\tq\t273\n", 7},
        Malformed{"SecondServer", "server\tt\n", 7},
        Malformed{"BadLoadState", "app\tB\trunning\n", 7},
        Malformed{"NameEndingInBlank", "app\tB \tloaded\n", 7},
        Malformed{"EmptyName", "db\tA\t\n", 7},
        Malformed{"UnknownFaultOperation", "fault\tEsbFrobnicate\t1\t0\t1\n", 7},
        Malformed{"NegativeFaultCount", "fault\tEsbInit\t1\t-1\t1\n", 7},
        Malformed{"FaultStatusOutOfRange", "fault\tEsbInit\t2147483648\t0\t1\n", 7}),
    [](const auto& info) { return std::string(info.param.name); });

// Descriptions written for the Latin-1 store of earlier versions load to
// the content they always stood for, and dump as UTF-8.
TEST_F(Esbsim, Latin1DescriptionLoadsAsLatin1AndDumpsAsUtf8) {
  const std::string latin1 =
      "server\ts\xE9rv\nuser\tj\xFCrgen\tp\xE4ss\t275\napp\tCaf\xE9\tloaded\n"
      "db\tCaf\xE9\tPr\xEAt\nfilter\tCaf\xE9\tPr\xEAt\tR\xE9gion\t1\t375\n"
      "row\t273\t\"M\xFCnchen\"\n";
  const std::string utf8 =
      "server\ts\xC3\xA9rv\nuser\tj\xC3\xBCrgen\tp\xC3\xA4ss\t275\napp\tCaf\xC3\xA9\tloaded\n"
      "db\tCaf\xC3\xA9\tPr\xC3\xAAt\nfilter\tCaf\xC3\xA9\tPr\xC3\xAAt\tR\xC3\xA9gion\t1\t375\n"
      "row\t273\t\"M\xC3\xBCnchen\"\n";
  ASSERT_EQ(Load(latin1).exitCode, 0);
  const RunResult dump = Dump();
  EXPECT_EQ(dump.out, utf8);
  ASSERT_EQ(Load(dump.out).exitCode, 0);
  EXPECT_EQ(Dump().out, utf8);
}

// One byte that is not UTF-8 makes the whole file Latin-1: its other bytes
// meant what they meant to the Latin-1 store, "\xC3\xA9" being Ã©.
TEST_F(Esbsim, DescriptionNotUtf8AnywhereIsLatin1Throughout) {
  ASSERT_EQ(Load("server\ts\napp\tA\tloaded\ndb\tA\tD\nfilter\tA\tD\tcaf\xC3\xA9\t1\t375\n"
                 "row\t0\t\xE9t\xE9\n")
                .exitCode,
            0);
  EXPECT_EQ(Dump().out,
            "server\ts\napp\tA\tloaded\ndb\tA\tD\nfilter\tA\tD\tcaf\xC3\x83\xC2\xA9\t1\t375\n"
            "row\t0\t\xC3\xA9t\xC3\xA9\n");
}

// 8192 characters of three bytes: a limit in bytes would refuse the row.
TEST_F(Esbsim, LongestRowInCharactersRoundTrips) {
  const std::string text = "server\ts\napp\tA\tloaded\ndb\tA\tD\nfilter\tA\tD\tF\t1\t375\nrow\t273\t" +
                           Times(kTokyo, 4096) + "\n";
  const RunResult load = Load(text);
  ASSERT_EQ(load.exitCode, 0) << load.err;
  EXPECT_EQ(Dump().out, text);
}

TEST_F(Esbsim, FailedLoadLeavesNoNewStoreBehind) {
  const RunResult r = Load("server\ts\nbogus\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(store_.path()));
}

TEST_F(Esbsim, DescriptionWithoutServerIsRefused) {
  ASSERT_EQ(Load(kEveryCorner).exitCode, 0);
  const RunResult r = Load("app\tA\tloaded\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("line 2: "), std::string::npos) << r.err;
  EXPECT_EQ(Dump().out, kEveryCorner);
}

}  // namespace
}  // namespace simtest

// What the client library's backend adds to the calls: the prompt's buffers,
// the fields' limits, the two ways of writing, the guard against committing
// a definition left open, and filters read or written again whole.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "essbase/Session.h"
#include "essbase/library/LibraryServer.h"
#include "tests/support/FakeEssbaseApi.h"

namespace essbase {
namespace {

using testing::FakeEssbaseApi;

// A library that shows the host's prompt with buffers of its own sizes,
// guarded by bytes the prompt must never touch.
class PromptingLibrary final : public FakeEssbaseApi {
 public:
  static constexpr char Canary = '\x5a';
  static constexpr size_t Guard = 16;
  std::array<char, NameBuffer + Guard> server{}, user{};
  std::array<char, PasswordBuffer + Guard> password{};
  int32_t answered = -1;

  bool SetLoginPrompt(EsbSimLoginPrompt prompt, void* data) override {
    prompt_ = prompt;
    data_ = data;
    return prompt != nullptr;
  }
  int32_t EsbAutoLogin(Handle instance, std::span<char> s, std::span<char> u, std::span<char> p,
                       std::span<char> a, std::span<char> d, int16_t options, int16_t& access,
                       Handle& context) override {
    server.fill(Canary);
    user.fill(Canary);
    password.fill(Canary);
    std::memcpy(server.data(), std::string(NameWidth, ' ').c_str(), NameBuffer);
    std::memcpy(user.data(), "demo", 5);
    password[0] = '\0';
    answered = prompt_ ? prompt_(data_, server.data(), user.data(), password.data()) : 1;
    if (answered != 0) return answered;
    loginAnswers.push_back({0, std::string(server.data()), std::string(user.data()),
                            std::string(password.data()), AccessWrite});
    return FakeEssbaseApi::EsbAutoLogin(instance, s, u, p, a, d, options, access, context);
  }
  bool GuardsIntact() const {
    for (size_t i = 0; i < Guard; ++i)
      if (server[NameBuffer + i] != Canary || user[NameBuffer + i] != Canary ||
          password[PasswordBuffer + i] != Canary)
        return false;
    return true;
  }

 private:
  EsbSimLoginPrompt prompt_ = nullptr;
  void* data_ = nullptr;
};

struct PromptCase {
  const char* name;
  std::string server, user, password;
  int32_t status;         // of the login
  std::string keptServer;  // in the connection record afterwards
  bool elsewhere;          // answered with a server the library cannot reach
};

class PromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(PromptTest, AnswersGoBackWithinTheLibrarysBuffers) {
  const PromptCase& c = GetParam();
  PromptingLibrary library;
  ConnectionState conn;
  LibraryServer server(library, conn);
  std::string offeredUser;
  ASSERT_TRUE(server.SetLoginPrompt([&](std::string& s, std::string& u, std::string& p) {
    offeredUser = u;
    s = c.server;
    u = c.user;
    p = c.password;
    return 0;
  }));
  std::optional<Credentials> elsewhere;
  EXPECT_EQ(server.PromptLogIn(elsewhere).status, c.status);
  EXPECT_EQ(offeredUser, "demo");
  EXPECT_TRUE(library.GuardsIntact());
  EXPECT_EQ(elsewhere.has_value(), c.elsewhere);
  if (elsewhere) {
    EXPECT_EQ(elsewhere->server, c.keptServer);
    EXPECT_EQ(elsewhere->user, c.user);
    EXPECT_EQ(elsewhere->password, c.password);
  }
  if (c.status == 0) {
    EXPECT_EQ(conn.Server, c.keptServer);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PromptTest,
    ::testing::Values(
        PromptCase{"Plain", "essdemo", "demo", "pw", 0, "essdemo", false},
        PromptCase{"LongerThanTheFieldsCut", std::string(60, 's'), std::string(45, 'u'),
                   std::string(150, 'p'), 0, std::string(30, 's'), false},
        PromptCase{"Latin1KeptAsItsCharacters", "R\xc3\xa9gion", "J\xc3\xb6rg", "pw", 0,
                   "R\xc3\xa9gion", false},
        // Never a '?' in a stand-in's place: the library is told no.
        PromptCase{"BeyondLatin1Refused", "essdemo", "\xe6\x9d\xb1\xe4\xba\xac", "pw",
                   ESB_STS_BAD_NAME, "", false},
        PromptCase{"UrlGoesElsewhere", "https://essbase.example.com:9001/essbase  ", "admin",
                   "secret", LoginCancelled, "https://essbase.example.com:9001/essbase", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The fields of the client library, each refused by name and limit.
struct NameCase {
  const char* name;
  Database db;
  std::string filter;
  std::string named;  // what the detail must say
};

class NameLimitTest : public ::testing::TestWithParam<NameCase> {
 protected:
  FakeEssbaseApi fake;
  ConnectionState conn;
  LibraryServer server{fake, conn};
};

TEST_P(NameLimitTest, NameTheFieldsCannotHoldIsRefusedBeforeAnyCall) {
  const NameCase& c = GetParam();
  Filter f{c.filter, FilterActive, FilterAccess, {{AccessRead, "East"}}};
  std::vector<Filter> read;
  const WriteOutcome written = server.WriteFilter(c.db, f);
  std::vector<std::string> names;
  const Failure listed = c.filter == "F" ? server.ListFilters(c.db, names) : Failure{};
  EXPECT_FALSE(written.done);
  EXPECT_EQ(written.failure.status, ESB_STS_BAD_NAME);
  EXPECT_NE(written.failure.detail.find(c.named), std::string::npos) << written.failure.detail;
  if (c.filter == "F") {
    EXPECT_EQ(listed.status, ESB_STS_BAD_NAME);
  }
  EXPECT_EQ(fake.CountCalls("EsbSetFilter") + fake.CountCalls("EsbListFilters"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, NameLimitTest,
    ::testing::Values(
        NameCase{"Application9", {"Efficient", "Basic"}, "F", "\"Efficient\" is longer than the client library's 8"},
        NameCase{"Database9", {"Sample", "UserFilters"}, "F", "\"UserFilters\" is longer than the client library's 8"},
        NameCase{"Filter31", {"Sample", "Basic"}, std::string(31, 'f'), "longer than the client library's 30"},
        NameCase{"FilterBeyondLatin1", {"Sample", "Basic"}, "\xe2\x82\xac", "cannot carry"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LibraryNames, FieldsFilledToTheirLimitPass) {
  FakeEssbaseApi fake;
  ConnectionState conn;
  LibraryServer server(fake, conn);
  fake.AddDatabase("FULLNAM8", "DBFULL08");
  const std::string name(30, 'n');
  EXPECT_TRUE(server.WriteFilter({"FULLNAM8", "DBFULL08"}, {name, 1, 375, {{273, "x"}}}).done);
  ASSERT_NE(fake.FindFilter("FULLNAM8", "DBFULL08", name), nullptr);
}

// A login again the tests can count and answer.
class CountingAgain final : public LoginAgain {
 public:
  explicit CountingAgain(std::set<Step> repeats, std::function<void()> login = {})
      : repeats_(std::move(repeats)), login_(std::move(login)) {}
  bool Repeats(Step step) const override { return repeats_.contains(step); }
  bool Again(Step step) override {
    asked.push_back(step);
    if (!Repeats(step)) return false;
    if (login_) login_();
    return true;
  }
  bool LogsInAgain() const override { return !repeats_.empty(); }
  bool TryLogin() override { return false; }
  std::vector<Step> asked;

 private:
  std::set<Step> repeats_;
  std::function<void()> login_;
};

class LibraryWritesTest : public ::testing::Test {
 protected:
  LibraryWritesTest() {
    fake.AddFilter("Fin", "Plan", "A", {{273, "old"}});
    fake.AddFilter("Fin", "Plan", "B", {{275, "b"}});
    conn.Server = "srv";
    conn.User = "u";
    conn.Password = "pw";
    int16_t count = 0;
    fake.EsbInit(ApiInitRecord(InitVersion(Generation::V6), DesktopLocalPath),
                 conn.InstanceHandle);
    fake.EsbLogin(conn.InstanceHandle, "srv", "u", "pw", count, conn.ContextHandle);
    fake.ClearCalls();
  }
  Filter NewA() const { return {"A", 1, 375, {{273, "r1"}, {275, "r2"}}}; }
  std::string RowsOf(const std::string& name) {
    std::string out;
    for (const auto& r : fake.FindFilter("Fin", "Plan", name)->rows)
      out += std::to_string(r.access) + ":" + r.text + "\n";
    return out;
  }

  FakeEssbaseApi fake;
  ConnectionState conn;
  LibraryServer server{fake, conn};
};

TEST_F(LibraryWritesTest, CarryOnSendsEveryCallAfterAFailureAndNeverCloses) {
  fake.Fail("EsbSetFilterRow", 7, 0, 1);
  const WriteOutcome o = server.WriteFilter({"Fin", "Plan"}, NewA(), {true, false});
  EXPECT_FALSE(o.done);
  EXPECT_EQ(fake.CallsText(), "EsbSetFilter(Fin,Plan,A,1,375)\nEsbSetFilterRow(r1,273)\n"
                              "EsbSetFilterRow(r2,275)\n");
  ASSERT_EQ(o.failedCalls.size(), 1u);
  EXPECT_EQ(o.failedCalls[0].place, 0);
  EXPECT_EQ(o.failure.call, "EsbSetFilterRow");
  EXPECT_EQ(RowsOf("A"), "273:old\n");
}

TEST_F(LibraryWritesTest, StoppingWriteMakesNoCallAfterItsFirstFailure) {
  fake.Fail("EsbSetFilterRow", 7, 0, 1);
  const WriteOutcome o = server.WriteFilter({"Fin", "Plan"}, NewA(), {false, false});
  EXPECT_FALSE(o.done);
  EXPECT_EQ(fake.CallsText(), "EsbSetFilter(Fin,Plan,A,1,375)\nEsbSetFilterRow(r1,273)\n");
  EXPECT_EQ(o.failure.status, 7);
  EXPECT_EQ(o.failure.rows, 0u);
}

TEST_F(LibraryWritesTest, ClosingFailureIsTheLastPlace) {
  fake.Fail("EsbSetFilterRow", 9, 2, 1);
  const WriteOutcome o = server.WriteFilter({"Fin", "Plan"}, NewA());
  EXPECT_FALSE(o.done);
  ASSERT_EQ(o.failedCalls.size(), 1u);
  EXPECT_EQ(o.failedCalls[0].place, 2);
  EXPECT_EQ(RowsOf("A"), "273:old\n");
}

TEST_F(LibraryWritesTest, LeftOpenDefinitionIsDiscardedByANewLoginBeforeTheNextWrite) {
  // Lost rows: every call is made, the definition is not closed...
  const WriteOutcome lost = [&] {
    struct Keep final : WriteReceiver {
      void Outcome(WriteOutcome& o) override { kept = o; }
      WriteOutcome kept;
    } keep;
    auto writes = server.StartWrites(keep, {});
    writes->Write({"Fin", "Plan"}, NewA(), true);
    writes->Finish();
    return keep.kept;
  }();
  EXPECT_FALSE(lost.done);
  EXPECT_FALSE(lost.failure);
  EXPECT_EQ(fake.CountCalls("EsbSetFilterRow"), 2);
  fake.ClearCalls();
  // ...and no later closing call of this login may commit it.
  EXPECT_TRUE(server.WriteFilter({"Fin", "Plan"}, {"B", 1, 375, {{0, "new"}}}).done);
  EXPECT_EQ(fake.CallsText().substr(0, std::string("EsbLogout").size()), "EsbLogout");
  EXPECT_EQ(fake.CountCalls("EsbLogin"), 1);
  EXPECT_EQ(RowsOf("A"), "273:old\n");
  EXPECT_EQ(RowsOf("B"), "0:new\n");
}

TEST_F(LibraryWritesTest, FailedLoginOfTheGuardMakesNoWriteCall) {
  server.WriteFilter({"Fin", "Plan"}, NewA(), {true, false});  // ok: nothing left open
  fake.Fail("EsbSetFilter", 7, 0, 1);
  server.WriteFilter({"Fin", "Plan"}, NewA());  // left open
  fake.Fail("EsbLogin", 1051293, 0, 1);
  fake.ClearCalls();
  const WriteOutcome o = server.WriteFilter({"Fin", "Plan"}, {"B", 1, 375, {{0, "x"}}});
  EXPECT_FALSE(o.done);
  EXPECT_EQ(fake.CountCalls("EsbSetFilter"), 0);
  EXPECT_EQ(o.failure.status, 1051293);
}

TEST_F(LibraryWritesTest, FileWithoutFiltersMakesTheOneClosingCall) {
  struct Keep final : WriteReceiver {
    void Outcome(WriteOutcome& o) override { kept.push_back(o); }
    std::vector<WriteOutcome> kept;
  } keep;
  fake.Fail("EsbSetFilterRow", 7, 0, 1);
  auto writes = server.StartWrites(keep, {true, true});
  writes->Finish();
  EXPECT_EQ(fake.CallsText(), "EsbSetFilterRow(null,375)\n");
  ASSERT_EQ(keep.kept.size(), 1u);
  EXPECT_EQ(keep.kept[0].kind, WriteOutcome::Kind::Close);
  EXPECT_EQ(keep.kept[0].failure.status, 7);
  // A run that wrote a filter closed it itself: no call more.
  fake.ClearCalls();
  auto more = server.StartWrites(keep, {true, true});
  more->Write({"Fin", "Plan"}, NewA());
  more->Finish();
  EXPECT_EQ(fake.CountCalls("EsbSetFilterRow"), 3);
}

class WholeWriteTest : public LibraryWritesTest, public ::testing::WithParamInterface<bool> {};

// An ended login on a row: the row call is not made again here, and the
// whole filter is, from its opening call, only where the policy says so.
TEST_P(WholeWriteTest, FilterWrittenAgainAfterANewLoginOnlyWhenThePolicySays) {
  const bool whole = GetParam();
  fake.Fail("EsbSetFilterRow", ReloginStatus, 1, 1);
  CountingAgain again(whole ? std::set<Step>{Step::WriteFilter} : std::set<Step>{},
                      [&] { server.LogIn({"srv", "u", "pw"}); });
  server.SetLoginAgain(&again);
  const WriteOutcome o = server.WriteFilter({"Fin", "Plan"}, NewA());
  server.SetLoginAgain(nullptr);
  EXPECT_EQ(o.done, whole);
  EXPECT_EQ(fake.CountCalls("EsbSetFilter"), whole ? 2 : 1);
  EXPECT_EQ(again.asked, (std::vector<Step>{Step::WriteRow, Step::WriteFilter}));
  EXPECT_EQ(RowsOf("A"), whole ? "273:r1\n275:r2\n" : "273:old\n");
}

INSTANTIATE_TEST_SUITE_P(Policies, WholeWriteTest, ::testing::Bool());

class LibraryReadsTest : public LibraryWritesTest {
 protected:
  struct Keep final : FilterReceiver {
    bool Receive(const Database&, Filter& f) override {
      got.push_back(f.name + "=" + std::to_string(f.rows.size()));
      return true;
    }
    void Partial(const Database&, const Filter& f) override {
      partial.push_back(f.name + "=" + std::to_string(f.rows.size()));
    }
    std::vector<std::string> got, partial;
  };
};

TEST_F(LibraryReadsTest, RowsReadBeforeAFailureComeAsPartial) {
  fake.FindFilter("Fin", "Plan", "A")->rows.push_back({0, "more"});
  fake.Fail("EsbGetFilterRow", 7, 1, 1);
  Keep keep;
  const Failure f = server.ReadDatabase({"Fin", "Plan"}, nullptr, {}, keep);
  EXPECT_EQ(f.status, 7);
  EXPECT_EQ(f.rows, 1u);
  EXPECT_EQ(f.filter, "A");
  EXPECT_TRUE(keep.got.empty());
  EXPECT_EQ(keep.partial, std::vector<std::string>{"A=1"});
}

TEST_F(LibraryReadsTest, ListingGoesWithTheReadsUnlessFiltersMayBeReadAgain) {
  Keep keep;
  server.ReadDatabase({"Fin", "Plan"}, nullptr, {}, keep);
  EXPECT_EQ(fake.CallsText().rfind("EsbListFilters(Fin,Plan)\nEsbGetNextItem(12,30)\nEsbGetFilter(", 0),
            0u);
  CountingAgain again({Step::ReadFilter});
  server.SetLoginAgain(&again);
  fake.ClearCalls();
  server.ReadDatabase({"Fin", "Plan"}, nullptr, {}, keep);
  EXPECT_EQ(fake.CallsText().rfind(
                "EsbListFilters(Fin,Plan)\nEsbGetNextItem(12,30)\nEsbGetNextItem(12,30)\nEsbGet", 0),
            0u);
  server.SetLoginAgain(nullptr);
}

TEST_F(LibraryReadsTest, UnwantedFiltersAreReadOnlyWhenAsked) {
  Keep keep;
  const Wanted onlyB = [](std::string_view n) { return n == "B"; };
  server.ReadDatabase({"Fin", "Plan"}, onlyB, {DesktopRowBuffer, false}, keep);
  EXPECT_EQ(fake.CountCalls("EsbGetFilter"), 1);
  server.ReadDatabase({"Fin", "Plan"}, onlyB, {DesktopRowBuffer, true}, keep);
  EXPECT_EQ(fake.CountCalls("EsbGetFilter"), 3);
  EXPECT_EQ(keep.got, (std::vector<std::string>{"B=1", "B=1"}));
}

}  // namespace
}  // namespace essbase

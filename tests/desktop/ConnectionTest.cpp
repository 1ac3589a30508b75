#include <gtest/gtest.h>

#include "desktop/WindowState.h"
#include "essbase/library/Connection.h"
#include "essbase/Session.h"
#include "tests/desktop/ScriptedPort.h"
#include "tests/support/FakeEssbaseApi.h"

namespace essbase {
namespace {

using desktop::MessageButtons;
using desktop::MessageIcon;
using desktop::testing::ScriptedPort;
using testing::FakeEssbaseApi;
using testing::FakeLoginAnswer;

class ConnectionTest : public ::testing::Test {
 protected:
  FakeEssbaseApi fake;
  ScriptedPort screen;
  // The window's session: its listener shows the login failure and sets the
  // hourglass through the screen.
  desktop::WindowState window{fake, screen, Generation::V6, backup::Place{}};
  ConnectionState& state = window.conn;
  Session& session = window.session;
};

class InitializeApiTest : public ConnectionTest,
                          public ::testing::WithParamInterface<Generation> {};

TEST_P(InitializeApiTest, VersionOfTheBuildsGenerationAndDesktopPath) {
  fake.Fail("EsbInit", 1030012);
  InitializeApi(fake, state, GetParam());
  EXPECT_EQ(state.Status, 1030012);  // stored, not reported
  EXPECT_TRUE(screen.messages.empty());
  InitializeApi(fake, state, GetParam());
  EXPECT_EQ(state.Status, 0);
  EXPECT_EQ(fake.lastInitVersion, InitVersion(GetParam()));
  ASSERT_EQ(fake.lastInitRecord.size(), ApiInitRecord::Size);
  std::array<uint8_t, ApiInitRecord::Size> bytes{};
  std::copy(fake.lastInitRecord.begin(), fake.lastInitRecord.end(), bytes.begin());
  const ApiInitRecord sent(bytes);
  EXPECT_EQ(sent.localPath().substr(0, 11), "C:\\ESSBASE ");
  EXPECT_EQ(sent.maxHandles(), 10);
}

INSTANTIATE_TEST_SUITE_P(Generations, InitializeApiTest,
                         ::testing::Values(Generation::V6, Generation::V5));

TEST_F(ConnectionTest, ServerOfferedBlankUserAndPasswordOfferedAgain) {
  state.Server = "oldserver";
  state.User = "admin";
  state.Password = "pw";
  fake.loginAnswers.push_back({0, "srv", "newuser", "newpw", AccessRead});
  EXPECT_EQ(AutoLogin(fake, state), 0);
  EXPECT_EQ(fake.CallsText("EsbAutoLogin"),
            "EsbAutoLogin(" + std::string(30, ' ') + ",admin,pw,2)\n");
  EXPECT_EQ(state.Server, "srv");
  EXPECT_EQ(state.User, "newuser");
  EXPECT_EQ(state.Password, "newpw");
  EXPECT_EQ(state.Access, AccessRead);
  EXPECT_NE(state.ContextHandle, 0u);
}

TEST_F(ConnectionTest, AnswerLongerThanThirtyCharactersCut) {
  fake.loginAnswers.push_back({0, std::string(40, 's'), std::string(45, 'u'), "p", AccessWrite});
  AutoLogin(fake, state);
  EXPECT_EQ(state.Server, std::string(30, 's'));
  EXPECT_EQ(state.User, std::string(30, 'u'));
}

TEST_F(ConnectionTest, UserLongerThanFieldCutBeforeItIsOffered) {
  state.User = std::string(50, 'u');
  fake.loginAnswers.push_back({1});
  AutoLogin(fake, state);
  EXPECT_EQ(fake.calls.at(0).args.at(1), std::string(30, 'u'));
}

TEST_F(ConnectionTest, FailedPromptStatusStoredAndReturned) {
  fake.loginAnswers.push_back({1051293});
  EXPECT_EQ(AutoLogin(fake, state), 1051293);
  EXPECT_EQ(state.Status, 1051293);
}

struct ReconnectCase {
  int32_t promptStatus;
  bool message;
  bool busy;
};

class ReconnectTest : public ConnectionTest, public ::testing::WithParamInterface<ReconnectCase> {};

TEST_P(ReconnectTest, MessageAndPointerByOutcome) {
  fake.loginAnswers.push_back({GetParam().promptStatus});
  session.Reconnect();
  EXPECT_EQ(state.Status, GetParam().promptStatus);
  ASSERT_EQ(screen.messages.size(), GetParam().message ? 1u : 0u);
  if (GetParam().message) {
    EXPECT_EQ(screen.messages[0].text, "An error occured and you are not logged in.");
    EXPECT_EQ(screen.messages[0].title, "Vuzuvaz Orezez");
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(screen.messages[0].buttons, MessageButtons::OK);
  }
  EXPECT_EQ(screen.busy, GetParam().busy);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, ReconnectTest,
                         ::testing::Values(ReconnectCase{0, false, true},
                                           ReconnectCase{1, false, false},
                                           ReconnectCase{1051293, true, false},
                                           ReconnectCase{-7, true, false}));

// One mechanism: the backend asks the session, whose policy says which
// steps are made again after a new login.
struct RepeatCase {
  const char* name;
  Policy policy;
  int32_t answer;                 // the activation's answer
  int times;                      // how many activations in a row give it
  int calls;                      // activations made
  int prompts;                    // logins again
  int32_t status;                 // the step's outcome
};

class RepeatTest : public ConnectionTest, public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(RepeatTest, StepMadeAgainAfterANewLoginOnlyAsThePolicySays) {
  const RepeatCase& c = GetParam();
  fake.AddDatabase("Sample", "Basic");
  state.ContextHandle = 5;
  fake.Fail("EsbSetActive", c.answer, 0, c.times);
  auto policed = session.Under(c.policy);
  EXPECT_EQ(session.server().Activate({"Sample", "Basic"}).status, c.status);
  EXPECT_EQ(state.Status, c.status);
  EXPECT_EQ(fake.CountCalls("EsbSetActive"), c.calls);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), c.prompts);
  if (c.calls == 2) {
    // The repeat goes out with the new login's context.
    std::vector<Handle> contexts;
    for (const auto& call : fake.calls)
      if (call.name == "EsbSetActive") contexts.push_back(call.context);
    EXPECT_EQ(contexts.at(0), 5u);
    EXPECT_EQ(contexts.at(1), state.ContextHandle);
    EXPECT_NE(contexts.at(1), 5u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Policies, RepeatTest,
    ::testing::Values(
        RepeatCase{"EndedLoginRepeatedOnce", policy::Activation(), ReloginStatus, 1, 2, 1, 0},
        RepeatCase{"EndedAgainNotRepeatedTwice", policy::Activation(), ReloginStatus, 2, 2, 1,
                   ReloginStatus},
        RepeatCase{"OtherFailureNotRepeated", policy::Activation(), 1051030, 1, 1, 0, 1051030},
        RepeatCase{"StepThePolicyLeavesOut", policy::Listing(), ReloginStatus, 1, 1, 0,
                   ReloginStatus},
        RepeatCase{"NoLoginAgain", policy::None(), ReloginStatus, 1, 1, 0, ReloginStatus}),
    [](const ::testing::TestParamInfo<RepeatCase>& info) { return std::string(info.param.name); });

TEST_F(ConnectionTest, QuietPolicyLogsInWithTheStoredValuesNotThePrompt) {
  fake.AddDatabase("Sample", "Basic");
  state.Server = "srv";
  state.User = "admin";
  state.Password = "pw";
  fake.Fail("EsbSetActive", ReloginStatus, 0, 1);
  auto policed = session.Under(Policy{Policy::Login::Quiet, {Step::Activate}, {}});
  EXPECT_EQ(session.server().Activate({"Sample", "Basic"}).status, 0);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 0);
  EXPECT_EQ(fake.CallsText("EsbLogin"), "EsbLogin(srv,admin,pw)\n");
}

TEST_F(ConnectionTest, PlainLoginSendsTheStoredValuesAndReplacesTheContext) {
  state.Server = "srv";
  state.User = "admin";
  state.Password = "pw";
  state.ContextHandle = 3;
  EXPECT_EQ(session.Login(), 0);
  EXPECT_EQ(fake.CallsText("EsbLogin"), "EsbLogin(srv,admin,pw)\n");
  EXPECT_NE(state.ContextHandle, 3u);
  EXPECT_EQ(fake.CountCalls("EsbLogout"), 0);  // the old context is not logged out
  EXPECT_TRUE(screen.messages.empty());
}

}  // namespace
}  // namespace essbase

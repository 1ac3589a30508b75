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

TEST_F(ConnectionTest, CallWithReloginRepeatsOnceWithTheNewContext) {
  state.ContextHandle = 5;
  std::vector<Handle> contexts;
  int calls = 0;
  const int32_t status = session.RunWithRelogin([&](EssbaseApi&, Handle) {
    contexts.push_back(state.ContextHandle);
    return ++calls == 1 ? ReloginStatus : 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(state.Status, 0);
  ASSERT_EQ(contexts.size(), 2u);
  EXPECT_EQ(contexts[0], 5u);
  EXPECT_NE(contexts[1], 5u);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 1);
}

TEST_F(ConnectionTest, CallWithReloginRepeatsOnlyOnceEvenIfReloginAgain) {
  int calls = 0;
  const int32_t status = session.RunWithRelogin([&](EssbaseApi&, Handle) {
    ++calls;
    return ReloginStatus;
  });
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(status, ReloginStatus);
}

TEST_F(ConnectionTest, OtherFailureNotRetried) {
  int calls = 0;
  EXPECT_EQ(session.RunWithRelogin([&](EssbaseApi&, Handle) {
    ++calls;
    return 1051030;
  }),
            1051030);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 0);
}

TEST_F(ConnectionTest, RunHandsTheCurrentContextAndKeepsTheStatus) {
  state.ContextHandle = 9;
  Handle seen = 0;
  EXPECT_EQ(session.Run([&](EssbaseApi&, Handle context) {
    seen = context;
    return ReloginStatus;
  }),
            ReloginStatus);
  EXPECT_EQ(seen, 9u);
  EXPECT_EQ(state.Status, ReloginStatus);
  EXPECT_EQ(fake.CountCalls("EsbAutoLogin"), 0);  // no login again without asking
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

// Instances, logins, the login prompt and the application load state.
#include <stdlib.h>

#include <cstring>
#include <filesystem>

#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/ByteOrder.h"
#include "tests/sim/ConformanceFixture.h"

namespace simtest {
namespace {

using namespace essbase;

using Logins = Conformance;

TEST_P(Logins, CountIsNumberOfApplications) {
  Handle i = Init();
  int16_t count = -1;
  Handle c = 0;
  ASSERT_EQ(api().EsbLogin(i, "srv", "u", "pw", count, c), 0);
  EXPECT_EQ(count, 3);
  EXPECT_NE(c, 0u);
}

TEST_P(Logins, WrongServerUserOrPasswordIsRefused) {
  Handle i = Init();
  int16_t count;
  Handle c = 0;
  EXPECT_EQ(api().EsbLogin(i, "other", "u", "pw", count, c), ESB_STS_UNKNOWN_SERVER);
  EXPECT_EQ(api().EsbLogin(i, "SRV", "u", "pw", count, c), ESB_STS_UNKNOWN_SERVER);
  EXPECT_EQ(api().EsbLogin(i, "srv", "nobody", "pw", count, c), ESB_STS_BAD_LOGIN);
  EXPECT_EQ(api().EsbLogin(i, "srv", "U", "pw", count, c), ESB_STS_BAD_LOGIN);
  EXPECT_EQ(api().EsbLogin(i, "srv", "u", "PW", count, c), ESB_STS_BAD_LOGIN);
  EXPECT_EQ(api().EsbLogin(i, "srv", "u", "", count, c), ESB_STS_BAD_LOGIN);
}

TEST_P(Logins, BlankPaddedFieldsLogIn) {
  Handle i = Init();
  int16_t count;
  Handle c = 0;
  EXPECT_EQ(api().EsbLogin(i, "srv                           ", "u                             ",
                           "pw", count, c),
            0);
}

TEST_P(Logins, SetActiveGivesTheUsersAccess) {
  Handle i = Init();
  int16_t access = -1;
  ASSERT_EQ(api().EsbSetActive(Login(i, "u", "pw"), "Sample", "Basic", access), 0);
  EXPECT_EQ(access, 275);
  ASSERT_EQ(api().EsbSetActive(Login(i, "r", "rpw"), "Sample", "Basic", access), 0);
  EXPECT_EQ(access, 273);
}

TEST_P(Logins, UnservedVersionIsRefused) {
  Handle i = 0;
  EXPECT_EQ(api().EsbInit(ApiInitRecord(0x50000, "C:\\"), i), ESB_STS_BAD_VERSION);
  EXPECT_EQ(api().EsbInit(ApiInitRecord(0x60001, "C:\\"), i), ESB_STS_BAD_VERSION);
}

TEST_P(Logins, UnopenableStoreFailsInit) {
  const std::string blocker = WriteFile(store_.dir(), "plain", "not a folder");
  setenv("ESBSIM_STORE", (blocker + "/server.db").c_str(), 1);
  Handle i = 0;
  EXPECT_EQ(api().EsbInit(ApiInitRecord(0x60000, "C:\\"), i), ESB_STS_STORE_FAILURE);
  WriteFile(store_.dir(), "garbage.db", std::string(4096, 'g'));
  setenv("ESBSIM_STORE", (store_.dir() + "/garbage.db").c_str(), 1);
  EXPECT_EQ(api().EsbInit(ApiInitRecord(0x60000, "C:\\"), i), ESB_STS_STORE_FAILURE);
}

TEST_P(Logins, MissingDefaultStoreIsCreatedWithDemoServer) {
  unsetenv("ESBSIM_STORE");
  const char* old = getenv("XDG_DATA_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", (store_.dir() + "/xdg").c_str(), 1);
  Handle i = Init();
  if (old)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
  EXPECT_TRUE(std::filesystem::exists(store_.dir() + "/xdg/essbase-sim/server.db"));
  int16_t count = 0;
  Handle c = 0;
  EXPECT_EQ(api().EsbLogin(i, "essdemo", "demo", "demo", count, c), 0);
  EXPECT_GE(count, 4);
}

TEST_P(Logins, LogoutEndsTheContext) {
  Handle c = Connect();
  ASSERT_EQ(api().EsbLogout(c), 0);
  int16_t count;
  EXPECT_EQ(api().EsbListApplications(c, count), ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(api().EsbLogout(c), ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(api().EsbLogout(0), ESB_STS_BAD_CONTEXT);
}

TEST_P(Logins, TermEndsTheInstanceAndItsContexts) {
  Handle i = Init();
  Handle c = Login(i);
  Handle other = Connect();
  ASSERT_EQ(api().EsbTerm(i), 0);
  int16_t count;
  EXPECT_EQ(api().EsbListApplications(c, count), ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(api().EsbListApplications(other, count), 0);
  EXPECT_EQ(api().EsbTerm(i), ESB_STS_BAD_INSTANCE);
  EXPECT_EQ(api().EsbLogin(i, "srv", "u", "pw", count, c), ESB_STS_BAD_INSTANCE);
}

// What the prompt saw, and what it answers.
struct Prompt {
  std::string sawServer, sawUser, sawPassword;
  int32_t answer = 0;
  const char* server = nullptr;  // null: keep the pre-filled text
  const char* user = nullptr;
  const char* password = nullptr;
  int calls = 0;

  static int32_t Call(void* data, char* server, char* user, char* password) {
    auto* p = static_cast<Prompt*>(data);
    ++p->calls;
    p->sawServer = server;
    p->sawUser = user;
    p->sawPassword = password;
    if (p->server) std::strcpy(server, p->server);
    if (p->user) std::strcpy(user, p->user);
    if (p->password) std::strcpy(password, p->password);
    return p->answer;
  }
};

struct LoginBuffers {
  char server[31] = {}, user[31] = {}, password[101] = {}, app[9], db[9];
  LoginBuffers() {
    std::memset(app, '#', sizeof app);
    std::memset(db, '#', sizeof db);
  }
};

class Prompts : public Conformance {
 protected:
  int32_t AutoLogin(Handle i, LoginBuffers& b, int16_t& access, Handle& c) {
    return api().EsbAutoLogin(i, b.server, b.user, b.password, b.app, b.db, 2, access, c);
  }
};

TEST_P(Prompts, NoPromptRegisteredMeansCancelled) {
  Handle i = Init();
  LoginBuffers b;
  int16_t access = 0;
  Handle c = 0;
  EXPECT_EQ(AutoLogin(i, b, access, c), ESB_STS_CANCELLED);
}

TEST_P(Prompts, CancelledPromptReturnsOne) {
  Prompt p;
  p.answer = 7;
  ASSERT_TRUE(api().SetLoginPrompt(&Prompt::Call, &p));
  Handle i = Init();
  LoginBuffers b;
  int16_t access = 0;
  Handle c = 0;
  EXPECT_EQ(AutoLogin(i, b, access, c), ESB_STS_CANCELLED);
  EXPECT_EQ(p.calls, 1);
}

TEST_P(Prompts, BlankFieldsArePrefilledFromStoreAndEnvironment) {
  setenv("ESBSIM_PROMPT_USER", "u", 1);
  setenv("ESBSIM_PROMPT_PASSWORD", "pw", 1);
  Prompt p;
  ASSERT_TRUE(api().SetLoginPrompt(&Prompt::Call, &p));
  Handle i = Init();
  LoginBuffers b;
  std::memset(b.server, ' ', 30);
  std::memset(b.user, ' ', 30);
  int16_t access = 0;
  Handle c = 0;
  const int32_t status = AutoLogin(i, b, access, c);
  unsetenv("ESBSIM_PROMPT_USER");
  unsetenv("ESBSIM_PROMPT_PASSWORD");
  ASSERT_EQ(status, 0);
  EXPECT_EQ(p.sawServer, "srv");
  EXPECT_EQ(p.sawUser, "u");
  EXPECT_EQ(p.sawPassword, "pw");
  EXPECT_EQ(std::string(b.server), "srv");
  EXPECT_EQ(std::string(b.user), "u");
  EXPECT_EQ(std::string(b.password), "pw");
  EXPECT_EQ(std::string(b.app, 9), std::string(9, '\0'));
  EXPECT_EQ(std::string(b.db, 9), std::string(9, '\0'));
  EXPECT_EQ(access, 275);
  int16_t count;
  EXPECT_EQ(api().EsbListApplications(c, count), 0);
}

TEST_P(Prompts, CallersUserIsOfferedAndAnswerWrittenBack) {
  setenv("ESBSIM_PROMPT_USER", "u", 1);
  Prompt p;
  p.password = "rpw";
  ASSERT_TRUE(api().SetLoginPrompt(&Prompt::Call, &p));
  Handle i = Init();
  LoginBuffers b;
  std::strcpy(b.user, "r");
  int16_t access = 0;
  Handle c = 0;
  const int32_t status = AutoLogin(i, b, access, c);
  unsetenv("ESBSIM_PROMPT_USER");
  ASSERT_EQ(status, 0);
  EXPECT_EQ(p.sawUser, "r");
  EXPECT_EQ(std::string(b.password), "rpw");
  EXPECT_EQ(access, 273);
}

TEST_P(Prompts, AnsweredLoginIsChecked) {
  Prompt p;
  p.user = "u";
  p.password = "wrong";
  ASSERT_TRUE(api().SetLoginPrompt(&Prompt::Call, &p));
  Handle i = Init();
  LoginBuffers b;
  int16_t access = 0;
  Handle c = 0;
  EXPECT_EQ(AutoLogin(i, b, access, c), ESB_STS_BAD_LOGIN);
  p.server = "elsewhere";
  p.password = "pw";
  EXPECT_EQ(AutoLogin(i, b, access, c), ESB_STS_UNKNOWN_SERVER);
}

using LoadState = Conformance;

TEST_P(LoadState, LayoutAHasLoadStateInSecondValue) {
  Handle c = Connect(Generation::V6);
  std::vector<uint8_t> record(56, 0xAA);
  int16_t databases = -1;
  ASSERT_EQ(api().EsbGetApplicationInfo(c, "Sample", record, databases), 0);
  EXPECT_EQ(databases, 2);
  EXPECT_EQ(GetFixed(reinterpret_cast<const char*>(record.data()), 8), "Sample");
  EXPECT_EQ(GetFixed(reinterpret_cast<const char*>(record.data()) + 8, 30), "srv");
  EXPECT_EQ(GetU16(&record[38]), 0);
  EXPECT_EQ(GetU16(&record[40]), 1);
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + 52, record.end()), std::vector<uint8_t>(4, 0xAA));
  ASSERT_EQ(api().EsbGetApplicationInfo(c, "FULLNAM8", record, databases), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data()), 8), "FULLNAM8");
  EXPECT_EQ(GetU16(&record[40]), 0);
}

TEST_P(LoadState, LayoutBHasLoadStateInFirstValueAndIs48Bytes) {
  Handle c = Connect(Generation::V5);
  std::vector<uint8_t> record(52, 0xAA);
  int16_t databases = -1;
  ASSERT_EQ(api().EsbGetApplicationInfo(c, "Sample", record, databases), 0);
  EXPECT_EQ(GetU16(&record[38]), 1);
  EXPECT_EQ(GetU16(&record[40]), 0);
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + 48, record.end()), std::vector<uint8_t>(4, 0xAA));
}

TEST_P(LoadState, LayoutABufferOfLayoutBSizeRefusedAfterALaterV5Init) {
  Handle c = Connect(Generation::V6);
  Connect(Generation::V5);
  std::vector<uint8_t> record(52, 0xAA);
  int16_t databases = -1;
  EXPECT_EQ(
      api().EsbGetApplicationInfo(c, "Sample", std::span<uint8_t>(record.data(), 48), databases),
      ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_EQ(record, std::vector<uint8_t>(52, 0xAA));
}

TEST_P(LoadState, SetActiveLoadsAndUnloadUnloadsForEveryInstance) {
  Handle c = Connect(Generation::V6);
  int16_t access, databases;
  std::vector<uint8_t> record(52);
  ASSERT_EQ(api().EsbSetActive(c, "FULLNAM8", "DBFULL08", access), 0);
  Handle later = Connect(Generation::V5);
  ASSERT_EQ(api().EsbGetApplicationInfo(later, "FULLNAM8", record, databases), 0);
  EXPECT_TRUE(ReadLoadState(record, Generation::V5));
  ASSERT_EQ(api().EsbUnloadApplication(c, "FULLNAM8"), 0);
  ASSERT_EQ(api().EsbGetApplicationInfo(later, "FULLNAM8", record, databases), 0);
  EXPECT_FALSE(ReadLoadState(record, Generation::V5));
  EXPECT_NE(store_.Dump().find("app\tFULLNAM8\tunloaded\n"), std::string::npos);
}

TEST_P(LoadState, UnknownApplicationOrDatabaseIsReported) {
  Handle c = Connect();
  int16_t access, databases;
  std::vector<uint8_t> record(52);
  EXPECT_EQ(api().EsbSetActive(c, "Sample", "Nope", access), ESB_STS_UNKNOWN_DATABASE);
  EXPECT_EQ(api().EsbSetActive(c, "Nope", "Basic", access), ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_EQ(api().EsbUnloadApplication(c, "Nope"), ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_EQ(api().EsbGetApplicationInfo(c, "Nope", record, databases), ESB_STS_UNKNOWN_APPLICATION);
}

SIM_EVERY_WAY(Logins);
SIM_EVERY_WAY(Prompts);
SIM_EVERY_WAY(LoadState);

}  // namespace
}  // namespace simtest

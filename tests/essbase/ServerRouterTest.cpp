// The router over two recording fakes: which backend each call reaches, and
// that a URL is served even when the client library cannot start.
#include <gtest/gtest.h>

#include <cstring>

#include "essbase/library/ApiInitRecord.h"
#include "essbase/library/Connection.h"
#include "essbase/ServerRouter.h"
#include "tests/support/FakeEssbaseApi.h"

namespace essbase {
namespace {

using testing::FakeEssbaseApi;

class Router : public ::testing::Test {
 protected:
  Router() {
    library.AddFilter("Lib", "Db", "OnLibrary");
    rest.AddFilter("Rest", "Db", "OnRest");
  }
  int16_t Filters(Handle context, const char* app) {
    int16_t count = -1;
    EXPECT_EQ(router.EsbListFilters(context, app, "Db", count), 0);
    return count;
  }

  FakeEssbaseApi library, rest;
  ServerRouter router{library, rest};
  const ApiInitRecord record{ESB_API_VERSION_6, CommandLineLocalPath};
  int16_t count = 0;
};

TEST_F(Router, NamesKeepTheLibraryAndItsHandlesUrlsGoOverRest) {
  Handle instance = 0, named = 0, addressed = 0;
  ASSERT_EQ(router.EsbInit(record, instance), 0);
  ASSERT_EQ(router.EsbLogin(instance, "essdemo", "u", "p", count, named), 0);
  ASSERT_EQ(router.EsbLogin(instance, "HTTPS://h:9001/essbase", "u", "p", count, addressed), 0);
  EXPECT_EQ(named & ServerRouter::RestTag, 0u);
  EXPECT_EQ(addressed & ServerRouter::RestTag, ServerRouter::RestTag);
  EXPECT_EQ(Filters(named, "Lib"), 1);
  EXPECT_EQ(Filters(addressed, "Rest"), 1);
  EXPECT_EQ(library.CallsText("EsbLogin"), "EsbLogin(essdemo,u,p)\n");
  EXPECT_EQ(rest.CallsText("EsbLogin"), "EsbLogin(HTTPS://h:9001/essbase,u,p)\n");
  EXPECT_EQ(library.CountCalls("EsbListFilters"), 1);
  EXPECT_EQ(rest.CountCalls("EsbListFilters"), 1);
}

TEST_F(Router, ALibraryThatCannotStartStillLetsAUrlThroughAndRefusesNames) {
  library.Fail(Operation::EsbInit, ESB_STS_LIBRARY_UNAVAILABLE);
  Handle instance = 0, context = 0;
  EXPECT_EQ(router.EsbInit(record, instance), ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(router.EsbLogin(instance, "essdemo", "u", "p", count, context),
            ESB_STS_LIBRARY_UNAVAILABLE);
  ASSERT_EQ(router.EsbLogin(instance, "http://h/essbase", "u", "p", count, context), 0);
  EXPECT_EQ(Filters(context, "Rest"), 1);
  EXPECT_EQ(router.EsbTerm(instance), 0);
}

// The prompt's answer is a URL: longer than the library's server field, it
// still reaches the connection whole.
TEST_F(Router, PromptAnsweredWithAUrlLogsInOverRestWhenTheLibraryCannotShowIt) {
  library.Fail(Operation::EsbInit, ESB_STS_LIBRARY_UNAVAILABLE);
  static const std::string url = "https://essbase.example.com:9001/essbase/" + std::string(60, 'x');
  struct Prompt {
    static int32_t Answer(void*, char* server, char* user, char* password) {
      std::strcpy(server, url.c_str());
      std::strcpy(user, "admin");
      std::strcpy(password, "secret");
      return 0;
    }
  };
  ASSERT_TRUE(router.SetLoginPrompt(&Prompt::Answer, nullptr));
  ConnectionState conn;
  InitializeApi(router, conn, Generation::V6);
  EXPECT_EQ(AutoLogin(router, conn), 0);
  EXPECT_EQ(conn.Server, url);
  EXPECT_EQ(conn.User, "admin");
  EXPECT_EQ(rest.CallsText("EsbLogin"), "EsbLogin(" + url + ",admin,secret)\n");
  EXPECT_EQ(Filters(conn.ContextHandle, "Rest"), 1);
}

}  // namespace
}  // namespace essbase

// What an answer means for its step: the status, the server's words kept
// apart from the client's, and the password never shown.
#include <gtest/gtest.h>

#include "essbase/Constants.h"
#include "essbase/rest/Judge.h"
#include "essbase/rest/RestStatus.h"

namespace {

using namespace essbase;
using namespace essbase::rest;

const Judge kJudge("https://h:9001/essbase", Scrubber("u", "Secret-99"), 120);
const Call kRead{Step::ReadFilter, "F", "GET filter rows", false};
const Call kWrite{Step::WriteFilter, "F", "PUT filter", true};

http::Response Answer(long status, std::string body) {
  http::Response r;
  r.status = status;
  r.body = std::move(body);
  return r;
}

http::Response Silence(http::Reach reach, bool sent, std::string error = "curl says so") {
  http::Response r;
  r.reach = reach;
  r.sent = sent;
  r.error = std::move(error);
  return r;
}

TEST(Judge, TwoHundredsAreNoFailure) {
  for (long status : {200, 201, 204}) EXPECT_FALSE(kJudge.Of(Answer(status, "junk"), kRead));
}

struct Mapped {
  long http;
  const char* body;
  int32_t status;
  const char* serverText;
};

class AnsweredFailure : public ::testing::TestWithParam<Mapped> {};

TEST_P(AnsweredFailure, TakesItsStatusFromTheBodyAndQuotesTheServer) {
  const Mapped& m = GetParam();
  const Failure f = kJudge.Of(Answer(m.http, m.body), kRead);
  EXPECT_EQ(f.status, m.status);
  EXPECT_EQ(f.serverText, m.serverText);
  EXPECT_EQ(f.detail, "");
  EXPECT_EQ(f.step, Step::ReadFilter);
  EXPECT_EQ(f.filter, "F");
  EXPECT_EQ(f.call, "GET filter rows");
  EXPECT_FALSE(f.unreachable);
  EXPECT_FALSE(f.unknownOutcome);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, AnsweredFailure,
    ::testing::Values(
        Mapped{400, R"({"errorCode": 1051047, "errorMessage": "Essbase Error(1051030): odd"})",
               1051047, "HTTP 400: Essbase Error(1051030): odd"},
        Mapped{400, R"({"errorMessage": "Essbase Error(1051030): Application X does not exist"})",
               1051030, "HTTP 400: Essbase Error(1051030): Application X does not exist"},
        Mapped{400, R"({"message": "Bad Request", "details": "Essbase Error (1051041): bad name"})",
               1051041, "HTTP 400: Essbase Error (1051041): bad name"},
        Mapped{500, R"({"message": "Internal Server Error"})", RestStatusHttp,
               "HTTP 500: Internal Server Error"},
        Mapped{404, "", RestStatusHttp, "HTTP 404"},
        Mapped{502, "<html>Bad gateway</html>", RestStatusHttp,
               "HTTP 502: <html>Bad gateway</html>"},
        Mapped{401, R"({"message": "session expired"})", ESB_STS_RELOGIN,
               "HTTP 401: session expired"},
        Mapped{400, "{\"errorMessage\": \"line one\\nline two\\u001b[0m\"}", RestStatusHttp,
               "HTTP 400: line one\\x0aline two\\x1b[0m"}));

TEST(Judge, A401AtTheLoginIsABadLogin) {
  EXPECT_EQ(kJudge.Of(Answer(401, ""), {Step::LogIn, {}, "GET session", false}, true).status,
            ESB_STS_BAD_LOGIN);
}

TEST(Judge, ARedirectIsNotFollowedAndNamesWhereItPoints) {
  http::Response r = Answer(302, "");
  r.location = "https://elsewhere.example.com/steal";
  const Failure f = kJudge.Of(r, kRead);
  EXPECT_EQ(f.status, RestStatusRedirect);
  EXPECT_EQ(f.serverText, "HTTP 302");
  EXPECT_EQ(f.detail,
            "the server redirects GET filter rows to https://elsewhere.example.com/steal; "
            "redirects are not followed");
}

struct Unanswered {
  http::Reach reach;
  bool sent;
  int32_t status;
  bool unreachable;
  const char* detail;
};

class NoWholeAnswer : public ::testing::TestWithParam<Unanswered> {};

TEST_P(NoWholeAnswer, IsTheClientsOwnWordsNeverTheServers) {
  const Unanswered& u = GetParam();
  for (const Call& call : {kRead, kWrite}) {
    const Failure f = kJudge.Of(Silence(u.reach, u.sent), call);
    EXPECT_EQ(f.status, u.status);
    EXPECT_EQ(f.serverText, "");
    if (call.name == kRead.name) {
      EXPECT_EQ(f.detail, u.detail);
    }
    EXPECT_EQ(f.unreachable, u.unreachable);
    // Only a request that may change the server and may have reached it
    // leaves its outcome unknown.
    EXPECT_EQ(f.unknownOutcome, call.changes && u.sent) << f.detail;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Reaches, NoWholeAnswer,
    ::testing::Values(
        Unanswered{http::Reach::TimedOut, true, RestStatusTimeout, true,
                   "the server at https://h:9001/essbase did not answer in 120 s"},
        Unanswered{http::Reach::TimedOut, false, RestStatusTimeout, true,
                   "the server at https://h:9001/essbase did not answer in 120 s"},
        Unanswered{http::Reach::Refused, false, RestStatusConnect, true,
                   "the server at https://h:9001/essbase refused the connection"},
        Unanswered{http::Reach::Unresolved, false, RestStatusConnect, true,
                   "the server at https://h:9001/essbase could not be found: its host name is "
                   "unknown"},
        Unanswered{http::Reach::Lost, true, RestStatusConnect, true,
                   "the connection to the server at https://h:9001/essbase broke before the "
                   "answer was whole (curl says so)"},
        Unanswered{http::Reach::Tls, false, RestStatusTls, false,
                   "the server at https://h:9001/essbase failed the TLS handshake or its "
                   "certificate is not trusted (curl says so)"},
        Unanswered{http::Reach::TooLarge, true, RestStatusTooLarge, false,
                   "the answer to GET filter rows passed the 64 MiB cap and was cut off"},
        Unanswered{http::Reach::Setup, false, RestStatusSetup, false, "curl says so"},
        Unanswered{http::Reach::Failed, true, RestStatusTransfer, false,
                   "the request GET filter rows failed (curl says so)"}));

TEST(Judge, TooLargeOnAWriteNamesItsOwnCall) {
  EXPECT_EQ(kJudge.Of(Silence(http::Reach::TooLarge, true), kWrite).detail,
            "the answer to PUT filter passed the 64 MiB cap and was cut off");
}

TEST(Judge, ThePasswordNeverShowsInAnyText) {
  const char* bodies[] = {
      R"({"errorMessage": "cannot log in u with Secret-99"})",
      R"({"errorMessage": "header was Basic dTpTZWNyZXQtOTk="})",
      R"({"errorMessage": "password=Secret%2D99 or Secret-99 or Secret\u002d99"})",
  };
  for (const char* body : bodies) {
    const Failure f = kJudge.Of(Answer(500, body), kRead);
    EXPECT_EQ(f.serverText.find("Secret"), std::string::npos) << f.serverText;
    EXPECT_EQ(f.serverText.find("dTpTZWNyZXQ"), std::string::npos) << f.serverText;
    EXPECT_NE(f.serverText.find("****"), std::string::npos) << f.serverText;
  }
  EXPECT_EQ(kJudge.Of(Silence(http::Reach::Setup, false, "file Secret-99.pem"), kRead).detail,
            "file ****.pem");
  EXPECT_EQ(kJudge.Own(kRead, 1, "the name \"Secret-99\"").detail, "the name \"****\"");
}

TEST(Judge, ALongMessageIsCutAndAPasswordCutInTwoStillNeverShows) {
  // Scrubbed before it is cut: the cut never leaves a part of it.
  const std::string message = std::string(300 - 13, 'x') + "Secret-99 and more";
  Failure f = kJudge.Of(Answer(400, R"({"errorMessage": ")" + message + "\"}"), kRead);
  EXPECT_EQ(f.serverText.size(), 303u);
  EXPECT_EQ(f.serverText.substr(f.serverText.size() - 6), "***...");
  EXPECT_EQ(f.serverText.find("Sec"), std::string::npos) << f.serverText;
  // A message the server cut in the middle of the password.
  f = kJudge.Of(Answer(400, R"({"errorMessage": "login failed for Secr"})"), kRead);
  EXPECT_EQ(f.serverText, "HTTP 400: login failed for ****");
}

TEST(StatusInText, FindsEveryWayServersWriteIt) {
  const std::pair<const char*, int32_t> table[] = {
      {"Essbase Error(1051030): x", 1051030},
      {"Error (1051041)", 1051041},
      {"Error() then Error(7)", 7},
      {"Error(0)", 0},
      {"Error(1234567890)", 0},
      {"no status", 0},
      {"Error(12", 0},
  };
  for (const auto& [text, status] : table) EXPECT_EQ(StatusInText(text), status) << text;
}

}  // namespace

// URLs at the edge of the HTTP library: escaped for the wire, a redirect's
// target made whole, the login's credentials kept out of what is reported.
#include <gtest/gtest.h>

#include "essbase/rest/http/WireUrl.h"

namespace {

using namespace essbase::rest::http;

TEST(WireUrl, BytesOutsidePrintableAsciiAreEscapedInThePathAndQueryOnly) {
  EXPECT_EQ(EscapeForWire("https://h\xC3\xB6st:9000/a b/\xC3\xA9?q=\x7F&r=%2F"),
            "https://h\xC3\xB6st:9000/a%20b/%C3%A9?q=%7F&r=%2F");
  EXPECT_EQ(EscapeForWire("http://h/already%20escaped"), "http://h/already%20escaped");
  EXPECT_EQ(EscapeForWire("http://h"), "http://h");
}

TEST(WireUrl, ALocationIsReadAgainstTheUrlItAnswered) {
  const std::string asked = "https://h:1/essbase/rest/v1/applications?x=1";
  EXPECT_EQ(ResolveLocation(asked, "http://other/x"), "http://other/x");
  EXPECT_EQ(ResolveLocation(asked, "//other:2/y"), "https://other:2/y");
  EXPECT_EQ(ResolveLocation(asked, "/essbase/jet"), "https://h:1/essbase/jet");
  EXPECT_EQ(ResolveLocation(asked, "sessions"), "https://h:1/essbase/rest/v1/sessions");
  EXPECT_EQ(ResolveLocation(asked, "?page=2"), "https://h:1/essbase/rest/v1/applications?page=2");
  EXPECT_EQ(ResolveLocation("http://h", "x"), "http://h/x");
  EXPECT_EQ(ResolveLocation(asked, ""), "");
}

TEST(WireUrl, UserInfoIsTakenOutAndNothingElse) {
  EXPECT_EQ(WithoutUserInfo("http://u:pw@h:1/p"), "http://h:1/p");
  EXPECT_EQ(WithoutUserInfo("http://u%40x:p%3Aw@h/p@q"), "http://h/p@q");
  EXPECT_EQ(WithoutUserInfo("http://h/p@q"), "http://h/p@q");
  EXPECT_EQ(WithoutUserInfo("/relative@x"), "/relative@x");
}

}  // namespace

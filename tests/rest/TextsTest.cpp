// The REST backend's texts, each piece alone: names and rows checked and
// shown, the password scrubbed in every form it may come back in, access
// words, addresses, and the environment's settings.
#include <gtest/gtest.h>

#include "essbase/AccessWords.h"
#include "essbase/Constants.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Rows.h"
#include "essbase/rest/Scrubber.h"
#include "essbase/rest/Texts.h"
#include "essbase/rest/Url.h"
#include "essbase/rest/http/HttpSettings.h"
#include "tests/support/TestFiles.h"

namespace {

using namespace essbase;
using namespace essbase::rest;

TEST(Texts, ControlCharactersAndBrokenBytesAreEscapedAndTheRestKept) {
  const std::pair<std::string, std::string> table[] = {
      {"plain \xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "plain \xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
      {"a\x1b[31mb", "a\\x1b[31mb"},
      {std::string("nul\0x", 5), "nul\\x00x"},
      {"tab\tcr\rlf\n", "tab\\x09cr\\x0dlf\\x0a"},
      {"del\x7f", "del\\x7f"},
      {"c1\xC2\x85", "c1\\u0085"},
      {"bad\xFF\xC3", "bad\\xff\\xc3"},
      {"\xE0\x80\x80", "\\xe0\\x80\\x80"},  // overlong
      {"\xED\xA0\x80", "\\xed\\xa0\\x80"},  // a surrogate
  };
  for (const auto& [text, shown] : table) EXPECT_EQ(Shown(text), shown) << text;
  EXPECT_EQ(Quoted("a\x01"), "\"a\\x01\"");
}

TEST(Texts, NamesAreRefusedWhenEmptyBrokenOrHoldingAControlCharacter) {
  for (const char* good : {"F", "A b#c%d/e?f",
                           "\xE2\x82\xAC"
                           "uro",
                           "\xF0\x9F\x98\x80"})
    EXPECT_EQ(NameFault(good), "") << good;
  const std::pair<std::string, const char*> bad[] = {
      {"", "empty"},        {"a\xC3", "not UTF-8"},   {"a\tb", "control"},
      {"a\x7f", "control"}, {"a\xC2\x9b", "control"}, {std::string("a\0b", 3), "control"},
  };
  for (const auto& [name, why] : bad)
    EXPECT_NE(NameFault(name).find(why), std::string::npos) << Shown(name);
}

TEST(Texts, RowsAreRefusedWhenEmptyBrokenOrBreakingALine) {
  EXPECT_EQ(RowFault("\"East\"\t@IDESC(\"Market\")"), "");  // a TAB is a row's own
  for (const std::string& row : {std::string(), std::string("a\rb"), std::string("a\nb"),
                                 std::string("a\0b", 3), std::string("\xC3")})
    EXPECT_NE(RowFault(row), "") << Shown(row);
}

TEST(Texts, CutNeverSplitsACharacter) {
  EXPECT_EQ(Cut("abc", 3), "abc");
  EXPECT_EQ(Cut("ab\xE2\x82\xAC", 4), "ab");
  EXPECT_EQ(Cut("ab\xE2\x82\xAC"
                "c",
                3),
            "ab");
  EXPECT_EQ(Cut("ab\xE2\x82\xAC"
                "c",
                5),
            "ab\xE2\x82\xAC");
}

struct Echo {
  const char* how;
  std::string echoed;
};

class PasswordEcho : public ::testing::TestWithParam<Echo> {};

// "s3cr/t p\xC3\xA4ss\"w\\rd" for user "admin", as a server may echo it.
TEST_P(PasswordEcho, NeverShows) {
  const Scrubber s("admin", "s3cr/t p\xC3\xA4ss\"w\\rd");
  const std::string text = s.Clean("login failed for " + GetParam().echoed + " (bad)");
  EXPECT_EQ(text, "login failed for **** (bad)") << GetParam().how;
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, PasswordEcho,
    ::testing::Values(
        Echo{"raw", "s3cr/t p\xC3\xA4ss\"w\\rd"},
        Echo{"URL-encoded", "s3cr%2Ft%20p%C3%A4ss%22w%5Crd"},
        Echo{"URL-encoded, lower case", "s3cr%2ft%20p%c3%a4ss%22w%5crd"},
        Echo{"form-encoded", "s3cr%2Ft+p%C3%A4ss%22w%5Crd"},
        Echo{"every byte URL-encoded", "%73%33%63%72%2f%74%20%70%c3%a4%73%73%22%77%5c%72%64"},
        Echo{"JSON-escaped, every character", "\\u0073\\u0033cr/t p\\u00e4ss\\u0022w\\\\rd"},
        Echo{"JSON-escaped", "s3cr/t p\xC3\xA4ss\\\"w\\\\rd"},
        Echo{"JSON-escaped, slash too", "s3cr\\/t p\xC3\xA4ss\\\"w\\\\rd"},
        Echo{"JSON-escaped, ASCII only", "s3cr/t p\\u00e4ss\\\"w\\\\rd"},
        Echo{"JSON-escaped, ASCII only, upper case", "s3cr/t p\\u00E4ss\\\"w\\\\rd"},
        // base64 of "admin:s3cr/t p\xC3\xA4ss\"w\\rd"
        Echo{"basic authentication", "YWRtaW46czNjci90IHDDpHNzIndccmQ="},
        Echo{"basic authentication, unpadded", "YWRtaW46czNjci90IHDDpHNzIndccmQ"}));

TEST(Scrubber, APieceOfThePasswordLeftAtACutEndGoesToo) {
  const Scrubber s("u", "Secret-99");
  EXPECT_EQ(s.Clean("denied for Secr"), "denied for ****");
  EXPECT_EQ(s.Clean("denied for Secret-9"), "denied for ****");
  EXPECT_EQ(s.Clean("et-99 was refused"), "**** was refused");
  EXPECT_EQ(s.Clean("Basic dTpTZWNyZXQ"), "Basic ****");  // base64 of "u:Secret-99", cut
  // Three bytes could be anything: they stay.
  EXPECT_EQ(s.Clean("denied for Sec"), "denied for Sec");
  EXPECT_EQ(s.Clean("nothing of it here"), "nothing of it here");
  EXPECT_EQ(Scrubber().Clean("no password, no change"), "no password, no change");
}

TEST(Scrubber, EveryEchoInOneTextGoes) {
  const Scrubber s("u", "pw12");
  EXPECT_EQ(s.Clean("pw12 and pw12 and pw12x"), "**** and **** and ****x");
}

TEST(AccessWords, AreReadInAnyCaseAndWrittenAsTheReferenceSpellsThem) {
  const std::pair<const char*, int16_t> table[] = {
      {"None", AccessNone},         {"read", AccessRead},         {"WRITE", AccessWrite},
      {"MetaRead", AccessMetaRead}, {"metaread", AccessMetaRead},
  };
  for (const auto& [word, code] : table) EXPECT_EQ(AccessCodeOf(word), code) << word;
  for (const char* word : {"Calc", "", "Reads", "Meta Read"})
    EXPECT_FALSE(AccessCodeOf(word)) << word;

  Filter f;
  f.name = "F";
  f.rows = {{AccessNone, "a"}, {AccessRead, "b"}, {AccessWrite, "c"}, {AccessMetaRead, "d"}};
  std::vector<WireRow> wire;
  int32_t status = 0;
  std::string why;
  ASSERT_TRUE(RowsToWire(f, wire, status, why)) << why;
  EXPECT_EQ(wire, (std::vector<WireRow>{
                      {"None", "a"}, {"Read", "b"}, {"Write", "c"}, {"MetaRead", "d"}}));
}

TEST(Rows, ThatCannotBeReadFailNamingTheRowAndFilter) {
  struct Case {
    WireRow row;
    int32_t status;
    const char* why;
  };
  const Case cases[] = {
      {{"Calc", "x"}, RestStatusNoAccessWord, "access word \"Calc\""},
      {{"Read", ""}, RestStatusFilterNotServed, "is empty"},
      {{"Read", "a\nb"}, RestStatusFilterNotServed, "CR, LF or NUL"},
      {{"Read", std::string("a\0b", 3)}, RestStatusFilterNotServed, "CR, LF or NUL"},
  };
  for (Case c : cases) {
    FilterRow row;
    int32_t status = 0;
    std::string why;
    EXPECT_FALSE(RowFromWire(c.row, 3, "F\x1b", row, status, why));
    EXPECT_EQ(status, c.status) << why;
    EXPECT_NE(why.find("row 3 of the filter \"F\\x1b\""), std::string::npos) << why;
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
  }
  WireRow good{"read", "\"East\""};
  FilterRow row;
  int32_t status = 0;
  std::string why;
  ASSERT_TRUE(RowFromWire(good, 1, "F", row, status, why));
  EXPECT_EQ(row, (FilterRow{AccessRead, "\"East\""}));
}

TEST(Rows, ThatCannotBeSentRefuseTheFilter) {
  const std::pair<FilterRow, int32_t> refused[] = {
      {{FilterAccess, "x"}, RestStatusNoAccessWord},
      {{AccessRead, ""}, ESB_STS_BAD_ROW},
      {{AccessRead, "a\r\nb"}, ESB_STS_BAD_ROW},
  };
  for (const auto& [row, expected] : refused) {
    Filter f;
    f.name = "F";
    f.rows = {{AccessRead, "ok"}, row};
    std::vector<WireRow> wire;
    int32_t status = 0;
    std::string why;
    EXPECT_FALSE(RowsToWire(f, wire, status, why));
    EXPECT_EQ(status, expected);
    EXPECT_NE(why.find("row 2 of the filter \"F\""), std::string::npos) << why;
  }
}

TEST(Url, NamesTravelAsOnePercentEncodedSegment) {
  EXPECT_EQ(PathSegment("A b#c%d/e?f"), "A%20b%23c%25d%2Fe%3Ff");
  EXPECT_EQ(PathSegment("\xC3\xA9-_.~"), "%C3%A9-_.~");
  EXPECT_EQ(PathSegment(".."), "%2E%2E");
  EXPECT_EQ(RowsPath("S a", "B/c", "f?"), "/applications/S%20a/databases/B%2Fc/filters/f%3F/rows");
}

TEST(Url, BrowserAddressGivesTheApiBase) {
  const std::pair<std::string, std::string> table[] = {
      {"https://h.example.com:9001/essbase", "https://h.example.com:9001/essbase/rest/v1"},
      {"http://h/essbase/", "http://h/essbase/rest/v1"},
      {"HTTPS://h/essbase/rest/v1/", "HTTPS://h/essbase/rest/v1"},
      {"http://h/essbase/rest/v1", "http://h/essbase/rest/v1"},
      {"srv", ""},
      {"ftp://h/essbase", ""},
      {"https://", ""},
      {"https://h/ess base", ""},
      {"https://h/" + std::string(2048, 'x'), ""},
  };
  for (const auto& [server, base] : table) EXPECT_EQ(ApiBase(server), base) << server;
}

TEST(Settings, TimeoutIsWholePositiveSecondsOrTheDefault) {
  const std::pair<const char*, long> table[] = {
      {nullptr, 120},
      {"", 120},
      {"0", 120},
      {"-5", 120},
      {"abc", 120},
      {"1.5", 120},
      {" 5", 120},
      {"5s", 120},
      {"1", 1},
      {"300", 300},
      {"86400", 86400},
      {"86401", 120},
      {"99999999999999999999", 120},
  };
  for (const auto& [text, seconds] : table)
    EXPECT_EQ(http::TimeoutSeconds(text), seconds) << (text ? text : "unset");
}

TEST(Settings, CaFileThatCannotServeIsRefusedByName) {
  support::TempDir dir("rest-ca");
  support::WriteFile(dir / "empty.pem", "");
  support::WriteFile(dir / "junk.pem", "not a certificate\n");
  support::WriteFile(dir / "good.pem",
                     "-----BEGIN CERTIFICATE-----\nMII\n-----END CERTIFICATE-----\n");
  const std::pair<std::string, const char*> refused[] = {
      {dir.path(), "is a folder"},
      {dir / "missing.pem", "cannot be read"},
      {dir / "empty.pem", "is empty"},
      {dir / "junk.pem", "no PEM certificate"},
  };
  for (const auto& [path, why] : refused) {
    const http::CaFile ca = http::ReadCaFile(path.c_str());
    EXPECT_NE(ca.failure.find("QUORVEL_CA_FILE \"" + path + "\""), std::string::npos) << ca.failure;
    EXPECT_NE(ca.failure.find(why), std::string::npos) << ca.failure;
    EXPECT_TRUE(ca.pem.empty());
  }
  const http::CaFile good = http::ReadCaFile((dir / "good.pem").c_str());
  EXPECT_EQ(good.failure, "");
  EXPECT_FALSE(good.pem.empty());
  EXPECT_EQ(http::ReadCaFile(nullptr).failure, "");
}

}  // namespace

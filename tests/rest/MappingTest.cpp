// The conversions between the wire and the C ABI, each alone.
#include <gtest/gtest.h>

#include "essbase/AccessWords.h"
#include "essbase/Latin1.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/Url.h"
#include "essbase/rest/WireMapping.h"

namespace {

using namespace essbase;
using namespace essbase::rest;

TEST(AccessWords, EveryCodeMapsToItsWordAndBack) {
  const std::pair<int16_t, const char*> table[] = {
      {0, "None"}, {273, "Read"}, {275, "Write"}, {0x0118, "MetaRead"}};
  for (const auto& [code, word] : table) {
    EXPECT_EQ(AccessWord(code), word);
    EXPECT_EQ(AccessCode(word), code);
  }
  EXPECT_FALSE(AccessWord(375));
  EXPECT_FALSE(AccessWord(-5));
  EXPECT_FALSE(AccessCode("read"));  // words compare exactly
  EXPECT_FALSE(AccessCode("Calc"));
}

TEST(Latin1, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string back;
  size_t badAt = 99;
  ASSERT_TRUE(Utf8ToLatin1(Latin1ToUtf8(all), back, badAt));
  EXPECT_EQ(back, all);
  EXPECT_EQ(Latin1ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
}

TEST(Latin1, CharacterOutsideLatin1OrBrokenUtf8IsRefusedWhereItIs) {
  const std::pair<std::string, size_t> refused[] = {
      {"ab\xE2\x82\xAC", 2},  // U+20AC
      {"\xC3", 0},            // cut in the middle
      {"a\x80", 1},           // lone continuation byte
      {"\xC3\x28", 0},        // lead byte without continuation
  };
  for (const auto& [text, at] : refused) {
    std::string out;
    size_t badAt = 99;
    EXPECT_FALSE(Utf8ToLatin1(text, out, badAt)) << text;
    EXPECT_EQ(badAt, at) << text;
  }
}

TEST(Url, NamesTravelAsOnePercentEncodedSegment) {
  EXPECT_EQ(PathSegment("A b#c%d/e?f"), "A%20b%23c%25d%2Fe%3Ff");
  EXPECT_EQ(PathSegment("\xC3\xA9-_.~"), "%C3%A9-_.~");
  EXPECT_EQ(PathSegment(".."), "%2E%2E");
  EXPECT_EQ(PathSegment("a.b"), "a.b");
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

TEST(WireMapping, RowsTheCAbiCannotCarryRefuseTheFilterNamingTheRow) {
  const std::pair<WireRow, const char*> refused[] = {
      {{"Calc", "\"East\""}, "access word \"Calc\""},
      {{"Read", "\xE2\x82\xAC"}, "Latin-1"},
      {{"Read", ""}, "empty"},
      {{"Read", std::string(MaxRowLength + 1, 'x')}, "longer than 8192"},
      {{"Read", "a\r\nb"}, "CR, LF"},
  };
  for (const auto& [row, why] : refused) {
    const FilterRows out = ToCallerRows("F\xE9", {{"Write", "ok"}, row});
    EXPECT_EQ(out.status, RestStatusFilterNotServed) << why;
    EXPECT_NE(out.text.find("filter \"F\xC3\xA9\" row 2"), std::string::npos) << out.text;
    EXPECT_NE(out.text.find(why), std::string::npos) << out.text;
    EXPECT_TRUE(out.rows.empty());
  }
  const FilterRows good = ToCallerRows("F", {{"MetaRead", "\xC3\xA9\tx"}});
  ASSERT_EQ(good.status, 0);
  EXPECT_EQ(good.rows[0].access, AccessMetaRead);
  EXPECT_EQ(good.rows[0].text, "\xE9\tx");
}

TEST(WireMapping, ListedNameThatDoesNotFitItsFieldIsRefusedNotCut) {
  EXPECT_EQ(ToItem("FULLNAM8", 8, {}, "application").field, "FULLNAM8");
  EXPECT_EQ(ToItem("\xC3\xA9", 8, "A", "database").field,
            std::string("A\xE9") + std::string(7, '\0'));
  for (const char* name : {"NINECHARS", "\xE2\x82\xAC", "", "a\tb"}) {
    const Item item = ToItem(name, 8, {}, "application");
    EXPECT_EQ(item.status, RestStatusNameNotServed) << name;
    EXPECT_NE(item.text.find(std::string("application name \"") + name), std::string::npos);
  }
}

TEST(WireMapping, RowGivenToWriteIsCheckedAndConverted) {
  WireRow out;
  std::string why;
  ASSERT_EQ(ToWireRow("\xE9t\xE9", 275, out, why), 0);
  EXPECT_EQ(out, (WireRow{"Write", "\xC3\xA9t\xC3\xA9"}));
  EXPECT_EQ(ToWireRow("x", 375, out, why), RestStatusNoAccessWord);
  EXPECT_NE(why.find("375"), std::string::npos);
  EXPECT_EQ(ToWireRow("", 273, out, why), ESB_STS_BAD_ROW);
  EXPECT_EQ(ToWireRow("a\nb", 273, out, why), ESB_STS_BAD_ROW);
  EXPECT_EQ(ToWireRow(std::string(MaxRowLength + 1, 'x').c_str(), 273, out, why), ESB_STS_BAD_ROW);
}

}  // namespace

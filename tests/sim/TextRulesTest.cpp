// The texts the store holds: well-formed UTF-8, limits counted in
// characters, and the conversions to and from the library's Latin-1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/Names.h"
#include "sim/Utf8.h"

namespace simtest {
namespace {

using namespace esbsim;

std::string Times(const std::string& s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // two characters
const std::string kEuro = "\xE2\x82\xAC";
const std::string kEAcute = "\xC3\xA9";
const std::string kEmoji = "\xF0\x9F\x98\x80";

TEST(Utf8LengthTest, CountsCharactersOfEveryWidth) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("abc"), 3u);
  EXPECT_EQ(Utf8Length("R" + kEAcute + "gion"), 6u);
  EXPECT_EQ(Utf8Length(kEuro + kTokyo + kEmoji), 4u);
  EXPECT_EQ(Utf8Length("\xF4\x8F\xBF\xBF"), 1u);  // U+10FFFF, the last there is
  EXPECT_EQ(Utf8Length("\xED\x9F\xBF"), 1u);      // U+D7FF, just below the surrogates
}

TEST(Utf8LengthTest, RefusesWhatIsNotUtf8) {
  for (const char* bad : {"\xE9t\xE9",          // Latin-1
                          "\x80",               // a continuation alone
                          "\xC3",               // cut after the lead
                          "\xE2\x82",           // cut inside
                          "\xC0\xAF",           // overlong '/'
                          "\xC1\xBF",           // overlong
                          "\xE0\x9F\xBF",       // overlong three bytes
                          "\xF0\x8F\xBF\xBF",   // overlong four bytes
                          "\xED\xA0\x80",       // a surrogate
                          "\xF4\x90\x80\x80",   // past U+10FFFF
                          "\xF5\x80\x80\x80",   // no such lead
                          "\xE2\x28\xA1",       // a break inside
                          "ok\xFF"})
    EXPECT_EQ(Utf8Length(bad), NotUtf8) << bad;
}

TEST(Latin1ConversionTest, RoundTripsEveryLatin1Character) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string utf8, back;
  Latin1ToUtf8(all, utf8);
  EXPECT_EQ(Utf8Length(utf8), 255u);
  EXPECT_TRUE(FitsLatin1(utf8));
  ASSERT_TRUE(Utf8ToLatin1(utf8, back));
  EXPECT_EQ(back, all);
}

TEST(Latin1ConversionTest, CharactersPastLatin1DoNotFit) {
  std::string out;
  for (const std::string& text : {kEuro, "ok" + kTokyo, kEmoji, std::string("\xC4\x80")}) {
    EXPECT_FALSE(FitsLatin1(text)) << text;
    EXPECT_FALSE(Utf8ToLatin1(text, out)) << text;
  }
  EXPECT_TRUE(FitsLatin1("plain " + kEAcute + "\xC3\xBF"));  // up to U+00FF
}

// GetFilter's one pass must answer what FitsLatin1 and then Utf8ToLatin1
// answered before it: every text of up to three bytes drawn from ASCII, the
// two Latin-1 leads, continuations and bytes past Latin-1, behind an ASCII
// run of every length about the eight bytes tested at once.
TEST(Latin1ConversionTest, InPlaceAnswersAsFitsThenConvert) {
  const std::string bytes = {'a',    '\x7F', '\x80', '\xA9', '\xBF', '\xC0', '\xC1',
                             '\xC2', '\xC3', '\xC4', '\xE2', '\xF0', '\xFF'};
  std::vector<std::string> tails = {""};
  for (size_t width = 1; width <= 3; ++width) {
    const size_t before = tails.size();
    for (size_t i = 0; i < before; ++i)
      if (tails[i].size() == width - 1)
        for (char b : bytes) tails.push_back(tails[i] + b);
  }
  for (size_t run : {0, 1, 7, 8, 9, 16, 17}) {
    for (const std::string& tail : tails) {
      const std::string text = std::string(run, 'x') + tail + "yz";
      std::string converted, inPlace = text;
      const bool fits = FitsLatin1(text);
      const bool converts = Utf8ToLatin1(text, converted);
      const InPlace got = ToLatin1InPlace(inPlace);
      if (!fits) {
        EXPECT_EQ(got, InPlace::NotLatin1) << text;
      } else if (!converts) {
        EXPECT_EQ(got, InPlace::NotUtf8) << text;
      } else {
        ASSERT_EQ(got, InPlace::Latin1) << text;
        EXPECT_EQ(inPlace, converted) << text;
      }
    }
  }
}

TEST(Latin1ConversionTest, InPlaceLeavesAsciiAsItIs) {
  std::string text = Times("Actual ", 10);
  EXPECT_EQ(ToLatin1InPlace(text), InPlace::Latin1);
  EXPECT_EQ(text, Times("Actual ", 10));
  std::string empty;
  EXPECT_EQ(ToLatin1InPlace(empty), InPlace::Latin1);
  EXPECT_EQ(empty, "");
}

struct Limit {
  const char* name;
  size_t max;
};

class NameLimit : public ::testing::TestWithParam<Limit> {};

// Multi-byte characters: a limit taken in bytes would refuse the longest name.
TEST_P(NameLimit, HoldsItsCharactersAndNotOneMore) {
  const size_t max = GetParam().max;
  for (const std::string& ch : {std::string("a"), kEAcute, kEuro, kEmoji}) {
    EXPECT_TRUE(ValidName(Times(ch, max), max)) << ch;
    EXPECT_FALSE(ValidName(Times(ch, max + 1), max)) << ch;
  }
}

INSTANTIATE_TEST_SUITE_P(Store, NameLimit,
                         ::testing::Values(Limit{"Application", MaxApplicationName},
                                           Limit{"Database", MaxDatabaseName},
                                           Limit{"Filter", MaxFilterName}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NameRuleTest, LimitsAreThoseOfCurrentServers) {
  EXPECT_EQ(MaxApplicationName, 30u);
  EXPECT_EQ(MaxDatabaseName, 30u);
  EXPECT_EQ(MaxFilterName, 256u);
  EXPECT_EQ(MaxRowText, 8192u);
}

TEST(NameRuleTest, RefusesEmptyBrokenAndNonUtf8Names) {
  EXPECT_FALSE(ValidName("", 30));
  EXPECT_FALSE(ValidName("a\tb", 30));
  EXPECT_FALSE(ValidName("a\nb", 30));
  EXPECT_FALSE(ValidName("caf\xE9", 30));
  EXPECT_TRUE(ValidName(kTokyo, 30));
}

TEST(RowRuleTest, HoldsEightThousandOneHundredNinetyTwoCharacters) {
  EXPECT_TRUE(ValidRow(Times(kTokyo, 4096)));
  EXPECT_FALSE(ValidRow(Times(kTokyo, 4096) + "x"));
  EXPECT_TRUE(ValidRow(Times("x", 8192)));
  EXPECT_FALSE(ValidRow(Times("x", 8193)));
}

TEST(RowRuleTest, RefusesEmptyLineBreaksAndNonUtf8ButKeepsTabs) {
  EXPECT_FALSE(ValidRow(""));
  EXPECT_FALSE(ValidRow("a\rb"));
  EXPECT_FALSE(ValidRow("a\nb"));
  EXPECT_FALSE(ValidRow("\"M\xFCnchen\""));
  EXPECT_TRUE(ValidRow("\"Actual\",\t\"" + kEuro + "\""));
}

}  // namespace
}  // namespace simtest

#include <gtest/gtest.h>

#include <string>

#include "essbase/Latin1.h"

namespace essbase {
namespace {

TEST(Latin1, EveryCharacterRoundTripsThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string utf8 = Latin1ToUtf8(all);
  EXPECT_EQ(utf8.size(), 127u + 2 * 128u);
  EXPECT_EQ(utf8.substr(127, 4), "\xC2\x80\xC2\x81");
  EXPECT_EQ(utf8.substr(utf8.size() - 2), "\xC3\xBF");
  std::string back;
  size_t badAt = 99;
  ASSERT_TRUE(Utf8ToLatin1(utf8, back, badAt));
  EXPECT_EQ(back, all);
}

TEST(Latin1, AsciiRunsAroundWidenedCharactersKeepTheirPlaces) {
  EXPECT_EQ(Latin1ToUtf8("Z\xFCrich \xE9t\xE9"), "Z\xC3\xBCrich \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(Latin1ToUtf8("\xFC"), "\xC3\xBC");
  EXPECT_EQ(Latin1ToUtf8(""), "");
}

// Into a string of its own, whatever it held before: the same text as the
// returned one, ASCII or not, longer or shorter than what it replaces.
TEST(Latin1, ConversionIntoAStringReplacesItsContent) {
  std::string out = std::string(40, '#');
  for (const std::string& latin1 :
       {std::string("Actual"), std::string("Z\xFCrich \xE9t\xE9"), std::string(""),
        std::string(20, 'a') + "\xFF", std::string(3, '\xE9')}) {
    Latin1ToUtf8(latin1, out);
    EXPECT_EQ(out, Latin1ToUtf8(latin1)) << latin1;
  }
}

TEST(Latin1, AsciiEndFindsTheFirstByteBeyondAscii) {
  const std::string text = std::string(19, 'a') + "\xE9" + std::string(10, 'b');
  EXPECT_EQ(AsciiEnd(text), 19u);
  EXPECT_EQ(AsciiEnd(text, 19), 19u);
  EXPECT_EQ(AsciiEnd(text, 20), text.size());
  EXPECT_EQ(AsciiEnd(std::string(16, 'c')), 16u);
  EXPECT_EQ(AsciiEnd(""), 0u);
  for (size_t at = 0; at < 17; ++at) {
    std::string t(17, 'x');
    t[at] = '\x80';
    EXPECT_EQ(AsciiEnd(t), at);
  }
}

struct Refused {
  std::string utf8;
  size_t badAt;
};
class Utf8Refusal : public testing::TestWithParam<Refused> {};

TEST_P(Utf8Refusal, NamesTheFirstByteLatin1CannotHold) {
  std::string out = "left over";
  size_t badAt = 99;
  EXPECT_FALSE(Utf8ToLatin1(GetParam().utf8, out, badAt));
  EXPECT_EQ(badAt, GetParam().badAt);
}

INSTANTIATE_TEST_SUITE_P(Latin1, Utf8Refusal,
                         testing::Values(Refused{"ab\xE2\x82\xAC", 2},  // euro sign
                                         Refused{"\xC3\xA9x\xC4\x80",
                                                 3},  // beyond U+00FF after a widened one
                                         Refused{"abc\xC3", 3},   // cut lead at the end
                                         Refused{"a\xC3z", 1},    // lead without continuation
                                         Refused{"\xC1\xBF", 0},  // overlong
                                         Refused{"ok\x80", 2}));  // stray continuation

}  // namespace
}  // namespace essbase

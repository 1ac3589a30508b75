#include "filterfile/TextEncoding.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

namespace filterfile {
namespace {

std::string Rest(std::istream& in) {
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(EncodingMark, IsReadAndSkipped) {
  std::istringstream in("\xEF\xBB\xBF" "a\tb");
  EXPECT_EQ(ReadEncodingMark(in), FileEncoding::Utf8);
  EXPECT_EQ(Rest(in), "a\tb");
}

TEST(EncodingMark, WithoutItTheStreamIsLeftWhereItWas) {
  std::istringstream in("abcdef");
  in.get();
  EXPECT_EQ(ReadEncodingMark(in), FileEncoding::Latin1);
  EXPECT_EQ(Rest(in), "bcdef");
}

TEST(EncodingMark, PartOfItIsNoMarkAndNothingIsLost) {
  for (const std::string& text : {std::string("\xEF\xBB"), std::string("\xEF\xBB\0x", 4),
                                  std::string("\xEF"), std::string(), std::string("ab")}) {
    std::istringstream in(text);
    EXPECT_EQ(ReadEncodingMark(in), FileEncoding::Latin1) << text;
    EXPECT_TRUE(in.good()) << text;
    EXPECT_EQ(Rest(in), text);
  }
}

// A pipe: bytes handed out once, no seeking.
class PipeBuffer : public std::streambuf {
 public:
  explicit PipeBuffer(std::string data) : data_(std::move(data)) {
    setg(data_.data(), data_.data(), data_.data() + data_.size());
  }

 private:
  std::string data_;
};

TEST(EncodingMark, StreamThatCannotSeekIsGivenBackWhatWasRead) {
  PipeBuffer pipe("Fin\tPlan\tF\t1\tr\n");
  std::istream in(&pipe);
  ASSERT_EQ(in.tellg(), std::streampos(-1));
  EXPECT_EQ(ReadEncodingMark(in), FileEncoding::Latin1);
  EXPECT_EQ(Rest(in), "Fin\tPlan\tF\t1\tr\n");
}

TEST(EncodingMark, StreamThatCannotSeekLosesOnlyTheMark) {
  PipeBuffer pipe("\xEF\xBB\xBFrest");
  std::istream in(&pipe);
  EXPECT_EQ(ReadEncodingMark(in), FileEncoding::Utf8);
  EXPECT_EQ(Rest(in), "rest");
}

TEST(DecodeLine, Latin1IsWidenedToUtf8) {
  std::string line = "Caf\xE9 \xFF \xA0";
  EXPECT_TRUE(DecodeLine(line, FileEncoding::Latin1));
  EXPECT_EQ(line, "Caf\xC3\xA9 \xC3\xBF \xC2\xA0");
}

TEST(DecodeLine, AsciiIsTheSameInEither) {
  for (FileEncoding e : {FileEncoding::Latin1, FileEncoding::Utf8}) {
    std::string line = "a\tb\t\"East\"";
    EXPECT_TRUE(DecodeLine(line, e));
    EXPECT_EQ(line, "a\tb\t\"East\"");
  }
}

TEST(DecodeLine, Utf8IsKeptAsItIs) {
  std::string line = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
  EXPECT_TRUE(DecodeLine(line, FileEncoding::Utf8));
  EXPECT_EQ(line, "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
}

TEST(DecodeLine, LineOfAUtf8FileThatIsNoUtf8IsRefusedAndLeftAsItWas) {
  std::string line = "Caf\xE9";
  EXPECT_FALSE(DecodeLine(line, FileEncoding::Utf8));
  EXPECT_EQ(line, "Caf\xE9");
}

struct Sequence {
  const char* name;
  std::string bytes;
  bool utf8;
};
void PrintTo(const Sequence& s, std::ostream* os) {
  *os << s.name;
}

class Utf8Check : public ::testing::TestWithParam<Sequence> {};

TEST_P(Utf8Check, TellsUtf8FromAnythingElse) {
  EXPECT_EQ(IsUtf8(GetParam().bytes), GetParam().utf8);
  EXPECT_EQ(IsUtf8("x" + GetParam().bytes + "y"), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, Utf8Check,
    ::testing::Values(Sequence{"Empty", "", true}, Sequence{"Ascii", "abc", true},
                      Sequence{"TwoBytesLeast", "\xC2\x80", true},
                      Sequence{"TwoBytesOverlong", "\xC1\xBF", false},
                      Sequence{"NulOverlong", "\xC0\x80", false},
                      Sequence{"ThreeBytesLeast", "\xE0\xA0\x80", true},
                      Sequence{"ThreeBytesOverlong", "\xE0\x9F\xBF", false},
                      Sequence{"LastBeforeSurrogates", "\xED\x9F\xBF", true},
                      Sequence{"FirstSurrogate", "\xED\xA0\x80", false},
                      Sequence{"LastSurrogate", "\xED\xBF\xBF", false},
                      Sequence{"FirstAfterSurrogates", "\xEE\x80\x80", true},
                      Sequence{"FourBytesLeast", "\xF0\x90\x80\x80", true},
                      Sequence{"FourBytesOverlong", "\xF0\x8F\xBF\xBF", false},
                      Sequence{"LastOfUnicode", "\xF4\x8F\xBF\xBF", true},
                      Sequence{"PastUnicode", "\xF4\x90\x80\x80", false},
                      Sequence{"FiveByteLead", "\xF8\x88\x80\x80\x80", false},
                      Sequence{"LoneContinuation", "\x80", false},
                      Sequence{"CutAtTheEnd", "\xE2\x82", false},
                      Sequence{"LeadWithoutContinuation", "\xC3(", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8End, SequenceCutByTheEndOfTheTextIsRefused) {
  // Cut at the very end: nothing follows to complete it.
  EXPECT_FALSE(IsUtf8("ab\xC3"));
  EXPECT_FALSE(IsUtf8("ab\xF0\x9F\x98"));
  EXPECT_TRUE(IsUtf8("ab\xC3\xA9"));
  // A view that ends inside a sequence whose rest follows in memory.
  const std::string whole = "ab\xC3\xA9";
  EXPECT_FALSE(IsUtf8(std::string_view(whole).substr(0, 3)));
}

TEST(EncodeText, Latin1HoldsWhatFitsAsSingleBytes) {
  std::string out;
  ASSERT_TRUE(EncodeText("Caf\xC3\xA9 \xC3\xBF", FileEncoding::Latin1, out));
  EXPECT_EQ(out, "Caf\xE9 \xFF");
}

TEST(EncodeText, Latin1RefusesWhatItCannotHold) {
  std::string out;
  EXPECT_FALSE(EncodeText("\xC3\xA9 \xE2\x82\xAC", FileEncoding::Latin1, out));
  EXPECT_FALSE(EncodeText("\xC4\x80", FileEncoding::Latin1, out));  // U+0100
}

TEST(EncodeText, Utf8HoldsAnythingAsItIs) {
  std::string out;
  ASSERT_TRUE(EncodeText("\xC3\xA9 \xE2\x82\xAC", FileEncoding::Utf8, out));
  EXPECT_EQ(out, "\xC3\xA9 \xE2\x82\xAC");
}

TEST(FitsLatin1, UpToTheLastLatin1Character) {
  EXPECT_TRUE(FitsLatin1("plain"));
  EXPECT_TRUE(FitsLatin1("\xC3\xBF"));   // U+00FF
  EXPECT_FALSE(FitsLatin1("\xC4\x80"));  // U+0100
  EXPECT_FALSE(FitsLatin1("\xE2\x82\xAC"));
}

}  // namespace
}  // namespace filterfile

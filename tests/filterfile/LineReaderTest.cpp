#include <gtest/gtest.h>

#include <sstream>

#include "filterfile/LineReader.h"
#include "tests/filterfile/FailingStreams.h"

namespace filterfile {
namespace {

struct SplitCase {
  const char* name;
  std::string input;
  std::vector<std::pair<uint64_t, std::string>> lines;  // number, text
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<std::pair<uint64_t, std::string>> ReadAll(const std::string& input, size_t chunk) {
  std::istringstream in(input);
  LineReader reader(in, 1 << 20, chunk);
  std::vector<std::pair<uint64_t, std::string>> lines;
  std::string line;
  LineReader::Result r;
  while ((r = reader.Next(line)) == LineReader::Result::Line)
    lines.emplace_back(reader.lineNumber(), line);
  EXPECT_EQ(r, LineReader::Result::End);
  return lines;
}

// Chunk sizes 1 to 3 put every line end across a refill of the buffer.
class LineSplitting : public ::testing::TestWithParam<std::tuple<SplitCase, size_t>> {};

TEST_P(LineSplitting, Lines) {
  const auto& [c, chunk] = GetParam();
  EXPECT_EQ(ReadAll(c.input, chunk), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LineSplitting,
    ::testing::Combine(
        ::testing::Values(
            SplitCase{"EmptyFile", "", {}}, SplitCase{"OnlyLineEnds", "\r\r\n\n\r\n\r", {}},
            SplitCase{"WrittenRecordsCrCrLf", "a\r\r\nb\r\r\n", {{1, "a"}, {3, "b"}}},
            SplitCase{"CrLf", "a\r\nb\r\n", {{1, "a"}, {2, "b"}}},
            SplitCase{"Lf", "a\nb\n", {{1, "a"}, {2, "b"}}},
            SplitCase{"LoneCr", "a\rb\r", {{1, "a"}, {2, "b"}}},
            SplitCase{"LfCrIsTwoEnds", "a\n\rb", {{1, "a"}, {3, "b"}}},
            SplitCase{"MixedEnds", "a\r\nb\nc\rd", {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}}},
            SplitCase{"TruncatedLastLine", "a\r\r\nlast", {{1, "a"}, {3, "last"}}},
            SplitCase{"EmptyLinesBetweenAndAtEnd", "\n\na\n\n\nb\n\n\n", {{3, "a"}, {6, "b"}}},
            SplitCase{"TabsAndBlanksAreText", "\t \t\n", {{1, "\t \t"}}},
            SplitCase{"NulByteIsText", std::string("a\0b\n", 4), {{1, std::string("a\0b", 3)}}}),
        ::testing::Values(size_t{1}, size_t{2}, size_t{3}, size_t{65536})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_chunk" +
             std::to_string(std::get<1>(info.param));
    });

// An endless line (a device, a binary file) must end the reading, not be
// read past forever.
TEST(LineReader, LineLongerThanLimitEndsTheReading) {
  std::istringstream in("ok\n" + std::string(100, 'x') + "\nlater\n");
  LineReader reader(in, 10, 7);
  std::string line;
  ASSERT_EQ(reader.Next(line), LineReader::Result::Line);
  EXPECT_EQ(reader.Next(line), LineReader::Result::TooLong);
  EXPECT_EQ(reader.lineNumber(), 2u);
  EXPECT_EQ(reader.Next(line), LineReader::Result::TooLong);
}

TEST(LineReader, LineOfExactlyTheLimitIsWhole) {
  std::istringstream in(std::string(10, 'x'));
  LineReader reader(in, 10, 3);
  std::string line;
  ASSERT_EQ(reader.Next(line), LineReader::Result::Line);
  EXPECT_EQ(line, std::string(10, 'x'));
}

TEST(LineReader, BrokenDeviceIsAReadErrorNotAnEnd) {
  testing::BrokenReadBuffer device("a\nb");
  std::istream in(&device);
  LineReader reader(in, 100, 2);
  std::string line;
  ASSERT_EQ(reader.Next(line), LineReader::Result::Line);
  EXPECT_EQ(line, "a");
  EXPECT_EQ(reader.Next(line), LineReader::Result::ReadError);
  EXPECT_EQ(reader.Next(line), LineReader::Result::ReadError);
}

}  // namespace
}  // namespace filterfile

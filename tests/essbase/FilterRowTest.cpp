#include <gtest/gtest.h>

#include <vector>

#include "essbase/FilterRow.h"
#include "tests/support/FakeEssbaseApi.h"

namespace essbase {
namespace {

using testing::FakeEssbaseApi;
using testing::FakeRow;

class FilterRowTest : public ::testing::Test {
 protected:
  void Open(std::vector<FakeRow> rows) {
    fake.AddFilter("Sample", "Basic", "F", std::move(rows));
    int16_t active = 0, access = 0;
    ASSERT_EQ(fake.EsbGetFilter(0, "Sample", "Basic", "F", active, access), 0);
  }
  // Every row of the open filter, read with a buffer of `size` bytes.
  std::vector<std::string> ReadAll(size_t size, int32_t& status) {
    std::vector<char> buffer(size);
    std::vector<std::string> rows;
    std::string row;
    int16_t access = 0;
    while ((status = GetFilterRowWhole(fake, 0, buffer, row, access)) == 0 && !row.empty())
      rows.push_back(row + "/" + std::to_string(access));
    return rows;
  }
  FakeEssbaseApi fake;
};

TEST_F(FilterRowTest, RowLongerThanTheBufferReadWholeAndInOrder) {
  const std::string longRow(4000, 'x');
  Open({{273, "a"}, {0, longRow}, {275, "b"}});
  int32_t status = -1;
  const auto rows = ReadAll(DesktopRowBuffer, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(rows, (std::vector<std::string>{"a/273", longRow + "/0", "b/275"}));
}

TEST_F(FilterRowTest, RowOfTheServerMaximumFitsTheSecondBuffer) {
  const std::string longest(MaxRowLength, 'y');
  Open({{273, longest}});
  int32_t status = -1;
  const auto rows = ReadAll(CommandLineRowBuffer, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(rows, (std::vector<std::string>{longest + "/273"}));
}

TEST_F(FilterRowTest, OtherFailureIsNotReadAgain) {
  Open({{273, "a"}});
  fake.Fail("EsbGetFilterRow", 1051021);
  int32_t status = 0;
  EXPECT_TRUE(ReadAll(DesktopRowBuffer, status).empty());
  EXPECT_EQ(status, 1051021);
  EXPECT_EQ(fake.CountCalls("EsbGetFilterRow"), 1);
}

// A library that fills the buffer without its NUL has handed the row over:
// reading again would skip it silently.
class NoNulApi : public FakeEssbaseApi {
 public:
  int32_t EsbGetFilterRow(Handle, std::span<char> row, int16_t&) override {
    ++calls;
    std::fill(row.begin(), row.end(), 'z');
    return 0;
  }
  int calls = 0;
};

TEST(FilterRowNoNul, RowWithoutNulIsAFailureNotACutRowNorARead) {
  NoNulApi api;
  std::vector<char> buffer(16);
  std::string row = "old";
  int16_t access = 0;
  EXPECT_EQ(GetFilterRowWhole(api, 0, buffer, row, access), ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_TRUE(row.empty());
  EXPECT_EQ(api.calls, 1);
}

}  // namespace
}  // namespace essbase

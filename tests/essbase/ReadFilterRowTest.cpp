// Rows are read whole whatever the caller's buffer: a row the server refused
// for a small buffer stays pending and is read again with a buffer of the
// server's row maximum; nothing is ever cut.
#include <gtest/gtest.h>

#include <cstring>

#include "essbase/library/ReadFilterRow.h"
#include "tests/support/FakeEssbaseApi.h"

namespace essbase {
namespace {

using testing::FakeEssbaseApi;

class ReadRowWhole : public ::testing::Test {
 protected:
  void Open(std::vector<testing::FakeRow> rows) {
    api.AddFilter("A", "B", "F", std::move(rows));
    int16_t active = 0, access = 0;
    ASSERT_EQ(api.EsbGetFilter(1, "A", "B", "F", active, access), 0);
    api.ClearCalls();
  }
  int32_t Read(size_t bufferSize) {
    buffer.assign(bufferSize, '\0');
    return ReadFilterRow(api, 1, buffer, spill, access, text);
  }

  FakeEssbaseApi api;
  std::vector<char> buffer;
  std::vector<char> spill;
  int16_t access = -1;
  std::string_view text;
};

TEST_F(ReadRowWhole, RowThatFitsTakesOneCall) {
  Open({{273, std::string(511, 'a')}});
  EXPECT_EQ(Read(CommandLineRowBuffer), 0);
  EXPECT_EQ(text, std::string(511, 'a'));
  EXPECT_EQ(access, 273);
  EXPECT_EQ(api.CallsText(), "EsbGetFilterRow(512)\n");
  EXPECT_TRUE(spill.empty());
}

// Lengths around the caller's buffer and the server's maximum.
class RowLongerThanBuffer : public ReadRowWhole, public ::testing::WithParamInterface<size_t> {};

TEST_P(RowLongerThanBuffer, ReadAgainWholeThenNextRow) {
  const std::string row(GetParam(), 'r');
  Open({{275, row}, {0, "next"}});
  EXPECT_EQ(Read(CommandLineRowBuffer), 0);
  EXPECT_EQ(text, row);
  EXPECT_EQ(access, 275);
  EXPECT_EQ(api.CallsText(), "EsbGetFilterRow(512)\nEsbGetFilterRow(8193)\n");
  // The pending row was taken once: the next read gets the row after it.
  EXPECT_EQ(Read(CommandLineRowBuffer), 0);
  EXPECT_EQ(text, "next");
  EXPECT_EQ(access, 0);
}

INSTANTIATE_TEST_SUITE_P(Lengths, RowLongerThanBuffer,
                         ::testing::Values(512, 513, 2999, 3000, MaxRowLength));

TEST_F(ReadRowWhole, RowBeyondServerMaximumFailsNeverCut) {
  Open({{275, std::string(MaxRowLength + 1, 'r')}});
  EXPECT_EQ(Read(DesktopRowBuffer), ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(api.CallsText(), "EsbGetFilterRow(3000)\nEsbGetFilterRow(8193)\n");
}

TEST_F(ReadRowWhole, BufferOfServerMaximumIsNotAskedAgain) {
  Open({{275, std::string(MaxRowLength + 1, 'r')}});
  EXPECT_EQ(Read(WholeRowBuffer), ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_EQ(api.CountCalls("EsbGetFilterRow"), 1);
}

TEST_F(ReadRowWhole, OtherFailureIsNotRepeated) {
  Open({{275, "r"}});
  api.Fail("EsbGetFilterRow", ReloginStatus);
  EXPECT_EQ(Read(CommandLineRowBuffer), ReloginStatus);
  EXPECT_EQ(api.CountCalls("EsbGetFilterRow"), 1);
}

TEST_F(ReadRowWhole, EndOfRowsIsEmptyText) {
  Open({});
  EXPECT_EQ(Read(CommandLineRowBuffer), 0);
  EXPECT_TRUE(text.empty());
}

// A library that hands a row over without its NUL: the row is gone, so it is
// neither asked for again nor taken cut.
class UnterminatedRowApi : public FakeEssbaseApi {
 public:
  int32_t EsbGetFilterRow(Handle context, std::span<char> row, int16_t& access) override {
    int32_t status = FakeEssbaseApi::EsbGetFilterRow(context, row, access);
    if (status == 0 && row[0] != '\0') std::memset(row.data(), 'y', row.size());
    return status;
  }
};

TEST(RowWithoutNul, FailsWithoutSecondCall) {
  UnterminatedRowApi api;
  api.AddFilter("A", "B", "F", {{1, "r"}, {1, "s"}});
  int16_t active = 0, access = 0;
  ASSERT_EQ(api.EsbGetFilter(1, "A", "B", "F", active, access), 0);
  std::vector<char> buffer(16), spill;
  std::string_view text;
  EXPECT_EQ(ReadFilterRow(api, 1, buffer, spill, access, text), ESB_STS_BUFFER_TOO_SMALL);
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(api.CountCalls("EsbGetFilterRow"), 1);
}

}  // namespace
}  // namespace essbase

#include <gtest/gtest.h>

#include "cli/Clock.h"

namespace cli {
namespace {

struct DateCase {
  const char* name;
  LocalTime time;
  const char* text;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DateCase& c, std::ostream* os) {
  *os << c.name;
}

class GeneralDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(GeneralDate, Text) {
  EXPECT_EQ(FormatGeneralDate(GetParam().time), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Times, GeneralDate,
    ::testing::Values(DateCase{"Afternoon", {2026, 3, 7, 13, 5, 9}, "3/7/2026 1:05:09 PM"},
                      DateCase{"Midnight", {2026, 12, 31, 0, 0, 0}, "12/31/2026 12:00:00 AM"},
                      DateCase{"Noon", {2026, 1, 1, 12, 30, 59}, "1/1/2026 12:30:59 PM"},
                      DateCase{
                          "LastMorningHour", {2026, 10, 10, 11, 59, 59}, "10/10/2026 11:59:59 AM"},
                      DateCase{"LateEvening", {2026, 6, 5, 23, 1, 2}, "6/5/2026 11:01:02 PM"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cli

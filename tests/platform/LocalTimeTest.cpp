#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/LocalTime.h"
#include "tests/support/TestEnvironment.h"

namespace platform {
namespace {

using testing_support::SetZone;

// A fixed time zone for one test, the process's own back after it.
class FixedZone : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
  }
  void TearDown() override {
    SetZone(saved_ ? saved_->c_str() : nullptr);
  }
  void Zone(const char* tz) { SetZone(tz); }
  std::optional<std::string> saved_;
};

TEST_F(FixedZone, FieldsAreThoseOfTheLocalZone) {
  Zone("UTC0");
  std::tm tm = LocalTimeOf(31536000 + 3723);  // 1971-01-01 01:02:03 UTC
  EXPECT_EQ(tm.tm_year, 71);
  EXPECT_EQ(tm.tm_mon, 0);
  EXPECT_EQ(tm.tm_mday, 1);
  EXPECT_EQ(tm.tm_hour, 1);
  EXPECT_EQ(tm.tm_min, 2);
  EXPECT_EQ(tm.tm_sec, 3);
  Zone("EST5");
  tm = LocalTimeOf(31536000 + 3723);
  EXPECT_EQ(tm.tm_year, 70);
  EXPECT_EQ(tm.tm_mon, 11);
  EXPECT_EQ(tm.tm_mday, 31);
  EXPECT_EQ(tm.tm_hour, 20);
}

TEST_F(FixedZone, OffsetCountsMinutesAndItsSign) {
  Zone("UTC0");
  EXPECT_EQ(UtcOffsetOf(31536000), 0);
  Zone("EST5");
  EXPECT_EQ(UtcOffsetOf(31536000), -5 * 3600);
  Zone("IST-5:30");
  EXPECT_EQ(UtcOffsetOf(31536000), 5 * 3600 + 30 * 60);
}

TEST_F(FixedZone, NowLiesBetweenTheTimesAroundIt) {
  Zone("EST5");
  const std::time_t before = std::time(nullptr);
  std::tm now = LocalTimeNow();
  const std::time_t after = std::time(nullptr);
  const std::time_t seconds = std::mktime(&now);
  EXPECT_LE(before, seconds);
  EXPECT_LE(seconds, after);
}

}  // namespace
}  // namespace platform

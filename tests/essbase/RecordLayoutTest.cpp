#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "essbase/library/ApiInitRecord.h"
#include "essbase/library/AppInfoRecord.h"
#include "essbase/library/ByteOrder.h"

namespace essbase {
namespace {

std::string Bytes(const uint8_t* p, size_t n) {
  return std::string(reinterpret_cast<const char*>(p), n);
}

struct InitCase {
  uint32_t version;
  const char* path;
};

class InitRecordLayout : public ::testing::TestWithParam<InitCase> {};

TEST_P(InitRecordLayout, EveryByteInItsPlace) {
  const InitCase c = GetParam();
  ApiInitRecord record(c.version, c.path);
  const auto& b = record.bytes();
  ASSERT_EQ(b.size(), 372u);
  EXPECT_EQ(b[0], c.version & 0xff);
  EXPECT_EQ(b[1], (c.version >> 8) & 0xff);
  EXPECT_EQ(b[2], (c.version >> 16) & 0xff);
  EXPECT_EQ(b[3], (c.version >> 24) & 0xff);
  EXPECT_EQ(b[4], 10);
  EXPECT_EQ(b[5], 0);
  std::string path(c.path);
  EXPECT_EQ(Bytes(b.data() + 6, 120), path + std::string(120 - path.size(), ' '));
  EXPECT_EQ(Bytes(b.data() + 126, 120), std::string(120, ' '));
  EXPECT_EQ(Bytes(b.data() + 246, 120), std::string(120, '\0'));
  EXPECT_EQ(b[366], 1);
  EXPECT_EQ(b[367], 0);
  EXPECT_EQ(b[368], 100);
  EXPECT_EQ(b[369], 0);
  EXPECT_EQ(b[370], 0);
  EXPECT_EQ(b[371], 0);
  EXPECT_EQ(record.version(), c.version);
}

INSTANTIATE_TEST_SUITE_P(BothGenerationsAndPrograms, InitRecordLayout,
                         ::testing::Values(InitCase{0x60000, "C:\\ESSBASE"},
                                           InitCase{0x50200, "C:\\ESSBASE"},
                                           InitCase{0x60000, "C:\\"}));

TEST(InitRecord, GenerationsDifferOnlyInVersion) {
  ApiInitRecord six(InitVersion(Generation::V6), "C:\\ESSBASE");
  ApiInitRecord five(InitVersion(Generation::V5), "C:\\ESSBASE");
  EXPECT_EQ(six.version(), 0x60000u);
  EXPECT_EQ(five.version(), 0x50200u);
  for (size_t i = 4; i < ApiInitRecord::Size; ++i) EXPECT_EQ(six.bytes()[i], five.bytes()[i]) << i;
}

TEST(InitRecord, OverlongPathCutAtItsField) {
  ApiInitRecord record(0x60000, std::string(200, 'x'));
  EXPECT_EQ(Bytes(record.data() + 6, 120), std::string(120, 'x'));
  EXPECT_EQ(record.bytes()[126], ' ');
}

TEST(AppInfoLayout, LayoutAFieldOffsets) {
  std::vector<uint8_t> r(52, 0xEE);
  WriteAppInfo(r, Generation::V6, {"FinPlan8", "essdemo", true, 0x1234, 3, 0xA1B2C3D4});
  EXPECT_EQ(Bytes(r.data(), 8), "FinPlan8");
  EXPECT_EQ(Bytes(r.data() + 8, 30), "essdemo" + std::string(23, '\0'));
  EXPECT_EQ(GetU16(r.data() + 38), 0x1234);
  EXPECT_EQ(GetU16(r.data() + 40), 1);
  EXPECT_EQ(GetU16(r.data() + 42), 3);
  EXPECT_EQ(GetU16(r.data() + 44), 0);
  EXPECT_EQ(GetU16(r.data() + 46), 0);
  EXPECT_EQ(GetU32(r.data() + 48), 0xA1B2C3D4u);
}

TEST(AppInfoLayout, LayoutBFieldOffsetsAndNoWriteBeyond48) {
  std::vector<uint8_t> r(52, 0xEE);
  WriteAppInfo(std::span<uint8_t>(r.data(), 48), Generation::V5,
               {"Sample", "essdemo", true, 0x1234, 2, 0x01020304});
  EXPECT_EQ(GetU16(r.data() + 38), 1);
  EXPECT_EQ(GetU16(r.data() + 40), 0x1234);
  EXPECT_EQ(GetU16(r.data() + 42), 2);
  EXPECT_EQ(GetU32(r.data() + 44), 0x01020304u);
  for (size_t i = 48; i < 52; ++i) EXPECT_EQ(r[i], 0xEE) << "guard byte " << i;
}

TEST(AppInfoLayout, TooSmallRecordLeftUntouched) {
  std::vector<uint8_t> r(47, 0xEE);
  WriteAppInfo(r, Generation::V5, {"Sample", "s", true, 0, 0, 0});
  for (uint8_t b : r) EXPECT_EQ(b, 0xEE);
}

// A record whose first 16-bit value is non-zero and second zero: loaded for
// 5.0.2, not loaded for 6.
TEST(LoadState, EachGenerationReadsItsOwnOffset) {
  std::array<uint8_t, 52> r{};
  PutU16(r.data() + 38, 7);
  PutU16(r.data() + 40, 0);
  EXPECT_FALSE(ReadLoadState(r, Generation::V6));
  EXPECT_TRUE(ReadLoadState(r, Generation::V5));
  PutU16(r.data() + 38, 0);
  PutU16(r.data() + 40, 0x0100);
  EXPECT_TRUE(ReadLoadState(r, Generation::V6));
  EXPECT_FALSE(ReadLoadState(r, Generation::V5));
}

TEST(LoadState, RoundTripsThroughWriter) {
  for (Generation g : {Generation::V6, Generation::V5}) {
    for (bool loaded : {false, true}) {
      std::vector<uint8_t> r(AppInfoSize(g));
      WriteAppInfo(r, g, {"App", "srv", loaded, 0xFFFF, 0, 0});
      EXPECT_EQ(ReadLoadState(r, g), loaded);
    }
  }
}

TEST(FixedField, FullWidthNameHasNoNulAndIsReadWhole) {
  char field[8];
  PutFixed(reinterpret_cast<uint8_t*>(field), 8, "ABCDEFGH");
  EXPECT_EQ(GetFixed(field, 8), "ABCDEFGH");
  PutFixed(reinterpret_cast<uint8_t*>(field), 8, "AB");
  EXPECT_EQ(GetFixed(field, 8), "AB");
}

}  // namespace
}  // namespace essbase

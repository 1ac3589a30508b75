// Each build reads the application-information record of its own generation:
// its own length handed to the library, the load state at its own offset.
#include <vector>

#include "essbase/library/ByteOrder.h"
#include "tests/desktop/DesktopFixture.h"

namespace desktop::testing {
namespace {

using essbase::Generation;

struct BuildCase {
  Generation generation;
  const char* name;
  size_t recordLength;
  bool firstValueOnlyMeansLoaded;  // first 16-bit value non-zero, second zero
};

class LoadStateTest : public DesktopTest, public ::testing::WithParamInterface<BuildCase> {
 protected:
  LoadStateTest() : DesktopTest(GetParam().generation) {}
};

TEST_P(LoadStateTest, LibraryGetsARecordOfTheBuildsLength) {
  StartAndLogin();
  fake.ClearCalls();
  bool loaded = false;
  ASSERT_EQ(form.ApplicationLoaded("Sample", loaded), 0);
  EXPECT_EQ(fake.CallsText(),
            "EsbGetApplicationInfo(Sample," + std::to_string(GetParam().recordLength) + ")\n");
}

TEST_P(LoadStateTest, LoadStateReadAtTheBuildsOffset) {
  StartAndLogin();
  std::vector<uint8_t> record(52, 0);
  essbase::PutU16(record.data() + 38, 1);
  essbase::PutU16(record.data() + 40, 0);
  fake.rawAppInfo["Sample"] = record;
  bool loaded = !GetParam().firstValueOnlyMeansLoaded;
  ASSERT_EQ(form.ApplicationLoaded("Sample", loaded), 0);
  EXPECT_EQ(loaded, GetParam().firstValueOnlyMeansLoaded);
}

TEST_P(LoadStateTest, ServersLoadStateComesThrough) {
  StartAndLogin();
  fake.FindApplication("Sample")->loaded = false;
  fake.FindApplication("Demo")->loaded = true;
  bool sample = true, demo = false;
  ASSERT_EQ(form.ApplicationLoaded("Sample", sample), 0);
  ASSERT_EQ(form.ApplicationLoaded("Demo", demo), 0);
  EXPECT_FALSE(sample);
  EXPECT_TRUE(demo);
}

TEST_P(LoadStateTest, FailedCallKeptInStatusAndLeavesAnswerAlone) {
  StartAndLogin();
  fake.Fail("EsbGetApplicationInfo", ESB_STS_UNKNOWN_APPLICATION);
  bool loaded = true;
  EXPECT_EQ(form.ApplicationLoaded("Sample", loaded), ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_EQ(form.connection().Status, ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_TRUE(loaded);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, LoadStateTest,
                         ::testing::Values(BuildCase{Generation::V6, "Quorvel6", 52, false},
                                           BuildCase{Generation::V5, "Quorvel5", 48, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace desktop::testing

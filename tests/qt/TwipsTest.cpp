#include <gtest/gtest.h>

#include "desktop/qt/Twips.h"

namespace quorvel::qt {
namespace {

struct Conversion {
  int twips;
  double dpi;
  int pixels;
};

class TwipsConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(TwipsConversion, ToPixelsAtScreenDpi) {
  EXPECT_EQ(TwipsToPixels(GetParam().twips, GetParam().dpi), GetParam().pixels);
}

TEST_P(TwipsConversion, BackToTwipsWithinHalfAPixel) {
  const Conversion c = GetParam();
  const int back = PixelsToTwips(c.pixels, c.dpi);
  EXPECT_LE(std::abs(back - c.twips), 1440 / c.dpi / 2 + 1) << back;
}

// 1440 twips per inch: 15 per pixel at 96 DPI, 10 at 144 DPI.
INSTANTIATE_TEST_SUITE_P(Dpi, TwipsConversion,
                         ::testing::Values(Conversion{7770, 96, 518}, Conversion{7350, 96, 490},
                                           Conversion{15, 96, 1}, Conversion{7, 96, 0},
                                           Conversion{8, 96, 1}, Conversion{1440, 144, 144},
                                           Conversion{0, 96, 0}, Conversion{-300, 96, -20}));

TEST(Twips, NoScreenDpiFallsBackTo96) {
  EXPECT_EQ(TwipsToPixels(1440, 0), 96);
  EXPECT_EQ(PixelsToTwips(96, -1), 1440);
}

TEST(Twips, ScreenDpiIsPositive) {
  EXPECT_GT(ScreenDpi(), 0);
}

}  // namespace
}  // namespace quorvel::qt

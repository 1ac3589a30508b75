#pragma once
// Window geometry is kept in twips (1440 per inch) and drawn in pixels at the
// screen's logical DPI: 15 twips per pixel at 96 DPI.

namespace quorvel::qt {

constexpr int TwipsPerInch = 1440;

// Rounded to the nearest pixel or twip; negative values keep their sign so
// that a refused (negative) size stays recognisable after conversion.
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

// The logical DPI of the primary screen (96 when there is none).
double ScreenDpi();

}  // namespace quorvel::qt

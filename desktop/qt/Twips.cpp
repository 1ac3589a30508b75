#include "desktop/qt/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace quorvel::qt {

namespace {
double Usable(double dpi) {
  return dpi > 0 ? dpi : 96.0;
}
}  // namespace

int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * Usable(dpi) / TwipsPerInch));
}

int PixelsToTwips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * TwipsPerInch / Usable(dpi)));
}

double ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchX() : 96.0;
}

}  // namespace quorvel::qt

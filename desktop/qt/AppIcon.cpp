#include "desktop/qt/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quorvel::qt {

namespace {

// Drawn on a 64-unit grid and scaled, so every size has the same shapes.
constexpr double Grid = 64.0;

void DrawGround(QPainter& p) {
  QLinearGradient ground(0, 2, 0, 62);
  ground.setColorAt(0, QColor(0x2f, 0x7f, 0xc1));
  ground.setColorAt(1, QColor(0x17, 0x3f, 0x75));
  p.setPen(QPen(QColor(0x10, 0x2c, 0x52), 1.5));
  p.setBrush(ground);
  p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
}

// The rows of a database waiting above the funnel.
void DrawRows(QPainter& p) {
  p.setPen(Qt::NoPen);
  const QColor colours[] = {QColor(0xf2, 0xc9, 0x4c), QColor(0xc9, 0xd8, 0xee),
                            QColor(0xf2, 0xc9, 0x4c)};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(colours[i]);
    p.drawRoundedRect(QRectF(14 + i * 12.5, 10, 10, 6), 2, 2);
  }
}

void DrawFunnel(QPainter& p) {
  QPainterPath funnel;
  funnel.moveTo(11, 21);
  funnel.lineTo(53, 21);
  funnel.lineTo(37, 38);
  funnel.lineTo(37, 50);
  funnel.lineTo(27, 55);
  funnel.lineTo(27, 38);
  funnel.closeSubpath();
  p.setPen(QPen(QColor(0x10, 0x2c, 0x52), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xf7, 0xf9, 0xfc));
  p.drawPath(funnel);
}

// The one row let through.
void DrawPassedRow(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf2, 0xc9, 0x4c));
  p.drawRoundedRect(QRectF(39, 49, 14, 6), 2, 2);
}

}  // namespace

QImage DrawAppIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / Grid, size / Grid);
  DrawGround(p);
  DrawRows(p);
  DrawFunnel(p);
  DrawPassedRow(p);
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
  return icon;
}

}  // namespace quorvel::qt

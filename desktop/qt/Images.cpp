#include "desktop/qt/Images.h"

#include <QPainter>
#include <QPainterPath>

namespace quorvel::qt {

namespace {

void DrawApplication(QPainter& p) {
  // A folder: the application holds its databases.
  p.setPen(QColor(0x8a, 0x6d, 0x1f));
  p.setBrush(QColor(0xf2, 0xc9, 0x4c));
  p.drawRect(1, 4, 13, 10);
  p.drawRect(1, 2, 6, 2);
}

void DrawCylinder(QPainter& p, const QColor& body, const QColor& top) {
  p.setPen(QColor(0x30, 0x3c, 0x52));
  p.setBrush(body);
  p.drawRect(2, 4, 11, 9);
  p.drawEllipse(2, 10, 11, 5);
  p.setPen(Qt::NoPen);
  p.drawRect(3, 5, 10, 8);
  p.setPen(QColor(0x30, 0x3c, 0x52));
  p.setBrush(top);
  p.drawEllipse(2, 1, 11, 5);
}

void DrawTick(QPainter& p) {
  QPainterPath tick;
  tick.moveTo(7, 10);
  tick.lineTo(10, 13);
  tick.lineTo(15, 6);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x0b, 0x7a, 0x27), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(tick);
}

QPixmap Draw(int index, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(static_cast<double>(size) / ImageSize, static_cast<double>(size) / ImageSize);
  switch (index) {
    case 1: DrawApplication(p); break;
    case 2:
      p.setPen(QColor(0x80, 0x80, 0x80));
      p.drawRect(2, 2, 11, 11);
      break;
    case 3: DrawCylinder(p, QColor(0x9d, 0xb4, 0xd6), QColor(0xc9, 0xd8, 0xee)); break;
    case 4:
      DrawCylinder(p, QColor(0xf0, 0xa0, 0x3c), QColor(0xf7, 0xcd, 0x92));
      DrawTick(p);
      break;
  }
  return pixmap;
}

}  // namespace

QPixmap ListImage(int index, int size) {
  if (index < 1 || index > ImageCount || size < 1) return {};
  return Draw(index, size);
}

}  // namespace quorvel::qt

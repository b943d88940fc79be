#include "ui/QtImages.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <optional>

namespace images {
namespace {

void DrawCheckMark(QPainter& p, const QColor& color, qreal width) {
  QPen pen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  QPainterPath tick;
  tick.moveTo(3.5, 7.5);
  tick.lineTo(6.2, 10.5);
  tick.lineTo(11.5, 3.8);
  p.drawPath(tick);
}

// A group: an address card with two text lines and a head, greyed when the
// group is not shown, coloured with a tick when it is.
void DrawGroup(QPainter& p, bool on) {
  const QColor border = on ? QColor(0x1f, 0x4e, 0x8c) : QColor(0x80, 0x80, 0x80);
  const QColor fill = on ? QColor(0xdc, 0xea, 0xfb) : QColor(0xf2, 0xf2, 0xf2);
  p.setPen(QPen(border, 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 2.5, 14, 10), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(border);
  p.drawEllipse(QRectF(2.5, 4.5, 3, 3));
  p.drawRoundedRect(QRectF(2, 8, 4, 3), 1, 1);
  p.setPen(QPen(border, 1));
  p.drawLine(QPointF(8, 5.5), QPointF(12.5, 5.5));
  p.drawLine(QPointF(8, 8.5), QPointF(12.5, 8.5));
  if (on) {
    // A bold tick over the card's lower right, outlined so that it stays
    // visible on a selected (highlighted) row.
    QPainterPath tick;
    tick.moveTo(5.5, 9.5);
    tick.lineTo(8.5, 12.8);
    tick.lineTo(14, 5.8);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.setPen(QPen(QColor(0x12, 0x8a, 0x2a), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
  }
}

void DrawFolder(QPainter& p) {
  const QColor edge(0xa0, 0x78, 0x10);
  p.setPen(QPen(edge, 1));
  p.setBrush(QColor(0xf0, 0xc0, 0x40));
  QPainterPath back;
  back.moveTo(0.5, 3.5);
  back.lineTo(5.5, 3.5);
  back.lineTo(7, 5);
  back.lineTo(14.5, 5);
  back.lineTo(14.5, 12.5);
  back.lineTo(0.5, 12.5);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(0xfb, 0xd8, 0x6a));
  p.drawRect(QRectF(0.5, 6.5, 14, 6));
}

void DrawCheckBox(QPainter& p, bool on) {
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(1.5, 1.5, 12, 12));
  if (on) DrawCheckMark(p, QColor(0x10, 0x10, 0x10), 2.0);
}

QPixmap Draw(Image which) {
  const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  QPixmap pm(QSize(kImageSize, kImageSize) * dpr);
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (which) {
    case Image::GrpOff: DrawGroup(p, false); break;
    case Image::GrpOn: DrawGroup(p, true); break;
    case Image::Folder: DrawFolder(p); break;
    case Image::CheckOff: DrawCheckBox(p, false); break;
    case Image::CheckOn: DrawCheckBox(p, true); break;
  }
  return pm;
}

}  // namespace

const QPixmap& Get(Image which) {
  // Never freed: pixmaps must not outlive the application object, and
  // static destructors run after it is gone.
  static auto* cache = new std::array<std::optional<QPixmap>, 5>;
  auto& slot = (*cache)[static_cast<std::size_t>(which)];
  if (!slot) slot = Draw(which);
  return *slot;
}

const QPixmap& GroupTreeImage(int index) {
  switch (index) {
    case 1: return Get(Image::GrpOn);
    case 2: return Get(Image::Folder);
    default: return Get(Image::GrpOff);
  }
}

const QPixmap& CheckListImage(int index) {
  switch (index) {
    case 1: return Get(Image::CheckOn);
    case 2: return Get(Image::Folder);
    default: return Get(Image::CheckOff);
  }
}

}  // namespace images

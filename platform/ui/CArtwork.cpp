// Drawing the program's icon and bitmaps with QPainter, so that no binary
// image files need to live in the source tree.
#include "platform/ui/CArtwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace {

const QColor kNavy(0x12, 0x2f, 0x5a);
const QColor kBlue(0x23, 0x62, 0xa8);
const QColor kOrange(0xf0, 0x8a, 0x24);
const QColor kPaper(0xfb, 0xfb, 0xf8);
const QColor kPaperEdge(0x8a, 0x94, 0xa3);

QFont Face(const char* family, qreal pixelSize, bool bold, bool italic = false) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(family[0] == 'S' ? QFont::SansSerif : QFont::Serif);
  font.setPixelSize(qMax(1, qRound(pixelSize)));
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// A sheet of paper with a folded top-right corner.
void DrawSheet(QPainter& p, const QRectF& r, const QColor& paper, const QColor& edge) {
  qreal fold = r.width() * 0.28;
  QPainterPath sheet;
  sheet.moveTo(r.topLeft());
  sheet.lineTo(r.right() - fold, r.top());
  sheet.lineTo(r.right(), r.top() + fold);
  sheet.lineTo(r.bottomRight());
  sheet.lineTo(r.bottomLeft());
  sheet.closeSubpath();
  p.setPen(QPen(edge, qMax<qreal>(1.0, r.width() / 24)));
  p.setBrush(paper);
  p.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(r.right() - fold, r.top());
  corner.lineTo(r.right() - fold, r.top() + fold);
  corner.lineTo(r.right(), r.top() + fold);
  corner.closeSubpath();
  p.setBrush(edge.lighter(150));
  p.drawPath(corner);
}

// Two arrows chasing each other round a circle: the "swap" of the name.
void DrawSwapBadge(QPainter& p, const QPointF& centre, qreal radius) {
  QRadialGradient glow(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
  glow.setColorAt(0, kOrange.lighter(130));
  glow.setColorAt(1, kOrange.darker(115));
  p.setPen(QPen(QColor(0x9a, 0x4f, 0x0c), qMax<qreal>(1.0, radius / 8)));
  p.setBrush(glow);
  p.drawEllipse(centre, radius, radius);

  qreal r = radius * 0.55;
  QRectF ring(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
  QPen arrowPen(Qt::white, qMax<qreal>(1.2, radius / 4.5), Qt::SolidLine, Qt::FlatCap);
  p.setPen(arrowPen);
  p.setBrush(Qt::NoBrush);
  p.drawArc(ring, 30 * 16, 130 * 16);
  p.drawArc(ring, 210 * 16, 130 * 16);
  // Arrow heads at the end of each arc.
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  qreal h = radius * 0.42;
  for (int k = 0; k < 2; ++k) {
    qreal angle = (k == 0 ? 160.0 : 340.0) * std::numbers::pi / 180.0;
    QPointF tip(centre.x() + r * std::cos(angle), centre.y() - r * std::sin(angle));
    // Tangent pointing on along the arc (counter-clockwise).
    QPointF along(-std::sin(angle), -std::cos(angle));
    QPointF normal(std::cos(angle), -std::sin(angle));
    QPointF head[3] = {tip + along * h, tip + normal * (h * 0.7), tip - normal * (h * 0.7)};
    p.drawPolygon(head, 3);
  }
}

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  qreal s = size;

  QRectF sheet(s * 0.12, s * 0.04, s * 0.64, s * 0.84);
  DrawSheet(p, sheet, kPaper, kPaperEdge);

  // A serif capital on the page, as the document's old font.
  p.setPen(kNavy);
  p.setFont(Face("Serif", s * 0.58, true));
  p.drawText(QRectF(sheet.left(), sheet.top() + s * 0.06, sheet.width() * 0.8, sheet.height() * 0.62), Qt::AlignCenter,
             QStringLiteral("A"));
  // Lines of text below it.
  if (size >= 24) {
    p.setPen(QPen(kPaperEdge, qMax<qreal>(1.0, s / 32)));
    for (int i = 0; i < 2; ++i) {
      qreal y = sheet.top() + sheet.height() * (0.74 + 0.1 * i);
      p.drawLine(QPointF(sheet.left() + s * 0.08, y), QPointF(sheet.left() + s * 0.3, y));
    }
  }
  DrawSwapBadge(p, QPointF(s * 0.7, s * 0.7), s * 0.26);
  return pixmap;
}

QPixmap DrawSplash() {
  const int width = 348, height = 226;
  QPixmap pixmap(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient sky(0, 0, width, height);
  sky.setColorAt(0, kNavy.darker(120));
  sky.setColorAt(1, kBlue);
  p.fillRect(0, 0, width, height, sky);

  // Large faint letters in two faces: the old font and the new one.
  p.setPen(QColor(255, 255, 255, 22));
  p.setFont(Face("Serif", 190, true, true));
  p.drawText(QRectF(150, -40, 220, 260), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("A"));
  p.setPen(QColor(255, 255, 255, 14));
  p.setFont(Face("Sans", 150, false));
  p.drawText(QRectF(248, 40, 120, 200), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("a"));

  // Icon and product name.
  p.drawPixmap(QPointF(22, 30), DrawIcon(64));
  p.setPen(QColor(0xb9, 0xd3, 0xf2));
  p.setFont(Face("Sans", 13, true));
  p.drawText(QPointF(100, 50), QStringLiteral("KORVIN"));
  p.setPen(Qt::white);
  p.setFont(Face("Sans", 34, true));
  p.drawText(QPointF(98, 86), QStringLiteral("Typeswap"));
  p.setPen(QColor(0xdd, 0xe8, 0xf6));
  p.setFont(Face("Serif", 17, false, true));
  p.drawText(QPointF(100, 110), QStringLiteral("for Interleaf"));

  // An orange rule and the line that says what the program does.
  p.setPen(Qt::NoPen);
  p.setBrush(kOrange);
  p.drawRoundedRect(QRectF(22, 132, 304, 3), 1.5, 1.5);
  p.setPen(QColor(0xdd, 0xe8, 0xf6));
  p.setFont(Face("Sans", 11, false));
  p.drawText(QRectF(22, 142, 304, 18), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Font mapping for translated Interleaf ASCII documents"));

  p.setPen(QColor(0x9f, 0xbb, 0xdd));
  p.setFont(Face("Sans", 10, false));
  p.drawText(QRectF(22, 196, 150, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Version 1.00"));
  p.drawText(QRectF(110, 196, 216, 16), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Copyright (C) The Typeswap developers"));

  // A thin frame, since the window has no border of its own.
  p.setPen(QPen(QColor(0x0b, 0x1d, 0x38), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
  return pixmap;
}

QPixmap DrawAppendReplace() {
  QPixmap pixmap(38, 36);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // The current selection behind, the new files in front.
  DrawSheet(p, QRectF(2.5, 1.5, 19, 25), QColor(0xe4, 0xe9, 0xf1), kPaperEdge);
  DrawSheet(p, QRectF(9.5, 7.5, 19, 25), kPaper, kPaperEdge);
  p.setPen(QPen(kPaperEdge, 1));
  for (int i = 0; i < 4; ++i) {
    qreal y = 17.5 + 3 * i;
    p.drawLine(QPointF(12.5, y), QPointF(i == 3 ? 20.5 : 25.5, y));
  }
  // A plus for "append".
  p.setPen(QPen(QColor(0x9a, 0x4f, 0x0c), 1));
  p.setBrush(kOrange);
  p.drawEllipse(QPointF(29.5, 27.5), 7.5, 7.5);
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(25.5, 27.5), QPointF(33.5, 27.5));
  p.drawLine(QPointF(29.5, 23.5), QPointF(29.5, 31.5));
  return pixmap;
}

}  // namespace

QIcon LoadIconResource(int32_t id) {
  if (id != kIconProgram) return QIcon();
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(DrawIcon(size));
  return icon;
}

QPixmap LoadBitmapResource(int32_t id) {
  switch (id) {
    case kBitmapSplash:
      return DrawSplash();
    case kBitmapAppendReplace:
      return DrawAppendReplace();
    default:
      return QPixmap();
  }
}

QSize SystemIconSize() { return QSize(32, 32); }

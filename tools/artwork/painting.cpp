// SPDX-License-Identifier: GPL-3.0-or-later
#include "painting.h"

#include "palette.h"

#include <QFontDatabase>
#include <QPainter>

#include <cmath>

namespace {
QString g_sans;
QString g_sansBold;
QString g_gothic;

QString Family(const char* file) {
  const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file));
  if (id < 0) return {};
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  return families.isEmpty() ? QString() : families.first();
}
}  // namespace

bool LoadArtworkFonts() {
  g_sans = Family(LEXORIA_FONT_SANS);
  g_sansBold = Family(LEXORIA_FONT_SANS_BOLD);
  g_gothic = Family(LEXORIA_FONT_GOTHIC);
  return !g_sans.isEmpty() && !g_sansBold.isEmpty() && !g_gothic.isEmpty();
}

QFont SansFont(qreal pixelSize, bool bold) {
  QFont f(bold ? g_sansBold : g_sans);
  f.setPixelSize(int(pixelSize));
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

QFont GothicFont(qreal pixelSize) {
  QFont f(g_gothic);
  f.setPixelSize(int(pixelSize));
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

double Hash01(int x, int y, int seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return double(h & 0xFFFFFF) / double(0x1000000);
}

QImage NewCanvas(int width, int height, int scale, QColor fill) {
  // Opaque pictures are plain RGB; a see-through fill (icons) keeps alpha.
  QImage img(width * scale, height * scale,
             fill.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(scale);
  img.fill(fill);
  return img;
}

void PaintPaper(QImage& img, const QRectF& area, QColor base, int seed) {
  // The grain is one value per device pixel, so a 2x picture has grain twice
  // as fine; the mottling cells keep their size on the page.
  const int s = int(img.devicePixelRatio());
  const QRect r = QRectF(area.topLeft() * s, area.size() * s).toAlignedRect().intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = r.left(); x <= r.right(); ++x) {
      const double grain = (Hash01(x, y, seed) - 0.5) * 7.0;
      // Slow mottling: a few cells of smooth value noise.
      const double cell = (Hash01(x / (9 * s), y / (7 * s), seed + 1) +
                           Hash01((x + 4 * s) / (9 * s), (y + 3 * s) / (7 * s), seed + 2)) -
                          1.0;
      const double d = grain + cell * 3.0;
      line[x] = qRgb(qBound(0, int(base.red() + d), 255), qBound(0, int(base.green() + d), 255),
                     qBound(0, int(base.blue() + d * 1.2), 255));
    }
  }
  // Fibres, drawn at every wrap offset so the tile repeats without seams.
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setClipRect(area);
  const int fibres = int(area.width() * area.height() / 900.0) + 4;
  QColor fibre = base.darker(112);
  for (int i = 0; i < fibres; ++i) {
    const double fx = area.left() + Hash01(i, 1, seed) * area.width();
    const double fy = area.top() + Hash01(i, 2, seed) * area.height();
    const double len = 6 + Hash01(i, 3, seed) * 16;
    const double ang = (Hash01(i, 4, seed) - 0.5) * 2.6;
    fibre.setAlpha(28 + int(Hash01(i, 5, seed) * 30));
    p.setPen(QPen(fibre, 0.7));
    for (int ox = -1; ox <= 1; ++ox) {
      for (int oy = -1; oy <= 1; ++oy) {
        const QPointF a(fx + ox * area.width(), fy + oy * area.height());
        QPainterPath path(a);
        path.quadTo(a + QPointF(len * 0.5 * std::cos(ang), len * 0.5 * std::sin(ang) + 2),
                    a + QPointF(len * std::cos(ang), len * std::sin(ang)));
        p.drawPath(path);
      }
    }
  }
}

void DrawCentredText(QPainter& p, const QRectF& rect, const QString& text, const QFont& font, QColor colour) {
  p.save();
  p.setFont(font);
  p.setPen(colour);
  p.drawText(rect, Qt::AlignCenter, text);
  p.restore();
}

void ApplyShape(QImage& img, const QPainterPath& shape) {
  QImage inside(img.size(), QImage::Format_Grayscale8);
  inside.setDevicePixelRatio(img.devicePixelRatio());
  inside.fill(0);
  {
    QPainter p(&inside);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(shape, QColor(255, 255, 255));
  }
  for (int y = 0; y < img.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const uchar* in = inside.constScanLine(y);
    for (int x = 0; x < img.width(); ++x) {
      if (in[x] < 128) {
        line[x] = qRgb(0, 0, 0);
      } else if (qRed(line[x]) <= 16 && qGreen(line[x]) <= 16 && qBlue(line[x]) <= 16) {
        line[x] = qRgb(qRed(line[x]), qGreen(line[x]), 24);
      }
    }
  }
}

void PaintWaves(QPainter& p, const QRectF& area, qreal radius, QColor line) {
  p.save();
  p.setClipRect(area, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(line, 1.0));
  const qreal dx = radius * 2;
  const qreal dy = radius * 0.5;
  int row = 0;
  for (qreal y = area.top(); y < area.bottom() + radius; y += dy, ++row) {
    const qreal shift = (row % 2) ? radius : 0;
    for (qreal x = area.left() - radius + shift; x < area.right() + radius; x += dx) {
      for (int ring = 0; ring < 3; ++ring) {
        const qreal r = radius * (1.0 - ring * 0.3);
        p.setBrush(ring == 0 ? p.brush() : Qt::NoBrush);
        QRectF box(x - r, y - r, r * 2, r * 2);
        p.drawArc(box, 0, 180 * 16);
      }
    }
  }
  p.restore();
}

void PaintSun(QPainter& p, QPointF centre, qreal radius) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  QColor glow = pal::kVermilionGlow;
  glow.setAlpha(60);
  p.setBrush(glow);
  p.drawEllipse(centre, radius + 4, radius + 4);
  p.setBrush(pal::kVermilion);
  p.drawEllipse(centre, radius, radius);
  p.restore();
}

void PaintMountain(QPainter& p, QPointF peak, qreal halfWidth, qreal baseY, QColor body, QColor snow) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const qreal top = 0.16 * halfWidth;  // flat crater rim
  QPainterPath hill;
  hill.moveTo(peak.x() - halfWidth, baseY);
  hill.cubicTo(peak.x() - halfWidth * 0.55, baseY - (baseY - peak.y()) * 0.35, peak.x() - top * 1.6, peak.y() + 6,
               peak.x() - top, peak.y());
  hill.lineTo(peak.x() + top, peak.y());
  hill.cubicTo(peak.x() + top * 1.6, peak.y() + 6, peak.x() + halfWidth * 0.55, baseY - (baseY - peak.y()) * 0.35,
               peak.x() + halfWidth, baseY);
  hill.closeSubpath();
  p.setBrush(body);
  p.drawPath(hill);
  // Snow cap with a jagged lower edge.
  const qreal capY = peak.y() + (baseY - peak.y()) * 0.32;
  QPainterPath cap;
  cap.moveTo(peak.x() - top, peak.y());
  cap.lineTo(peak.x() + top, peak.y());
  const qreal capHalf = halfWidth * 0.36;
  cap.lineTo(peak.x() + capHalf, capY);
  const int teeth = 5;
  for (int i = teeth; i >= 0; --i) {
    const qreal x = peak.x() - capHalf + 2 * capHalf * i / teeth;
    cap.lineTo(x, capY + ((i % 2) ? 7 : 0));
  }
  cap.closeSubpath();
  p.setClipPath(hill);
  p.setBrush(snow);
  p.drawPath(cap);
  p.restore();
}

void PaintPaperCard(QImage& img, const QRectF& area, qreal radius, int seed, qreal borderWidth) {
  QImage paper(img.size(), QImage::Format_RGB32);
  paper.setDevicePixelRatio(img.devicePixelRatio());
  paper.fill(pal::kPaper);
  PaintPaper(paper, area, pal::kPaper, seed);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath card;
  card.addRoundedRect(area, radius, radius);
  p.setClipPath(card);
  p.drawImage(0, 0, paper);
  p.setClipping(false);
  p.setPen(QPen(pal::kGold, borderWidth));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(area, radius, radius);
}

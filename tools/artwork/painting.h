// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

// Drawing helpers shared by every picture of the tool.

// Loads the three font files; false when one is missing.
bool LoadArtworkFonts();
QFont SansFont(qreal pixelSize, bool bold);
QFont GothicFont(qreal pixelSize);

// A picture of width x height pixels at 1x, drawn at scale (1 or 2): the
// image holds scale times the pixels each way and carries the scale as its
// device pixel ratio, so painters work in 1x coordinates while every line,
// glyph and texture is rendered at the full resolution.
QImage NewCanvas(int width, int height, int scale, QColor fill);

// Deterministic noise in [0, 1) for a pixel and a seed.
double Hash01(int x, int y, int seed);

// Washi paper: base colour with fine grain and faint fibres, tiling seamlessly
// over the image's own size.
void PaintPaper(QImage& img, const QRectF& area, QColor base, int seed);

// A rounded card of washi paper (PaintPaper with seed) with a gold border,
// painted into img; p must not be active on img.
void PaintPaperCard(QImage& img, const QRectF& area, qreal radius, int seed, qreal borderWidth);

// Text centred in rect.
void DrawCentredText(QPainter& p, const QRectF& rect, const QString& text, const QFont& font, QColor colour);

// The black-keyed shape: everything outside shape becomes exact black and
// nothing inside is dark enough to be taken for the key.
void ApplyShape(QImage& img, const QPainterPath& shape);

// A row of little overlapping waves (seigaiha) clipped to area.
void PaintWaves(QPainter& p, const QRectF& area, qreal radius, QColor line);

// A red sun with a soft rim.
void PaintSun(QPainter& p, QPointF centre, qreal radius);

// A stylised snow-capped mountain standing on base, peak at peak.
void PaintMountain(QPainter& p, QPointF peak, qreal halfWidth, qreal baseY, QColor body, QColor snow);

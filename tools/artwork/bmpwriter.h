// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QImage>
#include <QString>

// Writes img as an uncompressed 24-bit bottom-up BMP; true on success.
bool WriteBmp24(const QImage& img, const QString& path);

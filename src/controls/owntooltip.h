// SPDX-License-Identifier: GPL-3.0-or-later
// The custom controls show their tooltips themselves, so that a tip can be
// switched off or timed without losing its text.
#pragma once

#include <QEvent>
#include <QRect>
#include <QString>
#include <QWidget>

namespace lexoria {

// Answers a tool-tip event of widget: shows text (kept up while the mouse
// stays in area, a null area meaning the whole widget; for displayMs, -1 the
// platform's time) when active and the text is not empty, else hides any tip
// and lets the event go. True when event was a tool-tip event, which is then
// handled either way; false for every other event.
bool ShowOwnToolTip(QWidget& widget, QEvent& event, bool active, const QString& text, const QRect& area,
                    int displayMs = -1);

}  // namespace lexoria

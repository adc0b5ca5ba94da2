// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/owntooltip.h"

#include <QHelpEvent>
#include <QToolTip>

namespace lexoria {

bool ShowOwnToolTip(QWidget& widget, QEvent& event, bool active, const QString& text, const QRect& area,
                    int displayMs) {
  if (event.type() != QEvent::ToolTip) return false;
  if (active && !text.isEmpty()) {
    QToolTip::showText(static_cast<QHelpEvent&>(event).globalPos(), text, &widget, area, displayMs);
  } else {
    QToolTip::hideText();
    event.ignore();
  }
  return true;
}

}  // namespace lexoria

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>

// The colours of the look: indigo and vermilion on warm washi paper, with a
// little gold. No colour here is darker than the window-shape key (every
// component of black-keyed pixels is at most 16).
namespace pal {
inline const QColor kIndigoDeep{27, 38, 72};
inline const QColor kIndigo{38, 56, 102};
inline const QColor kIndigoSoft{64, 88, 146};
inline const QColor kIndigoMist{122, 142, 190};
inline const QColor kVermilion{206, 66, 42};
inline const QColor kVermilionDeep{160, 44, 28};
inline const QColor kVermilionGlow{236, 104, 70};
inline const QColor kGold{214, 176, 96};
inline const QColor kGoldPale{240, 214, 150};
inline const QColor kPaper{246, 238, 218};
inline const QColor kPaperLight{252, 247, 234};
inline const QColor kPaperShade{228, 214, 184};
inline const QColor kInk{40, 40, 58};
inline const QColor kKeyBlack{0, 0, 0};
}  // namespace pal

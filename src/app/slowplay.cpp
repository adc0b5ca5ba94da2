// SPDX-License-Identifier: GPL-3.0-or-later
// Slow playback: the "Play slowly" button beside play, Shift+click on play,
// and the one play path the new keys and the card share.
#include <QGuiApplication>

#include "app/wendarodlg.h"
#include "sound/tempostretch.h"

void CWendaroDlg::CreateSlowPlayButton() {
  lexoria::ControlSpec spec{kSlowPlayButtonId, lexoria::ControlKind::PushButton, QRect(), lexoria::style::kOwnerDraw,
                            "Play slowly"};
  QPushButton* button = CreatePushButton(spec, this);
  button->setAutoDefault(false);
  button->setDefault(false);
  button->setObjectName(QString::number(kSlowPlayButtonId));
  // Under the play button, a picture's height and a little gap lower; the
  // picture gives it its size when the buttons are set up.
  const QRect play = Control(1031)->geometry();
  button->setGeometry(play.left(), play.top() + 30, play.width(), play.height());
  controls_.insert(kSlowPlayButtonId, button);
  slowPlayButton_ = button;
}

void CWendaroDlg::OnPlayButton() {
  if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) {
    OnPlaySlowly();
  } else {
    OnPlay();
  }
}

// Beside the play button, it speaks the phrase on show as play does.
void CWendaroDlg::OnPlaySlowly() { PlayShown(lexoria::sound::kSlowTempo); }

// SPDX-License-Identifier: GPL-3.0-or-later
// Copying the phrase shown: Ctrl+C, and the menu on the Japanese text and
// the pronunciation.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "app/learning.h"
#include "app/phraseforms.h"
#include "app/wendarodlg.h"

void CWendaroDlg::WireCopyMenus() {
  for (QWidget* text : {static_cast<QWidget*>(japanese_), static_cast<QWidget*>(pronunciation_)}) {
    text->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(text, &QWidget::customContextMenuRequested, this,
            [this, text](const QPoint& pos) { ShowCopyMenu(text, pos); });
  }
}

void CWendaroDlg::OnCopyShown() { CopyText(ShownForms(book_).shown); }

// Nothing shown leaves the clipboard as it was.
void CWendaroDlg::CopyText(const QString& text) {
  if (text.isEmpty()) return;
  QGuiApplication::clipboard()->setText(text);
}

void CWendaroDlg::ShowCopyMenu(QWidget* control, const QPoint& pos) {
  const PhraseForms forms = ShownForms(book_);
  QMenu menu(this);
  const struct {
    const char* label;
    QString text;
  } entries[] = {
      {"Copy Japanese", forms.japanese}, {"Copy kana", forms.kana}, {"Copy romaji", forms.romaji},
      {"Copy English", forms.english},   {"Copy all", forms.All()},
  };
  for (const auto& entry : entries) {
    QAction* action = menu.addAction(QString::fromLatin1(entry.label));
    action->setEnabled(!forms.Empty());
    const QString text = entry.text;
    connect(action, &QAction::triggered, this, [this, text] { CopyText(text); });
  }
  if (control == japanese_ && learning_ != nullptr) learning_->AddFuriganaAction(menu);
  menu.exec(control->mapToGlobal(pos));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Export for a flashcard program, from the menu on the favourites button:
// the favourites or the category browsed, as phrases.tsv with a sound file
// per phrase in a folder the user picks.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>

#include "app/learning.h"
#include "app/practicedlg.h"
#include "app/wendarodlg.h"
#include "sound/clipexport.h"

std::function<QString(QWidget*, const QString&)>& CLearning::FolderChooser() {
  static std::function<QString(QWidget*, const QString&)> chooser = [](QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title);
  };
  return chooser;
}

void CLearning::ShowFavouritesMenu(const QPoint& globalPos) {
  QMenu menu(&dlg_);
  menu.addAction(QStringLiteral("Practice the favourites"), this, [this] {
    if (practice_ == nullptr) OnPractice();
    practice_->Start(0);
  });
  menu.addSeparator();
  menu.addAction(QStringLiteral("Export the favourites for flashcards..."), this, [this] { OnExport(0); });
  if (const std::int32_t code = CurrentSetCode(); code != 0) {
    const QString name = QString::fromLatin1(lexoria::ExportCategoryName(code));
    menu.addAction(QStringLiteral("Export %1 for flashcards...").arg(name), this, [this, code] { OnExport(code); });
  }
  menu.exec(globalPos);
}

bool CLearning::ExportTo(const QString& folder, std::int32_t code, QString& message) {
  std::vector<lexoria::ExportRow> rows;
  std::string error;
  bool done = PhraseRows(code, rows, error);
  if (done && rows.empty()) {
    error = code == 0 ? "there are no favourites to export" : "the category is empty";
    done = false;
  }
  const std::filesystem::path data = dlg_.book_.Folders().data;
  const auto readClip = [&data](std::int32_t n, std::vector<std::uint8_t>& stream, std::string& why) {
    const lexoria::sound::ClipStatus status = lexoria::sound::ExtractClipStream(data, n, stream);
    why = lexoria::sound::StatusName(status);
    return status == lexoria::sound::ClipStatus::Loaded;
  };
  if (done)
    done = lexoria::WriteExport(std::filesystem::path(QFile::encodeName(folder).toStdString()), rows, readClip, error);
  if (done) {
    message = QStringLiteral("%1 phrases exported to %2 with their recordings.")
                  .arg(rows.size())
                  .arg(QDir(folder).filePath(QString::fromLatin1(lexoria::kExportTableName)));
  } else {
    message = QStringLiteral("The export failed: %1.").arg(QString::fromStdString(error));
  }
  return done;
}

void CLearning::OnExport(std::int32_t code) {
  const QString title =
      code == 0 ? QStringLiteral("Export the favourites into")
                : QStringLiteral("Export %1 into").arg(QString::fromLatin1(lexoria::ExportCategoryName(code)));
  const QString folder = FolderChooser()(&dlg_, title);
  if (folder.isEmpty()) return;
  QString message;
  ExportTo(folder, code, message);
  // The message names the folder, which may be in any script.
  ShowMessage(&dlg_, message);
}

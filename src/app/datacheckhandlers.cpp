// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up check of the data files: the phrase files and the sound
// archive are checked once while the window initialises; a damaged one is
// named in one message shown once the window is up.
#include <QString>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/wendarodlg.h"
#include "data/datacheck.h"
#include "sound/archivecheck.h"

void CWendaroDlg::CheckDataFiles() {
  const lexoria::DataFolders& folders = book_.Folders();
  std::vector<std::string> damaged = lexoria::DamagedPhraseFiles(folders);
  const std::vector<std::string> archive = lexoria::sound::DamagedArchiveFiles(folders.data, lexoria::kPhraseCount);
  damaged.insert(damaged.end(), archive.begin(), archive.end());
  // Lines of a damaged English.dat or MapEngSpec.data do not match: the one
  // message stands for every line that cannot be found.
  const auto named = [&damaged](const char* name) {
    return std::find(damaged.begin(), damaged.end(), name) != damaged.end();
  };
  book_.SetPhraseFilesDamaged(named("English.dat") || named("MapEngSpec.data"));
  damageMessage_ = QString::fromStdString(lexoria::DamagedFilesMessage(damaged));
}

void CWendaroDlg::ReportDamagedFiles() {
  if (damageMessage_.isEmpty()) return;
  const std::string text = std::exchange(damageMessage_, QString()).toStdString();
  ShowMessage(text);
}

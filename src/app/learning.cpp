// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/learning.h"

#include <QDate>
#include <QDir>
#include <QEvent>
#include <QShortcut>
#include <QStandardPaths>

#include "app/practicedlg.h"
#include "app/wendarodlg.h"
#include "controls/hoverbutton.h"
#include "controls/rubystatic.h"
#include "data/practicedeck.h"
#include "data/reviewlog.h"
#include "toolkit/dialogtemplate.h"

namespace {

constexpr char kSettingsName[] = "settings.ini";

// The switches stay with the favourites in a run folder; installed, in the
// user's config folder, as the data folder's XDG sibling.
QString SettingsPath(const lexoria::AppPaths& paths) {
  if (paths.installed()) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           QString::fromLatin1(lexoria::kInstalledName) + QLatin1Char('/') + QString::fromLatin1(kSettingsName);
  }
  const QString folder = paths.favouritesFolder();
  return folder.isEmpty() ? QString::fromLatin1(kSettingsName)
                          : QDir(folder).filePath(QString::fromLatin1(kSettingsName));
}

// Recounts the due cards whenever the window becomes active again: another
// copy, or the practice window, may have changed the favourites or the
// history.
class ActivationHook : public QObject {
 public:
  ActivationHook(QObject* watched, CLearning& learning) : QObject(watched), learning_(learning) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate) learning_.UpdateDueCount();
    return false;
  }

 private:
  CLearning& learning_;
};

}  // namespace

CLearning::CLearning(CWendaroDlg& dlg) : QObject(&dlg), dlg_(dlg) {
  settings_ = std::make_unique<QSettings>(SettingsPath(dlg_.paths_), QSettings::IniFormat);
  LoadReadings();
  furiganaOn_ = FuriganaAvailable() && settings_->value(QStringLiteral("furigana/window"), false).toBool();
  cardFuriganaOn_ = FuriganaAvailable() && settings_->value(QStringLiteral("furigana/card"), false).toBool();
  if (auto* text = qobject_cast<CRubyStatic*>(dlg_.japanese_)) {
    text->SetReadingsLookup([this](const QString& shown) { return ReadingsOf(shown); });
    text->SetFuriganaShown(furiganaOn_);
  }
  CreatePracticeControls();

  const auto bind = [this](const QKeySequence& keys, void (CLearning::*handler)()) {
    auto* shortcut = new QShortcut(keys, &dlg_);
    connect(shortcut, &QShortcut::activated, this, handler);
  };
  bind(QKeySequence(Qt::CTRL | Qt::Key_K), &CLearning::OnToggleFurigana);
  bind(QKeySequence(Qt::CTRL | Qt::Key_P), &CLearning::OnPractice);
  new ActivationHook(&dlg_, *this);
  dlg_.favouritesButton_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(dlg_.favouritesButton_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { ShowFavouritesMenu(dlg_.favouritesButton_->mapToGlobal(pos)); });
  UpdateDueCount();
}

CLearning::~CLearning() = default;

void CLearning::CreatePracticeControls() {
  const lexoria::ControlSpec spec{kPracticeButtonId, lexoria::ControlKind::PushButton, QRect(),
                                  lexoria::style::kOwnerDraw, "Practice"};
  QPushButton* button = dlg_.CreatePushButton(spec, &dlg_);
  button->setAutoDefault(false);
  button->setDefault(false);
  button->setObjectName(QString::number(kPracticeButtonId));
  // In the left panel, between the seal and the wave pattern.
  button->move(25, 350);
  if (auto* hover = qobject_cast<CHoverButton*>(button)) {
    hover->LoadBitmap(kPracticeButtonId);
    hover->SetToolTipText(QStringLiteral("Practice the phrases (Ctrl+P)"), true);
  }
  connect(button, &QPushButton::clicked, this, &CLearning::OnPractice);
  button->setAccessibleName(QStringLiteral("Practice"));
  // Tab reaches it with the modes along the top, after Related.
  if (QWidget* related = dlg_.Control(1022)) QWidget::setTabOrder(related, button);
  button->show();
  dlg_.controls_.insert(kPracticeButtonId, button);
  practiceButton_ = button;

  dueLabel_ = new CTransparentStatic(lexoria::ss::kCenter | lexoria::ss::kNoPrefix, &dlg_);
  dueLabel_->setObjectName(QString::number(kDueCountId));
  dueLabel_->setGeometry(19, 378, 104, 16);
  QFont font = dlg_.LatinFont();
  font.setPixelSize(12);
  font.setBold(true);
  dueLabel_->setFont(font);
  dueLabel_->SetTextColour(0x96D6F0);  // pale gold
  dueLabel_->show();
  dlg_.controls_.insert(kDueCountId, dueLabel_);
}

void CLearning::ShowMessage(QWidget* owner, const QString& text) { dlg_.MessageBoxes().Show(owner, text); }

std::int32_t CLearning::Today() const {
  if (today_) return *today_;
  return static_cast<std::int32_t>(QDate::currentDate().toJulianDay() - QDate(1970, 1, 1).toJulianDay());
}

bool CLearning::PhraseRows(std::int32_t code, std::vector<lexoria::ExportRow>& rows, std::string& error) const {
  const lexoria::DataFolders& folders = dlg_.book_.Folders();
  return code == 0 ? lexoria::FavouriteExportRows(folders, rows, error)
                   : lexoria::CategoryExportRows(folders, code, rows, error);
}

std::filesystem::path CLearning::HistoryFolder() const { return dlg_.book_.Folders().favourites; }

void CLearning::UpdateDueCount() {
  std::vector<lexoria::ExportRow> rows;
  std::string error;
  std::vector<std::int32_t> phrases;
  if (PhraseRows(0, rows, error))
    for (const lexoria::ExportRow& row : rows) phrases.push_back(row.number);
  std::vector<lexoria::ReviewEntry> history;
  lexoria::ReviewLog(HistoryFolder()).Read(history);
  const auto states = lexoria::ReplayReviews(history, lexoria::fsrs::Scheduler());
  dueCount_ = static_cast<int>(lexoria::DueCards(phrases, states, Today(), history).size());
  if (dueLabel_ == nullptr) return;
  if (phrases.empty()) {
    dueLabel_->SetText(QString());
  } else if (dueCount_ == 0) {
    dueLabel_->SetText(QStringLiteral("Nothing due"));
  } else {
    dueLabel_->SetText(QStringLiteral("%1 due").arg(dueCount_));
  }
  dueLabel_->setAccessibleName(QStringLiteral("Favourites due for practice: %1").arg(dueCount_));
  if (practiceButton_ != nullptr) practiceButton_->setAccessibleDescription(dueLabel_->Text());
}

std::int32_t CLearning::CurrentSetCode() const {
  const lexoria::PhraseBook& book = dlg_.book_;
  const std::int32_t code = book.CategoryCode();
  if (book.ViewMode() == lexoria::kViewBrowse && code >= 100 && code <= 1000 && lexoria::ExportCategoryName(code))
    return code;
  return 0;
}

std::int32_t CLearning::PracticeSetCode() const {
  std::vector<lexoria::ExportRow> rows;
  std::string error;
  return PhraseRows(0, rows, error) && !rows.empty() ? 0 : CurrentSetCode();
}

void CLearning::OnPractice() {
  if (practice_ == nullptr) {
    practice_ = new CPracticeDlg(*this, &dlg_);
    connect(practice_, &CPracticeDlg::closed, this, [this] {
      RestoreShownClip();
      UpdateDueCount();
    });
  }
  practice_->Start(PracticeSetCode());
}

void CLearning::PlayPhrase(std::int32_t n) {
  lexoria::sound::CWavePlayer& player = dlg_.player_;
  dlg_.LoadClip(n);
  if (dlg_.book_.CurrentClip() != n) return;  // LoadClip said why
  if (!player.DeviceReady()) player.ReopenDevice();
  player.Stop();
  player.Start();
}

void CLearning::RestoreShownClip() {
  if (dlg_.book_.PhraseSelected() && dlg_.book_.CurrentPhrase() > 0) dlg_.LoadClip(dlg_.book_.CurrentPhrase());
}

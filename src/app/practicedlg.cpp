// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/practicedlg.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/learning.h"
#include "controls/rubystatic.h"
#include "controls/rubytext.h"
#include "data/reviewlog.h"
#include "toolkit/dialogtemplate.h"
#include "toolkit/strings.h"

namespace {

using lexoria::CardKind;
using lexoria::fsrs::Rating;

const QColor kPaper(252, 247, 234);
const QColor kInk(27, 38, 72);
const QColor kSoftInk(90, 96, 120);
const QColor kVermilion(206, 66, 42);
constexpr int kWidth = 620;
constexpr int kHeight = 430;

constexpr const char* kRatingNames[4] = {"Again", "Hard", "Good", "Easy"};

// "1 d", "12 d", "3 mo", "1.5 y": the wait a rating gives, briefly.
QString Wait(std::int32_t days) {
  if (days < 31) return QStringLiteral("%1 d").arg(days);
  if (days < 365) return QStringLiteral("%1 mo").arg(qRound(days / 30.4));
  return QStringLiteral("%1 y").arg(days / 365.0, 0, 'f', 1);
}

QString Cleaned(const std::u16string& text) {
  QString s = lexoria::ToQString(text);
  s.remove(QChar(0xFEFF));
  s.remove(QLatin1Char('['));
  s.remove(QLatin1Char(']'));
  s.remove(QLatin1Char('\r'));
  return s.trimmed();
}

QLabel* MakeLabel(QWidget* parent, const QRect& where, int pixels, bool bold, const QColor& colour) {
  auto* label = new QLabel(parent);
  label->setGeometry(where);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  QFont font = label->font();
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(pixels);
  font.setBold(bold);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

}  // namespace

CPracticeDlg::CPracticeDlg(CLearning& learning, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::Dialog), learning_(learning) {
  setWindowTitle(QStringLiteral("Lexoria_Japanese - Practice"));
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFocusPolicy(Qt::StrongFocus);

  set_ = new QComboBox(this);
  set_->setGeometry(20, 16, 180, 26);
  set_->setFocusPolicy(Qt::ClickFocus);
  set_->setAccessibleName(QStringLiteral("Phrases to practise"));
  set_->addItem(QStringLiteral("Favourites"), 0);
  for (int code = 100; code <= 1000; code += 100)
    set_->addItem(QString::fromLatin1(lexoria::ExportCategoryName(code)), code);
  connect(set_, &QComboBox::activated, this, [this](int index) {
    Start(set_->itemData(index).toInt());
    setFocus(Qt::OtherFocusReason);
  });
  progress_ = MakeLabel(this, QRect(kWidth - 220, 16, 200, 26), 13, false, kSoftInk);
  progress_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  kind_ = MakeLabel(this, QRect(20, 56, kWidth - 40, 20), 13, true, kVermilion);
  english_ = MakeLabel(this, QRect(30, 84, kWidth - 60, 70), 24, false, kInk);
  japanese_ = new CRubyStatic(lexoria::ss::kCenter | lexoria::ss::kNoPrefix, this);
  japanese_->setGeometry(30, 160, kWidth - 60, 86);
  QFont japaneseFont = japanese_->font();
  japaneseFont.setFamilies({QStringLiteral("Ms Hei"), QStringLiteral("IPAexGothic")});
  japaneseFont.setPixelSize(28);
  japanese_->setFont(japaneseFont);
  japanese_->SetTextColour(0x48261B);  // the ink, as 0x00BBGGRR
  japanese_->SetReadingsLookup([this](const QString& shown) -> std::optional<lexoria::RubyText> {
    const lexoria::ExportRow* row = CurrentRow();
    if (row == nullptr) return std::nullopt;
    std::optional<lexoria::RubyText> ruby = learning_.ReadingsOfPhrase(row->number);
    if (!ruby || PlainTextOf(*ruby).trimmed() != shown.trimmed()) return std::nullopt;
    return ruby;
  });
  kana_ = MakeLabel(this, QRect(30, 248, kWidth - 60, 24), 16, false, kSoftInk);
  kana_->setFont([&] {
    QFont f = japaneseFont;
    f.setPixelSize(16);
    return f;
  }());
  romaji_ = MakeLabel(this, QRect(30, 274, kWidth - 60, 24), 16, false, kSoftInk);
  prompt_ = MakeLabel(this, QRect(30, 306, kWidth - 60, 22), 13, false, kSoftInk);

  showButton_ = new QPushButton(QStringLiteral("Show the answer  (Space)"), this);
  showButton_->setGeometry(kWidth / 2 - 120, 346, 240, 52);
  showButton_->setFocusPolicy(Qt::NoFocus);
  connect(showButton_, &QPushButton::clicked, this, &CPracticeDlg::Reveal);
  const int buttonWidth = 130, gap = 12;
  const int left = (kWidth - 4 * buttonWidth - 3 * gap) / 2;
  for (int i = 0; i < 4; ++i) {
    auto* button = new QPushButton(this);
    button->setGeometry(left + i * (buttonWidth + gap), 346, buttonWidth, 52);
    button->setFocusPolicy(Qt::NoFocus);
    const auto rating = static_cast<Rating>(i + 1);
    connect(button, &QPushButton::clicked, this, [this, rating] { Rate(rating); });
    rateButtons_[static_cast<std::size_t>(i)] = button;
  }
}

CPracticeDlg::~CPracticeDlg() = default;

bool CPracticeDlg::Finished() const { return session_ == nullptr || session_->Finished(); }

void CPracticeDlg::Start(std::int32_t code) {
  code_ = code;
  set_->setCurrentIndex(std::max(0, set_->findData(code)));
  BuildSession();
  // Over the main window, as a dialog of it.
  if (!isVisible() && parentWidget() != nullptr) {
    const QRect owner = parentWidget()->frameGeometry();
    move(owner.center() - QPoint(kWidth / 2, kHeight / 2));
  }
  show();
  raise();
  activateWindow();
  setFocus(Qt::ActiveWindowFocusReason);
  ShowCurrent();
}

void CPracticeDlg::BuildSession() {
  rows_.clear();
  std::vector<lexoria::ExportRow> rows;
  std::string error;
  learning_.PhraseRows(code_, rows, error);
  std::vector<std::int32_t> phrases;
  for (lexoria::ExportRow& row : rows) {
    phrases.push_back(row.number);
    rows_.emplace(row.number, std::move(row));
  }
  std::vector<lexoria::ReviewEntry> history;
  lexoria::ReviewLog(learning_.HistoryFolder()).Read(history);
  auto states = lexoria::ReplayReviews(history, lexoria::fsrs::Scheduler());
  std::vector<lexoria::CardKey> cards = lexoria::DueCards(phrases, states, learning_.Today(), history);
  session_ = std::make_unique<lexoria::PracticeSession>(std::move(cards), std::move(states), learning_.Today());
}

const lexoria::ExportRow* CPracticeDlg::CurrentRow() const {
  if (Finished()) return nullptr;
  const auto it = rows_.find(session_->Current().phrase);
  return it == rows_.end() ? nullptr : &it->second;
}

void CPracticeDlg::ShowCurrent() {
  revealed_ = false;
  const lexoria::ExportRow* row = CurrentRow();
  const bool finished = row == nullptr;
  japanese_->SetFuriganaShown(learning_.FuriganaOn());
  for (QPushButton* b : rateButtons_) b->setVisible(false);
  showButton_->setVisible(!finished);
  kana_->clear();
  romaji_->clear();
  japanese_->SetText(QString());
  if (finished) {
    kind_->setText(QString());
    progress_->setText(QString());
    english_->setText(session_ != nullptr && session_->Reviewed() > 0
                          ? QStringLiteral("Done for today: %1 cards reviewed.").arg(session_->Reviewed())
                          : QStringLiteral("Nothing to practise here today."));
    prompt_->setText(code_ == 0 && rows_.empty() ? QStringLiteral("Add phrases to the favourites to practise them.")
                                                 : QStringLiteral("Escape closes."));
    setAccessibleDescription(english_->text());
    update();
    return;
  }
  progress_->setText(QStringLiteral("%1 to go, %2 done").arg(session_->Remaining()).arg(session_->Reviewed()));
  if (session_->Current().kind == CardKind::Say) {
    kind_->setText(QStringLiteral("SAY IT IN JAPANESE"));
    english_->setText(Cleaned(row->english));
    prompt_->setText(QStringLiteral("Say it aloud, then Space shows the Japanese and plays it."));
  } else {
    kind_->setText(QStringLiteral("LISTEN: WHAT DOES IT MEAN?"));
    english_->setText(QString());
    prompt_->setText(QStringLiteral("Space shows the English. R plays it again."));
    Replay();
  }
  setAccessibleDescription(kind_->text() + QLatin1Char(' ') + english_->text());
  update();
}

void CPracticeDlg::Reveal() {
  const lexoria::ExportRow* row = CurrentRow();
  if (row == nullptr || revealed_) return;
  revealed_ = true;
  english_->setText(Cleaned(row->english));
  japanese_->SetText(Cleaned(row->japanese));
  japanese_->setAccessibleName(japanese_->Text());
  kana_->setText(Cleaned(row->kana) == Cleaned(row->japanese) ? QString() : Cleaned(row->kana));
  romaji_->setText(Cleaned(row->romaji));
  prompt_->setText(QStringLiteral("How well did you know it?  1 Again  2 Hard  3 Good  4 Easy   (R plays it again)"));
  showButton_->setVisible(false);
  for (int i = 0; i < 4; ++i) {
    const auto rating = static_cast<Rating>(i + 1);
    QPushButton* button = rateButtons_[static_cast<std::size_t>(i)];
    button->setText(QStringLiteral("%1  %2\n%3")
                        .arg(i + 1)
                        .arg(QString::fromLatin1(kRatingNames[i]))
                        .arg(Wait(session_->IntervalIf(rating))));
    button->setAccessibleName(QStringLiteral("%1, next in %2")
                                  .arg(QString::fromLatin1(kRatingNames[i]))
                                  .arg(Wait(session_->IntervalIf(rating))));
    button->setVisible(true);
  }
  if (session_->Current().kind == CardKind::Say) Replay();
  setAccessibleDescription(english_->text() + QLatin1Char(' ') + japanese_->Text());
}

void CPracticeDlg::Rate(Rating rating) {
  if (!revealed_ || Finished()) return;
  const lexoria::ReviewEntry entry = session_->Rate(rating);
  const lexoria::ReviewLogResult saved = lexoria::ReviewLog(learning_.HistoryFolder()).Append(entry);
  lastError_.clear();
  if (saved != lexoria::ReviewLogResult::Done) {
    // The session goes on; the user knows this rating is not kept.
    lastError_ = QString::fromLatin1(lexoria::ReviewLogMessage(saved));
    learning_.ShowMessage(this, lastError_);
  }
  ShowCurrent();
}

void CPracticeDlg::Replay() {
  if (const lexoria::ExportRow* row = CurrentRow()) learning_.PlayPhrase(row->number);
}

// The practice keys are this window's own.
bool CPracticeDlg::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Space:
      case Qt::Key_1:
      case Qt::Key_2:
      case Qt::Key_3:
      case Qt::Key_4:
      case Qt::Key_R:
      case Qt::Key_Escape: event->accept(); return true;
      default: break;
    }
  }
  return QWidget::event(event);
}

void CPracticeDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space: Reveal(); break;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4: Rate(static_cast<Rating>(event->key() - Qt::Key_0)); break;
    case Qt::Key_R: Replay(); break;
    case Qt::Key_Escape: close(); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void CPracticeDlg::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kPaper);
  p.setPen(QPen(kVermilion, 2));
  p.drawLine(QPointF(20, 48), QPointF(kWidth - 20, 48));
  p.setPen(QPen(QColor(214, 176, 96), 1));
  p.drawRoundedRect(QRectF(12.5, 52.5, kWidth - 25, 284), 8, 8);
}

void CPracticeDlg::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  emit closed();
}

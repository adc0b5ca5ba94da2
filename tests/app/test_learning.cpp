// SPDX-License-Identifier: GPL-3.0-or-later
// Learning before the trip, on the real window: furigana over the Japanese
// (and their layout), the practice window and its history, the due count,
// and export from the menu on the favourites.
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "app/learning.h"
#include "app/practicedlg.h"
#include "app/showcard.h"
#include "controls/rubystatic.h"
#include "controls/rubytext.h"
#include "controls/transparentstatic.h"
#include "data/readings.h"
#include "data/records.h"
#include "data/reviewlog.h"
#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::Window;

namespace {

constexpr int kToday = 20000;

void WriteText(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Readings for the fixture's phrases 10 and 11: their kanji rendering is
// "Kanji <n>", so the word is marked out with ｜.
void WriteReadings(const DataFolder& data) {
  WriteText(data.File("Readings.txt"), QStringLiteral("0010\t｜Kanji{かんじ} 10\n0011\t｜Kanji{かんじ} 11\n").toUtf8());
}

void WriteFavourites(const DataFolder& data, const std::vector<std::pair<QString, int>>& favourites) {
  QByteArray bytes;
  for (const auto& [text, n] : favourites) {
    const lexoria::EnglishBytes record = lexoria::EncodeEnglishRecord(text.toStdU16String(), n);
    bytes.append(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
  }
  WriteText(data.File("favorite.dat"), bytes);
}

void ShowLine(Window& w, const QString& text) {
  const int row = static_cast<int>(w.Lines().indexOf(text));
  QVERIFY2(row >= 0, qPrintable(text));
  w.ClickLine(row);
}

CRubyStatic* JapaneseText(Window& w) { return qobject_cast<CRubyStatic*>(w.Dlg().Control(1033)); }

// Opens the context menu of a control; the entries' texts and whether each
// is enabled and checked, then triggers `trigger` when given.
QStringList MenuOf(QWidget* control, const QString& trigger = {}) {
  QStringList entries;
  QTimer::singleShot(0, control, [&entries, trigger] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      entries << action->text() + (action->isEnabled() ? "" : " (disabled)") + (action->isChecked() ? " (on)" : "");
      if (action->text() == trigger) chosen = action;
    }
    menu->close();
    if (chosen != nullptr) chosen->trigger();
  });
  const QPoint at = control->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, control->mapToGlobal(at));
  QApplication::sendEvent(control, &event);
  return entries;
}

lexoria::RubyText Ruby(const QString& annotated) {
  lexoria::RubyText segments;
  lexoria::ParseAnnotated(annotated.toStdU16String(), segments);
  return segments;
}

}  // namespace

class LearningTest : public QObject {
  Q_OBJECT

 private slots:
  void rubyLayoutPutsEachReadingAboveItsWord();
  void rubyLayoutNeverBreaksAWordFromItsReading();
  void furiganaSwitchedByKeyAndMenuAndRemembered();
  void withoutReadingsTheSwitchIsDisabled();
  void furiganaOnlyOverTheKanjiRenderingAndItsOwnSentence();
  void screenReadersReadThePlainSentence();
  void cardShowsFuriganaAsAnOption();
  void practiceSayCardRevealsPlaysAndRates();
  void practiceHearCardPlaysFirstAndDueCountFalls();
  void practiceOverACategoryAndWithNothingDue();
  void exportFromTheFavouritesMenu();
};

void LearningTest::rubyLayoutPutsEachReadingAboveItsWord() {
  QFont font;
  font.setFamilies({QStringLiteral("IPAexGothic")});
  font.setPixelSize(24);
  const CRubyLayout layout(Ruby(QStringLiteral("駅{えき}へはどう行{い}けばいいですか？")), font, 2000);
  QCOMPARE(layout.LineCount(), 1);
  QCOMPARE(layout.PlainText(), QStringLiteral("駅へはどう行けばいいですか？"));
  int readings = 0;
  for (const RubyPiece& p : layout.Pieces()) {
    if (p.reading.isEmpty()) continue;
    ++readings;
    // Above its own word, centred on it, in the smaller font.
    QVERIFY(p.readingRect.bottom() <= p.baseRect.top() + 0.01);
    QVERIFY(qAbs(p.readingRect.center().x() - p.baseRect.center().x()) < 0.5);
    QVERIFY(p.readingRect.height() < p.baseRect.height());
  }
  QCOMPARE(readings, 2);
  // Pieces follow one another without overlapping.
  qreal right = 0;
  for (const RubyPiece& p : layout.Pieces()) {
    const qreal left = std::min(p.baseRect.left(), p.reading.isEmpty() ? p.baseRect.left() : p.readingRect.left());
    QVERIFY(left >= right - 0.01);
    right = std::max(p.baseRect.right(), p.reading.isEmpty() ? 0.0 : p.readingRect.right());
  }
}

void LearningTest::rubyLayoutNeverBreaksAWordFromItsReading() {
  QFont font;
  font.setFamilies({QStringLiteral("IPAexGothic")});
  font.setPixelSize(22);
  // A reading far wider than its word, in a narrow column: many lines.
  const lexoria::RubyText ruby =
      Ruby(QStringLiteral("この近{ちか}くに東京駅{とうきょうえき}行{い}きのバスはありますか？お願{ねが}いします。"));
  for (int width : {60, 90, 140, 200}) {
    const CRubyLayout layout(ruby, font, width);
    QVERIFY2(layout.LineCount() > 1, qPrintable(QString::number(width)));
    QCOMPARE(layout.PlainText(), PlainTextOf(ruby));
    for (const RubyPiece& p : layout.Pieces()) {
      if (p.reading.isEmpty()) continue;
      // The word and its reading share one piece, hence one line, and the
      // reading sits in that line's reading band.
      QVERIFY(p.readingRect.bottom() <= p.baseRect.top() + 0.01);
      QVERIFY(p.baseRect.top() - p.readingRect.top() < font.pixelSize());
    }
    // No line starts with a closing mark.
    int line = -1;
    for (const RubyPiece& p : layout.Pieces()) {
      if (p.line != line)
        QVERIFY2(!p.base.startsWith(QChar(0x3002)) && !p.base.startsWith(QChar(0xFF1F)), qPrintable(p.base));
      line = p.line;
    }
  }
  // A size is found that fits a room, and it shrinks with the room.
  const int roomy = CRubyLayout::FittingPixelSize(ruby, font, QSizeF(600, 200), 40, 8);
  const int tight = CRubyLayout::FittingPixelSize(ruby, font, QSizeF(300, 60), 40, 8);
  QVERIFY(roomy > tight);
  font.setPixelSize(tight);
  QVERIFY(CRubyLayout(ruby, font, 300).Size().height() <= 60);
}

void LearningTest::furiganaSwitchedByKeyAndMenuAndRemembered() {
  DataFolder data;
  WriteReadings(data);
  {
    Window w;
    CLearning* learning = w.Dlg().Learning();
    QVERIFY(learning != nullptr);
    QVERIFY(learning->FuriganaAvailable());
    QVERIFY(!learning->FuriganaOn());
    ShowLine(w, QStringLiteral("Hello"));
    CRubyStatic* text = JapaneseText(w);
    QVERIFY(text != nullptr);
    QVERIFY(!text->DrawsReadings());
    QTest::keyClick(&w.Dlg(), Qt::Key_K, Qt::ControlModifier);
    QVERIFY(learning->FuriganaOn());
    QVERIFY(text->DrawsReadings());
    QCOMPARE(text->ShownReadings()->at(0).reading, std::u16string(u"かんじ"));
    // The menu on the Japanese shows the switch on, and turns it off.
    const QStringList entries = MenuOf(text, QStringLiteral("Show furigana\tCtrl+K"));
    QVERIFY2(entries.contains(QStringLiteral("Show furigana\tCtrl+K (on)")), qPrintable(entries.join('|')));
    QVERIFY(!learning->FuriganaOn());
    learning->OnToggleFurigana();
    QVERIFY(w.TakeMessages().isEmpty());
  }
  QCOMPARE(QSettings(data.File("settings.ini"), QSettings::IniFormat).value("furigana/window").toBool(), true);
  Window again;
  QVERIFY(again.Dlg().Learning()->FuriganaOn());
}

void LearningTest::withoutReadingsTheSwitchIsDisabled() {
  DataFolder data;
  Window w;
  QVERIFY(!w.Dlg().Learning()->FuriganaAvailable());
  QTest::keyClick(&w.Dlg(), Qt::Key_K, Qt::ControlModifier);
  QVERIFY(!w.Dlg().Learning()->FuriganaOn());
  const QStringList entries = MenuOf(JapaneseText(w));
  QVERIFY2(entries.contains(QStringLiteral("Show furigana\tCtrl+K (disabled)")), qPrintable(entries.join('|')));
  QVERIFY(w.TakeMessages().isEmpty());
}

void LearningTest::furiganaOnlyOverTheKanjiRenderingAndItsOwnSentence() {
  DataFolder data;
  // Phrase 11's readings are for a sentence that is not its own.
  WriteText(data.File("Readings.txt"), QStringLiteral("0010\t｜Kanji{かんじ} 10\n0011\t別{べつ}\n").toUtf8());
  Window w;
  w.Dlg().Learning()->SetFuriganaOn(true);
  ShowLine(w, QStringLiteral("Hello"));
  QVERIFY(JapaneseText(w)->DrawsReadings());
  // The kana rendering: no furigana; back to kanji: furigana again.
  w.Dlg().OnSecondFormClicked();
  QVERIFY(!JapaneseText(w)->DrawsReadings());
  w.Dlg().OnFirstFormClicked();
  QVERIFY(JapaneseText(w)->DrawsReadings());
  ShowLine(w, QStringLiteral("Hello, how are you?"));
  QVERIFY(!JapaneseText(w)->DrawsReadings());
  // Drawn, the readings cost pixels above the text: it paints something.
  ShowLine(w, QStringLiteral("Hello"));
  const QImage shot = JapaneseText(w)->grab().toImage();
  QVERIFY(!shot.isNull());
}

void LearningTest::screenReadersReadThePlainSentence() {
  DataFolder data;
  WriteReadings(data);
  Window w;
  w.Dlg().Learning()->SetFuriganaOn(true);
  ShowLine(w, QStringLiteral("Hello"));
  CRubyStatic* text = JapaneseText(w);
  QVERIFY(text->DrawsReadings());
  QCOMPARE(text->Text().trimmed(), QStringLiteral("Kanji 10"));
  QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(text);
  QVERIFY(a11y != nullptr);
  for (QAccessible::Text role : {QAccessible::Name, QAccessible::Description, QAccessible::Value})
    QVERIFY2(!a11y->text(role).contains(QStringLiteral("かんじ")), qPrintable(a11y->text(role)));
}

void LearningTest::cardShowsFuriganaAsAnOption() {
  DataFolder data;
  WriteReadings(data);
  Window w;
  ShowLine(w, QStringLiteral("Hello"));
  w.Dlg().OnShowCard();
  CShowCard* card = w.Dlg().Card();
  QVERIFY(card != nullptr);
  QVERIFY(!card->DrawsReadings());
  QVERIFY(!card->Kana().isEmpty());
  QTest::keyClick(card, Qt::Key_F);
  QVERIFY(w.Dlg().Learning()->CardFuriganaOn());
  QVERIFY(card->DrawsReadings());
  QVERIFY(card->Kana().isEmpty());  // the readings spell it in place
  QVERIFY(card->JapanesePixelSize() > 0);
  QTest::keyClick(card, Qt::Key_F);
  QVERIFY(!card->DrawsReadings());
  QTest::keyClick(card, Qt::Key_Escape);
  QVERIFY(w.Dlg().isVisible());
}

void LearningTest::practiceSayCardRevealsPlaysAndRates() {
  DataFolder data;
  WriteFavourites(data, {{QStringLiteral("Hello"), 10}, {QStringLiteral("Hello, how are you?"), 11}});
  Window w;
  CLearning* learning = w.Dlg().Learning();
  learning->SetToday(kToday);
  learning->UpdateDueCount();
  QCOMPARE(learning->DueCount(), 2);
  QCOMPARE(learning->DueLabel()->Text(), QStringLiteral("2 due"));
  QVERIFY(learning->PracticeButton() != nullptr);
  QVERIFY(w.Dlg().Control(CLearning::kPracticeButtonId) == learning->PracticeButton());

  QTest::keyClick(&w.Dlg(), Qt::Key_P, Qt::ControlModifier);
  CPracticeDlg* practice = learning->Practice();
  QVERIFY(practice != nullptr);
  QVERIFY(practice->isVisible());
  QCOMPARE(practice->SetCode(), 0);
  QCOMPARE(practice->EnglishLabel()->text(), QStringLiteral("Hello"));
  QVERIFY(practice->JapaneseText()->Text().isEmpty());
  // Rating before the reveal does nothing.
  QTest::keyClick(practice, Qt::Key_3);
  QVERIFY(!QFile::exists(data.File("reviews.tsv")));

  const std::size_t before = w.Sound().Writes().size();
  QTest::keyClick(practice, Qt::Key_Space);
  QVERIFY(practice->Revealed());
  QCOMPARE(practice->JapaneseText()->Text(), QStringLiteral("Kanji 10"));
  QVERIFY(w.Sound().Writes().size() > before);
  QVERIFY(practice->RateButton(3)->isVisible());
  QVERIFY(practice->RateButton(3)->text().contains(QStringLiteral("3 d")));

  QTest::keyClick(practice, Qt::Key_3);
  std::vector<lexoria::ReviewEntry> history;
  QCOMPARE(lexoria::ReviewLog().Read(history), lexoria::ReviewLogResult::Done);
  QCOMPARE(history.size(), std::size_t{1});
  QCOMPARE(history[0].card.phrase, 10);
  QCOMPARE(history[0].card.kind, lexoria::CardKind::Say);
  QCOMPARE(history[0].day, kToday);
  QCOMPARE(history[0].rating, lexoria::fsrs::Rating::Good);
  QCOMPARE(practice->EnglishLabel()->text(), QStringLiteral("Hello, how are you?"));

  // Again brings the card back at the end; Easy then ends it.
  QTest::keyClick(practice, Qt::Key_Space);
  QTest::keyClick(practice, Qt::Key_1);
  QVERIFY(!practice->Finished());
  QCOMPARE(practice->EnglishLabel()->text(), QStringLiteral("Hello, how are you?"));
  QTest::keyClick(practice, Qt::Key_Space);
  QTest::keyClick(practice, Qt::Key_4);
  QVERIFY(practice->Finished());
  QVERIFY(practice->EnglishLabel()->text().contains(QStringLiteral("3 cards reviewed")));
  QTest::keyClick(practice, Qt::Key_Escape);
  QVERIFY(!practice->isVisible());
  QVERIFY(w.Dlg().isVisible());
  QCOMPARE(learning->DueCount(), 0);
  QCOMPARE(learning->DueLabel()->Text(), QStringLiteral("Nothing due"));
  QVERIFY(w.TakeMessages().isEmpty());
}

void LearningTest::practiceHearCardPlaysFirstAndDueCountFalls() {
  DataFolder data;
  WriteFavourites(data, {{QStringLiteral("Hello"), 10}});
  // Seen yesterday: its Hear card is new today, its Say card not yet due.
  WriteText(data.File("reviews.tsv"), QByteArray("10\tsay\t") + QByteArray::number(kToday - 1) + "\t3\n");
  Window w;
  CLearning* learning = w.Dlg().Learning();
  learning->SetToday(kToday);
  learning->UpdateDueCount();
  QCOMPARE(learning->DueCount(), 1);
  const std::size_t before = w.Sound().Writes().size();
  learning->OnPractice();
  CPracticeDlg* practice = learning->Practice();
  QVERIFY(practice->Session()->Current().kind == lexoria::CardKind::Hear);
  // The recording plays at once; the meaning stays hidden until Space.
  QVERIFY(w.Sound().Writes().size() > before);
  QVERIFY(practice->EnglishLabel()->text().isEmpty());
  QTest::keyClick(practice, Qt::Key_R);
  QTest::keyClick(practice, Qt::Key_Space);
  QCOMPARE(practice->EnglishLabel()->text(), QStringLiteral("Hello"));
  QTest::keyClick(practice, Qt::Key_2);
  QVERIFY(practice->Finished());
  practice->close();
  QCOMPARE(learning->DueCount(), 0);
  // The main window's phrase is back in the player for Play.
  QCOMPARE(w.Dlg().Book().CurrentClip(), w.Dlg().Book().CurrentPhrase());
}

void LearningTest::practiceOverACategoryAndWithNothingDue() {
  DataFolder data;
  Window w;
  CLearning* learning = w.Dlg().Learning();
  learning->SetToday(kToday);
  // No favourites: nothing to practise, and the window says how to begin.
  learning->OnPractice();
  CPracticeDlg* practice = learning->Practice();
  QCOMPARE(practice->SetCode(), 100);  // the category browsed
  QVERIFY(!practice->Finished());
  practice->Start(0);
  QVERIFY(practice->Finished());
  QVERIFY(practice->PromptLabel()->text().contains(QStringLiteral("favourites")));
  QCOMPARE(learning->DueLabel()->Text(), QString());
  // A category offers its new cards, at most the day's share.
  practice->Start(200);
  QCOMPARE(practice->Session()->Remaining(), std::size_t{lexoria::kNewCardsPerDay});
}

void LearningTest::exportFromTheFavouritesMenu() {
  DataFolder data;
  WriteFavourites(data, {{QStringLiteral("Hello"), 10}, {QStringLiteral("Hello, how are you?"), 11}});
  Window w;
  const QString out = data.File("deck");
  CLearning::FolderChooser() = [&out](QWidget*, const QString&) { return out; };
  const QStringList entries = MenuOf(w.Dlg().Control(1026), QStringLiteral("Export the favourites for flashcards..."));
  QVERIFY2(entries.contains(QStringLiteral("Export the favourites for flashcards...")), qPrintable(entries.join('|')));
  QVERIFY2(entries.contains(QStringLiteral("Export Basic for flashcards...")), qPrintable(entries.join('|')));
  QFile table(out + "/phrases.tsv");
  QVERIFY(table.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(table.readAll()).split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 3 + 2);
  QCOMPARE(lines[3], QStringLiteral("Hello\tKanji 10\tKana 10\tPron 10\t[sound:0010.mp3]"));
  QVERIFY(QFile::exists(out + "/0010.mp3"));
  QVERIFY(QFile::exists(out + "/0011.mp3"));
  QStringList messages = w.TakeMessages();
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].startsWith(QStringLiteral("2 phrases exported")), qPrintable(messages[0]));

  // No favourites: said, nothing written.
  QFile::remove(data.File("favorite.dat"));
  const QString empty = data.File("empty");
  CLearning::FolderChooser() = [&empty](QWidget*, const QString&) { return empty; };
  w.Dlg().Learning()->OnExport(0);
  messages = w.TakeMessages();
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].contains(QStringLiteral("no favourites")), qPrintable(messages[0]));
  QVERIFY(!QFile::exists(empty + "/phrases.tsv"));
  // Cancelled: nothing at all.
  CLearning::FolderChooser() = [](QWidget*, const QString&) { return QString(); };
  w.Dlg().Learning()->OnExport(0);
  QVERIFY(w.TakeMessages().isEmpty());
}

QTEST_MAIN(LearningTest)
#include "test_learning.moc"

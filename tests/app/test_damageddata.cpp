// SPDX-License-Identifier: GPL-3.0-or-later
// The window over damaged data: the start-up check's one message, nothing
// stale after a failed lookup or a clip that failed to load, and no garbage
// shown from a damaged file.
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include "windowfixture.h"

using windowtest::DataFolder;
using windowtest::Window;

class DamagedDataTest : public QObject {
  Q_OBJECT

 private slots:
  void aFailedLookupLeavesNothingForStarPlayOrRelated();
  void aClipThatFailsLeavesPlaySilentWithItsMessage();
  void damagedFiles_data();
  void damagedFiles();
};

namespace {

QString Damaged(const QString& file) {
  return QString("The data file %1 is damaged. Please reinstall the program!").arg(file);
}

// Overwrites `length` bytes at `offset` (the whole file for length < 0) with
// 0xFF, or cuts the file there when cut is set.
void Damage(const QString& path, qint64 offset, qint64 length, bool cut = false) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) qFatal("cannot open %s", qPrintable(path));
  if (cut) {
    file.resize(offset);
    return;
  }
  if (length < 0) length = file.size() - offset;
  file.seek(offset);
  file.write(QByteArray(static_cast<qsizetype>(length), '\xFF'));
}

}  // namespace

// Mended: after "This phrase can't be found" the star stored the phrase
// shown before, and Play and Related used it too.
void DamagedDataTest::aFailedLookupLeavesNothingForStarPlayOrRelated() {
  DataFolder data;
  Damage(data.File("English.dat"), 154 * 124, 124);  // phrase 155, Travel's first
  Window w;
  QCOMPARE(w.Messages(), QStringList{Damaged("English.dat")});
  QVERIFY(w.MessagesBeforeShown().isEmpty());
  w.TakeMessages();
  w.ClickLine(3);  // a phrase shown and played: something to go stale
  w.Click(1031);
  w.Sound().ClearLog();
  const auto writes = w.Sound().Writes().size();

  w.Click(1102);  // Travel: its first line cannot be found
  QCOMPARE(w.Lines().first(), QString("Phrase 155"));
  QCOMPARE(w.Dlg().Book().PhraseSelected(), false);
  QCOMPARE(w.Text(1019), QString());
  QCOMPARE(w.Text(1033), QString());
  QVERIFY(w.Messages().isEmpty());  // the start-up message said it already
  w.Click(1116);
  QCOMPARE(w.TakeMessages(), QStringList{"This phrase can't be found"});
  QVERIFY(windowtest::ReadFavourites().empty());
  w.Click(1031);
  QCOMPARE(w.Sound().Writes().size(), writes);
  const QStringList lines = w.Lines();
  w.Click(1022);
  QCOMPARE(w.Lines(), lines);
  QVERIFY(w.Messages().isEmpty());

  // The next line is found and everything works again.
  w.ClickLine(1);
  QCOMPARE(w.Text(1019), QString("Pron 156"));
  w.Click(1116);
  QCOMPARE(w.TakeMessages(), QStringList{"One item has just added to your favorite category"});
  QCOMPARE(windowtest::ReadFavourites(), (std::vector<windowtest::FavouriteRecord>{{"Phrase 156", 156}}));
}

// Mended: a clip that failed to load left the previous one in the player,
// and Play spoke it without a word; Related followed the clip, not the
// phrase shown.
void DamagedDataTest::aClipThatFailsLeavesPlaySilentWithItsMessage() {
  DataFolder data;
  Damage(data.File("data.idx"), 9 * 8, 8);  // phrase 10's entry
  Window w;
  QCOMPARE(w.TakeMessages(), QStringList{Damaged("data.idx")});
  w.ClickLine(6);  // phrase 10 ("Hello")
  QCOMPARE(w.Text(1019), QString("Pron 10"));
  w.Sound().ClearLog();
  w.Click(1031);
  QVERIFY(w.Sound().Writes().empty());
  QCOMPARE(w.TakeMessages(), QStringList{"Can't play the sound of this phrase!"});
  // Related lists phrase 10's relations: phrase 1.
  w.Click(1022);
  QVERIFY(w.Messages().isEmpty());
  QCOMPARE(w.Lines(), QStringList{QChar(0xFEFF) + QString("Phrase 1")});
  w.Click(1031);
  QCOMPARE(w.Sound().Writes().size(), size_t{1});  // phrase 1 plays
}

void DamagedDataTest::damagedFiles_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<int>("damage");  // 0 empty, 1 cut mid-record, 2 0xFF, 3 random
  const QList<QPair<QString, int>> files{
      {"English.dat", 124}, {"Japanese.dat", 660}, {"MapEngSpec.data", 178}, {"Relate.dat", 104}, {"data.idx", 8}};
  const char* const damages[] = {"empty", "cut", "0xFF", "random"};
  for (const auto& [file, record] : files)
    for (int damage = 0; damage < 4; ++damage)
      QTest::newRow(qPrintable(file + ", " + damages[damage])) << file << damage;
}

// One message naming the file, after the window is up; no garbage in the
// list or the texts; the rest still works.
void DamagedDataTest::damagedFiles() {
  QFETCH(QString, file);
  QFETCH(int, damage);
  DataFolder data;
  const QString path = data.File(file);
  const qint64 size = QFile(path).size();
  if (damage == 0) Damage(path, 0, 0, true);
  if (damage == 1) Damage(path, size - 50, 0, true);
  if (damage == 2) Damage(path, 0, -1);
  if (damage == 3) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QRandomGenerator random(1402);
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    for (char& c : bytes) c = static_cast<char>(random.bounded(256));
    f.write(bytes);
  }
  Window w;
  QVERIFY(w.MessagesBeforeShown().isEmpty());
  static const QRegularExpression line(
      "^(\\x{FEFF}?Phrase \\d+|Hello|Hello, how are you\\?|I want \\[(tea|coffee)\\] with \\[(milk|sugar)\\])$");
  static const QRegularExpression text("^((Pron|Kanji|Kana) \\d+)?$");
  for (int button = 1101; button <= 1110; ++button) {
    w.Click(button);
    const QStringList lines = w.Lines();
    for (const QString& l : lines) QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
    for (int row = 0; row < std::min<int>(3, static_cast<int>(lines.size())); ++row) {
      w.ClickLine(row);
      QVERIFY2(text.match(w.Text(1019)).hasMatch(), qPrintable(w.Text(1019)));
      QVERIFY2(text.match(w.Text(1033)).hasMatch(), qPrintable(w.Text(1033)));
    }
  }
  w.Click(1101);
  w.Click(1022);
  for (const QString& l : w.Lines()) QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
  QCOMPARE(w.Messages().first(), Damaged(file));
  QCOMPARE(w.Messages().count(Damaged(file)), 1);
  // Only what the damaged file itself brings about.
  for (const QString& m : w.Messages().mid(1))
    QVERIFY2(m == "No related phrase(s) found!" && file == "Relate.dat", qPrintable(m));
  // Files other than the phrase texts and templates leave browsing whole.
  if (file != "English.dat" && file != "MapEngSpec.data") {
    w.Click(1101);
    QCOMPARE(w.Lines().size(), 151);
    w.ClickLine(6);
    QCOMPARE(w.Text(1019), file == "Japanese.dat" ? w.Text(1019) : QString("Pron 10"));
  }
}

QTEST_MAIN(DamagedDataTest)
#include "test_damageddata.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "toolkit/strings.h"

#include "data/records.h"
#include "sound/cliparchive.h"
#include "toolkit/messagebox.h"

namespace windowtest {

namespace {

void Write(const QString& path, const std::vector<unsigned char>& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

template <typename Array>
void Append(std::vector<unsigned char>& out, const Array& record) {
  out.insert(out.end(), record.begin(), record.end());
}

std::u16string U(const QString& text) { return lexoria::ToU16(text); }

QString EnglishText(int n) {
  switch (n) {
    case 2: return "I want [tea] with [milk]";
    case 3: return "I want [tea] with [sugar]";
    case 4: return "I want [coffee] with [milk]";
    case 5: return "I want [coffee] with [sugar]";
    case 10: return "Hello";
    case 11: return "Hello, how are you?";
    default: return QString("Phrase %1").arg(n);
  }
}

std::string TemplateText(int n) {
  if (n >= 2 && n <= 5) return "I want [tea|coffee] with [milk|sugar]";
  return EnglishText(n).toStdString();
}

void WriteDataSet(const QDir& dir) {
  const QString mark(QChar(0xFEFF));
  std::vector<unsigned char> english, japanese, templates, relate;
  for (int n = 1; n <= lexoria::kPhraseCount; ++n) {
    const QString lead = n == 1 ? mark : QString();
    Append(english, lexoria::EncodeEnglishRecord(U(lead + EnglishText(n) + "\r"), n));
    lexoria::JapaneseRecord record;
    record.pronunciation = U(lead + QString("Pron %1\r").arg(n));
    record.first = U(lead + QString("Kanji %1\r").arg(n));
    record.second = U(lead + QString("Kana %1\r").arg(n));
    Append(japanese, lexoria::EncodeJapaneseRecord(record));
    std::vector<unsigned char> t(lexoria::kTemplateRecordSize, 0);
    const std::string text = TemplateText(n);
    std::copy(text.begin(), text.end(), t.begin());
    const std::int16_t group = (n >= 2 && n <= 5) ? 4 : 1;
    t[176] = static_cast<unsigned char>(group & 0xFF);
    t[177] = static_cast<unsigned char>((group >> 8) & 0xFF);
    Append(templates, t);
    std::vector<unsigned char> row(lexoria::kRelateRowSize, 0);
    auto relateTo = [&row](int phrase) {
      row[(phrase - 1) / 8] |= static_cast<unsigned char>(0x80 >> ((phrase - 1) % 8));
    };
    if (n == 1) {
      relateTo(11);
      relateTo(10);
    }
    if (n == 10) relateTo(1);
    Append(relate, row);
  }
  Write(dir.filePath("English.dat"), english);
  Write(dir.filePath("Japanese.dat"), japanese);
  Write(dir.filePath("MapEngSpec.data"), templates);
  Write(dir.filePath("Relate.dat"), relate);

  // Silent MPEG-2 layer III frames, 24 kHz mono: decodable, known framing.
  std::vector<std::vector<std::uint8_t>> clips;
  for (int n = 1; n <= lexoria::kPhraseCount; ++n) {
    std::vector<std::uint8_t> clip;
    // Past kClipCount every clip is two frames: a whole archive, kept small.
    for (int frame = 0; frame < (n <= kClipCount ? 8 + n : 2); ++frame) {
      const std::uint8_t header[4] = {0xFF, 0xF3, 0x64, 0xC4};
      clip.insert(clip.end(), header, header + 4);
      clip.resize(clip.size() + 140, 0);
    }
    clips.push_back(std::move(clip));
  }
  if (!lexoria::sound::WriteArchive(dir.path().toStdString(), clips)) qFatal("cannot write the sound archive");

  // The fonts the program registers, from the run folder when it has them.
  const QString run = qEnvironmentVariable("LEXORIA_RUN_DIR");
  for (const char* font : {"arial.ttf", "mshei.ttf"}) {
    QFile::copy(QDir(run).filePath(font), dir.filePath(font));
  }
}

}  // namespace

DataFolder::DataFolder() {
  if (!dir_.isValid()) qFatal("no temporary folder");
  WriteDataSet(QDir(dir_.path()));
  previous_ = QDir::currentPath();
  QDir::setCurrent(dir_.path());
}

DataFolder::~DataFolder() { QDir::setCurrent(previous_); }

void DataFolder::Remove(const QString& name) const { QFile::remove(File(name)); }

std::vector<FavouriteRecord> ReadFavourites() {
  QFile file("favorite.dat");
  std::vector<FavouriteRecord> records;
  if (!file.open(QIODevice::ReadOnly)) return records;
  const QByteArray bytes = file.readAll();
  for (qsizetype at = 0; at + 124 <= bytes.size(); at += 124) {
    lexoria::EnglishBytes raw;
    std::copy(bytes.begin() + at, bytes.begin() + at + 124, raw.begin());
    const lexoria::EnglishRecord record = lexoria::DecodeEnglishRecord(raw);
    records.push_back({lexoria::ToQString(record.text), record.number});
  }
  return records;
}

Window::Window(const lexoria::AppPaths& paths) {
  dlg_ = std::make_unique<CWendaroDlg>(nullptr, &sound_);
  dlg_->UsePaths(paths);
  dlg_->MessageBoxes().SetInterceptor([this](QWidget*, const QString& caption, const QString& text) {
    if (caption != lexoria::ApplicationName()) messages_ << "wrong caption: " + caption;
    if (dlg_ == nullptr || !dlg_->isVisible()) messagesBeforeShown_ << text;
    messages_ << text;
  });
  dlg_->show();
  if (!QTest::qWaitForWindowExposed(dlg_.get())) qWarning("window not exposed");
  // What the window posts for the moment it is up (the data check's message).
  QCoreApplication::processEvents();
}

Window::~Window() { dlg_.reset(); }

QStringList Window::TakeMessages() {
  QStringList taken = messages_;
  messages_.clear();
  return taken;
}

QStringList Window::Lines() const {
  QStringList lines;
  const CMyListBox* list = dlg_->PhraseList();
  for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
  return lines;
}

QStringList Window::ComboEntries(int id) const {
  QStringList entries;
  const auto* combo = qobject_cast<QComboBox*>(dlg_->Control(id));
  for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
  return entries;
}

QString Window::Text(int id) const {
  QWidget* control = dlg_->Control(id);
  if (auto* s = qobject_cast<CTransparentStatic*>(control)) return s->Text();
  if (auto* l = qobject_cast<QLabel*>(control)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(control)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(control)) return c->currentText();
  return QString();
}

bool Window::Visible(int id) const { return dlg_->Control(id)->isVisible(); }

void Window::Click(int id) {
  QWidget* control = dlg_->Control(id);
  QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

void Window::ClickLine(int row) {
  CMyListBox* list = dlg_->PhraseList();
  list->scrollToItem(list->item(row));
  const QRect rect = list->visualItemRect(list->item(row));
  // Near the left end: plain lines and the words before any slot.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 3, rect.center().y()));
}

void Window::ChooseSubCategory(int index) {
  auto* combo = qobject_cast<QComboBox*>(dlg_->Control(1117));
  combo->setCurrentIndex(index);
  // What the combo reports when the user accepts an entry, even the same one.
  emit combo->activated(index);
}

void Window::TypeKeyWord(const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(dlg_->Control(1020));
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

void Window::PressEnter() {
  QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : dlg_.get();
  QTest::keyClick(target, Qt::Key_Return);
}

}  // namespace windowtest

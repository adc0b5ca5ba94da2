// SPDX-License-Identifier: GPL-3.0-or-later
// CMyListBox on its own (lines, items, slot hits, rewrites, the favourites
// rule) and CTransparentStatic (text flags from its style, painting).
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <algorithm>

#include "controls/mylistbox.h"
#include "controls/transparentstatic.h"
#include "toolkit/dialogtemplate.h"

namespace {

// Stands in for the main window: answers the favourites query and records
// the list's signals in the order they come.
struct Host {
  bool favourites = false;
  // Whether the phrase data takes the new text, as the window's does.
  bool writesItems = true;
  QStringList calls;

  void Attach(CMyListBox& list) {
    list.SetFavouritesViewQuery([this] { return favourites; });
    QObject::connect(&list, &CMyListBox::lineRewritten, &list, [this, &list](int index, const QString& text) {
      calls << QString("rewritten %1 %2").arg(index).arg(text);
      // What the window's phrase data does with the new text.
      if (writesItems) list.ItemOf(index)->SetDisplayText(text.toStdU16String());
    });
    QObject::connect(&list, &CMyListBox::phraseChosen, &list, [this] { calls << "selected"; });
  }
};

QPoint Over(CMyListBox& list, int row, const QString& word) {
  const QString text = list.item(row)->text();
  const int at = static_cast<int>(text.indexOf(word));
  const QFontMetrics metrics(list.font());
  const QRect line = list.visualItemRect(list.item(row));
  const int x = metrics.horizontalAdvance(text.left(at)) + metrics.horizontalAdvance(word) / 2;
  return QPoint(line.left() + list.TextIndent() + x, line.center().y());
}

}  // namespace

class ListControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void linesAndItems();
  void hitTestOnTheItemsText();
  void favouritesNeverOpenTheCombo();
  void applyChoiceKeepsTheItem();
  void applyChoiceRefusesAStaleSlot();
  void applyChoiceLeavesTheItemToTheData();
  void extentNearTheWidthSettles();
  void staticTextFlags_data();
  void staticTextFlags();
  void staticPaintsOnlyItsText();

 private:
  Host host_;
  std::unique_ptr<CMyListBox> list_;
};

void ListControlsTest::init() {
  host_ = Host{};
  list_ = std::make_unique<CMyListBox>();
  host_.Attach(*list_);
  list_->resize(320, 180);
  list_->AddItem(std::make_shared<lexoria::CItem>(u"Where is [the station|the airport|a bank]?"));
  list_->AddPlainLine("Thank you");
  list_->AddItem(std::make_shared<lexoria::CItem>(u"[One|Two] [cup|cups]"));
  list_->show();
  QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
}

void ListControlsTest::cleanup() { list_.reset(); }

void ListControlsTest::linesAndItems() {
  QCOMPARE(list_->count(), 3);
  QCOMPARE(list_->item(0)->text(), QString("Where is [the station]?"));
  QVERIFY(list_->ItemOf(0) != nullptr);
  QVERIFY(list_->ItemOf(1) == nullptr);  // a plain line has no item
  QVERIFY(list_->ItemOf(7) == nullptr);
  QCOMPARE(list_->item(2)->text(), QString("[One] [cup]"));
}

void ListControlsTest::hitTestOnTheItemsText() {
  QRect rect;
  const lexoria::CItem& item = *list_->ItemOf(2);
  const QRect line = list_->visualItemRect(list_->item(2));
  QVERIFY(list_->HitTestSlot(Over(*list_, 2, "cup"), item, line, rect));
  QCOMPARE(list_->CurrentWord(), QString("cup"));
  QCOMPARE(list_->SlotStart(), 6);
  QCOMPARE(list_->SlotEnd(), 10);
  QStringList entries;
  for (int i = 0; i < list_->ChoiceCombo()->count(); ++i) entries << list_->ChoiceCombo()->itemText(i);
  QCOMPARE(entries, (QStringList{"cup", "cups"}));
  QCOMPARE(rect.height(), line.height() + CMyListBox::kDropDownDepth);
  // The space between the slots is no hit.
  QVERIFY(!list_->HitTestSlot(Over(*list_, 2, " "), item, line, rect));
  // Three alternatives: the widest decides the width.
  QVERIFY(
      list_->HitTestSlot(Over(*list_, 0, "station"), *list_->ItemOf(0), list_->visualItemRect(list_->item(0)), rect));
  const QFontMetrics metrics(list_->font());
  const int widest = std::max({metrics.horizontalAdvance("the station"), metrics.horizontalAdvance("the airport"),
                               metrics.horizontalAdvance("a bank")});
  QCOMPARE(rect.width(), widest + 5);
  QCOMPARE(list_->ChoiceCombo()->count(), 3);
}

void ListControlsTest::favouritesNeverOpenTheCombo() {
  list_->setCurrentRow(2);
  host_.favourites = true;
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, Over(*list_, 2, "cup"));
  QVERIFY(list_->ChoiceCombo() == nullptr);
  host_.favourites = false;
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, Over(*list_, 2, "cup"));
  QVERIFY(list_->ChoiceCombo() != nullptr);
  QVERIFY(list_->ChoiceCombo()->isVisible());
  // A click on a line without brackets closes nothing it did not open and
  // selects like a plain list.
  list_->ChoiceCombo()->hidePopup();
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, Over(*list_, 1, "Thank"));
  QCOMPARE(list_->currentRow(), 1);
}

void ListControlsTest::applyChoiceKeepsTheItem() {
  list_->setCurrentRow(0);
  const auto item = list_->ItemOf(0);
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, Over(*list_, 0, "station"));
  QComboBox* combo = list_->ChoiceCombo();
  combo->hidePopup();
  combo->setCurrentIndex(2);
  host_.calls.clear();
  emit combo->activated(2);
  QCOMPARE(list_->count(), 3);
  QCOMPARE(list_->item(0)->text(), QString("Where is [a bank]?"));
  QCOMPARE(list_->ItemOf(0), item);
  QCOMPARE(item->DisplayText(), std::u16string(u"Where is [a bank]?"));
  QCOMPARE(list_->currentRow(), 0);
  QCOMPARE(host_.calls, (QStringList{"rewritten 0 Where is [a bank]?", "selected"}));
}

void ListControlsTest::applyChoiceRefusesAStaleSlot() {
  list_->setCurrentRow(0);
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, Over(*list_, 0, "station"));
  list_->ChoiceCombo()->hidePopup();
  // The line changed under the open combo: the slot no longer holds the word.
  list_->ItemOf(0)->SetDisplayText(u"Where is [a bank]?");
  list_->ChoiceCombo()->setCurrentIndex(1);
  list_->ApplyChoice();
  QCOMPARE(list_->item(0)->text(), QString("Where is [the station]?"));
  QCOMPARE(list_->ItemOf(0)->DisplayText(), std::u16string(u"Where is [a bank]?"));
  QVERIFY(host_.calls.filter("rewritten").isEmpty());
}

// The list shows the choice; the item behind the line has one writer, the
// phrase data, which the list only tells.
void ListControlsTest::applyChoiceLeavesTheItemToTheData() {
  host_.writesItems = false;
  list_->setCurrentRow(0);
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, Over(*list_, 0, "station"));
  QComboBox* combo = list_->ChoiceCombo();
  combo->hidePopup();
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  QCOMPARE(list_->item(0)->text(), QString("Where is [the airport]?"));
  QCOMPARE(list_->ItemOf(0)->DisplayText(), std::u16string(u"Where is [the station]?"));
  QVERIFY(host_.calls.contains("rewritten 0 Where is [the airport]?"));
}

// The extent is the widest line plus 10 px. A line that only just fits used
// to have the horizontal bar and the layout switch each other on and off
// until the stack ran out (seen with the Food category's longest line).
void ListControlsTest::extentNearTheWidthSettles() {
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  for (int i = 0; i < 30; ++i) list_->AddPlainLine(QString("Line %1").arg(i));
  QCoreApplication::processEvents();
  const int width = list_->viewport()->width();
  for (int delta = -12; delta <= 12; ++delta) {
    list_->SetHorizontalExtent(width + delta);
    QCoreApplication::processEvents();
    QCOMPARE(list_->horizontalScrollBar()->isVisible(), width + delta > width);
    if (width + delta > list_->viewport()->width())
      QCOMPARE(list_->horizontalScrollBar()->maximum(), width + delta - list_->viewport()->width());
  }
}

void ListControlsTest::staticTextFlags_data() {
  namespace ss = lexoria::ss;
  QTest::addColumn<uint>("style");
  QTest::addColumn<int>("flags");
  QTest::addColumn<int>("elide");
  QTest::newRow("plain") << 0u << int(Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextWordWrap)
                         << int(Qt::ElideNone);
  QTest::newRow("centred") << uint(ss::kCenter)
                           << int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextWordWrap)
                           << int(Qt::ElideNone);
  QTest::newRow("right, no prefix") << uint(ss::kRight | ss::kNoPrefix)
                                    << int(Qt::AlignRight | Qt::AlignTop | Qt::TextWordWrap) << int(Qt::ElideNone);
  QTest::newRow("left, no word wrap") << uint(ss::kLeftNoWordWrap)
                                      << int(Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic) << int(Qt::ElideNone);
  QTest::newRow("centre image") << uint(ss::kCenterImage)
                                << int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic)
                                << int(Qt::ElideNone);
  QTest::newRow("end ellipsis") << uint(ss::kEndEllipsis) << int(Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic)
                                << int(Qt::ElideRight);
  QTest::newRow("path ellipsis") << uint(ss::kPathEllipsis) << int(Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic)
                                 << int(Qt::ElideMiddle);
}

void ListControlsTest::staticTextFlags() {
  QFETCH(uint, style);
  QFETCH(int, flags);
  QFETCH(int, elide);
  const CTransparentStatic label(style);
  QCOMPARE(label.TextFlags(), flags);
  QCOMPARE(int(label.ElideMode()), elide);
}

void ListControlsTest::staticPaintsOnlyItsText() {
  QWidget parent;
  parent.resize(200, 60);
  auto* label = new CTransparentStatic(lexoria::ss::kCenter, &parent);
  label->setGeometry(0, 0, 200, 60);
  label->SetText("1 . 5 . 2");
  label->SetTextColour(0xFFFFFF);
  QCOMPARE(label->TextColour(), 0xFFFFFFu);
  // Drawn over a blue parent: only the letters change colour.
  QImage image(200, 60, QImage::Format_RGB32);
  image.fill(Qt::blue);
  label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  int white = 0;
  int blue = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (pixel == qRgb(255, 255, 255)) ++white;
      if (pixel == qRgb(0, 0, 255)) ++blue;
    }
  }
  QVERIFY(white > 0);
  QVERIFY(blue > image.width() * image.height() * 9 / 10);
  // Centred: the corners stay background.
  QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 255));
}

QTEST_MAIN(ListControlsTest)
#include "test_listcontrols.moc"

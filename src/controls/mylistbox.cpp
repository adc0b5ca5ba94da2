// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/mylistbox.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

#include "toolkit/strings.h"

Q_DECLARE_METATYPE(std::shared_ptr<lexoria::CItem>)

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

QString ToQString(const std::u16string& text) { return lexoria::ToQString(text); }

// The combo tells when its drop-down closes, chosen or cancelled.
class ChoiceComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> onPopupClosed;

  void hidePopup() override {
    QComboBox::hidePopup();
    if (onPopupClosed) onPopupClosed();
  }
};

}  // namespace

CMyListBox::CMyListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setUniformItemSizes(true);
  setTextElideMode(Qt::ElideNone);
  setWordWrap(false);
}

CMyListBox::~CMyListBox() = default;

int CMyListBox::AddItem(std::shared_ptr<lexoria::CItem> item) {
  auto* line = new QListWidgetItem(ToQString(item->DisplayText()));
  line->setData(kItemRole, QVariant::fromValue(std::move(item)));
  addItem(line);
  return count() - 1;
}

int CMyListBox::AddPlainLine(const QString& text) {
  addItem(text);
  return count() - 1;
}

std::shared_ptr<lexoria::CItem> CMyListBox::ItemOf(int row) const {
  const QListWidgetItem* line = item(row);
  if (line == nullptr) return nullptr;
  return line->data(kItemRole).value<std::shared_ptr<lexoria::CItem>>();
}

int CMyListBox::TextIndent() const {
  // The item view's own text margin, so measured words sit under the combo.
  return style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
}

void CMyListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (IsFavouritesView()) {
    QListWidget::mouseReleaseEvent(event);
    return;
  }
  const int row = currentRow();
  if (count() == 0 || row < 0) return;
  const QString text = item(row)->text();
  if (!text.contains(u'[')) {
    QListWidget::mouseReleaseEvent(event);
    return;
  }
  const std::shared_ptr<lexoria::CItem> lineItem = ItemOf(row);
  QRect rect;
  if (lineItem && event->button() == Qt::LeftButton &&
      HitTestSlot(event->position().toPoint(), *lineItem, visualItemRect(item(row)), rect)) {
    choiceCombo_->hide();
    // The visible part is one line high; the drop-down list has the rest.
    const int editHeight = std::max(choiceCombo_->sizeHint().height(), visualItemRect(item(row)).height());
    choiceCombo_->setGeometry(rect.left(), rect.top(), rect.width(), editHeight);
    choiceCombo_->show();
    choiceCombo_->setCurrentIndex(0);
    choiceCombo_->setFocus(Qt::MouseFocusReason);
    choiceCombo_->showPopup();
  } else if (choiceCombo_ != nullptr && choiceCombo_->isVisible()) {
    HideChoiceCombo();
  }
  QListWidget::mouseReleaseEvent(event);
}

bool CMyListBox::HitTestSlot(const QPoint& point, const lexoria::CItem& item, const QRect& lineRect, QRect& rect) {
  const QFontMetrics metrics(font());
  const QString display = ToQString(item.DisplayText());
  if (!display.contains(u'[')) return false;
  const int slotCount = static_cast<int>(display.count(u'['));
  // visualItemRect already follows the horizontal scroll position, so the
  // scroll offset is in kept.left().
  const QRect kept = lineRect.adjusted(TextIndent(), 0, 0, 0);
  int searchStart = 0;
  for (int k = 0; k <= slotCount; ++k) {
    rect = kept;
    const int b = static_cast<int>(display.indexOf(u'[', searchStart));
    if (b < 0) break;
    const int e = static_cast<int>(display.indexOf(u']', b));
    if (e < 0) break;
    currentWord_ = display.mid(b + 1, e - b - 1);
    const int x1 = metrics.horizontalAdvance(display.left(b + 1));
    const int x2 = metrics.horizontalAdvance(display.left(e));
    rect.setLeft(kept.left() + x1);
    rect.setWidth(x2 - x1);
    if (rect.contains(point)) {
      slotStart_ = b;
      slotEnd_ = e;
      // The k-th slot of the display text is the k-th slot of the template.
      const QString templateText = ToQString(item.TemplateText());
      int open = -1;
      for (int n = 0; n <= k; ++n) {
        open = static_cast<int>(templateText.indexOf(u'[', open + 1));
        if (open < 0) return false;
      }
      const int close = static_cast<int>(templateText.indexOf(u']', open));
      if (close < 0) return false;
      rect.setBottom(rect.bottom() + kDropDownDepth);
      if (choiceCombo_ == nullptr) CreateChoiceCombo(rect);
      choiceCombo_->clear();
      int widest = 0;
      int start = open + 1;
      for (int i = open + 1; i <= close; ++i) {
        const QChar c = templateText.at(i);
        if (c == u'|' || c == u']') {
          const QString alternative = templateText.mid(start, i - start);
          choiceCombo_->addItem(alternative);
          widest = std::max(widest, metrics.horizontalAdvance(alternative));
          start = i + 1;
        }
      }
      rect.setRight(rect.left() + widest + 5 - 1);
      choiceRect_ = rect;
      return true;
    }
    searchStart = b + 1;
  }
  return false;
}

void CMyListBox::CreateChoiceCombo(const QRect& rect) {
  auto* combo = new ChoiceComboBox(viewport());
  combo->setObjectName(QString::number(kChoiceComboId));
  combo->setEditable(false);
  combo->setGeometry(rect);
  combo->setFont(font());
  combo->setMaxVisibleItems(std::max(1, kDropDownDepth / std::max(1, QFontMetrics(font()).height())));
  combo->onPopupClosed = [this] { OnChoicePopupClosed(); };
  combo->installEventFilter(this);
  if (backgroundBrush_.style() != Qt::NoBrush) {
    QPalette palette = combo->view()->palette();
    palette.setBrush(QPalette::Base, backgroundBrush_);
    combo->view()->setPalette(palette);
  }
  connect(combo, &QComboBox::activated, this, &CMyListBox::OnChoiceSelected);
  choiceCombo_ = combo;
}

void CMyListBox::HideChoiceCombo() {
  if (choiceCombo_ == nullptr) return;
  choiceCombo_->hide();
  viewport()->update();
}

void CMyListBox::OnChoiceSelected(int) {
  ApplyChoice();
  emit phraseChosen();
}

void CMyListBox::OnChoicePopupClosed() {
  // Chosen or cancelled, the combo goes away with its drop-down; a choice
  // arrives right after as activated().
  HideChoiceCombo();
}

void CMyListBox::ApplyChoice() {
  if (choiceCombo_ == nullptr) return;
  choiceCombo_->hide();
  const int row = currentRow();
  const QString choice = choiceCombo_->currentText();
  const std::shared_ptr<lexoria::CItem> lineItem = ItemOf(row);
  if (!lineItem) return;
  const QString display = ToQString(lineItem->DisplayText());
  if (slotStart_ > display.size() || slotEnd_ > display.size()) return;
  if (!display.contains(QStringLiteral("[") + currentWord_ + QStringLiteral("]"))) return;
  const QString text = display.left(slotStart_ + 1) + choice + display.mid(slotEnd_);
  {
    const QSignalBlocker blocker(this);
    auto* line = new QListWidgetItem(text);
    line->setData(kItemRole, QVariant::fromValue(lineItem));
    insertItem(row, line);
    delete takeItem(row + 1);
    setCurrentRow(row);
  }
  viewport()->update();
  emit lineRewritten(row, text);
}

void CMyListBox::wheelEvent(QWheelEvent* event) {
  if (choiceCombo_ != nullptr) {
    choiceCombo_->hidePopup();
    choiceCombo_->hide();
  }
  QListWidget::wheelEvent(event);
}

bool CMyListBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == choiceCombo_ && event->type() == QEvent::FocusOut) {
    // Opening its own drop-down moves the focus into it; that is no loss.
    const bool intoPopup =
        static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason || choiceCombo_->view()->isVisible();
    if (!intoPopup) HideChoiceCombo();
  }
  return QListWidget::eventFilter(watched, event);
}

void CMyListBox::SetHorizontalExtent(int pixels) {
  horizontalExtent_ = pixels;
  // The bar is shown or hidden here, once per fill, never from
  // updateGeometries(): the extent is 10 px wider than the widest line, so
  // a line that only just fits would have the bar and the layout switch each
  // other on and off without end.
  setHorizontalScrollBarPolicy(pixels > viewport()->width() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  updateGeometries();
}

void CMyListBox::updateGeometries() {
  QListWidget::updateGeometries();
  const int needed = horizontalExtent_ - viewport()->width();
  if (needed > horizontalScrollBar()->maximum()) horizontalScrollBar()->setRange(0, needed);
}

void CMyListBox::SetBackgroundBrush(const QBrush& brush) {
  backgroundBrush_ = brush;
  if (choiceCombo_ != nullptr) {
    QPalette palette = choiceCombo_->view()->palette();
    palette.setBrush(QPalette::Base, brush);
    choiceCombo_->view()->setPalette(palette);
  }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Categories and view modes: the category buttons, the sub-category combo,
// search mode and the search, related phrases.
#include <QFontMetrics>
#include <QRegularExpression>
#include <algorithm>

#include "app/categories.h"
#include "app/wendarodlg.h"

void CWendaroDlg::OnCategoryButton(std::int32_t code) {
  book_.SetCategoryCode(code);
  SelectCategory();
}

void CWendaroDlg::SelectCategory() {
  book_.SetViewMode(lexoria::kViewBrowse);
  ApplyViewMode();
  FillSubCategories();
  OnSubCategoryChosen();
  SetFavouriteTooltipFromView();
  RepaintCaptionArea();
}

void CWendaroDlg::SetFavouriteTooltipFromView() {
  // Follows what the button does now, not the category last chosen: after
  // the favourites are left for a search, the button adds again.
  SetFavouriteTooltip(book_.FavouritesView() ? QStringLiteral("Remove from Favorite")
                                             : QStringLiteral("Add to Favorite"));
  // The names a screen reader hears follow the view as the tooltip does.
  UpdateAccessibleNames();
}

void CWendaroDlg::FillSubCategories() {
  subCategoryCombo_->setEnabled(true);
  subCategoryCombo_->clear();
  book_.SetFavouritesView(false);
  const std::int32_t code = book_.CategoryCode();
  for (const char* entry : lexoria::SubCategoriesOf(code)) subCategoryCombo_->addItem(QString::fromLatin1(entry));
  if (code == lexoria::kCategoryFavourites) {
    subCategoryCombo_->setEnabled(false);
    book_.SetFavouritesView(true);
  }
  subCategoryCombo_->setCurrentIndex(code % 100);
}

void CWendaroDlg::OnSubCategoryChosen() {
  book_.SetFavouritesView(false);
  book_.SetSubCategoryIndex(subCategoryCombo_->currentIndex());
  const std::int32_t key = book_.CategoryCode() + book_.SubCategoryIndex();
  if (const auto range = lexoria::PhraseRangeOf(key)) {
    model_.LoadEnglishRange(range->first, range->last);
  } else if (key == lexoria::kCategoryFavourites) {
    model_.ListFavourites();
    TransferToControls();
  }
  UpdateListExtent();
  SelectListItem(0);
}

void CWendaroDlg::ApplyViewMode() {
  const lexoria::ViewModeRow* row = lexoria::ViewModeRowOf(book_.ViewMode());
  if (row == nullptr) return;
  for (int id : row->hidden) Control(id)->hide();
  for (int id : row->shown) Control(id)->show();
  Caption(1018)->setText(QString::fromLatin1(row->caption1018));
  Caption(1025)->setText(QString::fromLatin1(row->caption1025));
  // A correction said in search mode is not carried into another mode.
  if (searchCaptionWidth_ >= 0) Caption(1025)->resize(searchCaptionWidth_, Caption(1025)->height());
  if (searchCaptionFont_) Caption(1025)->setFont(*searchCaptionFont_);
  Caption(1025)->setToolTip({});
  if (row->clearsView) ClearPhraseView();
  RepaintCaptionArea();
}

void CWendaroDlg::ClearPhraseView() {
  model_.ClearList();
  book_.SetKeyWord(u"");
  book_.SetPronunciationText(u"");
  book_.SetJapaneseText(u"");
  TransferToControls();
}

void CWendaroDlg::OnSearchMode() {
  KeyWordEdit()->setEnabled(true);
  book_.SetViewMode(lexoria::kViewSearch);
  book_.SetCategoryCode(0);
  ApplyViewMode();
  book_.SetFavouritesView(false);
  SetFavouriteTooltipFromView();
  update(textArea_);
  // The typing goes to the key word.
  KeyWordEdit()->setFocus(Qt::OtherFocusReason);
}

void CWendaroDlg::OnRunSearch() {
  if (book_.ViewMode() != lexoria::kViewSearch) return;
  liveSearchTimer_.stop();  // this search is the one asked for
  model_.LoadAllEnglish();
  TransferFromControls();
  model_.SearchPhrases();
  ShowSearchCaption();
  SelectListItem(0);
  UpdateListExtent();
  TransferToControls();
}

void CWendaroDlg::OnKeyWordChanged() { searchChanged_ = true; }

void CWendaroDlg::OnKeyWordEdited() {
  if (book_.ViewMode() == lexoria::kViewSearch) liveSearchTimer_.start();
}

void CWendaroDlg::OnLiveSearch() {
  if (book_.ViewMode() != lexoria::kViewSearch) return;
  model_.LoadAllEnglish();
  TransferFromControls();
  // Nothing is selected or shown: that waits for Enter or a click, so the
  // keys keep going to the key word.
  model_.SearchPhrases(false);
  ShowSearchCaption();
  UpdateListExtent();
}

void CWendaroDlg::ShowSearchCaption() {
  QLabel* caption = Caption(1025);
  if (searchCaptionWidth_ < 0) searchCaptionWidth_ = caption->width();
  const std::u16string& corrected = book_.SearchCorrection();
  if (corrected.empty() || book_.Lines().empty()) {
    caption->setText(QStringLiteral("Your phrases:"));
    caption->resize(searchCaptionWidth_, caption->height());
    if (searchCaptionFont_) caption->setFont(*searchCaptionFont_);
    caption->setToolTip({});
    return;
  }
  // The row is short: the caption names the corrected words, the tooltip
  // the whole query as searched.
  const QString whole = QString::fromStdU16String(corrected);
  const QStringList typed = QString::fromStdU16String(book_.KeyWord())
                                .toLower()
                                .split(QRegularExpression(QStringLiteral("[^\\w]+")), Qt::SkipEmptyParts);
  QStringList changed;
  for (const QString& word : whole.split(u' ', Qt::SkipEmptyParts))
    if (!typed.contains(word)) changed.append(word);
  const QString shown = changed.isEmpty() ? whole : changed.join(u' ');
  // Up to the exact-match box on the same row, cut with an ellipsis beyond.
  const int room = ExactMatchBox()->x() - caption->x() - 4;
  const QString text = QStringLiteral("Showing results for \u201C%1\u201D:").arg(shown);
  caption->resize(std::max(searchCaptionWidth_, room), caption->height());
  // A smaller letter first (down to three quarters), an ellipsis after that.
  if (!searchCaptionFont_) searchCaptionFont_ = caption->font();
  QFont font = *searchCaptionFont_;
  const int full = font.pixelSize();
  for (int size = full; full > 0 && size >= full * 3 / 4; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).horizontalAdvance(text) <= caption->width()) break;
  }
  caption->setFont(font);
  caption->setText(QFontMetrics(font).elidedText(text, Qt::ElideRight, caption->width()));
  caption->setToolTip(QStringLiteral("Showing results for \u201C%1\u201D").arg(whole));
}

void CWendaroDlg::OnExactMatchClicked() { searchChanged_ = true; }

void CWendaroDlg::OnRelatedPhrases() {
  book_.SetFavouritesView(false);
  SetFavouriteTooltipFromView();
  KeyWordEdit()->setEnabled(false);
  TransferToControls();
  // The phrase shown, whether or not its recording could be loaded.
  if (!book_.PhraseSelected() || book_.CurrentPhrase() < 1) return;
  const lexoria::RelatedResult related = model_.ShowRelatedPhrasesOf(book_.CurrentPhrase());
  if (related != lexoria::RelatedResult::Listed) {
    ShowMessage(related == lexoria::RelatedResult::CantReadFile ? lexoria::msg::kCantReadRelated
                                                                : lexoria::msg::kNoRelated);
    return;
  }
  book_.SetCategoryCode(0);
  book_.SetKeyWord(book_.SelectedLineText());
  book_.SetCurrentClip(-1);
  book_.SetViewMode(lexoria::kViewRelated);
  ApplyViewMode();
  SelectListItem(0);
}

void CWendaroDlg::UpdateListExtent() {
  // Measured with the font the list draws with, so the longest line can be
  // scrolled into view in full.
  const QFontMetrics metrics(phraseList_->font());
  int widest = 0;
  for (int row = 0; row < phraseList_->count(); ++row) {
    widest = std::max(widest, metrics.horizontalAdvance(phraseList_->item(row)->text()));
  }
  phraseList_->SetHorizontalExtent(widest + 10);
}

void CWendaroDlg::SelectListItem(int index) {
  if (phraseList_->count() < 1) return;
  {
    // Taking the focus would pick a current line of its own; the line shown
    // is the one chosen here.
    const QSignalBlocker blocker(phraseList_);
    phraseList_->setFocus(Qt::OtherFocusReason);
    phraseList_->setCurrentRow(index);
  }
  book_.SetSelection(index);
  OnPhraseSelected();
}

void CWendaroDlg::RepaintCaptionArea() { update(kCaptionArea); }

// Categories and view modes: the category buttons, the sub-category combo,
// search mode and the search, related phrases.
#include <QFontMetrics>
#include <algorithm>

#include "app/categories.h"
#include "app/wendarodlg.h"

void CWendaroDlg::OnCategoryButton() {
  const auto* button = qobject_cast<QWidget*>(sender());
  if (button == nullptr) return;
  m_book.SetCategoryCode(lexoria::CategoryCodeOfButton(button->objectName().toInt()));
  SelectCategory();
}

void CWendaroDlg::SelectCategory() {
  m_book.SetViewMode(lexoria::kViewBrowse);
  ApplyViewMode();
  FillSubCategories();
  OnSubCategoryChosen();
  SetFavouriteTooltipFromView();
  RepaintCaptionArea();
}

void CWendaroDlg::SetFavouriteTooltipFromView() {
  // Follows what the button does now, not the category last chosen: after
  // the favourites are left for a search, the button adds again.
  SetFavouriteTooltip(m_book.FavouritesView() ? QStringLiteral("Remove from Favorite")
                                              : QStringLiteral("Add to Favorite"));
}

void CWendaroDlg::FillSubCategories() {
  m_subCategoryCombo->setEnabled(true);
  m_subCategoryCombo->clear();
  m_book.SetFavouritesView(false);
  const std::int32_t code = m_book.CategoryCode();
  for (const char* entry : lexoria::SubCategoriesOf(code)) m_subCategoryCombo->addItem(QString::fromLatin1(entry));
  if (code == lexoria::kCategoryFavourites) {
    m_subCategoryCombo->setEnabled(false);
    m_book.SetFavouritesView(true);
  }
  m_subCategoryCombo->setCurrentIndex(code % 100);
}

void CWendaroDlg::OnSubCategoryChosen() {
  m_book.SetFavouritesView(false);
  m_book.SetSubCategoryIndex(m_subCategoryCombo->currentIndex());
  const std::int32_t key = m_book.CategoryCode() + m_book.SubCategoryIndex();
  if (const auto range = lexoria::PhraseRangeOf(key)) {
    m_book.LoadEnglishRange(range->first, range->last);
  } else if (key == lexoria::kCategoryFavourites) {
    m_book.ListFavourites();
    TransferToControls();
  }
  UpdateListExtent();
  SelectListItem(0);
}

void CWendaroDlg::ApplyViewMode() {
  const lexoria::ViewModeRow* row = lexoria::ViewModeRowOf(m_book.ViewMode());
  if (row == nullptr) return;
  for (int id : row->hidden) Control(id)->hide();
  for (int id : row->shown) Control(id)->show();
  Caption(1018)->setText(QString::fromLatin1(row->caption1018));
  Caption(1025)->setText(QString::fromLatin1(row->caption1025));
  if (row->clearsView) ClearPhraseView();
  RepaintCaptionArea();
}

void CWendaroDlg::ClearPhraseView() {
  m_book.ClearList();
  m_book.SetKeyWord(u"");
  m_book.SetPronunciationText(u"");
  m_book.SetJapaneseText(u"");
  TransferToControls();
}

void CWendaroDlg::OnSearchMode() {
  KeyWordEdit()->setEnabled(true);
  m_book.SetViewMode(lexoria::kViewSearch);
  m_book.SetCategoryCode(0);
  ApplyViewMode();
  m_book.SetFavouritesView(false);
  SetFavouriteTooltipFromView();
  update(m_textArea);
}

void CWendaroDlg::OnRunSearch() {
  if (m_book.ViewMode() != lexoria::kViewSearch) return;
  m_book.LoadAllEnglish();
  m_book.SearchPhrases();
  SelectListItem(0);
  UpdateListExtent();
  TransferToControls();
}

void CWendaroDlg::OnKeyWordChanged() { m_searchChanged = true; }

void CWendaroDlg::OnExactMatchClicked() { m_searchChanged = true; }

void CWendaroDlg::OnRelatedPhrases() {
  m_book.SetFavouritesView(false);
  SetFavouriteTooltipFromView();
  KeyWordEdit()->setEnabled(false);
  TransferToControls();
  if (m_book.CurrentClip() < 1) return;
  if (!m_book.ShowRelatedPhrases()) {
    ShowMessage(lexoria::msg::kNoRelated);
    return;
  }
  m_book.SetCategoryCode(0);
  m_book.SetKeyWord(m_book.SelectedLineText());
  m_book.SetCurrentClip(-1);
  m_book.SetViewMode(lexoria::kViewRelated);
  ApplyViewMode();
  SelectListItem(0);
}

void CWendaroDlg::UpdateListExtent() {
  // Measured with the font the list draws with, so the longest line can be
  // scrolled into view in full.
  const QFontMetrics metrics(m_phraseList->font());
  int widest = 0;
  for (int row = 0; row < m_phraseList->count(); ++row) {
    widest = std::max(widest, metrics.horizontalAdvance(m_phraseList->item(row)->text()));
  }
  m_phraseList->SetHorizontalExtent(widest + 10);
}

void CWendaroDlg::SelectListItem(int index) {
  if (m_phraseList->count() < 1) return;
  {
    // Taking the focus would pick a current line of its own; the line shown
    // is the one chosen here.
    const QSignalBlocker blocker(m_phraseList);
    m_phraseList->setFocus(Qt::OtherFocusReason);
    m_phraseList->setCurrentRow(index);
  }
  m_book.SetSelection(index);
  OnPhraseSelected();
}

void CWendaroDlg::RepaintCaptionArea() { update(kCaptionArea); }

// SPDX-License-Identifier: GPL-3.0-or-later
// PhraseBook: the phrasebook's data state and the operations over it, with
// no window toolkit.
//
// How data flows: OpenPhraseFiles() opens English.dat and Japanese.dat from
// the data folder set with SetFolders() (the working directory unless told
// otherwise) and keeps them open; favorite.dat, in the favourites folder, is
// opened afresh by every favourites operation through FavouritesFile, which
// locks it against other copies of the program. Filling the list
// (LoadEnglishRange + FillTemplateRange when browsing a category,
// LoadAllEnglish + SearchPhrases for a key-word search, ShowRelatedPhrases,
// ListFavourites) refills two things together: the phrase map (a line's exact
// text -> its phrase number as decimal text) and the list lines (a text and,
// for template lines, the CItem behind it; the book is the only writer of
// both). The caller reports the user's selection with SetSelection();
// ShowSelectedPhrase() then turns the selected line into the selected line
// text, looks it up in the phrase map to get the current phrase number,
// records that its clip is wanted, reads its Japanese.dat record and derives
// the pronunciation text and the Japanese text. The book never calls out:
// every operation records what it changed (BookChange: list refilled, phrase
// shown, clip wanted, a message with a fixed English text) and the caller
// takes the changes when the operation has returned. The four exchanged
// values (pronunciation text, key word, exact-match switch, Japanese text)
// are set by the caller before an operation that reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/datafolders.h"
#include "data/favouritesfile.h"
#include "data/item.h"
#include "data/phraseindex.h"
#include "data/phraserange.h"
#include "data/records.h"

namespace lexoria {

// View modes.
inline constexpr std::int32_t kViewBrowse = 30000;
inline constexpr std::int32_t kViewSearch = 30001;
inline constexpr std::int32_t kViewRelated = 30002;
// Category code of the favourites list; 0 while searching or in related mode.
inline constexpr std::int32_t kCategoryFavourites = 1100;

// What an operation changed, for the window to show. Operations never call
// out: they record their changes in order, and whoever ran the operation
// takes them afterwards with TakeChanges() (the window's PhraseBookModel
// turns each into a signal).
struct BookChange {
  enum class Kind {
    // Lines() and Selection() were refilled: the list shows them anew.
    ListRefilled,
    // The four exchanged values (PronunciationText(), KeyWord(),
    // ExactMatch(), JapaneseText()) changed: they go to the controls and the
    // text area is repainted.
    PhraseShown,
    // The recording of phrase is wanted; the window loads it and reports
    // back with SetCurrentClip().
    ClipWanted,
    // The user must be told text (a fixed English text, ASCII).
    Message,
  };
  Kind kind;
  std::int32_t phrase = 0;  // ClipWanted
  std::string text;         // Message
};

// One line of the phrase list: its text and, for lines made from a template
// or an English.dat text, the CItem behind it (favourites lines have none).
struct ListLine {
  std::u16string text;  // at most 59 units
  std::shared_ptr<CItem> item;
};

// Line text -> phrase number as decimal text ("%d").
using PhraseMap = std::map<std::u16string, std::u16string>;

enum class RelatedResult { Listed, NoneFound, CantReadFile };

class PhraseBook {
 public:
  PhraseBook() = default;
  ~PhraseBook();  // closes every open file
  PhraseBook(const PhraseBook&) = delete;
  PhraseBook& operator=(const PhraseBook&) = delete;

  // The changes recorded since the last call, oldest first.
  std::vector<BookChange> TakeChanges() { return std::exchange(changes_, {}); }

  // --- Where the files are ------------------------------------------------
  // Takes effect at the next open; the default is the working folder.
  void SetFolders(DataFolders folders) {
    folders_ = std::move(folders);
    favouritesFile_.SetFolder(folders_.favourites);
  }
  const DataFolders& Folders() const { return folders_; }

  // --- Phrase text store -------------------------------------------------
  // Closes every open file, then opens English.dat and Japanese.dat ("rb")
  // and checks that favorite.dat can be read (creating it empty when it is
  // missing); each open flag tells whether its open worked.
  void OpenPhraseFiles();
  FavouritesFile& Favourites() { return favouritesFile_; }
  // Set when the start-up check found English.dat or MapEngSpec.data
  // damaged and said so: a line not found is then not reported again.
  void SetPhraseFilesDamaged(bool damaged) { phraseFilesDamaged_ = damaged; }
  // Closes every open file (window destruction; the window empties the map
  // with ClearMap()).
  void CloseFiles();
  // 1 done, 0 English.dat not open. Fills the map with phrases first..last;
  // in browse mode also the list (FillTemplateRange).
  int LoadEnglishRange(std::int32_t first, std::int32_t last);
  // Fills the map with every phrase; "Can't read file" when English.dat
  // cannot be opened anew.
  void LoadAllEnglish();
  // The three fields of the phrase's Japanese.dat record, empty when the
  // file is not open or the phrase is beyond its end.
  JapaneseRecord ReadJapaneseRecord(std::int32_t phrase);
  // Selected line -> current phrase number, clip, Japanese record, texts.
  // "This phrase can't be found" when the line is not in the map; then no
  // phrase is selected and the texts are cleared, so nothing acts on the
  // phrase shown before.
  void ShowSelectedPhrase();
  // True after a line was found; false after a failed lookup or before any.
  bool PhraseSelected() const { return phraseSelected_; }

  // --- Templates and key-word search ---------------------------------------
  // One line per template group or single phrase of first..last, from
  // MapEngSpec.data; "Can't read MapEngSpec file" when it is missing.
  void FillTemplateRange(std::int32_t first, std::int32_t last);
  // Lists the template lines that answer the key word (the caller has set
  // KeyWord() and ExactMatch() from the controls), best first
  // (phraseindex.h); with the exact-match switch on, the lines whose whole
  // text (A-Z lowered), romaji or Japanese is the key word (anyscript.h), in
  // phrase order. "This item can't be found!" when none does, unless told
  // not to (results shown while the user types).
  void SearchPhrases(bool tellWhenNone = true);
  // Builds the search index now (it is otherwise built by the first
  // search): the window does it once it is on screen, so that typing never
  // waits for it.
  void PrepareSearch();
  // The key word as searched when the last search corrected a word of it;
  // empty when it searched the words as typed.
  const std::u16string& SearchCorrection() const { return searchCorrection_; }

  // --- Related phrases ---------------------------------------------------
  // Lists the phrases related to CurrentClip(); false when Relate.dat is
  // missing or the row is empty (the caller shows "No related phrase(s)
  // found!").
  bool ShowRelatedPhrases();
  // The same for a given source phrase, telling a missing Relate.dat from
  // a phrase with no relations.
  RelatedResult ShowRelatedPhrasesOf(std::int32_t source);
  // Adds phrases first..last from English.dat as lines and map keys; phrase
  // 1 keeps its byte-order mark here.
  void AddEnglishItems(std::int32_t first, std::int32_t last);

  // --- Favourites ---------------------------------------------------------
  // No handle is kept: true when favorite.dat can be read now.
  bool EnsureFavouritesOpen();
  // Both say why they failed (duplicate, read-only, disk full, locked by
  // another copy), except a removal that finds no such record.
  bool AddFavourite();
  bool RemoveFavourite();
  bool ListFavourites();
  // Button 1026: true when there are favourites to show; CategoryCode() is
  // then the favourites', and the caller selects that category (browse
  // mode, sub-categories, ListFavourites) and sets FavouritesView().
  bool ShowFavourites();
  void ToggleFavourite();  // button 1116

  // --- Phrase list ---------------------------------------------------------
  const std::vector<ListLine>& Lines() const { return lines_; }
  // The list's selected line, -1 for none.
  int Selection() const { return selection_; }
  // The user (or the window) selected a line; -1 or an index out of range
  // means no selection. Records no change.
  void SetSelection(int index);
  // Rewrites a line (the slot combo chose another alternative): the line's
  // text and its item's display text become text (the line cut to 59
  // units). False for an index out of range.
  bool ReplaceLineText(std::size_t index, std::u16string text);
  // Empties the list (the map is not touched): ListRefilled.
  void ClearList();
  const PhraseMap& Map() const { return map_; }
  void ClearMap() { map_.clear(); }

  // --- State the window reads and sets -------------------------------------
  const std::u16string& SelectedLineText() const { return selectedLineText_; }
  int CurrentSelectionIndex() const { return currentSelectionIndex_; }
  std::int32_t CurrentPhrase() const { return currentPhrase_; }
  const JapaneseRecord& CurrentJapaneseRecord() const { return japaneseRecord_; }

  const std::u16string& PronunciationText() const { return pronunciationText_; }
  void SetPronunciationText(std::u16string text) { pronunciationText_ = std::move(text); }
  const std::u16string& JapaneseText() const { return japaneseText_; }
  void SetJapaneseText(std::u16string text) { japaneseText_ = std::move(text); }
  const std::u16string& KeyWord() const { return keyWord_; }
  void SetKeyWord(std::u16string text) { keyWord_ = std::move(text); }
  std::int32_t ExactMatch() const { return exactMatch_; }
  void SetExactMatch(std::int32_t on) { exactMatch_ = on; }

  bool JapaneseForm() const { return japaneseForm_; }  // true: first rendering
  void SetJapaneseForm(bool first) { japaneseForm_ = first; }
  bool FavouritesView() const { return favouritesView_; }
  void SetFavouritesView(bool on) { favouritesView_ = on; }
  std::int32_t FavouritesCount() const { return favouritesCount_; }
  std::int32_t CurrentClip() const { return currentClip_; }
  void SetCurrentClip(std::int32_t clip) { currentClip_ = clip; }
  std::int32_t CategoryCode() const { return categoryCode_; }
  void SetCategoryCode(std::int32_t code) { categoryCode_ = code; }
  std::int32_t ViewMode() const { return viewMode_; }
  void SetViewMode(std::int32_t mode) { viewMode_ = mode; }
  std::int32_t SubCategoryIndex() const { return subCategoryIndex_; }
  void SetSubCategoryIndex(std::int32_t index) { subCategoryIndex_ = index; }

  bool EnglishOpen() const { return englishOpen_; }
  bool JapaneseOpen() const { return japaneseOpen_; }
  bool FavouritesOpen() const { return favouritesOpen_; }

 private:
  void AddLine(std::u16string text, std::shared_ptr<CItem> item);
  void AddItem(std::shared_ptr<CItem> item);
  // A template line of MapEngSpec.data as the search met it.
  struct TemplateLine {
    std::int32_t head;  // phrase number of its first record
    std::int32_t size;  // records it stands for
    std::string text;
    bool listed;  // already found by its English (or damaged: never listed)
  };
  // Adds a line for every template line not yet listed whose phrase (the
  // first of its group that does) matches the key word as romaji or
  // Japanese; true when one was added.
  bool AddAnyScriptMatches(const std::vector<TemplateLine>& templateLines, std::u16string_view keyWord);
  // The ranked search; builds the index on first use.
  void RankedSearch(std::u16string_view keyWord, bool tellWhenNone);
  bool BuildSearchIndex();
  // map[key cut like a list line] = number as "%d".
  void MapPhrase(std::u16string key, std::int32_t number);
  void ForgetPhrase();

  void Changed(BookChange::Kind kind) { changes_.push_back(BookChange{kind, 0, {}}); }
  void Say(std::string text) { changes_.push_back(BookChange{BookChange::Kind::Message, 0, std::move(text)}); }

  std::vector<BookChange> changes_;
  DataFolders folders_;

  std::FILE* english_ = nullptr;
  std::FILE* japanese_ = nullptr;
  FavouritesFile favouritesFile_;
  bool englishOpen_ = false;
  bool japaneseOpen_ = false;
  bool favouritesOpen_ = false;

  PhraseMap map_;
  std::vector<ListLine> lines_;
  int selection_ = -1;
  int currentSelectionIndex_ = 0;

  std::u16string selectedLineText_;
  std::int32_t currentPhrase_ = 0;
  bool phraseSelected_ = false;
  bool phraseFilesDamaged_ = false;
  JapaneseRecord japaneseRecord_;
  std::u16string pronunciationText_;
  std::u16string japaneseText_;
  std::u16string keyWord_;
  std::int32_t exactMatch_ = 0;

  bool japaneseForm_ = true;
  bool favouritesView_ = true;
  std::int32_t favouritesCount_ = 0;
  std::int32_t currentClip_ = -1;
  std::int32_t categoryCode_ = 100;
  std::int32_t viewMode_ = kViewBrowse;
  std::int32_t subCategoryIndex_ = 0;

  // The search index over every phrase, and the template line of each
  // phrase's head, built from the phrase files at the first ranked search.
  std::unique_ptr<PhraseIndex> searchIndex_;
  struct SearchLine {
    std::int32_t head = 0;
    std::string templateText;  // the head's
    std::u16string english;    // the phrase's own line text
  };
  std::vector<SearchLine> searchLines_;  // by phrase number
  std::u16string searchCorrection_;

  // The whole of Relate.dat, read again by every ShowRelatedPhrases().
  std::vector<std::uint8_t> relateTable_;
};

// The fixed texts of the message boxes.
namespace msg {
inline constexpr std::string_view kCantReadFile = "Can't read file";
inline constexpr std::string_view kPhraseNotFound = "This phrase can't be found";
inline constexpr std::string_view kCantReadTemplates = "Can't read MapEngSpec file";
inline constexpr std::string_view kItemNotFound = "This item can't be found!";
inline constexpr std::string_view kNoRelated = "No related phrase(s) found!";
inline constexpr std::string_view kAlreadyFavourite = "This item has already existed in favorite category!";
inline constexpr std::string_view kNoFavourite = "No favorite phrase!";
inline constexpr std::string_view kFavouriteAdded = "One item has just added to your favorite category";
inline constexpr std::string_view kFavouriteRemoved = "One item has just removed from your favorite category";
inline constexpr std::string_view kNotEnoughMemory = "Not enough memory";
inline constexpr std::string_view kCantReadRelated = "Can't read Relate file";
inline constexpr std::string_view kCantReadFavourites = "Can't read favorite file";
}  // namespace msg

// "This item can't be added to favorite category: favorite.dat is
// read-only!" and its kin, for a favourites change that failed.
std::string FavouriteFailureMessage(bool adding, FavouritesResult result);

}  // namespace lexoria

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/wendarodlg.h"

#include <QKeyEvent>
#include <QShowEvent>

#include "app/categories.h"
#include "app/defaultaudio.h"
#include "app/learning.h"
#include "app/maintemplate.h"
#include "controls/rubystatic.h"
#include "toolkit/fontfiles.h"
#include "toolkit/messagebox.h"
#include "toolkit/strings.h"

CWendaroDlg::CWendaroDlg(QWidget* parent, lexoria::sound::AudioOutput* output)
    : CSkinnedDialog(parent),
      ownedOutput_(output != nullptr ? nullptr : CreateDefaultAudioOutput()),
      player_(output != nullptr ? output : ownedOutput_.get()) {
  // A frameless pop-up with a taskbar button; the skin gives it its look.
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(lexoria::DialogSizeToPixels(lexoria::MainTemplate().size));
  book_.SetPronunciationText(u"");
  book_.SetKeyWord(u"");
  book_.SetJapaneseText(u"");
  book_.SetExactMatch(0);
  textArea_ = kTextArea;
  LoadSkin();
  book_.SetJapaneseForm(true);
  searchChanged_ = false;
  book_.SetFavouritesView(true);
  book_.SetSubCategoryIndex(0);
  book_.SetCategoryCode(100);
  book_.SetViewMode(lexoria::kViewBrowse);
  updateTimer_.setInterval(kUpdateTimerPeriodMs);
  connect(&updateTimer_, &QTimer::timeout, this, &CWendaroDlg::OnTimer);
  serverAnswerTimer_.setSingleShot(true);
  connect(&serverAnswerTimer_, &QTimer::timeout, this, &CWendaroDlg::CheckServerAnswered);
}

CWendaroDlg::~CWendaroDlg() { OnDestroy(); }

void CWendaroDlg::setVisible(bool visible) {
  if (visible && !initialised_) {
    initialised_ = true;
    OnInitDialog();
  }
  CSkinnedDialog::setVisible(visible);
}

bool CWendaroDlg::OnInitDialog() {
  CreateControls();
  AttachControls();
  TransferToControls();
  WireModel();
  WireMessageMap();
  setWindowIcon(icon_);
  setWindowTitle(QString::fromLatin1(lexoria::MainTemplate().title));
  ApplyWindowRegion();
  SetUpButtons();
  SetUpAccessibility();
  book_.SetFolders({paths_.dataPath(), paths_.favouritesPath()});
  book_.OpenPhraseFiles();
  CheckDataFiles();
  if (paths_.bundledFonts()) {
    latinFamilies_ = lexoria::RegisterFontFile(QStringLiteral("arial.ttf"));
    japaneseFamilies_ = lexoria::RegisterFontFile(QStringLiteral("mshei.ttf"));
  }
  CreateFonts();
  book_.SetCurrentClip(-1);
  book_.SetCategoryCode(100);
  subCategoryCombo_->setCurrentIndex(0);
  SelectCategory();
  listBrush_ = MakeListBrush();
  ApplyControlColours();
  updateCheckDone_ = false;
  // After the first category is shown: the user has not picked a phrase yet
  // (Play still speaks the one on show).
  phraseShown_ = false;
  updateTimer_.start();
  categoryButtons_[0]->setFocus(Qt::OtherFocusReason);
  learning_ = new CLearning(*this);
  return true;
}

void CWendaroDlg::CreateControls() {
  for (const lexoria::ControlSpec& spec : lexoria::MainTemplate().controls) {
    QWidget* control = CreateControl(spec);
    control->setObjectName(QString::number(spec.id));
    control->setGeometry(lexoria::DialogRectToPixels(spec.rect));
    // A combo's template height includes its drop-down list.
    if (spec.kind == lexoria::ControlKind::ComboBox) control->resize(control->width(), control->sizeHint().height());
    if (spec.style & lexoria::style::kHidden) control->hide();
    controls_.insert(spec.id, control);
  }
  // Later rows lie on top; 1035 is the exception: it covers 1036 while both
  // are visible.
  Control(1035)->raise();
  CreateSlowPlayButton();
}

QWidget* CWendaroDlg::CreateControl(const lexoria::ControlSpec& spec) {
  using lexoria::ControlKind;
  namespace st = lexoria::style;
  const QString text = QString::fromLatin1(spec.text);
  switch (spec.kind) {
    case ControlKind::PushButton: {
      QPushButton* button = CreatePushButton(spec, this);
      // Enter belongs to the window's default command, not to a button.
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
    case ControlKind::ListBox: {
      auto* list = new CMyListBox(this);
      list->setVerticalScrollBarPolicy((spec.style & st::kVScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
      list->setHorizontalScrollBarPolicy((spec.style & st::kHScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
      return list;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(this);
      combo->setEditable(false);
      // The template height includes the drop-down list; the visible part
      // is one line.
      combo->setMaxVisibleItems(12);
      return combo;
    }
    case ControlKind::StaticText: {
      const std::uint32_t word = lexoria::StaticStyleOf(spec);
      // The Japanese text draws furigana when asked (src/app/furigana.cpp).
      if (spec.id == 1033) {
        auto* label = new CRubyStatic(word, this);
        label->SetText(text);
        return label;
      }
      if (spec.id == 1019 || spec.id == 1059) {
        auto* label = new CTransparentStatic(word, this);
        label->SetText(text);
        return label;
      }
      auto* label = new QLabel(text, this);
      label->setAttribute(Qt::WA_TranslucentBackground);
      return label;
    }
    case ControlKind::BitmapStatic: return new CBitmapStatic(this);
    case ControlKind::EditBox: {
      auto* edit = new QLineEdit(text, this);
      edit->setFrame((spec.style & st::kBorder) != 0);
      return edit;
    }
    case ControlKind::CheckBox: return new QCheckBox(text, this);
  }
  return new QWidget(this);
}

void CWendaroDlg::AttachControls() {
  versionText_ = qobject_cast<CTransparentStatic*>(Control(1059));
  updateButton_ = Button(1046);
  reportButton_ = Button(1048);
  techButton_ = Button(1047);
  aboutButton_ = Button(1050);
  pronunciation_ = qobject_cast<CTransparentStatic*>(Control(1019));
  japanese_ = qobject_cast<CTransparentStatic*>(Control(1033));
  subCategoryCombo_ = qobject_cast<QComboBox*>(Control(1117));
  playButton_ = Button(1031);
  runSearchButton_ = Button(1023);
  minimiseButton_ = Button(1030);
  favouritesButton_ = Button(1026);
  relatedButton_ = Button(1022);
  searchModeButton_ = Button(1021);
  favouriteToggleButton_ = Button(1116);
  for (int i = 0; i < 10; ++i) categoryButtons_[i] = Button(1101 + i);
  exitButton_ = Button(1041);
  phraseList_ = qobject_cast<CMyListBox*>(Control(1111));
}

// The message map: every control notification and the handler it reaches.
void CWendaroDlg::WireMessageMap() {
  for (const lexoria::CategoryButton& category : lexoria::CategoryButtons()) {
    const std::int32_t code = category.code;
    connect(Button(category.id), &QPushButton::clicked, this, [this, code] { OnCategoryButton(code); });
  }
  connect(subCategoryCombo_, &QComboBox::activated, this, &CWendaroDlg::OnSubCategoryChosen);
  connect(searchModeButton_, &QPushButton::clicked, this, &CWendaroDlg::OnSearchMode);
  connect(runSearchButton_, &QPushButton::clicked, this, &CWendaroDlg::OnRunSearch);
  connect(KeyWordEdit(), &QLineEdit::textChanged, this, &CWendaroDlg::OnKeyWordChanged);
  connect(KeyWordEdit(), &QLineEdit::textEdited, this, &CWendaroDlg::OnKeyWordEdited);
  liveSearchTimer_.setSingleShot(true);
  liveSearchTimer_.setInterval(kLiveSearchPause);
  connect(&liveSearchTimer_, &QTimer::timeout, this, &CWendaroDlg::OnLiveSearch);
  connect(ExactMatchBox(), &QCheckBox::clicked, this, &CWendaroDlg::OnExactMatchClicked);
  connect(relatedButton_, &QPushButton::clicked, this, &CWendaroDlg::OnRelatedPhrases);
  connect(phraseList_, &QListWidget::currentRowChanged, this, &CWendaroDlg::OnListRowChanged);
  connect(phraseList_, &QListWidget::itemDoubleClicked, this, &CWendaroDlg::OnPlay);
  connect(phraseList_, &CMyListBox::lineRewritten, this, &CWendaroDlg::OnLineRewritten);
  connect(phraseList_, &CMyListBox::phraseChosen, this, &CWendaroDlg::OnPhraseSelected);
  phraseList_->SetFavouritesViewQuery([this] { return book_.FavouritesView(); });
  connect(playButton_, &QPushButton::clicked, this, &CWendaroDlg::OnPlayButton);
  connect(slowPlayButton_, &QPushButton::clicked, this, &CWendaroDlg::OnPlaySlowly);
  connect(Switch(1035), &CBitmapStatic::clicked, this, &CWendaroDlg::OnFirstFormClicked);
  connect(Switch(1036), &CBitmapStatic::clicked, this, &CWendaroDlg::OnSecondFormClicked);
  connect(favouritesButton_, &QPushButton::clicked, this, &CWendaroDlg::OnShowFavourites);
  connect(favouriteToggleButton_, &QPushButton::clicked, this, &CWendaroDlg::OnToggleFavourite);
  connect(minimiseButton_, &QPushButton::clicked, this, &CWendaroDlg::OnMinimise);
  connect(exitButton_, &QPushButton::clicked, this, &CWendaroDlg::OnExit);
  connect(updateButton_, &QPushButton::clicked, this, &CWendaroDlg::OnUpdatePage);
  connect(techButton_, &QPushButton::clicked, this, &CWendaroDlg::OnTechPage);
  connect(reportButton_, &QPushButton::clicked, this, &CWendaroDlg::OnReportPage);
  connect(aboutButton_, &QPushButton::clicked, this, &CWendaroDlg::OnAbout);
  WireCopyMenus();
  WireShortcuts();
}

// What the model's changes reach: data flows one way, from the model's
// signals to the view.
void CWendaroDlg::WireModel() {
  connect(&model_, &PhraseBookModel::listRefilled, this, &CWendaroDlg::MirrorPhraseList);
  connect(&model_, &PhraseBookModel::phraseShown, this, [this] {
    TransferToControls();
    RepaintTextArea();
  });
  connect(&model_, &PhraseBookModel::clipWanted, this, &CWendaroDlg::LoadClip);
  connect(&model_, &PhraseBookModel::messageRaised, this, [this](const std::string& text) { ShowMessage(text); });
}

void CWendaroDlg::TransferToControls() {
  if (pronunciation_ == nullptr) return;  // before the controls exist
  pronunciation_->SetText(lexoria::ToQString(book_.PronunciationText()));
  KeyWordEdit()->setText(lexoria::ToQString(book_.KeyWord()));
  ExactMatchBox()->setChecked(book_.ExactMatch() != 0);
  japanese_->SetText(lexoria::ToQString(book_.JapaneseText()));
  UpdateAccessibleNames();
}

void CWendaroDlg::TransferFromControls() {
  if (pronunciation_ == nullptr) return;
  book_.SetPronunciationText(lexoria::ToU16(pronunciation_->Text()));
  book_.SetKeyWord(lexoria::ToU16(KeyWordEdit()->text()));
  book_.SetExactMatch(ExactMatchBox()->isChecked() ? 1 : 0);
  book_.SetJapaneseText(lexoria::ToU16(japanese_->Text()));
}

void CWendaroDlg::ShowMessage(std::string_view text) {
  messageBoxes_.Show(this, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void CWendaroDlg::MirrorPhraseList() {
  if (phraseList_ == nullptr) return;
  // A refill is no user selection: the list's own notification stays quiet.
  const QSignalBlocker blocker(phraseList_);
  if (phraseList_->ChoiceCombo() != nullptr) phraseList_->ChoiceCombo()->hide();
  phraseList_->clear();
  for (const lexoria::ListLine& line : book_.Lines()) {
    if (line.item) {
      phraseList_->AddItem(line.item);
    } else {
      phraseList_->AddPlainLine(lexoria::ToQString(line.text));
    }
  }
  const int selection = book_.Selection();
  if (selection >= 0 && selection < phraseList_->count()) {
    phraseList_->setCurrentRow(selection);
  } else {
    phraseList_->setCurrentRow(-1);
  }
}

void CWendaroDlg::OnLineRewritten(int index, const QString& text) {
  model_.ReplaceLineText(static_cast<std::size_t>(index), lexoria::ToU16(text));
}

void CWendaroDlg::RepaintTextArea() { update(textArea_); }

void CWendaroDlg::OnTimer() {
  updateTimer_.stop();
  RunUpdateHandOver();
}

void CWendaroDlg::OnDestroy() {
  if (destroyed_ || !initialised_) return;
  destroyed_ = true;
  updateTimer_.stop();
  lexoria::UnregisterFontFile(QStringLiteral("arial.ttf"));
  lexoria::UnregisterFontFile(QStringLiteral("mshei.ttf"));
  book_.ClearMap();
  book_.CloseFiles();
}

void CWendaroDlg::done(int result) {
  OnDestroy();
  CSkinnedDialog::done(result);
}

void CWendaroDlg::OnOK() {
  if (searchChanged_) OnRunSearch();
  searchChanged_ = false;
}

void CWendaroDlg::keyPressEvent(QKeyEvent* event) {
  // Enter is the default command wherever the focus is; it never closes.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    OnOK();
    event->accept();
    return;
  }
  CSkinnedDialog::keyPressEvent(event);
}

void CWendaroDlg::showEvent(QShowEvent* event) {
  CSkinnedDialog::showEvent(event);
  FocusPhraseList();
  // Over the window, not before it.
  if (!damageMessage_.isEmpty()) QTimer::singleShot(0, this, &CWendaroDlg::ReportDamagedFiles);
  // The search index, once the window has been painted (a second show finds it built).
  QTimer::singleShot(kSearchIndexDelay, this, [this] { book_.PrepareSearch(); });
}

void CWendaroDlg::changeEvent(QEvent* event) {
  CSkinnedDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) FocusPhraseList();
}

void CWendaroDlg::FocusPhraseList() {
  if (phraseList_ == nullptr) return;
  if (QLineEdit* edit = KeyWordEdit(); edit != nullptr && edit->hasFocus()) return;
  phraseList_->setFocus(Qt::OtherFocusReason);
}

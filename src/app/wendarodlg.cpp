#include "app/wendarodlg.h"

#include <QKeyEvent>
#include <QShowEvent>

#include "app/categories.h"
#include "app/defaultaudio.h"
#include "app/maintemplate.h"
#include "toolkit/fontfiles.h"
#include "toolkit/messagebox.h"
#include "toolkit/strings.h"

namespace {
CWendaroDlg* g_mainWindow = nullptr;
}  // namespace

CWendaroDlg* TheMainWindow() { return g_mainWindow; }

CWendaroDlg::CWendaroDlg(QWidget* parent, lexoria::sound::AudioOutput* output)
    : QDialog(parent),
      m_book(*this),
      m_ownedOutput(output != nullptr ? nullptr : CreateDefaultAudioOutput()),
      m_player(output != nullptr ? output : m_ownedOutput.get()) {
  // A frameless pop-up with a taskbar button; the skin gives it its look.
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(lexoria::DialogSizeToPixels(lexoria::MainTemplate().size));
  m_book.SetPronunciationText(u"");
  m_book.SetKeyWord(u"");
  m_book.SetJapaneseText(u"");
  m_book.SetExactMatch(0);
  m_textArea = kTextArea;
  LoadSkin();
  m_book.SetJapaneseForm(true);
  m_searchChanged = false;
  m_book.SetFavouritesView(true);
  m_book.SetSubCategoryIndex(0);
  m_book.SetCategoryCode(100);
  m_book.SetViewMode(lexoria::kViewBrowse);
  m_updateTimer.setInterval(kUpdateTimerPeriodMs);
  connect(&m_updateTimer, &QTimer::timeout, this, &CWendaroDlg::OnTimer);
}

CWendaroDlg::~CWendaroDlg() {
  OnDestroy();
  if (g_mainWindow == this) g_mainWindow = nullptr;
  if (MyListBoxHost() == this) SetMyListBoxHost(nullptr);
}

void CWendaroDlg::setVisible(bool visible) {
  if (visible && !initialised_) {
    initialised_ = true;
    OnInitDialog();
  }
  QDialog::setVisible(visible);
}

bool CWendaroDlg::OnInitDialog() {
  CreateControls();
  AttachControls();
  TransferToControls();
  WireMessageMap();
  setWindowIcon(m_icon);
  setWindowTitle(QString::fromLatin1(lexoria::MainTemplate().title));
  ApplyWindowRegion();
  SetUpButtons();
  m_book.SetFolders({m_paths.dataPath(), m_paths.favouritesPath()});
  m_book.OpenPhraseFiles();
  if (m_paths.bundledFonts()) {
    latinFamilies_ = lexoria::RegisterFontFile(QStringLiteral("arial.ttf"));
    japaneseFamilies_ = lexoria::RegisterFontFile(QStringLiteral("mshei.ttf"));
  }
  CreateFonts();
  m_book.SetCurrentClip(-1);
  m_book.SetCategoryCode(100);
  m_subCategoryCombo->setCurrentIndex(0);
  SelectCategory();
  g_mainWindow = this;
  SetMyListBoxHost(this);
  m_listBrush = MakeListBrush();
  ApplyControlColours();
  m_updateCheckDone = false;
  // After the first category is shown: play stays inert until the user
  // changes the selection.
  m_phraseShown = false;
  m_updateTimer.start();
  m_categoryButtons[0]->setFocus(Qt::OtherFocusReason);
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
      if (spec.id == 1019 || spec.id == 1033 || spec.id == 1059) {
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
  m_versionText = qobject_cast<CTransparentStatic*>(Control(1059));
  m_updateButton = Button(1046);
  m_reportButton = Button(1048);
  m_techButton = Button(1047);
  m_aboutButton = Button(1050);
  m_pronunciation = qobject_cast<CTransparentStatic*>(Control(1019));
  m_japanese = qobject_cast<CTransparentStatic*>(Control(1033));
  m_subCategoryCombo = qobject_cast<QComboBox*>(Control(1117));
  m_playButton = Button(1031);
  m_runSearchButton = Button(1023);
  m_minimiseButton = Button(1030);
  m_favouritesButton = Button(1026);
  m_relatedButton = Button(1022);
  m_searchModeButton = Button(1021);
  m_favouriteToggleButton = Button(1116);
  for (int i = 0; i < 10; ++i) m_categoryButtons[i] = Button(1101 + i);
  m_exitButton = Button(1041);
  m_phraseList = qobject_cast<CMyListBox*>(Control(1111));
}

// The message map: every control notification and the handler it reaches.
void CWendaroDlg::WireMessageMap() {
  for (const lexoria::CategoryButton& category : lexoria::CategoryButtons()) {
    connect(Button(category.id), &QPushButton::clicked, this, &CWendaroDlg::OnCategoryButton);
  }
  connect(m_subCategoryCombo, &QComboBox::activated, this, &CWendaroDlg::OnSubCategoryChosen);
  connect(m_searchModeButton, &QPushButton::clicked, this, &CWendaroDlg::OnSearchMode);
  connect(m_runSearchButton, &QPushButton::clicked, this, &CWendaroDlg::OnRunSearch);
  connect(KeyWordEdit(), &QLineEdit::textChanged, this, &CWendaroDlg::OnKeyWordChanged);
  connect(ExactMatchBox(), &QCheckBox::clicked, this, &CWendaroDlg::OnExactMatchClicked);
  connect(m_relatedButton, &QPushButton::clicked, this, &CWendaroDlg::OnRelatedPhrases);
  connect(m_phraseList, &QListWidget::currentRowChanged, this, &CWendaroDlg::OnListRowChanged);
  connect(m_phraseList, &QListWidget::itemDoubleClicked, this, &CWendaroDlg::OnPlay);
  connect(m_playButton, &QPushButton::clicked, this, &CWendaroDlg::OnPlay);
  connect(Switch(1035), &CBitmapStatic::clicked, this, &CWendaroDlg::OnFirstFormClicked);
  connect(Switch(1036), &CBitmapStatic::clicked, this, &CWendaroDlg::OnSecondFormClicked);
  connect(m_favouritesButton, &QPushButton::clicked, this, &CWendaroDlg::OnShowFavourites);
  connect(m_favouriteToggleButton, &QPushButton::clicked, this, &CWendaroDlg::OnToggleFavourite);
  connect(m_minimiseButton, &QPushButton::clicked, this, &CWendaroDlg::OnMinimise);
  connect(m_exitButton, &QPushButton::clicked, this, &CWendaroDlg::OnExit);
  connect(m_updateButton, &QPushButton::clicked, this, &CWendaroDlg::OnUpdatePage);
  connect(m_techButton, &QPushButton::clicked, this, &CWendaroDlg::OnTechPage);
  connect(m_reportButton, &QPushButton::clicked, this, &CWendaroDlg::OnReportPage);
  connect(m_aboutButton, &QPushButton::clicked, this, &CWendaroDlg::OnAbout);
}

void CWendaroDlg::TransferToControls() {
  if (m_pronunciation == nullptr) return;  // before the controls exist
  m_pronunciation->SetText(lexoria::ToQString(m_book.PronunciationText()));
  KeyWordEdit()->setText(lexoria::ToQString(m_book.KeyWord()));
  ExactMatchBox()->setChecked(m_book.ExactMatch() != 0);
  m_japanese->SetText(lexoria::ToQString(m_book.JapaneseText()));
}

void CWendaroDlg::TransferFromControls() {
  if (m_pronunciation == nullptr) return;
  m_book.SetPronunciationText(lexoria::ToU16(m_pronunciation->Text()));
  m_book.SetKeyWord(lexoria::ToU16(KeyWordEdit()->text()));
  m_book.SetExactMatch(ExactMatchBox()->isChecked() ? 1 : 0);
  m_book.SetJapaneseText(lexoria::ToU16(m_japanese->Text()));
}

void CWendaroDlg::ShowMessage(std::string_view text) {
  lexoria::ShowMessageBox(this, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void CWendaroDlg::PhraseListChanged() { MirrorPhraseList(); }

void CWendaroDlg::MirrorPhraseList() {
  if (m_phraseList == nullptr) return;
  // A refill is no user selection: the list's own notification stays quiet.
  const QSignalBlocker blocker(m_phraseList);
  if (m_phraseList->ChoiceCombo() != nullptr) m_phraseList->ChoiceCombo()->hide();
  m_phraseList->clear();
  for (const lexoria::ListLine& line : m_book.Lines()) {
    if (line.item) {
      m_phraseList->AddItem(line.item);
    } else {
      m_phraseList->AddPlainLine(lexoria::ToQString(line.text));
    }
  }
  const int selection = m_book.Selection();
  if (selection >= 0 && selection < m_phraseList->count()) {
    m_phraseList->setCurrentRow(selection);
  } else {
    m_phraseList->setCurrentRow(-1);
  }
}

void CWendaroDlg::OnLineRewritten(int index, const QString& text) {
  m_book.ReplaceLineText(static_cast<std::size_t>(index), lexoria::ToU16(text));
}

void CWendaroDlg::RepaintTextArea() { update(m_textArea); }

void CWendaroDlg::OnTimer() {
  m_updateTimer.stop();
  if (!m_updateCheckDone) {
    m_updateCheckDone = true;
    RunUpdateHandOver();
  }
}

void CWendaroDlg::OnDestroy() {
  if (destroyed_ || !initialised_) return;
  destroyed_ = true;
  m_updateTimer.stop();
  lexoria::UnregisterFontFile(QStringLiteral("arial.ttf"));
  lexoria::UnregisterFontFile(QStringLiteral("mshei.ttf"));
  m_book.ClearMap();
  m_book.CloseFiles();
}

void CWendaroDlg::done(int result) {
  OnDestroy();
  QDialog::done(result);
}

void CWendaroDlg::OnOK() {
  if (m_searchChanged) OnRunSearch();
  m_searchChanged = false;
}

void CWendaroDlg::keyPressEvent(QKeyEvent* event) {
  // Enter is the default command wherever the focus is; it never closes.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    OnOK();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CWendaroDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FocusPhraseList();
}

void CWendaroDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) FocusPhraseList();
}

void CWendaroDlg::FocusPhraseList() {
  if (m_phraseList == nullptr) return;
  if (QLineEdit* edit = KeyWordEdit(); edit != nullptr && edit->hasFocus()) return;
  m_phraseList->setFocus(Qt::OtherFocusReason);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The skin, the picture buttons, the web pages, the about box and the update
// hand-over inside the real main window.
#include "controls/hoverbutton.h"
#include "online/aboutdlg.h"
#include "testenv.h"
#include "toolkit/bitmaptoregion.h"
#include "toolkit/resources.h"
#include "urlcatcher.h"
#include "windowfixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {
// A skinned dialog drawn as on Wayland.
class TransparentSkin : public CSkinnedDialog {
 public:
  TransparentSkin() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    DrawTransparentOutsideShape();
    SetSkin(1129);
    setFixedSize(734, 611);
    ApplyShape();
  }
};

struct ButtonRow {
  int id;
  QSize size;
  const char* tooltip;
};

// Size of one picture and tooltip of every push button of the window.
const ButtonRow kButtons[] = {
    {1046, {118, 13}, "Update version"},
    {1048, {192, 13}, "Report bug or comments"},
    {1050, {65, 15}, "About"},
    {1047, {162, 13}, "Technical support"},
    {1041, {18, 18}, "Exit"},
    {1030, {18, 18}, "Minimize"},
    {1101, {126, 34}, "General Category"},
    {1102, {126, 34}, "Transportation Category"},
    {1104, {126, 34}, "Restaurant Category"},
    {1103, {126, 35}, "Hotel Category"},
    {1106, {126, 36}, "Business Category"},
    {1107, {126, 35}, "Specialty Category"},
    {1105, {126, 34}, "Events Category"},
    {1108, {126, 36}, "Shopping Category"},
    {1109, {126, 36}, "Urgent Category"},
    {1110, {126, 36}, "FAQ Category"},
    {1021, {81, 29}, "Search"},
    {1023, {44, 33}, "Run the search"},
    {1022, {86, 13}, "Related phrases"},
    {1026, {90, 13}, "Favorite phrases"},
    {1031, {31, 28}, "Play sound"},
};

CHoverButton* Hover(windowtest::Window& w, int id) { return qobject_cast<CHoverButton*>(w.Dlg().Control(id)); }

QStringList HandOverFiles(const QString& dir) { return QDir(dir).entryList({QStringLiteral("CUAD*")}, QDir::Files); }
}  // namespace

class WindowSkinTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    temp_ = std::make_unique<QTemporaryDir>();
    qputenv("TMPDIR", temp_->path().toLocal8Bit());
  }
  void cleanup() {
    qunsetenv("TMPDIR");
    temp_.reset();
  }

  void buttonsTakeTheirPicturesAndTooltips() {
    windowtest::DataFolder data;
    windowtest::Window w;
    for (const ButtonRow& row : kButtons) {
      CHoverButton* b = Hover(w, row.id);
      QVERIFY2(b, qPrintable(QString::number(row.id)));
      QCOMPARE(b->size(), row.size);
      QCOMPARE(b->ToolTipText(), QString::fromLatin1(row.tooltip));
      QVERIFY(b->IsToolTipActive());
    }
    // 1116 says what a click would do in the view at hand.
    QCOMPARE(Hover(w, 1116)->size(), QSize(43, 33));
    QCOMPARE(Hover(w, 1116)->ToolTipText(), w.Dlg().FavouriteTooltip());
    w.Click(1102);
    QCOMPARE(Hover(w, 1101)->ToolTipText(), QStringLiteral("General Category"));
  }

  void shapeAndBackgroundAreTheSkin() {
    windowtest::DataFolder data;
    windowtest::Window w;
    const QImage skin = lexoria::LoadBitmapResource(1129);
    QCOMPARE(w.Dlg().mask(), *lexoria::BitmapToRegion(skin, lexoria::kKeyBlack, 0));
    QVERIFY(!w.Dlg().windowIcon().isNull());
    // The background between the controls is the skin's own pixels.
    const QImage shot = w.Dlg().grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QPoint p : {QPoint(30, 300), QPoint(700, 300), QPoint(360, 530)}) QCOMPARE(shot.pixel(p), skin.pixel(p));
    // The phrase list is laid over the tiled texture.
    const QBrush base = w.Dlg().PhraseList()->palette().brush(QPalette::Base);
    QCOMPARE(base.texture().size(), QSize(170, 86));
    // Every control of the window lies within its shape.
    for (QWidget* child : w.Dlg().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!child->isVisible()) continue;
      QVERIFY2(w.Dlg().mask().intersected(child->geometry()) == QRegion(child->geometry()),
               qPrintable(child->objectName()));
    }
  }

  // Where a mask cuts only the input (Wayland), the window is transparent
  // outside its shape and the skin's own pixels inside it, as X11 shows it.
  void transparentOutsideTheShapeWhereTheMaskOnlyTakesInput() {
    QVERIFY(!CSkinnedDialog::MaskIsInputOnly());  // offscreen cuts the picture itself
    TransparentSkin dlg;
    QVERIFY(dlg.DrawnTransparent());
    const QImage shot = dlg.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage skin = lexoria::LoadBitmapResource(1129).convertToFormat(QImage::Format_RGB32);
    const QRegion shape = *dlg.Shape();
    QCOMPARE(shot.size(), QSize(734, 611));
    int wrong = 0, inside = 0;
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        const QRgb pixel = shot.pixel(x, y);
        if (shape.contains(QPoint(x, y))) {
          ++inside;
          wrong += qAlpha(pixel) != 255 || (pixel | 0xFF000000) != skin.pixel(x, y);
        } else {
          wrong += qAlpha(pixel) != 0;
        }
      }
    }
    QCOMPARE(wrong, 0);
    QVERIFY(inside > 700 * 500);
  }

  void draggedByAnyFreePoint() {
    windowtest::DataFolder data;
    windowtest::Window w;
    w.Dlg().move(50, 40);
    const QPoint start = w.Dlg().pos();
    QTest::mousePress(&w.Dlg(), Qt::LeftButton, {}, QPoint(60, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(90, 320), w.Dlg().mapToGlobal(QPointF(90, 320)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.Dlg(), &move);
    QTest::mouseRelease(&w.Dlg(), Qt::LeftButton, {}, QPoint(90, 320));
    QCOMPARE(w.Dlg().pos(), start + QPoint(30, 20));
  }

  void webPagesOpenOncePerClick() {
    windowtest::DataFolder data;
    windowtest::Window w;
    UrlCatcher catcher;
    for (int id : {1046, 1047, 1048, 1046}) w.Click(id);
    QCOMPARE(catcher.opened, QStringList({"http://www.lexoria.example/Lexoria_Japanese/checkforupdate.jsp",
                                          "http://www.lexoria.example/Lexoria_Japanese/technicalsupport.jsp",
                                          "http://www.lexoria.example/Lexoria_Japanese/reportabug.jsp",
                                          "http://www.lexoria.example/Lexoria_Japanese/checkforupdate.jsp"}));
    QVERIFY(w.Messages().isEmpty());
  }

  void aboutButtonShowsTheAboutBox() {
    windowtest::DataFolder data;
    windowtest::Window w;
    bool shown = false;
    bool tied = false;
    QTimer::singleShot(0, [&shown, &tied, &w] {
      auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
      if (about == nullptr) return;
      shown = about->Label(1051)->text() == QStringLiteral("Lexoria_Japanese");
      // No parent widget, but placed by the window system over ours.
      tied = about->parentWidget() == nullptr && about->windowHandle() != nullptr &&
             about->windowHandle()->transientParent() == w.Dlg().windowHandle();
      QTest::mouseClick(about->OkButton(), Qt::LeftButton, {}, QPoint(5, 5));
    });
    w.Click(1050);
    QVERIFY(shown);
    QVERIFY(tied);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(w.Dlg().isVisible());
  }

  void updateHandOverOnceAfterTheTimer() {
    windowtest::DataFolder data;
    // A stand-in updater that leaves the hand-over file where it is.
    QFile updater(data.File(QStringLiteral("AutoUpdate.exe")));
    QVERIFY(updater.open(QIODevice::WriteOnly));
    updater.write("#!/bin/sh\nexit 0\n");
    updater.close();
    updater.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The run folder's program sits beside it.
    windowtest::Window w(lexoria::AppPaths::RunFolder(data.Path()));
    QVERIFY(w.Dlg().UpdateTimerActive());
    QCOMPARE(HandOverFiles(temp_->path()).size(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(w.Dlg().UpdateCheckDone(), 5000);
    QCOMPARE(HandOverFiles(temp_->path()).size(), 1);
    // A second timer notice does nothing more.
    w.Dlg().OnTimer();
    QCOMPARE(HandOverFiles(temp_->path()).size(), 1);
    QFile file(QDir(temp_->path()).filePath(HandOverFiles(temp_->path()).first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("1.5.2\r\nversion.dat\r\nhttp://www.lexoria.example/SoftwareDownload/Lexoria_Japanese"));
    QVERIFY(w.Dlg().isVisible());
    QVERIFY(w.Messages().isEmpty());
  }

  void updateHandOverLeavesNothingWithoutAnUpdater() {
    windowtest::DataFolder data;
    windowtest::Window w(lexoria::AppPaths::RunFolder(data.Path()));
    QTRY_VERIFY_WITH_TIMEOUT(w.Dlg().UpdateCheckDone(), 5000);
    // No "AutoUpdate.exe" here: nothing left behind, the window carries on,
    // no message.
    QCOMPARE(HandOverFiles(temp_->path()).size(), 0);
    QVERIFY(w.Dlg().isVisible());
    QVERIFY(w.Messages().isEmpty());
  }

  // Mended: the hand-over started an AutoUpdate.exe found in the working
  // folder. Installed, the package manager updates: a planted one is not
  // run and no hand-over file is written.
  void noUpdateHandOverWhenInstalled() {
    windowtest::DataFolder data;  // the working folder
    QFile updater(data.File(QStringLiteral("AutoUpdate.exe")));
    QVERIFY(updater.open(QIODevice::WriteOnly));
    updater.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/started.txt\"\n");
    updater.close();
    updater.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QTemporaryDir program;
    const lexoria::AppPaths installed = lexoria::AppPaths::Decide(program.path(), program.filePath("favourites"));
    QVERIFY(installed.installed());
    windowtest::Window w(installed);
    QTRY_VERIFY_WITH_TIMEOUT(w.Dlg().UpdateCheckDone(), 5000);
    QTest::qWait(300);
    QCOMPARE(HandOverFiles(temp_->path()).size(), 0);
    QVERIFY(!QFile::exists(data.File(QStringLiteral("started.txt"))));
  }

 private:
  std::unique_ptr<QTemporaryDir> temp_;
};

LEXORIA_TEST_MAIN(WindowSkinTest)
#include "test_windowskin.moc"

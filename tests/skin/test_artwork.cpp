// The committed pictures are exactly what the artwork tool draws.
#include "testenv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class ArtworkTest : public QObject {
  Q_OBJECT
 private slots:
  void toolRegeneratesTheCommittedFiles() {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(LEXORIA_ARTWORK_TOOL), {out.path()});
    QVERIFY(tool.waitForFinished(120000));
    QCOMPARE(tool.exitCode(), 0);

    const QDir res(qEnvironmentVariable("LEXORIA_SOURCE_DIR") + QStringLiteral("/res"));
    const QStringList committed = res.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    const QStringList drawn = QDir(out.path()).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    QCOMPARE(drawn, committed);
    for (const QString& name : committed) {
      QFile a(res.filePath(name));
      QFile b(QDir(out.path()).filePath(name));
      QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
      QVERIFY2(a.readAll() == b.readAll(), qPrintable(name + QStringLiteral(" differs: run the artwork target")));
    }
  }
};

LEXORIA_TEST_MAIN(ArtworkTest)
#include "test_artwork.moc"

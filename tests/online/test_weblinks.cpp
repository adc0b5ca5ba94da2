// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/weblinks.h"
#include "testenv.h"
#include "urlcatcher.h"

#include <QApplication>
#include <QTest>

class WebLinksTest : public QObject {
  Q_OBJECT
 private slots:
  void addresses_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("address");
    QTest::newRow("Update") << 1046 << "http://www.lexoria.example/Lexoria_Japanese/checkforupdate.jsp";
    QTest::newRow("Tech") << 1047 << "http://www.lexoria.example/Lexoria_Japanese/technicalsupport.jsp";
    QTest::newRow("Report") << 1048 << "http://www.lexoria.example/Lexoria_Japanese/reportabug.jsp";
    QTest::newRow("About has no page") << 1050 << QString();
  }
  void addresses() {
    QFETCH(int, button);
    QFETCH(QString, address);
    QCOMPARE(lexoria::online::WebLinkAddress(button), address);
    UrlCatcher catcher;
    // Twice pressed, twice opened.
    lexoria::online::OpenWebLink(button);
    lexoria::online::OpenWebLink(button);
    if (address.isEmpty()) {
      QVERIFY(catcher.opened.isEmpty());
    } else {
      QCOMPARE(catcher.opened, QStringList({address, address}));
    }
  }
};

LEXORIA_TEST_MAIN(WebLinksTest)
#include "test_weblinks.moc"

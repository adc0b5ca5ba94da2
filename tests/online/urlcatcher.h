// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stands in for the browser: every address the desktop is asked to open.
#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  UrlCatcher() {
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
  }
  ~UrlCatcher() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  }
  QStringList opened;

 public slots:
  void Open(const QUrl& url) { opened.append(url.toString()); }
};

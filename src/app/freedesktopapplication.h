// SPDX-License-Identifier: GPL-3.0-or-later
// FreedesktopApplication: the org.freedesktop.Application interface on the
// session bus, as the desktop calls it for an entry with DBusActivatable=true
// and as a second start of the program calls it. Every method shows the
// window; its platform data may carry the caller's activation token.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class SingleInstance;

class FreedesktopApplication : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

 public:
  explicit FreedesktopApplication(SingleInstance* instance);

 public slots:
  void Activate(const QVariantMap& platformData);
  // The program opens no files and has no actions: both show the window.
  void Open(const QStringList& uris, const QVariantMap& platformData);
  void ActivateAction(const QString& actionName, const QVariantList& parameter, const QVariantMap& platformData);

 private:
  SingleInstance* instance_;
};

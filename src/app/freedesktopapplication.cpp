// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/freedesktopapplication.h"

#include "app/singleinstance.h"

FreedesktopApplication::FreedesktopApplication(SingleInstance* instance)
    : QDBusAbstractAdaptor(instance), instance_(instance) {}

void FreedesktopApplication::Activate(const QVariantMap& platformData) { instance_->Activated(platformData); }

void FreedesktopApplication::Open(const QStringList& uris, const QVariantMap& platformData) {
  (void)uris;
  instance_->Activated(platformData);
}

void FreedesktopApplication::ActivateAction(const QString& actionName, const QVariantList& parameter,
                                            const QVariantMap& platformData) {
  (void)actionName;
  (void)parameter;
  instance_->Activated(platformData);
}

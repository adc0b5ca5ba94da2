#include "toolkit/messagebox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <utility>

namespace lexoria {

namespace {
MessageBoxInterceptor& Interceptor() {
  static MessageBoxInterceptor interceptor;
  return interceptor;
}
}  // namespace

QString ApplicationName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

void ShowMessageBox(QWidget* owner, const QString& text) {
  const QString caption = ApplicationName();
  if (Interceptor()) {
    Interceptor()(owner, caption, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
  box.exec();
}

void SetMessageBoxInterceptor(MessageBoxInterceptor interceptor) { Interceptor() = std::move(interceptor); }

}  // namespace lexoria

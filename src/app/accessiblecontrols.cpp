// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/accessiblecontrols.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

#include "app/bitmapstatic.h"
#include "controls/transparentstatic.h"

namespace lexoria {

namespace {

constexpr char kLanguageProperty[] = "lexoriaAccessibleLanguage";

// A painted text: its name says what it is ("Japanese"), its text interface
// gives the letters on show.
class AccessibleStaticText : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit AccessibleStaticText(CTransparentStatic* text) : QAccessibleWidget(text, QAccessible::StaticText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Shown();
    // Unnamed, it is called by what it says, like a label.
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) return Shown();
    return QAccessibleWidget::text(kind);
  }

  // Read only: no selection, the caret at the start.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override {
    const QString shown = Shown();
    if (end < 0 || end > shown.size()) end = static_cast<int>(shown.size());
    if (start < 0 || start >= end) return QString();
    return shown.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  QRect characterRect(int) const override { return rect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    const QByteArray language = widget()->property(kLanguageProperty).toByteArray();
    return language.isEmpty() ? QString() : QStringLiteral("language:%1;").arg(QString::fromLatin1(language));
  }

 private:
  QString Shown() const {
    QString shown = static_cast<const CTransparentStatic*>(widget())->Text();
    // Byte-order marks of the data files are nothing to read out.
    shown.remove(QChar(0xFEFF));
    return shown;
  }
};

// A switch painted as a picture that acts as a button.
class AccessibleSwitch : public QAccessibleWidget {
 public:
  explicit AccessibleSwitch(CBitmapStatic* button) : QAccessibleWidget(button, QAccessible::PushButton) {}

  QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
  void doAction(const QString& action) override {
    if (action == pressAction()) {
      static_cast<CBitmapStatic*>(widget())->Click();
      return;
    }
    QAccessibleWidget::doAction(action);
  }
};

QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
  if (object == nullptr || !object->isWidgetType()) return nullptr;
  if (className == QLatin1String("CTransparentStatic")) {
    return new AccessibleStaticText(static_cast<CTransparentStatic*>(object));
  }
  if (className == QLatin1String("CBitmapStatic")) return new AccessibleSwitch(static_cast<CBitmapStatic*>(object));
  return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
  static const bool installed = [] {
    QAccessible::installFactory(CreateInterface);
    return true;
  }();
  (void)installed;
}

void SetAccessibleLanguage(QWidget* text, const char* language) {
  text->setProperty(kLanguageProperty, QByteArray(language));
}

}  // namespace lexoria

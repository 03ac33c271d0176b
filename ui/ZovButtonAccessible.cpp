#include "ui/ZovButtonAccessible.h"

#include "ui/ZovButton.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>

namespace zov {

namespace {

class ZovButtonAccessible : public QAccessibleWidget {
public:
    explicit ZovButtonAccessible(ZovButton* button)
        : QAccessibleWidget(button, button->CheckBoxBehaviour() ? QAccessible::CheckBox
                                                                : QAccessible::Button) {
        addControllingSignal(QStringLiteral("Click()"));
    }

    ZovButton* Button() const { return static_cast<ZovButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        const ZovButton* button = Button();
        if (t == QAccessible::Name) {
            if (!button->accessibleName().isEmpty())
                return button->accessibleName();
            QString name = button->Caption();
            name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            name.remove(u'&').replace(u'\x01', u'&');
            name.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
            name = name.simplified();
            return name.isEmpty() ? button->toolTip().trimmed() : name;
        }
        if (t == QAccessible::Description)
            return button->toolTip().trimmed();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const ZovButton* button = Button();
        if (button->CheckBoxBehaviour()) {
            s.checkable = true;
            s.checked = button->Value();
            s.pressed = button->Value();
        }
        s.defaultButton = button->Default();
        return s;
    }

    QStringList actionNames() const override {
        return Button()->isEnabled() ? QStringList{pressAction()} : QStringList();
    }

    void doAction(const QString& actionName) override {
        ZovButton* button = Button();
        if (actionName != pressAction() || !button->isEnabled())
            return;
        // Pressed as the Space key presses it, so that every rule of a press applies.
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(button, &down);
        QCoreApplication::sendEvent(button, &up);
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("ZovButton") && object && object->isWidgetType())
        return new ZovButtonAccessible(static_cast<ZovButton*>(object));
    return nullptr;
}

} // namespace

void InstallButtonAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace zov

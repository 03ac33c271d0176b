#include "ui/Accessibility.h"

#include "ui/Form.h"
#include "ui/ZovButton.h"

#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeySequence>
#include <QTabWidget>

namespace {

// "&Save" -> "Save", "Search && Summary" -> "Search & Summary".
QString WithoutAccessKeys(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                plain += text[++i];
            continue;
        }
        plain += text[i];
    }
    return plain;
}

class ZovButtonAccessible : public QAccessibleWidget {
public:
    explicit ZovButtonAccessible(ZovButton* button) : QAccessibleWidget(button) {}

    ZovButton* Button() const { return static_cast<ZovButton*>(widget()); }

    QAccessible::Role role() const override {
        return Button()->CheckBoxBehaviour() ? QAccessible::CheckBox : QAccessible::PushButton;
    }

    QString text(QAccessible::Text t) const override {
        const ZovButton* b = Button();
        switch (t) {
        case QAccessible::Name:
            return b->accessibleName().isEmpty() ? ui::ButtonName(b->Caption(), b->toolTip())
                                                 : b->accessibleName();
        case QAccessible::Description:
            return b->accessibleDescription().isEmpty() ? b->toolTip().trimmed()
                                                        : b->accessibleDescription();
        case QAccessible::Accelerator:
            return QKeySequence::mnemonic(b->Caption()).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const ZovButton* b = Button();
        s.pressed = b->IsDown();
        s.defaultButton = b->Default();
        if (b->CheckBoxBehaviour()) {
            s.checkable = true;
            s.checked = b->Value();
        }
        // The message box keeps a button beyond its left edge for Esc; nobody can see it.
        if (b->parentWidget() && !b->geometry().intersects(b->parentWidget()->rect()))
            s.invisible = s.offscreen = true;
        return s;
    }

    // The press runs as a click does, once the caller has had its answer (the press may open
    // a modal window). A button with a menu of its own (the print buttons) offers it too.
    QStringList actionNames() const override {
        if (HasMenu())
            return {pressAction(), showMenuAction()};
        return {pressAction()};
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            QMetaObject::invokeMethod(Button(), &ZovButton::PerformClick, Qt::QueuedConnection);
        } else if (actionName == showMenuAction() && HasMenu()) {
            ZovButton* b = Button();
            QMetaObject::invokeMethod(
                b,
                [b] {
                    QContextMenuEvent event(QContextMenuEvent::Keyboard, b->rect().center(),
                                            b->mapToGlobal(b->rect().center()));
                    QCoreApplication::sendEvent(b, &event);
                },
                Qt::QueuedConnection);
        }
    }

    bool HasMenu() const {
        const ZovButton* b = Button();
        return b->isEnabled() && b->contextMenuPolicy() == Qt::ActionsContextMenu &&
               !b->actions().isEmpty();
    }

    QStringList keyBindingsForAction(const QString& actionName) const override {
        if (actionName != pressAction())
            return {};
        const QKeySequence keys = QKeySequence::mnemonic(Button()->Caption());
        return keys.isEmpty() ? QStringList() : QStringList{keys.toString()};
    }
};

// A window: a dialog while it is shown modally (or is a message box), a frame otherwise. Qt
// already names it by its caption.
class FormAccessible : public QAccessibleWidget {
public:
    FormAccessible(QWidget* form, bool alwaysDialog)
        : QAccessibleWidget(form), alwaysDialog_(alwaysDialog) {}

    QAccessible::Role role() const override {
        if (alwaysDialog_ || widget()->windowType() == Qt::Dialog || widget()->isModal())
            return QAccessible::Dialog;
        return QAccessible::Window;
    }

private:
    bool alwaysDialog_;
};

// Qt asks for each class of an object, the most derived first.
QAccessibleInterface* KitInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("ZovButton"))
        return new ZovButtonAccessible(static_cast<ZovButton*>(widget));
    if (className == QLatin1String("frmMsgBox"))
        return new FormAccessible(widget, true);
    if (className == QLatin1String("Form"))
        return new FormAccessible(widget, false);
    return nullptr;
}

} // namespace

namespace ui {

void InstallAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(KitInterface);
}

QString ButtonName(const QString& caption, const QString& toolTip) {
    QString name = WithoutAccessKeys(caption);
    name.replace(QLatin1String("\r\n"), QLatin1String(" "));
    name.replace(u'\n', u' ');
    name = name.trimmed();
    return name.isEmpty() ? toolTip.trimmed() : name;
}

int AddTabPage(QTabWidget* tabs, QWidget* page, const QString& caption) {
    const int index = tabs->addTab(page, caption);
    SetTabCaption(tabs, index, caption);
    return index;
}

void SetTabCaption(QTabWidget* tabs, int index, const QString& caption) {
    tabs->setTabText(index, caption);
    // A page is a plain pane to the screen reader until it is named; setAccessibleName also
    // tells it of the new name.
    if (QWidget* page = tabs->widget(index))
        page->setAccessibleName(WithoutAccessKeys(caption));
}

} // namespace ui

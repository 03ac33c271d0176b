#include "platform/StandardDialogs.h"

#include "platform/Questions.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace platform {

namespace {

// Texts come with CR LF between lines; Qt's labels break at LF alone.
QString ForLabel(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon ToQt(StandardIcon icon) {
    switch (icon) {
    case StandardIcon::Stop:
        return QMessageBox::Critical;
    case StandardIcon::Information:
        return QMessageBox::Information;
    case StandardIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The pressed button as a 1-based number in the order of Question::buttons.
int ShowMessageBox(const Question& q, StandardButtons buttons, QWidget* owner) {
    QMessageBox box(ToQt(static_cast<StandardIcon>(q.icon)), q.title, ForLabel(q.text),
                    QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText); // the text may carry stored names
    if (buttons == StandardButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
    case QMessageBox::Yes:
        return 1;
    case QMessageBox::No:
        return 2;
    default:
        return 0;
    }
}

} // namespace

StandardAnswer StandardMessage(const QString& title, const QString& text, StandardIcon icon,
                               StandardButtons buttons, QWidget* owner) {
    Question q;
    q.kind = Question::Kind::StandardMessage;
    q.title = title;
    q.text = text;
    q.icon = static_cast<int>(icon);
    q.buttons = buttons == StandardButtons::YesNo
                    ? QStringList{QStringLiteral("Yes"), QStringLiteral("No")}
                    : QStringList{QStringLiteral("OK")};
    q.defaultButton = 1;
    const Answer a = Ask(q, [&] { return Answer{ShowMessageBox(q, buttons, owner), false, {}}; });
    if (buttons == StandardButtons::YesNo) {
        if (a.button == 1)
            return StandardAnswer::Yes;
        if (a.button == 2)
            return StandardAnswer::No;
        return StandardAnswer::None;
    }
    return a.button == 1 ? StandardAnswer::Ok : StandardAnswer::None;
}

QString InputBox(const QString& title, const QString& prompt, const QString& defaultText,
                 QWidget* owner, InputEcho echo) {
    Question q;
    q.kind = Question::Kind::Input;
    q.title = title;
    q.text = prompt;
    q.defaultText = defaultText;
    q.secret = echo == InputEcho::Secret;
    const Answer a = Ask(q, [&] {
        QInputDialog dialog(owner);
        dialog.setWindowTitle(title);
        dialog.setLabelText(ForLabel(prompt));
        dialog.setTextEchoMode(q.secret ? QLineEdit::Password : QLineEdit::Normal);
        dialog.setTextValue(defaultText);
        if (auto* label = dialog.findChild<QLabel*>())
            label->setTextFormat(Qt::PlainText); // the prompt may carry stored names
        const bool ok = dialog.exec() == QDialog::Accepted;
        return Answer{ok ? 1 : 0, false, ok ? dialog.textValue() : QString()};
    });
    return a.text;
}

QString PickFolder(const QString& prompt, QWidget* owner, const QString& startFolder) {
    Question q;
    q.kind = Question::Kind::Folder;
    q.title = prompt;
    q.text = prompt;
    q.defaultText = startFolder;
    const Answer a = Ask(q, [&] {
        const QString path = QFileDialog::getExistingDirectory(owner, prompt, startFolder);
        return Answer{path.isEmpty() ? 0 : 1, false, path};
    });
    return a.text;
}

int ChooseItem(const QString& title, const QString& prompt, const QStringList& items,
               QWidget* owner) {
    Question q;
    q.kind = Question::Kind::Choice;
    q.title = title;
    q.text = prompt;
    q.items = items;
    const Answer a = Ask(q, [&] {
        bool ok = false;
        const QString chosen =
            QInputDialog::getItem(owner, title, ForLabel(prompt), items, 0, false, &ok);
        return Answer{ok ? static_cast<int>(items.indexOf(chosen)) + 1 : 0, false, {}};
    });
    return a.button >= 1 && a.button <= items.size() ? a.button - 1 : -1;
}

namespace {

// The save and open questions differ only in their kind and the dialog that answers them.
template <class Dialog>
QString AskFileName(Question::Kind kind, const QString& title, const QString& path,
                    const QString& filter, QWidget* owner, Dialog dialog) {
    Question q;
    q.kind = kind;
    q.title = title;
    q.text = filter;
    q.defaultText = path;
    const Answer a = Ask(q, [&] {
        const QString chosen = dialog(owner, title, path, filter);
        return Answer{chosen.isEmpty() ? 0 : 1, false, chosen};
    });
    return a.text;
}

} // namespace

QString SaveFileName(const QString& title, const QString& suggestedPath, const QString& filter,
                     QWidget* owner) {
    return AskFileName(Question::Kind::SaveFile, title, suggestedPath, filter, owner,
                       [](QWidget* o, const QString& t, const QString& p, const QString& f) {
                           return QFileDialog::getSaveFileName(o, t, p, f);
                       });
}

QString OpenFileName(const QString& title, const QString& startFolder, const QString& filter,
                     QWidget* owner) {
    return AskFileName(Question::Kind::OpenFile, title, startFolder, filter, owner,
                       [](QWidget* o, const QString& t, const QString& p, const QString& f) {
                           return QFileDialog::getOpenFileName(o, t, p, f);
                       });
}

} // namespace platform

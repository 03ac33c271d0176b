#include "ui/modMsgBox.h"

#include "platform/Questions.h"
#include "ui/frmMsgBox.h"

#include <QApplication>

int ShowMessage(const QString& title, int iconKind, const QString& message, int defaultButton,
                bool showDontAsk, const QStringList& buttonCaptions) {
    platform::Question question;
    question.kind = platform::Question::Kind::Message;
    question.title = title;
    question.text = message;
    question.buttons = buttonCaptions;
    question.defaultButton = defaultButton;
    question.icon = iconKind;

    const platform::Answer answer = platform::Ask(question, [&] {
        // A window that asks while it is being opened (an empty list noticed at its first
        // activation) is drawn before the box covers it.
        QGuiApplication::sync();
        frmMsgBox box(title, iconKind, message, defaultButton, showDontAsk, buttonCaptions);
        const int pressed = box.Run(QApplication::activeWindow());
        return platform::Answer{pressed, box.MessageDontAsk(), {}};
    });
    return answer.button;
}

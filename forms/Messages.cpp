#include "forms/Messages.h"

#include "ui/modMsgBox.h"

namespace forms {

QString OkayButton() {
    return QStringLiteral("&Okay");
}

int Ask(const QString& title, Icon icon, const QStringList& lines, int defaultButton,
        const QStringList& buttons) {
    return ShowMessage(title, static_cast<int>(icon), lines.join(QStringLiteral("\r\n")),
                       defaultButton, false, buttons);
}

void Tell(const QString& title, const QStringList& lines, Icon icon) {
    Ask(title, icon, lines, 1, {OkayButton()});
}

} // namespace forms

#include "lobby/LobbyMessages.h"

#include "ui/modMsgBox.h"

namespace lobbymsg {

int Ask(const QString& title, int iconKind, const QStringList& lines, int defaultButton,
        const QStringList& buttons) {
    return ShowMessage(title, iconKind, lines.join(QStringLiteral("\r\n")), defaultButton, false,
                       buttons);
}

void Notice(const QString& title, const QStringList& lines, int iconKind) {
    Ask(title, iconKind, lines, 1, {QStringLiteral("&Okay")});
}

} // namespace lobbymsg

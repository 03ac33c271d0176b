#include "signin/SignInMessages.h"

#include "forms/Messages.h"

namespace signin {

void TellPleaseWait(const QString& tooMany, int seconds) {
    forms::Tell(QStringLiteral("Please Wait"),
                {tooMany, QStringLiteral("Please wait %1 and try again.")
                              .arg(seconds == 1 ? QStringLiteral("1 second")
                                                : QStringLiteral("%1 seconds").arg(seconds))},
                forms::Icon::Exclamation);
}

void TellIncorrectPassword() {
    forms::Tell(QStringLiteral("Incorrect Password"),
                {QStringLiteral("That is not the correct password"),
                 QStringLiteral("associated with this name")},
                forms::Icon::Stop);
}

} // namespace signin

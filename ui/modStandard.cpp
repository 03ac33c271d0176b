#include "ui/modStandard.h"

#include "platform/Desktop.h"
#include "platform/StandardDialogs.h"

#include <QUrl>

namespace modStandard {

QString MailOrWebTarget(int kind, const QString& text) {
    if (kind == Mail)
        return QStringLiteral("mailto:") + (text.isEmpty() ? MakerMailAddress : text);
    return QStringLiteral("http://") + (text.isEmpty() ? MakerWebAddress : text);
}

void OpenMailOrWeb(int kind, QWidget* owner, const QString& text) {
    const QUrl target(MailOrWebTarget(kind, text), QUrl::TolerantMode);
    if (platform::OpenTarget(target))
        return;
    platform::StandardMessage(QStringLiteral("Error"),
                              QStringLiteral("Could not establish a connection!"),
                              platform::StandardIcon::Stop, platform::StandardButtons::Ok, owner);
}

} // namespace modStandard

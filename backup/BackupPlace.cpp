#include "backup/BackupPlace.h"

#include "platform/Settings.h"
#include "store/Clock.h"
#include "ui/AppTitle.h"
#include "ui/modMsgBox.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace backup {

namespace {

const QString kSection = QStringLiteral("Backup");
const QString kFolderKey = QStringLiteral("LastFolder");
const QString kTimeKey = QStringLiteral("LastTime");
constexpr qint64 kRemindAfterDays = 7;

bool& Reminded() {
    static bool reminded = false;
    return reminded;
}

} // namespace

QString BackupStartFolder() {
    const QString last = platform::GetSetting(AppTitle(), kSection, kFolderKey);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void RememberBackup(const QString& folder) {
    // A preference that cannot be kept costs only the picker's starting place and the
    // reminder; the backup itself is made, and that is what the user is told.
    (void)platform::SaveSetting(AppTitle(), kSection, kFolderKey, QDir::cleanPath(folder));
    (void)platform::SaveSetting(AppTitle(), kSection, kTimeKey,
                                store::CurrentDateTime().toString(Qt::ISODate));
}

void RemindOfOldBackup(const Session& session) {
    if (Reminded() || !session.CanBackup())
        return;
    const QDateTime last =
        QDateTime::fromString(platform::GetSetting(AppTitle(), kSection, kTimeKey), Qt::ISODate);
    if (!last.isValid() || last.daysTo(store::CurrentDateTime()) <= kRemindAfterDays)
        return;
    Reminded() = true;
    const QString folder = platform::GetSetting(AppTitle(), kSection, kFolderKey);
    ShowMessage(
        QStringLiteral("Time for a backup"), 3,
        QStringList{QStringLiteral("The last backup of your ") + AppTitle() +
                        QStringLiteral(" data files"),
                    QStringLiteral("was made on ") +
                        last.toString(QStringLiteral("yyyy-MM-dd 'at' HH:mm")) +
                        QStringLiteral(", %1 days ago,").arg(last.daysTo(store::CurrentDateTime())),
                    QStringLiteral("in the folder ") + u'\'' + folder + u'\'' + u'.', QString(),
                    QStringLiteral("Please make a new one with the"),
                    QStringLiteral("Backup/Restore button.")}
            .join(QStringLiteral("\r\n")),
        1, false, {QStringLiteral("&Okay")});
}

namespace testing {
void ForgetReminder() {
    Reminded() = false;
}
} // namespace testing

} // namespace backup

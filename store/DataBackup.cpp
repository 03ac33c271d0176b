#include "store/DataBackup.h"

#include "store/Clock.h"
#include "store/FileCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <cerrno>
#include <sys/stat.h>

namespace store {

namespace {

const QString kBackupPrefix = QStringLiteral("Mirtavel backup ");
const QString kBackupTimeFormat = QStringLiteral("yyyy-MM-dd HH-mm");

} // namespace

QString BackupTempName(const QString& name) {
    return name + QStringLiteral(".$$$");
}

QString BackupFolderName(const QString& parent) {
    const QDir dir(parent);
    const QString base = kBackupPrefix + CurrentDateTime().toString(kBackupTimeFormat);
    QString name = base;
    for (int n = 2;
         QFileInfo::exists(dir.filePath(name)) || QFileInfo(dir.filePath(name)).isSymLink(); ++n)
        name = base + QStringLiteral(" (%1)").arg(n);
    return name;
}

bool IsBackupFolderName(const QString& name, QDateTime* when, int* number) {
    static const QRegularExpression pattern(
        QStringLiteral("^Mirtavel backup (\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d)(?: \\((\\d+)\\))?$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return false;
    const QDateTime time = QDateTime::fromString(match.captured(1), kBackupTimeFormat);
    if (!time.isValid())
        return false;
    if (when)
        *when = time;
    if (number)
        *number = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
    return true;
}

StoreResult BackupDataSet(const QString& folder, const QStringList& names,
                          const std::function<void(const QString& name)>& copying) {
    const QDir target(folder);
    QMap<QString, filecopy::FileIdentity> copied; // name -> the copy written
    QStringList order;
    const auto discard = [&] {
        for (const QString& name : std::as_const(order))
            QFile::remove(target.filePath(BackupTempName(name)));
    };
    // Whatever stands under a name the backup writes, or under its copy's name, and is no
    // regular file was put there by someone else: a link would have the copy written to, or
    // renamed over, a file elsewhere. Refused before anything is written.
    for (const QString& name : names) {
        for (const QString& entry : {name, BackupTempName(name)}) {
            if (StoreResult regular = filecopy::AbsentOrRegular(target.filePath(entry), name);
                !regular)
                return regular;
        }
    }
    for (const QString& name : names) {
        if (!QFileInfo::exists(name))
            continue; // a data file that was never made is not part of the backup
        if (copying)
            copying(name);
        filecopy::FileIdentity written;
        const StoreResult result =
            filecopy::CopyDurably(name, target.filePath(BackupTempName(name)), &written);
        if (!result) {
            discard();
            return result;
        }
        copied.insert(name, written);
        order.append(name);
    }
    for (const QString& name : std::as_const(order)) {
        const StoreResult renamed = filecopy::RenameWritten(
            target.filePath(BackupTempName(name)), target.filePath(name), copied.value(name));
        if (!renamed) {
            discard();
            return renamed;
        }
    }
    for (const QString& name : names) {
        if (!copied.contains(name) && QFileInfo(target.filePath(name)).isFile() &&
            !QFile::remove(target.filePath(name)))
            return StoreResult::Fail(name, QStringLiteral("A former backup's copy could not "
                                                          "be removed."));
    }
    if (StoreResult synced = filecopy::SyncDir(target.absolutePath()); !synced)
        return synced;
    for (const QString& name : std::as_const(order)) {
        if (StoreResult same = filecopy::CompareFiles(name, target.filePath(name)); !same)
            return same;
    }
    return StoreResult::Ok();
}

StoreResult BackupIntoNewFolder(const QString& parent, const QStringList& names,
                                const std::function<void(const QString& name)>& copying,
                                QString* made) {
    const QString folder = QDir(parent).filePath(BackupFolderName(parent));
    if (made)
        made->clear();
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0)
        return StoreResult::Fail(QFileInfo(folder).fileName(), qt_error_string(errno));
    if (StoreResult backedUp = BackupDataSet(folder, names, copying); !backedUp) {
        QDir(folder).removeRecursively();
        return backedUp;
    }
    if (made)
        *made = folder;
    return filecopy::SyncDir(parent);
}

} // namespace store

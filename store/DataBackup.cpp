#include "store/DataBackup.h"

#include "store/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {

QString BackupTempName(const QString& name) {
    return name + QStringLiteral(".$$$");
}

StoreResult BackupDataSet(const QString& folder, const QStringList& names,
                          const std::function<void(const QString& name)>& copying) {
    const QDir target(folder);
    QStringList copied;
    const auto discard = [&] {
        for (const QString& name : std::as_const(copied))
            QFile::remove(target.filePath(BackupTempName(name)));
    };
    for (const QString& name : names) {
        if (!QFileInfo::exists(name))
            continue; // a data file that was never made is not part of the backup
        if (copying)
            copying(name);
        const StoreResult result =
            filecopy::CopyDurably(name, target.filePath(BackupTempName(name)));
        if (!result) {
            discard();
            return result;
        }
        copied.append(name);
    }
    for (const QString& name : std::as_const(copied)) {
        const StoreResult renamed =
            filecopy::Rename(target.filePath(BackupTempName(name)), target.filePath(name));
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
    return filecopy::SyncDir(target.absolutePath());
}

} // namespace store

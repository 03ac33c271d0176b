#include "store/DataRestore.h"

#include "store/Clock.h"
#include "store/FileCopy.h"
#include "store/RecordStore.h"
#include "store/Removal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <utility>

namespace store {

namespace {

// The list in the staging folder: the kept folder's name, then one line per data file,
// "restore <name>" for a file of the backup, "retire <name>" for one it lacks.
const QString kListName = QStringLiteral("Restore.list");
const QString kKept = QStringLiteral("kept ");
const QString kRestore = QStringLiteral("restore ");
const QString kRetire = QStringLiteral("retire ");

std::function<bool(RestoreStep)>& Hook() {
    static std::function<bool(RestoreStep)> hook;
    return hook;
}

bool ContinueAfter(RestoreStep step) {
    const auto& hook = Hook();
    return !hook || hook(step);
}

StoreResult Stopped() {
    return StoreResult::Fail(RestoreSwapName, QStringLiteral("The restore was stopped."));
}

bool WasStopped(const StoreResult& result) {
    return result.fileName() == RestoreSwapName && result.reason() == Stopped().reason();
}

bool Exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

struct SwapList {
    QString kept;
    QStringList restore;
    QStringList retire;
};

StoreResult WriteList(const QString& path, const SwapList& list) {
    QByteArray text = (kKept + list.kept + u'\n').toUtf8();
    for (const QString& name : list.restore)
        text += (kRestore + name + u'\n').toUtf8();
    for (const QString& name : list.retire)
        text += (kRetire + name + u'\n').toUtf8();
    // It only counts once the staging folder is renamed, and it is on the disk before that.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
        !file.flush())
        return StoreResult::Fail(kListName, file.errorString());
    if (::fsync(file.handle()) != 0)
        return StoreResult::Fail(kListName, qt_error_string(errno));
    return StoreResult::Ok();
}

StoreResult ReadList(const QString& path, SwapList& list) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return StoreResult::Fail(kListName, file.errorString());
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(kKept))
            list.kept = line.mid(kKept.size());
        else if (line.startsWith(kRestore))
            list.restore.append(line.mid(kRestore.size()));
        else if (line.startsWith(kRetire))
            list.retire.append(line.mid(kRetire.size()));
    }
    // A name with a separator would reach outside the data folder.
    const auto unsafe = [](const QString& name) {
        return name.isEmpty() || name.contains(u'/') || name == QLatin1String("..");
    };
    if (unsafe(list.kept) || std::any_of(list.restore.begin(), list.restore.end(), unsafe) ||
        std::any_of(list.retire.begin(), list.retire.end(), unsafe))
        return StoreResult::Fail(kListName, QStringLiteral("The list of the interrupted restore "
                                                           "is damaged; nothing was changed."));
    return StoreResult::Ok();
}

StoreResult MoveAside(const QString& name, const QString& kept) {
    if (!QDir().mkpath(kept))
        return StoreResult::Fail(kept, QStringLiteral("The folder could not be made."));
    if (StoreResult moved = filecopy::Rename(name, kept + u'/' + name); !moved)
        return moved;
    if (!ContinueAfter(RestoreStep::MovedAside))
        return Stopped();
    return StoreResult::Ok();
}

// Carries a decided restore through. Each step can be repeated: a file still in the swap
// folder has not been placed; a file that is placed is no longer there.
StoreResult FinishSwap(const SwapList& list) {
    for (const QString& name : std::as_const(list.restore)) {
        const QString staged = RestoreSwapName + u'/' + name;
        if (!Exists(staged))
            continue;
        if (Exists(name)) {
            if (StoreResult moved = MoveAside(name, list.kept); !moved)
                return moved;
        }
        if (StoreResult placed = filecopy::Rename(staged, name); !placed)
            return placed;
        if (!ContinueAfter(RestoreStep::Placed))
            return Stopped();
    }
    for (const QString& name : std::as_const(list.retire)) {
        if (Exists(name)) {
            if (StoreResult moved = MoveAside(name, list.kept); !moved)
                return moved;
        }
    }
    if (QFileInfo(list.kept).isDir()) {
        if (StoreResult synced = filecopy::SyncDir(list.kept); !synced)
            return synced;
    }
    if (StoreResult synced = filecopy::SyncDir(QStringLiteral(".")); !synced)
        return synced;
    if (!QDir(RestoreSwapName).removeRecursively())
        return StoreResult::Fail(RestoreSwapName, QStringLiteral("The folder could not be "
                                                                 "removed."));
    if (StoreResult synced = filecopy::SyncDir(QStringLiteral(".")); !synced)
        return synced;
    if (!ContinueAfter(RestoreStep::Done))
        return Stopped();
    return StoreResult::Ok();
}

// The record length of a data file name; 0 for User.Log and any other text file.
int RecordLengthOfName(const QString& name) {
    for (DataFile file : {DataFile::UserList, DataFile::NameList, DataFile::CourseIndex,
                          DataFile::TrainingRecords}) {
        if (FileNameOf(file) == name)
            return RecordLengthOf(file);
    }
    return 0;
}

StoreResult CheckRoom(const QString& backupFolder, const QStringList& names) {
    qint64 needed = 0;
    for (const QString& name : names)
        needed += QFileInfo(QDir(backupFolder).filePath(name)).size();
    const QStorageInfo disk(QDir::currentPath());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < needed)
        return StoreResult::Fail(QDir::currentPath(),
                                 QStringLiteral("The disk has %1 bytes free; the backup needs %2.")
                                     .arg(disk.bytesAvailable())
                                     .arg(needed));
    return StoreResult::Ok();
}

StoreResult CheckStaged(const QStringList& staged) {
    if (!staged.contains(FileNameOf(DataFile::UserList)))
        return StoreResult::Fail(FileNameOf(DataFile::UserList),
                                 QStringLiteral("The backup does not hold it."));
    for (const QString& name : staged) {
        const int length = RecordLengthOfName(name);
        const qint64 size = QFileInfo(RestoreStagingName + u'/' + name).size();
        if (length > 0 && size % length != 0)
            return StoreResult::Fail(name, QStringLiteral("Its length, %1 bytes, is not a whole "
                                                          "number of records of %2 bytes.")
                                               .arg(size)
                                               .arg(length));
    }
    return StoreResult::Ok();
}

StoreResult Stage(const QString& backupFolder, const QStringList& names,
                  const std::function<void(const QString&)>& copying, SwapList& list) {
    const QDir backup(backupFolder);
    for (const QString& name : names) {
        // "TempFile.$$$" is never one of the names: a removal's leftover stays behind. Whatever
        // stands under a name is the backup's file; one that cannot be read refuses the
        // restore rather than passing for a file the backup lacks.
        if (!Exists(backup.filePath(name))) {
            list.retire.append(name);
            continue;
        }
        if (copying)
            copying(name);
        if (StoreResult copied =
                filecopy::CopyDurably(backup.filePath(name), RestoreStagingName + u'/' + name);
            !copied)
            return copied;
        list.restore.append(name);
        if (!ContinueAfter(RestoreStep::FileStaged))
            return Stopped();
    }
    if (StoreResult checked = CheckStaged(list.restore); !checked)
        return checked;
    if (!ContinueAfter(RestoreStep::Checked))
        return Stopped();
    if (StoreResult written = WriteList(RestoreStagingName + u'/' + kListName, list); !written)
        return written;
    if (StoreResult synced = filecopy::SyncDir(RestoreStagingName); !synced)
        return synced;
    if (!ContinueAfter(RestoreStep::ListWritten))
        return Stopped();
    return StoreResult::Ok();
}

} // namespace

namespace testing {
void SetRestoreHook(std::function<bool(RestoreStep)> hook) {
    Hook() = std::move(hook);
}
} // namespace testing

QString KeptFolderName() {
    const QString base = QStringLiteral("Before restore ") +
                         CurrentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    QString name = base;
    for (int n = 2; Exists(name); ++n)
        name = base + QStringLiteral(" (%1)").arg(n);
    return name;
}

StoreResult RestoreDataSet(const QString& backupFolder, const QStringList& names,
                           const std::function<void(const QString& name)>& copying,
                           QString* keptFolder) {
    if (keptFolder)
        keptFolder->clear();
    if (Exists(TempFileName))
        return StoreResult::Fail(TempFileName, QStringLiteral("An interrupted removal left it "
                                                              "behind; it is settled at the "
                                                              "next start."));
    for (const QString& leftover : {RestoreStagingName, RestoreSwapName}) {
        if (Exists(leftover))
            return StoreResult::Fail(leftover, QStringLiteral("An interrupted restore left it "
                                                              "behind; it is settled at the "
                                                              "next start."));
    }
    if (StoreResult room = CheckRoom(backupFolder, names); !room)
        return room;
    if (!QDir().mkdir(RestoreStagingName))
        return StoreResult::Fail(RestoreStagingName,
                                 QStringLiteral("The folder could not be made."));

    SwapList list;
    list.kept = KeptFolderName();
    if (StoreResult staged = Stage(backupFolder, names, copying, list); !staged) {
        if (!WasStopped(staged))
            QDir(RestoreStagingName).removeRecursively();
        return staged;
    }
    // The deciding step.
    if (StoreResult committed = filecopy::Rename(RestoreStagingName, RestoreSwapName); !committed) {
        QDir(RestoreStagingName).removeRecursively();
        return committed;
    }
    if (StoreResult synced = filecopy::SyncDir(QStringLiteral(".")); !synced)
        return synced;
    if (!ContinueAfter(RestoreStep::Committed))
        return Stopped();
    if (StoreResult finished = FinishSwap(list); !finished)
        return finished;
    if (keptFolder && QFileInfo(list.kept).isDir())
        *keptFolder = list.kept;
    return StoreResult::Ok();
}

StoreResult RecoverInterruptedRestore(QString* note) {
    if (note)
        note->clear();
    if (Exists(RestoreStagingName)) {
        // Stopped before the deciding step: the current files were never touched.
        if (!QDir(RestoreStagingName).removeRecursively())
            return StoreResult::Fail(RestoreStagingName,
                                     QStringLiteral("The folder could not be removed."));
        if (StoreResult synced = filecopy::SyncDir(QStringLiteral(".")); !synced)
            return synced;
        if (note)
            *note = QStringLiteral("A restore of the data files was interrupted before it "
                                   "changed anything. Your data files are as they were "
                                   "before it.");
    }
    if (!Exists(RestoreSwapName))
        return StoreResult::Ok();
    SwapList list;
    if (StoreResult read = ReadList(RestoreSwapName + u'/' + kListName, list); !read)
        return read;
    if (StoreResult finished = FinishSwap(list); !finished)
        return finished;
    if (note) {
        *note = QStringLiteral("A restore of the data files was interrupted and has now been "
                               "completed.");
        if (QFileInfo(list.kept).isDir())
            *note += QStringLiteral(" The data files it replaced are kept in the folder \"%1\".")
                         .arg(list.kept);
    }
    return StoreResult::Ok();
}

} // namespace store

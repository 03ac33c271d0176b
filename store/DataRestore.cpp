#include "store/DataRestore.h"

#include "store/ChangeLog.h"
#include "store/Clock.h"
#include "store/DataCheck.h"
#include "store/DataSet.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordStore.h"
#include "store/TrainingDates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <unistd.h>
#include <utility>
#include <vector>

namespace store {

namespace {

// The list in the staging folder: the kept folder's name, then one line per data file,
// "restore <name>" for a file of the backup, "retire <name>" for one it lacks.
const QString kListName = QStringLiteral("Restore.list");
const QString kKept = QStringLiteral("kept ");
const QString kRestore = QStringLiteral("restore ");
const QString kRetire = QStringLiteral("retire ");

// The review shows this many findings; the rest are counted.
constexpr int kFindingsShown = 12;

std::function<bool(RestoreStep)>& Hook() {
    static std::function<bool(RestoreStep)> hook;
    return hook;
}

std::function<qint64()>& FreeSpaceHook() {
    static std::function<qint64()> hook;
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

// Removes the swap folder once its work is done. Its list goes last but for the folder
// itself, so that a folder that still holds anything to place always has its list.
StoreResult RemoveSwapFolder() {
    const QDir swap(RestoreSwapName);
    for (const QString& name :
         swap.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (name == kListName)
            continue;
        const QString path = swap.filePath(name);
        const bool removed = QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()
                                 ? QDir(path).removeRecursively()
                                 : QFile::remove(path);
        if (!removed)
            return StoreResult::Fail(RestoreSwapName, QStringLiteral("\"%1\" in it could not be "
                                                                     "removed.")
                                                          .arg(name));
    }
    if (StoreResult synced = filecopy::SyncDir(RestoreSwapName); !synced)
        return synced;
    if (Exists(swap.filePath(kListName)) && !QFile::remove(swap.filePath(kListName)))
        return StoreResult::Fail(RestoreSwapName, QStringLiteral("Its list could not be removed."));
    if (StoreResult synced = filecopy::SyncDir(RestoreSwapName); !synced)
        return synced;
    if (!ContinueAfter(RestoreStep::ListRemoved))
        return Stopped();
    if (::rmdir(QFile::encodeName(RestoreSwapName).constData()) != 0)
        return StoreResult::Fail(RestoreSwapName, qt_error_string(errno));
    return filecopy::SyncDir(QStringLiteral("."));
}

// Carries a decided restore through. Each step can be repeated: a file still in the swap
// folder has not been placed; a file that is placed is no longer there. `written` holds the
// identity of each copy this run made (none when a start finishes an interrupted restore).
StoreResult FinishSwap(const SwapList& list,
                       const QMap<QString, filecopy::FileIdentity>& written = {}) {
    for (const QString& name : std::as_const(list.restore)) {
        const QString staged = RestoreSwapName + u'/' + name;
        if (!Exists(staged))
            continue;
        if (Exists(name)) {
            if (StoreResult moved = MoveAside(name, list.kept); !moved)
                return moved;
        }
        const StoreResult placed = written.contains(name)
                                       ? filecopy::RenameWritten(staged, name, written.value(name))
                                       : filecopy::Rename(staged, name);
        if (!placed)
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
    if (StoreResult removed = RemoveSwapFolder(); !removed)
        return removed;
    if (!ContinueAfter(RestoreStep::Done))
        return Stopped();
    return StoreResult::Ok();
}

qint64 FreeBytes() {
    if (const auto& hook = FreeSpaceHook())
        return hook();
    const QStorageInfo disk(QDir::currentPath());
    return disk.isValid() ? disk.bytesAvailable() : -1;
}

StoreResult CheckRoom(qint64 needed) {
    const qint64 free = FreeBytes();
    if (free >= 0 && free < needed)
        return StoreResult::Fail(QDir::currentPath(),
                                 QStringLiteral("The data folder's disk has %1 bytes free; the "
                                                "backup's files need %2 bytes there.")
                                     .arg(free)
                                     .arg(needed));
    return StoreResult::Ok();
}

StoreResult RemoveStaging() {
    if (!QDir(RestoreStagingName).removeRecursively())
        return StoreResult::Fail(RestoreStagingName,
                                 QStringLiteral("The folder could not be removed."));
    return filecopy::SyncDir(QStringLiteral("."));
}

// The checks of the support tool, on the copies, and what the backup lacks.
void ReviewStaged(const SwapList& list, const QMap<QString, QDateTime>& modified,
                  RestoreReview& review) {
    for (const QString& name : list.restore) {
        const QDateTime time = modified.value(name);
        if (!review.backupTime.isValid() || time > review.backupTime)
            review.backupTime = time;
        if (Exists(name))
            review.replaced.append(name);
    }
    for (const QString& name : list.retire) {
        if (Exists(name)) {
            // A backup from before the training rules were kept is of a set without rules:
            // nothing the user has to weigh, and the current rules go with the kept files.
            if (name != TrainingRulesFileName)
                review.lacks.append(name);
            review.replaced.append(name);
        }
    }
    const auto note = [&review](const QString& fileName, const QString& line) {
        if (++review.findingCount <= kFindingsShown)
            review.findings.append({fileName, line});
    };
    const DataCheckOutcome checked = CheckDataFolder(RestoreStagingName, note);
    for (const StoreResult& failure : checked.failures)
        note(failure.fileName(), failure.text());
}

} // namespace

StoreResult FitsDataFile(const QString& name, qint64 size) {
    for (const DataFile file : {DataFile::UserList, DataFile::NameList, DataFile::CourseIndex,
                                DataFile::TrainingRecords}) {
        if (name != FileNameOf(file))
            continue;
        // A last record cut short is no reason to refuse: the check of the staged copies
        // tells it, and the user decides. More than the format can count is no copy of it.
        const qint64 most = qint64(MaxRecordsOf(file)) * RecordLengthOf(file);
        if (size > most)
            return StoreResult::Fail(name, QStringLiteral("It has %1 bytes, more than this data "
                                                          "file can be (%2 records of %3 bytes).")
                                               .arg(size)
                                               .arg(MaxRecordsOf(file))
                                               .arg(RecordLengthOf(file)));
        return StoreResult::Ok();
    }
    const auto within = [&](qint64 most, const QString& what) {
        return size <= most ? StoreResult::Ok()
                            : StoreResult::Fail(name, QStringLiteral("It has %1 bytes, more "
                                                                     "than %2 can be (%3 "
                                                                     "bytes).")
                                                          .arg(size)
                                                          .arg(what)
                                                          .arg(most));
    };
    if (name == UserLogFileName)
        return within(MaxRestoredLogBytes, QStringLiteral("a user log"));
    if (name == AccessCodeFileName)
        return within(MaxRestoredAccessCodeBytes, QStringLiteral("an access code file"));
    if (name == TrainingRulesFileName)
        return within(MaxTrainingRulesBytes, QStringLiteral("a training rules file"));
    return StoreResult::Ok();
}

namespace testing {
void SetRestoreHook(std::function<bool(RestoreStep)> hook) {
    Hook() = std::move(hook);
}
void SetFreeSpaceHook(std::function<qint64()> hook) {
    FreeSpaceHook() = std::move(hook);
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

StoreResult UnsettledWork() {
    for (const PendingWork& pending : PendingWorkFiles()) {
        if (Exists(pending.name))
            return StoreResult::Fail(pending.name,
                                     QStringLiteral("An interrupted %1 left it behind; it is "
                                                    "settled at the next start.")
                                         .arg(pending.work));
    }
    return StoreResult::Ok();
}

SwapState RestoreSwapState(const QString& dataFolder) {
    const QDir swap(QDir(dataFolder).filePath(RestoreSwapName));
    if (!Exists(swap.path()))
        return SwapState::None;
    if (Exists(swap.filePath(kListName)))
        return SwapState::Listed;
    const QStringList names = DataSetFileNames();
    return std::any_of(names.begin(), names.end(),
                       [&swap](const QString& name) { return Exists(swap.filePath(name)); })
               ? SwapState::Unlisted
               : SwapState::Finished;
}

RestoreRun::~RestoreRun() {
    if (staged_ && !stopped_)
        (void)RemoveStaging();
}

StoreResult RestoreRun::Stage(const QString& backupFolder, const QStringList& names,
                              const std::function<void(const QString&)>& copying) {
    if (IsReadOnlyStation())
        return StoreResult::Fail(QDir::currentPath(), ReadOnlyStationReason());
    if (StoreResult settled = UnsettledWork(); !settled)
        return settled;

    // Every file of the backup is opened and looked at before anything is made: each must be
    // the file itself, not a link to one elsewhere, and of a size its data file can have.
    // "TempFile.$$$" is never one of the names: a removal's leftover stays behind.
    SwapList list;
    std::vector<std::unique_ptr<filecopy::SourceFile>> sources;
    QMap<QString, QDateTime> modified;
    qint64 needed = 0;
    const QDir backup(backupFolder);
    for (const QString& name : names) {
        // Whatever stands under a name is the backup's file; one that cannot be read refuses
        // the restore rather than passing for a file the backup lacks.
        if (!Exists(backup.filePath(name))) {
            // A backup from before the access code was kept with the data leaves it alone.
            if (name != AccessCodeFileName)
                list.retire.append(name);
            continue;
        }
        auto source = std::make_unique<filecopy::SourceFile>();
        if (StoreResult opened =
                source->Open(backup.filePath(name), filecopy::SourceFile::Links::Refuse);
            !opened)
            return opened;
        if (StoreResult fits = FitsDataFile(name, source->Size()); !fits)
            return fits;
        needed += source->Size();
        modified.insert(name, source->Modified());
        list.restore.append(name);
        sources.push_back(std::move(source));
    }
    if (!list.restore.contains(FileNameOf(DataFile::UserList)))
        return StoreResult::Fail(FileNameOf(DataFile::UserList),
                                 QStringLiteral("The backup does not hold it."));
    if (StoreResult room = CheckRoom(needed); !room)
        return room;
    if (!QDir().mkdir(RestoreStagingName))
        return StoreResult::Fail(RestoreStagingName,
                                 QStringLiteral("The folder could not be made."));
    staged_ = true;
    from_ = backupFolder;
    const auto stop = [this](const StoreResult& result) {
        stopped_ = WasStopped(result);
        if (!stopped_) {
            (void)RemoveStaging();
            staged_ = false;
        }
        return result;
    };

    list.kept = KeptFolderName();
    for (const auto& source : sources) {
        const QString& name = source->Name();
        if (copying)
            copying(name);
        filecopy::FileIdentity written;
        if (StoreResult copied =
                filecopy::CopyDurably(*source, RestoreStagingName + u'/' + name, &written);
            !copied)
            return stop(copied);
        written_.insert(name, written);
        if (!ContinueAfter(RestoreStep::FileStaged))
            return stop(Stopped());
    }
    ReviewStaged(list, modified, review_);
    if (!ContinueAfter(RestoreStep::Checked))
        return stop(Stopped());
    if (StoreResult written = WriteList(RestoreStagingName + u'/' + kListName, list); !written)
        return stop(written);
    if (StoreResult synced = filecopy::SyncDir(RestoreStagingName); !synced)
        return stop(synced);
    if (!ContinueAfter(RestoreStep::ListWritten))
        return stop(Stopped());
    kept_ = list.kept;
    restore_ = list.restore;
    retire_ = list.retire;
    return StoreResult::Ok();
}

StoreResult RestoreRun::Commit(QString* keptFolder) {
    if (keptFolder)
        keptFolder->clear();
    if (!staged_ || stopped_)
        return StoreResult::Fail(RestoreStagingName, QStringLiteral("Nothing was staged."));
    // Whatever comes of it, the summary of the training dates may be of the files replaced.
    TrainingDateSummary().Forget();
    // The deciding step.
    if (StoreResult committed = filecopy::Rename(RestoreStagingName, RestoreSwapName); !committed)
        return committed; // the staging folder goes when the run ends
    staged_ = false;
    if (StoreResult synced = filecopy::SyncDir(QStringLiteral(".")); !synced)
        return synced;
    if (!ContinueAfter(RestoreStep::Committed))
        return Stopped();
    if (StoreResult finished = FinishSwap({kept_, restore_, retire_}, written_); !finished)
        return finished;
    if (keptFolder && QFileInfo(kept_).isDir())
        *keptFolder = kept_;
    // Change.Log is not among the files restored: the changes before the restore stay
    // logged, and the restore is one more.
    changelog::Change line =
        changelog::Now(changelog::action::Restored, changelog::kind::DataFiles);
    line.name = QDir(from_).absolutePath();
    line.fields = {
        {QStringLiteral("Files restored"), QString(), restore_.join(QStringLiteral(", "))}};
    if (QFileInfo(kept_).isDir())
        line.fields.append({QStringLiteral("Replaced files kept in"), QString(), kept_});
    return changelog::Append({line});
}

StoreResult RestoreDataSet(const QString& backupFolder, const QStringList& names,
                           const std::function<void(const QString& name)>& copying,
                           QString* keptFolder,
                           const std::function<bool(const RestoreReview&)>& consent) {
    if (keptFolder)
        keptFolder->clear();
    RestoreRun run;
    if (StoreResult staged = run.Stage(backupFolder, names, copying); !staged)
        return staged;
    const RestoreReview& review = run.Review();
    if (consent) {
        if (!consent(review))
            return StoreResult::Fail(backupFolder, QStringLiteral("The restore was cancelled; "
                                                                  "nothing was changed."));
    } else if (!review.lacks.isEmpty()) {
        return StoreResult::Fail(review.lacks.constFirst(),
                                 QStringLiteral("The backup does not hold it."));
    } else if (review.findingCount > 0) {
        return StoreResult::Fail(review.findings.constFirst().fileName,
                                 review.findings.constFirst().line);
    }
    return run.Commit(keptFolder);
}

StoreResult RecoverInterruptedRestore(QString* note) {
    if (note)
        note->clear();
    if (Exists(RestoreStagingName)) {
        // Stopped before the deciding step: the current files were never touched.
        if (StoreResult removed = RemoveStaging(); !removed)
            return removed;
        if (note)
            *note = QStringLiteral("A restore of the data files was interrupted before it "
                                   "changed anything. Your data files are as they were "
                                   "before it.");
    }
    switch (RestoreSwapState()) {
    case SwapState::None:
        return StoreResult::Ok();
    case SwapState::Finished:
        // Stopped after its list was removed: everything was placed.
        if (::rmdir(QFile::encodeName(RestoreSwapName).constData()) != 0 &&
            !QDir(RestoreSwapName).removeRecursively())
            return StoreResult::Fail(RestoreSwapName, qt_error_string(errno));
        if (StoreResult synced = filecopy::SyncDir(QStringLiteral(".")); !synced)
            return synced;
        if (note)
            *note = QStringLiteral("A restore of the data files had finished when the program "
                                   "stopped; the empty folder it worked in has been removed.");
        return StoreResult::Ok();
    case SwapState::Unlisted:
        return StoreResult::Fail(
            RestoreSwapName,
            QStringLiteral("An interrupted restore left this folder in the data folder with "
                           "copies of data files but without its list of what to do, so "
                           "nothing tells where they belong. Nothing was changed: compare the "
                           "copies with your data files, keep what you need and remove the "
                           "folder before you start the program again."));
    case SwapState::Listed:
        break;
    }
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

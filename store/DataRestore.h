#pragma once

#include "store/FileCopy.h"
#include "store/StoreResult.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

// Bringing a backup back over the data files of the data folder (the current directory),
// all or nothing.
//
// The backup is first copied into a staging folder inside the data folder and checked
// there, the way the support tool checks a data folder; what the check finds and what the
// backup lacks are shown to the user before anything is replaced. A list of what is to
// happen is written into the staging folder, and renaming it to the swap folder is the one
// step that decides: before it the current files were never touched; after it the restore is
// carried through, now or at the next start. Carrying it through moves each current file into
// a dated "Before restore ..." folder and the staged copy into its place; a current file that
// the backup lacks is moved aside as well, so the data folder ends up with exactly the
// backup's files. The access code is the one exception: a backup made before it was kept
// with the data does not hold it, and the current one stays.
namespace store {

inline const QString RestoreStagingName = QStringLiteral("Restore staging.$$$");
inline const QString RestoreSwapName = QStringLiteral("Restore swap.$$$");

// One finding of the check of the staged copies: the file and one line about it.
struct RestoreFinding {
    QString fileName;
    QString line;
};

// What the user is shown before a restore replaces anything.
struct RestoreReview {
    QDateTime backupTime;           // the newest modification time among the backup's files
    QStringList replaced;           // current files the restore replaces or moves aside, in order
    QStringList lacks;              // data files the data folder has and the backup does not
    QList<RestoreFinding> findings; // the first few of what the check found in the copies
    qint64 findingCount = 0;        // all of them
    bool Clean() const { return lacks.isEmpty() && findingCount == 0; }
};

// One restore in two steps, so that the user can be asked in between: Stage copies and
// checks the backup, Commit replaces the data files. A run that is staged but never
// committed removes its copies when it ends.
class RestoreRun {
public:
    RestoreRun() = default;
    ~RestoreRun();
    RestoreRun(const RestoreRun&) = delete;
    RestoreRun& operator=(const RestoreRun&) = delete;

    // Copies `names` (the data file names, in order) from `backupFolder` into the staging
    // folder, calling `copying` with each name first. Refused, with nothing changed, while
    // interrupted work is unsettled (a removal's "TempFile.$$$", a journal, an earlier
    // restore), when the backup lacks "User.List", when a file of the backup cannot be read,
    // when one is a link, a folder, a pipe or a device rather than a file or has a size its
    // data file cannot have (FitsDataFile), or when the disk has no room for the copies.
    // Every file is looked at before the first is copied.
    StoreResult Stage(const QString& backupFolder, const QStringList& names,
                      const std::function<void(const QString& name)>& copying = {});
    const RestoreReview& Review() const { return review_; }
    // Replaces the data files with the staged copies. `keptFolder` receives the name of the
    // folder inside the data folder that holds the replaced files (empty when nothing was).
    StoreResult Commit(QString* keptFolder = nullptr);

private:
    QString from_; // the backup folder, for the line in Change.Log
    QString kept_;
    QStringList restore_;
    QStringList retire_;
    QMap<QString, filecopy::FileIdentity> written_;
    RestoreReview review_;
    bool staged_ = false;
    bool stopped_ = false;
};

// The largest user log a restore brings back. The program adds one short line per sign-in
// and sign-out: 64 MiB holds about a million, decades of use, while a "log" that is something
// else cannot fill the data folder's disk.
constexpr qint64 MaxRestoredLogBytes = 64LL * 1024 * 1024;
// The access code file holds one line of under 200 characters.
constexpr qint64 MaxRestoredAccessCodeBytes = 4 * 1024;

// Whether a file of `size` bytes in a backup can be the data file `name`: a record file holds
// no more records than its format can count (32,767 for the lists); the user log and the
// access code stay within the bounds above. Otherwise a refusal that names the file and why.
// A last record cut short passes here: the check of the staged copies shows it to the user.
StoreResult FitsDataFile(const QString& name, qint64 size);

// Stage, then Commit when `consent` agrees to the review; without `consent` a review that is
// not clean refuses the restore and names the first problem. A refused consent changes
// nothing.
StoreResult RestoreDataSet(const QString& backupFolder, const QStringList& names,
                           const std::function<void(const QString& name)>& copying = {},
                           QString* keptFolder = nullptr,
                           const std::function<bool(const RestoreReview&)>& consent = {});

// Interrupted work that a restore must not copy over; Ok when there is none, otherwise the
// leftover's name and what left it.
StoreResult UnsettledWork();

// What a data folder holds of a restore's swap folder: none; one with its list (to be
// finished); one whose list is gone and that holds no data file (finished work); or one whose
// list is gone but that still holds copies of data files (nothing can tell where they go).
enum class SwapState { None, Listed, Finished, Unlisted };
SwapState RestoreSwapState(const QString& dataFolder = QStringLiteral("."));

// Called once at start, before any file is opened: a restore cut short before its deciding
// step is undone, one cut short after it is finished. `note` tells the user which (empty
// when there was nothing to do).
StoreResult RecoverInterruptedRestore(QString* note = nullptr);

// The folder name for the files a restore now replaces: "Before restore 2024-03-15
// 10-30", with " (2)", " (3)" ... when that is taken.
QString KeptFolderName();

// Tests stop a restore after any step to prove that recovery gives whole sets only.
enum class RestoreStep {
    FileStaged,
    Checked,
    ListWritten,
    Committed,
    MovedAside,
    Placed,
    ListRemoved,
    Done
};
namespace testing {
// While set, a restore calls the hook after each step and stops there (as a crash would)
// when it returns false.
void SetRestoreHook(std::function<bool(RestoreStep)> hook);
// While set, the free bytes of the data folder's disk are what the hook says.
void SetFreeSpaceHook(std::function<qint64()> hook);
} // namespace testing

} // namespace store

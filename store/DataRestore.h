#pragma once

#include "store/StoreResult.h"

#include <QString>
#include <QStringList>
#include <functional>

// Bringing a backup back over the data files of the data folder (the current directory),
// all or nothing.
//
// The backup is first copied into a staging folder inside the data folder and checked
// there. A list of what is to happen is written into it, and renaming the staging folder to
// the swap folder is the one step that decides: before it the current files were never
// touched; after it the restore is carried through, now or at the next start. Carrying it
// through moves each current file into a dated "Before restore ..." folder and the staged
// copy into its place; a current file that the backup lacks is moved aside as well, so the
// data folder ends up with exactly the backup's files.
namespace store {

inline const QString RestoreStagingName = QStringLiteral("Restore staging.$$$");
inline const QString RestoreSwapName = QStringLiteral("Restore swap.$$$");

// Restores `names` (the data file names, in order) from `backupFolder`, calling `copying`
// with each name before it is copied. `keptFolder` receives the name of the folder inside
// the data folder that holds the replaced files (empty when nothing was replaced).
// Refused, with nothing changed, when a removal's "TempFile.$$$" or an earlier restore is
// unresolved, when the backup lacks "User.List", when a copied record file is not a whole
// number of records or when the disk has no room for the copies.
StoreResult RestoreDataSet(const QString& backupFolder, const QStringList& names,
                           const std::function<void(const QString& name)>& copying = {},
                           QString* keptFolder = nullptr);

// Called once at start, before any file is opened: a restore cut short before its deciding
// step is undone, one cut short after it is finished. `note` tells the user which (empty
// when there was nothing to do).
StoreResult RecoverInterruptedRestore(QString* note = nullptr);

// The folder name for the files a restore now replaces: "Before restore 2024-03-15
// 10-30", with " (2)", " (3)" ... when that is taken.
QString KeptFolderName();

// Tests stop a restore after any step to prove that recovery gives whole sets only.
enum class RestoreStep { FileStaged, Checked, ListWritten, Committed, MovedAside, Placed, Done };
namespace testing {
// While set, a restore calls the hook after each step and stops there (as a crash would)
// when it returns false.
void SetRestoreHook(std::function<bool(RestoreStep)> hook);
} // namespace testing

} // namespace store

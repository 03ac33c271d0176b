#pragma once

#include "store/StoreResult.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// Copying the data files of the data folder (the current directory) to a backup folder.
namespace store {

// Copies each of `names` that exists in the data folder into `folder`, in order, calling
// `copying` with the name before each copy. Every copy is written under a temporary name
// (the name + ".$$$") and flushed; only when all of them succeeded do they take their
// names, so a former backup in the folder is never left half overwritten. A former backup's
// file that the data folder does not have is removed then: the folder holds exactly this
// backup. Last, each copy is read back and compared with its data file. On failure the
// temporary copies are removed and the result names the file and the reason. Each copy keeps
// its data file's permissions. An entry of `folder` under one of those names that is no
// regular file (a link, a pipe, a folder) refuses the backup, and is named.
StoreResult BackupDataSet(const QString& folder, const QStringList& names,
                          const std::function<void(const QString& name)>& copying = {});

// The same into a new folder inside `parent`, named for the time (BackupFolderName), so that
// earlier backups there are kept. `made` receives its path; a backup that fails leaves no
// folder behind.
StoreResult BackupIntoNewFolder(const QString& parent, const QStringList& names,
                                const std::function<void(const QString& name)>& copying = {},
                                QString* made = nullptr);

// "Mirtavel backup 2026-12-08 14-30", with " (2)", " (3)" ... when `parent` already holds
// that name.
QString BackupFolderName(const QString& parent);

// Whether `name` is the name of such a folder; `when` receives its time and `number` its
// count (1 without one), so that several can be put in order.
bool IsBackupFolderName(const QString& name, QDateTime* when = nullptr, int* number = nullptr);

// The temporary name of a copy being written into a backup folder.
QString BackupTempName(const QString& name);

} // namespace store

#pragma once

#include "store/StoreResult.h"

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
// backup. On failure the temporary copies are removed and the result names the file and
// the reason; the folder is as it was.
StoreResult BackupDataSet(const QString& folder, const QStringList& names,
                          const std::function<void(const QString& name)>& copying = {});

// The temporary name of a copy being written into a backup folder.
QString BackupTempName(const QString& name);

} // namespace store

#pragma once

#include "ui/Session.h"

class QWidget;

// The Lobby's backup and restore of the data files (the data folder is the current
// directory). Both run on `window`: it is disabled under the hourglass while files are
// copied, and its caption tells which one. Every outcome is told in the message box.
namespace backup {

// Copies the data files to a folder the user chooses.
void BackupDataFiles(QWidget& window, const Session& session);

// Brings the data files back from a backup folder the user chooses, all or nothing; the
// files it replaces are kept in a dated folder inside the data folder. True when the data
// files were restored: the caller then shows its lists afresh.
bool RestoreDataFiles(QWidget& window, const Session& session);

} // namespace backup

#pragma once

#include "store/StoreResult.h"

#include <QString>
#include <sys/types.h>

// Who may read the files the program makes. Personnel records and passwords must not become
// readable by every account on the machine: a file the program creates takes the read and
// write bits of the folder it is made in, so a department's shared folder set to 0770 gives
// 0660 and a private one 0600. Files that exist keep their modes.
namespace store {

// The mode for a new file in `folder`; 0600 when the folder cannot be looked at.
mode_t NewFileModeIn(const QString& folder);

// Gives the newly created, open file `fd` (named `fileName`, for the failure) the mode of a
// new file in its folder, whatever the process's umask took away or left.
StoreResult GiveNewFileMode(int fd, const QString& fileName);

// Opens `fileName` with `flags` (open(2) flags without O_CREAT and O_EXCL); a missing file is
// made and given the mode of a new file in its folder, a file that exists keeps its mode.
// Returns the descriptor, or -1 with errno set. `created` tells whether this call made it.
int OpenCreating(const QString& fileName, int flags, bool* created = nullptr);

} // namespace store

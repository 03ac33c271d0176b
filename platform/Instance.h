#pragma once

#include <QString>

// Refusing a second running copy: the first copy holds a lock file in a folder of the user's
// own for as long as it runs. A lock left behind by a copy that crashed does not count.
namespace platform {

// True when another live process holds the lock `name`. Otherwise this process takes the
// lock and keeps it until it ends (or ReleaseInstanceLock).
bool PreviousInstanceRunning(const QString& name = QStringLiteral("Mirtavel"));

// Lets go of the lock taken by PreviousInstanceRunning, if any.
void ReleaseInstanceLock();

// Where the lock file `name` lives: the runtime folder, or else a folder of the user's own
// (mode 0700) in the temporary folder; empty when that folder is not safely the user's.
QString InstanceLockPath(const QString& name);

} // namespace platform

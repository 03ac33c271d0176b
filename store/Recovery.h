#pragma once

#include "store/StoreResult.h"

#include <QStringList>

namespace store {

// Called once at start, before any file is opened: settles whatever a stop (a crash, a power
// cut) left unfinished — a restore of a backup, a write of records, the copy of an interrupted
// removal, a person's removal, an update of a course's copies — in that order. `notes` gets one
// text for the user per thing that was finished or repaired; a failure stops the rest and names the
// file.
StoreResult FinishInterruptedWork(QStringList& notes);

} // namespace store

#pragma once

#include "store/RecordStore.h"

#include <functional>

// Removing records by rewriting a whole file through "TempFile.$$$".
namespace store {

inline const QString TempFileName = QStringLiteral("TempFile.$$$");

// Removes record n; the other records keep their order and are renumbered 1 to count-1.
// Records that already carry the removal marker are dropped too. When nothing is kept the
// file is deleted. The file is closed on return; its buffer holds the removed record.
// The file itself is never written: the kept records go to "TempFile.$$$", which then
// replaces it in one rename, so a stop at any point leaves the old or the new file whole.
// The removal gets its line in Change.Log, unless `log` is No (for a unit of work that logs
// what it removes itself).
enum class LogRemoval { Yes, No };
StoreResult RemoveMarkedRecord(DataFile file, qint32 recordNumber,
                               LogRemoval log = LogRemoval::Yes);

// Where a removal keeps its line while it runs: the rename is the change, so the line is
// noted here with the file as it was before, and written once the file is another.
inline const QString RemovalLineJournal = QStringLiteral("RemovalLine.Journal");

// Called at start, after RecoverInterruptedRemoval: a removal stopped after its rename gets
// its line; one stopped before it loses what of its line was written.
StoreResult FinishInterruptedRemovalLine(QString* note = nullptr);

// Rewrites Training.Records without every record that belongs to the person created at
// personKey (BelongsToPerson). `before` and `removed`, when given, count the records on file
// and those dropped.
StoreResult RemovePersonTraining(double personKey, qint32* before = nullptr,
                                 qint32* removed = nullptr);

// Called once at start, before any file is opened: settles a "TempFile.$$$" left behind by
// a removal that was interrupted. Returns a note for the user when it recovered something
// (empty otherwise); fails when it could not decide or could not act.
StoreResult RecoverInterruptedRemoval(QString* note = nullptr);

// Tests stop a removal between two steps to prove that no data is lost at any point.
enum class RemovalStep { TempOpened, RecordsCopied, TempFlushed, Renamed, FolderFlushed };
namespace testing {
// While set, a removal calls the hook after each step and stops there (leaving the files as
// a crash would) when the hook returns false.
void SetRemovalHook(std::function<bool(RemovalStep)> hook);
} // namespace testing

} // namespace store

#pragma once

#include "store/Removal.h"
#include "store/StoreResult.h"

#include <QString>
#include <functional>

// The machinery behind every removal: copying the kept records of a file into
// "TempFile.$$$" and letting the copy take the file's place, so that at every moment either
// the old or the new file is there in full.
namespace store::rewrite {

struct Plan {
    QString fileName;
    int recordLength = 0;
    qint32 requiredRecord = 0; // the file must hold this record (0: no such demand)
    // Whether record `number` (1-based) is left out of the copy.
    std::function<bool(qint32 number, const char* record)> drop;
    // Applied to each kept record before it is written; may be empty.
    std::function<void(char* record)> adjustKept;
    // Told each run of kept records as it goes into the copy, then the file's name once the
    // copy took its place (or the file went, nothing being kept). Either may be empty.
    std::function<void(const char* records, qint64 n)> keptCopied;
    std::function<void(const QString& fileName)> replaced;
};

// Copies the records of plan.fileName that are not dropped into a fresh "TempFile.$$$",
// makes the copy durable and renames it over the file (or deletes both when nothing is
// kept). The file itself is never written. The copy keeps the file's mode and group; a file
// that is a link is replaced where it points.
StoreResult Run(const Plan& plan);

// One atomic rename that replaces `to` if it exists.
StoreResult ReplaceFile(const QString& from, const QString& to);
// Makes a folder's entries (renames, deletions) durable; the data folder by default.
StoreResult SyncFolder(const QString& folder = QStringLiteral("."));
// Deletes the temporary file and makes that durable.
StoreResult DeleteTempFile();

} // namespace store::rewrite

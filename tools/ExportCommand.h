#pragma once

#include "tools/CommandLine.h"

#include "store/Csv.h"
#include "store/RecordStore.h"
#include "store/StoreResult.h"

namespace datatool {

// The name of the CSV that export writes for a data file: "Name.List.csv".
QString ExportFileName(const QString& dataFileName);

// How the rows of a data file are made: blocks of records made on several threads and
// written in order, the same bytes however the records are cut. Millions of records are made
// on every core while the disk takes the blocks made before.
struct RowBlocks {
    qint32 records = 2048; // per block: its records and rows stay in the core's cache
    int threads = 0;       // 0: one per core
};

// Writes data file `file` of the data folder `folder` as CSV to `path`: a heading of
// "RecNum" and the field names in layout order, then one row per record as the program counts
// them, values as stored (text trimmed, dates and identities as their exact day counts, hours
// as their exact decimal). User.List leaves out the password. All or nothing. `records` is
// the number of rows written.
store::StoreResult ExportDataFile(store::DataFile file, const QString& folder, const QString& path,
                                  qint64& records, const RowBlocks& blocks = {});
// The same rows into a begun writer, which the caller finishes.
store::StoreResult WriteDataFile(store::DataFile file, const QString& folder,
                                 store::csv::FileWriter& writer, qint64& records,
                                 const RowBlocks& blocks = {});

// Writes User.Log as CSV into a begun writer: "Line", "Date", "Time", "Entry" (what follows
// the time); a line of another form has its whole text as the entry.
store::StoreResult WriteUserLog(const QString& folder, store::csv::FileWriter& writer,
                                qint64& lines);

// mirtavel-data export [--dir DIR] --out FOLDER. The five files are written as a set: each
// is made whole beside its name first, and only when all are whole do they take their names,
// so that a failure (a full disk at the last file) leaves every earlier export as it was.
int RunExport(const QStringList& args, const Console& console);

} // namespace datatool

#pragma once

#include "store/Csv.h"
#include "store/ImportColumns.h"
#include "store/Records.h"
#include "store/StoreResult.h"

#include <QDate>
#include <vector>

// Training history from a spreadsheet: each row names a person (by identity, or by last, first
// and optionally middle name), a course code and a date, with optional hours and comments.
// The plan says of every row whether it will be credited or why not; nothing is written until
// the plan is appended, in one all-or-nothing write through the path every credit takes.
namespace store::csvimport {

struct TrainingImport {
    std::vector<RowVerdict> rows;        // one per row after the heading, in file order
    std::vector<TrainingRecord> records; // what the accepted rows append, in file order
};

// The words the preview shows for a row that will be credited.
QString WillBeCredited();

// Reads Name.List and Course.Index, judges every row of `table` (the heading first) as `map`
// feeds the fields, and looks through Training.Records once for the same person, course and
// day already on file. A row is turned down for: a number of fields unlike the heading's, an
// unknown person or more than one of that name (a middle name, or its initial, tells persons
// of one first and last name apart), an unknown course code, more than one course of it or a
// category heading's, a date that is no date or has no year, a date before 1955 or after the
// end of next year (`today` tells which year that is), hours that are no number above 0,
// comments too long or with characters the file cannot hold, and a person, course and day
// already on file or on an earlier row. The record of an accepted row is what a credit of the
// course to the person on that date would append, with the row's hours when it gives any and
// its comments. Memory follows the rows and the lists, not the training records on file. The
// files are closed on return.
StoreResult PlanTrainingImport(const csv::Table& table, const ColumnMap& map, const QDate& today,
                               TrainingImport& plan);

// Appends the plan's records to Training.Records, all of them or none
// (AppendTrainingRecords); `firstNumber` is the record number of the first.
StoreResult AppendTrainingImport(const TrainingImport& plan, qint32* firstNumber = nullptr);

} // namespace store::csvimport

#pragma once

#include "store/Csv.h"
#include "store/ImportColumns.h"
#include "store/Records.h"
#include "store/StoreResult.h"

#include <vector>

// Persons from a roster: last, first and middle names, organization, employee ID, comments
// and whether the person is active. The plan says of every row whether the person will be
// added or why not; nothing is written until it is appended, all rows in one write.
namespace store::csvimport {

struct PersonImport {
    std::vector<RowVerdict> rows;      // one per row after the heading, in file order
    std::vector<PersonRecord> persons; // the accepted rows' persons, in file order; their
                                       // identities are given when they are appended
};

// The words the preview shows for a row whose person will be added.
QString WillBeAdded();

// Reads Name.List and judges every row of `table` (the heading first). A row is turned down
// for: a number of fields unlike the heading's, a missing last or first name, "$Killed$" as
// first name, a text too long for its field or with characters the file cannot hold, an
// Active that is neither yes nor no (empty is yes; yes, y, true, 1, -1, active, x; no, n,
// false, 0, inactive), an employee ID or a full name (last, first and middle, letter case
// ignored) already on file or on an earlier row. The file is closed on return.
StoreResult PlanPersonImport(const csv::Table& table, const ColumnMap& map, PersonImport& plan);

// Appends the plan's persons to Name.List, all of them or none. Each gets an identity of its
// own, whole seconds from now on that no person on file and no other new person has
// (UniqueDatesCreated), stored back into plan.persons. Refused, with nothing written, when the
// list would hold more than MaxListRecords. `firstNumber` is the record number of the first.
StoreResult AppendPersonImport(PersonImport& plan, qint32* firstNumber = nullptr);

} // namespace store::csvimport

#pragma once

#include "store/ChangeLog.h"
#include "store/RecordStore.h"
#include "store/Records.h"

#include <vector>

// What the log says of each kind of record: its identity, its readable name and its fields as
// the windows name them. One place, so that an edit, an addition and a removal of a record
// name its fields alike.
namespace store::changelog {

// The change of one record from `before` to `after` (`before` null: it was added). An edit
// that changed no field has no fields. A user's password is never shown: its change is the
// field PasswordChanged with no values.
Change RecordChange(const PersonRecord* before, const PersonRecord& after);
Change RecordChange(const CourseRecord* before, const CourseRecord& after);
Change RecordChange(const TrainingRecord* before, const TrainingRecord& after);
Change RecordChange(const UserRecord* before, const UserRecord& after);

// The removal of the record stored as `bytes` in `file`: every field it had, before.
Change RemovalOf(DataFile file, const char* bytes);

// Training records added by a credit or an import (`how`, action::Credited or Imported): a line
// for each run of records that differ only in their person, naming all of their persons. A
// class of 150 credited at once is one line, not 150; a run of one is the record's own line.
QList<Change> TrainingAdded(const std::vector<TrainingRecord>& records, const QString& how);

} // namespace store::changelog

#pragma once

#include "store/Records.h"
#include "store/StoreResult.h"

#include <QString>
#include <functional>

// Every training record keeps its own copy of its course's code, name, provider and hours.
// After a course was edited these copies are rewritten, in place, for the records whose
// course key is the course's identity. Before the first record changes, the course's key and
// new fields are written to CourseUpdateJournal; a stop part way is finished at the next
// start, so the records are never left part old, part new.
namespace store {

inline const QString CourseUpdateJournal = QStringLiteral("CourseUpdate.Journal");

// How far an update has come. 32-bit counts: Training.Records counts its records in 32 bits.
struct CourseCopyTally {
    qint32 reviewed = 0; // records read so far
    qint32 total = 0;    // records in the file
    qint32 updated = 0;  // records rewritten so far
};

// Called whenever the share reviewed reaches another whole per cent and after a record was
// rewritten, with the record just read counted in `reviewed` but not yet in `updated`.
using CourseCopyProgress = std::function<void(const CourseCopyTally&)>;

// Opens Training.Records, rewrites the course copies of every record that belongs to
// `course` and closes the file again. Other records are not written at all. `tally` tells
// how many were reviewed and updated, also when the file failed part way (the journal then
// stays, and the next start finishes the update).
StoreResult UpdateCourseCopies(const CourseRecord& course, CourseCopyTally& tally,
                               const CourseCopyProgress& progress = {});

// Called at start: finishes an update of course copies that a stop interrupted and says so
// in `note` (empty when there was nothing to finish).
StoreResult FinishInterruptedCourseUpdate(QString* note = nullptr);

} // namespace store

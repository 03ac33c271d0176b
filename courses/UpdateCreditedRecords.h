#pragma once

#include "store/Records.h"
#include "store/StoreResult.h"

#include <QString>
#include <functional>

// Carrying a course's details into the training records credited with it. Every training
// record keeps its own copy of its course's code, name, provider and hours; after a course
// was edited these copies are rewritten for the records whose course key is the course's
// identity. No windows here: the course editor asks, shows the progress and reports.
namespace credited {

// How far a review has come. 32-bit counts: Training.Records counts its records in 32 bits.
struct Tally {
    qint32 reviewed = 0; // records read so far
    qint32 total = 0;    // records in the file
    qint32 updated = 0;  // records rewritten so far
};

// Called as the review goes on: whenever the share reviewed reaches another whole per cent
// and after a record was rewritten, with the record just read counted in `reviewed` but
// not yet in `updated`. Never more often, so that showing it costs nothing per record.
using Progress = std::function<void(const Tally&)>;

// Opens Training.Records, rewrites the course copies of every record that belongs to
// `course` (its CourseKey equals the course's DateCreated) and closes the file again. The
// other records are not written at all. `tally` tells how many were reviewed and updated,
// also when the file failed part way.
store::StoreResult CarryCourseIntoTraining(const store::CourseRecord& course, Tally& tally,
                                           const Progress& progress = {});

// The progress as the editor's caption shows it: the share reviewed "0%", "/", the number
// updated: "45%/3".
QString ProgressCaption(const Tally& tally);

} // namespace credited

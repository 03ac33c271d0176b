#pragma once

#include "store/CourseCopies.h"
#include "store/Records.h"
#include "store/StoreResult.h"

#include <QString>
#include <functional>

// Carrying a course's details into the training records credited with it. Every training
// record keeps its own copy of its course's code, name, provider and hours; after a course
// was edited these copies are rewritten for the records whose course key is the course's
// identity. No windows here: the course editor asks, shows the progress and reports.
namespace credited {

// How far a review has come, and the calls that follow it (store/CourseCopies.h).
using Tally = store::CourseCopyTally;
using Progress = store::CourseCopyProgress;

// Opens Training.Records, rewrites the course copies of every record that belongs to
// `course` (its CourseKey equals the course's DateCreated) and closes the file again. The
// other records are not written at all. `tally` tells how many were reviewed and updated,
// also when the file failed part way. A stop part way is finished at the next start.
store::StoreResult CarryCourseIntoTraining(const store::CourseRecord& course, Tally& tally,
                                           const Progress& progress = {});

// The progress as the editor's caption shows it: the share reviewed "0%", "/", the number
// updated: "45%/3".
QString ProgressCaption(const Tally& tally);

} // namespace credited

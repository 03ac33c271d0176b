#include "store/Recovery.h"

#include "store/ChangeLog.h"
#include "store/CourseCopies.h"
#include "store/DataRestore.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "store/Removal.h"
#include "store/TrainingDates.h"

#include <functional>

namespace store {

StoreResult FinishInterruptedWork(QStringList& notes) {
    notes.clear();
    // First the lines of writes that were done: they stand in the log before any later
    // work's. A restore next: it decides which set of files the folder holds. Then a torn
    // write, so that every file holds whole records; then the removal's copy, for the last
    // two rewrite files through it.
    const std::function<StoreResult(QString*)> steps[] = {
        CompleteFinishedWrites,       RecoverInterruptedRestore,    UndoInterruptedWrite,
        RecoverInterruptedRemoval,    FinishInterruptedRemovalLine, FinishInterruptedPersonRemoval,
        FinishInterruptedCourseUpdate};
    // What was known of the training dates belongs to the files before the repairs.
    TrainingDateSummary().Forget();
    for (const auto& step : steps) {
        QString note;
        const StoreResult done = step(&note);
        TrainingDateSummary().Forget();
        if (!done)
            return done;
        if (!note.isEmpty())
            notes.append(note);
    }
    // What was repaired is a change too, made before anyone signs in.
    QList<changelog::Change> lines;
    for (const QString& note : notes) {
        changelog::Change& line = lines.emplaceBack(
            changelog::Now(changelog::action::Repaired, changelog::kind::DataFiles));
        line.name = note;
    }
    return changelog::Append(lines);
}

} // namespace store

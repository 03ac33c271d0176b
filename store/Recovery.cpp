#include "store/Recovery.h"

#include "store/CourseCopies.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "store/Removal.h"

#include <functional>

namespace store {

StoreResult FinishInterruptedWork(QStringList& notes) {
    notes.clear();
    // A torn write first, so that every file holds whole records; then the removal's copy,
    // for the last two rewrite files through it.
    const std::function<StoreResult(QString*)> steps[] = {
        UndoInterruptedWrite, RecoverInterruptedRemoval, FinishInterruptedPersonRemoval,
        FinishInterruptedCourseUpdate};
    for (const auto& step : steps) {
        QString note;
        if (StoreResult done = step(&note); !done)
            return done;
        if (!note.isEmpty())
            notes.append(note);
    }
    return StoreResult::Ok();
}

} // namespace store

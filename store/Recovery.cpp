#include "store/Recovery.h"

#include "store/CourseCopies.h"
#include "store/PersonTraining.h"
#include "store/Removal.h"

#include <functional>

namespace store {

StoreResult FinishInterruptedWork(QStringList& notes) {
    notes.clear();
    // The removal's copy first: the other two rewrite files through it.
    const std::function<StoreResult(QString*)> steps[] = {
        RecoverInterruptedRemoval, FinishInterruptedPersonRemoval, FinishInterruptedCourseUpdate};
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

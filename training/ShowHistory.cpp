#include "training/ShowHistory.h"

#include "forms/RunModal.h"
#include "training/frmTrainingHistory.h"

namespace training {

bool ShowTrainingHistory(Form& parent, const HistorySubject& subject) {
    return forms::RunModal(parent, new frmTrainingHistory(&parent, subject),
                           [](const frmTrainingHistory& window) { return window.Changed(); });
}

} // namespace training

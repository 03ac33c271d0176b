#pragma once

#include "training/TrainingOpening.h"

class Form;

namespace training {

// The one way into a person's training history: the window shown modally over `parent` for
// `subject`. Returns whether records changed there (the last one may have gone).
bool ShowTrainingHistory(Form& parent, const HistorySubject& subject);

} // namespace training

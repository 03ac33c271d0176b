#pragma once

#include "store/PersonTraining.h"

#include <QString>
#include <optional>
#include <vector>

// The rules of the training windows that need no window: how a history row reads, what the
// total shows and which answers an edit of one field accepts.
namespace training {

// The history grid's columns: 0 to 4 shown, 5 to 7 beyond the right edge.
enum HistoryColumn {
    Date = 0,
    Code = 1,
    Name = 2,
    Provider = 3,
    Hours = 4,
    Comments = 5,
    DateSort = 6,
    RecNum = 7
};
constexpr int HistoryColumns = 8;
constexpr int LastShownColumn = Hours;

// One row of the history grid, its cells joined by tabs.
QString HistoryRowText(const store::NumberedTraining& training);

// The total of the hours as the rows show them ("###.0"), in the general number form: the
// sum a user adds up from the list (1.2 and 2.4 give 3.6, not the sum of the stored singles).
QString TotalHoursText(const std::vector<store::NumberedTraining>& trainings);

// The items of the editing menu that change one field.
enum EditItem {
    EditDate = 3,
    EditCode = 4,
    EditName = 5,
    EditProvider = 6,
    EditHours = 7,
    EditComments = 8
};

// Why `answer` (trimmed, not empty; for EditComments the whole comments) cannot be stored by
// edit `item`: the text shown after the answer and an empty line in "Entry Error"; nothing
// when it can.
std::optional<QString> EditRefusal(int item, const QString& answer);

// Stores an accepted `answer` of edit `item` in `record`.
void ApplyEdit(int item, const QString& answer, store::TrainingRecord& record);

} // namespace training

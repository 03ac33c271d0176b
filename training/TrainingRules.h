#pragma once

#include "store/PersonTraining.h"

#include <QString>
#include <QStringList>
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

// The cells of one row of the history grid, column 0 to RecNum.
QStringList HistoryCells(const store::NumberedTraining& training);
// One row of the history grid, its cells joined by tabs.
QString HistoryRowText(const store::NumberedTraining& training);

// The total of the hours as the rows show them ("###.0"), in the general number form: the
// sum a user adds up from the list (1.2 and 2.4 give 3.6, not the sum of the stored singles).
QString TotalHoursText(const std::vector<store::NumberedTraining>& trainings);

// The fields of a training record that the history edits one at a time, in the order of the
// editing menu.
enum EditField { EditDate, EditCode, EditName, EditProvider, EditHours, EditComments };
constexpr int EditFields = EditComments + 1;

// Why `answer` (trimmed, not empty; for EditComments the whole comments) cannot be stored in
// `field`: the text shown after the answer and an empty line in "Entry Error"; nothing when it
// can.
std::optional<QString> EditRefusal(EditField field, const QString& answer);

// The refusal of a date the program cannot read.
QString UnreadableDate();

// Stores an accepted `answer` in `field` of `record`.
void ApplyEdit(EditField field, const QString& answer, store::TrainingRecord& record);

} // namespace training

#include "training/TrainingRules.h"

#include "store/Codepage.h"
#include "store/ControlCharacters.h"
#include "store/Formats.h"
#include "store/HoursSum.h"
#include "ui/CrLf.h"

#include <cmath>

namespace training {

namespace {
using ui::CrLf;

QString TooLong(int limit) {
    return QStringLiteral("is too many characters") + CrLf +
           QStringLiteral("(limited to %1 characters)").arg(limit);
}
} // namespace

QStringList HistoryCells(const store::NumberedTraining& training) {
    const store::TrainingRecord& t = training.record;
    return {formats::MmDdYyyy(t.TrainingDate), store::TrimField(t.CourseCode),
            store::TrimField(t.CourseName),    store::TrimField(t.ProvidedBy),
            formats::Hours(t.Hours),           store::TrimField(t.Comments),
            formats::YyyyMmDd(t.TrainingDate), QString::number(training.recNum)};
}

QString HistoryRowText(const store::NumberedTraining& training) {
    return HistoryCells(training).join(u'\t');
}

QString TotalHoursText(const std::vector<store::NumberedTraining>& trainings) {
    // Added exactly as stored, as the annual summary adds them, so both read the same.
    store::HoursSum total;
    for (const store::NumberedTraining& t : trainings)
        total.Add(t.record.Hours);
    return total.Text();
}

std::optional<QString> EditRefusal(EditField field, const QString& answer) {
    // The comments keep their line breaks (as CR LF); no field keeps any other control.
    const store::LineBreaks breaks =
        field == EditComments ? store::LineBreaks::Allowed : store::LineBreaks::Refused;
    if (store::FirstControlCharacter(answer, breaks) >= 0)
        return QStringLiteral("holds a control character,") + CrLf +
               QStringLiteral("which cannot be stored.");
    // The file would keep such a character as "?": what is seen would not be what is stored.
    if ((field == EditCode || field == EditName || field == EditProvider) &&
        store::KeepCodepage(answer) != answer)
        return QStringLiteral("holds characters that") + CrLf + QStringLiteral("cannot be stored.");
    switch (field) {
    case EditDate:
        if (!formats::ParseDate(answer))
            return UnreadableDate();
        return std::nullopt;
    case EditCode:
        if (answer.size() > 8)
            return TooLong(8);
        // A code that is the removal marker would be dropped by the next removal.
        if (answer == store::RemovalMarker)
            return QStringLiteral("cannot be used as a Course Code:") + CrLf +
                   QStringLiteral("the program marks records that are") + CrLf +
                   QStringLiteral("being removed with it.");
        return std::nullopt;
    case EditName:
        if (answer.size() > 50)
            return TooLong(50);
        return std::nullopt;
    case EditProvider:
        if (answer.size() > 30)
            return TooLong(30);
        return std::nullopt;
    case EditHours: {
        const double hours = formats::LeadingNumber(answer);
        if (!(hours >= 1 && hours <= 999))
            return QStringLiteral("is an improbable 'Hours' entry");
        return std::nullopt;
    }
    case EditComments:
        return std::nullopt;
    }
    return std::nullopt;
}

QString UnreadableDate() {
    return QStringLiteral("is an unreadable date entry.");
}

void ApplyEdit(EditField field, const QString& answer, store::TrainingRecord& record) {
    switch (field) {
    case EditDate:
        record.TrainingDate = formats::ParseDate(answer).value_or(record.TrainingDate);
        break;
    case EditCode:
        record.CourseCode = answer;
        break;
    case EditName:
        record.CourseName = answer;
        break;
    case EditProvider:
        record.ProvidedBy = answer;
        break;
    case EditHours:
        record.Hours = static_cast<float>(formats::LeadingNumber(answer));
        break;
    case EditComments:
        record.Comments = store::TrimField(answer);
        break;
    }
}

} // namespace training

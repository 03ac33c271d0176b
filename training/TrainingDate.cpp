#include "training/TrainingDate.h"

#include <QLocale>
#include <QStringList>

namespace training {

QString DateWrittenOut(const QDate& date) {
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(date, QStringLiteral("dddd, MMMM d, yyyy"));
}

QStringList DateQuestionLines(const TypedDate& typed) {
    if (typed.plausible && !typed.yearAdded)
        return {};
    QStringList lines{QStringLiteral("The training date reads"), QString(),
                      DateWrittenOut(typed.date), QString()};
    if (typed.yearAdded)
        lines << QStringLiteral("No year was typed: this year was taken.");
    if (!typed.plausible)
        lines << QStringLiteral("That is before 1955 or after the end of next year.");
    lines << QStringLiteral("Is this date right?");
    return lines;
}

} // namespace training

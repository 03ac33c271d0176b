#include "training/DateQuestion.h"

#include "forms/Messages.h"

#include <QStringList>

namespace training {

DateAnswer ConfirmTypedDate(const QString& text, const QDate& today) {
    DateAnswer answer;
    answer.typed = ReadTypedDate(text, today);
    if (!answer.typed)
        return answer;
    const QStringList question = DateQuestionLines(*answer.typed);
    answer.confirmed =
        question.isEmpty() ||
        forms::Ask(QStringLiteral("Is this date right?"), forms::Icon::Question, question, 2,
                   {QStringLiteral("&Yes, it is"), QStringLiteral("&No, change it")}) == 1;
    return answer;
}

} // namespace training

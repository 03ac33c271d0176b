#pragma once

#include "store/TypedDate.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The question the credit window asks about a typed training date that is not plainly right
// (store::ReadTypedDate tells what the text means).
namespace training {

using store::ReadTypedDate;
using store::TypedDate;

// The date written out for a question: "Tuesday, June 15, 2027".
QString DateWrittenOut(const QDate& date);

// The lines of the "Is this date right?" question for `typed`; empty when there is nothing
// to ask (a plausible date typed with its year).
QStringList DateQuestionLines(const TypedDate& typed);

} // namespace training

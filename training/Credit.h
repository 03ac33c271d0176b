#pragma once

#include "store/StoreResult.h"

#include <QList>
#include <QString>

// Crediting one course to several persons: one training record per person, all appended
// together or none (store::AppendTrainingRecords). No window here.
namespace training {

// Reads course `courseRecNum` of Course.Index and persons `personRecNums` of Name.List and
// appends, in that order, one record per person holding both identities, the course's code,
// name, provider and hours, `trainingDate` and `comments` trimmed. Every file is closed on
// return; on a failure nothing was written.
store::StoreResult CreditCourse(qint32 courseRecNum, const QList<qint32>& personRecNums,
                                double trainingDate, const QString& comments);

// Which of persons `personRecNums` of Name.List already have course `courseRecNum` on the
// day of `trainingDate`: their positions in `personRecNums`, in that order. One pass over
// Training.Records; every file is closed on return.
store::StoreResult FindCreditedAlready(qint32 courseRecNum, const QList<qint32>& personRecNums,
                                       double trainingDate, QList<int>& already);

} // namespace training

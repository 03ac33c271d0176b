#pragma once

#include "store/StoreResult.h"

#include <QString>
#include <QStringList>

// A realistic data set for support, tests and benchmarks: persons, a course catalogue with
// category headings, training records spread over the twenty years up to today and one
// full-access user.
namespace datatool {

struct SampleOptions {
    qint32 persons = 500;
    qint32 courses = 200; // headings included
    qint64 records = 20000;
    quint64 seed = 1; // the same seed gives the same files, byte for byte
    // Sessions on any day of the twenty years up to today (store::CurrentDateTime), in no order: a
    // file where no stretch of records keeps to a few dates.
    bool datesInAnyOrder = false;
};

struct SampleSummary {
    qint32 headings = 0;
    QString userFirstName;
    QString userLastName;
    QString userPassword; // in clear
};

// The record files of a data set that already exist in the folder.
QStringList ExistingRecordFiles(const QString& folder);

// Why these options make no data set (training records without persons or courses); empty
// when they are fine.
QString SampleOptionsProblem(const SampleOptions& options);

// Writes User.List, Course.Index, Name.List, Training.Records and the training rules into the
// existing folder, replacing them. A file that would hold no records is removed instead, as the
// program leaves an empty list. Memory use does not depend on the number of training records.
store::StoreResult WriteSample(const QString& folder, const SampleOptions& options,
                               SampleSummary& summary);

} // namespace datatool

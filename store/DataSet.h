#pragma once

#include "store/ChangeLog.h"
#include "store/RecordStore.h"
#include "store/TrainingRules.h"
#include "store/UserLog.h"

#include <QString>
#include <QStringList>

// The files that make one data set: what a backup copies and a restore brings back.
namespace store {

// The administrator's access code belongs to the data, not to whoever opens it: its salted
// digest is kept in this file of the data folder. Older programs do not know it and leave it
// alone.
inline const QString AccessCodeFileName = QStringLiteral("Access.Code");

// The record files and the user log in the order the program lists them, then the access
// code and the training rules. A backup without the access code (made before it was kept
// with the data) restores the others and leaves the current code in place; one without the
// rules is of a data set that had none, and restoring it removes the current ones.
inline QStringList DataSetFileNames() {
    return {FileNameOf(DataFile::UserList),
            UserLogFileName,
            FileNameOf(DataFile::NameList),
            FileNameOf(DataFile::CourseIndex),
            FileNameOf(DataFile::TrainingRecords),
            AccessCodeFileName,
            TrainingRulesFileName};
}

// What a backup copies: the data set and Change.Log. A restore brings back the data set
// only: the log of the changes stays as it is and tells of the restore as one more change.
inline QStringList BackupFileNames() {
    return DataSetFileNames() << ChangeLogFileName;
}

} // namespace store

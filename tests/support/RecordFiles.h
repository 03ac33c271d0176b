#pragma once

#include "store/RecordStore.h"
#include "store/Records.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Persons, courses and training records written to and read back from the data files of the
// current folder, the same way for every test.
namespace recordfiles {

// Writes `records` as records `first`, `first` + 1, ... of the table's file (appending where
// they lie beyond the end) through the table's shared buffer, which keeps the last one.
// True when every one was written.
template <class Record>
bool WriteRecords(store::RecordTable<Record>& table, const QList<Record>& records,
                  qint32 first = 1) {
    if (!table.Open())
        return false;
    bool ok = true;
    qint32 number = first;
    for (const Record& record : records) {
        table.Buffer() = record;
        ok = table.Write(number++).ok() && ok;
    }
    table.Close();
    return ok;
}

inline bool WritePersons(const QList<store::PersonRecord>& persons, qint32 first = 1) {
    return WriteRecords(store::Persons(), persons, first);
}
inline bool WriteCourses(const QList<store::CourseRecord>& courses, qint32 first = 1) {
    return WriteRecords(store::Courses(), courses, first);
}
// Training.Records in one go, replacing what it held: a file of many records is made quickly.
bool WriteTrainings(const QList<store::TrainingRecord>& records);

// Record `number` of the table's file; a blank record when it cannot be read.
template <class Record> Record ReadRecord(store::RecordTable<Record>& table, qint32 number) {
    Record record;
    if (table.Open() && table.Read(number))
        record = table.Buffer();
    table.Close();
    return record;
}
inline store::PersonRecord ReadPerson(qint32 number) {
    return ReadRecord(store::Persons(), number);
}
inline store::CourseRecord ReadCourse(qint32 number) {
    return ReadRecord(store::Courses(), number);
}

// The whole file; empty when it cannot be read.
QByteArray FileBytes(const QString& name);

} // namespace recordfiles

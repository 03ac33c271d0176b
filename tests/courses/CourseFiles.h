#pragma once

#include "store/Formats.h"
#include "store/RecordStore.h"
#include "support/RecordFiles.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QList>
#include <QTime>

// Course Index and Training.Records made and read back for the course tests.
namespace coursefiles {

inline double Stamp(int year, int month, int day, int hour = 9, int minute = 0) {
    return formats::DateValue(QDate(year, month, day), QTime(hour, minute));
}

struct Course {
    double created = 0;
    QString code;
    QString name;
    float hours = 0;
    QString provider = QString();
    QString comments = QString();
};

inline bool WriteCourses(const QList<Course>& courses) {
    QList<store::CourseRecord> records;
    for (const Course& c : courses) {
        store::CourseRecord& r = records.emplace_back();
        r.DateCreated = c.created;
        r.CourseCode = c.code;
        r.CourseName = c.name;
        r.ProvidedBy = c.provider;
        r.Hours = c.hours;
        r.Comments = c.comments;
    }
    return recordfiles::WriteCourses(records);
}

using recordfiles::FileBytes;
using recordfiles::ReadCourse;
using recordfiles::WriteTrainings;

// A training record of course `course` for person `person`, as crediting writes it.
inline store::TrainingRecord Credit(const Course& course, double person, double date,
                                    const QString& comments) {
    store::TrainingRecord t;
    t.TrainingDate = date;
    t.PersonKey = person;
    t.CourseKey = course.created;
    t.CourseCode = course.code;
    t.CourseName = course.name;
    t.ProvidedBy = course.provider;
    t.Hours = course.hours;
    t.Comments = comments;
    return t;
}

// Record `number` (from 1) of a file's bytes.
inline QByteArray RecordOf(const QByteArray& file, qint32 number, int length) {
    return file.mid(qint64(number - 1) * length, length);
}

inline store::TrainingRecord TrainingOf(const QByteArray& file, qint32 number) {
    const QByteArray bytes = RecordOf(file, number, store::TrainingRecord::Length);
    return store::TrainingRecord::Decode(bytes.constData());
}

} // namespace coursefiles

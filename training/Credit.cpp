#include "training/Credit.h"

#include "store/Codepage.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"

#include <vector>

namespace training {

namespace {

// Reads the course and each person; the records to append come out in `records`.
store::StoreResult BuildRecords(qint32 courseRecNum, const QList<qint32>& personRecNums,
                                double trainingDate, const QString& comments,
                                std::vector<store::TrainingRecord>& records) {
    auto& courses = store::Courses();
    store::StoreResult result = courses.Open();
    if (result)
        result = courses.Read(courseRecNum);
    courses.Close();
    if (!result)
        return result;
    const store::CourseRecord& course = courses.Buffer();

    store::TrainingRecord training;
    training.TrainingDate = trainingDate;
    training.CourseKey = course.DateCreated;
    training.CourseCode = course.CourseCode;
    training.CourseName = course.CourseName;
    training.ProvidedBy = course.ProvidedBy;
    training.Hours = course.Hours;
    training.Comments = store::TrimField(comments);

    auto& persons = store::Persons();
    result = persons.Open();
    for (qint32 recNum : personRecNums) {
        if (!result)
            break;
        result = persons.Read(recNum);
        if (result) {
            training.PersonKey = persons.Buffer().DateCreated;
            records.push_back(training);
        }
    }
    persons.Close();
    return result;
}

} // namespace

store::StoreResult CreditCourse(qint32 courseRecNum, const QList<qint32>& personRecNums,
                                double trainingDate, const QString& comments) {
    std::vector<store::TrainingRecord> records;
    records.reserve(personRecNums.size());
    if (store::StoreResult built =
            BuildRecords(courseRecNum, personRecNums, trainingDate, comments, records);
        !built)
        return built;
    return store::AppendTrainingRecords(records);
}

} // namespace training

#include "training/Credit.h"

#include "store/Formats.h"
#include "store/PersonTraining.h"
#include "store/RecordScan.h"
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

    auto& persons = store::Persons();
    result = persons.Open();
    for (qint32 recNum : personRecNums) {
        if (!result)
            break;
        result = persons.Read(recNum);
        if (result)
            records.push_back(store::CreditedRecord(course, persons.Buffer().DateCreated,
                                                    trainingDate, comments));
    }
    persons.Close();
    return result;
}

// The DateCreated of each record `recNums` of `table`, in that order.
template <class Table>
store::StoreResult ReadIdentities(Table& table, const QList<qint32>& recNums,
                                  std::vector<double>& identities) {
    store::StoreResult result = table.Open();
    for (qint32 recNum : recNums) {
        if (!result)
            break;
        result = table.Read(recNum);
        if (result)
            identities.push_back(table.Buffer().DateCreated);
    }
    table.Close();
    return result;
}

} // namespace

store::StoreResult FindCreditedAlready(qint32 courseRecNum, const QList<qint32>& personRecNums,
                                       double trainingDate, QList<int>& already) {
    already.clear();
    std::vector<double> course;
    std::vector<double> persons;
    store::StoreResult result = ReadIdentities(store::Courses(), {courseRecNum}, course);
    if (result)
        result = ReadIdentities(store::Persons(), personRecNums, persons);
    if (!result)
        return result;
    const std::optional<qint64> day = formats::DayNumber(trainingDate);
    if (!day)
        return result;
    const store::PersonKeyMatch sameCourse(course.front());
    std::vector<store::PersonKeyMatch> samePerson;
    samePerson.reserve(persons.size());
    for (double key : persons)
        samePerson.emplace_back(key);
    std::vector<bool> found(persons.size(), false);

    auto& trainings = store::Trainings();
    result = trainings.Open();
    if (result) {
        store::RecordScan scan(trainings.File());
        while (scan.Next()) {
            const char* bytes = scan.Bytes();
            if (!sameCourse(store::TrainingRecord::CourseKeyRaw(bytes)) ||
                formats::DayNumber(store::TrainingRecord::TrainingDateRaw(bytes)) != day ||
                store::TrainingRecord::IsMarkedRaw(bytes))
                continue;
            const double personKey = store::TrainingRecord::PersonKeyRaw(bytes);
            for (std::size_t i = 0; i < samePerson.size(); ++i) {
                if (samePerson[i](personKey))
                    found[i] = true;
            }
        }
        result = scan.Result();
    }
    trainings.Close();
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i])
            already << int(i);
    }
    return result;
}

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

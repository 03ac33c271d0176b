#include "store/PersonTraining.h"

#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/Removal.h"

#include <QLocale>
#include <cmath>

namespace store {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// The calendar's range, years 100 to 9999, as day counts.
constexpr double kFirstDay = -657434.0;
constexpr double kPastLastDay = 2958466.0;

QString Counted(qint64 n) {
    return QLocale(QLocale::English).toString(n);
}

// The file stays closed whatever way a unit of work ends.
class TrainingsOpen {
public:
    enum Use { ToWrite, ToRead };
    explicit TrainingsOpen(Use use = ToWrite)
        : result_(use == ToRead ? Trainings().OpenForReading() : Trainings().Open()) {}
    ~TrainingsOpen() { Trainings().Close(); }
    TrainingsOpen(const TrainingsOpen&) = delete;
    TrainingsOpen& operator=(const TrainingsOpen&) = delete;
    const StoreResult& Result() const { return result_; }

private:
    StoreResult result_;
};

} // namespace

std::optional<qint64> KeySecond(double key) {
    if (!std::isfinite(key) || key < kFirstDay || key >= kPastLastDay)
        return std::nullopt;
    return std::llround(key * kSecondsPerDay);
}

bool BelongsToPerson(double personKey, double dateCreated) {
    return PersonKeyMatch(dateCreated)(personKey);
}

PersonKeyMatch::PersonKeyMatch(double dateCreated)
    : dateCreated_(dateCreated), second_(KeySecond(dateCreated)) {
    // Keys of one second lie within half a second of it; so does the stamp.
    low_ = dateCreated - 2.0 / kSecondsPerDay;
    high_ = dateCreated + 2.0 / kSecondsPerDay;
}

StoreResult ReadPersonTraining(double dateCreated, std::vector<NumberedTraining>& records) {
    records.clear();
    // Opened for reading: a missing file is not created, and a read-only folder is read.
    const TrainingsOpen open(TrainingsOpen::ToRead);
    if (!open.Result())
        return open.Result();
    const PersonKeyMatch belongs(dateCreated);
    RecordScan scan(Trainings().File());
    while (scan.Next()) {
        if (!belongs(TrainingRecord::PersonKeyRaw(scan.Bytes())))
            continue;
        NumberedTraining& kept = records.emplace_back();
        kept.recNum = scan.RecordNumber();
        kept.record.DecodeFrom(scan.Bytes());
        kept.record.MakeSafe();
    }
    if (!scan.Result()) {
        records.clear(); // half a history would look whole
        return scan.Result();
    }
    return StoreResult::Ok();
}

StoreResult AppendTrainingRecords(const std::vector<TrainingRecord>& records, qint32* firstNumber) {
    const TrainingsOpen open;
    if (!open.Result())
        return open.Result();
    RecordFile& file = Trainings().File();
    const qint64 count = file.Count();
    const qint64 adding = static_cast<qint64>(records.size());
    if (adding > MaxTrainingRecords - count)
        return StoreResult::Fail(
            file.FileName(),
            QStringLiteral("It holds %1 training records and cannot hold more than %2; %3 more "
                           "would not fit. Nothing was written.")
                .arg(Counted(count), Counted(MaxTrainingRecords), Counted(adding)));
    QByteArray bytes;
    bytes.reserve(adding * TrainingRecord::Length);
    for (const TrainingRecord& record : records)
        bytes += record.Encode();
    if (StoreResult appended = file.AppendRecords(bytes); !appended)
        return appended;
    if (firstNumber)
        *firstNumber = static_cast<qint32>(count + 1);
    Trainings().SetCount(file.Count());
    return StoreResult::Ok();
}

StoreResult ChangeTrainingRecord(qint32 recNum, double dateCreated,
                                 const std::function<void(TrainingRecord&)>& change) {
    const TrainingsOpen open;
    if (!open.Result())
        return open.Result();
    auto& table = Trainings();
    if (recNum < 1 || recNum > table.Count())
        return StoreResult::Fail(table.File().FileName(),
                                 QStringLiteral("There is no record %1; the file holds %2.")
                                     .arg(recNum)
                                     .arg(table.Count()));
    if (StoreResult read = table.Read(recNum); !read)
        return read;
    if (!BelongsToPerson(table.Buffer().PersonKey, dateCreated))
        return StoreResult::Fail(table.File().FileName(),
                                 QStringLiteral("Record %1 is no longer one of this person's "
                                                "training records; nothing was changed.")
                                     .arg(recNum));
    change(table.Buffer());
    return table.Write(recNum);
}

StoreResult RemovePerson(qint32 recNum, PersonRemoval& removal) {
    removal = PersonRemoval{};
    if (StoreResult removed = RemoveMarkedRecord(DataFile::NameList, recNum); !removed)
        return removed;
    removal.dateCreated = Persons().Buffer().DateCreated;
    return RemovePersonTraining(removal.dateCreated, &removal.trainingBefore,
                                &removal.trainingRemoved);
}

} // namespace store

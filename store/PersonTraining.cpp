#include "store/PersonTraining.h"

#include "store/Journal.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/Removal.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace store {

namespace {

constexpr double kSecondsPerDay = 86400.0;

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

namespace {

const QString kPersonJournalKind = QStringLiteral("Mirtavel person removal");

// The record number of the person created at `dateCreated` (0 when there is none).
StoreResult FindPerson(double dateCreated, qint32& recNum) {
    recNum = 0;
    auto& persons = Persons();
    if (StoreResult opened = persons.OpenForReading(); !opened)
        return opened;
    const PersonKeyMatch same(dateCreated);
    RecordScan scan(persons.File());
    while (scan.Next()) {
        if (same(PersonRecord::Decode(scan.Bytes()).DateCreated)) {
            recNum = scan.RecordNumber();
            break;
        }
    }
    const StoreResult result = scan.Result();
    persons.Close();
    return result;
}

} // namespace

StoreResult RemovePerson(qint32 recNum, PersonRemoval& removal) {
    removal = PersonRemoval{};
    // Who goes is written down before anything changes: stopped between the two rewrites,
    // the next start still knows whose training records to remove.
    PersonRecord person;
    {
        auto& persons = Persons();
        if (StoreResult opened = persons.OpenForReading(); !opened)
            return opened;
        const StoreResult read = recNum >= 1 && recNum <= persons.Count()
                                     ? persons.Read(recNum)
                                     : StoreResult::Fail(persons.File().FileName(),
                                                         QStringLiteral("There is no record %1; "
                                                                        "the file holds %2.")
                                                             .arg(recNum)
                                                             .arg(persons.Count()));
        person = persons.Buffer();
        persons.Close();
        if (!read)
            return read;
    }
    const journal::Fields fields = {
        {QStringLiteral("DateCreated"), journal::NumberText(person.DateCreated)},
        {QStringLiteral("Name"),
         journal::TextField(QStringList{person.FirstName, person.LastName}.join(u' ').trimmed())}};
    if (StoreResult written = journal::Write(PersonRemovalJournal, kPersonJournalKind, fields);
        !written)
        return written;

    if (StoreResult removed = RemoveMarkedRecord(DataFile::NameList, recNum); !removed) {
        // Still on file: nothing to finish later. Gone: the next start removes the records.
        qint32 still = 0;
        if (FindPerson(person.DateCreated, still) && still > 0)
            (void)journal::Remove(PersonRemovalJournal);
        return removed;
    }
    removal.dateCreated = Persons().Buffer().DateCreated;
    // On failure the journal stays, and the next start finishes the removal.
    if (StoreResult trainings = RemovePersonTraining(removal.dateCreated, &removal.trainingBefore,
                                                     &removal.trainingRemoved);
        !trainings)
        return trainings;
    return journal::Remove(PersonRemovalJournal);
}

StoreResult FinishInterruptedPersonRemoval(QString* note) {
    if (note)
        note->clear();
    journal::Fields fields;
    bool found = false;
    if (StoreResult read = journal::Read(PersonRemovalJournal, kPersonJournalKind, fields, found);
        !read || !found)
        return read;
    const double dateCreated = journal::NumberOf(fields.value(QStringLiteral("DateCreated")));
    const QString name = journal::TextOf(fields.value(QStringLiteral("Name")));
    qint32 recNum = 0;
    if (StoreResult looked = FindPerson(dateCreated, recNum); !looked)
        return looked;
    if (recNum > 0) {
        if (StoreResult removed = RemoveMarkedRecord(DataFile::NameList, recNum); !removed)
            return removed;
    }
    qint32 before = 0;
    qint32 removed = 0;
    if (StoreResult trainings = RemovePersonTraining(dateCreated, &before, &removed); !trainings)
        return trainings;
    if (StoreResult done = journal::Remove(PersonRemovalJournal); !done)
        return done;
    if (note)
        *note = QStringLiteral("The deletion of %1 had been interrupted; it was finished now%2.")
                    .arg(name.isEmpty() ? QStringLiteral("a person") : name,
                         removed > 0 ? QStringLiteral(": %1 training record(s) of that person "
                                                      "were removed")
                                           .arg(Counted(removed))
                                     : QString());
    return StoreResult::Ok();
}

} // namespace store

#include "store/PersonTraining.h"

#include "store/ChangeLines.h"
#include "store/Codepage.h"
#include "store/Journal.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"
#include "store/Removal.h"
#include "store/TrainingScan.h"

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
    TrainingScan scan;
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

TrainingRecord CreditedRecord(const CourseRecord& course, double personKey, double trainingDate,
                              const QString& comments) {
    TrainingRecord training;
    training.TrainingDate = trainingDate;
    training.PersonKey = personKey;
    training.CourseKey = course.DateCreated;
    training.CourseCode = course.CourseCode;
    training.CourseName = course.CourseName;
    training.ProvidedBy = course.ProvidedBy;
    training.Hours = course.Hours;
    training.Comments = TrimField(comments);
    return training;
}

StoreResult AppendTrainingRecords(const std::vector<TrainingRecord>& records, qint32* firstNumber,
                                  const QString& how) {
    const TrainingsOpen open;
    if (!open.Result())
        return open.Result();
    RecordFile& file = Trainings().File();
    const qint64 count = file.Count();
    const qint64 adding = static_cast<qint64>(records.size());
    if (adding > MaxTrainingRecords - count)
        return StoreResult::Full(
            file.FileName(),
            QStringLiteral("The file is full: it holds %1 training records and cannot hold more "
                           "than %2; %3 more would not fit. Nothing was saved.")
                .arg(Counted(count), Counted(MaxTrainingRecords), Counted(adding)));
    QByteArray bytes;
    bytes.reserve(adding * TrainingRecord::Length);
    for (const TrainingRecord& record : records)
        bytes += record.Encode();
    file.SetChanges(changelog::TrainingAdded(records, how));
    if (StoreResult appended = file.AppendRecords(bytes); !appended)
        return appended;
    if (firstNumber)
        *firstNumber = static_cast<qint32>(count + 1);
    Trainings().SetCount(file.Count());
    return StoreResult::Ok();
}

namespace {

// Reads record `recNum` of the open Training.Records into the buffer; refused as changed
// elsewhere when the file no longer holds it or it is no longer the person's (records were
// removed and renumbered since the window read them).
StoreResult ReadPersonsRecord(qint32 recNum, double dateCreated) {
    auto& table = Trainings();
    if (recNum < 1 || recNum > table.Count())
        return StoreResult::ChangedElsewhere(
            table.File().FileName(), QStringLiteral("There is no record %1 now; the file holds "
                                                    "%2. Nothing was changed.")
                                         .arg(recNum)
                                         .arg(table.Count()));
    if (StoreResult read = table.Read(recNum); !read)
        return read;
    if (!BelongsToPerson(table.Buffer().PersonKey, dateCreated))
        return StoreResult::ChangedElsewhere(table.File().FileName(),
                                             QStringLiteral("Record %1 is no longer one of this "
                                                            "person's training records; nothing "
                                                            "was changed.")
                                                 .arg(recNum));
    return StoreResult::Ok();
}

} // namespace

StoreResult ChangeTrainingRecord(qint32 recNum, double dateCreated,
                                 const std::function<void(TrainingRecord&)>& change) {
    const TrainingsOpen open;
    if (!open.Result())
        return open.Result();
    if (StoreResult read = ReadPersonsRecord(recNum, dateCreated); !read)
        return read;
    auto& table = Trainings();
    change(table.Buffer());
    return table.Write(recNum);
}

StoreResult RemovePersonsTrainingRecord(qint32 recNum, double dateCreated) {
    {
        const TrainingsOpen open(TrainingsOpen::ToRead);
        if (!open.Result())
            return open.Result();
        if (StoreResult read = ReadPersonsRecord(recNum, dateCreated); !read)
            return read;
    }
    return RemoveMarkedRecord(DataFile::TrainingRecords, recNum);
}

namespace {

const QString kPersonJournalKind = QStringLiteral("Mirtavel person removal");
const QString kNamesField = QStringLiteral("NameList");
const QString kTrainingsField = QStringLiteral("TrainingRecords");

QString TrainingRecordsWent(qint64 n) {
    if (n == 0)
        return QStringLiteral("no training records of that person were removed");
    if (n == 1)
        return QStringLiteral("1 training record of that person was removed");
    return QStringLiteral("%1 training records of that person were removed").arg(Counted(n));
}

// How many training records the removal took before it was stopped: when Training.Records
// is no longer the file the journal names, it is the copy without the person's records
// (or, none being kept, gone), shorter by just those records. Nothing is known when the
// journal is an older one or the file is not shorter.
qint64 RemovedBeforeTheStop(const journal::Fields& fields) {
    const QString field = fields.value(kTrainingsField);
    const QString name = FileNameOf(DataFile::TrainingRecords);
    journal::FileState then;
    if (!journal::StateFrom(field, then) || journal::StillTheFile(field, name, false))
        return 0;
    journal::FileState now;
    const qint64 nowSize = journal::StateOf(name, now) ? now.size : 0;
    const qint64 went = then.size - nowSize;
    return went > 0 && went % TrainingRecord::Length == 0 ? went / TrainingRecord::Length : 0;
}

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

// The lines of a person's removal: the person, with how many training records go, then each
// of those records.
StoreResult PrepareRemovalLines(const PersonRecord& person, changelog::Pending& pending) {
    std::vector<NumberedTraining> theirs;
    if (StoreResult read = ReadPersonTraining(person.DateCreated, theirs); !read)
        return read;
    QList<changelog::Change> lines;
    changelog::Change& gone =
        lines.emplaceBack(changelog::RemovalOf(DataFile::NameList, person.Encode().constData()));
    gone.fields.append(
        {QStringLiteral("Training records"), Counted(qint64(theirs.size())), QStringLiteral("0")});
    for (const NumberedTraining& t : theirs)
        lines.append(
            changelog::RemovalOf(DataFile::TrainingRecords, t.record.Encode().constData()));
    return changelog::Prepare(lines, pending);
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
    // With the two files as they are now: Name.List is replaced by its copy without the
    // person, Training.Records by one without the person's records, so the next start can
    // tell its own work from a file put in since, and count what went.
    // The lines go with the journal: the person and each of their training records, as they
    // stand now. They are written when the removal is done, here or at the next start.
    changelog::Pending pending;
    if (StoreResult noted = PrepareRemovalLines(person, pending); !noted)
        return noted;
    journal::Fields fields = {
        {QStringLiteral("DateCreated"), journal::NumberText(person.DateCreated)},
        {QStringLiteral("Name"),
         journal::TextField(QStringList{person.FirstName, person.LastName}.join(u' ').trimmed())},
        {kNamesField, journal::FileField(FileNameOf(DataFile::NameList))},
        {kTrainingsField, journal::FileField(FileNameOf(DataFile::TrainingRecords))}};
    changelog::NoteInJournal(pending, fields);
    if (StoreResult written = journal::Write(PersonRemovalJournal, kPersonJournalKind, fields);
        !written)
        return written;

    if (StoreResult removed = RemoveMarkedRecord(DataFile::NameList, recNum, LogRemoval::No);
        !removed) {
        // Still on file: nothing to finish later. Gone: the next start removes the records.
        qint32 still = 0;
        if (FindPerson(person.DateCreated, still) && still > 0)
            (void)journal::Remove(PersonRemovalJournal);
        else
            removal.finishedAtNextStart = true;
        return removed;
    }
    removal.dateCreated = Persons().Buffer().DateCreated;
    // On failure the journal stays, and the next start finishes the removal.
    if (StoreResult trainings = RemovePersonTraining(removal.dateCreated, &removal.trainingBefore,
                                                     &removal.trainingRemoved);
        !trainings) {
        removal.finishedAtNextStart = true;
        return trainings;
    }
    if (StoreResult logged = changelog::Complete(pending); !logged) {
        removal.finishedAtNextStart = true;
        return logged;
    }
    return journal::Remove(PersonRemovalJournal);
}

StoreResult FinishInterruptedPersonRemoval(QString* note) {
    const journal::Interrupted work =
        journal::ReadInterrupted(PersonRemovalJournal, kPersonJournalKind, note);
    if (!work.fields)
        return work.result;
    const journal::Fields& fields = *work.fields;
    const double dateCreated = journal::NumberOf(fields.value(QStringLiteral("DateCreated")));
    QString name = journal::TextOf(fields.value(QStringLiteral("Name")));
    if (name.isEmpty())
        name = QStringLiteral("a person");
    qint32 recNum = 0;
    if (StoreResult looked = FindPerson(dateCreated, recNum); !looked)
        return looked;
    // Still listed: the removal never came to Name.List — unless Name.List was put back from
    // a copy since, in which case the person is to stay. A journal of an older version names
    // no file and is finished as it always was.
    const QString names = FileNameOf(DataFile::NameList);
    if (recNum > 0 && fields.contains(kNamesField) &&
        !journal::StillTheFile(fields.value(kNamesField), names, true)) {
        QString aside;
        if (changelog::Pending pending; changelog::FromJournal(fields, pending)) {
            if (StoreResult withdrawn = changelog::Withdraw(pending); !withdrawn)
                return withdrawn;
        }
        if (StoreResult kept = journal::SetAside(PersonRemovalJournal, aside); !kept)
            return kept;
        if (note)
            *note = QStringLiteral("The deletion of %1 had been interrupted, but \"%2\" was "
                                   "replaced since and lists that person again; nothing was "
                                   "removed. The record of the interrupted deletion was kept "
                                   "as \"%3\".")
                        .arg(name, names, aside);
        return StoreResult::Ok();
    }
    const qint64 before = RemovedBeforeTheStop(fields);
    if (recNum > 0) {
        if (StoreResult removed = RemoveMarkedRecord(DataFile::NameList, recNum, LogRemoval::No);
            !removed)
            return removed;
    }
    qint32 removed = 0;
    if (StoreResult trainings = RemovePersonTraining(dateCreated, nullptr, &removed); !trainings)
        return trainings;
    if (changelog::Pending pending; changelog::FromJournal(fields, pending)) {
        if (StoreResult logged = changelog::Complete(pending); !logged)
            return logged;
    }
    if (StoreResult done = journal::Remove(PersonRemovalJournal); !done)
        return done;
    if (note)
        *note = QStringLiteral("The deletion of %1 had been interrupted; it was finished now: %2.")
                    .arg(name, TrainingRecordsWent(before + removed));
    return StoreResult::Ok();
}

} // namespace store

#include "store/RecordStore.h"

#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/Journal.h"
#include "store/ReadOnlyStation.h"
#include "store/UserLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <limits>

namespace store {

QString FileNameOf(DataFile file) {
    switch (file) {
    case DataFile::UserList:
        return QStringLiteral("User.List");
    case DataFile::NameList:
        return QStringLiteral("Name.List");
    case DataFile::CourseIndex:
        return QStringLiteral("Course.Index");
    case DataFile::TrainingRecords:
        break;
    }
    return QStringLiteral("Training.Records");
}

int RecordLengthOf(DataFile file) {
    switch (file) {
    case DataFile::UserList:
        return UserRecord::Length;
    case DataFile::NameList:
        return PersonRecord::Length;
    case DataFile::CourseIndex:
        return CourseRecord::Length;
    case DataFile::TrainingRecords:
        break;
    }
    return TrainingRecord::Length;
}

qint32 MaxRecordsOf(DataFile file) {
    return file == DataFile::TrainingRecords ? MaxTrainingRecords : MaxListRecords;
}

template <class Record> StoreResult RecordTable<Record>::Read(qint32 recordNumber) {
    static QByteArray bytes; // one scratch record per table, reused by every read
    if (StoreResult read = file_.ReadRaw(recordNumber, bytes); !read)
        return read;
    buffer_.DecodeFrom(bytes.constData());
    buffer_.MakeSafe();
    return StoreResult::Ok();
}

template <class Record> StoreResult RecordTable<Record>::Write(qint32 recordNumber) {
    // The older program counts these files in 16 bits; a record beyond that would make the
    // whole file unreadable to it.
    if (recordNumber > MaxRecordsOf(which_))
        return StoreResult::Fail(file_.FileName(),
                                 QStringLiteral("The file cannot hold more than %L1 records.")
                                     .arg(MaxRecordsOf(which_)));
    return file_.WriteRaw(recordNumber, buffer_.Encode());
}

template class RecordTable<UserRecord>;
template class RecordTable<PersonRecord>;
template class RecordTable<CourseRecord>;
template class RecordTable<TrainingRecord>;

RecordTable<UserRecord>& Users() {
    static RecordTable<UserRecord> table(DataFile::UserList);
    return table;
}

RecordTable<PersonRecord>& Persons() {
    static RecordTable<PersonRecord> table(DataFile::NameList);
    return table;
}

RecordTable<CourseRecord>& Courses() {
    static RecordTable<CourseRecord> table(DataFile::CourseIndex);
    return table;
}

RecordTable<TrainingRecord>& Trainings() {
    static RecordTable<TrainingRecord> table(DataFile::TrainingRecords);
    return table;
}

void CloseAll() {
    Users().Close();
    Persons().Close();
    Courses().Close();
    Trainings().Close();
}

namespace {

// Creation stamps are compared by the second they name: two values within one second would
// show as the same text, and some callers compare the text.
qint64 SecondOf(double value) {
    const QDateTime when = formats::DateTimeOf(value);
    if (!when.isValid())
        return std::numeric_limits<qint64>::min();
    return when.date().toJulianDay() * 86400 + when.time().msecsSinceStartOfDay() / 1000;
}

// The creation stamps of every record of an open table, read without touching its buffer.
template <class Record>
StoreResult CollectStamps(RecordTable<Record>& table, QSet<qint64>& seconds) {
    QByteArray bytes;
    for (qint32 n = 1; n <= table.Count(); ++n) {
        if (StoreResult read = table.File().ReadRaw(n, bytes); !read)
            return read;
        Record record = Record::Decode(bytes.constData());
        record.MakeSafe();
        seconds.insert(SecondOf(record.DateCreated));
    }
    return StoreResult::Ok();
}

template <class Record>
StoreResult UniqueStamp(RecordTable<Record>& table, double proposed, double& unique) {
    const bool wasOpen = table.IsOpen();
    if (!wasOpen) {
        if (StoreResult opened = table.Open(); !opened)
            return opened;
    }
    QSet<qint64> seconds;
    const StoreResult collected = CollectStamps(table, seconds);
    if (!wasOpen)
        table.Close();
    if (!collected)
        return collected;

    double candidate = proposed;
    while (seconds.contains(SecondOf(candidate))) {
        const QDateTime when = formats::DateTimeOf(candidate);
        if (!when.isValid())
            break; // not a date at all: nothing to compare it with
        // Built from date and time like a clock reading, so it equals what the clock would
        // have given one second later.
        candidate = formats::DateValue(when.addSecs(1));
    }
    unique = candidate;
    return StoreResult::Ok();
}

} // namespace

StoreResult UniqueDateCreated(DataFile file, double proposed, double& unique) {
    switch (file) {
    case DataFile::UserList:
        return UniqueStamp(Users(), proposed, unique);
    case DataFile::NameList:
        return UniqueStamp(Persons(), proposed, unique);
    case DataFile::CourseIndex:
        return UniqueStamp(Courses(), proposed, unique);
    case DataFile::TrainingRecords:
        break;
    }
    return StoreResult::Fail(FileNameOf(file),
                             QStringLiteral("Training records carry no creation stamp."));
}

StoreResult UndoInterruptedWrite(QString* note) {
    if (note)
        note->clear();
    journal::Fields fields;
    bool found = false;
    if (StoreResult read = journal::Read(RecordWriteJournal, kRecordWriteKind, fields, found);
        !read || !found)
        return read;
    // Only a data file of this folder is ever written back.
    const QString name = journal::TextOf(fields.value(QStringLiteral("File")));
    const QStringList dataFiles = {FileNameOf(DataFile::UserList), FileNameOf(DataFile::NameList),
                                   FileNameOf(DataFile::CourseIndex),
                                   FileNameOf(DataFile::TrainingRecords)};
    bool offsetOk = false;
    bool lengthOk = false;
    const qint64 offset = fields.value(QStringLiteral("Offset")).toLongLong(&offsetOk);
    const qint64 length = fields.value(QStringLiteral("Length")).toLongLong(&lengthOk);
    const QByteArray former =
        QByteArray::fromHex(fields.value(QStringLiteral("Former")).toLatin1());
    if (!dataFiles.contains(name) || !offsetOk || !lengthOk || offset < 0 || length < 0 ||
        offset + former.size() > length)
        return StoreResult::Fail(RecordWriteJournal,
                                 QStringLiteral("It cannot be read; it was left as it is."));
    if (QFileInfo::exists(name)) {
        QFile file(name);
        if (!file.open(QIODevice::ReadWrite))
            return StoreResult::Fail(name, file.errorString());
        if (StoreResult put =
                io::PutBack(file.handle(), name, offset, former.constData(), former.size());
            !put)
            return put;
        if (file.size() > length && !file.resize(length))
            return StoreResult::Fail(name, file.errorString());
        if (StoreResult synced = io::Sync(file.handle(), name); !synced)
            return synced;
    }
    if (StoreResult done = journal::Remove(RecordWriteJournal); !done)
        return done;
    if (note)
        *note = QStringLiteral("A save in \"%1\" had been interrupted; the file was put back "
                               "as it was before it.")
                    .arg(name);
    return StoreResult::Ok();
}

void RemoveEmptyDataFiles() {
    // An empty file may be one the program holding the folder has just begun.
    if (IsReadOnlyStation())
        return;
    // The order in which the program lists its data files.
    const QStringList names = {FileNameOf(DataFile::UserList), UserLogFileName,
                               FileNameOf(DataFile::NameList), FileNameOf(DataFile::CourseIndex),
                               FileNameOf(DataFile::TrainingRecords)};
    for (const QString& name : names) {
        const QFileInfo info(name);
        if (info.exists() && info.isFile() && info.size() == 0)
            QFile::remove(name);
    }
}

} // namespace store

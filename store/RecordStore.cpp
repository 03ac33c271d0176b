#include "store/RecordStore.h"

#include "store/ChangeLines.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/Journal.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordScan.h"
#include "store/TrainingDates.h"
#include "store/UserLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>
#include <vector>

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
        return StoreResult::Full(file_.FileName(), FileFullReason(MaxRecordsOf(which_)));
    // The log's line: the record as it was on file (none when the write adds it) and as it
    // will be. An edit that changes nothing has none.
    std::optional<Record> before;
    if (recordNumber <= file_.Count()) {
        QByteArray old;
        if (StoreResult read = file_.ReadRaw(recordNumber, old); !read)
            return read;
        before = Record::Decode(old.constData());
        before->MakeSafe();
    }
    const changelog::Change change = changelog::RecordChange(before ? &*before : nullptr, buffer_);
    if (!before || !change.fields.isEmpty())
        file_.SetChanges({change});
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
    // The summary of its dates follows every open and write of the file.
    static RecordTable<TrainingRecord> table(DataFile::TrainingRecords);
    static const bool watched = (table.File().SetWatch(&TrainingDateSummary()), true);
    Q_UNUSED(watched);
    return table;
}

void CloseAll() {
    changelog::Settle(); // a folder is left, or the program ends, with its log synced
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
StoreResult UniqueStamps(RecordTable<Record>& table, double proposed, int count,
                         std::vector<double>& unique) {
    unique.clear();
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
    while (int(unique.size()) < count) {
        if (!seconds.contains(SecondOf(candidate))) {
            unique.push_back(candidate);
            seconds.insert(SecondOf(candidate));
            continue;
        }
        const QDateTime when = formats::DateTimeOf(candidate);
        if (!when.isValid()) {
            unique.push_back(candidate); // not a date at all: nothing to compare it with
            continue;
        }
        // Built from date and time like a clock reading, so it equals what the clock would
        // have given one second later.
        candidate = formats::DateValue(when.addSecs(1));
    }
    return StoreResult::Ok();
}

} // namespace

StoreResult UniqueDatesCreated(DataFile file, double proposed, int count,
                               std::vector<double>& unique) {
    switch (file) {
    case DataFile::UserList:
        return UniqueStamps(Users(), proposed, count, unique);
    case DataFile::NameList:
        return UniqueStamps(Persons(), proposed, count, unique);
    case DataFile::CourseIndex:
        return UniqueStamps(Courses(), proposed, count, unique);
    case DataFile::TrainingRecords:
        break;
    }
    return StoreResult::Fail(FileNameOf(file),
                             QStringLiteral("Training records carry no creation stamp."));
}

StoreResult UniqueDateCreated(DataFile file, double proposed, double& unique) {
    std::vector<double> stamps;
    const StoreResult result = UniqueDatesCreated(file, proposed, 1, stamps);
    if (result)
        unique = stamps.front();
    return result;
}

namespace {

// What a record-write journal says of the write it names.
struct WriteNote {
    QString name;
    qint64 offset = 0;
    qint64 formerLength = 0;
    QByteArray former;
    // Of this version's journals only: the file, the end of the write, the bytes it put
    // where `former` was, and the sums of its pieces beyond the former length.
    bool identified = false;
    journal::FileState state;
    qint64 end = 0;
    QByteArray written;
    QStringList sums;
};

bool ReadWriteNote(const journal::Fields& fields, WriteNote& w) {
    // Only a data file of this folder is ever written back.
    w.name = journal::TextOf(fields.value(QStringLiteral("File")));
    const QStringList dataFiles = {FileNameOf(DataFile::UserList), FileNameOf(DataFile::NameList),
                                   FileNameOf(DataFile::CourseIndex),
                                   FileNameOf(DataFile::TrainingRecords)};
    bool offsetOk = false;
    bool lengthOk = false;
    w.offset = fields.value(QStringLiteral("Offset")).toLongLong(&offsetOk);
    w.formerLength = fields.value(QStringLiteral("Length")).toLongLong(&lengthOk);
    w.former = QByteArray::fromHex(fields.value(QStringLiteral("Former")).toLatin1());
    if (!dataFiles.contains(w.name) || !offsetOk || !lengthOk || w.offset < 0 ||
        w.formerLength < 0 || w.offset + w.former.size() > w.formerLength)
        return false;
    if (!fields.contains(QStringLiteral("State")))
        return true; // written by an earlier version
    bool endOk = false;
    w.identified = journal::StateFrom(fields.value(QStringLiteral("State")), w.state);
    w.end = fields.value(QStringLiteral("End")).toLongLong(&endOk);
    w.written = QByteArray::fromHex(fields.value(QStringLiteral("Written")).toLatin1());
    const QString sums = fields.value(QStringLiteral("Sums"));
    w.sums = sums.isEmpty() ? QStringList() : sums.split(u',');
    // The former bytes and the bytes written over them span the same place, the part of the
    // write within the former length; the pieces cover the rest.
    const qint64 inPlace = std::max<qint64>(0, std::min(w.end, w.formerLength) - w.offset);
    return w.identified && endOk && w.end >= w.offset && w.former.size() == inPlace &&
           w.written.size() == inPlace &&
           w.sums.size() == writejournal::Pieces(std::max(w.offset, w.formerLength), w.end).size();
}

// Whether the file open in `file` is the one the journal was written for, in a state that
// stopped write can have left: empty when it is, else why not.
//
// The rule. The file must be the same file (device and inode: a file copied or renamed in
// under the name since is another). Its length must lie between the former length and the
// end of the write: a write that lengthens the file may have been stopped part way, and no
// write of ours shortens it. Within the former length each byte must be the former byte or
// the byte the write put there: a write stopped in the middle leaves some of each (at any
// byte when the system took only part of it, at sector or page bounds after a power cut).
// Beyond the former length each whole piece must be the write's own (its sum) or zeros (the
// file grew but the bytes never reached the disk); the one piece the file's end cuts through
// cannot be summed and is not looked at — those bytes are cut off when the write is undone.
// A file copied over this one in place (same inode) thus passes only where it holds exactly
// what the stopped write left.
//
// A journal of an earlier version names no file and no written bytes: it is applied only
// when the file's length is still the former length, so that a file of another length — a
// copy put in since — is never cut or grown.
QString WhyNotApplied(const WriteNote& w, QFile& file) {
    journal::FileState now;
    if (!journal::StateOf(file.handle(), now))
        return qt_error_string(errno);
    const QString replaced = QStringLiteral("the file was replaced since");
    if (!w.identified)
        return now.size == w.formerLength
                   ? QString()
                   : replaced + QStringLiteral(" (its length is not what it was before the save)");
    if (!now.SameFile(w.state))
        return replaced + QStringLiteral(" (another file now has its name)");
    if (now.size < w.formerLength || now.size > std::max(w.formerLength, w.end))
        return replaced + QStringLiteral(" (its length is not one the save could have left)");
    const QString otherBytes =
        replaced + QStringLiteral(" (it holds other bytes where the save wrote)");
    if (!w.former.isEmpty()) {
        QByteArray there(w.former.size(), '\0');
        if (!file.seek(w.offset) || file.read(there.data(), there.size()) != there.size())
            return otherBytes;
        for (qsizetype i = 0; i < there.size(); ++i) {
            if (there[i] != w.former[i] && there[i] != w.written[i])
                return otherBytes;
        }
    }
    const QList<writejournal::Piece> pieces =
        writejournal::Pieces(std::max(w.offset, w.formerLength), w.end);
    for (qsizetype k = 0; k < pieces.size() && pieces[k].to <= now.size; ++k) {
        QByteArray there(pieces[k].to - pieces[k].from, '\0');
        if (!file.seek(pieces[k].from) || file.read(there.data(), there.size()) != there.size())
            return otherBytes;
        const bool zeros = there.count('\0') == there.size();
        if (!zeros && writejournal::PieceSum(there.constData(), there.size()) != w.sums[k])
            return otherBytes;
    }
    return QString();
}

} // namespace

StoreResult UndoInterruptedWrite(QString* note) {
    const journal::Interrupted work =
        journal::ReadInterrupted(RecordWriteJournal, kRecordWriteKind, note);
    if (!work.fields)
        return work.result;
    const journal::Fields& fields = *work.fields;
    WriteNote w;
    if (!ReadWriteNote(fields, w))
        return StoreResult::Fail(RecordWriteJournal,
                                 QStringLiteral("It cannot be read; it was left as it is."));
    QString why;
    if (QFileInfo::exists(w.name)) {
        QFile file(w.name);
        if (!file.open(QIODevice::ReadWrite))
            return StoreResult::Fail(w.name, file.errorString());
        why = WhyNotApplied(w, file);
        if (why.isEmpty()) {
            if (StoreResult put = io::PutBack(file.handle(), w.name, w.offset, w.former.constData(),
                                              w.former.size());
                !put)
                return put;
            if (file.size() > w.formerLength && !file.resize(w.formerLength))
                return StoreResult::Fail(w.name, file.errorString());
            if (StoreResult synced = io::Sync(file.handle(), w.name); !synced)
                return synced;
        }
    } else {
        why = QStringLiteral("the file is no longer there");
    }
    // The write is not on file (put back, or its file replaced): nor are its lines.
    if (changelog::Pending pending; changelog::FromJournal(fields, pending)) {
        if (StoreResult withdrawn = changelog::Withdraw(pending); !withdrawn)
            return withdrawn;
    }
    if (!why.isEmpty()) {
        // Left as it is: the journal's bytes belong to a file that is not there any more.
        QString aside;
        if (StoreResult kept = journal::SetAside(RecordWriteJournal, aside); !kept)
            return kept;
        if (note)
            *note = QStringLiteral("A save in \"%1\" had been interrupted, but %2; the file was "
                                   "left as it is and nothing was put back. What the save had "
                                   "replaced was kept in \"%3\".")
                        .arg(w.name, why, aside);
        return StoreResult::Ok();
    }
    if (StoreResult done = journal::Remove(RecordWriteJournal); !done)
        return done;
    if (note)
        *note = QStringLiteral("A save in \"%1\" had been interrupted; the file was put back "
                               "as it was before it.")
                    .arg(w.name);
    return StoreResult::Ok();
}

StoreResult CompleteFinishedWrites(QString* note) {
    if (note)
        note->clear();
    return changelog::CompleteDone(RecordWriteJournal, kRecordWriteKind);
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

StoreResult ForEachLivePerson(const std::function<void(const char*)>& visit) {
    auto& persons = Persons();
    StoreResult result = persons.OpenForReading();
    if (result) {
        RecordScan scan(persons.File());
        while (scan.Next()) {
            if (!PersonRecord::IsMarkedRaw(scan.Bytes()))
                visit(scan.Bytes());
        }
        result = scan.Result();
    }
    persons.Close();
    return result;
}

} // namespace store

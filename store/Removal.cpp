#include "store/Removal.h"

#include "store/ChangeLines.h"
#include "store/Clock.h"
#include "store/FileWrite.h"
#include "store/Journal.h"
#include "store/NewFileMode.h"
#include "store/PersonTraining.h"
#include "store/RecordShape.h"
#include "store/Rewrite.h"
#include "store/TrainingDates.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

constexpr std::array<DataFile, 4> kRecordFiles = {DataFile::UserList, DataFile::NameList,
                                                  DataFile::CourseIndex, DataFile::TrainingRecords};

// What a removal needs to know about one file besides its name and record length.
struct FileRules {
    std::function<void()> close;
    bool (*isMarked)(const char*) = nullptr;
    void (*adjustKept)(char*) = nullptr; // FirstName stored again trimmed, where it applies
    std::function<void(const char*)> loadBuffer;
};

template <class Record> FileRules RulesFor(RecordTable<Record>& table, void (*adjustKept)(char*)) {
    FileRules rules;
    rules.close = [&table] { table.Close(); };
    rules.isMarked = &Record::IsMarkedRaw;
    rules.adjustKept = adjustKept;
    rules.loadBuffer = [&table](const char* bytes) {
        table.Buffer().DecodeFrom(bytes);
        table.Buffer().MakeSafe();
    };
    return rules;
}

FileRules RulesOf(DataFile file) {
    switch (file) {
    case DataFile::UserList:
        return RulesFor(Users(), &UserRecord::TrimFirstNameRaw);
    case DataFile::NameList:
        return RulesFor(Persons(), &PersonRecord::TrimFirstNameRaw);
    case DataFile::CourseIndex:
        return RulesFor(Courses(), nullptr);
    case DataFile::TrainingRecords:
        break;
    }
    return RulesFor(Trainings(), nullptr);
}

// A rewrite of Training.Records takes the summary of its dates along, learnt from the records
// it keeps.
void FollowTrainingDates(rewrite::Plan& plan) {
    auto rebuild = std::make_shared<TrainingDates::Rebuild>();
    plan.keptCopied = [rebuild](const char* records, qint64 n) { rebuild->Kept(records, n); };
    plan.replaced = [rebuild](const QString& fileName) { rebuild->Replaced(fileName); };
}

bool Exists(const QString& name) {
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
}

// What stands under the temporary name, the name itself not followed: a link is no copy,
// whatever it points to.
enum class TempEntry { None, File, Folder, Other };

TempEntry TempEntryOf(qint64* size = nullptr) {
    struct stat st;
    if (::lstat(QFile::encodeName(TempFileName).constData(), &st) != 0)
        return TempEntry::None;
    if (size)
        *size = st.st_size;
    if (S_ISREG(st.st_mode))
        return TempEntry::File;
    return S_ISDIR(st.st_mode) ? TempEntry::Folder : TempEntry::Other;
}

// A non-empty regular "TempFile.$$$" may be the only copy of a file's records; it is
// settled before a removal makes its own copy. Anything else there is replaced.
StoreResult SettleLeftoverTemp() {
    qint64 size = 0;
    if (TempEntryOf(&size) != TempEntry::File || size == 0)
        return StoreResult::Ok();
    return RecoverInterruptedRemoval(nullptr);
}

// How well the temporary file reads as a copy of one record file.
struct Fit {
    DataFile file = DataFile::UserList;
    bool exact = false;  // its length is a whole number of the file's records
    bool exists = false; // the file is there
    qint64 alike = 0;    // whole records that look like the file's
    qint64 total = 0;    // whole records
    // More than half of the records look alike: a damaged record or two in a real copy must
    // not hide where it belongs.
    bool Plausible() const { return total > 0 && 2 * alike > total; }
    // The greater share of records alike, then a length that fits exactly. Records read at
    // the wrong length meet the records' starts now and then (every other 500 bytes of
    // persons start a person), a real copy nearly always; a copy cut short in a record of
    // its own file can still fit another file's length exactly.
    bool Beats(const Fit& other) const {
        const qint64 mine = alike * other.total;
        const qint64 theirs = other.alike * total;
        if (mine != theirs)
            return mine > theirs;
        return exact && !other.exact;
    }
};

// Counts the whole records of the temporary file that look like records of `fit.file`.
StoreResult MeasureFit(Fit& fit) {
    const DataFile file = fit.file;
    QFile temp(TempFileName);
    if (!temp.open(QIODevice::ReadOnly))
        return StoreResult::Fail(TempFileName, temp.errorString());
    const int length = RecordLengthOf(file);
    const qint64 blockRecords = std::max(1, (1024 * 1024) / length);
    qint64 total = 0;
    qint64 alike = 0;
    for (;;) {
        const QByteArray block = temp.read(blockRecords * length);
        if (block.isEmpty()) {
            if (temp.error() != QFileDevice::NoError)
                return StoreResult::Fail(TempFileName, temp.errorString());
            break;
        }
        for (qint64 at = 0; at + length <= block.size(); at += length) {
            ++total;
            if (LooksLikeRecordOf(file, block.constData() + at))
                ++alike;
        }
    }
    fit.alike = alike;
    fit.total = total;
    return StoreResult::Ok();
}

// Moves the bytes of the temporary file beyond its whole records into a file of their own
// beside `restored` (a name not taken yet), then cuts them off the copy. Stopped in between,
// the next start does it again: the copy is not changed before its tail is safe.
StoreResult SetTailAside(const QString& restored, qint64 whole, QString& aside) {
    QFile temp(TempFileName);
    if (!temp.open(QIODevice::ReadWrite))
        return StoreResult::Fail(TempFileName, temp.errorString());
    if (!temp.seek(whole))
        return StoreResult::Fail(TempFileName, temp.errorString());
    const QByteArray tail = temp.readAll();
    aside = restored + QStringLiteral(".Partial");
    for (int n = 2; Exists(aside); ++n)
        aside = restored + QStringLiteral(".Partial-%1").arg(n);
    QFile part(aside);
    const int fd = ::open(QFile::encodeName(aside).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 || !part.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        const QString reason = fd < 0 ? qt_error_string(errno) : part.errorString();
        if (fd >= 0)
            ::close(fd);
        return StoreResult::Fail(aside, reason);
    }
    (void)GiveNewFileMode(fd, aside); // as readable as the file it was cut from would be
    if (StoreResult written = io::WriteAt(part.handle(), aside, 0, tail.constData(), tail.size());
        !written)
        return written;
    if (StoreResult synced = io::Sync(part.handle(), aside); !synced)
        return synced;
    part.close();
    if (!temp.resize(whole))
        return StoreResult::Fail(TempFileName, temp.errorString());
    return io::Sync(temp.handle(), TempFileName);
}

// Keeps the temporary file under a name of its own ("TempFile kept <when>.$$$"), so that it
// is neither deleted nor in the way of the next removal.
StoreResult KeepTemp(QString& kept) {
    const QString when = CurrentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    kept = QStringLiteral("TempFile kept %1.$$$").arg(when);
    for (int n = 2; Exists(kept); ++n)
        kept = QStringLiteral("TempFile kept %1 (%2).$$$").arg(when).arg(n);
    if (::rename(QFile::encodeName(TempFileName).constData(),
                 QFile::encodeName(kept).constData()) != 0)
        return StoreResult::Fail(TempFileName, qt_error_string(errno));
    return rewrite::SyncFolder();
}

} // namespace

namespace {

const QString kRemovalLineKind = QStringLiteral("Mirtavel removal line");
const QString kRemovedFile = QStringLiteral("File");

// The line of record `recordNumber` of `file` as it stands before its removal, and the journal
// that holds it (with the file's state) while the removal runs. A record that is not there has
// no line; the removal is refused for it anyway.
StoreResult NoteRemovalLine(DataFile file, qint32 recordNumber, changelog::Pending& pending) {
    pending = changelog::Pending{};
    RecordFile records(FileNameOf(file), RecordLengthOf(file));
    if (StoreResult opened = records.OpenForReading(); !opened)
        return opened;
    if (recordNumber > records.Count())
        return StoreResult::Ok();
    QByteArray bytes;
    if (StoreResult read = records.ReadRaw(recordNumber, bytes); !read)
        return read;
    records.Close();
    if (StoreResult prepared =
            changelog::Prepare({changelog::RemovalOf(file, bytes.constData())}, pending);
        !prepared)
        return prepared;
    journal::Fields fields = {{kRemovedFile, journal::FileField(FileNameOf(file))},
                              {QStringLiteral("Name"), journal::TextField(FileNameOf(file))}};
    changelog::NoteInJournal(pending, fields);
    return journal::Write(RemovalLineJournal, kRemovalLineKind, fields);
}

// Completes the line when the file is no longer the one noted (the rename happened; a file of
// no records is deleted), withdraws it otherwise, and removes the journal.
StoreResult SettleRemovalLine(const journal::Fields& fields) {
    changelog::Pending pending;
    if (changelog::FromJournal(fields, pending)) {
        const QString name = journal::TextOf(fields.value(QStringLiteral("Name")));
        const bool removed = !journal::StillTheFile(fields.value(kRemovedFile), name, true);
        if (StoreResult settled =
                removed ? changelog::Complete(pending) : changelog::Withdraw(pending);
            !settled)
            return settled;
    }
    return journal::Remove(RemovalLineJournal);
}

} // namespace

StoreResult FinishInterruptedRemovalLine(QString* note) {
    const journal::Interrupted work =
        journal::ReadInterrupted(RemovalLineJournal, kRemovalLineKind, note);
    return work.fields ? SettleRemovalLine(*work.fields) : work.result;
}

StoreResult RemoveMarkedRecord(DataFile file, qint32 recordNumber, LogRemoval log) {
    const FileRules rules = RulesOf(file);
    rules.close();
    if (recordNumber < 1)
        return StoreResult::Fail(FileNameOf(file),
                                 QStringLiteral("There is no record %1.").arg(recordNumber));
    if (StoreResult settled = SettleLeftoverTemp(); !settled)
        return settled;

    // The file itself is not marked: record n is selected by its number, and records that
    // already carry the marker go with it. The removed record is left in the buffer.
    rewrite::Plan plan;
    plan.fileName = FileNameOf(file);
    plan.recordLength = RecordLengthOf(file);
    plan.requiredRecord = recordNumber;
    plan.drop = [&rules, recordNumber](qint32 number, const char* record) {
        if (number == recordNumber) {
            rules.loadBuffer(record);
            return true;
        }
        return rules.isMarked(record);
    };
    if (rules.adjustKept)
        plan.adjustKept = rules.adjustKept;
    if (file == DataFile::TrainingRecords)
        FollowTrainingDates(plan);
    changelog::Pending pending;
    if (log == LogRemoval::Yes) {
        if (StoreResult noted = NoteRemovalLine(file, recordNumber, pending); !noted)
            return noted;
    }
    const StoreResult result = rewrite::Run(plan);
    if (pending.IsEmpty())
        return result;
    journal::Fields fields;
    bool found = false;
    if (StoreResult read = journal::Read(RemovalLineJournal, kRemovalLineKind, fields, found);
        !read || !found)
        return result ? read : result;
    const StoreResult settled = SettleRemovalLine(fields);
    return result ? settled : result;
}

StoreResult RemovePersonTraining(double personKey, qint32* before, qint32* removed) {
    qint32 seen = 0;
    qint32 dropped = 0;
    if (before)
        *before = 0;
    if (removed)
        *removed = 0;
    Trainings().Close();
    const QString fileName = FileNameOf(DataFile::TrainingRecords);
    if (!Exists(fileName))
        return StoreResult::Ok(); // no training records at all: nothing to remove
    if (StoreResult settled = SettleLeftoverTemp(); !settled)
        return settled;

    rewrite::Plan plan;
    plan.fileName = fileName;
    plan.recordLength = TrainingRecord::Length;
    const PersonKeyMatch belongs(personKey);
    plan.drop = [&belongs, &seen, &dropped](qint32 number, const char* record) {
        seen = number;
        const bool drop = belongs(TrainingRecord::PersonKeyRaw(record));
        dropped += drop ? 1 : 0;
        return drop;
    };
    FollowTrainingDates(plan);
    const StoreResult result = rewrite::Run(plan);
    if (result) {
        if (before)
            *before = seen;
        if (removed)
            *removed = dropped;
    }
    return result;
}

StoreResult RecoverInterruptedRemoval(QString* note) {
    // How a "TempFile.$$$" can be left behind, and what it then holds:
    // - Our removals write the copy and rename it over the file in one step; the file is
    //   never changed or deleted before. A copy left behind is therefore never needed: the
    //   file it was made from is intact.
    // - An older program deleted the file first and renamed the copy afterwards. Stopped
    //   between the two, it left the copy as the only place of the file's records.
    //   A copy may also be cut short anywhere when the disk lost what was not yet written
    //   out — in its last record, or at a length that happens to fit another file exactly.
    // So a copy that may belong to a missing file is never deleted:
    // (a) An empty copy, a link or a special file is deleted; a folder is left alone.
    // (b) Otherwise the records decide (RecordShape: creation stamps of whole seconds,
    //     single-line text; bytes 8 to 15 are a course's code but a training record's person
    //     key). The copy is read as each record file whose record it holds at least one
    //     of; a file it reads as with more than half of its records alike is a fit.
    // (c) When every file it fits is there (or it fits none), the copy is not needed: it is
    //     deleted.
    // (d) Else, when one fit beats every other (a greater share alike, then a length that
    //     divides exactly) and its file is missing, the copy is renamed to that file and the
    //     note tells the user; a part of a record at its end is first set aside in a file of
    //     its own, never deleted. A missing file is a stronger sign than a length: a copy of
    //     Name.List cut short at 99,500 bytes is read as Name.List, not as User.List.
    // (e) Otherwise — two fits alike, or a best fit whose file is there beside one that is
    //     missing — it cannot be told where the copy belongs: it is kept under a name of its
    //     own, out of the way of later removals, and the note says so.
    if (note)
        note->clear();
    qint64 length = 0;
    switch (TempEntryOf(&length)) {
    case TempEntry::None:
    case TempEntry::Folder: // not ours; a removal refuses to use it and says so
        return StoreResult::Ok();
    case TempEntry::Other: // a link or a special file holds no copy of ours
        return rewrite::DeleteTempFile();
    case TempEntry::File:
        break;
    }
    if (length == 0)
        return rewrite::DeleteTempFile();

    QList<Fit> fits;
    bool anyMissing = false;
    for (DataFile file : kRecordFiles) {
        Fit fit;
        fit.file = file;
        // A copy cut short in its last record still holds whole records before it.
        if (length < RecordLengthOf(file))
            continue;
        fit.exact = length % RecordLengthOf(file) == 0;
        fit.exists = Exists(FileNameOf(file));
        if (StoreResult read = MeasureFit(fit); !read)
            return read;
        if (!fit.Plausible())
            continue;
        fits.append(fit);
        anyMissing = anyMissing || !fit.exists;
    }
    if (!anyMissing)
        return rewrite::DeleteTempFile();

    QList<Fit> best;
    for (const Fit& fit : fits) {
        if (best.isEmpty() || fit.Beats(best.first()))
            best = {fit};
        else if (!best.first().Beats(fit))
            best.append(fit);
    }
    if (best.size() > 1 || best.first().exists) {
        QStringList names;
        for (const Fit& fit : fits)
            names.append(QStringLiteral("\"%1\"%2")
                             .arg(FileNameOf(fit.file),
                                  fit.exists ? QString() : QStringLiteral(" (missing)")));
        QString kept;
        if (StoreResult keep = KeepTemp(kept); !keep)
            return keep;
        if (note)
            *note = QStringLiteral("An interrupted removal had left \"%1\", which could hold the "
                                   "records of %2; which of them cannot be told. It was kept as "
                                   "\"%3\" so that nothing is lost; please have it looked at "
                                   "before it is deleted.")
                        .arg(TempFileName, names.join(QStringLiteral(" or ")), kept);
        return StoreResult::Ok();
    }

    const DataFile file = best.first().file;
    const QString restored = FileNameOf(file);
    const qint64 whole = length / RecordLengthOf(file) * RecordLengthOf(file);
    QString aside;
    if (whole < length) {
        if (StoreResult setAside = SetTailAside(restored, whole, aside); !setAside)
            return setAside;
    }
    if (StoreResult renamed = rewrite::ReplaceFile(TempFileName, restored); !renamed)
        return renamed;
    if (StoreResult synced = rewrite::SyncFolder(); !synced)
        return synced;
    if (note) {
        *note = QStringLiteral("\"%1\" was restored from \"%2\", which an interrupted removal "
                               "had left behind.")
                    .arg(restored, TempFileName);
        if (!aside.isEmpty())
            *note += QStringLiteral(" Its last %1 bytes were only part of a record; they were "
                                    "set aside in \"%2\".")
                         .arg(length - whole)
                         .arg(aside);
    }
    return StoreResult::Ok();
}

} // namespace store

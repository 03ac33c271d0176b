#include "store/Removal.h"

#include "store/PersonTraining.h"
#include "store/RecordShape.h"
#include "store/Rewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <array>
#include <sys/stat.h>

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

// Whether more than half of the records of the temporary file look like records of `file`.
// A damaged record or two in a real copy must not hide where it belongs.
StoreResult TempLooksLike(DataFile file, bool& looksLike) {
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
    looksLike = total > 0 && 2 * alike > total;
    return StoreResult::Ok();
}

} // namespace

StoreResult RemoveMarkedRecord(DataFile file, qint32 recordNumber) {
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
    return rewrite::Run(plan);
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
    // So:
    // (a) An empty copy is deleted.
    // (b) A copy whose length fits only record files that exist is deleted: the rename
    //     never happened and those files are whole.
    // (c) When a file whose record length fits is missing, the records decide. If more than
    //     half of them look like that file's records (RecordShape: creation stamps of whole
    //     seconds, single-line text; bytes 8 to 15 are a course's code but a training
    //     record's person key), the copy is renamed to that file and the note tells the
    //     user. If they look like no missing file's, the copy belongs to a file that is still
    //     there and is deleted. If they look like more than one missing file's, it is kept
    //     and the failure names it, so that nothing is lost.
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

    QList<DataFile> candidates;
    for (DataFile file : kRecordFiles) {
        if (length % RecordLengthOf(file) != 0 || Exists(FileNameOf(file)))
            continue;
        bool looksLike = false;
        if (StoreResult read = TempLooksLike(file, looksLike); !read)
            return read;
        if (looksLike)
            candidates.append(file);
    }
    if (candidates.isEmpty())
        return rewrite::DeleteTempFile();
    if (candidates.size() > 1) {
        QStringList names;
        for (DataFile file : candidates)
            names.append(QStringLiteral("\"%1\"").arg(FileNameOf(file)));
        return StoreResult::Fail(TempFileName,
                                 QStringLiteral("It was left behind by an interrupted removal and "
                                                "could hold the records of %1; it was kept so "
                                                "that nothing is lost.")
                                     .arg(names.join(QStringLiteral(" or "))));
    }

    const QString restored = FileNameOf(candidates.first());
    if (StoreResult renamed = rewrite::ReplaceFile(TempFileName, restored); !renamed)
        return renamed;
    if (StoreResult synced = rewrite::SyncFolder(); !synced)
        return synced;
    if (note)
        *note = QStringLiteral("\"%1\" was restored from \"%2\", which an interrupted removal "
                               "had left behind.")
                    .arg(restored, TempFileName);
    return StoreResult::Ok();
}

} // namespace store

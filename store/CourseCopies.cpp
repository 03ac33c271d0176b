#include "store/CourseCopies.h"

#include "store/ChangeLog.h"
#include "store/CourseKeyMatch.h"
#include "store/Formats.h"
#include "store/Journal.h"
#include "store/RecordStore.h"
#include "store/TrainingScan.h"

#include <QByteArray>
#include <QLocale>
#include <cmath>
#include <cstring>

namespace store {

namespace {

const QString kKind = QStringLiteral("Mirtavel course update");

// The share reviewed as a whole per cent, rounded as "0%" rounds it; only compared, to
// know when the caption may change.
qint64 WholePercent(const CourseCopyTally& tally) {
    return (qint64(200) * tally.reviewed + tally.total) / (qint64(2) * tally.total);
}

// The files the update depends on, by their journal fields: the records it rewrites in
// place (which keep their file and length) and the course index whose course it copies
// (which it does not write).
struct Dependency {
    QString field;
    DataFile file;
    bool unwritten;
};
const Dependency kDependencies[] = {
    {QStringLiteral("TrainingRecords"), DataFile::TrainingRecords, false},
    {QStringLiteral("CourseIndex"), DataFile::CourseIndex, true}};

journal::Fields FieldsOf(const CourseRecord& course) {
    journal::Fields fields = {
        {QStringLiteral("DateCreated"), journal::NumberText(course.DateCreated)},
        {QStringLiteral("CourseCode"), journal::TextField(course.CourseCode)},
        {QStringLiteral("CourseName"), journal::TextField(course.CourseName)},
        {QStringLiteral("ProvidedBy"), journal::TextField(course.ProvidedBy)},
        {QStringLiteral("Hours"), journal::NumberText(course.Hours)}};
    for (const Dependency& d : kDependencies)
        fields.insert(d.field, journal::FileField(FileNameOf(d.file)));
    return fields;
}

// The first file the update depends on that was replaced since the journal was written
// (copied in from a backup, say): the course's details then belong to other files, and the
// update is not finished. A journal of an older version names no files; it is finished as
// it always was, for it only writes the course's own details into the course's records.
QString ReplacedSince(const journal::Fields& fields) {
    for (const Dependency& d : kDependencies) {
        if (fields.contains(d.field) &&
            !journal::StillTheFile(fields.value(d.field), FileNameOf(d.file), d.unwritten))
            return FileNameOf(d.file);
    }
    return QString();
}

CourseRecord CourseOf(const journal::Fields& fields) {
    CourseRecord course;
    course.DateCreated = journal::NumberOf(fields.value(QStringLiteral("DateCreated")));
    course.CourseCode = journal::TextOf(fields.value(QStringLiteral("CourseCode")));
    course.CourseName = journal::TextOf(fields.value(QStringLiteral("CourseName")));
    course.ProvidedBy = journal::TextOf(fields.value(QStringLiteral("ProvidedBy")));
    course.Hours = static_cast<float>(journal::NumberOf(fields.value(QStringLiteral("Hours"))));
    return course;
}

// The course's records that lie next to one another, with their new copies, written in place
// in one go: a course credited to a class at once has its records together.
class PendingRun {
public:
    explicit PendingRun(RecordFile& file) : file_(file) {}
    qint32 Size() const { return records_; }
    bool Follows(qint32 recordNumber) const {
        return records_ > 0 && first_ + records_ == recordNumber && bytes_.size() < kMostBytes;
    }
    void Add(qint32 recordNumber, const char* record, const char* copies) {
        if (records_ == 0)
            first_ = recordNumber;
        const qsizetype at = bytes_.size();
        bytes_.append(record, TrainingRecord::Length);
        std::memcpy(bytes_.data() + at + TrainingRecord::CourseCopySpan.offset, copies,
                    TrainingRecord::CourseCopySpan.width);
        ++records_;
    }
    StoreResult Write() {
        const StoreResult written = file_.WriteRecords(first_, bytes_);
        bytes_.clear();
        records_ = 0;
        return written;
    }

private:
    static constexpr qsizetype kMostBytes = 1024 * 1024;
    RecordFile& file_;
    qint32 first_ = 0;
    qint32 records_ = 0;
    QByteArray bytes_;
};

// The copies rewritten in place. Only the records of the course are written, each run of them
// that lie together in one write; the other records are read and nothing else.
StoreResult CarryCopies(const CourseRecord& course, CourseCopyTally& tally,
                        const CourseCopyProgress& progress) {
    auto& table = Trainings();
    if (StoreResult opened = table.Open(); !opened)
        return opened;
    RecordFile& file = table.File();
    file.SetJournaled(false); // the course update's own journal covers these writes
    tally.total = table.Count();
    const CourseKeyMatch belongs(course.DateCreated);
    // The code, name, provider and hours lie together in a record: encoded once, copied into
    // each record of the course. The training date, the keys and the comments stay as stored.
    TrainingRecord copy;
    copy.CourseCode = course.CourseCode;
    copy.CourseName = course.CourseName;
    copy.ProvidedBy = course.ProvidedBy;
    copy.Hours = course.Hours;
    const QByteArray encoded = copy.Encode();
    const char* copies = encoded.constData() + TrainingRecord::CourseCopySpan.offset;

    StoreResult result;
    PendingRun run(file);
    // A record counts as updated once its new copies are laid out; should their write fail,
    // the records of that write are not counted.
    const auto flush = [&] {
        const qint32 n = run.Size();
        if (n == 0)
            return true;
        result = run.Write();
        if (!result)
            tally.updated -= n;
        return bool(result);
    };
    qint64 shownPercent = -1;
    qint32 shownUpdated = -1;
    // A run of records read at a time: the loop over its records is the update's innermost.
    const bool telling = bool(progress);
    TrainingScan scan;
    bool going = true;
    while (going && scan.NextRun()) {
        const char* record = scan.Bytes();
        const qint32 end = scan.RecordNumber() + scan.RunRecords();
        for (qint32 i = scan.RecordNumber(); i < end; ++i, record += TrainingRecord::Length) {
            tally.reviewed = i;
            if (telling) {
                const qint64 percent = WholePercent(tally);
                if (percent != shownPercent || tally.updated != shownUpdated) {
                    shownPercent = percent;
                    shownUpdated = tally.updated;
                    progress(tally);
                }
            }
            // Only the key is looked at in records of other courses.
            if (!belongs(TrainingRecord::CourseKeyRaw(record)))
                continue;
            if (!run.Follows(i) && !flush()) {
                going = false;
                break;
            }
            run.Add(i, record, copies);
            ++tally.updated;
        }
    }
    if (result)
        flush();
    if (result && !scan.Result())
        result = scan.Result();
    table.Close();
    return result;
}

// The update's line, noted in its journal before the first record changes and written with
// the number of records updated when it is done. Every record of the course is rewritten, so
// the number is the same whether the update ran through or was finished at the next start.
void NoteLine(const CourseRecord& course, journal::Fields& fields, changelog::Pending& pending) {
    changelog::Change line =
        changelog::Now(changelog::action::CopiesUpdated, changelog::kind::Course);
    line.identity = changelog::IdentityText(course.DateCreated);
    line.course = line.identity;
    line.name =
        QStringLiteral("%1 - %2").arg(course.CourseCode.trimmed(), course.CourseName.trimmed());
    if (changelog::Prepare({line}, pending))
        changelog::NoteInJournal(pending, fields);
}

StoreResult WriteLine(const journal::Fields& fields, qint32 updated) {
    changelog::Pending pending;
    if (!changelog::FromJournal(fields, pending))
        return StoreResult::Ok();
    pending.changes.first().fields = {
        {QStringLiteral("Credited records updated"), QString(), QString::number(updated)}};
    return changelog::Complete(pending);
}

} // namespace

StoreResult UpdateCourseCopies(const CourseRecord& course, CourseCopyTally& tally,
                               const CourseCopyProgress& progress) {
    tally = CourseCopyTally{};
    journal::Fields fields = FieldsOf(course);
    changelog::Pending pending;
    NoteLine(course, fields, pending);
    if (StoreResult written = journal::Write(CourseUpdateJournal, kKind, fields); !written)
        return written;
    if (StoreResult carried = CarryCopies(course, tally, progress); !carried)
        return carried;
    if (StoreResult logged = WriteLine(fields, tally.updated); !logged)
        return logged;
    return journal::Remove(CourseUpdateJournal);
}

StoreResult FinishInterruptedCourseUpdate(QString* note) {
    const journal::Interrupted work = journal::ReadInterrupted(CourseUpdateJournal, kKind, note);
    if (!work.fields)
        return work.result;
    const journal::Fields& fields = *work.fields;
    const CourseRecord course = CourseOf(fields);
    if (const QString replaced = ReplacedSince(fields); !replaced.isEmpty()) {
        QString aside;
        if (changelog::Pending pending; changelog::FromJournal(fields, pending)) {
            if (StoreResult withdrawn = changelog::Withdraw(pending); !withdrawn)
                return withdrawn;
        }
        if (StoreResult kept = journal::SetAside(CourseUpdateJournal, aside); !kept)
            return kept;
        if (note)
            *note = QStringLiteral("The update of the training records credited with course "
                                   "\"%1\" had been interrupted, but \"%2\" was replaced since; "
                                   "nothing was changed. The record of the interrupted update "
                                   "was kept as \"%3\".")
                        .arg(course.CourseCode, replaced, aside);
        return StoreResult::Ok();
    }
    CourseCopyTally tally;
    if (StoreResult carried = CarryCopies(course, tally, {}); !carried)
        return carried;
    if (StoreResult logged = WriteLine(fields, tally.updated); !logged)
        return logged;
    if (StoreResult done = journal::Remove(CourseUpdateJournal); !done)
        return done;
    if (note)
        *note = QStringLiteral("The update of the training records credited with course \"%1\" "
                               "had been interrupted; it was finished now: %2 training "
                               "record(s) carry the course's latest details.")
                    .arg(course.CourseCode, QLocale(QLocale::English).toString(tally.updated));
    return StoreResult::Ok();
}

} // namespace store

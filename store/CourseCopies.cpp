#include "store/CourseCopies.h"

#include "store/Formats.h"
#include "store/Journal.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"

#include <QByteArray>
#include <QLocale>
#include <cmath>

namespace store {

namespace {

const QString kKind = QStringLiteral("Mirtavel course update");

// A record belongs to the course when the text forms of the two keys are equal. Equal
// numbers always are; different numbers only when they agree to the 15 digits of the text,
// so the text is made only for keys that close.
class KeyMatch {
public:
    explicit KeyMatch(double courseKey) : key_(courseKey), text_(formats::DoubleText(courseKey)) {}
    bool operator()(double recordKey) const {
        if (recordKey == key_)
            return true;
        if (!(std::abs(recordKey - key_) <= std::abs(key_) * 1e-13))
            return false;
        return formats::DoubleText(recordKey) == text_;
    }

private:
    double key_;
    QString text_;
};

// The share reviewed as a whole per cent, rounded as "0%" rounds it; only compared, to
// know when the caption may change.
qint64 WholePercent(const CourseCopyTally& tally) {
    return (qint64(200) * tally.reviewed + tally.total) / (qint64(2) * tally.total);
}

journal::Fields FieldsOf(const CourseRecord& course) {
    return {{QStringLiteral("DateCreated"), journal::NumberText(course.DateCreated)},
            {QStringLiteral("CourseCode"), journal::TextField(course.CourseCode)},
            {QStringLiteral("CourseName"), journal::TextField(course.CourseName)},
            {QStringLiteral("ProvidedBy"), journal::TextField(course.ProvidedBy)},
            {QStringLiteral("Hours"), journal::NumberText(course.Hours)}};
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

// The copies rewritten, record by record, in place.
StoreResult CarryCopies(const CourseRecord& course, CourseCopyTally& tally,
                        const CourseCopyProgress& progress) {
    auto& table = Trainings();
    if (StoreResult opened = table.Open(); !opened)
        return opened;
    RecordFile& file = table.File();
    file.SetJournaled(false); // the course update's own journal covers these writes
    tally.total = table.Count();
    const KeyMatch belongs(course.DateCreated);

    StoreResult result;
    qint64 shownPercent = -1;
    qint32 shownUpdated = -1;
    RecordScan scan(file);
    while (scan.Next()) {
        const qint32 i = scan.RecordNumber();
        tally.reviewed = i;
        if (progress) {
            const qint64 percent = WholePercent(tally);
            if (percent != shownPercent || tally.updated != shownUpdated) {
                shownPercent = percent;
                shownUpdated = tally.updated;
                progress(tally);
            }
        }
        // Only the key is looked at in records of other courses, so they are neither
        // decoded nor written.
        if (!belongs(TrainingRecord::CourseKeyRaw(scan.Bytes())))
            continue;
        // The training date, the keys and the training comments stay as they are.
        TrainingRecord training = TrainingRecord::Decode(scan.Bytes());
        training.CourseCode = course.CourseCode;
        training.CourseName = course.CourseName;
        training.ProvidedBy = course.ProvidedBy;
        training.Hours = course.Hours;
        result = file.WriteRaw(i, training.Encode());
        if (!result)
            break;
        ++tally.updated;
    }
    if (result && !scan.Result())
        result = scan.Result();
    table.Close();
    return result;
}

} // namespace

StoreResult UpdateCourseCopies(const CourseRecord& course, CourseCopyTally& tally,
                               const CourseCopyProgress& progress) {
    tally = CourseCopyTally{};
    if (StoreResult written = journal::Write(CourseUpdateJournal, kKind, FieldsOf(course));
        !written)
        return written;
    if (StoreResult carried = CarryCopies(course, tally, progress); !carried)
        return carried;
    return journal::Remove(CourseUpdateJournal);
}

StoreResult FinishInterruptedCourseUpdate(QString* note) {
    if (note)
        note->clear();
    journal::Fields fields;
    bool found = false;
    if (StoreResult read = journal::Read(CourseUpdateJournal, kKind, fields, found);
        !read || !found)
        return read;
    const CourseRecord course = CourseOf(fields);
    CourseCopyTally tally;
    if (StoreResult carried = CarryCopies(course, tally, {}); !carried)
        return carried;
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

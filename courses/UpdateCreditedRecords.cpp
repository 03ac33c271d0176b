#include "courses/UpdateCreditedRecords.h"

#include "store/Formats.h"
#include "store/RecordStore.h"

#include <QByteArray>
#include <cmath>

namespace credited {

namespace {

// Only the key is looked at in records of other courses, so they are neither decoded nor
// written.
double CourseKeyOf(const QByteArray& record) {
    return store::TrainingRecord::CourseKeyRaw(record.constData());
}

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
qint64 WholePercent(const Tally& tally) {
    return (qint64(200) * tally.reviewed + tally.total) / (qint64(2) * tally.total);
}

} // namespace

store::StoreResult CarryCourseIntoTraining(const store::CourseRecord& course, Tally& tally,
                                           const Progress& progress) {
    tally = Tally{};
    auto& table = store::Trainings();
    if (store::StoreResult opened = table.Open(); !opened)
        return opened;
    store::RecordFile& file = table.File();
    tally.total = table.Count();
    const KeyMatch belongs(course.DateCreated);

    store::StoreResult result;
    QByteArray bytes;
    qint64 shownPercent = -1;
    qint32 shownUpdated = -1;
    for (qint32 i = 1; i <= tally.total; ++i) {
        result = file.ReadRaw(i, bytes);
        if (!result)
            break;
        tally.reviewed = i;
        if (progress) {
            const qint64 percent = WholePercent(tally);
            if (percent != shownPercent || tally.updated != shownUpdated) {
                shownPercent = percent;
                shownUpdated = tally.updated;
                progress(tally);
            }
        }
        if (!belongs(CourseKeyOf(bytes)))
            continue;
        // The training date, the keys and the training comments stay as they are.
        store::TrainingRecord training = store::TrainingRecord::Decode(bytes.constData());
        training.CourseCode = course.CourseCode;
        training.CourseName = course.CourseName;
        training.ProvidedBy = course.ProvidedBy;
        training.Hours = course.Hours;
        result = file.WriteRaw(i, training.Encode());
        if (!result)
            break;
        ++tally.updated;
    }
    table.Close();
    return result;
}

QString ProgressCaption(const Tally& tally) {
    const double share = tally.total > 0 ? double(tally.reviewed) / tally.total : 0.0;
    return formats::ZeroPercent(share) + u'/' + QString::number(tally.updated);
}

} // namespace credited

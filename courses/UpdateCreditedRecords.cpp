#include "courses/UpdateCreditedRecords.h"

#include "store/Formats.h"

namespace credited {

store::StoreResult CarryCourseIntoTraining(const store::CourseRecord& course, Tally& tally,
                                           const Progress& progress) {
    return store::UpdateCourseCopies(course, tally, progress);
}

QString ProgressCaption(const Tally& tally) {
    const double share = tally.total > 0 ? double(tally.reviewed) / tally.total : 0.0;
    return formats::ZeroPercent(share) + u'/' + QString::number(tally.updated);
}

} // namespace credited

#include "store/TrainingScan.h"

#include "store/RecordStore.h"

#include <algorithm>
#include <cstring>

namespace store {

namespace {
// Sixteen blocks of the summary a read: about 1 MiB, as every walk over a file reads.
constexpr qint64 kBlocksPerRead = 16;
} // namespace

TrainingScan::TrainingScan(std::optional<DateSpan> span)
    : span_(span), count_(Trainings().Count()) {}

bool TrainingScan::Needed(qint64 block) const {
    return !span_ || TrainingDateSummary().MayHold(block, count_, *span_);
}

bool TrainingScan::Refill() {
    if (!result_)
        return false;
    const qint64 blocks = (qint64(count_) + kTrainingBlock - 1) / kTrainingBlock;
    while (nextBlock_ < blocks && !Needed(nextBlock_))
        ++nextBlock_;
    if (nextBlock_ >= blocks)
        return false;
    qint64 last = nextBlock_;
    while (last + 1 < blocks && last + 1 - nextBlock_ < kBlocksPerRead && Needed(last + 1))
        ++last;
    const qint32 first = qint32(nextBlock_ * kTrainingBlock + 1);
    const qint32 end = qint32(std::min<qint64>((last + 1) * kTrainingBlock, count_));
    nextBlock_ = last + 1;

    chunk_.resize(qint64(end - first + 1) * kLength);
    qint64 got = 0;
    RecordFile& file = Trainings().File();
    result_ = file.ReadBlock(qint64(first - 1) * kLength, chunk_.data(), chunk_.size(), got);
    if (!result_)
        return false;
    if (got <= 0) {
        result_ = StoreResult::Fail(
            file.FileName(),
            QStringLiteral("Record %1 lies beyond the end of the file.").arg(first));
        return false;
    }
    // The count rounds a cut-short last record up; its missing bytes read as zeros.
    std::memset(chunk_.data() + got, 0, chunk_.size() - got);
    chunkFirst_ = first;
    chunkRecords_ = qint32((got + kLength - 1) / kLength);
    index_ = 0;
    TrainingDateSummary().Learn(first, chunk_.constData(), chunkRecords_);
    return true;
}

} // namespace store

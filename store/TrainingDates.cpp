#include "store/TrainingDates.h"

#include "store/FieldEnd.h"
#include "store/Records.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>

namespace store {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double DateOf(const char* record) {
    double date = 0;
    std::memcpy(&date, record, sizeof date); // TrainingDate, at the record's start
    return date;
}

// Widens `range` to hold `date`; a date that is no finite number makes the block one that is
// always read.
template <class Range> void Include(Range& range, double date) {
    if (!std::isfinite(date)) {
        range.low = -kInfinity;
        range.high = kInfinity;
        return;
    }
    range.low = std::min(range.low, date);
    range.high = std::max(range.high, date);
}

// Adds records to a summary that covers records 1 to `covered`, record `first` being the next.
template <class Range>
void Extend(std::vector<Range>& blocks, qint32& covered, const char* records, qint64 n) {
    for (qint64 i = 0; i < n; ++i, ++covered) {
        const double date = DateOf(records + i * TrainingRecord::Length);
        if (covered % kTrainingBlock == 0)
            blocks.push_back({kInfinity, -kInfinity});
        Include(blocks.back(), date);
    }
}

// Where the text of a record's comments ends; 0 for comments that begin with padding, which
// count as empty.
int CommentsEndOf(const char* record) {
    constexpr int kCommentsOffset = 116;
    constexpr int kCommentsWidth = 184;
    const char first = record[kCommentsOffset];
    if (first == ' ' || first == '\0')
        return 0;
    return int(FieldTextEnd(record + kCommentsOffset, kCommentsWidth));
}

} // namespace

std::optional<int> TrainingDates::CommentsEnd(qint64 block) const {
    if (!tied_ || block < 0 || block >= qint64(commentEnds_.size()))
        return std::nullopt;
    return commentEnds_[std::size_t(block)];
}

void TrainingDates::LearnCommentsEnd(qint64 block, int end) {
    if (tied_ && block == qint64(commentEnds_.size()))
        commentEnds_.push_back(quint8(end));
}

bool TrainingDates::MayHold(qint64 block, qint32 count, const DateSpan& span) const {
    const qint64 end = std::min<qint64>((block + 1) * kTrainingBlock, count);
    if (!tied_ || block >= qint64(blocks_.size()) || covered_ < end)
        return true;
    const Range& range = blocks_[std::size_t(block)];
    return range.high >= span.low && range.low <= span.high;
}

void TrainingDates::Learn(qint32 first, const char* records, qint32 n) {
    if (!tied_ || first > covered_ + 1 || first + n - 1 <= covered_)
        return;
    const qint32 skip = covered_ + 1 - first;
    Extend(blocks_, covered_, records + qint64(skip) * TrainingRecord::Length, n - skip);
}

void TrainingDates::Forget() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    commentEnds_.clear();
    commentEnds_.shrink_to_fit();
    covered_ = 0;
    tied_ = false;
}

qint64 TrainingDates::MemoryBytes() const {
    return qint64(sizeof *this) + qint64(blocks_.capacity() * sizeof(Range)) +
           qint64(commentEnds_.capacity());
}

bool TrainingDates::StateOf(int fd, State& state) {
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return false;
    state.device = st.st_dev;
    state.inode = st.st_ino;
    state.size = st.st_size;
    state.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    state.changed = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return true;
}

void TrainingDates::TieTo(int fd) {
    State now;
    if (!StateOf(fd, now)) {
        Forget();
        return;
    }
    state_ = now;
    tied_ = true;
}

void TrainingDates::Opened(int fd) {
    State now;
    if (tied_ && StateOf(fd, now) && now == state_)
        return; // the file the summary is of, unchanged
    Forget();
    TieTo(fd); // learnt again from here on
}

void TrainingDates::Widen(qint32 record, double date) {
    Include(blocks_[std::size_t((record - 1) / kTrainingBlock)], date);
}

void TrainingDates::Written(int fd, qint64 offset, const char* bytes, qint64 size) {
    if (!tied_)
        return;
    const int length = TrainingRecord::Length;
    if (offset % length != 0 || size % length != 0) {
        Forget(); // no whole records: nothing can be told of their dates
        return;
    }
    const qint64 first = offset / length + 1;
    for (qint64 i = 0; i < size / length; ++i) {
        const qint64 record = first + i;
        const char* at = bytes + i * length;
        if (record <= covered_)
            Widen(qint32(record), DateOf(at)); // never narrowed: the old date may be elsewhere
        else if (record == qint64(covered_) + 1)
            Extend(blocks_, covered_, at, 1);
        // The comments' end of a learnt block grows with longer comments, the same way.
        const std::size_t block = std::size_t((record - 1) / kTrainingBlock);
        if (block < commentEnds_.size())
            commentEnds_[block] = quint8(std::max<int>(commentEnds_[block], CommentsEndOf(at)));
    }
    TieTo(fd);
}

void TrainingDates::Rebuild::Kept(const char* records, qint64 n) {
    Extend(blocks_, covered_, records, n);
}

void TrainingDates::Rebuild::Replaced(const QString& fileName) {
    TrainingDates& summary = TrainingDateSummary();
    summary.Forget();
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    summary.TieTo(fd);
    ::close(fd);
    if (!summary.tied_ || summary.state_.size != qint64(covered_) * TrainingRecord::Length) {
        summary.Forget();
        return;
    }
    summary.blocks_ = std::move(blocks_);
    summary.covered_ = covered_;
}

TrainingDates& TrainingDateSummary() {
    static TrainingDates summary;
    return summary;
}

} // namespace store

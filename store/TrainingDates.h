#pragma once

#include "store/RecordFile.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What the program knows of the training dates in Training.Records without reading it: for
// each block of kTrainingBlock records (65,400 bytes) the lowest and highest date stored in
// it. A search for a date range and the annual summary then read only the blocks that can
// hold a date in range; in a file credited roughly in date order that is a twentieth of it
// for one year. Beside the dates, where the comments' text ends in each block, so that a
// comment search looks at the text and not at the padding after it.
//
// The summary is learnt as a side effect of the first pass over the file (a search, a summary,
// a history, a course's update) and belongs to the file exactly as it was then: the same
// device, inode, length, modification and change time to the nanosecond. When the file is
// opened in any other state it is dropped and learnt again. The program's own writes keep it
// right: an append extends it, a write in place widens its block, a removal's rewrite makes it
// anew from the records it keeps (the comments' ends are learnt again). A restore and the
// repairs at start drop it.
namespace store {

constexpr qint32 kTrainingBlock = 218;

// Stored training dates from `low` to `high`, both included. A date that is not a finite
// number lies in no span.
struct DateSpan {
    double low = 0;
    double high = 0;
};

class TrainingDates final : public RecordWatch {
public:
    // The blocks that may hold a date of `span`, of a file of `count` records: block b holds
    // records b*kTrainingBlock+1 on. A block not summarised yet may hold anything.
    bool MayHold(qint64 block, qint32 count, const DateSpan& span) const;
    // Records `first` to first+n-1, as read: those next after the summarised ones extend it.
    void Learn(qint32 first, const char* records, qint32 n);
    qint32 Summarised() const { return covered_; }

    // Where the comments' text ends in a block: past it, every record of the block whose
    // comments begin with text holds padding alone (comments that begin with a blank are
    // empty). A comment search then looks at the text only, and passes over a block whose
    // comments are all shorter than what it seeks. Learnt by comment searches block after
    // block from the file's start; none for a block not learnt yet.
    std::optional<int> CommentsEnd(qint64 block) const;
    // The block whose comments' end is learnt next.
    qint64 NextCommentsBlock() const { return tied_ ? qint64(commentEnds_.size()) : -1; }
    // Block `block`, each of whose records was looked at: `end` is where the longest text of
    // its comments ends. Taken when it is the next block.
    void LearnCommentsEnd(qint64 block, int end);

    void Forget();
    // What the summary takes in memory, in bytes.
    qint64 MemoryBytes() const;

    void Opened(int fd) override;
    void Written(int fd, qint64 offset, const char* bytes, qint64 size) override;

    // A rewrite of the file (a removal) learns the summary of the copy from the records it
    // keeps, in their order; the copy's summary takes over once it replaced the file.
    class Rebuild {
    public:
        void Kept(const char* records, qint64 n);
        // The copy is the file now (or, when nothing was kept, there is no file).
        void Replaced(const QString& fileName);

    private:
        friend class TrainingDates;
        struct Range {
            double low;
            double high;
        };
        std::vector<Range> blocks_;
        qint32 covered_ = 0;
    };

private:
    struct State {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modified = 0; // nanoseconds
        qint64 changed = 0;  // nanoseconds
        bool operator==(const State&) const = default;
    };
    static bool StateOf(int fd, State& state);
    void TieTo(int fd);
    void Widen(qint32 record, double date);

    using Range = Rebuild::Range;
    std::vector<Range> blocks_;
    std::vector<quint8> commentEnds_; // per block from the first: where the comments' text ends
    qint32 covered_ = 0;              // records 1 to covered_ are summarised
    bool tied_ = false;               // state_ names the file the summary is of
    State state_;
};

// The one summary, that of Training.Records in the data folder.
TrainingDates& TrainingDateSummary();

} // namespace store

#pragma once

#include "store/Records.h"
#include "store/StoreResult.h"
#include "store/TrainingDates.h"

#include <QByteArray>
#include <optional>

namespace store {

// Walks the open Training.Records like RecordScan, in large blocks, and teaches the date
// summary (TrainingDates) what it reads. Given a span of dates, it leaves out the blocks the
// summary shows to hold no date of it: their records are neither read nor handed out.
//
//     TrainingScan scan(span);
//     while (scan.Next())
//         if (TrainingRecord::PersonKeyRaw(scan.Bytes()) == key) ...
//     if (!scan.Result()) ...
//
// or, a run of records at a time:
//
//     while (scan.NextRun())
//         for (qint32 i = 0; i < scan.RunRecords(); ++i)
//             Visit(scan.Bytes() + i * TrainingRecord::Length);
class TrainingScan {
public:
    explicit TrainingScan(std::optional<DateSpan> span = std::nullopt);

    // Moves to the next record that is read; false at the end or on a failure. Inline: it
    // is asked once per record.
    bool Next() {
        if (index_ + 1 < chunkRecords_) {
            ++index_;
            return true;
        }
        return Refill();
    }
    // Moves to the next run of records read at once, for a loop that walks them itself:
    // RunRecords() of them from Bytes() on, the first numbered RecordNumber(). Not mixed with
    // Next in one walk.
    bool NextRun() { return Refill(); }
    qint32 RunRecords() const { return chunkRecords_; }

    qint32 RecordNumber() const { return chunkFirst_ + index_; }
    // The current record's bytes; a last record cut short by the file's end is padded with
    // zeros, as a read by number gives it.
    const char* Bytes() const { return chunk_.constData() + qint64(index_) * kLength; }
    const StoreResult& Result() const { return result_; }

private:
    static constexpr int kLength = TrainingRecord::Length;
    bool Refill();
    bool Needed(qint64 block) const;

    std::optional<DateSpan> span_;
    qint32 count_;
    qint64 nextBlock_ = 0;
    qint32 chunkFirst_ = 0;   // record number of the chunk's first record
    qint32 chunkRecords_ = 0; // records held in chunk_
    qint32 index_ = -1;       // the current one, from 0
    QByteArray chunk_;
    StoreResult result_;
};

} // namespace store

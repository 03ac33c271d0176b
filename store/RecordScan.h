#pragma once

#include "store/RecordFile.h"

#include <QByteArray>

namespace store {

// Walks an open record file from a first record to its last in large blocks and hands out
// each stored record's bytes. The loops that visit every training record (a person's
// history, a search, the yearly summary, a course's update) test keys and dates on the bytes
// and decode only the records they keep, so a million records take about as long as reading
// the file.
//
//     RecordScan scan(Trainings().File());
//     while (scan.Next())
//         if (TrainingRecord::PersonKeyRaw(scan.Bytes()) == key) ...
//     if (!scan.Result()) ...
class RecordScan {
public:
    explicit RecordScan(RecordFile& file, qint32 firstRecord = 1);

    // Moves to the next record up to the file's count; false at the end or on a failure.
    bool Next();
    qint32 RecordNumber() const { return recordNumber_; }
    // The current record's bytes; a last record cut short by the file's end is padded with
    // zeros, as a read by number gives it.
    const char* Bytes() const { return block_.constData() + position_; }
    const StoreResult& Result() const { return result_; }

private:
    bool Refill();

    RecordFile& file_;
    qint32 recordNumber_;
    qint32 blockFirst_ = 0;   // record number at the start of block_
    qint32 blockRecords_ = 0; // whole records held in block_
    qint64 position_ = 0;
    QByteArray block_;
    StoreResult result_;
};

} // namespace store

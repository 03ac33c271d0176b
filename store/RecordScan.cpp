#include "store/RecordScan.h"

#include <algorithm>
#include <cstring>

namespace store {

namespace {
constexpr qint64 kBlockBytes = 1024 * 1024;
} // namespace

RecordScan::RecordScan(RecordFile& file, qint32 firstRecord)
    : file_(file), recordNumber_(std::max(firstRecord, 1) - 1) {}

bool RecordScan::Next() {
    if (!result_ || recordNumber_ >= file_.Count())
        return false;
    ++recordNumber_;
    const qint32 inBlock = recordNumber_ - blockFirst_;
    if (blockRecords_ == 0 || inBlock < 0 || inBlock >= blockRecords_)
        return Refill();
    position_ = qint64(inBlock) * file_.RecordLength();
    return true;
}

bool RecordScan::Refill() {
    const int length = file_.RecordLength();
    const qint64 wanted = qint64(file_.Count() - recordNumber_ + 1);
    const qint64 records = std::clamp<qint64>(kBlockBytes / length, 1, wanted);
    block_.resize(records * length);
    qint64 got = 0;
    result_ =
        file_.ReadBlock(qint64(recordNumber_ - 1) * length, block_.data(), block_.size(), got);
    if (!result_)
        return false;
    if (got <= 0) {
        result_ = StoreResult::Fail(
            file_.FileName(),
            QStringLiteral("Record %1 lies beyond the end of the file.").arg(recordNumber_));
        return false;
    }
    // The count rounds a cut-short last record up; its missing bytes read as zeros.
    std::memset(block_.data() + got, 0, block_.size() - got);
    blockFirst_ = recordNumber_;
    blockRecords_ = static_cast<qint32>((got + length - 1) / length);
    position_ = 0;
    return true;
}

} // namespace store

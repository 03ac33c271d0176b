#include "store/RecordFile.h"

#include "store/DataFileOpen.h"
#include "store/FileWrite.h"
#include "store/Journal.h"
#include "store/ReadOnlyStation.h"

#include <QCryptographicHash>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace store {

namespace {

// Read-ahead block size; a whole number of records is not needed, a record that straddles
// the end of the block is read again from its start.
constexpr qint64 kWindowBytes = 64 * 1024;

// Like the runtime's free file numbers: every open gets a number not handed out before.
int NextHandle() {
    static int last = 0;
    last = last == INT_MAX ? 1 : last + 1;
    return last;
}

} // namespace

namespace writejournal {

QList<Piece> Pieces(qint64 from, qint64 to) {
    QList<Piece> pieces;
    while (from < to) {
        const qint64 next = std::min(to, (from / kWritePiece + 1) * kWritePiece);
        pieces.append({from, next});
        from = next;
    }
    return pieces;
}

QString PieceSum(const char* bytes, qint64 size) {
    // Eight bytes of SHA-1 tell a piece from any other a file could hold there.
    const QByteArray sum =
        QCryptographicHash::hash(QByteArrayView(bytes, size), QCryptographicHash::Sha1);
    return QString::fromLatin1(sum.left(8).toHex());
}

} // namespace writejournal

qint32 RecordCountForLength(qint64 length, int recordLength) {
    if (length <= 0 || recordLength <= 0)
        return 0;
    qint64 count = length / recordLength;
    const qint64 twiceRest = 2 * (length % recordLength);
    // Round to nearest; an exact half goes to the even neighbour.
    if (twiceRest > recordLength || (twiceRest == recordLength && count % 2 == 1))
        ++count;
    return static_cast<qint32>(std::min<qint64>(count, INT_MAX));
}

QString FileFullReason(qint64 most) {
    return QStringLiteral("The file is full: it cannot hold more than %1 records. Nothing was "
                          "saved.")
        .arg(QLocale(QLocale::English).toString(most));
}

RecordFile::RecordFile(QString fileName, int recordLength)
    : fileName_(std::move(fileName)), recordLength_(recordLength) {}

RecordFile::~RecordFile() = default;

StoreResult RecordFile::Failure(const QString& reason) const {
    return StoreResult::Fail(fileName_, reason);
}

StoreResult RecordFile::Open() {
    return OpenAs(false);
}

StoreResult RecordFile::OpenForReading() {
    return OpenAs(true);
}

StoreResult RecordFile::OpenAs(bool forReading) {
    Close();
    // Another program holds the folder: this one looks, and makes no file by looking.
    forReading = forReading || IsReadOnlyStation();
    // Never waits: a FIFO in a data file's place is refused below, not read from.
    constexpr int flags = O_CLOEXEC | O_NONBLOCK;
    bool leadsOutside = false;
    // A missing file is made with its folder's read and write bits.
    int fd = forReading ? -1 : OpenDataFile(fileName_, O_RDWR | flags, true, leadsOutside);
    if (leadsOutside)
        return Failure(LeadsOutsideReason());
    if (fd < 0 && (forReading || errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd = OpenDataFile(fileName_, O_RDONLY | flags, false, leadsOutside);
        if (leadsOutside)
            return Failure(LeadsOutsideReason());
        if (fd < 0 && errno == ENOENT) {
            // Nothing to read, and nothing is created by only looking.
            readOnly_ = true;
            absent_ = true;
            count_ = 0;
            handle_ = NextHandle();
            if (watch_)
                watch_->Opened(-1);
            return StoreResult::Ok();
        }
        readOnly_ = fd >= 0;
    }
    if (fd < 0)
        return Failure(qt_error_string(errno));
    // Unbuffered: every write reaches the system at once; reads go through window_.
    auto file = std::make_unique<QFile>();
    const QIODevice::OpenMode mode =
        (readOnly_ ? QIODevice::ReadOnly : QIODevice::ReadWrite) | QIODevice::Unbuffered;
    if (!file->open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        readOnly_ = false;
        return Failure(file->errorString());
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        readOnly_ = false;
        return Failure(qt_error_string(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        readOnly_ = false;
        return Failure(S_ISDIR(st.st_mode)
                           ? qt_error_string(EISDIR)
                           : QStringLiteral("It is not a file that records can be read from by "
                                            "number."));
    }
    count_ = RecordCountForLength(file->size(), recordLength_);
    file_ = std::move(file);
    handle_ = NextHandle();
    if (watch_)
        watch_->Opened(fd);
    return StoreResult::Ok();
}

StoreResult RecordFile::ReadOnlyFailure() const {
    if (IsReadOnlyStation())
        return Failure(ReadOnlyStationReason());
    return Failure(QStringLiteral("The file can only be read here (the data folder or the file "
                                  "is read-only); nothing was saved."));
}

void RecordFile::Close() {
    if (file_) {
        file_->close();
        file_.reset();
    }
    handle_ = 0;
    readOnly_ = false;
    absent_ = false;
    journaled_ = true;
    changes_.clear();
    window_.clear();
    windowOffset_ = 0;
}

bool RecordFile::IsOpen() const {
    return file_ != nullptr || absent_;
}

int RecordFile::Handle() const {
    return handle_;
}

StoreResult RecordFile::FillWindow(qint64 offset) {
    window_.clear();
    windowOffset_ = offset;
    if (!file_->seek(offset))
        return Failure(file_->errorString());
    window_.resize(std::max<qint64>(kWindowBytes, recordLength_));
    const qint64 got = file_->read(window_.data(), window_.size());
    if (got < 0) {
        window_.clear();
        return Failure(file_->errorString());
    }
    window_.resize(got);
    return StoreResult::Ok();
}

StoreResult RecordFile::ReadBlock(qint64 offset, char* into, qint64 size, qint64& got) {
    got = 0;
    if (absent_)
        return StoreResult::Ok();
    if (!file_)
        return Failure(QStringLiteral("The file is not open."));
    if (!file_->seek(offset))
        return Failure(file_->errorString());
    while (got < size) {
        const qint64 n = file_->read(into + got, size - got);
        if (n < 0)
            return Failure(file_->errorString());
        if (n == 0)
            break;
        got += n;
    }
    return StoreResult::Ok();
}

StoreResult RecordFile::ReadAll(QByteArray& bytes) {
    bytes.clear();
    const qint64 size = qint64(count_) * recordLength_;
    if (size > INT_MAX)
        return Failure(QStringLiteral("The file is too large to read at once."));
    bytes.resize(size);
    qint64 got = 0;
    if (StoreResult read = ReadBlock(0, bytes.data(), size, got); !read) {
        bytes.clear();
        return read;
    }
    std::memset(bytes.data() + got, 0, static_cast<std::size_t>(size - got));
    return StoreResult::Ok();
}

StoreResult RecordFile::ReadRaw(qint32 recordNumber, QByteArray& bytes) {
    if (absent_)
        return Failure(
            QStringLiteral("Record %1 lies beyond the end of the file.").arg(recordNumber));
    if (!file_)
        return Failure(QStringLiteral("The file is not open."));
    if (recordNumber < 1)
        return Failure(QStringLiteral("There is no record %1.").arg(recordNumber));
    const qint64 offset = qint64(recordNumber - 1) * recordLength_;
    const bool inWindow =
        offset >= windowOffset_ && offset + recordLength_ <= windowOffset_ + window_.size();
    if (!inWindow) {
        if (StoreResult filled = FillWindow(offset); !filled)
            return filled;
    }
    // After a refill the window starts at the record, so less than a record means the end
    // of the file: the missing bytes read as zeros.
    const qint64 available =
        std::min<qint64>(windowOffset_ + window_.size() - offset, recordLength_);
    if (available <= 0)
        return Failure(
            QStringLiteral("Record %1 lies beyond the end of the file.").arg(recordNumber));
    bytes.resize(recordLength_);
    std::memcpy(bytes.data(), window_.constData() + (offset - windowOffset_), available);
    std::memset(bytes.data() + available, 0, recordLength_ - available);
    return StoreResult::Ok();
}

StoreResult RecordFile::WriteRaw(qint32 recordNumber, const QByteArray& bytes) {
    if (bytes.size() != recordLength_)
        return Failure(QStringLiteral("A record of %1 bytes does not fit records of %2 bytes.")
                           .arg(bytes.size())
                           .arg(recordLength_));
    return WriteRecords(recordNumber, bytes);
}

StoreResult RecordFile::WriteRecords(qint32 firstRecord, const QByteArray& bytes) {
    if (readOnly_)
        return ReadOnlyFailure();
    if (!file_)
        return Failure(QStringLiteral("The file is not open."));
    if (firstRecord < 1)
        return Failure(QStringLiteral("There is no record %1.").arg(firstRecord));
    if (bytes.isEmpty() || bytes.size() % recordLength_ != 0)
        return Failure(QStringLiteral("%1 bytes are no whole number of %2-byte records.")
                           .arg(bytes.size())
                           .arg(recordLength_));
    const qint64 offset = qint64(firstRecord - 1) * recordLength_;
    if (StoreResult written = WriteAllOrNothing(offset, bytes); !written)
        return written;
    // The window must show what the file now holds.
    const qint64 from = std::max(offset, windowOffset_);
    const qint64 to = std::min(offset + bytes.size(), windowOffset_ + window_.size());
    if (from < to)
        std::memcpy(window_.data() + (from - windowOffset_), bytes.constData() + (from - offset),
                    to - from);
    return StoreResult::Ok();
}

StoreResult RecordFile::AppendRecords(const QByteArray& records) {
    if (readOnly_)
        return ReadOnlyFailure();
    if (!file_)
        return Failure(QStringLiteral("The file is not open."));
    if (records.size() % recordLength_ != 0)
        return Failure(QStringLiteral("%1 bytes are no whole number of %2-byte records.")
                           .arg(records.size())
                           .arg(recordLength_));
    const qint64 added = records.size() / recordLength_;
    if (added > qint64(INT_MAX) - count_)
        return StoreResult::Full(fileName_, FileFullReason(INT_MAX));
    window_.clear();
    windowOffset_ = 0;
    if (StoreResult written = WriteAllOrNothing(qint64(count_) * recordLength_, records); !written)
        return written;
    count_ += static_cast<qint32>(added);
    return StoreResult::Ok();
}

StoreResult RecordFile::WriteAllOrNothing(qint64 offset, const QByteArray& bytes) {
    const QString& name = fileName_;
    const int fd = file_->handle();
    const qint64 formerLength = file_->size();
    const qint64 end = offset + bytes.size();
    const bool lengthens = end > formerLength;
    // A unit of work with a journal of its own writes its own lines.
    changelog::Pending pending;
    if (StoreResult prepared = changelog::Prepare(
            journaled_ ? std::exchange(changes_, {}) : QList<changelog::Change>(), pending);
        !prepared)
        return prepared;
    if (!lengthens && !journaled_) {
        // In place, under the caller's own journal: the blocks are there already, so a full
        // disk cannot cut it short.
        StoreResult written = io::WriteAt(fd, name, offset, bytes.constData(), bytes.size());
        if (written && watch_)
            watch_->Written(fd, offset, bytes.constData(), bytes.size());
        return written;
    }

    // The bytes the write replaces (with a short tail of a cut-off record beyond the count,
    // which new records overwrite): they come back if the write fails, and at the next start
    // if the program stops in the middle of it.
    QByteArray former;
    if (formerLength > offset) {
        former.resize(std::min(end, formerLength) - offset);
        qint64 got = 0;
        if (StoreResult read = ReadBlock(offset, former.data(), former.size(), got); !read)
            return read;
        former.resize(got);
    }
    if (journaled_) {
        // Which file this is and what the write puts where, so that the next start puts the
        // former bytes back only into this file (UndoInterruptedWrite).
        journal::FileState state;
        if (!journal::StateOf(fd, state))
            return Failure(qt_error_string(errno));
        const qint64 inPlace = std::max<qint64>(0, std::min(end, formerLength) - offset);
        QStringList sums;
        for (const writejournal::Piece& piece :
             writejournal::Pieces(std::max(offset, formerLength), end))
            sums.append(writejournal::PieceSum(bytes.constData() + (piece.from - offset),
                                               piece.to - piece.from));
        journal::Fields fields = {
            {QStringLiteral("File"), journal::TextField(name)},
            {QStringLiteral("Offset"), QString::number(offset)},
            {QStringLiteral("Length"), QString::number(formerLength)},
            {QStringLiteral("Former"), QString::fromLatin1(former.toHex())},
            {QStringLiteral("State"), journal::StateField(state)},
            {QStringLiteral("End"), QString::number(end)},
            {QStringLiteral("Written"), QString::fromLatin1(bytes.left(inPlace).toHex())},
            {QStringLiteral("Sums"), sums.join(u',')}};
        changelog::NoteInJournal(pending, fields);
        if (StoreResult noted = journal::Write(RecordWriteJournal, kRecordWriteKind, fields);
            !noted)
            return noted;
    }
    // The lines are written before the data is synced, so that the disk takes both at once;
    // a log that cannot take them undoes the write.
    changelog::Staged lines;
    StoreResult result = io::WriteAt(fd, name, offset, bytes.constData(), bytes.size());
    if (result)
        result = lines.Stage(pending);
    if (result)
        result = io::Sync(fd, name);
    // With its journal renamed done the write stands; the log's sync follows behind.
    bool handed = false;
    if (result)
        result = journaled_ ? lines.FinishBehind(RecordWriteJournal, kRecordWriteKind, handed)
                            : lines.Finish();
    if (result) {
        if (watch_)
            watch_->Written(fd, offset, bytes.constData(), bytes.size());
        return journaled_ && !handed ? journal::Remove(RecordWriteJournal) : result;
    }

    // Back to the former bytes and length before the failure is told: a part-written record
    // left at the end would be counted as a record. Neither step grows the file, so neither
    // needs the room that was missing.
    window_.clear();
    windowOffset_ = 0;
    StoreResult restored = io::PutBack(fd, name, offset, former.constData(), former.size());
    if (restored && ::ftruncate(fd, static_cast<off_t>(formerLength)) != 0)
        restored = Failure(qt_error_string(errno));
    if (restored)
        restored = io::Sync(fd, name);
    if (!restored)
        return Failure(result.reason() +
                       QStringLiteral(" The file could not be put back as it was: ") +
                       restored.reason());
    (void)changelog::Withdraw(pending); // the change is not on file, nor may its line be
    if (journaled_)
        (void)journal::Remove(RecordWriteJournal); // put back already
    return result;
}

} // namespace store

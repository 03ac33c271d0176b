#pragma once

#include "store/ChangeLog.h"
#include "store/StoreResult.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <memory>

namespace store {

// Where a write of records notes what it replaces while it runs (UndoInterruptedWrite).
inline const QString RecordWriteJournal = QStringLiteral("RecordWrite.Journal");
inline const QString kRecordWriteKind = QStringLiteral("Mirtavel record write");

// The record-write journal names the bytes a write puts beyond the file's former end by one
// checksum per piece: the pieces end at multiples of kWritePiece (where a stopped write or a
// disk sector ends) and at the end of the write. The bytes it replaces are kept whole.
namespace writejournal {
constexpr qint64 kWritePiece = 512;
struct Piece {
    qint64 from = 0;
    qint64 to = 0;
};
// The pieces of [from, to).
QList<Piece> Pieces(qint64 from, qint64 to);
QString PieceSum(const char* bytes, qint64 size);
} // namespace writejournal

// Told what becomes of one record file through its RecordFile: that it was opened (`fd` is -1
// for a missing file opened for reading) and that bytes were written and made to stay. For
// what is kept in memory about a file's records and must follow the file.
class RecordWatch {
public:
    virtual ~RecordWatch() = default;
    virtual void Opened(int fd) = 0;
    virtual void Written(int fd, qint64 offset, const char* bytes, qint64 size) = 0;
};

// One file of fixed-length records in the data folder (the current directory), reached by
// its bare name. Records are numbered from 1; record n occupies bytes (n-1)*L to n*L-1.
class RecordFile {
public:
    RecordFile(QString fileName, int recordLength);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    const QString& FileName() const { return fileName_; }
    int RecordLength() const { return recordLength_; }

    // Closes an earlier open first; creates a missing file empty; counts the records as the
    // file length divided by the record length, a half rounding to the even neighbour.
    // Where the file may not be written (a read-only folder, a backup on a read-only medium)
    // it is opened for reading instead, a missing file as an empty one that is not created;
    // a write then fails and says why.
    StoreResult Open();
    // For units of work that only read: the file is opened for reading alone, and a missing
    // file is empty without being created.
    StoreResult OpenForReading();
    bool IsReadOnly() const { return readOnly_; }
    void Close(); // does nothing when not open
    bool IsOpen() const;
    int Handle() const; // 0 when closed, a fresh number at every open
    qint32 Count() const { return count_; }
    void SetCount(qint32 count) { count_ = count; }

    // A record that lies partly beyond the end of the file reads with zeros for the
    // missing bytes; a record wholly beyond it is an error.
    StoreResult ReadRaw(qint32 recordNumber, QByteArray& bytes);
    // Writes record n, all or nothing like AppendRecords. Every write first notes the bytes
    // it replaces in RecordWriteJournal, so that a stop in the middle of it is undone at the
    // next start; a failed write is undone at once.
    StoreResult WriteRaw(qint32 recordNumber, const QByteArray& bytes);
    // The same for whole records from `firstRecord` on, in one write.
    StoreResult WriteRecords(qint32 firstRecord, const QByteArray& records);
    // For a unit of work that keeps a journal of its own (the update of a course's copies):
    // its in-place writes need none, until the file is closed.
    void SetJournaled(bool journaled) { journaled_ = journaled; }
    void SetWatch(RecordWatch* watch) { watch_ = watch; }
    // The lines of Change.Log that tell of the next write: they go into its journal before
    // the write and onto the log after it, before the journal is removed, so that the write
    // and its lines are on file both or neither (UndoInterruptedWrite withdraws them with
    // the write). Taken by the next write, forgotten at Close.
    void SetChanges(QList<changelog::Change> changes) { changes_ = std::move(changes); }
    // Appends whole records after record Count(), all or none: they are written in one go and
    // made durable, and Count() grows by their number. When the write fails or is cut short
    // the file is put back to its former bytes and length.
    StoreResult AppendRecords(const QByteArray& records);

    // Reads up to `size` bytes from `offset` straight into `into`; `got` is what the file
    // held there (less at its end). For walks over the whole file in large blocks.
    StoreResult ReadBlock(qint64 offset, char* into, qint64 size, qint64& got);
    // The bytes of all Count() records in one read, record n at (n-1)*L; a last record cut
    // short by the file's end is padded with zeros. For the small list files, which a window
    // keeps whole while it shows them.
    StoreResult ReadAll(QByteArray& bytes);

private:
    StoreResult Failure(const QString& reason) const;
    StoreResult OpenAs(bool forReading);
    StoreResult ReadOnlyFailure() const;
    StoreResult FillWindow(qint64 offset);
    // Writes `bytes` at `offset`. When that lengthens the file it is made durable, and when it
    // fails the overwritten bytes and the former length come back before the failure is
    // reported. The one way every append goes.
    StoreResult WriteAllOrNothing(qint64 offset, const QByteArray& bytes);

    QString fileName_;
    int recordLength_;
    std::unique_ptr<QFile> file_;
    int handle_ = 0;
    bool readOnly_ = false;
    bool absent_ = false; // open for reading, but there is no file: no records
    bool journaled_ = true;
    RecordWatch* watch_ = nullptr;
    QList<changelog::Change> changes_;
    qint32 count_ = 0;
    // Read-ahead: a block of the file starting at windowOffset_, so that reading a file
    // record by record costs one system call per block. Writes update it.
    QByteArray window_;
    qint64 windowOffset_ = 0;
};

// Why records were refused at a file's limit of `most`: the file is full, not faulty.
QString FileFullReason(qint64 most);

// count = round(length / recordLength), halves to even.
qint32 RecordCountForLength(qint64 length, int recordLength);

} // namespace store

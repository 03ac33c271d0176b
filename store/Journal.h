#pragma once

#include "store/StoreResult.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// A journal names a unit of work that changes more than one record or file before the first
// change is made, so that a stop in the middle can be finished at the next start. It is a
// small text file in the data folder, made durable before the work begins and deleted when
// the work is done. A journal cut short while it was written is no journal: its work never
// began.
namespace store::journal {

// Field names to values. Numbers that must come back exact are kept as their bits
// (NumberText); texts are kept as UTF-8 in hexadecimal, so any character is safe.
using Fields = QMap<QString, QString>;

// Writes the journal `fileName` (replacing an older one) and makes it and its name durable.
StoreResult Write(const QString& fileName, const QString& kind, const Fields& fields);

// Reads the journal; `found` is false when there is none or it was cut short (which is then
// deleted). Fails when a whole journal of another kind stands there.
StoreResult Read(const QString& fileName, const QString& kind, Fields& fields, bool& found);

// What a start finds of interrupted work: the journal's fields when there is work to finish;
// otherwise none, and the result says whether reading failed.
struct Interrupted {
    StoreResult result;
    std::optional<Fields> fields;
};

// How every "finish what was interrupted" begins: clears `note` (when given) and reads the
// journal as Read does.
Interrupted ReadInterrupted(const QString& fileName, const QString& kind, QString* note);

// Deletes the journal and makes that durable; no journal is no error.
StoreResult Remove(const QString& fileName);

// Moves the journal `fileName` out of the way of the next start, to "<name>.not-applied"
// (numbered when that is taken): its work is not done, and it is kept, not deleted, so that
// what it would have done can still be looked at. `aside` gets the new name.
StoreResult SetAside(const QString& fileName, QString& aside);

// A journal whose work is done but whose change-log lines are still on their way to the log
// (see changelog::Staged::FinishBehind) is renamed "<name>.done" (numbered when that is taken),
// durably: from then on the work stands, and the journal only completes the lines.
inline const QString kDoneSuffix = QStringLiteral(".done");
StoreResult MarkDone(const QString& fileName, QString& done);
// The journals `fileName` left done, with their paths.
QStringList DoneOf(const QString& fileName);
// Which file a journal's work belongs to, so that it is done only to that file: a file
// copied in under the name since (a backup put back by hand, another program's file) is
// another file, or the same file with other contents and length.
struct FileState {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch
    // The same file, however its contents changed: device and inode.
    bool SameFile(const FileState& other) const {
        return device == other.device && inode == other.inode;
    }
    // The same file, not written since.
    bool Unchanged(const FileState& other) const {
        return SameFile(other) && size == other.size && modified == other.modified;
    }
};

// The state of `fileName` (through a link, where the data is written); false when there is
// no such file.
bool StateOf(const QString& fileName, FileState& state);
bool StateOf(int fd, FileState& state); // of an open file
QString StateField(const FileState& state);
// False for a field that is missing (a journal of an older version) or cannot be read.
bool StateFrom(const QString& field, FileState& state);

// A field naming `fileName` as it is now: its state, or "none" when there is no such file.
QString FileField(const QString& fileName);
// Whether `fileName` is still the file `field` (of FileField) names: the same file of the same
// length and, with `unwritten`, not written since; or missing then and now.
bool StillTheFile(const QString& field, const QString& fileName, bool unwritten);

QString NumberText(double value);
double NumberOf(const QString& text);
QString TextField(const QString& text);
QString TextOf(const QString& field);

} // namespace store::journal

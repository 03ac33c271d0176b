#pragma once

#include "store/StoreResult.h"

#include <QDateTime>
#include <QString>
#include <sys/types.h>

// Whole-file copies that are on the disk when they return, for backup and restore.
namespace store::filecopy {

// Which file a name stood for: a copy written through its handle is renamed by its name, and
// the name must still be that file when it is.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A file opened to be copied, read through the descriptor that was looked at, so that what is
// copied is what was checked. Opening never waits (a named pipe would hold the program until
// someone writes to it) and only a regular file is accepted: a folder, a pipe or a device
// under a data file's name is refused, and /dev/zero never fills the disk.
class SourceFile {
public:
    // Whether a link under the name is followed. A data file may be a link (a data folder
    // that keeps one file elsewhere); a backup brought back from elsewhere is read only as
    // the files it holds.
    enum class Links { Follow, Refuse };

    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Opens `path`; a refusal names the file (its bare name) and what stands there instead.
    StoreResult Open(const QString& path, Links links);

    const QString& Name() const { return name_; }
    int Fd() const { return fd_; }
    qint64 Size() const { return size_; }
    mode_t Mode() const { return mode_; }
    const QDateTime& Modified() const { return modified_; }

private:
    int fd_ = -1;
    QString name_;
    qint64 size_ = 0;
    mode_t mode_ = 0;
    QDateTime modified_;
};

// Ok when nothing stands at `path` or a regular file does (it may be replaced); otherwise a
// refusal under `fileName`, the data file meant, that names the entry and what it is. A link
// there is never written through nor renamed over.
StoreResult AbsentOrRegular(const QString& path, const QString& fileName);

// Copies the open `source` to the new file `to`, flushed to the disk. `to` is created anew
// (a regular file left there by an interrupted copy is removed first; anything else is
// refused, AbsentOrRegular), never through a link, and readable by its owner alone until it
// is whole; then it takes the source's permission bits. Exactly the size the source had when
// it was opened is copied: a file that grows or shrinks meanwhile is refused. On failure
// `to` is removed and the result names the file being copied and the reason. `written`
// receives the copy's identity.
StoreResult CopyDurably(const SourceFile& source, const QString& to,
                        FileIdentity* written = nullptr);
// The same from the file at `from`, following a link there.
StoreResult CopyDurably(const QString& from, const QString& to, FileIdentity* written = nullptr);

// Makes the entries of `folder` (renames, new and deleted files) durable.
StoreResult SyncDir(const QString& folder);

// One atomic rename that replaces `to` if it exists.
StoreResult Rename(const QString& from, const QString& to);

// The same, for a copy written by CopyDurably: refused, with nothing renamed, when `from` no
// longer is the file that was written (replaced, removed or turned into a link since).
StoreResult RenameWritten(const QString& from, const QString& to, const FileIdentity& written);

// Reads `copy` back and compares it with `source`, byte for byte. A difference is told under
// the source's bare name. The copy is read as itself, never through a link.
StoreResult CompareFiles(const QString& source, const QString& copy);

// Whether `a` and `b` are one folder: their canonical paths (links resolved, no trailing
// separator) are compared; a path that does not exist is compared as cleaned text.
bool SameFolder(const QString& a, const QString& b);

} // namespace store::filecopy

#pragma once

#include "store/StoreResult.h"

#include <QString>

// Whole-file copies that are on the disk when they return, for backup and restore.
namespace store::filecopy {

// Which file a name stood for: a copy written through its handle is renamed by its name, and
// the name must still be that file when it is.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Copies `from` to `to` (created or truncated), flushed to the disk; the copy keeps the
// source's permission bits. On failure `to` is removed and the result names the file being
// copied (the bare name of `from`) and the system's reason. `written` receives the copy's
// identity.
StoreResult CopyDurably(const QString& from, const QString& to, FileIdentity* written = nullptr);

// Makes the entries of `folder` (renames, new and deleted files) durable.
StoreResult SyncDir(const QString& folder);

// One atomic rename that replaces `to` if it exists.
StoreResult Rename(const QString& from, const QString& to);

// The same, for a copy written by CopyDurably: refused, with nothing renamed, when `from` no
// longer is the file that was written (replaced, removed or turned into a link since).
StoreResult RenameWritten(const QString& from, const QString& to, const FileIdentity& written);

// Reads `copy` back and compares it with `source`, byte for byte. A difference is told under
// the source's bare name.
StoreResult CompareFiles(const QString& source, const QString& copy);

// Whether `a` and `b` are one folder: their canonical paths (links resolved, no trailing
// separator) are compared; a path that does not exist is compared as cleaned text.
bool SameFolder(const QString& a, const QString& b);

} // namespace store::filecopy
